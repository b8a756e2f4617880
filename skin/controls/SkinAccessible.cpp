#include "skin/controls/SkinAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "platform/Label.h"
#include "platform/PageControl.h"
#include "platform/WidgetBridge.h"
#include "skin/controls/AccessibleItems.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/controls/bsSkinTabs.h"

namespace {

TWinControl* ControlOf(QObject* o) {
  auto* bridge = dynamic_cast<TWidgetBridge*>(o);
  return bridge ? bridge->Control() : nullptr;
}

class ButtonAccessible : public QAccessibleWidget {
 public:
  explicit ButtonAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}

  TbsSkinButton* Button() const { return dynamic_cast<TbsSkinButton*>(ControlOf(object())); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name)
      if (TbsSkinButton* b = Button()) return StripAccelChars(b->Caption());
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (TbsSkinButton* b = Button()) {
      s.pressed = b->Down();
      s.defaultButton = b->Default();
      s.disabled = !b->Enabled();
    }
    return s;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QString localizedActionDescription(const QString& name) const override {
    return name == pressAction() ? QStringLiteral("Press") : QString();
  }
  void doAction(const QString& name) override {
    if (name != pressAction()) return;
    TbsSkinButton* b = Button();
    if (b && b->Enabled()) b->PerformClick();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

class PageTabsAccessible;

// One tab of a skinned page control (no widget of its own).
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TabAccessible(PageTabsAccessible* list, TTabSheet* page) : list_(list), page_(page) {}
  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && isValid() ? StripAccelChars(page_->Caption()) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::PageTab; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
  TTabSheet* Page() const { return page_; }

 private:
  PageTabsAccessible* list_;
  TTabSheet* page_;  // referenced; checked against the page control's pages before use
};

class PageTabsAccessible : public TAccessibleWithItems<TTabSheet> {
 public:
  explicit PageTabsAccessible(QWidget* w) : TAccessibleWithItems(w, QAccessible::PageTabList) {}

  TbsSkinPageControl* Control() const { return dynamic_cast<TbsSkinPageControl*>(ControlOf(object())); }

  bool HasPage(TTabSheet* p) const {
    TbsSkinPageControl* pc = Control();
    if (!pc) return false;
    for (int i = 0; i < pc->PageCount(); ++i)
      if (pc->Pages(i) == p) return true;
    return false;
  }

  // Tabs first, then the widgets inside the page control (the shown page).
  std::vector<TTabSheet*> Items() const override {
    TbsSkinPageControl* pc = Control();
    return pc ? pc->VisibleTabs() : std::vector<TTabSheet*>();
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name)
      if (TbsSkinPageControl* pc = Control(); pc && pc->ActivePage()) return StripAccelChars(pc->ActivePage()->Caption());
    return QAccessibleWidget::text(t);
  }

 protected:
  QAccessibleInterface* NewItem(TTabSheet* page) const override {
    return new TabAccessible(const_cast<PageTabsAccessible*>(this), page);
  }
};

bool TabAccessible::isValid() const { return list_ && list_->HasPage(page_); }

QAccessibleInterface* TabAccessible::parent() const { return list_; }

QRect TabAccessible::rect() const {
  TbsSkinPageControl* pc = list_->Control();
  if (!pc || !isValid() || !pc->HandleAllocated()) return QRect();
  const TRect r = pc->ItemRect(page_->TabIndex());
  const QPoint origin = pc->Handle()->mapToGlobal(QPoint(0, 0));
  return QRect(origin.x() + r.Left, origin.y() + r.Top, r.Width(), r.Height());
}

QAccessible::State TabAccessible::state() const {
  QAccessible::State s;
  s.selectable = true;
  if (!isValid()) {
    s.invalid = true;
    return s;
  }
  TbsSkinPageControl* pc = list_->Control();
  s.selected = pc && pc->ActivePage() == page_;
  s.disabled = !page_->Enabled();
  return s;
}

void TabAccessible::doAction(const QString& name) {
  if (name != pressAction() || !isValid()) return;
  TbsSkinPageControl* pc = list_->Control();
  if (pc) pc->SelectPage(page_);
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QStringLiteral("QWidget") || !object || !object->isWidgetType()) return nullptr;
  TWinControl* c = ControlOf(object);
  auto* w = static_cast<QWidget*>(object);
  if (dynamic_cast<TbsSkinButton*>(c)) return new ButtonAccessible(w);
  if (dynamic_cast<TbsSkinPageControl*>(c)) return new PageTabsAccessible(w);
  // Windows that hold labels: the labels are read as their texts.
  if (dynamic_cast<TbsSkinPanel*>(c) || dynamic_cast<TTabSheet*>(c)) return new TContainerAccessible(w);
  if (dynamic_cast<TbsSkinUpDown*>(c)) return new TContainerAccessible(w, QAccessible::SpinBox);
  return nullptr;
}

}  // namespace

void InstallSkinAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}
