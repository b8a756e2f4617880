#include "skin/controls/bsSkinPanel.h"

#include <algorithm>
#include <cstdint>

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
    captionfontname_ = p->fontname;
    captionfontstyle_ = p->fontstyle;
    captionfontheight_ = p->fontheight;
    captionfontcolor_ = p->fontcolor;
    captionAlignment_ = p->alignment;
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

void TbsSkinPanel::MapCaptionRects() {
  const bool fixed = stretch_.StretchMode < smBoth;
  mappedCaptionRect_ = fixed ? captionrect_ : MapSkinRect(captionrect_);
  if (!RectIsEmpty(rollupmarkerrect_) && rollUpMode_)
    mappedMarkerRect_ = fixed ? rollupmarkerrect_ : MapSkinRect(rollupmarkerrect_);
}

void TbsSkinPanel::PaintSkinImage(TBitmap& bitmap) {
  if (borderStyle_ == bvNone && stretch_.StretchMode == smBoth && !captionMode_) {
    TileClientTexture(bitmap);
    return;
  }
  ComposeControlImage(bitmap, skinPicture_, stretch_.skinrect);
  MapCaptionRects();
  if (!Caption().isEmpty() && !RectIsEmpty(captionrect_)) DrawSkinCaption(bitmap);
  if (!RectIsEmpty(rollupmarkerrect_) && rollUpMode_ && rollUpState_ && !RectIsEmpty(restoremarkerrect_) &&
      skinPicture_)
    CopyPiece(bitmap, mappedMarkerRect_, *skinPicture_, restoremarkerrect_);
}

void TbsSkinPanel::TileClientTexture(TBitmap& bitmap) {
  const TRect& sr = stretch_.skinrect;
  const TRect& cr = stretch_.SkinClientRect;
  // The client part in picture coordinates; one that leaves the coordinate range gives no tile.
  const int64_t l = int64_t{cr.Left} + sr.Left, t = int64_t{cr.Top} + sr.Top;
  const int64_t r = int64_t{cr.Right} + sr.Left, b = int64_t{cr.Bottom} + sr.Top;
  const bool inRange = std::min({l, t, r, b}) >= INT32_MIN && std::max({l, t, r, b}) <= INT32_MAX;
  const TRect tile = inRange ? TRect(static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
                                     static_cast<int32_t>(b))
                             : TRect();
  const int tw = RectWidth(tile), th = RectHeight(tile);
  if (!skinPicture_ || tw < 1 || th < 1) {
    // No tile to lay: the framed image is the best there is.
    ComposeControlImage(bitmap, skinPicture_, sr);
    return;
  }
  const int w = Width(), h = Height();
  bitmap = ControlBitmap(w, h);
  for (int col = 0; col <= w / tw; ++col)
    for (int row = 0; row <= h / th; ++row) {
      const int x = col * tw, y = row * th;
      const int cw = std::min(tw, w - x), ch = std::min(th, h - y);
      if (cw < 1 || ch < 1) continue;
      CopyPiece(bitmap, TRect(x, y, x + cw, y + ch), *skinPicture_, TRect(tile.Left, tile.Top, tile.Left + cw, tile.Top + ch));
    }
}

void TbsSkinPanel::DrawSkinCaption(TBitmap& bitmap) {
  TCanvas& c = bitmap.Canvas();
  TRect r = LayoutRect(mappedCaptionRect_);
  if (checkedMode_) {
    const TRect& image = checked_ ? checkimagerect_ : uncheckimagerect_;
    // A check image beyond the picture draws what of it lies inside.
    const int iw = std::clamp(RectWidth(image), 0, 4096), ih = std::clamp(RectHeight(image), 0, 4096);
    if (skinPicture_ && iw > 0 && ih > 0) {
      TBitmap box(iw, ih);
      CopyPiece(box, TRect(0, 0, iw, ih), *skinPicture_, image);
      DrawGlyphFrame(c, r.Left, r.Top + RectHeight(r) / 2 - ih / 2, box, 1, 1);
    }
    r.Left += iw + 2;
  }
  SelectSkinFont(c, captionfontname_, captionfontheight_, captionfontstyle_);
  c.Font.Color = captionfontcolor_;
  const QString text = Caption();
  const bool glyph = !glyph_.Empty();
  const int gw = glyph ? glyph_.Width() / numGlyphs_ : 0;
  const int spacing = std::clamp(spacing_, -(1 << 20), 1 << 20);
  const int total = c.TextWidth(text) + (glyph ? gw + spacing : 0);
  int x = r.Left;
  if (captionAlignment_ == taRightJustify) x = r.Right - total;
  else if (captionAlignment_ == taCenter) x = r.Left + RectWidth(r) / 2 - total / 2;
  const int y = r.Top + RectHeight(r) / 2 - c.TextHeight(text) / 2;
  const int gx = x, gy = r.Top + RectHeight(r) / 2 - glyph_.Height() / 2;
  if (glyph) x += gw + spacing;
  c.Brush.Style = TBrushStyle::bsClear;
  c.TextRect(r, x, y, text);
  if (glyph) DrawGlyphFrame(c, gx, gy, glyph_, numGlyphs_, !Enabled() && numGlyphs_ == 2 ? 2 : 1);
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
    FetchSkinData();
    if (sectionIndex_ != -1) {
      // Placed again for the current size: a panel not painted since its last resize still
      // takes the click where its caption is.
      MapCaptionRects();
      hit = (!RectIsEmpty(captionrect_) && RectHoldsPoint(mappedCaptionRect_, p)) ||
            (rollUpMode_ && !RectIsEmpty(rollupmarkerrect_) && RectHoldsPoint(mappedMarkerRect_, p));
    }
    else
      hit = RectHoldsPoint(PanelPlainCaptionHitRect(Width(), defaultCaptionHeight_), p);
    if (hit) {
      if (checkedMode_) SetChecked(!checked_);
      if (rollUpMode_) SetRollUpState(!rollUpState_);
    }
  }
  TbsSkinCustomControl::MouseUp(button, shift, x, y);
}
