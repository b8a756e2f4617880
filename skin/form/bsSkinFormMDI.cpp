// TbsSkinForm on MDI parent and child forms. The components keep their own window states, so
// a parent and its children coordinate through three private messages: a child tells the main
// form when it was maximized (SkinMessageChildMaximized) or left that state or went
// (SkinMessageChildRestored); the parent tells its children to fit the MDI client area again
// (SkinMessageMaximizeChild). A maximized child has no frame at all; the parent's caption then
// reads "Parent - [Child]". The parent also takes over its MDI client window's procedure to
// paint the background from the skin and to refit the children when the client's size changes.
#include "platform/Colors.h"
#include "platform/MDIClient.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/form/bsMenuBarLink.h"
#include "skin/form/bsSkinForm.h"

TbsSkinForm* TbsSkinForm::FindSkinForm(const TCustomForm* form) {
  if (!form) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TbsSkinForm*>(form->Components(i))) return f;
  return nullptr;
}

TCustomForm* TbsSkinForm::MainForm() const {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  return main && !main->IsDestroying() ? main : nullptr;
}

void TbsSkinForm::TellMainForm(uint32_t msg) const {
  if (TCustomForm* main = MainForm(); main && main != form_) main->Perform(msg);
}

TCustomForm* TbsSkinForm::MaximizedChildForm() const {
  auto maximized = [](const TCustomForm* f) {
    const TbsSkinForm* c = f && !f->IsDestroying() ? FindSkinForm(f) : nullptr;
    return c && c->windowState_ == TWindowState::wsMaximized;
  };
  if (TCustomForm* active = form_->ActiveMDIChild(); maximized(active)) return active;
  for (int i = 0; i < form_->MDIChildCount(); ++i)
    if (TCustomForm* c = form_->MDIChildren(i); maximized(c)) return c;
  return nullptr;
}

TRect TbsSkinForm::MDIClientArea() const {
  TCustomForm* main = IsMDIParent() ? form_ : MainForm();
  if (!main) return TRect();
  const TRect client = main->ClientRect();
  TRect a(0, 0, client.Width(), client.Height());
  for (int i = 0; i < main->ControlCount(); ++i) {
    const TControl* c = main->Controls(i);
    if (!c->Visible()) continue;
    switch (c->Align()) {
      case TAlign::alLeft: a.Left = std::max(a.Left, c->Left() + c->Width()); break;
      case TAlign::alTop: a.Top = std::max(a.Top, c->Top() + c->Height()); break;
      case TAlign::alRight: a.Right = std::min(a.Right, c->Left()); break;
      case TAlign::alBottom: a.Bottom = std::min(a.Bottom, c->Top()); break;
      default: break;
    }
  }
  return a;
}

void TbsSkinForm::RefitChildren() {
  for (int i = 0; i < form_->MDIChildCount(); ++i) form_->MDIChildren(i)->Perform(SkinMessageMaximizeChild);
  PlaceMinimizedChildren();
}

void TbsSkinForm::PlaceMinimizedChildren() {
  for (int i = 0; i < form_->MDIChildCount(); ++i) {
    TCustomForm* child = form_->MDIChildren(i);
    TbsSkinForm* c = FindSkinForm(child);
    if (!c || c->windowState_ != TWindowState::wsMinimized) continue;
    const TPoint p = c->FindMinimizedPlace();
    child->SetBounds(p.X, p.Y, child->Width(), child->Height());
  }
}

TPoint TbsSkinForm::WindowScreenOrigin() const {
  if (!IsMDIChild()) return TPoint(form_->Left(), form_->Top());
  const TPoint c = form_->ClientToScreen(TPoint(0, 0)), o = form_->ClientOrigin();
  return TPoint(c.X - o.X, c.Y - o.Y);
}

void TbsSkinForm::ChildStateChanged(TWindowState s) {
  if (s == TWindowState::wsMaximized)
    TellMainForm(SkinMessageChildMaximized);
  else
    TellMainForm(SkinMessageChildRestored);
}

bool TbsSkinForm::MDIWindowProc(TMessage& m) {
  switch (m.Msg) {
    case SkinMessageMaximizeChild:
      if (MaximizedChild()) {
        const TRect a = MDIClientArea();
        form_->SetBounds(0, 0, a.Width(), a.Height());
      }
      CallOld(m);
      return true;
    case SkinMessageChildMaximized:
      mdiChildMaximized_ = true;
      RequestFramePaint();
      if (TbsMenuBarLink* bar = MenuBar()) bar->ShowChildButtons();
      CallOld(m);
      return true;
    case SkinMessageChildRestored:
      if (!MaximizedChildForm()) mdiChildMaximized_ = false;
      RequestFramePaint();
      if (TbsMenuBarLink* bar = MenuBar()) bar->HideChildButtons();
      CallOld(m);
      return true;
    case WM_MOUSEACTIVATE:
      if (IsMDIChild() && !mdiActive_)
        if (TCustomForm* main = MainForm(); main && main->ActiveMDIChild() == form_) {
          mdiActive_ = true;
          SetCaptionActive(!MaximizedChild());
        }
      CallOld(m);
      return true;
    default:
      return false;
  }
}

// ===================================================================================
// The window menu
// ===================================================================================

namespace {
const QLatin1String kChildItemSuffix("_BSFCHILDITEM");
const QLatin1String kDividerName("DIVIDER_BSFCHILDITEM");

// Items of other kinds (the menu's own, the divider) are never taken for a child's.
bool IsChildItem(const TMenuItem* item) {
  return item->Name().contains(kChildItemSuffix) && !item->Name().contains(QLatin1String("DIVIDER"));
}

bool HasChildItems(const TMenuItem* menu) {
  for (const TMenuItem* i : menu->ItemList())
    if (IsChildItem(i)) return true;
  return false;
}

TMenuItem* Divider(const TMenuItem* menu) {
  for (TMenuItem* i : menu->ItemList())
    if (i->Name() == kDividerName) return i;
  return nullptr;
}
}  // namespace

TMenuItem* TbsSkinForm::ParentWindowMenu() const {
  TCustomForm* main = MainForm();
  if (!main || main == form_ || !FindSkinForm(main)) return nullptr;
  return dynamic_cast<TMenuItem*>(main->WindowMenu());
}

void TbsSkinForm::AddToWindowMenu() {
  TMenuItem* menu = ParentWindowMenu();
  if (!menu || windowItem_) return;
  if (!HasChildItems(menu) && !Divider(menu)) {
    // The divider belongs to the parent's component: it stays while any child is listed.
    auto* divider = new TMenuItem(FindSkinForm(MainForm()));
    divider->SetName(kDividerName);
    divider->SetCaption(QStringLiteral("-"));
    menu->Add(divider);
  }
  auto* item = new TMenuItem(this);
  item->SetName(form_->Name() + kChildItemSuffix);
  item->SetCaption(form_->Caption());
  item->OnClick = [this](TComponent*) { ChooseWindowItem(); };
  item->FreeNotification(this);
  menu->Add(item);
  windowItem_ = item;
  UpdateWindowMenuChecks();
}

void TbsSkinForm::RemoveFromWindowMenu() {
  if (!windowItem_) return;
  TMenuItem* item = windowItem_;
  windowItem_ = nullptr;
  delete item;  // leaves the menu
  if (TMenuItem* menu = ParentWindowMenu(); menu && !HasChildItems(menu)) delete Divider(menu);
}

void TbsSkinForm::UpdateWindowMenuChecks() const {
  TMenuItem* menu = ParentWindowMenu();
  if (!menu) return;
  TCustomForm* active = MainForm()->ActiveMDIChild();
  for (TMenuItem* i : menu->ItemList())
    if (IsChildItem(i)) {
      const QString name = i->Name().left(i->Name().size() - kChildItemSuffix.size());
      i->SetChecked(active && name == active->Name());
    }
}

void TbsSkinForm::ChooseWindowItem() {
  if (windowState_ == TWindowState::wsMinimized) SetWindowState(TWindowState::wsNormal);
  form_->Show();
  if (TMDIClient* host = form_->MDIHost()) host->Activate(form_);
}

// ===================================================================================
// The parent's MDI client window
// ===================================================================================

void TbsSkinForm::HookMDIClient() {
  TMDIClient* client = form_->MDIClient();
  if (client && !mdiClient_ && !IsDesigning()) {
    mdiClient_ = client;
    client->FreeNotification(this);
    oldClientProc_ = client->WindowProc;
    client->WindowProc = [this](TMessage& m) { MDIClientProc(m); };
  }
  ForceRelayout();
}

void TbsSkinForm::UnhookMDIClient() {
  if (!mdiClient_) return;
  TMDIClient* client = mdiClient_;
  mdiClient_ = nullptr;
  client->RemoveFreeNotification(this);
  if (!client->IsDestroying()) client->WindowProc = std::move(oldClientProc_);
}

void TbsSkinForm::MDIClientProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      oldClientProc_(m);
      RefitChildren();
      return;
    case WM_ERASEBKGND:
      if (auto* c = reinterpret_cast<TCanvas*>(m.WParam); c && mdiClient_)
        PaintBackground(*c, mdiClient_->ClientWidth(), mdiClient_->ClientHeight(), clAppWorkSpace);
      m.Result = 1;
      return;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      return;  // the MDI client has no border
    case WM_NCACTIVATE:
      m.Result = 1;
      return;
    default:
      oldClientProc_(m);
      return;
  }
}
