// Screen readers see a skinned form as a window named by its caption whose first children are
// the frame's title bar and caption buttons, named by what they do, with a press action that
// runs the command, and the disabled state of a button whose icon the form leaves out.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

#include "platform/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"
#include "tests/TestUtil.h"

namespace {

QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& name) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (QAccessibleInterface* c = parent->child(i); c && c->text(QAccessible::Name) == name) return c;
  return nullptr;
}

TEST(SkinFormAccessible, FrameButtonsArePushButtonsThatRunTheirCommands) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 640, 480);
  form.SetCaption(QStringLiteral("Ledger window"));
  auto* frame = new TbsSkinForm(&form);
  auto* data = new TbsSkinData(&form);
  {
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/daylight/SKIN.INI"));
    data->LoadFromStoredSkin(stored);
  }
  frame->SetSkinData(data);
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.Handle());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Ledger window"));

  QAccessibleInterface* title = window->child(0);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->role(), QAccessible::TitleBar);
  EXPECT_EQ(title->text(QAccessible::Name), QStringLiteral("Ledger window"));
  const TRect cap = frame->ObjectByName(QStringLiteral("caption1"))->ObjectRect;
  EXPECT_EQ(title->rect().size(), QSize(cap.Width(), cap.Height()));
  EXPECT_EQ(title->rect().topLeft() - form.Handle()->mapToGlobal(QPoint(0, 0)), QPoint(cap.Left, cap.Top));

  for (const char* name : {"Close", "Maximize", "Minimize", "Roll up", "System menu"}) {
    QAccessibleInterface* b = ChildNamed(window, QLatin1String(name));
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->role(), QAccessible::Button) << name;
    ASSERT_NE(b->actionInterface(), nullptr) << name;
    EXPECT_TRUE(b->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(window->indexOfChild(b) >= 0, true);
  }
  // Pressing runs the command; the names follow the state.
  ChildNamed(window, QStringLiteral("Roll up"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(frame->RollUpState());
  EXPECT_EQ(form.Height(), 56);
  QAccessibleInterface* rollDown = ChildNamed(window, QStringLiteral("Roll down"));
  ASSERT_NE(rollDown, nullptr);
  rollDown->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(form.Height(), 480);
  ChildNamed(window, QStringLiteral("Maximize"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(frame->WindowState(), TWindowState::wsMaximized);
  EXPECT_NE(ChildNamed(window, QStringLiteral("Restore")), nullptr);

  // A button the form leaves out is reported disabled and does nothing when pressed.
  frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
  frame->ChangeSkinData();
  QAccessibleInterface* roll = ChildNamed(window, QStringLiteral("Roll up"));
  ASSERT_NE(roll, nullptr);
  EXPECT_TRUE(roll->state().disabled);
  EXPECT_FALSE(ChildNamed(window, QStringLiteral("Close"))->state().disabled);

  // The objects go with the skin: an interface of an old object turns invalid.
  QAccessibleInterface* oldClose = ChildNamed(window, QStringLiteral("Close"));
  frame->SetSkinData(nullptr);
  EXPECT_FALSE(oldClose->isValid());
  EXPECT_EQ(oldClose->text(QAccessible::Name), QString());
}

}  // namespace
