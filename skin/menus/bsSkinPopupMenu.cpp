#include "skin/menus/bsSkinPopupMenu.h"

#include "platform/Forms.h"
#include "platform/Streaming.h"
#include "skin/data/SkinData.h"
#include "skin/menus/bsSkinMenu.h"
#include "skin/menus/bsSkinMenuHost.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsTrayIcon.h"

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* owner) : TPopupMenu(owner) {}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* v) {
  if (skinData_ == v) return;
  if (skinData_) skinData_->RemoveFreeNotification(this);
  skinData_ = v;
  if (skinData_) skinData_->FreeNotification(this);
}

void TbsSkinPopupMenu::SetFrameForm(TCustomForm* f) {
  if (frameForm_ == f) return;
  if (frameForm_) frameForm_->RemoveFreeNotification(this);
  frameForm_ = f;
  if (frameForm_) frameForm_->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(TComponent* c, TOperation op) {
  TPopupMenu::Notification(c, op);
  if (op != TOperation::opRemove) return;
  if (c == skinData_) skinData_ = nullptr;
  if (c == frameForm_) frameForm_ = nullptr;
}

TbsMenuHost* TbsSkinPopupMenu::FindHost() const {
  if (frameForm_) return FindFrameComponent(frameForm_);
  TComponent* owner = Owner();
  if (dynamic_cast<TCustomForm*>(owner)) return FindFrameComponent(owner);
  if (owner && dynamic_cast<TCustomForm*>(owner->Owner())) return FindFrameComponent(owner->Owner());
  return nullptr;
}

void TbsSkinPopupMenu::PopupAt(int x, int y) { PopupAtRect(TRect(x, y, x, y), false); }

void TbsSkinPopupMenu::PopupAtRect(const TRect& r, bool openUp) {
  DoPopup();
  TbsMenuHost* host = FindHost();
  if (!host || !host->MenuDriver()) return;
  if (!skinData_) SetSkinData(host->MenusSkinData() ? host->MenusSkinData() : host->SkinData());
  host->NotifyMenuOpened();
  host->MenuDriver()->OpenMenu(nullptr, skinData_, openUp, Items(), r, 0);
}

void PopupMenuAtRect(TbsSkinPopupMenu* menu, const TRect& rect, bool openUp) {
  if (menu) menu->PopupAtRect(rect, openUp);
}

TbsMenuHost* FindFrameComponent(TComponent* owner) {
  if (!owner) return nullptr;
  for (TComponent* c : owner->ComponentList())
    if (auto* host = dynamic_cast<TbsMenuHost*>(c)) return host;
  return nullptr;
}

void RegisterSkinMenuClasses() {
  RegisterClass<TbsSkinPopupMenu>(QStringLiteral("TbsSkinPopupMenu"), QStringLiteral("TPopupMenu"))
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinPopupMenu::SkinData, &TbsSkinPopupMenu::SetSkinData);
  RegisterSkinHintClasses();
  RegisterTrayIconClasses();
}
