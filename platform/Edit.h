// The platform's single-line edit over QLineEdit (text, caret, selection, clipboard and keys
// are Qt's). OnChange fires after every change of the text, by the user or the program.
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
  void SetReadOnly(bool v);
  // 0 = no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  // Shown instead of each character; 0 shows the text.
  QChar PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(QChar c);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  QLineEdit* Editor() const;

  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  QString GetText() const override;
  void SetTextValue(const QString& s) override;
  bool WantsFocus() const override { return true; }
  void WndProc(TMessage& m) override;
  virtual void Change() { OnChange(this); }

 private:
  void ApplyOptions();
  bool readOnly_ = false;
  int maxLength_ = 0;
  QChar passwordChar_;
  bool autoSelect_ = true;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
  QString ClassName() const override { return QStringLiteral("TEdit"); }
};
