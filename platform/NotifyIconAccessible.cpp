#include "platform/NotifyIconAccessible.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QGuiApplication>

namespace {

class NotifyIconAccessible : public QAccessibleObject, public QAccessibleActionInterface {
 public:
  explicit NotifyIconAccessible(TNotifyIconWindow* w) : QAccessibleObject(w) {}

  QWindow* window() const override { return Icon(); }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(qApp); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    const TNotifyIconWindow* w = Icon();
    if (!w || (t != QAccessible::Name && t != QAccessible::Description) || !w->Access().Name) return QString();
    return w->Access().Name();
  }
  QRect rect() const override {
    const TNotifyIconWindow* w = Icon();
    return w && w->Access().Rect ? w->Access().Rect() : QRect();
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State s;
    const TNotifyIconWindow* w = Icon();
    if (!w) {
      s.invalid = true;
      return s;
    }
    const bool showing = w->Access().Showing && w->Access().Showing();
    s.invisible = !showing;
    s.offscreen = !showing;
    s.hasPopup = true;
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
  void doAction(const QString& name) override {
    const TNotifyIconWindow* w = Icon();
    if (!w) return;
    // Copied: the action may take the icon (and its window) away.
    std::function<void()> act;
    if (name == pressAction())
      act = w->Access().Press;
    else if (name == showMenuAction())
      act = w->Access().ShowMenu;
    if (act) act();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  TNotifyIconWindow* Icon() const { return static_cast<TNotifyIconWindow*>(object()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QStringLiteral("QWindow") || !object) return nullptr;
  auto* w = dynamic_cast<TNotifyIconWindow*>(object);
  return w ? new NotifyIconAccessible(w) : nullptr;
}

void Announce(QWindow* window, QAccessible::Event what) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent e(window, what);
  QAccessible::updateAccessibility(&e);
}

}  // namespace

TNotifyIconWindow::TNotifyIconWindow(TNotifyIconAccess access) : access_(std::move(access)) {
  static bool installed = false;
  if (!installed) {
    installed = true;
    QAccessible::installFactory(Factory);
  }
  Announce(this, QAccessible::ObjectCreated);
  Announce(this, QAccessible::ObjectShow);
}

TNotifyIconWindow::~TNotifyIconWindow() {
  Announce(this, QAccessible::ObjectHide);
  Announce(this, QAccessible::ObjectDestroyed);
}

QAccessibleInterface* TNotifyIconWindow::accessibleRoot() const {
  return QAccessible::queryAccessibleInterface(const_cast<TNotifyIconWindow*>(this));
}

void TNotifyIconWindow::Renamed() { Announce(this, QAccessible::NameChanged); }
