#include "platform/PageControl.h"

#include <QWidget>
#include <algorithm>

#include "platform/Colors.h"
#include "platform/ImageList.h"

namespace {
// Inner margins of a tab around its caption, and the gap of the tab row from the edge.
constexpr int kTabPadding = 6;
// Between a tab's image and its caption.
constexpr int kImageGap = 3;
constexpr int kRowInset = 2;
}  // namespace

// ---- TTabSheet ---------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  align_ = TAlign::alClient;
  visible_ = false;
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) { SetParent(pc); }

void TTabSheet::SetParent(TWinControl* parent) {
  auto* pc = dynamic_cast<TPageControl*>(parent);
  if (pageControl_ && pageControl_ != pc) pageControl_->RemovePage(this);
  TWinControl::SetParent(parent);
  if (pc && pageControl_ != pc) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  const auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (!pageControl_) return;
  auto& pages = pageControl_->pages_;
  const int from = PageIndex();
  index = std::clamp(index, 0, static_cast<int>(pages.size()) - 1);
  if (from < 0 || from == index) return;
  pages.erase(pages.begin() + from);
  pages.insert(pages.begin() + index, this);
  pageControl_->Invalidate();
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int i = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return i;
    if (p->tabVisible_) ++i;
  }
  return -1;
}

void TTabSheet::SetImageIndex(int v) {
  imageIndex_ = v;
  if (pageControl_) pageControl_->Invalidate();
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  tabVisible_ = v;
  if (pageControl_) pageControl_->Invalidate();
}

void TTabSheet::WndProc(TMessage& m) {
  TWinControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->Invalidate();
}

// ---- TPageControl ------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(true);
  SetBounds(Left(), Top(), 289, 193);
}

TPageControl::~TPageControl() {
  Destroying();
  SetImages(nullptr);
  for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(pages_.begin(), pages_.end(), page) != pages_.end()) return;
  pages_.push_back(page);
  page->pageControl_ = this;
  page->SetVisible(false);
  if (!activePage_ && page->tabVisible_ && !IsLoading()) SetActivePage(page);
  Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  TTabSheet* next = activePage_ == page ? FindNextPage(page, true) : activePage_;
  pages_.erase(it);
  page->pageControl_ = nullptr;
  if (activePage_ == page) {
    activePage_ = next == page ? nullptr : next;
    if (!IsDestroying()) ShowActivePage();
  }
  if (!IsDestroying()) Invalidate();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
  std::vector<TTabSheet*> v;
  for (TTabSheet* p : pages_)
    if (p->tabVisible_) v.push_back(p);
  return v;
}

int TPageControl::TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }

void TPageControl::SetTabIndex(int i) {
  const auto tabs = VisibleTabs();
  if (i < 0 || i >= static_cast<int>(tabs.size())) SetActivePage(nullptr);
  else SetActivePage(tabs[static_cast<size_t>(i)]);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  activePage_ = page;
  ShowActivePage();
  Invalidate();
}

void TPageControl::SetActivePageIndex(int i) {
  if (i < 0 || i >= PageCount()) SetActivePage(nullptr);
  else SetActivePage(pages_[static_cast<size_t>(i)]);
}

void TPageControl::ShowActivePage() {
  if (activePage_) {
    activePage_->SetVisible(true);
    activePage_->BringToFront();
  }
  for (TTabSheet* p : pages_)
    if (p != activePage_) p->SetVisible(false);
  Realign();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward) const {
  if (pages_.empty()) return nullptr;
  const int n = PageCount();
  int start = current ? current->PageIndex() : -1;
  if (start < 0) start = goForward ? n - 1 : 0;
  int i = start;
  for (int k = 0; k < n; ++k) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    if (pages_[static_cast<size_t>(i)]->tabVisible_) return pages_[static_cast<size_t>(i)];
  }
  return nullptr;
}

bool TPageControl::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() { OnChange(this); }

void TPageControl::SelectNextPage(bool goForward) { SelectPage(FindNextPage(activePage_, goForward)); }

void TPageControl::SelectPage(TTabSheet* page) {
  if (!page || page->pageControl_ != this || page == activePage_ || !CanChange()) return;
  SetActivePage(page);
  Change();
}

void TPageControl::SetTabPosition(TTabPosition p) {
  if (p == tabPosition_) return;
  tabPosition_ = p;
  Realign();
  Invalidate();
}

void TPageControl::SetStyle(TTabStyle s) {
  style_ = s;
  Invalidate();
}

void TPageControl::SetMultiLine(bool v) {
  multiLine_ = v;
  Invalidate();
}

void TPageControl::SetTabHeight(int h) {
  tabHeight_ = std::max(0, h);
  Realign();
  Invalidate();
}

void TPageControl::SetTabWidth(int w) {
  tabWidth_ = std::max(0, w);
  Invalidate();
}

void TPageControl::ScrollTabs(int n) {
  firstTab_ = std::clamp(n, 0, std::max(0, static_cast<int>(VisibleTabs().size()) - 1));
  Invalidate();
}

int TPageControl::ItemHeight() {
  if (tabHeight_ > 0) return tabHeight_;
  canvas_.Font = Font();
  const int text = canvas_.TextHeight(QStringLiteral("Wg")) + 6;
  return images_ ? std::max(text, images_->Height() + 6) : text;
}

void TPageControl::SetImages(TCustomImageList* list) {
  if (list == images_) return;
  if (images_) {
    images_->RemoveChangeListener(this);
    images_->RemoveFreeNotification(this);
  }
  images_ = list;
  if (images_) {
    images_->FreeNotification(this);
    images_->AddChangeListener(this, [this] { Invalidate(); });
  }
  if (!IsDestroying()) Invalidate();
}

void TPageControl::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == TOperation::opRemove && c && c == images_) {
    images_ = nullptr;
    Invalidate();
  }
}

int TPageControl::ItemWidth(TTabSheet* page) {
  if (tabWidth_ > 0) return tabWidth_;
  canvas_.Font = Font();
  TRect r;
  canvas_.DrawText(page->Caption(), r, DT_CALCRECT | DT_SINGLELINE);
  return r.Width() + 2 * kTabPadding + (images_ ? images_->Width() + kImageGap : 0);
}

TRect TPageControl::PlatformItemRect(int visibleIndex) {
  const auto tabs = VisibleTabs();
  if (visibleIndex < 0 || visibleIndex >= static_cast<int>(tabs.size())) return TRect();
  const int h = ItemHeight();
  int pos = kRowInset;
  for (int i = 0; i < firstTab_ && i < static_cast<int>(tabs.size()); ++i) pos -= ItemWidth(tabs[static_cast<size_t>(i)]);
  for (int i = 0; i < visibleIndex; ++i) pos += ItemWidth(tabs[static_cast<size_t>(i)]);
  const int len = ItemWidth(tabs[static_cast<size_t>(visibleIndex)]);
  switch (tabPosition_) {
    case TTabPosition::tpBottom: return TRect(pos, Height() - kRowInset - h, pos + len, Height() - kRowInset);
    case TTabPosition::tpLeft: return TRect(kRowInset, pos, kRowInset + h, pos + len);
    case TTabPosition::tpRight: return TRect(Width() - kRowInset - h, pos, Width() - kRowInset, pos + len);
    default: return TRect(pos, kRowInset, pos + len, kRowInset + h);
  }
}

bool TPageControl::RowFits() {
  const bool vertical = tabPosition_ == TTabPosition::tpLeft || tabPosition_ == TTabPosition::tpRight;
  int total = kRowInset;
  for (TTabSheet* p : VisibleTabs()) total += ItemWidth(p);
  return total <= (vertical ? Height() : Width()) - kRowInset;
}

TRect TPageControl::ItemRect(int visibleIndex) { return PlatformItemRect(visibleIndex); }

int TPageControl::IndexOfTabAt(int x, int y) {
  const int n = static_cast<int>(VisibleTabs().size());
  for (int i = 0; i < n; ++i) {
    const TRect r = ItemRect(i);
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return i;
  }
  return -1;
}

TRect TPageControl::PlatformDisplayRect() const {
  // Inside a 4-pixel border, below the tab row (which starts 2 pixels from the edge).
  auto* self = const_cast<TPageControl*>(this);
  const int h = self->ItemHeight();
  const int cw = Width(), ch = Height();
  switch (tabPosition_) {
    case TTabPosition::tpBottom: return TRect(4, 4, cw - 4, ch - h - kRowInset - 4);
    case TTabPosition::tpLeft: return TRect(h + kRowInset + 4, 4, cw - 4, ch - 4);
    case TTabPosition::tpRight: return TRect(4, 4, cw - h - kRowInset - 4, ch - 4);
    default: return TRect(4, h + kRowInset + 4, cw - 4, ch - 4);
  }
}

TRect TPageControl::DisplayRect() {
  TRect r = PlatformDisplayRect();
  AdjustDisplayRect(r);
  return r;
}

void TPageControl::AdjustClientRect(TRect& r) const {
  r = PlatformDisplayRect();
  AdjustDisplayRect(r);
}

void TPageControl::InvalidateRect(const TRect& r) {
  if (HandleAllocated() && r.Width() > 0 && r.Height() > 0) Handle()->update(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::Paint() {
  // The platform's own look: a frame around the page area and flat tabs.
  TCanvas& c = Canvas();
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = Color();
  c.FillRect(ClientRect());
  TRect frame = DisplayRect();
  frame = TRect(frame.Left - 1, frame.Top - 1, frame.Right + 1, frame.Bottom + 1);
  c.Frame3D(frame, clBtnHighlight, clBtnShadow, 1);
  const auto tabs = VisibleTabs();
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
    TRect r = ItemRect(i);
    c.Frame3D(r, clBtnHighlight, clBtnShadow, 1);
    c.Font = Font();
    c.Brush.Style = TBrushStyle::bsClear;
    TTabSheet* page = tabs[static_cast<size_t>(i)];
    if (images_ && images_->Valid(page->ImageIndex())) {
      images_->Draw(c, r.Left + kTabPadding, r.Top + (r.Height() - images_->Height()) / 2, page->ImageIndex(),
                    page->Enabled());
      r.Left += images_->Width() + kImageGap;
    }
    c.DrawText(page->Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    c.Brush.Style = TBrushStyle::bsSolid;
  }
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  const int i = IndexOfTabAt(x, y);
  if (i < 0) return;
  if (CanFocus() && !Focused()) SetFocus();
  SelectPage(VisibleTabs()[static_cast<size_t>(i)]);
}

void TPageControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (m.WParam == VK_RIGHT || m.WParam == VK_DOWN) {
        SelectNextPage(true);
        return;
      }
      if (m.WParam == VK_LEFT || m.WParam == VK_UP) {
        SelectNextPage(false);
        return;
      }
      break;
    case WM_HSCROLL:
      if (LoWord(m.WParam) == SB_THUMBPOSITION) ScrollTabs(HiWord(m.WParam));
      return;
    case WM_SIZE:
    case CM_FONTCHANGED:
      TCustomControl::WndProc(m);
      // A row that fits whole again shows all its tabs from the first.
      if (firstTab_ > 0 && !multiLine_ && RowFits()) firstTab_ = 0;
      Realign();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(m);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::WndProc(m);
}

void TPageControl::Loaded() {
  TCustomControl::Loaded();
  if (!activePage_)
    for (TTabSheet* p : pages_)
      if (p->tabVisible_) {
        activePage_ = p;
        break;
      }
  ShowActivePage();
}
