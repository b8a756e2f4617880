#include "skin/controls/bsSkinButton.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "skin/controls/SkinAccessible.h"
#include "skin/controls/SkinLookup.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"

namespace {
constexpr int kFadeInterval = 20;

TCustomForm* ParentFormOf(const TControl* c) {
  for (TWinControl* p = c->Parent(); p; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p)) return f;
  return nullptr;
}

// True when `key` is the caption's accelerator character ("&x").
bool IsAccel(QChar key, const QString& caption) {
  for (int i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') { ++i; continue; }
    return caption[i + 1].toUpper() == key.toUpper();
  }
  return false;
}
}  // namespace

TbsSkinButton::TbsSkinButton(TComponent* owner) : TbsSkinCustomControl(owner) {
  InstallSkinAccessibility();
  skinDataName_ = QStringLiteral("button");
  SetTabStop(true);
  TbsSkinCustomControl::SetBounds(Left(), Top(), 75, 25);
}

TbsSkinButton::~TbsSkinButton() {
  StopFade();
  StopRepeat();
  SetAction(nullptr);
}

void TbsSkinButton::SetAction(TAction* a) {
  if (a == action_) return;
  if (action_) {
    action_->RemoveChangeListener(this);
    action_->RemoveFreeNotification(this);
  }
  action_ = a;
  if (!action_) return;
  action_->FreeNotification(this);
  action_->AddChangeListener(this, [this] { ActionChange(); });
  ActionChange();
}

void TbsSkinButton::Notification(TComponent* c, TOperation op) {
  TbsSkinCustomControl::Notification(c, op);
  if (op == TOperation::opRemove && c && c == action_) action_ = nullptr;
}

void TbsSkinButton::ActionChange() {
  if (!action_) return;
  SetCaption(action_->Caption());
  SetEnabled(action_->Enabled());
  const TActionList* list = action_->ActionList();
  const TCustomImageList* images = list ? list->Images() : nullptr;
  if (!images || !glyph_.Empty() || !images->Valid(action_->ImageIndex())) return;
  // The list's image on the colour a glyph strip takes as transparent.
  TBitmap g(images->Width(), images->Height());
  g.Canvas().Brush.Style = TBrushStyle::bsSolid;
  g.Canvas().Brush.Color = clFuchsia;
  g.Canvas().FillRect(TRect(0, 0, g.Width(), g.Height()));
  images->Draw(g.Canvas(), 0, 0, action_->ImageIndex(), true);
  SetGlyph(g);
}

bool TbsSkinButton::FocusedLook() const { return canFocused_ && Focused(); }

void TbsSkinButton::SetCanFocused(bool v) {
  canFocused_ = v;
  if (IsDesigning() && !IsLoading()) SetTabStop(v);
}

void TbsSkinButton::SetGroupIndex(int v) {
  groupIndex_ = v;
  if (v != 0) canFocused_ = false;
}

void TbsSkinButton::SetGlyph(const TBitmap& b) {
  glyph_ = b;
  Invalidate();
}

void TbsSkinButton::SetNumGlyphs(int v) {
  numGlyphs_ = std::clamp(v, 1, 4);
  Invalidate();
}

void TbsSkinButton::SetMargin(int v) {
  if (v == margin_ || v < -1) return;
  margin_ = v;
  Invalidate();
}

void TbsSkinButton::SetSpacing(int v) {
  if (v == spacing_) return;
  spacing_ = v;
  Invalidate();
}

void TbsSkinButton::SetLayout(TbsButtonLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Invalidate();
}

void TbsSkinButton::SetDefault(bool v) {
  default_ = v;
  actsAsDefault_ = v;
  if (HandleAllocated() && canFocused_) {
    if (TCustomForm* form = ParentFormOf(this))
      form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(form->ActiveControl()));
  }
}

void TbsSkinButton::SetDown(bool v) {
  down_ = v;
  if (morphing_) {
    morphFactor_ = 1;
    if (v) StopFade();
    else StartFade();
  }
  Repaint();
  if (groupIndex_ != 0 && v && !allowAllUp_ && Parent()) {
    for (TControl* c : Parent()->ControlList()) {
      auto* other = dynamic_cast<TbsSkinButton*>(c);
      if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) other->SetDown(false);
    }
  }
}

void TbsSkinButton::PerformClick() {
  if (canFocused_)
    if (TCustomForm* form = ParentFormOf(this)) form->SetModalResult(modalResult_);
  if (OnClick || !action_) OnClick(this);
  else action_->Execute();
}

void TbsSkinButton::SetMorphFactor(double v) {
  morphFactor_ = v;
  Repaint();
}

// ---- looks -------------------------------------------------------------------------------

TGlyphCaption TbsSkinButton::Content() const {
  TGlyphCaption g;
  g.Caption = Caption();
  g.Glyph = &glyph_;
  g.NumGlyphs = numGlyphs_;
  g.Margin = margin_;
  g.Spacing = spacing_;
  g.Layout = layout_;
  return g;
}

void TbsSkinButton::PaintWithoutSkin(TBitmap& bitmap) {
  TButtonPlainLook look;
  look.Down = down_;
  look.Hot = hot_;
  look.Focused = Focused();
  look.CanFocused = canFocused_;
  look.MousePressed = mousePressed_;
  look.GroupIndex = groupIndex_;
  look.Enabled = Enabled();
  look.Font = defaultFont_;
  look.Content = Content();
  PaintButtonWithoutSkin(bitmap.Canvas(), Width(), Height(), look);
}

void TbsSkinButton::FetchSkinData() {
  TbsSkinCustomControl::FetchSkinData();
  auto* b = dynamic_cast<TbsDataSkinButtonControl*>(SectionEntry());
  if (!b) return;
  fontname_ = b->fontname;
  fontstyle_ = b->fontstyle;
  fontheight_ = b->fontheight;
  fontcolor_ = b->fontcolor;
  activefontcolor_ = b->activefontcolor;
  downfontcolor_ = b->downfontcolor;
  disabledfontcolor_ = b->disabledfontcolor;
  activeskinrect_ = b->activeskinrect;
  if (RectIsEmpty(activeskinrect_)) activeskinrect_ = b->skinrect;
  downskinrect_ = b->downskinrect;
  if (RectIsEmpty(downskinrect_)) downskinrect_ = activeskinrect_;
  disabledskinrect_ = b->disabledskinrect;
  morphing_ = b->morphing;
  morphkind_ = b->morphkind;
}

void TbsSkinButton::DrawStateImage(TBitmap& bitmap, const TRect& source, bool active, bool down) {
  ComposeControlImage(bitmap, skinPicture_, source);
  TCanvas& c = bitmap.Canvas();
  SelectSkinFont(c, fontname_, fontheight_, fontstyle_);
  if (!Enabled()) c.Font.Color = disabledfontcolor_;
  else if (active && down) c.Font.Color = downfontcolor_;
  else if (active) c.Font.Color = activefontcolor_;
  else c.Font.Color = fontcolor_;
  TGlyphCaption g = Content();
  g.GlyphFrame = ButtonGlyphFrame(down, active, Enabled(), numGlyphs_);
  g.Pressed = active && down;
  DrawGlyphAndCaption(c, stretch_.StretchedClientRect, g);
}

void TbsSkinButton::Paint() {
  FetchSkinData();
  if (sectionIndex_ == -1) {
    TbsSkinCustomControl::Paint();
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap bitmap = ControlBitmap(Width(), Height());
  if (morphing_ && morphFactor_ > 0 && morphFactor_ < 1 && Enabled()) {
    DrawFadeImage(bitmap);
    return;
  }
  const bool focusedLook = FocusedLook();
  const bool emptyDisabled = RectIsEmpty(disabledskinrect_);
  if (!Enabled() && !emptyDisabled)
    DrawStateImage(bitmap, disabledskinrect_, false, false);
  else if (down_ && (hot_ || (focusedLook && !mousePressed_) || groupIndex_ != 0))
    DrawStateImage(bitmap, downskinrect_, true, true);
  else if (focusedLook || hot_ || (morphing_ && morphFactor_ == 1))
    DrawStateImage(bitmap, activeskinrect_, true, false);
  else
    DrawStateImage(bitmap, stretch_.skinrect, false, false);
  Canvas().Draw(0, 0, bitmap);
}

void TbsSkinButton::DrawFadeImage(TBitmap& normal) {
  TBitmap active = ControlBitmap(Width(), Height());
  DrawStateImage(normal, stretch_.skinrect, false, false);
  DrawStateImage(active, activeskinrect_, true, false);
  TbsEffectBmp from(normal);
  const TbsEffectBmp to(active);
  from.Morph(morphkind_, to, morphFactor_);
  from.DrawTo(Canvas(), 0, 0);
}

void TbsSkinButton::UpdateLook() {
  if (morphing_ && sectionIndex_ != -1) StartFade();
  else Repaint();
}

void TbsSkinButton::ApplySkinData() {
  StopFade();
  morphFactor_ = 0;
  TbsSkinCustomControl::ApplySkinData();
  if (morphing_ && sectionIndex_ != -1 && (hot_ || FocusedLook())) morphFactor_ = 1;
}

// ---- timers ------------------------------------------------------------------------------

void TbsSkinButton::StartRepeat() {
  repeatTimer_.reset();
  repeatTimer_ = std::make_unique<TTimer>(nullptr);
  repeatTimer_->SetEnabled(false);
  repeatTimer_->SetInterval(repeatInterval_);
  repeatTimer_->OnTimer = [this](TComponent*) { PerformClick(); };
  repeatTimer_->SetEnabled(true);
}

void TbsSkinButton::StopRepeat() {
  if (!repeatTimer_) return;
  repeatTimer_->SetEnabled(false);
  repeatTimer_.reset();
}

void TbsSkinButton::StartFade() {
  if (fadeTimer_ && fadeTimer_->Enabled()) return;
  if (!fadeTimer_) {
    fadeTimer_ = std::make_unique<TTimer>(nullptr);
    fadeTimer_->SetEnabled(false);
    fadeTimer_->SetInterval(kFadeInterval);
    fadeTimer_->OnTimer = [this](TComponent*) { FadeTick(); };
  }
  fadeTimer_->SetEnabled(true);
}

void TbsSkinButton::StopFade() {
  if (fadeTimer_) fadeTimer_->SetEnabled(false);
}

void TbsSkinButton::FadeTick() {
  const bool lit = hot_ || FocusedLook();
  if (sectionIndex_ == -1 || !morphing_) {
    morphFactor_ = lit ? 1 : 0;
    StopFade();
    return;
  }
  if (lit && morphFactor_ < 1) {
    morphFactor_ += 0.1;
  } else if (!lit && morphFactor_ > 0) {
    morphFactor_ -= 0.1;
  } else {
    morphFactor_ = lit ? 1 : 0;
    StopFade();
  }
  Repaint();
}

// ---- mouse, focus and keys ---------------------------------------------------------------

bool TbsSkinButton::LookNeedsUpdate() const {
  return (groupIndex_ != 0 && !down_) || (groupIndex_ == 0 && (!FocusedLook() || down_));
}

void TbsSkinButton::MouseEnter() {
  hot_ = true;
  if (LookNeedsUpdate()) {
    if (down_) {
      if (morphing_) morphFactor_ = 1;
      Repaint();
    } else {
      UpdateLook();
    }
  }
  if (down_ && repeatMode_ && groupIndex_ == 0) StartRepeat();
}

void TbsSkinButton::MouseLeave() {
  if (!(canFocused_ && default_ && actsAsDefault_ && !Focused())) hot_ = false;
  if (LookNeedsUpdate()) UpdateLook();
  if (down_ && repeatMode_ && groupIndex_ == 0) StopRepeat();
}

void TbsSkinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TbsSkinCustomControl::MouseDown(button, shift, x, y);
  // The release rules below decide the click, not the control's click on release.
  clickPending_ = false;
  if (button != TMouseButton::mbLeft) return;
  mousePressed_ = true;
  if (!down_) {
    hot_ = true;
    SetDown(true);
    if (repeatMode_ && groupIndex_ == 0) StartRepeat();
    else if (groupIndex_ != 0) PerformClick();
    releaseOnUp_ = false;
  } else if (groupIndex_ != 0) {
    releaseOnUp_ = true;
  }
}

void TbsSkinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    // The window holds the mouse while pressed: a release outside it is a release while
    // not hot, whatever enter and leave notices arrived.
    if (hot_ && (x < 0 || y < 0 || x >= Width() || y >= Height()) && mousePressed_) MouseLeave();
    mousePressed_ = false;
    if (groupIndex_ == 0) {
      if (hot_) {
        SetDown(false);
        StopRepeat();
        PerformClick();
      } else {
        down_ = false;
        StopRepeat();
      }
    } else if (down_ && allowAllUp_ && releaseOnUp_ && hot_) {
      SetDown(false);
      PerformClick();
    }
  }
  TbsSkinCustomControl::MouseUp(button, shift, x, y);
}

void TbsSkinButton::FocusChanged(TWinControl* focused) {
  auto* focusedButton = dynamic_cast<TbsSkinButton*>(focused);
  actsAsDefault_ = focusedButton ? focusedButton == this : default_;
  if (!(canFocused_ && default_)) return;
  if (focusedButton && focusedButton != this && hot_) {
    hot_ = false;
    UpdateLook();
  } else if (!focusedButton && !hot_) {
    if (morphing_) morphFactor_ = 1;
    hot_ = true;
    UpdateLook();
  }
}

void TbsSkinButton::WndProc(TMessage& m) {
  if (canFocused_) {
    switch (m.Msg) {
      case WM_KEYDOWN:
        if (m.WParam == VK_SPACE) {
          SetDown(true);
          if (repeatMode_) PerformClick();
        } else if (m.WParam == VK_RETURN) {
          PerformClick();
        }
        break;
      case WM_KEYUP:
        if (m.WParam == VK_SPACE) {
          SetDown(false);
          PerformClick();
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!IsDesigning() && !Focused()) {
          focusingByMouse_ = true;
          SetFocus();
          focusingByMouse_ = false;
          if (!Focused()) return;
        }
        break;
      default: break;
    }
  }

  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      TbsSkinCustomControl::WndProc(m);
      // While held, the button tracks the mouse itself (the window keeps the mouse).
      if (mousePressed_) {
        const int x = LParamX(m.LParam), y = LParamY(m.LParam);
        const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
        if (inside && !hot_) MouseEnter();
        else if (!inside && hot_) MouseLeave();
      }
      return;
    }
    case CM_MOUSEENTER:
      TbsSkinCustomControl::WndProc(m);
      MouseEnter();
      return;
    case CM_MOUSELEAVE:
      TbsSkinCustomControl::WndProc(m);
      MouseLeave();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TbsSkinCustomControl::WndProc(m);
      if (canFocused_) UpdateLook();
      return;
    case CM_FOCUSCHANGED:
      FocusChanged(reinterpret_cast<TWinControl*>(m.LParam));
      TbsSkinCustomControl::WndProc(m);
      return;
    case CM_DIALOGKEY:
      if (m.WParam == VK_RETURN && actsAsDefault_ && Enabled()) {
        PerformClick();
        m.Result = 1;
        return;
      }
      if (m.WParam == VK_ESCAPE && cancel_ && canFocused_ && !(KeysToShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) && CanFocus()) {
        PerformClick();
        m.Result = 1;
        return;
      }
      TbsSkinCustomControl::WndProc(m);
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(QChar(static_cast<char16_t>(m.WParam)), Caption()) && CanFocus() && canFocused_) {
        SetFocus();
        PerformClick();
        m.Result = 1;
        return;
      }
      TbsSkinCustomControl::WndProc(m);
      return;
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::WndProc(m);
      if (morphing_) {
        StopFade();
        morphFactor_ = 0;
      }
      hot_ = false;
      Repaint();
      return;
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::WndProc(m);
      Repaint();
      return;
    default: TbsSkinCustomControl::WndProc(m);
  }
}
