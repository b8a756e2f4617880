#include "support/Trayer.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>

#include "support/Desktop.h"

bool TTrayer::Installed() { return !QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty(); }

bool TTrayer::Start(int timeoutMs) {
  process_.setProcessEnvironment(DesktopEnvironment());
  process_.start(QStringLiteral("trayer"),
                 {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"), QStringLiteral("right"),
                  QStringLiteral("--widthtype"), QStringLiteral("pixel"), QStringLiteral("--width"), QStringLiteral("120"),
                  QStringLiteral("--height"), QStringLiteral("32"), QStringLiteral("--expand"), QStringLiteral("false")});
  if (!process_.waitForStarted(5000)) return false;
  QElapsedTimer t;
  t.start();
  do {
    const TRunResult r = RunProgram(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--classname"),
                                                               QStringLiteral("trayer")},
                                    DesktopEnvironment(), 5000);
    if (!r.Out.trimmed().isEmpty()) return true;
    QThread::msleep(100);
  } while (t.elapsed() < timeoutMs);
  return false;
}

void TTrayer::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.kill();
  process_.waitForFinished(5000);
}
