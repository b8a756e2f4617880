#include "platform/Component.h"

#include <algorithm>

#include "platform/Exceptions.h"

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who holds a reference to us; each call may remove itself from the list.
  while (!freeNotifies_.empty()) {
    TComponent* c = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = c->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const QString& name) {
  if (name == name_) return;
  if (!name.isEmpty() && owner_) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EComponentError(QStringLiteral("A component named %1 already exists").arg(name));
  }
  name_ = name;
}

TComponent* TComponent::FindComponent(const QString& name) const {
  if (name.isEmpty()) return nullptr;
  for (TComponent* c : components_)
    if (c->name_.compare(name, Qt::CaseInsensitive) == 0) return c;
  return nullptr;
}

void TComponent::Loaded() { SetState(csLoading, false); }

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end())
    freeNotifies_.push_back(c);
  if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
    c->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  if (!c) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
  c->freeNotifies_.erase(std::remove(c->freeNotifies_.begin(), c->freeNotifies_.end(), this),
                         c->freeNotifies_.end());
}

void TComponent::InsertComponent(TComponent* c) {
  if (!c || c->owner_ == this) return;
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
  NotifyAll(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return;
  NotifyAll(c, TOperation::opRemove);
  // Notification handlers must not reorder the list, but may have; look again.
  it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

void TComponent::NotifyAll(TComponent* c, TOperation op) {
  Notification(c, op);
  // Copy: handlers may free or add components.
  const std::vector<TComponent*> snapshot = components_;
  for (TComponent* other : snapshot)
    if (other != c) other->Notification(c, op);
}

void TComponent::Notification(TComponent* c, TOperation op) {
  if (op == TOperation::opRemove) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
  }
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    RemoveComponent(c);
    delete c;
  }
}
