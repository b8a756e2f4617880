// The compressed stored skin: the zlib block and the content behind it, loaded as the skin
// data loads it. The input is used both as a raw block and, deflated, as the content itself.
#include <cstddef>
#include <cstdint>

#include "platform/Exceptions.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinZlib.h"

namespace {
void Load(TbsCompressedStoredSkin& container) {
  TbsSkinData skin(nullptr);
  try {
    skin.LoadFromCompressedSkin(container);
  } catch (const Exception&) {
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TbsCompressedStoredSkin container(nullptr);
  TBytesStream raw(data, static_cast<int64_t>(size));
  container.ReadData(raw);
  Load(container);

  TBytesStream content(data, static_cast<int64_t>(size));
  TMemoryStream packed;
  DeflateInto(content, packed);
  packed.SetPosition(0);
  container.ReadData(packed);
  Load(container);
  return 0;
}
