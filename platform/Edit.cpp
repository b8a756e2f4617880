#include "platform/Edit.h"

#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/WidgetBridge.h"

namespace {
Qt::Alignment QtAlignment(TAlignment a) {
  switch (a) {
    case taRightJustify:
      return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}
}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  width_ = 121;
  height_ = 21;
  tabStop_ = true;
  color_ = clWindow;
  clientRect_ = TRect(0, 0, width_, height_);
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
  // The platform's default cursor over an edit is the text beam.
  if (cursor_ == crDefault) w->setCursor(Qt::IBeamCursor);
  ApplyOptions();
  FrameChanged();
}

void TCustomEdit::ApplyOptions() {
  QLineEdit* e = Editor();
  if (!e) return;
  e->setReadOnly(readOnly_);
  e->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
  e->setAlignment(QtAlignment(alignment_));
  e->setEchoMode(passwordChar_.isNull() ? QLineEdit::Normal : QLineEdit::Password);
  // Qt takes the password character from the widget's style; a style sheet rule sets it for
  // this edit alone. The sheet goes first: a sheet change may put back an older palette.
  const QString sheet =
      passwordChar_.isNull()
          ? QString()
          : QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(passwordChar_.unicode());
  if (e->styleSheet() != sheet) e->setStyleSheet(sheet);
  QPalette pal = e->palette();
  pal.setColor(QPalette::Base, transparent_ ? QColor(Qt::transparent) : ToQColor(color_));
  pal.setColor(QPalette::Text, ToQColor(font_.Color));
  pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(DisabledTextColor()));
  e->setPalette(pal);
}

TColor TCustomEdit::DisabledTextColor() const { return clGrayText; }

void TCustomEdit::FrameChanged() {
  TRect r(0, 0, width_, height_);
  Perform(WM_NCCALCSIZE, 0, reinterpret_cast<intptr_t>(&r));
  clientRect_ = r;
  if (QLineEdit* e = Editor())
    e->setTextMargins(std::max(0, r.Left), std::max(0, r.Top), std::max(0, width_ - r.Right),
                      std::max(0, height_ - r.Bottom));
}

void TCustomEdit::SetTransparentBackground(bool v) {
  transparent_ = v;
  ApplyOptions();
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

void TCustomEdit::SetAlignment(TAlignment a) {
  alignment_ = a;
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
    case WM_SIZE:
      FrameChanged();
      break;
    case WM_SETFOCUS:
      // Select the whole text on entry, once Qt has placed the caret.
      if (autoSelect_ && handle_) QTimer::singleShot(0, handle_, [this] { SelectAll(); });
      break;
    default:
      break;
  }
}
