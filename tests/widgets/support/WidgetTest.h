// What the widget tests share besides the application object (support/application.cpp):
// showing a form as the active window, synthetic mouse input and reading screen pixels.
#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <cstdint>

#include "platform/Colors.h"
#include "platform/Forms.h"

// Shows the form as the active window, so that its controls can take the focus.
inline void ShowActive(TCustomForm& form) {
  form.Show();
  QApplication::setActiveWindow(form.Handle());
  QApplication::processEvents();
}

// One mouse event at the widget point `p` with the left button. `held` is the buttons down
// after the event: by default the left button for a press or double click, none for a move
// or a release (pass Qt::LeftButton for a move while dragging).
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint p) {
  const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
  SendMouse(w, type, p, down ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons(Qt::NoButton));
}
// A left click (press and release) at `p`.
inline void ClickAt(QWidget* w, QPoint p) {
  SendMouse(w, QEvent::MouseButtonPress, p);
  SendMouse(w, QEvent::MouseButtonRelease, p);
}

// The colour of a pixel of what the widget shows now, as 0x00BBGGRR.
inline int32_t Pixel(QWidget* w, int x, int y) { return FromQColor(w->grab().toImage().pixelColor(x, y)); }
