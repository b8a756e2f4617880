// BMP reader and writer for TBitmap.
//
// An image is four parts read in this order: the 14-byte file header, the info header (12-byte
// core or 40 bytes and up), the colour table and the pixel rows. Reading consumes exactly those
// parts and nothing more, so images stored back to back follow each other directly.
#include <QFile>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid")); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Bytes left in a stream, or -1 when the stream cannot tell.
int64_t Remaining(TStream& s) {
  const int64_t pos = s.Position();
  const int64_t size = s.Size();
  return size >= pos ? size - pos : -1;
}

// Reads `count` bytes in pieces, so a lying header cannot make us allocate more than the
// stream really holds.
void ReadInto(TStream& s, std::vector<uint8_t>& out, uint64_t count) {
  out.clear();
  constexpr uint64_t kPiece = 1u << 20;
  while (count > 0) {
    const uint64_t n = std::min(count, kPiece);
    const size_t at = out.size();
    out.resize(at + n);
    s.ReadBuffer(out.data() + at, static_cast<int64_t>(n));
    count -= n;
  }
}

// Largest image the reader accepts, in pixels; far above any skin picture.
constexpr int64_t kMaxPixels = int64_t{1} << 28;

}  // namespace

void TBitmap::LoadFromStream(TStream& s) {
  uint8_t fh[14];
  s.ReadBuffer(fh, sizeof fh);
  if (U16(fh) != 0x4D42) Invalid();

  uint8_t sizeBytes[4];
  s.ReadBuffer(sizeBytes, 4);
  const uint32_t headerSize = U32(sizeBytes);
  const bool core = headerSize == 12;
  if (!core && (headerSize < 40 || headerSize > 4096)) Invalid();
  std::vector<uint8_t> hdr(headerSize);
  Put32(hdr.data(), headerSize);
  s.ReadBuffer(hdr.data() + 4, headerSize - 4);

  int64_t width, height;
  uint32_t bpp, compression = 0, imageSize = 0, colorsUsed = 0;
  if (core) {
    width = U16(&hdr[4]);
    height = static_cast<int16_t>(U16(&hdr[6]));
    bpp = U16(&hdr[10]);
  } else {
    width = static_cast<int32_t>(U32(&hdr[4]));
    height = static_cast<int32_t>(U32(&hdr[8]));
    bpp = U16(&hdr[14]);
    compression = U32(&hdr[16]);
    imageSize = U32(&hdr[20]);
    colorsUsed = U32(&hdr[32]);
  }
  if (compression != 0) Invalid();
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Invalid();
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0 || width * std::max<int64_t>(height, 1) > kMaxPixels || height > kMaxPixels) Invalid();

  // Colour table: core headers carry 3-byte entries, the others 4-byte entries.
  uint64_t entries = colorsUsed;
  if (entries == 0 && bpp <= 8) entries = uint64_t{1} << bpp;
  const uint64_t entrySize = core ? 3 : 4;
  const int64_t left = Remaining(s);
  if (left >= 0 && entries * entrySize > static_cast<uint64_t>(left)) throw EReadError(QStringLiteral("Stream read error"));
  std::vector<uint8_t> table;
  ReadInto(s, table, entries * entrySize);

  const uint64_t rowSize = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
  const uint64_t needed = rowSize * static_cast<uint64_t>(height);
  const uint64_t bitsSize = imageSize != 0 ? imageSize : needed;
  if (bitsSize < needed) Invalid();
  const int64_t leftBits = Remaining(s);
  if (leftBits >= 0 && bitsSize > static_cast<uint64_t>(leftBits)) throw EReadError(QStringLiteral("Stream read error"));
  DropCanvas();
  if (width == 0 || height == 0) {
    std::vector<uint8_t> skipped;
    ReadInto(s, skipped, bitsSize);
    image_ = QImage();
    if (canvas_) canvas_->SetImage(&image_);
    return;
  }

  QImage::Format fmt;
  TPixelFormat pf;
  switch (bpp) {
    case 1: fmt = QImage::Format_Mono; pf = TPixelFormat::pf1bit; break;
    case 4: fmt = QImage::Format_Indexed8; pf = TPixelFormat::pf4bit; break;
    case 8: fmt = QImage::Format_Indexed8; pf = TPixelFormat::pf8bit; break;
    case 16: fmt = QImage::Format_RGB555; pf = TPixelFormat::pf15bit; break;
    case 24: fmt = QImage::Format_BGR888; pf = TPixelFormat::pf24bit; break;
    default: fmt = QImage::Format_RGB32; pf = TPixelFormat::pf32bit; break;
  }
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  QImage img(w, h, fmt);
  if (img.isNull()) throw EOutOfResources(QStringLiteral("Out of system resources"));

  if (bpp <= 8) {
    // Every index a pixel can hold gets a colour, so a short table never leaves one undefined.
    QList<QRgb> colors(1 << bpp, qRgb(0, 0, 0));
    const size_t n = std::min<size_t>(static_cast<size_t>(entries), colors.size());
    for (size_t i = 0; i < n; ++i) {
      const uint8_t* e = &table[i * entrySize];
      colors[static_cast<qsizetype>(i)] = qRgb(e[2], e[1], e[0]);
    }
    img.setColorTable(colors);
  }

  if ((bpp == 1 || bpp == 8 || bpp == 24) && rowSize == static_cast<uint64_t>(img.bytesPerLine())) {
    // Same row layout as the image: rows go straight into place.
    for (int i = 0; i < h; ++i) s.ReadBuffer(img.scanLine(topDown ? i : h - 1 - i), static_cast<int64_t>(rowSize));
    std::vector<uint8_t> rest;
    ReadInto(s, rest, bitsSize - needed);
  } else {
    std::vector<uint8_t> bits;
    ReadInto(s, bits, bitsSize);
    for (int y = 0; y < h; ++y) {
      const uint8_t* src = bits.data() + static_cast<size_t>(topDown ? y : h - 1 - y) * rowSize;
      uint8_t* dst = img.scanLine(y);
      switch (bpp) {
        case 1: std::memcpy(dst, src, static_cast<size_t>((w + 7) / 8)); break;
        case 4:
          for (int x = 0; x < w; ++x) dst[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
          break;
        case 8: std::memcpy(dst, src, static_cast<size_t>(w)); break;
        case 16:
          for (int x = 0; x < w; ++x) {
            const uint16_t v = U16(src + 2 * x) & 0x7FFF;
            std::memcpy(dst + 2 * x, &v, 2);
          }
          break;
        case 24: std::memcpy(dst, src, static_cast<size_t>(w) * 3); break;
        default:
          for (int x = 0; x < w; ++x) {
            const QRgb v = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
            std::memcpy(dst + 4 * x, &v, 4);
          }
          break;
      }
    }
  }
  image_ = std::move(img);
  pf_ = pf;
  if (canvas_) canvas_->SetImage(&image_);
}

void TBitmap::SaveToStream(TStream& s) const {
  // Depths other than these are written as 24-bit images.
  QImage img = image_;
  uint32_t bpp;
  switch (pf_) {
    case TPixelFormat::pf1bit: bpp = 1; break;
    case TPixelFormat::pf4bit: bpp = 4; break;
    case TPixelFormat::pf8bit: bpp = 8; break;
    case TPixelFormat::pf15bit: bpp = 16; break;
    case TPixelFormat::pf32bit: bpp = 32; break;
    default: bpp = 24; break;
  }
  const int w = img.isNull() ? 0 : img.width();
  const int h = img.isNull() ? 0 : img.height();
  if (w > 0 && h > 0) {
    const QImage::Format want = bpp == 1    ? QImage::Format_Mono
                                : bpp <= 8  ? QImage::Format_Indexed8
                                : bpp == 16 ? QImage::Format_RGB555
                                : bpp == 24 ? QImage::Format_BGR888
                                            : QImage::Format_RGB32;
    if (img.format() != want) img = img.convertToFormat(want);
    // A 4-bit image holds 16 colours at most; map a larger table onto the standard 16.
    if (bpp == 4 && img.colorCount() > 16) {
      const QList<QRgb> vga = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                               qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
                               qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                               qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
      img = img.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8, vga, Qt::ThresholdDither);
    }
  }

  const uint32_t entries = bpp <= 8 ? (1u << bpp) : 0;
  const uint32_t rowSize = ((static_cast<uint32_t>(w) * bpp + 31) / 32) * 4;
  const uint32_t bitsSize = rowSize * static_cast<uint32_t>(h);
  const uint32_t offBits = 14 + 40 + entries * 4;

  std::vector<uint8_t> out(offBits + bitsSize, 0);
  uint8_t* p = out.data();
  Put16(p, 0x4D42);
  Put32(p + 2, offBits + bitsSize);
  Put32(p + 10, offBits);
  p += 14;
  Put32(p, 40);
  Put32(p + 4, static_cast<uint32_t>(w));
  Put32(p + 8, static_cast<uint32_t>(h));
  Put16(p + 12, 1);
  Put16(p + 14, bpp);
  Put32(p + 20, bitsSize);
  p += 40;
  if (entries) {
    const QList<QRgb> colors = img.colorTable();
    for (uint32_t i = 0; i < entries; ++i) {
      const QRgb c = i < static_cast<uint32_t>(colors.size()) ? colors[static_cast<qsizetype>(i)] : qRgb(0, 0, 0);
      p[4 * i] = static_cast<uint8_t>(qBlue(c));
      p[4 * i + 1] = static_cast<uint8_t>(qGreen(c));
      p[4 * i + 2] = static_cast<uint8_t>(qRed(c));
    }
    p += entries * 4;
  }
  for (int y = 0; y < h; ++y) {
    uint8_t* dst = p + static_cast<size_t>(h - 1 - y) * rowSize;
    const uint8_t* src = img.constScanLine(y);
    switch (bpp) {
      case 1: std::memcpy(dst, src, static_cast<size_t>((w + 7) / 8)); break;
      case 4:
        for (int x = 0; x < w; ++x) dst[x / 2] |= static_cast<uint8_t>((src[x] & 0x0F) << ((x & 1) ? 0 : 4));
        break;
      case 8: std::memcpy(dst, src, static_cast<size_t>(w)); break;
      case 16: std::memcpy(dst, src, static_cast<size_t>(w) * 2); break;
      case 24: std::memcpy(dst, src, static_cast<size_t>(w) * 3); break;
      default:
        for (int x = 0; x < w; ++x) {
          QRgb v;
          std::memcpy(&v, src + 4 * x, 4);
          dst[4 * x] = static_cast<uint8_t>(qBlue(v));
          dst[4 * x + 1] = static_cast<uint8_t>(qGreen(v));
          dst[4 * x + 2] = static_cast<uint8_t>(qRed(v));
        }
        break;
    }
  }
  s.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TBitmap::LoadFromFile(const QString& path) {
  TMemoryStream m;
  m.LoadFromFile(path);
  LoadFromStream(m);
}

void TBitmap::SaveToFile(const QString& path) const {
  TMemoryStream m;
  SaveToStream(m);
  m.SaveToFile(path);
}
