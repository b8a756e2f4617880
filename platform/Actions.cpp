#include "platform/Actions.h"

#include <algorithm>

#include "platform/ImageList.h"
#include "platform/Streaming.h"

// ---- TActionList -------------------------------------------------------------------------

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList() {
  SetImages(nullptr);
  for (TAction* a : std::vector<TAction*>(actions_)) a->SetActionList(nullptr);
}

void TActionList::SetImages(TCustomImageList* images) {
  if (images == images_) return;
  if (images_) {
    images_->RemoveChangeListener(this);
    images_->RemoveFreeNotification(this);
  }
  images_ = images;
  if (images_) {
    images_->FreeNotification(this);
    images_->AddChangeListener(this, [this] { ImagesChanged(); });
  }
  ImagesChanged();
}

void TActionList::ImagesChanged() {
  for (TAction* a : std::vector<TAction*>(actions_)) a->Changed();
}

void TActionList::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove) return;
  if (c == images_) {
    images_ = nullptr;
    ImagesChanged();
  }
}

// ---- TAction -----------------------------------------------------------------------------

TAction::TAction(TComponent* owner) : TComponent(owner) {}

TAction::~TAction() {
  listeners_.clear();
  SetActionList(nullptr);
}

void TAction::SetCaption(const QString& v) {
  caption_ = v;
  Changed();
}

void TAction::SetImageIndex(int v) {
  imageIndex_ = v;
  Changed();
}

void TAction::SetEnabled(bool v) {
  enabled_ = v;
  Changed();
}

void TAction::SetActionList(TActionList* list) {
  if (list == list_) return;
  if (list_) {
    std::erase(list_->actions_, this);
    list_->RemoveFreeNotification(this);
  }
  list_ = list;
  if (list_) {
    list_->actions_.push_back(this);
    list_->FreeNotification(this);
  }
  Changed();
}

void TAction::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == list_) {
    list_ = nullptr;
    Changed();
  }
}

TComponent* TAction::GetParentComponent() const { return list_; }

void TAction::SetParentComponent(TComponent* parent) {
  if (auto* list = dynamic_cast<TActionList*>(parent)) SetActionList(list);
}

bool TAction::Execute() {
  if (!enabled_ || !OnExecute) return false;
  OnExecute(this);
  return true;
}

void TAction::AddChangeListener(const void* key, std::function<void()> onChange) {
  for (Listener& l : listeners_)
    if (l.key == key) {
      l.onChange = std::move(onChange);
      return;
    }
  listeners_.push_back(Listener{key, std::move(onChange)});
}

void TAction::RemoveChangeListener(const void* key) {
  std::erase_if(listeners_, [key](const Listener& l) { return l.key == key; });
}

void TAction::Changed() {
  // A listener may remove itself (or others) while being told.
  const std::vector<Listener> now = listeners_;
  for (const Listener& l : now)
    if (std::any_of(listeners_.begin(), listeners_.end(), [&](const Listener& x) { return x.key == l.key; }))
      l.onChange();
}

void RegisterActionClasses() {
  RegisterClass<TActionList>(QStringLiteral("TActionList"), QStringLiteral("TComponent"))
      .Reference<TCustomImageList>(QStringLiteral("Images"), &TActionList::Images, &TActionList::SetImages);
  RegisterClass<TAction>(QStringLiteral("TAction"), QStringLiteral("TComponent"))
      .String(QStringLiteral("Caption"), &TAction::Caption, &TAction::SetCaption)
      .Integer(QStringLiteral("ImageIndex"), &TAction::ImageIndex, &TAction::SetImageIndex, -1)
      .Bool(QStringLiteral("Enabled"), &TAction::Enabled, &TAction::SetEnabled, true)
      .Event(QStringLiteral("OnExecute"), &TAction::OnExecute);
}
