#include "platform/Edit.h"

#include <QApplication>
#include <QLineEdit>
#include <QProxyStyle>
#include <QTimer>
#include <QValidator>
#include <algorithm>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/WidgetBridge.h"

namespace {
// The text line starts at the top of the client area.
Qt::Alignment QtAlignment(TAlignment a) {
  switch (a) {
    case taRightJustify:
      return Qt::AlignRight | Qt::AlignTop;
    case taCenter:
      return Qt::AlignHCenter | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

// QLineEdit keeps a gap of its own around the text: 2 pixels on each side and 1 above.
constexpr int kQtHorizontalGap = 2;
constexpr int kQtTopGap = 1;

// Keeps the text in one letter case, whatever is typed, pasted or set.
class TCharCaseValidator : public QValidator {
 public:
  TCharCaseValidator(TEditCharCase c, QObject* parent) : QValidator(parent), case_(c) {}
  State validate(QString& input, int&) const override {
    input = case_ == TEditCharCase::ecUpperCase ? input.toUpper() : input.toLower();
    return Acceptable;
  }

 private:
  TEditCharCase case_;
};

bool IsKeyEvent(const QEvent* e) {
  const QEvent::Type t = e->type();
  return t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::ShortcutOverride;
}

// The edit's window. Keys sent to it are the line edit's, which holds the keyboard focus; a
// key the line edit leaves passes here on its way to the parents, untouched.
class TEditWindow : public TBridgedWidget<QWidget> {
 public:
  using TBridgedWidget::TBridgedWidget;
  const QEvent* passing = nullptr;  // the key the line edit just left, set by the line edit

 protected:
  bool event(QEvent* e) override {
    if (!IsKeyEvent(e) || !focusProxy()) return TBridgedWidget::event(e);
    if (e == passing) {
      passing = nullptr;
      e->ignore();
      return false;
    }
    // Straight to the line edit, not through the application again: its filters have seen this
    // key already, and a second trip would offer it twice.
    return static_cast<QObject*>(focusProxy())->event(e);
  }
};

// The style of a password edit: the platform's own, with the edit's password character.
class TPasswordStyle : public QProxyStyle {
 public:
  QChar Character;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return Character.unicode();
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

// The line edit on the edit's client area.
class TEditLine : public TBridgedWidget<QLineEdit> {
 public:
  using TBridgedWidget::TBridgedWidget;

 protected:
  bool event(QEvent* e) override {
    const bool r = TBridgedWidget::event(e);
    if (IsKeyEvent(e) && !e->isAccepted())
      if (auto* w = dynamic_cast<TEditWindow*>(parentWidget())) w->passing = e;
    return r;
  }
};
}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  width_ = 121;
  height_ = 21;
  tabStop_ = true;
  color_ = clWindow;
  clientRect_ = TRect(0, 0, width_, height_);
}

TCustomEdit::~TCustomEdit() {
  // The line edit's bridge must not call into a half-destroyed control.
  if (editorBridge_) editorBridge_->Detach();
  editorBridge_ = nullptr;
}

QWidget* TCustomEdit::ClientHandle() {
  Handle();
  return editor_ ? static_cast<QWidget*>(editor_) : handle_;
}

QWidget* TCustomEdit::CreateWidget(QWidget* parent) {
  auto* frame = new TEditWindow(this, TWidgetBridge::Part::Frame, parent);
  auto* w = new TEditLine(this, TWidgetBridge::Part::Client, frame);
  frame->WholeHover = true;
  w->WholeHover = true;
  w->NativePaint = true;
  w->setFrame(false);
  w->setText(text_);
  w->setMouseTracking(true);
  w->setFocusPolicy(Qt::StrongFocus);
  frame->setFocusProxy(w);
  editor_ = w;
  editorBridge_ = w;
  QObject::connect(w, &QLineEdit::textChanged, w, [this](const QString& s) {
    text_ = s;
    try {
      Perform(CM_TEXTCHANGED);
      Change();
    } catch (...) {
      HandleCurrentException();
    }
  });
  return frame;
}

void TCustomEdit::InitWidget(QWidget* w) {
  TWinControl::InitWidget(w);
  // The frame takes no focus of its own: its focus proxy, the line edit, does.
  w->setFocusPolicy(Qt::NoFocus);
  if (editor_) {
    // The platform's default cursor over the text is the beam; the frame keeps the arrow.
    editor_->setCursor(cursor_ == crDefault ? QCursor(Qt::IBeamCursor) : w->cursor());
    editor_->setFocusPolicy(WantsFocus() ? Qt::StrongFocus : Qt::NoFocus);
  }
  ApplyOptions();
  FrameChanged();
}

void TCustomEdit::DestroyHandle() {
  QLineEdit* e = editor_;
  const bool busy = editorBridge_ && editorBridge_->Dispatching();
  if (editorBridge_) editorBridge_->Detach();
  editorBridge_ = nullptr;
  editor_ = nullptr;
  if (e && busy) {
    // The line edit is inside one of its own events: let Qt delete it afterwards.
    e->hide();
    e->setParent(nullptr);
    e->deleteLater();
  }
  TWinControl::DestroyHandle();
}

void TCustomEdit::DefaultHandler(TMessage& m) {
  if (editorBridge_) editorBridge_->MarkDefault(m);
  TWinControl::DefaultHandler(m);
}

void TCustomEdit::ApplyOptions() {
  QLineEdit* e = Editor();
  if (!e) return;
  // Each setter below is called only when its value changes: a skin change applies the options
  // of every edit again, and Qt redoes its work (the text set again, the palette spread to the
  // widget's children) even for the value it has.
  if (e->isReadOnly() != readOnly_) e->setReadOnly(readOnly_);
  const int maxLength = maxLength_ > 0 ? maxLength_ : 32767;
  if (e->maxLength() != maxLength) e->setMaxLength(maxLength);
  if (e->alignment() != QtAlignment(alignment_)) e->setAlignment(QtAlignment(alignment_));
  if (charCase_ == TEditCharCase::ecNormal) {
    if (e->validator()) e->setValidator(nullptr);
  } else {
    e->setValidator(new TCharCaseValidator(charCase_, e));
  }
  const QLineEdit::EchoMode echo = passwordChar_.isNull() ? QLineEdit::Normal : QLineEdit::Password;
  if (e->echoMode() != echo) e->setEchoMode(echo);
  // Qt takes the password character from the widget's style. A style of this edit's own
  // answers it; a style sheet would do too, but its style paints the box from the platform's
  // look and drops the palette below (a white box on a dark skin).
  if (!passwordChar_.isNull()) {
    // The line edit reads the character when its style changes.
    if (auto* style = dynamic_cast<TPasswordStyle*>(e->style())) {
      if (style->Character != passwordChar_) {
        style->Character = passwordChar_;
        QEvent changed(QEvent::StyleChange);
        QApplication::sendEvent(e, &changed);
      }
    } else {
      style = new TPasswordStyle;
      style->Character = passwordChar_;
      style->setParent(e);  // the widget does not own the style it is given
      e->setStyle(style);
    }
  }
  QPalette pal = e->palette();
  pal.setColor(QPalette::Base, transparent_ ? QColor(Qt::transparent) : ToQColor(color_));
  pal.setColor(QPalette::Text, ToQColor(font_.Color));
  pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(DisabledTextColor()));
  if (!(pal == e->palette()) || pal.resolveMask() != e->palette().resolveMask()) e->setPalette(pal);
  if (e->accessibleName() != AccessibleName()) e->setAccessibleName(AccessibleName());
}

void TCustomEdit::SetLabelName(const QString& name) {
  labelName_ = name;
  if (editor_ && editor_->accessibleName() != AccessibleName()) editor_->setAccessibleName(AccessibleName());
}

TColor TCustomEdit::DisabledTextColor() const { return clGrayText; }

void TCustomEdit::FrameChanged() {
  TRect r(0, 0, width_, height_);
  Perform(WM_NCCALCSIZE, 0, reinterpret_cast<intptr_t>(&r));
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  clientRect_ = r;
  if (QLineEdit* e = Editor()) {
    e->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    e->setTextMargins(marginLeft_ - kQtHorizontalGap, -kQtTopGap, marginRight_ - kQtHorizontalGap, 0);
  }
}

void TCustomEdit::SetEditMargins(int left, int right) {
  marginLeft_ = std::max(0, left);
  marginRight_ = std::max(0, right);
  FrameChanged();
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
  charCase_ = v;
  ApplyOptions();
  // The text already there takes the case too.
  if (QLineEdit* e = Editor(); e && v != TEditCharCase::ecNormal)
    e->setText(v == TEditCharCase::ecUpperCase ? e->text().toUpper() : e->text().toLower());
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

void TCustomEdit::SetFocus() {
  Handle();
  if (!editor_) return;
  if (editor_->focusPolicy() == Qt::NoFocus) editor_->setFocusPolicy(Qt::ClickFocus);
  editor_->setFocus(Qt::OtherFocusReason);
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
  switch (m.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
    case WM_NCMOUSEMOVE:
      // The frame is inert: its clicks go neither to the text nor to the parent.
      return;
    default:
      break;
  }
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
      if (autoSelect_ && editor_) QTimer::singleShot(0, editor_, [this] { SelectAll(); });
      break;
    case WM_KILLFOCUS:
      // Qt drops the selection when the focus goes; a shown selection is put back after it.
      if (!hideSelection_ && editor_ && editor_->hasSelectedText()) {
        const int start = editor_->selectionStart();
        const int length = static_cast<int>(editor_->selectedText().size());
        QLineEdit* e = editor_;
        QTimer::singleShot(0, e, [e, start, length] { e->setSelection(start, length); });
      }
      break;

    default:
      break;
  }
}
