// Single-line texts laid out once and kept between paints. A control draws the same caption in
// the same font and box at every paint, and QPainter::drawText lays the text out (shapes it)
// anew each time; a kept layout only draws its glyphs.
//
// Draw paints exactly what QPainter::drawText(r, flags, text, br) paints, by the same steps, for
// a text Qt lays on one line (no line breaks or tabs, and with word wrap only when it fits);
// any other text goes to drawText itself. Layouts are keyed by the painter's font, the text,
// the flags and the size of the box; the table is emptied when it grows past a few hundred
// entries. GUI thread only.
#pragma once
#include <QPainter>
#include <QRect>
#include <QString>

namespace TextLayouts {
// As painter.drawText(r, flags, text, br), with the painter's font, pen and clip.
void Draw(QPainter& painter, const QRect& r, int flags, const QString& text, QRect* br);
// As painter.drawText(x, baseline, text): the text from its start at x, on the baseline. Kept
// only for texts of the Latin, Greek and Cyrillic letters (their glyphs come from the font
// itself, never a fallback font).
void DrawAt(QPainter& painter, int x, int baseline, const QString& text);
// Layouts kept now (for tests and benchmarks).
int Count();
}  // namespace TextLayouts
