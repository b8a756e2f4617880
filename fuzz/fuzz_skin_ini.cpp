// Skin description reader: any text loads into a skin or fails with a clear exception.
#include <cstddef>
#include <cstdint>

#include "platform/Exceptions.h"
#include "skin/data/SkinData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemIniFile ini;
  ini.SetBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  TbsSkinData skin(nullptr);
  try {
    skin.LoadVersion(ini);
    skin.LoadFormSection(ini);
    skin.PopupWindow->LoadSection(ini);
    skin.HintWindow->LoadSection(ini);
    skin.LoadObjectSections(ini);
    skin.LoadControlSections(ini);
    // What is read is written back and read again without loss.
    TMemIniFile out;
    StoreSkinDescription(skin, out);
    TbsSkinData again(nullptr);
    again.LoadFormSection(out);
    again.LoadObjectSections(out);
    again.LoadControlSections(out);
    if (again.SkinObjects.size() != skin.SkinObjects.size() || again.SkinControls.size() != skin.SkinControls.size())
      __builtin_trap();
  } catch (const Exception&) {
  }
  return 0;
}
