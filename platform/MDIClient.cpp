#include "platform/MDIClient.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/Colors.h"
#include "platform/Forms.h"

// Watches every mouse press of the application for one that lands in a child's window.
class TMDIClient::MouseWatch : public QObject {
 public:
  explicit MouseWatch(TMDIClient* client) : client_(client) {}

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    const QEvent::Type t = e->type();
    if ((t != QEvent::MouseButtonPress && t != QEvent::MouseButtonDblClick) || !o->isWidgetType()) return false;
    // An ignored press travels up to the parents: act on its first stop only.
    const auto stamp = static_cast<QMouseEvent*>(e)->timestamp();
    if (e == last_ && stamp == lastStamp_) return false;
    last_ = e;
    lastStamp_ = stamp;
    if (TCustomForm* child = client_->ChildOf(o)) {
      child->Perform(WM_MOUSEACTIVATE, reinterpret_cast<intptr_t>(client_->Form()), 0);
      client_->Activate(child);
    }
    return false;
  }

 private:
  TMDIClient* client_;
  const QEvent* last_ = nullptr;  // compared only
  quint64 lastStamp_ = 0;
};

TMDIClient::TMDIClient(TCustomForm* form) : TWinControl(nullptr), form_(form) {
  color_ = clAppWorkSpace;
  parentColor_ = false;
  SetAlign(TAlign::alClient);
  SetParent(form);
  // Any Qt application object will do (a reader may run under a core one without windows).
  if (QCoreApplication* app = QCoreApplication::instance()) {
    watch_ = std::make_unique<MouseWatch>(this);
    app->installEventFilter(watch_.get());
  }
}

TMDIClient::~TMDIClient() {
  Destroying();
  if (QCoreApplication* app = QCoreApplication::instance(); watch_ && app) app->removeEventFilter(watch_.get());
  active_ = nullptr;
  // The children's windows live in ours: they go now, before ours takes them along.
  const std::vector<TCustomForm*> children = std::move(children_);
  children_.clear();
  for (TCustomForm* c : children) c->MDIHostGone();
}

bool TMDIClient::Shown(const TCustomForm* child) const {
  return child && child->Visible() && const_cast<TCustomForm*>(child)->HandleAllocated() &&
         const_cast<TCustomForm*>(child)->Handle()->isVisible();
}

TCustomForm* TMDIClient::ActiveChild() const { return Shown(active_) ? active_ : nullptr; }

TCustomForm* TMDIClient::ChildOf(QObject* o) const {
  if (!handle_) return nullptr;
  for (auto* w = static_cast<QWidget*>(o); w; w = w->parentWidget()) {
    if (w->parentWidget() != handle_) continue;
    for (TCustomForm* c : children_)
      if (c->HandleAllocated() && c->Handle() == w) return c;
    return nullptr;
  }
  return nullptr;
}

void TMDIClient::AddChild(TCustomForm* child) {
  if (std::find(children_.begin(), children_.end(), child) == children_.end()) children_.push_back(child);
}

void TMDIClient::RemoveChild(TCustomForm* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
  if (active_ != child) return;
  active_ = nullptr;  // it is going: no message for it
  for (TCustomForm* c : children_)
    if (Shown(c)) {
      Activate(c);
      break;
    }
}

void TMDIClient::ChildShown(TCustomForm* child, bool shown) {
  if (shown) {
    Activate(child);
    return;
  }
  if (active_ != child) return;
  // The next shown one takes over; it goes below the others' tops only in the list.
  auto it = std::find(children_.begin(), children_.end(), child);
  if (it != children_.end()) std::rotate(it, it + 1, children_.end());
  TCustomForm* next = nullptr;
  for (TCustomForm* c : children_)
    if (c != child && Shown(c)) {
      next = c;
      break;
    }
  if (next)
    Activate(next);
  else
    SetActive(nullptr);
}

void TMDIClient::Activate(TCustomForm* child) {
  auto it = std::find(children_.begin(), children_.end(), child);
  if (it == children_.end()) return;
  std::rotate(children_.begin(), it, it + 1);
  if (child->HandleAllocated()) child->Handle()->raise();
  SetActive(child);
}

void TMDIClient::SetActive(TCustomForm* child) {
  if (child == active_) return;
  TCustomForm* old = active_;
  active_ = child;
  if (old) {
    old->Perform(WM_NCACTIVATE, 0);
    old->Perform(WM_ACTIVATE, WA_INACTIVE);
  }
  // The handlers may have switched again or dropped the child.
  if (!child || active_ != child) return;
  child->Perform(WM_NCACTIVATE, 1);
  child->Perform(WM_ACTIVATE, WA_ACTIVE);
  if (active_ == child)
    if (TWinControl* c = child->ActiveControl(); c && c != child && c->CanFocus()) c->SetFocus();
}

void TMDIClient::Next() {
  std::vector<TCustomForm*> shown;
  for (TCustomForm* c : children_)
    if (Shown(c)) shown.push_back(c);
  if (shown.size() < 2) return;
  // The active one goes to the bottom; the one under it comes up.
  TCustomForm* top = shown.front();
  Activate(shown[1]);
  auto it = std::find(children_.begin(), children_.end(), top);
  if (it != children_.end()) std::rotate(it, it + 1, children_.end());
  if (top->HandleAllocated()) top->Handle()->lower();
}

void TMDIClient::Tile() {
  std::vector<TCustomForm*> list;
  int iconRow = 0;
  for (TCustomForm* c : children_) {
    if (!Shown(c)) continue;
    if (c->WindowState() == TWindowState::wsMinimized)
      iconRow = std::max(iconRow, c->Height());
    else
      list.push_back(c);
  }
  if (list.empty()) return;
  const TRect area(0, 0, ClientWidth(), std::max(1, ClientHeight() - iconRow));
  const int n = static_cast<int>(list.size());
  const int cols = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  const int rows = (n + cols - 1) / cols;
  // The bottom-most in z-order takes the first cell; the active one the last.
  std::reverse(list.begin(), list.end());
  for (int i = 0; i < n; ++i) {
    const int row = i / cols, col = i % cols;
    // The last row spreads its windows over the whole width.
    const int inRow = row == rows - 1 ? n - row * cols : cols;
    const int w = area.Width() / inRow, h = area.Height() / rows;
    TCustomForm* c = list[static_cast<size_t>(i)];
    if (c->WindowState() != TWindowState::wsNormal) c->SetWindowState(TWindowState::wsNormal);
    c->SetBounds(col * w, row * h, w, h);
  }
}

void TMDIClient::Cascade() {
  std::vector<TCustomForm*> list;
  for (TCustomForm* c : children_)
    if (Shown(c) && c->WindowState() != TWindowState::wsMinimized) list.push_back(c);
  if (list.empty()) return;
  std::reverse(list.begin(), list.end());
  const int n = static_cast<int>(list.size());
  const int W = ClientWidth(), H = ClientHeight();
  int step = 0;
  for (TCustomForm* c : list) step = std::max(step, c->ClientOrigin().Y);
  if (step <= 0) step = 20;
  const int w = std::max(W * 2 / 3, W - step * (n - 1)), h = std::max(H * 2 / 3, H - step * (n - 1));
  int x = 0, y = 0;
  for (TCustomForm* c : list) {
    if (c->WindowState() != TWindowState::wsNormal) c->SetWindowState(TWindowState::wsNormal);
    if (x + w > W || y + h > H) x = y = 0;
    c->SetBounds(x, y, w, h);
    x += step;
    y += step;
  }
}

void TMDIClient::ArrangeIcons() {
  const int W = ClientWidth(), H = ClientHeight();
  int x = 0, y = H, rowHeight = 0;
  // Bottom-most first, so the active one ends last.
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    TCustomForm* c = *it;
    if (!Shown(c) || c->WindowState() != TWindowState::wsMinimized) continue;
    const int w = c->Width(), h = c->Height();
    if (x > 0 && x + w > W) {
      x = 0;
      y -= rowHeight;
      rowHeight = 0;
    }
    rowHeight = std::max(rowHeight, h);
    c->SetBounds(x, y - h, w, h);
    x += w;
  }
}

void TMDIClient::InitWidget(QWidget* w) {
  TWinControl::InitWidget(w);
  w->setAccessibleName(QStringLiteral("Workspace"));
}

void TMDIClient::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    if (auto* canvas = reinterpret_cast<TCanvas*>(m.WParam)) {
      canvas->Brush.Style = TBrushStyle::bsSolid;
      canvas->Brush.Color = color_;
      canvas->FillRect(ClientRect());
    }
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}
