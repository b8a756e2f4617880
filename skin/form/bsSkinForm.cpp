// TbsSkinForm: attaching to the form, properties, the window procedure, skin changes,
// activation and translucency, window states and roll-up. The frame's geometry, painting and
// hit test are in bsSkinFrame.cpp, the plain frame in bsPlainFrame.cpp, the objects in
// bsSkinFormObjects.cpp.
#include "skin/form/bsSkinForm.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/MDIClient.h"
#include "platform/Menus.h"
#include "platform/Screen.h"
#include "platform/ShortCut.h"
#include "skin/controls/bsSkinConsumer.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/FrameAccessible.h"
#include "skin/menus/bsSkinMenu.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsTrayIcon.h"

namespace {
TFont FrameFont(TFontStyles style, TColor color) {
  TFont f;
  f.Name = QStringLiteral("Arial");
  f.Height = 14;
  f.Style = style;
  f.Color = color;
  return f;
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

// Messages that end a menu or hint before anything else sees them.
constexpr int kFadeInTimerId = 1;
constexpr int kFadeInStep = 3;
}  // namespace

// ===================================================================================
// Construction and properties
// ===================================================================================

TbsSkinForm::TbsSkinForm(TComponent* owner)
    : TComponent(owner),
      DefCaptionFont(FrameFont(fsBold, clBtnText)),
      DefInActiveCaptionFont(FrameFont(fsBold, clBtnShadow)),
      DefMenuItemFont(FrameFont(0, clWindowText)),
      form_(OwnerForm(owner)) {
  InstallFormAccessibility();
  MakeTrayMenu();
  hoverTimer_ = std::make_unique<TTimer>(nullptr);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetInterval(50);
  hoverTimer_->OnTimer = [this](TComponent*) { HoverTick(); };
  fadeTimer_ = std::make_unique<TTimer>(nullptr);
  fadeTimer_->SetEnabled(false);
  fadeTimer_->SetInterval(20);
  fadeTimer_->OnTimer = [this](TComponent*) { FadeTick(); };
  fadeInTimer_ = std::make_unique<TTimer>(nullptr);
  fadeInTimer_->SetEnabled(false);
  fadeInTimer_->SetInterval(1);
  fadeInTimer_->OnTimer = [this](TComponent*) {
    TMessage m{WM_TIMER, kFadeInTimerId, 0, 0};
    form_->Perform(m.Msg, m.WParam, m.LParam);
  };

  defaultSysMenu_ = new TPopupMenu(this);
  menuDriver_ = new TbsSkinMenu(this);
  menuDriver_->SetOwnerForm(form_);
  SyncMenuDriver();

  // The platform draws no caption buttons and no frame of its own from now on.
  form_->SetBorderIcons(0);
  form_->SetAutoSize(false);
  form_->SetAutoScroll(false);
  oldShortCut_ = form_->OnShortCut;
  form_->OnShortCut = [this](TWMKey& key, bool& handled) { FormShortCut(key, handled); };
  if (IsDesigning()) return;
  oldWindowProc_ = form_->WindowProc;
  form_->WindowProc = [this](TMessage& m) { FormWindowProc(m); };
  hooked_ = true;
  form_->SetPlatformFrame(false);
  form_->FrameChanged();
}

TbsSkinForm::~TbsSkinForm() {
  Destroying();
  hoverTimer_->SetEnabled(false);
  fadeTimer_->SetEnabled(false);
  fadeInTimer_->SetEnabled(false);
  UnhookMenuKeys();
  // The menus go first, quietly: nothing may tell this component or its form any more.
  delete menuDriver_;
  menuDriver_ = nullptr;
  objects_.clear();
  if (!form_->IsDestroying()) form_->OnShortCut = std::move(oldShortCut_);
  UnhookMDIClient();
  RemoveFromWindowMenu();
  // A form that is going has already dropped its window procedure; leave it alone then.
  if (hooked_ && !form_->IsDestroying()) {
    form_->WindowProc = std::move(oldWindowProc_);
    if (!windowRegion_.isEmpty()) form_->ClearWindowRegion();
    form_->SetPlatformFrame(true);
    form_->FrameChanged();
  }
}

void TbsSkinForm::SetShowIcon(bool v) {
  showIcon_ = v;
  if (!IsDesigning() && !IsLoading()) RequestFramePaint();
}

void TbsSkinForm::SetDefCaptionFont(const TFont& f) {
  DefCaptionFont = f;
  if (!IsDesigning() && !IsLoading() && !skinned_) RequestFramePaint();
}

void TbsSkinForm::SetDefInActiveCaptionFont(const TFont& f) {
  DefInActiveCaptionFont = f;
  if (!IsDesigning() && !IsLoading() && !skinned_) RequestFramePaint();
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons v) {
  borderIcons_ = v;
  CreateDefaultObjects();
  RequestFramePaint();
}

void TbsSkinForm::AddLayered(bool on) {
  if (!LayeredWindowsAvailable()) return;
  form_->SetAlphaBlend(on);
}

void TbsSkinForm::SetAlphaBlend(bool v) {
  if (v == alphaBlend_) return;
  alphaBlend_ = v;
  if (IsLoading() || IsDesigning() || IsDestroying() || !LayeredWindowsAvailable()) return;
  if (v) {
    AddLayered(true);
    form_->SetAlphaBlendValue(alphaBlendValue_);
  } else {
    AddLayered(false);
  }
}

void TbsSkinForm::SetAlphaBlendValue(uint8_t v) {
  if (v == alphaBlendValue_) return;
  alphaBlendValue_ = v;
  if (!alphaBlend_ || IsLoading() || IsDesigning() || IsDestroying() || !LayeredWindowsAvailable()) return;
  form_->SetAlphaBlendValue(v);
}

// A removal notice stays registered after a reference changes; Notification compares.
void TbsSkinForm::SetRef(TComponent*& field, TComponent* v) {
  field = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinForm::SetSkinData(TbsSkinData* v) {
  skinData_ = v;
  if (v) v->FreeNotification(this);
  if (trayMenu_) trayMenu_->SetSkinData(v);
  if (!IsDesigning()) ChangeSkinData();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* v) {
  menusSkinData_ = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinForm::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove || !c) return;
  if (c == systemMenu_ || c == defaultSysMenu_) {
    // No button may keep the items of a menu that goes.
    for (auto& o : objects_)
      if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o.get())) b->PopupItems = nullptr;
  }
  if (c == menuDriver_) menuDriver_ = nullptr;
  if (c == defaultSysMenu_) defaultSysMenu_ = nullptr;
  if (auto* item = dynamic_cast<TMenuItem*>(c)) {
    std::erase(retiredItems_, item);
    std::erase(retiringItems_, item);
  }
  if (c == skinData_) {
    // Nothing may read a skin that has gone: back to the plain frame.
    skinData_ = nullptr;
    skinned_ = false;
    fadeTimer_->SetEnabled(false);
    ClearObjects();
    if (!IsDestroying() && !form_->IsDestroying()) {
      UpdateWindowRegion();
      form_->FrameChanged();
    }
  }
  if (c == menusSkinData_) menusSkinData_ = nullptr;
  if (c == skinHint_) skinHint_ = nullptr;
  if (c == trayIcon_) trayIcon_ = nullptr;
  if (c == mainMenuBar_) mainMenuBar_ = nullptr;
  if (c == systemMenu_) systemMenu_ = nullptr;
  if (mdiClient_ && c == mdiClient_) mdiClient_ = nullptr;  // gone with its form
  if (windowItem_ && c == windowItem_) windowItem_ = nullptr;  // freed with the window menu
}

void TbsSkinForm::RequestFramePaint() {
  if (form_ && !form_->IsDestroying()) form_->InvalidateFrame();
}

bool TbsSkinForm::Hidden() const { return form_->BorderStyle() == TFormBorderStyle::bsNone || MaximizedChild(); }

bool TbsSkinForm::Sizable() const {
  const TFormBorderStyle b = form_->BorderStyle();
  return b == TFormBorderStyle::bsSizeable || b == TFormBorderStyle::bsSizeToolWin;
}

bool TbsSkinForm::FormActive() const { return IsMDIChild() || IsMDIParent() ? mdiActive_ : form_->Active(); }

QString TbsSkinForm::CaptionText() const {
  if (IsMDIParent() && mdiChildMaximized_)
    if (TCustomForm* child = MaximizedChildForm())
      return form_->Caption() + QStringLiteral(" - [") + child->Caption() + QStringLiteral("]");
  return form_->Caption();
}

// ===================================================================================
// The window procedure
// ===================================================================================

void TbsSkinForm::FormWindowProc(TMessage& m) {
  EndMenusOnMessage(m);
  if (MDIWindowProc(m)) return;
  switch (m.Msg) {
    case WM_DESTROY:
      hoverTimer_->SetEnabled(false);
      fadeTimer_->SetEnabled(false);
      if (IsMDIChild()) {
        windowState_ = TWindowState::wsNormal;
        TellMainForm(SkinMessageChildRestored);
      }
      CallOld(m);
      return;
    case WM_SIZE:
      SizeMessage(m);
      return;
    case WM_ACTIVATE:
      CallOld(m);
      RequestFramePaint();
      if (MaximizedChild()) {
        SetCaptionActive(false);
      } else {
        ClearObjectHighlights();
        SetCaptionActive(true);
      }
      return;
    case WM_NCACTIVATE:
      mdiActive_ = m.WParam != 0;
      if (IsMDIChild() || IsMDIParent()) CallOld(m);
      m.Result = 1;
      if (Hidden()) {
        SetCaptionActive(false);
      } else {
        RequestFramePaint();
        SetCaptionActive(true);
      }
      // A maximized child's caption is part of the parent's.
      if (MaximizedChild())
        if (TCustomForm* main = MainForm()) main->InvalidateFrame();
      if (IsMDIChild()) UpdateWindowMenuChecks();
      return;
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
      CallOld(m);
      if (!Hidden()) RequestFramePaint();
      if (IsMDIChild() && windowItem_) windowItem_->SetCaption(form_->Caption());
      if (MaximizedChild())
        if (TCustomForm* main = MainForm()) main->InvalidateFrame();
      return;
    case WM_ERASEBKGND:
      if (auto* c = reinterpret_cast<TCanvas*>(m.WParam)) PaintClientBackground(*c);
      m.Result = 1;
      return;
    case WM_NCCALCSIZE:
      CalcSize(m);
      return;
    case WM_NCPAINT:
      NcPaint(m);
      return;
    case WM_NCHITTEST: {
      const TPoint p = ScreenToWindowPoint(LParamToPoint(m.LParam));
      m.Result = skinned_ ? SkinHitTest(p) : PlainHitTest(p);
      if (m.Result == HTOBJECT && !hoverTimer_->Enabled()) {
        TrackObjects(p.X, p.Y, true);
        hoverTimer_->SetEnabled(true);
      }
      return;
    }
    case WM_SHOWWINDOW:
      ShowWindowMessage(m);
      return;
    case WM_TIMER:
      if (m.WParam == kFadeInTimerId && (alphaBlend_ || AlphaBlendAnimation)) FadeIn();
      CallOld(m);
      return;
    case WM_MOVING:
      if (auto* r = reinterpret_cast<TRect*>(m.LParam)) {
        if (windowState_ == TWindowState::wsMaximized && !IsMDIChild()) {
          *r = TRect(form_->Left(), form_->Top(), form_->Left() + form_->Width(), form_->Top() + form_->Height());
        } else if (Magnetic) {
          int left = r->Left, top = r->Top;
          const int w = form_->Width(), h = form_->Height();
          SnapToWorkArea(left, top, w, h);
          *r = TRect(left, top, left + w, top + h);
        }
      }
      CallOld(m);
      return;
    case WM_ENTERSIZEMOVE:
      inSizeMove_ = true;
      dragFullWindows_ = true;  // the window's contents always follow the drag here
      CallOld(m);
      return;
    case WM_EXITSIZEMOVE:
      inSizeMove_ = false;
      // The drag may have ended at another size than the last one proposed.
      if (skinned_ && (windowWidth_ != form_->Width() || windowHeight_ != form_->Height())) {
        windowWidth_ = form_->Width();
        windowHeight_ = form_->Height();
        if (windowWidth_ >= GetMinWidth() && windowHeight_ >= GetMinHeight()) UpdateSkinFrame();
      }
      if (skinned_) RequestFramePaint();
      CallOld(m);
      return;
    case WM_SIZING:
      if (inSizeMove_ && dragFullWindows_ && skinned_) {  // the plain frame follows WM_SIZE alone
        CallOld(m);
        if (auto* r = reinterpret_cast<TRect*>(m.LParam)) {
          windowWidth_ = RectWidth(*r);
          windowHeight_ = RectHeight(*r);
          if (skinData_ && form_->Width() >= GetMinWidth() && form_->Height() >= GetMinHeight() &&
              windowWidth_ >= GetMinWidth() && windowHeight_ >= GetMinHeight())
            UpdateSkinFrame();
        }
        return;
      }
      CallOld(m);
      return;
    case WM_GETMINMAXINFO:
      if (auto* info = reinterpret_cast<TMinMaxInfo*>(m.LParam)) {
        info->MinTrackSize = TPoint(GetMinWidth(), GetMinHeight());
        info->MaxTrackSize = TPoint(GetMaxWidth(), GetMaxHeight());
      }
      CallOld(m);
      return;
    case WM_SYNCPAINT:
      if (rollUpState_) {
        RequestFramePaint();
        m.Result = 0;
        return;
      }
      CallOld(m);
      return;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
      CallOld(m);
      NcMouse(m);
      return;
    case WM_NCMOUSELEAVE:
      CallOld(m);
      if (captureIndex_ < 0) TrackObjects(-1, -1, false);
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      CallOld(m);
      if (captureIndex_ >= 0)
        ReleaseObject(m.Msg == WM_LBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight, -1, -1);
      return;
    case SkinMessageBeforeChange:
      SkinBeforeChange(m);
      CallOld(m);
      return;
    case SkinMessageChanged:
      SkinChanged(m);
      CallOld(m);
      return;
    case SkinMessageMenuClosed:
      NotifyMenusClosed();
      CallOld(m);
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_KEYMENU) {
        KeyMenuCommand();
        m.Result = 0;
        return;
      }
      CallOld(m);
      return;
    case SkinMessageChangedAfter:
      if (m.WParam != 0 && reinterpret_cast<const TbsSkinData*>(m.WParam) == skinData_ && IsMDIParent())
        RefitChildren();
      CallOld(m);
      return;
    default:
      CallOld(m);
      return;
  }
}

void TbsSkinForm::CalcSize(TMessage& m) {
  auto* r = reinterpret_cast<TRect*>(m.LParam);
  if (!r || Hidden()) return;
  if (skinned_) {
    // The inset does not depend on the size; the cached size stays what WM_SIZE or a live
    // drag made it.
    CalcFrameGeometry();
    const TRect& cr = skinData_->clientrect;
    const int pw = skinData_->picture.Width(), ph = skinData_->picture.Height();
    r->Left += cr.Left;
    r->Top += cr.Top;
    r->Right -= pw - cr.Right;
    r->Bottom -= ph - cr.Bottom;
  } else {
    const int c = PlainCaptionHeight();
    r->Left += 3;
    r->Top += c + 3;
    r->Right -= 3;
    r->Bottom -= 3;
  }
  if (r->Right < r->Left) r->Right = r->Left;
  if (r->Bottom < r->Top) r->Bottom = r->Top;
}

void TbsSkinForm::NcPaint(TMessage& m) {
  if (m.WParam == 0) {
    CallOld(m);  // a request: the platform schedules the paint
    return;
  }
  auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
  if (!canvas || Hidden()) return;
  if (skinned_)
    PaintSkinFrame(*canvas);
  else
    PaintPlainFrame(*canvas);
}

void TbsSkinForm::NcMouse(TMessage& m) {
  const TPoint p = ScreenToWindowPoint(LParamToPoint(m.LParam));
  const int hit = static_cast<int>(m.WParam);
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      // The move notice serves the hover tracking at once; the timer catches the leaving.
      if (!inSizeMove_) TrackObjects(p.X, p.Y, true);
      MoveOverObject(p.X, p.Y);
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
      const TMouseButton b = m.Msg == WM_NCLBUTTONDOWN ? TMouseButton::mbLeft : TMouseButton::mbRight;
      TrackObjects(p.X, p.Y, true);
      PressObject(b, p.X, p.Y);
      if (hit == HTCAPTION) {
        captureIndex_ = -1;
        if (b == TMouseButton::mbRight) {
          const TPoint at = LParamToPoint(m.LParam);
          ShowSystemMenu(at.X, at.Y);
        }
      }
      break;
    }
    case WM_NCLBUTTONDBLCLK: {
      TrackObjects(p.X, p.Y, true);
      PressObject(TMouseButton::mbLeft, p.X, p.Y);
      if (hoverIndex_ >= 0 && hoverIndex_ < static_cast<int>(objects_.size())) objects_[hoverIndex_]->DblClick();
      if (hit == HTCAPTION) {
        captureIndex_ = -1;
        const bool sizable = Sizable();
        if (sizable && windowState_ == TWindowState::wsMinimized)
          SetWindowState(TWindowState::wsNormal);
        else if (sizable && windowState_ != TWindowState::wsMaximized && !rollUpState_ && (borderIcons_ & biMaximize))
          SetWindowState(TWindowState::wsMaximized);
        else if (sizable && windowState_ == TWindowState::wsMaximized && !rolledUpWhileMaximized_)
          SetWindowState(TWindowState::wsNormal);
        else
          SetRollUpState(!rollUpState_);
      }
      break;
    }
    case WM_NCRBUTTONDBLCLK:
      TrackObjects(p.X, p.Y, true);
      PressObject(TMouseButton::mbRight, p.X, p.Y);
      if (hit == HTCAPTION) captureIndex_ = -1;
      break;
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
      ReleaseObject(m.Msg == WM_NCLBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight, p.X, p.Y);
      break;
    default:
      break;
  }
}

void TbsSkinForm::SizeMessage(TMessage& m) {
  if (inSizeMove_ && dragFullWindows_ && skinned_ && windowWidth_ == form_->Width() &&
      windowHeight_ == form_->Height()) {
    CallOld(m);  // the live drag already updated region and frame
    return;
  }
  CallOld(m);
  windowWidth_ = form_->Width();
  windowHeight_ = form_->Height();
  if (!skinned_) {
    RequestFramePaint();
  } else if (windowWidth_ >= GetMinWidth() && windowHeight_ >= GetMinHeight()) {
    UpdateSkinFrame();
  }
  if (alphaBlend_ && alphaBlendValue_ < 255 && LayeredWindowsAvailable()) form_->Invalidate();
}

void TbsSkinForm::ShowWindowMessage(TMessage& m) {
  if (m.WParam != 0 && !firstShown_) {
    firstShown_ = true;
    // A form stored maximized is shown maximized by the platform (on the work area): the frame
    // takes that state, so that its commands offer Restore and restore the form's stored bounds.
    if (!IsMDIChild() && form_->WindowState() == TWindowState::wsMaximized &&
        windowState_ == TWindowState::wsNormal) {
      windowState_ = TWindowState::wsMaximized;
      restoreBounds_ = form_->RestoreBounds();
      form_->UpdateSizeLimits();
      RequestFramePaint();
    }
  }
  if (m.WParam != 0) {
    if ((alphaBlend_ || AlphaBlendAnimation) && LayeredWindowsAvailable()) {
      AddLayered(true);
      form_->SetAlphaBlendValue(0);
      fadeInTimer_->SetEnabled(true);
    }
    if (IsMDIParent()) HookMDIClient();  // its set-up ends with the relayout
    else ForceRelayout();
  } else if (alphaBlend_) {
    AddLayered(false);
  }
  // A maximized child that is hidden (closed) or shown again leaves or rejoins the parent's
  // caption as a destroyed or newly maximized one would.
  if (MaximizedChild()) TellMainForm(m.WParam != 0 ? SkinMessageChildMaximized : SkinMessageChildRestored);
  if (IsMDIChild()) {
    if (m.WParam != 0)
      AddToWindowMenu();
    else
      RemoveFromWindowMenu();
  }
  CallOld(m);
}

void TbsSkinForm::FadeIn() {
  fadeInTimer_->SetEnabled(false);
  if (!LayeredWindowsAvailable()) return;
  const int target = AlphaBlendAnimation && !alphaBlend_ ? 255 : alphaBlendValue_;
  if (AlphaBlendAnimation) {
    if (Application) Application->ProcessMessages();
    for (int a = kFadeInStep;; a += kFadeInStep) {
      const int v = std::min(a, target);
      form_->SetAlphaBlendValue(static_cast<uint8_t>(v));
      if (v >= target) break;
    }
  } else if (target != 255) {
    form_->SetAlphaBlendValue(alphaBlendValue_);
  }
  if (target == 255) AddLayered(false);
}

// ===================================================================================
// Skin changes
// ===================================================================================

// The sender is only compared, never used: the message may name a component this form
// does not know.
void TbsSkinForm::SkinBeforeChange(TMessage& m) {
  const auto* sender = reinterpret_cast<const TbsSkinData*>(m.WParam);
  if (sender && sender == skinData_) {
    skinned_ = false;
    hoverTimer_->SetEnabled(false);
    fadeTimer_->SetEnabled(false);
    ClearObjects();
    UpdateWindowRegion();
    // The plain frame's inset while the skin is replaced (a load that fails sends nothing more).
    if (!form_->IsDestroying())
      form_->FrameChanged();  // a load that fails sends nothing after this: no old shape stays
  }
  ForEachSkinConsumer(*form_, sender, [](TbsSkinConsumer& c) { c.ForgetSkinSection(); });
}

void TbsSkinForm::SkinChanged(TMessage& m) {
  const auto* sender = reinterpret_cast<const TbsSkinData*>(m.WParam);
  if (sender && sender == skinData_) ChangeSkinData();
  ForEachSkinConsumer(*form_, sender, [](TbsSkinConsumer& c) { c.ApplySkinData(); });
}

void TbsSkinForm::ChangeSkinData() {
  hoverIndex_ = prevHoverIndex_ = captureIndex_ = -1;
  pieceTop_ = pieceBottom_ = pieceLeft_ = pieceRight_ = TBitmap();  // no old skin piece for the new
  skinned_ = skinData_ && !skinData_->IsEmpty;
  if (skinned_) {
    CreateObjects();
  } else {
    ClearObjects();
    UpdateWindowRegion();
  }
  // The client inset and the size limits follow the frame (and the aligns, when the client
  // size changed with it).
  const TRect clientBefore = form_->ClientRect();
  form_->FrameChanged();
  const TRect clientAfter = form_->ClientRect();
  const bool reported = clientBefore.Width() != clientAfter.Width() || clientBefore.Height() != clientAfter.Height();
  // The minimum size: both at once when both are short, else whichever is.
  const int minWidth = GetMinWidth(), minHeight = GetMinHeight();
  const int width = form_->Width(), height = form_->Height();
  if (width < minWidth && height < minHeight)
    form_->SetBounds(form_->Left(), form_->Top(), minWidth, minHeight);
  else if (width < minWidth)
    form_->SetWidth(minWidth);
  else if (height < minHeight)
    form_->SetHeight(minHeight);
  else if (!reported)
    ForceRelayout();
  if ((rollUpState_ || windowState_ == TWindowState::wsMinimized) && form_->Height() != GetMinHeight())
    form_->SetHeight(GetMinHeight());
  if (windowState_ == TWindowState::wsMinimized && form_->Width() != GetMinWidth()) form_->SetWidth(GetMinWidth());
  windowWidth_ = form_->Width();
  windowHeight_ = form_->Height();
  if (skinned_) UpdateSkinFrame();
  form_->Invalidate();
  RequestFramePaint();
  if (IsMDIParent() && form_->MDIClient()) {
    form_->MDIClient()->Invalidate();
    RefitChildren();
  }
  SetCaptionActive(!MaximizedChild());
  hoverTimer_->SetEnabled(true);
  OnChangeSkinData(this);
}

// ===================================================================================
// Size limits and window states
// ===================================================================================

int TbsSkinForm::GetMinWidth() const {
  if (skinned_) {
    const int pw = skinData_->picture.Width();
    return MinWidth > pw && windowState_ != TWindowState::wsMinimized ? MinWidth : pw;
  }
  return MinWidth > 0 ? MinWidth : 120;
}

int TbsSkinForm::GetMinHeight() const {
  const int frame =
      skinned_ ? skinData_->picture.Height() - RectHeight(skinData_->clientrect) : PlainCaptionHeight() + 6;
  if (frame >= MinHeight || rollUpState_ || windowState_ == TWindowState::wsMinimized) return frame;
  return MinHeight;
}

int TbsSkinForm::GetMaxWidth() const {
  if (MaximizeOnFullScreen) return TScreen::Instance().Width();
  const int w = TScreen::Instance().WorkAreaRect().Width();
  return w > 0 ? w : QWIDGETSIZE_MAX;
}

int TbsSkinForm::GetMaxHeight() const {
  if (MaximizeOnFullScreen) return TScreen::Instance().Height();
  const int h = TScreen::Instance().WorkAreaRect().Height();
  return h > 0 ? h : QWIDGETSIZE_MAX;
}

void TbsSkinForm::ForceRelayout() {
  // The client rectangle asked for again (a changed client size is reported with it), else the
  // same size reported once more.
  const TRect before = form_->ClientRect();
  form_->FrameChanged();
  const TRect after = form_->ClientRect();
  if (before.Width() == after.Width() && before.Height() == after.Height())
    form_->Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(after.Width(), after.Height()));
}

TPoint TbsSkinForm::ScreenToWindowPoint(const TPoint& p) const {
  if (IsMDIChild()) {
    // The window's origin lies the frame's client offset above and left of the client's.
    const TPoint c = form_->ScreenToClient(p), o = form_->ClientOrigin();
    return TPoint(c.X + o.X, c.Y + o.Y);
  }
  return TPoint(p.X - form_->Left(), p.Y - form_->Top());
}

void TbsSkinForm::SnapToWorkArea(int& left, int& top, int width, int height) const {
  TRect area = TScreen::Instance().WorkAreaRect();
  if (IsMDIChild()) {
    area = MDIClientArea();
    if (TCustomForm* main = MainForm()) {
      const TPoint o = main->ClientToScreen(TPoint(0, 0));
      area = TRect(area.Left + o.X, area.Top + o.Y, area.Right + o.X, area.Bottom + o.Y);
    }
  }
  const int m = MagneticSize;
  if (area.Left - m < left && left < area.Left + m) left = area.Left;
  if (area.Top - m < top && top < area.Top + m) top = area.Top;
  if (area.Right - m < left + width && left + width < area.Right + m) left = area.Right - width;
  if (area.Bottom - m < top + height && top + height < area.Bottom + m) top = area.Bottom - height;
}

TPoint TbsSkinForm::FindMinimizedPlace() const {
  const TRect work = TScreen::Instance().WorkAreaRect();
  const int w = GetMinWidth(), h = GetMinHeight();
  // A child parks in the MDI client area (its own coordinates start at that area's corner).
  const TRect mdi = MDIClientArea();
  const TRect area = IsMDIChild() ? TRect(0, 0, mdi.Width(), mdi.Height()) : work;
  auto taken = [&](int x, int y) {
    if (IsMDIChild()) {
      TCustomForm* main = MainForm();
      for (int i = 0; main && i < main->MDIChildCount(); ++i) {
        TCustomForm* f = main->MDIChildren(i);
        const TbsSkinForm* other = f == form_ ? nullptr : FindSkinForm(f);
        if (other && other->windowState_ == TWindowState::wsMinimized && f->Left() == x && f->Top() == y) return true;
      }
      return false;
    }
    if (!Application) return false;
    for (TCustomForm* f : Application->Forms()) {
      // MDI children park inside their parent, in its coordinates: never in a top-level place.
      if (f == form_ || f == Application->MainForm() || !f->Visible() || f->FormStyle() == TFormStyle::fsMDIChild)
        continue;
      for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* other = dynamic_cast<TbsSkinForm*>(f->Components(i));
        if (other && other->windowState_ == TWindowState::wsMinimized && f->Left() == x && f->Top() == y) return true;
      }
    }
    return false;
  };
  int x = area.Left, y = area.Bottom - h;
  while (taken(x, y)) {
    x += w;
    if (x + w > area.Right) {
      x = area.Left;
      y -= h;
    }
    if (y < area.Top || w <= 0 || h <= 0) return TPoint(area.Left, area.Bottom - h);
  }
  return TPoint(x, y);
}

void TbsSkinForm::SetWindowState(TWindowState s) {
  if (s == windowState_) return;
  const bool mainForm = Application && Application->MainForm() == form_;
  if (s == TWindowState::wsMinimized && mainForm) {
    Application->Minimize();
    return;
  }
  windowState_ = s;
  // The limits follow the new state before the bounds do (a minimized window is lower).
  form_->UpdateSizeLimits();
  const TRect bounds(form_->Left(), form_->Top(), form_->Left() + form_->Width(), form_->Top() + form_->Height());
  auto saveBounds = [&] {
    if (restoreBounds_.IsZero()) restoreBounds_ = bounds;
  };
  switch (s) {
    case TWindowState::wsMinimized: {
      saveBounds();
      const TPoint p = FindMinimizedPlace();
      form_->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
      break;
    }
    case TWindowState::wsMaximized: {
      saveBounds();
      if (IsMDIChild()) {
        hoverTimer_->SetEnabled(false);
        TrackObjects(-1, -1, false);
        const TRect a = MDIClientArea();
        const int w = form_->Width(), h = form_->Height();
        form_->SetBounds(0, 0, a.Width(), a.Height());
        // The frame goes away even when the size stays.
        if (w == form_->Width() && h == form_->Height()) ForceRelayout();
      } else if (MaximizeOnFullScreen)
        form_->SetBounds(0, 0, TScreen::Instance().Width(), TScreen::Instance().Height());
      else
        form_->SetBoundsRect(TScreen::Instance().WorkAreaRect());
      break;
    }
    case TWindowState::wsNormal: {
      rolledUpWhileMaximized_ = false;
      const int w = form_->Width(), h = form_->Height();
      if (!restoreBounds_.IsZero()) form_->SetBoundsRect(restoreBounds_);
      hoverTimer_->SetEnabled(true);
      if (w == form_->Width() && h == form_->Height()) ForceRelayout();
      form_->Invalidate();
      restoreBounds_ = TRect();
      break;
    }
  }
  RequestFramePaint();
  if (IsMDIChild()) ChildStateChanged(s);
}

void TbsSkinForm::SetRollUpState(bool v) {
  if (!(borderIcons_ & biRollUp) || windowState_ == TWindowState::wsMinimized) return;
  if (rollUpState_ && windowState_ == TWindowState::wsMaximized && !rolledUpWhileMaximized_) return;
  if (windowState_ == TWindowState::wsMaximized) rolledUpWhileMaximized_ = v;
  rollUpState_ = v;
  form_->UpdateSizeLimits();  // a rolled-up window may be lower than MinHeight
  if (v) {
    heightBeforeRollUp_ = form_->Height();
    form_->SetHeight(GetMinHeight());
  } else {
    form_->SetHeight(heightBeforeRollUp_);
  }
  RequestFramePaint();
  OnChangeRollUpState(this);
}

void TbsSkinForm::SetTrayIcon(TComponent* v) {
  SetRef(trayIcon_, v);
  auto* tray = dynamic_cast<TbsTrayIcon*>(v);
  if (!tray) return;
  tray->SetIconVisible(false);
  tray->MinimizeToTray = false;
  if (!IsDesigning() && !tray->PopupMenu()) {
    tray->SetPopupMenu(trayMenu_);
    tray->OnDblClick = [this](TComponent*) { RestoreFormFromTray(); };
  }
}

void TbsSkinForm::MakeTrayMenu() {
  trayMenu_ = new TbsSkinPopupMenu(this);
  trayMenu_->SetFrameForm(form_);
  auto add = [this](const char* name, const char* caption, std::function<void()> command) {
    auto* item = new TMenuItem(trayMenu_);
    item->SetName(QLatin1String(name));
    item->SetCaption(QString::fromUtf8(caption));
    if (command) item->OnClick = [command](TComponent*) { command(); };
    trayMenu_->Items()->Add(item);
    return item;
  };
  add("TRAY_BSF_RESTORE", "&Restore", [this] { RestoreFormFromTray(); });
  add("", "-", nullptr);
  add("TRAY_BSF_CLOSE", "&Close", [this] { form_->Close(); })
      ->SetShortCut(TextToShortCut(IsMDIChild() ? QStringLiteral("Ctrl+F4") : QStringLiteral("Alt+F4")));
}

void TbsSkinForm::MinimizeFormToTray() {
  auto* tray = dynamic_cast<TbsTrayIcon*>(trayIcon_);
  if (!tray) return;
  tray->MinimizeToTray = true;
  if (Application) Application->Minimize();
  OnMinimizeToTray(this);
}

void TbsSkinForm::RestoreFormFromTray() {
  auto* tray = dynamic_cast<TbsTrayIcon*>(trayIcon_);
  if (!tray) return;
  tray->MinimizeToTray = false;
  tray->ShowApplication();
  if (Application) Application->Restore();
  tray->SetIconVisible(false);
  OnRestoreFromTray(this);
}

// ===================================================================================
// Timers
// ===================================================================================

void TbsSkinForm::FadeTick() {
  bool stepped = false;
  for (size_t i = 0; i < objects_.size(); ++i) {
    TbsActiveSkinObject* o = objects_[i].get();
    if (o->morphing && o->CanMorph()) {
      o->StepMorph();
      stepped = true;
    }
  }
  if (!stepped) fadeTimer_->SetEnabled(false);
}

void TbsSkinForm::HoverTick() {
  if (!FormActive()) return;
  QWidget* w = form_->HandleAllocated() ? form_->Handle() : nullptr;
  const QPoint cursor = QCursor::pos();
  QWidget* under = QApplication::topLevelAt(cursor);
  if (IsMDIChild()) {
    // A child window: over it when the widget under the cursor is it or inside it.
    under = QApplication::widgetAt(cursor);
    while (under && under != w && !under->isWindow()) under = under->parentWidget();
  }
  if (w && under == w) {
    if (inSizeMove_) return;
    const TPoint p = ScreenToWindowPoint(TPoint(cursor.x(), cursor.y()));
    if (!PointInRect(p, FrameClientRect) || !skinned_)
      TrackObjects(p.X, p.Y, true);
    else if (hoverIndex_ >= 0)
      TrackObjects(-1, -1, true);
  } else {
    TrackObjects(-1, -1, false);
    hoverTimer_->SetEnabled(false);
  }
}

const QImage& TbsSkinForm::SmallIcon() {
  if (!smallIcon_.isNull()) return smallIcon_;
  const QSize size = SmallIconSize();
  QIcon icon;
  if (form_->HandleAllocated()) icon = form_->Handle()->windowIcon();
  if (icon.isNull()) icon = QApplication::windowIcon();
  if (icon.isNull() && qApp) icon = QApplication::style()->standardIcon(QStyle::SP_TitleBarMenuButton);
  if (!icon.isNull()) smallIcon_ = icon.pixmap(size).toImage();
  if (smallIcon_.isNull()) {
    smallIcon_ = QImage(size, QImage::Format_ARGB32);
    smallIcon_.fill(Qt::transparent);
  }
  return smallIcon_;
}

QSize TbsSkinForm::SmallIconSize() {
  int s = qApp ? QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize) : 0;
  if (s <= 0) s = 16;
  return QSize(s, s);
}
