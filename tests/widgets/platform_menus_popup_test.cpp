// The platform's own popup menu (without a skin): a plain Qt menu of the visible items whose
// chosen item runs through its Click, and that runs nothing once the item or the menu is gone.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <memory>

#include "platform/Forms.h"
#include "platform/Menus.h"

namespace {

QMenu* ShownQtMenu() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) return m;
  return nullptr;
}

QAction* ActionNamed(QMenu* m, const QString& text) {
  for (QAction* a : m->actions())
    if (a->text() == text) return a;
  return nullptr;
}

TEST(PlatformPopupMenu, ShowsThePlainMenuAndRunsTheChosenItemWhileItExists) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* popup = new TPopupMenu(form.get());
  int popups = 0, runs = 0;
  popup->OnPopup = [&popups](TComponent*) { ++popups; };
  std::vector<TMenuItem*> items;
  for (const char* c : {"&Open", "-", "Hidden", "Off", "&Gone"}) {
    auto* i = new TMenuItem(form.get());
    i->SetCaption(QString::fromUtf8(c));
    i->OnClick = [&runs](TComponent*) { ++runs; };
    popup->Items()->Add(i);
    items.push_back(i);
  }
  items[2]->SetVisible(false);
  items[3]->SetEnabled(false);
  items[0]->SetShortCut(ShortCut('O', ssCtrl));
  popup->Popup(40, 40);
  EXPECT_EQ(popups, 1);
  QMenu* m = ShownQtMenu();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->actions().size(), 4);  // the hidden item has no entry; the divider is a separator
  EXPECT_TRUE(m->actions()[1]->isSeparator());
  QAction* off = ActionNamed(m, "Off");
  ASSERT_NE(off, nullptr);
  EXPECT_FALSE(off->isEnabled());
  QAction* open = ActionNamed(m, "&Open");
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  QAction* gone = ActionNamed(m, "&Gone");
  ASSERT_NE(gone, nullptr);
  open->trigger();
  EXPECT_EQ(runs, 1);
  delete items[4];
  gone->trigger();  // the item was freed: nothing runs (ASan watches)
  EXPECT_EQ(runs, 1);
  form.reset();     // the menu itself goes while the Qt menu is still there
  open->trigger();
  EXPECT_EQ(runs, 1);
  m->close();
  QApplication::processEvents();
}

}  // namespace
