// The platform's text label: a non-windowed control drawn on its parent. It aligns its text
// horizontally and vertically, wraps words, sizes itself to its text, shows accelerator
// characters ("&x") and moves the focus to FocusControl on its accelerator. Classes that draw
// the text their own way override DoDrawText, which both measures and draws. GUI thread only.
#pragma once
#include "platform/Controls.h"

enum class TTextLayout { tlTop, tlCenter, tlBottom };

// A caption as read aloud: accelerator marks dropped ("&&" stays one "&").
QString StripAccelChars(const QString& s);

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* owner);
  ~TCustomLabel() override;
  QString ClassName() const override { return QStringLiteral("TCustomLabel"); }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  // A transparent label leaves its background to the parent.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* c);

  void WndProc(TMessage& m) override;
  void Loaded() override;
  // Sizes the label to its text when AutoSize is on.
  void AdjustBounds();

 protected:
  void Paint() override;
  void NameFocusControl();
  void Notification(TComponent* c, TOperation op) override;
  // Measures (flags with DT_CALCRECT: `rect` receives the text's extent) or draws the text.
  virtual void DoDrawText(TRect& rect, uint32_t flags);
  // The flags for right-to-left reading (none here: left-to-right only).
  uint32_t DrawTextBiDiModeFlags(uint32_t flags) const { return flags; }

  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  bool transparent_ = false;
  TWinControl* focusControl_ = nullptr;  // referenced, not owned
};
