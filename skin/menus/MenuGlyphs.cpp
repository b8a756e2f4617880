#include "skin/menus/MenuGlyphs.h"

#include "platform/Canvas.h"

void PaintSubMenuArrow(TCanvas& canvas, int x, int y, TColor color) {
  canvas.Pen.Color = color;
  canvas.Pen.Style = TPenStyle::psSolid;
  canvas.Pen.Width = 1;
  for (int i = 0; i <= 3; ++i) {
    canvas.MoveTo(x + i, y + i);
    canvas.LineTo(x + i, y + 7 - i);
  }
}

void PaintRadioDot(TCanvas& canvas, int x, int y, TColor color) {
  canvas.Pen.Color = color;
  canvas.Pen.Style = TPenStyle::psSolid;
  canvas.Pen.Width = 1;
  canvas.Brush.Color = color;
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Ellipse(TRect(x, y, x + 6, y + 6));
}
