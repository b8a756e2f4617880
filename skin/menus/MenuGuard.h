// Watches a component across a call that may free it (an item's OnClick, a message that may
// close the menus): Alive() turns false once the component is gone. Stack object; GUI thread only.
#pragma once
#include "platform/Component.h"

class TComponentGuard : public TComponent {
 public:
  explicit TComponentGuard(TComponent* target) : TComponent(nullptr), target_(target) {
    if (target_) target_->FreeNotification(this);
  }
  ~TComponentGuard() override {
    if (target_) target_->RemoveFreeNotification(this);
  }
  bool Alive() const { return target_ != nullptr; }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == target_) target_ = nullptr;
  }

 private:
  TComponent* target_;  // referenced until it goes
};
