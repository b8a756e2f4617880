// A handful of values kept by key for work that repeats (a window shown again with the same
// text and size): looked up by equality, the least recently used dropped beyond the capacity.
// Meant for a few entries, so a plain vector, newest last. A reference returned by Find or Put
// stays valid until the next Find, Put or Clear. Not thread-safe.
#pragma once
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <class Key, class Value>
class TRecentCache {
 public:
  explicit TRecentCache(size_t capacity) : capacity_(std::max<size_t>(1, capacity)) {}

  // The value kept for `key` (now the most recent one), or nullptr.
  Value* Find(const Key& key) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.first == key; });
    if (it == entries_.end()) return nullptr;
    std::rotate(it, it + 1, entries_.end());
    return &entries_.back().second;
  }
  // Keeps `value` for `key` (replacing one kept for it), dropping the oldest beyond the capacity.
  Value& Put(Key key, Value value) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.first == key; });
    if (it != entries_.end()) entries_.erase(it);
    if (entries_.size() >= capacity_) entries_.erase(entries_.begin());
    entries_.emplace_back(std::move(key), std::move(value));
    return entries_.back().second;
  }
  void Clear() { entries_.clear(); }
  size_t Size() const { return entries_.size(); }

 private:
  size_t capacity_;
  std::vector<std::pair<Key, Value>> entries_;
};
