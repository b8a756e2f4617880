// The skinned menu bar on real (offscreen) forms with a real frame component: the default look
// and its layout, the overflow arrow and its popup, the mouse opening and switching menus, the
// keyboard menu mode through the frame (Alt, arrows, accelerators, Enter, Escape), the buttons
// of a maximized MDI child, screen readers, and menu items going away while shown.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/Edit.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Streaming.h"
#include "skin/data/SkinData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/SkinFormRegistry.h"
#include "skin/form/bsMenuBarObjects.h"
#include "skin/form/bsSkinForm.h"
#include "skin/form/bsSkinMainMenuBar.h"
#include "skin/menus/bsSkinMenus.h"
#include "support/MenuHost.h"
#include "support/WidgetTest.h"

namespace {

constexpr TColor kHoverFill = 13811126;  // the default frame button's hover and pressed fills
constexpr TColor kDownFill = 11899781;

QStringList Shown(TbsSkinPopupWindow* w) {
  QStringList r;
  if (w)
    for (int i = 0; i < w->ItemCount(); ++i) r << StripHotkey(w->Items(i)->SourceItem->Caption());
  return r;
}

// A form with a frame component, an edit holding the focus and a menu bar showing
// File (Open, Save), Edit (Cut), View (Zoom) and Help (a command of its own).
struct BarForm {
  explicit BarForm(const char* skin = nullptr, int width = 640) {
    form = new TForm(nullptr);
    owner.reset(form);
    form->SetBounds(0, 0, width, 400);
    frame = new TbsSkinForm(form);
    data = new TbsSkinData(form);
    if (skin) LoadSkinFolder(data, skin);
    frame->SetSkinData(data);
    menu = new TMainMenu(form);
    const auto top = AddItems(form, menu->Items(), {"&File", "&Edit", "&View", "&Help"});
    file = top[0];
    edit = top[1];
    view = top[2];
    help = top[3];
    AddItems(form, file, {"&Open", "&Save"});
    AddItems(form, edit, {"Cu&t"});
    AddItems(form, view, {"&Zoom"});
    help->OnClick = [this](TComponent*) { ++helpClicks; };
    bar = new TbsSkinMainMenuBar(form);
    bar->SetParent(form);
    bar->SetSkinData(data);
    bar->SetSkinForm(frame);
    bar->SetMainMenu(menu);
    frame->SetMainMenuBar(bar);
    focus = new TEdit(form);
    focus->SetParent(form);
    focus->SetBounds(20, 60, 120, 21);
    ShowActive(*form);
    focus->SetFocus();
    QCursor::setPos(799, 599);
    QApplication::processEvents();
  }
  ~BarForm() { Application->OnMessage.Clear(); }

  TbsSkinMenu& driver() { return *frame->MenuDriver(); }
  TbsSkinPopupWindow* window() { return driver().LastWindow(); }
  TbsSkinMainMenuBarItem* item(int i) { return bar->Items().at(static_cast<size_t>(i)); }
  QPoint Centre(const TbsMenuBarObject* o) const {
    const TRect& r = o->ObjectRect;
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Move(QPoint p) {
    QCursor::setPos(bar->Handle()->mapToGlobal(p));
    SendMouse(bar->Handle(), QEvent::MouseMove, p);
  }
  void Click(QPoint p) {
    Move(p);
    ClickAt(bar->Handle(), p);
  }
  void Key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(focus->Handle(), k, mods); }
  // Which items are highlighted / pressed, as a string of "H", "P" or "-" per item.
  QString States() {
    QString s;
    for (TbsSkinMainMenuBarItem* i : bar->Items()) s += i->Pressed ? u'P' : i->Highlighted ? u'H' : u'-';
    return s;
  }
  QImage Shot() { return bar->Handle()->grab().toImage(); }

  std::unique_ptr<TForm> owner;
  TForm* form;
  TbsSkinForm* frame;
  TbsSkinData* data;
  TMainMenu* menu;
  TMenuItem *file, *edit, *view, *help;
  TbsSkinMainMenuBar* bar;
  TEdit* focus;
  int helpClicks = 0;
};

bool HasColour(const QImage& img, const TRect& r, TColor c) {
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, img.height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, img.width()); ++x)
      if (img.pixel(x, y) == Rgb(c)) return true;
  return false;
}

}  // namespace

TEST(SkinMenuBar, DefaultLookPlacesItemsByTheirTextAndPaintsTheHoveredOne) {
  BarForm f;
  ASSERT_FALSE(f.bar->HasSection());
  EXPECT_EQ(f.bar->Height(), 22);
  EXPECT_EQ(f.bar->Top(), 0);
  EXPECT_EQ(f.bar->Width(), f.form->ClientWidth());
  ASSERT_EQ(f.bar->Items().size(), 4u);
  QImage img = f.Shot();
  // Items run from (2, 2), each as wide as its caption plus 12, down to the area's bottom.
  int x = 2;
  for (int i = 0; i < 4; ++i) {
    const TRect& r = f.item(i)->ObjectRect;
    EXPECT_EQ(r.Left, x) << i;
    EXPECT_EQ(r.Top, 2) << i;
    EXPECT_EQ(r.Bottom, 20) << i;
    EXPECT_EQ(r.Width(), f.bar->CaptionWidth(f.item(i)) + 12) << i;
    EXPECT_GT(f.bar->CaptionWidth(f.item(i)), 10) << i;
    x = r.Right;
  }
  EXPECT_FALSE(f.bar->Overflow());
  EXPECT_EQ(img.pixel(1, 1), Rgb(clBtnFace));
  EXPECT_EQ(img.pixel(f.item(1)->ObjectRect.Left, 5), Rgb(clBtnFace));
  // The caption is drawn in the item font's colour.
  EXPECT_TRUE(HasColour(img, f.item(0)->ObjectRect, clBtnText));

  // Hovering: a clNavy outline around the hover fill; the others keep the plain face.
  f.Move(f.Centre(f.item(1)));
  EXPECT_EQ(f.States(), QStringLiteral("-H--"));
  EXPECT_EQ(f.bar->HoverIndex(), 1);
  img = f.Shot();
  const TRect& r = f.item(1)->ObjectRect;
  EXPECT_EQ(img.pixel(r.Left, r.Top), Rgb(clNavy));
  EXPECT_EQ(img.pixel(r.Right - 1, r.Bottom - 1), Rgb(clNavy));
  EXPECT_EQ(img.pixel(r.Left + 2, r.Top + 2), Rgb(kHoverFill));
  EXPECT_EQ(img.pixel(f.item(0)->ObjectRect.Left + 2, 4), Rgb(clBtnFace));
  // Leaving the bar clears the hover.
  f.bar->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(f.States(), QStringLiteral("----"));
  EXPECT_EQ(f.Shot().pixel(r.Left + 2, r.Top + 2), Rgb(clBtnFace));

  // A disabled menu item is shown greyed and takes no hover.
  f.edit->SetEnabled(false);
  f.bar->BuildItems();
  f.bar->Repaint();
  img = f.Shot();
  EXPECT_TRUE(HasColour(img, f.item(1)->ObjectRect, clBtnShadow));
  EXPECT_FALSE(HasColour(img, f.item(1)->ObjectRect, clBtnText));
  f.Move(f.Centre(f.item(1)));
  EXPECT_EQ(f.States(), QStringLiteral("----"));
  // An invisible one is not on the bar at all.
  f.view->SetVisible(false);
  f.bar->BuildItems();
  EXPECT_EQ(f.bar->Items().size(), 3u);
}

TEST(SkinMenuBar, ItemsThatDoNotFitHideBehindAnArrowWhosePopupStartsWithThem) {
  BarForm f(nullptr, 120);
  f.bar->Repaint();
  ASSERT_TRUE(f.bar->Overflow());
  // The first items fit (their right edge stays left of the arrow), the rest are hidden.
  const TRect area = f.bar->ItemsArea();
  int fitting = 0;
  for (TbsSkinMainMenuBarItem* i : f.bar->Items()) {
    if (i->FitsInBar) {
      ++fitting;
      EXPECT_LE(i->ObjectRect.Right, area.Right - 5);
      EXPECT_TRUE(i->IsEnabled);
    } else {
      EXPECT_GT(i->ObjectRect.Right, area.Right - 5);
      EXPECT_FALSE(i->IsEnabled);
    }
  }
  ASSERT_GE(fitting, 1);
  ASSERT_LT(fitting, 4);
  // The arrow in clBtnShadow; hot under the mouse in clBtnText.
  const TRect arrow = f.bar->OverflowRect();
  EXPECT_EQ(arrow, TRect(area.Right - 5, area.Top, area.Right, area.Bottom));
  EXPECT_TRUE(HasColour(f.Shot(), arrow, clBtnShadow));
  f.Move(QPoint(arrow.Left + 2, (arrow.Top + arrow.Bottom) / 2));
  EXPECT_TRUE(f.bar->OverflowHot());
  EXPECT_TRUE(HasColour(f.Shot(), arrow, clBtnText));
  EXPECT_FALSE(HasColour(f.Shot(), arrow, clBtnShadow));
  // A hidden item's part under the arrow is not drawn.
  EXPECT_FALSE(HasColour(f.Shot(), TRect(arrow.Right, 0, f.bar->Width(), f.bar->Height()), clBtnText));

  // A press on the arrow opens the main menu from the first item that did not fit.
  f.Click(QPoint(arrow.Left + 2, (arrow.Top + arrow.Bottom) / 2));
  ASSERT_TRUE(f.driver().MenuOpen());
  const QStringList all{"File", "Edit", "View", "Help"};
  EXPECT_EQ(Shown(f.window()), all.mid(fitting));
  EXPECT_EQ(f.window()->RootItem(), f.menu->Items());
  EXPECT_TRUE(f.frame->SkinMenuOpen());

  // Widening the bar brings the items back with their own enabled state.
  f.driver().CloseAll();
  f.view->SetEnabled(false);
  f.bar->BuildItems();
  f.form->SetBounds(0, 0, 640, 400);
  f.bar->Repaint();
  EXPECT_FALSE(f.bar->Overflow());
  for (TbsSkinMainMenuBarItem* i : f.bar->Items()) EXPECT_TRUE(i->FitsInBar);
  EXPECT_FALSE(f.item(2)->IsEnabled);
  EXPECT_TRUE(f.item(3)->IsEnabled);
  f.form->SetBounds(0, 0, 120, 400);
  f.bar->Repaint();
  f.form->SetBounds(0, 0, 640, 400);
  f.bar->Repaint();
  EXPECT_FALSE(f.item(2)->IsEnabled);
  EXPECT_TRUE(f.item(3)->IsEnabled);
}

TEST(SkinMenuBar, MouseOpensMenusAndMovingAlongTheBarSwitchesThem) {
  BarForm f;
  int enters = 0, exits = 0;
  f.frame->OnMainMenuEnter = [&](TComponent* sender) {
    ++enters;
    EXPECT_EQ(sender, f.bar);
  };
  f.frame->OnMainMenuExit = [&](TComponent*) { ++exits; };
  f.Click(f.Centre(f.item(0)));
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_EQ(f.window()->RootItem(), f.file);
  EXPECT_EQ(Shown(f.window()), (QStringList{"Open", "Save"}));
  EXPECT_EQ(f.States(), QStringLiteral("P---"));
  EXPECT_TRUE(f.bar->MenuMode());
  EXPECT_TRUE(f.frame->MainMenuActive());
  EXPECT_TRUE(f.frame->MenuKeysHooked());
  EXPECT_EQ(enters, 1);
  // Below the item, its left edge at the item's.
  const TRect screen = f.bar->ScreenRect(f.item(0)->ObjectRect);
  EXPECT_EQ(f.window()->ScreenBounds().Left, screen.Left);
  EXPECT_EQ(f.window()->ScreenBounds().Top, screen.Bottom);
  // The pressed default item: the pressed fill.
  EXPECT_EQ(f.Shot().pixel(f.item(0)->ObjectRect.Left + 2, 4), Rgb(kDownFill));

  // To the next item: the first popup closes, the next one opens; one window only.
  f.Move(f.Centre(f.item(1)));
  EXPECT_EQ(f.driver().OpenWindowList().size(), 1u);
  EXPECT_EQ(f.window()->RootItem(), f.edit);
  EXPECT_EQ(f.States(), QStringLiteral("-P--"));
  // Between items nothing changes; over a command item its menu closes and it stays pressed.
  f.Move(QPoint(f.bar->Width() - 10, 10));
  EXPECT_EQ(f.window()->RootItem(), f.edit);
  f.Move(f.Centre(f.item(3)));
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_EQ(f.States(), QStringLiteral("---P"));
  EXPECT_TRUE(f.frame->MainMenuActive());
  f.Move(f.Centre(f.item(2)));
  EXPECT_EQ(f.window()->RootItem(), f.view);
  EXPECT_EQ(enters, 1);

  // Leaving the bar for the popup keeps the item pressed.
  f.bar->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(f.States(), QStringLiteral("--P-"));
  // A press on the form closes it and leaves menu mode.
  ClickAt(f.focus->Handle(), QPoint(3, 3));
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_FALSE(f.frame->MenuKeysHooked());
  EXPECT_FALSE(f.bar->MenuMode());
  EXPECT_EQ(f.States(), QStringLiteral("----"));
  EXPECT_EQ(exits, 1);

  // A command item runs at once and ends menu mode.
  f.Click(f.Centre(f.item(3)));
  EXPECT_EQ(f.helpClicks, 1);
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_FALSE(f.frame->SkinMenuOpen());
  EXPECT_FALSE(f.driver().MenuOpen());
  // With PopupToUp the menus open above the bar.
  f.bar->PopupToUp = true;
  f.Click(f.Centre(f.item(1)));
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_EQ(f.window()->ScreenBounds().Bottom, f.bar->ScreenRect(f.item(1)->ObjectRect).Top);
  f.frame->ExitMenuMode();
  f.bar->PopupToUp = false;
  // Choosing a popup item runs it and ends everything.
  QStringList ran;
  for (TMenuItem* i : f.file->ItemList()) i->OnClick = [&ran, i](TComponent*) { ran << StripHotkey(i->Caption()); };
  f.Click(f.Centre(f.item(0)));
  ASSERT_TRUE(f.driver().MenuOpen());
  f.Key(Qt::Key_Down);
  const int active = f.window()->ActiveIndex;
  ASSERT_GE(active, 0);
  f.Key(Qt::Key_Return);
  EXPECT_EQ(ran, QStringList{StripHotkey(f.file->Items(active)->Caption())});
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_EQ(f.States(), QStringLiteral("----"));
}

TEST(SkinMenuBar, KeyboardMenuModeMovesWrapsAndRunsThroughTheFrame) {
  BarForm f;
  // Alt alone: the first item becomes hot.
  f.Key(Qt::Key_Alt);
  ASSERT_TRUE(f.frame->MainMenuActive());
  EXPECT_TRUE(f.bar->MenuMode());
  EXPECT_EQ(f.States(), QStringLiteral("H---"));
  // Right moves along and wraps from the last item to the first; Left wraps back.
  f.Key(Qt::Key_Right);
  EXPECT_EQ(f.States(), QStringLiteral("-H--"));
  f.Key(Qt::Key_Right);
  f.Key(Qt::Key_Right);
  EXPECT_EQ(f.States(), QStringLiteral("---H"));
  f.Key(Qt::Key_Right);
  EXPECT_EQ(f.States(), QStringLiteral("H---"));
  f.Key(Qt::Key_Left);
  EXPECT_EQ(f.States(), QStringLiteral("---H"));
  EXPECT_FALSE(f.driver().MenuOpen());
  // The keys go to the menus, not to the edit.
  EXPECT_TRUE(f.focus->Text().isEmpty());
  // Enter runs the highlighted command item and ends menu mode.
  f.Key(Qt::Key_Return);
  EXPECT_EQ(f.helpClicks, 1);
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_FALSE(f.frame->MenuKeysHooked());
  EXPECT_EQ(f.States(), QStringLiteral("----"));

  // F10, then Enter on a menu item opens its menu; Right with the popup open (its item has no
  // sub-menu) switches to the next menu; Escape closes the popup and keeps the item hot.
  f.Key(Qt::Key_F10);
  f.Key(Qt::Key_Return);
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_EQ(f.window()->RootItem(), f.file);
  EXPECT_EQ(f.States(), QStringLiteral("P---"));
  f.Key(Qt::Key_Right);
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_EQ(f.window()->RootItem(), f.edit);
  EXPECT_EQ(f.States(), QStringLiteral("-P--"));
  f.Key(Qt::Key_Left);
  EXPECT_EQ(f.window()->RootItem(), f.file);
  f.Key(Qt::Key_Escape);
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_TRUE(f.frame->MainMenuActive());
  EXPECT_FALSE(f.frame->SkinMenuOpen());
  EXPECT_EQ(f.States(), QStringLiteral("H---"));
  f.Key(Qt::Key_Escape);
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_EQ(f.States(), QStringLiteral("----"));

  // Alt with an item's accelerator opens that item's menu at once; in menu mode the letter
  // alone does.
  f.Key(Qt::Key_V, Qt::AltModifier);
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_EQ(f.window()->RootItem(), f.view);
  EXPECT_TRUE(f.frame->MainMenuActive());
  f.Key(Qt::Key_E);
  EXPECT_EQ(f.window()->RootItem(), f.edit);
  EXPECT_EQ(f.States(), QStringLiteral("-P--"));
  f.Key(Qt::Key_H);
  EXPECT_EQ(f.helpClicks, 2);
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_FALSE(f.frame->MainMenuActive());
  EXPECT_TRUE(f.focus->Text().isEmpty());
}

TEST(SkinMenuBar, AcceleratorAndRunSelectedAnswerWhetherAnItemTookThem) {
  BarForm f(nullptr, 120);
  f.bar->Repaint();
  ASSERT_FALSE(f.item(3)->FitsInBar);
  // Hidden and disabled items take no accelerator.
  EXPECT_FALSE(f.bar->Accelerator('H'));
  EXPECT_EQ(f.helpClicks, 0);
  EXPECT_FALSE(f.bar->Accelerator('Q'));
  EXPECT_FALSE(f.bar->RunSelected());
  f.file->SetEnabled(false);
  f.bar->BuildItems();
  EXPECT_FALSE(f.bar->Accelerator('F'));
  f.file->SetEnabled(true);
  f.bar->BuildItems();
  ASSERT_TRUE(f.bar->Accelerator('F'));
  EXPECT_TRUE(f.driver().MenuOpen());
  // A pressed item with a sub-menu open is not run by Enter: the popup takes the key.
  EXPECT_FALSE(f.bar->RunSelected());
  f.frame->ExitMenuMode();
  EXPECT_EQ(f.States(), QStringLiteral("----"));
  // Keyboard moves skip what does not fit.
  f.bar->EnterMenuMode();
  f.bar->PreviousItem();
  const QString states = f.States();
  EXPECT_EQ(states.indexOf(u'H'), states.lastIndexOf(u'H'));
  EXPECT_TRUE(f.bar->Items().at(static_cast<size_t>(states.indexOf(u'H')))->FitsInBar);
  f.frame->ExitMenuMode();
}

TEST(SkinMenuBar, ScreenReadersSeeAMenuBarOfNamedItemsWithPressActions) {
  BarForm f;
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f.bar->Handle());
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::MenuBar);
  ASSERT_GE(iface->childCount(), 4);
  QStringList names;
  for (int i = 0; i < 4; ++i) {
    QAccessibleInterface* c = iface->child(i);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->role(), QAccessible::MenuItem);
    EXPECT_EQ(iface->indexOfChild(c), i);
    names << c->text(QAccessible::Name);
  }
  EXPECT_EQ(names, (QStringList{"File", "Edit", "View", "Help"}));
  QAccessibleInterface* fileItem = iface->child(0);
  EXPECT_TRUE(fileItem->state().hasPopup);
  const QRect r = fileItem->rect();
  EXPECT_EQ(r.topLeft(), f.bar->Handle()->mapToGlobal(QPoint(f.item(0)->ObjectRect.Left, f.item(0)->ObjectRect.Top)));
  // Pressing opens the item's menu; pressing a command item runs it.
  ASSERT_NE(fileItem->actionInterface(), nullptr);
  fileItem->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_TRUE(f.driver().MenuOpen());
  EXPECT_EQ(f.window()->RootItem(), f.file);
  EXPECT_TRUE(fileItem->state().pressed);
  iface->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(f.helpClicks, 1);
  EXPECT_FALSE(f.driver().MenuOpen());
  // A rebuilt bar makes the old item interfaces invalid.
  f.bar->BuildItems();
  EXPECT_FALSE(fileItem->isValid());
  EXPECT_EQ(iface->child(0)->text(QAccessible::Name), QStringLiteral("File"));
}

TEST(SkinMenuBar, MenuItemsAndMenusGoingAwayAreDroppedFromTheBar) {
  BarForm f;
  f.Click(f.Centre(f.item(1)));
  ASSERT_TRUE(f.driver().MenuOpen());
  delete f.edit;  // shown in the open popup and on the bar
  EXPECT_FALSE(f.driver().MenuOpen());
  EXPECT_EQ(f.item(1)->LinkedMenuItem, nullptr);
  EXPECT_FALSE(f.item(1)->IsEnabled);
  // Its accelerator does nothing; the next item has moved up to its place.
  EXPECT_FALSE(f.bar->Accelerator('E'));
  EXPECT_FALSE(f.driver().MenuOpen());
  f.bar->ArrangeBar();
  EXPECT_EQ(f.item(2)->ObjectRect.Left, f.item(0)->ObjectRect.Right);
  QApplication::processEvents();
  ASSERT_EQ(f.bar->Items().size(), 3u);
  EXPECT_EQ(f.item(1)->LinkedMenuItem, f.view);
  f.bar->Repaint();
  // A command that frees the whole menu.
  f.help->OnClick = [&](TComponent*) { delete f.menu; };
  f.Click(f.Centre(f.item(2)));
  EXPECT_EQ(f.bar->MainMenu(), nullptr);
  EXPECT_TRUE(f.bar->Items().empty());
  f.bar->Repaint();
  f.Move(QPoint(10, 10));
  EXPECT_FALSE(f.bar->Accelerator('F'));
  EXPECT_FALSE(f.bar->RunSelected());
  f.bar->EnterMenuMode();
  f.bar->FollowingItem();
  f.frame->ExitMenuMode();
}

namespace {

// An MDI parent "Books" (the application's main form) whose bar shows File and Window, with
// two children, each with its own frame component.
struct MdiBar {
  MdiBar() {
    parent = Application->CreateForm<TForm>();
    parent->SetFormStyle(TFormStyle::fsMDIForm);
    parent->SetCaption(QStringLiteral("Books"));
    parent->SetBounds(0, 0, 700, 500);
    pframe = new TbsSkinForm(parent);
    data = new TbsSkinData(parent);
    pframe->SetSkinData(data);
    menu = new TMainMenu(parent);
    AddItems(parent, menu->Items(), {"&File", "&Window"});
    AddItems(parent, menu->Items()->Items(0), {"&New"});
    AddItems(parent, menu->Items()->Items(1), {"&Tile"});
    bar = new TbsSkinMainMenuBar(parent);
    bar->SetParent(parent);
    bar->SetSkinForm(pframe);
    bar->SetMainMenu(menu);
    pframe->SetMainMenuBar(bar);
    ShowActive(*parent);
    for (int i = 0; i < 2; ++i) {
      auto* c = Application->CreateForm<TForm>();
      c->SetFormStyle(TFormStyle::fsMDIChild);
      c->SetCaption(QStringLiteral("Ledger %1").arg(i));
      c->SetBounds(20 + 40 * i, 20 + 30 * i, 300, 200);
      frames.push_back(new TbsSkinForm(c));
      frames.back()->SetSkinData(data);
      c->OnClose = [this, i](TComponent*, TCloseAction& a) {
        closed << i;
        a = TCloseAction::caNone;
      };
      c->Show();
      children.push_back(c);
    }
    QApplication::processEvents();
  }
  ~MdiBar() {
    Application->OnMessage.Clear();
    for (TForm* c : children) delete c;
    delete parent;
  }
  QList<TStdButtonCommand> Commands() const {
    QList<TStdButtonCommand> r;
    for (int i = 0; i < bar->ChildButtonCount(); ++i)
      r << static_cast<TbsSkinMainMenuBarButton*>(bar->BarObjects()[static_cast<size_t>(i)].get())->Command;
    return r;
  }
  void Click(const TbsMenuBarObject* o) {
    const QPoint p((o->ObjectRect.Left + o->ObjectRect.Right) / 2, (o->ObjectRect.Top + o->ObjectRect.Bottom) / 2);
    QCursor::setPos(bar->Handle()->mapToGlobal(p));
    SendMouse(bar->Handle(), QEvent::MouseMove, p);
    ClickAt(bar->Handle(), p);
  }

  TForm* parent;
  TbsSkinForm* pframe;
  TbsSkinData* data;
  TMainMenu* menu;
  TbsSkinMainMenuBar* bar;
  std::vector<TForm*> children;
  std::vector<TbsSkinForm*> frames;
  QList<int> closed;
};

}  // namespace

TEST(SkinMenuBar, AMaximizedChildPutsItsFourButtonsOnTheBarUntilTheLastOneIsRestored) {
  MdiBar m;
  ASSERT_EQ(m.bar->ChildButtonCount(), 0);
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  ASSERT_TRUE(m.bar->ChildButtonsShown());
  ASSERT_EQ(m.bar->ChildButtonCount(), 4);
  EXPECT_EQ(m.Commands(), (QList<TStdButtonCommand>{cmSysMenu, cmClose, cmMaximize, cmMinimize}));
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(m.bar->BarObjects()[static_cast<size_t>(i)]->IsEnabled) << i;
  // The maximized child fills the MDI client area below the bar.
  EXPECT_EQ(m.pframe->MDIClientArea().Top, m.bar->Height());
  // Layout: the system-menu button at the left end, the others at the right end, squares of
  // the items' height with 2-pixel gaps; the items follow the system-menu button.
  m.bar->ArrangeBar();
  const int W = m.bar->Width();
  auto rect = [&](TStdButtonCommand c) { return m.bar->ChildButton(c)->ObjectRect; };
  EXPECT_EQ(rect(cmSysMenu), TRect(2, 2, 20, 20));
  EXPECT_EQ(rect(cmClose), TRect(W - 20, 2, W - 2, 20));
  EXPECT_EQ(rect(cmMaximize), TRect(W - 40, 2, W - 22, 20));
  EXPECT_EQ(rect(cmMinimize), TRect(W - 60, 2, W - 42, 20));
  EXPECT_EQ(m.bar->Items().front()->ObjectRect.Left, 22);
  // Painted in the default look: the restore glyph on the maximize button, in clBtnText.
  const QImage img = m.bar->Handle()->grab().toImage();
  EXPECT_EQ(img.pixel(rect(cmClose).Left + 1, 3), Rgb(clBtnFace));
  EXPECT_TRUE(HasColour(img, rect(cmMaximize), clBtnText));
  EXPECT_TRUE(HasColour(img, rect(cmSysMenu), clBtnText));

  // A second maximized child: restoring it keeps the buttons, restoring the last removes them.
  m.frames[1]->SetWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(m.bar->ChildButtonCount(), 4);
  m.frames[1]->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(m.bar->ChildButtonCount(), 4);
  EXPECT_TRUE(m.pframe->MDIChildMaximized());
  m.frames[0]->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(m.bar->ChildButtonCount(), 0);
  EXPECT_FALSE(m.bar->ChildButtonsShown());
  EXPECT_EQ(m.bar->Items().size(), 2u);
  EXPECT_EQ(m.bar->Items().front()->ObjectRect.Left, 2);

  // The restore button restores the child (and the buttons go); the minimize button minimizes.
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.bar->ArrangeBar();
  m.Click(m.bar->ChildButton(cmMaximize));
  EXPECT_EQ(m.frames[0]->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(m.bar->ChildButtonCount(), 0);
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.bar->ArrangeBar();
  m.Click(m.bar->ChildButton(cmMinimize));
  EXPECT_EQ(m.frames[0]->WindowState(), TWindowState::wsMinimized);
  EXPECT_EQ(m.bar->ChildButtonCount(), 0);
  // The close button closes the child.
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.bar->ArrangeBar();
  m.Click(m.bar->ChildButton(cmClose));
  EXPECT_EQ(m.closed, QList<int>{0});
  // A press that leaves the button before the release runs nothing.
  TbsSkinMainMenuBarButton* close = m.bar->ChildButton(cmClose);
  const QPoint in((close->ObjectRect.Left + close->ObjectRect.Right) / 2, 10);
  SendMouse(m.bar->Handle(), QEvent::MouseMove, in);
  SendMouse(m.bar->Handle(), QEvent::MouseButtonPress, in);
  SendMouse(m.bar->Handle(), QEvent::MouseMove, QPoint(300, 10));
  SendMouse(m.bar->Handle(), QEvent::MouseButtonRelease, QPoint(300, 10));
  EXPECT_EQ(m.closed, QList<int>{0});
  EXPECT_FALSE(close->Pressed);
  m.frames[0]->SetWindowState(TWindowState::wsNormal);
}

TEST(SkinMenuBar, ChildButtonsFollowTheChildsBorderIconsAndTheSystemMenuButtonHoldsItsPopup) {
  MdiBar m;
  m.frames[0]->SetBorderIcons(biMaximize);
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  ASSERT_EQ(m.bar->ChildButtonCount(), 4);
  EXPECT_FALSE(m.bar->ChildButton(cmMinimize)->IsEnabled);
  EXPECT_FALSE(m.bar->ChildButton(cmSysMenu)->IsEnabled);
  EXPECT_TRUE(m.bar->ChildButton(cmClose)->IsEnabled);
  EXPECT_TRUE(m.bar->ChildButton(cmMaximize)->IsEnabled);
  // Disabled buttons take no press; the minimize glyph is greyed.
  m.bar->ArrangeBar();
  m.Click(m.bar->ChildButton(cmMinimize));
  EXPECT_EQ(m.frames[0]->WindowState(), TWindowState::wsMaximized);
  EXPECT_TRUE(HasColour(m.bar->Handle()->grab().toImage(), m.bar->ChildButton(cmMinimize)->ObjectRect, clBtnShadow));
  m.frames[0]->SetWindowState(TWindowState::wsNormal);
  ASSERT_EQ(m.bar->ChildButtonCount(), 0);

  // With the system menu: a press opens the child's system menu below the button and keeps the
  // button pressed until the menu closes.
  m.frames[0]->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.bar->ArrangeBar();
  TbsSkinMainMenuBarButton* sys = m.bar->ChildButton(cmSysMenu);
  ASSERT_TRUE(sys->IsEnabled);
  m.Click(sys);
  TbsSkinMenu& driver = *m.pframe->MenuDriver();
  ASSERT_TRUE(driver.MenuOpen());
  QStringList shown;
  for (int i = 0; i < driver.LastWindow()->ItemCount(); ++i)
    shown << StripHotkey(driver.LastWindow()->Items(i)->SourceItem->Caption());
  EXPECT_EQ(shown, (QStringList{"Minimize", "Restore", "-", "Close"}));
  EXPECT_EQ(driver.LastWindow()->ScreenBounds().Top, m.bar->ScreenRect(sys->ObjectRect).Bottom);
  EXPECT_TRUE(sys->Pressed);
  EXPECT_TRUE(m.pframe->SkinMenuOpen());
  // Leaving and entering keep it pressed; the menu closing releases it.
  m.bar->Perform(CM_MOUSELEAVE);
  EXPECT_TRUE(sys->Pressed);
  driver.CloseAll();
  EXPECT_FALSE(sys->Pressed);
  EXPECT_FALSE(sys->Highlighted);
  EXPECT_FALSE(m.pframe->SkinMenuOpen());
  // Its Restore item restores the child.
  m.Click(sys);
  ASSERT_TRUE(driver.MenuOpen());
  driver.LastWindow()->Activate(driver.LastWindow()->Items(1));
  EXPECT_EQ(m.frames[0]->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(m.bar->ChildButtonCount(), 0);
  EXPECT_FALSE(driver.MenuOpen());

  // A double click on it closes the child.
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.bar->ArrangeBar();
  sys = m.bar->ChildButton(cmSysMenu);
  const QPoint p((sys->ObjectRect.Left + sys->ObjectRect.Right) / 2, 10);
  ClickAt(m.bar->Handle(), p);
  SendMouse(m.bar->Handle(), QEvent::MouseButtonDblClick, p);
  SendMouse(m.bar->Handle(), QEvent::MouseButtonRelease, p);
  EXPECT_EQ(m.closed, QList<int>{0});
  EXPECT_FALSE(driver.MenuOpen());
  EXPECT_FALSE(m.pframe->SkinMenuOpen());
  m.frames[0]->SetWindowState(TWindowState::wsNormal);
}

TEST(SkinMenuBar, APressOnTheParentsBarEndsTheMenusOfItsActiveChild) {
  MdiBar m;
  TCustomForm* active = m.parent->ActiveMDIChild();
  ASSERT_NE(active, nullptr);
  TbsSkinForm* child = TbsSkinForm::FindSkinForm(active);
  child->ShowSystemMenu(100, 100);
  ASSERT_TRUE(child->MenuDriver()->MenuOpen());
  ASSERT_TRUE(child->SkinMenuOpen());
  // The press on the bar reaches the parent first: the child's menu closes, the bar's opens.
  m.bar->ArrangeBar();
  m.Click(m.bar->Items().front());
  EXPECT_FALSE(child->MenuDriver()->MenuOpen());
  EXPECT_FALSE(child->SkinMenuOpen());
  EXPECT_TRUE(m.pframe->MenuDriver()->MenuOpen());
  EXPECT_TRUE(m.pframe->MainMenuActive());
  m.pframe->ExitMenuMode();
}

TEST(SkinMenuBar, AltOrF10InAChildWorksTheParentsBar) {
  MdiBar m;
  TbsSkinForm* child = m.frames[1];
  int enters = 0;
  m.pframe->OnMainMenuEnter = [&](TComponent*) { ++enters; };
  // The child's own popup ends; the parent's bar enters menu mode on its first item.
  child->ShowSystemMenu(100, 100);
  ASSERT_TRUE(child->SkinMenuOpen());
  m.children[1]->Perform(WM_SYSCOMMAND, SC_KEYMENU);
  EXPECT_FALSE(child->SkinMenuOpen());
  EXPECT_FALSE(child->MenuDriver()->MenuOpen());
  EXPECT_TRUE(m.pframe->MainMenuActive());
  EXPECT_FALSE(child->MainMenuActive());
  EXPECT_EQ(enters, 1);
  EXPECT_TRUE(m.bar->Items().front()->Highlighted);
  // The keys then work the parent's bar: Right to Window, Enter opens its menu.
  m.pframe->MenuKeyDown(VK_RIGHT);
  EXPECT_TRUE(m.bar->Items()[1]->Highlighted);
  child->MenuKeyDown(VK_RETURN);
  ASSERT_TRUE(m.pframe->MenuDriver()->MenuOpen());
  EXPECT_EQ(m.pframe->MenuDriver()->LastWindow()->RootItem(), m.menu->Items()->Items(1));
  // Again from the child: menu mode ends.
  m.children[1]->Perform(WM_SYSCOMMAND, SC_KEYMENU);
  EXPECT_FALSE(m.pframe->MainMenuActive());
  EXPECT_FALSE(m.pframe->MenuDriver()->MenuOpen());
  EXPECT_FALSE(m.bar->Items()[1]->Highlighted);
}

TEST(SkinMenuBar, ScreenReadersSeeTheChildButtonsAsNamedPushButtons) {
  MdiBar m;
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(m.bar->Handle());
  ASSERT_NE(iface, nullptr);
  ASSERT_EQ(iface->childCount(), 6);
  QStringList names;
  QList<QAccessible::Role> roles;
  for (int i = 0; i < 6; ++i) {
    names << iface->child(i)->text(QAccessible::Name);
    roles << iface->child(i)->role();
  }
  EXPECT_EQ(names, (QStringList{"System menu", "File", "Window", "Minimize", "Restore", "Close"}));
  EXPECT_EQ(roles, (QList<QAccessible::Role>{QAccessible::Button, QAccessible::MenuItem, QAccessible::MenuItem,
                                             QAccessible::Button, QAccessible::Button, QAccessible::Button}));
  // Pressing "Restore" restores the child; the buttons leave the bar and the reader's tree.
  QAccessibleInterface* restore = iface->child(4);
  restore->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(m.frames[0]->WindowState(), TWindowState::wsNormal);
  EXPECT_FALSE(restore->isValid());
  EXPECT_EQ(iface->childCount(), 2);
}

TEST(SkinMenuBar, LoadsFromAFormDefinitionLinkedToItsFrameAndMenu) {
  RegisterSkinFormClasses();
  const char* text = R"(object BooksForm: TForm
  ClientHeight = 300
  ClientWidth = 500
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Caption = '&New'
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
    end
  end
  object bsSkinForm1: TbsSkinForm
    MainMenuBar = bsSkinMainMenuBar1
  end
  object bsSkinMainMenuBar1: TbsSkinMainMenuBar
    Left = 0
    Top = 0
    Width = 500
    Height = 22
    Align = alTop
    DefItemFont.Color = clNavy
    DefItemFont.Height = 16
    DefItemFont.Name = 'Arial'
    DefaultHeight = 24
    PopupToUp = True
    SkinForm = bsSkinForm1
    MainMenu = MainMenu1
  end
end
)";
  TForm form(nullptr);
  form.LoadDefinition(QString::fromUtf8(text));
  auto* bar = dynamic_cast<TbsSkinMainMenuBar*>(form.FindComponent(QStringLiteral("bsSkinMainMenuBar1")));
  auto* frame = dynamic_cast<TbsSkinForm*>(form.FindComponent(QStringLiteral("bsSkinForm1")));
  ASSERT_TRUE(bar && frame);
  EXPECT_EQ(bar->Parent(), &form);
  EXPECT_EQ(bar->Align(), TAlign::alTop);
  EXPECT_EQ(bar->SkinForm(), frame);
  EXPECT_EQ(frame->MainMenuBar(), bar);
  EXPECT_EQ(static_cast<TbsMenuBarLink*>(bar), frame->MenuBar());
  ASSERT_NE(bar->MainMenu(), nullptr);
  EXPECT_EQ(bar->MainMenu()->Name(), QStringLiteral("MainMenu1"));
  EXPECT_TRUE(bar->PopupToUp);
  EXPECT_EQ(bar->DefaultHeight(), 24);
  EXPECT_EQ(bar->DefItemFont().Color, clNavy);
  EXPECT_EQ(bar->DefItemFont().Height, 16);
  EXPECT_EQ(bar->SkinDataName(), QStringLiteral("mainmenubar"));
  ASSERT_EQ(bar->Items().size(), 2u);
  EXPECT_EQ(bar->Items()[0]->Caption(), QStringLiteral("&File"));
  EXPECT_EQ(bar->Items()[0]->IDName, QStringLiteral("File1"));
  // Written back: the links and the changed properties are kept.
  const QString written = WriteComponentToText(&form);
  EXPECT_TRUE(written.contains(QStringLiteral("MainMenuBar = bsSkinMainMenuBar1"))) << qPrintable(written);
  EXPECT_TRUE(written.contains(QStringLiteral("MainMenu = MainMenu1")));
  EXPECT_TRUE(written.contains(QStringLiteral("PopupToUp = True")));
}

namespace {

// The columns [x0, x1) of `shot` against the same columns of `expected` drawn at `at`.
int DifferingPixels(const QImage& shot, const QImage& expected, const TPoint& at, int x0, int x1) {
  int differ = 0;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = x0; x < x1; ++x)
      if ((shot.pixel(at.X + x, at.Y + y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF)) ++differ;
  return differ;
}

}  // namespace

TEST(SkinMenuBar, SkinnedBarIsComposedFromItsSectionAndItemObject) {
  for (const char* skin : {"daylight", "slate"}) {
    SCOPED_TRACE(skin);
    BarForm f(skin);
    ASSERT_TRUE(f.bar->HasSection());
    ASSERT_NE(f.bar->BarPicture(), nullptr);
    const int W = f.bar->Width(), H = f.bar->Height();
    // The height is the section's, whatever is asked for.
    EXPECT_EQ(H, RectHeight(f.bar->BarSkinRect));
    f.bar->SetHeight(50);
    EXPECT_EQ(f.bar->Height(), H);
    TbsSkinMainMenuBarItem* file = f.item(0);
    ASSERT_TRUE(file->SkinLook());
    // Items start at the items area and are as wide as the image less the text area plus the
    // text and 2.
    EXPECT_EQ(f.bar->ItemsArea(), TRect(f.bar->itemsrect.Left, f.bar->itemsrect.Top,
                                        W + f.bar->itemsrect.Right - RectWidth(f.bar->BarSkinRect), f.bar->itemsrect.Bottom));
    EXPECT_EQ(file->ObjectRect.Left, f.bar->itemsrect.Left);
    EXPECT_EQ(file->ObjectRect.Width(),
              RectWidth(file->skinrect) - RectWidth(file->textrect) + f.bar->CaptionWidth(file) + 2);
    EXPECT_EQ(file->ObjectRect.Height(), RectHeight(file->skinrect));

    // The bar's background right of the items: the strip composed from the section.
    TBitmap strip;
    ComposeStripH(f.bar->itemsrect.Left, RectWidth(f.bar->BarSkinRect) - f.bar->itemsrect.Right, strip,
                  *f.bar->BarPicture(), f.bar->BarSkinRect, W, H);
    QImage shot = f.Shot();
    const int after = f.item(3)->ObjectRect.Right;
    EXPECT_EQ(DifferingPixels(shot, strip.Image(), TPoint(0, 0), after, W), 0);

    // An item's ends (no text there) are the item object's image, normal, hot and pressed.
    auto itemImage = [&](const TRect& src) {
      TBitmap b;
      ComposeStripH(file->itemleftoffset, file->itemrightoffset, b, *file->HotPicture, src, file->ObjectRect.Width(),
                    file->ObjectRect.Height());
      return b.Image();
    };
    const TPoint at(file->ObjectRect.Left, file->ObjectRect.Top);
    const int ends = file->itemleftoffset;
    ASSERT_GT(ends, 2);
    EXPECT_EQ(DifferingPixels(shot, itemImage(file->skinrect), at, 0, ends), 0);
    f.Move(f.Centre(file));
    EXPECT_TRUE(f.bar->MorphTimer().Enabled());  // the item fades in
    for (int i = 0; i < 12; ++i) f.bar->MorphTimer().OnTimer(nullptr);
    EXPECT_EQ(file->MorphFactor, 1.0);
    EXPECT_FALSE(f.bar->MorphTimer().Enabled());  // a tick that stepped nothing stopped it
    shot = f.Shot();
    EXPECT_EQ(DifferingPixels(shot, itemImage(file->activeskinrect), at, 0, ends), 0);
    EXPECT_TRUE(HasColour(shot, file->ObjectRect, file->activefontcolor));
    // Half way: the blend of both.
    file->MorphFactor = 0.5;
    f.bar->RedrawObject(file);
    {
      TbsEffectBmp a(itemImage(file->skinrect)), b(itemImage(file->activeskinrect));
      a.Morph(file->morphkind, b, 0.5);
      EXPECT_EQ(DifferingPixels(f.Shot(), a.Image(), at, 0, ends), 0);
    }
    file->MorphFactor = 1;
    f.Click(f.Centre(file));
    ASSERT_TRUE(file->Pressed);
    shot = f.Shot();
    EXPECT_EQ(DifferingPixels(shot, itemImage(file->ItemDownRect), at, 0, ends), 0);
    EXPECT_TRUE(HasColour(shot, file->ObjectRect, file->downfontcolor));
    f.frame->ExitMenuMode();

    // The overflow arrow in the section's track mark colours.
    f.form->SetBounds(0, 0, 120, 400);
    f.bar->Repaint();
    ASSERT_TRUE(f.bar->Overflow());
    EXPECT_TRUE(HasColour(f.Shot(), f.bar->OverflowRect(), f.bar->trackmarkcolor));
  }
}

TEST(SkinMenuBar, SkinChangesReachTheBarThroughTheFrame) {
  BarForm f("daylight");
  ASSERT_TRUE(f.bar->HasSection());
  f.Key(Qt::Key_Alt);
  ASSERT_TRUE(f.frame->MainMenuActive());
  // A skin without a bar section: the bar takes its default height and look.
  {
    TbsStoredSkin bare(nullptr);
    bare.SetIniStrings({QStringLiteral("[VERSION]"), QStringLiteral("ver=1")});
    f.data->LoadFromStoredSkin(bare);
  }
  EXPECT_FALSE(f.bar->HasSection());
  EXPECT_EQ(f.bar->Height(), 22);
  ASSERT_EQ(f.bar->Items().size(), 4u);
  EXPECT_FALSE(f.item(0)->SkinLook());
  f.bar->Repaint();
  LoadSkinFolder(f.data, "slate");
  EXPECT_TRUE(f.bar->HasSection());
  EXPECT_EQ(f.bar->Height(), RectHeight(f.bar->BarSkinRect));
  EXPECT_TRUE(f.item(0)->SkinLook());
  // Menu mode went with the old items; the frame still ends it cleanly.
  f.frame->ExitMenuMode();
  EXPECT_FALSE(f.frame->MenuKeysHooked());
}
