// The screen object: the mouse pointer shown over every window of the program. GUI thread
// only; safe to use before (or without) a QGuiApplication, when it only remembers the value.
#pragma once
#include "platform/Types.h"

enum TCursor : int {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crUpArrow = -10,
  crHourGlass = -11,
  crDrag = -12,
  crNoDrop = -13,
  crHSplit = -14,
  crVSplit = -15,
  crMultiDrag = -16,
  crSQLWait = -17,
  crNo = -18,
  crAppStart = -19,
  crHelp = -20,
  crHandPoint = -21,
  crSizeAll = -22,
};

class TScreen {
 public:
  static TScreen& Instance();
  TCursor Cursor() const { return cursor_; }
  // Anything but crDefault is shown over every window (an application override cursor).
  void SetCursor(TCursor c);

  // The primary screen in pixels, and its work area: the desktop less the panels and task
  // bars the desktop keeps for itself. Empty before there is a QGuiApplication.
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  // The mouse pointer position in screen coordinates.
  TPoint CursorPos() const;

 private:
  TScreen() = default;
  TCursor cursor_ = crDefault;
  bool overridden_ = false;
};

inline TScreen* Screen() { return &TScreen::Instance(); }
