#include "skin/form/MenuBarAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "platform/Menus.h"
#include "platform/WidgetBridge.h"
#include "skin/controls/AccessibleItems.h"
#include "skin/form/bsMenuBarObjects.h"
#include "skin/form/bsSkinMainMenuBar.h"

namespace {

TbsSkinMainMenuBar* BarOf(QObject* o) {
  auto* bridge = dynamic_cast<TWidgetBridge*>(o);
  return bridge ? dynamic_cast<TbsSkinMainMenuBar*>(bridge->Control()) : nullptr;
}

QString ButtonName(TStdButtonCommand command) {
  switch (command) {
    case cmClose:
      return QStringLiteral("Close");
    case cmMaximize:
      return QStringLiteral("Restore");  // the child is maximized
    case cmMinimize:
      return QStringLiteral("Minimize");
    case cmSysMenu:
      return QStringLiteral("System menu");
    default:
      return QString();
  }
}

class MenuBarAccessible;

// One object of the bar; a menu or skin change replaces them.
class BarObjectAccessible : public TAccessibleItem<TbsMenuBarObject> {
 public:
  using TAccessibleItem::TAccessibleItem;
  QString text(QAccessible::Text t) const override {
    TbsMenuBarObject* o = Item();
    if (!o || t != QAccessible::Name) return QString();
    if (auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(o)) return StripHotkey(item->Caption());
    return ButtonName(static_cast<TbsSkinMainMenuBarButton*>(o)->Command);
  }
  QRect rect() const override;
  QAccessible::Role role() const override {
    return dynamic_cast<TbsSkinMainMenuBarItem*>(Item()) ? QAccessible::MenuItem : QAccessible::Button;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    TbsMenuBarObject* o = Item();
    if (!o) {
      s.invalid = true;
      return s;
    }
    auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(o);
    const bool hidden = item && !item->FitsInBar;
    s.disabled = hidden ? !item->EnabledBeforeHiding : !o->IsEnabled;
    s.invisible = s.offscreen = hidden || !o->IsVisible;
    s.pressed = o->Pressed;
    s.hasPopup = item ? item->HasSubItems() : false;
    s.focusable = item != nullptr;
    s.focused = s.hotTracked = item && o->Highlighted;
    return s;
  }
  void doAction(const QString& name) override;

 private:
  TbsSkinMainMenuBar* Bar() const;
};

class MenuBarAccessible : public TAccessibleWithItems<TbsMenuBarObject> {
 public:
  explicit MenuBarAccessible(QWidget* w) : TAccessibleWithItems(w, QAccessible::MenuBar) {}
  TbsSkinMainMenuBar* Bar() const { return BarOf(object()); }
  // In reading order: the system-menu button, the items, then minimize, restore and close.
  std::vector<TbsMenuBarObject*> Items() const override {
    std::vector<TbsMenuBarObject*> out;
    TbsSkinMainMenuBar* bar = Bar();
    if (!bar) return out;
    if (auto* b = bar->ChildButton(cmSysMenu)) out.push_back(b);
    for (TbsSkinMainMenuBarItem* i : bar->Items()) out.push_back(i);
    for (TStdButtonCommand c : {cmMinimize, cmMaximize, cmClose})
      if (auto* b = bar->ChildButton(c)) out.push_back(b);
    return out;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QStringLiteral("Menu bar");
    return QAccessibleWidget::text(t);
  }

 protected:
  QAccessibleInterface* NewItem(TbsMenuBarObject* o) const override {
    return new BarObjectAccessible(const_cast<MenuBarAccessible*>(this), o);
  }
};

TbsSkinMainMenuBar* BarObjectAccessible::Bar() const { return static_cast<MenuBarAccessible*>(list_)->Bar(); }

QRect BarObjectAccessible::rect() const {
  TbsMenuBarObject* o = Item();
  TbsSkinMainMenuBar* bar = Bar();
  if (!o || !bar || !bar->HandleAllocated()) return QRect();
  return ScreenRect(bar->Handle(), o->ObjectRect);
}

void BarObjectAccessible::doAction(const QString& name) {
  TbsMenuBarObject* o = Item();
  TbsSkinMainMenuBar* bar = Bar();
  if (name == pressAction() && o && bar) bar->ActivateObject(o);
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QStringLiteral("QWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  if (!BarOf(w)) return nullptr;
  return new MenuBarAccessible(w);
}

}  // namespace

void InstallMenuBarAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}
