// What the widget tests share besides the application object (support/application.cpp):
// showing a form as the active window, synthetic mouse and key input, and reading pixels.
#pragma once
#include <QApplication>
#include <QKeyEvent>
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

// One mouse event at the widget point `p` for `button`: a press or double click holds the
// button down, a release or a move holds none.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
  const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
  const Qt::MouseButtons held = down ? Qt::MouseButtons(button) : Qt::MouseButtons(Qt::NoButton);
  if (type == QEvent::MouseMove) button = Qt::NoButton;
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
// A mouse move to `p` with the left button held (dragging).
inline void DragTo(QWidget* w, QPoint p) {
  QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
// A click (press and release) at `p`.
inline void ClickAt(QWidget* w, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
  SendMouse(w, QEvent::MouseButtonPress, p, button);
  SendMouse(w, QEvent::MouseButtonRelease, p, button);
}

// A key press and release sent straight to the widget (focused or not), with its text.
inline void SendKey(QWidget* w, int key, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(w, &release);
}

// The colour of a pixel of what the widget shows now, as 0x00BBGGRR.
inline int32_t Pixel(QWidget* w, int x, int y) { return FromQColor(w->grab().toImage().pixelColor(x, y)); }
// A colour (system colours resolved) as the QRgb a screen image holds.
inline QRgb Rgb(TColor c) {
  const int32_t v = ColorToRGB(c);
  return qRgb(GetRValue(v), GetGValue(v), GetBValue(v));
}
