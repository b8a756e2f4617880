// The tray icon in a real XEmbed notification area (trayer) on the test display: a skinned form
// goes to the tray, the icon docks with its tip in the window name, a single click is told
// after the double-click time, a double click on the docked window (xdotool) restores the form
// and hides the icon, and when the tray is killed and started again a visible icon docks again
// while a hidden one stays away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
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
#include "skin/menus/bsTrayIcon.h"
#include "support/Desktop.h"
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

// trayer on the test display, for the life of the object.
class Trayer {
 public:
  ~Trayer() { Stop(); }
  bool Start() {
    process_.setProcessEnvironment(DesktopEnvironment());
    process_.start(QStringLiteral("trayer"),
                   {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"), QStringLiteral("right"),
                    QStringLiteral("--widthtype"), QStringLiteral("pixel"), QStringLiteral("--width"),
                    QStringLiteral("120"), QStringLiteral("--height"), QStringLiteral("32"), QStringLiteral("--expand"),
                    QStringLiteral("false")});
    if (!process_.waitForStarted(5000)) return false;
    return Pump([] { return CurrentNotifyArea() == TNotifyAreaKind::XEmbed; }, 15000);
  }
  void Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(5000);
    Pump([] { return CurrentNotifyArea() != TNotifyAreaKind::XEmbed; }, 5000);
  }

 private:
  QProcess process_;
};

class TrayDesktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("DISPLAY", TestDisplay().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    static int argc = 1;
    static char name[] = "e2e_tray";
    static char* argv[] = {name, nullptr};
    if (!Application) new TApplication(argc, argv);
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
  bool WaitDocked() {
    const bool ok = Pump([this] { return Embedded(IconWindow()); }, 10000);
    if (!ok) {
      ADD_FAILURE() << "icon window " << Hex(IconWindow()).toStdString() << " kind "
                    << static_cast<int>(CurrentNotifyArea()) << "\n"
                    << Tool(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")}).toStdString();
    }
    return ok;
  }

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

}  // namespace
