// TbsSkinForm: the frame component of a form. It holds the frame's settings as stored in the
// form definition; while it has no usable skin it leaves the platform's own frame in place.
// Its owner is the form it serves: it takes over that form's window procedure for its whole
// life, sees every message of the form first and passes each one on to the procedure it
// replaced. Through it the skin messages reach the form's skinned controls: before a skin
// changes each control that reads it drops its section, after the change each looks it up
// again. GUI thread only.
#pragma once
#include <QString>
#include <cstdint>

#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Font.h"
#include "platform/Forms.h"
#include "platform/Messages.h"

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

  // The form this component serves (its owner). An owner that is not a form fails the
  // construction with EInvalidCast.
  TCustomForm* Form() const { return form_; }

  // True while SkinData is set and holds a skin; recomputed by ChangeSkinData and cleared
  // when the skin data announces a change.
  bool Skinned() const { return skinned_; }
  // Applies the current skin data to the form: the skinned state, the minimum size, a
  // repaint and OnChangeSkinData.
  void ChangeSkinData();
  // Smallest outer window size the frame allows (pixels).
  int GetMinWidth() const;
  int GetMinHeight() const;
  // Makes the form report a size change without changing its size.
  void ForceRelayout();
  // Cached outer size of the window, taken from the form when a skin is applied.
  int WindowWidth() const { return windowWidth_; }
  int WindowHeight() const { return windowHeight_; }

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
  // The form's window procedure while this component is attached.
  virtual void FormWindowProc(TMessage& m);

 private:
  void SetRef(TComponent*& field, TComponent* v);
  void SkinBeforeChange(TMessage& m);
  void SkinChanged(TMessage& m);

  TCustomForm* form_ = nullptr;  // the owner; referenced
  TWndMethod oldWindowProc_;     // the form's procedure before this component took it over
  bool hooked_ = false;
  bool skinned_ = false;
  int windowWidth_ = 0;
  int windowHeight_ = 0;

  int32_t defMenuItemHeight_ = 20;
  TbsSkinData* skinData_ = nullptr;       // referenced, not owned
  TbsSkinData* menusSkinData_ = nullptr;  // referenced, not owned
  TComponent* skinHint_ = nullptr;        // referenced, not owned
  TComponent* trayIcon_ = nullptr;        // referenced, not owned
  TComponent* mainMenuBar_ = nullptr;     // referenced, not owned
  TComponent* systemMenu_ = nullptr;      // referenced, not owned
};
