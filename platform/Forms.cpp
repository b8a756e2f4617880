#include "platform/Forms.h"

#include "platform/ApplicationHints.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/MDIClient.h"
#include "platform/MessageFilter.h"
#include "platform/SizeMoveLoop.h"
#include "platform/WidgetBridge.h"

TApplication* Application = nullptr;

void HandleCurrentException() {
  if (Application) {
    Application->HandleException();
    return;
  }
  try {
    throw;
  } catch (const std::exception& e) {
    qWarning("Unhandled exception: %s", e.what());
  } catch (...) {
    qWarning("Unhandled exception");
  }
}

// ===================================================================================
// TCustomForm
// ===================================================================================

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  visible_ = false;
  parentFont_ = false;
  color_ = clBtnFace;
  width_ = 320;
  height_ = 240;
  clientRect_ = TRect(0, 0, width_, height_);
  restoreBounds_ = Bounds(left_, top_, width_, height_);
  if (Application) Application->AddForm(this);
}

TCustomForm::~TCustomForm() {
  SizeMoveLoop::End(this);
  Destroying();
  try {
    OnDestroy(this);
  } catch (...) {
    HandleCurrentException();
  }
  if (mdiHost_) {
    // An MDI child's window procedure hears of its end while the parent still lists it. Other
    // forms send nothing from here: hooks on them may not outlive them.
    Perform(WM_DESTROY);
    if (mdiHost_) mdiHost_->RemoveChild(this);
  }
  mdiHost_ = nullptr;
  if (Application) Application->RemoveForm(this);
  if (mdiClient_) {
    TMDIClient* c = mdiClient_;
    mdiClient_ = nullptr;
    delete c;  // takes the windows of the children still inside along
  }
  // Children first (they live in the client widget), then both widgets.
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

namespace {
// The MDI client a child form's window goes into: the application's main form's.
TMDIClient* MDIClientForChildren() {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  return main && !main->IsDestroying() ? main->MDIClient() : nullptr;
}
}  // namespace

QWidget* TCustomForm::CreateWidget(QWidget*) {
  QWidget* host = nullptr;
  if (formStyle_ == TFormStyle::fsMDIChild) {
    mdiHost_ = MDIClientForChildren();
    if (mdiHost_) {
      host = mdiHost_->Handle();
      mdiHost_->AddChild(this);
    }
  }
  auto* window = new TBridgedWidget<QWidget>(this, TWidgetBridge::Part::Frame, host);
  auto* client = new TBridgedWidget<QWidget>(this, TWidgetBridge::Part::Client, window);
  client_ = client;
  clientBridge_ = client;
  return window;
}

void TCustomForm::InitWidget(QWidget* w) {
  client_->setMouseTracking(true);
  client_->setAttribute(Qt::WA_OpaquePaintEvent);
  client_->setAutoFillBackground(false);
  client_->setFocusPolicy(Qt::NoFocus);
  w->setWindowTitle(text_);
  if (alphaBlend_) w->setWindowOpacity(alphaBlendValue_ / 255.0);
  ApplyWindowFlags();
  UpdateClientArea();
  TWinControl::InitWidget(w);
}

void TCustomForm::DestroyHandle() {
  SizeMoveLoop::End(this);
  if (clientBridge_) clientBridge_->Detach();
  clientBridge_ = nullptr;
  client_ = nullptr;  // deleted with the window
  TWinControl::DestroyHandle();
}

QWidget* TCustomForm::ClientHandle() {
  Handle();
  return client_;
}

TRect TCustomForm::ClientRect() const { return TRect(0, 0, clientRect_.Width(), clientRect_.Height()); }

TPoint TCustomForm::ClientOrigin() const { return TPoint(clientRect_.Left, clientRect_.Top); }

void TCustomForm::SetClientWidth(int w) { SetWidth(w + (width_ - clientRect_.Width())); }
void TCustomForm::SetClientHeight(int h) { SetHeight(h + (height_ - clientRect_.Height())); }

void TCustomForm::UpdateClientArea() {
  TRect r(0, 0, width_, height_);
  Perform(WM_NCCALCSIZE, 0, reinterpret_cast<intptr_t>(&r));
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  clientRect_ = r;
  if (client_) client_->setGeometry(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomForm::FrameChanged() {
  const TRect old = clientRect_;
  UpdateClientArea();
  if (old.Width() != clientRect_.Width() || old.Height() != clientRect_.Height())
    Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(clientRect_.Width(), clientRect_.Height()));
  UpdateSizeLimits();
  InvalidateFrame();
}

void TCustomForm::InvalidateFrame() {
  if (handle_) handle_->update();
}

TMinMaxInfo TCustomForm::MinMaxInfo() {
  TMinMaxInfo info;
  info.MinTrackSize = TPoint(0, 0);
  info.MaxTrackSize = TPoint(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect a = s->availableGeometry();
    info.MaxSize = TPoint(a.width(), a.height());
    info.MaxPosition = TPoint(a.left(), a.top());
  }
  Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
  return info;
}

void TCustomForm::UpdateSizeLimits() {
  const TMinMaxInfo info = MinMaxInfo();
  if (!handle_) return;
  handle_->setMinimumSize(std::max(0, info.MinTrackSize.X), std::max(0, info.MinTrackSize.Y));
  handle_->setMaximumSize(std::clamp(info.MaxTrackSize.X, 0, QWIDGETSIZE_MAX),
                          std::clamp(info.MaxTrackSize.Y, 0, QWIDGETSIZE_MAX));
}

void TCustomForm::ApplyWindowFlags() {
  if (!handle_ || !handle_->isWindow()) return;  // a child window inside an MDI client has no flags
  const bool wasVisible = handle_->isVisible();
  Qt::WindowFlags f = Qt::Window;
  if (!platformFrame_ || borderStyle_ == TFormBorderStyle::bsNone) {
    f |= Qt::FramelessWindowHint;
  } else {
    f |= Qt::WindowTitleHint;
    if (borderIcons_ & biSystemMenu) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (borderIcons_ & biMinimize) f |= Qt::WindowMinimizeButtonHint;
    if (borderIcons_ & biMaximize) f |= Qt::WindowMaximizeButtonHint;
    if (borderIcons_ & biHelp) f |= Qt::WindowContextHelpButtonHint;
    f |= Qt::CustomizeWindowHint;
  }
  if (handle_->windowFlags() == f) return;
  handle_->setWindowFlags(f);
  if (wasVisible) handle_->show();
}

void TCustomForm::SetAlphaBlend(bool v) {
  alphaBlend_ = v;
  if (handle_) handle_->setWindowOpacity(alphaBlend_ ? alphaBlendValue_ / 255.0 : 1.0);
}

void TCustomForm::SetAlphaBlendValue(uint8_t v) {
  alphaBlendValue_ = v;
  if (handle_) handle_->setWindowOpacity(alphaBlend_ ? alphaBlendValue_ / 255.0 : 1.0);
}

void TCustomForm::SetPlatformFrame(bool v) {
  if (v == platformFrame_) return;
  platformFrame_ = v;
  ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons b) {
  borderIcons_ = b;
  ApplyWindowFlags();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle b) {
  borderStyle_ = b;
  ApplyWindowFlags();
  FrameChanged();
}

TWinControl* TCustomForm::ActiveControl() const {
  if (handle_) {
    QWidget* f = handle_->focusWidget();
    if (auto* b = dynamic_cast<TWidgetBridge*>(f)) return b->Control();
  }
  return activeControl_;
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  activeControl_ = c;
  if (c && handle_ && handle_->isVisible() && c->CanFocus()) c->SetFocus();
}

void TCustomForm::SetFocusedControl(TWinControl* c) {
  if (c == focusedControl_) return;
  focusedControl_ = c;
  if (c != this) activeControl_ = c;
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(c));
}

void TCustomForm::ControlRemoved(TControl* c) {
  // The control may be half destroyed: compare addresses and walk parents only.
  auto inside = [c](const TControl* x) {
    for (; x; x = x->Parent())
      if (x == c) return true;
    return false;
  };
  if (inside(focusedControl_)) focusedControl_ = nullptr;
  if (inside(activeControl_)) activeControl_ = nullptr;
}

void TCustomForm::SetWindowState(TWindowState s) {
  windowState_ = s;
  if (!handle_ || !handle_->isVisible() || applyingState_) return;
  ShowInState();
}

void TCustomForm::ShowInState() {
  QWidget* w = Handle();
  if (!w->isWindow()) {
    // A child inside an MDI client: maximized it covers the client, minimized it is a caption
    // bar lined up at the bottom.
    applyingState_ = true;
    w->show();
    switch (windowState_) {
      case TWindowState::wsMaximized:
        if (mdiHost_) SetBounds(0, 0, mdiHost_->ClientWidth(), mdiHost_->ClientHeight());
        break;
      case TWindowState::wsMinimized:
        SetBounds(left_, top_, 160, std::max(20, height_ - clientRect_.Height()));
        if (mdiHost_) mdiHost_->ArrangeIcons();
        break;
      default:
        if (restoreBounds_.Width() > 0 && restoreBounds_.Height() > 0) SetBoundsRect(restoreBounds_);
        break;
    }
    applyingState_ = false;
    return;
  }
  applyingState_ = true;
  switch (windowState_) {
    case TWindowState::wsMaximized: {
      // A form whose frame is drawn by a component keeps the window manager out of its
      // maximized state: it only takes the work area, so it can still be moved and sized.
      if (platformFrame_) w->showMaximized();
      else w->showNormal();
      // Without a window manager nobody acts on the maximised state: take the work area
      // ourselves (a window manager gives the same rectangle).
      QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
      const QRect area = screen ? screen->availableGeometry() : QRect();
      if (!area.isEmpty()) {
        w->move(area.topLeft());
        w->resize(area.size());
      }
      break;
    }
    case TWindowState::wsMinimized:
      w->showMinimized();
      break;
    default:
      w->showNormal();
      if (restoreBounds_.Width() > 0 && restoreBounds_.Height() > 0) {
        w->move(restoreBounds_.Left, restoreBounds_.Top);
        w->resize(restoreBounds_.Width(), restoreBounds_.Height());
      }
      break;
  }
  applyingState_ = false;
}

void TCustomForm::PlaceOnScreen() {
  if (placed_) return;
  placed_ = true;
  if (handle_ && !handle_->isWindow()) return;  // an MDI child stays where it was put
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect area;
  switch (position_) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
      area = screen->virtualGeometry();
      break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter: {
      TCustomForm* m = Application ? Application->MainForm() : nullptr;
      if (m && m != this && m->HandleAllocated()) area = m->Handle()->frameGeometry();
      else area = screen->virtualGeometry();
      break;
    }
    default:
      return;
  }
  SetBounds(area.left() + (area.width() - width_) / 2, area.top() + (area.height() - height_) / 2, width_, height_);
}

void TCustomForm::SetVisible(bool v) {
  if (v == visible_ && (!handle_ || handle_->isVisible() == v)) return;
  if (v) {
    if (formStyle_ == TFormStyle::fsMDIChild && !mdiHost_ && !MDIClientForChildren())
      throw EInvalidOperation(QStringLiteral("Cannot create form. No MDI forms are currently active"));
    visible_ = true;
    DoShow();
    if (!visible_) return;  // OnShow hid it again
    QWidget* w = Handle();
    PlaceOnScreen();
    UpdateSizeLimits();
    if (windowState_ == TWindowState::wsNormal) {
      applyingState_ = true;
      w->show();
      applyingState_ = false;
    } else {
      ShowInState();
    }
    if (mdiHost_) mdiHost_->ChildShown(this, true);
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
  } else {
    visible_ = false;
    DoHide();
    if (handle_) handle_->hide();
    if (mdiHost_) mdiHost_->ChildShown(this, false);
    if (modalLoop_) modalLoop_->quit();
  }
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool sized = width != width_ || height != height_;
  const bool moved = left != left_ || top != top_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (windowState_ == TWindowState::wsNormal || !handle_ || !handle_->isVisible())
    restoreBounds_ = Bounds(left, top, width, height);
  ApplyWidgetGeometry();
  if (moved) Perform(WM_MOVE, 0, MakeLParam(left_, top_));
  if (sized) {
    UpdateClientArea();
    Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(clientRect_.Width(), clientRect_.Height()));
  }
}

void TCustomForm::WidgetGeometryChanged(const TRect&) {
  if (!handle_) return;
  // Only a top-level window has states of its own that the system may change.
  if (!applyingState_ && handle_->isWindow()) {
    const Qt::WindowStates s = handle_->windowState();
    if (s & Qt::WindowMinimized) windowState_ = TWindowState::wsMinimized;
    else if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) windowState_ = TWindowState::wsMaximized;
    else if (handle_->isVisible()) windowState_ = TWindowState::wsNormal;
  }
  const QPoint pos = handle_->pos();
  const QSize size = handle_->size();
  const bool sized = size.width() != width_ || size.height() != height_;
  const bool moved = pos.x() != left_ || pos.y() != top_;
  left_ = pos.x();
  top_ = pos.y();
  width_ = size.width();
  height_ = size.height();
  if (!applyingState_ && windowState_ == TWindowState::wsNormal && handle_->isVisible())
    restoreBounds_ = Bounds(left_, top_, width_, height_);
  if (moved) Perform(WM_MOVE, 0, MakeLParam(left_, top_));
  if (sized) {
    UpdateClientArea();
    const intptr_t kind = windowState_ == TWindowState::wsMaximized   ? SIZE_MAXIMIZED
                          : windowState_ == TWindowState::wsMinimized ? SIZE_MINIMIZED
                                                                      : SIZE_RESTORED;
    Perform(WM_SIZE, kind, MakeLParam(clientRect_.Width(), clientRect_.Height()));
  }
}

void TCustomForm::Close() {
  if (modalLoop_) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  DoClose(action);
  if (action == TCloseAction::caNone) return;
  if (Application && Application->MainForm() == this) {
    SetVisible(false);
    Application->Terminate();
    return;
  }
  switch (action) {
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
    case TCloseAction::caFree: SetVisible(false); Release(); break;
    default: SetVisible(false); break;
  }
}

void TCustomForm::SetModalResult(TModalResult v) {
  modalResult_ = v;
  if (modalLoop_ && v != mrNone) modalLoop_->quit();
}

TModalResult TCustomForm::ShowModal() {
  if (modalLoop_ || (visible_ && handle_ && handle_->isVisible()))
    throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
  QEventLoop loop;
  modalLoop_ = &loop;
  modalResult_ = mrNone;
  Handle()->setWindowModality(Qt::ApplicationModal);
  auto ended = [this] { return !visible_ || (Application && Application->Terminated()); };
  TCloseAction action = TCloseAction::caHide;
  try {
    Show();
    for (;;) {
      if (modalResult_ == mrNone && !ended()) loop.exec();
      if (modalResult_ == mrNone) {
        if (!ended()) continue;
        modalResult_ = mrCancel;
      }
      if (ended()) break;
      // Asked to end: the form may refuse.
      action = CloseQuery() ? TCloseAction::caHide : TCloseAction::caNone;
      if (action != TCloseAction::caNone) DoClose(action);
      if (action != TCloseAction::caNone) break;
      modalResult_ = mrNone;
    }
  } catch (...) {
    modalLoop_ = nullptr;
    throw;
  }
  modalLoop_ = nullptr;
  SetVisible(false);
  if (handle_) handle_->setWindowModality(Qt::NonModal);
  const TModalResult result = modalResult_;
  if (action == TCloseAction::caFree) Release();
  return result;
}

bool TCustomForm::CloseQuery() {
  bool can = true;
  OnCloseQuery(this, can);
  return can;
}

void TCustomForm::Release() {
  if (!handle_) {
    delete this;
    return;
  }
  QTimer::singleShot(0, handle_, [this] { delete this; });
}

void TCustomForm::RegisterMethod(const QString& name, std::function<void(TComponent*)> handler) {
  for (auto& [n, h] : methods_)
    if (n.compare(name, Qt::CaseInsensitive) == 0) {
      h = std::move(handler);
      return;
    }
  methods_.emplace_back(name, std::move(handler));
}

const std::function<void(TComponent*)>* TCustomForm::FindMethod(const QString& name) const {
  for (const auto& [n, h] : methods_)
    if (n.compare(name, Qt::CaseInsensitive) == 0) return &h;
  return nullptr;
}

bool TCustomForm::IsShortCut(TWMKey& key) {
  bool handled = false;
  OnShortCut(key, handled);
  return handled;
}

void TCustomForm::DoCreate() {
  try {
    OnCreate(this);
  } catch (...) {
    HandleCurrentException();
  }
}

void TCustomForm::DoShow() {
  try {
    OnShow(this);
  } catch (...) {
    HandleCurrentException();
  }
}

void TCustomForm::DoHide() {
  try {
    OnHide(this);
  } catch (...) {
    HandleCurrentException();
  }
}

void TCustomForm::DoClose(TCloseAction& action) { OnClose(this, action); }

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ACTIVATE: {
      const bool active = m.WParam != WA_INACTIVE;
      if (active != active_) {
        active_ = active;
        if (active) OnActivate(this);
        else OnDeactivate(this);
      }
      DefaultHandler(m);
      return;
    }
    case CM_TEXTCHANGED:
      if (handle_) handle_->setWindowTitle(text_);
      TWinControl::WndProc(m);
      return;
    default:
      TWinControl::WndProc(m);
  }
}

void TCustomForm::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST: {
      const TPoint p = LParamToPoint(m.LParam);
      const QPoint w = handle_ ? handle_->mapFromGlobal(QPoint(p.X, p.Y)) : QPoint(p.X - left_, p.Y - top_);
      const bool inClient = w.x() >= clientRect_.Left && w.x() < clientRect_.Right && w.y() >= clientRect_.Top &&
                            w.y() < clientRect_.Bottom;
      m.Result = inClient ? HTCLIENT : HTNOWHERE;
      break;
    }
    case WM_NCPAINT:
      if (m.WParam == 0) {
        InvalidateFrame();
      } else if (auto* c = reinterpret_cast<TCanvas*>(m.WParam)) {
        // Nobody draws a frame: keep the area outside the client rectangle plain.
        c->Brush.Color = clBtnFace;
        c->Brush.Style = TBrushStyle::bsSolid;
        c->FillRect(TRect(0, 0, width_, clientRect_.Top));
        c->FillRect(TRect(0, clientRect_.Bottom, width_, height_));
        c->FillRect(TRect(0, clientRect_.Top, clientRect_.Left, clientRect_.Bottom));
        c->FillRect(TRect(clientRect_.Right, clientRect_.Top, width_, clientRect_.Bottom));
      }
      break;
    case WM_NCLBUTTONDOWN:
      SizeMoveLoop::Start(this, static_cast<int>(m.WParam), LParamToPoint(m.LParam));
      break;
    case WM_NCLBUTTONDBLCLK:
      // Only a caption that offers the maximize command toggles it.
      if (m.WParam == HTCAPTION && (borderIcons_ & biMaximize))
        SetWindowState(windowState_ == TWindowState::wsMaximized ? TWindowState::wsNormal : TWindowState::wsMaximized);
      break;
    case WM_SYSCOMMAND:
      switch (m.WParam & 0xFFF0) {
        case SC_MINIMIZE: SetWindowState(TWindowState::wsMinimized); break;
        case SC_MAXIMIZE: SetWindowState(TWindowState::wsMaximized); break;
        case SC_RESTORE: SetWindowState(TWindowState::wsNormal); break;
        case SC_CLOSE: Perform(WM_CLOSE); break;
        default: break;
      }
      break;
    case WM_CLOSE:
      Close();
      break;
    case WM_NCACTIVATE:
      m.Result = 1;
      // The active MDI child's caption follows the parent's.
      if (mdiClient_)
        if (TCustomForm* child = mdiClient_->ActiveChild()) child->Perform(WM_NCACTIVATE, m.WParam);
      break;
    default:
      break;
  }
  if (clientBridge_) clientBridge_->MarkDefault(m);
  TWinControl::DefaultHandler(m);
}

void TCustomForm::SetFormStyle(TFormStyle s) {
  if (s == formStyle_) return;
  const bool wasChild = formStyle_ == TFormStyle::fsMDIChild;
  formStyle_ = s;
  if (s == TFormStyle::fsMDIForm && !mdiClient_) {
    mdiClient_ = new TMDIClient(this);
    mdiClient_->SendToBack();  // under the form's own bars
  } else if (s != TFormStyle::fsMDIForm && mdiClient_) {
    TMDIClient* c = mdiClient_;
    mdiClient_ = nullptr;
    delete c;
  }
  if (wasChild || s == TFormStyle::fsMDIChild) {
    if (mdiHost_) mdiHost_->RemoveChild(this);
    mdiHost_ = nullptr;
    if (handle_) {
      const bool shown = handle_->isVisible();
      DestroyHandle();
      if (shown) {
        visible_ = false;
        SetVisible(true);
      }
    }
  }
}

void TCustomForm::MDIHostGone() {
  mdiHost_ = nullptr;
  visible_ = false;
  DestroyHandle();
}

TCustomForm* TCustomForm::ActiveMDIChild() const { return mdiClient_ ? mdiClient_->ActiveChild() : nullptr; }

int TCustomForm::MDIChildCount() const {
  if (!mdiClient_) return 0;
  int n = 0;
  for (int i = 0; i < mdiClient_->ChildCount(); ++i) n += mdiClient_->Child(i)->Visible() ? 1 : 0;
  return n;
}

TCustomForm* TCustomForm::MDIChildren(int i) const {
  int left = i;
  if (mdiClient_)
    for (int k = 0; k < mdiClient_->ChildCount(); ++k)
      if (TCustomForm* c = mdiClient_->Child(k); c->Visible() && left-- == 0) return c;
  throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
}

void TCustomForm::Tile() {
  if (mdiClient_) mdiClient_->Tile();
}

void TCustomForm::Cascade() {
  if (mdiClient_) mdiClient_->Cascade();
}

void TCustomForm::ArrangeIcons() {
  if (mdiClient_) mdiClient_->ArrangeIcons();
}

void TCustomForm::Next() {
  if (mdiClient_) mdiClient_->Next();
}

void TCustomForm::SetWindowMenu(TComponent* v) {
  windowMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TCustomForm::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == TOperation::opRemove && c == windowMenu_) windowMenu_ = nullptr;
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  UpdateClientArea();
  Realign();
}

// ===================================================================================
// TApplication
// ===================================================================================

TApplication::TApplication(int& argc, char** argv) : TComponent(nullptr) {
  if (!QCoreApplication::instance()) ownQt_ = std::make_unique<QApplication>(argc, argv);
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) app->setQuitOnLastWindowClosed(false);
  Application = this;
  messageFilter_ = std::make_unique<TMessageFilter>();
  if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(messageFilter_.get());
  hints_ = std::make_unique<THintController>();
  hints_->SetShowHint(true);
}

TApplication::~TApplication() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(messageFilter_.get());
  messageFilter_.reset();
  Destroying();
  hints_.reset();
  DestroyComponents();  // the forms go while Qt is still there
  if (Application == this) Application = nullptr;
}

QString TApplication::ExeName() const {
  return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

QString TApplication::ExeFileName() const { return QFileInfo(ExeName()).fileName(); }

QString TApplication::Title() const { return title_.isEmpty() ? TitleFor(ExeName()) : title_; }

QString TApplication::TitleFor(const QString& exePath) {
  const QString base = QFileInfo(exePath).completeBaseName();
  if (base.isEmpty()) return base;
  return base.left(1) + base.mid(1).toLower();
}

void TApplication::AddForm(TCustomForm* f) {
  if (std::find(forms_.begin(), forms_.end(), f) == forms_.end()) forms_.push_back(f);
}

void TApplication::RemoveForm(TCustomForm* f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
  std::erase_if(minimizedForms_, [f](const auto& e) { return e.first == f; });
  if (mainForm_ == f) mainForm_ = nullptr;
}

void TApplication::FormCreated(TCustomForm* f) {
  f->DoCreate();
  if (!mainForm_) mainForm_ = f;
}

int TApplication::Run() {
  running_ = true;
  if (mainForm_ && !terminated_ && ShowMainForm) mainForm_->Show();
  if (mainForm_ && !terminated_ && QCoreApplication::instance()) QCoreApplication::exec();
  running_ = false;
  return 0;
}

void TApplication::Terminate() {
  terminated_ = true;
  if (QCoreApplication::instance()) QCoreApplication::quit();
}

void TApplication::Minimize() {
  if (minimized_) return;
  minimized_ = true;
  minimizedForms_.clear();
  for (TCustomForm* f : std::vector<TCustomForm*>(forms_)) {
    if (!f->Visible() || !f->HandleAllocated() || !f->Handle()->isVisible()) continue;
    minimizedForms_.emplace_back(f, f->WindowState());
    f->SetWindowState(TWindowState::wsMinimized);
  }
  OnMinimize(this);
}

void TApplication::Restore() {
  if (!minimized_) return;
  minimized_ = false;
  const auto forms = std::move(minimizedForms_);
  minimizedForms_.clear();
  for (const auto& [f, state] : forms)
    if (std::find(forms_.begin(), forms_.end(), f) != forms_.end() && f->Visible())
      f->SetWindowState(state == TWindowState::wsMinimized ? TWindowState::wsNormal : state);
  OnRestore(this);
}

void TApplication::ProcessMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

QString TApplication::FailureText(const QString& message) {
  QString s = message;
  if (!s.isEmpty() && s.back() > QLatin1Char('.')) s += QLatin1Char('.');
  return s;
}

void TApplication::ShowException(const QString& message) {
  MessageBox(FailureText(message), Title(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException() {
  try {
    throw;
  } catch (const Exception& e) {
    ShowException(e.Message());
  } catch (const std::exception& e) {
    ShowException(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ShowException(QStringLiteral("Unknown exception"));
  }
}

QString TApplication::StartupFailureText(const QString& className, const QString& message) const {
  const auto address = reinterpret_cast<quintptr>(__builtin_return_address(0));
  QString text = QStringLiteral("Exception %1 in module %2 at %3.")
                     .arg(className, ExeFileName(),
                          QStringLiteral("%1").arg(address, static_cast<int>(sizeof(void*) * 2), 16, QLatin1Char('0')).toUpper());
  QString msg = message;
  if (!msg.endsWith(QLatin1Char('.'))) msg += QLatin1Char('.');
  return text + QLatin1Char('\n') + msg;
}

int TApplication::ShowStartupException(const QString& className, const QString& message) {
  MessageBox(StartupFailureText(className, message), QStringLiteral("Application Error"), MB_OK | MB_ICONSTOP);
  return 1;
}

int TApplication::ShowStartupException() {
  try {
    throw;
  } catch (const Exception& e) {
    return ShowStartupException(e.ClassName(), e.Message());
  } catch (const std::exception& e) {
    return ShowStartupException(QStringLiteral("Exception"), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    return ShowStartupException(QStringLiteral("Exception"), QStringLiteral("Unknown exception"));
  }
}
