// skinview on a real X server under openbox, with trayer as the notification area: the window
// it draws matches what `skinview --screenshot` writes and carries the skin's own pixels, the
// MDI children are windows a screen reader names by their captions, maximizing one joins its
// caption to the parent's, the menu bar reads as one and its keys switch the skin, a bad skin file chosen in the file
// dialog shows its reason in a box and the skin stays, and the system menu's "Minimize to Tray"
// hides the program behind its tray icon, whose double click brings it back. Then
// `skinview --screenshot` with a skin folder, a packed file and a file that is no skin.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/Trayer.h"
#include "support/WindowManager.h"
#include "tests/TestUtil.h"

namespace {

void Pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

QString Xdo(const QStringList& args) { return RunProgram(QStringLiteral("xdotool"), args, DesktopEnvironment(), 30000).Out.trimmed(); }

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < timeoutMs) {
    if (done()) return true;
    Pause(200);
  }
  return done();
}

// The visible windows whose name matches the regular expression `name`.
QStringList VisibleWindows(const QString& name) {
  const QString out = Xdo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), name});
  return out.isEmpty() ? QStringList() : out.split(u'\n');
}

QRect Extents(const QJsonObject& node) {
  const QJsonArray e = node.value(QStringLiteral("extents")).toArray();
  return e.size() == 4 ? QRect(e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt()) : QRect();
}

std::optional<QJsonObject> WindowNode(const QJsonObject& tree, const QString& name) {
  for (const QJsonObject& n : FindNodes(tree, [&](const QJsonObject& n) {
         const QString role = n.value(QStringLiteral("role")).toString();
         return (role == QLatin1String("frame") || role == QLatin1String("window")) &&
                n.value(QStringLiteral("name")).toString() == name;
       }))
    return n;
  return std::nullopt;
}

// Share of pixels (every second one) that are the same in both images of one size.
double SameShare(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 0;
  qint64 same = 0, all = 0;
  for (int y = 0; y < a.height(); y += 2)
    for (int x = 0; x < a.width(); x += 2, ++all) same += (a.pixel(x, y) & 0xFFFFFF) == (b.pixel(x, y) & 0xFFFFFF);
  return double(same) / double(all);
}

QString SkinViewPath() { return BinDir() + QStringLiteral("/skinview"); }

TEST(SkinViewScreenshot, FolderPackedFileAndAFileThatIsNoSkin) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  const QString slate = SourceDir() + QStringLiteral("/skins/slate");
  const QString daylight = SourceDir() + QStringLiteral("/skins/daylight");
  const QString packed = work.filePath(QStringLiteral("daylight.skin"));
  const TRunResult pack = RunProgram(BinDir() + QStringLiteral("/skintool"), {QStringLiteral("pack"), daylight, packed},
                                     DesktopEnvironment());
  ASSERT_EQ(pack.ExitCode, 0) << pack.Err.toStdString();

  auto shoot = [&](const QString& name, const QStringList& skin) {
    const QString out = work.filePath(name);
    const TRunResult r = RunProgram(SkinViewPath(), QStringList{QStringLiteral("--screenshot"), out} + skin, DesktopEnvironment());
    EXPECT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    return QImage(out);
  };
  const QImage fromFolder = shoot(QStringLiteral("slate.png"), {slate});
  const QImage builtIn = shoot(QStringLiteral("builtin.png"), {});
  const QImage fromPacked = shoot(QStringLiteral("daylight.png"), {packed});
  const QImage fromDaylightFolder = shoot(QStringLiteral("daylight-folder.png"), {daylight + QStringLiteral("/SKIN.INI")});
  ASSERT_FALSE(fromFolder.isNull());
  ASSERT_FALSE(fromPacked.isNull());
  // The slate folder is the first built-in skin; the packed daylight skin is its folder.
  EXPECT_EQ(fromFolder, builtIn);
  EXPECT_EQ(fromPacked, fromDaylightFolder);
  EXPECT_LT(SameShare(fromFolder, fromPacked), 0.5);
  for (const auto& [shot, main] : {std::pair{fromFolder, QImage(slate + QStringLiteral("/main.bmp"))},
                                   std::pair{fromPacked, QImage(daylight + QStringLiteral("/main.bmp"))}})
    EXPECT_EQ(shot.pixel(12, 30) & 0xFFFFFF, main.pixel(12, 30) & 0xFFFFFF);
  SaveShot(fromPacked, QStringLiteral("skinview-screenshot-daylight"));

  // A file that is no skin: the reason on stderr, exit code 2, no picture.
  const QString notes = work.filePath(QStringLiteral("notes.txt"));
  {
    QFile f(notes);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no skin here\n");
  }
  const QString out = work.filePath(QStringLiteral("bad.png"));
  const TRunResult bad = RunProgram(SkinViewPath(), {QStringLiteral("--screenshot"), out, notes}, DesktopEnvironment());
  EXPECT_EQ(bad.ExitCode, 2);
  EXPECT_TRUE(bad.Err.contains(QStringLiteral("skinview: \"%1\" is not a skin").arg(notes))) << bad.Err.toStdString();
  EXPECT_FALSE(QFile::exists(out));
  const TRunResult bare = RunProgram(SkinViewPath(), {QStringLiteral("--screenshot"), out, work.path()}, DesktopEnvironment());
  EXPECT_EQ(bare.ExitCode, 2);
  EXPECT_TRUE(bare.Err.contains(QStringLiteral("holds no SKIN.INI"))) << bare.Err.toStdString();
  const TRunResult usage = RunProgram(SkinViewPath(), {QStringLiteral("--screenshot")}, DesktopEnvironment());
  EXPECT_EQ(usage.ExitCode, 2);
  EXPECT_TRUE(usage.Err.contains(QStringLiteral("usage: skinview")));
}

class SkinViewDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TOpenbox::Installed()) GTEST_SKIP() << "openbox is not installed";
    if (!TTrayer::Installed()) GTEST_SKIP() << "trayer is not installed";
    if (const auto wm = RunningWindowManager())
      GTEST_SKIP() << "the test display has a window manager of its own (" << wm->toStdString() << ")";
    // openbox on a display that has only just started sometimes never names itself: once more.
    openbox = std::make_unique<TOpenbox>();
    if (!openbox->Start()) {
      openbox = std::make_unique<TOpenbox>();
      ASSERT_TRUE(openbox->Start(40000)) << "openbox did not take the display";
    }
    ASSERT_TRUE(trayer.Start(30000)) << "trayer did not start";
    ASSERT_TRUE(bus.Ok());
    ASSERT_TRUE(work.isValid());
    // The pointer away from where the windows open: no hover look and no hint in the pictures.
    Xdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("1900"), QStringLiteral("20")});
    boxLog = work.filePath(QStringLiteral("boxes.log"));
    QProcessEnvironment env = bus.Environment(DesktopEnvironment());
    env.insert(QStringLiteral("LEDGERLY_MESSAGEBOX_LOG"), boxLog);
    view.setProcessEnvironment(env);
    view.start(SkinViewPath(), {});
    ASSERT_TRUE(view.waitForStarted(10000));
    const auto w = Xdo::WaitForWindow(QStringLiteral("Skinview - Ledgerly Slate"), 60000, view.processId());
    ASSERT_TRUE(w.has_value()) << view.readAllStandardError().toStdString();
    parentWindow = *w;
  }
  void TearDown() override {
    if (view.state() != QProcess::NotRunning) {
      view.kill();
      view.waitForFinished(10000);
    }
  }
  std::optional<QJsonObject> Tree(const QString& wanted) { return bus.Tree(view.processId(), wanted, 120); }
  QString Boxes() {
    QFile f(boxLog);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }

  std::unique_ptr<TOpenbox> openbox;
  TTrayer trayer;
  TAccessibilityBus bus;
  QTemporaryDir work;
  QString boxLog;
  QProcess view;
  QString parentWindow;
};

TEST_F(SkinViewDesktop, TheWindowIsWhatTheScreenshotOptionDrawsWithTheSkinsPixels) {
  Pause(1500);
  const auto g = Xdo::Geometry(parentWindow);
  ASSERT_TRUE(g.has_value());
  const QImage screen = Screenshot();
  const QImage live = screen.copy(g->X, g->Y, g->Width, g->Height);
  SaveShot(live, QStringLiteral("skinview-live"));
  // The frame's corner piece beside the client area is the skin's main picture there.
  const QImage main(SourceDir() + QStringLiteral("/skins/slate/main.bmp"));
  ASSERT_FALSE(main.isNull());
  for (const QPoint p : {QPoint(12, 30), QPoint(8, 20), QPoint(14, 14)})
    EXPECT_EQ(live.pixel(p) & 0xFFFFFF, main.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();

  const QString out = work.filePath(QStringLiteral("shot.png"));
  const TRunResult r = RunProgram(SkinViewPath(), {QStringLiteral("--screenshot"), out}, DesktopEnvironment());
  ASSERT_TRUE(r.Finished);
  ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
  const QImage drawn(out);
  ASSERT_EQ(drawn.size(), live.size());
  // The same forms in the same places: only the focus and the active looks may differ.
  EXPECT_GT(SameShare(live, drawn), 0.9) << SaveShot(drawn, QStringLiteral("skinview-drawn")).toStdString();
}

TEST_F(SkinViewDesktop, ChildrenMenuKeysBadSkinFileAndTheTray) {
  // The children are windows named by their captions.
  const auto tree = Tree(QStringLiteral("Menus"));
  ASSERT_TRUE(tree.has_value());
  for (const char* c : {"Panels", "Buttons", "Edits", "Pages", "Menus"})
    EXPECT_TRUE(WindowNode(*tree, QLatin1String(c)).has_value()) << c;
  const auto pages = WindowNode(*tree, QStringLiteral("Pages"));
  ASSERT_TRUE(pages.has_value());
  const QRect pr = Extents(*pages);
  ASSERT_FALSE(pr.isEmpty());

  // A double click on its caption maximizes it: the parent's caption joins the child's.
  Xdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(pr.x() + pr.width() / 2),
       QString::number(pr.y() + 10), QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("click"),
       QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
  const auto joined = Tree(QStringLiteral("Skinview - Ledgerly Slate - [Pages]"));
  ASSERT_TRUE(joined.has_value()) << SaveShot(Screenshot(), QStringLiteral("skinview-maximize")).toStdString();
  SaveShot(Screenshot(), QStringLiteral("skinview-maximized"));
  ASSERT_TRUE(bus.DoAction(view.processId(), QStringLiteral("Restore"), QStringLiteral("Press")));
  EXPECT_TRUE(WaitFor([&] {
    const auto t = Tree(QStringLiteral("Pages"));
    return t && !NodeNamed(*t, QStringLiteral("Skinview - Ledgerly Slate - [Pages]")).has_value();
  }, 20000));

  // The menu bar and its items, as a screen reader reads them.
  const auto bar = Tree(QStringLiteral("Help"));
  ASSERT_TRUE(bar.has_value());
  EXPECT_FALSE(NodesWithRole(*bar, QStringLiteral("menu bar")).empty());
  for (const char* item : {"File", "Skin", "Window", "Help"})
    EXPECT_TRUE(NodeNamed(*bar, QLatin1String(item), QStringLiteral("menu item")).has_value()) << item;
  // Alt+S opens the Skin menu of the bar; D chooses "Ledgerly &Daylight".
  Xdo::Key(parentWindow, QStringLiteral("alt+s"));
  const auto skinMenu = Tree(QStringLiteral("Ledgerly Daylight"));
  ASSERT_TRUE(skinMenu.has_value()) << SaveShot(Screenshot(), QStringLiteral("skinview-skin-menu")).toStdString();
  SaveShot(Screenshot(), QStringLiteral("skinview-skin-menu"));
  Xdo::Key(parentWindow, QStringLiteral("d"));
  ASSERT_TRUE(Xdo::WaitForWindow(QStringLiteral("Skinview - Ledgerly Daylight"), 20000, view.processId()).has_value())
      << SaveShot(Screenshot(), QStringLiteral("skinview-daylight")).toStdString();
  SaveShot(Screenshot(), QStringLiteral("skinview-daylight"));

  // A packed skin file that is cut short, chosen in the file dialog.
  const QString cut = work.filePath(QStringLiteral("cut.skin"));
  {
    QFile from(BinDir() + QStringLiteral("/../tools/skinview/skins/slate.skin"));
    ASSERT_TRUE(from.open(QIODevice::ReadOnly));
    QFile to(cut);
    ASSERT_TRUE(to.open(QIODevice::WriteOnly));
    to.write(from.readAll().left(300));
  }
  Xdo::Key(parentWindow, QStringLiteral("ctrl+shift+o"));
  const auto dialog = Xdo::WaitForWindow(QStringLiteral("Open packed skin file"), 20000, view.processId());
  ASSERT_TRUE(dialog.has_value()) << SaveShot(Screenshot(), QStringLiteral("skinview-dialog")).toStdString();
  Pause(500);
  Xdo::Type(*dialog, cut);
  Xdo::Key(*dialog, QStringLiteral("Return"));
  ASSERT_TRUE(WaitFor([&] { return !Boxes().isEmpty(); }, 20000)) << SaveShot(Screenshot(), QStringLiteral("skinview-box")).toStdString();
  EXPECT_TRUE(Boxes().startsWith(QStringLiteral("Skinview\tCannot read the packed skin \"%1\": it is damaged or cut short").arg(cut)))
      << Boxes().toStdString();
  SaveShot(Screenshot(), QStringLiteral("skinview-box"));
  const auto box = Xdo::WaitForWindow(QStringLiteral("Skinview"), 10000, view.processId());
  ASSERT_TRUE(box.has_value());
  Xdo::Key(*box, QStringLiteral("Return"));
  EXPECT_TRUE(WaitFor([&] { return VisibleWindows(QStringLiteral("^Skinview$")).isEmpty(); }, 10000));
  // The skin in use stays.
  EXPECT_FALSE(VisibleWindows(QStringLiteral("^Skinview - Ledgerly Daylight$")).isEmpty());
  EXPECT_EQ(view.state(), QProcess::Running);

  // The system menu (a right click on the caption) hides the program behind its tray icon.
  const auto g = Xdo::Geometry(parentWindow);
  ASSERT_TRUE(g.has_value());
  Xdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(g->X + g->Width / 3),
       QString::number(g->Y + 10), QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("click"), QStringLiteral("3")});
  const auto sys = Tree(QStringLiteral("Minimize to Tray"));
  ASSERT_TRUE(sys.has_value()) << SaveShot(Screenshot(), QStringLiteral("skinview-sysmenu")).toStdString();
  ASSERT_TRUE(bus.DoAction(view.processId(), QStringLiteral("Minimize to Tray"), QStringLiteral("Press")));
  ASSERT_TRUE(WaitFor([&] { return VisibleWindows(QStringLiteral("^Skinview - Ledgerly")).isEmpty(); }, 20000))
      << SaveShot(Screenshot(), QStringLiteral("skinview-totray")).toStdString();
  QString icon;
  ASSERT_TRUE(WaitFor([&] {
    const QStringList w = VisibleWindows(QStringLiteral("^Skinview$"));
    if (!w.isEmpty()) icon = w.first();
    return !icon.isEmpty();
  }, 20000)) << "no tray icon named Skinview";
  SaveShot(Screenshot(), QStringLiteral("skinview-tray"));
  Xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), icon, QStringLiteral("6"), QStringLiteral("6"),
       QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
       QStringLiteral("80"), QStringLiteral("1")});
  EXPECT_TRUE(WaitFor([&] { return !VisibleWindows(QStringLiteral("^Skinview - Ledgerly Daylight$")).isEmpty(); }, 20000))
      << SaveShot(Screenshot(), QStringLiteral("skinview-back")).toStdString();
  EXPECT_EQ(view.state(), QProcess::Running);
}

}  // namespace
