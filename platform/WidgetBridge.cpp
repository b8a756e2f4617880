#include "platform/WidgetBridge.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MessageFilter.h"

namespace {
uint16_t g_shift = 0;

uint16_t ShiftFrom(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  uint16_t s = 0;
  if (mods & Qt::ShiftModifier) s |= ssShift;
  if (mods & Qt::AltModifier) s |= ssAlt;
  if (mods & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

intptr_t MouseKeys(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  intptr_t k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

// Message numbers for a button event: down, up, double click (client or non-client).
uint32_t ButtonMessage(Qt::MouseButton b, QEvent::Type t, bool nonClient) {
  int base;
  switch (b) {
    case Qt::LeftButton: base = 0; break;
    case Qt::RightButton: base = 3; break;
    case Qt::MiddleButton: base = 6; break;
    default: return WM_NULL;
  }
  int offset = t == QEvent::MouseButtonPress ? 0 : t == QEvent::MouseButtonRelease ? 1 : 2;
  return (nonClient ? WM_NCLBUTTONDOWN : WM_LBUTTONDOWN) + static_cast<uint32_t>(base + offset);
}
}  // namespace

uint16_t CurrentShiftState() { return g_shift; }

uint16_t QtKeyToVirtualKey(int k) {
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<uint16_t>('0' + (k - Qt::Key_0));
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<uint16_t>('A' + (k - Qt::Key_A));
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (k - Qt::Key_F1));
  switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Menu: return VK_APPS;
    default: return 0;
  }
}

uint32_t KeyMessage(const QKeyEvent* e) {
  const bool press = e->type() == QEvent::KeyPress;
  const bool sys = (e->modifiers() & Qt::AltModifier) != 0 || e->key() == Qt::Key_F10 || e->key() == Qt::Key_Alt;
  return press ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
}

void TWidgetBridge::MarkDefault(const TMessage& m) {
  if (pending_ && pending_->Msg == m.Msg) reached_ = true;
}

bool TWidgetBridge::Deliver(TMessage& m) {
  const TMessage* outerPending = pending_;
  const bool outerReached = reached_;
  pending_ = &m;
  reached_ = false;
  control_->DispatchFromQt(m, this);
  const bool reached = reached_;
  pending_ = outerPending;
  reached_ = outerReached;
  return reached;
}

bool TWidgetBridge::Translate(QWidget* self, QEvent* e) {
  if (!control_) return BaseEvent(e);
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return part_ == Part::Frame ? TranslateNonClientMouse(self, e) : TranslateMouse(self, e);
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(e);
      g_shift = ShiftFrom(we->modifiers(), we->buttons());
      const QPoint gp = we->globalPosition().toPoint();
      const int delta = we->angleDelta().y();
      TMessage m{WM_MOUSEWHEEL, MakeLParam(static_cast<int>(MouseKeys(we->modifiers(), we->buttons())), delta),
                 MakeLParam(gp.x(), gp.y()), 0};
      if (Deliver(m)) return BaseEvent(e);
      e->accept();
      return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return TranslateKey(e);
    case QEvent::FocusIn: {
      TMessage m{WM_SETFOCUS, 0, 0, 0};
      const bool r = Deliver(m);
      return r ? BaseEvent(e) : true;
    }
    case QEvent::FocusOut: {
      TMessage m{WM_KILLFOCUS, 0, 0, 0};
      const bool r = Deliver(m);
      return r ? BaseEvent(e) : true;
    }
    case QEvent::Enter: {
      if (WholeHover && part_ != Part::Frame) return BaseEvent(e);
      TMessage m{part_ == Part::Frame && !WholeHover ? WM_NULL : CM_MOUSEENTER, 0, 0, 0};
      if (m.Msg == WM_NULL) return BaseEvent(e);
      m.LParam = reinterpret_cast<intptr_t>(static_cast<TControl*>(control_));
      Deliver(m);
      return BaseEvent(e);
    }
    case QEvent::Leave: {
      if (WholeHover && part_ != Part::Frame) return BaseEvent(e);
      const bool nonClient = part_ == Part::Frame && !WholeHover;
      TMessage m{nonClient ? WM_NCMOUSELEAVE : CM_MOUSELEAVE, 0, 0, 0};
      if (!nonClient) m.LParam = reinterpret_cast<intptr_t>(static_cast<TControl*>(control_));
      Deliver(m);
      return BaseEvent(e);
    }
    case QEvent::Paint:
      return TranslatePaint(self, e);
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::WindowStateChange: {
      const bool r = BaseEvent(e);
      if (part_ != Part::Client && control_) {
        const QRect g = self->geometry();
        control_->WidgetGeometryChanged(TRect(g.x(), g.y(), g.x() + g.width(), g.y() + g.height()));
      }
      return r;
    }
    case QEvent::Show:
    case QEvent::Hide: {
      if (part_ == Part::Client) return BaseEvent(e);
      TMessage m{WM_SHOWWINDOW, e->type() == QEvent::Show ? 1 : 0, 0, 0};
      Deliver(m);
      return BaseEvent(e);
    }
    case QEvent::Close: {
      if (part_ == Part::Client) return BaseEvent(e);
      // The form decides in its WM_CLOSE handling (Close); Qt must not close on its own.
      e->ignore();
      TMessage m{WM_CLOSE, 0, 0, 0};
      Deliver(m);
      return true;
    }
    case QEvent::WindowBlocked: {
      if (part_ == Part::Client || !self->isWindow()) return BaseEvent(e);
      TMessage m{WM_CANCELMODE, 0, 0, 0};
      Deliver(m);
      return BaseEvent(e);
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: {
      if (part_ == Part::Client || !self->isWindow()) return BaseEvent(e);
      const bool active = e->type() == QEvent::WindowActivate;
      TMessage nc{WM_NCACTIVATE, active ? 1 : 0, 0, 0};
      Deliver(nc);
      if (!control_) return true;
      TMessage m{WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0, 0};
      Deliver(m);
      return BaseEvent(e);
    }
    default:
      return BaseEvent(e);
  }
}

void TWidgetBridge::SystemKey(const QKeyEvent* e) {
  static uint32_t handledSerial = 0;
  const uint32_t serial = KeyEventSerial();
  if (serial != 0 && serial == handledSerial) return;  // a parent widget offered the same key again
  const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  intptr_t command = 0;
  if (e->type() == QEvent::KeyPress) {
    if (e->key() == Qt::Key_F10 && mods == Qt::NoModifier) command = SC_KEYMENU;
    if (e->key() == Qt::Key_F4 && mods == Qt::AltModifier) command = SC_CLOSE;
  } else if (e->key() == Qt::Key_Alt && !e->isAutoRepeat() && AltPressedAlone() &&
             (mods & (Qt::ShiftModifier | Qt::ControlModifier)) == Qt::NoModifier) {
    // Whether the release still counts Alt as held differs between input systems.
    command = SC_KEYMENU;
  }
  if (command == 0) return;
  TCustomForm* form = GetParentForm(control_);
  if (!form) return;
  handledSerial = serial;
  form->Perform(WM_SYSCOMMAND, command);
}

bool TWidgetBridge::AnnouncePress(QWidget* self, uint32_t downMsg, const QPoint& globalPos, int hit) {
  TCustomForm* form = GetParentForm(control_);
  if (form && self->window() && !self->window()->isActiveWindow()) {
    form->Perform(WM_MOUSEACTIVATE, 0, MakeLParam(hit, static_cast<int>(downMsg)));
    if (!control_) return false;
  }
  // A press on a form itself reaches it directly; one on a child control (either part of an
  // edit, its frame included) is announced to every parent.
  if (part_ != Part::Whole && dynamic_cast<TCustomForm*>(control_)) return true;
  // Parents hear of the button, pressed on the frame or not.
  const uint32_t note = downMsg >= WM_NCLBUTTONDOWN && downMsg <= WM_NCMBUTTONDOWN
                            ? downMsg - WM_NCLBUTTONDOWN + WM_LBUTTONDOWN
                            : downMsg;
  for (TWinControl* p = control_->Parent(); p; p = p->Parent()) {
    const TPoint cp = p->ScreenToClient(TPoint(globalPos.x(), globalPos.y()));
    p->Perform(WM_PARENTNOTIFY, static_cast<intptr_t>(note), MakeLParam(cp.X, cp.Y));
    if (!control_) return false;
  }
  return true;
}

bool TWidgetBridge::TranslateMouse(QWidget* self, QEvent* e) {
  auto* me = static_cast<QMouseEvent*>(e);
  g_shift = ShiftFrom(me->modifiers(), me->buttons() | me->button());
  const QPoint p = me->position().toPoint();
  TMessage m;
  m.Msg = e->type() == QEvent::MouseMove ? WM_MOUSEMOVE : ButtonMessage(me->button(), e->type(), false);
  if (m.Msg == WM_NULL) return BaseEvent(e);
  if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
    const uint32_t down = ButtonMessage(me->button(), QEvent::MouseButtonPress, false);
    if (!AnnouncePress(self, down, me->globalPosition().toPoint(), HTCLIENT)) return true;
  }
  m.WParam = MouseKeys(me->modifiers(), me->buttons());
  m.LParam = MakeLParam(p.x(), p.y());
  if (Deliver(m)) return BaseEvent(e);
  e->accept();
  return true;
}

bool TWidgetBridge::TranslateNonClientMouse(QWidget* self, QEvent* e) {
  auto* me = static_cast<QMouseEvent*>(e);
  g_shift = ShiftFrom(me->modifiers(), me->buttons() | me->button());
  const QPoint gp = me->globalPosition().toPoint();
  const intptr_t screen = MakeLParam(gp.x(), gp.y());
  TMessage hit{WM_NCHITTEST, 0, screen, 0};
  Deliver(hit);
  if (!control_) return true;
  TMessage m;
  m.Msg = e->type() == QEvent::MouseMove ? WM_NCMOUSEMOVE : ButtonMessage(me->button(), e->type(), true);
  if (m.Msg == WM_NULL) return BaseEvent(e);
  if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
    const uint32_t down = ButtonMessage(me->button(), QEvent::MouseButtonPress, true);
    if (!AnnouncePress(self, down, gp, static_cast<int>(hit.Result))) return true;
  }
  m.WParam = hit.Result;
  m.LParam = screen;
  if (Deliver(m)) return BaseEvent(e);
  e->accept();
  return true;
}

bool TWidgetBridge::TranslatePaint(QWidget* self, QEvent* e) {
  if (NativePaint && part_ != Part::Frame) {
    TMessage m{WM_PAINT, 0, 0, 0};
    if (Deliver(m)) return BaseEvent(e);
    return true;
  }
  QPainter painter(self);
  TCanvas local;
  TCanvas* canvas = &local;
  if (part_ != Part::Frame)
    if (auto* cc = dynamic_cast<TCustomControl*>(control_)) canvas = &cc->Canvas();
  canvas->Attach(&painter);
  if (part_ == Part::Frame) {
    TMessage m{WM_NCPAINT, reinterpret_cast<intptr_t>(canvas), 0, 0};
    Deliver(m);
  } else {
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<intptr_t>(canvas), 0, 0};
    Deliver(erase);
    if (control_) {
      TMessage m{WM_PAINT, reinterpret_cast<intptr_t>(canvas), 0, 0};
      Deliver(m);
    }
  }
  canvas->Detach();
  return true;
}

bool TWidgetBridge::TranslateKey(QEvent* e) {
  auto* ke = static_cast<QKeyEvent*>(e);
  g_shift = ShiftFrom(ke->modifiers(), Qt::NoButton);
  const bool press = e->type() == QEvent::KeyPress;
  const bool alt = (ke->modifiers() & Qt::AltModifier) != 0;
  TMessage m;
  m.Msg = KeyMessage(ke);
  m.WParam = QtKeyToVirtualKey(ke->key());
  bool toQt = Deliver(m);
  if (toQt && control_) SystemKey(ke);
  if (press && control_) {
    const QString text = ke->text();
    for (QChar ch : text) {
      if (!control_) break;
      if (ch.unicode() < 32 && ch.unicode() != 8 && ch.unicode() != 13 && ch.unicode() != 27) continue;
      TMessage c{alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(), 0, 0};
      const bool r = Deliver(c);
      if (!r || c.WParam == 0) toQt = false;
    }
  }
  if (toQt) return BaseEvent(e);
  e->accept();
  return true;
}
