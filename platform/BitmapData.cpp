#include "platform/BitmapData.h"

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "platform/Streaming.h"

void TBitmapData::Read(TStream& in) {
  uint8_t head[4];
  in.ReadBuffer(head, 4);
  const uint32_t size = uint32_t(head[0]) | uint32_t(head[1]) << 8 | uint32_t(head[2]) << 16 | uint32_t(head[3]) << 24;
  if (int64_t{size} != in.Size() - in.Position()) throw EReadError(QStringLiteral("Bitmap image is not valid"));
  TBitmap read;
  try {
    read.LoadFromStream(in);
  } catch (const EInvalidGraphic& e) {
    throw EReadError(e.Message());
  }
  bitmap_ = read;
}

bool TBitmapData::Write(TStream& out) const {
  if (bitmap_.Empty()) return false;
  TMemoryStream bmp;
  bitmap_.SaveToStream(bmp);
  const auto size = static_cast<uint32_t>(bmp.Size());
  const uint8_t head[4] = {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)};
  out.WriteBuffer(head, 4);
  out.WriteBuffer(bmp.Memory(), bmp.Size());
  return true;
}

void RegisterBitmapDataClass() {
  RegisterClass<TBitmapData>(QStringLiteral("TBitmap"))
      .Binary(QStringLiteral("Data"), [](TBitmapData* d, TStream& in) { d->Read(in); },
              [](TBitmapData* d, TStream& out) { return d->Write(out); });
}
