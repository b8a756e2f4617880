// TbsSkinPopupWindow: one level of an open skinned menu. A top-level, frameless, top-most
// window without a task-bar entry that never takes the focus and is never activated by a
// click: the form keeps the keyboard, and its frame component passes every key to the last
// open window (HandleKey). It follows the mouse by polling (HoverTimer, 50 ms), scrolls when
// taller than the work area (10-pixel zones, 100 ms), fades its items (FadeTimer, 20 ms), and
// paints everything from an off-screen bitmap when asked to erase its background.
//
// Created and owned by the menu driver (TbsSkinMenu), which destroys it when its level closes;
// it owns its items, timers and region. Geometry in window coordinates unless it says screen.
// GUI thread only.
#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QRegion>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Timer.h"
#include "skin/menus/bsSkinMenuItem.h"

class TMenuItem;
class TCustomImageList;
class TbsSkinMenu;
class TbsDataSkinPopupWindow;
class TbsDataSkinMenuItem;

class TbsSkinPopupWindow : public TCustomControl {
 public:
  // `popupData` and `itemData` are the skin's objects for the skinned look; pass both nullptr
  // for the default look (either nullptr, or no window picture, gives the default look).
  TbsSkinPopupWindow(TbsSkinMenu* menu, const TbsDataSkinPopupWindow* popupData,
                     const TbsDataSkinMenuItem* itemData);
  ~TbsSkinPopupWindow() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinPopupWindow"); }

  // Builds the items of `rootItem` from `firstIndex`, measures, places the window against
  // `anchorRect` (screen coordinates), shows it without activating it and selects the first
  // enabled item.
  void ShowAt(const TRect& anchorRect, TMenuItem* rootItem, int firstIndex, bool isSubMenu, bool openUp);
  // A key press (virtual key code) passed on by the frame while the menu is open.
  void HandleKey(uint16_t key);

  // ---- Items and state ----
  TbsSkinMenu* Menu() const { return menu_; }
  TMenuItem* RootItem() const { return rootItem_; }
  int ItemCount() const { return static_cast<int>(items_.size()); }
  TbsSkinMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)).get(); }
  int IndexOfItem(const TbsSkinMenuItem* item) const;
  // The active item or nullptr.
  TbsSkinMenuItem* ActiveItem() const;
  int ActiveIndex = -1;
  int OldActiveIndex = -1;
  int FirstVisible = 0;
  int ShownCount = 0;
  bool Scrolling = false;
  int ScrollDirection = 0;  // 0 none, 1 up, 2 down
  bool IsSubMenu() const { return isSubMenu_; }
  // The window's rectangle on the screen.
  TRect ScreenBounds() const { return BoundsRect(); }

  // ---- Skin ----
  const TbsDataSkinPopupWindow* PopupData = nullptr;  // referenced; nullptr: default look
  const TbsDataSkinMenuItem* ItemData = nullptr;      // referenced; nullptr: default look
  const TBitmap* FramePicture = nullptr;              // referenced
  const TBitmap* ShapePicture = nullptr;              // referenced; optional mask
  TPoint MappedLeftTop, MappedRightTop, MappedLeftBottom, MappedRightBottom;
  TRect MappedItemsRect;
  TCustomImageList* Images = nullptr;                 // referenced (the platform menu's)
  int GlyphColumn = 19;
  TPoint LastMousePos = TPoint(-1, -1);
  bool Skinned() const { return PopupData != nullptr; }

  // ---- Behaviour ----
  void HandleMouseMove(const TPoint& p);
  void HandleMouseUp(TMouseButton button, const TPoint& p);
  void Select(TbsSkinMenuItem* item, bool byKeyboard);
  void Deselect(TbsSkinMenuItem* item);
  void Activate(TbsSkinMenuItem* item);
  void SelectNext();
  void SelectPrevious();
  bool CanScrollUp() const { return FirstVisible > 0; }
  bool CanScrollDown() const { return FirstVisible + ShownCount - 1 < ItemCount() - 1; }
  void ScrollUp(bool wrap);
  void ScrollDown(bool wrap);
  void StartScroll();
  void StopScroll();
  bool ScrollTimerRunning() const;
  int LastPageStart() const;
  // One tick of the hover timer, the scroll timer and the fade timer (the timers call these).
  void HoverTick();
  void ScrollTick();
  void FadeTick();
  TTimer& HoverTimer() { return *hoverTimer_; }
  TTimer& FadeTimer() { return *fadeTimer_; }

  // ---- Layout ----
  void BuildItems(TMenuItem* rootItem, int firstIndex);
  // Window size from the items (sets Scrolling when taller than the work area).
  TPoint MeasureWindow();
  void MapFrame(int w, int h);
  void LayoutItems();
  void UpdateRegion();
  const QRegion& Region() const { return region_; }
  // Text width of an item as measured: caption (and two blanks and the shortcut) plus 2.
  int ItemTextWidth(const TMenuItem* item);

  // ---- Painting ----
  // The window on `canvas` (its backing store, window coordinates): what the platform asks for.
  void PaintAll(TCanvas& canvas);
  // The whole window into `bmp` (resized to the window size).
  void PaintTo(TBitmap& bmp);
  void DrawScrollMarker(TCanvas& canvas, bool up);
  // Starts the fade of `item` or draws it on the window at once.
  void Redraw(TbsSkinMenuItem* item);
  // Draws one item (or marker) straight onto the window, outside a paint.
  void DrawItemNow(TbsSkinMenuItem* item);
  void DrawMarkersNow();
  // Repaints the whole window now (after a scroll or a layout change).
  void RepaintAll();
  // The font items are measured and drawn with (set by BuildItems).
  const TFont& ItemsFont() const { return itemsFont_; }
  const QFont& ItemsQFont() const { return itemsQFont_; }
  const QFontMetrics& ItemsFontMetrics() const { return *itemsMetrics_; }
  // A picture of the menu's skin, or nullptr when the index names none.
  const TBitmap* SkinPicture(int index) const;
  // Scratch bitmaps the fading items draw their two faces into (reused across items and paints).
  TBitmap& ItemBuffer() { return itemBuffer_; }
  TBitmap& ItemBuffer2() { return itemBuffer2_; }
  // The skinned item faces composed for the items' width, in the window image's format; made
  // once per window size.
  enum TFace { fcNormal, fcActive, fcDivider };
  const QImage& SkinFace(TFace face);

  void WndProc(TMessage& m) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  bool WantsFocus() const override { return false; }

 private:
  void CloseAfterThis();
  // The frame, the items meeting `dirty`, and the markers.
  void PaintOn(TCanvas& c, const QRegion& dirty);
  // The walk of SelectNext (down) and SelectPrevious.
  void StepSelection(bool down);
  void DrawRectNow(const TRect& r);
  TbsSkinMenu* menu_;                 // referenced: the driver owns this window
  TMenuItem* rootItem_ = nullptr;     // referenced
  bool isSubMenu_ = false;
  std::vector<std::unique_ptr<TbsSkinMenuItem>> items_;  // owned
  std::unique_ptr<TTimer> hoverTimer_;   // owned, 50 ms
  std::unique_ptr<TTimer> fadeTimer_;    // owned, 20 ms
  std::unique_ptr<TTimer> scrollTimer_;  // owned, 100 ms (the window's timer 1)
  QRegion region_;
  TFont itemsFont_;
  QFont itemsQFont_;
  std::unique_ptr<QFontMetrics> itemsMetrics_;
  TBitmap itemBuffer_, itemBuffer2_;
  // A 32-bit copy of a skin picture (the window image's format), made once per window.
  const TBitmap& Wide(const TBitmap& picture);
  std::vector<std::pair<const TBitmap*, std::unique_ptr<TBitmap>>> wide_;  // owned copies
  QImage faces_[3];                      // SkinFace, for facesWidth_
  int facesWidth_ = -1;
  std::shared_ptr<int> life_ = std::make_shared<int>(0);  // expires with the window
};
