// TbsSkinButton: a push button drawn from a "button" section (normal, active, down and
// disabled looks), or as a flat box in three colour schemes without a skin. It clicks on
// release inside, on Space up and Enter, as the form's default (Enter) or cancel (Escape)
// button, repeats while held in repeat mode, and latches like a radio button in a group.
// Timers and the glyph are owned by the button. GUI thread only.
#pragma once
#include <memory>

#include "platform/Actions.h"
#include "platform/Timer.h"
#include "skin/controls/PlainLooks.h"
#include "platform/BitmapData.h"
#include "skin/controls/bsSkinControl.h"
#include "skin/data/SkinIni.h"

class TbsSkinButton : public TbsSkinCustomControl {
 public:
  explicit TbsSkinButton(TComponent* owner);
  ~TbsSkinButton() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinButton"); }

  bool RepeatMode() const { return repeatMode_; }
  void SetRepeatMode(bool v) { repeatMode_ = v; }
  int RepeatInterval() const { return repeatInterval_; }
  // A running repeat keeps its period.
  void SetRepeatInterval(int v) { repeatInterval_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  int GroupIndex() const { return groupIndex_; }
  // A non-zero group makes the button unfocusable.
  void SetGroupIndex(int v);
  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& b);
  // The glyph's stored form; GlyphEdited() repaints after it was read.
  TBitmapData& GlyphData() { return glyphData_; }
  void GlyphEdited() { Invalidate(); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  TbsButtonLayout Layout() const { return layout_; }
  void SetLayout(TbsButtonLayout v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  // The action whose caption and enabled state the button shows and which a click runs (when
  // OnClick is not set). An empty glyph takes the action's image from its list's images.
  TAction* Action() const { return action_; }
  void SetAction(TAction* a);

  // State, readable for tests and the accessibility layer.
  bool Hot() const { return hot_; }
  bool MousePressed() const { return mousePressed_; }
  bool ActsAsDefault() const { return actsAsDefault_; }
  double MorphFactor() const { return morphFactor_; }
  // Sets the weight of the active look directly and repaints (fade steps for tools and
  // benchmarks; the fade timer sets it itself).
  void SetMorphFactor(double v);
  bool Repeating() const { return repeatTimer_ != nullptr; }

  // The click: copies ModalResult to the form, then fires OnClick (the control's one click
  // event). Click() does the same; the button decides itself when a press or key clicks.
  virtual void PerformClick();
  void Click() override { PerformClick(); }
  void ApplySkinData() override;
  void FetchSkinData() override;

 protected:
  void Paint() override;
  void PaintWithoutSkin(TBitmap& bitmap) override;
  void PaintSkinImage(TBitmap& bitmap) override {}
  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;
  // The action changed (or was set): caption, enabled state and glyph follow it.
  virtual void ActionChange();
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // Composes one look of the skin with glyph and caption.
  virtual void DrawStateImage(TBitmap& bitmap, const TRect& source, bool active, bool down);
  // The normal look blended toward the active look by MorphFactor, as the section's morph
  // kind does it.
  void DrawFadeImage(TBitmap& normal);

 private:
  bool FocusedLook() const;
  void UpdateLook();
  void StartRepeat();
  void StopRepeat();
  void StartFade();
  void StopFade();
  void FadeTick();
  void MouseEnter();
  void MouseLeave();
  void FocusChanged(TWinControl* focused);
  bool LookNeedsUpdate() const;
  TGlyphCaption Content() const;

  std::unique_ptr<TTimer> repeatTimer_;  // owned
  bool repeatMode_ = false;
  int repeatInterval_ = 100;
  bool actsAsDefault_ = false;
  bool allowAllUp_ = false;
  bool releaseOnUp_ = false;
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
  bool focusingByMouse_ = false;
  bool canFocused_ = true;
  bool down_ = false;
  bool hot_ = false;
  bool mousePressed_ = false;
  int groupIndex_ = 0;
  TBitmap glyph_;  // owned
  TBitmapData glyphData_{glyph_};
  int numGlyphs_ = 2;
  int margin_ = -1;
  int spacing_ = 1;
  TbsButtonLayout layout_ = blGlyphLeft;
  std::unique_ptr<TTimer> fadeTimer_;  // owned
  double morphFactor_ = 0;
  // Copies of the button section's values.
  QString fontname_;
  uint8_t fontstyle_ = 0;
  int fontheight_ = 0;
  TColor fontcolor_ = 0, activefontcolor_ = 0, downfontcolor_ = 0, disabledfontcolor_ = 0;
  TRect activeskinrect_, downskinrect_, disabledskinrect_;
  bool morphing_ = false;
  TMorphKind morphkind_ = mkDefault;
  TAction* action_ = nullptr;  // referenced
};
