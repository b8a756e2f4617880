// The tray icon's own rules, with its mouse actions given to its message window as the
// notification area gives them: a click against a double click by the double-click time, a
// press held longer, Enabled, the tip cut to 127 characters and kept empty while ShowHint is
// off, cycling through an image list (order, OnCycle indexes, interval 0), IconIndex beyond the
// list, a list taken away or freed, re-adding after the area is re-created, MinimizeToTray and
// MinimizedOnStart. (No notification area runs here: every call to it fails quietly.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/NotifyArea.h"
#include "skin/data/SkinData.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsTrayIcon.h"
#include "tests/TestUtil.h"

namespace {

constexpr uint32_t kCallback = 2048;

struct Recorder {
  explicit Recorder(TbsTrayIcon* t) {
    t->OnClick = [this](TComponent*) { events.push_back("click"); };
    t->OnDblClick = [this](TComponent*) { events.push_back("dblclick"); };
    t->OnMouseDown = [this](TComponent*, TMouseButton b, TShiftState s, int, int) {
      events.push_back(b == TMouseButton::mbLeft ? "ldown" : b == TMouseButton::mbRight ? "rdown" : "mdown");
      shifts.push_back(s);
    };
    t->OnMouseUp = [this](TComponent*, TMouseButton b, TShiftState s, int, int) {
      events.push_back(b == TMouseButton::mbLeft ? "lup" : b == TMouseButton::mbRight ? "rup" : "mup");
      shifts.push_back(s);
    };
    t->OnMouseMove = [this](TComponent*, TShiftState, int, int) { events.push_back("move"); };
  }
  std::vector<std::string> events;
  std::vector<TShiftState> shifts;
};

void Send(TbsTrayIcon* t, uint32_t mouse) { t->IconWindow()->Perform(kCallback, 1, mouse); }

QImage Solid(QRgb c) {
  QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
  img.fill(c);
  return img;
}

TEST(TrayIcon, ClickAfterTheDoubleClickTimeAndDoubleClickWithoutClick) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* tray = new TbsTrayIcon(owner.get());
  tray->SingleClickTimer().SetInterval(150);
  Recorder r(tray);
  // One click: down and up at once, the click one double-click time after the press.
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  EXPECT_EQ(r.events, (std::vector<std::string>{"ldown", "lup"}));
  EXPECT_TRUE(tray->ClickPending());
  ASSERT_TRUE(QTest::qWaitFor([&] { return r.events.size() == 3; }, 2000));
  EXPECT_EQ(r.events.back(), "click");
  EXPECT_FALSE(tray->SingleClickTimer().Enabled());
  EXPECT_EQ(r.shifts[0] & ssLeft, ssLeft);
  // A double click: down, up, double click, up, and no click at all.
  r.events.clear();
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  Send(tray, WM_LBUTTONDBLCLK);
  Send(tray, WM_LBUTTONUP);
  QTest::qWait(400);
  EXPECT_EQ(r.events, (std::vector<std::string>{"ldown", "lup", "dblclick", "lup"}));
  // Held longer than the double-click time: the click comes at the release.
  r.events.clear();
  Send(tray, WM_LBUTTONDOWN);
  QTest::qWait(350);
  EXPECT_EQ(r.events, (std::vector<std::string>{"ldown"}));
  Send(tray, WM_LBUTTONUP);
  EXPECT_EQ(r.events, (std::vector<std::string>{"ldown", "click", "lup"}));
  QTest::qWait(250);
  EXPECT_EQ(r.events.size(), 3u);
  // Right and middle buttons, moves; a right double click does nothing.
  r.events.clear();
  Send(tray, WM_MOUSEMOVE);
  Send(tray, WM_RBUTTONDOWN);
  Send(tray, WM_RBUTTONUP);
  Send(tray, 0x0206);
  Send(tray, WM_MBUTTONDOWN);
  Send(tray, WM_MBUTTONUP);
  EXPECT_EQ(r.events, (std::vector<std::string>{"move", "rdown", "rup", "mdown", "mup"}));
  EXPECT_EQ(r.shifts.back() & ssMiddle, ssMiddle);
  // Disabled: every mouse action is ignored.
  r.events.clear();
  tray->Enabled = false;
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  QTest::qWait(300);
  EXPECT_TRUE(r.events.empty());
  // The window answers the end-of-session messages itself.
  EXPECT_EQ(tray->IconWindow()->Perform(WM_CLOSE), 1);
  EXPECT_EQ(tray->IconWindow()->Perform(WM_DESTROY), 1);
}

TEST(TrayIcon, TipCutAndShownOnlyWithShowHint) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* tray = new TbsTrayIcon(owner.get());
  tray->SetShowHint(false);
  tray->SetHint(QStringLiteral("Ledgerly"));
  EXPECT_TRUE(tray->NotifyData().Tip.isEmpty()) << "the tip stays empty while ShowHint is off";
  tray->SetShowHint(true);
  EXPECT_EQ(tray->NotifyData().Tip, QStringLiteral("Ledgerly"));
  tray->SetHint(QString(300, QLatin1Char('a')));
  EXPECT_EQ(tray->NotifyData().Tip.size(), 127);
  tray->SetHint(QString(126, QLatin1Char('b')) + QStringLiteral("傳票資料"));
  EXPECT_EQ(tray->NotifyData().Tip, QString(126, QLatin1Char('b')) + QStringLiteral("傳"));
  EXPECT_EQ(tray->NotifyData().cbSize, 488u);
  EXPECT_EQ(tray->NotifyData().CallbackMessage, 2048u);
  EXPECT_EQ(tray->NotifyData().ID, 1u);
  EXPECT_EQ(tray->NotifyData().Flags, 7u);
  // Without an area nothing is shown and nothing fails.
  tray->SetIconVisible(true);
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_EQ(NotifyIconWindow(tray->IconWindow(), 1), 0u);
  tray->SetIconVisible(false);
  EXPECT_FALSE(tray->IconVisible());
}

TEST(TrayIcon, CyclingOrderIndexesAndTheListsEdges) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* list = new TImageList(owner.get());
  const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
  for (QRgb c : colours) list->Add(Solid(c));
  auto* tray = new TbsTrayIcon(owner.get());
  std::vector<int> next;
  tray->OnCycle = [&](TComponent*, int n) { next.push_back(n); };
  tray->SetIconList(list);
  EXPECT_EQ(tray->IconIndex(), 0);
  EXPECT_EQ(tray->Icon().pixel(4, 4), colours[0]);
  // Interval 0: nothing cycles until an interval is set.
  tray->SetCycleIcons(true);
  EXPECT_TRUE(tray->CycleTimer().Enabled());
  QTest::qWait(120);
  EXPECT_TRUE(next.empty());
  // Every tick reports the next index and shows it: 1, 2, 0, 1.
  std::vector<QRgb> shown;
  tray->OnCycle = [&](TComponent* s, int n) {
    next.push_back(n);
    auto* t = static_cast<TbsTrayIcon*>(s);
    (void)t;
  };
  tray->SetAnimateTimerInterval(40);
  ASSERT_TRUE(QTest::qWaitFor([&] { return next.size() >= 4; }, 3000));
  tray->SetCycleIcons(false);
  EXPECT_EQ(std::vector<int>(next.begin(), next.begin() + 4), (std::vector<int>{1, 2, 0, 1}));
  // After a tick the icon is the list's icon at IconIndex.
  EXPECT_EQ(tray->Icon().pixel(4, 4), colours[tray->IconIndex()]);
  // Beyond the list: the last one.
  tray->SetIconIndex(7);
  EXPECT_EQ(tray->IconIndex(), 2);
  EXPECT_EQ(tray->Icon().pixel(4, 4), colours[2]);
  // Below 0: kept as given; the icon stays what it was.
  tray->SetIconIndex(-3);
  EXPECT_EQ(tray->IconIndex(), -3);
  EXPECT_EQ(tray->Icon().pixel(4, 4), colours[2]);
  // The list taken away: index 0, the icon kept.
  tray->SetIconList(nullptr);
  EXPECT_EQ(tray->IconIndex(), 0);
  EXPECT_EQ(tray->Icon().pixel(4, 4), colours[2]);
  // A list freed while cycling: the reference goes, the ticks do nothing.
  tray->SetIconList(list);
  tray->SetCycleIcons(true);
  delete list;
  EXPECT_EQ(tray->IconList(), nullptr);
  QTest::qWait(150);
  tray->SetIconIndex(5);
  EXPECT_EQ(tray->IconIndex(), 0);
  // An empty list: index -1, no image, the icon kept.
  auto* empty = new TImageList(owner.get());
  tray->SetIconList(empty);
  tray->SetIconIndex(3);
  EXPECT_EQ(tray->IconIndex(), -1);
  EXPECT_FALSE(tray->Icon().isNull());
}

TEST(TrayIcon, ReAddedAfterTheAreaIsReCreatedOnlyWhenVisible) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* shown = new TbsTrayIcon(owner.get());
  auto* hidden = new TbsTrayIcon(owner.get());
  shown->SetIconVisible(true);
  shown->SetIconVisible(true);
  shown->IconWindow()->Perform(TaskbarCreatedMessage());
  hidden->IconWindow()->Perform(TaskbarCreatedMessage());
  EXPECT_TRUE(shown->IconVisible());
  EXPECT_FALSE(hidden->IconVisible());
  EXPECT_EQ(RegisterWindowMessage(QStringLiteral("TaskbarCreated")), TaskbarCreatedMessage());
  EXPECT_GE(TaskbarCreatedMessage(), 0xC000u);
  EXPECT_NE(RegisterWindowMessage(QStringLiteral("Other")), TaskbarCreatedMessage());
}

TEST(TrayIcon, MinimizeToTrayHidesTheApplicationAndShowApplicationBringsItBack) {
  TForm* form = Application->CreateForm<TForm>();
  form->SetBounds(10, 10, 300, 200);
  form->Show();
  int minimized = 0;
  Application->OnMinimize = [&](TComponent*) { ++minimized; };
  auto* tray = new TbsTrayIcon(form);
  tray->MinimizeToTray = false;
  Application->Minimize();
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(tray->IconVisible());
  EXPECT_EQ(minimized, 1) << "the application's own handler still runs";
  Application->Restore();
  tray->MinimizeToTray = true;
  Application->Minimize();
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_EQ(minimized, 2);
  tray->ShowApplication();
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(Application->Minimized());
  EXPECT_NE(form->WindowState(), TWindowState::wsMinimized);
  delete tray;
  // Gone, the icon gives the application its own handler back.
  Application->Minimize();
  EXPECT_EQ(minimized, 3);
  EXPECT_TRUE(form->Visible());
  Application->Restore();
  Application->OnMinimize.Clear();
  // MinimizedOnStart on a form: the main form is not shown at start.
  tray = new TbsTrayIcon(form);
  tray->MinimizedOnStart = true;
  tray->Loaded();
  EXPECT_FALSE(Application->ShowMainForm);
  Application->ShowMainForm = true;
  delete form;
}

TEST(TrayIcon, MenuOnTheRightPressAndTheDefaultItemOnADoubleClick) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* menu = new TPopupMenu(owner.get());
  std::vector<std::string> ran;
  int popups = 0;
  menu->OnPopup = [&](TComponent*) { ++popups; };
  const char* names[] = {"first", "second", "third"};
  for (const char* n : names) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(QLatin1String(n));
    item->OnClick = [&ran, n](TComponent*) { ran.push_back(n); };
    menu->Items()->Add(item);
  }
  menu->Items()->Items(1)->SetDefault(true);
  menu->Items()->Items(2)->SetDefault(true);
  auto* tray = new TbsTrayIcon(owner.get());
  tray->SetPopupMenu(menu);
  // The right press opens the menu; its release does not.
  Send(tray, WM_RBUTTONDOWN);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(menu->PopupComponent, tray);
  Send(tray, WM_RBUTTONUP);
  EXPECT_EQ(popups, 1);
  // The left press only with PopupByLeftButton.
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_LBUTTONUP);
  EXPECT_EQ(popups, 1);
  // A double click runs the first Default item of the top level.
  Send(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(ran, (std::vector<std::string>{"second"}));
  tray->PopupByLeftButton = true;
  Send(tray, WM_LBUTTONDOWN);
  EXPECT_EQ(popups, 2);
  Send(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(ran.size(), 1u) << "with PopupByLeftButton no item runs";
  // Without AutoPopup nothing opens and nothing runs.
  tray->PopupByLeftButton = false;
  menu->AutoPopup = false;
  Send(tray, WM_RBUTTONDOWN);
  Send(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(popups, 2);
  EXPECT_EQ(ran.size(), 1u);
  // The menu freed: the icon forgets it.
  delete menu;
  EXPECT_EQ(tray->PopupMenu(), nullptr);
  Send(tray, WM_RBUTTONDOWN);
  Send(tray, WM_LBUTTONDBLCLK);
}

TEST(TrayIcon, TheFramesTrayMenuRestoresAndCloses) {
  TForm* form = Application->CreateForm<TForm>();
  form->SetBounds(10, 10, 300, 200);
  auto* frame = new TbsSkinForm(form);
  auto* tray = new TbsTrayIcon(form);
  tray->SetIconVisible(true);
  tray->MinimizeToTray = true;
  frame->SetTrayIcon(tray);
  EXPECT_FALSE(tray->IconVisible()) << "the frame hides the icon it takes";
  EXPECT_FALSE(tray->MinimizeToTray);
  TbsSkinPopupMenu* menu = frame->TrayMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(tray->PopupMenu(), menu);
  ASSERT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(menu->Items()->Items(0)->Name(), QStringLiteral("TRAY_BSF_RESTORE"));
  EXPECT_EQ(menu->Items()->Items(0)->Caption(), QStringLiteral("&Restore"));
  EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
  EXPECT_EQ(menu->Items()->Items(2)->Name(), QStringLiteral("TRAY_BSF_CLOSE"));
  EXPECT_EQ(menu->Items()->Items(2)->Caption(), QStringLiteral("&Close"));
  EXPECT_EQ(ShortCutToText(menu->Items()->Items(2)->ShortCut()), QStringLiteral("Alt+F4"));
  int toTray = 0, back = 0;
  frame->OnMinimizeToTray = [&](TComponent*) { ++toTray; };
  frame->OnRestoreFromTray = [&](TComponent*) { ++back; };
  form->Show();
  frame->MinimizeFormToTray();
  EXPECT_EQ(toTray, 1);
  EXPECT_TRUE(tray->MinimizeToTray);
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(tray->IconVisible());
  // "&Restore" brings the form back and hides the icon.
  menu->Items()->Items(0)->Click();
  EXPECT_EQ(back, 1);
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(tray->IconVisible());
  EXPECT_FALSE(tray->MinimizeToTray);
  EXPECT_FALSE(Application->Minimized());
  // A double click on the icon does the same.
  frame->MinimizeFormToTray();
  Send(tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(back, 2);
  EXPECT_TRUE(form->Visible());
  // "&Close" closes the form.
  bool closed = false;
  form->OnClose = [&](TComponent*, TCloseAction&) { closed = true; };
  menu->Items()->Items(2)->Click();
  EXPECT_TRUE(closed);
  delete form;
}

}  // namespace
