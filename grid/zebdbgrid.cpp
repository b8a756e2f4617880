#include "grid/zebdbgrid.h"

#include "grid/GridDataLink.h"

Tzebdbgrid::Tzebdbgrid(TComponent* owner) : TCustomDBGrid(owner) {}

void Tzebdbgrid::RepaintNow() {
  LookChanged();
  Invalidate();
  Update();
}

void Tzebdbgrid::SetZebra(bool v) {
  zebra_ = v;
  RepaintNow();
}

void Tzebdbgrid::SetZebraColor(TColor c) {
  zebraColor_ = c;
  RepaintNow();
}

void Tzebdbgrid::SetZebraFontColor(TColor c) {
  zebraFontColor_ = c;
  RepaintNow();
}

void Tzebdbgrid::Scroll(int distance) {
  // With stripes on every row is repainted below, so the rows are not moved on screen first.
  ScrollData(distance, !zebra_);
  if (zebra_) {
    // Every row shown, repainted at once; the rest of the grid cannot change with a scroll.
    RepaintRect(RowsArea());
  }
}

int Tzebdbgrid::RowLookClass(int dataRow) const { return zebra_ ? (dataRow & 1) : 0; }

void Tzebdbgrid::DrawCell(int gridCol, int gridRow, const TRect& rect, TGridDrawState state) {
  TCanvas& canvas = CellCanvas();
  // While loading from a form definition nothing is bound yet.
  if (IsLoading()) {
    canvas.Brush.Color = Color();
    canvas.FillRect(rect);
    return;
  }
  const int titleOffset = TitleOffset();
  const int indicatorOffset = IndicatorOffset();
  // The indicator column and the title row are the base grid's.
  if (gridCol < indicatorOffset || gridRow < titleOffset) {
    TCustomDBGrid::DrawCell(gridCol, gridRow, rect, state);
    return;
  }
  const int r = gridRow - titleOffset;
  const int c = gridCol - indicatorOffset;
  TColumn* column = c < Columns().Count() ? Columns().Items(c) : nullptr;
  const TCellFont& font = CellFontFor(c);
  const TColor columnColor = column ? column->Color() : Color();
  TGridDataLink* link = DataLink();
  if (!link || !link->Active()) {
    canvas.Brush.Color = ZebraCellColors(columnColor, font.Color, zebra_, r, zebraColor_, zebraFontColor_, false).Brush;
    canvas.FillRect(rect);
    return;
  }
  TColor brush = columnColor;
  {
    // Record r of the window becomes the active one while the cell is drawn.
    TGridActiveRecordGuard guard(*link, r);
    const TCellColors colors = ZebraCellColors(columnColor, font.Color, zebra_, r, zebraColor_, zebraFontColor_,
                                               HighlightCell(c, r, state));
    brush = colors.Brush;
    TColor text = colors.Text;
    // A range of rows shows in the highlight colours, stripes or not: it is what a copy takes.
    if (RowInRange(r)) {
      brush = clHighlight;
      text = clHighlightText;
    }
    if (DefaultDrawing()) DefaultDrawColumnCell(rect, c, column, state, brush, text);
    if (Columns().State() == TDBGridColumnsState::csDefault && OnDrawDataCell)
      OnDrawDataCell(this, rect, column ? column->Field() : nullptr, state);
    if (OnDrawColumnCell) OnDrawColumnCell(this, rect, c, column, state);
  }
  if (DefaultDrawing() && (state & gdSelected) && ((Options() & dgAlwaysShowSelection) || Focused()) &&
      !IsDesigning() && !(Options() & dgRowSelect) && UpdateLock() == 0 && IsActiveControl())
    PaintFocusRect(canvas, rect, brush);
}
