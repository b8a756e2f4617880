// The one place where Qt events become messages. Every control's widget is a
// TBridgedWidget<QtClass>: its event() hands the event to TWidgetBridge::Translate, which makes
// the message(s), delivers them through the control's WindowProc and, when a message reaches
// the control's DefaultHandler, lets the Qt class handle the event as it normally would.
//
// A form has two bridged widgets: the window (part Frame: everything outside the client
// area; its mouse and paint events become non-client messages) and the client widget (part
// Client). Other controls have one widget (part Whole).
#pragma once
#include <QEvent>
#include <QWidget>
#include <utility>

#include "platform/Messages.h"
#include "platform/Types.h"

class TWinControl;
class TCanvas;

class TWidgetBridge {
 public:
  enum class Part { Whole, Frame, Client };
  TWidgetBridge(TWinControl* control, Part part) : control_(control), part_(part) {}
  virtual ~TWidgetBridge() = default;

  TWinControl* Control() const { return control_; }
  // Cut the link before the control goes; events after that get Qt's own handling.
  void Detach() { control_ = nullptr; }
  Part WidgetPart() const { return part_; }
  // The Qt class paints the widget itself (edits, date pickers): WM_PAINT carries no canvas
  // and its default handling is the Qt paint.
  bool NativePaint = false;
  // Set on both widgets of a child control that has a frame and a client widget (an edit):
  // the mouse enters and leaves the control as a whole, reported by the frame widget alone.
  bool WholeHover = false;

  // Called by DefaultHandler: the message being delivered from a Qt event reached the end.
  void MarkDefault(const TMessage& m);
  bool Dispatching() const { return pending_ != nullptr; }

 protected:
  bool Translate(QWidget* self, QEvent* e);
  virtual bool BaseEvent(QEvent* e) = 0;

 private:
  // Delivers one message; true when it reached the default handling.
  bool Deliver(TMessage& m);
  bool TranslateMouse(QWidget* self, QEvent* e);
  bool TranslateNonClientMouse(QWidget* self, QEvent* e);
  bool TranslatePaint(QWidget* self, QEvent* e);
  bool TranslateKey(QEvent* e);
  // After a key message reached the default handling: Alt alone or F10 opens the form's
  // keyboard menu (SC_KEYMENU), Alt+F4 closes it (SC_CLOSE), once per key event.
  void SystemKey(const QKeyEvent* e);
  // Before a button press: the form hears of a press while it is inactive
  // (WM_MOUSEACTIVATE) and every windowed parent of a child control of it (WM_PARENTNOTIFY).
  // False when the control went meanwhile.
  bool AnnouncePress(QWidget* self, uint32_t downMsg, const QPoint& globalPos, int hit);

  TWinControl* control_;  // referenced, not owned
  Part part_;
  const TMessage* pending_ = nullptr;
  bool reached_ = false;
};

template <class QBase>
class TBridgedWidget : public QBase, public TWidgetBridge {
 public:
  template <class... A>
  TBridgedWidget(TWinControl* control, Part part, A&&... args)
      : QBase(std::forward<A>(args)...), TWidgetBridge(control, part) {}

 protected:
  bool event(QEvent* e) override { return Translate(this, e); }
  bool BaseEvent(QEvent* e) override { return QBase::event(e); }
};

// Shift state of the latest input event (keys and mouse buttons).
uint16_t CurrentShiftState();
// Virtual key code of a Qt key (0 when it has none).
uint16_t QtKeyToVirtualKey(int qtKey);
// The key message of a Qt key event: keys held with Alt, F10 and Alt itself are system keys (WM_SYSKEYDOWN/UP), the others WM_KEYDOWN/UP.
class QKeyEvent;
uint32_t KeyMessage(const QKeyEvent* e);
