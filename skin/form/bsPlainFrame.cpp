// TbsSkinForm's plain frame, drawn in system colours while there is no usable skin: a 3-pixel
// border, a ridged caption bar with the caption text in a box, and the five default buttons.
#include <QPainter>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/bsSkinForm.h"

namespace {
constexpr int kBorder = 3;

bool ToolWindow(const TCustomForm& form) {
  const TFormBorderStyle b = form.BorderStyle();
  return b == TFormBorderStyle::bsToolWindow || b == TFormBorderStyle::bsSizeToolWin;
}
}  // namespace

int TbsSkinForm::PlainCaptionHeight() const { return ToolWindow(*form_) ? 15 : 19; }

int TbsSkinForm::PlainButtonSize() const { return ToolWindow(*form_) ? 13 : 17; }

void TbsSkinForm::PlainLayout() {
  if (objects_.empty()) return;
  const int W = windowWidth_ ? windowWidth_ : form_->Width();
  const int S = PlainButtonSize();
  PlainCaptionRect = TRect(kBorder, kBorder, W - kBorder, PlainCaptionHeight());
  auto find = [&](TStdButtonCommand c) -> TbsSkinStdButtonObject* {
    for (const auto& o : objects_)
      if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get());
          b && b->Command == c && b->IsVisible && b->skinrectinapicture)
        return b;
    return nullptr;
  };
  int x = W - kBorder;
  for (TStdButtonCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp}) {
    if (TbsSkinStdButtonObject* b = find(c)) {
      b->ObjectRect = TRect(x - S, 4, x, 4 + S);
      x -= S;
    }
  }
  PlainCaptionRect.Right = x;
  x = PlainCaptionRect.Left;
  if (TbsSkinStdButtonObject* b = find(cmSysMenu)) {
    QSize size(S, S);
    if (showIcon_) size = SmallIconSize();
    b->ObjectRect = TRect(x, 4, x + size.width(), 4 + size.height());
    x += size.width();
    PlainCaptionRect.Left = x;
  }
}

void TbsSkinForm::PaintPlainFrame(TCanvas& canvas) {
  if (windowWidth_ == 0) windowWidth_ = form_->Width();
  if (windowHeight_ == 0) windowHeight_ = form_->Height();
  if (objects_.empty() && !skinned_) CreateDefaultObjects();
  PlainLayout();
  const int W = windowWidth_, H = windowHeight_, C = PlainCaptionHeight();
  const int iw = W - 2 * kBorder;
  if (iw < 1 || H < 1) return;

  TBitmap image(iw, C);
  TCanvas& c = image.Canvas();
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = clBtnFace;
  c.FillRect(TRect(0, 0, iw, C));
  const int l = PlainCaptionRect.Left - kBorder, r = iw - PlainCaptionRect.Right;
  if (C - 4 > 1) {
    // The ridged caption bar.
    for (int i = 0; i < C - 5; ++i) {
      c.Pen.Color = i % 2 == 0 ? clBtnHighlight : clBtnShadow;
      c.MoveTo(l + 2, 2 + i);
      c.LineTo(iw - r - 6, 2 + i);
    }
  }
  c.Font = FormActive() ? DefCaptionFont : DefInActiveCaptionFont;
  QString text = CaptionText();
  if (!text.isEmpty()) {
    text = EllipsizeText(c, text, iw - l - r);
    const int t = c.TextWidth(text);
    const int span = iw - r - l;
    const int boxLeft = l + span / 2 - (t + 5) / 2;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(TRect(boxLeft, 0, boxLeft + t + 5, C));
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(boxLeft + 3, C / 2 - c.TextHeight(text) / 2, text);
  }
  for (const auto& o : objects_) {
    if (!o->IsVisible) continue;
    const TRect saved = o->ObjectRect;
    o->ObjectRect = TRect(saved.Left - kBorder, saved.Top - kBorder, saved.Right - kBorder, saved.Bottom - kBorder);
    o->PaintObject(c, true);
    o->ObjectRect = saved;
  }

  QPainter* p = canvas.Painter();
  if (!p) return;
  p->save();
  const QRect client(kBorder, C + kBorder, W - 2 * kBorder, H - C - 2 * kBorder);
  QRegion clip(0, 0, W, H);
  if (client.width() > 0 && client.height() > 0) clip -= QRegion(client);
  p->setClipRegion(clip);
  p->drawImage(kBorder, kBorder, image.Image());
  // Three nested outlines, outer edge inwards.
  const TColor topLeft[3] = {cl3DLight, clBtnHighlight, clBtnFace};
  const TColor bottomRight[3] = {cl3DDkShadow, clBtnShadow, clBtnFace};
  for (int i = 0; i < 3; ++i) {
    const int x0 = i, y0 = i, x1 = W - 1 - i, y1 = H - 1 - i;
    if (x1 < x0 || y1 < y0) break;
    p->fillRect(QRect(x0, y0, x1 - x0 + 1, 1), ToQColor(topLeft[i]));
    p->fillRect(QRect(x0, y0, 1, y1 - y0 + 1), ToQColor(topLeft[i]));
    p->fillRect(QRect(x0, y1, x1 - x0 + 1, 1), ToQColor(bottomRight[i]));
    p->fillRect(QRect(x1, y0, 1, y1 - y0 + 1), ToQColor(bottomRight[i]));
  }
  p->restore();
}

int TbsSkinForm::PlainHitTest(const TPoint& p) {
  const int W = form_->Width(), H = form_->Height(), C = PlainCaptionHeight();
  const bool plainState = windowState_ == TWindowState::wsNormal && !rollUpState_ && Sizable();
  if (plainState) {
    if (hoverIndex_ >= 0) return HTOBJECT;
    const int x = p.X, y = p.Y;
    if (x <= 2 && y <= 2) return HTTOPLEFT;
    if (x >= W - 2 && y <= 2) return HTTOPRIGHT;
    if (x <= 2 && y >= H - 2) return HTBOTTOMLEFT;
    if (x >= W - 2 && y >= H - 2) return HTBOTTOMRIGHT;
    if (x <= 2) return HTLEFT;
    if (y <= 2) return HTTOP;
    if (x >= W - 2) return HTRIGHT;
    if (y >= H - 2) return HTBOTTOM;
  }
  if (objects_.empty() && !skinned_) CreateDefaultObjects();  // as the paint does: not yet painted, same caption
  PlainLayout();
  if (PointInRect(p, PlainCaptionRect)) return HTCAPTION;
  if (PointInRect(p, TRect(kBorder, C + kBorder, W - kBorder, H - kBorder))) return HTCLIENT;
  return HTOBJECT;
}
