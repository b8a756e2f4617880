#include "platform/MessageFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/WidgetBridge.h"

namespace {
uint32_t g_keySerial = 0;
bool g_altAlone = false;

// The control of the nearest bridged widget at or above `w`.
TWinControl* ControlOf(QWidget* w) {
  for (; w; w = w->parentWidget())
    if (auto* b = dynamic_cast<TWidgetBridge*>(w); b && b->Control()) return b->Control();
  return nullptr;
}

// The widget a key event offered to `watched` ends at: a window hands it to its focused widget.
QWidget* KeyTarget(QObject* watched) {
  if (auto* w = qobject_cast<QWidget*>(watched)) return w;
  if (qobject_cast<QWindow*>(watched)) {
    if (QWidget* f = QApplication::focusWidget()) return f;
    return QApplication::activeWindow();
  }
  return nullptr;
}
}  // namespace

uint32_t KeyEventSerial() { return g_keySerial; }
bool AltPressedAlone() { return g_altAlone; }

TMessageFilter::TSeen TMessageFilter::Identity(const QKeyEvent* e) {
  return TSeen{e, static_cast<int>(e->type()), e->key(), e->timestamp(), e->isAutoRepeat()};
}

bool TMessageFilter::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type t = e->type();
  if (t == QEvent::ShortcutOverride) {
    seen_ = TSeen();  // every key press is preceded by one: a new key event starts
    return false;
  }
  if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) g_altAlone = false;
  if (t != QEvent::KeyPress && t != QEvent::KeyRelease) return false;
  auto* ke = static_cast<QKeyEvent*>(e);
  const TSeen id = Identity(ke);
  if (id.Event == seen_.Event && id.Type == seen_.Type && id.Key == seen_.Key && id.Timestamp == seen_.Timestamp &&
      id.AutoRepeat == seen_.AutoRepeat)
    return false;  // passed on to the next receiver: already offered
  seen_ = id;
  ++g_keySerial;
  if (t == QEvent::KeyPress) g_altAlone = ke->key() == Qt::Key_Alt;
  if (!Application || !Application->OnMessage) return false;
  TMsg msg;
  msg.Control = ControlOf(KeyTarget(watched));
  msg.Msg = KeyMessage(ke);
  msg.WParam = QtKeyToVirtualKey(ke->key());
  bool handled = false;
  // A copy: the handler may replace OnMessage (unhook) while it runs.
  const TMessageEvent handler = Application->OnMessage;
  try {
    handler(msg, handled);
  } catch (...) {
    Application->HandleException();
    handled = true;
  }
  if (!handled) return false;
  e->accept();
  return true;
}
