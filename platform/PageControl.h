// The platform's page control: a row of tabs over a stack of pages (TTabSheet), one shown at
// a time. It keeps the tab layout (each tab as wide as its caption in Font plus margins, one
// row that scrolls sideways), selects a page on a click or the arrow keys, and reports the
// display rectangle in which the active page lies. Classes that draw the control their own
// way override Paint, ItemRect and AdjustDisplayRect. Pages are owned by their owner
// component and referenced here in page order. GUI thread only.
#pragma once
#include <vector>

#include "platform/Controls.h"

class TPageControl;
class TCustomImageList;

// WM_HSCROLL request that scrolls to the position in the high word of WParam.
constexpr int SB_THUMBPOSITION = 4;

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

using TTabChangingEvent = TEvent<TComponent*, bool&>;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  QString ClassName() const override { return QStringLiteral("TTabSheet"); }

  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pc);
  // Position among the pages of its page control; -1 when it has none.
  int PageIndex() const;
  void SetPageIndex(int index);
  // Index among the tabs shown; -1 when the tab is hidden.
  int TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  // The image of this page's tab in the page control's Images; -1 = none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);

  void SetParent(TWinControl* parent) override;
  void WndProc(TMessage& m) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;  // referenced, not owned
  bool tabVisible_ = true;
  int imageIndex_ = 0;
};

class TPageControl : public TCustomControl {
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  QString ClassName() const override { return QStringLiteral("TPageControl"); }

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int i) const { return pages_.at(static_cast<size_t>(i)); }
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
  void SetActivePageIndex(int i);
  // The selected tab among the visible ones; -1 when none.
  int TabIndex() const;
  void SetTabIndex(int i);
  // Pages whose tab is shown, in page order.
  std::vector<TTabSheet*> VisibleTabs() const;
  // The page after (or before) `current` with a visible tab, wrapping around.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward) const;
  void SelectNextPage(bool goForward);
  // Selects `page` as a user would: asks OnChanging, then shows it and reports the change.
  void SelectPage(TTabSheet* page);

  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition p);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle s);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  // Height of every tab; 0 = from the font.
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int h);
  // Width of every tab; 0 = from its caption.
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int w);
  // Pictures shown on the tabs (referenced, not owned; dropped when the list goes). Each tab
  // is as much wider as an image and its gap.
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* list);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v) { hotTrack_ = v; }

  // Tabs scrolled off to the left of a single row.
  int FirstTab() const { return firstTab_; }
  // Scrolls the row so that `n` tabs lie off to the left.
  void ScrollTabs(int n);

  // Rectangle of the visible tab `i` in control coordinates (a tab scrolled off to the left
  // has its right edge at or below 0).
  virtual TRect ItemRect(int visibleIndex);
  // Index of the visible tab holding the client point (right and bottom exclusive), or -1.
  int IndexOfTabAt(int x, int y);
  // The page area for the control's current size.
  TRect DisplayRect();
  void AdjustClientRect(TRect& r) const override;
  // Schedules a repaint of the part `r` of the control alone.
  void InvalidateRect(const TRect& r);

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  void WndProc(TMessage& m) override;
  void Loaded() override;

 protected:
  friend class TTabSheet;
  void Notification(TComponent* c, TOperation op) override;
  // The page area as the platform lays it out, then as the class adjusts it.
  TRect PlatformDisplayRect() const;
  virtual void AdjustDisplayRect(TRect& r) const {}
  // Rectangle of a visible tab as the platform lays it out.
  TRect PlatformItemRect(int visibleIndex);
  virtual bool CanChange();
  // The page-change notification: the active page changed.
  virtual void Change();
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void ShowActivePage();
  int ItemHeight();
  int ItemWidth(TTabSheet* page);
  // True when the whole row of visible tabs fits along the control.
  bool RowFits();

  std::vector<TTabSheet*> pages_;    // referenced, page order
  TTabSheet* activePage_ = nullptr;  // referenced
  TTabPosition tabPosition_ = TTabPosition::tpTop;
  TTabStyle style_ = TTabStyle::tsTabs;
  bool multiLine_ = false;
  bool hotTrack_ = false;
  int tabHeight_ = 0;
  int tabWidth_ = 0;
  int firstTab_ = 0;
  TCustomImageList* images_ = nullptr;  // referenced, not owned
};
