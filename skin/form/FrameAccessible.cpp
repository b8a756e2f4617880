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

// One frame object; a skin change replaces them.
class FrameObjectAccessible : public TAccessibleItem<TbsActiveSkinObject> {
 public:
  using TAccessibleItem::TAccessibleItem;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override {
    TbsActiveSkinObject* o = Item();
    return o && o->IsCaption() ? QAccessible::TitleBar : QAccessible::Button;
  }
  QAccessible::State state() const override;
  void doAction(const QString& name) override;

 protected:
  bool HasPressAction() const override {
    TbsActiveSkinObject* o = Item();
    return o && !o->IsCaption();
  }

 private:
  FrameWindowAccessible* Window() const;
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

FrameWindowAccessible* FrameObjectAccessible::Window() const { return static_cast<FrameWindowAccessible*>(list_); }

QString FrameObjectAccessible::text(QAccessible::Text t) const {
  TbsActiveSkinObject* o = Item();
  TbsSkinForm* f = Window()->Frame();
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
  TbsActiveSkinObject* o = Item();
  TCustomForm* form = Window()->Form();
  if (!o || !form || !form->HandleAllocated()) return QRect();
  return ScreenRect(form->Handle(), o->ObjectRect);
}

QAccessible::State FrameObjectAccessible::state() const {
  QAccessible::State s;
  TbsActiveSkinObject* o = Item();
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
  auto* b = dynamic_cast<TbsSkinStdButtonObject*>(Item());
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
