#include "platform/TextMeasure.h"

#include <QFontMetrics>
#include <QHash>
#include <functional>

namespace {
// A measure asked for: what is measured (kind), in which font, of which text, in which area.
struct Key {
  int kind = 0;  // 0 bounding rectangle, 1 advance, 2 ascent and descent
  QFont font;
  QString text;
  int flags = 0;
  int width = 0, height = 0;
  friend bool operator==(const Key& a, const Key& b) {
    return a.kind == b.kind && a.flags == b.flags && a.width == b.width && a.height == b.height && a.text == b.text &&
           a.font == b.font;
  }
};
size_t qHash(const Key& k, size_t seed = 0) {
  return qHashMulti(seed, k.kind, k.flags, k.width, k.height, k.text, k.font);
}

struct Value {
  QRect rect;  // bounding rectangle relative to the area's top-left; advance in width; ascent, descent
  int a = 0, b = 0;
};

constexpr int kMaxEntries = 4096;

// Never freed: fonts must not outlive the application object in a static's destructor.
QHash<Key, Value>& Table() {
  static auto* table = new QHash<Key, Value>;
  return *table;
}

const Value& Find(Key&& key, const std::function<Value()>& measure) {
  QHash<Key, Value>& t = Table();
  auto it = t.constFind(key);
  if (it != t.constEnd()) return *it;
  if (t.size() >= kMaxEntries) t.clear();
  return *t.insert(std::move(key), measure());
}
}  // namespace

namespace TextMeasure {

QRect BoundingRect(const QFont& font, const QRect& r, int flags, const QString& text) {
  const Value& v = Find(Key{0, font, text, flags, r.width(), r.height()}, [&] {
    Value m;
    m.rect = QFontMetrics(font).boundingRect(QRect(0, 0, r.width(), r.height()), flags, text);
    return m;
  });
  return v.rect.translated(r.topLeft());
}

int Advance(const QFont& font, const QString& text) {
  return Find(Key{1, font, text, 0, 0, 0}, [&] {
           Value m;
           m.a = QFontMetrics(font).horizontalAdvance(text);
           return m;
         }).a;
}

namespace {
const Value& Heights(const QFont& font) {
  return Find(Key{2, font, QString(), 0, 0, 0}, [&] {
    QFontMetrics fm(font);
    Value m;
    m.a = fm.ascent();
    m.b = fm.descent();
    return m;
  });
}
}  // namespace

int Ascent(const QFont& font) { return Heights(font).a; }
int Descent(const QFont& font) { return Heights(font).b; }
int Count() { return static_cast<int>(Table().size()); }

}  // namespace TextMeasure
