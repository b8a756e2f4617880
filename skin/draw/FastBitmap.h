// TbsFBitmap: a 24-bit copy of a bitmap with direct row access. Pixels are blue, green, red;
// rows run top-down and are padded to a multiple of 4 bytes (3 x width + width mod 4).
// The pixels live in a QImage (Format_BGR888, which has exactly this layout). A copy of a
// bitmap that already is 24-bit shares its pixels until the first write (Qt's copy on write),
// so reading a large mask costs no copy. GUI thread only.
#pragma once
#include <QImage>
#include <cstdint>
#include <vector>

class TBitmap;

class TbsFBitmap {
 public:
  // 1-, 4-, 8-, 15/16-, 24- and 32-bit sources are converted to 24 bits.
  explicit TbsFBitmap(const TBitmap& source);
  explicit TbsFBitmap(const QImage& source);
  TbsFBitmap(const TbsFBitmap&) = delete;
  TbsFBitmap& operator=(const TbsFBitmap&) = delete;
  ~TbsFBitmap();

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Bytes after the last pixel of a row: width mod 4.
  int32_t RowPadding() const { return width_ % 4; }
  // Bytes per row: 3 x width + width mod 4.
  int32_t RowStride() const { return 3 * width_ + width_ % 4; }
  // Bytes of pixel memory: RowStride x height.
  int32_t Size() const { return RowStride() * height_; }

  // Read access; never copies shared pixels. Row y must lie in 0 .. Height - 1.
  const uint8_t* ConstPixelBits() const { return image_.constBits(); }
  const uint8_t* ConstRow(int y) const { return image_.constScanLine(y); }

  // Write access: the first call makes the pixels this object's own. RowTable()[y] is row y.
  uint8_t* PixelBits();
  uint8_t* const* RowTable();

  // The 24-bit image itself (shares pixels with this object).
  const QImage& Image() const { return image_; }

 private:
  void Init(const QImage& source);
  QImage image_;                   // Format_BGR888, owned (shared copy on write)
  std::vector<uint8_t*> rowTable_;  // owned; filled on first write access
  int32_t width_ = 0, height_ = 0;
};

// The 24-bit image with the fast-bitmap row layout for any source image: a shared copy when the
// source already is 24-bit with 4-byte aligned rows, else a converted copy.
QImage To24Bit(const QImage& source);
