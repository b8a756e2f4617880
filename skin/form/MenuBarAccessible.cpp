#include "skin/form/MenuBarAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <algorithm>

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

// One object of the bar (no widget of its own); checked against the bar's objects before use,
// since a menu or skin change replaces them.
class BarObjectAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  BarObjectAccessible(MenuBarAccessible* bar, TbsMenuBarObject* object) : bar_(bar), object_(object) {}
  bool isValid() const override { return Object() != nullptr; }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    TbsMenuBarObject* o = Object();
    if (!o || t != QAccessible::Name) return QString();
    if (auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(o)) return StripHotkey(item->Caption());
    return ButtonName(static_cast<TbsSkinMainMenuBarButton*>(o)->Command);
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override {
    return dynamic_cast<TbsSkinMainMenuBarItem*>(Object()) ? QAccessible::MenuItem : QAccessible::Button;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    TbsMenuBarObject* o = Object();
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
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QString localizedActionDescription(const QString& name) const override {
    return name == pressAction() ? QStringLiteral("Press") : QString();
  }
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  TbsMenuBarObject* Object() const;

 private:
  MenuBarAccessible* bar_;
  TbsMenuBarObject* object_;  // referenced; valid only while the bar still holds it
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
  bool Holds(const TbsMenuBarObject* o) const {
    const auto items = Items();
    return std::find(items.begin(), items.end(), o) != items.end();
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

TbsMenuBarObject* BarObjectAccessible::Object() const { return bar_ && bar_->Holds(object_) ? object_ : nullptr; }

QAccessibleInterface* BarObjectAccessible::parent() const { return bar_; }

QRect BarObjectAccessible::rect() const {
  TbsMenuBarObject* o = Object();
  TbsSkinMainMenuBar* bar = bar_->Bar();
  if (!o || !bar || !bar->HandleAllocated()) return QRect();
  const TRect& r = o->ObjectRect;
  return QRect(bar->Handle()->mapToGlobal(QPoint(r.Left, r.Top)), QSize(r.Width(), r.Height()));
}

void BarObjectAccessible::doAction(const QString& name) {
  TbsMenuBarObject* o = Object();
  TbsSkinMainMenuBar* bar = bar_->Bar();
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
