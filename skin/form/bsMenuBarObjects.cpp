// The menu bar's objects: their images, fades and mouse behaviour. Items open their popups
// through the frame component of the bar; the child buttons act on the frame component of the
// maximized MDI child.
#include "skin/form/bsMenuBarObjects.h"

#include <QPainter>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/bsSkinForm.h"
#include "skin/form/bsSkinFormObjects.h"
#include "skin/form/bsSkinMainMenuBar.h"
#include "skin/menus/MenuGuard.h"
#include "skin/menus/bsSkinMenu.h"

namespace {
// Objects larger than this on either side are not drawn (bad skins); it keeps every bitmap in
// range.
constexpr int kMaxObjectSide = 4096;

bool Drawable(const TRect& r) {
  const int w = RectWidth(r), h = RectHeight(r);
  return w >= 1 && h >= 1 && w <= kMaxObjectSide && h <= kMaxObjectSide;
}
}  // namespace

// ===================================================================================
// TbsMenuBarObject
// ===================================================================================

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* bar, const TbsDataSkinObject* data) : ParentBar(bar) {
  if (!data) return;
  IDName = data->SectionName;
  skinrect = data->skinrect;
  activeskinrect = data->activeskinrect;
  downrect = activeskinrect;
  morphing = data->morphing;
  morphkind = data->morphkind;
  ObjectRect = skinrect;
  if (TbsSkinData* sd = bar->SkinData()) HotPicture = sd->ActivePicture(data->activepictureindex);
  if (RectIsEmpty(activeskinrect)) morphing = false;
}

bool TbsMenuBarObject::CanMorph() const {
  if (Pressed && !RectIsEmpty(downrect)) return false;
  return (Highlighted && MorphFactor < 1) || (!Highlighted && MorphFactor > 0);
}

void TbsMenuBarObject::Redraw() { ParentBar->RedrawObject(this); }

void TbsMenuBarObject::StartStateChange() {
  if (morphing)
    ParentBar->MorphTimer().SetEnabled(true);
  else
    Redraw();
}

void TbsMenuBarObject::StepMorph() {
  MorphFactor = std::clamp(MorphFactor + (Highlighted ? 0.1 : -0.1), 0.0, 1.0);
  Redraw();
}

void TbsMenuBarObject::MouseEnter() {
  MouseInside = Highlighted = true;
  StartStateChange();
}

void TbsMenuBarObject::MouseLeave() {
  MouseInside = Highlighted = false;
  StartStateChange();
}

void TbsMenuBarObject::CopyImage(TCanvas& canvas, const TBitmap* picture, const TRect& src) const {
  if (!picture || picture->Empty() || RectIsEmpty(src) || !Drawable(ObjectRect)) return;
  canvas.CopyRect(ObjectRect, picture->Image(), src);
}

void TbsMenuBarObject::PaintMorph(TCanvas& canvas, const TBitmap* picture, const TRect& normal,
                                  const TRect& active) const {
  if (!picture || !Drawable(ObjectRect)) return;
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  TBitmap a(w, h), b(w, h);
  CopyPiece(a, TRect(0, 0, w, h), *picture, normal);
  CopyPiece(b, TRect(0, 0, w, h), *picture, active);
  TbsEffectBmp ea(a), eb(b);
  ea.Morph(morphkind, eb, MorphFactor);
  ea.DrawTo(canvas, ObjectRect.Left, ObjectRect.Top);
}

// ===================================================================================
// TbsSkinMainMenuBarButton
// ===================================================================================

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* bar, const TbsDataSkinObject* data,
                                                   const QString& name, TStdButtonCommand command)
    : TbsMenuBarObject(bar, data), Command(command) {
  if (auto* b = dynamic_cast<const TbsDataSkinStdButton*>(data)) {
    FromSkin = true;
    downrect = b->downrect;
    // A button whose data names no command keeps the command of its place.
    if (b->command != cmDefault) Command = b->command;
  } else {
    IDName = name;
  }
}

bool TbsSkinMainMenuBarButton::CanMorph() const { return TbsMenuBarObject::CanMorph(); }

void TbsSkinMainMenuBarButton::PaintObject(TCanvas& canvas) {
  if (!FromSkin || !HotPicture) {
    if (!Drawable(ObjectRect)) return;
    const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
    TBitmap image(w, h);
    TCanvas& c = image.Canvas();
    PaintDefaultButtonFace(c, w, h, MouseInside && IsEnabled, Pressed);
    // The child is maximized: its maximize button restores.
    PaintDefaultButtonGlyph(c, w, h, Command, Command == cmMaximize, Pressed && MouseInside, IsEnabled);
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
    return;
  }
  if (Pressed && MouseInside && !RectIsEmpty(downrect))
    CopyImage(canvas, HotPicture, downrect);
  else if (Fading())
    PaintMorph(canvas, HotPicture, skinrect, activeskinrect);
  else if (Highlighted && !RectIsEmpty(activeskinrect))
    CopyImage(canvas, HotPicture, activeskinrect);
  else
    CopyImage(canvas, HotPicture, skinrect);
}

void TbsSkinMainMenuBarButton::MouseDown(int, int, TMouseButton button) {
  if (button != TMouseButton::mbLeft || !IsEnabled || Pressed) return;
  Pressed = true;
  if (morphing && !RectIsEmpty(downrect)) MorphFactor = 1;
  Redraw();
  if (Command != cmSysMenu) return;
  TbsSkinMainMenuBar* bar = ParentBar;
  TbsSkinForm* frame = bar->SkinForm();
  TbsSkinForm* child = bar->ChildSkinForm();
  if (!frame || !child || !frame->MenuDriver()) {
    PopupClosed();
    return;
  }
  bar->Repaint();
  TMenuItem* items = child->GetSystemMenuItems();
  TbsSkinMenu* driver = frame->MenuDriver();
  TComponentGuard guard(frame);
  frame->NotifyMenuOpened();
  driver->OpenMenu(bar, frame->MenusSkinData() ? frame->MenusSkinData() : frame->SkinData(), false, items,
                   bar->ScreenRect(ObjectRect), 0);
  // A menu without items opens nothing and never reports its closing.
  if (guard.Alive() && !driver->MenuOpen()) {
    if (frame->SkinMenuOpen()) frame->NotifyMenusClosed();
    if (bar->ChildButton(cmSysMenu) == this) PopupClosed();
  }
}

void TbsSkinMainMenuBarButton::MouseUp(int, int, TMouseButton button) {
  if (button != TMouseButton::mbLeft || !IsEnabled || Command == cmSysMenu) return;
  const bool run = Highlighted && Pressed;
  Pressed = false;
  Redraw();
  if (morphing) StartStateChange();
  if (!run) return;
  TbsSkinForm* child = ParentBar->ChildSkinForm();
  if (!child) return;
  // The command may remove this button (no maximized child left): nothing is touched after it.
  switch (Command) {
    case cmClose:
      child->Form()->Close();
      break;
    case cmMaximize:
      child->SetWindowState(TWindowState::wsNormal);
      break;
    case cmMinimize:
      child->SetWindowState(TWindowState::wsMinimized);
      break;
    default:
      break;
  }
}

void TbsSkinMainMenuBarButton::DblClick() {
  if (Command != cmSysMenu) return;
  TbsSkinMainMenuBar* bar = ParentBar;
  TbsSkinForm* frame = bar->SkinForm();
  TbsSkinForm* child = bar->ChildSkinForm();
  if (!child) return;
  TCustomForm* childForm = child->Form();
  TComponentGuard guard(childForm);
  if (frame) {
    TComponentGuard frameGuard(frame);
    if (frame->MenuDriver() && frame->MenuDriver()->MenuOpen()) frame->MenuDriver()->CloseAll();
    if (frameGuard.Alive() && frame->MainMenuActive()) frame->ExitMenuMode();
    if (frameGuard.Alive() && frame->SkinMenuOpen()) frame->NotifyMenusClosed();
  }
  if (guard.Alive()) childForm->Close();
}

void TbsSkinMainMenuBarButton::MouseEnter() {
  MouseInside = Highlighted = true;
  // The system-menu button holds its popup open: no redraw while it does.
  if (Pressed && Command == cmSysMenu) return;
  if (Pressed && !RectIsEmpty(downrect)) {
    if (morphing) MorphFactor = 1;
    Redraw();
  } else {
    StartStateChange();
  }
}

void TbsSkinMainMenuBarButton::MouseLeave() {
  MouseInside = Highlighted = false;
  if (Pressed && Command == cmSysMenu) return;
  Redraw();
  StartStateChange();
}

void TbsSkinMainMenuBarButton::PopupClosed() {
  if (!Pressed) return;
  Pressed = false;
  // Unless the mouse is over it, it also loses its highlight.
  if (ParentBar->HoverIndex() < 0 || ParentBar->BarObjects()[static_cast<size_t>(ParentBar->HoverIndex())].get() != this)
    MouseInside = Highlighted = false;
  Redraw();
  if (morphing) StartStateChange();
}

// ===================================================================================
// TbsSkinMainMenuBarItem
// ===================================================================================

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* bar, const TbsDataSkinObject* data,
                                               TMenuItem* linked)
    : TbsMenuBarObject(bar, data), LinkedMenuItem(linked) {
  if (linked) {
    IDName = linked->Name();
    IsEnabled = linked->Enabled();
  }
  EnabledBeforeHiding = IsEnabled;
  fontname = QStringLiteral("Arial");
  auto* d = dynamic_cast<const TbsDataSkinMainMenuItem*>(data);
  if (!d) return;
  FromSkin = true;
  fontname = d->fontname;
  fontheight = d->fontheight;
  fontstyle = d->fontstyle;
  unenabledfontcolor = d->unenabledfontcolor;
  fontcolor = d->fontcolor;
  activefontcolor = d->activefontcolor;
  downfontcolor = d->downfontcolor;
  textrect = d->textrect;
  itemleftoffset = d->itemleftoffset;
  itemrightoffset = d->itemrightoffset;
  ItemDownRect = d->downrect;
  if (RectIsEmpty(ItemDownRect)) ItemDownRect = RectIsEmpty(activeskinrect) ? skinrect : activeskinrect;
}

bool TbsSkinMainMenuBarItem::SkinLook() const {
  return FromSkin && HotPicture && !RectIsEmpty(skinrect) && !RectIsEmpty(textrect);
}

bool TbsSkinMainMenuBarItem::HasSubItems() const { return LinkedMenuItem && LinkedMenuItem->Count() > 0; }

QString TbsSkinMainMenuBarItem::Caption() const { return LinkedMenuItem ? LinkedMenuItem->Caption() : QString(); }

TColor TbsSkinMainMenuBarItem::TextColor() const {
  if (!SkinLook()) {
    const bool enabled = LinkedMenuItem && LinkedMenuItem->Enabled();
    return enabled ? ParentBar->DefItemFont().Color : clBtnShadow;
  }
  if (Pressed) return downfontcolor;
  if (Highlighted) return activefontcolor;
  return LinkedMenuItem && LinkedMenuItem->Enabled() ? fontcolor : unenabledfontcolor;
}

void TbsSkinMainMenuBarItem::MakeImage(TBitmap& image, const TRect& src) const {
  ComposeStripH(itemleftoffset, itemrightoffset, image, *HotPicture, src, RectWidth(ObjectRect),
                RectHeight(ObjectRect));
}

void TbsSkinMainMenuBarItem::PaintObject(TCanvas& canvas) {
  if (!Drawable(ObjectRect)) return;
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  const QString caption = Caption();
  TBitmap image(w, h);
  TCanvas& c = image.Canvas();
  QRect textBox;
  if (SkinLook()) {
    const TRect active = RectIsEmpty(activeskinrect) ? skinrect : activeskinrect;
    if (Pressed) {
      MakeImage(image, ItemDownRect);
    } else if (Fading()) {
      TBitmap other;
      MakeImage(image, skinrect);
      MakeImage(other, active);
      if (other.Width() == image.Width() && other.Height() == image.Height()) {
        TbsEffectBmp a(image), b(other);
        a.Morph(morphkind, b, MorphFactor);
        TCanvas& dc = image.Canvas();
        a.DrawTo(dc, 0, 0);
      }
    } else {
      MakeImage(image, Highlighted ? active : skinrect);
    }
    if (image.Width() != w || image.Height() != h) image.SetSize(w, h);
    const int tw = ParentBar->CaptionWidth(this);
    textBox = QRect(textrect.Left, textrect.Top, tw + 2, std::max(0, RectHeight(textrect)));
  } else {
    PaintDefaultButtonFace(c, w, h, Highlighted || Pressed, Pressed);
    textBox = QRect(0, 0, w, h);
  }
  if (QPainter* p = image.Canvas().Painter(); p && !caption.isEmpty()) {
    p->save();
    p->setFont(ParentBar->ItemFont(this).ToQFont());
    p->setPen(ToQColor(TextColor()));
    p->drawText(textBox, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption);
    p->restore();
  }
  canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TbsSkinMainMenuBarItem::MouseEnter() {
  TbsSkinMainMenuBar* bar = ParentBar;
  // Moving along the bar with a menu open switches menus.
  if (TbsSkinMainMenuBarItem* pressed = bar->PressedItem(); pressed && pressed != this) {
    pressed->Release();
    MouseInside = Highlighted = true;
    Press();
    return;
  }
  for (TbsSkinMainMenuBarItem* other : bar->Items())
    if (other != this && other->Highlighted) other->MouseLeave();
  MouseInside = Highlighted = true;
  StartStateChange();
}

void TbsSkinMainMenuBarItem::MouseLeave() {
  MouseInside = Highlighted = false;
  if (Pressed && morphing) MorphFactor = 0;
  StartStateChange();
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, TMouseButton button) {
  if (button != TMouseButton::mbLeft || !IsEnabled || !LinkedMenuItem) return;
  TbsSkinMainMenuBar* bar = ParentBar;
  if (HasSubItems()) {
    bar->SetMenuMode(true);
    Press();
    return;
  }
  // A command item: menu mode ends, then its command runs; the command may free the bar, the
  // form or the menu, so nothing of them is touched after it.
  TMenuItem* item = LinkedMenuItem;
  TComponentGuard itemGuard(item);
  if (TbsSkinForm* frame = bar->SkinForm()) {
    TComponentGuard frameGuard(frame);
    if (frame->MainMenuActive()) frame->ExitMenuMode();
    if (frameGuard.Alive() && frame->SkinMenuOpen()) frame->NotifyMenusClosed();
  }
  bar->SetMenuMode(false);
  Pressed = false;
  Redraw();
  if (itemGuard.Alive()) item->Click();
}

void TbsSkinMainMenuBarItem::Press() {
  TbsSkinMainMenuBar* bar = ParentBar;
  Pressed = Highlighted = true;
  MorphFactor = 1;
  Redraw();
  bar->SetMenuMode(true);
  TbsSkinForm* frame = bar->SkinForm();
  if (!frame || !frame->MenuDriver() || !LinkedMenuItem) return;
  TComponentGuard guard(frame);
  if (!frame->MainMenuActive()) frame->OnMainMenuEnter(bar);
  if (!guard.Alive() || !frame->MenuDriver()) return;
  frame->NotifyMenuOpened();
  frame->SetMainMenuActive(true);
  frame->MenuDriver()->OpenMenu(bar, bar->SkinData(), bar->PopupToUp, LinkedMenuItem, bar->ScreenRect(ObjectRect),
                                0);
}

void TbsSkinMainMenuBarItem::Release() {
  Pressed = Highlighted = MouseInside = false;
  if (morphing) {
    MorphFactor = 1;
    StartStateChange();
  } else {
    Redraw();
  }
}
