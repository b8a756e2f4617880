// The frame's system menu on real (offscreen) windows: the default menu for each window state,
// a user SystemMenu filled with the window commands without duplicates, the right press on
// the caption and the system-menu button, menu mode and its events, the keys going to the
// open menu while the form keeps the focus, the messages that close the menus, Alt alone,
// commands that free the form, the driver's settings, and the shortcuts and menu mode of a
// menu bar.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/Edit.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Screen.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsMenuBarLink.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinMenus.h"
#include "support/WidgetTest.h"
#include "tests/TestUtil.h"

namespace {

QStringList Captions(const TMenuItem* root) {
  QStringList r;
  for (const TMenuItem* i : root->ItemList()) r << StripHotkey(i->Caption());
  return r;
}
QStringList Names(const TMenuItem* root) {
  QStringList r;
  for (const TMenuItem* i : root->ItemList()) r << i->Name();
  return r;
}

// A skinned form with an edit that has the focus, shown as the active window; `form` may be
// freed by a test (owned through `owner`).
struct MenuForm {
  explicit MenuForm(bool withSkin = true) {
    form = new TForm(nullptr);
    owner.reset(form);
    form->SetBounds(0, 0, 640, 480);
    frame = new TbsSkinForm(form);
    data = new TbsSkinData(form);
    if (withSkin) {
      TbsStoredSkin stored(nullptr);
      stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/daylight/SKIN.INI"));
      data->LoadFromStoredSkin(stored);
    }
    frame->SetSkinData(data);
    frame->OnSkinMenuOpen = [this](TComponent*) { ++opened; };
    frame->OnSkinMenuClose = [this](TComponent*) { ++closed; };
    edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(20, 20, 120, 21);
    edit->OnKeyDown = [this](TComponent*, uint16_t& key, TShiftState) { editKeys.push_back(key); };
    ShowActive(*form);
    edit->SetFocus();
    QApplication::processEvents();
  }
  ~MenuForm() { Application->OnMessage.Clear(); }
  TbsSkinMenu& driver() { return *frame->MenuDriver(); }
  int windows() { return static_cast<int>(driver().OpenWindowList().size()); }
  TbsSkinPopupWindow* window() { return driver().LastWindow(); }
  QStringList Shown() {
    QStringList r;
    if (TbsSkinPopupWindow* w = window())
      for (int i = 0; i < w->ItemCount(); ++i) r << StripHotkey(w->Items(i)->SourceItem->Caption());
    return r;
  }
  // A mouse message at a window point, with the hit code the form gives it.
  void Mouse(uint32_t msg, int x, int y) {
    const intptr_t at = MakeLParam(x + form->Left(), y + form->Top());
    const intptr_t hit = form->Perform(WM_NCHITTEST, 0, at);
    form->Perform(msg, hit, at);
  }
  void Key(Qt::Key qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(edit->Handle(), qtKey, mods); }

  std::unique_ptr<TForm> owner;
  TForm* form;
  TbsSkinForm* frame;
  TbsSkinData* data;
  TEdit* edit;
  int opened = 0, closed = 0;
  std::vector<uint16_t> editKeys;
};

TEST(SkinFormSysMenu, DefaultMenuFollowsTheWindowState) {
  MenuForm f;
  TMenuItem* root = f.frame->GetSystemMenuItems();
  EXPECT_EQ(root, f.frame->DefaultSysMenu()->Items());
  EXPECT_EQ(Captions(root), (QStringList{"Minimize", "Maximize", "RollUp", "-", "Close"}));
  EXPECT_EQ(Names(root), (QStringList{"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP", "", "BSF_CLOSE"}));
  EXPECT_EQ(root->Items(4)->ShortCutText(), QStringLiteral("Alt+F4"));
  EXPECT_EQ(root->Items(1)->Caption(), QStringLiteral("Ma&ximize"));

  // The Maximize item maximizes; the menu then offers Restore instead.
  root->Items(1)->Click();
  ASSERT_EQ(f.frame->WindowState(), TWindowState::wsMaximized);
  root = f.frame->GetSystemMenuItems();
  EXPECT_EQ(Captions(root), (QStringList{"Minimize", "Restore", "RollUp", "-", "Close"}));
  root->Items(1)->Click();
  EXPECT_EQ(f.frame->WindowState(), TWindowState::wsNormal);

  // Rolled up: Restore and no RollUp; Restore rolls the window down.
  root = f.frame->GetSystemMenuItems();
  root->Items(2)->Click();
  ASSERT_TRUE(f.frame->RollUpState());
  EXPECT_EQ(f.form->Height(), f.frame->GetMinHeight());
  root = f.frame->GetSystemMenuItems();
  EXPECT_EQ(Captions(root), (QStringList{"Minimize", "Maximize", "Restore", "-", "Close"}));
  root->Items(2)->Click();
  EXPECT_FALSE(f.frame->RollUpState());
  EXPECT_EQ(f.form->Height(), 480);

  // Minimized (not the main form): no Minimize, no RollUp.
  f.frame->SetWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(Captions(f.frame->GetSystemMenuItems()), (QStringList{"Maximize", "Restore", "-", "Close"}));
  f.frame->SetWindowState(TWindowState::wsNormal);

  // The border icons decide; the tray command comes with its icon; Close is always there.
  f.frame->SetBorderIcons(biSystemMenu | biMinimizeToTray);
  EXPECT_EQ(Captions(f.frame->GetSystemMenuItems()), (QStringList{"Minimize to Tray", "-", "Close"}));
  f.frame->SetBorderIcons(biSystemMenu);
  EXPECT_EQ(Captions(f.frame->GetSystemMenuItems()), (QStringList{"Close"}));
}

TEST(SkinFormSysMenu, AFormShownMaximizedOffersRestoreAndRestoresItsStoredBounds) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(30, 40, 500, 360);
  form->SetWindowState(TWindowState::wsMaximized);
  auto* frame = new TbsSkinForm(form.get());
  auto* data = new TbsSkinData(form.get());
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/daylight/SKIN.INI"));
  data->LoadFromStoredSkin(stored);
  frame->SetSkinData(data);
  EXPECT_EQ(frame->WindowState(), TWindowState::wsNormal) << "nothing changes before the form is shown";
  ShowActive(*form);
  QApplication::processEvents();
  EXPECT_EQ(frame->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(form->BoundsRect(), TScreen::Instance().WorkAreaRect());
  EXPECT_EQ(Captions(frame->GetSystemMenuItems()), (QStringList{"Minimize", "Restore", "RollUp", "-", "Close"}));
  // Restore gives the form its stored bounds; the menu then offers Maximize again.
  frame->GetSystemMenuItems()->Items(1)->Click();
  EXPECT_EQ(frame->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(form->BoundsRect(), Bounds(30, 40, 500, 360));
  EXPECT_EQ(Captions(frame->GetSystemMenuItems()), (QStringList{"Minimize", "Maximize", "RollUp", "-", "Close"}));
  // Shown again later, the frame keeps its own state.
  form->Hide();
  form->Show();
  QApplication::processEvents();
  EXPECT_EQ(frame->WindowState(), TWindowState::wsNormal);
}

TEST(SkinFormSysMenu, UserSystemMenuGetsTheWindowCommandsOnceAroundItsOwnItems) {
  MenuForm f;
  auto* menu = new TPopupMenu(f.form);
  auto* x = new TMenuItem(f.form);
  x->SetName(QStringLiteral("X"));
  x->SetCaption(QStringLiteral("&X"));
  menu->Items()->Add(x);
  f.frame->SetSystemMenu(menu);
  for (int round = 0; round < 2; ++round) {
    TMenuItem* root = f.frame->GetSystemMenuItems();
    EXPECT_EQ(root, menu->Items());
    EXPECT_EQ(Captions(root), (QStringList{"Minimize", "Maximize", "RollUp", "X", "Close"})) << round;
  }
  // Opened on the screen as well, twice.
  for (int round = 0; round < 2; ++round) {
    f.frame->ShowSystemMenu(50, 60);
    EXPECT_EQ(f.Shown(), (QStringList{"Minimize", "Maximize", "RollUp", "X", "Close"})) << round;
  }
  f.driver().CloseAll();
  // Without the window commands the menu is the user's alone, and stays so.
  f.frame->UseDefaultSysMenu = false;
  f.frame->GetSystemMenuItems();
  EXPECT_EQ(Captions(menu->Items()).count(QStringLiteral("Close")), 1);
  // The user's menu going leaves the default one.
  delete menu;
  EXPECT_EQ(f.frame->SystemMenu(), nullptr);
  EXPECT_EQ(Captions(f.frame->GetSystemMenuItems()), (QStringList{"Minimize", "Maximize", "RollUp", "-", "Close"}));
}

TEST(SkinFormSysMenu, RightPressOnTheCaptionOpensTheSkinnedMenuAndAPressOnTheFormClosesIt) {
  MenuForm f;
  std::vector<uint32_t> beforeHook;
  Application->OnMessage = [&](TMsg& m, bool&) {
    if (m.Msg == WM_KEYDOWN) beforeHook.push_back(m.Msg);
  };
  f.Mouse(WM_NCRBUTTONDOWN, 300, 10);
  ASSERT_TRUE(f.driver().MenuOpen());
  ASSERT_EQ(f.windows(), 1);
  EXPECT_TRUE(f.window()->Skinned());  // the skin's popup window and menu item object
  EXPECT_EQ(f.Shown(), (QStringList{"Minimize", "Maximize", "RollUp", "-", "Close"}));
  // At the cursor: the window's top-left corner is the press point.
  EXPECT_EQ(f.window()->ScreenBounds().Left, 300);
  EXPECT_EQ(f.window()->ScreenBounds().Top, 10);
  EXPECT_TRUE(f.frame->SkinMenuOpen());
  EXPECT_TRUE(f.frame->MenuKeysHooked());
  EXPECT_EQ(f.opened, 1);
  EXPECT_EQ(QApplication::activeWindow(), f.form->Handle());
  // Keys while it is open go to the menu, not to the handler that was there before.
  f.Key(Qt::Key_Down);
  EXPECT_TRUE(beforeHook.empty());
  EXPECT_TRUE(f.editKeys.empty());
  EXPECT_EQ(f.window()->ActiveIndex, 1);

  // A press on the client area (here on the edit, a child control) closes it.
  ClickAt(f.edit->Handle(), QPoint(3, 3));
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_EQ(f.windows(), 0);
  EXPECT_FALSE(f.frame->SkinMenuOpen());
  EXPECT_FALSE(f.frame->MenuKeysHooked());
  EXPECT_EQ(f.closed, 1);
  // The old handler is back.
  f.Key(Qt::Key_Down);
  EXPECT_FALSE(beforeHook.empty());
  EXPECT_EQ(f.editKeys, (std::vector<uint16_t>{VK_DOWN}));

  // Other messages that end the menus: a press on the frame, moving, deactivation.
  f.Mouse(WM_NCRBUTTONDOWN, 300, 10);
  ASSERT_TRUE(f.driver().MenuOpen());
  f.Mouse(WM_NCMBUTTONDOWN, 300, 10);
  EXPECT_FALSE(f.driver().MenuOpen());
  f.Mouse(WM_NCRBUTTONDOWN, 300, 10);
  f.form->SetBounds(5, 5, 640, 480);
  EXPECT_FALSE(f.driver().MenuOpen());
  f.Mouse(WM_NCRBUTTONDOWN, 300, 10);
  f.form->Perform(WM_ACTIVATE, WA_INACTIVE);
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_EQ(f.opened, 4);
  EXPECT_EQ(f.closed, 4);
  // A right press elsewhere on the frame opens nothing.
  f.form->Perform(WM_ACTIVATE, WA_ACTIVE);
  f.Mouse(WM_NCRBUTTONDOWN, 1, 300);
  EXPECT_FALSE(f.driver().MenuOpen());
}

TEST(SkinFormSysMenu, KeysRunTheItemsEscapeAndAltCloseTheMenu) {
  MenuForm f;
  // Escape closes the only window and leaves the menu state.
  f.frame->ShowSystemMenu(100, 100);
  f.Key(Qt::Key_Escape);
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_FALSE(f.frame->SkinMenuOpen());
  EXPECT_FALSE(f.frame->MenuKeysHooked());
  EXPECT_EQ(f.closed, 1);
  EXPECT_TRUE(f.editKeys.empty());

  // Alt alone closes an open menu as well (and opens no bar, there is none).
  f.frame->ShowSystemMenu(100, 100);
  f.Key(Qt::Key_Alt);
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_FALSE(f.frame->SkinMenuOpen());

  // The accelerator of "Ro&llUp" rolls the window up.
  f.frame->ShowSystemMenu(100, 100);
  f.Key(Qt::Key_L);
  EXPECT_TRUE(f.frame->RollUpState());
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_FALSE(f.frame->MenuKeysHooked());
  // Up from the first item wraps to Close; Enter closes the form.
  f.frame->ShowSystemMenu(100, 100);
  f.Key(Qt::Key_Up);
  EXPECT_EQ(StripHotkey(f.window()->ActiveItem()->SourceItem->Caption()), QStringLiteral("Close"));
  f.Key(Qt::Key_Return);
  EXPECT_FALSE(f.form->Visible());
  EXPECT_FALSE(f.frame->MenuKeysHooked());
  EXPECT_EQ(f.edit->Text(), QString());
}

TEST(SkinFormSysMenu, SystemMenuButtonStaysPressedWhileItsMenuIsOpen) {
  MenuForm f;
  TbsSkinStdButtonObject* button = f.frame->StdButton(cmSysMenu);
  ASSERT_NE(button, nullptr);
  const TRect r = button->ObjectRect;
  f.Mouse(WM_NCLBUTTONDOWN, r.Left + 2, r.Top + 2);
  f.Mouse(WM_NCLBUTTONUP, r.Left + 2, r.Top + 2);
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_TRUE(button->Pressed);
  EXPECT_EQ(button->PopupItems, f.frame->DefaultSysMenu()->Items());
  // Below the button, at its left edge.
  EXPECT_EQ(f.window()->ScreenBounds().Left, r.Left);
  EXPECT_EQ(f.window()->ScreenBounds().Top, r.Bottom);
  // Leaving the button keeps it pressed.
  button->MouseLeave();
  EXPECT_TRUE(button->Pressed);
  // The menu closing releases it.
  f.Key(Qt::Key_Escape);
  EXPECT_FALSE(button->Pressed);
  EXPECT_EQ(f.opened, 1);
  EXPECT_EQ(f.closed, 1);

  // The same through a user's skinned popup menu (its OnPopup runs).
  auto* menu = new TbsSkinPopupMenu(f.form);
  int popups = 0;
  menu->OnPopup = [&](TComponent*) { ++popups; };
  f.frame->SetSystemMenu(menu);
  f.Mouse(WM_NCLBUTTONDOWN, r.Left + 2, r.Top + 2);
  f.Mouse(WM_NCLBUTTONUP, r.Left + 2, r.Top + 2);
  EXPECT_EQ(popups, 1);
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_EQ(f.Shown(), (QStringList{"Minimize", "Maximize", "RollUp", "Close"}));
  f.driver().CloseAll();
  EXPECT_FALSE(button->Pressed);
  EXPECT_FALSE(f.frame->MenuKeysHooked());
}

TEST(SkinFormSysMenu, ScreenReadersPressTheSystemMenuButtonToOpenTheMenu) {
  MenuForm f;
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(f.form->Handle());
  ASSERT_NE(window, nullptr);
  QAccessibleInterface* button = nullptr;
  for (int i = 0; i < window->childCount() && !button; ++i)
    if (QAccessibleInterface* c = window->child(i); c && c->text(QAccessible::Name) == QStringLiteral("System menu"))
      button = c;
  ASSERT_NE(button, nullptr);
  button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_TRUE(button->state().pressed);
  EXPECT_EQ(f.Shown(), (QStringList{"Minimize", "Maximize", "RollUp", "-", "Close"}));
  // Pressed again while open: nothing more opens.
  button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(f.opened, 1);
  f.Key(Qt::Key_Escape);
  EXPECT_FALSE(button->state().pressed);
}

TEST(SkinFormSysMenu, CommandsThatFreeTheFormLeaveNothingBehind) {
  // By the keyboard: the accelerator of an item whose command frees the form.
  {
    MenuForm f;
    auto* menu = new TPopupMenu(f.form);
    auto* x = new TMenuItem(f.form);
    x->SetCaption(QStringLiteral("&Free"));
    x->OnClick = [&f](TComponent*) { f.owner.reset(); };
    menu->Items()->Add(x);
    f.frame->SetSystemMenu(menu);
    f.frame->ShowSystemMenu(10, 10);
    f.Key(Qt::Key_F);
    EXPECT_EQ(f.owner, nullptr);
    EXPECT_EQ(Application->OnMessage.MethodName, QString());
    // Keys go on working after the form went.
    TForm other(nullptr);
    ShowActive(other);
    QTest::keyClick(other.Handle(), Qt::Key_Down);
  }
  // A menu state left while the form goes: the hook goes with the component.
  {
    MenuForm f;
    f.frame->ShowSystemMenu(10, 10);
    ASSERT_TRUE(f.frame->MenuKeysHooked());
    f.owner.reset();
    EXPECT_EQ(Application->OnMessage.MethodName, QString());
    TForm other(nullptr);
    ShowActive(other);
    QTest::keyClick(other.Handle(), Qt::Key_Down);
  }
}

TEST(SkinFormSysMenu, PlainLookWithoutSkinAndTheDriversSettings) {
  MenuForm f(false);
  f.frame->SetDefMenuItemHeight(31);
  f.frame->SetDefMenuItemHeight(0);  // ignored
  EXPECT_EQ(f.driver().ItemHeight(), 31);
  f.frame->SetMenusAlphaBlend(true);
  f.frame->SetMenusAlphaBlendValue(90);
  f.frame->SetMenusAlphaBlendAnimation(true);
  EXPECT_TRUE(f.driver().BlendOn);
  EXPECT_EQ(f.driver().BlendValue, 90);
  EXPECT_TRUE(f.driver().BlendAnimated);
  TFont font = f.frame->DefMenuItemFont;
  font.Height = 17;
  f.frame->SetDefMenuItemFont(font);
  EXPECT_EQ(f.driver().ItemFont.Height, 17);
  f.frame->ShowSystemMenu(30, 30);
  ASSERT_EQ(f.windows(), 1);
  EXPECT_FALSE(f.window()->Skinned());
  EXPECT_EQ(f.window()->Items(0)->Height(), 31);
  // A menu skin of its own wins over the frame's.
  f.driver().CloseAll();
  auto* menus = new TbsSkinData(f.form);
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/slate/SKIN.INI"));
  menus->LoadFromStoredSkin(stored);
  f.frame->SetMenusSkinData(menus);
  f.frame->ShowSystemMenu(30, 30);
  EXPECT_EQ(f.driver().SkinData(), menus);
  EXPECT_TRUE(f.window()->Skinned());
}

// A menu bar as the frame sees it, with a main menu of its own.
class TestBar : public TComponent, public TbsMenuBarLink {
 public:
  TestBar(TComponent* owner, TbsSkinForm* frame) : TComponent(owner), frame_(frame) {
    menu = new TMainMenu(this);
    save = new TMenuItem(this);
    save->SetCaption(QStringLiteral("&Save"));
    save->SetShortCut(ShortCut('S', ssCtrl));
    save->OnClick = [this](TComponent*) { calls << QStringLiteral("save"); };
    menu->Items()->Add(save);
  }
  TMainMenu* MainMenu() const override { return menu; }
  void EnterMenuMode() override {
    calls << QStringLiteral("enter");
    frame_->EnterMenuMode();
  }
  void DropMenuMode() override { calls << QStringLiteral("drop"); }
  void PressedToHighlighted() override { calls << QStringLiteral("highlight"); }
  void FollowingItem() override { calls << QStringLiteral("next"); }
  void PreviousItem() override { calls << QStringLiteral("previous"); }
  bool Accelerator(uint16_t key) override {
    if (key >= 'A' && key <= 'Z') calls << QStringLiteral("accel %1").arg(QChar(key));
    return key == 'F';
  }
  bool RunSelected() override { return false; }
  TMainMenu* menu;
  TMenuItem* save;
  QStringList calls;

 private:
  TbsSkinForm* frame_;
};

TEST(SkinFormSysMenu, MenuBarShortcutsAcceleratorsAndKeyboardMenuMode) {
  MenuForm f;
  auto* bar = new TestBar(f.form, f.frame);
  f.frame->SetMainMenuBar(bar);
  int enters = 0, exits = 0;
  f.frame->OnMainMenuEnter = [&](TComponent*) { ++enters; };
  f.frame->OnMainMenuExit = [&](TComponent*) { ++exits; };
  // The main menu's shortcut runs its item and keeps the key from the edit.
  f.Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(bar->calls, (QStringList{"save"}));
  EXPECT_EQ(f.editKeys, (std::vector<uint16_t>{VK_CONTROL}));
  // Alt with a letter is offered to the bar's accelerators first.
  bar->calls.clear();
  f.Key(Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(bar->calls, (QStringList{"accel F"}));
  f.Key(Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(bar->calls, (QStringList{"accel F", "accel G"}));

  // F10 enters menu mode; Left, Right and Escape move and leave it.
  bar->calls.clear();
  f.Key(Qt::Key_F10);
  EXPECT_TRUE(f.frame->MainMenuActive());
  EXPECT_TRUE(f.frame->MenuKeysHooked());
  EXPECT_EQ(enters, 1);
  f.Key(Qt::Key_Left);
  f.Key(Qt::Key_Right);
  f.Key(Qt::Key_Escape);
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_FALSE(f.frame->MenuKeysHooked());
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(bar->calls, (QStringList{"enter", "previous", "next", "drop"}));
  // Alt alone toggles it; a press on the form ends it.
  f.Key(Qt::Key_Alt);
  EXPECT_TRUE(f.frame->MainMenuActive());
  f.Key(Qt::Key_Alt);
  EXPECT_FALSE(f.frame->MainMenuActive());
  f.Key(Qt::Key_Alt);
  ClickAt(f.form->ClientHandle(), QPoint(300, 300));
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_EQ(exits, 3);
  // A bar that goes is forgotten.
  delete bar;
  EXPECT_EQ(f.frame->MenuBar(), nullptr);
  f.Key(Qt::Key_S, Qt::ControlModifier);
}

}  // namespace

namespace {
TEST(SkinFormSysMenu, MdiChildMenuShowsCtrlF4AndNoRollUpWhenMaximized) {
  auto* parent = Application->CreateForm<TForm>();
  parent->SetFormStyle(TFormStyle::fsMDIForm);
  parent->SetBounds(0, 0, 780, 560);
  auto* pframe = new TbsSkinForm(parent);
  parent->Show();
  auto* child = Application->CreateForm<TForm>();
  child->SetFormStyle(TFormStyle::fsMDIChild);
  child->SetBounds(20, 20, 320, 220);
  auto* cframe = new TbsSkinForm(child);
  child->Show();
  QApplication::processEvents();
  TMenuItem* root = cframe->GetSystemMenuItems();
  EXPECT_EQ(Captions(root), (QStringList{"Minimize", "Maximize", "RollUp", "-", "Close"}));
  EXPECT_EQ(root->Items(4)->ShortCutText(), QStringLiteral("Ctrl+F4"));
  EXPECT_EQ(pframe->GetSystemMenuItems()->Items(4)->ShortCutText(), QStringLiteral("Alt+F4"));
  cframe->SetWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(Captions(cframe->GetSystemMenuItems()), (QStringList{"Minimize", "Restore", "-", "Close"}));
  // A press on the parent ends the child's menu.
  cframe->ShowSystemMenu(100, 100);
  ASSERT_TRUE(cframe->MenuDriver()->MenuOpen());
  parent->Perform(WM_LBUTTONDOWN, 0, MakeLParam(5, 5));
  EXPECT_FALSE(cframe->MenuDriver()->MenuOpen());
  EXPECT_FALSE(cframe->SkinMenuOpen());
  delete child;
  delete parent;
}
}  // namespace
