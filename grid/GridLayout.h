// Layout maths of the data grids: where each cell lies, which cell a point hits, how many
// rows fit. Grid coordinates count the fixed indicator column and the title row: grid
// column 0 is the indicator when it is shown, grid row 0 the title row when titles are
// shown. Units: pixels in the client area. Pure values, no window needed.
#pragma once
#include <QString>
#include <vector>

#include "grid/GridPaint.h"
#include "platform/Types.h"

// Width of the indicator column's cell.
constexpr int kIndicatorWidth = 11;
// How near to a title cell's right edge the mouse must be to size the column.
constexpr int kSizingMargin = 3;

// The widest a column's default width gets, in pixels.
constexpr int kMaxColumnWidth = 1 << 16;

// Width of a column from its field: the display width (characters) times the width of "0"
// in the column's font, plus 4; when titles are shown and the title in the title font plus
// 4 is wider, that width instead; at most kMaxColumnWidth. Qt's outline fonts report no
// overhang.
int DefaultColumnWidth(int displayWidth, const TCellFont& font, const QString& title, const TCellFont& titleFont,
                       bool showTitles);
// Cell height of a data row and of the title row for the given fonts.
int DataRowHeight(const TCellFont& font);
int TitleRowHeight(const TCellFont& titleFont);

struct TGridGeometry {
  int Width = 0, Height = 0;  // client area
  bool Indicator = true;
  bool Titles = true;
  int ColLineWidth = 1;  // 0 when column lines are off
  int RowLineWidth = 1;  // 0 when row lines are off
  int TitleHeight = 0;   // title cell height (used when Titles)
  int RowHeight = 0;     // data cell height
  std::vector<int> ColWidths;  // data columns, cell widths
  int LeftCol = 0;       // first data column shown right of the fixed area

  int FixedCols() const { return Indicator ? 1 : 0; }
  int FixedRows() const { return Titles ? 1 : 0; }
  int ColCount() const { return FixedCols() + static_cast<int>(ColWidths.size()); }
  // Width of a grid column's cell (the indicator or a data column).
  int GridColWidth(int gridCol) const;
  int FixedWidth() const { return Indicator ? kIndicatorWidth + ColLineWidth : 0; }
  int DataTop() const { return Titles ? TitleHeight + RowLineWidth : 0; }
  int RowPitch() const { return RowHeight + RowLineWidth; }
  // Data rows whose whole cell fits (at least 1) and rows that are at least partly visible.
  int FullyVisibleRows() const;
  int PartlyVisibleRows() const;
  // Left edge of a data column's cell, or -1 when it lies left of LeftCol.
  int DataColLeft(int dataCol) const;
  // Rectangle of a cell in grid coordinates; data rows count from the topmost shown row.
  TRect CellRect(int gridCol, int gridRow) const;
  // The cell under (x, y); false outside every cell (lines and the empty area count as
  // the cell left of / above them).
  bool CellAt(int x, int y, int& gridCol, int& gridRow) const;
  // The data column whose right edge lies within kSizingMargin of x, or -1.
  int SizingColumnAt(int x) const;
  // Data columns wholly visible from LeftCol (at least 1 when there are columns).
  int FullyVisibleCols() const;
  // The largest LeftCol that still fills the width with columns.
  int MaxLeftCol() const;
};
