#include "Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <cstdlib>
#include <memory>

#include "tests/TestUtil.h"

namespace {
// An Xvfb of our own, for runs without a display.
struct TOwnXvfb {
  QProcess Process;
  QString Display;
  ~TOwnXvfb() {
    Process.kill();
    Process.waitForFinished(3000);
  }
};

std::unique_ptr<TOwnXvfb>& OwnXvfb() {
  static std::unique_ptr<TOwnXvfb> x;
  return x;
}

QString RunXdo(const QStringList& args, int timeoutMs = 10000) {
  QProcess p;
  p.setProcessEnvironment(DesktopEnvironment());
  p.start(QStringLiteral("xdotool"), args);
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished(1000);
    return QString();
  }
  return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}
}  // namespace

QString TestDisplay() {
  const QByteArray env = qgetenv("DISPLAY");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  auto& own = OwnXvfb();
  if (!own) {
    own = std::make_unique<TOwnXvfb>();
    // Xvfb picks a free display and writes its number to the given descriptor (1 = stdout).
    own->Process.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                                QStringLiteral("0"), QStringLiteral("1920x1080x24"),
                                                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QElapsedTimer t;
    t.start();
    QByteArray number;
    while (t.elapsed() < 10000 && !number.contains('\n')) {
      own->Process.waitForReadyRead(200);
      number += own->Process.readAllStandardOutput();
    }
    own->Display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
  }
  return own->Display;
}

QProcessEnvironment DesktopEnvironment() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), TestDisplay());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  return env;
}

TRunResult RunProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                      int timeoutMs) {
  TRunResult r;
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForStarted(10000)) {
    r.Err = p.errorString();
    return r;
  }
  r.Finished = p.waitForFinished(timeoutMs);
  if (!r.Finished) {
    p.kill();
    p.waitForFinished(5000);
  }
  r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.Out = QString::fromUtf8(p.readAllStandardOutput());
  r.Err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

namespace Xdo {
std::optional<QString> WaitForWindow(const QString& title, int timeoutMs, qint64 pid) {
  QElapsedTimer t;
  t.start();
  const QString pattern = QStringLiteral("^") + QRegularExpression::escape(title) + QStringLiteral("$");
  do {
    QStringList args{QStringLiteral("search"), QStringLiteral("--onlyvisible")};
    // Every condition must hold (xdotool matches any one of them by default).
    if (pid > 0) args << QStringLiteral("--all") << QStringLiteral("--pid") << QString::number(pid);
    args << QStringLiteral("--name") << pattern;
    const QString out = RunXdo(args);
    if (!out.isEmpty()) return out.split(QLatin1Char('\n')).first().trimmed();
    QThread::msleep(200);
  } while (t.elapsed() < timeoutMs);
  return std::nullopt;
}

std::optional<TWindowGeometry> Geometry(const QString& window) {
  const QString out = RunXdo({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
  TWindowGeometry g;
  int found = 0;
  for (const QString& line : out.split(QLatin1Char('\n'))) {
    const QString key = line.section(QLatin1Char('='), 0, 0), value = line.section(QLatin1Char('='), 1);
    if (key == QLatin1String("X")) g.X = value.toInt(), ++found;
    if (key == QLatin1String("Y")) g.Y = value.toInt(), ++found;
    if (key == QLatin1String("WIDTH")) g.Width = value.toInt(), ++found;
    if (key == QLatin1String("HEIGHT")) g.Height = value.toInt(), ++found;
  }
  if (found < 4) return std::nullopt;
  return g;
}

std::optional<QSize> DisplaySize() {
  const QStringList parts = RunXdo({QStringLiteral("getdisplaygeometry")}).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (parts.size() != 2) return std::nullopt;
  bool okW = false, okH = false;
  const QSize size(parts[0].toInt(&okW), parts[1].toInt(&okH));
  if (!okW || !okH || size.isEmpty()) return std::nullopt;
  return size;
}

void ClickAt(int x, int y) {
  RunXdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x), QString::number(y)});
  QThread::msleep(100);
  RunXdo({QStringLiteral("click"), QStringLiteral("1")});
}

void Key(const QString& window, const QString& key) {
  RunXdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
  RunXdo({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
}

void Type(const QString& window, const QString& text) {
  RunXdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
  RunXdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}
}  // namespace Xdo

QImage Screenshot() {
  QProcess p;
  p.setProcessEnvironment(DesktopEnvironment());
  p.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
  if (!p.waitForFinished(20000)) {
    p.kill();
    p.waitForFinished(1000);
    return QImage();
  }
  return QImage::fromData(p.readAllStandardOutput(), "PNG");
}

QString SaveShot(const QImage& image, const QString& name) {
  const QString dir = BinDir() + QStringLiteral("/e2e-shots");
  QDir().mkpath(dir);
  const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
  image.save(path);
  return path;
}
