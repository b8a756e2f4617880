// TbsSkinForm: the frame component of a form. It holds the frame's settings as stored in the
// form definition; while it has no usable skin it leaves the platform's own frame in place.
// Its owner is the form it serves. GUI thread only.
#pragma once
#include <QString>
#include <cstdint>

#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Font.h"
#include "platform/Forms.h"

class TbsSkinData;

// Frame buttons and system-menu commands: a one-byte set whose first three members are the
// platform's biSystemMenu (1), biMinimize (2) and biMaximize (4).
constexpr uint8_t biRollUp = 8;
constexpr uint8_t biMinimizeToTray = 16;
using TbsBorderIcons = uint8_t;

class TbsSkinForm : public TComponent {
 public:
  explicit TbsSkinForm(TComponent* owner);
  ~TbsSkinForm() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinForm"); }

  // The form this component serves (its owner); null when the owner is not a form.
  TCustomForm* Form() const { return dynamic_cast<TCustomForm*>(Owner()); }

  bool ShowIcon = false;
  bool MaximizeOnFullScreen = false;
  bool AlphaBlend = false;
  bool AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue = 200;
  bool ShowObjectHint = false;
  bool MenusAlphaBlend = false;
  bool MenusAlphaBlendAnimation = false;
  uint8_t MenusAlphaBlendValue = 200;
  TFont DefCaptionFont;
  TFont DefInActiveCaptionFont;
  TFont DefMenuItemFont;
  bool UseDefaultSysMenu = true;
  int32_t MinHeight = 0;
  int32_t MinWidth = 0;
  bool Magnetic = false;
  uint8_t MagneticSize = 5;
  TbsBorderIcons BorderIcons = biSystemMenu | biMinimize | biMaximize | biRollUp;

  // Notify events of the frame (sender: this component).
  TNotifyEvent OnChangeSkinData;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeActivate;
  TNotifyEvent OnChangeRollUpState;
  TNotifyEvent OnSkinMenuOpen;
  TNotifyEvent OnSkinMenuClose;
  TNotifyEvent OnMainMenuEnter;
  TNotifyEvent OnMainMenuExit;
  TNotifyEvent OnMinimizeToTray;
  TNotifyEvent OnRestoreFromTray;

  int32_t DefMenuItemHeight() const { return defMenuItemHeight_; }
  // Values of 0 or less are ignored.
  void SetDefMenuItemHeight(int32_t v) {
    if (v > 0) defMenuItemHeight_ = v;
  }

  // References, not owned; cleared when the referenced component goes away.
  TbsSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TbsSkinData* v);
  TbsSkinData* MenusSkinData() const { return menusSkinData_; }
  void SetMenusSkinData(TbsSkinData* v);
  TComponent* SkinHint() const { return skinHint_; }
  void SetSkinHint(TComponent* v) { SetRef(skinHint_, v); }
  TComponent* TrayIcon() const { return trayIcon_; }
  void SetTrayIcon(TComponent* v) { SetRef(trayIcon_, v); }
  TComponent* MainMenuBar() const { return mainMenuBar_; }
  void SetMainMenuBar(TComponent* v) { SetRef(mainMenuBar_, v); }
  TComponent* SystemMenu() const { return systemMenu_; }
  void SetSystemMenu(TComponent* v) { SetRef(systemMenu_, v); }

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  void SetRef(TComponent*& field, TComponent* v);

  int32_t defMenuItemHeight_ = 20;
  TbsSkinData* skinData_ = nullptr;       // referenced, not owned
  TbsSkinData* menusSkinData_ = nullptr;  // referenced, not owned
  TComponent* skinHint_ = nullptr;        // referenced, not owned
  TComponent* trayIcon_ = nullptr;        // referenced, not owned
  TComponent* mainMenuBar_ = nullptr;     // referenced, not owned
  TComponent* systemMenu_ = nullptr;      // referenced, not owned
};
