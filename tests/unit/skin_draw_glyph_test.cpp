// Glyphs against hand-made pixel patterns, glyph strips, rectangle helpers and window alpha.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "skin/draw/bsUtils.h"

namespace {

constexpr int kW = 16, kH = 14;

TBitmap Blank(TColor fill = clWhite) {
  TBitmap b(kW, kH);
  b.Canvas().Brush.Color = fill;
  b.Canvas().Brush.Style = TBrushStyle::bsSolid;
  b.Canvas().FillRect(TRect(0, 0, kW, kH));
  return b;
}

TColor PixelOf(const TBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + 3 * x;
  return RGBColor(p[2], p[1], p[0]);
}

// The bitmap as rows of '#' (red) and '.' (white); '?' for any other colour.
std::vector<std::string> Art(const TBitmap& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string r;
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = PixelOf(b, x, y);
      r += c == clRed ? '#' : c == clWhite ? '.' : '?';
    }
    rows.push_back(r);
  }
  return rows;
}

// A pattern whose top-left lies at (x, y) of a blank kW x kH bitmap.
std::vector<std::string> Expect(int x, int y, std::vector<std::string> pattern) {
  std::vector<std::string> rows(kH, std::string(kW, '.'));
  for (size_t j = 0; j < pattern.size(); ++j)
    for (size_t i = 0; i < pattern[j].size(); ++i) rows[y + j][x + i] = pattern[j][i];
  return rows;
}

template <typename F>
std::vector<std::string> Draw(F paint) {
  TBitmap b = Blank();
  paint(b.Canvas());
  return Art(b);
}

}  // namespace

TEST(Glyphs, FrameButtonGlyphs) {
  EXPECT_EQ(Draw([](TCanvas& c) { PaintCloseGlyph(c, 2, 1, clRed); }),
            Expect(2, 1, {"...........",  //
                          ".##.....##.",  //
                          "..##...##..",  //
                          "...##.##...",  //
                          "....###....",  //
                          "....###....",  //
                          "...##.##...",  //
                          "..##...##..",  //
                          ".##.....##.",  //
                          "..........."}));
  EXPECT_EQ(Draw([](TCanvas& c) { PaintMaximizeGlyph(c, 1, 2, clRed); }),
            Expect(1, 2, {"###########",  //
                          "###########",  //
                          "#.........#",  //
                          "#.........#",  //
                          "#.........#",  //
                          "#.........#",  //
                          "#.........#",  //
                          "#.........#",  //
                          "#.........#",  //
                          "###########"}));
  EXPECT_EQ(Draw([](TCanvas& c) { PaintRestoreGlyph(c, 3, 1, clRed); }),
            Expect(3, 1, {"..########",  //
                          "..########",  //
                          "..#......#",  //
                          "..#......#",  //
                          "#######..#",  //
                          "##########",  //
                          "#.....#...",  //
                          "#.....#...",  //
                          "#.....#...",  //
                          "#######..."}));
  EXPECT_EQ(Draw([](TCanvas& c) { PaintMinimizeGlyph(c, 2, 2, clRed); }),
            Expect(2, 10, {".########.",  //
                           ".########."}));
  EXPECT_EQ(Draw([](TCanvas& c) { PaintSysMenuGlyph(c, 4, 0, clRed); }),
            Expect(4, 3, {".########",  //
                          ".#......#",  //
                          ".########"}));
  // Row 2 is a line from (5, 2) to itself, which draws nothing.
  EXPECT_EQ(Draw([](TCanvas& c) { PaintRollUpGlyph(c, 2, 3, clRed); }),
            Expect(2, 3, {"..........",  //
                          "..........",  //
                          "..........",  //
                          "....##....",  //
                          "...####...",  //
                          "..######..",  //
                          ".########."}));
}

TEST(Glyphs, MenuGlyphs) {
  EXPECT_EQ(Draw([](TCanvas& c) { PaintCheckGlyph(c, 3, 2, clRed); }),
            Expect(3, 2, {"........",  //
                          "......#.",  //
                          ".....##.",  //
                          "#...###.",  //
                          "##.###..",  //
                          "#####...",  //
                          ".###....",  //
                          "..#....."}));
  EXPECT_EQ(Draw([](TCanvas& c) { PaintBulletGlyph(c, 1, 3, clRed); }),
            Expect(3, 5, {"#####", "#####", "#####", "#####", "#####"}));
  // Arrows centred in (3, 1, 12, 10): cx = 3 + 9 div 2 = 7, cy = 1 + 9 div 2 = 5.
  const TRect r(3, 1, 12, 10);
  EXPECT_EQ(Draw([&](TCanvas& c) { PaintArrowGlyph(c, r, clRed, adLeft); }),
            Expect(5, 2, {"...#",  //
                          "..##",  //
                          ".###",  //
                          "####",  //
                          ".###",  //
                          "..##",  //
                          "...#"}));
  EXPECT_EQ(Draw([&](TCanvas& c) { PaintArrowGlyph(c, r, clRed, adRight); }),
            Expect(6, 2, {"#...",  //
                          "##..",  //
                          "###.",  //
                          "####",  //
                          "###.",  //
                          "##..",  //
                          "#..."}));
  EXPECT_EQ(Draw([&](TCanvas& c) { PaintArrowGlyph(c, r, clRed, adUp); }),
            Expect(4, 3, {"...#...",  //
                          "..###..",  //
                          ".#####.",  //
                          "#######"}));
  EXPECT_EQ(Draw([&](TCanvas& c) { PaintArrowGlyph(c, r, clRed, adDown); }),
            Expect(4, 4, {"#######",  //
                          ".#####.",  //
                          "..###..",  //
                          "...#..."}));
  EXPECT_EQ(Draw([&](TCanvas& c) { PaintArrowGlyph(c, r, clRed, 7); }), Expect(0, 0, {}));
}

TEST(Glyphs, GlyphStripFrameIsDrawnWithItsBottomLeftColourTransparent) {
  // Three 4 x 3 frames; each frame's bottom-left pixel holds its own key colour.
  const TColor fill[] = {clBlue, clLime, clNavy}, key[] = {clAqua, clFuchsia, clYellow};
  TBitmap strip(12, 3);
  for (int f = 0; f < 3; ++f) {
    strip.Canvas().Brush.Color = fill[f];
    strip.Canvas().FillRect(TRect(4 * f, 0, 4 * f + 4, 3));
    strip.Canvas().SetPixel(4 * f, 2, key[f]);
    strip.Canvas().SetPixel(4 * f + 2, 0, key[f]);
    strip.Canvas().SetPixel(4 * f + 3, 1, key[(f + 1) % 3]);  // another frame's key shows
  }
  TBitmap out = Blank(clGray);
  DrawGlyphFrame(out.Canvas(), 5, 6, strip, 3, 2);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      TColor want = clGray;
      if (x >= 5 && x < 9 && y >= 6 && y < 9) {
        const int fx = x - 5, fy = y - 6;
        const bool transparent = (fx == 0 && fy == 2) || (fx == 2 && fy == 0);
        want = transparent ? clGray : (fx == 3 && fy == 1) ? key[2] : fill[1];
      }
      ASSERT_EQ(PixelOf(out, x, y), want) << x << "," << y;
    }
  // Frame numbers outside 1 .. count, a count of 0 and an empty strip draw nothing.
  TBitmap none = Blank(clGray);
  DrawGlyphFrame(none.Canvas(), 0, 0, strip, 3, 0);
  DrawGlyphFrame(none.Canvas(), 0, 0, strip, 3, 4);
  DrawGlyphFrame(none.Canvas(), 0, 0, strip, 0, 1);
  DrawGlyphFrame(none.Canvas(), 0, 0, strip, 13, 1);
  DrawGlyphFrame(none.Canvas(), 0, 0, TBitmap(), 1, 1);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(PixelOf(none, x, y), clGray);
}

TEST(RectHelpers, EdgesAndUnsetPoints) {
  const TRect r(2, 3, 10, 8);
  EXPECT_EQ(RectWidth(r), 8);
  EXPECT_EQ(RectHeight(r), 5);
  EXPECT_TRUE(RectHoldsPoint(r, TPoint(10, 8)));  // right and bottom edges count
  EXPECT_TRUE(RectHoldsPoint(r, TPoint(2, 3)));
  EXPECT_FALSE(RectHoldsPoint(r, TPoint(11, 5)));
  EXPECT_FALSE(RectHoldsPoint(r, TPoint(5, 2)));
  EXPECT_TRUE(RectInsideRect(TRect(2, 3, 9, 7), r));
  EXPECT_FALSE(RectInsideRect(TRect(3, 4, 10, 7), r));  // bottom-right on the right edge
  EXPECT_FALSE(RectInsideRect(TRect(3, 4, 9, 8), r));
  EXPECT_FALSE(RectInsideRect(TRect(1, 4, 9, 7), r));
  EXPECT_TRUE(PointIsUnset(TPoint(0, 7)));
  EXPECT_TRUE(PointIsUnset(TPoint(7, 0)));
  EXPECT_FALSE(PointIsUnset(TPoint(-1, 7)));
  EXPECT_TRUE(RectIsEmpty(TRect(5, 5, 5, 9)));
  EXPECT_TRUE(RectIsEmpty(TRect(5, 5, 9, 4)));
  EXPECT_FALSE(RectIsEmpty(TRect(5, 5, 6, 6)));
  EXPECT_TRUE(RectIsEmpty(TRect(INT32_MAX, 0, INT32_MIN, 5)));
  EXPECT_FALSE(RectIsEmpty(TRect(INT32_MIN, 0, INT32_MAX, 5)));
}

TEST(WindowAlpha, VersionRuleAndOpacity) {
  EXPECT_TRUE(LayeredWindowsAvailableOn(5, 0));
  EXPECT_TRUE(LayeredWindowsAvailableOn(5, 1));
  EXPECT_FALSE(LayeredWindowsAvailableOn(5, 2));
  EXPECT_FALSE(LayeredWindowsAvailableOn(6, 0));
  EXPECT_FALSE(LayeredWindowsAvailableOn(4, 0));
#ifndef Q_OS_WIN
  EXPECT_TRUE(LayeredWindowsAvailable());
#endif
  static int argc = 1;
  static char arg0[] = "skin_draw_glyph_test";
  static char* argv[] = {arg0, nullptr};
  QApplication app(argc, argv);
  QWidget w;
  SetWindowAlpha(&w, 128);
  EXPECT_NEAR(w.windowOpacity(), 128 / 255.0, 1e-6);
  SetWindowAlpha(&w, 300);
  EXPECT_NEAR(w.windowOpacity(), 1.0, 1e-6);
  SetWindowAlpha(&w, -4);
  EXPECT_NEAR(w.windowOpacity(), 0.0, 1e-6);
  QWindow win;
  SetWindowAlpha(&win, 51);
  EXPECT_NEAR(win.opacity(), 0.2, 1e-6);
  SetWindowAlpha(static_cast<QWidget*>(nullptr), 10);
}
