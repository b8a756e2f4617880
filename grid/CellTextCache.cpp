#include "grid/CellTextCache.h"

#include <algorithm>
#include <vector>

const QStaticText& TCellTextCache::Get(int record, int column, const QString& text, const QFont& font) {
  const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(record)) << 32) | static_cast<uint32_t>(column);
  Entry& e = map_[key];
  if (e.used == 0 || e.text != text || e.font != font) {
    e.text = text;
    e.font = font;
    e.laid = QStaticText(text);
    e.laid.setTextFormat(Qt::PlainText);
    e.laid.setPerformanceHint(QStaticText::AggressiveCaching);
    e.laid.prepare(QTransform(), font);
  }
  e.used = ++clock_;
  if (map_.size() > 2 * capacity_) Evict();
  return map_[key].laid;
}

void TCellTextCache::Evict() {
  // Drop everything older than the newest `capacity_` entries.
  std::vector<uint64_t> ages;
  ages.reserve(map_.size());
  for (const auto& [key, e] : map_) ages.push_back(e.used);
  std::nth_element(ages.begin(), ages.end() - static_cast<std::ptrdiff_t>(capacity_), ages.end());
  const uint64_t limit = *(ages.end() - static_cast<std::ptrdiff_t>(capacity_));
  std::erase_if(map_, [limit](const auto& kv) { return kv.second.used < limit; });
}
