// Small glyphs drawn when a frame or menu button has no picture, and glyph strips.
#include <QImage>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "skin/draw/bsUtils.h"

namespace {

void UsePen(TCanvas& c, TColor color) {
  c.Pen.Color = color;
  c.Pen.Width = 1;
  c.Pen.Style = TPenStyle::psSolid;
}

void Line(TCanvas& c, int x1, int y1, int x2, int y2) {
  c.MoveTo(x1, y1);
  c.LineTo(x2, y2);
}

void Outline(TCanvas& c, TColor color) {
  UsePen(c, color);
  c.Brush.Style = TBrushStyle::bsClear;
}

}  // namespace

void DrawGlyphFrame(TCanvas& canvas, int x, int y, const TBitmap& strip, int frameCount, int frame) {
  if (strip.Empty() || frameCount < 1 || frame < 1 || frame > frameCount) return;
  const int fw = strip.Width() / frameCount;
  if (fw < 1) return;
  QImage img = strip.Image().copy((frame - 1) * fw, 0, fw, strip.Height()).convertToFormat(QImage::Format_ARGB32);
  // The colour of the bottom-left pixel is transparent.
  const QRgb key = img.pixel(0, img.height() - 1) | 0xFF000000u;
  for (int row = 0; row < img.height(); ++row) {
    auto* p = reinterpret_cast<QRgb*>(img.scanLine(row));
    for (int col = 0; col < img.width(); ++col)
      if ((p[col] | 0xFF000000u) == key) p[col] = 0;
  }
  canvas.Draw(x, y, img);
}

void PaintArrowGlyph(TCanvas& c, const TRect& r, TColor color, int direction) {
  UsePen(c, color);
  const int cx = r.Left + RectWidth(r) / 2, cy = r.Top + RectHeight(r) / 2;
  switch (direction) {
    case adLeft:
      for (int i = 0; i <= 3; ++i) Line(c, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1);
      break;
    case adRight:
      for (int n = 3; n >= 0; --n) Line(c, cx + 2 - n, cy + n, cx + 2 - n, cy - n - 1);
      break;
    case adUp:
      for (int i = 0; i <= 3; ++i) Line(c, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i);
      break;
    case adDown:
      for (int n = 3; n >= 0; --n) Line(c, cx - n, cy + 2 - n, cx + n + 1, cy + 2 - n);
      break;
    default:
      break;
  }
}

void PaintCheckGlyph(TCanvas& c, int x, int y, TColor color) {
  UsePen(c, color);
  for (int i = 0; i <= 2; ++i) {
    c.MoveTo(x, y + 5 - i);
    c.LineTo(x + 2, y + 7 - i);
    c.LineTo(x + 7, y + 2 - i);
  }
}

void PaintCloseGlyph(TCanvas& c, int x, int y, TColor color) {
  UsePen(c, color);
  Line(c, x + 1, y + 1, x + 9, y + 9);
  Line(c, x + 9, y + 1, x + 1, y + 9);
  Line(c, x + 2, y + 1, x + 10, y + 9);
  Line(c, x + 8, y + 1, x, y + 9);
}

void PaintMaximizeGlyph(TCanvas& c, int x, int y, TColor color) {
  Outline(c, color);
  c.Rectangle(x, y, x + 11, y + 10);
  c.Rectangle(x, y, x + 11, y + 2);
}

void PaintRestoreGlyph(TCanvas& c, int x, int y, TColor color) {
  Outline(c, color);
  c.Rectangle(x + 2, y, x + 10, y + 6);
  c.Rectangle(x + 2, y, x + 10, y + 2);
  c.Rectangle(x, y + 4, x + 7, y + 10);
  c.Rectangle(x, y + 4, x + 7, y + 6);
}

void PaintMinimizeGlyph(TCanvas& c, int x, int y, TColor color) {
  UsePen(c, color);
  Line(c, x + 1, y + 8, x + 9, y + 8);
  Line(c, x + 1, y + 9, x + 9, y + 9);
}

void PaintSysMenuGlyph(TCanvas& c, int x, int y, TColor color) {
  Outline(c, color);
  c.Rectangle(x + 1, y + 3, x + 9, y + 6);
}

void PaintRollUpGlyph(TCanvas& c, int x, int y, TColor color) {
  UsePen(c, color);
  for (int i = 0; i <= 4; ++i) Line(c, x + 5 - i, y + 2 + i, x + 5 + i, y + 2 + i);
}

void PaintBulletGlyph(TCanvas& c, int x, int y, TColor color) {
  UsePen(c, color);
  c.Brush.Color = color;
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Rectangle(x + 2, y + 2, x + 7, y + 7);
}
