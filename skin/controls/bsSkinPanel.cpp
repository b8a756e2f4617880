#include "skin/controls/bsSkinPanel.h"

#include "skin/controls/SkinLookup.h"
#include "skin/draw/bsUtils.h"
#include "skin/data/SkinControlData.h"

TbsSkinPanel::TbsSkinPanel(TComponent* owner) : TbsSkinCustomControl(owner) {
  skinDataName_ = QStringLiteral("panel");
  TbsSkinCustomControl::SetBounds(Left(), Top(), 185, 41);
}

TbsSkinPanel::~TbsSkinPanel() = default;

TPanelPlainLook TbsSkinPanel::PlainLook() const {
  TPanelPlainLook look;
  look.BorderStyle = borderStyle_;
  look.CaptionMode = captionMode_;
  look.DefaultCaptionHeight = defaultCaptionHeight_;
  look.DefaultAlignment = defaultAlignment_;
  look.CheckedMode = checkedMode_;
  look.Checked = checked_;
  look.RollUpMode = rollUpMode_;
  look.RollUpState = rollUpState_;
  look.Enabled = Enabled();
  look.Caption = Caption();
  look.Font = defaultFont_;
  look.Glyph = &glyph_;
  look.NumGlyphs = numGlyphs_;
  look.Spacing = spacing_;
  return look;
}

void TbsSkinPanel::PaintWithoutSkin(TBitmap& bitmap) {
  PaintPanelWithoutSkin(bitmap.Canvas(), Width(), Height(), PlainLook());
}

void TbsSkinPanel::FetchSkinData() {
  TbsSkinCustomControl::FetchSkinData();
  bgpictureindex_ = -1;
  if (auto* p = dynamic_cast<TbsDataSkinPanelControl*>(SectionEntry())) {
    captionrect_ = p->captionrect;
    rollupmarkerrect_ = p->rollupmarkerrect;
    restoremarkerrect_ = p->restoremarkerrect;
    bgpictureindex_ = p->bgpictureindex;
    checkimagerect_ = p->checkimagerect;
    uncheckimagerect_ = p->uncheckimagerect;
  }
}

void TbsSkinPanel::Paint() {
  FetchSkinData();
  if (sectionIndex_ != -1 && bgpictureindex_ != -1) {
    if (Width() < 1 || Height() < 1) return;
    const TBitmap* bg = SkinPictureAt(skinData_, bgpictureindex_);
    if (!bg || bg->Empty()) return;
    for (int col = 0; col <= Width() / bg->Width(); ++col)
      for (int row = 0; row <= Height() / bg->Height(); ++row) Canvas().Draw(col * bg->Width(), row * bg->Height(), *bg);
    return;
  }
  TbsSkinCustomControl::Paint();
}

void TbsSkinPanel::AdjustClientRect(TRect& r) const {
  if (sectionIndex_ == -1 || IsDesigning()) {
    r = PanelPlainChildArea(r.Width(), r.Height(), borderStyle_, captionMode_, defaultCaptionHeight_);
    return;
  }
  if (bgpictureindex_ != -1 || (borderStyle_ == bvNone && !captionMode_ && stretch_.StretchMode == smBoth)) return;
  r = stretch_.StretchedClientRect;
}

void TbsSkinPanel::SetBounds(int left, int top, int width, int height) {
  TbsSkinCustomControl::SetBounds(left, top, width, height);
  if (sectionIndex_ == -1) Invalidate();
}

void TbsSkinPanel::ApplySkinData() {
  TbsSkinCustomControl::ApplySkinData();
  if (!rollUpState_) {
    Realign();
  } else {
    const int saved = savedHeight_;
    ApplyRollUpState();
    savedHeight_ = saved;
  }
}

void TbsSkinPanel::SetCheckedMode(bool v) {
  checkedMode_ = v;
  Invalidate();
}

void TbsSkinPanel::SetChecked(bool v) {
  checked_ = v;
  if (checkedMode_) Invalidate();
  if (autoEnabledControls_ && checkedMode_)
    for (TControl* c : ControlList()) c->SetEnabled(v);
  OnChecked(this);
}

void TbsSkinPanel::SetDefaultAlignment(TAlignment v) {
  defaultAlignment_ = v;
  if (sectionIndex_ == -1 && captionMode_) Invalidate();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int v) {
  defaultCaptionHeight_ = v;
  if (sectionIndex_ == -1 && captionMode_) {
    Invalidate();
    Realign();
  }
}

void TbsSkinPanel::SetBorderStyle(TbsSkinBorderStyle v) {
  borderStyle_ = v;
  if (sectionIndex_ == -1) {
    Invalidate();
    Realign();
  }
}

void TbsSkinPanel::SetCaptionMode(bool v) {
  captionMode_ = v;
  Invalidate();
  Realign();
}

void TbsSkinPanel::SetRollUpMode(bool v) {
  rollUpMode_ = v;
  if (sectionIndex_ == -1 && captionMode_) Invalidate();
}

void TbsSkinPanel::SetRollUpState(bool v) {
  if (!rollUpMode_) {
    rollUpState_ = false;
    return;
  }
  rollUpState_ = v;
  ApplyRollUpState();
}

void TbsSkinPanel::ApplyRollUpState() {
  if (rollUpState_) {
    savedHeight_ = Height();
    if (!hiddenControls_) {
      hiddenControls_ = std::make_unique<std::vector<TControl*>>();
      for (TControl* c : ControlList())
        if (c->Visible()) {
          hiddenControls_->push_back(c);
          c->SetVisible(false);
        }
    }
    if (sectionIndex_ == -1)
      SetHeight(defaultCaptionHeight_ + 1);
    else
      SetHeight(Height() + stretch_.StretchedClientRect.Top - stretch_.StretchedClientRect.Bottom);
  } else if (savedHeight_ != -1) {
    SetHeight(savedHeight_);
    if (hiddenControls_) {
      const auto hidden = std::move(hiddenControls_);
      for (TControl* c : *hidden) c->SetVisible(true);
    }
  }
}

void TbsSkinPanel::SetGlyph(const TBitmap& b) {
  glyph_ = b;
  Invalidate();
}

void TbsSkinPanel::SetNumGlyphs(int v) {
  numGlyphs_ = std::clamp(v, 1, 2);
  Invalidate();
}

void TbsSkinPanel::SetSpacing(int v) {
  spacing_ = v;
  Invalidate();
}

void TbsSkinPanel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::WndProc(m);
      if (captionMode_) Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::WndProc(m);
      Invalidate();
      return;
    default: TbsSkinCustomControl::WndProc(m);
  }
}

void TbsSkinPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if ((rollUpMode_ || checkedMode_) && captionMode_ && button == TMouseButton::mbLeft) {
    const TPoint p(x, y);
    bool hit;
    if (sectionIndex_ != -1)
      hit = RectHoldsPoint(mappedCaptionRect_, p) || RectHoldsPoint(mappedMarkerRect_, p);
    else
      hit = RectHoldsPoint(PanelPlainCaptionHitRect(Width(), defaultCaptionHeight_), p);
    if (hit) {
      if (checkedMode_) SetChecked(!checked_);
      if (rollUpMode_) SetRollUpState(!rollUpState_);
    }
  }
  TbsSkinCustomControl::MouseUp(button, shift, x, y);
}
