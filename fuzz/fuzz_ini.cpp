// INI reader: any bytes must parse and every read must return without failing.
#include <cstddef>
#include <cstdint>

#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemIniFile ini;
  ini.SetBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  for (const QString& s : ini.ReadSections()) {
    for (const QString& k : ini.ReadSection(s)) {
      (void)ini.ReadInteger(s, k, 0);
      (void)ini.ReadString(s, k, QString());
    }
  }
  TMemIniFile again(ini.Text());
  (void)again.ReadSections();
  return 0;
}
