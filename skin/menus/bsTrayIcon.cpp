#include "skin/menus/bsTrayIcon.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Screen.h"

namespace {
// The callback message the area sends the icon window, and the icon's identifier.
constexpr uint32_t kTrayCallback = 2048;
constexpr uint32_t kIconId = 1;

// The keys held at this moment.
TShiftState KeysDown() {
  const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  TShiftState s = 0;
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  return s;
}
}  // namespace

TbsTrayIcon::TbsTrayIcon(TComponent* owner) : TComponent(owner) {
  (void)TaskbarCreatedMessage();  // registered with the first icon
  notifyData_.cbSize = 488;
  iconWindow_ = std::make_unique<TMessageWindow>([this](TMessage& m) { IconWindowProc(m); });
  notifyData_.Wnd = iconWindow_.get();
  notifyData_.ID = kIconId;
  notifyData_.Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  notifyData_.CallbackMessage = kTrayCallback;
  cycleTimer_ = std::make_unique<TTimer>(nullptr);
  cycleTimer_->SetEnabled(false);
  cycleTimer_->SetInterval(static_cast<int>(animateTimerInterval_));
  cycleTimer_->OnTimer = [this](TComponent*) { CycleTick(); };
  singleClickTimer_ = std::make_unique<TTimer>(nullptr);
  singleClickTimer_->SetEnabled(false);
  singleClickTimer_->SetInterval(QGuiApplication::instance() ? QGuiApplication::styleHints()->mouseDoubleClickInterval()
                                                             : 400);
  singleClickTimer_->OnTimer = [this](TComponent*) { SingleClickTick(); };
  if (!IsDesigning()) {
    if (icon_.isNull() && UseApplicationIcon() && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
      const QIcon app = QGuiApplication::windowIcon();
      if (!app.isNull()) icon_ = app.pixmap(32, 32).toImage();
    }
    HookApplication();
    if (OwnerControl()) HookOwner();
  }
}

TbsTrayIcon::~TbsTrayIcon() {
  Destroying();
  SetIconVisible(false);
  SetDesignPreview(false);
  if (iconList_) iconList_->RemoveChangeListener(this);
  iconWindow_.reset();
  cycleTimer_.reset();
  singleClickTimer_.reset();
  if (!IsDesigning()) {
    UnhookApplication();
    UnhookOwner();
  }
}

TWinControl* TbsTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

void TbsTrayIcon::Loaded() {
  TComponent::Loaded();
  if (OwnerControl() && MinimizedOnStart && !IsDesigning() && Application) {
    Application->ShowMainForm = false;
  }
  ModifyIcon();
  const bool v = iconVisible_;
  iconVisible_ = !v;
  SetIconVisible(v);
}

// ---- properties --------------------------------------------------------------------------

void TbsTrayIcon::SetIcon(const QImage& v) {
  icon_ = v;
  ModifyIcon();
}

void TbsTrayIcon::SetHint(const QString& v) {
  hint_ = v;
  ModifyIcon();
}

void TbsTrayIcon::SetShowHint(bool v) {
  showHint_ = v;
  ModifyIcon();
}

void TbsTrayIcon::SetIconVisible(bool v) {
  if (v) AddIcon();
  else DeleteIcon();
}

void TbsTrayIcon::SetDesignPreview(bool v) {
  designPreview_ = v;
  inPreviewSetter_ = true;
  SetIconVisible(v);
  inPreviewSetter_ = false;
}

void TbsTrayIcon::SetCycleIcons(bool v) {
  cycleIcons_ = v;
  if (v) SetIconIndex(0);
  cycleTimer_->SetEnabled(v);
}

void TbsTrayIcon::SetAnimateTimerInterval(uint32_t v) {
  animateTimerInterval_ = v;
  cycleTimer_->SetInterval(static_cast<int>(std::min<uint32_t>(v, 0x7FFFFFFF)));
}

void TbsTrayIcon::SetIconList(TCustomImageList* v) {
  if (iconList_ != v) {
    if (iconList_) {
      iconList_->RemoveChangeListener(this);
      iconList_->RemoveFreeNotification(this);
    }
    iconList_ = v;
    if (v) v->FreeNotification(this);
  }
  SetIconIndex(0);
}

void TbsTrayIcon::SetIconIndex(int v) {
  if (iconList_) {
    iconIndex_ = v >= iconList_->Count() ? iconList_->Count() - 1 : v;
    // An index the list has no image for keeps the icon shown.
    const QImage img = iconList_->Image(iconIndex_);
    if (!img.isNull()) icon_ = img;
  } else {
    iconIndex_ = 0;
  }
  ModifyIcon();
}

void TbsTrayIcon::SetPopupMenu(TComponent* v) {
  if (v == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TbsTrayIcon::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove) return;
  if (c == iconList_) iconList_ = nullptr;
  if (c == popupMenu_) popupMenu_ = nullptr;
}

// ---- the notification area -----------------------------------------------------------------

bool TbsTrayIcon::PrepareNotifyData() {
  if (IsDesigning() && !inPreviewSetter_ && !designPreview_) return false;
  notifyData_.Icon = icon_;
  notifyData_.Tip = !hint_.isEmpty() && showHint_ ? hint_.left(kNotifyTipLength) : QString();
  if (!notifyData_.Tip.isEmpty() && notifyData_.Tip.back().isHighSurrogate()) notifyData_.Tip.chop(1);
  return true;
}

void TbsTrayIcon::AddIcon() {
  if (!inPreviewSetter_) iconVisible_ = true;
  if ((!IsDesigning() || inPreviewSetter_) && PrepareNotifyData()) Shell_NotifyIcon(NIM_ADD, notifyData_);
}

void TbsTrayIcon::DeleteIcon() {
  if (!inPreviewSetter_) iconVisible_ = false;
  if ((!IsDesigning() || inPreviewSetter_) && PrepareNotifyData()) Shell_NotifyIcon(NIM_DELETE, notifyData_);
}

void TbsTrayIcon::ModifyIcon() {
  // A failed call (the icon is not shown) is of no consequence.
  if (PrepareNotifyData()) Shell_NotifyIcon(NIM_MODIFY, notifyData_);
}

// ---- cycling -------------------------------------------------------------------------------

void TbsTrayIcon::Cycle() {
  if (!OnCycle || !iconList_) return;
  const int next = iconIndex_ + 1 < iconList_->Count() ? iconIndex_ + 1 : 0;
  OnCycle(this, next);
}

void TbsTrayIcon::CycleTick() {
  if (!iconList_) return;
  const QImage img = iconList_->Image(iconIndex_);
  if (!img.isNull()) icon_ = img;
  Cycle();
  if (!iconList_) return;  // a handler may have taken the list away
  ModifyIcon();
  SetIconIndex(iconIndex_ < iconList_->Count() - 1 ? iconIndex_ + 1 : 0);
}

// ---- mouse ---------------------------------------------------------------------------------

void TbsTrayIcon::IconWindowProc(TMessage& m) {
  if (m.Msg == kTrayCallback) {
    if (Enabled) IconMouse(static_cast<uint32_t>(m.LParam & 0xFFFF));
    return;
  }
  if (m.Msg == TaskbarCreatedMessage()) {
    TaskbarCreated();
    return;
  }
  switch (m.Msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case 0x0011:  // WM_QUERYENDSESSION
    case 0x0012:  // WM_QUIT
    case 0x0054:  // WM_USERCHANGED
    case 0x0082:  // WM_NCDESTROY
      m.Result = 1;
      return;
    default:
      m.Result = 0;
  }
}

void TbsTrayIcon::IconMouse(uint32_t msg) {
  const TPoint p = Screen()->CursorPos();
  const TShiftState keys = KeysDown();
  switch (msg) {
    case WM_MOUSEMOVE:
      MouseMove(keys, p.X, p.Y);
      break;
    case WM_LBUTTONDOWN:
      singleClickTimer_->SetEnabled(true);
      MouseDown(TMouseButton::mbLeft, keys | ssLeft, p.X, p.Y);
      leftPressed_ = true;
      if (PopupByLeftButton) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (leftPressed_) {
        clickPending_ = true;
        // Held longer than the double-click time: the click is told at the release.
        if (!singleClickTimer_->Enabled()) {
          leftPressed_ = false;
          clickPending_ = false;
          Click();
        }
      }
      leftPressed_ = false;
      MouseUp(TMouseButton::mbLeft, keys | ssLeft, p.X, p.Y);
      break;
    case WM_LBUTTONDBLCLK: {
      clickPending_ = false;
      doubleClicked_ = true;
      DblClick();
      if (!PopupByLeftButton) ClickDefaultItem();
      break;
    }
    case WM_RBUTTONDOWN:
      MouseDown(TMouseButton::mbRight, keys | ssRight, p.X, p.Y);
      PopupAtCursor();
      break;
    case WM_RBUTTONUP:
      MouseUp(TMouseButton::mbRight, keys | ssRight, p.X, p.Y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(TMouseButton::mbMiddle, keys | ssMiddle, p.X, p.Y);
      break;
    case WM_MBUTTONUP:
      MouseUp(TMouseButton::mbMiddle, keys | ssMiddle, p.X, p.Y);
      break;
    default:
      break;
  }
}

TPopupMenu* TbsTrayIcon::AutoPopupMenu() const {
  auto* menu = dynamic_cast<TPopupMenu*>(popupMenu_);
  return menu && menu->AutoPopup ? menu : nullptr;
}

void TbsTrayIcon::PopupAtCursor() {
  if (!AutoPopupMenu() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  const TPoint p = Screen()->CursorPos();
  if (Application) Application->ProcessMessages();
  // The waiting messages may have taken the menu away.
  TPopupMenu* menu = AutoPopupMenu();
  if (!menu) return;
  if (TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated() && owner->Handle()->isVisible()) {
    owner->Handle()->raise();
    owner->Handle()->activateWindow();
  }
  menu->PopupComponent = this;
  menu->Popup(p.X, p.Y);
}

void TbsTrayIcon::ClickDefaultItem() {
  TPopupMenu* menu = AutoPopupMenu();
  if (!menu || !menu->Items()) return;
  TMenuItem* root = menu->Items();
  for (int i = 0; i < root->Count(); ++i)
    if (root->Items(i)->Default()) {
      root->Items(i)->Click();
      return;
    }
}

void TbsTrayIcon::SingleClickTick() {
  singleClickTimer_->SetEnabled(false);
  if (!doubleClicked_ && clickPending_) {
    clickPending_ = false;
    Click();
  }
  doubleClicked_ = false;
}

// ---- the application and the owner -------------------------------------------------------

void TbsTrayIcon::HookApplication() {
  if (!Application || appHooked_) return;
  appHooked_ = true;
  previousAppMinimize_ = Application->OnMinimize;
  Application->OnMinimize = [this](TComponent* sender) {
    AppMinimized();
    previousAppMinimize_(sender);
  };
}

void TbsTrayIcon::UnhookApplication() {
  if (!appHooked_) return;
  appHooked_ = false;
  if (Application) Application->OnMinimize = previousAppMinimize_;
}

void TbsTrayIcon::AppMinimized() {
  if (MinimizeToTray) GoToTray();
}

void TbsTrayIcon::TaskbarCreated() {
  if (iconVisible_) AddIcon();
}

void TbsTrayIcon::HookOwner() {
  TWinControl* owner = OwnerControl();
  if (!owner || ownerHooked_) return;
  ownerHooked_ = true;
  previousFormProc_ = owner->WindowProc;
  owner->WindowProc = [this](TMessage& m) { OwnerWindowProc(m); };
}

void TbsTrayIcon::UnhookOwner() {
  if (!ownerHooked_) return;
  ownerHooked_ = false;
  if (TWinControl* owner = OwnerControl()) owner->WindowProc = previousFormProc_;
}

void TbsTrayIcon::OwnerWindowProc(TMessage& m) {
  TWinControl* owner = OwnerControl();
  if (owner && m.Msg == WM_ACTIVATE && (m.WParam == WA_ACTIVE || m.WParam == WA_CLICKACTIVE)) {
    // Give the focus back to the form's active control when the window comes back.
    if (auto* form = dynamic_cast<TCustomForm*>(owner); form && form->ActiveControl()) {
      TWinControl* active = form->ActiveControl();
      if (!active->Focused() && active->CanFocus()) active->SetFocus();
    }
  }
  if (owner && m.Msg == WM_SHOWWINDOW && m.WParam == 1 && Application) {
    if (Application->Minimized()) Application->Restore();
    if (owner->HandleAllocated()) owner->Handle()->raise();
  }
  TWndMethod previous = previousFormProc_;
  if (previous) previous(m);
}

void TbsTrayIcon::ShowApplication() {
  if (!OwnerControl() || !Application || !Application->MainForm()) return;
  TCustomForm* main = Application->MainForm();
  Application->Restore();
  main->SetVisible(true);
  if (main->WindowState() == TWindowState::wsMinimized) main->SetWindowState(TWindowState::wsNormal);
}

void TbsTrayIcon::HideApplication() {
  if (!OwnerControl() || !Application || !Application->MainForm()) return;
  Application->MainForm()->SetVisible(false);
}

void TbsTrayIcon::GoToTray() {
  HideApplication();
  SetIconVisible(true);
}
