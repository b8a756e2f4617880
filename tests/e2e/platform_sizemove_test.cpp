// The platform's own move/size loop on real windows: a frameless form hooked the way a frame
// component hooks it (caption band and borders from WM_NCHITTEST, snapping in WM_MOVING, a
// minimum size in WM_GETMINMAXINFO), dragged with the real pointer through xdotool, read back
// from the form and from the X server. The same cases run on the bare X server and under
// openbox. Application-wide minimize and restore run in both as well.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Forms.h"
#include "platform/SizeMoveLoop.h"
#include "support/Desktop.h"
#include "support/WindowManager.h"
#include "tests/TestUtil.h"

inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
inline std::ostream& operator<<(std::ostream& os, const TRect& r) {
  PrintTo(r, &os);
  return os;
}

namespace {

// The Qt application on the test display with the xcb platform, for the whole program.
class TDesktopApp : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("DISPLAY", TestDisplay().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    static char name[] = "platform_sizemove_test";
    static char* argv[] = {name, nullptr};
    static int argc = 1;
    app_ = std::make_unique<TApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<TApplication> app_;
};
[[maybe_unused]] ::testing::Environment* const kDesktopApp = ::testing::AddGlobalTestEnvironment(new TDesktopApp);

void Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }

// Pumps Qt events until `done` holds or `timeoutMs` runs out.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 15000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    Pump();
    QThread::msleep(5);
  }
  return true;
}

// Runs a tool on the test display to its end while our windows go on handling events.
QString Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessEnvironment(DesktopEnvironment());
  p.start(program, args);
  if (!p.waitForStarted(10000)) return QString();
  QElapsedTimer t;
  t.start();
  // The end may be seen while pumping, after which waitForFinished answers false: ask the state.
  while (p.state() != QProcess::NotRunning) {
    if (p.waitForFinished(5)) break;
    Pump();
    if (t.elapsed() > 20000) {
      p.kill();
      p.waitForFinished(2000);
      return QString();
    }
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

void Xdo(const QStringList& args) { Run(QStringLiteral("xdotool"), args); }
void PointerTo(int x, int y) { Xdo({"mousemove", "--sync", QString::number(x), QString::number(y)}); }
void ButtonDown() { Xdo({"mousedown", "1"}); }
void ButtonUp() { Xdo({"mouseup", "1"}); }

struct TXWindow {
  TRect Bounds;
  bool Viewable = false;
};

// What the X server says about a window: position on the screen, size, map state.
std::optional<TXWindow> XWindow(const QWidget* w) {
  const QString out = Run(QStringLiteral("xwininfo"), {"-id", QString::number(w->winId())});
  auto field = [&out](const char* name) -> std::optional<int> {
    const QRegularExpression re(QStringLiteral("%1:\\s*(-?\\d+)").arg(QRegularExpression::escape(QLatin1String(name))));
    const auto m = re.match(out);
    if (!m.hasMatch()) return std::nullopt;
    return m.captured(1).toInt();
  };
  const auto x = field("Absolute upper-left X"), y = field("Absolute upper-left Y");
  const auto width = field("Width"), height = field("Height");
  if (!x || !y || !width || !height) return std::nullopt;
  TXWindow r;
  r.Bounds = Bounds(*x, *y, *width, *height);
  r.Viewable = out.contains(QLatin1String("IsViewable"));
  return r;
}

// ICCCM state the window manager gave the window ("Normal", "Iconic"; empty without one).
QString WmState(const QWidget* w) {
  const QString out = Run(QStringLiteral("xprop"), {"-id", QString::number(w->winId()), "WM_STATE"});
  const auto m = QRegularExpression(QStringLiteral("window state:\\s*(\\w+)")).match(out);
  return m.hasMatch() ? m.captured(1) : QString();
}

// openbox started, and ready once it manages a window of ours: it names itself before it
// handles map requests, and may drop one made meanwhile.
bool StartOpenbox(TOpenbox& wm) {
  if (!wm.Start()) return false;
  QWidget probe;
  probe.setWindowTitle(QStringLiteral("openbox probe"));
  probe.setGeometry(10, 10, 50, 50);
  for (int attempt = 0; attempt < 10; ++attempt) {
    probe.show();
    if (WaitFor([&] { return WmState(&probe) == QLatin1String("Normal"); }, 3000)) return true;
    probe.hide();
    Pump();
  }
  return false;
}

constexpr int kBorder = 6;
constexpr int kCaption = 24;  // the caption band ends here (window coordinates)
constexpr int kSnap = 4;
constexpr int kMinWidth = 200, kMinHeight = 150;

struct TLogged {
  uint32_t Msg;
  intptr_t WParam;
  TRect Rect;  // the proposal as the platform made it (WM_MOVING, WM_SIZING)
};

// A frameless form with a frame drawn by "someone": the hook answers what a frame component
// would and logs the loop's messages.
class TProbeForm {
 public:
  explicit TProbeForm(const TRect& bounds, const QString& title = QStringLiteral("sizemove probe")) {
    Form = Application->CreateForm<TForm>();
    Form->SetPlatformFrame(false);
    Form->SetCaption(title);
    old_ = Form->WindowProc;
    Form->WindowProc = [this](TMessage& m) { Hook(m); };
    Form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    Form->Show();
  }
  ~TProbeForm() {
    if (Form) delete Form;
  }

  std::vector<uint32_t> LoopMessages() const {
    std::vector<uint32_t> r;
    for (const TLogged& l : Log) r.push_back(l.Msg);
    return r;
  }
  int Count(uint32_t msg) const {
    int n = 0;
    for (const TLogged& l : Log) n += l.Msg == msg ? 1 : 0;
    return n;
  }
  bool Entered() const { return Count(WM_ENTERSIZEMOVE) > 0; }
  bool Exited() const { return Count(WM_EXITSIZEMOVE) > 0; }

  TForm* Form = nullptr;
  std::vector<TLogged> Log;
  int ClientPresses = 0;

 private:
  void Hook(TMessage& m) {
    switch (m.Msg) {
      case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<TRect*>(m.LParam);
        *r = TRect(r->Left + kBorder, r->Top + kCaption, r->Right - kBorder, r->Bottom - kBorder);
        return;
      }
      case WM_NCHITTEST: {
        const QPoint p = Form->Handle()->mapFromGlobal(QPoint(LParamX(m.LParam), LParamY(m.LParam)));
        const int w = Form->Width(), h = Form->Height();
        const bool l = p.x() < kBorder, r = p.x() >= w - kBorder, t = p.y() < kBorder, b = p.y() >= h - kBorder;
        m.Result = t && l             ? HTTOPLEFT
                   : t && r           ? HTTOPRIGHT
                   : b && l           ? HTBOTTOMLEFT
                   : b && r           ? HTBOTTOMRIGHT
                   : l                ? HTLEFT
                   : r                ? HTRIGHT
                   : t                ? HTTOP
                   : b                ? HTBOTTOM
                   : p.y() < kCaption ? HTCAPTION
                                      : HTCLIENT;
        return;
      }
      case WM_GETMINMAXINFO: {
        old_(m);
        reinterpret_cast<TMinMaxInfo*>(m.LParam)->MinTrackSize = TPoint(kMinWidth, kMinHeight);
        return;
      }
      case WM_MOVING: {
        auto* r = reinterpret_cast<TRect*>(m.LParam);
        Log.push_back({m.Msg, m.WParam, *r});
        if (std::abs(r->Left) <= kSnap) *r = TRect(0, r->Top, r->Width(), r->Bottom);
        return;
      }
      case WM_SIZING:
        Log.push_back({m.Msg, m.WParam, *reinterpret_cast<TRect*>(m.LParam)});
        break;
      case WM_ENTERSIZEMOVE:
      case WM_EXITSIZEMOVE:
        Log.push_back({m.Msg, m.WParam, TRect()});
        break;
      case WM_LBUTTONDOWN:
        ++ClientPresses;
        break;
      default:
        break;
    }
    old_(m);
  }

  TWndMethod old_;
};

// The window shown and where the form says it is, by the X server too.
::testing::AssertionResult Settled(TProbeForm& p, const TRect& expected) {
  std::optional<TXWindow> x;
  const bool ok = WaitFor([&] {
    x = XWindow(p.Form->Handle());
    return x && x->Viewable && x->Bounds == expected && p.Form->BoundsRect() == expected;
  });
  if (ok) return ::testing::AssertionSuccess();
  auto f = ::testing::AssertionFailure() << "expected " << expected << ", form " << p.Form->BoundsRect() << ", X ";
  if (x)
    f << x->Bounds << (x->Viewable ? " viewable" : " not viewable");
  else
    f << "(no answer)";
  return f;
}

// No grab left behind: Qt has none, and a click on another window reaches that window.
::testing::AssertionResult NoGrab(TProbeForm& other) {
  if (QWidget::mouseGrabber()) return ::testing::AssertionFailure() << "a widget still grabs the pointer";
  if (QWidget::keyboardGrabber()) return ::testing::AssertionFailure() << "a widget still grabs the keyboard";
  if (SizeMoveLoop::ActiveForm()) return ::testing::AssertionFailure() << "the loop still runs";
  const int before = other.ClientPresses;
  const TRect b = other.Form->BoundsRect();
  PointerTo(b.Left + b.Width() / 2, b.Top + b.Height() / 2);
  Xdo({"click", "1"});
  if (!WaitFor([&] { return other.ClientPresses > before; }, 10000))
    return ::testing::AssertionFailure() << "a click on another window did not reach it";
  return ::testing::AssertionSuccess();
}

// One drag with the left button: press at `from`, then the pointer through `path`; the
// button stays down (the caller releases it).
void DragTo(TProbeForm& p, const QPoint& from, const std::vector<QPoint>& path) {
  PointerTo(from.x(), from.y());
  ButtonDown();
  ASSERT_TRUE(WaitFor([&] { return p.Entered(); })) << "the press did not start the loop";
  for (const QPoint& q : path) PointerTo(q.x(), q.y());
}

void ExpectBracketed(const TProbeForm& p, uint32_t middle) {
  const std::vector<uint32_t> msgs = p.LoopMessages();
  ASSERT_GE(msgs.size(), 3u);
  EXPECT_EQ(msgs.front(), WM_ENTERSIZEMOVE);
  EXPECT_EQ(msgs.back(), WM_EXITSIZEMOVE);
  EXPECT_EQ(p.Count(WM_ENTERSIZEMOVE), 1);
  EXPECT_EQ(p.Count(WM_EXITSIZEMOVE), 1);
  EXPECT_GE(p.Count(middle), 1);
  EXPECT_EQ(p.Count(middle == WM_MOVING ? WM_SIZING : WM_MOVING), 0);
}

// A failed case may leave the button down: let it go whatever happens.
struct TButtonGuard {
  ~TButtonGuard() { ButtonUp(); }
};

void RunLoopCases() {
  TButtonGuard guard;
  TProbeForm other(Bounds(1300, 700, 300, 200), QStringLiteral("sizemove other"));
  ASSERT_TRUE(Settled(other, Bounds(1300, 700, 300, 200)));
  TProbeForm p(Bounds(300, 200, 400, 300));
  const TRect start = Bounds(300, 200, 400, 300);
  ASSERT_TRUE(Settled(p, start));

  {
    SCOPED_TRACE("caption drag moves by the pointer's travel");
    DragTo(p, QPoint(400, 212), {QPoint(440, 240), QPoint(480, 270), QPoint(520, 292)});
    const TRect moved = Bounds(420, 280, 400, 300);
    EXPECT_TRUE(Settled(p, moved));
    EXPECT_EQ(p.Count(WM_EXITSIZEMOVE), 0) << "the loop ended before the release";
    ButtonUp();
    ASSERT_TRUE(WaitFor([&] { return p.Exited(); }));
    EXPECT_TRUE(Settled(p, moved));
    ExpectBracketed(p, WM_MOVING);
    for (const TLogged& l : p.Log)
      if (l.Msg == WM_MOVING) EXPECT_TRUE(l.Rect.Width() == 400 && l.Rect.Height() == 300) << "resized: " << l.Rect;
    EXPECT_TRUE(NoGrab(other));
    p.Log.clear();
  }
  {
    SCOPED_TRACE("the window procedure's change to WM_MOVING is what the window takes");
    // The window is at (420, 280): the travel proposes a left of 3, which the hook snaps to 0.
    DragTo(p, QPoint(500, 290), {QPoint(300, 300), QPoint(83, 310)});
    ButtonUp();
    ASSERT_TRUE(WaitFor([&] { return p.Exited(); }));
    ASSERT_FALSE(p.Log.empty());
    const TLogged& last = p.Log[p.Log.size() - 2];
    ASSERT_EQ(last.Msg, WM_MOVING);
    EXPECT_EQ(last.Rect, Bounds(3, 300, 400, 300)) << "the proposal before the hook changed it";
    EXPECT_TRUE(Settled(p, Bounds(0, 300, 400, 300)));
    ExpectBracketed(p, WM_MOVING);
    EXPECT_TRUE(NoGrab(other));
    p.Log.clear();
  }
  p.Form->SetBounds(start.Left, start.Top, start.Width(), start.Height());
  ASSERT_TRUE(Settled(p, start));
  {
    SCOPED_TRACE("bottom-right drag sizes, the pointer running ahead outside the window");
    DragTo(p, QPoint(start.Right - 2, start.Bottom - 2),
           {QPoint(start.Right + 60, start.Bottom + 40), QPoint(start.Right + 148, start.Bottom + 98)});
    ButtonUp();
    ASSERT_TRUE(WaitFor([&] { return p.Exited(); }));
    EXPECT_TRUE(Settled(p, Bounds(300, 200, 550, 400)));
    EXPECT_EQ(p.Form->ClientWidth(), 550 - 2 * kBorder);
    EXPECT_EQ(p.Form->ClientHeight(), 400 - kCaption - kBorder);
    ExpectBracketed(p, WM_SIZING);
    for (const TLogged& l : p.Log)
      if (l.Msg == WM_SIZING) {
        EXPECT_EQ(l.WParam, WMSZ_BOTTOMRIGHT);
        EXPECT_TRUE(l.Rect.Left == 300 && l.Rect.Top == 200) << "the top-left corner moved: " << l.Rect;
      }
    EXPECT_TRUE(NoGrab(other));
    p.Log.clear();
  }
  {
    SCOPED_TRACE("the minimum tracking size holds, the top-left corner stays");
    DragTo(p, QPoint(300 + 550 - 2, 200 + 400 - 2), {QPoint(600, 500), QPoint(320, 215)});
    ButtonUp();
    ASSERT_TRUE(WaitFor([&] { return p.Exited(); }));
    EXPECT_TRUE(Settled(p, Bounds(300, 200, kMinWidth, kMinHeight)));
    for (const TLogged& l : p.Log)
      if (l.Msg == WM_SIZING)
        EXPECT_TRUE(l.Rect.Width() >= kMinWidth && l.Rect.Height() >= kMinHeight) << "not clamped: " << l.Rect;
    ExpectBracketed(p, WM_SIZING);
    EXPECT_TRUE(NoGrab(other));
    p.Log.clear();
  }
  p.Form->SetBounds(start.Left, start.Top, start.Width(), start.Height());
  ASSERT_TRUE(Settled(p, start));
  {
    SCOPED_TRACE("top-left drag past the minimum keeps the bottom-right corner");
    DragTo(p, QPoint(start.Left + 2, start.Top + 2), {QPoint(500, 400), QPoint(start.Right - 10, start.Bottom - 10)});
    ButtonUp();
    ASSERT_TRUE(WaitFor([&] { return p.Exited(); }));
    EXPECT_TRUE(Settled(p, TRect(start.Right - kMinWidth, start.Bottom - kMinHeight, start.Right, start.Bottom)));
    for (const TLogged& l : p.Log)
      if (l.Msg == WM_SIZING) EXPECT_EQ(l.WParam, WMSZ_TOPLEFT);
    EXPECT_TRUE(NoGrab(other));
    p.Log.clear();
  }
  p.Form->SetBounds(start.Left, start.Top, start.Width(), start.Height());
  ASSERT_TRUE(Settled(p, start));
  {
    SCOPED_TRACE("Escape puts the window back and ends the loop with the button still down");
    DragTo(p, QPoint(400, 212), {QPoint(450, 250), QPoint(470, 262)});
    EXPECT_TRUE(Settled(p, Bounds(370, 250, 400, 300)));
    Xdo({"key", "Escape"});
    ASSERT_TRUE(WaitFor([&] { return p.Exited(); }));
    EXPECT_TRUE(Settled(p, start));
    ButtonUp();
    ExpectBracketed(p, WM_MOVING);
    EXPECT_TRUE(Settled(p, start));
    EXPECT_TRUE(NoGrab(other));
    p.Log.clear();
  }
  {
    SCOPED_TRACE("hiding the window ends the loop");
    DragTo(p, QPoint(400, 212), {QPoint(420, 230)});
    p.Form->Hide();
    ASSERT_TRUE(WaitFor([&] { return p.Exited(); }));
    ButtonUp();
    EXPECT_EQ(p.LoopMessages().back(), WM_EXITSIZEMOVE);
    EXPECT_TRUE(NoGrab(other));
    p.Form->Show();
    p.Log.clear();
  }
  {
    SCOPED_TRACE("destroying the form ends the loop");
    auto gone = std::make_unique<TProbeForm>(Bounds(600, 150, 300, 200));
    ASSERT_TRUE(Settled(*gone, Bounds(600, 150, 300, 200)));
    DragTo(*gone, QPoint(700, 162), {QPoint(720, 180)});
    std::vector<uint32_t> seen;
    gone->Form->OnDestroy = [&](TComponent*) { seen = gone->LoopMessages(); };
    delete gone->Form;
    gone->Form = nullptr;
    ButtonUp();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), WM_EXITSIZEMOVE) << "WM_EXITSIZEMOVE came not before the form went";
    EXPECT_TRUE(NoGrab(other));
  }
}

void RunMinimizeCases(bool windowManager) {
  TProbeForm a(Bounds(100, 100, 300, 200), QStringLiteral("minimize a"));
  TProbeForm b(Bounds(500, 100, 300, 200), QStringLiteral("minimize b"));
  TProbeForm hidden(Bounds(900, 100, 300, 200), QStringLiteral("minimize hidden"));
  ASSERT_TRUE(Settled(a, Bounds(100, 100, 300, 200)));
  ASSERT_TRUE(Settled(b, Bounds(500, 100, 300, 200)));
  hidden.Form->Hide();
  int minimized = 0, restored = 0;
  Application->OnMinimize = [&](TComponent* s) { minimized += s == Application ? 1 : 100; };
  Application->OnRestore = [&](TComponent* s) { restored += s == Application ? 1 : 100; };

  EXPECT_FALSE(Application->Minimized());
  Application->Minimize();
  Application->Minimize();  // already minimized: nothing more
  EXPECT_EQ(minimized, 1);
  EXPECT_TRUE(Application->Minimized());
  for (TProbeForm* f : {&a, &b}) {
    EXPECT_EQ(f->Form->WindowState(), TWindowState::wsMinimized);
    EXPECT_TRUE(f->Form->Handle()->windowState() & Qt::WindowMinimized);
    if (windowManager) {
      EXPECT_TRUE(WaitFor([&] { return WmState(f->Form->Handle()) == QLatin1String("Iconic"); }))
          << "the window manager did not iconify " << f->Form->Caption().toStdString();
      EXPECT_TRUE(WaitFor([&] { return XWindow(f->Form->Handle()) && !XWindow(f->Form->Handle())->Viewable; }));
    }
  }
  EXPECT_FALSE(hidden.Form->Visible());
  EXPECT_FALSE(hidden.Form->Handle()->isVisible());

  Application->Restore();
  Application->Restore();
  EXPECT_EQ(restored, 1);
  EXPECT_FALSE(Application->Minimized());
  for (TProbeForm* f : {&a, &b}) {
    EXPECT_EQ(f->Form->WindowState(), TWindowState::wsNormal);
    EXPECT_FALSE(f->Form->Handle()->windowState() & Qt::WindowMinimized);
    if (windowManager) EXPECT_TRUE(WaitFor([&] { return WmState(f->Form->Handle()) == QLatin1String("Normal"); }));
  }
  EXPECT_TRUE(Settled(a, Bounds(100, 100, 300, 200)));
  EXPECT_TRUE(Settled(b, Bounds(500, 100, 300, 200)));
  EXPECT_FALSE(hidden.Form->Handle()->isVisible()) << "Restore showed a form that was hidden";
  Application->OnMinimize.Clear();
  Application->OnRestore.Clear();
}
}  // namespace

TEST(PlatformSizeMove, BareServer) {
  if (RunningWindowManager()) GTEST_SKIP() << "a window manager runs on " << TestDisplay().toStdString();
  RunLoopCases();
  RunMinimizeCases(false);
}

TEST(PlatformSizeMove, UnderOpenbox) {
  if (!TOpenbox::Installed()) GTEST_SKIP() << "openbox is not installed";
  TOpenbox wm;
  ASSERT_TRUE(StartOpenbox(wm)) << "openbox did not start (or another window manager runs)";
  RunLoopCases();
  RunMinimizeCases(true);
}
