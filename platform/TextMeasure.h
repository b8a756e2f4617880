// Text measures kept between paints. Controls measure the same captions in the same few fonts
// at every paint, and each measure lays the text out (shapes it) anew; these give Qt's own
// answers (QFontMetrics with the font alone, no paint device) and remember them.
//
// Keyed by the font, the text and the layout flags and area; the table is emptied when it
// grows past a few thousand entries. GUI thread only.
#pragma once
#include <QFont>
#include <QRect>
#include <QString>

namespace TextMeasure {
// QFontMetrics(font).boundingRect(r, flags, text).
QRect BoundingRect(const QFont& font, const QRect& r, int flags, const QString& text);
// QFontMetrics(font).horizontalAdvance(text).
int Advance(const QFont& font, const QString& text);
// QFontMetrics(font).ascent() and descent().
int Ascent(const QFont& font);
int Descent(const QFont& font);
// Entries kept now (for tests and benchmarks).
int Count();
}  // namespace TextMeasure
