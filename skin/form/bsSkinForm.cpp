#include "skin/form/bsSkinForm.h"

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "skin/controls/bsSkinConsumer.h"
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

// The plain frame: caption height of a normal form and of a tool window, border, least width.
constexpr int kPlainCaptionHeight = 19;
constexpr int kPlainToolCaptionHeight = 15;
constexpr int kPlainBorder = 3;
constexpr int kPlainMinWidth = 120;

int PlainCaptionHeight(const TCustomForm& form) {
  const TFormBorderStyle b = form.BorderStyle();
  const bool tool = b == TFormBorderStyle::bsToolWindow || b == TFormBorderStyle::bsSizeToolWin;
  return tool ? kPlainToolCaptionHeight : kPlainCaptionHeight;
}

TCustomForm* OwnerForm(TComponent* owner) {
  auto* form = dynamic_cast<TCustomForm*>(owner);
  if (!form) throw EInvalidCast(QStringLiteral("Invalid class typecast"));
  return form;
}

// Runs `f` on every skinned control under `parent`, depth first (a control before its own
// children), that reads `data`; every skinned control when `data` is null. Children are
// counted afresh after each call, since applying a skin may add or remove inner controls.
template <class F>
void ForEachSkinConsumer(const TWinControl& parent, const TbsSkinData* data, const F& f) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    if (auto* consumer = dynamic_cast<TbsSkinConsumer*>(c); consumer && (!data || consumer->SkinData() == data))
      f(*consumer);
    if (i >= parent.ControlCount() || parent.Controls(i) != c) continue;  // it went meanwhile
    if (auto* w = dynamic_cast<TWinControl*>(c)) ForEachSkinConsumer(*w, data, f);
  }
}
}  // namespace

TbsSkinForm::TbsSkinForm(TComponent* owner)
    : TComponent(owner),
      DefCaptionFont(FrameFont(fsBold, clBtnText)),
      DefInActiveCaptionFont(FrameFont(fsBold, clBtnShadow)),
      DefMenuItemFont(FrameFont(0, clWindowText)),
      form_(OwnerForm(owner)) {
  if (IsDesigning()) return;
  oldWindowProc_ = form_->WindowProc;
  form_->WindowProc = [this](TMessage& m) { FormWindowProc(m); };
  hooked_ = true;
}

TbsSkinForm::~TbsSkinForm() {
  Destroying();
  // A form that is going has already dropped its window procedure; leave it alone then.
  if (hooked_ && !form_->IsDestroying()) form_->WindowProc = std::move(oldWindowProc_);
}

void TbsSkinForm::FormWindowProc(TMessage& m) {
  switch (m.Msg) {
    case SkinMessageBeforeChange:
      SkinBeforeChange(m);
      break;
    case SkinMessageChanged:
      SkinChanged(m);
      break;
    default:
      break;
  }
  oldWindowProc_(m);
}

// The sender is only compared, never used: the message may name a component this form
// does not know.
void TbsSkinForm::SkinBeforeChange(TMessage& m) {
  const auto* sender = reinterpret_cast<const TbsSkinData*>(m.WParam);
  if (sender && sender == skinData_) skinned_ = false;
  ForEachSkinConsumer(*form_, sender, [](TbsSkinConsumer& c) { c.ForgetSkinSection(); });
}

void TbsSkinForm::SkinChanged(TMessage& m) {
  const auto* sender = reinterpret_cast<const TbsSkinData*>(m.WParam);
  if (sender && sender == skinData_) ChangeSkinData();
  ForEachSkinConsumer(*form_, sender, [](TbsSkinConsumer& c) { c.ApplySkinData(); });
}

void TbsSkinForm::ChangeSkinData() {
  skinned_ = skinData_ && !skinData_->IsEmpty;
  // The minimum size: both at once when both are short, else whichever is.
  const int minWidth = GetMinWidth(), minHeight = GetMinHeight();
  const int width = form_->Width(), height = form_->Height();
  if (width < minWidth && height < minHeight)
    form_->SetBounds(form_->Left(), form_->Top(), minWidth, minHeight);
  else if (width < minWidth)
    form_->SetWidth(minWidth);
  else if (height < minHeight)
    form_->SetHeight(minHeight);
  else
    ForceRelayout();
  windowWidth_ = form_->Width();
  windowHeight_ = form_->Height();
  form_->Invalidate();
  OnChangeSkinData(this);
}

int TbsSkinForm::GetMinWidth() const {
  if (skinned_) return MinWidth > skinData_->picture.Width() ? MinWidth : skinData_->picture.Width();
  return MinWidth > 0 ? MinWidth : kPlainMinWidth;
}

int TbsSkinForm::GetMinHeight() const {
  const int frame = skinned_ ? skinData_->picture.Height() - skinData_->clientrect.Height()
                             : PlainCaptionHeight(*form_) + 2 * kPlainBorder;
  return frame >= MinHeight ? frame : MinHeight;
}

void TbsSkinForm::ForceRelayout() {
  const int width = form_->Width();
  if (width - 1 < GetMinWidth()) {
    form_->SetWidth(width + 1);
  } else {
    form_->SetWidth(width - 1);
  }
  form_->SetWidth(width);
}

// A removal notice stays registered after a reference changes; Notification compares.
void TbsSkinForm::SetRef(TComponent*& field, TComponent* v) {
  field = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinForm::SetSkinData(TbsSkinData* v) {
  skinData_ = v;
  if (v) v->FreeNotification(this);
  if (!IsDesigning()) ChangeSkinData();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* v) {
  menusSkinData_ = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinForm::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove || !c) return;
  if (c == skinData_) {
    // Nothing may read a skin that has gone.
    skinData_ = nullptr;
    skinned_ = false;
  }
  if (c == menusSkinData_) menusSkinData_ = nullptr;
  if (c == skinHint_) skinHint_ = nullptr;
  if (c == trayIcon_) trayIcon_ = nullptr;
  if (c == mainMenuBar_) mainMenuBar_ = nullptr;
  if (c == systemMenu_) systemMenu_ = nullptr;
}
