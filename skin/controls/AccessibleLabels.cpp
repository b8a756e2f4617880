#include "skin/controls/AccessibleLabels.h"

#include <QPointer>
#include <algorithm>

#include "platform/Label.h"
#include "platform/WidgetBridge.h"
#include "skin/controls/bsSkinPanel.h"

namespace {

TWinControl* ControlOf(QWidget* w) {
  auto* bridge = dynamic_cast<TWidgetBridge*>(w);
  return bridge ? bridge->Control() : nullptr;
}

// The caption as read: accelerator marks dropped where the label shows them.
QString ReadCaption(const TCustomLabel& l) {
  return (l.ShowAccelChar() ? StripAccelChars(l.Caption()) : l.Caption()).trimmed();
}

class LabelAccessible : public QAccessibleInterface {
 public:
  LabelAccessible(QAccessibleInterface* parent, QWidget* window, TCustomLabel* label)
      : parent_(parent), window_(window), label_(label) {}

  // The label while the window still shows it, else nullptr.
  TCustomLabel* Label() const {
    if (!window_) return nullptr;
    const auto labels = LabelsOn(window_);
    return std::find(labels.begin(), labels.end(), label_) != labels.end() ? label_ : nullptr;
  }
  bool isValid() const override { return Label() != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return parent_ ? parent_->window() : nullptr; }
  QAccessibleInterface* parent() const override { return parent_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::StaticText; }
  QString text(QAccessible::Text t) const override {
    TCustomLabel* l = Label();
    if (!l) return QString();
    if (t == QAccessible::Name) return ReadCaption(*l);
    if (t == QAccessible::Description) return l->Hint();
    return QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    TCustomLabel* l = Label();
    if (!l) return QRect();
    const TPoint p = l->ClientToScreen(TPoint(0, 0));
    return QRect(p.X, p.Y, l->Width(), l->Height());
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    TCustomLabel* l = Label();
    if (!l) {
      s.invalid = true;
      return s;
    }
    s.disabled = !l->Enabled();
    s.readOnly = true;
    return s;
  }

 private:
  QAccessibleInterface* parent_;  // the window's interface, which outlives this one
  QPointer<QWidget> window_;
  TCustomLabel* label_;  // compared only; used while the window still holds it
};

}  // namespace

std::vector<TCustomLabel*> LabelsOn(QWidget* w) {
  std::vector<TCustomLabel*> out;
  TWinControl* c = ControlOf(w);
  if (!c) return out;
  for (TControl* child : c->ControlList())
    if (auto* l = dynamic_cast<TCustomLabel*>(child); l && l->Visible() && !l->Caption().isEmpty()) out.push_back(l);
  return out;
}

TAccessibleLabels::~TAccessibleLabels() {
  for (auto& [label, id] : ids_) QAccessible::deleteAccessibleInterface(id);
}

int TAccessibleLabels::Count(QWidget* w) const { return static_cast<int>(LabelsOn(w).size()); }

QAccessibleInterface* TAccessibleLabels::Child(QAccessibleInterface* parent, QWidget* w, int index) const {
  const auto labels = LabelsOn(w);
  if (index < 0 || index >= static_cast<int>(labels.size())) return nullptr;
  TCustomLabel* l = labels[static_cast<size_t>(index)];
  auto it = ids_.find(l);
  if (it != ids_.end()) return QAccessible::accessibleInterface(it->second);
  QAccessibleInterface* iface = new LabelAccessible(parent, w, l);
  ids_[l] = QAccessible::registerAccessibleInterface(iface);
  return iface;
}

int TAccessibleLabels::IndexOf(QWidget* w, const QAccessibleInterface* c) const {
  const auto labels = LabelsOn(w);
  for (int i = 0; i < static_cast<int>(labels.size()); ++i) {
    auto it = ids_.find(labels[static_cast<size_t>(i)]);
    if (it != ids_.end() && QAccessible::accessibleInterface(it->second) == c) return i;
  }
  return -1;
}

QString TContainerAccessible::text(QAccessible::Text t) const {
  if (t == QAccessible::Name)
    if (TWinControl* c = ControlOf(widget())) {
      // A panel shows its caption only in caption mode (else the caption is its name as placed).
      auto* panel = dynamic_cast<TbsSkinPanel*>(c);
      const QString caption = panel && !panel->CaptionMode() ? QString() : StripAccelChars(c->Caption()).trimmed();
      return caption.isEmpty() ? c->Hint() : caption;
    }
  return QAccessibleWidget::text(t);
}

int TContainerAccessible::childCount() const { return QAccessibleWidget::childCount() + labels_.Count(widget()); }

QAccessibleInterface* TContainerAccessible::child(int index) const {
  const int widgets = QAccessibleWidget::childCount();
  if (index < widgets) return QAccessibleWidget::child(index);
  return labels_.Child(const_cast<TContainerAccessible*>(this), widget(), index - widgets);
}

int TContainerAccessible::indexOfChild(const QAccessibleInterface* c) const {
  const int w = QAccessibleWidget::indexOfChild(c);
  if (w >= 0) return w;
  const int l = labels_.IndexOf(widget(), c);
  return l < 0 ? -1 : l + QAccessibleWidget::childCount();
}
