// skinview's main menu: File, Skin, Window and Help, with the commands behind each item given
// by the program. Every item has a shortcut, so the menu also works from the keyboard without
// a menu bar.
#pragma once
#include <QString>
#include <functional>

#include "BuiltInSkins.h"

class TCustomForm;
class TMainMenu;
class TMenuItem;

struct TSkinViewCommands {
  std::function<void()> OpenFolder, OpenPacked, Reload, Exit;
  std::function<void(int)> UseBuiltIn;  // index of the built-in skin
  std::function<void()> Tile, Cascade, ArrangeIcons;
  std::function<void()> About;
};

struct TSkinViewMenu {
  TMainMenu* Menu = nullptr;                 // owned by the form
  TMenuItem* WindowItem = nullptr;           // "&Window": the frame lists the children under it
  TMenuItem* BuiltIn[kBuiltInSkinCount] = {};  // the radio items of the built-in skins
};

// Makes the menu as a component of `form`; the items are named after their commands
// ("FileOpenFolder", "SkinBuiltIn0", "WindowTile"...).
TSkinViewMenu BuildSkinViewMenu(TCustomForm& form, const TSkinViewCommands& commands);
