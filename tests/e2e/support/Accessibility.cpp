#include "Accessibility.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

#include "Desktop.h"
#include "tests/TestUtil.h"

namespace {
QString Python() { return QStringLiteral("/usr/bin/python3"); }
QString ProbeScript() { return SourceDir() + QStringLiteral("/tests/e2e/atspi_tree.py"); }
}  // namespace

TAccessibilityBus::TAccessibilityBus() {
  QProcess launch;
  launch.setProcessEnvironment(DesktopEnvironment());
  launch.start(QStringLiteral("dbus-launch"), {QStringLiteral("--sh-syntax")});
  if (!launch.waitForFinished(10000)) return;
  const QString out = QString::fromUtf8(launch.readAllStandardOutput());
  const auto addr = QRegularExpression(QStringLiteral("DBUS_SESSION_BUS_ADDRESS='([^']*)'")).match(out);
  const auto pid = QRegularExpression(QStringLiteral("DBUS_SESSION_BUS_PID=(\\d+)")).match(out);
  if (!addr.hasMatch() || !pid.hasMatch()) return;
  address_ = addr.captured(1);
  daemonPid_ = pid.captured(1).toLongLong();
  launcher_.setProcessEnvironment(Environment(DesktopEnvironment()));
  launcher_.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {QStringLiteral("--launch-immediately")});
  launcher_.waitForStarted(5000);
  QThread::msleep(500);
}

TAccessibilityBus::~TAccessibilityBus() {
  if (launcher_.state() != QProcess::NotRunning) {
    launcher_.terminate();
    if (!launcher_.waitForFinished(3000)) launcher_.kill();
    launcher_.waitForFinished(1000);
  }
  if (daemonPid_ > 0) ::kill(static_cast<pid_t>(daemonPid_), SIGTERM);
}

QProcessEnvironment TAccessibilityBus::Environment(QProcessEnvironment base) const {
  base.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
  base.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
  base.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
  return base;
}

TAccessibilityBus::Probe TAccessibilityBus::RunProbe(const QStringList& args, int timeoutMs) const {
  Probe out;
  const QStringList all = QStringList{ProbeScript()} + args;
  if (!ServeWhileReading) {
    const TRunResult r = RunProgram(Python(), all, Environment(DesktopEnvironment()), timeoutMs);
    out.Ok = r.Finished && r.ExitCode == 0;
    out.Out = r.Out;
    return out;
  }
  QProcess p;
  p.setProcessEnvironment(Environment(DesktopEnvironment()));
  p.start(Python(), all);
  if (!p.waitForStarted(10000)) return out;
  QElapsedTimer t;
  t.start();
  while (p.state() != QProcess::NotRunning && t.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    p.waitForFinished(10);
  }
  if (p.state() != QProcess::NotRunning) {
    p.kill();
    p.waitForFinished(5000);
    return out;
  }
  out.Ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  out.Out = QString::fromUtf8(p.readAllStandardOutput());
  return out;
}

std::optional<QJsonObject> TAccessibilityBus::Tree(qint64 pid, const QString& wanted, int maxRows) const {
  const Probe r = RunProbe({QString::number(pid), wanted, QString::number(maxRows)}, 90000);
  if (!r.Ok) return std::nullopt;
  const QJsonDocument doc = QJsonDocument::fromJson(r.Out.toUtf8());
  if (!doc.isObject()) return std::nullopt;
  return doc.object();
}

bool TAccessibilityBus::DoAction(qint64 pid, const QString& name, const QString& action) const {
  return RunProbe({QString::number(pid), name, QStringLiteral("--do"), action}, 60000).Ok;
}

std::vector<QJsonObject> FindNodes(const QJsonObject& tree, const std::function<bool(const QJsonObject&)>& pred) {
  std::vector<QJsonObject> out;
  std::function<void(const QJsonObject&)> walk = [&](const QJsonObject& n) {
    if (pred(n)) out.push_back(n);
    for (const QJsonValue& c : n.value(QStringLiteral("children")).toArray()) walk(c.toObject());
  };
  walk(tree);
  return out;
}

std::vector<QJsonObject> NodesWithRole(const QJsonObject& tree, const QString& role) {
  return FindNodes(tree, [&](const QJsonObject& n) { return n.value(QStringLiteral("role")).toString() == role; });
}

std::optional<QJsonObject> NodeNamed(const QJsonObject& tree, const QString& name, const QString& role) {
  auto hits = FindNodes(tree, [&](const QJsonObject& n) {
    return n.value(QStringLiteral("name")).toString() == name &&
           (role.isEmpty() || n.value(QStringLiteral("role")).toString() == role);
  });
  if (hits.empty()) return std::nullopt;
  return hits.front();
}

std::optional<std::pair<int, int>> CentreOf(const QJsonObject& node) {
  const QJsonArray e = node.value(QStringLiteral("extents")).toArray();
  if (e.size() != 4 || e[2].toInt() <= 0 || e[3].toInt() <= 0) return std::nullopt;
  return std::make_pair(e[0].toInt() + e[2].toInt() / 2, e[1].toInt() + e[3].toInt() / 2);
}
