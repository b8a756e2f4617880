// The labels drawn on a window (they have no widget of their own) as a screen reader sees them:
// static texts named by their captions, at their places on the screen. A window's accessible
// interface keeps one TAccessibleLabels and lists its labels after its other children; each
// label gets one registered interface, made on first use and kept until the window's interface
// goes. A label is looked up again on every use, since it may be freed or hidden meanwhile.
// GUI thread only.
#pragma once
#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <map>
#include <vector>

class TCustomLabel;

// The visible labels with a caption that lie on the control of `w`, in their order.
std::vector<TCustomLabel*> LabelsOn(QWidget* w);

class TAccessibleLabels {
 public:
  TAccessibleLabels() = default;
  ~TAccessibleLabels();
  TAccessibleLabels(const TAccessibleLabels&) = delete;
  TAccessibleLabels& operator=(const TAccessibleLabels&) = delete;

  int Count(QWidget* w) const;
  // The interface of the `index`th label on `w`; `parent` is the window's interface.
  QAccessibleInterface* Child(QAccessibleInterface* parent, QWidget* w, int index) const;
  // The index of `c` among the labels on `w`, or -1.
  int IndexOf(QWidget* w, const QAccessibleInterface* c) const;

 private:
  mutable std::map<const TCustomLabel*, QAccessible::Id> ids_;
};

// A window without a role of its own that may hold labels (a panel, a tab sheet, an up-down),
// named by the caption it shows, or by its hint when it shows none.
class TContainerAccessible : public QAccessibleWidget {
 public:
  explicit TContainerAccessible(QWidget* w, QAccessible::Role role = QAccessible::Pane) : QAccessibleWidget(w, role) {}
  QString text(QAccessible::Text t) const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* c) const override;

 private:
  TAccessibleLabels labels_;
};
