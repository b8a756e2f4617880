#include "skin/form/SkinFormRegistry.h"

#include "platform/Menus.h"
#include "platform/Streaming.h"
#include "skin/controls/SkinControlsRegistry.h"
#include "skin/data/SkinData.h"
#include "skin/form/bsSkinMainMenuBar.h"
#include "skin/form/bsSkinForm.h"

namespace {
const TIdentTable& SkinBorderIconIdents() {
  static const TIdentTable t = {{QStringLiteral("biSystemMenu"), biSystemMenu},
                                {QStringLiteral("biMinimize"), biMinimize},
                                {QStringLiteral("biMaximize"), biMaximize},
                                {QStringLiteral("biRollUp"), biRollUp},
                                {QStringLiteral("biMinimizeToTray"), biMinimizeToTray}};
  return t;
}

template <class F>
auto Field(F TbsSkinForm::*m) {
  return std::make_pair([m](const TbsSkinForm* f) { return f->*m; }, [m](TbsSkinForm* f, F v) { f->*m = v; });
}
}  // namespace

void RegisterSkinFormClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterPlatformClasses();

  auto b = RegisterClass<TbsSkinForm>(QStringLiteral("TbsSkinForm"), QStringLiteral("TComponent"));
  auto boolean = [&b](const char* name, bool TbsSkinForm::*m, bool def) {
    auto [get, set] = Field(m);
    b.Bool(QLatin1String(name), get, set, def);
  };
  auto byte = [&b](const char* name, uint8_t TbsSkinForm::*m, int def) {
    auto [get, set] = Field(m);
    b.Integer(QLatin1String(name), get, set, def);
  };
  b.Bool(QStringLiteral("ShowIcon"), &TbsSkinForm::ShowIcon, &TbsSkinForm::SetShowIcon, false);
  boolean("MaximizeOnFullScreen", &TbsSkinForm::MaximizeOnFullScreen, false);
  b.Bool(QStringLiteral("AlphaBlend"), &TbsSkinForm::AlphaBlend, &TbsSkinForm::SetAlphaBlend, false);
  boolean("AlphaBlendAnimation", &TbsSkinForm::AlphaBlendAnimation, false);
  b.Integer(
      QStringLiteral("AlphaBlendValue"), [](const TbsSkinForm* f) { return int{f->AlphaBlendValue()}; },
      [](TbsSkinForm* f, int v) { f->SetAlphaBlendValue(static_cast<uint8_t>(v)); }, 200);
  boolean("ShowObjectHint", &TbsSkinForm::ShowObjectHint, false);
  b.Bool(QStringLiteral("MenusAlphaBlend"), &TbsSkinForm::MenusAlphaBlend, &TbsSkinForm::SetMenusAlphaBlend, false);
  b.Bool(QStringLiteral("MenusAlphaBlendAnimation"), &TbsSkinForm::MenusAlphaBlendAnimation,
         &TbsSkinForm::SetMenusAlphaBlendAnimation, false);
  b.Integer(
      QStringLiteral("MenusAlphaBlendValue"), [](const TbsSkinForm* f) { return int{f->MenusAlphaBlendValue()}; },
      [](TbsSkinForm* f, int v) { f->SetMenusAlphaBlendValue(static_cast<uint8_t>(v)); }, 200);
  b.Font(QStringLiteral("DefCaptionFont"), [](TbsSkinForm* f) { return &f->DefCaptionFont; });
  b.Font(QStringLiteral("DefInActiveCaptionFont"), [](TbsSkinForm* f) { return &f->DefInActiveCaptionFont; });
  b.Integer(QStringLiteral("DefMenuItemHeight"), &TbsSkinForm::DefMenuItemHeight, &TbsSkinForm::SetDefMenuItemHeight,
            20);
  b.Font(QStringLiteral("DefMenuItemFont"), [](TbsSkinForm* f) { return &f->DefMenuItemFont; });
  boolean("UseDefaultSysMenu", &TbsSkinForm::UseDefaultSysMenu, true);
  b.Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinForm::SkinData, &TbsSkinForm::SetSkinData);
  b.Reference<TbsSkinData>(QStringLiteral("MenusSkinData"), &TbsSkinForm::MenusSkinData,
                           &TbsSkinForm::SetMenusSkinData);
  b.Reference<TComponent>(QStringLiteral("SkinHint"), &TbsSkinForm::SkinHint, &TbsSkinForm::SetSkinHint);
  b.Reference<TComponent>(QStringLiteral("TrayIcon"), &TbsSkinForm::TrayIcon, &TbsSkinForm::SetTrayIcon);
  b.Reference<TComponent>(QStringLiteral("MainMenuBar"), &TbsSkinForm::MainMenuBar, &TbsSkinForm::SetMainMenuBar);
  b.Reference<TPopupMenu>(QStringLiteral("SystemMenu"), &TbsSkinForm::SystemMenu, &TbsSkinForm::SetSystemMenu);
  {
    auto [get, set] = Field(&TbsSkinForm::MinHeight);
    b.Integer(QStringLiteral("MinHeight"), get, set, 0);
  }
  {
    auto [get, set] = Field(&TbsSkinForm::MinWidth);
    b.Integer(QStringLiteral("MinWidth"), get, set, 0);
  }
  boolean("Magnetic", &TbsSkinForm::Magnetic, false);
  byte("MagneticSize", &TbsSkinForm::MagneticSize, 5);
  b.Set(QStringLiteral("BorderIcons"), &TbsSkinForm::BorderIcons, &TbsSkinForm::SetBorderIcons, SkinBorderIconIdents(),
        biSystemMenu | biMinimize | biMaximize | biRollUp);
  b.Event(QStringLiteral("OnChangeSkinData"), &TbsSkinForm::OnChangeSkinData);
  b.Event(QStringLiteral("OnActivate"), &TbsSkinForm::OnActivate);
  b.Event(QStringLiteral("OnDeActivate"), &TbsSkinForm::OnDeActivate);
  b.Event(QStringLiteral("OnChangeRollUpState"), &TbsSkinForm::OnChangeRollUpState);
  b.Event(QStringLiteral("OnSkinMenuOpen"), &TbsSkinForm::OnSkinMenuOpen);
  b.Event(QStringLiteral("OnSkinMenuClose"), &TbsSkinForm::OnSkinMenuClose);
  b.Event(QStringLiteral("OnMainMenuEnter"), &TbsSkinForm::OnMainMenuEnter);
  b.Event(QStringLiteral("OnMainMenuExit"), &TbsSkinForm::OnMainMenuExit);
  b.Event(QStringLiteral("OnMinimizeToTray"), &TbsSkinForm::OnMinimizeToTray);
  b.Event(QStringLiteral("OnRestoreFromTray"), &TbsSkinForm::OnRestoreFromTray);

  RegisterSkinControlClasses();
  RegisterClass<TbsSkinMainMenuBar>(QStringLiteral("TbsSkinMainMenuBar"), QStringLiteral("TbsSkinControl"))
      .Font(QStringLiteral("DefItemFont"), [](TbsSkinMainMenuBar* c) { return &c->DefItemFontRef(); },
            [](TbsSkinMainMenuBar* c) { c->DefItemFontEdited(); })
      .Integer(QStringLiteral("DefaultWidth"), &TbsSkinMainMenuBar::DefaultWidth, &TbsSkinMainMenuBar::SetDefaultWidth, 0)
      .Integer(QStringLiteral("DefaultHeight"), &TbsSkinMainMenuBar::DefaultHeight,
               &TbsSkinMainMenuBar::SetDefaultHeight, 22)
      .Bool(
          QStringLiteral("PopupToUp"), [](const TbsSkinMainMenuBar* c) { return c->PopupToUp; },
          [](TbsSkinMainMenuBar* c, bool v) { c->PopupToUp = v; }, false)
      .Reference<TbsSkinForm>(QStringLiteral("SkinForm"), &TbsSkinMainMenuBar::SkinForm, &TbsSkinMainMenuBar::SetSkinForm)
      .Reference<TMainMenu>(QStringLiteral("MainMenu"), &TbsSkinMainMenuBar::MainMenu, &TbsSkinMainMenuBar::SetMainMenu)
      .Event(QStringLiteral("OnClick"), &TbsSkinMainMenuBar::OnClick);
}
