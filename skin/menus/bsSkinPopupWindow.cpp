// TbsSkinPopupWindow. Sections: creation and window traits; building, measuring and layout;
// showing; mouse; items' actions; keyboard; scrolling; painting.
#include "skin/menus/bsSkinPopupWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Screen.h"
#include "platform/WidgetBridge.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsUtils.h"
#include "skin/menus/MenuAccessible.h"
#include "skin/menus/MenuPlacement.h"
#include "skin/menus/bsSkinMenu.h"

namespace {
// Menu windows never grow beyond this (bad skins, absurd captions).
constexpr int kMaxWindowSide = 16384;
constexpr int kScrollZone = 10;
// The answer to WM_MOUSEACTIVATE that refuses activation.
constexpr intptr_t kNoActivate = 3;

TMouseButton ButtonOf(uint32_t msg) {
  if (msg == WM_RBUTTONUP) return TMouseButton::mbRight;
  if (msg == WM_MBUTTONUP) return TMouseButton::mbMiddle;
  return TMouseButton::mbLeft;
}
}  // namespace

// ---- Creation and window traits ----------------------------------------------------------

TbsSkinPopupWindow::TbsSkinPopupWindow(TbsSkinMenu* menu, const TbsDataSkinPopupWindow* popupData,
                                       const TbsDataSkinMenuItem* itemData)
    : TCustomControl(nullptr),
      menu_(menu),
      hoverTimer_(std::make_unique<TTimer>(nullptr)),
      fadeTimer_(std::make_unique<TTimer>(nullptr)),
      scrollTimer_(std::make_unique<TTimer>(nullptr)) {
  InstallMenuAccessibility();
  if (popupData && itemData) {
    FramePicture = SkinPicture(popupData->windowpictureindex);
    if (FramePicture) {
      PopupData = popupData;
      ItemData = itemData;
      ShapePicture = SkinPicture(popupData->maskpictureindex);
    }
  }
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetInterval(50);
  hoverTimer_->OnTimer = [this](TComponent*) { HoverTick(); };
  fadeTimer_->SetEnabled(false);
  fadeTimer_->SetInterval(20);
  fadeTimer_->OnTimer = [this](TComponent*) { FadeTick(); };
  scrollTimer_->SetEnabled(false);
  scrollTimer_->SetInterval(100);
  scrollTimer_->OnTimer = [this](TComponent*) { ScrollTick(); };
  itemsQFont_ = itemsFont_.ToQFont();
  itemsMetrics_ = std::make_unique<QFontMetrics>(itemsQFont_);
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() {
  Destroying();
  hoverTimer_->SetEnabled(false);
  fadeTimer_->SetEnabled(false);
  scrollTimer_->SetEnabled(false);
  if (HandleAllocated() && Handle()->isVisible()) NotifyMenuShown(this, false);
  items_.clear();
  if (HandleAllocated()) Handle()->hide();
}

const TBitmap& TbsSkinPopupWindow::Wide(const TBitmap& picture) {
  for (const auto& [source, copy] : wide_)
    if (source == &picture) return *copy;
  auto copy = std::make_unique<TBitmap>(picture);
  copy->SetPixelFormat(TPixelFormat::pf32bit);
  wide_.emplace_back(&picture, std::move(copy));
  return *wide_.back().second;
}

const QImage& TbsSkinPopupWindow::SkinFace(TFace face) {
  const int w = RectWidth(MappedItemsRect);
  if (facesWidth_ != w) {
    facesWidth_ = w;
    const TBitmap* picture = ItemData ? SkinPicture(ItemData->activepictureindex) : nullptr;
    const TRect skin = ItemCount() > 0 ? Items(0)->SkinRect : TRect();
    const TRect active = ItemCount() > 0 ? Items(0)->ActiveSkinRect : TRect();
    for (int f = fcNormal; f <= fcDivider; ++f) {
      faces_[f] = QImage();
      if (!picture || w < 1) continue;
      const TbsDataSkinMenuItem& d = *ItemData;
      TBitmap composed;
      const TBitmap& wide = Wide(*picture);
      if (f == fcDivider) ComposeStripH(d.dividerleftoffset, d.dividerrightoffset, composed, wide, d.dividerrect, w, 0);
      else ComposeStripH(d.itemleftoffset, d.itemrightoffset, composed, wide, f == fcActive ? active : skin, w, 0);
      faces_[f] = composed.Image();
    }
  }
  return faces_[face];
}

const TBitmap* TbsSkinPopupWindow::SkinPicture(int index) const {
  TbsSkinData* d = menu_ ? menu_->SkinData() : nullptr;
  return d ? d->ActivePicture(index) : nullptr;
}

QWidget* TbsSkinPopupWindow::CreateWidget(QWidget* parent) {
  auto* w = new TBridgedWidget<QWidget>(this, TWidgetBridge::Part::Whole, nullptr);
  // Top-most, frameless, no task-bar entry, never focused or activated, no pointer grab: the
  // form keeps the keyboard. A tooltip-type window is placed exactly where asked, with or
  // without a window manager.
  w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                    Qt::NoDropShadowWindowHint);
  w->setAttribute(Qt::WA_ShowWithoutActivating);
  w->setAttribute(Qt::WA_X11NetWmWindowTypePopupMenu);
  w->setAttribute(Qt::WA_X11DoNotAcceptFocus);
  w->setObjectName(QStringLiteral("bsSkinPopupWindow"));
  return w;
}

void TbsSkinPopupWindow::InitWidget(QWidget* w) {
  TCustomControl::InitWidget(w);
  w->setFocusPolicy(Qt::NoFocus);
}

// ---- Building, measuring and layout ------------------------------------------------------

void TbsSkinPopupWindow::BuildItems(TMenuItem* rootItem, int firstIndex) {
  rootItem_ = rootItem;
  items_.clear();
  ActiveIndex = OldActiveIndex = -1;
  if (ItemData) {
    itemsFont_.Name = ItemData->fontname;
    itemsFont_.Height = ItemData->fontheight;
    itemsFont_.Style = ItemData->fontstyle;
    itemsFont_.Charset = menu_->ItemFont.Charset;
    itemsFont_.Color = ItemData->fontcolor;
  } else {
    itemsFont_ = menu_->ItemFont;
  }
  itemsQFont_ = itemsFont_.ToQFont();
  itemsMetrics_ = std::make_unique<QFontMetrics>(itemsQFont_);
  TMenu* menu = rootItem ? rootItem->GetParentMenu() : nullptr;
  Images = menu ? menu->Images() : nullptr;
  if (rootItem)
    for (int i = std::max(firstIndex, 0); i < rootItem->Count(); ++i)
      if (TMenuItem* child = rootItem->Items(i); child->Visible())
        items_.push_back(std::make_unique<TbsSkinMenuItem>(this, child, ItemData));
  const TPoint size = MeasureWindow();
  MapFrame(size.X, size.Y);
  SetBounds(Left(), Top(), size.X, size.Y);
  LayoutItems();
  UpdateRegion();
  menu_->WatchItems(this);
}

int TbsSkinPopupWindow::ItemTextWidth(const TMenuItem* item) {
  QString s = StripHotkey(item->Caption());
  if (item->ShortCut() != scNone) s += QStringLiteral("  ") + item->ShortCutText();
  return itemsMetrics_->horizontalAdvance(s) + 2;
}

TPoint TbsSkinPopupWindow::MeasureWindow() {
  int64_t textWidth = 0, height = 0;
  for (const auto& item : items_) {
    textWidth = std::max<int64_t>(textWidth, ItemTextWidth(item->SourceItem));
    height += item->Height();
  }
  GlyphColumn = Images ? Images->Width() + 5 : 19;
  int64_t w = textWidth + GlyphColumn + 19;
  if (PopupData) {
    const TbsDataSkinPopupWindow& p = *PopupData;
    const int skinW = items_.empty() ? RectWidth(ItemData->skinrect) : RectWidth(items_.front()->SkinRect);
    w += ItemData->textrect.Left + (int64_t{skinW} - ItemData->textrect.Right) +
         (int64_t{FramePicture->Width()} - RectWidth(p.itemsrect));
    height += int64_t{FramePicture->Height()} - RectHeight(p.itemsrect);
  } else {
    w += 10;
    height += 4;
  }
  FirstVisible = 0;
  ShownCount = ItemCount();
  Scrolling = false;
  const TRect wa = menu_->WorkArea();
  if (RectHeight(wa) > 0 && height > RectHeight(wa)) {
    height = RectHeight(wa);
    Scrolling = true;
  }
  return TPoint(static_cast<int>(std::clamp<int64_t>(w, 1, kMaxWindowSide)),
                static_cast<int>(std::clamp<int64_t>(height, 1, kMaxWindowSide)));
}

void TbsSkinPopupWindow::MapFrame(int w, int h) {
  if (!PopupData) {
    MappedItemsRect = TRect(2, 2, w - 2, h - 2);
    return;
  }
  const TbsDataSkinPopupWindow& p = *PopupData;
  const int dw = w - FramePicture->Width(), dh = h - FramePicture->Height();
  MappedLeftTop = p.lefttoppoint;
  MappedRightTop = TPoint(p.righttoppoint.X + dw, p.righttoppoint.Y);
  MappedLeftBottom = TPoint(p.leftbottompoint.X, p.leftbottompoint.Y + dh);
  MappedRightBottom = TPoint(p.rightbottompoint.X + dw, p.rightbottompoint.Y + dh);
  MappedItemsRect = TRect(p.itemsrect.Left, p.itemsrect.Top, p.itemsrect.Right + dw, p.itemsrect.Bottom + dh);
}

void TbsSkinPopupWindow::LayoutItems() {
  const int count = ItemCount();
  FirstVisible = std::clamp(FirstVisible, 0, std::max(count - 1, 0));
  ShownCount = 0;
  int64_t y = MappedItemsRect.Top + (Scrolling ? kScrollZone : 0);
  const int64_t limit = MappedItemsRect.Bottom - (Scrolling ? kScrollZone : 0);
  int i = FirstVisible;
  for (; i < count; ++i) {
    TbsSkinMenuItem* item = items_[static_cast<size_t>(i)].get();
    const int h = item->Height();
    item->ItemBounds = TRect(MappedItemsRect.Left, static_cast<int>(y), MappedItemsRect.Right, static_cast<int>(y + h));
    y += h;
    if (y > limit) break;
    item->InView = true;
    ++ShownCount;
  }
  // Items outside the range shown are neither drawn nor hit.
  for (int k = 0; k < FirstVisible; ++k) items_[static_cast<size_t>(k)]->InView = false;
  for (int k = i; k < count; ++k) items_[static_cast<size_t>(k)]->InView = false;
}

int TbsSkinPopupWindow::LastPageStart() const {
  int64_t space = int64_t{MappedItemsRect.Bottom} - kScrollZone - (int64_t{MappedItemsRect.Top} + kScrollZone);
  int fit = 0;
  for (int i = ItemCount() - 1; i >= 0; --i) {
    const int h = items_[static_cast<size_t>(i)]->Height();
    if (space - h < 0) break;
    space -= h;
    ++fit;
  }
  return ItemCount() - fit;
}

void TbsSkinPopupWindow::UpdateRegion() {
  if (!PopupData || !ShapePicture) {
    if (!region_.isEmpty()) {
      region_ = QRegion();
      ClearWindowRegion(false);
    }
    return;
  }
  const TbsDataSkinPopupWindow& p = *PopupData;
  QRegion r;
  FrameRegionFromMask(r, p.lefttoppoint, p.righttoppoint, p.leftbottompoint, p.rightbottompoint, p.itemsrect,
                      MappedLeftTop, MappedRightTop, MappedLeftBottom, MappedRightBottom, MappedItemsRect,
                      *ShapePicture, Width(), Height());
  region_ = r;
  SetWindowRegion(region_, false);
}

int TbsSkinPopupWindow::IndexOfItem(const TbsSkinMenuItem* item) const {
  for (int i = 0; i < ItemCount(); ++i)
    if (items_[static_cast<size_t>(i)].get() == item) return i;
  return -1;
}

TbsSkinMenuItem* TbsSkinPopupWindow::ActiveItem() const {
  return ActiveIndex >= 0 && ActiveIndex < ItemCount() ? items_[static_cast<size_t>(ActiveIndex)].get() : nullptr;
}

// ---- Showing -----------------------------------------------------------------------------

void TbsSkinPopupWindow::ShowAt(const TRect& anchorRect, TMenuItem* rootItem, int firstIndex, bool isSubMenu,
                                bool openUp) {
  isSubMenu_ = isSubMenu;
  BuildItems(rootItem, firstIndex);
  TMenuPlacement place;
  place.Anchor = anchorRect;
  place.Width = Width();
  place.Height = Height();
  place.WorkArea = menu_->WorkArea();
  place.IsSubMenu = isSubMenu;
  place.OpenUp = openUp;
  place.Scrolling = Scrolling;
  place.ItemsTop = MappedItemsRect.Top;
  const TPoint pos = MenuWindowPosition(place);
  SetBounds(pos.X, pos.Y, Width(), Height());
  QWidget* w = Handle();
  const bool blend = LayeredWindowsAvailable() && menu_->BlendOn;
  const bool fadeIn = blend && menu_->BlendAnimated && menu_->FirstWindow();
  if (blend) SetWindowAlpha(w, fadeIn ? 0 : menu_->BlendValue);
  w->show();
  if (fadeIn) {
    for (int a = 2; a < menu_->BlendValue; a += 2) SetWindowAlpha(w, a);
    SetWindowAlpha(w, menu_->BlendValue);
  }
  NotifyMenuShown(this, true);
  hoverTimer_->SetEnabled(true);
  ActiveIndex = -1;
  // The first item that can be chosen starts selected (a divider cannot be chosen).
  for (int i = 0; i < ItemCount(); ++i) {
    TbsSkinMenuItem* item = items_[static_cast<size_t>(i)].get();
    if (item->ItemEnabled() && !item->IsDivider()) {
      ActiveIndex = i;
      Select(item, true);
      break;
    }
  }
}

// ---- Mouse -------------------------------------------------------------------------------

void TbsSkinPopupWindow::HoverTick() {
  const std::weak_ptr<int> alive = life_;
  TbsSkinMenu* menu = menu_;
  const TPoint screen = Screen()->CursorPos();
  const TPoint p(screen.X - Left(), screen.Y - Top());
  if (p != LastMousePos) {
    QWidget* top = QApplication::topLevelAt(QPoint(screen.X, screen.Y));
    const bool over = HandleAllocated() && (top == Handle() || (!top && PointInRect(screen, ScreenBounds())));
    if (over) {
      HandleMouseMove(p);
      if (alive.expired()) return;
    } else if (Scrolling && (ScrollDirection != 0 || ScrollTimerRunning())) {
      // The pointer left: the scroll ends (and may start again when it comes back to a zone).
      StopScroll();
    }
    LastMousePos = p;
  }
  // The outermost window watches for presses outside the menus.
  if (menu->IndexOfWindow(this) == 0) menu->CheckOutsidePress();
}

void TbsSkinPopupWindow::HandleMouseMove(const TPoint& p) {
  if (Scrolling) {
    const TRect& r = MappedItemsRect;
    const bool inUp = PointInRect(p, TRect(r.Left, r.Top, r.Right, r.Top + kScrollZone));
    const bool inDown = PointInRect(p, TRect(r.Left, r.Bottom - kScrollZone, r.Right, r.Bottom));
    const bool running = ScrollTimerRunning();
    if (inUp && !running && CanScrollUp()) {
      ScrollDirection = 1;
      DrawMarkersNow();
      StartScroll();
    } else if (inDown && !running && CanScrollDown()) {
      ScrollDirection = 2;
      DrawMarkersNow();
      StartScroll();
    } else if (running && !inUp && !inDown) {
      StopScroll();
    }
  }
  if (items_.empty()) return;
  OldActiveIndex = ActiveIndex;
  for (int i = 0; i < ItemCount(); ++i) {
    const TbsSkinMenuItem* item = items_[static_cast<size_t>(i)].get();
    if (item->InView && PointInRect(p, item->ItemBounds)) {
      ActiveIndex = i;
      break;
    }
  }
  if (ActiveIndex == OldActiveIndex) return;
  const std::weak_ptr<int> alive = life_;
  if (OldActiveIndex >= 0 && OldActiveIndex < ItemCount()) {
    TbsSkinMenuItem* old = items_[static_cast<size_t>(OldActiveIndex)].get();
    if (old->ItemEnabled() && !old->IsDivider()) Deselect(old);
  }
  TbsSkinMenuItem* now = ActiveItem();
  if (now && now->ItemEnabled() && !now->IsDivider()) Select(now, false);
  (void)alive;
}

void TbsSkinPopupWindow::HandleMouseUp(TMouseButton button, const TPoint& p) {
  const std::weak_ptr<int> alive = life_;
  HandleMouseMove(p);
  if (alive.expired()) return;
  TbsSkinMenuItem* active = ActiveItem();
  if (!active || button != TMouseButton::mbLeft || active->IsDivider()) return;
  bool onItem = false;
  for (const auto& item : items_) onItem = onItem || (item->InView && PointInRect(p, item->ItemBounds));
  if (onItem) Activate(active);
}

void TbsSkinPopupWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (m.WParam) PaintAll(*reinterpret_cast<TCanvas*>(m.WParam));
      m.Result = 1;
      return;
    case WM_PAINT:
      return;  // everything was drawn with the background
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      HandleMouseUp(ButtonOf(m.Msg), LParamToPoint(m.LParam));
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      return;  // the hover timer follows the mouse; a press does nothing
    case WM_MOUSEACTIVATE:
      m.Result = kNoActivate;
      return;
    default:
      TCustomControl::WndProc(m);
  }
}

// ---- Items' actions ----------------------------------------------------------------------

void TbsSkinPopupWindow::Select(TbsSkinMenuItem* item, bool byKeyboard) {
  if (!item) return;
  TbsSkinMenu* menu = menu_;
  item->Highlighted = true;
  NotifyMenuItemSelected(this, IndexOfItem(item));
  for (const auto& other : items_)
    if (other.get() != item && other->SubMenuShown) {
      other->SubMenuShown = false;
      Redraw(other.get());
    }
  if (item->SubMenuShown) {
    const int index = menu->IndexOfWindow(this);
    const auto& list = menu->OpenWindowList();
    if (static_cast<int>(list.size()) - index - 1 >= 2) {
      menu->CloseFrom(index + 2);
      if (index + 1 < static_cast<int>(menu->OpenWindowList().size())) {
        TbsSkinPopupWindow* next = menu->OpenWindowList()[static_cast<size_t>(index + 1)];
        for (int i = 0; i < next->ItemCount(); ++i)
          if (next->Items(i)->SubMenuShown) {
            next->Items(i)->SubMenuShown = false;
            next->Redraw(next->Items(i));
          }
      }
    }
    return;
  }
  Redraw(item);
  menu->ItemCommand(this, item, byKeyboard, false);
}

void TbsSkinPopupWindow::Deselect(TbsSkinMenuItem* item) {
  if (!item) return;
  item->Highlighted = false;
  if (!item->SubMenuShown) Redraw(item);
  if (menu_->PendingItem() == item) menu_->ClearPending();
}

void TbsSkinPopupWindow::Activate(TbsSkinMenuItem* item) {
  if (!item || item->SubMenuShown || !item->ItemEnabled()) return;
  menu_->ItemCommand(this, item, false, true);
}

// ---- Keyboard ----------------------------------------------------------------------------

void TbsSkinPopupWindow::HandleKey(uint16_t key) {
  if (!HandleAllocated() || !Handle()->isVisible()) return;
  TbsSkinMenu* menu = menu_;
  const std::weak_ptr<int> alive = life_;
  for (int i = 0; i < ItemCount(); ++i) {
    TbsSkinMenuItem* item = items_[static_cast<size_t>(i)].get();
    if (!item->ItemEnabled() || !IsAccel(key, item->SourceItem->Caption())) continue;
    const int old = ActiveIndex;
    Select(item, false);
    if (alive.expired()) return;
    ActiveIndex = i;
    if (old != i && old >= 0 && old < ItemCount()) Deselect(items_[static_cast<size_t>(old)].get());
    Activate(item);
    return;
  }
  const auto closeLast = [menu] {
    const int n = static_cast<int>(menu->OpenWindowList().size());
    menu->CloseFrom(n - 1);
    if (TbsSkinPopupWindow* last = menu->LastWindow())
      if (TbsSkinMenuItem* a = last->ActiveItem()) a->SubMenuShown = false;
  };
  switch (key) {
    case VK_RETURN:
      if (TbsSkinMenuItem* a = ActiveItem()) Activate(a);
      break;
    case VK_ESCAPE:
      if (menu->OpenWindowList().size() > 1) closeLast();
      else menu->CloseFrom(0);
      break;
    case VK_LEFT:
      if (menu->OpenWindowList().size() >= 2) closeLast();
      break;
    case VK_UP:
      SelectPrevious();
      break;
    case VK_RIGHT:
      if (TbsSkinMenuItem* a = ActiveItem(); a && a->HasChildren()) Activate(a);
      break;
    case VK_DOWN:
      SelectNext();
      break;
    default:
      break;
  }
}

void TbsSkinPopupWindow::SelectNext() { StepSelection(true); }
void TbsSkinPopupWindow::SelectPrevious() { StepSelection(false); }

void TbsSkinPopupWindow::StepSelection(bool down) {
  const int count = ItemCount();
  if (count == 0) return;
  // The item at the edge of the range shown in the walking direction; passing it scrolls.
  const auto edge = [this, down] { return down ? FirstVisible + ShownCount - 1 : FirstVisible; };
  const auto scrollOn = [this, down] {
    if (!Scrolling || ScrollTimerRunning()) return;
    if (down) ScrollDown(true);
    else ScrollUp(true);
  };
  if (ActiveIndex == edge()) scrollOn();
  OldActiveIndex = ActiveIndex;
  int start = ActiveIndex + (down ? 1 : -1);
  if (ActiveIndex < 0 || start < 0 || start > count - 1) start = down ? 0 : count - 1;
  int found = -1;
  for (int i = start; i >= 0 && i < count; i += down ? 1 : -1) {
    const TbsSkinMenuItem* item = items_[static_cast<size_t>(i)].get();
    if (item->ItemEnabled() && !item->IsDivider()) {
      found = i;
      break;
    }
    if (i == edge()) scrollOn();
  }
  if (found < 0 || found == OldActiveIndex) return;
  ActiveIndex = found;
  const std::weak_ptr<int> alive = life_;
  TbsSkinMenuItem* old = OldActiveIndex >= 0 && OldActiveIndex < count ? items_[static_cast<size_t>(OldActiveIndex)].get() : nullptr;
  Select(items_[static_cast<size_t>(found)].get(), true);
  if (alive.expired()) return;
  if (old) Deselect(old);
}

// ---- Scrolling ---------------------------------------------------------------------------

bool TbsSkinPopupWindow::ScrollTimerRunning() const { return scrollTimer_->Enabled(); }

void TbsSkinPopupWindow::ScrollUp(bool wrap) {
  const int before = FirstVisible;
  if (CanScrollUp()) --FirstVisible;
  else if (wrap) FirstVisible = LastPageStart();
  if (FirstVisible == before) return;
  LayoutItems();
  RepaintAll();
}

void TbsSkinPopupWindow::ScrollDown(bool wrap) {
  const int before = FirstVisible;
  if (CanScrollDown() && FirstVisible < ItemCount() - 1) ++FirstVisible;
  else if (wrap) FirstVisible = 0;
  if (FirstVisible == before) return;
  LayoutItems();
  RepaintAll();
}

void TbsSkinPopupWindow::CloseAfterThis() { menu_->CloseFrom(menu_->IndexOfWindow(this) + 1); }

void TbsSkinPopupWindow::StartScroll() {
  CloseAfterThis();
  scrollTimer_->SetEnabled(false);
  scrollTimer_->SetEnabled(true);
}

void TbsSkinPopupWindow::StopScroll() {
  ScrollDirection = 0;
  DrawMarkersNow();
  scrollTimer_->SetEnabled(false);
}

void TbsSkinPopupWindow::ScrollTick() {
  if (ScrollDirection == 1) {
    if (CanScrollUp()) ScrollUp(false);
    else StopScroll();
  } else if (ScrollDirection == 2) {
    if (CanScrollDown()) ScrollDown(false);
    else StopScroll();
  }
}

// ---- Painting ----------------------------------------------------------------------------

void TbsSkinPopupWindow::PaintTo(TBitmap& bmp) {
  const int W = Width(), H = Height();
  if (W < 1 || H < 1) return;
  bmp.SetPixelFormat(TPixelFormat::pf32bit);
  if (bmp.Width() != W || bmp.Height() != H) bmp.SetSize(W, H);
  PaintOn(bmp.Canvas(), QRegion(0, 0, W, H));
}

void TbsSkinPopupWindow::PaintAll(TCanvas& canvas) {
  // The window's backing store is the off-screen image: only what the platform asks for is
  // drawn (a changed item, the markers, or everything).
  QPainter* p = canvas.Painter();
  QRegion dirty = p && p->paintEngine() ? p->paintEngine()->systemClip() : QRegion();
  if (dirty.isEmpty()) dirty = QRegion(0, 0, Width(), Height());
  PaintOn(canvas, dirty);
}

void TbsSkinPopupWindow::PaintOn(TCanvas& c, const QRegion& dirty) {
  const int W = Width(), H = Height();
  if (W < 1 || H < 1) return;
  if (PopupData) {
    // The frame is composed once per size (and skin) and kept by the menu for the next window.
    const TbsDataSkinPopupWindow& p = *PopupData;
    const QString key = QStringLiteral("%1 %2x%3 %4 %5,%6 %7,%8 %9,%10 %11,%12 %13,%14,%15,%16")
                            .arg(FramePicture->Image().cacheKey())
                            .arg(W)
                            .arg(H)
                            .arg(Scrolling)
                            .arg(p.lefttoppoint.X).arg(p.lefttoppoint.Y)
                            .arg(p.righttoppoint.X).arg(p.righttoppoint.Y)
                            .arg(p.leftbottompoint.X).arg(p.leftbottompoint.Y)
                            .arg(p.rightbottompoint.X).arg(p.rightbottompoint.Y)
                            .arg(p.itemsrect.Left).arg(p.itemsrect.Top).arg(p.itemsrect.Right).arg(p.itemsrect.Bottom);
    const QImage* frame = menu_->CachedImage(key);
    if (!frame) {
      TBitmap composed;
      ComposeSkinImage(p.lefttoppoint, p.righttoppoint, p.leftbottompoint, p.rightbottompoint, p.itemsrect,
                       MappedLeftTop, MappedRightTop, MappedLeftBottom, MappedRightBottom, MappedItemsRect, composed,
                       Wide(*FramePicture), TRect(0, 0, FramePicture->Width(), FramePicture->Height()), W, H, Scrolling);
      frame = &menu_->CacheImage(key, composed.Image());
    }
    c.Draw(0, 0, *frame);
  } else {
    const int column = Images ? GlyphColumn + 2 : 21;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = clBtnFace;
    c.FillRect(TRect(0, 0, std::min(column, W), H));
    c.Brush.Color = clWindow;
    c.FillRect(TRect(std::min(column, W), 0, W, H));
    c.Brush.Color = clBtnShadow;
    c.FrameRect(TRect(0, 0, W, H));
    c.Brush.Color = clWindow;
    c.FrameRect(TRect(1, 1, W - 1, H - 1));
  }
  for (int i = FirstVisible; i < FirstVisible + ShownCount && i < ItemCount(); ++i) {
    TbsSkinMenuItem* item = items_[static_cast<size_t>(i)].get();
    const TRect& b = item->ItemBounds;
    if (dirty.intersects(QRect(b.Left, b.Top, b.Width(), b.Height()))) item->PaintItem(c);
  }
  if (Scrolling) {
    DrawScrollMarker(c, true);
    DrawScrollMarker(c, false);
  }
}

void TbsSkinPopupWindow::DrawScrollMarker(TCanvas& canvas, bool up) {
  const int W = Width(), H = Height();
  TRect band;
  TColor color;
  const bool active = ScrollDirection == (up ? 1 : 2);
  if (PopupData) {
    const TRect& r = MappedItemsRect;
    band = up ? TRect(r.Left, r.Top, r.Right, r.Top + kScrollZone) : TRect(r.Left, r.Bottom - kScrollZone, r.Right, r.Bottom);
    color = active ? PopupData->scrollmarkeractivecolor : PopupData->scrollmarkercolor;
  } else {
    band = up ? TRect(3, 3, W - 3, 13) : TRect(3, H - 10, W - 3, H - 3);
    color = active ? clBtnText : clBtnShadow;
  }
  PaintArrowGlyph(canvas, band, color, up ? adUp : adDown);
}

void TbsSkinPopupWindow::DrawRectNow(const TRect& r) {
  if (!HandleAllocated() || !Handle()->isVisible()) return;
  Handle()->repaint(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TbsSkinPopupWindow::DrawItemNow(TbsSkinMenuItem* item) {
  if (item && item->InView) DrawRectNow(item->ItemBounds);
}

void TbsSkinPopupWindow::DrawMarkersNow() {
  if (!Scrolling) return;
  const TRect& r = PopupData ? MappedItemsRect : TRect(3, 3, Width() - 3, Height() - 3);
  DrawRectNow(TRect(r.Left, r.Top, r.Right, r.Top + kScrollZone));
  DrawRectNow(TRect(r.Left, r.Bottom - kScrollZone, r.Right, r.Bottom));
}

void TbsSkinPopupWindow::RepaintAll() {
  if (HandleAllocated() && Handle()->isVisible()) Handle()->repaint();
}

void TbsSkinPopupWindow::Redraw(TbsSkinMenuItem* item) {
  if (item->ItemData && item->ItemData->morphing) fadeTimer_->SetEnabled(true);
  else DrawItemNow(item);
}

void TbsSkinPopupWindow::FadeTick() {
  if (!PopupData) return;
  bool stepped = false;
  for (const auto& item : items_) {
    if (!item->ItemData || !item->ItemData->morphing || !item->CanMorph()) continue;
    item->StepMorph();
    DrawItemNow(item.get());
    stepped = true;
  }
  if (!stepped) fadeTimer_->SetEnabled(false);
}
