// Platform bitmaps over QImage. A 24-bit bitmap is Format_BGR888: blue, green, red per
// pixel, rows top-down and 4-byte aligned. Other depths keep their own QImage format.
#pragma once
#include <QImage>
#include <memory>

#include "platform/Types.h"

class TCanvas;
class TStream;

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat pf = TPixelFormat::pf24bit);
  ~TBitmap();
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  bool Empty() const { return image_.isNull() || image_.width() == 0 || image_.height() == 0; }
  // Resizes, keeping the pixel format; new pixels are white.
  void SetSize(int width, int height);
  void SetWidth(int w) { SetSize(w, Height()); }
  void SetHeight(int h) { SetSize(Width(), h); }
  TPixelFormat PixelFormat() const { return pf_; }
  // Converts the pixels to the given format (pfDevice means 24-bit here).
  void SetPixelFormat(TPixelFormat pf);
  void Assign(const TBitmap& other) { *this = other; }
  void Clear();

  // Start of row y (top-down); valid until the size or format changes.
  uint8_t* ScanLine(int y);
  const uint8_t* ScanLine(int y) const;
  int BytesPerLine() const { return static_cast<int>(image_.bytesPerLine()); }

  // Drawing surface; created on first use and owned by the bitmap.
  TCanvas& Canvas();

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }
  // Takes a copy of any QImage, keeping 1-, 4-, 8- and 24-bit depths; others become 24-bit.
  void SetImage(const QImage& img);

  // BMP file format: file header, info header, palette, bits. Reading stops right after
  // the image. Errors: EInvalidGraphic("Bitmap image is not valid"), EReadError.
  void LoadFromStream(TStream& s);
  void SaveToStream(TStream& s) const;
  void LoadFromFile(const QString& path);
  void SaveToFile(const QString& path) const;

 private:
  void DropCanvas();
  QImage image_;
  TPixelFormat pf_ = TPixelFormat::pf24bit;
  std::unique_ptr<TCanvas> canvas_;  // owned
};

// The QImage format used for a pixel format.
QImage::Format ImageFormatFor(TPixelFormat pf);
