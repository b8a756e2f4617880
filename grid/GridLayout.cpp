#include "grid/GridLayout.h"

#include <algorithm>
#include <cstdint>

int DefaultColumnWidth(int displayWidth, const TCellFont& font, const QString& title, const TCellFont& titleFont,
                       bool showTitles) {
  // A column declared wider than any screen (a damaged or hostile result) is cut, so that the
  // sums of column widths stay far from overflowing.
  const int64_t chars = std::max(0, displayWidth);
  int w = static_cast<int>(std::min<int64_t>(kMaxColumnWidth, chars * font.TextWidth(QStringLiteral("0")) + 4));
  if (showTitles) w = std::max(w, std::min(kMaxColumnWidth, titleFont.TextWidth(title) + 4));
  return w;
}

int DataRowHeight(const TCellFont& font) { return font.Height + 3; }
int TitleRowHeight(const TCellFont& titleFont) { return titleFont.Height + 4; }

int TGridGeometry::GridColWidth(int gridCol) const {
  if (Indicator && gridCol == 0) return kIndicatorWidth;
  const int c = gridCol - FixedCols();
  return c >= 0 && c < static_cast<int>(ColWidths.size()) ? ColWidths[static_cast<size_t>(c)] : 0;
}

int TGridGeometry::FullyVisibleRows() const {
  const int pitch = RowPitch();
  if (pitch <= 0) return 1;
  // The last row's line may fall outside the client area.
  const int room = Height - DataTop() + RowLineWidth;
  return std::max(1, room / pitch);
}

int TGridGeometry::PartlyVisibleRows() const {
  const int pitch = RowPitch();
  if (pitch <= 0) return 1;
  const int room = Height - DataTop();
  return std::max(1, (room + pitch - 1) / pitch);
}

int TGridGeometry::DataColLeft(int dataCol) const {
  if (dataCol < LeftCol) return -1;
  int x = FixedWidth();
  for (int c = LeftCol; c < dataCol && c < static_cast<int>(ColWidths.size()); ++c)
    x += ColWidths[static_cast<size_t>(c)] + ColLineWidth;
  return x;
}

TRect TGridGeometry::CellRect(int gridCol, int gridRow) const {
  int left = 0, width = 0;
  if (gridCol < FixedCols()) {
    width = kIndicatorWidth;
  } else {
    const int c = gridCol - FixedCols();
    if (c >= static_cast<int>(ColWidths.size())) return TRect();
    left = DataColLeft(c);
    if (left < 0) return TRect();
    width = ColWidths[static_cast<size_t>(c)];
  }
  int top = 0, height = 0;
  if (gridRow < FixedRows()) {
    height = TitleHeight;
  } else {
    top = DataTop() + (gridRow - FixedRows()) * RowPitch();
    height = RowHeight;
  }
  return TRect(left, top, left + width, top + height);
}

bool TGridGeometry::CellAt(int x, int y, int& gridCol, int& gridRow) const {
  if (x < 0 || y < 0 || x >= Width || y >= Height) return false;
  if (x < FixedWidth()) {
    if (!Indicator) return false;
    gridCol = 0;
  } else {
    int left = FixedWidth();
    gridCol = -1;
    for (int c = LeftCol; c < static_cast<int>(ColWidths.size()); ++c) {
      const int right = left + ColWidths[static_cast<size_t>(c)] + ColLineWidth;
      if (x < right) { gridCol = FixedCols() + c; break; }
      left = right;
    }
    if (gridCol < 0) return false;
  }
  if (y < DataTop()) {
    gridRow = 0;
  } else {
    const int pitch = RowPitch();
    gridRow = FixedRows() + (pitch > 0 ? (y - DataTop()) / pitch : 0);
  }
  return true;
}

int TGridGeometry::SizingColumnAt(int x) const {
  int right = FixedWidth();
  for (int c = LeftCol; c < static_cast<int>(ColWidths.size()); ++c) {
    right += ColWidths[static_cast<size_t>(c)];
    if (x >= right - kSizingMargin && x <= right + ColLineWidth + kSizingMargin - 1) return c;
    right += ColLineWidth;
    if (right > Width + kSizingMargin) break;
  }
  return -1;
}

int TGridGeometry::FullyVisibleCols() const {
  int x = FixedWidth(), n = 0;
  for (int c = LeftCol; c < static_cast<int>(ColWidths.size()); ++c) {
    x += ColWidths[static_cast<size_t>(c)];
    if (x > Width) break;
    x += ColLineWidth;
    ++n;
  }
  return ColWidths.empty() ? 0 : std::max(1, n);
}

int TGridGeometry::MaxLeftCol() const {
  const int n = static_cast<int>(ColWidths.size());
  int x = Width - FixedWidth();
  int c = n;
  while (c > 0) {
    const int w = ColWidths[static_cast<size_t>(c - 1)] + ColLineWidth;
    if (w > x) break;
    x -= w;
    --c;
  }
  return std::min(c, std::max(0, n - 1));
}
