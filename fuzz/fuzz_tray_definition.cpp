// Stored forms holding a hint component and a tray icon, from arbitrary bytes. The first byte
// chooses how the rest is used: as the bytes of the tray icon's stored icon (a PNG block), or as
// a whole form definition text. Reading fails cleanly or gives components that write back to a
// text that reads again; a read icon is never larger than a tray icon may be.
#include <QApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Streaming.h"
#include "skin/data/SkinDataClasses.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsTrayIcon.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "%s\n", what);
  __builtin_trap();
}

QString IconDefinition(const uint8_t* data, size_t size) {
  const QByteArray hex = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).toHex();
  return QStringLiteral("object F: TForm\n  object bsTrayIcon1: TbsTrayIcon\n    Icon = {") +
         QString::fromLatin1(hex) + QStringLiteral("}\n  end\nend\n");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static TApplication* app = new TApplication(*argc, *argv);
  (void)app;
  RegisterSkinDataClasses();
  RegisterSkinMenuClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QString text = (data[0] & 1) ? QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                                         static_cast<qsizetype>(size - 1))
                                     : IconDefinition(data + 1, size - 1);
  QString written;
  {
    TForm form(nullptr);
    try {
      form.LoadDefinition(text);
    } catch (const Exception&) {
      return 0;
    }
    if (auto* tray = dynamic_cast<TbsTrayIcon*>(form.FindComponent(QStringLiteral("bsTrayIcon1"))))
      Check(tray->Icon().width() <= 256 && tray->Icon().height() <= 256, "icon larger than 256 pixels");
    written = WriteComponentToText(&form);
  }
  TForm again(nullptr);
  try {
    again.LoadDefinition(written);
  } catch (const Exception& e) {
    std::fprintf(stderr, "written form does not read back: %s\n%s\n", e.what(), written.toUtf8().constData());
    __builtin_trap();
  }
  return 0;
}
