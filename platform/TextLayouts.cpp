#include "platform/TextLayouts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {
struct Key {
  QFont font;
  QString text;
  int flags = 0;
  int width = 0, height = 0;
  int dpi = 0;
  Qt::LayoutDirection direction = Qt::LeftToRight;
  friend bool operator==(const Key& a, const Key& b) {
    return a.flags == b.flags && a.width == b.width && a.height == b.height && a.dpi == b.dpi &&
           a.direction == b.direction && a.text == b.text && a.font == b.font;
  }
};
size_t qHash(const Key& k, size_t seed = 0) {
  return qHashMulti(seed, k.flags, k.width, k.height, k.dpi, int(k.direction), k.text, k.font);
}

// A text laid out as drawText lays it, with the measures it places the line by.
struct Laid {
  std::shared_ptr<QTextLayout> layout;  // null: not one line, drawText draws it
  qreal width = 0, height = 0, advance = 0;
};

constexpr int kMaxEntries = 512;

// Never freed: fonts must not outlive the application object in a static's destructor.
QHash<Key, Laid>& Table() {
  static auto* table = new QHash<Key, Laid>;
  return *table;
}

// The characters drawText changes or treats apart (line breaks, tabs, carriage returns, the
// length-variant separator) and the flags that change its steps: such texts are left to it.
bool Plain(const QString& text, int flags) {
  if (text.isEmpty()) return false;
  if (flags & (Qt::TextShowMnemonic | Qt::TextHideMnemonic | Qt::TextJustificationForced | Qt::AlignJustify |
               Qt::TextWrapAnywhere | Qt::TextForceRightToLeft | Qt::TextDontPrint | Qt::TextLongestVariant))
    return false;
  // Trailing spaces count in a line's width or not depending on the wrap: left to drawText.
  if (text.back().isSpace()) return false;
  for (QChar c : text)
    if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
        c == QChar(0x9c))
      return false;
  return true;
}

Laid Lay(const QFont& font, const QString& text, int flags, qreal boxWidth, Qt::LayoutDirection direction) {
  Laid l;
  auto layout = std::make_unique<QTextLayout>(text, font);
  QTextOption option;
  option.setTextDirection(direction);
  option.setAlignment(Qt::AlignLeft);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  const bool wordwrap = flags & Qt::TextWordWrap;
  const qreal lineWidth = wordwrap ? std::max<qreal>(0, boxWidth) : qreal(0x01000000);
  const qreal leading = QFontMetricsF(font).leading();
  layout->beginLayout();
  QTextLine line = layout->createLine();
  if (!line.isValid()) {
    layout->endLayout();
    return l;
  }
  line.setLineWidth(lineWidth);
  // The first line lies at the ceiling of -leading + leading, as drawText places it.
  const qreal top = std::ceil(-leading + leading);
  line.setPosition(QPointF(0., top));
  l.height = top + line.ascent() + line.descent();
  l.width = line.naturalTextWidth();
  const bool more = layout->createLine().isValid();
  layout->endLayout();
  if (more || layout->lineCount() != 1) return l;  // more than one line: drawText's own
  l.advance = layout->lineAt(0).horizontalAdvance();
  l.layout = std::move(layout);
  return l;
}
}  // namespace

namespace TextLayouts {

void Draw(QPainter& p, const QRect& r, int flags, const QString& text, QRect* br) {
  if (!p.isActive() || text.isEmpty() || p.pen().style() == Qt::NoPen) return;
  const Qt::LayoutDirection direction = p.layoutDirection();
  if (!Plain(text, flags) || direction == Qt::RightToLeft) {
    p.drawText(r, flags, text, br);
    return;
  }
  QPaintDevice* device = p.device();
  Key key{p.font(), text, flags, r.width(), r.height(), device ? device->logicalDpiY() : 0, direction};
  QHash<Key, Laid>& t = Table();
  auto it = t.find(key);
  if (it == t.end()) {
    if (t.size() >= kMaxEntries) t.clear();
    Laid laid = Lay(p.font(), text, flags, r.width(), direction);
    it = t.insert(std::move(key), std::move(laid));
  }
  const Laid& l = *it;
  if (!l.layout) {
    p.drawText(r, flags, text, br);
    return;
  }
  const QRectF box(r);
  qreal yoff = 0, xoff = 0;
  if (flags & Qt::AlignBottom) yoff = box.height() - l.height;
  else if (flags & Qt::AlignVCenter) yoff = (box.height() - l.height) / 2;
  if (flags & Qt::AlignRight) xoff = box.width() - l.width;
  else if (flags & Qt::AlignHCenter) xoff = (box.width() - l.width) / 2;
  const QRectF bounds(box.x() + xoff, box.y() + yoff, l.width, l.height);
  if (br) *br = bounds.toAlignedRect();
  const bool clip = !(flags & Qt::TextDontClip) && !box.contains(bounds);
  if (clip) {
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
  }
  // The line itself is placed by its advance, as drawText places it.
  xoff = 0;
  if (flags & Qt::AlignRight) xoff = box.width() - l.advance;
  else if (flags & Qt::AlignHCenter) xoff = (box.width() - l.advance) / 2;
  l.layout->lineAt(0).draw(&p, QPointF(box.x() + xoff, box.y() + yoff));
  if (clip) p.restore();
}

void DrawAt(QPainter& p, int x, int baseline, const QString& text) {
  if (!p.isActive() || text.isEmpty() || p.pen().style() == Qt::NoPen) return;
  const Qt::LayoutDirection direction = p.layoutDirection();
  const bool simple = direction != Qt::RightToLeft && std::all_of(text.begin(), text.end(), [](QChar c) {
                        return c.unicode() >= 0x20 && c.unicode() < 0x0530 && c.unicode() != 0x7F;
                      });
  if (!simple) {
    p.drawText(x, baseline, text);
    return;
  }
  // Kept under flags no box-drawing call passes (the line is laid without a width).
  constexpr int kAtBaseline = Qt::TextDontPrint;
  QPaintDevice* device = p.device();
  Key key{p.font(), text, kAtBaseline, 0, 0, device ? device->logicalDpiY() : 0, direction};
  QHash<Key, Laid>& t = Table();
  auto it = t.find(key);
  if (it == t.end()) {
    if (t.size() >= kMaxEntries) t.clear();
    Laid laid = Lay(p.font(), text, 0, 0, direction);
    it = t.insert(std::move(key), std::move(laid));
  }
  if (!it->layout) {
    p.drawText(x, baseline, text);
    return;
  }
  const QTextLine line = it->layout->lineAt(0);
  line.draw(&p, QPointF(x, baseline - line.ascent()));
}

int Count() { return static_cast<int>(Table().size()); }

}  // namespace TextLayouts
