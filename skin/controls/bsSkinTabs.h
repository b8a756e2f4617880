// TbsSkinPageControl and its pages. The page control keeps the platform's tab layout and
// selection and replaces all of its painting: the page frame and the tabs come from a "tab"
// section of the skin, or without one a 3-D page frame and flat tabs; the tab under the
// mouse is highlighted. When a single row of tabs does not fit, a skinned up-down at the end
// of the strip scrolls it. Pages paint their background from the same section.
//
// SkinData is referenced, not owned; the skin picture is the skin's and is looked up again at
// every lookup. The tab scroller is owned. Section rectangles are in picture coordinates,
// the client rectangle and the stretch points in skin-rectangle coordinates. GUI thread only.
#pragma once
#include "platform/Bitmap.h"
#include "platform/PageControl.h"
#include "skin/controls/bsSkinConsumer.h"

class TbsSkinData;
class TbsSkinUpDown;

class TbsSkinPageControl : public TPageControl, public TbsSkinConsumer {
 public:
  explicit TbsSkinPageControl(TComponent* owner);
  ~TbsSkinPageControl() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinPageControl"); }

  TbsSkinData* SkinData() const override { return skinData_; }
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
  // The strip's scroll buttons while a single row of tabs does not fit; null otherwise.
  TbsSkinUpDown* TabScroller() const { return tabScroller_; }

  // Copies of the section's values after the last lookup.
  const TRect& SkinRect() const { return skinrect_; }
  const TRect& SkinClientRect() const { return skinClientRect_; }
  const TRect& TabLook() const { return tabrect_; }
  const TRect& ActiveTabLook() const { return activetabrect_; }
  const TRect& FocusTabLook() const { return focustabrect_; }
  const TRect& MouseInTabLook() const { return mouseintabrect_; }
  const TBitmap* SkinPicture() const { return skinPicture_; }
  int BgPictureIndex() const { return bgpictureindex_; }

  void FetchSkinData();
  void ApplySkinData() override;
  // Drops the section and the skin picture it referenced.
  void ForgetSkinSection() override {
    sectionIndex_ = -1;
    skinPicture_ = nullptr;
  }
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
  void PaintPageFrameWithSkin(TBitmap& image);
  // Draws visible tab `i` (page `page`) into `canvas` at its tab rectangle.
  void DrawTab(TCanvas& canvas, int visibleIndex, TTabSheet* page, bool hot);
  void RedrawTab(int visibleIndex);
  // The image of `page` (from Images, by the page's position) and its caption, centred
  // together in a tab image of w x h.
  void DrawImageAndCaption(TCanvas& c, int w, int h, TTabSheet* page);
  // Tabs that lie (partly) beyond the strip's end or scrolled off to the left.
  int HiddenTabCount();
  int ScrolledOffTabCount();
  void SetUpTabScroller();
  void FreeTabScroller();
  void TabScrollerChanged();

  int hotPage_ = -1, previousHotPage_ = -1;
  int hotTab_ = -1, previousHotTab_ = -1;
  TbsSkinData* skinData_ = nullptr;  // referenced, not owned
  QString skinDataName_ = QStringLiteral("tab");
  int sectionIndex_ = -1;
  TbsSkinUpDown* tabScroller_ = nullptr;  // owned (also as a component of this control)
  TFont defaultFont_;
  bool useSkinFont_ = true;
  int defaultItemHeight_ = 20;
  const TBitmap* skinPicture_ = nullptr;  // the skin's, not owned
  TRect skinrect_, skinClientRect_;
  TRect tabrect_, activetabrect_, focustabrect_, mouseintabrect_;
  TRect tabsbgrect_;
  TPoint lefttoppoint_, righttoppoint_, leftbottompoint_, rightbottompoint_;
  int tableftoffset_ = 0, tabrightoffset_ = 0;
  QString fontname_;
  uint8_t fontstyle_ = 0;
  int fontheight_ = 0;
  TColor fontcolor_ = 0, activefontcolor_ = 0, focusfontcolor_ = 0, mouseinfontcolor_ = 0;
  QString upDownName_;
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
