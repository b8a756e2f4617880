// The grid's drawing routines and layout maths, checked on a real 24-bit bitmap with the
// fonts the program uses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

#include "tests/TestUtil.h"
#include "grid/GridLayout.h"
#include "grid/GridPaint.h"
#include "platform/Bitmap.h"
#include "platform/Colors.h"

namespace {

void EnsureApp() {
  static int argc = 1;
  static char name[] = "grid_paint_test";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
}

TFont GridFont() {
  TFont f;
  f.Name = QStringLiteral("MS Sans Serif");
  f.Height = -11;
  f.Color = clWindowText;
  return f;
}

// Leftmost, rightmost, topmost and bottommost pixel darker than `limit` in an area.
struct Ink {
  int left = INT32_MAX, right = -1, top = INT32_MAX, bottom = -1;
  bool Any() const { return right >= 0; }
};
Ink FindInk(const QImage& img, const QRect& area, int limit = 128) {
  Ink ink;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(img.pixel(x, y)) < limit) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

}  // namespace

TEST(GridPaint, CellWriterPlacesTextByAlignmentAndClipsIt) {
  EnsureApp();
  TBitmap bmp(200, 60);
  TCanvas& c = bmp.Canvas();
  c.Brush.Color = clWhite;
  c.FillRect(TRect(0, 0, 200, 60));
  const TCellFont font(GridFont());
  const TColor pale = RGBColor(206, 249, 208);
  const TRect left(10, 5, 110, 22), right(10, 25, 110, 42);
  WriteCellText(c, left, QStringLiteral("1234.5"), taLeftJustify, font, pale, clWindowText);
  WriteCellText(c, right, QStringLiteral("1234.5"), taRightJustify, font, pale, clWindowText);
  // A text far wider than its cell stays inside it.
  const TRect narrow(130, 5, 150, 22);
  WriteCellText(c, narrow, QStringLiteral("WWWWWWWWWWWW"), taLeftJustify, font, pale, clWindowText);
  const QImage& img = bmp.Image();

  // The brush fills the whole cell, up to but not including right and bottom.
  EXPECT_EQ(img.pixelColor(10, 5), QColor(206, 249, 208));
  EXPECT_EQ(img.pixelColor(109, 21), QColor(206, 249, 208));
  EXPECT_EQ(img.pixelColor(110, 21), QColor(255, 255, 255));
  EXPECT_EQ(img.pixelColor(109, 22), QColor(255, 255, 255));

  const Ink l = FindInk(img, QRect(10, 5, 100, 17));
  ASSERT_TRUE(l.Any());
  EXPECT_GE(l.left, 12);  // 2 pixels right of the left edge, plus the glyph's own bearing
  EXPECT_LE(l.left, 13);
  EXPECT_GE(l.top, 7);    // top 2 pixels below the cell's top
  const Ink r = FindInk(img, QRect(10, 25, 100, 17));
  ASSERT_TRUE(r.Any());
  EXPECT_LE(r.right, 110 - 3 - 1);  // ends 3 pixels left of the right edge
  EXPECT_GE(r.right, 110 - 3 - 2);
  // Both texts have the same width.
  EXPECT_EQ(r.right - r.left, l.right - l.left);

  const Ink outside = FindInk(img, QRect(150, 0, 50, 60));
  EXPECT_FALSE(outside.Any());
  EXPECT_TRUE(FindInk(img, QRect(130, 5, 20, 17)).Any());
}

TEST(GridPaint, ColumnWidthTakesTitleWhenWider) {
  EnsureApp();
  const TCellFont font(GridFont());
  const TCellFont titleFont(GridFont());
  const QFontMetrics fm(GridFont().ToQFont());
  const QString title = QStringLiteral("轉入單別");
  // A one-character field under a four-character Chinese title: the title decides.
  const int titleWidth = fm.horizontalAdvance(title) + 4;
  ASSERT_GT(titleWidth, fm.horizontalAdvance(QStringLiteral("0")) + 4);
  EXPECT_EQ(DefaultColumnWidth(1, font, title, titleFont, true), titleWidth);
  // Without titles the data width rules.
  EXPECT_EQ(DefaultColumnWidth(1, font, title, titleFont, false), fm.horizontalAdvance(QStringLiteral("0")) + 4);
  // A twenty-character field is wider than its title.
  EXPECT_EQ(DefaultColumnWidth(20, font, title, titleFont, true), 20 * fm.horizontalAdvance(QStringLiteral("0")) + 4);
}

TEST(GridLayout, CellsAndHitTestsAgree) {
  TGridGeometry g;
  g.Width = 300;
  g.Height = 100;
  g.TitleHeight = 17;
  g.RowHeight = 16;
  g.ColWidths = {50, 80, 120, 60};
  // Title 17 + line, rows of 16 + line: (100 - 18 + 1) / 17 = 4 whole rows, 5 partly.
  EXPECT_EQ(g.DataTop(), 18);
  EXPECT_EQ(g.FullyVisibleRows(), 4);
  EXPECT_EQ(g.PartlyVisibleRows(), 5);
  for (int gc = 0; gc < g.ColCount(); ++gc) {
    for (int gr = 0; gr < 5; ++gr) {
      const TRect r = g.CellRect(gc, gr);
      if (r.Left >= g.Width) continue;
      int c = -1, row = -1;
      ASSERT_TRUE(g.CellAt(r.Left, r.Top, c, row));
      EXPECT_EQ(c, gc);
      EXPECT_EQ(row, gr);
      ASSERT_TRUE(g.CellAt(std::min(r.Right - 1, g.Width - 1), std::min(r.Bottom - 1, g.Height - 1), c, row));
      EXPECT_EQ(c, gc);
      EXPECT_EQ(row, gr);
    }
  }
  EXPECT_EQ(g.CellRect(1, 0), TRect(12, 0, 62, 17));
  EXPECT_EQ(g.CellRect(2, 2), TRect(63, 18 + 17, 143, 18 + 17 + 16));
  // The sizing edge of column 0 lies at its right border (x = 62), within the margin.
  EXPECT_EQ(g.SizingColumnAt(62), 0);
  EXPECT_EQ(g.SizingColumnAt(60), 0);
  EXPECT_EQ(g.SizingColumnAt(40), -1);
  // Scrolled one column to the left, column 1 starts right of the indicator.
  g.LeftCol = 1;
  EXPECT_EQ(g.CellRect(2, 1).Left, 12);
  EXPECT_EQ(g.CellRect(1, 1), TRect());
  // With 300 pixels, starting at column 1 (80 + 120 + 60 + lines) all remaining columns fit.
  EXPECT_EQ(g.MaxLeftCol(), 1);
  // Without titles and indicator the first data row starts at the top-left corner.
  g.Titles = false;
  g.Indicator = false;
  g.LeftCol = 0;
  EXPECT_EQ(g.CellRect(0, 0), TRect(0, 0, 50, 16));
  EXPECT_EQ(g.FullyVisibleRows(), 5);
}
