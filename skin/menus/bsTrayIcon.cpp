#include "skin/menus/bsTrayIcon.h"

#include <QApplication>
#include <QBuffer>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Screen.h"
#include "platform/Stream.h"
#include "platform/Streaming.h"

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

// The largest stored icon side; a tray shows icons of a few dozen pixels.
constexpr int kMaxStoredIconSide = 256;

// A stored icon: PNG bytes. An empty block is no image; anything else must be a PNG image of
// at most kMaxStoredIconSide pixels a side.
QImage ReadStoredIcon(TStream& in) {
  const int64_t size = in.Size() - in.Position();
  if (size <= 0) return QImage();
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  in.ReadBuffer(bytes.data(), size);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  const QSize s = reader.size();
  QImage img;
  if (s.width() > 0 && s.height() > 0 && s.width() <= kMaxStoredIconSide && s.height() <= kMaxStoredIconSide)
    img = reader.read();
  if (img.isNull()) throw Exception(QStringLiteral("Icon image is not valid"));
  return img;
}

bool WriteStoredIcon(const QImage& icon, TStream& out) {
  if (icon.isNull()) return false;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!icon.save(&buffer, "PNG") || bytes.isEmpty()) return false;
  out.WriteBuffer(bytes.constData(), bytes.size());
  return true;
}
}  // namespace

void RegisterTrayIconClasses() {
  using T = TbsTrayIcon;
  auto field = [](bool T::*m) {
    return std::make_pair([m](const T* t) { return t->*m; }, [m](T* t, bool v) { t->*m = v; });
  };
  auto b = RegisterClass<T>(QStringLiteral("TbsTrayIcon"), QStringLiteral("TComponent"));
  b.Bool(QStringLiteral("DesignPreview"), &T::DesignPreview, &T::SetDesignPreview, false)
      .Reference<TCustomImageList>(QStringLiteral("IconList"), &T::IconList, &T::SetIconList)
      .Bool(QStringLiteral("CycleIcons"), &T::CycleIcons, &T::SetCycleIcons, false)
      .Integer(QStringLiteral("AnimateTimerInterval"), &T::AnimateTimerInterval, &T::SetAnimateTimerInterval);
  {
    auto [get, set] = field(&T::Enabled);
    b.Bool(QStringLiteral("Enabled"), get, set, true);
  }
  b.String(QStringLiteral("Hint"), &T::Hint, [](T* t, const QString& v) { t->SetHint(v); })
      .Bool(QStringLiteral("ShowHint"), &T::ShowHint, &T::SetShowHint, true)
      .Binary(
          QStringLiteral("Icon"), [](T* t, TStream& in) { t->SetIcon(ReadStoredIcon(in)); },
          [](T* t, TStream& out) { return WriteStoredIcon(t->Icon(), out); })
      // Stored when shown: a new icon starts hidden, and a stored "hidden" needs no line.
      .Bool(QStringLiteral("IconVisible"), &T::IconVisible, &T::SetIconVisible, false)
      .Integer(QStringLiteral("IconIndex"), &T::IconIndex, &T::SetIconIndex)
      .Reference<TPopupMenu>(QStringLiteral("PopupMenu"), &T::PopupMenu, &T::SetPopupMenu);
  for (auto [name, member] : {std::pair{"PopupByLeftButton", &T::PopupByLeftButton},
                              std::pair{"MinimizedOnStart", &T::MinimizedOnStart},
                              std::pair{"MinimizeToTray", &T::MinimizeToTray}}) {
    auto [get, set] = field(member);
    b.Bool(QLatin1String(name), get, set, false);
  }
  b.Event(QStringLiteral("OnClick"), &T::OnClick).Event(QStringLiteral("OnDblClick"), &T::OnDblClick);
}

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
  const bool startHidden = OwnerControl() && MinimizedOnStart && !IsDesigning() && Application;
  if (startHidden) Application->ShowMainForm = false;
  if (!iconList_) iconIndex_ = 0;
  ModifyIcon();
  // An application that starts hidden is reached through its icon alone: the icon shows even
  // when it was stored hidden or a frame component hid it when it took the icon.
  SetIconVisible(iconVisible_ || startHidden);
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
  SetIconIndex(IsLoading() ? iconIndex_ : 0);
}

void TbsTrayIcon::SetIconIndex(int v) {
  if (iconList_) {
    iconIndex_ = v >= iconList_->Count() ? iconList_->Count() - 1 : v;
    // An index the list has no image for keeps the icon shown.
    const QImage img = iconList_->Image(iconIndex_);
    if (!img.isNull()) icon_ = img;
  } else {
    // A stored list arrives after the stored index (references are resolved last): while the
    // form loads, the index waits for it.
    iconIndex_ = IsLoading() ? v : 0;
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
