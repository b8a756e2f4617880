#include "skin/controls/SkinStretch.h"

#include "skin/draw/bsUtils.h"

namespace {
TPoint Add(const TPoint& p, int dx, int dy) { return TPoint(p.X + dx, p.Y + dy); }
TRect Offset(const TRect& r, int dx, int dy) { return TRect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy); }
}  // namespace

void TSkinStretch::ComputeStretchMode() {
  if (skinrect.Width() < 1 || skinrect.Height() < 1) StretchMode = smNone;
  else if (rightbottompoint.X != 0 && rightbottompoint.Y != 0) StretchMode = smBoth;
  else if (righttoppoint.X != 0 || righttoppoint.Y != 0) StretchMode = smHorizontal;
  else if (leftbottompoint.X != 0 || leftbottompoint.Y != 0) StretchMode = smVertical;
  else StretchMode = smFixed;
}

void TSkinStretch::AdjustSkinSize(int& width, int& height) {
  const int dx = width - SkinWidth(), dy = height - SkinHeight();
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
      StretchedClientRect = TRect(SkinClientRect.Left, SkinClientRect.Top, SkinClientRect.Right + dx, SkinClientRect.Bottom + dy);
      return;
    case smHorizontal:
      StretchedLeftTopPoint = lefttoppoint;
      height = SkinHeight();
      StretchedRightTopPoint = Add(righttoppoint, dx, 0);
      StretchedClientRect = TRect(SkinClientRect.Left, SkinClientRect.Top, SkinClientRect.Right + dx, SkinClientRect.Bottom);
      return;
    case smVertical:
      StretchedLeftTopPoint = lefttoppoint;
      width = SkinWidth();
      StretchedLeftBottomPoint = Add(leftbottompoint, 0, dy);
      StretchedClientRect = TRect(SkinClientRect.Left, SkinClientRect.Top, SkinClientRect.Right, SkinClientRect.Bottom + dy);
      return;
    default: return;
  }
}

TRect TSkinStretch::MapSkinRect(const TRect& r, int controlWidth, int controlHeight) const {
  const int sw = SkinWidth(), sh = SkinHeight();
  const int dx = controlWidth - sw, dy = controlHeight - sh;
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
        m.Right += dx;
        m.Bottom += dy;
      } else if (RectHoldsPoint(lt, tl) && RectHoldsPoint(rt, br)) {
        m.Right += dx;
      } else if (RectHoldsPoint(lb, tl) && RectHoldsPoint(rb, br)) {
        m.Right += dx;
        m = Offset(m, 0, dy);
      } else if (RectHoldsPoint(lt, tl) && RectHoldsPoint(lb, br)) {
        m.Bottom += dy;
      } else if (RectHoldsPoint(rt, tl) && RectHoldsPoint(rb, br)) {
        m = Offset(m, dx, 0);
        m.Bottom += dy;
      }
      return m;
    }
    case smHorizontal:
      if (lefttoppoint.X >= r.Left && r.Right >= righttoppoint.X) m.Right += dx;
      else if (r.Left >= righttoppoint.X && r.Right > righttoppoint.X) m = Offset(m, dx, 0);
      return m;
    case smVertical:
      if (lefttoppoint.Y >= r.Top && r.Bottom >= leftbottompoint.Y) m.Bottom += dy;
      else if (r.Top >= leftbottompoint.Y && r.Bottom > leftbottompoint.Y) m = Offset(m, 0, dy);
      return m;
    default: return m;
  }
}
