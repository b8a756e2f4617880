// TbsSkinForm: the system menu, the frame buttons' popups, menu mode and the keys while a
// menu is open. Every menu of the form opens through the component's menu driver; while one
// is open (or the menu bar is in menu mode) the component sees the application's key presses
// first and feeds them to the last open menu window, since the menu windows never take the
// focus.
#include <QString>
#include <algorithm>

#include "platform/Forms.h"
#include "platform/Menus.h"
#include "skin/form/bsMenuBarLink.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsSkinMenu.h"
#include "skin/menus/bsSkinMenuItem.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsSkinPopupWindow.h"

namespace {
const char* const kMinItem = "BSF_MINITEM";
const char* const kMaxItem = "BSF_MAXITEM";
const char* const kRestore = "BSF_RESTORE";
const char* const kRollUp = "BSF_ROLLUP";
const char* const kMinToTray = "BSF_MINTOTRAY";
const char* const kClose = "BSF_CLOSE";

bool IsWindowCommandItem(const TMenuItem* item) {
  for (const char* name : {kMinItem, kMaxItem, kClose, kMinToTray, kRollUp, kRestore})
    if (item->Name() == QLatin1String(name)) return true;
  return false;
}

// Messages that end the menus before anything else handles them.
bool EndsMenus(const TMessage& m) {
  switch (m.Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      return true;
    case WM_ACTIVATE:
      // Losing the activation ends the menus. The window system reports a gained activation
      // after the press that caused it, and that press may just have opened a menu.
      return m.WParam == WA_INACTIVE;
    default:
      return false;
  }
}
}  // namespace

// The hook on the application's key messages. It outlives an unhooking when someone hooked
// after this component; it then only passes the messages on.
struct TbsSkinForm::TMenuKeyHook {
  TbsSkinForm* Frame = nullptr;  // nullptr once unhooked
  TMessageEvent Previous;
  QString Token;  // names this hook as the application's current handler
};

// ===================================================================================
// Properties written through to the driver
// ===================================================================================

void TbsSkinForm::SyncMenuDriver() {
  if (!menuDriver_) return;
  menuDriver_->SetItemHeight(defMenuItemHeight_);
  menuDriver_->ItemFont = DefMenuItemFont;
  menuDriver_->BlendOn = menusAlphaBlend_;
  menuDriver_->BlendAnimated = menusAlphaBlendAnimation_;
  menuDriver_->BlendValue = menusAlphaBlendValue_;
}

void TbsSkinForm::SetMenusAlphaBlend(bool v) {
  menusAlphaBlend_ = v;
  SyncMenuDriver();
}

void TbsSkinForm::SetMenusAlphaBlendAnimation(bool v) {
  menusAlphaBlendAnimation_ = v;
  SyncMenuDriver();
}

void TbsSkinForm::SetMenusAlphaBlendValue(uint8_t v) {
  menusAlphaBlendValue_ = v;
  SyncMenuDriver();
}

void TbsSkinForm::SetDefMenuItemHeight(int32_t v) {
  if (v <= 0) return;
  defMenuItemHeight_ = v;
  SyncMenuDriver();
}

void TbsSkinForm::SetDefMenuItemFont(const TFont& f) {
  DefMenuItemFont = f;
  SyncMenuDriver();
}

void TbsSkinForm::SetSystemMenu(TPopupMenu* v) {
  if (systemMenu_ && systemMenu_ != v) {
    for (auto& o : objects_)
      if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o.get()); b && b->PopupItems == systemMenu_->Items())
        b->PopupItems = nullptr;
  }
  systemMenu_ = v;
  if (v) v->FreeNotification(this);
}

TbsMenuBarLink* TbsSkinForm::MenuBar() const { return dynamic_cast<TbsMenuBarLink*>(mainMenuBar_); }

// ===================================================================================
// The system menu
// ===================================================================================

void TbsSkinForm::SysMinimize() { SetWindowState(TWindowState::wsMinimized); }
void TbsSkinForm::SysMaximize() { SetWindowState(TWindowState::wsMaximized); }
void TbsSkinForm::SysRestore() {
  if (rolledUpWhileMaximized_ || (rollUpState_ && windowState_ == TWindowState::wsNormal))
    SetRollUpState(false);
  else
    SetWindowState(TWindowState::wsNormal);
}
void TbsSkinForm::SysRollUp() { SetRollUpState(true); }
void TbsSkinForm::SysMinimizeToTray() { MinimizeFormToTray(); }
void TbsSkinForm::SysClose() { form_->Close(); }

TMenuItem* TbsSkinForm::NewSysItem(const char* name, const QString& caption, void (TbsSkinForm::*command)()) {
  if (name)
    if (auto* stale = dynamic_cast<TMenuItem*>(FindComponent(QLatin1String(name)))) RetireItem(stale);
  auto* item = new TMenuItem(this);
  if (name) item->SetName(QLatin1String(name));
  item->SetCaption(caption);
  if (command) item->OnClick = [this, command](TComponent*) { (this->*command)(); };
  return item;
}

// Takes an item of an earlier build out of its menu; it is freed with the build after the next.
void TbsSkinForm::RetireItem(TMenuItem* item) {
  if (TMenuItem* parent = item->Parent()) parent->Remove(item);
  item->SetName(QString());
  retiringItems_.push_back(item);
}

TMenuItem* TbsSkinForm::GetSystemMenuItems() {
  for (TMenuItem* old : std::exchange(retiredItems_, {})) delete old;
  retiredItems_ = std::exchange(retiringItems_, {});

  const bool minimized = windowState_ == TWindowState::wsMinimized;
  const bool maximized = windowState_ == TWindowState::wsMaximized;
  const bool canRollUp = !(IsMDIChild() && maximized) && !rollUpState_ && !minimized && (borderIcons_ & biRollUp);
  const bool canMaximize = !maximized && (borderIcons_ & biMaximize);
  const bool canRestore = windowState_ != TWindowState::wsNormal || rollUpState_;
  const bool canMinimize = !minimized && (borderIcons_ & biMinimize);
  const bool toTray = (borderIcons_ & biMinimizeToTray) != 0;
  auto closeItem = [this] {
    TMenuItem* item = NewSysItem(kClose, QStringLiteral("&Close"), &TbsSkinForm::SysClose);
    item->SetShortCut(IsMDIChild() ? ShortCut(VK_F4, ssCtrl) : ShortCut(VK_F4, ssAlt));
    return item;
  };

  if (systemMenu_) {
    TMenuItem* root = systemMenu_->Items();
    if (!UseDefaultSysMenu) return root;
    for (int i = root->Count() - 1; i >= 0; --i)
      if (TMenuItem* item = root->Items(i); IsWindowCommandItem(item)) RetireItem(item);
    if (toTray) root->Insert(0, NewSysItem(kMinToTray, QStringLiteral("Minimize to &Tray"), &TbsSkinForm::SysMinimizeToTray));
    if (canRollUp) root->Insert(0, NewSysItem(kRollUp, QStringLiteral("Ro&llUp"), &TbsSkinForm::SysRollUp));
    if (canMaximize) root->Insert(0, NewSysItem(kMaxItem, QStringLiteral("Ma&ximize"), &TbsSkinForm::SysMaximize));
    if (canRestore) root->Insert(0, NewSysItem(kRestore, QStringLiteral("&Restore"), &TbsSkinForm::SysRestore));
    if (canMinimize) root->Insert(0, NewSysItem(kMinItem, QStringLiteral("Mi&nimize"), &TbsSkinForm::SysMinimize));
    root->Add(closeItem());
    return root;
  }

  TMenuItem* root = defaultSysMenu_->Items();
  while (root->Count() > 0) RetireItem(root->Items(root->Count() - 1));
  if (canMinimize) root->Add(NewSysItem(kMinItem, QStringLiteral("Mi&nimize"), &TbsSkinForm::SysMinimize));
  if (canMaximize) root->Add(NewSysItem(kMaxItem, QStringLiteral("Ma&ximize"), &TbsSkinForm::SysMaximize));
  if (canRestore) root->Add(NewSysItem(kRestore, QStringLiteral("&Restore"), &TbsSkinForm::SysRestore));
  if (canRollUp) root->Add(NewSysItem(kRollUp, QStringLiteral("Ro&llUp"), &TbsSkinForm::SysRollUp));
  if (toTray) root->Add(NewSysItem(kMinToTray, QStringLiteral("Minimize to &Tray"), &TbsSkinForm::SysMinimizeToTray));
  if (root->Count() > 0) root->Add(NewSysItem(nullptr, cLineCaption, nullptr));
  root->Add(closeItem());
  return root;
}

void TbsSkinForm::ShowSystemMenu(int x, int y) {
  if (!menuDriver_) return;
  TMenuItem* items = GetSystemMenuItems();
  NotifyMenuOpened();
  const std::weak_ptr<int> alive = life_;
  menuDriver_->OpenMenu(nullptr, MenuSkin(), false, items, TRect(x, y, x, y), 0);
  // A menu without items opens nothing and never reports its closing.
  if (!alive.expired() && menuDriver_ && !menuDriver_->MenuOpen() && skinMenuOpen_) NotifyMenusClosed();
}

void TbsSkinForm::ShowButtonPopup(TbsSkinButtonObject* button) {
  if (!menuDriver_ || !button || !button->PopupItems || button->PopupItems->Count() == 0) return;
  const TPoint o = WindowScreenOrigin();
  const TRect& b = button->ObjectRect;
  const TRect r(b.Left + o.X, b.Top + o.Y, b.Right + o.X, b.Bottom + o.Y);
  const std::weak_ptr<int> alive = life_;
  if (auto* skinned = dynamic_cast<TbsSkinPopupMenu*>(button->PopupItems->GetParentMenu());
      skinned && skinned->Items() == button->PopupItems) {
    PopupMenuAtRect(skinned, r, button->PopupUpward);
  } else {
    NotifyMenuOpened();
    menuDriver_->OpenMenu(nullptr, MenuSkin(), button->PopupUpward, button->PopupItems, r, 0);
  }
  if (!alive.expired() && menuDriver_ && !menuDriver_->MenuOpen() && skinMenuOpen_) NotifyMenusClosed();
}

// ===================================================================================
// Menu mode
// ===================================================================================

bool TbsSkinForm::MenuKeysHooked() const { return keyHook_ != nullptr; }

void TbsSkinForm::HookMenuKeys() {
  if (keyHook_ || !Application || IsDestroying()) return;
  auto hook = std::make_shared<TMenuKeyHook>();
  hook->Frame = this;
  hook->Previous = Application->OnMessage;
  hook->Token = QStringLiteral("TbsSkinForm menu keys %1").arg(reinterpret_cast<quintptr>(hook.get()), 0, 16);
  Application->OnMessage = TMessageEvent(
      [hook](TMsg& m, bool& handled) {
        if (hook->Frame)
          hook->Frame->AppMessage(m, handled);
        else
          hook->Previous(m, handled);
      },
      hook->Token);
  keyHook_ = std::move(hook);
}

void TbsSkinForm::UnhookMenuKeys() {
  if (!keyHook_) return;
  // Put the old handler back unless someone hooked after us; our hook then passes on.
  if (Application && Application->OnMessage.MethodName == keyHook_->Token) Application->OnMessage = keyHook_->Previous;
  keyHook_->Frame = nullptr;
  keyHook_.reset();
}

void TbsSkinForm::AppMessage(TMsg& m, bool& handled) {
  const TMessageEvent previous = keyHook_ ? keyHook_->Previous : TMessageEvent();
  if (m.Msg != WM_KEYDOWN) {
    previous(m, handled);
    return;
  }
  // A popup menu that opened nothing leaves the state set without a window to take keys.
  if (!mainMenuActive_ && menuDriver_ && !menuDriver_->MenuOpen()) {
    NotifyMenusClosed();
    previous(m, handled);
    return;
  }
  m.Msg = WM_NULL;
  handled = true;
  MenuKeyDown(static_cast<uint16_t>(m.WParam));
}

void TbsSkinForm::NotifyMenuOpened() {
  SyncMenuDriver();
  if (!mainMenuActive_) HookMenuKeys();
  if (!skinMenuOpen_) {
    skinMenuOpen_ = true;
    OnSkinMenuOpen(this);
  }
}

void TbsSkinForm::NotifyMenusClosed() {
  skinMenuOpen_ = false;
  for (auto& o : objects_) {
    auto* b = dynamic_cast<TbsSkinButtonObject*>(o.get());
    if (b && b->PopupItems && b->Pressed) {
      b->SetPressed(false);
      break;
    }
  }
  UnhookMenuKeys();
  const std::weak_ptr<int> alive = life_;
  OnSkinMenuClose(this);
  if (alive.expired() || !mainMenuActive_) return;
  mainMenuActive_ = false;
  if (TbsMenuBarLink* bar = MenuBar()) bar->DropMenuMode();
  OnMainMenuExit(this);
}

void TbsSkinForm::NotifyPopupClosedInMenuMode() {
  skinMenuOpen_ = false;
  if (TbsMenuBarLink* bar = MenuBar()) bar->PressedToHighlighted();
  OnSkinMenuClose(this);
}

void TbsSkinForm::ExitMenuMode() {
  mainMenuActive_ = false;
  const std::weak_ptr<int> alive = life_;
  if (menuDriver_ && menuDriver_->MenuOpen()) menuDriver_->CloseAll();
  if (alive.expired()) return;
  if (TbsMenuBarLink* bar = MenuBar()) bar->DropMenuMode();
  UnhookMenuKeys();
  OnMainMenuExit(this);
}

void TbsSkinForm::EnterMenuMode() {
  HookMenuKeys();
  mainMenuActive_ = true;
  OnMainMenuEnter(this);
}

// Alt or F10 alone.
void TbsSkinForm::KeyMenuCommand() {
  if (mainMenuActive_) {
    ExitMenuMode();
    return;
  }
  const std::weak_ptr<int> alive = life_;
  // The open popup goes with its windows, not only with the state that says it is open.
  if (menuDriver_ && menuDriver_->MenuOpen()) menuDriver_->CloseAll();
  if (alive.expired()) return;
  if (skinMenuOpen_) NotifyMenusClosed();
  if (alive.expired()) return;
  if (TbsMenuBarLink* bar = MenuBar()) {
    bar->EnterMenuMode();
    return;
  }
  // An MDI child without a bar of its own passes the menu key on to its parent's bar, as the
  // platform's MDI children pass it to their parent window.
  if (IsMDIChild())
    if (TbsSkinForm* parent = FindSkinForm(MainForm()); parent && parent != this && parent->MenuBar())
      parent->KeyMenuCommand();
}

bool TbsSkinForm::EndOwnMenus() {
  if (mainMenuActive_ && !skinMenuOpen_) {
    ExitMenuMode();
    return true;
  }
  if (menuDriver_ && menuDriver_->MenuOpen()) {
    menuDriver_->CloseAll();
    return true;
  }
  if (skinMenuOpen_) {
    NotifyMenusClosed();
    return true;
  }
  return false;
}

void TbsSkinForm::EndMenusOnMessage(const TMessage& m) {
  if (!EndsMenus(m)) return;
  if (TbsSkinHint* hint = ObjectHint()) hint->HideHintText();
  if (EndOwnMenus()) return;
  // An MDI parent ends the menus of its active child.
  if (IsMDIParent() && form_->Visible())
    if (TbsSkinForm* child = FindSkinForm(form_->ActiveMDIChild()); child && child != this) child->EndOwnMenus();
}

// ===================================================================================
// Keys
// ===================================================================================

void TbsSkinForm::FormShortCut(TWMKey& key, bool& handled) {
  // The same key press offered again after it was taken.
  if (shortCutHandled_ && key.Serial == shortCutSerial_) {
    shortCutHandled_ = false;
    handled = false;
    return;
  }
  shortCutHandled_ = false;
  TbsMenuBarLink* bar = MenuBar();
  TMainMenu* menu = bar ? bar->MainMenu() : nullptr;
  if (!menu) return;
  if (key.Shift == ssAlt && bar->Accelerator(key.CharCode)) {
    handled = true;
    return;
  }
  shortCutSerial_ = key.Serial;
  shortCutHandled_ = menu->IsShortCut(key.CharCode, key.Shift);
  handled = shortCutHandled_;
}

void TbsSkinForm::MenuKeyDown(uint16_t key) {
  // A child's keys go to its parent while the parent's menus are open.
  if (IsMDIChild())
    if (TbsSkinForm* parent = FindSkinForm(MainForm()); parent && parent != this &&
                                                          ((parent->menuDriver_ && parent->menuDriver_->MenuOpen()) ||
                                                           parent->mainMenuActive_)) {
      parent->MenuKeyDown(key);
      return;
    }
  TbsMenuBarLink* bar = MenuBar();
  if (mainMenuActive_ && bar && bar->Accelerator(key)) return;
  const int open = menuDriver_ ? static_cast<int>(menuDriver_->OpenWindowList().size()) : 0;
  if (key == VK_ESCAPE && mainMenuActive_ && open == 0) {
    ExitMenuMode();
    return;
  }
  if (key == VK_LEFT && mainMenuActive_ && open <= 1) {
    if (bar) bar->PreviousItem();
    return;
  }
  if (key == VK_RIGHT && mainMenuActive_) {
    TbsSkinPopupWindow* top = menuDriver_ ? menuDriver_->LastWindow() : nullptr;
    TbsSkinMenuItem* item = top ? top->ActiveItem() : nullptr;
    if (!item || !item->HasChildren()) {
      if (bar) bar->FollowingItem();
      return;
    }
  }
  const std::weak_ptr<int> alive = life_;
  if (key == VK_RETURN && bar && bar->RunSelected()) return;
  if (alive.expired() || !menuDriver_) return;
  // The item's command may close the menus, the form, or free this component.
  menuDriver_->HandleKey(key);
  if (alive.expired() || !menuDriver_ || key != VK_ESCAPE || !menuDriver_->OpenWindowList().empty()) return;
  if (mainMenuActive_)
    NotifyPopupClosedInMenuMode();
  else if (skinMenuOpen_)
    NotifyMenusClosed();
}
