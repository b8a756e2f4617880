#include "platform/Menus.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <functional>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Streaming.h"

QString StripHotkey(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) out += QLatin1Char('&'), ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

QChar GetHotkey(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return caption[i + 1];
  }
  return {};
}

bool IsAccel(uint16_t key, const QString& caption) {
  // Virtual key codes name letters by their capital and digits by themselves; no other key
  // code is a character.
  const bool character = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
  const QChar c = GetHotkey(caption);
  return character && !c.isNull() && c.toUpper() == QChar(key);
}

// ---- TMenuItem ---------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  Destroying();
  if (parent_) parent_->Remove(this);
  Clear();
}

void TMenuItem::SetChecked(bool v) {
  checked_ = v;
  if (!v || !radioItem_ || !parent_) return;
  for (TMenuItem* s : parent_->items_)
    if (s != this && s->radioItem_ && s->groupIndex_ == groupIndex_) s->checked_ = false;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  for (const TMenuItem* p = this; p; p = p->parent_)
    if (p == item) throw EComponentError(QStringLiteral("Menu inserted twice"));
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
  items_[static_cast<size_t>(index)]->parent_ = nullptr;
  items_.erase(items_.begin() + index);
}

void TMenuItem::Remove(TMenuItem* item) {
  const int i = IndexOf(item);
  if (i >= 0) Delete(i);
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();  // each removes itself from the list
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const QString& caption) const {
  const QString want = StripHotkey(caption);
  for (TMenuItem* i : items_)
    if (StripHotkey(i->caption_) == want) return i;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* p = this;
  while (p->parent_) p = p->parent_;
  return p->menu_;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (autoCheck_) SetChecked(!checked_);
  OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* m = dynamic_cast<TMenu*>(parent)) m->Items()->Add(this);
  else if (auto* i = dynamic_cast<TMenuItem*>(parent)) i->Add(this);
}

// ---- TMenu -------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  Destroying();
  delete items_;
  items_ = nullptr;
}

void TMenu::SetImages(TCustomImageList* v) {
  if (images_ == v) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (images_) images_->FreeNotification(this);
}

void TMenu::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == images_) images_ = nullptr;
}

namespace {
TMenuItem* FindShortCut(const TMenuItem* parent, TShortCut s) {
  for (TMenuItem* i : parent->ItemList()) {
    if (!i->Visible() || !i->Enabled()) continue;
    if (i->ShortCut() == s) return i;
    if (TMenuItem* found = FindShortCut(i, s)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
  if (shortCut == scNone) return nullptr;
  return FindShortCut(items_, shortCut);
}

namespace {
bool HoldsItem(const TMenuItem* parent, const TMenuItem* item) {
  for (const TMenuItem* i : parent->ItemList())
    if (i == item || HoldsItem(i, item)) return true;
  return false;
}
}  // namespace

bool TMenu::Holds(const TMenuItem* item) const { return item && HoldsItem(items_, item); }

bool TMenu::IsShortCut(uint16_t key, TShiftState shift) {
  TMenuItem* item = FindItemByShortCut(::ShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}

// ---- TPopupMenu --------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

namespace {
void FillQMenu(QMenu* menu, TMenuItem* parent, const std::function<void(TMenuItem*)>& run) {
  for (TMenuItem* item : parent->ItemList()) {
    if (!item->Visible()) continue;
    if (item->IsLine()) {
      menu->addSeparator();
      continue;
    }
    QAction* a = nullptr;
    if (item->Count() > 0) {
      QMenu* sub = menu->addMenu(item->Caption());
      FillQMenu(sub, item, run);
      a = sub->menuAction();
    } else {
      a = menu->addAction(item->Caption());
      QObject::connect(a, &QAction::triggered, [item, run] { run(item); });
    }
    a->setEnabled(item->Enabled());
    a->setCheckable(item->Checked());
    a->setChecked(item->Checked());
    if (item->ShortCut() != scNone) a->setShortcut(QKeySequence(ShortCutToText(item->ShortCut())));
  }
}
}  // namespace

void TPopupMenu::Popup(int x, int y) {
  DoPopup();
  if (Items()->Count() == 0) return;
  // A plain Qt menu; it deletes itself once closed.
  auto* menu = new QMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The items may be freed, or the menu itself, while the Qt menu is open.
  const std::weak_ptr<int> life = life_;
  FillQMenu(menu, Items(), [this, life](TMenuItem* item) {
    if (!life.expired() && Holds(item)) item->Click();
  });
  menu->popup(QPoint(x, y));
}

// ---- Form definitions --------------------------------------------------------------------

void RegisterMenuClasses() {
  RegisterClass<TMenuItem>(QStringLiteral("TMenuItem"), QStringLiteral("TComponent"))
      .String(QStringLiteral("Caption"), &TMenuItem::Caption, &TMenuItem::SetCaption)
      .Integer(QStringLiteral("ShortCut"), &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0)
      .Bool(QStringLiteral("Enabled"), &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
      .Bool(QStringLiteral("Visible"), &TMenuItem::Visible, &TMenuItem::SetVisible, true)
      .Bool(QStringLiteral("Checked"), &TMenuItem::Checked, &TMenuItem::SetChecked, false)
      .Bool(QStringLiteral("RadioItem"), &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
      .Integer(QStringLiteral("GroupIndex"), &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0)
      .Bool(QStringLiteral("AutoCheck"), &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck, false)
      .Bool(QStringLiteral("Default"), &TMenuItem::Default, &TMenuItem::SetDefault, false)
      .Integer(QStringLiteral("ImageIndex"), &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
      .String(QStringLiteral("Hint"), &TMenuItem::Hint, &TMenuItem::SetHint)
      .Integer(QStringLiteral("Tag"), &TMenuItem::Tag, &TMenuItem::SetTag, 0)
      .Event(QStringLiteral("OnClick"), &TMenuItem::OnClick);
  RegisterClass<TMenu>(QStringLiteral("TMenu"), QStringLiteral("TComponent"))
      .Reference<TCustomImageList>(QStringLiteral("Images"), &TMenu::Images, &TMenu::SetImages);
  RegisterClass<TPopupMenu>(QStringLiteral("TPopupMenu"), QStringLiteral("TMenu"))
      .Event(QStringLiteral("OnPopup"), &TPopupMenu::OnPopup);
  RegisterClass<TMainMenu>(QStringLiteral("TMainMenu"), QStringLiteral("TMenu"));
}
