// Where a menu window goes on the screen: pure rules on rectangles, no window involved.
#pragma once
#include "platform/Types.h"

struct TMenuPlacement {
  TRect Anchor;       // screen rectangle the window opens against
  int Width = 0;      // window size
  int Height = 0;
  TRect WorkArea;     // the desktop less the panels
  bool IsSubMenu = false;
  bool OpenUp = false;
  bool Scrolling = false;
  int ItemsTop = 0;   // top of the items rectangle inside the window
};

// The window's top-left corner. A sub-menu lines its first item up with the parent item; a
// window that does not fit below (or above) is pushed against the work area and then beside
// the anchor rather than over it.
TPoint MenuWindowPosition(const TMenuPlacement& p);
