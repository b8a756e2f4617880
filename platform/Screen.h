// The screen object: the mouse pointer shown over every window of the program. GUI thread
// only; safe to use before (or without) a QGuiApplication, when it only remembers the value.
#pragma once

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

 private:
  TScreen() = default;
  TCursor cursor_ = crDefault;
  bool overridden_ = false;
};

inline TScreen* Screen() { return &TScreen::Instance(); }
