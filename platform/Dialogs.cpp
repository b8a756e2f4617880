#include "platform/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace {
TMessageBoxObserver& Observer() {
  static TMessageBoxObserver o;
  return o;
}

void LogBox(const QString& text, const QString& caption, uint32_t flags) {
  const QByteArray path = qgetenv("LEDGERLY_MESSAGEBOX_LOG");
  if (path.isEmpty()) return;
  QFile f(QString::fromLocal8Bit(path));
  if (!f.open(QIODevice::Append | QIODevice::WriteOnly)) return;
  QString t = text;
  t.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\r'), QStringLiteral("\\r"));
  t.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  f.write((caption + QLatin1Char('\t') + t + QLatin1Char('\t') + QString::number(flags) + QLatin1Char('\n')).toUtf8());
}
}  // namespace

void SetMessageBoxObserver(TMessageBoxObserver observer) { Observer() = std::move(observer); }

int MessageBox(const QString& text, const QString& caption, uint32_t flags) {
  LogBox(text, caption, flags);
  if (Observer()) Observer()(text, caption, flags);
  QMessageBox box;
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setWindowTitle(caption);
  box.setText(text);
  switch (flags & 0xF0) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  QMessageBox::StandardButtons buttons;
  switch (flags & 0x0F) {
    case MB_OKCANCEL: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MB_YESNOCANCEL: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case MB_YESNO: buttons = QMessageBox::Yes | QMessageBox::No; break;
    default: buttons = QMessageBox::Ok; break;
  }
  box.setStandardButtons(buttons);
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return IDOK;  // no GUI: nothing to show
  switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return (flags & 0x0F) == MB_OK ? IDOK : IDCANCEL;
  }
}

void CloseMessageBoxes() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->objectName() == QLatin1String("MessageBox")) box->reject();
}
