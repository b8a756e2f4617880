#include "platform/Collection.h"

#include <algorithm>

#include "platform/Exceptions.h"

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

TCollectionItem* TCollection::Add() {
  std::unique_ptr<TCollectionItem> item = factory_(this);
  if (!item) throw EListError(QStringLiteral("Collection item could not be created"));
  item->collection_ = this;
  items_.push_back(std::move(item));
  NotifyChanged();
  return items_.back().get();
}

void TCollection::Delete(int i) {
  if (i < 0 || i >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
  items_.erase(items_.begin() + i);
  NotifyChanged();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  NotifyChanged();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

void TCollection::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count())
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(from < 0 || from >= Count() ? from : to));
  if (from == to) return;
  auto item = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  NotifyChanged();
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}
