// Screen readers see each open menu window as a popup menu whose children are its items: menu
// items named by their captions without the accelerator mark (the shortcut is the key binding),
// with their checked and enabled states and a press action that runs the item as a click does;
// dividers are separators. Installed once for the process. GUI thread only.
#pragma once

void InstallMenuAccessibility();

class TbsSkinPopupWindow;
// Tells screen readers that a menu window opened or closes, and which of its items is selected.
void NotifyMenuShown(TbsSkinPopupWindow* window, bool shown);
void NotifyMenuItemSelected(TbsSkinPopupWindow* window, int index);
