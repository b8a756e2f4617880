// BMP reader: any bytes give an image or a clear exception, and reading never passes the end.
#include <cstddef>
#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBytesStream s(data, static_cast<int64_t>(size));
  TBitmap bmp;
  try {
    bmp.LoadFromStream(s);
    if (s.Position() > static_cast<int64_t>(size)) __builtin_trap();
    // A read image writes and reads back to the same size.
    TMemoryStream out;
    bmp.SaveToStream(out);
    out.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(out);
    if (back.Width() != bmp.Width() || back.Height() != bmp.Height()) __builtin_trap();
  } catch (const Exception&) {
  }
  return 0;
}
