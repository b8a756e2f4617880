// The distance from the cursor position to the lowest visible row of the cursor image.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/CursorImage.h"

namespace {

// An arrow-like ARGB cursor: opaque pixels in rows 0..lastRow of column range that narrows.
QImage Arrow(int size, int lastRow) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  for (int y = 0; y <= lastRow; ++y)
    for (int x = 0; x <= y / 2; ++x) img.setPixel(x, y, qRgba(0, 0, 0, 255));
  return img;
}

TEST(CursorMargin, LowestVisibleRowLessHotSpot) {
  // A 32 x 32 arrow whose lowest visible row is row 18, hot spot at (0, 0): 18.
  EXPECT_EQ(CursorBottomOffsetFromMask(CursorMaskFromImage(Arrow(32, 18), 0, 0), 32), 18);
  // The hot spot lower in the image shortens the distance.
  EXPECT_EQ(CursorBottomOffsetFromMask(CursorMaskFromImage(Arrow(32, 18), 0, 5), 32), 13);
  // Row 0 only, and the last row of a 24-pixel image.
  EXPECT_EQ(CursorBottomOffsetFromMask(CursorMaskFromImage(Arrow(24, 0), 0, 0), 32), 0);
  EXPECT_EQ(CursorBottomOffsetFromMask(CursorMaskFromImage(Arrow(24, 23), 0, 0), 32), 23);
  // A pixel in the last byte of a row counts (width not a multiple of 8).
  QImage odd(13, 13, QImage::Format_ARGB32);
  odd.fill(Qt::transparent);
  odd.setPixel(12, 9, qRgba(255, 255, 255, 255));
  EXPECT_EQ(CursorBottomOffsetFromMask(CursorMaskFromImage(odd, 0, 0), 32), 9);
  // A wide, short image is made square: the row stays the row.
  QImage wide(40, 10, QImage::Format_ARGB32);
  wide.fill(Qt::transparent);
  wide.setPixel(39, 7, qRgba(1, 2, 3, 255));
  EXPECT_EQ(CursorBottomOffsetFromMask(CursorMaskFromImage(wide, 2, 3), 32), 4);
}

TEST(CursorMargin, XorImageAndMalformedMasks) {
  // An all-transparent AND image with a drawn XOR image below (a monochrome cursor that draws by
  // inverting): the XOR image's lowest non-zero row counts.
  TCursorMask m;
  m.Width = 16;
  m.Height = 32;
  const int r = 4;
  m.Bits.assign(static_cast<size_t>(r * 32), 0);
  for (int row = 16; row < 32; ++row)
    for (int i = 0; i < r; ++i) m.Bits[static_cast<size_t>(row * r + i)] = 0xFF;
  // XOR data rows 0..15 are the image rows 15..0 of the XOR image; set image row 11.
  m.Bits[static_cast<size_t>((15 - 11) * r)] = 0x80;
  EXPECT_EQ(CursorBottomOffsetFromMask(m, 32), 11);
  // Nothing visible at all: 0 less the hot spot.
  m.Bits[static_cast<size_t>((15 - 11) * r)] = 0;
  m.HotY = 2;
  EXPECT_EQ(CursorBottomOffsetFromMask(m, 32), -2);
  // Malformed: too few bytes, no width, fewer rows than the width: the standard height.
  TCursorMask bad = m;
  bad.Bits.resize(10);
  EXPECT_EQ(CursorBottomOffsetFromMask(bad, 32), 32);
  EXPECT_EQ(CursorBottomOffsetFromMask(TCursorMask{}, 27), 27);
  TCursorMask flat = m;
  flat.Height = 8;
  EXPECT_EQ(CursorBottomOffsetFromMask(flat, 30), 30);
  EXPECT_TRUE(CursorMaskFromImage(QImage(), 0, 0).Bits.empty());
}

}  // namespace
