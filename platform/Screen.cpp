#include "platform/Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {
Qt::CursorShape ShapeOf(TCursor c) {
  switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}
}  // namespace

TScreen& TScreen::Instance() {
  static TScreen screen;
  return screen;
}

void TScreen::SetCursor(TCursor c) {
  cursor_ = c;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    overridden_ = false;
    return;
  }
  if (c == crDefault) {
    if (overridden_) QGuiApplication::restoreOverrideCursor();
    overridden_ = false;
  } else if (overridden_) {
    QGuiApplication::changeOverrideCursor(QCursor(ShapeOf(c)));
  } else {
    QGuiApplication::setOverrideCursor(QCursor(ShapeOf(c)));
    overridden_ = true;
  }
}

namespace {
QScreen* Primary() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
}
}  // namespace

int TScreen::Width() const {
  QScreen* s = Primary();
  return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
  QScreen* s = Primary();
  return s ? s->geometry().height() : 0;
}

TRect TScreen::WorkAreaRect() const {
  QScreen* s = Primary();
  if (!s) return TRect();
  const QRect a = s->availableGeometry();
  return TRect(a.left(), a.top(), a.left() + a.width(), a.top() + a.height());
}

TPoint TScreen::CursorPos() const {
  if (!Primary()) return TPoint();
  const QPoint p = QCursor::pos();
  return TPoint(p.x(), p.y());
}
