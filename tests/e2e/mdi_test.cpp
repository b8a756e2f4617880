// A skinned MDI parent with three children (tests/e2e/mdidemo) on a real X server, bare and
// under openbox: the children are windows a screen reader names by their captions, a child's
// caption drags it inside the parent's client area and snaps to the area's edge, a double click
// on a child's caption maximizes it over the whole client area and the parent's caption reads
// "Books - [Ledger 2]", and restoring it gives the parent its own caption back.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QRect>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/WindowManager.h"
#include "tests/TestUtil.h"

namespace {
// The slate skin's frame around the client area.
constexpr int kInsetLeft = 15, kInsetTop = 33, kInsetRight = 13, kInsetBottom = 23;

void Pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

QRect Extents(const QJsonObject& node) {
  const QJsonArray e = node.value(QStringLiteral("extents")).toArray();
  if (e.size() != 4) return QRect();
  return QRect(e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt());
}

bool IsWindowRole(const QJsonObject& node) {
  const QString role = node.value(QStringLiteral("role")).toString();
  return role == QLatin1String("frame") || role == QLatin1String("window");
}

void Xdotool(const QStringList& args) { RunProgram(QStringLiteral("xdotool"), args, DesktopEnvironment(), 30000); }

// Presses the left button at (x, y), moves by (dx, dy) in steps and lets it go.
void Drag(int x, int y, int dx, int dy, int steps = 10) {
  QStringList args{QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x),
                   QString::number(y),          QStringLiteral("sleep"),  QStringLiteral("0.2"),
                   QStringLiteral("mousedown"), QStringLiteral("1")};
  for (int i = 1; i <= steps; ++i)
    args << QStringLiteral("sleep") << QStringLiteral("0.05") << QStringLiteral("mousemove")
         << QString::number(x + dx * i / steps) << QString::number(y + dy * i / steps);
  args << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mouseup") << QStringLiteral("1");
  Xdotool(args);
}

void DoubleClick(int x, int y) {
  Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x), QString::number(y),
           QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("click"), QStringLiteral("--repeat"),
           QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
}

enum class TDesktop { Bare, Openbox };

std::string DesktopName(const ::testing::TestParamInfo<TDesktop>& info) {
  return info.param == TDesktop::Bare ? "BareServer" : "UnderOpenbox";
}

class Mdi : public ::testing::TestWithParam<TDesktop> {
 protected:
  void SetUp() override {
    if (GetParam() == TDesktop::Bare) {
      if (const auto wm = RunningWindowManager())
        GTEST_SKIP() << "the test display has a window manager of its own (" << wm->toStdString() << ")";
    } else {
      if (!TOpenbox::Installed()) GTEST_SKIP() << "openbox is not installed";
      if (const auto wm = RunningWindowManager())
        GTEST_SKIP() << "the test display has a window manager of its own (" << wm->toStdString() << ")";
      openbox = std::make_unique<TOpenbox>();
      ASSERT_TRUE(openbox->Start()) << "openbox did not take the display";
    }
    ASSERT_TRUE(bus.Ok());
    demo.setProcessEnvironment(bus.Environment(DesktopEnvironment()));
    demo.start(BinDir() + QStringLiteral("/mdidemo"), {SourceDir() + QStringLiteral("/skins/slate")});
    ASSERT_TRUE(demo.waitForStarted(10000));
    ASSERT_TRUE(Xdo::WaitForWindow(QStringLiteral("Books"), 60000, demo.processId()).has_value())
        << demo.readAllStandardError().toStdString();
  }
  void TearDown() override {
    if (demo.state() != QProcess::NotRunning) {
      demo.kill();
      demo.waitForFinished(10000);
    }
  }

  // The accessible tree once a node named `wanted` shows, and the window nodes in it.
  std::optional<QJsonObject> Tree(const QString& wanted) { return bus.Tree(demo.processId(), wanted, 80); }
  static std::optional<QJsonObject> Window(const QJsonObject& tree, const QString& name) {
    for (const QJsonObject& n : FindNodes(tree, [&](const QJsonObject& n) {
           return IsWindowRole(n) && n.value(QStringLiteral("name")).toString() == name;
         }))
      return n;
    return std::nullopt;
  }
  // The extents of window `name` once `done` holds for them (or the last ones seen).
  QRect WaitForExtents(const QString& name, const std::function<bool(const QRect&)>& done, int timeoutMs = 20000) {
    QElapsedTimer t;
    t.start();
    QRect last;
    do {
      if (const auto tree = Tree(name))
        if (const auto w = Window(*tree, name)) last = Extents(*w);
      if (!last.isEmpty() && done(last)) break;
      Pause(300);
    } while (t.elapsed() < timeoutMs);
    return last;
  }

  TAccessibilityBus bus;
  std::unique_ptr<TOpenbox> openbox;
  QProcess demo;
};

TEST_P(Mdi, ChildrenDragSnapMaximizeAndRestoreInsideTheParent) {
  const auto tree = Tree(QStringLiteral("Ledger 3"));
  ASSERT_TRUE(tree.has_value());
  const auto parent = Window(*tree, QStringLiteral("Books"));
  ASSERT_TRUE(parent.has_value()) << "no window named Books";
  const QRect p = Extents(*parent);
  ASSERT_EQ(p.size(), QSize(900, 640));
  // The MDI client area: the parent's client area (no bars in this program).
  const QRect area(p.x() + kInsetLeft, p.y() + kInsetTop, p.width() - kInsetLeft - kInsetRight,
                   p.height() - kInsetTop - kInsetBottom);
  for (int i = 1; i <= 3; ++i) {
    const auto child = Window(*tree, QStringLiteral("Ledger %1").arg(i));
    ASSERT_TRUE(child.has_value()) << "no window named Ledger " << i;
    EXPECT_EQ(Extents(*child), QRect(area.x() + 30 + 150 * (i - 1), area.y() + 30 + 60 * (i - 1), 360, 240)) << i;
  }
  SaveShot(Screenshot(), QStringLiteral("mdi-start"));

  // Drag the bottom child by its caption's uncovered left part.
  const QRect c1(area.x() + 30, area.y() + 30, 360, 240);
  Drag(c1.x() + 60, c1.y() + 10, 40, 25);
  QRect moved = WaitForExtents(QStringLiteral("Ledger 1"), [&](const QRect& r) { return r.topLeft() != c1.topLeft(); });
  EXPECT_EQ(moved, c1.translated(40, 25)) << SaveShot(Screenshot(), QStringLiteral("mdi-drag")).toStdString();
  // To 3 pixels off the area's left and top edges: the magnetic edges take it.
  Drag(moved.x() + 60, moved.y() + 10, area.x() + 3 - moved.x(), area.y() + 3 - moved.y());
  moved = WaitForExtents(QStringLiteral("Ledger 1"), [&](const QRect& r) { return r.topLeft() == area.topLeft(); });
  EXPECT_EQ(moved.topLeft(), area.topLeft()) << SaveShot(Screenshot(), QStringLiteral("mdi-snap")).toStdString();

  // A double click on the middle child's caption (the part the first child, now at the corner,
  // leaves uncovered) maximizes it over the client area.
  const QRect c2(area.x() + 180, area.y() + 90, 360, 240);
  DoubleClick(c2.x() + 250, c2.y() + 10);
  const auto joined = Tree(QStringLiteral("Books - [Ledger 2]"));
  ASSERT_TRUE(joined.has_value());
  EXPECT_TRUE(NodeNamed(*joined, QStringLiteral("Books - [Ledger 2]")).has_value())
      << SaveShot(Screenshot(), QStringLiteral("mdi-maximized")).toStdString();
  EXPECT_EQ(WaitForExtents(QStringLiteral("Ledger 2"), [&](const QRect& r) { return r == area; }), area);
  SaveShot(Screenshot(), QStringLiteral("mdi-maximized"));

  // Its restore button, pressed the way a screen reader does, brings back the parent's caption.
  ASSERT_TRUE(bus.DoAction(demo.processId(), QStringLiteral("Restore"), QStringLiteral("Press")));
  EXPECT_EQ(WaitForExtents(QStringLiteral("Ledger 2"), [&](const QRect& r) { return r == c2; }), c2);
  const auto back = Tree(QStringLiteral("Ledger 2"));
  ASSERT_TRUE(back.has_value());
  EXPECT_FALSE(NodeNamed(*back, QStringLiteral("Books - [Ledger 2]")).has_value());
  // The parent's caption object carries its own text again.
  EXPECT_FALSE(FindNodes(*back, [](const QJsonObject& n) {
                 return !IsWindowRole(n) && n.value(QStringLiteral("name")).toString() == QLatin1String("Books");
               }).empty());
  EXPECT_EQ(demo.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(Desktops, Mdi, ::testing::Values(TDesktop::Bare, TDesktop::Openbox), DesktopName);

}  // namespace
