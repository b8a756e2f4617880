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

// One item of an open menu window; the window may have been rebuilt or closed meanwhile.
class MenuItemAccessible : public TAccessibleItem<TbsSkinMenuItem> {
 public:
  using TAccessibleItem::TAccessibleItem;
  QString text(QAccessible::Text t) const override {
    TbsSkinMenuItem* i = Item();
    if (!i) return QString();
    if (t == QAccessible::Name) return i->IsDivider() ? QString() : StripHotkey(i->SourceItem->Caption());
    if (t == QAccessible::Accelerator) return i->SourceItem->ShortCutText();
    if (t == QAccessible::Description) return i->SourceItem->Hint();
    return QString();
  }
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
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString& name) const override {
    TbsSkinMenuItem* i = Item();
    if (!i || name != pressAction() || i->SourceItem->ShortCut() == scNone) return {};
    return {i->SourceItem->ShortCutText()};
  }

 protected:
  bool HasPressAction() const override {
    TbsSkinMenuItem* i = Item();
    return i && !i->IsDivider();
  }

 private:
  TbsSkinPopupWindow* Window() const;
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

TbsSkinPopupWindow* MenuItemAccessible::Window() const { return static_cast<MenuWindowAccessible*>(list_)->Window(); }

QRect MenuItemAccessible::rect() const {
  TbsSkinMenuItem* i = Item();
  TbsSkinPopupWindow* w = Window();
  if (!i || !w || !w->HandleAllocated()) return QRect();
  return ScreenRect(w->Handle(), i->ItemBounds);
}

void MenuItemAccessible::doAction(const QString& name) {
  TbsSkinMenuItem* i = Item();
  TbsSkinPopupWindow* w = Window();
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
