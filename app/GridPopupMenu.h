// The grids' context menu: a skinned popup menu with one grid's copy and export commands,
// "複製" (the cell), "複製整列" (the row or the range), "全部複製" (every row) and "匯出 CSV…".
// The form owns the menu and its items; the grid only refers to it. GUI thread only.
#pragma once

class TComponent;
class TCustomDBGrid;
class TbsSkinPopupMenu;

// Makes the menu, owned by `owner` (the form whose frame component shows it), and gives it to
// `grid` as its PopupMenu.
TbsSkinPopupMenu* AttachGridPopupMenu(TComponent* owner, TCustomDBGrid* grid);
