// The skinned menu driver with real menu windows (offscreen): opening and the choice of look,
// window traits, measuring, keyboard navigation, accelerators, sub-menus and their delay,
// closing with message 1228, commands that close or free the form, failing commands, freed
// items, scrolling, the popup menu component and translucency.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>

#include "platform/Exceptions.h"
#include "platform/Screen.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsUtils.h"
#include "support/MenuHost.h"
#include "support/WidgetTest.h"

namespace {

// Runs the event loop until `done` holds or `ms` pass; the final answer of `done`.
bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QTest::qWait(10);
  return done();
}

// A form with a host, a popup menu and a record of the 1228 messages the form got.
struct MenuSite {
  MenuSite() {
    QCursor::setPos(799, 599);  // away from the menus, which follow the pointer
    form->SetBounds(0, 0, 300, 200);
    host = new TTestMenuHost(form.get());
    menu = new TbsSkinPopupMenu(form.get());
    auto old = form->WindowProc;
    form->WindowProc = [this, old](TMessage& m) {
      if (m.Msg == SkinMessageMenuClosed) ++closedMessages;
      old(m);
    };
  }
  TbsSkinMenu& driver() { return *host->MenuDriver(); }
  TbsSkinPopupWindow* window(int i) { return driver().OpenWindowList().at(static_cast<size_t>(i)); }
  int windows() { return static_cast<int>(driver().OpenWindowList().size()); }
  void Open(int x = 10, int y = 10) { driver().OpenMenu(nullptr, skin, false, menu->Items(), TRect(x, y, x, y), 0); }
  void Key(uint16_t vk) { driver().HandleKey(vk); }

  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TTestMenuHost* host;
  TbsSkinPopupMenu* menu;
  TbsSkinData* skin = nullptr;
  int closedMessages = 0;
};

TEST(SkinMenuDriver, OpensOnlyWithChildrenSkipsInvisibleItemsAndShowsANonFocusWindow) {
  MenuSite s;
  ShowActive(*s.form);
  s.Open();
  EXPECT_FALSE(s.driver().MenuOpen());
  EXPECT_EQ(s.windows(), 0);

  auto items = AddItems(s.form.get(), s.menu->Items(), {"&Open", "Hidden", "-", "E&xit"});
  items[1]->SetVisible(false);
  s.Open(40, 30);
  ASSERT_TRUE(s.driver().MenuOpen());
  ASSERT_EQ(s.windows(), 1);
  TbsSkinPopupWindow* w = s.window(0);
  ASSERT_EQ(w->ItemCount(), 3);
  EXPECT_EQ(w->Items(0)->SourceItem, items[0]);
  EXPECT_EQ(w->Items(1)->SourceItem, items[2]);
  EXPECT_EQ(w->Items(2)->SourceItem, items[3]);
  // The first enabled item starts selected.
  EXPECT_EQ(w->ActiveIndex, 0);
  EXPECT_TRUE(w->Items(0)->Highlighted);

  QWidget* h = w->Handle();
  EXPECT_TRUE(h->isVisible());
  EXPECT_TRUE(h->isWindow());
  EXPECT_EQ(h->windowType(), Qt::ToolTip);
  EXPECT_FALSE(h->windowFlags().testFlag(Qt::Popup) && h->windowType() == Qt::Popup);
  EXPECT_TRUE(h->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(h->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(h->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(h->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(h->pos(), QPoint(40, 30));

  // Opening again closes the open menu first; Escape on the only window closes the menu
  // without telling the form (the frame's key routing does that).
  s.Open(50, 50);
  EXPECT_EQ(s.windows(), 1);
  s.Key(VK_ESCAPE);
  EXPECT_FALSE(s.driver().MenuOpen());
  EXPECT_EQ(s.windows(), 0);
  EXPECT_EQ(s.closedMessages, 0);
}

TEST(SkinMenuDriver, DefaultLookUnlessTheSkinHasAWindowPictureAndAMenuItemObject) {
  MenuSite s;
  AddItems(s.form.get(), s.menu->Items(), {"One", "Two"});
  auto lookOf = [&](TbsSkinData* d) {
    s.skin = d;
    s.Open();
    const bool skinned = s.window(0)->Skinned();
    s.driver().CloseAll();
    return skinned;
  };
  EXPECT_FALSE(lookOf(nullptr));
  auto* empty = new TbsSkinData(s.form.get());
  EXPECT_FALSE(lookOf(empty));
  auto* daylight = new TbsSkinData(s.form.get());
  LoadSkinFolder(daylight, "daylight");
  EXPECT_TRUE(lookOf(daylight));
  // A window picture index that names no picture.
  daylight->PopupWindow->windowpictureindex = 99;
  EXPECT_FALSE(lookOf(daylight));
  daylight->PopupWindow->windowpictureindex = -1;
  EXPECT_FALSE(lookOf(daylight));
  // No menu item object.
  auto* slate = new TbsSkinData(s.form.get());
  LoadSkinFolder(slate, "slate");
  EXPECT_TRUE(lookOf(slate));
  auto& objs = slate->SkinObjects;
  objs.erase(std::remove_if(objs.begin(), objs.end(),
                            [](const auto& o) { return dynamic_cast<TbsDataSkinMenuItem*>(o.get()) != nullptr; }),
             objs.end());
  EXPECT_FALSE(lookOf(slate));
  // A skin data component that goes while referenced leaves the default look.
  s.skin = daylight;
  daylight->PopupWindow->windowpictureindex = 6;
  s.Open();
  delete daylight;
  EXPECT_EQ(s.driver().SkinData(), nullptr);
  s.driver().CloseAll();
}

TEST(SkinMenuDriver, MeasuresWindowsFromTheTextsHeightsAndPicture) {
  MenuSite s;
  auto items = AddItems(s.form.get(), s.menu->Items(), {"&Short", "-", "A much longer caption", "Close"});
  items[3]->SetShortCut(ShortCut(VK_F4, ssAlt));
  s.driver().SetItemHeight(22);
  s.driver().SetItemHeight(0);  // ignored
  s.Open();
  TbsSkinPopupWindow* w = s.window(0);
  const QFontMetrics fm(s.driver().ItemFont.ToQFont());
  const int widest = std::max(fm.horizontalAdvance("A much longer caption"), fm.horizontalAdvance("Close  Alt+F4")) + 2;
  EXPECT_EQ(w->Width(), widest + 19 + 19 + 10);
  EXPECT_EQ(w->Height(), 3 * 22 + 4 + 4);
  EXPECT_EQ(w->MappedItemsRect, TRect(2, 2, w->Width() - 2, w->Height() - 2));
  EXPECT_EQ(w->Items(1)->ItemBounds, TRect(2, 24, w->Width() - 2, 28));
  s.driver().CloseAll();

  auto* data = new TbsSkinData(s.form.get());
  LoadSkinFolder(data, "daylight");
  s.skin = data;
  s.Open();
  w = s.window(0);
  ASSERT_TRUE(w->Skinned());
  const auto& mi = *w->ItemData;
  const auto& pw = *data->PopupWindow;
  const TBitmap* pic = data->ActivePicture(pw.windowpictureindex);
  QFont f = w->ItemsQFont();
  const QFontMetrics sfm(f);
  const int swidest = std::max(sfm.horizontalAdvance("A much longer caption"), sfm.horizontalAdvance("Close  Alt+F4")) + 2;
  EXPECT_EQ(w->Width(), swidest + 19 + 19 + mi.textrect.Left + (RectWidth(mi.skinrect) - mi.textrect.Right) +
                            (pic->Width() - RectWidth(pw.itemsrect)));
  EXPECT_EQ(w->Height(), 3 * RectHeight(mi.skinrect) + RectHeight(mi.dividerrect) + pic->Height() - RectHeight(pw.itemsrect));
  EXPECT_EQ(w->MappedItemsRect, TRect(pw.itemsrect.Left, pw.itemsrect.Top, pw.itemsrect.Right + w->Width() - pic->Width(),
                                      pw.itemsrect.Bottom + w->Height() - pic->Height()));
  EXPECT_EQ(w->MappedRightBottom, TPoint(pw.rightbottompoint.X + w->Width() - pic->Width(),
                                         pw.rightbottompoint.Y + w->Height() - pic->Height()));
  s.driver().CloseAll();
}

TEST(SkinMenuDriver, KeyboardSkipsDisabledItemsAndDividersAndAcceleratorsRunTheirItem) {
  MenuSite s;
  auto items = AddItems(s.form.get(), s.menu->Items(), {"Dis&abled", "&First", "-", "Off", "&Second", "&Third"});
  items[0]->SetEnabled(false);
  items[3]->SetEnabled(false);
  std::vector<QString> ran;
  for (TMenuItem* i : items) i->OnClick = [&ran, i](TComponent*) { ran.push_back(i->Caption()); };
  s.Open();
  TbsSkinPopupWindow* w = s.window(0);
  EXPECT_EQ(w->ActiveIndex, 1);  // the disabled first item is passed over
  s.Key(VK_DOWN);
  EXPECT_EQ(w->ActiveIndex, 4);  // past the divider and the disabled item
  EXPECT_FALSE(w->Items(1)->Highlighted);
  EXPECT_TRUE(w->Items(4)->Highlighted);
  s.Key(VK_DOWN);
  EXPECT_EQ(w->ActiveIndex, 5);
  s.Key(VK_DOWN);  // wraps to the top, skipping the disabled first item
  EXPECT_EQ(w->ActiveIndex, 1);
  s.Key(VK_UP);  // nothing above but a disabled item: the selection stays
  EXPECT_EQ(w->ActiveIndex, 1);
  s.Key(VK_DOWN);
  s.Key(VK_DOWN);
  s.Key(VK_UP);
  EXPECT_EQ(w->ActiveIndex, 4);
  // A disabled item's accelerator does nothing; an enabled one runs its item at once.
  s.Key('A');
  EXPECT_TRUE(s.driver().MenuOpen());
  EXPECT_TRUE(ran.empty());
  s.Key('t');  // not a virtual key code: lower-case 't' is 0x74 = VK_F5
  EXPECT_TRUE(ran.empty());
  s.Key('F');
  EXPECT_FALSE(s.driver().MenuOpen());
  ASSERT_EQ(ran.size(), 1u);
  EXPECT_EQ(ran[0], "&First");
  EXPECT_EQ(s.closedMessages, 1);

  // Enter runs the selected item; a menu of only dividers and disabled items selects nothing.
  s.Open();
  s.Key(VK_DOWN);
  s.Key(VK_RETURN);
  ASSERT_EQ(ran.size(), 2u);
  EXPECT_EQ(ran[1], "&Second");
  for (TMenuItem* i : items)
    if (!i->IsLine()) i->SetEnabled(false);
  s.Open();
  EXPECT_EQ(s.window(0)->ActiveIndex, -1);
  s.Key(VK_DOWN);
  s.Key(VK_UP);
  s.Key(VK_RETURN);
  EXPECT_EQ(s.window(0)->ActiveIndex, -1);
  EXPECT_TRUE(s.driver().MenuOpen());
  EXPECT_EQ(ran.size(), 2u);
  s.driver().CloseAll();
}

TEST(SkinMenuDriver, SubMenusOpenBesideTheirItemOnClickOrAfterTheDelayAndCloseOneLevelAtATime) {
  MenuSite s;
  auto top = AddItems(s.form.get(), s.menu->Items(), {"&File", "&Edit", "&View"});
  auto sub = AddItems(s.form.get(), top[1], {"&Cut", "&More"});
  auto subsub = AddItems(s.form.get(), sub[1], {"&Deep"});
  int editClicks = 0, deepClicks = 0;
  top[1]->OnClick = [&](TComponent*) { ++editClicks; };
  subsub[0]->OnClick = [&](TComponent*) { ++deepClicks; };
  s.Open(100, 100);
  TbsSkinPopupWindow* w = s.window(0);

  // Right on an item without children does nothing; on one with children it opens at once.
  s.Key(VK_RIGHT);
  EXPECT_EQ(s.windows(), 1);
  s.Key(VK_DOWN);
  EXPECT_EQ(w->ActiveIndex, 1);
  EXPECT_EQ(s.windows(), 1);  // selection by keyboard waits for Right or Enter
  s.Key(VK_RIGHT);
  ASSERT_EQ(s.windows(), 2);
  EXPECT_EQ(editClicks, 1);  // opening by a click runs the parent's command too
  EXPECT_TRUE(w->Items(1)->SubMenuShown);
  TbsSkinPopupWindow* w2 = s.window(1);
  EXPECT_TRUE(w2->IsSubMenu());
  // Right of the parent item, 1 pixel away, first item level with it.
  const TRect parent = w->Items(1)->ItemBounds;
  EXPECT_EQ(w2->Left(), w->Left() + parent.Right + 1);
  EXPECT_EQ(w2->Top() + w2->MappedItemsRect.Top, w->Top() + parent.Top);

  s.Key(VK_DOWN);
  s.Key(VK_RIGHT);
  ASSERT_EQ(s.windows(), 3);
  // Escape and Left close one level at a time; Left never closes the first window.
  s.Key(VK_LEFT);
  EXPECT_EQ(s.windows(), 2);
  EXPECT_FALSE(s.window(1)->Items(1)->SubMenuShown);
  s.Key(VK_ESCAPE);
  EXPECT_EQ(s.windows(), 1);
  EXPECT_FALSE(w->Items(1)->SubMenuShown);
  s.Key(VK_LEFT);
  EXPECT_EQ(s.windows(), 1);

  // Hovering an item with children opens its sub-menu after 500 ms...
  w->HandleMouseMove(TPoint(10, w->Items(0)->ItemBounds.Top + 2));
  w->HandleMouseMove(TPoint(10, w->Items(1)->ItemBounds.Top + 2));
  EXPECT_EQ(s.driver().PendingItem(), w->Items(1));
  EXPECT_EQ(s.driver().SubMenuTimer().Interval(), 500);
  QTest::qWait(200);
  EXPECT_EQ(s.windows(), 1);
  EXPECT_TRUE(WaitUntil([&] { return s.windows() == 2; }));
  EXPECT_EQ(editClicks, 2);
  // ...and moving on to another item before that cancels it.
  w->HandleMouseMove(TPoint(10, w->Items(2)->ItemBounds.Top + 2));
  EXPECT_EQ(s.windows(), 1);
  w->HandleMouseMove(TPoint(10, w->Items(1)->ItemBounds.Top + 2));
  QTest::qWait(200);
  w->HandleMouseMove(TPoint(10, w->Items(0)->ItemBounds.Top + 2));
  EXPECT_EQ(s.driver().PendingItem(), nullptr);
  QTest::qWait(600);
  EXPECT_EQ(s.windows(), 1);

  // A click on a leaf two levels down closes everything, then runs the item.
  s.Key(VK_DOWN);
  s.Key(VK_RETURN);
  s.Key(VK_DOWN);
  s.Key(VK_RETURN);
  ASSERT_EQ(s.windows(), 3);
  subsub[0]->OnClick = [&](TComponent*) {
    ++deepClicks;
    EXPECT_FALSE(s.driver().MenuOpen());
    EXPECT_EQ(s.windows(), 0);
    EXPECT_EQ(s.closedMessages, 1);
  };
  TbsSkinPopupWindow* w3 = s.window(2);
  const TRect b = w3->Items(0)->ItemBounds;
  ClickAt(w3->Handle(), QPoint(b.Left + 5, b.Top + 3));
  EXPECT_EQ(deepClicks, 1);
  EXPECT_EQ(s.windows(), 0);
}

TEST(SkinMenuDriver, ReleasesOnDisabledItemsAndDividersDoNothingAndABarControlHearsTheClose) {
  MenuSite s;
  auto items = AddItems(s.form.get(), s.menu->Items(), {"One", "-", "Off"});
  items[2]->SetEnabled(false);
  int runs = 0;
  for (TMenuItem* i : items) i->OnClick = [&](TComponent*) { ++runs; };
  auto* bar = new TCustomControl(s.form.get());
  bar->SetParent(s.form.get());
  int barClosed = 0;
  auto old = bar->WindowProc;
  bar->WindowProc = [&barClosed, old](TMessage& m) {
    if (m.Msg == SkinMessageMenuClosed) ++barClosed;
    old(m);
  };
  s.driver().OpenMenu(bar, nullptr, false, s.menu->Items(), TRect(5, 5, 5, 5), 0);
  EXPECT_EQ(s.driver().BarControl(), bar);
  TbsSkinPopupWindow* w = s.window(0);
  for (int i : {1, 2}) {
    const TRect b = w->Items(i)->ItemBounds;
    ClickAt(w->Handle(), QPoint(b.Left + 5, b.Top + 1));
    EXPECT_TRUE(s.driver().MenuOpen()) << i;
    EXPECT_FALSE(w->Items(i)->Highlighted) << i;
  }
  ClickAt(w->Handle(), QPoint(5, w->Items(0)->ItemBounds.Top + 2), Qt::RightButton);
  EXPECT_TRUE(s.driver().MenuOpen());
  EXPECT_EQ(runs, 0);
  ClickAt(w->Handle(), QPoint(5, w->Items(0)->ItemBounds.Top + 2));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(barClosed, 1);
  EXPECT_EQ(s.closedMessages, 1);
  EXPECT_EQ(s.driver().BarControl(), nullptr);
  // A menu opened over an open one has no bar control (the open one's bar hears the close).
  s.driver().OpenMenu(bar, nullptr, false, s.menu->Items(), TRect(5, 5, 5, 5), 0);
  s.driver().OpenMenu(bar, nullptr, false, s.menu->Items(), TRect(5, 5, 5, 5), 0);
  EXPECT_EQ(barClosed, 2);
  EXPECT_EQ(s.driver().BarControl(), nullptr);
  s.driver().CloseAll();
  EXPECT_EQ(barClosed, 2);
}

TEST(SkinMenuDriver, ACommandMayFreeTheFormAndAFailingCommandLeavesTheMenusClosedAndUsable) {
  auto s = std::make_unique<MenuSite>();
  auto items = AddItems(s->form.get(), s->menu->Items(), {"&Close form", "&Fail", "&Again"});
  items[0]->OnClick = [&s](TComponent*) { s->form.reset(); };  // frees the host, the driver, the items
  items[1]->OnClick = [](TComponent*) { throw Exception(QStringLiteral("Command failed")); };
  int again = 0;
  items[2]->OnClick = [&again](TComponent*) { ++again; };

  s->Open();
  EXPECT_THROW(s->Key('F'), Exception);
  EXPECT_FALSE(s->driver().MenuOpen());
  EXPECT_EQ(s->windows(), 0);
  s->Open();
  s->Key('A');
  EXPECT_EQ(again, 1);

  s->Open();
  TbsSkinPopupWindow* w = s->window(0);
  const TRect b = w->Items(0)->ItemBounds;
  QWidget* h = w->Handle();
  ClickAt(h, QPoint(b.Left + 5, b.Top + 3));  // ASan reports any use after free here
  EXPECT_EQ(s->form, nullptr);
  QApplication::processEvents();
}

TEST(SkinMenuDriver, FreeingAShownItemClosesTheMenu) {
  MenuSite s;
  auto items = AddItems(s.form.get(), s.menu->Items(), {"One", "Two", "Three"});
  auto sub = AddItems(s.form.get(), items[1], {"Inner"});
  s.Open();
  s.Key(VK_DOWN);
  s.Key(VK_RIGHT);
  ASSERT_EQ(s.windows(), 2);
  delete sub[0];
  EXPECT_FALSE(s.driver().MenuOpen());
  EXPECT_EQ(s.windows(), 0);
  EXPECT_EQ(s.closedMessages, 1);
  // Freeing an item of a closed menu changes nothing.
  delete items[2];
  EXPECT_EQ(s.closedMessages, 1);
  // Clearing the root while open (a menu rebuilt while shown).
  s.Open();
  s.menu->Items()->Clear();
  EXPECT_EQ(s.windows(), 0);
  EXPECT_EQ(s.closedMessages, 2);
}

TEST(SkinMenuDriver, ATallMenuScrollsWithinTheWorkAreaAndUpOnTheFirstItemJumpsToTheLast) {
  MenuSite s;
  QStringList captions;
  for (int i = 0; i < 300; ++i) captions << QStringLiteral("Item %1").arg(i);
  AddItems(s.form.get(), s.menu->Items(), captions);
  s.Open(30, 200);
  TbsSkinPopupWindow* w = s.window(0);
  const TRect wa = Screen()->WorkAreaRect();
  ASSERT_TRUE(w->Scrolling);
  EXPECT_EQ(w->Top(), wa.Top);
  EXPECT_EQ(w->Height(), RectHeight(wa));
  EXPECT_EQ(w->Left(), 31);  // beside the point
  EXPECT_EQ(w->FirstVisible, 0);
  EXPECT_EQ(w->ShownCount, (w->Height() - 4 - 20) / 20);
  EXPECT_TRUE(w->Items(0)->InView);
  EXPECT_FALSE(w->Items(w->ShownCount)->InView);
  EXPECT_EQ(w->Items(0)->ItemBounds.Top, 2 + 10);

  s.Key(VK_UP);
  EXPECT_EQ(w->ActiveIndex, 299);
  EXPECT_EQ(w->FirstVisible, w->LastPageStart());
  EXPECT_EQ(w->FirstVisible + w->ShownCount, 300);
  EXPECT_TRUE(w->Items(299)->InView);
  s.Key(VK_DOWN);  // from the last item back to the first page
  EXPECT_EQ(w->ActiveIndex, 0);
  EXPECT_EQ(w->FirstVisible, 0);
  for (int i = 0; i < w->ShownCount; ++i) s.Key(VK_DOWN);
  EXPECT_EQ(w->ActiveIndex, w->ShownCount);
  EXPECT_EQ(w->FirstVisible, 1);  // scrolled by one to keep the selection in view

  // The mouse resting on the down marker scrolls one item per 100 ms; leaving it stops.
  const int before = w->FirstVisible;
  QCursor::setPos(w->Left() + 20, w->Top() + w->Height() - 2 - 5);
  ASSERT_TRUE(WaitUntil([&] { return w->ScrollDirection == 2 && w->ScrollTimerRunning(); }));
  EXPECT_TRUE(WaitUntil([&] { return w->FirstVisible >= before + 3; }));
  QCursor::setPos(w->Left() + 20, w->Top() + w->Height() / 2);
  EXPECT_TRUE(WaitUntil([&] { return !w->ScrollTimerRunning(); }));
  EXPECT_EQ(w->ScrollDirection, 0);
  int stopped = w->FirstVisible;
  QTest::qWait(250);
  EXPECT_EQ(w->FirstVisible, stopped);
  // Leaving the window from a zone ends the scroll; coming back to a zone starts it again.
  QCursor::setPos(w->Left() + 20, w->Top() + w->Height() - 2 - 5);
  ASSERT_TRUE(WaitUntil([&] { return w->ScrollTimerRunning(); }));
  QCursor::setPos(w->Left() + w->Width() + 50, w->Top() + w->Height() - 2 - 5);
  EXPECT_TRUE(WaitUntil([&] { return !w->ScrollTimerRunning() && w->ScrollDirection == 0; }));
  stopped = w->FirstVisible;
  // The up marker scrolls back.
  QCursor::setPos(w->Left() + 20, w->Top() + 2 + 3);
  EXPECT_TRUE(WaitUntil([&] { return w->ScrollDirection == 1; }));
  EXPECT_TRUE(WaitUntil([&] { return w->FirstVisible < stopped; }));
  s.driver().CloseAll();
}

TEST(SkinMenuDriver, PopupMenuFindsTheFrameComponentOfItsFormAndTakesItsMenuSkin) {
  MenuSite s;
  AddItems(s.form.get(), s.menu->Items(), {"One"});
  int popups = 0;
  s.menu->OnPopup = [&popups](TComponent*) { ++popups; };
  auto* menus = new TbsSkinData(s.form.get());
  LoadSkinFolder(menus, "slate");
  auto* frameSkin = new TbsSkinData(s.form.get());
  s.host->skin = frameSkin;
  s.host->menusSkin = menus;
  EXPECT_EQ(FindFrameComponent(s.form.get()), s.host);
  EXPECT_EQ(s.menu->FindHost(), s.host);
  s.menu->PopupAt(70, 80);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(s.host->opened, 1);
  EXPECT_EQ(s.menu->SkinData(), menus);
  ASSERT_EQ(s.windows(), 1);
  EXPECT_TRUE(s.window(0)->Skinned());
  EXPECT_EQ(s.window(0)->Left(), 70);
  EXPECT_EQ(s.window(0)->Top(), 80);
  s.driver().CloseAll();
  delete menus;
  s.host->menusSkin = nullptr;
  EXPECT_EQ(s.menu->SkinData(), nullptr);

  // A menu owned by a component of the form finds the host through the owner's owner; a menu of
  // another form's frame is shown there; without a host nothing is shown.
  auto* holder = new TComponent(s.form.get());
  auto* inner = new TbsSkinPopupMenu(holder);
  AddItems(s.form.get(), inner->Items(), {"Two"});
  EXPECT_EQ(inner->FindHost(), s.host);
  PopupMenuAtRect(inner, TRect(10, 100, 60, 120), true);
  ASSERT_EQ(s.windows(), 1);
  EXPECT_EQ(s.window(0)->Top() + s.window(0)->Height(), 100);  // above the rectangle
  EXPECT_EQ(s.driver().SkinData(), frameSkin);
  s.driver().CloseAll();
  TForm other(nullptr);
  TbsSkinPopupMenu lonely(&other);
  AddItems(&other, lonely.Items(), {"Three"});
  lonely.PopupAt(10, 10);
  EXPECT_EQ(s.windows(), 0);
  lonely.SetFrameForm(s.form.get());
  lonely.PopupAt(10, 10);
  EXPECT_EQ(s.windows(), 1);
  s.driver().CloseAll();
}

TEST(SkinMenuDriver, OnlyTheFirstWindowFadesInAndSubMenusTakeTheBlendValue) {
  MenuSite s;
  auto items = AddItems(s.form.get(), s.menu->Items(), {"One", "Two"});
  AddItems(s.form.get(), items[0], {"Inner"});
  s.Open();
  EXPECT_DOUBLE_EQ(s.window(0)->Handle()->windowOpacity(), 1.0);
  s.driver().CloseAll();
  s.driver().BlendOn = true;
  s.driver().BlendAnimated = true;
  s.driver().BlendValue = 151;
  s.Open();
  EXPECT_NEAR(s.window(0)->Handle()->windowOpacity(), 151 / 255.0, 0.01);
  EXPECT_FALSE(s.driver().FirstWindow());
  s.Key(VK_RIGHT);
  ASSERT_EQ(s.windows(), 2);
  EXPECT_NEAR(s.window(1)->Handle()->windowOpacity(), 151 / 255.0, 0.01);
  s.driver().CloseAll();
}

}  // namespace
