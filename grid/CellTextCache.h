// Cell texts laid out once and drawn many times: a paint after a scroll finds most of the
// rows it shows already laid out. Keyed by record and column; an entry whose text changed
// is laid out again. Bounded: the least recently used entries go first. GUI thread only.
#pragma once
#include <QFont>
#include <QStaticText>
#include <QString>
#include <cstdint>
#include <unordered_map>

class TCellTextCache {
 public:
  // The laid-out text of a cell (`text` in `font`).
  const QStaticText& Get(int record, int column, const QString& text, const QFont& font);
  // Keeps at least `n` entries (the grid asks for a few screens' worth).
  void SetCapacity(size_t n) { capacity_ = n; }
  void Clear() { map_.clear(); }
  size_t Size() const { return map_.size(); }

 private:
  struct Entry {
    QString text;
    QFont font;
    QStaticText laid;
    uint64_t used = 0;
  };
  void Evict();
  std::unordered_map<uint64_t, Entry> map_;
  size_t capacity_ = 2048;
  uint64_t clock_ = 0;
};
