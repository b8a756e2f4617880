// The skinned single-line edit.
//
//   TbsCustomEdit      a windowed control holding the platform's line edit (a QLineEdit, which
//                      keeps the text, caret, selection, clipboard and keys) inside a frame the
//                      control paints itself; the line edit paints only its text, on a
//                      transparent background, over that frame image. ReadOnly blocks every
//                      change by the user but keeps moving, selecting and copying.
//   TbsSkinCustomEdit  the frame and text colours from an "edit" section of the skin or, without
//                      one, a 3-D frame; the active look while hovered or focused; an optional
//                      frame button (ButtonMode) that fires OnButtonClick.
//   TbsSkinEdit        publishes the properties.
//
// The line edit is owned by the control's widget. SkinData is referenced, not owned.
// Window coordinates (origin at the control's top-left) for TextBox and ButtonArea.
// GUI thread only.
#pragma once
#include <QChar>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "skin/controls/PlainLooks.h"

class QLineEdit;
class TbsSkinData;

class TbsCustomEdit : public TCustomControl {
 public:
  explicit TbsCustomEdit(TComponent* owner);
  ~TbsCustomEdit() override;
  QString ClassName() const override { return QStringLiteral("TbsCustomEdit"); }

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  QChar EditPasswordChar() const { return passwordChar_; }
  // The character shown for each character of the text; 0 shows the text.
  void SetEditPasswordChar(QChar c);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  void SelectAll();
  // The line edit inside the frame (made with the window); null before.
  QLineEdit* LineEdit() const { return edit_; }

  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  void DestroyHandle() override;
  QString GetText() const override;
  void SetTextValue(const QString& s) override;
  void WndProc(TMessage& m) override;
  // The area of the text inside the window (where the line edit sits).
  virtual TRect TextArea() { return TRect(0, 0, Width(), Height()); }
  // Moves the line edit to TextArea and gives it the font, colour and alignment.
  void PlaceLineEdit();
  virtual void Change() { OnChange(this); }

  QLineEdit* edit_ = nullptr;  // owned by the control's widget
  QString text_;               // the text while there is no line edit
  bool readOnly_ = false;
  bool autoSelect_ = true;
  int maxLength_ = 0;
  QChar passwordChar_;
  TAlignment alignment_ = taLeftJustify;
};

class TbsSkinCustomEdit : public TbsCustomEdit {
 public:
  explicit TbsSkinCustomEdit(TComponent* owner);
  ~TbsSkinCustomEdit() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinCustomEdit"); }

  TbsSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TbsSkinData* v);
  const QString& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const QString& v) { skinDataName_ = v; }
  int SectionIndex() const { return sectionIndex_; }
  const TFont& DefaultFont() const { return defaultFont_; }
  // Copies the font; without a section also into Font.
  void SetDefaultFont(const TFont& f);
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

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  bool MouseInside() const { return mouseInside_; }
  bool ButtonPressed() const { return buttonPressed_; }
  bool ButtonHot() const { return buttonHot_; }
  TRect TextBox() const { return textBox_; }
  TRect ButtonArea() const { return buttonArea_; }

  void FetchSkinData();
  void ApplySkinData();
  // Recomputes TextBox and ButtonArea for the current size.
  void ComputeAreas();
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;
  TRect TextArea() override;

 private:
  TbsSkinData* skinData_ = nullptr;  // referenced, not owned
  QString skinDataName_ = QStringLiteral("edit");
  int sectionIndex_ = -1;
  TFont defaultFont_;
  bool useSkinFont_ = true;
  int defaultWidth_ = 0;
  int defaultHeight_ = 20;
  bool buttonMode_ = false;
  bool buttonPressed_ = false;
  bool buttonHot_ = false;
  bool mouseInside_ = false;
  TRect textBox_, buttonArea_;
  // Copies of the edit section's values.
  TRect skinrect_, skinClientRect_;
  TColor fontcolor_ = 0, activefontcolor_ = 0, disabledfontcolor_ = 0;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
 public:
  explicit TbsSkinEdit(TComponent* owner) : TbsSkinCustomEdit(owner) {}
  QString ClassName() const override { return QStringLiteral("TbsSkinEdit"); }
};
