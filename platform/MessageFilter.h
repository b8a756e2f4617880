// The message loop's pre-processing of key messages: every key press and release of the
// program, whichever window or widget it goes to, is first shown to the application's
// OnMessage as a TMsg; a handler that sets Handled drops it, so that no control sees it
// (and no character follows it). Owned by the application object; GUI thread only.
#pragma once
#include <QObject>
#include <cstdint>

class QEvent;
class QKeyEvent;

class TMessageFilter : public QObject {
 public:
  explicit TMessageFilter(QObject* parent = nullptr) : QObject(parent) {}
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Qt offers one key event to the window, then to the focused widget and then to its parents
  // while nobody takes it; only the first of those offers goes to OnMessage. A key event is
  // known by these values until the next one comes.
  struct TSeen {
    const QEvent* Event = nullptr;
    int Type = 0;
    int Key = 0;
    quint64 Timestamp = 0;
    bool AutoRepeat = false;
  };
  static TSeen Identity(const QKeyEvent* e);
  TSeen seen_;
};

// Counts the key events of the program (each press and release once, however many widgets
// Qt offers it to); the current value names the key event being delivered.
uint32_t KeyEventSerial();
// True from a press of Alt until the next key press or mouse button press: a release of Alt
// then means Alt was pressed alone.
bool AltPressedAlone();
