// Collections: an owned, ordered list of items of one class (grid columns and the like),
// stored in a form definition as "Name = < item ... end >".
#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Component.h"

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
  TCollection* Collection() const { return collection_; }
  // Position in the collection; -1 when not in one.
  int Index() const;

 private:
  friend class TCollection;
  TCollection* collection_;  // referenced, not owned
};

class TCollection : public TPersistent {
 public:
  // `itemClassName` names the item class in the class registry (its property table);
  // `factory` makes a new item for this collection.
  using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;
  TCollection(QString itemClassName, TItemFactory factory)
      : itemClassName_(std::move(itemClassName)), factory_(std::move(factory)) {}
  ~TCollection() override = default;

  const QString& ItemClassName() const { return itemClassName_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int i) const { return items_.at(static_cast<size_t>(i)).get(); }
  // Appends a new item (owned by the collection) and returns it.
  TCollectionItem* Add();
  void Delete(int i);
  void Clear();
  int IndexOf(const TCollectionItem* item) const;
  // Moves an item to another position.
  void Move(int from, int to);

  // Batches change notices: Changed() runs once when the last EndUpdate is reached.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  // Called after items were added, removed, moved or (by items) changed; override to react.
  virtual void Changed() {}
  void NotifyChanged() {
    if (updateCount_ == 0) Changed();
  }

 private:
  QString itemClassName_;
  TItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int updateCount_ = 0;
};
