#include "app/FailureText.h"

#include <QFileInfo>

QString ApplicationTitleFromPath(const QString& executablePath) {
  const QString base = QFileInfo(executablePath).completeBaseName();
  if (base.isEmpty()) return base;
  return base.left(1) + base.mid(1).toLower();
}

QString ActionFailureText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

QString StartupFailureText(const QString& className, const QString& moduleName, uintptr_t address,
                           const QString& message) {
  QString detail = message;
  if (!detail.endsWith(QLatin1Char('.'))) detail += QLatin1Char('.');
  const QString where = QStringLiteral("%1").arg(static_cast<qulonglong>(address), int(sizeof(void*) * 2), 16,
                                                 QLatin1Char('0')).toUpper();
  return QStringLiteral("Exception %1 in module %2 at %3.\n%4").arg(className, moduleName, where, detail);
}
