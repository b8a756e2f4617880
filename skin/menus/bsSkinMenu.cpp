#include "skin/menus/bsSkinMenu.h"

#include <QWidget>
#include <algorithm>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "platform/PointerState.h"
#include "platform/Screen.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsUtils.h"
#include "skin/menus/MenuGuard.h"
#include "skin/menus/bsSkinPopupWindow.h"

TbsSkinMenu::TbsSkinMenu(TComponent* owner) : TComponent(owner), subMenuTimer_(std::make_unique<TTimer>(nullptr)) {
  ItemFont.Name = QStringLiteral("Arial");
  ItemFont.Height = 14;
  ItemFont.Style = 0;
  subMenuTimer_->SetEnabled(false);
  subMenuTimer_->SetInterval(500);
  subMenuTimer_->OnTimer = [this](TComponent*) { SubMenuTimerTick(); };
}

TbsSkinMenu::~TbsSkinMenu() {
  Destroying();
  subMenuTimer_->SetEnabled(false);
  pendingItem_ = nullptr;
  while (!windows_.empty()) {
    TbsSkinPopupWindow* w = windows_.back();
    windows_.pop_back();
    delete w;
  }
}

void TbsSkinMenu::SetOwnerForm(TCustomForm* f) {
  if (ownerForm_ == f) return;
  if (ownerForm_) ownerForm_->RemoveFreeNotification(this);
  ownerForm_ = f;
  if (ownerForm_) ownerForm_->FreeNotification(this);
}

void TbsSkinMenu::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove) return;
  if (c == skinData_) skinData_ = nullptr;
  if (c == ownerForm_) ownerForm_ = nullptr;
  if (c == barControl_) barControl_ = nullptr;
  if (IsDestroying()) return;
  // A platform item shown by an open window is going: nothing may touch it any more.
  for (TbsSkinPopupWindow* w : windows_) {
    bool shown = w->RootItem() == c;
    for (int i = 0; !shown && i < w->ItemCount(); ++i) shown = w->Items(i)->SourceItem == c;
    if (shown) {
      CloseAll();
      return;
    }
  }
}

const TbsDataSkinPopupWindow* TbsSkinMenu::SkinPopupData() const {
  if (!skinData_ || skinData_->IsEmpty || !skinData_->PopupWindow) return nullptr;
  if (!skinData_->ActivePicture(skinData_->PopupWindow->windowpictureindex)) return nullptr;
  if (!SkinItemDataAny()) return nullptr;
  return skinData_->PopupWindow.get();
}

const TbsDataSkinMenuItem* TbsSkinMenu::SkinItemDataAny() const {
  if (!skinData_) return nullptr;
  for (const auto& o : skinData_->SkinObjects)
    if (auto* m = dynamic_cast<const TbsDataSkinMenuItem*>(o.get())) return m;
  return nullptr;
}

const TbsDataSkinMenuItem* TbsSkinMenu::SkinItemData() const {
  return SkinPopupData() ? SkinItemDataAny() : nullptr;
}

void TbsSkinMenu::SetBarControl(TControl* c) {
  if (barControl_ == c) return;
  if (barControl_) barControl_->RemoveFreeNotification(this);
  barControl_ = c;
  if (barControl_) barControl_->FreeNotification(this);
}

void TbsSkinMenu::SetSkinData(TbsSkinData* d) {
  if (skinData_ == d) return;
  if (skinData_) skinData_->RemoveFreeNotification(this);
  skinData_ = d;
  if (skinData_) skinData_->FreeNotification(this);
}

void TbsSkinMenu::OpenMenu(TControl* barControl, TbsSkinData* skinData, bool openUp, TMenuItem* rootItem,
                           const TRect& anchorRect, int firstIndex) {
  firstWindow_ = !menuOpen_;
  SetBarControl(barControl);
  if (!windows_.empty()) {
    const std::weak_ptr<int> alive = life_;
    CloseFrom(0);
    if (alive.expired()) return;
  }
  workArea_ = Screen()->WorkAreaRect();
  SetSkinData(skinData);
  if (rootItem && rootItem->Count() > 0) {
    menuOpen_ = true;
    buttonWasDown_ = true;  // the press that opened the menu does not close it
    const std::weak_ptr<int> alive = life_;
    OpenWindow(anchorRect, rootItem, firstIndex, false, openUp);
    if (alive.expired()) return;
    firstWindow_ = false;
  }
}

void TbsSkinMenu::OpenWindow(const TRect& anchorRect, TMenuItem* rootItem, int firstIndex, bool isSubMenu,
                             bool openUp) {
  const TbsDataSkinPopupWindow* popup = SkinPopupData();
  auto* w = new TbsSkinPopupWindow(this, popup, popup ? SkinItemData() : nullptr);
  windows_.push_back(w);
  w->ShowAt(anchorRect, rootItem, firstIndex, isSubMenu, openUp);
}

void TbsSkinMenu::WatchItems(TbsSkinPopupWindow* w) {
  if (w->RootItem()) w->RootItem()->FreeNotification(this);
  for (int i = 0; i < w->ItemCount(); ++i) w->Items(i)->SourceItem->FreeNotification(this);
}

void TbsSkinMenu::UnwatchItems(TbsSkinPopupWindow* w) {
  if (w->RootItem()) w->RootItem()->RemoveFreeNotification(this);
  for (int i = 0; i < w->ItemCount(); ++i) w->Items(i)->SourceItem->RemoveFreeNotification(this);
}

void TbsSkinMenu::ClearPending() {
  subMenuTimer_->SetEnabled(false);
  pendingItem_ = nullptr;
}

void TbsSkinMenu::CloseFrom(int n) {
  n = std::max(n, 0);
  while (static_cast<int>(windows_.size()) > n) {
    TbsSkinPopupWindow* w = windows_.back();
    windows_.pop_back();
    if (pendingItem_ && pendingItem_->Window == w) ClearPending();
    UnwatchItems(w);
    delete w;
  }
  if (n != 0) return;
  menuOpen_ = false;
  subMenuTimer_->SetEnabled(false);
  if (TControl* bar = barControl_) {
    SetBarControl(nullptr);
    bar->Perform(SkinMessageMenuClosed, 0, 0);
  }
}

void TbsSkinMenu::CloseAll() {
  const std::weak_ptr<int> alive = life_;
  CloseFrom(0);
  if (alive.expired()) return;
  ClearPending();
  if (ownerForm_) ownerForm_->Perform(SkinMessageMenuClosed, 0, 0);
}

int TbsSkinMenu::IndexOfWindow(const TbsSkinPopupWindow* window) const {
  auto it = std::find(windows_.begin(), windows_.end(), window);
  return static_cast<int>(it - windows_.begin());
}

void TbsSkinMenu::HandleKey(uint16_t key) {
  if (TbsSkinPopupWindow* w = LastWindow()) w->HandleKey(key);
}

void TbsSkinMenu::ItemCommand(TbsSkinPopupWindow* window, TbsSkinMenuItem* item, bool byKeyboard, bool click) {
  if (!window || !item) return;
  TMenuItem* source = item->SourceItem;
  const std::weak_ptr<int> alive = life_;
  if (!item->HasChildren()) {
    ClearPending();
    if (!click) {
      CloseFrom(IndexOfWindow(window) + 1);
      return;
    }
    // Close first, then run the command: the command may close or free the form, and with it
    // this driver; nothing here is touched after it.
    TComponentGuard guard(source);
    CloseAll();
    if (guard.Alive()) source->Click();
    return;
  }
  if (!click) {
    if (byKeyboard) return;
    ClearPending();
    CloseFrom(IndexOfWindow(window) + 1);
    if (alive.expired()) return;
    pendingItem_ = item;
    subMenuTimer_->SetEnabled(true);
    return;
  }
  {
    TComponentGuard guard(source);
    source->Click();
    if (alive.expired() || !guard.Alive()) return;
  }
  // The command may have closed the menu or this level.
  if (IndexOfWindow(window) >= static_cast<int>(windows_.size()) || window->IndexOfItem(item) < 0) return;
  ClearPending();
  item->SubMenuShown = true;
  TRect r = item->ItemBounds;
  const TPoint origin = window->ClientToScreen(TPoint(0, 0));
  r = TRect(r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y);
  OpenWindow(r, source, 0, true, false);
}

void TbsSkinMenu::SubMenuTimerTick() {
  subMenuTimer_->SetEnabled(false);
  if (TbsSkinMenuItem* item = pendingItem_) ItemCommand(item->Window, item, false, true);
}

void TbsSkinMenu::CheckOutsidePress() {
  if (windows_.empty()) return;
  const TPointerState s = QueryPointerState();
  const bool pressed = s.ButtonDown && !buttonWasDown_;
  buttonWasDown_ = s.ButtonDown;
  if (!pressed) return;
  for (TbsSkinPopupWindow* w : windows_)
    if (PointInRect(s.Pos, w->ScreenBounds())) return;
  if (ownerForm_ && ownerForm_->HandleAllocated() && ownerForm_->Handle()->isVisible()) {
    const QRect g = ownerForm_->Handle()->frameGeometry();
    if (g.contains(QPoint(s.Pos.X, s.Pos.Y))) return;  // the form ends its menus itself
  }
  CloseAll();
}

const QImage* TbsSkinMenu::CachedImage(const QString& key) const {
  for (const auto& [k, image] : images_)
    if (k == key) return &image;
  return nullptr;
}

const QImage& TbsSkinMenu::CacheImage(const QString& key, const QImage& image) {
  if (images_.size() >= 4) images_.erase(images_.begin());
  images_.emplace_back(key, image);
  return images_.back().second;
}
