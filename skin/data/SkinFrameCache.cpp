#include "skin/data/SkinFrameCache.h"

#include "skin/draw/FastBitmap.h"

void TSkinFrameCache::Clear() {
  wide_ = inactiveWide_ = mask24_ = TBitmap();
  shapes_.clear();
}

const TBitmap& TSkinFrameCache::Wide(const TBitmap& source, bool inactive) {
  TBitmap& wide = inactive ? inactiveWide_ : wide_;
  if (wide.Empty()) {
    wide = source;
    wide.SetPixelFormat(TPixelFormat::pf32bit);
  }
  return wide;
}

const TBitmap& TSkinFrameCache::Mask24(const TBitmap& mask) {
  if (mask24_.Empty() && !mask.Empty()) mask24_.SetImage(To24Bit(mask.Image()));
  return mask24_;
}

const TSkinFrameShape* TSkinFrameCache::FindShape(int width, int height, const TRect& maskRect, const TPoint& lt,
                                                  const TPoint& rt, const TPoint& lb, const TPoint& rb) const {
  for (const TSkinFrameShape& s : shapes_)
    if (s.Width == width && s.Height == height && s.MaskRect == maskRect && s.LeftTop == lt && s.RightTop == rt &&
        s.LeftBottom == lb && s.RightBottom == rb)
      return &s;
  return nullptr;
}

const TSkinFrameShape& TSkinFrameCache::AddShape(TSkinFrameShape shape) {
  if (shapes_.size() >= kMaxShapes) shapes_.pop_front();
  shapes_.push_back(std::move(shape));
  return shapes_.back();
}
