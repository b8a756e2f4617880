// Screen readers see a form's window as a window named by its caption.
#include "app/FormAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "platform/Forms.h"
#include "platform/WidgetBridge.h"

namespace {
class FormWindowAccessible : public QAccessibleWidget {
 public:
  explicit FormWindowAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return widget()->windowTitle();
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QStringLiteral("QWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  auto* bridge = dynamic_cast<TWidgetBridge*>(w);
  if (!w->isWindow() || !bridge || !dynamic_cast<TCustomForm*>(bridge->Control())) return nullptr;
  return new FormWindowAccessible(w);
}
}  // namespace

void InstallFormAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}
