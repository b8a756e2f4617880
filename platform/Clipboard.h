// The system clipboard over QClipboard (the X11 CLIPBOARD selection). GUI thread only; needs
// a QGuiApplication.
#pragma once
#include <QString>

class TClipboard {
 public:
  static TClipboard& Instance();
  QString AsText() const;
  // Puts plain text on the clipboard; the program serves it until another one takes over.
  void SetAsText(const QString& text);
};

inline TClipboard& Clipboard() { return TClipboard::Instance(); }
