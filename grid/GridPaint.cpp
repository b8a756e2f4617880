#include "grid/GridPaint.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

#include "platform/Colors.h"

TCellColors ZebraCellColors(TColor columnColor, TColor columnFontColor, bool zebra, int dataRow,
                            TColor zebraColor, TColor zebraFontColor, bool highlighted) {
  TCellColors c{columnColor, columnFontColor};
  if (zebra && (dataRow & 1) != 0) c = {zebraColor, zebraFontColor};
  if (highlighted && !zebra) c = {clHighlight, clHighlightText};
  return c;
}

TCellFont::TCellFont(const TFont& f) : Qt(f.ToQFont()), Color(f.Color) {
  const QFontMetrics fm(Qt);
  Ascent = fm.ascent();
  Height = fm.ascent() + fm.descent();
}

int TCellFont::TextWidth(const QString& s) const { return QFontMetrics(Qt).horizontalAdvance(s); }

void WriteCellText(TCanvas& canvas, const TRect& r, const QString& text, TAlignment alignment,
                   const TCellFont& font, TColor brush, TColor textColor, const QStaticText* prepared,
                   bool coveredAfter) {
  QPainter* p = canvas.Painter();
  if (!p || r.Width() <= 0 || r.Height() <= 0) return;
  const QRect qr = ToQRect(r);
  p->fillRect(qr, ToQColor(brush));
  if (text.isEmpty()) return;
  int w = 0, h = font.Height;
  if (prepared) {
    const QSizeF size = prepared->size();
    w = static_cast<int>(std::ceil(size.width()));
    h = static_cast<int>(std::ceil(size.height()));
  } else if (alignment != taLeftJustify) {
    w = font.TextWidth(text);
  }
  int x = r.Left + 2;
  if (alignment == taRightJustify) x = r.Right - 3 - w;
  else if (alignment == taCenter) x = r.Left + (r.Width() - w) / 2;
  const int top = r.Top + 2;
  const bool fits = x >= r.Left && ((prepared && x + w <= r.Right && top + h <= r.Bottom) || coveredAfter);
  const bool clipWasOn = p->hasClipping();
  QRegion oldClip;
  if (!fits) {
    if (clipWasOn) oldClip = p->clipRegion();
    p->setClipRect(qr, clipWasOn ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  p->setFont(font.Qt);
  p->setPen(ToQColor(textColor));
  if (prepared) p->drawStaticText(x, top, *prepared);
  else p->drawText(x, top + font.Ascent, text);
  if (!fits) {
    if (clipWasOn) p->setClipRegion(oldClip);
    else p->setClipping(false);
  }
}

void PaintFixedCell(TCanvas& canvas, const TRect& r, TColor fixedColor, const QString& caption,
                    TAlignment alignment, const TCellFont* font) {
  QPainter* p = canvas.Painter();
  if (!p || r.Width() <= 0 || r.Height() <= 0) return;
  if (font) WriteCellText(canvas, r, caption, alignment, *font, fixedColor, font->Color);
  else p->fillRect(ToQRect(r), ToQColor(fixedColor));
  TRect edge = r;
  canvas.Frame3D(edge, clBtnHighlight, clBtnShadow, 1);
}

void PaintCurrentRecordMarker(TCanvas& canvas, const TRect& r, TColor color) {
  QPainter* p = canvas.Painter();
  if (!p) return;
  // Four columns of pixels, 7, 5, 3 and 1 high, centred in the cell.
  const int cx = r.Left + (r.Width() - 4) / 2;
  const int cy = r.Top + r.Height() / 2;
  const QColor c = ToQColor(color);
  for (int i = 0; i < 4; ++i) p->fillRect(cx + i, cy - 3 + i, 1, 7 - 2 * i, c);
}

void PaintFocusRect(TCanvas& canvas, const TRect& r, TColor cellBrush) {
  QPainter* p = canvas.Painter();
  if (!p || r.Width() <= 0 || r.Height() <= 0) return;
  // Every second pixel in the inverse of the cell colour, as the platform's focus frame.
  const int32_t rgb = ColorToRGB(cellBrush);
  const QColor c(255 - GetRValue(rgb), 255 - GetGValue(rgb), 255 - GetBValue(rgb));
  auto dot = [&](int x, int y) { if (((x + y) & 1) == 0) p->fillRect(x, y, 1, 1, c); };
  for (int x = r.Left; x < r.Right; ++x) { dot(x, r.Top); dot(x, r.Bottom - 1); }
  for (int y = r.Top + 1; y < r.Bottom - 1; ++y) { dot(r.Left, y); dot(r.Right - 1, y); }
}
