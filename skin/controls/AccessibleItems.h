// A widget's accessible interface whose first children are items without widgets of their own
// (the tabs of a page control, the objects of a window frame), followed by the widget's own
// child widgets, then the labels drawn on it (TAccessibleLabels). Each item gets one
// registered interface, made on first use by NewItem and kept until the widget's interface
// goes. TAccessibleItem is the common part of such an item's interface. GUI thread only.
#pragma once
#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <algorithm>
#include <map>
#include <vector>

#include "platform/Types.h"
#include "skin/controls/AccessibleLabels.h"

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

  // True while `item` is among the items shown.
  bool Holds(const T* item) const {
    const auto items = Items();
    return std::find(items.begin(), items.end(), item) != items.end();
  }

  int childCount() const override {
    return static_cast<int>(Items().size()) + QAccessibleWidget::childCount() + labels_.Count(widget());
  }
  QAccessibleInterface* child(int index) const override {
    const auto items = Items();
    const int n = static_cast<int>(items.size()), widgets = QAccessibleWidget::childCount();
    if (index < 0) return nullptr;
    if (index < n) return Item(items[static_cast<size_t>(index)]);
    if (index < n + widgets) return QAccessibleWidget::child(index - n);
    return labels_.Child(const_cast<TAccessibleWithItems*>(this), widget(), index - n - widgets);
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    const auto items = Items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
      auto it = ids_.find(items[static_cast<size_t>(i)]);
      if (it != ids_.end() && QAccessible::accessibleInterface(it->second) == c) return i;
    }
    const int w = QAccessibleWidget::indexOfChild(c);
    if (w >= 0) return w + static_cast<int>(items.size());
    const int l = labels_.IndexOf(widget(), c);
    return l < 0 ? -1 : l + static_cast<int>(items.size()) + QAccessibleWidget::childCount();
  }

 protected:
  virtual QAccessibleInterface* NewItem(T* item) const = 0;

 private:
  mutable std::map<const T*, QAccessible::Id> ids_;
  TAccessibleLabels labels_;
};

// The interface of one item of a TAccessibleWithItems list: no widget and no children of its
// own, and a press action. The item is looked up in its list on every use, since the list may
// have been rebuilt (a skin or menu change) while a reader still holds this interface.
template <class T>
class TAccessibleItem : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TAccessibleItem(TAccessibleWithItems<T>* list, T* item) : list_(list), item_(item) {}
  // The item while the list still shows it, else nullptr.
  T* Item() const { return list_ && list_->Holds(item_) ? item_ : nullptr; }

  bool isValid() const override { return Item() != nullptr; }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override { return list_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface && HasPressAction() ? static_cast<QAccessibleActionInterface*>(this)
                                                                  : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QString localizedActionDescription(const QString& name) const override {
    return name == pressAction() ? QStringLiteral("Press") : QString();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 protected:
  // Whether the item offers its press action (a caption or a divider does not).
  virtual bool HasPressAction() const { return Item() != nullptr; }
  // The screen rectangle of `r`, given in the coordinates of `w` (null: none).
  static QRect ScreenRect(QWidget* w, const TRect& r) {
    if (!w) return QRect();
    return QRect(w->mapToGlobal(QPoint(r.Left, r.Top)), QSize(r.Width(), r.Height()));
  }

  TAccessibleWithItems<T>* list_;  // the item's list; owns nothing
  T* item_;                        // referenced; valid only while the list still holds it
};
