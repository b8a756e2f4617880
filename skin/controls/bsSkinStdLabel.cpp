#include "skin/controls/bsSkinStdLabel.h"

#include "platform/Colors.h"
#include "skin/controls/SkinLookup.h"
#include "skin/data/SkinControlData.h"

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* owner) : TCustomLabel(owner) { transparent_ = true; }

TbsSkinStdLabel::~TbsSkinStdLabel() = default;

void TbsSkinStdLabel::SetSkinData(TbsSkinData* v) {
  if (TComponent* old = SkinDataComponent(skinData_)) old->RemoveFreeNotification(this);
  skinData_ = v;
  if (TComponent* now = SkinDataComponent(skinData_)) now->FreeNotification(this);
  if (skinData_) ApplySkinData();
}

void TbsSkinStdLabel::Notification(TComponent* c, TOperation op) {
  TCustomLabel::Notification(c, op);
  if (op == TOperation::opRemove && c && c == SkinDataComponent(skinData_)) skinData_ = nullptr;
}

void TbsSkinStdLabel::FetchSkinData() {
  sectionIndex_ = SkinIsEmpty(skinData_) ? -1 : SkinFindControlIndex(skinData_, skinDataName_);
  if (sectionIndex_ == -1) return;
  if (auto* s = dynamic_cast<TbsDataSkinStdLabelControl*>(SkinControlAt(skinData_, sectionIndex_))) {
    fontname_ = s->fontname;
    fontcolor_ = s->fontcolor;
    fontstyle_ = s->fontstyle;
    fontheight_ = s->fontheight;
  }
}

void TbsSkinStdLabel::ApplySkinData() {
  FetchSkinData();
  Invalidate();
}

void TbsSkinStdLabel::DoDrawText(TRect& rect, uint32_t flags) {
  FetchSkinData();
  QString text = Caption();
  if ((flags & DT_CALCRECT) && (text.isEmpty() || (showAccelChar_ && text == QStringLiteral("&")))) text += u' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  flags = DrawTextBiDiModeFlags(flags);
  TCanvas& c = Canvas();
  if (sectionIndex_ == -1) {
    c.Font = useSkinFont_ ? defaultFont_ : Font();
  } else {
    if (useSkinFont_) {
      c.Font.Name = fontname_;
      c.Font.Style = fontstyle_;
      c.Font.Height = fontheight_;
      c.Font.Charset = defaultFont_.Charset;
    } else {
      c.Font = Font();
    }
    c.Font.Color = fontcolor_;
  }
  if (Enabled()) {
    c.DrawText(text, rect, flags);
    return;
  }
  TRect shifted(rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1);
  c.Font.Color = clBtnHighlight;
  c.DrawText(text, shifted, flags);
  c.Font.Color = clBtnShadow;
  c.DrawText(text, rect, flags);
}
