// A widget's accessible interface whose first children are items without widgets of their own
// (the tabs of a page control, the objects of a window frame), followed by the widget's own
// child widgets. Each item gets one registered interface, made on first use by NewItem and
// kept until the widget's interface goes. GUI thread only.
#pragma once
#include <QAccessible>
#include <QAccessibleWidget>
#include <map>
#include <vector>

template <class T>
class TAccessibleWithItems : public QAccessibleWidget {
 public:
  using QAccessibleWidget::QAccessibleWidget;
  ~TAccessibleWithItems() override {
    for (auto& [item, id] : ids_) QAccessible::deleteAccessibleInterface(id);
  }

  // The items shown now, in reading order.
  virtual std::vector<T*> Items() const = 0;

  // The interface of `item`, made on first use.
  QAccessibleInterface* Item(T* item) const {
    auto it = ids_.find(item);
    if (it != ids_.end()) return QAccessible::accessibleInterface(it->second);
    QAccessibleInterface* iface = NewItem(item);
    ids_[item] = QAccessible::registerAccessibleInterface(iface);
    return iface;
  }

  int childCount() const override { return static_cast<int>(Items().size()) + QAccessibleWidget::childCount(); }
  QAccessibleInterface* child(int index) const override {
    const auto items = Items();
    const int n = static_cast<int>(items.size());
    if (index < 0) return nullptr;
    if (index < n) return Item(items[static_cast<size_t>(index)]);
    return QAccessibleWidget::child(index - n);
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    const auto items = Items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
      auto it = ids_.find(items[static_cast<size_t>(i)]);
      if (it != ids_.end() && QAccessible::accessibleInterface(it->second) == c) return i;
    }
    const int w = QAccessibleWidget::indexOfChild(c);
    return w < 0 ? -1 : w + static_cast<int>(items.size());
  }

 protected:
  virtual QAccessibleInterface* NewItem(T* item) const = 0;

 private:
  mutable std::map<const T*, QAccessible::Id> ids_;
};
