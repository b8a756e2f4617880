// Skinned popup menus as real X windows, on a bare server and under openbox (a small program of
// the tests, menuprobe, opens its menu at (150, 150)): the screen shows exactly what the menu
// paints, the form keeps the keyboard focus and feeds the menu its keys, a press outside the
// menus and the form closes them, and a screen reader sees a popup menu of named items whose
// press action runs the item.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <optional>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/WindowManager.h"
#include "tests/TestUtil.h"

namespace {

enum class TDesktop { Bare, Openbox };

TRunResult RunOnDisplay(const QString& program, const QStringList& args) {
  return RunProgram(program, args, DesktopEnvironment(), 20000);
}

// The probe program running; its output lines read as they come.
class TProbe {
 public:
  TProbe(const QStringList& args, const QProcessEnvironment& env) {
    process_.setProcessEnvironment(env);
    process_.start(BinDir() + QStringLiteral("/menuprobe"), args);
    process_.waitForStarted(10000);
  }
  ~TProbe() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  qint64 Pid() const { return process_.processId(); }
  // The first output line matching `pattern`, waiting up to `ms`.
  std::optional<QRegularExpressionMatch> WaitFor(const QString& pattern, int ms) {
    const QRegularExpression re(QStringLiteral("^") + pattern + QStringLiteral("$"), QRegularExpression::MultilineOption);
    QElapsedTimer t;
    t.start();
    for (;;) {
      out_ += QString::fromUtf8(process_.readAllStandardOutput());
      const QRegularExpressionMatch m = re.match(out_);
      if (m.hasMatch()) return m;
      if (t.elapsed() > ms || process_.state() == QProcess::NotRunning) return std::nullopt;
      process_.waitForReadyRead(100);
    }
  }
  int WaitForExit(int ms) {
    if (!process_.waitForFinished(ms)) return -1;
    out_ += QString::fromUtf8(process_.readAllStandardOutput());
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  QString Output() {
    out_ += QString::fromUtf8(process_.readAllStandardOutput());
    return out_;
  }
  QString Errors() { return QString::fromUtf8(process_.readAllStandardError()); }

 private:
  QProcess process_;
  QString out_;
};

// The window that has the input focus, as a decimal id.
QString FocusWindow() {
  const TRunResult r = RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
  return r.Out.trimmed();
}

void PressAt(int x, int y) {
  RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x),
                                           QString::number(y), QStringLiteral("mousedown"), QStringLiteral("1")});
  QThread::msleep(600);  // the menus look at the buttons every 50 ms (later on a busy machine)
  RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")});
}

class SkinMenusOnX : public ::testing::TestWithParam<TDesktop> {
 protected:
  void SetUp() override {
    if (TestDisplay().isEmpty()) GTEST_SKIP() << "no X display";
    if (GetParam() == TDesktop::Bare) {
      if (const auto wm = RunningWindowManager()) GTEST_SKIP() << "the display has a window manager: " << wm->toStdString();
    } else {
      if (!TOpenbox::Installed()) GTEST_SKIP() << "openbox is not installed";
      if (const auto wm = RunningWindowManager()) GTEST_SKIP() << "the display has a window manager: " << wm->toStdString();
      openbox_ = std::make_unique<TOpenbox>();
      ASSERT_TRUE(openbox_->Start()) << "openbox did not take the display";
    }
    // Park the pointer away from where the probe's windows go.
    RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("5"), QStringLiteral("5")});
  }

  // Starts the probe, gives its form the focus and waits for its menu: the form window's id and
  // the menu's rectangle.
  void Start(const QStringList& args, const QProcessEnvironment& env) {
    probe = std::make_unique<TProbe>(args, env);
    const auto id = Xdo::WaitForWindow(QStringLiteral("Menu probe"), 20000, probe->Pid());
    ASSERT_TRUE(id.has_value()) << probe->Errors().toStdString();
    form = *id;
    RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), form});
    focusBefore = FocusWindow();
    const auto open = probe->WaitFor(QStringLiteral("open (\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)"), 30000);
    ASSERT_TRUE(open.has_value()) << probe->Output().toStdString() << probe->Errors().toStdString();
    menu = QRect(open->captured(3).toInt(), open->captured(4).toInt(), open->captured(1).toInt(), open->captured(2).toInt());
  }

  std::unique_ptr<TOpenbox> openbox_;
  std::unique_ptr<TProbe> probe;
  QRect menu;
  QString form;
  QString focusBefore;
};

TEST_P(SkinMenusOnX, TheScreenShowsTheMenusPaintingAndTheFormKeepsTheKeyboard) {
  QTemporaryDir dir;
  const QString shot = dir.path() + QStringLiteral("/menu.png");
  Start({SourceDir() + QStringLiteral("/skins/slate"), shot}, DesktopEnvironment());
  if (HasFatalFailure()) return;
  EXPECT_EQ(menu.topLeft(), QPoint(150, 150));
  const QImage painted = QImage(shot).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(painted.size(), menu.size());
  const QImage screen = Screenshot().copy(menu).convertToFormat(QImage::Format_RGB32);
  int differ = 0;
  for (int y = 0; y < painted.height(); ++y)
    for (int x = 0; x < painted.width(); ++x) differ += (painted.pixel(x, y) & 0xFFFFFF) != (screen.pixel(x, y) & 0xFFFFFF);
  if (differ) SaveShot(screen, QStringLiteral("menu-on-screen"));
  EXPECT_EQ(differ, 0) << "pixels of the menu on the screen that differ from its own painting";

  // The form, not the menu, has the keyboard focus; its keys drive the menu.
  EXPECT_EQ(focusBefore, form);
  EXPECT_EQ(FocusWindow(), form);
  RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Down")});
  RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
  EXPECT_EQ(probe->WaitForExit(20000), 0) << probe->Output().toStdString();
  const QString out = probe->Output();
  EXPECT_TRUE(out.contains(QStringLiteral("closed\nclicked Ro&llUp\n"))) << out.toStdString();
}

TEST_P(SkinMenusOnX, MenusScaleWithTheScaleFactor) {
  QTemporaryDir dir;
  const QString shot = dir.path() + QStringLiteral("/menu.png");
  QProcessEnvironment env = DesktopEnvironment();
  env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
  Start({SourceDir() + QStringLiteral("/skins/slate"), shot}, env);
  if (HasFatalFailure()) return;
  // Positions and sizes are device-independent: the window covers twice as many screen pixels.
  EXPECT_EQ(menu.topLeft(), QPoint(150, 150));
  const QImage painted = QImage(shot).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(painted.size(), menu.size());
  const QRect onScreen(2 * menu.x(), 2 * menu.y(), 2 * menu.width(), 2 * menu.height());
  const QImage screen = Screenshot().copy(onScreen.adjusted(-2, -2, 2, 2)).convertToFormat(QImage::Format_RGB32);
  // The frame band (3 pixels all round) shows the painted frame, each pixel as a 2 x 2 block.
  int differ = 0, compared = 0;
  for (int y = 0; y < painted.height(); ++y)
    for (int x = 0; x < painted.width(); ++x) {
      if (x >= 3 && y >= 3 && x < painted.width() - 3 && y < painted.height() - 3) continue;
      ++compared;
      differ += (painted.pixel(x, y) & 0xFFFFFF) != (screen.pixel(2 + 2 * x + 1, 2 + 2 * y + 1) & 0xFFFFFF);
    }
  EXPECT_EQ(differ, 0) << "of " << compared;
  // Just outside the window the form shows, not the menu's frame colour.
  EXPECT_NE(screen.pixel(0, 0) & 0xFFFFFF, painted.pixel(0, 0) & 0xFFFFFF);
  if (differ) SaveShot(screen, QStringLiteral("menu-scaled"));
}

TEST_P(SkinMenusOnX, APressOutsideTheMenusAndTheFormClosesThem) {
  Start({QStringLiteral("-")}, DesktopEnvironment());
  if (HasFatalFailure()) return;
  // On the form but not on the menu: the form's own business; the menu stays.
  PressAt(480, 370);
  QThread::msleep(300);
  EXPECT_FALSE(probe->Output().contains(QStringLiteral("closed"))) << probe->Output().toStdString();
  // On the desktop.
  PressAt(900, 700);
  EXPECT_TRUE(probe->WaitFor(QStringLiteral("closed"), 5000).has_value()) << probe->Output().toStdString();
}

TEST_P(SkinMenusOnX, ScreenReadersSeeAPopupMenuOfNamedItemsAndPressRunsOne) {
  TAccessibilityBus bus;
  ASSERT_TRUE(bus.Ok());
  Start({SourceDir() + QStringLiteral("/skins/slate")}, bus.Environment(DesktopEnvironment()));
  if (HasFatalFailure()) return;
  const auto tree = bus.Tree(probe->Pid(), QStringLiteral("RollUp"));
  ASSERT_TRUE(tree.has_value());
  const auto menus = NodesWithRole(*tree, QStringLiteral("popup menu"));
  ASSERT_EQ(menus.size(), 1u);
  QStringList names;
  for (const QJsonObject& i : NodesWithRole(menus[0], QStringLiteral("menu item")))
    names << i.value(QStringLiteral("name")).toString();
  EXPECT_EQ(names, (QStringList{"Open", "RollUp", "Checked", "Disabled", "More", "Exit"}));
  EXPECT_EQ(NodesWithRole(menus[0], QStringLiteral("separator")).size(), 1u);
  const auto roll = NodeNamed(menus[0], QStringLiteral("RollUp"), QStringLiteral("menu item"));
  ASSERT_TRUE(roll.has_value());
  const auto centre = CentreOf(*roll);
  ASSERT_TRUE(centre.has_value());
  EXPECT_TRUE(menu.contains(QPoint(centre->first, centre->second)));
  ASSERT_TRUE(bus.DoAction(probe->Pid(), QStringLiteral("RollUp"), QStringLiteral("Press")));
  EXPECT_EQ(probe->WaitForExit(20000), 0) << probe->Output().toStdString();
  EXPECT_TRUE(probe->Output().contains(QStringLiteral("closed\nclicked Ro&llUp\n"))) << probe->Output().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Desktops, SkinMenusOnX, ::testing::Values(TDesktop::Bare, TDesktop::Openbox),
                         [](const auto& info) { return info.param == TDesktop::Bare ? "Bare" : "Openbox"; });

}  // namespace
