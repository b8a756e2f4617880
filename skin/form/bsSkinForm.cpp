#include "skin/form/bsSkinForm.h"

#include "platform/Colors.h"
#include "skin/data/SkinData.h"

namespace {
TFont FrameFont(TFontStyles style, TColor color) {
  TFont f;
  f.Name = QStringLiteral("Arial");
  f.Height = 14;
  f.Style = style;
  f.Color = color;
  return f;
}
}  // namespace

TbsSkinForm::TbsSkinForm(TComponent* owner)
    : TComponent(owner),
      DefCaptionFont(FrameFont(fsBold, clBtnText)),
      DefInActiveCaptionFont(FrameFont(fsBold, clBtnShadow)),
      DefMenuItemFont(FrameFont(0, clWindowText)) {}

TbsSkinForm::~TbsSkinForm() { Destroying(); }

// A removal notice stays registered after a reference changes; Notification compares.
void TbsSkinForm::SetRef(TComponent*& field, TComponent* v) {
  field = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinForm::SetSkinData(TbsSkinData* v) {
  skinData_ = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* v) {
  menusSkinData_ = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinForm::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove || !c) return;
  if (c == skinData_) skinData_ = nullptr;
  if (c == menusSkinData_) menusSkinData_ = nullptr;
  if (c == skinHint_) skinHint_ = nullptr;
  if (c == trayIcon_) trayIcon_ = nullptr;
  if (c == mainMenuBar_) mainMenuBar_ = nullptr;
  if (c == systemMenu_) systemMenu_ = nullptr;
}
