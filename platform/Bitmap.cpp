#include "platform/Bitmap.h"

#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

QImage::Format ImageFormatFor(TPixelFormat pf) {
  switch (pf) {
    case TPixelFormat::pf1bit: return QImage::Format_Mono;
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: return QImage::Format_Indexed8;
    case TPixelFormat::pf15bit: return QImage::Format_RGB555;
    case TPixelFormat::pf16bit: return QImage::Format_RGB16;
    case TPixelFormat::pf32bit: return QImage::Format_RGB32;
    default: return QImage::Format_BGR888;
  }
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat pf) : pf_(pf) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other) : image_(other.image_), pf_(other.pf_) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this != &other) {
    DropCanvas();
    image_ = other.image_;
    pf_ = other.pf_;
  }
  return *this;
}

void TBitmap::DropCanvas() {
  // The canvas may hold a painter on the old image; it must end before the image changes.
  if (canvas_) canvas_->SetImage(nullptr);
}

void TBitmap::Clear() {
  DropCanvas();
  image_ = QImage();
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == image_.width() && height == image_.height() && !image_.isNull()) return;
  if (width == 0 || height == 0) {
    DropCanvas();
    image_ = QImage();
  } else {
    QImage img(width, height, ImageFormatFor(pf_));
    // Qt gives a null image when the pixels cannot be had (too large, out of memory): the
    // bitmap keeps its old image.
    if (img.isNull())
      throw EOutOfResources(QStringLiteral("Not enough storage is available to create a %1 x %2 bitmap")
                                .arg(width)
                                .arg(height));
    DropCanvas();
    if (img.format() == QImage::Format_Mono) {
      img.setColorCount(2);
      img.setColor(0, qRgb(0, 0, 0));
      img.setColor(1, qRgb(255, 255, 255));
      img.fill(1);
    } else if (img.format() == QImage::Format_Indexed8) {
      img.setColorCount(256);
      for (int i = 0; i < 256; ++i) img.setColor(i, qRgb(i, i, i));
      img.fill(255);
    } else {
      img.fill(Qt::white);
    }
    if (!image_.isNull()) {
      // Keep the old pixels in the top-left corner.
      const int h = std::min(height, image_.height());
      const int w = std::min(width, image_.width());
      if (image_.format() == img.format() && image_.depth() >= 8) {
        const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(image_.depth() / 8);
        for (int y = 0; y < h; ++y) memcpy(img.scanLine(y), image_.constScanLine(y), bytes);
      }
    }
    image_ = img;
  }
  if (canvas_) canvas_->SetImage(&image_);
}

void TBitmap::SetPixelFormat(TPixelFormat pf) {
  if (pf == TPixelFormat::pfDevice) pf = TPixelFormat::pf24bit;
  if (pf == pf_) return;
  DropCanvas();
  pf_ = pf;
  if (!image_.isNull()) image_ = image_.convertToFormat(ImageFormatFor(pf));
  if (canvas_) canvas_->SetImage(&image_);
}

void TBitmap::SetImage(const QImage& img) {
  DropCanvas();
  switch (img.format()) {
    case QImage::Format_Mono: pf_ = TPixelFormat::pf1bit; image_ = img; break;
    case QImage::Format_MonoLSB: pf_ = TPixelFormat::pf1bit; image_ = img.convertToFormat(QImage::Format_Mono); break;
    case QImage::Format_Indexed8: pf_ = TPixelFormat::pf8bit; image_ = img; break;
    case QImage::Format_BGR888: pf_ = TPixelFormat::pf24bit; image_ = img; break;
    default: pf_ = TPixelFormat::pf24bit; image_ = img.convertToFormat(QImage::Format_BGR888); break;
  }
  if (canvas_) canvas_->SetImage(&image_);
}

uint8_t* TBitmap::ScanLine(int y) {
  if (canvas_) canvas_->SetImage(&image_);  // end any open painter first
  return image_.scanLine(y);
}

const uint8_t* TBitmap::ScanLine(int y) const { return image_.constScanLine(y); }

TCanvas& TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TCanvas>();
    canvas_->SetImage(&image_);
  }
  return *canvas_;
}
