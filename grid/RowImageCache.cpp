#include "grid/RowImageCache.h"

#include <algorithm>
#include <vector>

const QImage* TRowImageCache::Find(const Key& k) {
  auto it = map_.find(k.Packed());
  if (it == map_.end()) return nullptr;
  it->second.used = ++clock_;
  return &it->second.image;
}

const QImage* TRowImageCache::Insert(const Key& k, QImage image) {
  if (map_.size() >= capacity_ + capacity_ / 2 && capacity_ > 0) {
    // Keep the newest `capacity_ - 1` rows.
    std::vector<uint64_t> ages;
    ages.reserve(map_.size());
    for (const auto& [key, e] : map_) ages.push_back(e.used);
    const size_t keep = capacity_ > 1 ? capacity_ - 1 : 0;
    if (keep == 0) {
      map_.clear();
    } else {
      std::nth_element(ages.begin(), ages.end() - static_cast<std::ptrdiff_t>(keep), ages.end());
      const uint64_t limit = *(ages.end() - static_cast<std::ptrdiff_t>(keep));
      std::erase_if(map_, [limit](const auto& kv) { return kv.second.used < limit; });
    }
  }
  Entry& e = map_[k.Packed()];
  e.image = std::move(image);
  e.used = ++clock_;
  return &e.image;
}
