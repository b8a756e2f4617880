// The skinned popup menus: the driver, its windows and items, the popup menu component and
// the frame's side of the seam. Include this to use the menus.
#pragma once
#include "skin/menus/bsSkinMenu.h"
#include "skin/menus/bsSkinMenuHost.h"
#include "skin/menus/bsSkinMenuItem.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsSkinPopupWindow.h"
