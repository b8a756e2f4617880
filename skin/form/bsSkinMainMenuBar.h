// TbsSkinMainMenuBar: a skinned control that shows a form's main menu as a bar of items at the
// top of the client area. Each item opens the sub-menu of its top-level menu entry as a skinned
// popup through the frame component's menu driver; the frame reaches the bar through
// TbsMenuBarLink for its keyboard menu mode (Alt, F10, the arrows, accelerators, Enter). While
// an MDI child of the form is maximized, the bar also carries that child's system-menu,
// minimize, restore and close buttons. Items that do not fit are hidden behind an overflow
// arrow at the right end, which opens a popup of them.
//
// The bar owns its objects (bsMenuBarObjects.h) and its two timers; SkinForm, MainMenu and
// SkinData are referenced and cleared when they go. Its skin is the control section named by
// SkinDataName ("mainmenubar"); without one it draws a plain look in system colours.
// GUI thread only.
#pragma once
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Timer.h"
#include "skin/controls/bsSkinControl.h"
#include "skin/data/SkinIni.h"
#include "skin/form/bsMenuBarLink.h"

class TMainMenu;
class TMenuItem;
class TbsSkinForm;
class TbsMenuBarObject;
class TbsSkinMainMenuBarItem;
class TbsSkinMainMenuBarButton;
class TbsDataSkinObject;

class TbsSkinMainMenuBar : public TbsSkinControl, public TbsMenuBarLink {
 public:
  explicit TbsSkinMainMenuBar(TComponent* owner);
  ~TbsSkinMainMenuBar() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinMainMenuBar"); }

  // ---- Published properties ----
  // Item font without an item object in the skin.
  const TFont& DefItemFont() const { return defItemFont_; }
  void SetDefItemFont(const TFont& f);
  TFont& DefItemFontRef() { return defItemFont_; }  // edit in place, then DefItemFontEdited()
  void DefItemFontEdited();
  // Size used without a section (applied when above 0).
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int v);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int v);
  // Sub-menus open above the bar.
  bool PopupToUp = false;
  // The frame component of the form. Referenced.
  TbsSkinForm* SkinForm() const { return skinForm_; }
  void SetSkinForm(TbsSkinForm* v);
  // The menu shown; setting it rebuilds the items and repaints. Referenced.
  TMainMenu* MainMenu() const override { return mainMenu_; }
  void SetMainMenu(TMainMenu* v);

  // ---- TbsMenuBarLink: the frame's keyboard menu mode ----
  void EnterMenuMode() override;
  void DropMenuMode() override;
  void PressedToHighlighted() override;
  void FollowingItem() override;
  void PreviousItem() override;
  bool Accelerator(uint16_t key) override;
  bool RunSelected() override;
  // The form got SkinMessageChildMaximized / SkinMessageChildRestored.
  void ShowChildButtons() override;
  void HideChildButtons() override;

  // ---- Skin ----
  void FetchSkinData() override;
  void ApplySkinData() override;
  void ForgetSkinSection() override;
  // With a section the height is the section's.
  void SetBounds(int left, int top, int width, int height) override;

  // ---- State (for the objects, accessibility and tests) ----
  const std::vector<std::unique_ptr<TbsMenuBarObject>>& BarObjects() const { return objects_; }
  // The items (after the child buttons).
  std::vector<TbsSkinMainMenuBarItem*> Items() const;
  int ChildButtonCount() const { return childButtonCount_; }
  bool ChildButtonsShown() const { return childButtonsShown_; }
  // The child button of `command`, or nullptr.
  TbsSkinMainMenuBarButton* ChildButton(TStdButtonCommand command) const;
  bool MenuMode() const { return menuMode_; }
  void SetMenuMode(bool v) { menuMode_ = v; }
  bool Overflow() const { return overflow_; }
  bool OverflowHot() const { return overflowHot_; }
  int HoverIndex() const { return hoverIndex_; }
  int CaptureIndex() const { return captureIndex_; }
  const TRect& ItemsArea() const { return itemsArea_; }
  // The overflow arrow's rectangle (meaningful while Overflow).
  TRect OverflowRect() const;
  TTimer& HoverTimer() { return *hoverTimer_; }
  TTimer& MorphTimer() { return *morphTimer_; }
  // True when a section of SkinDataName is found.
  bool HasSection() const { return sectionIndex_ != -1; }
  // The section's bar picture (or none).
  const TBitmap* BarPicture() const { return barPicture_; }

  // Rebuilds the items from MainMenu (and the child buttons when they are shown).
  void BuildItems();
  // Places the child buttons and the items for the current size.
  void ArrangeBar();
  // The whole bar image at the current size.
  void PaintBar(TBitmap& image);
  // The part `area` of the bar image (bar coordinates) into `image`, sized to it.
  void PaintArea(TBitmap& image, const TRect& area);
  // Redraws one object on the window.
  void RedrawObject(TbsMenuBarObject* object);
  // Hover tracking at a bar point.
  void TrackBar(int x, int y);
  // Acts as a click on the object would (screen readers' press action): an item opens its menu
  // or runs its command; a child button runs its command or opens the child's system menu.
  void ActivateObject(TbsMenuBarObject* object);
  // The press that opens the popup of the items that did not fit.
  void OpenOverflowMenu();
  // The screen rectangle of a bar rectangle.
  TRect ScreenRect(const TRect& r) const;
  // The frame component of the form's maximized MDI child, or nullptr.
  TbsSkinForm* ChildSkinForm() const;
  // The first pressed item, or nullptr.
  TbsSkinMainMenuBarItem* PressedItem() const;
  // Text width of a caption in an item's font.
  int CaptionWidth(const TbsSkinMainMenuBarItem* item) const;
  // The font of an item's caption (the item's own with a skin item object, else DefItemFont).
  TFont ItemFont(const TbsSkinMainMenuBarItem* item) const;

  // Skin values copied from the section.
  TRect BarSkinRect;
  TRect itemsrect;
  QString menubaritem, closebutton, maxbutton, minbutton, sysmenubutton;
  TColor trackmarkcolor = 0;
  TColor trackmarkactivecolor = 0;

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;
  // The bar takes its own mouse messages: they do not go on to the form underneath.
  void DefaultHandler(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;

 private:
  void ClearObjects();
  void CreateChildButtons();
  void ApplyChildIcons();
  void RemoveChildButtons();
  const TbsDataSkinObject* SkinObject(const QString& name) const;
  void HoverTick();
  void MorphTick();
  void WatchMenuItem(TMenuItem* item, bool on);
  // The index in objects_ of the first enabled object holding the point, or -1.
  int ObjectAt(int x, int y) const;
  // Items that take keyboard moves: enabled and fitting.
  std::vector<TbsSkinMainMenuBarItem*> NavigableItems() const;
  void ResetHover() { hoverIndex_ = prevHoverIndex_ = -1; }
  // The hovered object becomes `object` without mouse calls (keyboard moves).
  void SetHover(TbsMenuBarObject* object);
  void MoveHighlight(int step);
  bool PopupOpen() const;
  // The section's height (within the drawable range), or 0 without one.
  int SkinHeight() const;
  // Repaints the part `r` of the bar now (drawing only that part).
  void RepaintArea(const TRect& r);
  // Composes the background for the current size and skin unless it is already there.
  void ComposeBackground();

  TFont defItemFont_;
  int defaultWidth_ = 0;
  int defaultHeight_ = 22;
  TbsSkinForm* skinForm_ = nullptr;  // referenced
  TMainMenu* mainMenu_ = nullptr;    // referenced
  std::vector<std::unique_ptr<TbsMenuBarObject>> objects_;  // owned: child buttons, then items
  // Objects taken off the bar while one of them may still be running; freed at the next event.
  std::vector<std::unique_ptr<TbsMenuBarObject>> retired_;
  int childButtonCount_ = 0;
  bool childButtonsShown_ = false;
  bool menuMode_ = false;
  bool overflow_ = false;
  bool overflowHot_ = false;
  int hoverIndex_ = -1;
  int prevHoverIndex_ = -1;
  int captureIndex_ = -1;
  TRect itemsArea_;
  const TBitmap* barPicture_ = nullptr;  // the skin's; referenced
  std::unique_ptr<TTimer> hoverTimer_;   // owned
  std::unique_ptr<TTimer> morphTimer_;   // owned
  // The composed background of the last paint and the size and skin it was made for.
  TBitmap background_;
  QString backgroundKey_;
  // The part being repainted by RepaintArea (bar coordinates); none for a whole paint.
  std::optional<TRect> redrawArea_;
  // Expires with the bar: callers that ran outside code check it before going on.
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};
