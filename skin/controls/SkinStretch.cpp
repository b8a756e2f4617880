#include "skin/controls/SkinStretch.h"

#include <algorithm>
#include <cstdint>

#include "skin/draw/bsUtils.h"

namespace {
// Sums held to the coordinate range: a skin's values may lie anywhere in it.
int32_t Sum(int64_t a, int64_t b) { return static_cast<int32_t>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX)); }
TPoint Add(const TPoint& p, int64_t dx, int64_t dy) { return TPoint(Sum(p.X, dx), Sum(p.Y, dy)); }
TRect Offset(const TRect& r, int64_t dx, int64_t dy) {
  return TRect(Sum(r.Left, dx), Sum(r.Top, dy), Sum(r.Right, dx), Sum(r.Bottom, dy));
}
}  // namespace

void TSkinStretch::ComputeStretchMode() {
  if (RectIsEmpty(skinrect)) StretchMode = smNone;
  else if (rightbottompoint.X != 0 && rightbottompoint.Y != 0) StretchMode = smBoth;
  else if (righttoppoint.X != 0 || righttoppoint.Y != 0) StretchMode = smHorizontal;
  else if (leftbottompoint.X != 0 || leftbottompoint.Y != 0) StretchMode = smVertical;
  else StretchMode = smFixed;
}

void TSkinStretch::AdjustSkinSize(int& width, int& height) {
  const int64_t dx = int64_t{width} - SkinWidth(), dy = int64_t{height} - SkinHeight();
  switch (StretchMode) {
    case smFixed:
      width = SkinWidth();
      height = SkinHeight();
      StretchedClientRect = SkinClientRect;
      return;
    case smBoth:
      StretchedLeftTopPoint = lefttoppoint;
      StretchedRightTopPoint = Add(righttoppoint, dx, 0);
      StretchedLeftBottomPoint = Add(leftbottompoint, 0, dy);
      StretchedRightBottomPoint = Add(rightbottompoint, dx, dy);
      StretchedClientRect = TRect(SkinClientRect.Left, SkinClientRect.Top, Sum(SkinClientRect.Right, dx), Sum(SkinClientRect.Bottom, dy));
      return;
    case smHorizontal:
      StretchedLeftTopPoint = lefttoppoint;
      height = SkinHeight();
      StretchedRightTopPoint = Add(righttoppoint, dx, 0);
      StretchedClientRect = TRect(SkinClientRect.Left, SkinClientRect.Top, Sum(SkinClientRect.Right, dx), SkinClientRect.Bottom);
      return;
    case smVertical:
      StretchedLeftTopPoint = lefttoppoint;
      width = SkinWidth();
      StretchedLeftBottomPoint = Add(leftbottompoint, 0, dy);
      StretchedClientRect = TRect(SkinClientRect.Left, SkinClientRect.Top, SkinClientRect.Right, Sum(SkinClientRect.Bottom, dy));
      return;
    default: return;
  }
}

TRect TSkinStretch::MapSkinRect(const TRect& r, int controlWidth, int controlHeight) const {
  const int sw = SkinWidth(), sh = SkinHeight();
  const int64_t dx = int64_t{controlWidth} - sw, dy = int64_t{controlHeight} - sh;
  TRect m = r;
  switch (StretchMode) {
    case smBoth: {
      const TRect lt(0, 0, lefttoppoint.X, lefttoppoint.Y);
      const TRect lb(0, leftbottompoint.Y, leftbottompoint.X, sh);
      const TRect rt(righttoppoint.X, 0, sw, righttoppoint.Y);
      const TRect rb(rightbottompoint.X, rightbottompoint.Y, sw, sh);
      if (RectInsideRect(r, lt)) return m;
      if (RectInsideRect(r, rt)) return Offset(m, dx, 0);
      if (RectInsideRect(r, lb)) return Offset(m, 0, dy);
      if (RectInsideRect(r, rb)) return Offset(m, dx, dy);
      const TPoint tl(r.Left, r.Top), br(r.Right, r.Bottom);
      if (RectHoldsPoint(lt, tl) && RectHoldsPoint(rb, br)) {
        m.Right = Sum(m.Right, dx);
        m.Bottom = Sum(m.Bottom, dy);
      } else if (RectHoldsPoint(lt, tl) && RectHoldsPoint(rt, br)) {
        m.Right = Sum(m.Right, dx);
      } else if (RectHoldsPoint(lb, tl) && RectHoldsPoint(rb, br)) {
        m.Right = Sum(m.Right, dx);
        m = Offset(m, 0, dy);
      } else if (RectHoldsPoint(lt, tl) && RectHoldsPoint(lb, br)) {
        m.Bottom = Sum(m.Bottom, dy);
      } else if (RectHoldsPoint(rt, tl) && RectHoldsPoint(rb, br)) {
        m = Offset(m, dx, 0);
        m.Bottom = Sum(m.Bottom, dy);
      }
      return m;
    }
    case smHorizontal:
      if (lefttoppoint.X >= r.Left && r.Right >= righttoppoint.X) m.Right = Sum(m.Right, dx);
      else if (r.Left >= righttoppoint.X && r.Right > righttoppoint.X) m = Offset(m, dx, 0);
      return m;
    case smVertical:
      if (lefttoppoint.Y >= r.Top && r.Bottom >= leftbottompoint.Y) m.Bottom = Sum(m.Bottom, dy);
      else if (r.Top >= leftbottompoint.Y && r.Bottom > leftbottompoint.Y) m = Offset(m, 0, dy);
      return m;
    default: return m;
  }
}
