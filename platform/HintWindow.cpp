#include "platform/HintWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <algorithm>

#include "platform/Colors.h"
#include "platform/Screen.h"
#include "platform/WidgetBridge.h"

THintWindowClass HintWindowClass = &MakePlainHintWindow;

namespace {
// A screen reader sees a hint window as a tool tip named by its text.
class HintAccessible : public QAccessibleWidget {
 public:
  HintAccessible(QWidget* w, THintWindow* hint) : QAccessibleWidget(w, QAccessible::ToolTip), hint_(hint) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name || t == QAccessible::Description) return hint_->Text();
    return QAccessibleWidget::text(t);
  }

 private:
  THintWindow* hint_;  // owns the widget, so outlives this interface's use
};

QAccessibleInterface* HintFactory(const QString& className, QObject* object) {
  if (className != QStringLiteral("QWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* bridge = dynamic_cast<TWidgetBridge*>(static_cast<QWidget*>(object));
  auto* hint = bridge ? dynamic_cast<THintWindow*>(bridge->Control()) : nullptr;
  return hint ? new HintAccessible(static_cast<QWidget*>(object), hint) : nullptr;
}
}  // namespace

THintWindow* MakePlainHintWindow(TComponent* owner) { return new THintWindow(owner); }

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  static bool accessible = false;
  if (!accessible) {
    accessible = true;
    QAccessible::installFactory(HintFactory);
  }
  visible_ = false;
  color_ = clInfoBk;
}

THintWindow::~THintWindow() = default;

void THintWindow::CreateParams(TCreateParams& params) {
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

QWidget* THintWindow::CreateWidget(QWidget*) {
  if (!paramsMade_) {
    CreateParams(params_);
    paramsMade_ = true;
  }
  // A tool tip window: no decoration, above every other window, bypassing the window manager;
  // it never takes the focus and lets the mouse through to the window below.
  auto* w = new TBridgedWidget<QWidget>(this, TWidgetBridge::Part::Whole, nullptr,
                                        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                            Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput);
  w->setAttribute(Qt::WA_ShowWithoutActivating);
  w->setAttribute(Qt::WA_TransparentForMouseEvents);
  return w;
}

void THintWindow::InitWidget(QWidget* w) {
  TCustomControl::InitWidget(w);
  w->setMouseTracking(false);
  w->setFocusPolicy(Qt::NoFocus);
}

void THintWindow::WndProc(TMessage& m) {
  // Nothing to erase: Paint covers every pixel.
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  TCustomControl::WndProc(m);
}

TRect THintWindow::CalcHintRect(int maxWidth, const QString& text) {
  TCanvas& c = Canvas();
  c.Font = Font();
  TRect r(0, 0, maxWidth > 0 ? maxWidth : 32767, 0);
  c.DrawText(text, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.Right += 6;
  r.Bottom += 4;
  return r;
}

void THintWindow::ActivateHint(const TRect& rect, const QString& text) {
  SetText(text);
  // Keep the window on the screen: moved left or up by what lies beyond the right or bottom.
  TRect r = rect;
  const int sw = Screen()->Width(), sh = Screen()->Height();
  if (sw > 0 && r.Right > sw) r = Bounds(std::max(0, r.Left - (r.Right - sw)), r.Top, r.Width(), r.Height());
  if (sh > 0 && r.Bottom > sh) r = Bounds(r.Left, std::max(0, r.Top - (r.Bottom - sh)), r.Width(), r.Height());
  SetBoundsRect(r);
  ShowNoActivate();
  Invalidate();
}

void THintWindow::ShowNoActivate() {
  QWidget* w = Handle();
  visible_ = true;
  ApplyWidgetGeometry();
  // A window just shown is on top already; one that stays shown is raised again.
  if (!w->isVisible()) w->show();
  else w->raise();
}

void THintWindow::ReleaseHint() {
  visible_ = false;
  if (HandleAllocated() && Handle()->isVisible()) Handle()->hide();
}

bool THintWindow::HintShowing() const { return visible_ && handle_ && handle_->isVisible(); }

void THintWindow::Paint() {
  TCanvas& c = Canvas();
  const TRect all = ClientRect();
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = Color();
  c.FillRect(all);
  if (params_.Style & WS_BORDER) {
    c.Brush.Color = clBtnShadow;
    c.FrameRect(all);
  }
  c.Font = Font();
  c.Font.Color = clInfoText;
  c.Brush.Style = TBrushStyle::bsClear;
  TRect r(all.Left + 2, all.Top + 2, all.Right - 2, all.Bottom - 2);
  c.DrawText(Text(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
