// Painting of one menu item: the default look in system colours and the skinned look composed
// from the skin's menu item object, with the fade between the normal and the active face.
#include "skin/menus/bsSkinMenuItem.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"
#include "skin/menus/MenuGlyphs.h"
#include "skin/menus/bsSkinMenu.h"
#include "skin/menus/bsSkinPopupWindow.h"

namespace {
// Items taller than this are cut (bad skins); it keeps every bitmap and sum in range.
constexpr int kMaxItemHeight = 4096;

int ClampHeight(int64_t h) { return static_cast<int>(std::clamp<int64_t>(h, 0, kMaxItemHeight)); }

// The glyph a frame command item shows in place of a check mark; false for other names.
bool PaintNamedGlyph(TCanvas& c, const QString& name, int x, int y, TColor color) {
  if (name == QLatin1String("BSF_CLOSE") || name == QLatin1String("TRAY_BSF_CLOSE")) PaintCloseGlyph(c, x, y, color);
  else if (name == QLatin1String("BSF_MINITEM")) PaintMinimizeGlyph(c, x, y, color);
  else if (name == QLatin1String("BSF_MAXITEM")) PaintMaximizeGlyph(c, x, y, color);
  else if (name == QLatin1String("BSF_RESTORE") || name == QLatin1String("TRAY_BSF_RESTORE")) PaintRestoreGlyph(c, x, y, color);
  else if (name == QLatin1String("BSF_ROLLUP")) PaintRollUpGlyph(c, x, y, color);
  else if (name == QLatin1String("BSF_MINTOTRAY")) PaintBulletGlyph(c, x, y, color);
  else return false;
  return true;
}

void FillRect(TCanvas& c, const TRect& r, TColor color) {
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = color;
  c.FillRect(r);
}

// Where the parts of an item go: the text area (P in the default look, T in the skinned one),
// the glyph column G, the space kept right of the texts, and the image and mark positions.
struct TItemLayout {
  TRect Area;
  int Glyph = 0;
  int RightGap = 0;
  int ImageX = 0;
  TPoint Named;  // a frame command's glyph
  TPoint Check;
  TPoint Radio;
};

// Caption, shortcut, sub-menu arrow, and the image or mark of an item, in `textColor`.
void PaintItemContents(TCanvas& c, const TbsSkinMenuItem& item, const TItemLayout& l, TColor textColor) {
  const TMenuItem* src = item.SourceItem;
  const TRect& A = l.Area;
  const int m = A.Top + RectHeight(A) / 2;
  const QFontMetrics& fm = item.Window->ItemsFontMetrics();
  const int th = fm.ascent() + fm.descent();
  if (QPainter* p = c.Painter()) {
    p->save();
    p->setFont(item.Window->ItemsQFont());
    p->setPen(ToQColor(textColor));
    // The caption's box is the size of its text (plus 2), from G on, its top at m less half
    // its height; "&" underlines the next character.
    const QString& caption = src->Caption();
    const int left = A.Left + l.Glyph;
    const int room = std::max(0, A.Right - l.RightGap - left);
    const int tw = std::min(fm.horizontalAdvance(StripHotkey(caption)), room);
    p->drawText(QRect(left, m - th / 2, tw + 2, th),
                Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption);
    if (src->ShortCut() != scNone) {
      const QString s = src->ShortCutText();
      const int sw = fm.horizontalAdvance(s);
      const int right = A.Right - l.RightGap;
      p->drawText(QRect(right - sw, m - th / 2, sw, th), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, s);
    }
    p->restore();
  }
  if (src->Count() > 0) PaintSubMenuArrow(c, A.Right - 7, m - 4, textColor);
  const TCustomImageList* images = item.Window->Images;
  if (images && images->Valid(src->ImageIndex())) {
    const int x = l.ImageX, y = m - images->Height() / 2;
    if (src->Checked()) {
      c.Brush.Style = TBrushStyle::bsClear;
      c.Pen.Color = textColor;
      c.Pen.Style = TPenStyle::psSolid;
      c.Rectangle(TRect(x - 1, y - 1, x + images->Width() + 1, y + images->Height() + 1));
    }
    images->Draw(c, x, y, src->ImageIndex(), src->Enabled());
    return;
  }
  if (PaintNamedGlyph(c, src->Name(), l.Named.X, l.Named.Y, textColor)) return;
  if (!src->Checked()) return;
  if (src->RadioItem()) PaintRadioDot(c, l.Radio.X, l.Radio.Y, textColor);
  else PaintCheckGlyph(c, l.Check.X, l.Check.Y, textColor);
}
}  // namespace

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* window, TMenuItem* source, const TbsDataSkinMenuItem* data)
    : Window(window), ItemData(data), SourceItem(source) {
  if (!ItemData) return;
  ItemPicture = Window->SkinPicture(ItemData->activepictureindex);
  if (ItemPicture) {
    SkinRect = ItemData->skinrect;
    ActiveSkinRect = ItemData->activeskinrect;
  }
}

bool TbsSkinMenuItem::IsDivider() const { return SourceItem->IsLine(); }
bool TbsSkinMenuItem::HasChildren() const { return SourceItem->Count() > 0; }
bool TbsSkinMenuItem::ItemEnabled() const { return SourceItem->Enabled(); }

int TbsSkinMenuItem::Height() const {
  if (ItemData) return ClampHeight(IsDivider() ? int64_t{RectHeight(ItemData->dividerrect)} : RectHeight(SkinRect));
  return ClampHeight(IsDivider() ? 4 : Window->Menu()->ItemHeight());
}

bool TbsSkinMenuItem::CanMorph() {
  if (!InView && MorphFactor != 0) {
    Highlighted = SubMenuShown = false;
    MorphFactor = 0;
  }
  return InView && ((Lit() && MorphFactor < 1) || (!Lit() && MorphFactor > 0));
}

void TbsSkinMenuItem::StepMorph() {
  MorphFactor += Lit() ? 0.1 : -0.1;
  MorphFactor = std::clamp(MorphFactor, 0.0, 1.0);
  // Ten steps of 0.1 must land on the ends exactly.
  if (MorphFactor > 0.999) MorphFactor = 1;
  if (MorphFactor < 0.001) MorphFactor = 0;
}

void TbsSkinMenuItem::PaintItem(TCanvas& canvas) {
  if (!InView) return;
  const int w = RectWidth(ItemBounds), h = RectHeight(ItemBounds);
  if (w < 1 || h < 1 || w > 32767) return;
  if (ItemData && !ItemPicture) return;  // nothing to compose from; the window's background shows
  const bool lit = Lit();
  const bool fading = ItemData && !IsDivider() && ItemData->morphing && !(lit && MorphFactor == 1) &&
                      !(!lit && MorphFactor == 0);
  if (fading) {
    // Both faces, each with its texts, blended by the fade position with the skin's morph.
    TBitmap& normal = Window->ItemBuffer();
    TBitmap& active = Window->ItemBuffer2();
    for (TBitmap* b : {&normal, &active}) {
      b->SetPixelFormat(TPixelFormat::pf32bit);
      if (b->Width() != w || b->Height() != h) b->SetSize(w, h);
    }
    PaintSkinnedFace(normal.Canvas(), false);
    PaintSkinnedFace(active.Canvas(), true);
    TbsEffectBmp a(normal), b(active);
    a.Morph(static_cast<int>(ItemData->morphkind), b, MorphFactor);
    a.DrawTo(canvas, ItemBounds.Left, ItemBounds.Top);
    return;
  }
  // Straight onto the canvas (the window's off-screen image), in item coordinates and clipped
  // to the item, exactly as an image of the item's own size would show.
  QPainter* p = canvas.Painter();
  if (!p) return;
  p->save();
  p->translate(ItemBounds.Left, ItemBounds.Top);
  canvas.SetClipRect(TRect(0, 0, w, h));
  if (!ItemData) PaintDefault(canvas, w, h);
  else if (IsDivider()) canvas.Draw(0, 0, Window->SkinFace(TbsSkinPopupWindow::fcDivider));
  else PaintSkinnedFace(canvas, lit);
  canvas.SetClipRect(TRect());
  p->restore();
}

void TbsSkinMenuItem::PaintDefault(TCanvas& c, int W, int H) {
  const int G = Window->Images ? Window->GlyphColumn : 19;
  TColor text = clWindowText;
  if (Lit() && !IsDivider()) {  // a divider never shows a highlight
    FillRect(c, TRect(0, 0, W, H), clNavy);
    FillRect(c, TRect(1, 1, W - 1, H - 1), static_cast<TColor>(13811126));
  } else {
    FillRect(c, TRect(0, 0, std::min(G, W), H), clBtnFace);
    FillRect(c, TRect(std::min(G, W), 0, W, H), clWindow);
    if (!SourceItem->Enabled()) text = clBtnShadow;
  }
  if (IsDivider()) {
    c.Pen.Color = clBtnShadow;
    c.Pen.Style = TPenStyle::psSolid;
    c.MoveTo(G, H / 2);
    c.LineTo(W, H / 2);
    return;
  }
  const TRect P(2, 2, W - 2, H - 2);
  const int m = P.Top + RectHeight(P) / 2;
  TItemLayout l;
  l.Area = P;
  l.Glyph = G;
  l.RightGap = 19;
  l.ImageX = P.Left;
  l.Named = TPoint(P.Left + 2, m - 4);
  l.Check = TPoint(P.Left + 3, m - 4);
  l.Radio = TPoint(P.Left + 3, m - 3);
  PaintItemContents(c, *this, l, text);
}

void TbsSkinMenuItem::PaintSkinnedFace(TCanvas& c, bool active) {
  const int W = RectWidth(ItemBounds);
  const TbsDataSkinMenuItem& d = *ItemData;
  c.Draw(0, 0, Window->SkinFace(active ? TbsSkinPopupWindow::fcActive : TbsSkinPopupWindow::fcNormal));
  const int G = Window->Images ? Window->GlyphColumn : 16;
  TRect T = d.textrect;
  T.Right += W - RectWidth(SkinRect);
  const int m = T.Top + RectHeight(T) / 2;
  TItemLayout l;
  l.Area = T;
  l.Glyph = G;
  l.RightGap = 16;
  l.ImageX = T.Left + 2;
  l.Named = l.Check = TPoint(T.Left + 2, m - 4);
  l.Radio = TPoint(T.Left + 2, m - 3);
  const TColor text = active ? d.activefontcolor : SourceItem->Enabled() ? d.fontcolor : d.unenabledfontcolor;
  PaintItemContents(c, *this, l, text);
}
