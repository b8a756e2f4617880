// The skinned control base.
//
//   TbsSkinControl        a windowed custom control tied to a section of a skin: it looks the
//                         section up before every paint, paints through an off-screen bitmap
//                         (the window is never erased), and reports mouse entry and exit.
//   TbsSkinCustomControl  adds the section's stretchable picture: the stretch points, the size
//                         the skin imposes, the window shape from the mask, and the default
//                         size and font used when no section is found.
//
// SkinData is referenced, not owned; it becomes null when that component goes. Pictures of
// the skin are referenced by index and looked up again at every lookup. GUI thread only.
#pragma once
#include <QString>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/NotifyingFont.h"
#include "skin/controls/ComposedImageCache.h"
#include "skin/controls/SkinStretch.h"
#include "skin/controls/bsSkinConsumer.h"

class TbsSkinData;
class TbsDataSkinControl;

class TbsSkinControl : public TCustomControl, public TbsSkinConsumer {
 public:
  explicit TbsSkinControl(TComponent* owner);
  ~TbsSkinControl() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinControl"); }

  TbsSkinData* SkinData() const override { return skinData_; }
  virtual void SetSkinData(TbsSkinData* value);
  const QString& SkinDataName() const { return skinDataName_; }
  // Takes effect at the next lookup.
  void SetSkinDataName(const QString& value) { skinDataName_ = value; }

  // Index of the section in the skin's control list; -1 when there is none.
  int SectionIndex() const { return sectionIndex_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Looks the section up again and copies its values.
  virtual void FetchSkinData();
  // Called when the skin data is set or replaced.
  void ApplySkinData() override;
  // Drops the section index before the skin changes.
  void ForgetSkinSection() override { sectionIndex_ = -1; }

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;
  // Draws the control image when no section is found.
  virtual void PaintWithoutSkin(TBitmap& bitmap) {}
  // Leaves the control image from the skin in `bitmap`, which comes empty (left empty, the
  // control is drawn white).
  virtual void PaintSkinImage(TBitmap& bitmap) {}
  // Draws the control image at the top-left corner.
  virtual void DrawControlImage(const TBitmap& bitmap);
  // The section entry the index names, or null.
  TbsDataSkinControl* SectionEntry() const;

  TbsSkinData* skinData_ = nullptr;  // referenced, not owned
  QString skinDataName_;
  int sectionIndex_ = -1;
};

class TbsSkinCustomControl : public TbsSkinControl {
 public:
  explicit TbsSkinCustomControl(TComponent* owner);
  ~TbsSkinCustomControl() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinCustomControl"); }

  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int v);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int v);
  const TFont& DefaultFont() const { return defaultFont_; }
  // Copies the font. Every change of DefaultFont (also through the setters of the font itself)
  // calls DefaultFontChanged and repaints while no section is found.
  void SetDefaultFont(const TFont& f) { defaultFont_ = f; }
  // For editing sub-properties in place through the font's setters.
  TNotifyingFont& DefaultFontRef() { return defaultFont_; }
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v) { useSkinFont_ = v; }

  // The section's stretch geometry (copies) and the points moved to the current size.
  const TSkinStretch& Stretch() const { return stretch_; }
  int StretchMode() const { return stretch_.StretchMode; }
  // Where derived controls put their content when a section is found.
  const TRect& StretchedClientRect() const { return stretch_.StretchedClientRect; }

  void FetchSkinData() override;
  void ApplySkinData() override;
  void SetBounds(int left, int top, int width, int height) override;

  // Changes a requested size in place to the one the skin allows.
  virtual void AdjustSkinSize(int& width, int& height);
  // Sets or drops the window shape.
  virtual void UpdateControlRegion();
  // Maps a rectangle in skin-rectangle coordinates onto the control at its current size.
  TRect MapSkinRect(const TRect& r) const { return stretch_.MapSkinRect(r, Width(), Height()); }

 protected:
  void PaintWithoutSkin(TBitmap& bitmap) override;
  void PaintSkinImage(TBitmap& bitmap) override;
  virtual void DefaultFontChanged() {}
  // Leaves in `bitmap` the image for the current size from `source` of `picture` (32-bit, kept
  // for the next paint); without a picture, a white image of the control's size.
  void ComposeControlImage(TBitmap& bitmap, const TBitmap* picture, const TRect& source);
  void DrawControlImage(const TBitmap& bitmap) override;
  // The canvas font by the font rule: the section's face when UseSkinFont, else DefaultFont.
  void SelectSkinFont(TCanvas& c, const QString& name, int height, uint8_t style) const;

  int defaultWidth_ = 0;
  int defaultHeight_ = 0;
  TNotifyingFont defaultFont_;
  bool useSkinFont_ = true;
  TSkinStretch stretch_;
  const TBitmap* skinPicture_ = nullptr;      // referenced (the skin's), not owned
  const TBitmap* skinMaskPicture_ = nullptr;  // referenced (the skin's), not owned
  TComposedImageCache composed_;              // images composed for the last paints
};

// A white bitmap for a control image; EOutOfResources beyond 32767 pixels a side or 2^27
// pixels, as for every composed skin image.
TBitmap ControlBitmap(int64_t width, int64_t height);

// The plain "Arial", height 14 font the skinned controls start with.
TFont SkinDefaultFont(TColor color);
