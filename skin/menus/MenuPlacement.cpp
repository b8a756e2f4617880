#include "skin/menus/MenuPlacement.h"

TPoint MenuWindowPosition(const TMenuPlacement& p) {
  const TRect& A = p.Anchor;
  const TRect& WA = p.WorkArea;
  const int W = p.Width, H = p.Height, IT = p.ItemsTop;
  const int mid = WA.Top + (WA.Bottom - WA.Top) / 2;
  bool pushed = false;
  int y;
  if (p.Scrolling) {
    y = WA.Top;
  } else if (p.IsSubMenu) {
    if (A.Top - IT + H <= WA.Bottom) y = A.Top - IT;
    else if (A.Top < mid) y = WA.Bottom - H;
    else {
      y = A.Bottom - H + IT;
      if (y < WA.Top) y = WA.Top;
    }
  } else if (p.OpenUp) {
    if (A.Top - H >= WA.Top) {
      y = A.Top - H;
    } else if (A.Top < mid) {
      if (A.Bottom + H <= WA.Bottom) y = A.Bottom;
      else y = WA.Bottom - H, pushed = true;
    } else {
      y = WA.Top, pushed = true;
    }
  } else {
    if (A.Bottom + H <= WA.Bottom) {
      y = A.Bottom;
    } else if (A.Top < mid) {
      y = WA.Bottom - H, pushed = true;
    } else if (A.Top - H >= WA.Top) {
      y = A.Top - H;
    } else {
      y = WA.Top, pushed = true;
    }
  }
  int x;
  if (p.IsSubMenu || p.Scrolling || pushed) {
    x = A.Right + W + 1 <= WA.Right ? A.Right + 1 : A.Left - W - 1;
  } else if (A.Left + W > WA.Right) {
    x = WA.Right - W;
  } else if (A.Left < WA.Left) {
    x = WA.Left;
  } else {
    x = A.Left;
  }
  return TPoint(x, y);
}
