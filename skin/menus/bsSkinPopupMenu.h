// TbsSkinPopupMenu: a popup menu that shows itself as a skinned menu through the frame
// component of its form. PopupAt finds the frame component (FindFrameComponent), tells it a
// skinned menu opens and opens the items through the frame's menu driver. Without a frame
// component nothing is shown. GUI thread only.
#pragma once
#include "platform/Menus.h"
#include "platform/Types.h"

class TbsSkinData;
class TbsMenuHost;
class TCustomForm;

class TbsSkinPopupMenu : public TPopupMenu {
 public:
  explicit TbsSkinPopupMenu(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TbsSkinPopupMenu"); }

  // Published. Referenced; becomes nullptr when the skin data component goes.
  TbsSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TbsSkinData* v);
  // The form whose frame component shows this menu (the frame sets it for its tray menu).
  // Referenced; cleared when it goes.
  TCustomForm* FrameForm() const { return frameForm_; }
  void SetFrameForm(TCustomForm* f);

  // Shows the menu at a screen point.
  void PopupAt(int x, int y);
  void Popup(int x, int y) override { PopupAt(x, y); }
  // Shows the menu against a screen rectangle, above it when `openUp`.
  void PopupAtRect(const TRect& r, bool openUp);
  // The frame component that shows this menu (FrameForm's, else the owner form's, else the
  // owner's owner form's), or nullptr.
  TbsMenuHost* FindHost() const;

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  TbsSkinData* skinData_ = nullptr;  // referenced
  TCustomForm* frameForm_ = nullptr; // referenced
};

// Shows the children of `menu` against `rect` (screen coordinates), used by frame buttons.
void PopupMenuAtRect(TbsSkinPopupMenu* menu, const TRect& rect, bool openUp);
// The first component owned by `owner` that is a frame component (TbsMenuHost), or nullptr.
TbsMenuHost* FindFrameComponent(TComponent* owner);
// Registers TbsSkinPopupMenu, TbsSkinHint and TbsTrayIcon with the form definition reader.
void RegisterSkinMenuClasses();
