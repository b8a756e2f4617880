// Platform bitmaps: a size whose pixels cannot be had fails clearly and keeps the image.
#include <gtest/gtest.h>

#include <climits>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "tests/TestUtil.h"

TEST(PlatformBitmap, AbsurdSizeFailsAndKeepsTheOldImage) {
  TBitmap b(4, 3);
  b.Canvas().Pixel(1, 1);  // a canvas bound to the image must survive the failure too
  b.ScanLine(1)[3] = 0x12;
  b.ScanLine(1)[4] = 0x34;
  b.ScanLine(1)[5] = 0x56;
  // (A size whose byte count does not even fit the address space: no allocation is tried.)
  for (TPixelFormat pf : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    b.SetPixelFormat(pf);
    try {
      b.SetSize(INT_MAX, INT_MAX);
      ADD_FAILURE() << "no failure";
    } catch (const EOutOfResources& e) {
      EXPECT_TRUE(e.Message().contains(QString::number(INT_MAX))) << e.Message().toStdString();
    }
    ASSERT_EQ(b.Width(), 4);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(b.PixelFormat(), pf);
  }
  b.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(b.ScanLine(1)[3], 0x12);
  EXPECT_EQ(b.ScanLine(1)[5], 0x56);
  // The canvas still draws on the kept image.
  b.Canvas().SetPixel(0, 0, RGBColor(1, 2, 3));
  EXPECT_EQ(b.Canvas().Pixel(0, 0), RGBColor(1, 2, 3));
  // And an ordinary size still works afterwards, keeping the old pixels in the corner.
  b.SetSize(8, 8);
  EXPECT_EQ(b.Width(), 8);
  EXPECT_EQ(b.ScanLine(1)[4], 0x34);
}
