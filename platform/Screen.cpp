#include "platform/Screen.h"

#include <QCursor>
#include <QGuiApplication>

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
