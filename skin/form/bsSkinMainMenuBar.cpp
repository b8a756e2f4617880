// TbsSkinMainMenuBar: items, child buttons, layout, painting, mouse tracking, timers, the
// keyboard operations the frame calls, and the skin section.
#include "skin/form/bsSkinMainMenuBar.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "platform/TextMeasure.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "skin/controls/SkinLookup.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/MenuBarAccessible.h"
#include "skin/form/bsMenuBarObjects.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinMenu.h"

namespace {
// Geometry from a skin is kept within this range, so that no sum overflows and no image grows
// beyond what the drawing allows.
constexpr int64_t kMaxCoord = 1 << 20;
constexpr int kMaxBarHeight = 4096;

int Clamp(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kMaxCoord, kMaxCoord)); }

bool IsItem(const TbsMenuBarObject* o) { return dynamic_cast<const TbsSkinMainMenuBarItem*>(o) != nullptr; }
}  // namespace

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* owner)
    : TbsSkinControl(owner),
      defItemFont_(SkinDefaultFont(clBtnText)),
      hoverTimer_(std::make_unique<TTimer>(nullptr)),
      morphTimer_(std::make_unique<TTimer>(nullptr)) {
  skinDataName_ = QStringLiteral("mainmenubar");
  SetAlign(TAlign::alTop);
  SetBounds(0, 0, 100, 22);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetInterval(50);
  hoverTimer_->OnTimer = [this](TComponent*) { HoverTick(); };
  morphTimer_->SetEnabled(false);
  morphTimer_->SetInterval(20);
  morphTimer_->OnTimer = [this](TComponent*) { MorphTick(); };
  InstallMenuBarAccessibility();
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() {
  Destroying();
  hoverTimer_->SetEnabled(false);
  morphTimer_->SetEnabled(false);
  ClearObjects();
  retired_.clear();
}

// ===================================================================================
// Properties
// ===================================================================================

void TbsSkinMainMenuBar::SetDefItemFont(const TFont& f) {
  defItemFont_ = f;
  DefItemFontEdited();
}

void TbsSkinMainMenuBar::DefItemFontEdited() {
  if (!HasSection()) Invalidate();
}

void TbsSkinMainMenuBar::SetDefaultWidth(int v) {
  defaultWidth_ = v;
  if (!HasSection() && v > 0) SetWidth(v);
}

void TbsSkinMainMenuBar::SetDefaultHeight(int v) {
  defaultHeight_ = v;
  if (!HasSection() && v > 0) SetHeight(v);
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* v) {
  if (skinForm_ == v) return;
  if (skinForm_) skinForm_->RemoveFreeNotification(this);
  skinForm_ = v;
  if (skinForm_) skinForm_->FreeNotification(this);
}

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* v) {
  if (mainMenu_ == v) return;
  if (mainMenu_) mainMenu_->RemoveFreeNotification(this);
  mainMenu_ = v;
  if (mainMenu_) mainMenu_->FreeNotification(this);
  BuildItems();
  Invalidate();
}

void TbsSkinMainMenuBar::Notification(TComponent* c, TOperation op) {
  TbsSkinControl::Notification(c, op);
  if (op != TOperation::opRemove || !c) return;
  if (c == skinForm_) skinForm_ = nullptr;
  if (IsDestroying()) return;
  if (c == mainMenu_) {
    mainMenu_ = nullptr;
    for (TbsSkinMainMenuBarItem* item : Items()) item->LinkedMenuItem = nullptr;
    BuildItems();
    Invalidate();
    return;
  }
  // A shown menu item goes: its item stops acting now and the items are built again once the
  // menu has settled.
  bool linked = false;
  for (TbsSkinMainMenuBarItem* item : Items())
    if (item->LinkedMenuItem == c) {
      item->LinkedMenuItem = nullptr;
      item->IsEnabled = item->IsVisible = false;
      linked = true;
    }
  if (!linked) return;
  const std::weak_ptr<int> alive = life_;
  QTimer::singleShot(0, qApp, [this, alive] {
    if (alive.expired()) return;
    BuildItems();
    Invalidate();
  });
}

// ===================================================================================
// Objects
// ===================================================================================

std::vector<TbsSkinMainMenuBarItem*> TbsSkinMainMenuBar::Items() const {
  std::vector<TbsSkinMainMenuBarItem*> out;
  for (const auto& o : objects_)
    if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o.get())) out.push_back(i);
  return out;
}

TbsSkinMainMenuBarButton* TbsSkinMainMenuBar::ChildButton(TStdButtonCommand command) const {
  for (int i = 0; i < childButtonCount_ && i < static_cast<int>(objects_.size()); ++i)
    if (auto* b = dynamic_cast<TbsSkinMainMenuBarButton*>(objects_[static_cast<size_t>(i)].get());
        b && b->Command == command)
      return b;
  return nullptr;
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::PressedItem() const {
  for (TbsSkinMainMenuBarItem* i : Items())
    if (i->Pressed) return i;
  return nullptr;
}

const TbsDataSkinObject* TbsSkinMainMenuBar::SkinObject(const QString& name) const {
  if (!HasSection() || name.isEmpty() || SkinIsEmpty(skinData_)) return nullptr;
  for (const auto& o : skinData_->SkinObjects)
    if (o->SectionName == name) return o.get();
  return nullptr;
}

void TbsSkinMainMenuBar::WatchMenuItem(TMenuItem* item, bool on) {
  if (!item) return;
  if (on)
    item->FreeNotification(this);
  else
    item->RemoveFreeNotification(this);
}

void TbsSkinMainMenuBar::ClearObjects() {
  // Objects may be in the middle of a call of their own (a command that rebuilds the bar): they
  // are freed at the next event, not now.
  for (auto& o : objects_) {
    if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o.get())) WatchMenuItem(i->LinkedMenuItem, false);
    retired_.push_back(std::move(o));
  }
  objects_.clear();
  childButtonCount_ = 0;
  ResetHover();
  captureIndex_ = -1;
}

void TbsSkinMainMenuBar::BuildItems() {
  ClearObjects();
  if (mainMenu_) {
    const TbsDataSkinObject* data = SkinObject(menubaritem);
    if (data && !dynamic_cast<const TbsDataSkinMainMenuItem*>(data)) data = nullptr;
    for (TMenuItem* m : mainMenu_->Items()->ItemList()) {
      if (!m->Visible()) continue;
      objects_.push_back(std::make_unique<TbsSkinMainMenuBarItem>(this, data, m));
      WatchMenuItem(m, true);
    }
  }
  if (childButtonsShown_) {
    CreateChildButtons();
    ApplyChildIcons();
  }
  ArrangeBar();
}

void TbsSkinMainMenuBar::CreateChildButtons() {
  struct Slot {
    const char* name;
    TStdButtonCommand command;
    const QString* skinName;
  };
  // Each goes to the front: the list then starts system menu, close, maximize, minimize.
  const Slot places[4] = {{"MinButton", cmMinimize, &minbutton},
                         {"MaxButton", cmMaximize, &maxbutton},
                         {"CloseButton", cmClose, &closebutton},
                         {"SysMenuButton", cmSysMenu, &sysmenubutton}};
  for (const Slot& s : places) {
    const TbsDataSkinObject* data = SkinObject(*s.skinName);
    if (data && !dynamic_cast<const TbsDataSkinStdButton*>(data)) data = nullptr;
    objects_.insert(objects_.begin(),
                    std::make_unique<TbsSkinMainMenuBarButton>(this, data, QLatin1String(s.name), s.command));
  }
  childButtonCount_ = 4;
}

void TbsSkinMainMenuBar::RemoveChildButtons() {
  const int n = std::min(childButtonCount_, static_cast<int>(objects_.size()));
  for (int i = 0; i < n; ++i) retired_.push_back(std::move(objects_[static_cast<size_t>(i)]));
  objects_.erase(objects_.begin(), objects_.begin() + n);
  childButtonCount_ = 0;
  ResetHover();
  captureIndex_ = -1;
}

void TbsSkinMainMenuBar::ApplyChildIcons() {
  TbsSkinForm* child = ChildSkinForm();
  const TbsBorderIcons icons = child ? child->BorderIcons() : TbsBorderIcons(biSystemMenu | biMinimize | biMaximize);
  for (int i = 0; i < childButtonCount_ && i < static_cast<int>(objects_.size()); ++i) {
    auto* b = static_cast<TbsSkinMainMenuBarButton*>(objects_[static_cast<size_t>(i)].get());
    b->IsEnabled = true;
    if (b->Command == cmMinimize && !(icons & biMinimize)) b->IsEnabled = false;
    if (b->Command == cmSysMenu && !(icons & biSystemMenu)) b->IsEnabled = false;
  }
}

void TbsSkinMainMenuBar::ShowChildButtons() {
  if (!childButtonsShown_) {
    childButtonsShown_ = true;
    ResetHover();
    CreateChildButtons();
  }
  ApplyChildIcons();
  ArrangeBar();
  Invalidate();
}

void TbsSkinMainMenuBar::HideChildButtons() {
  if (!childButtonsShown_) return;
  TbsSkinForm* frame = skinForm_ ? skinForm_ : TbsSkinForm::FindSkinForm(GetParentForm(this));
  if (frame && frame->MaximizedChildForm()) {
    ApplyChildIcons();
    Invalidate();
    return;
  }
  childButtonsShown_ = false;
  RemoveChildButtons();
  ArrangeBar();
  Invalidate();
}

TbsSkinForm* TbsSkinMainMenuBar::ChildSkinForm() const {
  TbsSkinForm* frame = skinForm_ ? skinForm_ : TbsSkinForm::FindSkinForm(GetParentForm(this));
  if (!frame) return nullptr;
  TCustomForm* child = frame->MaximizedChildForm();
  return child ? TbsSkinForm::FindSkinForm(child) : nullptr;
}

// ===================================================================================
// Layout
// ===================================================================================

TFont TbsSkinMainMenuBar::ItemFont(const TbsSkinMainMenuBarItem* item) const {
  if (!item || !item->SkinLook()) return defItemFont_;
  TFont f = defItemFont_;
  f.Name = item->fontname;
  f.Height = std::clamp(item->fontheight, -512, 512);
  f.Style = item->fontstyle;
  return f;
}

int TbsSkinMainMenuBar::CaptionWidth(const TbsSkinMainMenuBarItem* item) const {
  const QString caption = item->Caption();
  if (caption.isEmpty()) return 0;
  // Measured again only when the caption or the font changed (the bar is laid out on every
  // paint and mouse move).
  const TFont font = ItemFont(item);
  const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                          .arg(caption, font.Name)
                          .arg(font.Height)
                          .arg(font.Style)
                          .arg(font.Charset);
  if (key != item->MeasuredKey) {
    item->MeasuredKey = key;
    item->MeasuredWidth = TextMeasure::Advance(font.ToQFont(), StripHotkey(caption));
  }
  return item->MeasuredWidth;
}

TRect TbsSkinMainMenuBar::OverflowRect() const {
  return TRect(itemsArea_.Right - 5, itemsArea_.Top, itemsArea_.Right, itemsArea_.Bottom);
}

void TbsSkinMainMenuBar::ArrangeBar() {
  const int W = Width(), H = Height();
  TRect& A = itemsArea_;
  if (HasSection())
    A = TRect(Clamp(itemsrect.Left), Clamp(itemsrect.Top),
              Clamp(int64_t{W} + itemsrect.Right - RectWidth(BarSkinRect)), Clamp(itemsrect.Bottom));
  else
    A = TRect(2, 2, W - 2, H - 2);

  if (childButtonsShown_ && childButtonCount_ == 4 && objects_.size() >= 4) {
    auto place = [&A](TbsMenuBarObject* o, bool left) {
      const auto* b = static_cast<const TbsSkinMainMenuBarButton*>(o);
      const int areaH = std::max(0, RectHeight(A));
      int w = areaH, h = areaH;
      if (b->FromSkin) {
        w = std::clamp(RectWidth(b->skinrect), 0, kMaxBarHeight);
        h = std::clamp(RectHeight(b->skinrect), 0, kMaxBarHeight);
      }
      const int top = b->FromSkin ? A.Top + (areaH - h) / 2 : A.Top;
      if (left) {
        o->ObjectRect = TRect(A.Left, top, A.Left + w, top + h);
        A.Left = Clamp(int64_t{A.Left} + w + 2);
      } else {
        o->ObjectRect = TRect(A.Right - w, top, A.Right, top + h);
        A.Right = Clamp(int64_t{A.Right} - w - 2);
      }
    };
    place(objects_[0].get(), true);   // system menu
    place(objects_[1].get(), false);  // close
    place(objects_[2].get(), false);  // maximize (restore)
    place(objects_[3].get(), false);  // minimize
  }

  overflow_ = false;
  int64_t x = A.Left;
  for (TbsSkinMainMenuBarItem* item : Items()) {
    if (!item->IsVisible) continue;
    const int64_t tw = CaptionWidth(item);
    TRect r;
    if (item->SkinLook()) {
      const int64_t w = int64_t{RectWidth(item->skinrect)} - RectWidth(item->textrect) + tw + 2;
      r = TRect(Clamp(x), A.Top, Clamp(x + std::max<int64_t>(w, 0)), Clamp(int64_t{A.Top} + RectHeight(item->skinrect)));
    } else {
      r = TRect(Clamp(x), A.Top, Clamp(x + tw + 12), A.Bottom);
    }
    item->ObjectRect = r;
    x = r.Right;
    if (r.Right > int64_t{A.Right} - 5) {
      overflow_ = true;
      if (item->FitsInBar) {
        item->FitsInBar = false;
        item->EnabledBeforeHiding = item->IsEnabled;
        item->IsEnabled = false;
      }
    } else if (!item->FitsInBar) {
      item->FitsInBar = true;
      item->IsEnabled = item->EnabledBeforeHiding;
    }
  }
}

// ===================================================================================
// Painting
// ===================================================================================

void TbsSkinMainMenuBar::ComposeBackground() {
  const int W = std::max(Width(), 0), H = std::max(Height(), 0);
  const TBitmap* picture = HasSection() ? barPicture_ : nullptr;
  const QString key = picture ? QStringLiteral("%1 %2x%3 %4,%5,%6,%7 %8,%9")
                                    .arg(picture->Image().cacheKey())
                                    .arg(W)
                                    .arg(H)
                                    .arg(BarSkinRect.Left)
                                    .arg(BarSkinRect.Top)
                                    .arg(BarSkinRect.Right)
                                    .arg(BarSkinRect.Bottom)
                                    .arg(itemsrect.Left)
                                    .arg(itemsrect.Right)
                              : QStringLiteral("plain %1x%2").arg(W).arg(H);
  if (key == backgroundKey_ && background_.Width() == W && background_.Height() == H) return;
  backgroundKey_ = key;
  background_.SetSize(W, H);
  TCanvas& c = background_.Canvas();
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = clBtnFace;
  c.FillRect(TRect(0, 0, W, H));
  if (!picture || RectIsEmpty(BarSkinRect) || W < 1) return;
  TBitmap strip;
  const int left = std::clamp(itemsrect.Left, 0, RectWidth(BarSkinRect));
  const int right = std::clamp(RectWidth(BarSkinRect) - itemsrect.Right, 0, RectWidth(BarSkinRect));
  ComposeStripH(left, right, strip, *picture, BarSkinRect, W, H);
  c.Draw(0, 0, strip);
}

void TbsSkinMainMenuBar::PaintArea(TBitmap& image, const TRect& area) {
  image.SetSize(std::max(RectWidth(area), 0), std::max(RectHeight(area), 0));
  if (image.Width() < 1 || image.Height() < 1) return;
  ComposeBackground();
  ArrangeBar();
  TCanvas& c = image.Canvas();
  c.CopyRect(TRect(0, 0, image.Width(), image.Height()), background_.Image(), area);
  QPainter* p = c.Painter();
  if (!p) return;
  p->save();
  p->translate(-area.Left, -area.Top);
  const QRect dirty(area.Left, area.Top, RectWidth(area), RectHeight(area));
  for (const auto& o : objects_) {
    if (!o->IsVisible) continue;
    if (auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(o.get()); item && !item->FitsInBar) continue;
    const TRect& r = o->ObjectRect;
    if (!dirty.intersects(QRect(r.Left, r.Top, RectWidth(r), RectHeight(r)))) continue;
    o->PaintObject(c);
  }
  if (overflow_) {
    TColor color;
    if (HasSection())
      color = overflowHot_ ? trackmarkactivecolor : trackmarkcolor;
    else
      color = overflowHot_ ? clBtnText : clBtnShadow;
    PaintArrowGlyph(c, OverflowRect(), color, adRight);
  }
  p->restore();
}

void TbsSkinMainMenuBar::PaintBar(TBitmap& image) {
  FetchSkinData();
  PaintArea(image, TRect(0, 0, Width(), Height()));
}

void TbsSkinMainMenuBar::Paint() {
  const int W = Width(), H = Height();
  if (W <= 0 || H <= 0) return;
  FetchSkinData();
  // An object's own redraw paints its rectangle only; every other paint draws the whole bar.
  TRect area(0, 0, W, H);
  if (redrawArea_) {
    const TRect& r = *redrawArea_;
    area = TRect(std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, W), std::min(r.Bottom, H));
    if (RectIsEmpty(area)) return;
  }
  TBitmap image;
  PaintArea(image, area);
  Canvas().Draw(area.Left, area.Top, image);
}

void TbsSkinMainMenuBar::RepaintArea(const TRect& r) {
  if (IsDestroying() || !HandleAllocated() || !Handle()->isVisible()) return;
  const QRect q = QRect(r.Left, r.Top, RectWidth(r), RectHeight(r)) & QRect(0, 0, Width(), Height());
  if (q.isEmpty()) return;
  redrawArea_ = TRect(q.left(), q.top(), q.right() + 1, q.bottom() + 1);
  Handle()->repaint(q);
  redrawArea_.reset();
}

void TbsSkinMainMenuBar::RedrawObject(TbsMenuBarObject* object) {
  if (object) RepaintArea(object->ObjectRect);
}

// ===================================================================================
// Mouse
// ===================================================================================

int TbsSkinMainMenuBar::ObjectAt(int x, int y) const {
  for (size_t i = 0; i < objects_.size(); ++i) {
    const TbsMenuBarObject* o = objects_[i].get();
    if (o->IsEnabled && o->IsVisible && PointInRect(TPoint(x, y), o->ObjectRect)) return static_cast<int>(i);
  }
  return -1;
}

void TbsSkinMainMenuBar::TrackBar(int x, int y) {
  ArrangeBar();
  int i = ObjectAt(x, y);
  const int count = static_cast<int>(objects_.size());
  if (hoverIndex_ >= count) hoverIndex_ = -1;
  if (i < 0 && menuMode_ && hoverIndex_ >= 0 && IsItem(objects_[static_cast<size_t>(hoverIndex_)].get()))
    i = hoverIndex_;
  if (captureIndex_ >= 0 && i != captureIndex_) i = -1;

  const bool hot = overflow_ && PointInRect(TPoint(x, y), OverflowRect());
  if (hot != overflowHot_) {
    overflowHot_ = hot;
    RepaintArea(OverflowRect());
  }

  if (i == hoverIndex_) return;
  prevHoverIndex_ = hoverIndex_;
  hoverIndex_ = i;
  const std::weak_ptr<int> alive = life_;
  if (prevHoverIndex_ >= 0 && prevHoverIndex_ < count) {
    TbsMenuBarObject* old = objects_[static_cast<size_t>(prevHoverIndex_)].get();
    if (old->IsEnabled) old->MouseLeave();
  }
  if (alive.expired() || i < 0 || i >= static_cast<int>(objects_.size())) return;
  TbsMenuBarObject* now = objects_[static_cast<size_t>(i)].get();
  if (now->IsEnabled) now->MouseEnter();
}

void TbsSkinMainMenuBar::MouseMove(TShiftState shift, int x, int y) {
  retired_.clear();
  TbsSkinControl::MouseMove(shift, x, y);
  TrackBar(x, y);
  hoverTimer_->SetEnabled(true);
}

void TbsSkinMainMenuBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  retired_.clear();
  const std::weak_ptr<int> alive = life_;
  TbsSkinControl::MouseDown(button, shift, x, y);
  if (alive.expired()) return;
  TrackBar(x, y);
  if (alive.expired()) return;
  if (hoverIndex_ < 0) {
    if (button == TMouseButton::mbLeft && overflow_ && PointInRect(TPoint(x, y), OverflowRect())) OpenOverflowMenu();
    return;
  }
  captureIndex_ = hoverIndex_;
  TbsMenuBarObject* o = objects_[static_cast<size_t>(captureIndex_)].get();
  o->MouseDown(x, y, button);
  // The object may be gone from the list (or the bar with it): it is only freed later.
  if (alive.expired() || !(shift & ssDouble) || button != TMouseButton::mbLeft) return;
  if (std::any_of(objects_.begin(), objects_.end(), [o](const auto& held) { return held.get() == o; })) o->DblClick();
}

void TbsSkinMainMenuBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  retired_.clear();
  const std::weak_ptr<int> alive = life_;
  TbsSkinControl::MouseUp(button, shift, x, y);
  if (alive.expired()) return;
  const int i = captureIndex_;
  captureIndex_ = -1;
  if (i < 0 || i >= static_cast<int>(objects_.size())) return;
  objects_[static_cast<size_t>(i)]->MouseUp(x, y, button);
  if (alive.expired()) return;
  if (x >= 0 && y >= 0 && x < Width() && y < Height()) TrackBar(x, y);
}

void TbsSkinMainMenuBar::ActivateObject(TbsMenuBarObject* object) {
  retired_.clear();
  const bool held = std::any_of(objects_.begin(), objects_.end(), [object](const auto& o) { return o.get() == object; });
  if (!held || !object->IsEnabled) return;
  if (auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(object)) {
    SetHover(item);
    item->MouseDown(0, 0, TMouseButton::mbLeft);
    return;
  }
  auto* b = static_cast<TbsSkinMainMenuBarButton*>(object);
  const std::weak_ptr<int> alive = life_;
  b->MouseDown(0, 0, TMouseButton::mbLeft);
  if (alive.expired() || b->Command == cmSysMenu) return;
  b->Highlighted = true;
  b->MouseUp(0, 0, TMouseButton::mbLeft);
  if (alive.expired()) return;
  // Still on the bar (the child stayed maximized): the mouse is not over it.
  if (std::any_of(objects_.begin(), objects_.end(), [b](const auto& o) { return o.get() == b; }))
    b->Highlighted = b->MouseInside = false;
}

void TbsSkinMainMenuBar::OpenOverflowMenu() {
  TbsSkinForm* frame = skinForm_;
  if (!frame || !frame->MenuDriver() || !mainMenu_) return;
  int first = -1;
  for (TbsSkinMainMenuBarItem* item : Items())
    if (!item->FitsInBar && item->LinkedMenuItem) {
      first = mainMenu_->Items()->IndexOf(item->LinkedMenuItem);
      break;
    }
  if (first < 0) return;
  TbsSkinMenu* driver = frame->MenuDriver();
  const std::weak_ptr<int> alive = life_;
  frame->NotifyMenuOpened();
  driver->OpenMenu(this, SkinData(), PopupToUp, mainMenu_->Items(), ScreenRect(OverflowRect()), first);
  if (alive.expired() || !skinForm_) return;
  if (!driver->MenuOpen() && skinForm_->SkinMenuOpen()) skinForm_->NotifyMenusClosed();
}

TRect TbsSkinMainMenuBar::ScreenRect(const TRect& r) const {
  const TPoint o = ClientToScreen(TPoint(0, 0));
  return TRect(r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y);
}

void TbsSkinMainMenuBar::HoverTick() {
  retired_.clear();
  if (!HandleAllocated() || !Handle()->isVisible()) {
    hoverTimer_->SetEnabled(false);
    TrackBar(-1, -1);
    return;
  }
  const QPoint p = Handle()->mapFromGlobal(QCursor::pos());
  if (p.x() < 0 || p.y() < 0 || p.x() >= Width() || p.y() >= Height()) {
    hoverTimer_->SetEnabled(false);
    TrackBar(-1, -1);
  }
}

void TbsSkinMainMenuBar::MorphTick() {
  retired_.clear();
  bool stepped = false;
  const std::weak_ptr<int> alive = life_;
  for (size_t i = 0; i < objects_.size(); ++i) {
    TbsMenuBarObject* o = objects_[i].get();
    if (!o->morphing || !o->CanMorph()) continue;
    o->StepMorph();
    if (alive.expired()) return;
    stepped = true;
  }
  if (!stepped) morphTimer_->SetEnabled(false);
}

void TbsSkinMainMenuBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case SkinMessageMenuClosed:
      if (TbsSkinMainMenuBarButton* b = ChildButton(cmSysMenu)) b->PopupClosed();
      return;
    case CM_MOUSEENTER:
      TbsSkinControl::WndProc(m);
      hoverTimer_->SetEnabled(true);
      return;
    case CM_MOUSELEAVE: {
      const std::weak_ptr<int> alive = life_;
      TbsSkinControl::WndProc(m);
      if (alive.expired()) return;
      hoverTimer_->SetEnabled(false);
      TrackBar(-1, -1);
      return;
    }
    default:
      TbsSkinControl::WndProc(m);
  }
}

void TbsSkinMainMenuBar::DefaultHandler(TMessage& m) {
  if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) return;
  TbsSkinControl::DefaultHandler(m);
}

// ===================================================================================
// Keyboard menu mode
// ===================================================================================

std::vector<TbsSkinMainMenuBarItem*> TbsSkinMainMenuBar::NavigableItems() const {
  std::vector<TbsSkinMainMenuBarItem*> out;
  for (TbsSkinMainMenuBarItem* i : Items())
    if (i->IsEnabled && i->IsVisible && i->FitsInBar && i->LinkedMenuItem) out.push_back(i);
  return out;
}

void TbsSkinMainMenuBar::SetHover(TbsMenuBarObject* object) {
  hoverIndex_ = -1;
  for (size_t i = 0; i < objects_.size(); ++i)
    if (objects_[i].get() == object) hoverIndex_ = static_cast<int>(i);
}

void TbsSkinMainMenuBar::EnterMenuMode() {
  menuMode_ = true;
  const auto items = NavigableItems();
  TbsSkinMainMenuBarItem* hot = nullptr;
  for (TbsSkinMainMenuBarItem* i : items)
    if (i->Highlighted) {
      hot = i;
      break;
    }
  if (!hot && !items.empty()) hot = items.front();
  const std::weak_ptr<int> alive = life_;
  if (hot) {
    SetHover(hot);
    hot->MouseEnter();
  }
  if (alive.expired()) return;
  if (skinForm_) skinForm_->EnterMenuMode();
}

void TbsSkinMainMenuBar::DropMenuMode() {
  menuMode_ = false;
  for (TbsSkinMainMenuBarItem* i : Items())
    if (i->Pressed || i->Highlighted) {
      i->Pressed = i->Highlighted = i->MouseInside = false;
      i->StartStateChange();
      break;
    }
  ResetHover();
}

void TbsSkinMainMenuBar::PressedToHighlighted() {
  if (TbsSkinMainMenuBarItem* i = PressedItem()) {
    i->Pressed = false;
    i->Highlighted = true;
    i->Redraw();
  }
}

void TbsSkinMainMenuBar::MoveHighlight(int step) {
  const auto items = NavigableItems();
  if (items.empty()) return;
  const int n = static_cast<int>(items.size());
  int current = -1;
  for (int i = 0; i < n; ++i)
    if (items[static_cast<size_t>(i)]->Highlighted || items[static_cast<size_t>(i)]->Pressed) {
      current = i;
      break;
    }
  TbsSkinMainMenuBarItem* next;
  const std::weak_ptr<int> alive = life_;
  if (current < 0) {
    next = step > 0 ? items.front() : items.back();
  } else {
    next = items[static_cast<size_t>((current + step + n) % n)];
    if (next == items[static_cast<size_t>(current)]) return;
    items[static_cast<size_t>(current)]->MouseLeave();
    if (alive.expired()) return;
  }
  SetHover(next);
  next->MouseEnter();
}

void TbsSkinMainMenuBar::FollowingItem() { MoveHighlight(1); }
void TbsSkinMainMenuBar::PreviousItem() { MoveHighlight(-1); }

bool TbsSkinMainMenuBar::PopupOpen() const {
  return skinForm_ && skinForm_->MenuDriver() && skinForm_->MenuDriver()->MenuOpen();
}

bool TbsSkinMainMenuBar::Accelerator(uint16_t key) {
  for (TbsSkinMainMenuBarItem* i : NavigableItems()) {
    if (!IsAccel(key, i->Caption())) continue;
    const bool open = PopupOpen();
    const std::weak_ptr<int> alive = life_;
    SetHover(i);
    i->MouseEnter();
    if (alive.expired()) return true;
    if (!open || !i->HasSubItems()) i->MouseDown(0, 0, TMouseButton::mbLeft);
    return true;
  }
  return false;
}

bool TbsSkinMainMenuBar::RunSelected() {
  const bool open = PopupOpen();
  for (TbsSkinMainMenuBarItem* i : Items()) {
    if (!((i->Pressed && !i->HasSubItems()) || (i->Highlighted && !open))) continue;
    i->Highlighted = false;
    i->MouseDown(0, 0, TMouseButton::mbLeft);
    return true;
  }
  return false;
}

// ===================================================================================
// Skin
// ===================================================================================

void TbsSkinMainMenuBar::FetchSkinData() {
  TbsSkinControl::FetchSkinData();
  barPicture_ = nullptr;
  auto* d = dynamic_cast<TbsDataSkinMainMenuBar*>(SectionEntry());
  if (!d) {
    BarSkinRect = itemsrect = TRect();
    menubaritem = closebutton = maxbutton = minbutton = sysmenubutton = QString();
    trackmarkcolor = trackmarkactivecolor = 0;
    return;
  }
  BarSkinRect = d->skinrect;
  itemsrect = d->itemsrect;
  menubaritem = d->menubaritem;
  closebutton = d->closebutton;
  maxbutton = d->maxbutton;
  minbutton = d->minbutton;
  sysmenubutton = d->sysmenubutton;
  trackmarkcolor = d->trackmarkcolor;
  trackmarkactivecolor = d->trackmarkactivecolor;
  barPicture_ = SkinPictureAt(skinData_, d->pictureindex);
}

int TbsSkinMainMenuBar::SkinHeight() const {
  const int h = RectHeight(BarSkinRect);
  return h >= 1 ? std::min(h, kMaxBarHeight) : 0;
}

void TbsSkinMainMenuBar::ApplySkinData() {
  FetchSkinData();
  backgroundKey_.clear();
  BuildItems();
  if (HasSection()) {
    if (const int h = SkinHeight(); h > 0 && h != Height()) SetHeight(h);
  } else if (defaultHeight_ > 0 && defaultHeight_ != Height()) {
    SetHeight(defaultHeight_);
  }
  if (!HasSection() && defaultWidth_ > 0 && defaultWidth_ != Width()) SetWidth(defaultWidth_);
  Invalidate();
}

void TbsSkinMainMenuBar::ForgetSkinSection() {
  TbsSkinControl::ForgetSkinSection();
  barPicture_ = nullptr;
  backgroundKey_.clear();
  background_.SetSize(0, 0);
  ClearObjects();
}

void TbsSkinMainMenuBar::SetBounds(int left, int top, int width, int height) {
  if (skinData_ && !SkinIsEmpty(skinData_)) {
    FetchSkinData();
    if (const int h = SkinHeight(); HasSection() && h > 0) height = h;
  }
  TbsSkinControl::SetBounds(left, top, width, height);
  ArrangeBar();
}
