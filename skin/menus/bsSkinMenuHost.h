// The frame component as the menus see it. The frame (TbsSkinForm) implements this; the menus
// never include the frame's headers (skin/form depends on skin/menus, not the reverse).
#pragma once

class TbsSkinMenu;
class TbsSkinData;

class TbsMenuHost {
 public:
  virtual ~TbsMenuHost() = default;
  // The one menu driver of the frame; owned by the frame.
  virtual TbsSkinMenu* MenuDriver() const = 0;
  // The skin of the frame's menus, or nullptr (then SkinData serves).
  virtual TbsSkinData* MenusSkinData() const = 0;
  virtual TbsSkinData* SkinData() const = 0;
  // A skinned popup menu of the form is about to open: the frame enters its menu state
  // (hooks the key routing, raises OnSkinMenuOpen once).
  virtual void NotifyMenuOpened() = 0;
};
