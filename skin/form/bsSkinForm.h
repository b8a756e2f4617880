// TbsSkinForm: the frame component of a form. It takes over the form's window frame (the
// non-client area: borders, caption bar, caption buttons) and draws it from the skin's main
// picture: the frame image is composed from four pieces for the current size, the window gets
// the outline of the skin's mask, and the frame objects (bsSkinFormObjects.h) carry the caption
// and the buttons. Without a usable skin it draws a plain frame of its own. It also keeps its
// own window state (normal, minimized, maximized) and roll-up state, snaps to the work area,
// tracks activation, fades the window in, and passes the skin messages on to the form's
// skinned controls.
//
// Its owner is the form it serves: it takes over that form's window procedure for its whole
// life, sees every message of the form first and passes the ones it does not finish to the
// procedure it replaced. Geometry is in window coordinates (origin at the window's top-left
// corner) unless it says picture coordinates. GUI thread only.
#pragma once
#include <QRegion>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Font.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "platform/Timer.h"
#include "skin/form/bsSkinFormObjects.h"
#include "skin/menus/bsSkinMenuHost.h"

class TbsSkinData;
class TbsSkinMenu;
class TbsMenuBarLink;
class TMenuItem;
class TPopupMenu;
class TbsSkinHint;
class TbsSkinPopupMenu;
class TMDIClient;

// Frame buttons and system-menu commands: a one-byte set whose first three members are the
// platform's biSystemMenu (1), biMinimize (2) and biMaximize (4).
constexpr uint8_t biRollUp = 8;
constexpr uint8_t biMinimizeToTray = 16;
using TbsBorderIcons = uint8_t;

// Object events: the object's IDName first.
using TbsFrameObjectEvent = TEvent<TComponent*, const QString&>;
using TbsFrameMouseEvent = TEvent<TComponent*, const QString&, int, int, const TRect&, TMouseButton>;
using TbsFrameMouseMoveEvent = TEvent<TComponent*, const QString&, int, int, const TRect&>;
using TbsFramePaintEvent = TEvent<TComponent*, const QString&, TCanvas&, const TRect&>;

class TbsSkinForm : public TComponent, public TbsMenuHost {
 public:
  explicit TbsSkinForm(TComponent* owner);
  ~TbsSkinForm() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinForm"); }

  // The form this component serves (its owner). An owner that is not a form fails the
  // construction with EInvalidCast.
  TCustomForm* Form() const { return form_; }

  // ---- Published properties ----
  bool ShowIcon() const { return showIcon_; }
  void SetShowIcon(bool v);
  bool MaximizeOnFullScreen = false;
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v);
  bool AlphaBlendAnimation = false;
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t v);
  bool ShowObjectHint = false;
  // Translucency of the menus, written through to the menu driver.
  bool MenusAlphaBlend() const { return menusAlphaBlend_; }
  void SetMenusAlphaBlend(bool v);
  bool MenusAlphaBlendAnimation() const { return menusAlphaBlendAnimation_; }
  void SetMenusAlphaBlendAnimation(bool v);
  uint8_t MenusAlphaBlendValue() const { return menusAlphaBlendValue_; }
  void SetMenusAlphaBlendValue(uint8_t v);
  // Caption fonts of the plain frame; the skinned caption takes only the charset.
  TFont DefCaptionFont;
  TFont DefInActiveCaptionFont;
  void SetDefCaptionFont(const TFont& f);
  void SetDefInActiveCaptionFont(const TFont& f);
  // The menu driver's font of the default look; it takes the font again whenever a menu opens.
  TFont DefMenuItemFont;
  void SetDefMenuItemFont(const TFont& f);
  bool UseDefaultSysMenu = true;
  int32_t MinHeight = 0;
  int32_t MinWidth = 0;
  bool Magnetic = false;
  uint8_t MagneticSize = 5;
  TbsBorderIcons BorderIcons() const { return borderIcons_; }
  // Replaces the objects with the default buttons and applies the icons.
  void SetBorderIcons(TbsBorderIcons v);

  int32_t DefMenuItemHeight() const { return defMenuItemHeight_; }
  // Values of 0 or less are ignored; written through to the menu driver.
  void SetDefMenuItemHeight(int32_t v);

  // References, not owned; cleared when the referenced component goes away.
  TbsSkinData* SkinData() const override { return skinData_; }
  void SetSkinData(TbsSkinData* v);
  TbsSkinData* MenusSkinData() const override { return menusSkinData_; }
  void SetMenusSkinData(TbsSkinData* v);
  TComponent* SkinHint() const { return skinHint_; }
  void SetSkinHint(TComponent* v) { SetRef(skinHint_, v); }
  TComponent* TrayIcon() const { return trayIcon_; }
  // The icon given here is hidden and stops minimizing to the tray on its own; without a menu of
  // its own, a double click on it restores the form.
  void SetTrayIcon(TComponent* v);
  // The form's skinned menu bar; the frame talks to it when it implements TbsMenuBarLink.
  TComponent* MainMenuBar() const { return mainMenuBar_; }
  void SetMainMenuBar(TComponent* v) { SetRef(mainMenuBar_, v); }
  TPopupMenu* SystemMenu() const { return systemMenu_; }
  void SetSystemMenu(TPopupMenu* v);

  // ---- Events (sender: this component) ----
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
  TbsFrameObjectEvent OnMouseEnterEvent;
  TbsFrameObjectEvent OnMouseLeaveEvent;
  TbsFrameMouseEvent OnMouseDownEvent;
  TbsFrameMouseEvent OnMouseUpEvent;
  TbsFrameMouseMoveEvent OnMouseMoveEvent;
  TbsFramePaintEvent OnPaintEvent;

  // ---- Skin and frame ----
  // True while SkinData is set and holds a skin; recomputed by ChangeSkinData and cleared
  // when the skin data announces a change.
  bool Skinned() const { return skinned_; }
  // Applies the current skin data to the form: objects, minimum size, frame, region, repaint.
  void ChangeSkinData();
  // Maps the skin's frame geometry to the current window size.
  void CalcFrameGeometry();
  // Geometry, object layout, region and repaint after a size or skin change.
  void UpdateSkinFrame();
  // Rebuilds the window's shape from the mask.
  void UpdateWindowRegion();
  // Paints the whole non-client area on `canvas` (over the whole window): the skinned frame or,
  // without a skin, the plain frame.
  void PaintSkinFrame(TCanvas& canvas);
  void PaintPlainFrame(TCanvas& canvas);
  // Paints the client background on `canvas` (client coordinates).
  void PaintClientBackground(TCanvas& canvas);
  // Size limits of the outer window (pixels).
  int GetMinWidth() const;
  int GetMinHeight() const;
  int GetMaxWidth() const;
  int GetMaxHeight() const;
  // Makes the form report a size change without changing its size.
  void ForceRelayout();
  // Cached outer size of the window.
  int WindowWidth() const { return windowWidth_; }
  int WindowHeight() const { return windowHeight_; }

  // Mapped geometry (window coordinates).
  TPoint FrameLeftTop, FrameRightTop, FrameLeftBottom, FrameRightBottom;
  TRect FrameClientRect, FrameCaptionRect, FrameButtonsRect, FrameMaskRect;
  int32_t FrameButtonsOffset = 0;
  bool FrameButtonsInLeft = false;
  TPoint HitLeftTop, HitRightTop, HitLeftBottom, HitRightBottom;
  // The mask pieces for the current size (owned).
  TBitmap MaskTop, MaskBottom, MaskLeft, MaskRight;
  // The region last given to the window (empty: none).
  const QRegion& WindowRegion() const { return windowRegion_; }
  // The plain frame's caption area.
  TRect PlainCaptionRect;

  // ---- Frame objects ----
  const std::vector<std::unique_ptr<TbsActiveSkinObject>>& Objects() const { return objects_; }
  TbsActiveSkinObject* ObjectByName(const QString& idName) const;
  TbsSkinStdButtonObject* StdButton(TStdButtonCommand command) const;
  void CreateObjects();
  void CreateDefaultObjects();
  void ClearObjects();
  void ApplyBorderIcons();
  void ArrangeObjects();
  // Keeps a picture rectangle at its place relative to the nearest frame corner.
  TRect MapFrameObjectRect(const TRect& r) const;
  // Redraws one object on the window.
  void RedrawObject(TbsActiveSkinObject* object);
  void TrackObjects(int x, int y, bool inside);
  void PressObject(TMouseButton button, int x, int y);
  void ReleaseObject(TMouseButton button, int x, int y);
  void MoveOverObject(int x, int y);
  void SetCaptionActive(bool updateNow);
  void ClearObjectHighlights();
  // The hint component that shows the objects' hints: SkinHint while ShowObjectHint is set.
  TbsSkinHint* ObjectHint() const;
  int HoverIndex() const { return hoverIndex_; }
  int CaptureIndex() const { return captureIndex_; }
  // The form's small icon (made on first use) and the size of the system-menu icon.
  const QImage& SmallIcon();
  static QSize SmallIconSize();
  // The fade and hover timers (owned).
  TTimer& FadeTimer() { return *fadeTimer_; }
  TTimer& HoverTimer() { return *hoverTimer_; }

  // ---- Menus (bsSkinFormMenus.cpp) ----
  // The driver every menu of the form opens through (owned).
  TbsSkinMenu* MenuDriver() const override { return menuDriver_; }
  // The component's own system menu, rebuilt on every opening (owned).
  TPopupMenu* DefaultSysMenu() const { return defaultSysMenu_; }
  // The menu item whose children are the system menu, built afresh: the default menu, or the
  // user's SystemMenu with the window commands put in (UseDefaultSysMenu).
  TMenuItem* GetSystemMenuItems();
  // Opens the system menu at a screen point.
  void ShowSystemMenu(int x, int y);
  // Opens a frame button's PopupItems against its rectangle (screen coordinates from ObjectRect).
  void ShowButtonPopup(TbsSkinButtonObject* button);
  // Menu state: a skinned popup of this form is open / the menu bar is in menu mode.
  bool SkinMenuOpen() const { return skinMenuOpen_; }
  bool MainMenuActive() const { return mainMenuActive_; }
  void SetMainMenuActive(bool v) { mainMenuActive_ = v; }
  bool ShortCutHandled() const { return shortCutHandled_; }
  // True while the component sees the application's key messages first.
  bool MenuKeysHooked() const;
  // A skinned popup of this form opens: hook the keys, OnSkinMenuOpen once.
  void NotifyMenuOpened() override;
  // Every popup has closed (1228 from the driver): release the button holding its popup,
  // unhook, OnSkinMenuClose; and leave the bar's menu mode.
  void NotifyMenusClosed();
  // Escape closed the last popup while the bar is in menu mode.
  void NotifyPopupClosedInMenuMode();
  // Leaves the bar's menu mode, closing every popup.
  void ExitMenuMode();
  // The bar enters keyboard menu mode (called by the bar): hook, MainMenuActive, OnMainMenuEnter.
  void EnterMenuMode();
  // Closes the menus before a message that ends them (presses, activation, moving, sizing,
  // focus loss) is handled.
  void EndMenusOnMessage(const TMessage& m);
  // The form's shortcut handler while the component is attached.
  void FormShortCut(TWMKey& key, bool& handled);
  // A key pressed while a menu is open (virtual key code).
  void MenuKeyDown(uint16_t key);
  // The menu bar when MainMenuBar is one.
  TbsMenuBarLink* MenuBar() const;

  // ---- Window behaviour ----
  TPoint ScreenToWindowPoint(const TPoint& p) const;
  int SkinHitTest(const TPoint& p);
  int PlainHitTest(const TPoint& p);
  bool PointInMask(const TPoint& p) const;
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState s);
  bool RollUpState() const { return rollUpState_; }
  void SetRollUpState(bool v);
  bool RolledUpWhileMaximized() const { return rolledUpWhileMaximized_; }
  TRect RestoreBounds() const { return restoreBounds_; }
  bool InSizeMove() const { return inSizeMove_; }
  TPoint FindMinimizedPlace() const;
  void SnapToWorkArea(int& left, int& top, int width, int height) const;
  bool FormActive() const;
  bool Sizable() const;
  void PlainLayout();
  void MinimizeFormToTray();
  void RestoreFormFromTray();
  // The tray icon's menu when it has none of its own: "&Restore" (TRAY_BSF_RESTORE) and "&Close"
  // (TRAY_BSF_CLOSE). Owned.
  TbsSkinPopupMenu* TrayMenu() const { return trayMenu_; }
  // The caption text as the frame shows it.
  QString CaptionText() const;
  // The plain frame's caption height and button size for the form's border style.
  int PlainCaptionHeight() const;
  int PlainButtonSize() const;

  // ---- MDI parent and child forms (bsSkinFormMDI.cpp) ----
  // The first frame component among the form's components (nullptr when none).
  static TbsSkinForm* FindSkinForm(const TCustomForm* form);
  bool IsMDIChild() const { return form_->FormStyle() == TFormStyle::fsMDIChild; }
  bool IsMDIParent() const { return form_->FormStyle() == TFormStyle::fsMDIForm; }
  // The active flag of an MDI parent or child: the caption follows it instead of the form's.
  bool MDIActive() const { return mdiActive_; }
  // On the parent: a child was maximized by its component and none has left that state since.
  bool MDIChildMaximized() const { return mdiChildMaximized_; }
  // The main form's active child when its component is maximized, else the first child whose
  // component is; nullptr when none is.
  TCustomForm* MaximizedChildForm() const;
  // The main form's client area less its visible aligned bars, in its client coordinates: the
  // area MDI children are maximized to and parked in.
  TRect MDIClientArea() const;
  // Every maximized child takes the whole MDI client area again; minimized children go back to
  // their parking places.
  void RefitChildren();
  void PlaceMinimizedChildren();
  // Screen position of the window's top-left corner; for an MDI child its client origin less
  // the frame's client offset.
  TPoint WindowScreenOrigin() const;

 protected:
  void Notification(TComponent* c, TOperation op) override;
  // The form's window procedure while this component is attached.
  virtual void FormWindowProc(TMessage& m);

 private:
  void SetRef(TComponent*& field, TComponent* v);
  void SkinBeforeChange(TMessage& m);
  void SkinChanged(TMessage& m);
  void CallOld(TMessage& m) { oldWindowProc_(m); }
  bool Hidden() const;  // bsNone or a maximized MDI child: no frame at all
  void CalcSize(TMessage& m);
  void NcPaint(TMessage& m);
  void NcMouse(TMessage& m);
  void SizeMessage(TMessage& m);
  void ShowWindowMessage(TMessage& m);
  void FadeIn();
  void FadeTick();
  void HoverTick();
  void RequestFramePaint();
  void AddLayered(bool on);
  // Menus.
  void KeyMenuCommand();
  // Ends this component's own menus or menu mode; true when there were any.
  bool EndOwnMenus();
  void HookMenuKeys();
  void UnhookMenuKeys();
  void AppMessage(TMsg& m, bool& handled);
  TbsSkinData* MenuSkin() const { return menusSkinData_ ? menusSkinData_ : skinData_; }
  void SyncMenuDriver();
  TMenuItem* NewSysItem(const char* name, const QString& caption, void (TbsSkinForm::*command)());
  void RetireItem(TMenuItem* item);
  void SysMinimize();
  void SysMaximize();
  void SysRestore();
  void SysRollUp();
  void SysMinimizeToTray();
  void SysClose();
  void MakeTrayMenu();
  // Fills a client background of w x h: the skin's tiling, or `plain` without a skin.
  void PaintBackground(TCanvas& canvas, int w, int h, TColor plain);
  // An MDI child that this component has maximized: it has no frame at all.
  bool MaximizedChild() const { return IsMDIChild() && windowState_ == TWindowState::wsMaximized; }
  // MDI rules inside the window procedure; true when the message is finished.
  bool MDIWindowProc(TMessage& m);
  // Sends an MDI message (1231, 1232) to the application's main form.
  void TellMainForm(uint32_t msg) const;
  TCustomForm* MainForm() const;
  void HookMDIClient();
  void UnhookMDIClient();
  void MDIClientProc(TMessage& m);
  // The child's part of SetWindowState after the bounds changed.
  void ChildStateChanged(TWindowState s);
  // The child's item in the main form's window menu: added when it is shown, removed when it
  // is hidden or goes; check marks follow the active child.
  TMenuItem* ParentWindowMenu() const;
  void AddToWindowMenu();
  void RemoveFromWindowMenu();
  void UpdateWindowMenuChecks() const;
  void ChooseWindowItem();

  TCustomForm* form_ = nullptr;  // the owner; referenced
  TWndMethod oldWindowProc_;     // the form's procedure before this component took it over
  bool hooked_ = false;
  bool skinned_ = false;
  int windowWidth_ = 0;
  int windowHeight_ = 0;
  bool showIcon_ = false;
  bool alphaBlend_ = false;
  uint8_t alphaBlendValue_ = 200;
  TbsBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize | biRollUp;

  QRegion windowRegion_;
  // Points in here are client points whatever the state (window coordinates): the client
  // rectangle less what lies near the outline. Made with the geometry, for a fast hit test.
  TRect clientCore_;
  // The frame pieces of the last paint, reused while the size stays (owned).
  TBitmap pieceTop_, pieceBottom_, pieceLeft_, pieceRight_;
  std::vector<std::unique_ptr<TbsActiveSkinObject>> objects_;  // owned
  int hoverIndex_ = -1;
  int prevHoverIndex_ = -1;
  int captureIndex_ = -1;
  std::unique_ptr<TTimer> hoverTimer_;   // owned
  std::unique_ptr<TTimer> fadeTimer_;    // owned
  std::unique_ptr<TTimer> fadeInTimer_;  // owned: the one-shot start of the fade-in
  QImage smallIcon_;

  TWindowState windowState_ = TWindowState::wsNormal;
  bool firstShown_ = false;  // the form's first show, when the frame takes its window state
  bool rollUpState_ = false;
  bool rolledUpWhileMaximized_ = false;
  TRect restoreBounds_;
  int heightBeforeRollUp_ = 0;
  bool inSizeMove_ = false;
  bool dragFullWindows_ = true;
  bool mdiActive_ = false;
  bool mdiChildMaximized_ = false;
  TMDIClient* mdiClient_ = nullptr;  // referenced: the parent's MDI client while its procedure is ours
  TWndMethod oldClientProc_;         // the MDI client's procedure before this component took it over
  TMenuItem* windowItem_ = nullptr;  // owned: this child's item in the main form's window menu
  bool skinMenuOpen_ = false;
  bool mainMenuActive_ = false;
  bool shortCutHandled_ = false;
  uint32_t shortCutSerial_ = 0;  // the key press ShortCutHandled was set for
  bool menusAlphaBlend_ = false;
  bool menusAlphaBlendAnimation_ = false;
  uint8_t menusAlphaBlendValue_ = 200;
  TbsSkinMenu* menuDriver_ = nullptr;     // owned (a component owned by this one)
  TPopupMenu* defaultSysMenu_ = nullptr;  // owned (a component owned by this one)
  // System-menu items of the build before the last: freed at the next build, so that an
  // item whose command opens the menu again is not freed while it runs (owned).
  std::vector<TMenuItem*> retiredItems_, retiringItems_;
  // The key hook while menus are open: the handler found on the application and whether this
  // component is still there; shared with the hook itself.
  struct TMenuKeyHook;
  std::shared_ptr<TMenuKeyHook> keyHook_;
  TShortCutEvent oldShortCut_;  // the form's shortcut handler before this component
  std::shared_ptr<int> life_ = std::make_shared<int>(0);  // expires with the component

  int32_t defMenuItemHeight_ = 20;
  TbsSkinData* skinData_ = nullptr;       // referenced, not owned
  TbsSkinData* menusSkinData_ = nullptr;  // referenced, not owned
  TComponent* skinHint_ = nullptr;        // referenced, not owned
  TbsSkinPopupMenu* trayMenu_ = nullptr;  // owned as a component
  TComponent* trayIcon_ = nullptr;        // referenced, not owned
  TComponent* mainMenuBar_ = nullptr;     // referenced, not owned
  TPopupMenu* systemMenu_ = nullptr;      // referenced, not owned
};
