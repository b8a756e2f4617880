// Drawing routines of the data grids as free functions on a canvas, so that every rule can
// be checked on a bitmap without a window. Units: pixels in the grid's client area.
// GUI thread only.
#pragma once
#include <QFont>
#include <QStaticText>
#include <QString>

#include "platform/Canvas.h"
#include "platform/Types.h"

// Brush and text colour of one data cell.
struct TCellColors {
  TColor Brush = 0;
  TColor Text = 0;
  friend bool operator==(const TCellColors&, const TCellColors&) = default;
};

// The striped grid's colour rule for a data cell on screen row `dataRow` (0 = topmost row
// shown): the column's colours, the zebra colours on odd rows when stripes are on, and the
// highlight colours for a highlighted cell only while stripes are off.
TCellColors ZebraCellColors(TColor columnColor, TColor columnFontColor, bool zebra, int dataRow,
                            TColor zebraColor, TColor zebraFontColor, bool highlighted);

// A font prepared once per paint: the Qt font and its ascent, so that writing many cells
// does not build fonts or metrics again.
struct TCellFont {
  explicit TCellFont(const TFont& f);
  QFont Qt;
  int Ascent = 0;
  int Height = 0;  // ascent plus descent
  TColor Color = 0;
  int TextWidth(const QString& s) const;
};

// The default cell writer: fills `r` with `brush`, then writes `text` clipped to `r` in
// `textColor`: left-aligned text starts 2 pixels right of the left edge, right-aligned text
// ends 3 pixels left of the right edge, centred text is centred; its top lies 2 pixels
// below the top edge.
// `prepared`, when given, is `text` already laid out in `font` (see TCellTextCache); it
// spares shaping the text again on every paint.
// With `coveredAfter`, the caller paints the cells right of and below this one afterwards
// (and the window's paint clip protects what is not repainted), so text running past the
// right or bottom edge is covered anyway and only text starting left of the cell needs a
// clip; clipping every cell costs more than the text itself.
void WriteCellText(TCanvas& canvas, const TRect& r, const QString& text, TAlignment alignment,
                   const TCellFont& font, TColor brush, TColor textColor, const QStaticText* prepared = nullptr,
                   bool coveredAfter = false);

// A fixed (title or indicator) cell: face in `fixedColor`, `caption` written as the cell
// writer does, and a raised edge.
void PaintFixedCell(TCanvas& canvas, const TRect& r, TColor fixedColor, const QString& caption = QString(),
                    TAlignment alignment = taLeftJustify, const TCellFont* font = nullptr);

// The current-record marker: a small solid triangle pointing right, centred in `r`.
void PaintCurrentRecordMarker(TCanvas& canvas, const TRect& r, TColor color);

// The focus rectangle of a cell: a dotted frame just inside `r`.
void PaintFocusRect(TCanvas& canvas, const TRect& r, TColor cellBrush);
