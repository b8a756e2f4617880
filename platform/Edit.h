// The platform's single-line edit over QLineEdit (text, caret, selection, clipboard, keys and
// input methods are Qt's). OnChange fires after every change of the text, by the user or the
// program.
//
// The edit is two widgets, as a window with a frame is: the window (Handle(), the frame part:
// its mouse and paint events arrive as non-client messages, WM_NCHITTEST, WM_NCLBUTTONDOWN,
// WM_NCPAINT with a canvas over the whole window) and the line edit (ClientHandle(), placed
// exactly on the client area that WM_NCCALCSIZE leaves; none is claimed by default). Clicks on
// the frame never reach the line edit. The mouse enters and leaves the edit as a whole
// (CM_MOUSEENTER/CM_MOUSELEAVE from the window); the keyboard focus is the line edit's.
// The text starts at the top of the client area, after the left margin (EM_SETMARGINS).
// A class that draws its own frame and background makes the edit transparent: the window's
// WM_NCPAINT image then shows behind the text (the line edit's WM_PAINT carries no canvas; its
// default handling is Qt's paint of the text). GUI thread only.
#pragma once
#include <QChar>

#include "platform/Controls.h"

class QLineEdit;
class TWidgetBridge;

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);
  ~TCustomEdit() override;
  QString ClassName() const override { return QStringLiteral("TCustomEdit"); }

  bool ReadOnly() const { return readOnly_; }
  // The user cannot change the text; moving the caret, selecting and copying still work.
  void SetReadOnly(bool v);
  // 0 = no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  // Shown instead of each character; 0 shows the text.
  QChar PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(QChar c);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  // Typed and pasted letters are turned to upper or lower case.
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase v);
  // False keeps the selection shown while the edit does not have the focus.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  void SelectAll();
  void SetFocus() override;
  int SelStart() const;
  int SelLength() const;
  // What a screen reader reads as the edit's name: the text of the label that leads to it
  // (set by the label), else the edit's hint.
  void SetLabelName(const QString& name);
  QString AccessibleName() const { return labelName_.isEmpty() ? Hint() : labelName_; }
  // The line edit on the client area; nullptr before the window exists.
  QLineEdit* Editor() const { return editor_; }
  QWidget* ClientHandle() override;
  // The client area in window coordinates, as last computed through WM_NCCALCSIZE.
  const TRect& EditClientRect() const { return clientRect_; }
  TRect ClientRect() const override { return TRect(0, 0, clientRect_.Width(), clientRect_.Height()); }
  TPoint ClientOrigin() const override { return TPoint(clientRect_.Left, clientRect_.Top); }
  // Margins around the text inside the client area (pixels; the platform's EM_SETMARGINS).
  void SetEditMargins(int left, int right);
  void DefaultHandler(TMessage& m) override;

  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  void DestroyHandle() override;
  QString GetText() const override;
  void SetTextValue(const QString& s) override;
  bool WantsFocus() const override { return true; }
  void WndProc(TMessage& m) override;
  virtual void Change() { OnChange(this); }
  // Asks for the client area again (WM_NCCALCSIZE) and moves the line edit onto it.
  void FrameChanged();
  // No background behind the text: the class paints it.
  void SetTransparentBackground(bool v);
  bool TransparentBackground() const { return transparent_; }
  // The colour of the text while the edit is disabled.
  virtual TColor DisabledTextColor() const;
  // Pushes the options, colours and font to the line edit.
  void ApplyOptions();

 private:
  bool readOnly_ = false;
  int maxLength_ = 0;
  QChar passwordChar_;
  bool autoSelect_ = true;
  bool transparent_ = false;
  TAlignment alignment_ = taLeftJustify;
  TEditCharCase charCase_ = TEditCharCase::ecNormal;
  bool hideSelection_ = true;
  int marginLeft_ = 2, marginRight_ = 2;
  TRect clientRect_;
  QString labelName_;
  QLineEdit* editor_ = nullptr;            // child of the window, deleted with it
  TWidgetBridge* editorBridge_ = nullptr;  // the line edit's bridge side
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
  QString ClassName() const override { return QStringLiteral("TEdit"); }
};
