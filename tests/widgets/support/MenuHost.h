// What the menu tests share: a frame-like host component that owns a menu driver (as the frame
// component does), menus built from caption lists, and the skins of the source tree.
#pragma once
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/Forms.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/menus/bsSkinMenus.h"
#include "tests/TestUtil.h"

// A component of a form that hosts menus: it owns one driver told about its form.
class TTestMenuHost : public TComponent, public TbsMenuHost {
 public:
  explicit TTestMenuHost(TCustomForm* form) : TComponent(form), driver_(new TbsSkinMenu(this)) {
    driver_->SetOwnerForm(form);
  }
  TbsSkinMenu* MenuDriver() const override { return driver_; }
  TbsSkinData* MenusSkinData() const override { return menusSkin; }
  TbsSkinData* SkinData() const override { return skin; }
  void NotifyMenuOpened() override { ++opened; }

  TbsSkinData* menusSkin = nullptr;
  TbsSkinData* skin = nullptr;
  int opened = 0;

 private:
  TbsSkinMenu* driver_;  // owned as a component
};

inline void LoadSkinFolder(TbsSkinData* data, const char* folder) {
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder)));
  data->LoadFromStoredSkin(stored);
}

// Items under `parent` from captions, owned by `owner`; "-" is a divider.
inline std::vector<TMenuItem*> AddItems(TComponent* owner, TMenuItem* parent, const QStringList& captions) {
  std::vector<TMenuItem*> out;
  for (const QString& c : captions) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(c);
    parent->Add(item);
    out.push_back(item);
  }
  return out;
}
