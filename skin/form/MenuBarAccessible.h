// Screen readers see a skinned menu bar as a menu bar whose children are its items (menu items
// named by their captions without the accelerator mark, with a press action that opens the
// item's menu or runs its command) and, while an MDI child is maximized, the child's buttons
// (push buttons "System menu", "Minimize", "Restore" and "Close" with press actions). Installed
// once for the process. GUI thread only.
#pragma once

void InstallMenuBarAccessibility();
