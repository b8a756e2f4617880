#include "platform/ApplicationHints.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/Colors.h"
#include "platform/CursorImage.h"
#include "platform/Screen.h"
#include "platform/WidgetBridge.h"

namespace {
// The bridge of `w` or of its nearest parent that has one (Qt's inner widgets of an edit).
TWidgetBridge* BridgeOf(QWidget* w) {
  for (; w; w = w->parentWidget())
    if (auto* b = dynamic_cast<TWidgetBridge*>(w)) return b;
  return nullptr;
}

// The part before the first '|' is the text a hint window shows.
QString ShortHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  return bar < 0 ? hint : hint.left(bar);
}
}  // namespace

THintController::THintController() : TComponent(nullptr) {
  pauseTimer_.setSingleShot(true);
  hideTimer_.setSingleShot(true);
  leaveTimer_.setSingleShot(true);
  QObject::connect(&leaveTimer_, &QTimer::timeout, [this] { MouseOver(nullptr, Screen()->CursorPos()); });
  QObject::connect(&pauseTimer_, &QTimer::timeout, [this] { ShowNow(); });
  QObject::connect(&hideTimer_, &QTimer::timeout, [this] { HideNow(); });
  if (qApp) qApp->installEventFilter(this);
}

THintController::~THintController() {
  if (qApp) qApp->removeEventFilter(this);
  SetHintControl(nullptr);
  window_.reset();
}

void THintController::SetShowHint(bool v) {
  if (v == showHint_) return;
  showHint_ = v;
  if (v) {
    window_.reset(HintWindowClass ? HintWindowClass(nullptr) : MakePlainHintWindow(nullptr));
  } else {
    CancelHint();
    window_.reset();
  }
}

TControl* THintController::HintControlFor(TControl* c) {
  while (c && !c->EffectiveShowHint()) c = c->Parent();
  return c;
}

void THintController::SetHintControl(TControl* c) {
  if (c == hintControl_) return;
  if (hintControl_) hintControl_->RemoveFreeNotification(this);
  hintControl_ = c;
  if (c) c->FreeNotification(this);
}

void THintController::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == hintControl_) {
    hintControl_ = nullptr;
    pauseTimer_.stop();
    HideNow();
  }
}

void THintController::MouseOver(TControl* control, const TPoint& pos) {
  (void)pos;
  TControl* hc = HintControlFor(control);
  if (hc == hintControl_) return;
  const bool wasShowing = HintShowing();
  pauseTimer_.stop();
  HideNow();
  SetHintControl(hc);
  if (!hc || !showHint_) return;
  pauseTimer_.start(wasShowing ? HintShortPause : HintPause);
}

void THintController::CancelHint() {
  pauseTimer_.stop();
  HideNow();
  SetHintControl(nullptr);
}

void THintController::HideNow() {
  hideTimer_.stop();
  if (window_) window_->ReleaseHint();
}

void THintController::ShowNow() {
  if (!hintControl_ || !window_) return;
  const TPoint cursor = Screen()->CursorPos();
  THintInfo info;
  info.HintControl = hintControl_;
  info.HintWindowClass = HintWindowClass;
  info.HintPos = TPoint(cursor.X, cursor.Y + CursorHeightMargin());
  info.HintMaxWidth = Screen()->Width() > 0 ? Screen()->Width() : 32767;
  info.HintColor = clInfoBk;
  info.CursorRect = hintControl_->ClientRect();
  info.CursorPos = hintControl_->ScreenToClient(cursor);
  info.HideTimeout = HintHidePause;
  info.HintStr = ShortHint(hintControl_->Hint());
  bool canShow = hintControl_->Perform(CM_HINTSHOW, 0, reinterpret_cast<intptr_t>(&info)) == 0;
  QString text = info.HintStr;
  if (canShow && OnShowHint) OnShowHint(text, canShow, info);
  // A handler may have freed the control or turned hints off.
  if (!hintControl_ || !window_ || !canShow || text.isEmpty()) return;
  TRect r = window_->CalcHintRect(info.HintMaxWidth, text);
  r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
  window_->SetColor(info.HintColor);
  window_->ActivateHint(r, text);
  if (info.HideTimeout > 0) hideTimer_.start(info.HideTimeout);
}

bool THintController::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::ToolTip:
      // Hints of our controls are ours alone.
      return BridgeOf(w) != nullptr;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
      CancelHint();
      return false;
    case QEvent::Leave:
      // Moving onto the next widget brings its Enter right after this Leave: decide once the
      // events waiting now are handled, so that a showing hint moves on with the short pause.
      if (BridgeOf(w)) leaveTimer_.start(0);
      return false;
    case QEvent::Enter:
    case QEvent::MouseMove: {
      TWidgetBridge* b = BridgeOf(w);
      if (b) leaveTimer_.stop();
      if (!b || !b->Control() || (window_ && window_->HandleAllocated() && w == window_->Handle())) return false;
      QPoint global;
      if (event->type() == QEvent::Enter) {
        global = static_cast<QEnterEvent*>(event)->globalPosition().toPoint();
      } else {
        // A move the child did not take goes on to its parents: the child is the one under the mouse.
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->timestamp() == lastMoveTime_ && lastMoveWidget_ && w != lastMoveWidget_ && w->isAncestorOf(lastMoveWidget_))
          return false;
        lastMoveTime_ = me->timestamp();
        lastMoveWidget_ = w;
        global = me->globalPosition().toPoint();
      }
      TControl* over = nullptr;
      if (b->WidgetPart() != TWidgetBridge::Part::Frame) {
        TWinControl* wc = b->Control();
        QWidget* bw = dynamic_cast<QWidget*>(b);
        const QPoint local = bw ? bw->mapFromGlobal(global) : QPoint();
        TControl* child = wc->ControlAtPos(TPoint(local.x(), local.y()));
        over = child ? child : wc;
      }
      MouseOver(over, TPoint(global.x(), global.y()));
      return false;
    }
    default:
      return false;
  }
}
