// Images of whole grid rows, keyed by record and look class (the zebra grid's stripe
// parity), so that a repaint after a scroll copies rows instead of drawing their cells
// again. The owner clears it whenever anything that shows in a row changes. Bounded: the
// least recently used rows go first. GUI thread only.
#pragma once
#include <QImage>
#include <cstdint>
#include <unordered_map>

class TRowImageCache {
 public:
  struct Key {
    int record = 0;
    int look = 0;
    uint64_t Packed() const { return (static_cast<uint64_t>(static_cast<uint32_t>(record)) << 8) | (look & 0xFF); }
  };
  // The image of a row, or nullptr.
  const QImage* Find(const Key& k);
  const QImage* Insert(const Key& k, QImage image);
  void SetCapacity(size_t rows) { capacity_ = rows; }
  void Clear() { map_.clear(); }
  size_t Size() const { return map_.size(); }

 private:
  struct Entry {
    QImage image;
    uint64_t used = 0;
  };
  std::unordered_map<uint64_t, Entry> map_;
  size_t capacity_ = 128;
  uint64_t clock_ = 0;
};
