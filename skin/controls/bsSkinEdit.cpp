#include "skin/controls/bsSkinEdit.h"

#include <QEvent>
#include <QLineEdit>
#include <QPalette>

#include "platform/Colors.h"
#include "platform/WidgetBridge.h"
#include "skin/controls/SkinLookup.h"
#include "skin/draw/bsUtils.h"
#include "skin/controls/SkinStretch.h"
#include "skin/controls/bsSkinControl.h"
#include "skin/data/SkinControlData.h"

namespace {
// Tells the control when its line edit gains or loses the focus.
class FocusRelay : public QObject {
 public:
  FocusRelay(TWinControl* control, QObject* parent) : QObject(parent), control_(control) {}
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::FocusIn) control_->Perform(WM_SETFOCUS);
    else if (e->type() == QEvent::FocusOut) control_->Perform(WM_KILLFOCUS);
    return QObject::eventFilter(o, e);
  }

 private:
  TWinControl* control_;  // referenced; the relay goes with the control's widget
};

Qt::Alignment QtAlignment(TAlignment a) {
  switch (a) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace

// ---- TbsCustomEdit -----------------------------------------------------------------------

TbsCustomEdit::TbsCustomEdit(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(true);
  color_ = clWindow;
}

TbsCustomEdit::~TbsCustomEdit() { Destroying(); }

QWidget* TbsCustomEdit::CreateWidget(QWidget* parent) {
  QWidget* w = TCustomControl::CreateWidget(parent);
  edit_ = new QLineEdit(w);
  edit_->setFrame(false);
  edit_->setAutoFillBackground(false);
  edit_->setAttribute(Qt::WA_TranslucentBackground);
  // Two pixels of margin on the left, none on the right.
  edit_->setTextMargins(2, 0, 0, 0);
  edit_->setText(text_);
  edit_->installEventFilter(new FocusRelay(this, edit_));
  QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this](const QString& s) {
    text_ = s;
    Change();
  });
  w->setFocusProxy(edit_);
  return w;
}

void TbsCustomEdit::InitWidget(QWidget* w) {
  TCustomControl::InitWidget(w);
  edit_->setReadOnly(readOnly_);
  edit_->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
  SetEditPasswordChar(passwordChar_);
  PlaceLineEdit();
}

void TbsCustomEdit::DestroyHandle() {
  if (edit_) text_ = edit_->text();
  edit_ = nullptr;  // goes with the widget
  TCustomControl::DestroyHandle();
}

QString TbsCustomEdit::GetText() const { return edit_ ? edit_->text() : text_; }

void TbsCustomEdit::SetTextValue(const QString& s) {
  text_ = s;
  if (edit_) edit_->setText(s);
  else Change();
}

void TbsCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (edit_) edit_->setReadOnly(v);
}

void TbsCustomEdit::SetMaxLength(int v) {
  maxLength_ = std::max(0, v);
  if (edit_) edit_->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TbsCustomEdit::SetEditPasswordChar(QChar c) {
  passwordChar_ = c;
  if (!edit_) return;
  if (c.isNull()) {
    edit_->setEchoMode(QLineEdit::Normal);
    edit_->setStyleSheet(QString());
  } else {
    edit_->setEchoMode(QLineEdit::Password);
    edit_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; background: transparent; }").arg(c.unicode()));
  }
}

void TbsCustomEdit::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  PlaceLineEdit();
}

void TbsCustomEdit::SelectAll() {
  if (edit_) edit_->selectAll();
}

void TbsCustomEdit::PlaceLineEdit() {
  if (!edit_) return;
  const TRect r = TextArea();
  edit_->setGeometry(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
  edit_->setFont(Font().ToQFont());
  QPalette pal = edit_->palette();
  pal.setColor(QPalette::Base, Qt::transparent);
  pal.setColor(QPalette::Window, Qt::transparent);
  pal.setColor(QPalette::Text, ToQColor(Font().Color));
  pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
  edit_->setPalette(pal);
  edit_->setAlignment(QtAlignment(alignment_));
}

void TbsCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
      TCustomControl::WndProc(m);
      PlaceLineEdit();
      return;
    case WM_SIZE:
      TCustomControl::WndProc(m);
      PlaceLineEdit();
      return;
    case WM_SETFOCUS:
      TCustomControl::WndProc(m);
      if (autoSelect_ && edit_) edit_->selectAll();
      return;
    default: TCustomControl::WndProc(m);
  }
}

// ---- TbsSkinCustomEdit -------------------------------------------------------------------

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* owner) : TbsCustomEdit(owner) {
  TFont f = SkinDefaultFont(clWindowText);
  SetFont(f);
  SetParentFont(false);
  SetParentColor(false);
  defaultFont_ = f;
  TbsCustomEdit::SetBounds(Left(), Top(), 121, 20);
  ComputeAreas();
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() = default;

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* v) {
  if (TComponent* old = SkinDataComponent(skinData_)) old->RemoveFreeNotification(this);
  skinData_ = v;
  if (TComponent* now = SkinDataComponent(skinData_)) now->FreeNotification(this);
  if (skinData_ && !SkinIsEmpty(skinData_) && !IsDesigning()) ApplySkinData();
}

void TbsSkinCustomEdit::Notification(TComponent* c, TOperation op) {
  TbsCustomEdit::Notification(c, op);
  if (op == TOperation::opRemove && c && c == SkinDataComponent(skinData_)) skinData_ = nullptr;
}

void TbsSkinCustomEdit::SetDefaultFont(const TFont& f) {
  defaultFont_ = f;
  DefaultFontEdited();
}

void TbsSkinCustomEdit::DefaultFontEdited() {
  if (sectionIndex_ == -1) SetFont(defaultFont_);
}

void TbsSkinCustomEdit::SetDefaultWidth(int v) {
  defaultWidth_ = v;
  if (sectionIndex_ == -1 && v > 0) SetWidth(v);
}

void TbsSkinCustomEdit::SetDefaultHeight(int v) {
  defaultHeight_ = v;
  if (sectionIndex_ == -1 && v > 0) SetHeight(v);
}

void TbsSkinCustomEdit::SetButtonMode(bool v) {
  buttonMode_ = v;
  if (IsDesigning() && !IsLoading()) skinDataName_ = v ? QStringLiteral("buttonedit") : QStringLiteral("edit");
  ComputeAreas();
  PlaceLineEdit();
  Invalidate();
}

void TbsSkinCustomEdit::FetchSkinData() {
  sectionIndex_ = SkinIsEmpty(skinData_) ? -1 : SkinFindControlIndex(skinData_, skinDataName_);
  if (auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinControlAt(skinData_, sectionIndex_))) {
    skinrect_ = e->skinrect;
    skinClientRect_ = e->clientrect;
    fontcolor_ = e->fontcolor;
    activefontcolor_ = e->activefontcolor;
    disabledfontcolor_ = e->disabledfontcolor;
  }
}

void TbsSkinCustomEdit::ComputeAreas() {
  const int w = Width(), h = Height();
  if (sectionIndex_ != -1) {
    textBox_ = TRect(skinClientRect_.Left, skinClientRect_.Top, w + skinClientRect_.Right - skinrect_.Width(),
                     skinClientRect_.Bottom);
    return;
  }
  textBox_ = EditPlainTextBox(w, h, buttonMode_);
  buttonArea_ = buttonMode_ ? EditPlainButtonArea(w, h) : TRect();
}

TRect TbsSkinCustomEdit::TextArea() {
  ComputeAreas();
  return textBox_;
}

void TbsSkinCustomEdit::ApplySkinData() {
  FetchSkinData();
  auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinControlAt(skinData_, sectionIndex_));
  if (sectionIndex_ == -1 || !e) {
    SetFont(defaultFont_);
    if (defaultWidth_ > 0) SetWidth(defaultWidth_);
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
  } else {
    TFont f = defaultFont_;
    if (useSkinFont_) {
      f.Name = e->fontname;
      f.Style = e->fontstyle;
      f.Height = e->fontheight;
    }
    f.Color = Focused() ? activefontcolor_ : fontcolor_;
    SetFont(f);
    SetHeight(skinrect_.Height());
  }
  ComputeAreas();
  PlaceLineEdit();
  Invalidate();
}

void TbsSkinCustomEdit::SetBounds(int left, int top, int width, int height) {
  FetchSkinData();
  if (sectionIndex_ != -1 && (width != Width() || height != Height())) height = skinrect_.Height();
  TbsCustomEdit::SetBounds(left, top, width, height);
  ComputeAreas();
  PlaceLineEdit();
  Invalidate();
}

void TbsSkinCustomEdit::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  FetchSkinData();
  ComputeAreas();
  TBitmap frame(Width(), Height());
  // The frame image from the skin comes with the skinned looks; the plain frame serves meanwhile.
  TEditPlainLook look;
  look.Active = mouseInside_ || Focused();
  look.ButtonMode = buttonMode_;
  look.ButtonArea = buttonArea_;
  look.ButtonPressed = buttonPressed_;
  look.ButtonHot = buttonHot_;
  PaintEditFrameWithoutSkin(frame.Canvas(), Width(), Height(), look);
  Canvas().Draw(0, 0, frame);
}

void TbsSkinCustomEdit::WndProc(TMessage& m) {
  auto self = reinterpret_cast<intptr_t>(static_cast<TControl*>(this));
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_SETFOCUS:
      TbsCustomEdit::WndProc(m);
      if (!mouseInside_ && sectionIndex_ != -1) {
        FontRef().Color = activefontcolor_;
        FontChanged();
      }
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TbsCustomEdit::WndProc(m);
      if (!mouseInside_ && sectionIndex_ != -1) {
        FontRef().Color = fontcolor_;
        FontChanged();
      }
      Invalidate();
      return;
    case CM_MOUSEENTER:
      TbsCustomEdit::WndProc(m);
      if (m.LParam != 0 && m.LParam != self) return;
      mouseInside_ = true;
      if (!Focused() && sectionIndex_ != -1) {
        FontRef().Color = activefontcolor_;
        FontChanged();
      }
      if (!Focused()) Invalidate();
      OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TbsCustomEdit::WndProc(m);
      if (m.LParam != 0 && m.LParam != self) return;
      mouseInside_ = false;
      if (!Focused() && sectionIndex_ != -1) {
        FontRef().Color = fontcolor_;
        FontChanged();
      }
      if (!Focused()) Invalidate();
      if (buttonPressed_ || buttonHot_) {
        buttonPressed_ = buttonHot_ = false;
        Invalidate();
      }
      OnMouseLeave(this);
      return;
    case CM_ENABLEDCHANGED:
      TbsCustomEdit::WndProc(m);
      Invalidate();
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The frame button sits outside the line edit, so its mouse comes here.
      if (buttonMode_ && !IsDesigning() && RectHoldsPoint(buttonArea_, LParamToPoint(m.LParam))) {
        buttonPressed_ = true;
        Invalidate();
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (buttonMode_ && !IsDesigning() && RectHoldsPoint(buttonArea_, LParamToPoint(m.LParam))) {
        buttonPressed_ = false;
        Invalidate();
        if (!Focused()) SetFocus();
        OnButtonClick(this);
        return;
      }
      if (buttonPressed_) {
        buttonPressed_ = false;
        Invalidate();
      }
      break;
    case WM_MOUSEMOVE:
      if (buttonMode_ && !IsDesigning()) {
        const bool hot = RectHoldsPoint(buttonArea_, LParamToPoint(m.LParam));
        if (hot != buttonHot_) {
          buttonHot_ = hot;
          Invalidate();
        }
      }
      break;
    default: break;
  }
  TbsCustomEdit::WndProc(m);
}
