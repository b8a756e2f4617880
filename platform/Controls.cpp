#include "platform/Controls.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/MessageFilter.h"
#include "platform/WidgetBridge.h"

namespace {
bool IsClientMouseMessage(uint32_t msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

Qt::CursorShape CursorShape(TCursor c) {
  switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crDrag: case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
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

TShiftState KeysToShiftState(intptr_t keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (CurrentShiftState() & ssAlt) s |= ssAlt;
  return s;
}

// ===================================================================================
// TControl
// ===================================================================================

TControl::TControl(TComponent* owner) : TComponent(owner), color_(clWindow) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
  Destroying();
  if (parent_) parent_->RemoveControl(this);
}

intptr_t TControl::Perform(uint32_t msg, intptr_t wparam, intptr_t lparam) {
  TMessage m{msg, wparam, lparam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      const TMouseButton b = (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) ? TMouseButton::mbLeft
                             : (m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONDBLCLK) ? TMouseButton::mbRight
                                                                                      : TMouseButton::mbMiddle;
      const bool dbl = m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
      if (m.Msg == WM_LBUTTONDOWN) clickPending_ = true;
      if (m.Msg == WM_LBUTTONDBLCLK) DblClick();
      TShiftState s = KeysToShiftState(m.WParam);
      if (dbl) s |= ssDouble;
      MouseDown(b, s, LParamX(m.LParam), LParamY(m.LParam));
      DefaultHandler(m);
      return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const TMouseButton b = m.Msg == WM_LBUTTONUP ? TMouseButton::mbLeft
                             : m.Msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                                     : TMouseButton::mbMiddle;
      const int x = LParamX(m.LParam), y = LParamY(m.LParam);
      const bool click = m.Msg == WM_LBUTTONUP && clickPending_;
      if (m.Msg == WM_LBUTTONUP) clickPending_ = false;
      MouseUp(b, KeysToShiftState(m.WParam), x, y);
      if (click && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
      DefaultHandler(m);
      return;
    }
    case WM_MOUSEMOVE:
      MouseMove(KeysToShiftState(m.WParam), LParamX(m.LParam), LParamY(m.LParam));
      DefaultHandler(m);
      return;
    case CM_PARENTFONTCHANGED:
      ParentFontChanged();
      return;
    case CM_PARENTCOLORCHANGED:
      ParentColorChanged();
      return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
      NotifyControls(m.Msg == CM_FONTCHANGED ? CM_PARENTFONTCHANGED
                     : m.Msg == CM_COLORCHANGED ? CM_PARENTCOLORCHANGED
                                                : WM_NULL);
      Invalidate();
      return;
    default:
      DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  const bool sized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
  if (sized) Resize();
  RequestAlign();
}

TRect TControl::ClientRect() const { return TRect(0, 0, width_, height_); }

void TControl::SetClientWidth(int w) { SetWidth(w + (width_ - ClientRect().Width())); }
void TControl::SetClientHeight(int h) { SetHeight(h + (height_ - ClientRect().Height())); }

TPoint TControl::ClientOrigin() const { return TPoint(0, 0); }

TPoint TControl::ClientToScreen(const TPoint& p) const {
  if (IsWindowed()) {
    auto* self = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
    if (self->HandleAllocated()) {
      const QPoint g = self->ClientHandle()->mapToGlobal(QPoint(p.X, p.Y));
      return TPoint(g.x(), g.y());
    }
  }
  const TPoint o = ClientOrigin();
  const TPoint inParent(p.X + left_ + o.X, p.Y + top_ + o.Y);
  return parent_ ? parent_->ClientToScreen(inParent) : inParent;
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  const TPoint zero = ClientToScreen(TPoint(0, 0));
  return TPoint(p.X - zero.X, p.Y - zero.Y);
}

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  align_ = a;
  if (parent_) parent_->Realign(this);
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  if (!v) Invalidate();
  visible_ = v;
  if (v) Invalidate();
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor c) {
  if (c == color_ && !parentColor_) return;
  color_ = c;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->Color();
  Perform(CM_COLORCHANGED);
}

void TControl::SetFont(const TFont& f) {
  font_ = f;
  FontChanged();
}

void TControl::FontChanged() {
  parentFont_ = false;
  if (IsWindowed()) static_cast<TWinControl*>(this)->ApplyWidgetFont();
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  font_ = parent_->Font();
  if (IsWindowed()) static_cast<TWinControl*>(this)->ApplyWidgetFont();
  Perform(CM_FONTCHANGED);
}

void TControl::SetText(const QString& s) {
  if (s == GetText()) return;
  SetTextValue(s);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetHint(const QString& h) { hint_ = h; }

void TControl::SetShowHint(bool v) {
  parentShowHint_ = false;
  if (v == showHint_) return;
  showHint_ = v;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  if (v == parentShowHint_) return;
  parentShowHint_ = v;
  Perform(CM_SHOWHINTCHANGED);
}

bool TControl::EffectiveShowHint() const {
  const TControl* c = this;
  while (c->parentShowHint_ && c->parent_) c = c->parent_;
  return c->showHint_;
}

void TControl::SetCursor(TCursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  if (IsWindowed()) static_cast<TWinControl*>(this)->ApplyWidgetCursor(c);
  Perform(CM_CURSORCHANGED);
}

void TControl::Invalidate() {
  if (!parent_ || !visible_ || !parent_->HandleAllocated()) return;
  parent_->ClientHandle()->update(QRect(left_, top_, width_, height_));
}

void TControl::Repaint() {
  if (!parent_ || !visible_ || !parent_->HandleAllocated()) return;
  parent_->ClientHandle()->repaint(QRect(left_, top_, width_, height_));
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (IsWindowed()) {
    auto* w = static_cast<TWinControl*>(this);
    if (w->HandleAllocated()) w->Handle()->raise();
  }
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (IsWindowed()) {
    auto* w = static_cast<TWinControl*>(this);
    if (w->HandleAllocated()) w->Handle()->lower();
  }
  Invalidate();
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::Resize() { OnResize(this); }
void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) { OnMouseDown(this, b, s, x, y); }
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) { OnMouseUp(this, b, s, x, y); }
void TControl::MouseMove(TShiftState s, int x, int y) { OnMouseMove(this, s, x, y); }

void TControl::RequestAlign() {
  if (parent_ && align_ != TAlign::alNone && !parent_->aligning_) parent_->Realign(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parentFont_) ParentFontChanged();
  if (parentColor_) ParentColorChanged();
  RequestAlign();
}

// ===================================================================================
// TGraphicControl
// ===================================================================================

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    auto* target = reinterpret_cast<TCanvas*>(m.WParam);
    if (target && target != &canvas_) {
      canvas_.Attach(target->Painter());
      Paint();
      canvas_.Detach();
    } else if (target) {
      Paint();
    }
    return;
  }
  TControl::WndProc(m);
}

// ===================================================================================
// TWinControl
// ===================================================================================

TWinControl::TWinControl(TComponent* owner) : TControl(owner) { color_ = clBtnFace; }

TWinControl::~TWinControl() {
  Destroying();
  // Child controls go with their parent (they remove themselves from their owners).
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    if (c->IsDestroying()) {
      RemoveControl(c);
      continue;
    }
    delete c;
  }
  DestroyHandle();
}

QWidget* TWinControl::Handle() {
  if (handle_) return handle_;
  QWidget* parentWidget = nullptr;
  if (parent_) {
    parentWidget = parent_->ClientHandle();
    if (handle_) return handle_;  // made by the parent's own creation
  }
  if (creatingHandle_) return handle_;
  creatingHandle_ = true;
  handle_ = CreateWidget(parentWidget);
  bridge_ = dynamic_cast<TWidgetBridge*>(handle_);
  InitWidget(handle_);
  creatingHandle_ = false;
  return handle_;
}

QWidget* TWinControl::ClientHandle() { return Handle(); }

QWidget* TWinControl::CreateWidget(QWidget* parent) {
  return new TBridgedWidget<QWidget>(this, TWidgetBridge::Part::Whole, parent);
}

void TWinControl::InitWidget(QWidget* w) {
  w->setMouseTracking(true);
  if (bridge_ && !bridge_->NativePaint) {
    // The control paints its whole area itself (WM_ERASEBKGND, then WM_PAINT).
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    w->setAutoFillBackground(false);
  }
  w->setFocusPolicy(WantsFocus() ? Qt::StrongFocus : Qt::NoFocus);
  ApplyWidgetGeometry();
  w->setEnabled(enabled_);
  ApplyWidgetFont();
  ApplyWidgetCursor(cursor_);
  if (!region_.isEmpty()) w->setMask(region_);
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->Handle();
  UpdateTabOrder();
  if (!w->isWindow()) w->setVisible(visible_);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TControl* c : controls_)
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
  QWidget* w = handle_;
  const bool busy = bridge_ && bridge_->Dispatching();
  if (bridge_) bridge_->Detach();
  handle_ = nullptr;
  bridge_ = nullptr;
  if (busy) {
    // The widget is inside one of its own events: let Qt delete it afterwards.
    w->hide();
    w->deleteLater();
  } else {
    delete w;
  }
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  const bool wasWindow = handle_->isWindow() && handle_->isVisible();
  DestroyHandle();
  Handle();
  if (wasWindow) handle_->show();
}

void TWinControl::ApplyWidgetGeometry() {
  if (!handle_) return;
  if (handle_->isWindow()) {
    // Qt sends the resize and move events of a shown window at once, and they write the
    // window's geometry back into our bounds: take the wanted bounds first. Size before
    // position, so that the one WM_SIZE comes from the caller.
    const int left = left_, top = top_, width = std::max(0, width_), height = std::max(0, height_);
    handle_->resize(width, height);
    handle_->move(left, top);
  } else {
    handle_->setGeometry(left_, top_, std::max(0, width_), std::max(0, height_));
  }
}

void TWinControl::ApplyWidgetFont() {
  if (handle_) handle_->setFont(font_.ToQFont());
}

void TWinControl::ApplyWidgetCursor(TCursor c) {
  if (!handle_) return;
  if (c == crDefault) handle_->unsetCursor();
  else handle_->setCursor(CursorShape(c));
}

void TWinControl::InsertControl(TControl* c) {
  if (!c || c->parent_ == this) return;
  controls_.push_back(c);
  c->parent_ = this;
  if (c->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(c);
    if (w->tabOrder_ < 0) {
      int n = 0;
      for (TControl* o : controls_)
        if (o != c && o->IsWindowed()) ++n;
      w->tabOrder_ = n;
    }
    if (w->handle_) {
      if (handle_) {
        w->handle_->setParent(ClientHandle());
        w->ApplyWidgetGeometry();
        w->handle_->setVisible(w->visible_);
      } else {
        w->DestroyHandle();
      }
    } else if (handle_) {
      w->Handle();
    }
  }
  if (c->parentFont_ && !c->IsLoading()) c->ParentFontChanged();
  if (c->parentColor_ && !c->IsLoading()) c->ParentColorChanged();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<intptr_t>(c), 1);
  if (c->align_ != TAlign::alNone) Realign();
  c->Invalidate();
  UpdateTabOrder();
}

void TWinControl::RemoveControl(TControl* c) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it == controls_.end()) return;
  if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(c);
  c->Invalidate();
  controls_.erase(it);
  if (mouseControl_ == c) mouseControl_ = nullptr;
  if (captureControl_ == c) captureControl_ = nullptr;
  c->parent_ = nullptr;
  if (c->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(c);
    if (w->handle_ && !w->IsDestroying()) w->DestroyHandle();
  }
  if (!IsDestroying()) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<intptr_t>(c), 0);
    if (c->align_ != TAlign::alNone) Realign();
  }
}

TControl* TWinControl::ControlAtPos(const TPoint& p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->visible_ || (!c->enabled_ && !allowDisabled) || (c->IsWindowed() && !allowWinControls)) continue;
    if (p.X >= c->left_ && p.Y >= c->top_ && p.X < c->left_ + c->width_ && p.Y < c->top_ + c->height_) return c;
  }
  return nullptr;
}

bool TWinControl::ContainsControl(const TControl* c) const {
  for (const TControl* p = c; p; p = p->parent_)
    if (p == this) return true;
  return false;
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign(TControl* changed) {
  if (alignDisabled_ > 0 || aligning_ || IsLoading() || IsDestroying()) return;
  aligning_ = true;
  TRect r = ClientRect();
  AdjustClientRect(r);
  auto collect = [this, changed](TAlign a) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->align_ == a && c->visible_) list.push_back(c);
    auto key = [a](const TControl* c) {
      switch (a) {
        case TAlign::alTop: return c->top_;
        case TAlign::alBottom: return -(c->top_ + c->height_);
        case TAlign::alLeft: return c->left_;
        case TAlign::alRight: return -(c->left_ + c->width_);
        default: return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](const TControl* x, const TControl* y) {
      const int kx = key(x), ky = key(y);
      if (kx != ky) return kx < ky;
      return x == changed && y != changed;
    });
    return list;
  };
  for (TControl* c : collect(TAlign::alTop)) {
    c->SetBounds(r.Left, r.Top, r.Width(), c->height_);
    r.Top += c->height_;
  }
  for (TControl* c : collect(TAlign::alBottom)) {
    c->SetBounds(r.Left, r.Bottom - c->height_, r.Width(), c->height_);
    // The control may refuse the height (a skin can impose one); place it by what it took.
    if (c->top_ + c->height_ != r.Bottom) c->SetBounds(r.Left, r.Bottom - c->height_, r.Width(), c->height_);
    r.Bottom -= c->height_;
  }
  for (TControl* c : collect(TAlign::alLeft)) {
    c->SetBounds(r.Left, r.Top, c->width_, r.Height());
    r.Left += c->width_;
  }
  for (TControl* c : collect(TAlign::alRight)) {
    c->SetBounds(r.Right - c->width_, r.Top, c->width_, r.Height());
    if (c->left_ + c->width_ != r.Right) c->SetBounds(r.Right - c->width_, r.Top, c->width_, r.Height());
    r.Right -= c->width_;
  }
  for (TControl* c : collect(TAlign::alClient)) c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
  aligning_ = false;
}

void TWinControl::SetTabOrder(int v) {
  tabOrder_ = v;
  if (parent_) parent_->UpdateTabOrder();
}

void TWinControl::SetTabStop(bool v) {
  tabStop_ = v;
  if (handle_) handle_->setFocusPolicy(WantsFocus() ? Qt::StrongFocus : Qt::NoFocus);
}

void TWinControl::UpdateTabOrder() {
  if (!handle_) return;
  std::vector<TWinControl*> list;
  for (TControl* c : controls_)
    if (c->IsWindowed() && static_cast<TWinControl*>(c)->handle_) list.push_back(static_cast<TWinControl*>(c));
  std::stable_sort(list.begin(), list.end(), [](const TWinControl* a, const TWinControl* b) { return a->tabOrder_ < b->tabOrder_; });
  for (size_t i = 1; i < list.size(); ++i) QWidget::setTabOrder(list[i - 1]->handle_, list[i]->handle_);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && handle_->hasFocus(); }

void TWinControl::SetFocus() {
  QWidget* w = Handle();
  if (w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::ClickFocus);
  w->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetWindowRegion(const QRegion& r, bool redraw) {
  region_ = r;
  if (!handle_) return;
  if (r.isEmpty()) handle_->clearMask();
  else handle_->setMask(r);
  if (redraw) handle_->update();
}

void TWinControl::SetMouseCapture(bool on) {
  if (!handle_) return;
  if (on) handle_->grabMouse();
  else if (QWidget::mouseGrabber() == handle_) handle_->releaseMouse();
}

bool TWinControl::MouseCapture() const { return handle_ && QWidget::mouseGrabber() == handle_; }

TCustomForm* GetParentForm(const TControl* c) {
  const TControl* top = c;
  while (top && top->Parent()) top = top->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool sized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyWidgetGeometry();
  if (sized) Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
  RequestAlign();
}

void TWinControl::WidgetGeometryChanged(const TRect& b) {
  if (!handle_ || handle_->isWindow()) return;
  if (b.Left == left_ && b.Top == top_ && b.Width() == width_ && b.Height() == height_) return;
  const bool sized = b.Width() != width_ || b.Height() != height_;
  left_ = b.Left;
  top_ = b.Top;
  width_ = b.Width();
  height_ = b.Height();
  if (sized) Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
}

void TWinControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (handle_ && !handle_->isWindow()) handle_->setVisible(v);
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TWinControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (handle_) handle_->setEnabled(v);
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

bool TWinControl::Showing() const { return handle_ && handle_->isVisible(); }

void TWinControl::Invalidate() {
  if (handle_) handle_->update();
}

void TWinControl::Repaint() {
  if (handle_) handle_->repaint();
}

void TWinControl::Update() {
  if (handle_) handle_->repaint();
}

void TWinControl::NotifyControls(uint32_t msg) {
  if (msg == WM_NULL) return;
  for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(msg);
}

void TWinControl::PaintControls(TCanvas& canvas) {
  QPainter* p = canvas.Painter();
  if (!p) return;
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->IsWindowed() || !c->visible_ || c->width_ <= 0 || c->height_ <= 0) continue;
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g) continue;
    p->save();
    p->translate(c->left_, c->top_);
    p->setClipRect(QRect(0, 0, c->width_, c->height_), Qt::IntersectClip);
    g->canvas_.Attach(p);
    c->Perform(WM_PAINT, reinterpret_cast<intptr_t>(&g->canvas_));
    g->canvas_.Detach();
    p->restore();
  }
}

namespace {
// A key press that the focused widget leaves alone bubbles up through its parents; only the
// first control on that way shows it to the form.
bool FirstControlToSeeKey(TWidgetBridge* from) {
  auto* self = dynamic_cast<QWidget*>(from);
  QWidget* focus = QApplication::focusWidget();
  if (!self || !focus || !self->isAncestorOf(focus)) return true;
  for (QWidget* w = focus; w; w = w->parentWidget()) {
    auto* b = dynamic_cast<TWidgetBridge*>(w);
    if (b && b->Control()) return w == self;
  }
  return true;
}
}  // namespace

void TWinControl::DispatchFromQt(TMessage& m, TWidgetBridge* from) {
  try {
    if ((m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) && FirstControlToSeeKey(from) && FormTakesKey(m)) return;
    WindowProc(m);
  } catch (...) {
    HandleCurrentException();
  }
}

bool TWinControl::FormTakesKey(const TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  TWMKey key;
  key.Msg = m.Msg;
  key.CharCode = static_cast<uint16_t>(m.WParam);
  key.Shift = static_cast<TShiftState>(CurrentShiftState() & (ssShift | ssAlt | ssCtrl));
  key.Serial = KeyEventSerial();
  if (key.CharCode != 0 && form->IsShortCut(key)) return true;
  if (form != this && form->Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<intptr_t>(this)) != 0) return true;
  if (m.Msg != WM_KEYDOWN || (m.WParam != VK_RETURN && m.WParam != VK_ESCAPE)) return false;
  if ((Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS) != 0) return false;
  const TShiftState shift = CurrentShiftState();
  const intptr_t keys = ((shift & ssShift) ? MK_SHIFT : 0) | ((shift & ssCtrl) ? MK_CONTROL : 0);
  return form->Perform(CM_DIALOGKEY, m.WParam, keys) != 0;
}

void TWinControl::Broadcast(TMessage& m) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;  // gone meanwhile
    c->WindowProc(m);
    if (m.Result != 0) return;
  }
}

void TWinControl::WndProc(TMessage& m) {
  if (IsClientMouseMessage(m.Msg)) {
    const TPoint p = LParamToPoint(m.LParam);
    TControl* target = captureControl_;
    if (!target) {
      TControl* c = ControlAtPos(p);
      if (c && !c->IsWindowed()) target = c;
    }
    if (m.Msg == WM_MOUSEMOVE && target != mouseControl_ && !captureControl_) {
      TControl* old = mouseControl_;
      mouseControl_ = target;
      if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(old));
      if (target) target->Perform(CM_MOUSEENTER, 0, reinterpret_cast<intptr_t>(target));
      ApplyWidgetCursor(target && target->cursor_ != crDefault ? target->cursor_ : cursor_);
    }
    if (target) {
      const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                        m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
      const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
      if (down) captureControl_ = target;
      TMessage cm{m.Msg, m.WParam, MakeLParam(p.X - target->left_, p.Y - target->top_), 0};
      target->WindowProc(cm);
      if (up && (m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) captureControl_ = nullptr;
      m.Result = cm.Result;
      return;
    }
    TControl::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case CM_MOUSELEAVE:
      if (mouseControl_ && reinterpret_cast<TControl*>(m.LParam) == this) {
        TControl* old = mouseControl_;
        mouseControl_ = nullptr;
        old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(old));
      }
      DefaultHandler(m);
      return;
    case WM_SIZE:
      Realign();
      Resize();
      DefaultHandler(m);
      return;
    case WM_SETFOCUS:
      DoEnter();
      if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
      DefaultHandler(m);
      return;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
      Broadcast(m);
      if (m.Result == 0) DefaultHandler(m);
      return;
    case WM_KILLFOCUS:
      DoExit();
      DefaultHandler(m);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      uint16_t key = static_cast<uint16_t>(m.WParam);
      const TShiftState shift = CurrentShiftState();
      if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) KeyDown(key, shift);
      else KeyUp(key, shift);
      // A handler drops a key by clearing it; keys without a key code of their own (most
      // punctuation, accented letters) still go on to the widget.
      const bool unmapped = m.WParam == 0;
      m.WParam = key;
      if (key != 0 || unmapped) DefaultHandler(m);
      return;
    }
    case WM_CHAR: {
      QChar ch(static_cast<char16_t>(m.WParam));
      KeyPress(ch);
      m.WParam = ch.unicode();
      if (m.WParam != 0) DefaultHandler(m);
      return;
    }
    default:
      TControl::WndProc(m);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (auto* c = reinterpret_cast<TCanvas*>(m.WParam)) {
        c->Brush.Color = color_;
        c->Brush.Style = TBrushStyle::bsSolid;
        c->FillRect(ClientRect());
        m.Result = 1;
      }
      break;
    case WM_PAINT:
      if (auto* c = reinterpret_cast<TCanvas*>(m.WParam)) PaintControls(*c);
      break;
    default:
      break;
  }
  if (bridge_) bridge_->MarkDefault(m);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

// ===================================================================================
// TCustomControl
// ===================================================================================

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::Paint() {
  canvas_.Brush.Color = color_;
  canvas_.Brush.Style = TBrushStyle::bsSolid;
  canvas_.FillRect(ClientRect());
}

void TCustomControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    auto* target = reinterpret_cast<TCanvas*>(m.WParam);
    if (!target) {
      Invalidate();
      return;
    }
    const bool borrowed = target != &canvas_;
    if (borrowed) canvas_.Attach(target->Painter());
    canvas_.Font = font_;
    Paint();
    PaintControls(canvas_);
    if (borrowed) canvas_.Detach();
    return;
  }
  TWinControl::WndProc(m);
}
