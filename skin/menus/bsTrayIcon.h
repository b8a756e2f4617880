// TbsTrayIcon: an icon in the desktop's notification area with a tip text, mouse events (a
// click is told from a double click by the double-click time), a popup menu at the cursor,
// icon cycling through an image list, and hiding the whole application in the area when it is
// minimized. When the area is re-created, a visible icon is added again.
//
// The icon talks to the area through the platform (platform/NotifyArea.h): its own message
// window receives the mouse actions. It watches the application's minimize notice and its
// owner's window procedure (when the owner is a windowed control) while it exists.
// GUI thread only.
#pragma once
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/Component.h"
#include "platform/Controls.h"
#include "platform/Events.h"
#include "platform/NotifyArea.h"
#include "platform/Timer.h"

class TCustomImageList;
class TPopupMenu;

using TbsCycleEvent = TEvent<TComponent*, int>;

class TbsTrayIcon : public TComponent {
 public:
  explicit TbsTrayIcon(TComponent* owner);
  ~TbsTrayIcon() override;
  QString ClassName() const override { return QStringLiteral("TbsTrayIcon"); }
  void Loaded() override;

  // ---- Published ----
  bool DesignPreview() const { return designPreview_; }
  void SetDesignPreview(bool v);
  TCustomImageList* IconList() const { return iconList_; }
  void SetIconList(TCustomImageList* v);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool v);
  uint32_t AnimateTimerInterval() const { return animateTimerInterval_; }
  void SetAnimateTimerInterval(uint32_t v);
  bool Enabled = true;
  const QString& Hint() const { return hint_; }
  void SetHint(const QString& v);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  const QImage& Icon() const { return icon_; }
  void SetIcon(const QImage& v);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool v);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int v);
  // The menu opened from the icon (a TbsSkinPopupMenu or any TPopupMenu); referenced.
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* v);
  bool PopupByLeftButton = false;
  bool MinimizedOnStart = false;
  bool MinimizeToTray = false;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TbsCycleEvent OnCycle;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // ---- Operations ----
  void ShowApplication();
  void HideApplication();
  void GoToTray();
  // What was last sent to the notification area (icon, tip).
  const TNotifyIconData& NotifyData() const { return notifyData_; }
  TMessageWindow* IconWindow() const { return iconWindow_.get(); }
  TTimer& CycleTimer() { return *cycleTimer_; }
  TTimer& SingleClickTimer() { return *singleClickTimer_; }
  bool LeftPressed() const { return leftPressed_; }
  bool ClickPending() const { return clickPending_; }

 protected:
  virtual bool UseApplicationIcon() { return true; }
  virtual void AddIcon();
  virtual void DeleteIcon();
  virtual void ModifyIcon();
  virtual void Click() { OnClick(this); }
  virtual void DblClick() { OnDblClick(this); }
  virtual void Cycle();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
  virtual void MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
  void Notification(TComponent* c, TOperation op) override;

 private:
  bool PrepareNotifyData();
  void IconWindowProc(TMessage& m);
  void IconMouse(uint32_t mouseMessage);
  void CycleTick();
  void SingleClickTick();
  // PopupMenu when it is a menu that pops up automatically; nullptr otherwise.
  TPopupMenu* AutoPopupMenu() const;
  // Opens PopupMenu at the cursor when it pops up automatically.
  void PopupAtCursor();
  // Runs the first top-level item of PopupMenu marked Default (a menu that pops up automatically).
  void ClickDefaultItem();
  void HookApplication();
  void UnhookApplication();
  void HookOwner();
  void UnhookOwner();
  void AppMinimized();
  void TaskbarCreated();
  void OwnerWindowProc(TMessage& m);
  TWinControl* OwnerControl() const;

  bool designPreview_ = false;
  bool inPreviewSetter_ = false;
  bool awaitingMainForm_ = true;
  TCustomImageList* iconList_ = nullptr;  // referenced
  bool cycleIcons_ = false;
  uint32_t animateTimerInterval_ = 0;
  QString hint_;
  bool showHint_ = true;
  QImage icon_;
  bool iconVisible_ = false;
  int iconIndex_ = 0;
  TComponent* popupMenu_ = nullptr;  // referenced
  bool leftPressed_ = false;
  bool clickPending_ = false;
  bool doubleClicked_ = false;
  std::unique_ptr<TTimer> cycleTimer_;
  std::unique_ptr<TTimer> singleClickTimer_;
  std::unique_ptr<TMessageWindow> iconWindow_;
  TNotifyIconData notifyData_;
  bool appHooked_ = false;
  TNotifyEvent previousAppMinimize_;
  TWndMethod previousFormProc_;
  bool ownerHooked_ = false;
};

// Makes TbsTrayIcon known to form definitions with its stored properties (the icon as PNG
// bytes). Called by RegisterSkinMenuClasses.
void RegisterTrayIconClasses();
