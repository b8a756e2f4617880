// Frame objects: the active pieces of a skinned frame (caption, caption buttons, plain buttons
// and user objects). Each is owned by its TbsSkinForm in the component's object list and made
// from one form object of the skin, or, for the plain frame, as a default button without
// data. Rectangles named after skin keys are in picture coordinates; ObjectRect is the
// object's place in the window (window coordinates). GUI thread only.
#pragma once
#include <QString>

#include "platform/Controls.h"
#include "platform/Types.h"
#include "skin/data/SkinIni.h"

class TBitmap;
class TCanvas;
class TbsSkinData;
class TbsSkinForm;
class TbsDataSkinObject;
class TMenuItem;

class TbsActiveSkinObject {
 public:
  // Copies the data's fields; `data` may be null for a default button.
  TbsActiveSkinObject(TbsSkinForm* form, const TbsDataSkinObject* data);
  virtual ~TbsActiveSkinObject() = default;
  TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
  TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

  virtual bool CanMorph() const;
  // Draws the object's current image on `canvas` at ObjectRect. With `update` false the canvas
  // is a frame piece that already shows the normal image of objects drawn in the main picture.
  virtual void PaintObject(TCanvas& canvas, bool update);
  virtual void DblClick() {}
  virtual void MouseDown(int x, int y, TMouseButton button);
  virtual void MouseUp(int x, int y, TMouseButton button);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();

  // Fades when morphing, else redraws at once.
  void StartStateChange();
  // One fade step of 0.1 toward the current look.
  void StepMorph();
  // True for caption objects (they take no mouse capture and follow the activation).
  virtual bool IsCaption() const { return false; }

  TbsSkinForm* SkinForm;   // the owning component; referenced
  double MorphFactor = 0;  // 0 normal image .. 1 active image
  bool MouseInside = false;
  const TBitmap* MainPicture = nullptr;  // the skin's picture; referenced
  const TBitmap* HotPicture = nullptr;   // the object's active picture or none; referenced
  TbsSkinData* SkinData = nullptr;       // referenced
  QString IDName;
  QString Hint;
  TRect skinrect;
  TRect activeskinrect;
  TRect ObjectRect;
  bool Highlighted = false;
  bool morphing = false;
  TMorphKind morphkind = mkDefault;
  bool IsEnabled = true;
  bool IsVisible = true;
  bool skinrectinapicture = false;

 protected:
  // The fade between the normal and active image at MorphFactor, or the plain choice of them.
  void PaintBase(TCanvas& canvas, bool update);
  // Copies `src` of `picture` (null: nothing) stretched onto ObjectRect.
  void CopyImage(TCanvas& canvas, const TBitmap* picture, const TRect& src) const;
  // Blends the images at `normal` and `active` at MorphFactor by morphkind and draws the result.
  void PaintMorph(TCanvas& canvas, const TBitmap* normalPicture, const TRect& normal, const TRect& active) const;
  void Redraw();
};

// An object the application draws itself (OnPaintEvent).
class TbsUserObject : public TbsActiveSkinObject {
 public:
  using TbsActiveSkinObject::TbsActiveSkinObject;
  void PaintObject(TCanvas& canvas, bool update) override;
};

class TbsSkinButtonObject : public TbsActiveSkinObject {
 public:
  TbsSkinButtonObject(TbsSkinForm* form, const TbsDataSkinObject* data);
  bool CanMorph() const override;
  void PaintObject(TCanvas& canvas, bool update) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  void SetPressed(bool value);
  // Opens the popup of PopupItems when it has children (through the form's menus).
  void ShowPopup();

  bool Pressed = false;
  bool PopupUpward = false;
  TRect disableskinrsect;
  TRect downrect;
  TMenuItem* PopupItems = nullptr;  // referenced

 protected:
  bool HasOpenPopup() const;
  void PaintButton(TCanvas& canvas, bool update);
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
 public:
  // A button made from skin data (FromSkin), or a default button of `command` when `data` is
  // null.
  TbsSkinStdButtonObject(TbsSkinForm* form, const TbsDataSkinObject* data);
  TbsSkinStdButtonObject(TbsSkinForm* form, const QString& name, TStdButtonCommand command);
  bool CanMorph() const override;
  void PaintObject(TCanvas& canvas, bool update) override;
  void DblClick() override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;

  // Runs the button's window command.
  void Execute();
  // True when the restore image applies (maximized, minimized or rolled up by this command).
  bool RestoreState() const;
  // True when the system-menu button shows the form's small icon.
  bool DrawsIcon() const;

  bool FromSkin = false;
  TStdButtonCommand Command = cmDefault;
  TRect restorerect;
  TRect restoreactiverect;
  TRect restoreinactiverect;
  TRect restoredownrect;

 private:
  void PaintDefault(TCanvas& canvas);
};

class TbsSkinCaptionObject : public TbsActiveSkinObject {
 public:
  TbsSkinCaptionObject(TbsSkinForm* form, const TbsDataSkinObject* data);
  void PaintObject(TCanvas& canvas, bool update) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool IsCaption() const override { return true; }

  // The caption text as shown (with the maximized MDI child's caption when there is one).
  QString CaptionText() const;
  // The text area in window coordinates (empty when the skin gives none).
  TRect TextArea() const;

  QString fontname;
  TFontStyleSet fontstyle = 0;
  int32_t fontheight = 0;
  TColor fontcolor = 0;
  TColor activefontcolor = 0;
  TColor shadowcolor = 0;
  TColor activeshadowcolor = 0;
  bool Shadow = false;
  TSkinAlignment Alignment = taLeftJustify;
  TRect textrect;
  TRect FrameRect;
  TRect activeframerect;
  int32_t frameleftoffset = 0;
  int32_t framerightoffset = 0;
  TRect frametextrect;

 private:
  // The background at ObjectRect's size from `src` of `picture`: the middle tiled between fixed
  // ends, or the whole rectangle stretched.
  void MakeImage(TBitmap& image, const TBitmap* picture, const TRect& src) const;
  // Draws the text (with shadow and frame) for the active or normal state; `origin` is the
  // position of ObjectRect's top-left corner on `canvas`.
  void DrawText(TCanvas& canvas, const TPoint& origin, bool active) const;
};

// The default look of a frame button on a w x h image: clBtnFace, or, while hot, a clNavy
// outline around the hover colour (the pressed colour while pressed).
void PaintDefaultButtonFace(TCanvas& canvas, int w, int h, bool hot, bool pressed);
// The glyph of a frame command centred on a w x h image (the restore glyph when `restore`),
// one pixel down and right while `down`, greyed when not `enabled`.
void PaintDefaultButtonGlyph(TCanvas& canvas, int w, int h, TStdButtonCommand command, bool restore, bool down,
                             bool enabled);

// Shortens `text` by deleting characters at its end and appending "..." until it is at most
// `width` wide on `canvas` (its current font).
QString EllipsizeText(TCanvas& canvas, const QString& text, int width);
