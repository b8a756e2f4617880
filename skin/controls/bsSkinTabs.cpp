#include "skin/controls/bsSkinTabs.h"

#include <algorithm>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/ImageList.h"
#include "skin/controls/PlainLooks.h"
#include "skin/controls/SkinAccessible.h"
#include "skin/controls/SkinLookup.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/TiledPicture.h"
#include "skin/draw/bsUtils.h"

namespace {

TRect Offset(const TRect& r, int dx, int dy) { return TRect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy); }

// Skin geometry is kept within the range of window coordinates, so that the sums of the
// layout never overflow whatever a malformed skin holds.
int Coord(int v) { return std::clamp(v, -32768, 32767); }
TPoint Coord(const TPoint& p) { return TPoint(Coord(p.X), Coord(p.Y)); }
TRect Coord(const TRect& r) { return TRect(Coord(r.Left), Coord(r.Top), Coord(r.Right), Coord(r.Bottom)); }

// A rectangle of a picture cut to the picture: nothing outside it can be drawn, and a
// malformed skin cannot ask for images larger than its pictures.
TRect InPicture(const TRect& r, const TBitmap& pic) {
  return TRect(std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, pic.Width()),
               std::min(r.Bottom, pic.Height()));
}

// Length of a piece starting at `from` that stays inside `size`; 0 when none of it shows.
int VisibleLength(int64_t from, int64_t length, int size) {
  const int64_t n = std::min<int64_t>(length, int64_t{size} - from);
  return n < 1 || n > 32767 ? 0 : static_cast<int>(n);
}

// Tiles the rectangle `tile` of `source` over w x h, the last column and row cut short.
// False (and `dest` untouched) when there is nothing to tile.
bool TileArea(TBitmap& dest, const TBitmap& source, TRect tile, int w, int h) {
  tile = InPicture(tile, source);
  if (RectIsEmpty(tile) || w < 1 || h < 1) return false;
  TBitmap row;
  ComposeStripH(0, 0, row, source, tile, w, tile.Height());
  ComposeStripV(0, 0, dest, row, TRect(0, 0, row.Width(), row.Height()), w, h);
  return !dest.Empty();
}

}  // namespace

// ---- TbsSkinPageControl ------------------------------------------------------------------

TbsSkinPageControl::TbsSkinPageControl(TComponent* owner)
    : TPageControl(owner), defaultFont_(SkinDefaultFont(clBtnText)) {
  InstallSkinAccessibility();
  SetFont(SkinDefaultFont(clBtnText));
  SetParentFont(false);
  tabHeight_ = defaultItemHeight_;
}

TbsSkinPageControl::~TbsSkinPageControl() { Destroying(); }

void TbsSkinPageControl::SetSkinData(TbsSkinData* v) {
  if (TComponent* old = SkinDataComponent(skinData_)) old->RemoveFreeNotification(this);
  skinData_ = v;
  if (TComponent* now = SkinDataComponent(skinData_)) now->FreeNotification(this);
  if (skinData_ && !SkinIsEmpty(skinData_) && !IsDesigning()) ApplySkinData();
}

void TbsSkinPageControl::Notification(TComponent* c, TOperation op) {
  TPageControl::Notification(c, op);
  if (op != TOperation::opRemove || !c) return;
  if (c == SkinDataComponent(skinData_)) {
    skinData_ = nullptr;
    skinPicture_ = nullptr;
  }
  if (c == tabScroller_) tabScroller_ = nullptr;
}

void TbsSkinPageControl::SetDefaultItemHeight(int v) {
  defaultItemHeight_ = v;
  if (sectionIndex_ == -1) {
    SetTabHeight(v);
    Change();
    Realign();
  }
}

void TbsSkinPageControl::FetchSkinData() {
  bgpictureindex_ = -1;
  sectionIndex_ = SkinIsEmpty(skinData_) ? -1 : SkinFindControlIndex(skinData_, skinDataName_);
  auto* t = dynamic_cast<TbsDataSkinTabControl*>(SkinControlAt(skinData_, sectionIndex_));
  // No section of the page control's kind: the plain look, and no picture of an older skin.
  skinPicture_ = nullptr;
  if (!t) {
    sectionIndex_ = -1;
    return;
  }
  skinPicture_ = SkinPictureAt(skinData_, t->pictureindex);
  skinrect_ = Coord(t->skinrect);
  skinClientRect_ = Coord(t->clientrect);
  tabrect_ = Coord(t->tabrect);
  // A skin without a selected look shows the normal one; the focused look falls back to the
  // selected look as the section gives it (so both may stay empty).
  activetabrect_ = Coord(RectIsEmpty(t->activetabrect) ? t->tabrect : t->activetabrect);
  focustabrect_ = Coord(RectIsEmpty(t->focustabrect) ? t->activetabrect : t->focustabrect);
  mouseintabrect_ = Coord(t->mouseintabrect);
  tabsbgrect_ = Coord(t->tabsbgrect);
  lefttoppoint_ = Coord(t->lefttoppoint);
  righttoppoint_ = Coord(t->righttoppoint);
  leftbottompoint_ = Coord(t->leftbottompoint);
  rightbottompoint_ = Coord(t->rightbottompoint);
  tableftoffset_ = Coord(t->tableftoffset);
  tabrightoffset_ = Coord(t->tabrightoffset);
  fontname_ = t->fontname;
  fontstyle_ = t->fontstyle;
  fontheight_ = t->fontheight;
  fontcolor_ = t->fontcolor;
  activefontcolor_ = t->activefontcolor;
  focusfontcolor_ = t->focusfontcolor;
  mouseinfontcolor_ = t->mouseinfontcolor;
  upDownName_ = t->updown;
  bgpictureindex_ = t->bgpictureindex;
}

void TbsSkinPageControl::ApplySkinData() {
  FetchSkinData();
  int height = defaultItemHeight_;
  if (sectionIndex_ == -1) {
    SetFont(defaultFont_);
  } else {
    TFont f = defaultFont_;
    if (useSkinFont_) {
      f.Name = fontname_;
      f.Height = fontheight_;
      f.Style = fontstyle_;
    }
    f.Color = fontcolor_;
    SetFont(f);
    height = tabrect_.Height();
  }
  SetTabHeight(height);
  Change();
  Realign();
  if (tabScroller_) {
    FreeTabScroller();
    SetUpTabScroller();
  }
}

void TbsSkinPageControl::Loaded() {
  TPageControl::Loaded();
  FetchSkinData();
  if (sectionIndex_ == -1) {
    SetTabHeight(defaultItemHeight_);
    Change();
    Realign();
  }
}

void TbsSkinPageControl::Change() {
  if (tabScroller_) tabScroller_->SetPosition(ScrolledOffTabCount());
  TPageControl::Change();
  Invalidate();
}

void TbsSkinPageControl::AdjustDisplayRect(TRect& r) const {
  const int cw = Width(), ch = Height();
  const TRect R = r;
  if (sectionIndex_ == -1) {
    switch (tabPosition_) {
      case TTabPosition::tpTop:
        r = TRect(1, R.Top - 5, cw - 1, ch - 1);
        break;
      case TTabPosition::tpBottom:
        r = TRect(1, 1, cw - 1, R.Bottom + 3);
        break;
      case TTabPosition::tpLeft:
        r = TRect(R.Left - 3, R.Top - 5, cw - 1, ch - 1);
        break;
      case TTabPosition::tpRight:
        r = TRect(R.Left - 3, R.Top - 5, R.Right + 3, ch - 1);
        break;
    }
    return;
  }
  // The page area moves by the section's client rectangle (its distances from the skin
  // rectangle's edges: l left, t top, b right, a bottom).
  const int l = skinClientRect_.Left, t = skinClientRect_.Top;
  const int b = skinrect_.Width() - skinClientRect_.Right, a = skinrect_.Height() - skinClientRect_.Bottom;
  switch (tabPosition_) {
    case TTabPosition::tpTop:
      r = TRect(l, R.Top + t - 6, cw - b, ch - a);
      break;
    case TTabPosition::tpBottom:
      r = TRect(l, R.Top + t - 6, cw - b, R.Bottom + 4 - a);
      break;
    case TTabPosition::tpLeft:
      r = TRect(R.Left + l - 4, R.Top + t - 6, cw - b, ch - a);
      break;
    case TTabPosition::tpRight:
      r = TRect(l, R.Top + t - 6, R.Right + 4 - b, ch - a);
      break;
  }
}

TRect TbsSkinPageControl::ItemRect(int visibleIndex) {
  TRect r = PlatformItemRect(visibleIndex);
  if (style_ != TTabStyle::tsTabs) return r;
  switch (tabPosition_) {
    case TTabPosition::tpTop:
      return Offset(r, multiLine_ ? 0 : -2, -2);
    case TTabPosition::tpBottom:
      return Offset(r, multiLine_ ? 0 : -2, 2);
    case TTabPosition::tpLeft:
      return Offset(r, -2, 0);
    case TTabPosition::tpRight:
      return Offset(r, 2, 0);
  }
  return r;
}

// ---- painting ----------------------------------------------------------------------------

void TbsSkinPageControl::PaintPageFrameWithSkin(TBitmap& image) {
  if (!skinPicture_) return;
  const TBitmap& pic = *skinPicture_;
  const TRect S = skinrect_;
  const int sw = S.Width(), sh = S.Height();
  const int l = skinClientRect_.Left, t = skinClientRect_.Top;
  const int b = sw - skinClientRect_.Right, a = sh - skinClientRect_.Bottom;
  const TRect D = DisplayRect();
  const TRect F(D.Left - l, D.Top - t, D.Right + b, D.Bottom + a);
  const int dx = F.Width() - sw, dy = F.Height() - sh;
  const TPoint LT = lefttoppoint_, RT = righttoppoint_, LB = leftbottompoint_, RB = rightbottompoint_;
  const TPoint RT2(RT.X + dx, RT.Y), LB2(LB.X, LB.Y + dy), RB2(RB.X + dx, RB.Y + dy);
  const int cw = Width(), ch = Height();

  // The texture behind the tab strip.
  TRect strip;
  switch (tabPosition_) {
    case TTabPosition::tpTop:
      strip = TRect(0, 0, cw, F.Top);
      break;
    case TTabPosition::tpBottom:
      strip = TRect(0, F.Bottom, cw, ch);
      break;
    case TTabPosition::tpLeft:
      strip = TRect(0, 0, F.Left, ch);
      break;
    case TTabPosition::tpRight:
      strip = TRect(F.Right, 0, cw, ch);
      break;
  }
  TBitmap piece;
  if (TileArea(piece, pic, tabsbgrect_, strip.Width(), strip.Height()))
    image.Canvas().Draw(strip.Left, strip.Top, piece);

  // Edges: each tiled from its segment of the skin rectangle up to the stretched end point.
  // Only the part inside the control image is composed.
  auto edgeH = [&](TRect src, int x, int y, int len) {
    src = InPicture(src, pic);
    len = VisibleLength(x, len, cw);
    if (len < 1 || RectIsEmpty(src)) return;
    TBitmap e;
    ComposeStripH(0, 0, e, pic, src, len, src.Height());
    image.Canvas().Draw(x, y, e);
  };
  auto edgeV = [&](TRect src, int x, int y, int len) {
    src = InPicture(src, pic);
    len = VisibleLength(y, len, ch);
    if (len < 1 || RectIsEmpty(src)) return;
    TBitmap e;
    ComposeStripV(0, 0, e, pic, src, src.Width(), len);
    image.Canvas().Draw(x, y, e);
  };
  edgeH(TRect(S.Left + LT.X, S.Top, S.Left + RT.X, S.Top + t), F.Left + LT.X, F.Top, RT2.X - LT.X);
  edgeH(TRect(S.Left + LB.X, S.Top + sh - a, S.Left + RB.X, S.Bottom), F.Left + LB2.X, F.Bottom - a, RB2.X - LB2.X);
  edgeV(TRect(S.Left, S.Top + LT.Y, S.Left + l, S.Top + LB.Y), F.Left, F.Top + LT.Y, LB2.Y - LT.Y);
  edgeV(TRect(S.Left + sw - b, S.Top + RT.Y, S.Right, S.Top + RB.Y), F.Right - b, F.Top + RT2.Y, RB2.Y - RT2.Y);

  // Corners, unchanged.
  auto corner = [&](const TRect& src, const TRect& dest) {
    if (!RectIsEmpty(src)) CopyPiece(image, dest, pic, Offset(src, S.Left, S.Top));
  };
  corner(TRect(0, 0, LT.X, LT.Y), TRect(F.Left, F.Top, F.Left + LT.X, F.Top + LT.Y));
  corner(TRect(RT.X, 0, sw, RT.Y), TRect(F.Left + RT2.X, F.Top, F.Right, F.Top + RT2.Y));
  corner(TRect(0, LB.Y, LB.X, sh), TRect(F.Left, F.Top + LB2.Y, F.Left + LB2.X, F.Bottom));
  corner(TRect(RB.X, RB.Y, sw, sh), TRect(F.Left + RB2.X, F.Top + RB2.Y, F.Right, F.Bottom));
}

void TbsSkinPageControl::DrawImageAndCaption(TCanvas& c, int w, int h, TTabSheet* page) {
  TRect measure;
  c.DrawText(page->Caption(), measure, DT_CALCRECT | DT_SINGLELINE);
  const int tw = measure.Width() + 2, th = measure.Height();
  const int iw = images_->Width(), ih = images_->Height();
  const int x = w / 2 - (iw + tw + 2) / 2;
  // The image of the page's position in the list, not the page's own image index.
  images_->Draw(c, x, h / 2 - ih / 2, page->PageIndex(), page->Enabled());
  c.Brush.Style = TBrushStyle::bsClear;
  TRect text(x + iw + 2, h / 2 - th / 2, x + iw + 2 + tw, h / 2 - th / 2 + th);
  c.DrawText(page->Caption(), text, DT_CENTER);
}

void TbsSkinPageControl::DrawTab(TCanvas& canvas, int visibleIndex, TTabSheet* page, bool hot) {
  const TRect r = ItemRect(visibleIndex);
  const bool vertical = tabPosition_ == TTabPosition::tpLeft || tabPosition_ == TTabPosition::tpRight;
  const int length = vertical ? r.Height() : r.Width();
  const int thickness = vertical ? r.Width() : r.Height();
  if (length < 1 || thickness < 1) return;
  const bool selected = visibleIndex == TabIndex();
  const bool focused = Focused();
  TBitmap tab;
  const int p = page->PageIndex();
  const bool withImage = images_ && p >= 0 && p < images_->Count();
  if (sectionIndex_ == -1 || !skinPicture_) {
    tab.SetSize(length, thickness);
    PaintTabWithoutSkin(tab.Canvas(), length, thickness, hot, selected, focused, Font(),
                        withImage ? QString() : page->Caption());
    if (withImage) {
      tab.Canvas().Font = Font();
      DrawImageAndCaption(tab.Canvas(), tab.Width(), tab.Height(), page);
    }
  } else {
    TRect look;
    TColor color;
    if (hot && !selected && !RectIsEmpty(mouseintabrect_))
      look = mouseintabrect_;
    else if (selected && focused)
      look = focustabrect_;
    else if (!selected)
      look = tabrect_;
    else
      look = activetabrect_;
    if (hot && !selected)
      color = mouseinfontcolor_;
    else if (selected && focused)
      color = focusfontcolor_;
    else if (!selected)
      color = fontcolor_;
    else
      color = activefontcolor_;
    look = InPicture(look, *skinPicture_);
    if (!RectIsEmpty(look))
      ComposeStripH(tableftoffset_, tabrightoffset_, tab, *skinPicture_, look, length, look.Height());
    if (tab.Empty()) tab.SetSize(length, thickness);
    TCanvas& c = tab.Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    if (useSkinFont_) {
      c.Font.Name = fontname_;
      c.Font.Style = fontstyle_;
      c.Font.Height = fontheight_;
      c.Font.Charset = Font().Charset;
    } else {
      c.Font = Font();
    }
    c.Font.Color = color;
    if (withImage) {
      DrawImageAndCaption(c, tab.Width(), tab.Height(), page);
    } else {
      TRect text(0, 0, length, thickness);
      c.DrawText(page->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    c.Brush.Style = TBrushStyle::bsSolid;
  }
  if (!vertical) {
    canvas.Draw(r.Left, r.Top, tab);
    return;
  }
  // Side tabs are composed lying down and turned so that the tab's top edge faces outwards.
  TbsEffectBmp flat(tab);
  TbsEffectBmp turned(flat.Height(), flat.Width());
  if (tabPosition_ == TTabPosition::tpLeft)
    flat.TurnCounterClockwise(turned);
  else
    flat.TurnClockwise(turned);
  turned.DrawTo(canvas, r.Left, r.Top);
}

void TbsSkinPageControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  FetchSkinData();
  TBitmap image(Width(), Height());
  if (sectionIndex_ == -1)
    PaintPageFrameWithoutSkin(image.Canvas(), Width(), Height(), DisplayRect());
  else
    PaintPageFrameWithSkin(image);
  const auto tabs = VisibleTabs();
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i)
    DrawTab(image.Canvas(), i, tabs[static_cast<size_t>(i)], i == hotTab_);
  Canvas().Draw(0, 0, image);
}

// ---- the tab under the mouse -------------------------------------------------------------

void TbsSkinPageControl::RedrawTab(int visibleIndex) {
  // Only a tab that is neither selected nor gone changes its look with the mouse; the paint
  // that follows covers that tab alone.
  if (visibleIndex == -1 || visibleIndex == TabIndex() || visibleIndex >= PageCount()) return;
  InvalidateRect(ItemRect(visibleIndex));
}

void TbsSkinPageControl::TrackHotTab(int x, int y) {
  if (IsDesigning()) return;
  previousHotPage_ = hotPage_;
  previousHotTab_ = hotTab_;
  const auto tabs = VisibleTabs();
  hotTab_ = -1;
  hotPage_ = -1;
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
    const TRect r = ItemRect(i);
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) {
      hotTab_ = i;
      hotPage_ = tabs[static_cast<size_t>(i)]->PageIndex();
      break;
    }
  }
  if (hotTab_ != previousHotTab_) {
    RedrawTab(previousHotTab_);
    RedrawTab(hotTab_);
  }
}

void TbsSkinPageControl::MouseMove(TShiftState shift, int x, int y) {
  TPageControl::MouseMove(shift, x, y);
  TrackHotTab(x, y);
}

void TbsSkinPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TPageControl::MouseDown(button, shift, x, y);
  if (button == TMouseButton::mbLeft) TrackHotTab(x, y);
}

// ---- the tab scroller --------------------------------------------------------------------

int TbsSkinPageControl::HiddenTabCount() {
  const int limit = Width() - (tabScroller_ ? tabScroller_->Width() : 0) - 3;
  const int n = static_cast<int>(VisibleTabs().size());
  int hidden = 0;
  for (int i = 0; i < n; ++i) {
    const TRect r = ItemRect(i);
    if (r.Right > limit || r.Right <= 0) ++hidden;
  }
  return hidden;
}

int TbsSkinPageControl::ScrolledOffTabCount() {
  int n = 0;
  const int count = static_cast<int>(VisibleTabs().size());
  for (int i = 0; i < count; ++i)
    if (ItemRect(i).Right <= 0) ++n;
  return n;
}

void TbsSkinPageControl::FreeTabScroller() {
  TbsSkinUpDown* s = tabScroller_;
  tabScroller_ = nullptr;
  delete s;
}

void TbsSkinPageControl::SetUpTabScroller() {
  const int n = HiddenTabCount();
  if (n == 0 || multiLine_) {
    FreeTabScroller();
  } else if (!tabScroller_) {
    auto* s = new TbsSkinUpDown(this);
    s->SetParent(this);
    s->SetBounds(s->Left(), s->Top(), 2 * defaultItemHeight_, defaultItemHeight_);
    s->SetMin(0);
    s->SetMax(n);
    s->SetPosition(ScrolledOffTabCount());
    s->SetIncrement(1);
    s->OnChange = [this](TComponent*) { TabScrollerChanged(); };
    s->SetSkinDataName(upDownName_);
    s->SetSkinData(skinData_);
    s->SetVisible(true);
    tabScroller_ = s;
  }
  if (!tabScroller_) return;
  tabScroller_->SetMax(n);
  const int top = tabPosition_ == TTabPosition::tpTop ? 0 : Height() - tabScroller_->Height();
  tabScroller_->SetBounds(Width() - tabScroller_->Width(), top, tabScroller_->Width(), tabScroller_->Height());
}

void TbsSkinPageControl::TabScrollerChanged() {
  if (!tabScroller_) return;
  tabScroller_->SetMax(HiddenTabCount());
  Perform(WM_HSCROLL, MakeLParam(SB_THUMBPOSITION, tabScroller_->Position()), 0);
}

void TbsSkinPageControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (PageCount() > 0) {
        m.Result = 1;
        return;
      }
      break;
    case WM_SIZE:
      FetchSkinData();
      TPageControl::WndProc(m);
      if (!IsDesigning() && !IsDestroying()) SetUpTabScroller();
      return;
    case CM_MOUSELEAVE:
      TPageControl::WndProc(m);
      if (m.LParam == 0 || m.LParam == reinterpret_cast<intptr_t>(static_cast<TControl*>(this))) {
        RedrawTab(previousHotTab_);
        RedrawTab(hotTab_);
        previousHotTab_ = hotTab_ = -1;
        previousHotPage_ = hotPage_ = -1;
      }
      return;
    case WM_HSCROLL:
      TPageControl::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TPageControl::WndProc(m);
}

// ---- tab sheets --------------------------------------------------------------------------

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* owner) : TTabSheet(owner) {}

void TbsSkinCustomTabSheet::PaintBackground(TCanvas& canvas) {
  if (Width() < 1 || Height() < 1) return;
  auto* pc = dynamic_cast<TbsSkinPageControl*>(PageControl());
  if (pc) pc->FetchSkinData();
  const bool skinned = pc && pc->SectionIndex() != -1;
  const TBitmap* picture = skinned ? SkinPictureAt(pc->SkinData(), pc->BgPictureIndex()) : nullptr;
  // The background picture (whole copies from the top-left) or the inside of the page frame,
  // tiled; the tiling is shared with the other pages of the skin.
  const TBitmap* source = nullptr;
  TRect tile;
  if (picture) {
    source = picture;
    tile = InPicture(TRect(0, 0, picture->Width(), picture->Height()), *picture);
  } else if (skinned && pc->SkinPicture()) {
    source = pc->SkinPicture();
    tile = InPicture(Offset(pc->SkinClientRect(), pc->SkinRect().Left, pc->SkinRect().Top), *source);
  }
  if (source && !RectIsEmpty(tile)) {
    if (QPainter* p = canvas.Painter()) DrawTiledPicture(*p, source->Image(), ToQRect(tile), Width(), Height());
    return;
  }
  TBitmap bg(Width(), Height());
  PaintCustomControlWithoutSkin(bg.Canvas(), Width(), Height());
  canvas.Draw(0, 0, bg);
}

void TbsSkinCustomTabSheet::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (auto* c = reinterpret_cast<TCanvas*>(m.WParam)) {
        PaintBackground(*c);
        m.Result = 1;
        return;
      }
      break;
    case WM_SIZE:
      TTabSheet::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TTabSheet::WndProc(m);
}
