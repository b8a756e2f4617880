#pragma once
// What every form framed by one skin would otherwise work out for itself on each skin change:
// the pictures widened to 32 bits, the mask in the 24-bit layout the slicing reads, and the
// window shapes per window size. Owned by the skin
// data, filled by the forms on first use, emptied whenever the skin changes. GUI thread only.
#include <QRegion>
#include <cstddef>
#include <deque>
#include <optional>

#include "platform/Bitmap.h"
#include "platform/Types.h"

// The window shape of one window size: the mask's border pieces at that size and their region.
struct TSkinFrameShape {
  int Width = 0, Height = 0;
  TRect MaskRect;
  TPoint LeftTop, RightTop, LeftBottom, RightBottom;
  QRegion Region;
  TBitmap Top, Left, Right, Bottom;
};

class TSkinFrameCache {
 public:
  // Shapes kept at once: the newest ones; a window being dragged larger passes many sizes.
  static constexpr std::size_t kMaxShapes = 8;

  void Clear();
  bool Empty() const { return shapes_.empty() && wide_.Empty() && inactiveWide_.Empty() && mask24_.Empty(); }

  // `source` (the skin's picture or its inactive picture) as a 32-bit bitmap, converted once.
  const TBitmap& Wide(const TBitmap& source, bool inactive);
  // The skin's mask in the 24-bit layout, converted once.
  const TBitmap& Mask24(const TBitmap& mask);

  // The shape stored for this size and frame geometry, or nullptr.
  const TSkinFrameShape* FindShape(int width, int height, const TRect& maskRect, const TPoint& lt, const TPoint& rt,
                                   const TPoint& lb, const TPoint& rb) const;
  const TSkinFrameShape& AddShape(TSkinFrameShape shape);
  std::size_t ShapeCount() const { return shapes_.size(); }

 private:
  TBitmap wide_, inactiveWide_, mask24_;
  std::deque<TSkinFrameShape> shapes_;
};
