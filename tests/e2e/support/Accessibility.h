// A private D-Bus session with the AT-SPI bus and registry, and the accessible tree of a
// program read through it (by atspi_tree.py, as a screen reader would see it).
#pragma once
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class TAccessibilityBus {
 public:
  TAccessibilityBus();
  ~TAccessibilityBus();
  TAccessibilityBus(const TAccessibilityBus&) = delete;
  TAccessibilityBus& operator=(const TAccessibilityBus&) = delete;

  bool Ok() const { return !address_.isEmpty(); }
  // `base` joined to this session, with Qt's accessibility bridge switched on.
  QProcessEnvironment Environment(QProcessEnvironment base) const;
  // The tree of program `pid` once a node named `wanted` shows in it.
  std::optional<QJsonObject> Tree(qint64 pid, const QString& wanted, int maxRows = 50) const;
  // Runs action `action` ("Press") of the first node named `name`.
  bool DoAction(qint64 pid, const QString& name, const QString& action) const;
  // Set when the program read is this test itself: its event loop runs while the reader waits,
  // so that it can answer.
  bool ServeWhileReading = false;

 private:
  struct Probe {
    bool Ok = false;
    QString Out;
  };
  Probe RunProbe(const QStringList& args, int timeoutMs) const;

  QString address_;
  qint64 daemonPid_ = 0;  // the session's dbus-daemon, started by dbus-launch for us
  QProcess launcher_;     // at-spi-bus-launcher
};

// Every node of `tree` (depth first) for which `pred` holds.
std::vector<QJsonObject> FindNodes(const QJsonObject& tree, const std::function<bool(const QJsonObject&)>& pred);
std::vector<QJsonObject> NodesWithRole(const QJsonObject& tree, const QString& role);
std::optional<QJsonObject> NodeNamed(const QJsonObject& tree, const QString& name, const QString& role = QString());
// Screen centre of a node's extents.
std::optional<std::pair<int, int>> CentreOf(const QJsonObject& node);
