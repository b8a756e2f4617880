// TbsSkinMenu: the menu driver. It keeps the stack of open menu windows (outermost first),
// opens a menu against a screen rectangle, opens sub-menus (at once on a click, after 500 ms
// on hover), runs the chosen item's command and closes the menu.
//
// The frame component owns one driver (owner: the frame; OwnerForm: the frame's form). When
// the last window has closed, the driver sends SkinMessageMenuClosed (1228) to BarControl
// (the control that opened the menu, if any) from CloseFrom(0), and to OwnerForm's window from
// CloseAll. While a menu is open it also watches for a mouse press outside every menu window
// and outside OwnerForm (another program's window, the desktop) and closes the menu then; it
// never grabs the pointer or the keyboard.
//
// Owns its windows and its timer. A platform item shown by an open window may be freed (its
// owner rebuilds a menu): the driver then closes the menu. GUI thread only.
#pragma once
#include <QImage>
#include <QString>
#include <memory>
#include <vector>

#include "platform/Component.h"
#include "platform/Font.h"
#include "platform/Timer.h"
#include "platform/Types.h"

class TMenuItem;
class TControl;
class TCustomForm;
class TbsSkinData;
class TbsSkinPopupWindow;
class TbsSkinMenuItem;
class TbsDataSkinPopupWindow;
class TbsDataSkinMenuItem;

class TbsSkinMenu : public TComponent {
 public:
  explicit TbsSkinMenu(TComponent* owner);
  ~TbsSkinMenu() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinMenu"); }

  // Opens a menu showing the children of `rootItem` from `firstIndex`, against `anchorRect`
  // (screen coordinates; a point P is the rectangle (P.X, P.Y, P.X, P.Y)). An open menu is
  // closed first. A root item without children opens nothing. `barControl` (may be nullptr)
  // is told with 1228 when this menu closes.
  void OpenMenu(TControl* barControl, TbsSkinData* skinData, bool openUp, TMenuItem* rootItem,
                const TRect& anchorRect, int firstIndex = 0);
  // Closes every window; tells BarControl and OwnerForm (1228).
  void CloseAll();
  // Closes the windows from index n to the last; n = 0 closes the menu and tells BarControl.
  void CloseFrom(int n);
  // An item was hovered or selected (click false) or clicked (click true).
  void ItemCommand(TbsSkinPopupWindow* window, TbsSkinMenuItem* item, bool byKeyboard, bool click);
  // Index of a window in OpenWindowList; the count when it is not there.
  int IndexOfWindow(const TbsSkinPopupWindow* window) const;
  // Opens one more level.
  void OpenWindow(const TRect& anchorRect, TMenuItem* rootItem, int firstIndex, bool isSubMenu, bool openUp);
  // Passes a key to the last open window (what the frame does while a menu is open).
  void HandleKey(uint16_t key);

  bool MenuOpen() const { return menuOpen_; }
  // Open windows, outermost first; owned by the driver.
  const std::vector<TbsSkinPopupWindow*>& OpenWindowList() const { return windows_; }
  TbsSkinPopupWindow* LastWindow() const { return windows_.empty() ? nullptr : windows_.back(); }
  bool FirstWindow() const { return firstWindow_; }

  // Item height of the default look (values above 0 only) and the font of the default look.
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v) {
    if (v > 0) itemHeight_ = v;
  }
  TFont ItemFont;  // "Arial", height 14, no style

  TbsSkinData* SkinData() const { return skinData_; }
  // The skin's popup window data and menu item object when the skinned look applies, else
  // nullptr (both or neither).
  const TbsDataSkinPopupWindow* SkinPopupData() const;
  const TbsDataSkinMenuItem* SkinItemData() const;
  // Work area of the primary display, read when a menu opens.
  TRect WorkArea() const { return workArea_; }
  void SetWorkArea(const TRect& r) { workArea_ = r; }
  // The sub-menu delay (500 ms) and the item waiting for it.
  TTimer& SubMenuTimer() { return *subMenuTimer_; }
  TbsSkinMenuItem* PendingItem() const { return pendingItem_; }
  void SubMenuTimerTick();

  TControl* BarControl() const { return barControl_; }
  // The form told when all menus are closed. Referenced; cleared when it goes.
  TCustomForm* OwnerForm() const { return ownerForm_; }
  void SetOwnerForm(TCustomForm* f);

  bool BlendOn = false;
  uint8_t BlendValue = 150;
  bool BlendAnimated = false;

  // The watch for presses outside the menus and OwnerForm (runs with the windows' hover tick).
  void CheckOutsidePress();

  // Images the windows compose (their frames), kept for the next window of the same size and
  // skin: the cached image of `key`, or nullptr; and keeping one (the oldest goes beyond four).
  const QImage* CachedImage(const QString& key) const;
  const QImage& CacheImage(const QString& key, const QImage& image);

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  friend class TbsSkinPopupWindow;
  friend class TbsSkinMenuItem;
  void WatchItems(TbsSkinPopupWindow* w);
  void UnwatchItems(TbsSkinPopupWindow* w);
  void ClearPending();
  void SetBarControl(TControl* c);
  void SetSkinData(TbsSkinData* d);
  const TbsDataSkinMenuItem* SkinItemDataAny() const;
  // Expires when the driver goes: callers that ran outside code check it before going on.
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
  bool menuOpen_ = false;
  bool firstWindow_ = false;
  int itemHeight_ = 20;
  TbsSkinData* skinData_ = nullptr;        // referenced
  TRect workArea_;
  std::unique_ptr<TTimer> subMenuTimer_;   // owned
  TbsSkinMenuItem* pendingItem_ = nullptr; // referenced (owned by its window)
  TControl* barControl_ = nullptr;         // referenced
  TCustomForm* ownerForm_ = nullptr;       // referenced
  std::vector<TbsSkinPopupWindow*> windows_;  // owned
  std::vector<std::pair<QString, QImage>> images_;  // CachedImage, newest last
  bool buttonWasDown_ = true;              // pointer state at the last outside-press check
  int closing_ = 0;                        // nesting of CloseFrom
};
