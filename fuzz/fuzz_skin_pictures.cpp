// The stored skin's "Pictures" block reader.
#include <cstddef>
#include <cstdint>

#include "platform/Exceptions.h"
#include "skin/data/StoredSkin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBytesStream s(data, static_cast<int64_t>(size));
  TbsStoredSkin skin(nullptr);
  try {
    skin.ReadPictures(s);
    TMemoryStream out;
    skin.WritePictures(out);
  } catch (const Exception&) {
  }
  return 0;
}
