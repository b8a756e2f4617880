// The platform's BMP reader and writer.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "tests/TestUtil.h"

namespace {

void Put16(QByteArray& b, int v) {
  b.append(static_cast<char>(v & 0xFF));
  b.append(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(QByteArray& b, int64_t v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A BMP image written by hand: 40-byte header (or the 12-byte core header), `palette` as
// given, `bits` as given.
QByteArray Bmp(int w, int h, int bpp, const QByteArray& palette, const QByteArray& bits, bool core = false,
               int imageSize = 0, int colorsUsed = 0) {
  QByteArray b("BM");
  const int header = core ? 12 : 40;
  Put32(b, 14 + header + palette.size() + bits.size());
  Put32(b, 0);
  Put32(b, 14 + header + palette.size());
  Put32(b, header);
  if (core) {
    Put16(b, w);
    Put16(b, h);
    Put16(b, 1);
    Put16(b, bpp);
  } else {
    Put32(b, w);
    Put32(b, h);
    Put16(b, 1);
    Put16(b, bpp);
    Put32(b, 0);
    Put32(b, imageSize);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, colorsUsed);
    Put32(b, 0);
  }
  return b + palette + bits;
}

QRgb Px(const TBitmap& bmp, int x, int y) { return bmp.Image().pixel(x, y) & 0xFFFFFF; }

TBitmap Read(const QByteArray& bytes) {
  TBitmap bmp;
  TBytesStream s(bytes.constData(), bytes.size());
  bmp.LoadFromStream(s);
  return bmp;
}

TEST(BmpReader, RowOrderDepthsAndPalettes) {
  // 24-bit 2 x 2, bottom-up: first stored row is the bottom one; rows padded to 8 bytes.
  const QByteArray bits24 = QByteArray::fromHex("0000ff 00ff00 0000" "ff0000 ffffff 0000");
  TBitmap up = Read(Bmp(2, 2, 24, {}, bits24));
  EXPECT_EQ(up.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(Px(up, 0, 1), 0xFF0000u);  // red, bottom-left
  EXPECT_EQ(Px(up, 1, 1), 0x00FF00u);
  EXPECT_EQ(Px(up, 0, 0), 0x0000FFu);  // blue, top-left
  EXPECT_EQ(Px(up, 1, 0), 0xFFFFFFu);
  // The same rows top-down (negative height).
  TBitmap down = Read(Bmp(2, -2, 24, {}, bits24));
  EXPECT_EQ(down.Height(), 2);
  EXPECT_EQ(Px(down, 0, 0), 0xFF0000u);
  EXPECT_EQ(Px(down, 0, 1), 0x0000FFu);

  // 1-bit 10 x 1 with a two-entry palette: bits are most significant first.
  const QByteArray pal1 = QByteArray::fromHex("00000000" "ffffff00");
  TBitmap mono = Read(Bmp(10, 1, 1, pal1, QByteArray::fromHex("a0400000")));
  EXPECT_EQ(mono.PixelFormat(), TPixelFormat::pf1bit);
  EXPECT_EQ(Px(mono, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Px(mono, 1, 0), 0u);
  EXPECT_EQ(Px(mono, 2, 0), 0xFFFFFFu);
  EXPECT_EQ(Px(mono, 9, 0), 0xFFFFFFu);
  EXPECT_EQ(Px(mono, 8, 0), 0u);

  // 4-bit 3 x 1: high nibble first; palette of three entries (colours used 3).
  const QByteArray pal4 = QByteArray::fromHex("0000ff00" "00ff0000" "ff000000");
  TBitmap four = Read(Bmp(3, 1, 4, pal4, QByteArray::fromHex("01200000"), false, 0, 3));
  EXPECT_EQ(four.PixelFormat(), TPixelFormat::pf4bit);
  EXPECT_EQ(Px(four, 0, 0), 0xFF0000u);
  EXPECT_EQ(Px(four, 1, 0), 0x00FF00u);
  EXPECT_EQ(Px(four, 2, 0), 0x0000FFu);

  // 8-bit 5 x 1 with a 256-entry palette (colours used 0).
  QByteArray pal8;
  for (int i = 0; i < 256; ++i) Put32(pal8, i << 8);  // green ramp
  TBitmap eight = Read(Bmp(5, 1, 8, pal8, QByteArray::fromHex("00 10 80 ff 07 000000")));
  EXPECT_EQ(eight.PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(Px(eight, 2, 0), qRgb(0, 0x80, 0) & 0xFFFFFFu);
  EXPECT_EQ(Px(eight, 3, 0), qRgb(0, 0xFF, 0) & 0xFFFFFFu);

  // 32-bit: the fourth byte is ignored.
  TBitmap wide = Read(Bmp(1, 1, 32, {}, QByteArray::fromHex("10203099")));
  EXPECT_EQ(wide.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(Px(wide, 0, 0), 0x302010u);

  // 12-byte core header with 3-byte palette entries.
  TBitmap core = Read(Bmp(2, 1, 1, QByteArray::fromHex("0000ff" "00ff00"), QByteArray::fromHex("40000000"), true));
  EXPECT_EQ(Px(core, 0, 0), 0xFF0000u);
  EXPECT_EQ(Px(core, 1, 0), 0x00FF00u);
}

TEST(BmpReader, StopsRightAfterTheImage) {
  const QByteArray first = Bmp(1, 1, 24, {}, QByteArray::fromHex("0000ff00"));
  // An image size larger than the rows: the extra bytes belong to this image.
  const QByteArray second = Bmp(1, 1, 24, {}, QByteArray::fromHex("00ff0000 eeeeeeee"), false, 8);
  const QByteArray both = first + second + QByteArray("tail");
  TBytesStream s(both.constData(), both.size());
  TBitmap a, b;
  a.LoadFromStream(s);
  EXPECT_EQ(s.Position(), first.size());
  b.LoadFromStream(s);
  EXPECT_EQ(s.Position(), first.size() + second.size());
  EXPECT_EQ(Px(a, 0, 0), 0xFF0000u);
  EXPECT_EQ(Px(b, 0, 0), 0x00FF00u);
}

TEST(BmpReader, DamagedImagesFailCleanly) {
  auto failure = [](const QByteArray& bytes) -> QString {
    try {
      Read(bytes);
    } catch (const EInvalidGraphic& e) {
      return QStringLiteral("invalid: ") + e.Message();
    } catch (const EReadError& e) {
      return QStringLiteral("read: ") + e.Message();
    }
    return QStringLiteral("none");
  };
  const QByteArray good = Bmp(2, 2, 24, {}, QByteArray(16, '\0'));
  EXPECT_EQ(failure(good), QStringLiteral("none"));
  QByteArray wrongType = good;
  wrongType[0] = 'X';
  EXPECT_EQ(failure(wrongType), QStringLiteral("invalid: Bitmap image is not valid"));
  for (int cut : {0, 1, 10, 20, 53, 60, static_cast<int>(good.size()) - 1})
    EXPECT_EQ(failure(good.left(cut)), QStringLiteral("read: Stream read error")) << cut;
  // Compressed images, unknown depths and absurd sizes are refused, never allocated.
  QByteArray rle = good;
  rle[30] = 1;
  EXPECT_EQ(failure(rle), QStringLiteral("invalid: Bitmap image is not valid"));
  EXPECT_EQ(failure(Bmp(2, 2, 7, {}, QByteArray(16, '\0'))), QStringLiteral("invalid: Bitmap image is not valid"));
  EXPECT_EQ(failure(Bmp(100000, 100000, 24, {}, {})), QStringLiteral("invalid: Bitmap image is not valid"));
  EXPECT_EQ(failure(Bmp(4000, 4000, 24, {}, {})), QStringLiteral("read: Stream read error"));
  EXPECT_EQ(failure(Bmp(2, 2, 8, {}, {}, false, 0, 0x7FFFFFFF)), QStringLiteral("read: Stream read error"));
  // An image size smaller than the rows need.
  EXPECT_EQ(failure(Bmp(2, 2, 24, {}, QByteArray(16, '\0'), false, 8)), QStringLiteral("invalid: Bitmap image is not valid"));
}

TEST(BmpWriter, WritesWhatTheReaderReadsBack) {
  QImage src(13, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 13; ++x) src.setPixel(x, y, qRgb(x * 19, y * 50, (x * y) % 256));
  for (TPixelFormat pf : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    TBitmap bmp;
    bmp.SetImage(src);
    bmp.SetPixelFormat(pf);
    if (pf == TPixelFormat::pf4bit) {
      // Sixteen colours at most in a 4-bit image.
      QImage idx(13, 5, QImage::Format_Indexed8);
      QList<QRgb> table;
      for (int i = 0; i < 16; ++i) table << qRgb(i * 16, 255 - i * 16, i * 7);
      idx.setColorTable(table);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x) idx.setPixel(x, y, static_cast<uint>((x + 3 * y) % 16));
      bmp.SetImage(idx);
      bmp.SetPixelFormat(TPixelFormat::pf8bit);
      bmp.SetPixelFormat(TPixelFormat::pf4bit);
    }
    TMemoryStream out;
    bmp.SaveToStream(out);
    const auto& bytes = out.Bytes();
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[14], 40);  // info header
    const int bpp = bytes[28];
    const int row = ((13 * bpp + 31) / 32) * 4;
    const int palette = bpp <= 8 ? (4 << bpp) : 0;
    EXPECT_EQ(static_cast<int>(bytes.size()), 14 + 40 + palette + row * 5);
    out.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(out);
    EXPECT_EQ(out.Position(), out.Size());
    EXPECT_EQ(back.PixelFormat(), pf);
    ASSERT_EQ(back.Width(), 13);
    ASSERT_EQ(back.Height(), 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 13; ++x) ASSERT_EQ(Px(back, x, y), Px(bmp, x, y)) << x << "," << y << " bpp " << bpp;
    if (pf == TPixelFormat::pf1bit) {
      EXPECT_EQ(back.Image().colorCount(), 2);
    }
    // Writing again gives the same bytes.
    TMemoryStream again;
    back.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), out.Bytes());
  }
}

TEST(BmpWriter, FourBitImagesWithManyColoursKeepSixteen) {
  QImage src(20, 1, QImage::Format_Indexed8);
  QList<QRgb> table;
  for (int i = 0; i < 20; ++i) table << qRgb(i * 12, 0, 0);
  table[19] = qRgb(255, 255, 255);
  src.setColorTable(table);
  for (int x = 0; x < 20; ++x) src.setPixel(x, 0, static_cast<uint>(x));
  TBitmap bmp;
  bmp.SetImage(src);
  bmp.SetPixelFormat(TPixelFormat::pf8bit);
  bmp.SetPixelFormat(TPixelFormat::pf4bit);
  TMemoryStream out;
  bmp.SaveToStream(out);
  out.SetPosition(0);
  TBitmap back;
  back.LoadFromStream(out);
  EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf4bit);
  EXPECT_EQ(Px(back, 19, 0), 0xFFFFFFu);  // white survives
  EXPECT_EQ(Px(back, 0, 0), 0u);          // black survives
}

TEST(BmpFiles, SaveAndLoadThroughFiles) {
  QTemporaryDir dir;
  TBitmap bmp(3, 2);
  bmp.Image().setPixel(2, 1, qRgb(1, 2, 3));
  bmp.SaveToFile(dir.filePath(QStringLiteral("x.bmp")));
  TBitmap back;
  back.LoadFromFile(dir.filePath(QStringLiteral("x.bmp")));
  EXPECT_EQ(Px(back, 2, 1), qRgb(1, 2, 3) & 0xFFFFFFu);
  EXPECT_THROW(back.LoadFromFile(dir.filePath(QStringLiteral("missing.bmp"))), EFOpenError);
}

}  // namespace
