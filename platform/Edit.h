// The platform's single-line edit over QLineEdit (text, caret, selection, clipboard, keys and
// input methods are Qt's). OnChange fires after every change of the text, by the user or the
// program.
//
// The text sits in the client area: the window minus the frame a class claims by answering
// WM_NCCALCSIZE (none by default). A class that draws its own frame and background makes the
// edit transparent and paints under the text in its WM_PAINT before the line edit paints
// (WM_PAINT carries no canvas here; the default handling is Qt's paint of the text).
// GUI thread only.
#pragma once
#include <QChar>

#include "platform/Controls.h"

class QLineEdit;

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
  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  QLineEdit* Editor() const;
  // The client area in window coordinates, as last computed through WM_NCCALCSIZE.
  const TRect& EditClientRect() const { return clientRect_; }

  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  QString GetText() const override;
  void SetTextValue(const QString& s) override;
  bool WantsFocus() const override { return true; }
  void WndProc(TMessage& m) override;
  virtual void Change() { OnChange(this); }
  // Asks for the client area again (WM_NCCALCSIZE) and moves the text into it.
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
  TRect clientRect_;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
  QString ClassName() const override { return QStringLiteral("TEdit"); }
};
