// The objects of a skinned menu bar: the items that show the top-level entries of the main
// menu, and the four buttons of a maximized MDI child (system menu, minimize, restore, close).
// Each is owned by its bar in the bar's object list; it is made from one object of the skin
// ("mainmenubaritem", "mainmenubarbutton") or, without one, draws a default look of its own.
// Rectangles named after skin keys are in picture coordinates; ObjectRect is the object's
// place on the bar (bar client coordinates). GUI thread only.
#pragma once
#include <QString>

#include "platform/Controls.h"
#include "platform/Types.h"
#include "skin/data/SkinIni.h"

class TBitmap;
class TCanvas;
class TMenuItem;
class TbsSkinMainMenuBar;
class TbsDataSkinObject;

class TbsMenuBarObject {
 public:
  // Copies the data's fields; `data` may be null for an object of the default look.
  TbsMenuBarObject(TbsSkinMainMenuBar* bar, const TbsDataSkinObject* data);
  virtual ~TbsMenuBarObject() = default;
  TbsMenuBarObject(const TbsMenuBarObject&) = delete;
  TbsMenuBarObject& operator=(const TbsMenuBarObject&) = delete;

  // Draws the object's current image at ObjectRect on `canvas` (the bar's image).
  virtual void PaintObject(TCanvas& canvas) {}
  virtual void MouseDown(int x, int y, TMouseButton button) {}
  virtual void MouseUp(int x, int y, TMouseButton button) {}
  virtual void DblClick() {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  // True while a fade step would change the image.
  virtual bool CanMorph() const;

  // Fades when morphing, else redraws at once.
  void StartStateChange();
  // One fade step of 0.1 toward the highlighted (1) or normal (0) image, then a redraw.
  void StepMorph();
  void Redraw();

  TbsSkinMainMenuBar* ParentBar;  // the owner; referenced
  bool MouseInside = false;
  const TBitmap* HotPicture = nullptr;  // the skin's picture; referenced
  bool Pressed = false;
  double MorphFactor = 0;
  QString IDName;
  TRect skinrect;
  TRect activeskinrect;
  TRect downrect;
  TRect ObjectRect;
  bool Highlighted = false;
  bool IsEnabled = true;
  bool IsVisible = true;
  bool morphing = false;
  TMorphKind morphkind = mkDefault;

 protected:
  // Copies `src` of `picture` onto ObjectRect (stretched when the sizes differ).
  void CopyImage(TCanvas& canvas, const TBitmap* picture, const TRect& src) const;
  // Draws the blend of `normal` and `active` of `picture` at MorphFactor by morphkind.
  void PaintMorph(TCanvas& canvas, const TBitmap* picture, const TRect& normal, const TRect& active) const;
  bool Fading() const { return morphing && ((Highlighted && MorphFactor != 1) || (!Highlighted && MorphFactor != 0)); }
};

// A button of the maximized MDI child; it acts on that child's frame component.
class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
 public:
  // Made from "mainmenubarbutton" data, or a default button of `command` when `data` is null.
  TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* bar, const TbsDataSkinObject* data, const QString& name,
                           TStdButtonCommand command);
  void PaintObject(TCanvas& canvas) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void DblClick() override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool CanMorph() const override;

  // Releases the system-menu button when its popup has closed.
  void PopupClosed();

  bool FromSkin = false;
  TStdButtonCommand Command = cmDefault;
};

// An item of the bar: one visible top-level entry of the main menu.
class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
 public:
  // Made from "mainmenubaritem" data, or an item of the default look when `data` is null.
  TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* bar, const TbsDataSkinObject* data, TMenuItem* linked);
  void PaintObject(TCanvas& canvas) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  // Presses the item and opens its popup (the bar enters menu mode).
  void Press();
  // The popup is gone: no longer highlighted (a morphing item fades out).
  void Release();
  bool HasSubItems() const;
  // True when the item draws from the skin: item data with a picture, an image and a text area.
  bool SkinLook() const;
  // The caption as the menu item gives it ("&" marks the accelerator); empty once it is gone.
  QString Caption() const;
  // The text colour for the current state.
  TColor TextColor() const;

  bool FromSkin = false;
  bool EnabledBeforeHiding = true;
  bool FitsInBar = true;
  TMenuItem* LinkedMenuItem = nullptr;  // referenced; cleared by the bar when the item goes
  QString fontname;
  int32_t fontheight = 14;
  TFontStyleSet fontstyle = 0;
  TColor unenabledfontcolor = 0;
  TColor fontcolor = 0;
  TColor activefontcolor = 0;
  TColor downfontcolor = 0;
  TRect textrect;
  TRect ItemDownRect;
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  // The caption's last measured width and what it was measured for (kept by the bar).
  mutable QString MeasuredKey;
  mutable int MeasuredWidth = 0;

 private:
  // The item's image from `src` of HotPicture at ObjectRect's size: fixed ends, tiled middle.
  void MakeImage(TBitmap& image, const TRect& src) const;
};
