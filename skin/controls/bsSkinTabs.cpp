#include "skin/controls/bsSkinTabs.h"

#include "platform/Colors.h"
#include "skin/controls/PlainLooks.h"
#include "skin/controls/SkinAccessible.h"
#include "skin/controls/SkinLookup.h"
#include "skin/controls/bsSkinControl.h"
#include "skin/data/SkinControlData.h"

// ---- TbsSkinPageControl ------------------------------------------------------------------

TbsSkinPageControl::TbsSkinPageControl(TComponent* owner)
    : TPageControl(owner), defaultFont_(SkinDefaultFont(clBtnText)) {
  InstallSkinAccessibility();
  SetFont(SkinDefaultFont(clBtnText));
  SetParentFont(false);
  tabHeight_ = defaultItemHeight_;
}

TbsSkinPageControl::~TbsSkinPageControl() = default;

void TbsSkinPageControl::SetSkinData(TbsSkinData* v) {
  if (TComponent* old = SkinDataComponent(skinData_)) old->RemoveFreeNotification(this);
  skinData_ = v;
  if (TComponent* now = SkinDataComponent(skinData_)) now->FreeNotification(this);
  if (skinData_ && !SkinIsEmpty(skinData_) && !IsDesigning()) ApplySkinData();
}

void TbsSkinPageControl::Notification(TComponent* c, TOperation op) {
  TPageControl::Notification(c, op);
  if (op == TOperation::opRemove && c && c == SkinDataComponent(skinData_)) skinData_ = nullptr;
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
  if (auto* t = dynamic_cast<TbsDataSkinTabControl*>(SkinControlAt(skinData_, sectionIndex_))) {
    skinrect_ = t->skinrect;
    skinClientRect_ = t->clientrect;
    bgpictureindex_ = t->bgpictureindex;
  }
}

void TbsSkinPageControl::ApplySkinData() {
  FetchSkinData();
  auto* t = dynamic_cast<TbsDataSkinTabControl*>(SkinControlAt(skinData_, sectionIndex_));
  int height = defaultItemHeight_;
  if (sectionIndex_ == -1 || !t) {
    SetFont(defaultFont_);
  } else {
    TFont f = defaultFont_;
    if (useSkinFont_) {
      f.Name = t->fontname;
      f.Height = t->fontheight;
      f.Style = t->fontstyle;
    }
    f.Color = t->fontcolor;
    SetFont(f);
    height = t->tabrect.Height();
  }
  SetTabHeight(height);
  Change();
  Realign();
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
  TPageControl::Change();
  Invalidate();
}

void TbsSkinPageControl::AdjustDisplayRect(TRect& r) const {
  int l = 0, t = 0, b = 0, a = 0;
  if (sectionIndex_ != -1) {
    l = skinClientRect_.Left;
    t = skinClientRect_.Top;
    b = skinrect_.Width() - skinClientRect_.Right;
    a = skinrect_.Height() - skinClientRect_.Bottom;
  }
  const int cw = Width(), ch = Height();
  const TRect R = r;
  if (sectionIndex_ == -1) {
    switch (tabPosition_) {
      case TTabPosition::tpTop: r = TRect(1, R.Top - 5, cw - 1, ch - 1); break;
      case TTabPosition::tpBottom: r = TRect(1, 1, cw - 1, R.Bottom + 3); break;
      case TTabPosition::tpLeft: r = TRect(R.Left - 3, R.Top - 5, cw - 1, ch - 1); break;
      case TTabPosition::tpRight: r = TRect(R.Left - 3, R.Top - 5, R.Right + 3, ch - 1); break;
    }
    return;
  }
  switch (tabPosition_) {
    case TTabPosition::tpTop: r = TRect(l, R.Top + t - 6, cw - b, ch - a); break;
    case TTabPosition::tpBottom: r = TRect(l, R.Top + t - 6, cw - b, R.Bottom + 4 - a); break;
    case TTabPosition::tpLeft: r = TRect(R.Left + l - 4, R.Top + t - 6, cw - b, ch - a); break;
    case TTabPosition::tpRight: r = TRect(l, R.Top + t - 6, R.Right + 4 - b, ch - a); break;
  }
}

TRect TbsSkinPageControl::ItemRect(int visibleIndex) {
  TRect r = PlatformItemRect(visibleIndex);
  if (style_ != TTabStyle::tsTabs) return r;
  auto move = [&r](int dx, int dy) { r = TRect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy); };
  switch (tabPosition_) {
    case TTabPosition::tpTop: move(multiLine_ ? 0 : -2, -2); break;
    case TTabPosition::tpBottom: move(multiLine_ ? 0 : -2, 2); break;
    case TTabPosition::tpLeft: move(-2, 0); break;
    case TTabPosition::tpRight: move(2, 0); break;
  }
  return r;
}

void TbsSkinPageControl::DrawTab(TCanvas& canvas, int visibleIndex, bool hot) {
  const auto tabs = VisibleTabs();
  if (visibleIndex < 0 || visibleIndex >= static_cast<int>(tabs.size())) return;
  const TRect r = ItemRect(visibleIndex);
  const bool vertical = tabPosition_ == TTabPosition::tpLeft || tabPosition_ == TTabPosition::tpRight;
  const int length = vertical ? r.Height() : r.Width();
  const int thickness = vertical ? r.Width() : r.Height();
  if (length < 1 || thickness < 1) return;
  const bool selected = visibleIndex == TabIndex();
  TBitmap tab(length, thickness);
  PaintTabWithoutSkin(tab.Canvas(), length, thickness, hot, selected, Focused(), Font(),
                      tabs[static_cast<size_t>(visibleIndex)]->Caption());
  if (!vertical) {
    canvas.Draw(r.Left, r.Top, tab);
    return;
  }
  // Side tabs: the tab's top edge faces outwards.
  QTransform turn;
  turn.rotate(tabPosition_ == TTabPosition::tpLeft ? -90 : 90);
  canvas.Draw(r.Left, r.Top, tab.Image().transformed(turn));
}

void TbsSkinPageControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  FetchSkinData();
  TBitmap image(Width(), Height());
  // Drawings from the skin come with the skinned looks; the plain frame serves meanwhile.
  PaintPageFrameWithoutSkin(image.Canvas(), Width(), Height(), DisplayRect());
  const int n = static_cast<int>(VisibleTabs().size());
  for (int i = 0; i < n; ++i) DrawTab(image.Canvas(), i, i == hotTab_);
  Canvas().Draw(0, 0, image);
}

void TbsSkinPageControl::RedrawTab(int visibleIndex) {
  // Only a tab that is neither selected nor gone changes its look with the mouse.
  if (visibleIndex == -1 || visibleIndex == TabIndex() || visibleIndex >= PageCount()) return;
  Invalidate();
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

void TbsSkinPageControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (PageCount() > 0) {
        m.Result = 1;
        return;
      }
      break;
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
    default: break;
  }
  TPageControl::WndProc(m);
}

// ---- tab sheets --------------------------------------------------------------------------

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* owner) : TTabSheet(owner) {}

void TbsSkinCustomTabSheet::PaintBackground(TCanvas& canvas) {
  if (Width() < 1 || Height() < 1) return;
  if (auto* pc = dynamic_cast<TbsSkinPageControl*>(PageControl())) pc->FetchSkinData();
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
    default: break;
  }
  TTabSheet::WndProc(m);
}
