// TbsSkinMenuItem: one entry of an open menu window, showing one platform menu item. Plain
// object owned by its window (TbsSkinPopupWindow); it lives and dies with the window.
// Geometry in window coordinates. GUI thread only.
#pragma once
#include "platform/Bitmap.h"
#include "platform/Types.h"

class TMenuItem;
class TCanvas;
class TbsSkinPopupWindow;
class TbsDataSkinMenuItem;

class TbsSkinMenuItem {
 public:
  // `data` is the skin's menu item object for the skinned look, nullptr for the default look.
  TbsSkinMenuItem(TbsSkinPopupWindow* window, TMenuItem* source, const TbsDataSkinMenuItem* data);
  virtual ~TbsSkinMenuItem() = default;
  TbsSkinMenuItem(const TbsSkinMenuItem&) = delete;
  TbsSkinMenuItem& operator=(const TbsSkinMenuItem&) = delete;

  // True when the item is in view and still has fading to do toward its lit or unlit face.
  // An item out of view with a fade position other than 0 drops its highlight instead.
  virtual bool CanMorph();
  // One fade step of 0.1 toward the lit face (lit) or the normal face, clamped to 0..1.
  void StepMorph();
  // Draws the item at ItemBounds on `canvas` (window coordinates); nothing when not in view.
  void PaintItem(TCanvas& canvas);

  // Caption "-".
  bool IsDivider() const;
  // Highlighted or showing its sub-menu.
  bool Lit() const { return Highlighted || SubMenuShown; }
  bool HasChildren() const;
  bool ItemEnabled() const;
  // Height of the item: skinned from skinrect / dividerrect, default from the driver's ItemHeight.
  int Height() const;

  TbsSkinPopupWindow* Window;              // the owning window; referenced
  const TbsDataSkinMenuItem* ItemData;     // referenced (skin data's list); nullptr: default look
  const TBitmap* ItemPicture = nullptr;    // referenced (skin data's pictures)
  TMenuItem* SourceItem;                   // referenced (the platform's item)
  TRect ItemBounds;
  bool Highlighted = false;
  bool SubMenuShown = false;
  bool InView = true;
  double MorphFactor = 0;
  // The normal and active rectangles in ItemPicture; empty when the item object names no picture
  // (the item then has no height).
  TRect SkinRect;
  TRect ActiveSkinRect;

 private:
  // The default look and one skinned face, in item coordinates on `c`.
  void PaintDefault(TCanvas& c, int width, int height);
  void PaintSkinnedFace(TCanvas& c, bool active);
};
