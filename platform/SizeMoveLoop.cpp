#include "platform/SizeMoveLoop.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>

#include "platform/Forms.h"

namespace {
bool GrabsLeft(int edge) { return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT; }
bool GrabsRight(int edge) { return edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT; }
bool GrabsTop(int edge) { return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT; }
bool GrabsBottom(int edge) { return edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT; }

Qt::CursorShape SizingCursor(int edge) {
  switch (edge) {
    case WMSZ_LEFT:
    case WMSZ_RIGHT:
      return Qt::SizeHorCursor;
    case WMSZ_TOP:
    case WMSZ_BOTTOM:
      return Qt::SizeVerCursor;
    case WMSZ_TOPLEFT:
    case WMSZ_BOTTOMRIGHT:
      return Qt::SizeFDiagCursor;
    default:
      return Qt::SizeBDiagCursor;
  }
}

// The running loop. It lives as a child of the Qt application and filters its events while a
// loop runs; it is not deleted at the end of a loop because the end may come from inside its
// own eventFilter.
class TLoop : public QObject {
 public:
  explicit TLoop(QObject* parent) : QObject(parent) {}

  bool Begin(TCustomForm* form, int hitCode, const TPoint& pressed) {
    QWidget* window = form->HandleAllocated() ? form->Handle() : nullptr;
    if (!window || !window->isVisible()) return false;
    const int edge = SizeMoveLoop::SizingEdge(hitCode);
    if (hitCode != HTCAPTION && edge == 0) return false;
    form_ = form;
    window_ = window;
    edge_ = edge;
    // A child window (an MDI child) has its bounds in its parent's client coordinates; the
    // proposals are in screen coordinates all the same.
    origin_ = window->isWindow() || !window->parentWidget() ? QPoint() : window->parentWidget()->mapToGlobal(QPoint(0, 0));
    start_ = form->BoundsRect();
    start_ = TRect(start_.Left + origin_.x(), start_.Top + origin_.y(), start_.Right + origin_.x(), start_.Bottom + origin_.y());
    pressed_ = QPoint(pressed.X, pressed.Y);
    // All pointer and key input goes to the window until the end, wherever the pointer is.
    if (edge_)
      window->grabMouse(QCursor(SizingCursor(edge_)));
    else
      window->grabMouse();
    window->grabKeyboard();
    qApp->installEventFilter(this);
    form->Perform(WM_ENTERSIZEMOVE);
    return true;
  }

  TCustomForm* Form() const { return form_; }

  void Finish(bool restore) {
    TCustomForm* form = form_;
    if (!form) return;
    form_ = nullptr;
    qApp->removeEventFilter(this);
    if (window_) {
      if (QWidget::mouseGrabber() == window_) window_->releaseMouse();
      if (QWidget::keyboardGrabber() == window_) window_->releaseKeyboard();
    }
    if (restore && window_)
      form->SetBounds(start_.Left - origin_.x(), start_.Top - origin_.y(), start_.Width(), start_.Height());
    window_ = nullptr;
    form->Perform(WM_EXITSIZEMOVE);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (!form_) return false;
    if (!window_) {
      Finish(false);
      return false;
    }
    // Input comes twice: to the QWindow and then to the widget; act once, on the widget.
    if (!watched->isWidgetType()) return false;
    switch (e->type()) {
      case QEvent::MouseMove: {
        if (QWidget::mouseGrabber() != window_) return EndForeign();
        auto* me = static_cast<QMouseEvent*>(e);
        if (!(me->buttons() & Qt::LeftButton)) {
          // The release went past us: stop where the window is.
          Finish(false);
          return true;
        }
        // xcb already folds queued motion into the latest; each one left is applied.
        Track(me->globalPosition().toPoint());
        return true;
      }
      case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton) {
          Track(me->globalPosition().toPoint());
          Finish(false);
        }
        return true;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        if (QWidget::mouseGrabber() != window_) return EndForeign();
        return true;
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) Finish(true);
        return true;
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
        return true;
      case QEvent::Hide:
      case QEvent::Close:
        if (watched == window_.data()) Finish(false);
        return false;
      default:
        return false;
    }
  }

 private:
  // Someone else took the pointer: the loop ends and the event goes its way.
  bool EndForeign() {
    Finish(false);
    return false;
  }

  void Track(const QPoint& pointer) {
    TCustomForm* form = form_;
    if (!form) return;
    const int dx = pointer.x() - pressed_.x(), dy = pointer.y() - pressed_.y();
    TRect r;
    if (edge_ == 0) {
      r = TRect(start_.Left + dx, start_.Top + dy, start_.Right + dx, start_.Bottom + dy);
      form->Perform(WM_MOVING, 0, reinterpret_cast<intptr_t>(&r));
    } else {
      r = SizeMoveLoop::SizedRect(start_, edge_, dx, dy);
      TMinMaxInfo info = form->MinMaxInfo();
      SizeMoveLoop::ClampToTrackSize(r, edge_, info);
      form->Perform(WM_SIZING, edge_, reinterpret_cast<intptr_t>(&r));
    }
    // The handlers may have ended the loop (or dropped the window).
    if (form_ != form || !window_) return;
    r = TRect(r.Left - origin_.x(), r.Top - origin_.y(), r.Right - origin_.x(), r.Bottom - origin_.y());
    if (r != form->BoundsRect()) form->SetBounds(r.Left, r.Top, std::max(1, r.Width()), std::max(1, r.Height()));
  }

  TCustomForm* form_ = nullptr;  // referenced; the form ends its loop before it goes
  QPointer<QWidget> window_;
  int edge_ = 0;  // WMSZ_* while sizing, 0 while moving
  TRect start_;    // screen coordinates
  QPoint origin_;  // screen position of the bounds' origin (the parent's client origin for a child window)
  QPoint pressed_;
};

QPointer<TLoop>& Loop() {
  static QPointer<TLoop> loop;
  return loop;
}
}  // namespace

namespace SizeMoveLoop {
int SizingEdge(int hitCode) {
  switch (hitCode) {
    case HTLEFT:
      return WMSZ_LEFT;
    case HTRIGHT:
      return WMSZ_RIGHT;
    case HTTOP:
      return WMSZ_TOP;
    case HTTOPLEFT:
      return WMSZ_TOPLEFT;
    case HTTOPRIGHT:
      return WMSZ_TOPRIGHT;
    case HTBOTTOM:
      return WMSZ_BOTTOM;
    case HTBOTTOMLEFT:
      return WMSZ_BOTTOMLEFT;
    case HTBOTTOMRIGHT:
    case HTGROWBOX:
      return WMSZ_BOTTOMRIGHT;
    default:
      return 0;
  }
}

TRect SizedRect(const TRect& start, int edge, int dx, int dy) {
  TRect r = start;
  if (GrabsLeft(edge)) r.Left += dx;
  if (GrabsRight(edge)) r.Right += dx;
  if (GrabsTop(edge)) r.Top += dy;
  if (GrabsBottom(edge)) r.Bottom += dy;
  return r;
}

void ClampToTrackSize(TRect& r, int edge, const TMinMaxInfo& info) {
  const int minW = std::max(1, info.MinTrackSize.X), minH = std::max(1, info.MinTrackSize.Y);
  const int maxW = std::max(minW, info.MaxTrackSize.X), maxH = std::max(minH, info.MaxTrackSize.Y);
  const int w = std::clamp(r.Width(), minW, maxW), h = std::clamp(r.Height(), minH, maxH);
  if (w != r.Width()) {
    if (GrabsLeft(edge))
      r.Left = r.Right - w;
    else
      r.Right = r.Left + w;
  }
  if (h != r.Height()) {
    if (GrabsTop(edge))
      r.Top = r.Bottom - h;
    else
      r.Bottom = r.Top + h;
  }
}

bool Start(TCustomForm* form, int hitCode, const TPoint& pressed) {
  if (!form || !qApp) return false;
  if (TLoop* running = Loop()) running->Finish(false);
  if (!Loop()) Loop() = new TLoop(qApp);
  return Loop()->Begin(form, hitCode, pressed);
}

TCustomForm* ActiveForm() { return Loop() ? Loop()->Form() : nullptr; }

void End(TCustomForm* form, bool restore) {
  if (form && ActiveForm() == form) Loop()->Finish(restore);
}
}  // namespace SizeMoveLoop
