// The caption object's drawing: the form's caption text over the caption's normal or active
// background, with shadow and an optional stretchable frame behind the text, fading between
// the inactive and the active look.
#include <algorithm>

#include "platform/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/bsSkinForm.h"
#include "skin/form/bsSkinFormObjects.h"

namespace {
// Images larger than this are not built (a hostile skin could ask for any size).
constexpr int kMaxImageSide = 8192;
}  // namespace

QString TbsSkinCaptionObject::CaptionText() const { return SkinForm->CaptionText(); }

TRect TbsSkinCaptionObject::TextArea() const {
  TRect r = textrect;
  if (!RectIsEmpty(textrect)) r.Right += RectWidth(ObjectRect) - RectWidth(skinrect);
  if (!RectIsEmpty(FrameRect)) {
    r.Left += frametextrect.Left;
    r.Top += frametextrect.Top;
    r.Right += frametextrect.Right - RectWidth(FrameRect);
  }
  return r;
}

void TbsSkinCaptionObject::MakeImage(TBitmap& image, const TBitmap* picture, const TRect& src) const {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  image.SetSize(w, h);
  if (!picture || RectIsEmpty(src)) return;
  const int a = SkinData ? SkinData->lefttoppoint.X - skinrect.Left : 0;
  const int b = SkinData ? skinrect.Right - SkinData->righttoppoint.X : 0;
  const int sw = RectWidth(src);
  if ((a != 0 || b != 0) && a >= 0 && b >= 0 && a + b < sw) {
    // The middle tiled from x = 0 (the last tile cut), then the fixed ends over it.
    const TRect mid(src.Left + a, src.Top, src.Right - b, src.Bottom);
    const int mw = RectWidth(mid);
    for (int x = 0; x < w; x += mw) {
      const int cw = std::min(mw, w - x);
      CopyPiece(image, TRect(x, 0, x + cw, h), *picture, TRect(mid.Left, mid.Top, mid.Left + cw, mid.Bottom));
    }
    if (a > 0)
      CopyPiece(image, TRect(0, 0, std::min(a, w), h), *picture,
                TRect(src.Left, src.Top, src.Left + std::min(a, w), src.Bottom));
    if (b > 0 && w - b >= 0)
      CopyPiece(image, TRect(w - b, 0, w, h), *picture, TRect(src.Right - b, src.Top, src.Right, src.Bottom));
  } else {
    CopyPiece(image, TRect(0, 0, w, h), *picture, src);
  }
}

void TbsSkinCaptionObject::DrawText(TCanvas& canvas, const TPoint& origin, bool active) const {
  QString text = CaptionText();
  if (text.isEmpty() || RectIsEmpty(textrect)) return;
  TRect area = TextArea();
  area = TRect(area.Left + origin.X, area.Top + origin.Y, area.Right + origin.X, area.Bottom + origin.Y);
  TFont font;
  font.Name = fontname;
  font.Style = fontstyle;
  font.Height = fontheight;
  font.Color = active ? activefontcolor : fontcolor;
  font.Charset = SkinForm->DefCaptionFont.Charset;
  canvas.Font = font;
  canvas.Brush.Style = TBrushStyle::bsClear;
  text = EllipsizeText(canvas, text, RectWidth(area));
  const int tw = canvas.TextWidth(text), th = canvas.TextHeight(text);
  const int ty = area.Top + RectHeight(area) / 2 - th / 2;
  int tx;
  switch (Alignment) {
    case taLeftJustify:
      tx = area.Left;
      break;
    case taRightJustify:
      tx = area.Right - tw;
      break;
    default:
      tx = area.Left + RectWidth(area) / 2 - tw / 2;
      break;
  }
  if (!RectIsEmpty(FrameRect) && HotPicture) {
    const TRect& fr = active && !RectIsEmpty(activeframerect) ? activeframerect : FrameRect;
    const int fw = RectWidth(FrameRect) + tw - RectWidth(frametextrect);
    if (fw > 0 && fw <= kMaxImageSide) {
      TBitmap strip;
      ComposeStripH(frameleftoffset, framerightoffset, strip, *HotPicture, fr, fw, 0);
      if (!strip.Empty()) canvas.Draw(tx - frametextrect.Left, ty - frametextrect.Top, strip);
    }
  }
  if (Shadow) {
    canvas.Font.Color = active ? activeshadowcolor : shadowcolor;
    canvas.TextOut(tx + 1, ty + 1, text);
    canvas.Font.Color = font.Color;
  }
  canvas.TextOut(tx, ty, text);
}

void TbsSkinCaptionObject::PaintObject(TCanvas& canvas, bool) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1) return;
  const bool fading = morphing && ((Highlighted && MorphFactor != 1) || (!Highlighted && MorphFactor != 0));
  const bool sizeOk = w <= kMaxImageSide && h <= kMaxImageSide;
  const bool inactiveEffect = SkinData && SkinData->autorenderinginactiveimage;
  const TPoint origin(0, 0);
  if (fading && sizeOk) {
    TBitmap normal, active;
    MakeImage(normal, MainPicture, skinrect);
    DrawText(normal.Canvas(), origin, false);
    MakeImage(active, HotPicture, activeskinrect);
    DrawText(active.Canvas(), origin, true);
    TbsEffectBmp a(normal), b(active);
    a.Morph(morphkind, b, MorphFactor);
    if (inactiveEffect && !Highlighted) a.ApplyInactiveEffect(SkinData->inactiveeffect);
    a.DrawTo(canvas, ObjectRect.Left, ObjectRect.Top);
  } else if (RectIsEmpty(activeskinrect) || (!Highlighted && !morphing) || !sizeOk) {
    DrawText(canvas, TPoint(ObjectRect.Left, ObjectRect.Top), Highlighted);
  } else if (Highlighted) {
    TBitmap active;
    MakeImage(active, HotPicture, activeskinrect);
    DrawText(active.Canvas(), origin, true);
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, active);
  } else {
    TBitmap normal;
    MakeImage(normal, MainPicture, skinrect);
    DrawText(normal.Canvas(), origin, false);
    if (inactiveEffect) {
      TbsEffectBmp e(normal);
      e.ApplyInactiveEffect(SkinData->inactiveeffect);
      e.DrawTo(canvas, ObjectRect.Left, ObjectRect.Top);
    } else {
      canvas.Draw(ObjectRect.Left, ObjectRect.Top, normal);
    }
  }
}
