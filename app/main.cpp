// ledgerly: the voucher change-log viewer. Creates the query form from its stored definition
// and runs the message loop until the form closes.
#include <QByteArray>

#include "app/FrmTessaline.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"

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
  return Application->Run();
}
