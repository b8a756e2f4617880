// The tray icon in a real XEmbed notification area (trayer) on the test display: a skinned form
// goes to the tray, the icon docks with its tip in the window name, a single click is told
// after the double-click time, a double click on the docked window (xdotool) restores the form
// and hides the icon, and when the tray is killed and started again a visible icon docks again
// while a hidden one stays away. The way a user takes: "Minimize to Tray" chosen in the system
// menu opened by a right press on the caption, back by a double click, again to the tray and
// "Close" chosen in the icon's menu; the tray killed while that menu is open harms nothing and
// the icon docks again when the tray comes back. Screen readers (AT-SPI, read from outside as
// they read it) find the docked icon as a push button named by its tip, press it (a click) and
// open its menu through it; it follows the tip and goes with the icon.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Forms.h"
#include "platform/NotifyArea.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsSkinMenu.h"
#include "skin/menus/bsSkinMenuItem.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsSkinPopupWindow.h"
#include "skin/menus/bsTrayIcon.h"
#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/Trayer.h"
#include "tests/TestUtil.h"

namespace {

bool Pump(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (done()) return true;
    QThread::msleep(10);
  }
  QCoreApplication::processEvents();
  return done();
}

void PumpFor(int ms) {
  Pump([] { return false; }, ms);
}

QString Tool(const QString& program, const QStringList& args) {
  const TRunResult r = RunProgram(program, args, DesktopEnvironment(), 10000);
  return r.Out;
}

QString Hex(uint32_t w) { return QStringLiteral("0x%1").arg(w, 0, 16); }

// The X window's parent is not the root: the tray took it in.
bool Embedded(uint32_t w) {
  if (!w) return false;
  const QString tree = Tool(QStringLiteral("xwininfo"), {QStringLiteral("-tree"), QStringLiteral("-id"), Hex(w)});
  for (const QString& line : tree.split(QLatin1Char('\n')))
    if (line.contains(QLatin1String("Parent window id:"))) return !line.contains(QLatin1String("(the root window)"));
  return false;
}

// trayer on the test display, for the life of the object, taken as this program's
// notification area.
class Trayer {
 public:
  bool Start() {
    return trayer_.Start() && Pump([] { return CurrentNotifyArea() == TNotifyAreaKind::XEmbed; }, 15000);
  }
  void Stop() {
    trayer_.Stop();
    Pump([] { return CurrentNotifyArea() != TNotifyAreaKind::XEmbed; }, 5000);
  }

 private:
  TTrayer trayer_;
};

class TrayDesktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("DISPLAY", TestDisplay().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    // This program is read through an accessibility bus of its own, joined before Qt starts.
    if (!bus) {
      bus = new TAccessibilityBus();
      bus->ServeWhileReading = true;
      if (bus->Ok()) {
        const QProcessEnvironment env = bus->Environment(QProcessEnvironment());
        for (const QString& k : env.keys()) qputenv(k.toLocal8Bit().constData(), env.value(k).toLocal8Bit());
      }
    }
    static int argc = 1;
    static char name[] = "e2e_tray";
    static char* argv[] = {name, nullptr};
    if (!Application) new TApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete bus;
    bus = nullptr;
  }
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty()) GTEST_SKIP() << "trayer is not installed";
    ASSERT_TRUE(trayer.Start()) << "trayer took no tray selection";
    form = Application->CreateForm<TForm>();
    form->SetCaption(QStringLiteral("Tray form"));
    form->SetBounds(300, 200, 420, 300);
    frame = new TbsSkinForm(form);
    data = new TbsSkinData(form);
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/slate/SKIN.INI"));
    data->LoadFromStoredSkin(stored);
    frame->SetSkinData(data);
    tray = new TbsTrayIcon(form);
    hint = new TbsSkinHint(form);
    frame->SetSkinHint(hint);
    frame->SetTrayIcon(tray);
    tray->SetHint(QStringLiteral("Ledgerly change log"));
    form->Show();
    PumpFor(300);
  }
  void TearDown() override {
    delete form;
    PumpFor(100);
  }
  uint32_t IconWindow() const { return NotifyIconWindow(tray->IconWindow(), 1); }
  // The frame's open menu window; nullptr when none is open.
  TbsSkinPopupWindow* OpenMenu() const { return frame->MenuDriver()->LastWindow(); }
  // Clicks with `button` at a screen point (the pointer moved there first).
  static void ClickAt(int x, int y, const QString& button) {
    Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x),
                                     QString::number(y), QStringLiteral("sleep"), QStringLiteral("0.1"),
                                     QStringLiteral("click"), button});
  }
  // Clicks the item named `name` of the open menu window with the left button.
  bool ChooseItem(const QString& name) {
    if (!Pump([this] { return OpenMenu() && OpenMenu()->Handle()->isVisible(); }, 5000)) {
      ADD_FAILURE() << "no menu window opened";
      return false;
    }
    PumpFor(200);
    TbsSkinPopupWindow* w = OpenMenu();
    for (int i = 0; i < w->ItemCount(); ++i) {
      const TbsSkinMenuItem* item = w->Items(i);
      if (!item->SourceItem || item->SourceItem->Name() != name) continue;
      const TRect b = item->ItemBounds;
      ClickAt(w->Left() + (b.Left + b.Right) / 2, w->Top() + (b.Top + b.Bottom) / 2, QStringLiteral("1"));
      return true;
    }
    ADD_FAILURE() << "the open menu has no item " << name.toStdString();
    return false;
  }
  // A screen point on the caption (where the frame's hit test says so); (-1, -1) when none.
  TPoint CaptionPoint() const {
    for (int y = 2; y < 40; y += 2)
      for (int x = form->Width() / 4; x < form->Width() * 3 / 4; x += 4) {
        const int sx = form->Left() + x, sy = form->Top() + y;
        if (form->Perform(WM_NCHITTEST, 0, MakeLParam(sx, sy)) == HTCAPTION) return TPoint(sx, sy);
      }
    return TPoint(-1, -1);
  }
  // The system menu opened by a right press on the caption, then "Minimize to Tray" chosen.
  bool ToTrayThroughTheSystemMenu() {
    Application->ProcessMessages();
    const TPoint at = CaptionPoint();
    if (at.X < 0) {
      ADD_FAILURE() << "the frame has no caption";
      return false;
    }
    ClickAt(at.X, at.Y, QStringLiteral("3"));
    if (!ChooseItem(QStringLiteral("BSF_MINTOTRAY"))) return false;
    return Pump([this] { return !form->Visible() && tray->IconVisible(); }, 5000);
  }
  // The icon's menu opened by a right click on the docked icon.
  bool OpenTrayMenu() {
    const uint32_t w = IconWindow();
    Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), Hex(w), QStringLiteral("6"),
                                    QStringLiteral("6"), QStringLiteral("click"), QStringLiteral("3")});
    return Pump([this] { return OpenMenu() && OpenMenu()->RootItem() == frame->TrayMenu()->Items(); }, 5000);
  }
  bool WaitDocked() {
    const bool ok = Pump([this] { return Embedded(IconWindow()); }, 10000);
    if (!ok) {
      ADD_FAILURE() << "icon window " << Hex(IconWindow()).toStdString() << " kind "
                    << static_cast<int>(CurrentNotifyArea()) << "\n"
                    << Tool(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")}).toStdString();
    }
    return ok;
  }

  static inline TAccessibilityBus* bus = nullptr;  // owned; for the whole suite
  Trayer trayer;
  TForm* form = nullptr;
  TbsSkinForm* frame = nullptr;
  TbsSkinData* data = nullptr;
  TbsTrayIcon* tray = nullptr;
  TbsSkinHint* hint = nullptr;
};

TEST_F(TrayDesktop, ToTheTrayClickThenDoubleClickRestores) {
  int clicks = 0, doubles = 0, moves = 0, downs = 0;
  tray->OnClick = [&](TComponent*) { ++clicks; };
  tray->OnMouseMove = [&](TComponent*, TShiftState, int, int) { ++moves; };
  tray->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++downs; };
  const TNotifyEvent restore = tray->OnDblClick;
  ASSERT_TRUE(static_cast<bool>(restore)) << "the frame restores the form on a double click";
  tray->OnDblClick = [&, restore](TComponent* s) {
    ++doubles;
    restore(s);
  };
  EXPECT_EQ(IconWindow(), 0u);
  frame->MinimizeFormToTray();
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_FALSE(form->Visible());
  ASSERT_TRUE(WaitDocked());
  const uint32_t w = IconWindow();
  // The tip is the window's name.
  EXPECT_TRUE(Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), Hex(w), QStringLiteral("WM_NAME")})
                  .contains(QLatin1String("\"Ledgerly change log\"")));
  EXPECT_TRUE(Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), Hex(w), QStringLiteral("_NET_WM_NAME")})
                  .contains(QLatin1String("\"Ledgerly change log\"")));
  EXPECT_FALSE(form->Handle()->isVisible());
  PumpFor(300);
  const QImage shot = Screenshot();
  SaveShot(shot, QStringLiteral("tray-docked"));

  // One click: reported a double-click time after the press; the form stays in the tray.
  Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), Hex(w), QStringLiteral("6"),
                                  QStringLiteral("6"), QStringLiteral("click"), QStringLiteral("1")});
  ASSERT_TRUE(Pump([&] { return clicks == 1; }, 5000));
  EXPECT_GE(moves, 1);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(doubles, 0);
  EXPECT_FALSE(form->Visible());
  PumpFor(QApplication::doubleClickInterval() + 200);

  // A double click: the form comes back, the icon goes, and no click is reported.
  Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), Hex(w), QStringLiteral("6"),
                                  QStringLiteral("6"), QStringLiteral("click"), QStringLiteral("--repeat"),
                                  QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("60"),
                                  QStringLiteral("1")});
  ASSERT_TRUE(Pump([&] { return doubles == 1; }, 5000));
  EXPECT_TRUE(Pump([&] { return form->Handle()->isVisible(); }, 5000));
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(tray->IconVisible());
  EXPECT_EQ(IconWindow(), 0u);
  PumpFor(QApplication::doubleClickInterval() + 200);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(Application->Minimized());
}

TEST_F(TrayDesktop, ReDockedWhenTheTrayComesBackOnlyWhenVisible) {
  auto* hidden = new TbsTrayIcon(form);
  hidden->SetHint(QStringLiteral("hidden"));
  tray->SetIconVisible(true);
  ASSERT_TRUE(WaitDocked());
  EXPECT_EQ(NotifyIconWindow(hidden->IconWindow(), 1), 0u);
  trayer.Stop();
  EXPECT_EQ(IconWindow(), 0u) << "the icons went with the tray";
  EXPECT_TRUE(tray->IconVisible());
  ASSERT_TRUE(trayer.Start());
  ASSERT_TRUE(WaitDocked()) << "a visible icon docks in the new tray";
  EXPECT_TRUE(Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), Hex(IconWindow()), QStringLiteral("WM_NAME")})
                  .contains(QLatin1String("Ledgerly change log")));
  PumpFor(300);
  EXPECT_EQ(NotifyIconWindow(hidden->IconWindow(), 1), 0u) << "a hidden icon stays away";
  EXPECT_FALSE(hidden->IconVisible());
  // The tip follows the icon's Hint, cut to 127 characters.
  tray->SetHint(QString(200, QLatin1Char('t')));
  PumpFor(200);
  const QString name = Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), Hex(IconWindow()), QStringLiteral("WM_NAME")});
  EXPECT_TRUE(name.contains(QLatin1Char('"') + QString(127, QLatin1Char('t')) + QLatin1Char('"'))) << name.toStdString();
}

TEST_F(TrayDesktop, SystemMenuToTheTrayBackByDoubleClickAndCloseFromTheTrayMenu) {
  // Border icons set at run time give default buttons until the skin is applied again.
  frame->SetBorderIcons(frame->BorderIcons() | biMinimizeToTray);
  frame->SetSkinData(nullptr);
  frame->SetSkinData(data);
  int closes = 0;
  form->OnClose = [&](TComponent*, TCloseAction& action) {
    ++closes;
    action = TCloseAction::caHide;
  };
  ASSERT_TRUE(ToTrayThroughTheSystemMenu()) << SaveShot(Screenshot(), QStringLiteral("tray-sysmenu")).toStdString();
  ASSERT_TRUE(WaitDocked());
  EXPECT_FALSE(form->Handle()->isVisible());
  EXPECT_EQ(OpenMenu(), nullptr) << "the system menu went with its command";

  // A double click on the docked icon: the form is back, the icon gone.
  const uint32_t w = IconWindow();
  Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), Hex(w), QStringLiteral("6"),
                                  QStringLiteral("6"), QStringLiteral("click"), QStringLiteral("--repeat"),
                                  QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("60"),
                                  QStringLiteral("1")});
  ASSERT_TRUE(Pump([&] { return form->Handle()->isVisible(); }, 5000));
  EXPECT_FALSE(tray->IconVisible());
  EXPECT_EQ(IconWindow(), 0u);
  PumpFor(QApplication::doubleClickInterval() + 200);

  // Again to the tray; the icon's menu (a right click on it) closes the form with "Close".
  ASSERT_TRUE(ToTrayThroughTheSystemMenu());
  ASSERT_TRUE(WaitDocked());
  ASSERT_TRUE(OpenTrayMenu());
  SaveShot(Screenshot(), QStringLiteral("tray-menu"));
  ASSERT_TRUE(ChooseItem(QStringLiteral("TRAY_BSF_CLOSE")));
  EXPECT_TRUE(Pump([&] { return closes == 1; }, 5000));
  EXPECT_TRUE(Pump([&] { return OpenMenu() == nullptr; }, 2000));
}

TEST_F(TrayDesktop, TrayKilledWhileItsMenuIsOpenThenBack) {
  frame->MinimizeFormToTray();
  ASSERT_TRUE(WaitDocked());
  ASSERT_TRUE(OpenTrayMenu());
  trayer.Stop();
  PumpFor(500);
  // The icon went with the tray; the menu is still usable or gone, and nothing else changed.
  EXPECT_EQ(IconWindow(), 0u);
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_FALSE(form->Visible());
  if (TbsSkinPopupWindow* open = OpenMenu()) {
    EXPECT_EQ(open->RootItem(), frame->TrayMenu()->Items());
    Tool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
    if (!Pump([this] { return OpenMenu() == nullptr; }, 2000)) frame->MenuDriver()->CloseAll();
  }
  EXPECT_EQ(OpenMenu(), nullptr);
  // The tray is back: the icon docks again and its menu brings the form back.
  ASSERT_TRUE(trayer.Start());
  ASSERT_TRUE(WaitDocked());
  ASSERT_TRUE(OpenTrayMenu());
  ASSERT_TRUE(ChooseItem(QStringLiteral("TRAY_BSF_RESTORE")));
  EXPECT_TRUE(Pump([&] { return form->Handle()->isVisible(); }, 5000));
  EXPECT_FALSE(tray->IconVisible());
}

// The geometry of X window `w` on the screen, as xwininfo reports it.
QRect XGeometry(uint32_t w) {
  const QString info = Tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), Hex(w)});
  auto field = [&](const char* label) {
    for (const QString& line : info.split(QLatin1Char('\n')))
      if (line.trimmed().startsWith(QLatin1String(label))) return line.section(QLatin1Char(':'), 1).trimmed().toInt();
    return -1;
  };
  return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

QString Dump(const std::optional<QJsonObject>& tree) {
  return tree ? QString::fromUtf8(QJsonDocument(*tree).toJson(QJsonDocument::Compact)) : QStringLiteral("(no tree)");
}

TEST_F(TrayDesktop, ScreenReadersPressTheDockedIconAndOpenItsMenu) {
  ASSERT_TRUE(bus && bus->Ok()) << "no accessibility bus";
  int clicks = 0, downs = 0;
  tray->OnClick = [&](TComponent*) { ++clicks; };
  tray->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++downs; };
  const qint64 self = QCoreApplication::applicationPid();
  const QString tip = QStringLiteral("Ledgerly change log");
  frame->MinimizeFormToTray();
  ASSERT_TRUE(WaitDocked());
  PumpFor(300);

  // A push button of this application, named by the tip, where the tray shows the icon.
  auto tree = bus->Tree(self, tip);
  ASSERT_TRUE(tree.has_value()) << "the icon is not in the accessible tree";
  const auto icon = NodeNamed(*tree, tip, QStringLiteral("push button"));
  ASSERT_TRUE(icon.has_value()) << Dump(tree).toStdString();
  const QJsonArray actions = icon->value(QStringLiteral("actions")).toArray();
  EXPECT_TRUE(actions.contains(QStringLiteral("Press"))) << Dump(icon).toStdString();
  EXPECT_TRUE(actions.contains(QStringLiteral("ShowMenu"))) << Dump(icon).toStdString();
  const QJsonArray e = icon->value(QStringLiteral("extents")).toArray();
  ASSERT_EQ(e.size(), 4);
  const QRect docked = XGeometry(IconWindow());
  EXPECT_FALSE(docked.isEmpty());
  EXPECT_EQ(QRect(e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt()), docked) << Dump(icon).toStdString();

  // Press: a click, told a double-click time later; the form stays in the tray.
  ASSERT_TRUE(bus->DoAction(self, tip, QStringLiteral("Press")));
  ASSERT_TRUE(Pump([&] { return clicks == 1; }, 5000)) << "the press made no click";
  EXPECT_EQ(downs, 1);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(OpenMenu(), nullptr) << "a press opens no menu";

  // ShowMenu: the icon's menu, as a right click opens it.
  ASSERT_TRUE(bus->DoAction(self, tip, QStringLiteral("ShowMenu")));
  ASSERT_TRUE(Pump([this] { return OpenMenu() && OpenMenu()->RootItem() == frame->TrayMenu()->Items(); }, 5000))
      << SaveShot(Screenshot(), QStringLiteral("tray-accessible-menu")).toStdString();
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(clicks, 1);
  frame->MenuDriver()->CloseAll();
  ASSERT_TRUE(Pump([this] { return OpenMenu() == nullptr; }, 2000));

  // Renamed with the tip; named by the application's title while the tip is off.
  const QString renamed = QStringLiteral("Ledgerly ledger 2");
  tray->SetHint(renamed);
  tree = bus->Tree(self, renamed);
  ASSERT_TRUE(tree.has_value());
  EXPECT_TRUE(NodeNamed(*tree, renamed, QStringLiteral("push button")).has_value()) << Dump(tree).toStdString();
  EXPECT_FALSE(NodeNamed(*tree, tip).has_value()) << Dump(tree).toStdString();
  tray->SetShowHint(false);
  tree = bus->Tree(self, Application->Title());
  ASSERT_TRUE(tree.has_value());
  EXPECT_TRUE(NodeNamed(*tree, Application->Title(), QStringLiteral("push button")).has_value())
      << Dump(tree).toStdString();
  EXPECT_FALSE(NodeNamed(*tree, renamed).has_value());

  // Gone with the icon: the form is back and no push button stands for the icon.
  tray->SetShowHint(true);
  frame->RestoreFormFromTray();
  ASSERT_TRUE(Pump([&] { return form->Handle()->isVisible(); }, 5000));
  EXPECT_FALSE(tray->IconVisible());
  tree = bus->Tree(self, form->Caption());
  ASSERT_TRUE(tree.has_value()) << "the form is not in the accessible tree";
  EXPECT_FALSE(NodeNamed(*tree, renamed).has_value()) << Dump(tree).toStdString();
}

}  // namespace
