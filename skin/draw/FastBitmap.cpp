#include "skin/draw/FastBitmap.h"

#include "platform/Bitmap.h"

QImage To24Bit(const QImage& source) {
  if (source.isNull() || source.width() <= 0 || source.height() <= 0) return QImage();
  const qsizetype stride = 3 * static_cast<qsizetype>(source.width()) + source.width() % 4;
  if (source.format() == QImage::Format_BGR888 && source.bytesPerLine() == stride) return source;
  QImage out = source.convertToFormat(QImage::Format_BGR888);
  if (out.bytesPerLine() != stride) {
    // An image over foreign memory may have another stride; copy into our own layout.
    QImage own(out.width(), out.height(), QImage::Format_BGR888);
    for (int y = 0; y < out.height(); ++y)
      memcpy(own.scanLine(y), out.constScanLine(y), static_cast<size_t>(3 * out.width()));
    out = own;
  }
  return out;
}

TbsFBitmap::TbsFBitmap(const TBitmap& source) { Init(source.Image()); }

TbsFBitmap::TbsFBitmap(const QImage& source) { Init(source); }

TbsFBitmap::~TbsFBitmap() = default;

void TbsFBitmap::Init(const QImage& source) {
  image_ = To24Bit(source);
  width_ = image_.isNull() ? 0 : image_.width();
  height_ = image_.isNull() ? 0 : image_.height();
}

uint8_t* TbsFBitmap::PixelBits() {
  if (image_.isNull()) return nullptr;
  return RowTable()[0];
}

uint8_t* const* TbsFBitmap::RowTable() {
  if (image_.isNull()) return nullptr;
  uint8_t* bits = image_.bits();  // detaches from the source when shared
  if (rowTable_.empty() || rowTable_[0] != bits) {
    rowTable_.resize(static_cast<size_t>(height_));
    const qsizetype stride = image_.bytesPerLine();
    for (int y = 0; y < height_; ++y) rowTable_[static_cast<size_t>(y)] = bits + y * stride;
  }
  return rowTable_.data();
}
