// The skinned single-line edit, built on the platform edit (TCustomEdit: Qt's line edit keeps
// the text, caret, selection, clipboard and keys).
//
//   TbsCustomEdit      the platform edit without border, painting its text on a transparent
//                      background (TransparentMode) so that a frame image drawn first shows
//                      behind it; tracks whether the left button is selecting.
//   TbsSkinCustomEdit  the frame from an "edit" section of the skin (the normal or the active
//                      strip, stretched to the width; the skin fixes the height) or, without
//                      one, a 3-D frame; the text inset by the section's client rectangle; text
//                      colours from the section; the active look while hovered or focused; an
//                      optional frame button (ButtonMode) that fires OnButtonClick.
//   TbsSkinEdit        publishes the properties.
//
// The frame image covers the whole window and is painted under the text at every paint
// (WM_NCPAINT with a canvas over the whole window); the client area (WM_NCCALCSIZE, equal to
// TextBox) is where the line edit lies. The frame and its button are non-client: clicks
// there never move the caret. SkinData and the section's picture are
// referenced, not owned. TextBox and ButtonArea are in window coordinates (origin at the edit's
// top-left). GUI thread only.
#pragma once
#include <QChar>

#include "platform/Bitmap.h"
#include "platform/Edit.h"
#include "skin/controls/bsSkinConsumer.h"

class TbsSkinData;

class TbsCustomEdit : public TCustomEdit {
 public:
  explicit TbsCustomEdit(TComponent* owner);
  ~TbsCustomEdit() override;
  QString ClassName() const override { return QStringLiteral("TbsCustomEdit"); }

  // The left button went down in the client area and is still held.
  bool Selecting() const { return selecting_; }
  bool TransparentMode() const { return TransparentBackground(); }
  void SetTransparentMode(bool v) { SetTransparentBackground(v); }

 protected:
  void InitWidget(QWidget* w) override;
  void WndProc(TMessage& m) override;

 private:
  bool selecting_ = false;
};

class TbsSkinCustomEdit : public TbsCustomEdit, public TbsSkinConsumer {
 public:
  explicit TbsSkinCustomEdit(TComponent* owner);
  ~TbsSkinCustomEdit() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinCustomEdit"); }

  TbsSkinData* SkinData() const override { return skinData_; }
  virtual void SetSkinData(TbsSkinData* v);
  const QString& SkinDataName() const { return skinDataName_; }
  // Takes effect at the next lookup.
  void SetSkinDataName(const QString& v) { skinDataName_ = v; }
  // Index of the section in the skin's control list; -1 when there is none.
  int SectionIndex() const { return sectionIndex_; }

  const TFont& DefaultFont() const { return defaultFont_; }
  // Copies the font; without a section also into Font.
  void SetDefaultFont(const TFont& f);
  // For editing sub-properties in place; call DefaultFontEdited() afterwards.
  TFont& DefaultFontRef() { return defaultFont_; }
  void DefaultFontEdited();
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v) { useSkinFont_ = v; }
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int v);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int v);
  bool ButtonMode() const { return buttonMode_; }
  void SetButtonMode(bool v);
  QChar EditPasswordChar() const { return PasswordChar(); }
  // The character shown for each character of the text; 0 shows the text.
  void SetEditPasswordChar(QChar c);

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  bool MouseInside() const { return mouseInside_; }
  bool ButtonPressed() const { return buttonPressed_; }
  bool ButtonHot() const { return buttonHot_; }
  const TRect& TextBox() const { return textBox_; }
  const TRect& ButtonArea() const { return buttonArea_; }
  // Copies of the section's values (kept from the last successful lookup).
  const TRect& SkinRect() const { return skinrect_; }
  const TRect& ActiveSkinRect() const { return activeskinrect_; }
  const TRect& SkinClientRect() const { return skinClientRect_; }
  int LeftEdgeWidth() const { return leftEdgeWidth_; }
  int RightEdgeWidth() const { return rightEdgeWidth_; }
  TColor FontColor() const { return fontcolor_; }
  TColor ActiveFontColor() const { return activefontcolor_; }
  TColor DisabledFontColor() const { return disabledfontcolor_; }

  // Looks the section up again and copies its values.
  void FetchSkinData();
  // Called when the skin data is set or replaced: font, colour and size from the section.
  void ApplySkinData() override;
  // Drops the section index before the skin changes.
  void ForgetSkinSection() override { sectionIndex_ = -1; }
  // Recomputes TextBox and ButtonArea for the current size.
  void ComputeAreas();
  // What a window point is: HTHSCROLL the frame button, HTVSCROLL the frame (button mode),
  // HTCLIENT the text, HTNOWHERE the frame (otherwise).
  int HitTest(const TPoint& windowPoint);
  // Draws the whole frame image (window size) on `c`.
  void PaintFrame(TCanvas& c);
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;

 protected:
  void InitWidget(QWidget* w) override;
  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;
  TColor DisabledTextColor() const override;

 private:
  bool IsMessageForOurSkin(const TMessage& m) const;
  // The font and colour from the section (or DefaultFont), for the current focus and hover.
  void SetTextColor(bool active);
  // The text of a disabled edit on `c` (the client area): the disabled colour, each character
  // shown as the password character when one is set.
  void PaintDisabledText(TCanvas& c);
  void SetButtonHot(bool hot);
  void MouseEntered();
  void MouseLeft();

  TbsSkinData* skinData_ = nullptr;  // referenced, not owned
  QString skinDataName_ = QStringLiteral("edit");
  int sectionIndex_ = -1;
  const TBitmap* skinPicture_ = nullptr;  // the skin's, referenced
  TFont defaultFont_;
  bool useSkinFont_ = true;
  int defaultWidth_ = 0;
  int defaultHeight_ = 20;
  bool buttonMode_ = false;
  bool buttonPressed_ = false;
  bool buttonHot_ = false;
  bool mouseInside_ = false;
  TRect textBox_, buttonArea_;
  // Copies of the section's values.
  int leftEdgeWidth_ = 0, rightEdgeWidth_ = 0;
  TRect skinClientRect_, skinrect_, activeskinrect_;
  QString fontname_;
  uint8_t fontstyle_ = 0;
  int fontheight_ = 0;
  TColor fontcolor_ = 0, disabledfontcolor_ = 0, activefontcolor_ = 0;
  TRect skinButtonRect_, activebuttonrect_, downbuttonrect_, unenabledbuttonrect_;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
 public:
  explicit TbsSkinEdit(TComponent* owner) : TbsSkinCustomEdit(owner) {}
  QString ClassName() const override { return QStringLiteral("TbsSkinEdit"); }
};
