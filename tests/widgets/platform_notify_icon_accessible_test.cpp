// A notification icon as screen readers see it: one of the application's children, a push
// button named by what the icon reports at the moment asked, with Press and ShowMenu running
// the icon's click and right click, invisible while the tray does not show it, and gone from
// the application with its window. (The docked icon itself is tried on a real tray by the
// tray's end-to-end test.)
#include <gtest/gtest.h>

#include <QAccessible>
#include <QGuiApplication>
#include <QWindow>
#include <memory>

#include "platform/NotifyIconAccessible.h"

namespace {

// How many of the application's accessible children stand for `window`.
int ChildrenFor(const QWindow* window) {
  QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
  if (!app) return -1;
  int n = 0;
  for (int i = 0; i < app->childCount(); ++i)
    if (QAccessibleInterface* c = app->child(i); c && c->object() == window) ++n;
  return n;
}

TEST(NotifyIconAccessible, PushButtonNamedByTheIconWithPressAndShowMenu) {
  QString name = QStringLiteral("Ledgerly change log");
  bool showing = true;
  int presses = 0, menus = 0;
  TNotifyIconAccess access;
  access.Name = [&] { return name; };
  access.Rect = [] { return QRect(1800, 1050, 22, 24); };
  access.Showing = [&] { return showing; };
  access.Press = [&] { ++presses; };
  access.ShowMenu = [&] { ++menus; };
  auto window = std::make_unique<TNotifyIconWindow>(access);
  EXPECT_FALSE(window->handle()) << "the window that stands for the icon is never made on the screen";

  QAccessibleInterface* icon = QAccessible::queryAccessibleInterface(window.get());
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(window->accessibleRoot(), icon);
  EXPECT_TRUE(icon->isValid());
  EXPECT_EQ(icon->role(), QAccessible::Button);
  EXPECT_EQ(icon->text(QAccessible::Name), QStringLiteral("Ledgerly change log"));
  EXPECT_EQ(icon->rect(), QRect(1800, 1050, 22, 24));
  EXPECT_FALSE(icon->state().invisible);
  EXPECT_EQ(icon->childCount(), 0);
  EXPECT_EQ(icon->parent(), QAccessible::queryAccessibleInterface(qApp));
  EXPECT_EQ(ChildrenFor(window.get()), 1) << "the icon sits under the application";

  // The name and the shown state are read when asked.
  name = QStringLiteral("Renamed");
  window->Renamed();
  EXPECT_EQ(icon->text(QAccessible::Name), QStringLiteral("Renamed"));
  showing = false;
  EXPECT_TRUE(icon->state().invisible);
  EXPECT_TRUE(icon->state().offscreen);

  QAccessibleActionInterface* actions = icon->actionInterface();
  ASSERT_NE(actions, nullptr);
  EXPECT_EQ(actions->actionNames(),
            (QStringList{QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::showMenuAction()}));
  actions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(menus, 0);
  actions->doAction(QAccessibleActionInterface::showMenuAction());
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(menus, 1);
  actions->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(presses + menus, 2) << "no other action";

  // Gone with its window.
  const QWindow* was = window.get();
  window.reset();
  EXPECT_EQ(ChildrenFor(was), 0);
  // Other windows are not icons.
  QWindow plain;
  QAccessibleInterface* other = QAccessible::queryAccessibleInterface(&plain);
  EXPECT_TRUE(!other || other->role() != QAccessible::Button);
}

TEST(NotifyIconAccessible, AnActionThatTakesTheIconAwayIsSafe) {
  int presses = 0;
  std::unique_ptr<TNotifyIconWindow> window;
  TNotifyIconAccess access;
  access.Name = [] { return QStringLiteral("Gone on press"); };
  // As a click that restores the application and so hides the icon.
  access.Press = [&] {
    ++presses;
    window.reset();
  };
  window = std::make_unique<TNotifyIconWindow>(access);
  QAccessibleInterface* icon = QAccessible::queryAccessibleInterface(window.get());
  ASSERT_NE(icon, nullptr);
  const QAccessible::Id id = QAccessible::uniqueId(icon);
  icon->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(presses, 1);
  EXPECT_FALSE(window);
  EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr) << "the interface went with the window";
}

}  // namespace
