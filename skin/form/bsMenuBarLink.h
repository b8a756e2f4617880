// What the frame component asks of its form's skinned menu bar (the control its MainMenuBar
// names). The bar control implements this; the frame keeps MainMenuBar as a plain component
// reference and reaches the bar through this interface, so that a form without a bar, or
// with another kind of component there, simply has no bar. GUI thread only.
#pragma once
#include <cstdint>

class TMainMenu;

class TbsMenuBarLink {
 public:
  virtual ~TbsMenuBarLink() = default;
  // The menu the bar shows, or nullptr.
  virtual TMainMenu* MainMenu() const = 0;
  // Keyboard menu mode: the highlighted (or first) item becomes hot, and the bar asks the
  // frame to enter its menu mode (TbsSkinForm::EnterMenuMode).
  virtual void EnterMenuMode() = 0;
  // Menu mode ends: the pressed or highlighted item drops both.
  virtual void DropMenuMode() = 0;
  // The popup of the pressed item closed by Escape: the item stays highlighted, not pressed.
  virtual void PressedToHighlighted() = 0;
  // Moves the highlight to the next / previous item, wrapping at the ends.
  virtual void FollowingItem() = 0;
  virtual void PreviousItem() = 0;
  // Offers a key as an item's accelerator; true when an item took it.
  virtual bool Accelerator(uint16_t key) = 0;
  // Runs the selected item's command (a pressed item without sub-items, or a highlighted one
  // while no popup is open); true when there was one.
  virtual bool RunSelected() = 0;
  // An MDI child of the form was maximized: the bar carries its window buttons. A child left
  // that state or went: the buttons go when no maximized child is left.
  virtual void ShowChildButtons() {}
  virtual void HideChildButtons() {}
};
