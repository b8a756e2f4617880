// The MDI client window of a parent form (FormStyle fsMDIForm): a windowed control aligned to
// the form's client area less its aligned bars. The windows of the child forms (fsMDIChild) are
// plain child windows inside it, in its coordinates; it keeps them in z-order, activates one at
// a time and arranges them (Tile, Cascade, ArrangeIcons).
//
// Activation: the active child is the top one. Activating a child raises its window and sends it
// WM_NCACTIVATE(1) and WM_ACTIVATE(WA_ACTIVE); the child it replaces gets WM_NCACTIVATE(0) and
// WM_ACTIVATE(WA_INACTIVE). A mouse press anywhere in a child's window first sends that child
// WM_MOUSEACTIVATE and then activates it.
//
// Its background is painted through its window procedure (WM_ERASEBKGND: the Color,
// clAppWorkSpace), which a frame component may take over. The parent form creates and frees
// it; child forms unregister themselves when they go, and the client drops the windows of the
// children still in it when it goes first. GUI thread only.
#pragma once
#include <memory>
#include <vector>

#include "platform/Controls.h"

class TCustomForm;
class QObject;

class TMDIClient : public TWinControl {
 public:
  explicit TMDIClient(TCustomForm* form);
  ~TMDIClient() override;
  QString ClassName() const override { return QStringLiteral("TMDIClient"); }

  TCustomForm* Form() const { return form_; }

  // Children in z-order, the top (active) one first.
  int ChildCount() const { return static_cast<int>(children_.size()); }
  TCustomForm* Child(int i) const { return children_.at(static_cast<size_t>(i)); }
  // The active child: the top child whose window is shown (nullptr when none is).
  TCustomForm* ActiveChild() const;
  // Raises `child` and makes it the active one; nothing for a form that is not a child here.
  void Activate(TCustomForm* child);
  // Activates the next shown child below the active one (the bottom one wraps to the top).
  void Next();

  // Lays the shown children that are not minimized side by side in a grid over the area left
  // above the row of minimized ones.
  void Tile();
  // Lays them from the top-left corner, each one caption lower and further right than the one
  // above it, all of the same size.
  void Cascade();
  // Lines the minimized children up along the bottom edge, left to right, rows upwards.
  void ArrangeIcons();

  // Called by child forms.
  void AddChild(TCustomForm* child);
  void RemoveChild(TCustomForm* child);
  void ChildShown(TCustomForm* child, bool shown);

  void WndProc(TMessage& m) override;

 protected:
  // Screen readers see the client window as the workspace the child windows lie in.
  void InitWidget(QWidget* w) override;

 private:
  class MouseWatch;
  void SetActive(TCustomForm* child);
  TCustomForm* ChildOf(QObject* o) const;
  bool Shown(const TCustomForm* child) const;

  TCustomForm* form_;                   // the parent form; referenced
  std::vector<TCustomForm*> children_;  // referenced; z-order, top first
  TCustomForm* active_ = nullptr;       // referenced; the child told it is active
  std::unique_ptr<MouseWatch> watch_;   // owned
};
