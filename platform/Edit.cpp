#include "platform/Edit.h"

#include <QLineEdit>
#include <QTimer>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/WidgetBridge.h"

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  width_ = 121;
  height_ = 21;
  tabStop_ = true;
  color_ = clWindow;
}

TCustomEdit::~TCustomEdit() = default;

QLineEdit* TCustomEdit::Editor() const { return qobject_cast<QLineEdit*>(handle_); }

QWidget* TCustomEdit::CreateWidget(QWidget* parent) {
  auto* w = new TBridgedWidget<QLineEdit>(this, TWidgetBridge::Part::Whole, parent);
  w->NativePaint = true;
  w->setText(text_);
  QObject::connect(w, &QLineEdit::textChanged, w, [this](const QString& s) {
    text_ = s;
    try {
      Perform(CM_TEXTCHANGED);
      Change();
    } catch (...) {
      HandleCurrentException();
    }
  });
  return w;
}

void TCustomEdit::InitWidget(QWidget* w) {
  TWinControl::InitWidget(w);
  ApplyOptions();
}

void TCustomEdit::ApplyOptions() {
  QLineEdit* e = Editor();
  if (!e) return;
  e->setReadOnly(readOnly_);
  e->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
  e->setEchoMode(passwordChar_.isNull() ? QLineEdit::Normal : QLineEdit::Password);
  QPalette pal = e->palette();
  pal.setColor(QPalette::Base, ToQColor(color_));
  pal.setColor(QPalette::Text, ToQColor(font_.Color));
  e->setPalette(pal);
}

QString TCustomEdit::GetText() const {
  if (QLineEdit* e = Editor()) return e->text();
  return text_;
}

void TCustomEdit::SetTextValue(const QString& s) {
  QString v = maxLength_ > 0 ? s.left(maxLength_) : s;
  if (QLineEdit* e = Editor()) {
    e->setText(v);  // textChanged reports the change
    return;
  }
  text_ = v;
  Change();
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  ApplyOptions();
}

void TCustomEdit::SetMaxLength(int v) {
  maxLength_ = v < 0 ? 0 : v;
  ApplyOptions();
}

void TCustomEdit::SetPasswordChar(QChar c) {
  passwordChar_ = c;
  ApplyOptions();
}

void TCustomEdit::SelectAll() {
  if (QLineEdit* e = Editor()) e->selectAll();
}

int TCustomEdit::SelStart() const {
  QLineEdit* e = Editor();
  if (!e) return 0;
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

int TCustomEdit::SelLength() const {
  QLineEdit* e = Editor();
  return e ? static_cast<int>(e->selectedText().size()) : 0;
}

void TCustomEdit::WndProc(TMessage& m) {
  TWinControl::WndProc(m);
  switch (m.Msg) {
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      ApplyOptions();
      break;
    case WM_SETFOCUS:
      // Select the whole text on entry, once Qt has placed the caret.
      if (autoSelect_ && handle_) QTimer::singleShot(0, handle_, [this] { SelectAll(); });
      break;
    default:
      break;
  }
}
