#include "skin/menus/MenuAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "platform/Menus.h"
#include "platform/WidgetBridge.h"
#include "skin/controls/AccessibleItems.h"
#include "skin/menus/bsSkinPopupWindow.h"

namespace {

TbsSkinPopupWindow* WindowOf(QObject* o) {
  auto* bridge = dynamic_cast<TWidgetBridge*>(o);
  return bridge ? dynamic_cast<TbsSkinPopupWindow*>(bridge->Control()) : nullptr;
}

class MenuWindowAccessible;

// One item of an open menu window (no widget of its own). The item is looked up in its window
// on every use: the window may have been rebuilt or closed meanwhile.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  MenuItemAccessible(MenuWindowAccessible* window, TbsSkinMenuItem* item) : window_(window), item_(item) {}
  bool isValid() const override { return Item() != nullptr; }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    TbsSkinMenuItem* i = Item();
    if (!i) return QString();
    if (t == QAccessible::Name) return i->IsDivider() ? QString() : StripHotkey(i->SourceItem->Caption());
    if (t == QAccessible::Accelerator) return i->SourceItem->ShortCutText();
    if (t == QAccessible::Description) return i->SourceItem->Hint();
    return QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override {
    TbsSkinMenuItem* i = Item();
    return i && i->IsDivider() ? QAccessible::Separator : QAccessible::MenuItem;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    TbsSkinMenuItem* i = Item();
    if (!i) {
      s.invalid = true;
      return s;
    }
    s.disabled = !i->ItemEnabled();
    s.checkable = i->SourceItem->Checked() || i->SourceItem->RadioItem() || i->SourceItem->AutoCheck();
    s.checked = i->SourceItem->Checked();
    s.hasPopup = i->HasChildren();
    s.focusable = !i->IsDivider();
    s.focused = s.selected = s.hotTracked = i->Highlighted;
    s.invisible = !i->InView;
    s.offscreen = !i->InView;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    TbsSkinMenuItem* i = Item();
    if (t == QAccessible::ActionInterface && i && !i->IsDivider()) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QString localizedActionDescription(const QString& name) const override {
    return name == pressAction() ? QStringLiteral("Press") : QString();
  }
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString& name) const override {
    TbsSkinMenuItem* i = Item();
    if (!i || name != pressAction() || i->SourceItem->ShortCut() == scNone) return {};
    return {i->SourceItem->ShortCutText()};
  }

  TbsSkinMenuItem* Item() const;

 private:
  MenuWindowAccessible* window_;
  TbsSkinMenuItem* item_;  // referenced; valid only while its window still holds it
};

class MenuWindowAccessible : public TAccessibleWithItems<TbsSkinMenuItem> {
 public:
  explicit MenuWindowAccessible(QWidget* w) : TAccessibleWithItems(w, QAccessible::PopupMenu) {}
  TbsSkinPopupWindow* Window() const { return WindowOf(object()); }
  std::vector<TbsSkinMenuItem*> Items() const override {
    std::vector<TbsSkinMenuItem*> out;
    if (TbsSkinPopupWindow* w = Window())
      for (int i = 0; i < w->ItemCount(); ++i) out.push_back(w->Items(i));
    return out;
  }
  bool Holds(const TbsSkinMenuItem* item) const {
    TbsSkinPopupWindow* w = Window();
    return w && w->IndexOfItem(item) >= 0;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      TbsSkinPopupWindow* w = Window();
      return w && w->RootItem() ? StripHotkey(w->RootItem()->Caption()) : QString();
    }
    return QAccessibleWidget::text(t);
  }

 protected:
  QAccessibleInterface* NewItem(TbsSkinMenuItem* item) const override {
    return new MenuItemAccessible(const_cast<MenuWindowAccessible*>(this), item);
  }
};

TbsSkinMenuItem* MenuItemAccessible::Item() const { return window_ && window_->Holds(item_) ? item_ : nullptr; }

QAccessibleInterface* MenuItemAccessible::parent() const { return window_; }

QRect MenuItemAccessible::rect() const {
  TbsSkinMenuItem* i = Item();
  TbsSkinPopupWindow* w = window_->Window();
  if (!i || !w || !w->HandleAllocated()) return QRect();
  const TRect& r = i->ItemBounds;
  return QRect(w->Handle()->mapToGlobal(QPoint(r.Left, r.Top)), QSize(r.Width(), r.Height()));
}

void MenuItemAccessible::doAction(const QString& name) {
  TbsSkinMenuItem* i = Item();
  TbsSkinPopupWindow* w = window_->Window();
  if (name != pressAction() || !i || !w || i->IsDivider()) return;
  // As a click: the item's command (a leaf closes the menus first), or its sub-menu.
  w->Activate(i);
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QStringLiteral("QWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  if (!w->isWindow() || !WindowOf(w)) return nullptr;
  return new MenuWindowAccessible(w);
}

}  // namespace

void InstallMenuAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

void NotifyMenuShown(TbsSkinPopupWindow* window, bool shown) {
  if (!QAccessible::isActive() || !window || !window->HandleAllocated()) return;
  QAccessibleEvent e(window->Handle(), shown ? QAccessible::PopupMenuStart : QAccessible::PopupMenuEnd);
  QAccessible::updateAccessibility(&e);
}

void NotifyMenuItemSelected(TbsSkinPopupWindow* window, int index) {
  if (!QAccessible::isActive() || !window || !window->HandleAllocated()) return;
  QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(window->Handle());
  QAccessibleInterface* item = menu ? menu->child(index) : nullptr;
  if (!item) return;
  QAccessibleEvent e(item, QAccessible::Focus);
  QAccessible::updateAccessibility(&e);
}
