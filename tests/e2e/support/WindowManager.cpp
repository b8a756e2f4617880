#include "WindowManager.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include "Desktop.h"

namespace {
QString Xprop(const QStringList& args) {
  const TRunResult r = RunProgram(QStringLiteral("xprop"), args, DesktopEnvironment(), 20000);
  return r.Finished && r.ExitCode == 0 ? r.Out : QString();
}

// Polls `done` every 200 ms for up to `timeoutMs`.
template <class F>
bool PollFor(const F& done, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    QThread::msleep(200);
  }
  return true;
}
}  // namespace

std::optional<QString> RunningWindowManager() {
  const QRegularExpression id(QStringLiteral("window id # (0x[0-9a-fA-F]+)"));
  const auto root = id.match(Xprop({QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}));
  if (!root.hasMatch()) return std::nullopt;
  const QString check = root.captured(1);
  const auto self = id.match(Xprop({QStringLiteral("-id"), check, QStringLiteral("_NET_SUPPORTING_WM_CHECK")}));
  if (!self.hasMatch() || self.captured(1) != check) return std::nullopt;
  const auto name = QRegularExpression(QStringLiteral("= \"(.*)\""))
                        .match(Xprop({QStringLiteral("-id"), check, QStringLiteral("_NET_WM_NAME")}));
  return name.hasMatch() ? name.captured(1) : QString();
}

bool TOpenbox::Installed() { return !QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty(); }

TOpenbox::~TOpenbox() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(10000)) {
    process_.kill();
    process_.waitForFinished(5000);
  }
  PollFor([] { return !RunningWindowManager(); }, 10000);
}

bool TOpenbox::Start(int timeoutMs) {
  if (RunningWindowManager()) return false;
  process_.setProcessEnvironment(DesktopEnvironment());
  process_.setStandardOutputFile(QProcess::nullDevice());
  process_.setStandardErrorFile(QProcess::nullDevice());
  process_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
  if (!process_.waitForStarted(10000)) return false;
  return PollFor(
             [this] {
               return process_.state() != QProcess::Running || RunningWindowManager() == QStringLiteral("Openbox");
             },
             timeoutMs) &&
         process_.state() == QProcess::Running;
}
