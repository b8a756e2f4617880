// ledgerly: the voucher change-log viewer. Creates the query form from its stored definition
// and runs the message loop until the form closes.
#include <QByteArray>
#include <QCoreApplication>
#include <csignal>

#include "app/FrmTessaline.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/QuitSignals.h"

int main(int argc, char** argv) {
  // The skinned frame shapes and places its own window, which X11 allows and Wayland does not:
  // run through X (XWayland on a Wayland desktop) unless the user chose a platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
  TApplication application(argc, argv);
  Application->Initialize();
  try {
    Application->CreateForm(FormLedgerly);
  } catch (...) {
    // The form could not be created (above all: the connection did not open): no window.
    return Application->ShowStartupException();
  }
  // A request to end (kill, Ctrl-C, the end of the desktop session) closes an open message box
  // and then the form, as "離開" does; the connection closes as the form is freed. The database
  // client put in handlers of its own when it attached (they cut its connections and leave the
  // window running), so ours come now.
  int quitSignal = 0;
  const TQuitSignals quitSignals([&quitSignal](int signal) {
    if (quitSignal) return;
    quitSignal = signal;
    CloseMessageBoxes();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { FormLedgerly->Close(); }, Qt::QueuedConnection);
  });
  const int exitCode = Application->Run();
  return quitSignal == SIGINT ? 128 + SIGINT : exitCode;
}
