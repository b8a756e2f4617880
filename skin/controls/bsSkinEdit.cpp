#include "skin/controls/bsSkinEdit.h"

#include <QLineEdit>
#include <QPainter>

#include "platform/Colors.h"
#include "skin/controls/PlainLooks.h"
#include "skin/controls/SkinLookup.h"
#include "skin/controls/bsSkinControl.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/bsUtils.h"

// ---- TbsCustomEdit -----------------------------------------------------------------------

TbsCustomEdit::TbsCustomEdit(TComponent* owner) : TCustomEdit(owner) {
  // The margins the edit takes when its font is set: 2 pixels left, none right.
  SetEditMargins(2, 0);
}

TbsCustomEdit::~TbsCustomEdit() = default;

void TbsCustomEdit::InitWidget(QWidget* w) {
  TCustomEdit::InitWidget(w);
  // No border of the line edit's own: whatever surrounds the text is the class's.
  if (QLineEdit* e = Editor()) e->setFrame(false);
}

void TbsCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      selecting_ = true;
      break;
    case WM_LBUTTONUP:
      selecting_ = false;
      break;
    default:
      break;
  }
  TCustomEdit::WndProc(m);
  // The background under the text is drawn by the class: repaint it whole after changes
  // that move or restyle the text.
  if (!TransparentMode()) return;
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_MOVE:
      Invalidate();
      break;
    case WM_MOUSEMOVE:
      if (selecting_) Invalidate();
      break;
    default:
      break;
  }
}

// ---- TbsSkinCustomEdit -------------------------------------------------------------------

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* owner) : TbsCustomEdit(owner) {
  const TFont f = SkinDefaultFont(clWindowText);
  SetFont(f);
  SetParentFont(false);
  SetParentColor(false);
  defaultFont_ = f;
  height_ = 20;
  SetTransparentMode(true);
  ComputeAreas();
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() {
  // The line edit goes while this class can still answer its last messages.
  Destroying();
  DestroyHandle();
}

void TbsSkinCustomEdit::InitWidget(QWidget* w) {
  TbsCustomEdit::InitWidget(w);
  // The frame image covers the whole window at every paint (WM_NCPAINT).
  w->setAttribute(Qt::WA_OpaquePaintEvent);
}

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* v) {
  if (TComponent* old = SkinDataComponent(skinData_)) old->RemoveFreeNotification(this);
  skinData_ = v;
  if (TComponent* now = SkinDataComponent(skinData_)) now->FreeNotification(this);
  if (skinData_ && !SkinIsEmpty(skinData_) && !IsDesigning()) ApplySkinData();
}

void TbsSkinCustomEdit::Notification(TComponent* c, TOperation op) {
  TbsCustomEdit::Notification(c, op);
  if (op == TOperation::opRemove && c && c == SkinDataComponent(skinData_)) {
    skinData_ = nullptr;
    sectionIndex_ = -1;
    skinPicture_ = nullptr;
  }
}

void TbsSkinCustomEdit::Loaded() {
  TbsCustomEdit::Loaded();
  // A skin that loaded while the definition was read (after SkinData was set) applies now.
  if (skinData_ && !SkinIsEmpty(skinData_) && !IsDesigning()) ApplySkinData();
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
  FrameChanged();
  Invalidate();
}

void TbsSkinCustomEdit::SetEditPasswordChar(QChar c) {
  SetPasswordChar(c);
  Invalidate();
}

void TbsSkinCustomEdit::FetchSkinData() {
  sectionIndex_ = SkinIsEmpty(skinData_) ? -1 : SkinFindControlIndex(skinData_, skinDataName_);
  if (sectionIndex_ == -1) {
    skinPicture_ = nullptr;
    return;
  }
  auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinControlAt(skinData_, sectionIndex_));
  if (!e) {
    // Another kind of section: the copies stay, but no picture of this skin fits them.
    skinPicture_ = nullptr;
    return;
  }
  skinPicture_ = SkinPictureAt(skinData_, e->pictureindex);
  skinrect_ = e->skinrect;
  activeskinrect_ = RectIsEmpty(e->activeskinrect) ? e->skinrect : e->activeskinrect;
  leftEdgeWidth_ = e->lefttoppoint.X;
  rightEdgeWidth_ = RectWidth(e->skinrect) - e->righttoppoint.X;
  skinClientRect_ = e->clientrect;
  fontname_ = e->fontname;
  fontstyle_ = e->fontstyle;
  fontheight_ = e->fontheight;
  fontcolor_ = e->fontcolor;
  disabledfontcolor_ = e->disabledfontcolor;
  activefontcolor_ = e->activefontcolor;
  skinButtonRect_ = e->buttonrect;
  activebuttonrect_ = e->activebuttonrect;
  downbuttonrect_ = RectIsEmpty(e->downbuttonrect) ? e->activebuttonrect : e->downbuttonrect;
  unenabledbuttonrect_ = e->unenabledbuttonrect;
}

void TbsSkinCustomEdit::ComputeAreas() {
  const int w = Width(), h = Height();
  if (sectionIndex_ == -1) {
    textBox_ = EditPlainTextBox(w, h, buttonMode_);
    buttonArea_ = buttonMode_ ? EditPlainButtonArea(w, h) : TRect();
    return;
  }
  const int skinWidth = RectWidth(skinrect_);
  textBox_ =
      TRect(skinClientRect_.Left, skinClientRect_.Top, w + skinClientRect_.Right - skinWidth, skinClientRect_.Bottom);
  buttonArea_ = skinButtonRect_;
  // A button in the right end of the frame stays at the right edge.
  if (buttonArea_.Left >= skinWidth - rightEdgeWidth_) {
    buttonArea_.Left += w - skinWidth;
    buttonArea_.Right += w - skinWidth;
  }
}

int TbsSkinCustomEdit::HitTest(const TPoint& p) {
  FetchSkinData();
  ComputeAreas();
  if (!buttonMode_ || IsDesigning()) {
    const TRect& c = EditClientRect();
    return p.X >= c.Left && p.X < c.Right && p.Y >= c.Top && p.Y < c.Bottom ? HTCLIENT : HTNOWHERE;
  }
  const TRect& b = buttonArea_;
  if (p.X >= b.Left - 1 && p.X < b.Right && p.Y >= b.Top - 1 && p.Y < b.Bottom) return HTHSCROLL;
  const TRect& t = textBox_;
  if (!(p.X >= t.Left - 1 && p.X < t.Right && p.Y >= t.Top - 1 && p.Y < t.Bottom)) return HTVSCROLL;
  return HTCLIENT;
}

void TbsSkinCustomEdit::ApplySkinData() {
  FetchSkinData();
  if (sectionIndex_ == -1) {
    SetFont(defaultFont_);
    if (defaultWidth_ > 0) SetWidth(defaultWidth_);
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
  } else {
    TFont f = defaultFont_;
    if (useSkinFont_) {
      f.Name = fontname_;
      f.Style = fontstyle_;
      f.Height = fontheight_;
      f.Charset = defaultFont_.Charset;
    }
    f.Color = Focused() ? activefontcolor_ : fontcolor_;
    SetFont(f);
    if (!RectIsEmpty(skinrect_) && Height() != RectHeight(skinrect_)) SetHeight(RectHeight(skinrect_));
  }
  ComputeAreas();
  FrameChanged();
  ApplyOptions();
  Invalidate();
}

void TbsSkinCustomEdit::SetBounds(int left, int top, int width, int height) {
  FetchSkinData();
  if (sectionIndex_ != -1 && !RectIsEmpty(skinrect_) && (width != Width() || height != Height()))
    height = RectHeight(skinrect_);
  TbsCustomEdit::SetBounds(left, top, width, height);
  ComputeAreas();
  Invalidate();
}

TColor TbsSkinCustomEdit::DisabledTextColor() const {
  return sectionIndex_ != -1 && useSkinFont_ ? disabledfontcolor_ : clGrayText;
}

void TbsSkinCustomEdit::PaintFrame(TCanvas& c) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  FetchSkinData();
  ComputeAreas();
  const bool active = mouseInside_ || Focused();
  TBitmap image(w, h);  // starts white
  if (sectionIndex_ == -1) {
    TEditPlainLook look;
    look.Active = active;
    look.ButtonMode = buttonMode_;
    look.ButtonArea = buttonArea_;
    look.ButtonPressed = buttonPressed_;
    look.ButtonHot = buttonHot_;
    PaintEditFrameWithoutSkin(image.Canvas(), w, h, look);
  } else if (skinPicture_ && !RectIsEmpty(skinrect_)) {
    TBitmap strip;
    ComposeStripH(leftEdgeWidth_, rightEdgeWidth_, strip, *skinPicture_, active ? activeskinrect_ : skinrect_, w, h);
    const TRect all(0, 0, strip.Width(), strip.Height());
    CopyPiece(image, all, strip, all);
    if (buttonMode_) {
      // The normal button is part of the frame image; the other states are copied over it.
      TRect look;
      if (!Enabled() && !RectIsEmpty(unenabledbuttonrect_))
        look = unenabledbuttonrect_;
      else if (buttonPressed_ && buttonHot_)
        look = downbuttonrect_;
      else if (buttonHot_)
        look = activebuttonrect_;
      if (!RectIsEmpty(look)) CopyPiece(image, buttonArea_, *skinPicture_, look);
    }
  }
  c.Draw(0, 0, image);
}

void TbsSkinCustomEdit::PaintDisabledText(TCanvas& c) {
  FetchSkinData();
  ComputeAreas();
  TFont f = defaultFont_;
  f.Color = clGrayText;
  if (sectionIndex_ != -1 && useSkinFont_) {
    f.Name = fontname_;
    f.Height = fontheight_;
    f.Style = fontstyle_;
    f.Color = disabledfontcolor_;
  }
  c.Font = f;
  c.Brush.Style = TBrushStyle::bsClear;
  QString text = Text();
  if (!PasswordChar().isNull()) text = QString(text.size(), PasswordChar());
  const int tw = c.TextWidth(text);
  const TRect& box = textBox_;
  int x = box.Left;
  if (Alignment() == taRightJustify) x = box.Right - 3 - tw;
  else if (Alignment() == taCenter) x = box.Left + box.Width() / 2 - tw / 2 - 1;
  // The box and the position are taken as they are, in client coordinates.
  c.TextRect(box, x, box.Top - 2, text);
}

void TbsSkinCustomEdit::SetTextColor(bool active) {
  if (sectionIndex_ == -1) return;
  const TColor color = active ? activefontcolor_ : fontcolor_;
  if (Font().Color == color) return;
  FontRef().Color = color;
  FontChanged();
}

void TbsSkinCustomEdit::SetButtonHot(bool hot) {
  if (hot == buttonHot_) return;
  buttonHot_ = hot;
  Invalidate();
}

void TbsSkinCustomEdit::MouseEntered() {
  mouseInside_ = true;
  if (!Focused()) {
    SetTextColor(true);
    Invalidate();
  }
  OnMouseEnter(this);
}

void TbsSkinCustomEdit::MouseLeft() {
  mouseInside_ = false;
  if (!Focused()) {
    SetTextColor(false);
    Invalidate();
  }
  if (buttonPressed_ || buttonHot_) {
    buttonPressed_ = false;
    SetButtonHot(false);
    Invalidate();
  }
  OnMouseLeave(this);
}

bool TbsSkinCustomEdit::IsMessageForOurSkin(const TMessage& m) const {
  return m.WParam == 0 || m.WParam == reinterpret_cast<intptr_t>(skinData_);
}

void TbsSkinCustomEdit::WndProc(TMessage& m) {
  const auto self = reinterpret_cast<intptr_t>(static_cast<TControl*>(this));
  switch (m.Msg) {
    case SkinMessageBeforeChange:
      if (IsMessageForOurSkin(m)) {
        ForgetSkinSection();
        skinPicture_ = nullptr;
      }
      return;
    case SkinMessageChanged:
      if (IsMessageForOurSkin(m) && !IsDesigning()) ApplySkinData();
      return;
    case SkinMessageChangedAfter:
      if (IsMessageForOurSkin(m)) Invalidate();
      return;
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      if (!r) return;
      FetchSkinData();
      if (sectionIndex_ == -1) {
        r->Left += 2;
        r->Top += 2;
        r->Bottom -= 2;
        r->Right -= buttonMode_ ? 22 : 2;
      } else {
        r->Left += skinClientRect_.Left;
        r->Top += skinClientRect_.Top;
        r->Right -= RectWidth(skinrect_) - skinClientRect_.Right;
        r->Bottom -= RectHeight(skinrect_) - skinClientRect_.Bottom;
      }
      m.Result = 0;
      return;
    }
    case WM_NCPAINT:
      if (auto* c = reinterpret_cast<TCanvas*>(m.WParam))
        PaintFrame(*c);
      else
        Invalidate();
      return;
    case WM_PAINT:
      // Enabled text is the line edit's; a disabled edit draws its text itself.
      if (m.WParam == 0 && !Enabled() && Editor()) {
        QPainter painter(Editor());
        TCanvas canvas;
        canvas.Attach(&painter);
        PaintDisabledText(canvas);
        canvas.Detach();
        return;
      }
      break;
    case WM_NCHITTEST: {
      // Window coordinates: the origin at the top-left corner of the whole edit.
      const TPoint c = ScreenToClient(LParamToPoint(m.LParam));
      const TPoint o = ClientOrigin();
      m.Result = HitTest(TPoint(c.X + o.X, c.Y + o.Y));
      return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (m.WParam == HTHSCROLL) {
        buttonPressed_ = true;
        Invalidate();
      }
      return;
    case WM_NCLBUTTONUP:
      if (m.WParam == HTHSCROLL) {
        buttonPressed_ = false;
        Invalidate();
        if (!Focused()) SetFocus();
        OnButtonClick(this);
      }
      return;
    case WM_NCMOUSEMOVE:
      SetButtonHot(m.WParam == HTHSCROLL);
      break;
    case WM_SETFOCUS:
      TbsCustomEdit::WndProc(m);
      if (!mouseInside_) SetTextColor(true);
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TbsCustomEdit::WndProc(m);
      if (!mouseInside_) SetTextColor(false);
      Invalidate();
      return;
    case CM_MOUSEENTER:
      TbsCustomEdit::WndProc(m);
      if (m.LParam == 0 || m.LParam == self) MouseEntered();
      return;
    case CM_MOUSELEAVE:
      TbsCustomEdit::WndProc(m);
      if (m.LParam == 0 || m.LParam == self) MouseLeft();
      return;
    case CM_ENABLEDCHANGED:
      TbsCustomEdit::WndProc(m);
      Invalidate();
      return;
    case WM_MOUSEMOVE:
      // Over the text the frame button is not hot.
      SetButtonHot(false);
      break;
    default:
      break;
  }
  TbsCustomEdit::WndProc(m);
}
