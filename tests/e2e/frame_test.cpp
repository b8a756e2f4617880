// The skinned frame of the real viewer's window under X, on a bare server and under openbox:
// the window's shape cut from the skin's mask, no window-manager decorations, the caption and
// the whole frame as skintool draws them for the same size, moving by the caption and sizing
// by the bottom-right corner through the frame's own loop, the close button, and the frame's
// buttons as a screen reader sees them.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <functional>
#include <optional>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/ViewerSite.h"
#include "support/WindowManager.h"
#include "tests/ChangeLogDatabase.h"
#include "tests/TestUtil.h"

namespace {
const QString kCaption = QStringLiteral("傳票資料異動紀錄");
// The slate skin's frame around the client area (its picture's client rectangle
// 15,33 - 163,124 in a picture of 176 x 147).
constexpr int kInsetLeft = 15, kInsetTop = 33, kInsetRight = 13, kInsetBottom = 23;
// The smallest window with this skin: the picture's width and its height less the client area.
constexpr int kMinWidth = 176, kMinHeight = 56;
// The root background these tests give the display: it shows wherever the window is not.
const QRgb kRootColour = qRgb(255, 0, 255);
constexpr int kWaitMs = 20000;

QString SkinFolder() { return SourceDir() + QStringLiteral("/skins/slate"); }

TRunResult RunOnDisplay(const QString& program, const QStringList& args, int timeoutMs = 20000) {
  return RunProgram(program, args, DesktopEnvironment(), timeoutMs);
}

void Pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

// ---- X windows as xwininfo and xprop tell them ----

struct TXWindow {
  int X = 0, Y = 0;        // absolute upper-left corner
  int RelX = 0, RelY = 0;  // relative to the parent
  int Width = 0, Height = 0;
  int Border = -1;
  bool Shaped = false;  // a bounding shape is set
  QString Parent;       // the parent's id, as xwininfo prints it
  bool ParentIsRoot = false;
  QRect Rect() const { return QRect(X, Y, Width, Height); }
};

std::optional<TXWindow> WindowInfo(const QString& id) {
  const TRunResult r = RunOnDisplay(QStringLiteral("xwininfo"), {QStringLiteral("-shape"), QStringLiteral("-id"), id});
  if (!r.Finished || r.ExitCode != 0) return std::nullopt;
  const TRunResult tree =
      RunOnDisplay(QStringLiteral("xwininfo"), {QStringLiteral("-tree"), QStringLiteral("-id"), id});
  TXWindow w;
  int found = 0;
  for (const QString& raw : r.Out.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    const QString key = line.section(QLatin1Char(':'), 0, 0).trimmed();
    const QString value = line.section(QLatin1Char(':'), 1).trimmed();
    bool ok = false;
    const int n = value.toInt(&ok);
    if (key == QLatin1String("Absolute upper-left X") && ok) w.X = n, ++found;
    if (key == QLatin1String("Absolute upper-left Y") && ok) w.Y = n, ++found;
    if (key == QLatin1String("Relative upper-left X") && ok) w.RelX = n, ++found;
    if (key == QLatin1String("Relative upper-left Y") && ok) w.RelY = n, ++found;
    if (key == QLatin1String("Width") && ok) w.Width = n, ++found;
    if (key == QLatin1String("Height") && ok) w.Height = n, ++found;
    if (key == QLatin1String("Border width") && ok) w.Border = n;
    // xwininfo names the bounding shape "Window shape" or "Bounding shape" by version.
    if (key == QLatin1String("Window shape extents") || key == QLatin1String("Bounding shape extents")) w.Shaped = true;
  }
  for (const QString& raw : tree.Out.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (!line.startsWith(QLatin1String("Parent window id:"))) continue;
    w.Parent = line.section(QLatin1Char(':'), 1).trimmed().section(QLatin1Char(' '), 0, 0);
    w.ParentIsRoot = line.contains(QLatin1String("(the root window)"));
  }
  if (found < 6) return std::nullopt;
  return w;
}

// The value of property `name` of window `id` ("-root" for the root), or nothing when it is not set.
std::optional<QString> Property(const QString& id, const QString& name) {
  const QStringList target = id == QLatin1String("-root") ? QStringList{id} : QStringList{QStringLiteral("-id"), id};
  const TRunResult r = RunOnDisplay(QStringLiteral("xprop"), target + QStringList{name});
  if (!r.Finished || r.ExitCode != 0) return std::nullopt;
  const QString out = r.Out.trimmed();
  if (out.contains(QLatin1String("not found")) || out.contains(QLatin1String("no such atom"))) return std::nullopt;
  // "NAME(TYPE) = v1, v2" or "NAME(WINDOW): window id # 0x..."
  const qsizetype eq = out.indexOf(QLatin1String(" = "));
  if (eq >= 0) return out.mid(eq + 3).trimmed();
  const qsizetype hash = out.indexOf(QLatin1String("# "));
  if (hash >= 0) return out.mid(hash + 2).trimmed();
  return out;
}

QList<long> Numbers(const QString& list) {
  QList<long> out;
  for (const QString& part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) out << part.trimmed().toLong(nullptr, 0);
  return out;
}

// The window that has the input focus (xdotool prints it in decimal).
qulonglong FocusWindow() {
  const TRunResult r = RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
  return r.Out.trimmed().toULongLong(nullptr, 0);
}

// ---- The skin as skintool draws it ----

// The skin description's sections and keys, keys in lower case.
QMap<QString, QMap<QString, QString>> ReadSkinDescription() {
  QMap<QString, QMap<QString, QString>> out;
  QFile f(SkinFolder() + QStringLiteral("/SKIN.INI"));
  if (!f.open(QIODevice::ReadOnly)) return out;
  QString section;
  for (const QString& raw : QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      section = line.mid(1, line.size() - 2).toLower();
    } else if (line.contains(QLatin1Char('='))) {
      out[section][line.section(QLatin1Char('='), 0, 0).trimmed().toLower()] =
          line.section(QLatin1Char('='), 1).trimmed();
    }
  }
  return out;
}

// The colour of the active caption's text: the skin stores colours as 0x00BBGGRR.
std::optional<QRgb> ActiveCaptionTextColour() {
  const auto skin = ReadSkinDescription();
  for (const QString& object : skin.value(QStringLiteral("skinobjects"))) {
    if (object.section(QLatin1Char(':'), 1).trimmed() != QLatin1String("caption")) continue;
    const auto caption = skin.value(object.section(QLatin1Char(':'), 0, 0).trimmed().toLower());
    bool ok = false;
    const uint c = caption.value(QStringLiteral("activefontcolor")).toUInt(&ok);
    if (ok)
      return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
  }
  return std::nullopt;
}

// skintool's picture of the frame of a window of `size` (the client area and what lies outside
// the shape transparent), of a maximized window when `maximized`; a null image when skintool
// failed.
QImage SkintoolFrame(const QSize& size, const std::optional<QString>& caption, QString* error, bool maximized) {
  QTemporaryDir dir;
  const QString out = dir.path() + QStringLiteral("/frame.png");
  QStringList args{QStringLiteral("frame"), SkinFolder(), QString::number(size.width()), QString::number(size.height()),
                   out};
  if (caption) args << QStringLiteral("--caption") << *caption;
  if (maximized) args << QStringLiteral("--maximized");
  const TRunResult r =
      RunProgram(BinDir() + QStringLiteral("/skintool"), args, QProcessEnvironment::systemEnvironment(), 60000);
  if (!r.Finished || r.ExitCode != 0) {
    if (error)
      *error = QStringLiteral("skintool %1: exit %2: %3").arg(args.join(QLatin1Char(' '))).arg(r.ExitCode).arg(r.Err);
    return QImage();
  }
  return QImage(out).convertToFormat(QImage::Format_ARGB32);
}

QRect ClientRect(const QSize& s) {
  return QRect(kInsetLeft, kInsetTop, s.width() - kInsetLeft - kInsetRight, s.height() - kInsetTop - kInsetBottom);
}

// ---- Pixel comparisons (window coordinates) ----

struct TFrameComparison {
  int Compared = 0;   // opaque frame pixels of the picture
  int Different = 0;  // of those, the ones the screen shows otherwise
  QRect DiffBounds;
  QImage Diff;  // red where they differ, the picture dimmed elsewhere
};

// The screen's `actual` against skintool's `expected` on every opaque pixel outside the client
// rectangle and inside `area` (the whole window when empty).
TFrameComparison CompareFrame(const QImage& actual, const QImage& expected, QRect area = QRect()) {
  TFrameComparison c;
  if (area.isEmpty()) area = expected.rect();
  const QRect client = ClientRect(expected.size());
  c.Diff = QImage(expected.size(), QImage::Format_RGB32);
  c.Diff.fill(Qt::black);
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      const QRgb e = expected.pixel(x, y);
      if (qAlpha(e) != 255 || client.contains(x, y)) continue;
      c.Diff.setPixel(x, y, qRgb(qRed(e) / 3, qGreen(e) / 3, qBlue(e) / 3));
      if (!area.contains(x, y)) continue;
      ++c.Compared;
      const bool same = x < actual.width() && y < actual.height() && (actual.pixel(x, y) & 0xFFFFFF) == (e & 0xFFFFFF);
      if (same) continue;
      ++c.Different;
      c.DiffBounds |= QRect(x, y, 1, 1);
      c.Diff.setPixel(x, y, qRgb(255, 0, 0));
    }
  }
  return c;
}

struct TShapeCheck {
  int Outside = 0;      // pixels outside the shape (transparent in skintool's picture, not client)
  int NotRoot = 0;      // of those, pixels where the screen does not show the root background
  QPoint FirstNotRoot;  // the first such pixel
};

TShapeCheck CheckShape(const QImage& actual, const QImage& expected) {
  TShapeCheck s;
  const QRect client = ClientRect(expected.size());
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x) {
      if (qAlpha(expected.pixel(x, y)) != 0 || client.contains(x, y)) continue;
      ++s.Outside;
      if ((actual.pixel(x, y) & 0xFFFFFF) == (kRootColour & 0xFFFFFF)) continue;
      if (s.NotRoot++ == 0) s.FirstNotRoot = QPoint(x, y);
    }
  return s;
}

bool NearColour(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// True when the caption band of the window's picture has more than one colour.
bool CaptionBandPainted(const QImage& window) {
  if (window.width() < kMinWidth || window.height() < kInsetTop) return false;
  const QRgb first = window.pixel(window.width() / 2, 2);
  for (int y = 0; y < kInsetTop; ++y)
    for (int x = kInsetLeft; x < window.width() - kInsetRight; x += 3)
      if (window.pixel(x, y) != first) return true;
  return false;
}

void SaveComparison(const QString& name, const QImage& actual, const QImage& expected, const QImage& diff) {
  SaveShot(actual, name + QStringLiteral("-actual"));
  SaveShot(expected, name + QStringLiteral("-expected"));
  if (!diff.isNull()) SaveShot(diff, name + QStringLiteral("-diff"));
}

// Presses the left button at (x, y), moves by (dx, dy) in `steps` steps and lets it go.
void Drag(int x, int y, int dx, int dy, int steps = 10) {
  QStringList args{QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x),
                   QString::number(y),          QStringLiteral("sleep"),  QStringLiteral("0.2"),
                   QStringLiteral("mousedown"), QStringLiteral("1")};
  for (int i = 1; i <= steps; ++i)
    args << QStringLiteral("sleep") << QStringLiteral("0.05") << QStringLiteral("mousemove")
         << QString::number(x + dx * i / steps) << QString::number(y + dy * i / steps);
  args << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mouseup") << QStringLiteral("1");
  RunOnDisplay(QStringLiteral("xdotool"), args);
}

// The window's geometry once `done` holds for it (or the last one seen when the time ran out).
std::optional<TXWindow> WaitForGeometry(const QString& id, const std::function<bool(const TXWindow&)>& done,
                                        int timeoutMs = 10000) {
  QElapsedTimer t;
  t.start();
  std::optional<TXWindow> w;
  do {
    w = WindowInfo(id);
    if (w && done(*w)) return w;
    Pause(200);
  } while (t.elapsed() < timeoutMs);
  return w;
}

std::string Describe(const std::optional<TXWindow>& w) {
  if (!w) return "no window";
  return QStringLiteral("%1x%2+%3+%4").arg(w->Width).arg(w->Height).arg(w->X).arg(w->Y).toStdString();
}

enum class TDesktop { Bare, Openbox };

std::string DesktopName(const ::testing::TestParamInfo<TDesktop>& info) {
  return info.param == TDesktop::Bare ? "BareServer" : "UnderOpenbox";
}

class FrameBase {
 protected:
  // A database of our own for the site, and the root background the shape checks look for.
  void Prepare() {
    ASSERT_TRUE(site.Ok());
    database = dbDir.path() + QStringLiteral("/t.fdb");
    const QString err = MakeTestDatabase(database);
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    site.UseDatabase(database);
    const TRunResult root =
        RunOnDisplay(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), QStringLiteral("#ff00ff")});
    ASSERT_TRUE(root.Finished && root.ExitCode == 0) << root.Err.toStdString();
  }

  // Starts openbox for an openbox case, or makes sure no window manager runs for a bare one.
  void EnterDesktop(TDesktop desktop) {
    if (desktop == TDesktop::Bare) {
      if (const auto wm = RunningWindowManager())
        GTEST_SKIP() << "the test display has a window manager of its own (" << wm->toStdString() << ")";
      return;
    }
    if (!TOpenbox::Installed()) GTEST_SKIP() << "openbox is not installed";
    if (const auto wm = RunningWindowManager())
      GTEST_SKIP() << "the test display has a window manager of its own (" << wm->toStdString() << ")";
    openbox = std::make_unique<TOpenbox>();
    ASSERT_TRUE(openbox->Start()) << "openbox did not take the display";
  }

  // Starts the viewer, waits for its window to fill the screen with its caption painted, and
  // makes it the active window (a click on an empty part of the panel above the grids).
  void OpenViewer(const QProcessEnvironment& env) {
    run = std::make_unique<TViewerRun>(site, QStringList{QStringLiteral("A001")}, env);
    const auto id = run->WaitForWindow(kCaption, 60000);
    ASSERT_TRUE(id.has_value()) << run->StandardError().toStdString();
    window = *id;
    const auto screen = Xdo::DisplaySize();
    ASSERT_TRUE(screen.has_value());
    const auto w = WaitForGeometry(
        window,
        [&](const TXWindow& g) {
          return g.X == 0 && g.Y == 0 && g.Width == screen->width() && g.Height == screen->height();
        },
        kWaitMs);
    ASSERT_TRUE(w.has_value());
    ASSERT_EQ(QRect(w->X, w->Y, w->Width, w->Height), QRect(QPoint(0, 0), *screen))
        << "the window does not fill the work area";
    geometry = *w;
    QElapsedTimer t;
    t.start();
    QImage shot;
    do {
      shot = Screenshot().copy(geometry.Rect());
      if (CaptionBandPainted(shot)) break;
      Pause(300);
    } while (t.elapsed() < kWaitMs);
    ASSERT_TRUE(CaptionBandPainted(shot))
        << "the caption band stays unpainted: " << SaveShot(shot, "frame-unpainted").toStdString();
    Activate();
  }

  // A click on the panel's empty right part gives the window the focus.
  void Activate() {
    Xdo::ClickAt(geometry.X + geometry.Width - 2 * kMinWidth, geometry.Y + kInsetTop + 40);
    QElapsedTimer t;
    t.start();
    const qulonglong id = window.toULongLong(nullptr, 0);
    while (FocusWindow() != id && t.elapsed() < kWaitMs) Pause(200);
    ASSERT_EQ(FocusWindow(), id) << "the viewer's window did not take the focus";
  }

  // The viewer starts maximized: a double click on its caption restores it to its stored
  // bounds, which are narrower than the screen.
  void Restore() {
    const TXWindow maximized = geometry;
    RunOnDisplay(QStringLiteral("xdotool"),
                 {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(geometry.X + geometry.Width / 4),
                  QString::number(geometry.Y + 10), QStringLiteral("sleep"), QStringLiteral("0.2"),
                  QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                  QStringLiteral("80"), QStringLiteral("1")});
    const auto w = WaitForGeometry(window, [&](const TXWindow& g) { return g.Width > 0 && g.Width < maximized.Width; });
    ASSERT_TRUE(w.has_value());
    ASSERT_LT(w->Width, maximized.Width) << "the caption's double click did not restore the window";
    // The size and the place may arrive one after the other: wait until the window rests.
    std::optional<TXWindow> last = w;
    for (int i = 0; i < 20; ++i) {
      Pause(300);
      const auto now = WindowInfo(window);
      if (now && last && now->Rect() == last->Rect()) break;
      last = now;
    }
    ASSERT_TRUE(last.has_value());
    geometry = *last;
  }

  // Polls screenshots of the window until its frame equals skintool's picture `expected` (the
  // window repaints after activation and after a size change), then checks it once more and
  // saves the pictures under `name` when it differs.
  void ExpectFrameAsSkintool(const QImage& expected, const QString& name, QRect area = QRect()) {
    QElapsedTimer t;
    t.start();
    QImage actual;
    TFrameComparison c;
    do {
      actual = Screenshot().copy(geometry.Rect());
      c = CompareFrame(actual, expected, area);
      if (c.Different == 0) break;
      Pause(300);
    } while (t.elapsed() < kWaitMs);
    EXPECT_GT(c.Compared, 0);
    EXPECT_EQ(c.Different, 0) << c.Different << " of " << c.Compared << " frame pixels differ, within "
                              << c.DiffBounds.x() << "," << c.DiffBounds.y() << " " << c.DiffBounds.width() << "x"
                              << c.DiffBounds.height() << " (pictures saved as " << name.toStdString() << "-*)";
    if (c.Different != 0) SaveComparison(name, actual, expected, c.Diff);
  }

  // skintool's frame; the viewer starts maximized (its frame shows the restore looks).
  QImage Expected(const QSize& size, const std::optional<QString>& caption, bool maximized = false) {
    QString err;
    const QImage img = SkintoolFrame(size, caption, &err, maximized);
    EXPECT_FALSE(img.isNull()) << err.toStdString();
    return img;
  }

  QTemporaryDir dbDir;
  QString database;
  TViewerSite site;
  // Torn down in reverse: the viewer first, then openbox.
  std::unique_ptr<TOpenbox> openbox;
  std::unique_ptr<TViewerRun> run;
  QString window;
  TXWindow geometry;
};

class Frame : public FrameBase, public ::testing::TestWithParam<TDesktop> {
 protected:
  void SetUp() override {
    Prepare();
    if (HasFatalFailure()) return;
    EnterDesktop(GetParam());
  }
  void TearDown() override {
    run.reset();
    openbox.reset();
  }
  QString Tag(const QString& what) const {
    return QStringLiteral("frame-%1-%2").arg(GetParam() == TDesktop::Bare ? "bare" : "openbox", what);
  }
};

class FrameBare : public FrameBase, public ::testing::Test {
 protected:
  void SetUp() override {
    Prepare();
    if (HasFatalFailure()) return;
    EnterDesktop(TDesktop::Bare);
  }
  void TearDown() override { run.reset(); }
};
}  // namespace

// The window's shape, its undecorated state under a window manager, the caption and the whole
// frame against skintool's picture of a window of the same size.
TEST_P(Frame, IsShapedUndecoratedAndDrawnAsSkintoolDrawsIt) {
  OpenViewer(DesktopEnvironment());
  if (HasFatalFailure()) return;
  const QSize size(geometry.Width, geometry.Height);
  const QImage expected = Expected(size, kCaption, true);
  const QImage noCaption = Expected(size, std::nullopt, true);
  ASSERT_FALSE(expected.isNull());
  ASSERT_FALSE(noCaption.isNull());

  // Shape: the server holds a bounding shape for the window, and the screen shows the root
  // background wherever skintool's picture is outside the shape (the corners, at least).
  const auto info = WindowInfo(window);
  ASSERT_TRUE(info.has_value());
  EXPECT_TRUE(info->Shaped) << "the window has no bounding shape";
  EXPECT_EQ(qAlpha(expected.pixel(0, 0)), 0) << "the skin's mask leaves the top-left corner in the window";
  {
    const QImage actual = Screenshot().copy(geometry.Rect());
    const TShapeCheck s = CheckShape(actual, expected);
    EXPECT_GT(s.Outside, 0) << "skintool's picture is a full rectangle";
    EXPECT_EQ(s.NotRoot, 0) << s.NotRoot << " of " << s.Outside
                            << " pixels outside the shape show the window, the first at " << s.FirstNotRoot.x() << ","
                            << s.FirstNotRoot.y();
    EXPECT_EQ(actual.pixel(0, 0) & 0xFFFFFF, kRootColour & 0xFFFFFF) << "the top-left corner is not cut away";
    if (s.NotRoot != 0) SaveComparison(Tag(QStringLiteral("shape")), actual, expected, QImage());
  }

  // No frame of the window manager: it asks for no decorations, and under openbox, which
  // manages it, the frame openbox keeps around it is exactly the window.
  const auto motif = Property(window, QStringLiteral("_MOTIF_WM_HINTS"));
  ASSERT_TRUE(motif.has_value()) << "no _MOTIF_WM_HINTS";
  const QList<long> hints = Numbers(*motif);
  ASSERT_GE(hints.size(), 3);
  EXPECT_TRUE(hints[0] & 2) << "the hints carry no decorations field: " << motif->toStdString();
  EXPECT_EQ(hints[2], 0) << "decorations asked for: " << motif->toStdString();
  EXPECT_EQ(info->Border, 0);
  if (GetParam() == TDesktop::Openbox) {
    EXPECT_TRUE(Property(window, QStringLiteral("WM_STATE")).has_value()) << "openbox does not manage the window";
    EXPECT_EQ(info->RelX, 0);
    EXPECT_EQ(info->RelY, 0);
    const auto extents = Property(window, QStringLiteral("_NET_FRAME_EXTENTS"));
    if (extents) EXPECT_EQ(Numbers(*extents), (QList<long>{0, 0, 0, 0})) << extents->toStdString();
    if (!info->ParentIsRoot) {
      const auto parent = WindowInfo(info->Parent);
      ASSERT_TRUE(parent.has_value());
      EXPECT_EQ(parent->Rect(), info->Rect()) << "openbox's frame is larger than the window";
      EXPECT_EQ(parent->Border, 0);
    }
  }

  // The caption: its band differs from skintool's frame without a caption only around the
  // centre, where the text stands in the active caption's text colour.
  const auto textColour = ActiveCaptionTextColour();
  ASSERT_TRUE(textColour.has_value()) << "the skin names no active caption text colour";
  {
    const QImage actual = Screenshot().copy(geometry.Rect());
    const QRect band(0, 0, size.width(), kInsetTop);
    const TFrameComparison c = CompareFrame(actual, noCaption, band);
    const int centre = size.width() / 2;
    const QRect middle(centre - 200, 0, 400, kInsetTop);
    int textPixels = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
      for (int x = middle.left(); x <= middle.right(); ++x)
        if (NearColour(actual.pixel(x, y), *textColour, 24) && !NearColour(noCaption.pixel(x, y), *textColour, 24))
          ++textPixels;
    EXPECT_GT(c.Different, 0) << "no caption text in the caption band";
    EXPECT_TRUE(middle.contains(c.DiffBounds))
        << "the caption band differs from the frame outside the text, within " << c.DiffBounds.x() << ","
        << c.DiffBounds.y() << " " << c.DiffBounds.width() << "x" << c.DiffBounds.height();
    EXPECT_GE(textPixels, 20) << "too few pixels of the text colour in the caption";
    if (c.Different == 0 || !middle.contains(c.DiffBounds) || textPixels < 20)
      SaveComparison(Tag(QStringLiteral("caption")), actual, noCaption, c.Diff);
  }

  // The whole frame, caption text included, pixel for pixel as skintool draws it.
  ExpectFrameAsSkintool(expected, Tag(QStringLiteral("frame")));
}

// Sizing by the bottom-right corner and moving by the caption: the frame's own loop follows
// the pointer exactly, the frame is redrawn for the new size, and the skin's minimum size holds.
TEST_P(Frame, CornerDragResizesCaptionDragMovesDownToMinimumSize) {
  OpenViewer(DesktopEnvironment());
  if (HasFatalFailure()) return;
  Restore();
  if (HasFatalFailure()) return;
  ExpectFrameAsSkintool(Expected(QSize(geometry.Width, geometry.Height), kCaption), Tag(QStringLiteral("restored")));
  const QSize start(geometry.Width, geometry.Height);
  const QImage startFrame = Expected(start, kCaption);
  ASSERT_FALSE(startFrame.isNull());
  // A few pixels inside the bottom-right corner, on a pixel of the window (inside the shape).
  auto gripOf = [](const QImage& frame) {
    for (int k = 2; k < 8; ++k)
      if (qAlpha(frame.pixel(frame.width() - k, frame.height() - k)) == 255)
        return QPoint(frame.width() - k, frame.height() - k);
    return QPoint(frame.width() - 3, frame.height() - 3);
  };

  // Smaller by the corner: the top-left corner stays, the size follows the pointer.
  const int dw = -(start.width() / 4), dh = -(start.height() / 4);
  QPoint grip = gripOf(startFrame);
  Drag(geometry.X + grip.x(), geometry.Y + grip.y(), dw, dh);
  const TXWindow before = geometry;
  auto w = WaitForGeometry(
      window, [&](const TXWindow& g) { return g.Width == before.Width + dw && g.Height == before.Height + dh; });
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->Width, before.Width + dw) << Describe(w);
  EXPECT_EQ(w->Height, before.Height + dh) << Describe(w);
  EXPECT_EQ(w->X, before.X) << Describe(w);
  EXPECT_EQ(w->Y, before.Y) << Describe(w);
  geometry = *w;
  const QSize sized(geometry.Width, geometry.Height);
  if (sized != start) {
    // The frame follows the new size: all of it, the bottom-right part included.
    const QImage sizedFrame = Expected(sized, kCaption);
    ASSERT_FALSE(sizedFrame.isNull());
    ExpectFrameAsSkintool(sizedFrame, Tag(QStringLiteral("resized")));
  }

  // Moved by the caption band (left of the text): by exactly the pointer's way, same size.
  const int dx = 137, dy = 91;
  const TXWindow placed = geometry;
  Drag(placed.X + std::max(50, placed.Width / 4), placed.Y + 10, dx, dy);
  w = WaitForGeometry(window, [&](const TXWindow& g) { return g.X == placed.X + dx && g.Y == placed.Y + dy; });
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->X, placed.X + dx) << Describe(w);
  EXPECT_EQ(w->Y, placed.Y + dy) << Describe(w);
  EXPECT_EQ(w->Width, placed.Width) << Describe(w);
  EXPECT_EQ(w->Height, placed.Height) << Describe(w);
  geometry = *w;

  // The corner dragged far up and left of the window stops at the skin's minimum size; the
  // frame at that size is still skintool's.
  const TXWindow big = geometry;
  grip = gripOf(Expected(QSize(big.Width, big.Height), kCaption));
  Drag(big.X + grip.x(), big.Y + grip.y(), -(grip.x() + 60), -(grip.y() + 40), 12);
  w = WaitForGeometry(window, [&](const TXWindow& g) { return g.Width == kMinWidth && g.Height == kMinHeight; });
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->Width, kMinWidth) << Describe(w);
  EXPECT_EQ(w->Height, kMinHeight) << Describe(w);
  EXPECT_EQ(w->X, big.X) << Describe(w);
  EXPECT_EQ(w->Y, big.Y) << Describe(w);
  geometry = *w;
  if (w->Width == kMinWidth && w->Height == kMinHeight) {
    const QImage smallest = Expected(QSize(kMinWidth, kMinHeight), kCaption);
    ASSERT_FALSE(smallest.isNull());
    ExpectFrameAsSkintool(smallest, Tag(QStringLiteral("minimum")));
  }
}

INSTANTIATE_TEST_SUITE_P(Desktops, Frame, ::testing::Values(TDesktop::Bare, TDesktop::Openbox), DesktopName);

// The close button at the caption's right end ends the program normally.
TEST_F(FrameBare, CloseButtonEndsTheProgram) {
  OpenViewer(DesktopEnvironment());
  if (HasFatalFailure()) return;
  Xdo::ClickAt(geometry.X + geometry.Width - 17, geometry.Y + 10);
  EXPECT_EQ(run->WaitForExit(30000), 0) << run->StandardError().toStdString();
}

// Screen readers see the frame window named by its caption, with its buttons as push buttons.
TEST_F(FrameBare, FrameButtonsAreExposedToScreenReaders) {
  TAccessibilityBus bus;
  ASSERT_TRUE(bus.Ok());
  OpenViewer(bus.Environment(DesktopEnvironment()));
  if (HasFatalFailure()) return;
  const auto tree = bus.Tree(run->Pid(), QStringLiteral("查詢"));
  ASSERT_TRUE(tree.has_value());
  const auto form = NodeNamed(*tree, kCaption);
  ASSERT_TRUE(form.has_value()) << "no node named by the caption";
  const QString role = form->value(QStringLiteral("role")).toString();
  EXPECT_TRUE(role == QLatin1String("frame") || role == QLatin1String("window")) << role.toStdString();
  QStringList buttons;
  for (const QJsonObject& b : NodesWithRole(*form, QStringLiteral("push button")))
    buttons << b.value(QStringLiteral("name")).toString();
  // The viewer starts maximized: its maximize button restores.
  for (const QString& name : {QStringLiteral("Close"), QStringLiteral("Restore"), QStringLiteral("Minimize"),
                              QStringLiteral("Roll up"), QStringLiteral("System menu")})
    EXPECT_TRUE(NodeNamed(*form, name, QStringLiteral("push button")).has_value())
        << "no push button \"" << name.toStdString()
        << "\" in the frame window; its push buttons: " << buttons.join(QStringLiteral(", ")).toStdString();
}

// Under QT_SCALE_FACTOR=2 the frame, its shape and its hit test scale with the window: every
// frame pixel skintool draws for the window's size in device-independent pixels covers a 2 x 2
// block of the screen, and a corner drag sizes the window by the drag.
TEST_F(FrameBare, ScalesWithTheWindowUnderAScaleFactor) {
  QProcessEnvironment env = DesktopEnvironment();
  env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
  OpenViewer(env);
  if (HasFatalFailure()) return;
  const QSize logical(geometry.Width / 2, geometry.Height / 2);
  const QImage expected = Expected(logical, std::nullopt, true);
  ASSERT_FALSE(expected.isNull());
  const QRect client = ClientRect(logical);
  auto compare = [&](int* compared) {
    const QImage shot = Screenshot().copy(geometry.Rect());
    int different = 0;
    *compared = 0;
    for (int y = kInsetTop; y < logical.height(); ++y)  // below the caption band (its text differs)
      for (int x = 0; x < logical.width(); ++x) {
        if (client.contains(x, y)) continue;
        const QRgb e = expected.pixel(x, y);
        const QRgb want = qAlpha(e) == 255 ? e : kRootColour;  // outside the shape: the root shows
        ++*compared;
        for (const QPoint d : {QPoint(0, 0), QPoint(1, 1)})
          if ((shot.pixel(2 * x + d.x(), 2 * y + d.y()) & 0xFFFFFF) != (want & 0xFFFFFF)) {
            ++different;
            break;
          }
      }
    return std::make_pair(different, shot);
  };
  int compared = 0;
  QElapsedTimer t;
  t.start();
  auto [different, shot] = compare(&compared);
  while (different != 0 && t.elapsed() < kWaitMs) {
    Pause(300);
    std::tie(different, shot) = compare(&compared);
  }
  EXPECT_GT(compared, 0);
  EXPECT_EQ(different, 0) << different << " of " << compared << " scaled frame pixels differ ("
                          << SaveShot(shot, "frame-scaled-actual").toStdString() << ")";
  // Restored (its stored height is more than the scaled screen's, so only its sides are on the
  // screen), the right edge under the pointer sizes the window by the drag, in screen pixels.
  Restore();
  if (HasFatalFailure()) return;
  Drag(geometry.X + geometry.Width - 3, geometry.Y + geometry.Height / 2, -200, 0);
  const auto after = WaitForGeometry(
      window, [&](const TXWindow& g) { return g.Width != geometry.Width; }, kWaitMs);
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(QSize(after->Width, after->Height), QSize(geometry.Width - 200, geometry.Height)) << Describe(after);
  EXPECT_EQ(QPoint(after->X, after->Y), QPoint(geometry.X, geometry.Y));
}

// Another program's window taking the focus under a window manager turns the frame to its
// inactive look, exactly as skintool draws it; a click back on the viewer turns it active again.
TEST_P(Frame, ShowsTheInactiveLookWhileAnotherProgramIsActive) {
  if (GetParam() != TDesktop::Openbox) GTEST_SKIP() << "focus moves between programs through a window manager";
  OpenViewer(DesktopEnvironment());
  if (HasFatalFailure()) return;
  const QSize size(geometry.Width, geometry.Height);
  const QRect band(0, 0, size.width(), kInsetTop);  // the other window stays below it
  QImage inactive;
  {
    QTemporaryDir dir;
    const QString out = dir.path() + QStringLiteral("/inactive.png");
    const TRunResult r = RunProgram(
        BinDir() + QStringLiteral("/skintool"),
        {QStringLiteral("frame"), SkinFolder(), QString::number(size.width()), QString::number(size.height()), out,
         QStringLiteral("--inactive"), QStringLiteral("--maximized"), QStringLiteral("--caption"), kCaption},
        QProcessEnvironment::systemEnvironment(), 60000);
    ASSERT_TRUE(r.Finished && r.ExitCode == 0) << r.Err.toStdString();
    inactive = QImage(out).convertToFormat(QImage::Format_ARGB32);
  }
  const QImage active = Expected(size, kCaption, true);
  ASSERT_FALSE(inactive.isNull());
  ASSERT_NE(CompareFrame(inactive, active, band).Different, 0) << "the skin's two looks do not differ";

  QProcess other;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), TestDisplay());
  other.setProcessEnvironment(env);
  other.start(QStringLiteral("xmessage"),
              {QStringLiteral("-geometry"), QStringLiteral("300x80+500+400"), QStringLiteral("-title"),
               QStringLiteral("other program"), QStringLiteral("another program")});
  ASSERT_TRUE(other.waitForStarted(10000));
  const auto otherWindow = Xdo::WaitForWindow(QStringLiteral("other program"), 20000);
  ASSERT_TRUE(otherWindow.has_value());
  const auto otherGeometry = WaitForGeometry(
      *otherWindow, [](const TXWindow& g) { return g.Width > 0; }, kWaitMs);
  ASSERT_TRUE(otherGeometry.has_value());
  Xdo::ClickAt(otherGeometry->X + 20, otherGeometry->Y + 10);
  ExpectFrameAsSkintool(inactive, Tag(QStringLiteral("inactive")), band);
  Activate();
  ExpectFrameAsSkintool(active, Tag(QStringLiteral("active-again")), band);
  other.kill();
  other.waitForFinished(5000);
}

namespace {
// A right click at a screen point.
void RightClickAt(int x, int y) {
  RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x),
                                           QString::number(y), QStringLiteral("sleep"), QStringLiteral("0.2"),
                                           QStringLiteral("click"), QStringLiteral("3")});
}

// A key typed to whichever window has the focus.
void KeyToFocus(const QString& key) { RunOnDisplay(QStringLiteral("xdotool"), {QStringLiteral("key"), key}); }

// True when the screen shows the skin's popup window corner (the part of the popup picture left
// of and above its left-top point, copied unchanged, less what the items cover) with its top-left
// pixel at `at`.
bool ShowsMenuCorner(const QImage& screen, QPoint at) {
  static const auto skin = ReadSkinDescription();
  const QString index = skin.value(QStringLiteral("popupwindow")).value(QStringLiteral("windowpictureindex"));
  static const QImage picture =
      QImage(SkinFolder() + QLatin1Char('/') + skin.value(QStringLiteral("pictures")).value(index))
          .convertToFormat(QImage::Format_RGB32);
  const QStringList corner =
      skin.value(QStringLiteral("popupwindow")).value(QStringLiteral("lefttoppoint")).split(QLatin1Char(','));
  const QStringList items =
      skin.value(QStringLiteral("popupwindow")).value(QStringLiteral("itemsrect")).split(QLatin1Char(','));
  if (picture.isNull() || corner.size() != 2 || items.size() != 4) return false;
  const int cw = std::min(corner[0].toInt(), items[0].toInt()), ch = std::min(corner[1].toInt(), items[1].toInt());
  if (cw <= 0 || ch <= 0 || at.x() + cw > screen.width() || at.y() + ch > screen.height()) return false;
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x)
      if ((screen.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) != (picture.pixel(x, y) & 0xFFFFFF)) return false;
  return true;
}

// Waits until the screen shows the skinned menu's corner at `at` (saving the last screenshot
// under `name` when it does not).
bool WaitForMenuCorner(QPoint at, const QString& name) {
  QElapsedTimer t;
  t.start();
  QImage shot;
  do {
    shot = Screenshot();
    if (ShowsMenuCorner(shot, at)) return true;
    Pause(200);
  } while (t.elapsed() < kWaitMs);
  ADD_FAILURE() << "no skinned menu at the pointer: " << SaveShot(shot, name).toStdString();
  return false;
}
}  // namespace

// A right press on the caption opens the system menu drawn from the skin at the pointer; the
// window keeps the keyboard focus, and the menu's accelerator "l" (Ro&llUp) rolls it up.
TEST_P(Frame, SystemMenuOpensOnTheCaptionKeepsTheFocusAndRollsTheWindowUp) {
  OpenViewer(DesktopEnvironment());
  if (HasFatalFailure()) return;
  const QPoint at(geometry.X + geometry.Width / 4, geometry.Y + 10);
  RightClickAt(at.x(), at.y());
  ASSERT_TRUE(WaitForMenuCorner(at, Tag(QStringLiteral("sysmenu"))));
  EXPECT_EQ(FocusWindow(), window.toULongLong(nullptr, 0)) << "the menu took the focus from the window";
  KeyToFocus(QStringLiteral("l"));
  const auto w = WaitForGeometry(window, [](const TXWindow& g) { return g.Height == kMinHeight; });
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->Height, kMinHeight) << Describe(w);
  EXPECT_EQ(w->Width, geometry.Width) << Describe(w);
  // The menu went with the command.
  Pause(300);
  EXPECT_FALSE(ShowsMenuCorner(Screenshot(), at));
  EXPECT_EQ(FocusWindow(), window.toULongLong(nullptr, 0));
}

// "Close" chosen in the system menu by the keyboard ends the program normally.
TEST_P(Frame, SystemMenuCloseByTheKeyboardEndsTheProgram) {
  OpenViewer(DesktopEnvironment());
  if (HasFatalFailure()) return;
  const QPoint at(geometry.X + geometry.Width / 4, geometry.Y + 10);
  RightClickAt(at.x(), at.y());
  ASSERT_TRUE(WaitForMenuCorner(at, Tag(QStringLiteral("sysmenu-close"))));
  // Down to the last item (wrapping from the top), then Enter.
  KeyToFocus(QStringLiteral("Up"));
  KeyToFocus(QStringLiteral("Return"));
  EXPECT_EQ(run->WaitForExit(30000), 0) << run->StandardError().toStdString();
}

// A screen reader reads the open system menu's items and presses one: "RollUp" rolls up.
TEST_F(FrameBare, SystemMenuItemsAreReadAndPressedByScreenReaders) {
  TAccessibilityBus bus;
  ASSERT_TRUE(bus.Ok());
  OpenViewer(bus.Environment(DesktopEnvironment()));
  if (HasFatalFailure()) return;
  RightClickAt(geometry.X + geometry.Width / 4, geometry.Y + 10);
  const auto tree = bus.Tree(run->Pid(), QStringLiteral("RollUp"));
  ASSERT_TRUE(tree.has_value()) << "the menu's items are not in the accessible tree";
  QStringList items;
  for (const QJsonObject& n : NodesWithRole(*tree, QStringLiteral("menu item")))
    items << n.value(QStringLiteral("name")).toString();
  // The viewer starts maximized: the menu offers Restore.
  EXPECT_EQ(items, (QStringList{QStringLiteral("Minimize"), QStringLiteral("Restore"), QStringLiteral("RollUp"),
                                QStringLiteral("Close")}))
      << items.join(QStringLiteral(", ")).toStdString();
  ASSERT_TRUE(bus.DoAction(run->Pid(), QStringLiteral("RollUp"), QStringLiteral("Press")));
  const auto w = WaitForGeometry(window, [](const TXWindow& g) { return g.Height == kMinHeight; });
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->Height, kMinHeight) << Describe(w);
}
