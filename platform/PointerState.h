// The mouse pointer as the display server sees it, whichever window it is over (another
// program's or the desktop), read without grabbing anything. GUI thread only.
#pragma once
#include "platform/Types.h"

struct TPointerState {
  TPoint Pos;               // screen coordinates (device-independent pixels)
  bool ButtonDown = false;  // any of the left, middle and right buttons is held
};

// On X11 the server's pointer query; elsewhere what the application has seen.
TPointerState QueryPointerState();
