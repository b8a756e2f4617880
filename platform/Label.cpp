#include "platform/Label.h"

#include "platform/Edit.h"

#include "platform/Colors.h"

namespace {
uint32_t AlignmentFlag(TAlignment a) {
  switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

bool IsAccelFor(QChar key, const QString& text) {
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') { ++i; continue; }
    return text[i + 1].toUpper() == key.toUpper();
  }
  return false;
}
}  // namespace

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(Left(), Top(), 65, 17); }

TCustomLabel::~TCustomLabel() = default;

void TCustomLabel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}

QString StripAccelChars(const QString& s) {
  QString out;
  for (int i = 0; i < s.size(); ++i) {
    if (s[i] == u'&' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  return out;
}

void TCustomLabel::SetFocusControl(TWinControl* c) {
  if (focusControl_) {
    focusControl_->RemoveFreeNotification(this);
    if (auto* e = dynamic_cast<TCustomEdit*>(focusControl_)) e->SetLabelName(QString());
  }
  focusControl_ = c;
  if (c) c->FreeNotification(this);
  NameFocusControl();
}

// The edit this label leads to is read aloud by the label's text.
void TCustomLabel::NameFocusControl() {
  if (auto* e = dynamic_cast<TCustomEdit*>(focusControl_))
    e->SetLabelName((showAccelChar_ ? StripAccelChars(Caption()) : Caption()).trimmed());
}

void TCustomLabel::Notification(TComponent* c, TOperation op) {
  TGraphicControl::Notification(c, op);
  if (op == TOperation::opRemove && c == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::DoDrawText(TRect& rect, uint32_t flags) {
  QString text = Caption();
  if ((flags & DT_CALCRECT) && (text.isEmpty() || (showAccelChar_ && text == QStringLiteral("&")))) text += u' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  flags = DrawTextBiDiModeFlags(flags);
  TCanvas& c = Canvas();
  c.Font = Font();
  if (!Enabled()) {
    TRect shifted(rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1);
    c.Font.Color = clBtnHighlight;
    c.DrawText(text, shifted, flags);
    c.Font.Color = clBtnShadow;
    c.DrawText(text, rect, flags);
  } else {
    c.DrawText(text, rect, flags);
  }
}

void TCustomLabel::Paint() {
  TCanvas& c = Canvas();
  if (!transparent_) {
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = Color();
    c.FillRect(ClientRect());
  }
  c.Brush.Style = TBrushStyle::bsClear;
  TRect r = ClientRect();
  const uint32_t style = DT_EXPANDTABS | (wordWrap_ ? uint32_t(DT_WORDBREAK) : 0u) | AlignmentFlag(alignment_);
  if (layout_ != TTextLayout::tlTop) {
    TRect calc = r;
    DoDrawText(calc, style | DT_CALCRECT);
    const int dy = layout_ == TTextLayout::tlBottom ? Height() - calc.Bottom : (Height() - calc.Bottom) / 2;
    r = TRect(r.Left, r.Top + dy, r.Right, r.Bottom + dy);
  }
  DoDrawText(r, style);
  c.Brush.Style = TBrushStyle::bsSolid;
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading()) return;
  TRect r = ClientRect();
  DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? uint32_t(DT_WORDBREAK) : 0u));
  int x = Left();
  if (alignment_ == taRightJustify) x += Width() - r.Right;
  SetBounds(x, Top(), r.Right, r.Bottom);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::WndProc(m);
      AdjustBounds();
      Invalidate();
      if (m.Msg == CM_TEXTCHANGED) NameFocusControl();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ && Enabled() && showAccelChar_ && IsAccelFor(QChar(static_cast<char16_t>(m.WParam)), Caption()) &&
          focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
        return;
      }
      TGraphicControl::WndProc(m);
      return;
    default: TGraphicControl::WndProc(m);
  }
}
