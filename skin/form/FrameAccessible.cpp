// Screen readers see a form's window as a window named by its caption. With a frame component
// its frame objects come first among the window's children: the caption as a title bar with
// its text and place, the caption buttons as push buttons named by what they do, each with a
// press action that runs its command.
#include "skin/form/FrameAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "platform/Forms.h"
#include "platform/WidgetBridge.h"
#include "skin/controls/AccessibleItems.h"
#include "skin/form/bsSkinForm.h"

namespace {

TCustomForm* FormOf(QObject* o) {
  auto* bridge = dynamic_cast<TWidgetBridge*>(o);
  return bridge ? dynamic_cast<TCustomForm*>(bridge->Control()) : nullptr;
}

TbsSkinForm* FrameOf(const TCustomForm* form) {
  if (!form) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TbsSkinForm*>(form->Components(i))) return f;
  return nullptr;
}

QString ButtonName(const TbsSkinForm& frame, const TbsActiveSkinObject& o) {
  auto* b = dynamic_cast<const TbsSkinStdButtonObject*>(&o);
  if (!b) return o.Hint.isEmpty() ? o.IDName : o.Hint;
  switch (b->Command) {
    case cmClose:
      return QStringLiteral("Close");
    case cmMaximize:
      return frame.WindowState() == TWindowState::wsMaximized ? QStringLiteral("Restore") : QStringLiteral("Maximize");
    case cmMinimize:
      return frame.WindowState() == TWindowState::wsMinimized ? QStringLiteral("Restore") : QStringLiteral("Minimize");
    case cmRollUp:
      return frame.RollUpState() ? QStringLiteral("Roll down") : QStringLiteral("Roll up");
    case cmSysMenu:
      return QStringLiteral("System menu");
    default:
      return o.Hint.isEmpty() ? o.IDName : o.Hint;
  }
}

class FrameWindowAccessible;

// One frame object (no widget of its own); checked against the frame's objects before use,
// since a skin change replaces them.
class FrameObjectAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  FrameObjectAccessible(FrameWindowAccessible* window, TbsActiveSkinObject* object)
      : window_(window), object_(object) {}
  bool isValid() const override { return Object() != nullptr; }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override {
    TbsActiveSkinObject* o = Object();
    return o && o->IsCaption() ? QAccessible::TitleBar : QAccessible::Button;
  }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType t) override {
    TbsActiveSkinObject* o = Object();
    if (t == QAccessible::ActionInterface && o && !o->IsCaption())
      return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QString localizedActionDescription(const QString& name) const override {
    return name == pressAction() ? QStringLiteral("Press") : QString();
  }
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  TbsActiveSkinObject* Object() const;

 private:
  FrameWindowAccessible* window_;
  TbsActiveSkinObject* object_;  // referenced; valid only while the frame still holds it
};

class FrameWindowAccessible : public TAccessibleWithItems<TbsActiveSkinObject> {
 public:
  explicit FrameWindowAccessible(QWidget* w) : TAccessibleWithItems(w, QAccessible::Window) {}

  TCustomForm* Form() const { return FormOf(object()); }
  TbsSkinForm* Frame() const { return FrameOf(Form()); }

  // The frame objects a reader sees, before the window's widgets: visible captions and buttons.
  std::vector<TbsActiveSkinObject*> Items() const override {
    std::vector<TbsActiveSkinObject*> out;
    if (TbsSkinForm* f = Frame())
      for (const auto& o : f->Objects())
        if (o->IsVisible && (o->IsCaption() || dynamic_cast<TbsSkinButtonObject*>(o.get()))) out.push_back(o.get());
    return out;
  }
  bool Holds(const TbsActiveSkinObject* o) const {
    for (TbsActiveSkinObject* x : Items())
      if (x == o) return true;
    return false;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      if (TCustomForm* f = Form()) return f->Caption();
      return widget()->windowTitle();
    }
    return QAccessibleWidget::text(t);
  }

 protected:
  QAccessibleInterface* NewItem(TbsActiveSkinObject* o) const override {
    return new FrameObjectAccessible(const_cast<FrameWindowAccessible*>(this), o);
  }
};

TbsActiveSkinObject* FrameObjectAccessible::Object() const {
  return window_ && window_->Holds(object_) ? object_ : nullptr;
}

QAccessibleInterface* FrameObjectAccessible::parent() const { return window_; }

QString FrameObjectAccessible::text(QAccessible::Text t) const {
  TbsActiveSkinObject* o = Object();
  TbsSkinForm* f = window_->Frame();
  if (!o || !f) return QString();
  if (o->IsCaption()) {
    if (t == QAccessible::Name || t == QAccessible::Value) return f->CaptionText();
    return QString();
  }
  if (t == QAccessible::Name) return ButtonName(*f, *o);
  if (t == QAccessible::Description) return o->Hint;
  return QString();
}

QRect FrameObjectAccessible::rect() const {
  TbsActiveSkinObject* o = Object();
  TCustomForm* form = window_->Form();
  if (!o || !form || !form->HandleAllocated()) return QRect();
  const TRect& r = o->ObjectRect;
  const QPoint origin = form->Handle()->mapToGlobal(QPoint(r.Left, r.Top));
  return QRect(origin, QSize(r.Width(), r.Height()));
}

QAccessible::State FrameObjectAccessible::state() const {
  QAccessible::State s;
  TbsActiveSkinObject* o = Object();
  if (!o) {
    s.invalid = true;
    return s;
  }
  s.disabled = !o->IsEnabled;
  s.hotTracked = o->MouseInside;
  if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o)) s.pressed = b->Pressed;
  return s;
}

void FrameObjectAccessible::doAction(const QString& name) {
  if (name != pressAction()) return;
  auto* b = dynamic_cast<TbsSkinStdButtonObject*>(Object());
  if (!b || !b->IsEnabled) return;
  // The system-menu button acts on its press: it opens the system menu.
  if (b->Command == cmSysMenu)
    b->MouseDown(0, 0, TMouseButton::mbLeft);
  else
    b->Execute();
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QStringLiteral("QWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  // A form's window: a top-level one, or an MDI child's inside its parent's client window.
  auto* bridge = dynamic_cast<TWidgetBridge*>(object);
  if (!bridge || bridge->WidgetPart() != TWidgetBridge::Part::Frame || !FormOf(w)) return nullptr;
  return new FrameWindowAccessible(w);
}

}  // namespace

void InstallFormAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}
