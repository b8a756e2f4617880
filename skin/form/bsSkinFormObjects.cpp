// Frame objects: making them from skin data, their images, fades, mouse handling and the
// commands of the standard buttons. The caption's drawing is in bsSkinCaption.cpp.
#include "skin/form/bsSkinFormObjects.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/bsSkinForm.h"

namespace {
constexpr TColor kHoverFill = 13811126;
constexpr TColor kDownFill = 11899781;
}  // namespace

// ===================================================================================
// TbsActiveSkinObject
// ===================================================================================

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm* form, const TbsDataSkinObject* data) : SkinForm(form) {
  SkinData = form->SkinData();
  if (SkinData) MainPicture = &SkinData->picture;
  if (!data) return;
  IDName = data->SectionName;
  Hint = data->hint;
  skinrectinapicture = data->skinrectinapicture;
  skinrect = data->skinrect;
  activeskinrect = data->activeskinrect;
  morphing = data->morphing;
  morphkind = data->morphkind;
  HotPicture = SkinData ? SkinData->ActivePicture(data->activepictureindex) : nullptr;
  if (!HotPicture) activeskinrect = TRect();  // no active image without its picture
  if (RectIsEmpty(activeskinrect)) morphing = false;
  ObjectRect = skinrect;
}

bool TbsActiveSkinObject::CanMorph() const {
  return (Highlighted && MorphFactor < 1) || (!Highlighted && MorphFactor > 0);
}

void TbsActiveSkinObject::Redraw() { SkinForm->RedrawObject(this); }

void TbsActiveSkinObject::StartStateChange() {
  if (morphing)
    SkinForm->FadeTimer().SetEnabled(true);
  else
    Redraw();
}

void TbsActiveSkinObject::StepMorph() {
  MorphFactor += Highlighted ? 0.1 : -0.1;
  if (MorphFactor < 0) MorphFactor = 0;
  if (MorphFactor > 1) MorphFactor = 1;
  Redraw();
}

void TbsActiveSkinObject::CopyImage(TCanvas& canvas, const TBitmap* picture, const TRect& src) const {
  if (!picture || picture->Empty() || RectIsEmpty(src) || RectIsEmpty(ObjectRect)) return;
  canvas.CopyRect(ObjectRect, picture->Image(), src);
}

void TbsActiveSkinObject::PaintMorph(TCanvas& canvas, const TBitmap* normalPicture, const TRect& normal,
                                     const TRect& active) const {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1 || w > 4096 || h > 4096) return;
  TBitmap a(w, h), b(w, h);
  if (normalPicture) CopyPiece(a, TRect(0, 0, w, h), *normalPicture, normal);
  if (HotPicture) CopyPiece(b, TRect(0, 0, w, h), *HotPicture, active);
  TbsEffectBmp ea(a), eb(b);
  ea.Morph(morphkind, eb, MorphFactor);
  ea.DrawTo(canvas, ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::PaintBase(TCanvas& canvas, bool update) {
  const TBitmap* normalPicture = skinrectinapicture ? HotPicture : MainPicture;
  const bool fading = morphing && ((Highlighted && MorphFactor != 1) || (!Highlighted && MorphFactor != 0));
  if (fading) {
    PaintMorph(canvas, normalPicture, skinrect, activeskinrect);
  } else if (Highlighted && !RectIsEmpty(activeskinrect)) {
    CopyImage(canvas, HotPicture, activeskinrect);
  } else if (!update && !skinrectinapicture) {
    // The frame piece already shows the normal image.
  } else {
    CopyImage(canvas, normalPicture, skinrect);
  }
}

void TbsActiveSkinObject::PaintObject(TCanvas& canvas, bool update) { PaintBase(canvas, update); }

void TbsActiveSkinObject::MouseDown(int x, int y, TMouseButton button) {
  SkinForm->OnMouseDownEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TbsActiveSkinObject::MouseUp(int x, int y, TMouseButton button) {
  if (MouseInside) SkinForm->OnMouseUpEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TbsActiveSkinObject::MouseMove(int x, int y) { SkinForm->OnMouseMoveEvent(SkinForm, IDName, x, y, ObjectRect); }

void TbsActiveSkinObject::MouseEnter() {
  MouseInside = Highlighted = true;
  if (!RectIsEmpty(activeskinrect)) StartStateChange();
  SkinForm->OnMouseEnterEvent(SkinForm, IDName);
}

void TbsActiveSkinObject::MouseLeave() {
  MouseInside = Highlighted = false;
  if (!RectIsEmpty(activeskinrect)) StartStateChange();
  SkinForm->OnMouseLeaveEvent(SkinForm, IDName);
}

// ===================================================================================
// TbsUserObject
// ===================================================================================

void TbsUserObject::PaintObject(TCanvas& canvas, bool) { SkinForm->OnPaintEvent(SkinForm, IDName, canvas, ObjectRect); }

// ===================================================================================
// TbsSkinButtonObject
// ===================================================================================

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm* form, const TbsDataSkinObject* data)
    : TbsActiveSkinObject(form, data) {
  if (auto* b = dynamic_cast<const TbsDataSkinButton*>(data)) {
    disableskinrsect = b->disableskinrsect;
    downrect = b->downrect;
  }
}

// A button with popup items holds them open while it is pressed.
bool TbsSkinButtonObject::HasOpenPopup() const { return PopupItems != nullptr; }

bool TbsSkinButtonObject::CanMorph() const {
  if (HasOpenPopup() && Pressed) return false;
  return TbsActiveSkinObject::CanMorph();
}

void TbsSkinButtonObject::PaintButton(TCanvas& canvas, bool update) {
  if (!IsEnabled && !RectIsEmpty(disableskinrsect))
    CopyImage(canvas, HotPicture, disableskinrsect);
  else if (Pressed && MouseInside && !RectIsEmpty(downrect))
    CopyImage(canvas, HotPicture, downrect);
  else
    PaintBase(canvas, update);
}

void TbsSkinButtonObject::PaintObject(TCanvas& canvas, bool update) { PaintButton(canvas, update); }

void TbsSkinButtonObject::SetPressed(bool value) {
  Pressed = value;
  if (morphing && Highlighted) MorphFactor = 1;
  Redraw();
  if (morphing && !Pressed) StartStateChange();
}

void TbsSkinButtonObject::ShowPopup() {
  if (PopupItems && PopupItems->Count() > 0) SkinForm->ShowButtonPopup(this);
}

void TbsSkinButtonObject::MouseDown(int x, int y, TMouseButton button) {
  if (!IsEnabled) return;
  if (button == TMouseButton::mbLeft && !Pressed) {
    SetPressed(true);
    ShowPopup();
  }
  TbsActiveSkinObject::MouseDown(x, y, button);
}

void TbsSkinButtonObject::MouseUp(int x, int y, TMouseButton button) {
  if (!IsEnabled) return;
  if (button == TMouseButton::mbLeft && !PopupItems && Pressed) SetPressed(false);
  TbsActiveSkinObject::MouseUp(x, y, button);
}

void TbsSkinButtonObject::MouseEnter() {
  MouseInside = Highlighted = true;
  if (Pressed && !RectIsEmpty(downrect)) {
    if (morphing) MorphFactor = 1;
    Redraw();
  } else if (!RectIsEmpty(activeskinrect)) {
    StartStateChange();
  }
  SkinForm->OnMouseEnterEvent(SkinForm, IDName);
}

void TbsSkinButtonObject::MouseLeave() {
  MouseInside = Highlighted = false;
  if (!(HasOpenPopup() && Pressed)) {
    Redraw();
    StartStateChange();
  }
  SkinForm->OnMouseLeaveEvent(SkinForm, IDName);
}

// ===================================================================================
// TbsSkinStdButtonObject
// ===================================================================================

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm* form, const TbsDataSkinObject* data)
    : TbsSkinButtonObject(form, data) {
  if (auto* b = dynamic_cast<const TbsDataSkinStdButton*>(data)) {
    FromSkin = true;
    Command = b->command;
    restorerect = b->restorerect;
    restoreactiverect = b->restoreactiverect;
    restoreinactiverect = b->restoreinactiverect;
    restoredownrect = b->restoredownrect;
  }
}

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm* form, const QString& name, TStdButtonCommand command)
    : TbsSkinButtonObject(form, nullptr) {
  IDName = name;
  Command = command;
  skinrect = activeskinrect = downrect = TRect(0, 0, 1, 1);
  ObjectRect = skinrect;
  skinrectinapicture = true;
  MainPicture = HotPicture = nullptr;
}

bool TbsSkinStdButtonObject::DrawsIcon() const {
  return Command == cmSysMenu && SkinForm->ShowIcon() && skinrectinapicture;
}

bool TbsSkinStdButtonObject::CanMorph() const { return DrawsIcon() ? false : TbsSkinButtonObject::CanMorph(); }

bool TbsSkinStdButtonObject::RestoreState() const {
  switch (Command) {
    case cmMaximize:
      return SkinForm->WindowState() == TWindowState::wsMaximized;
    case cmMinimize:
      return SkinForm->WindowState() == TWindowState::wsMinimized;
    case cmRollUp:
      return SkinForm->RollUpState();
    default:
      return false;
  }
}

void TbsSkinStdButtonObject::PaintObject(TCanvas& canvas, bool update) {
  if (!FromSkin) {
    PaintDefault(canvas);
    return;
  }
  if (IsEnabled && DrawsIcon()) {
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, SkinForm->SmallIcon());
    MorphFactor = 0;
    return;
  }
  if (IsEnabled && !RectIsEmpty(restorerect) && RestoreState()) {
    if (!SkinForm->FormActive() && !RectIsEmpty(restoreinactiverect)) {
      CopyImage(canvas, HotPicture, restoreinactiverect);
    } else if (Pressed && MouseInside && !RectIsEmpty(restoredownrect)) {
      CopyImage(canvas, HotPicture, restoredownrect);
    } else {
      const bool hasActive = !RectIsEmpty(restoreactiverect);
      const bool fading =
          morphing && hasActive && ((Highlighted && MorphFactor != 1) || (!Highlighted && MorphFactor != 0));
      if (fading)
        PaintMorph(canvas, HotPicture, restorerect, restoreactiverect);
      else if (Highlighted && hasActive)
        CopyImage(canvas, HotPicture, restoreactiverect);
      else
        CopyImage(canvas, HotPicture, restorerect);
    }
    return;
  }
  PaintButton(canvas, update);
}

void TbsSkinStdButtonObject::PaintDefault(TCanvas& canvas) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1 || w > 4096 || h > 4096) return;
  if (DrawsIcon()) {
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, SkinForm->SmallIcon());
    return;
  }
  TBitmap image(w, h);
  TCanvas& c = image.Canvas();
  PaintDefaultButtonFace(c, w, h, MouseInside && IsEnabled, Pressed);
  const TWindowState state = SkinForm->WindowState();
  const bool restore = (Command == cmMaximize && state == TWindowState::wsMaximized) ||
                       (Command == cmMinimize && state == TWindowState::wsMinimized);
  PaintDefaultButtonGlyph(c, w, h, Command, restore, Pressed && MouseInside, IsEnabled);
  canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void PaintDefaultButtonFace(TCanvas& c, int w, int h, bool hot, bool pressed) {
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = clBtnFace;
  c.FillRect(TRect(0, 0, w, h));
  if (!hot) return;
  c.Brush.Color = clNavy;
  c.FrameRect(TRect(0, 0, w, h));
  c.Brush.Color = pressed ? kDownFill : kHoverFill;
  c.FillRect(TRect(1, 1, w - 1, h - 1));
}

void PaintDefaultButtonGlyph(TCanvas& c, int w, int h, TStdButtonCommand command, bool restore, bool down,
                             bool enabled) {
  int x = w / 2 - 5, y = h / 2 - 4;
  if (down) ++x, ++y;
  const TColor color = enabled ? clBtnText : clBtnShadow;
  switch (command) {
    case cmClose:
      PaintCloseGlyph(c, x, y, color);
      break;
    case cmMaximize:
    case cmMinimize:
      if (restore)
        PaintRestoreGlyph(c, x, y, color);
      else if (command == cmMaximize)
        PaintMaximizeGlyph(c, x, y, color);
      else
        PaintMinimizeGlyph(c, x, y, color);
      break;
    case cmSysMenu:
      PaintSysMenuGlyph(c, x, y, color);
      break;
    case cmRollUp:
      PaintRollUpGlyph(c, x, y, color);
      break;
    default:
      break;
  }
}

void TbsSkinStdButtonObject::Execute() {
  TbsSkinForm* f = SkinForm;
  switch (Command) {
    case cmClose:
      f->Form()->Close();
      break;
    case cmMaximize:
      f->SetWindowState(f->WindowState() == TWindowState::wsMaximized ? TWindowState::wsNormal
                                                                      : TWindowState::wsMaximized);
      break;
    case cmMinimize:
      f->SetWindowState(f->WindowState() == TWindowState::wsMinimized ? TWindowState::wsNormal
                                                                      : TWindowState::wsMinimized);
      break;
    case cmRollUp:
      f->SetRollUpState(!f->RollUpState());
      break;
    default:
      break;
  }
}

void TbsSkinStdButtonObject::MouseDown(int, int, TMouseButton button) {
  if (!IsEnabled || button != TMouseButton::mbLeft || Pressed) return;
  SetPressed(true);
  if (Command == cmSysMenu) {
    PopupItems = SkinForm->GetSystemMenuItems();
    ShowPopup();
  }
}

void TbsSkinStdButtonObject::MouseUp(int x, int y, TMouseButton button) {
  const bool run = Highlighted && button == TMouseButton::mbLeft;
  if (Command == cmClose) {
    TbsSkinButtonObject::MouseUp(x, y, button);
    if (run) Execute();
    return;
  }
  if (run) Execute();
  TbsSkinButtonObject::MouseUp(x, y, button);
}

void TbsSkinStdButtonObject::DblClick() {
  if (Command == cmSysMenu) SkinForm->Form()->Close();
}

// ===================================================================================
// TbsSkinCaptionObject: fields and mouse (drawing in bsSkinCaption.cpp)
// ===================================================================================

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm* form, const TbsDataSkinObject* data)
    : TbsActiveSkinObject(form, data) {
  auto* c = dynamic_cast<const TbsDataSkinCaption*>(data);
  if (!c) return;
  fontname = c->fontname;
  fontstyle = c->fontstyle;
  fontheight = c->fontheight;
  fontcolor = c->fontcolor;
  activefontcolor = c->activefontcolor;
  shadowcolor = c->shadowcolor;
  activeshadowcolor = c->activeshadowcolor;
  Shadow = c->shadow;
  Alignment = c->alignment;
  textrect = c->textrect;
  FrameRect = c->framerect;
  activeframerect = c->activeframerect;
  frameleftoffset = c->frameleftoffset;
  framerightoffset = c->framerightoffset;
  frametextrect = c->frametextrect;
}

void TbsSkinCaptionObject::MouseDown(int x, int y, TMouseButton button) {
  SkinForm->OnMouseDownEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TbsSkinCaptionObject::MouseUp(int x, int y, TMouseButton button) {
  SkinForm->OnMouseUpEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TbsSkinCaptionObject::MouseEnter() {
  MouseInside = true;
  SkinForm->OnMouseEnterEvent(SkinForm, IDName);
}

void TbsSkinCaptionObject::MouseLeave() {
  MouseInside = false;
  SkinForm->OnMouseLeaveEvent(SkinForm, IDName);
}

QString EllipsizeText(TCanvas& canvas, const QString& text, int width) {
  if (canvas.TextWidth(text) <= width) return text;
  // The longest prefix that fits with the dots (prefix widths grow with their length).
  const QString dots = QStringLiteral("...");
  qsizetype lo = 0, hi = text.size() - 1;
  while (lo < hi) {
    const qsizetype mid = (lo + hi + 1) / 2;
    if (canvas.TextWidth(text.left(mid) + dots) <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  return text.left(lo) + dots;
}
