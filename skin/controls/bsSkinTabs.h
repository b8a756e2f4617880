// TbsSkinPageControl and its pages. The page control keeps the platform's tab layout and
// selection and replaces all of its painting: the page frame and the tabs come from a "tab"
// section of the skin, or without one a 3-D page frame and flat tabs; the tab under the
// mouse is highlighted. Pages paint their background from the same section. SkinData is
// referenced, not owned. GUI thread only.
#pragma once
#include "platform/Bitmap.h"
#include "platform/PageControl.h"

class TbsSkinData;

class TbsSkinPageControl : public TPageControl {
 public:
  explicit TbsSkinPageControl(TComponent* owner);
  ~TbsSkinPageControl() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinPageControl"); }

  TbsSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TbsSkinData* v);
  const QString& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const QString& v) { skinDataName_ = v; }
  const TFont& DefaultFont() const { return defaultFont_; }
  void SetDefaultFont(const TFont& f) { defaultFont_ = f; }
  TFont& DefaultFontRef() { return defaultFont_; }
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v) { useSkinFont_ = v; }
  int DefaultItemHeight() const { return defaultItemHeight_; }
  void SetDefaultItemHeight(int v);

  int SectionIndex() const { return sectionIndex_; }
  int HotTab() const { return hotTab_; }
  int HotPage() const { return hotPage_; }

  void FetchSkinData();
  void ApplySkinData();
  TRect ItemRect(int visibleIndex) override;
  void Loaded() override;
  void WndProc(TMessage& m) override;

 protected:
  void AdjustDisplayRect(TRect& r) const override;
  void Change() override;
  void Paint() override;
  void Notification(TComponent* c, TOperation op) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void TrackHotTab(int x, int y);
  // Draws visible tab `i` into `canvas` (the control image or the window).
  void DrawTab(TCanvas& canvas, int visibleIndex, bool hot);
  void RedrawTab(int visibleIndex);

  int hotPage_ = -1, previousHotPage_ = -1;
  int hotTab_ = -1, previousHotTab_ = -1;
  TbsSkinData* skinData_ = nullptr;  // referenced, not owned
  QString skinDataName_ = QStringLiteral("tab");
  int sectionIndex_ = -1;
  TFont defaultFont_;
  bool useSkinFont_ = true;
  int defaultItemHeight_ = 20;
  // Copies of the tab section's values (client rectangle in skin-rectangle coordinates).
  TRect skinrect_, skinClientRect_;
  int bgpictureindex_ = -1;
};

class TbsSkinCustomTabSheet : public TTabSheet {
 public:
  explicit TbsSkinCustomTabSheet(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TbsSkinCustomTabSheet"); }
  void WndProc(TMessage& m) override;

 protected:
  // Paints the page background on `canvas` from the parent's section, or the button face.
  void PaintBackground(TCanvas& canvas);
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
 public:
  explicit TbsSkinTabSheet(TComponent* owner) : TbsSkinCustomTabSheet(owner) {}
  QString ClassName() const override { return QStringLiteral("TbsSkinTabSheet"); }
};
