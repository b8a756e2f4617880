// TbsSkinPanel: a container drawn from a "panel" section that lays its children out inside the
// section's client rectangle. Without a skin it draws a 3-D border and, in caption mode, a
// caption strip with an optional check box (checked mode) and roll-up marker (roll-up mode).
// GUI thread only.
#pragma once
#include <memory>
#include <vector>

#include "skin/controls/PlainLooks.h"
#include "platform/BitmapData.h"
#include "skin/controls/bsSkinControl.h"

class TbsSkinPanel : public TbsSkinCustomControl {
 public:
  explicit TbsSkinPanel(TComponent* owner);
  ~TbsSkinPanel() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinPanel"); }

  bool AutoEnabledControls() const { return autoEnabledControls_; }
  void SetAutoEnabledControls(bool v) { autoEnabledControls_ = v; }
  bool CheckedMode() const { return checkedMode_; }
  void SetCheckedMode(bool v);
  bool Checked() const { return checked_; }
  // Stores, repaints in checked mode, enables or disables the children (AutoEnabledControls
  // in checked mode) and always fires OnChecked.
  void SetChecked(bool v);
  TAlignment DefaultAlignment() const { return defaultAlignment_; }
  void SetDefaultAlignment(TAlignment v);
  int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
  virtual void SetDefaultCaptionHeight(int v);
  TbsSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TbsSkinBorderStyle v);
  bool CaptionMode() const { return captionMode_; }
  virtual void SetCaptionMode(bool v);
  bool RollUpMode() const { return rollUpMode_; }
  void SetRollUpMode(bool v);
  bool RollUpState() const { return rollUpState_; }
  // Only takes effect in roll-up mode; otherwise the state stays false.
  void SetRollUpState(bool v);
  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(const TBitmap& b);
  // The glyph's stored form; GlyphEdited() repaints after it was read.
  TBitmapData& GlyphData() { return glyphData_; }
  void GlyphEdited() { Invalidate(); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  TNotifyEvent OnChecked;

  // Height before the last roll-up; -1 when the panel never rolled up.
  int SavedHeight() const { return savedHeight_; }
  // The section's caption strip and roll-up marker on the panel at its current size
  // (control coordinates), as the last skinned paint or caption click placed them.
  const TRect& MappedCaptionRect() const { return mappedCaptionRect_; }
  const TRect& MappedMarkerRect() const { return mappedMarkerRect_; }

  void FetchSkinData() override;
  void ApplySkinData() override;
  void SetBounds(int left, int top, int width, int height) override;
  void AdjustClientRect(TRect& r) const override;

 protected:
  void Paint() override;
  void PaintWithoutSkin(TBitmap& bitmap) override;
  void PaintSkinImage(TBitmap& bitmap) override;
  void WndProc(TMessage& m) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void ApplyRollUpState();
  TPanelPlainLook PlainLook() const;
  // Places the caption strip (and, in roll-up mode, the marker) at the current size.
  void MapCaptionRects();
  // The section's client texture over the whole image (no frame).
  void TileClientTexture(TBitmap& bitmap);
  void DrawSkinCaption(TBitmap& bitmap);

  bool checkedMode_ = false;
  bool checked_ = false;
  TBitmap glyph_;  // owned
  TBitmapData glyphData_{glyph_};
  int numGlyphs_ = 1;
  int spacing_ = 2;
  int savedHeight_ = -1;
  bool rollUpState_ = false;
  bool rollUpMode_ = false;
  bool captionMode_ = false;
  TbsSkinBorderStyle borderStyle_ = bvRaised;
  int defaultCaptionHeight_ = 22;
  TAlignment defaultAlignment_ = taLeftJustify;
  // Children hidden by rolling up, to be shown again; null when none.
  std::unique_ptr<std::vector<TControl*>> hiddenControls_;  // list owned, controls referenced
  bool autoEnabledControls_ = true;
  // Copies of the panel section's values.
  QString captionfontname_;
  uint8_t captionfontstyle_ = 0;
  int captionfontheight_ = 0;
  TColor captionfontcolor_ = 0;
  TAlignment captionAlignment_ = taLeftJustify;
  TRect captionrect_, rollupmarkerrect_, restoremarkerrect_, checkimagerect_, uncheckimagerect_;
  TRect mappedCaptionRect_, mappedMarkerRect_;
  int bgpictureindex_ = -1;
};
