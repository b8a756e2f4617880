// TbsSkinForm's skinned frame: geometry mapped to the window size, the four composed frame
// pieces, the window shape from the mask, the client background, the hit test, and the frame
// objects' creation, placement and mouse routing.
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/OpaqueBlit.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/TiledPicture.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinHint.h"

namespace {
TRect Offset(const TRect& r, int dx, int dy) { return TRect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy); }

// A mask pixel is inside when it is black; a pixel outside its piece is not.
bool MaskPixelBlack(const TBitmap& piece, int x, int y) {
  const QImage& img = piece.Image();
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return false;
  if (img.format() != QImage::Format_BGR888) return (img.pixel(x, y) & 0xFFFFFF) == 0;
  const uint8_t* px = img.constScanLine(y) + 3 * x;
  return (px[0] | px[1] | px[2]) == 0;
}

void AddPieceRegion(QRegion& region, const TBitmap& piece, int x, int y) {
  if (piece.Empty()) return;
  std::vector<uint8_t> bytes;
  if (MaskToRegionData(piece, x, y, bytes) != 0) region += RegionFromRegionData(bytes);
}
}  // namespace

// ===================================================================================
// Geometry
// ===================================================================================

void TbsSkinForm::CalcFrameGeometry() {
  if (!skinData_ || skinData_->IsEmpty) return;
  const TbsSkinData& d = *skinData_;
  if (windowWidth_ == 0) windowWidth_ = form_->Width();
  if (windowHeight_ == 0) windowHeight_ = form_->Height();
  const int pw = d.picture.Width(), ph = d.picture.Height();
  const int dx = windowWidth_ - pw, dy = windowHeight_ - ph;
  FrameLeftTop = d.lefttoppoint;
  FrameRightTop = TPoint(d.righttoppoint.X + dx, d.righttoppoint.Y);
  FrameLeftBottom = TPoint(d.leftbottompoint.X, d.leftbottompoint.Y + dy);
  FrameRightBottom = TPoint(d.rightbottompoint.X + dx, d.rightbottompoint.Y + dy);
  FrameClientRect = TRect(d.clientrect.Left, d.clientrect.Top, d.clientrect.Right + dx, d.clientrect.Bottom + dy);
  FrameCaptionRect = d.captionrect;
  if (!RectIsEmpty(FrameCaptionRect)) FrameCaptionRect.Right += dx;
  FrameButtonsRect = d.buttonsrect;
  if (!RectIsEmpty(FrameButtonsRect) && FrameButtonsRect.Left > pw / 2)
    FrameButtonsRect = Offset(FrameButtonsRect, dx, 0);
  FrameButtonsOffset = d.buttonsoffset;
  FrameButtonsInLeft = d.buttonsinleft;
  HitLeftTop = d.hittestlefttoppoint;
  HitRightTop = TPoint(d.hittestrighttoppoint.X + dx, d.hittestrighttoppoint.Y);
  HitLeftBottom = TPoint(d.hittestleftbottompoint.X, d.hittestleftbottompoint.Y + dy);
  HitRightBottom = TPoint(d.hittestrightbottompoint.X + dx, d.hittestrightbottompoint.Y + dy);
  FrameMaskRect = TRect(d.maskrectarea.Left, d.maskrectarea.Top, d.maskrectarea.Right + dx, d.maskrectarea.Bottom + dy);
  // With a mask nothing inside its rectangle is near the outline; without one, nothing farther
  // than the border width from the window's edges.
  const int b = std::max(0, d.borderwidth);
  const TRect inner = d.mask.Empty() ? TRect(b, b, windowWidth_ - b, windowHeight_ - b) : FrameMaskRect;
  clientCore_ = TRect(std::max(FrameClientRect.Left, inner.Left), std::max(FrameClientRect.Top, inner.Top),
                      std::min(FrameClientRect.Right, inner.Right), std::min(FrameClientRect.Bottom, inner.Bottom));
}

void TbsSkinForm::UpdateSkinFrame() {
  if (IsDesigning() || !skinned_) return;
  CalcFrameGeometry();
  ArrangeObjects();
  UpdateWindowRegion();
  if (windowRegion_.isEmpty()) RequestFramePaint();
}

void TbsSkinForm::UpdateWindowRegion() {
  auto drop = [this] {
    if (!windowRegion_.isEmpty()) {
      windowRegion_ = QRegion();
      if (!form_->IsDestroying()) form_->ClearWindowRegion();
    }
  };
  const bool hasMask = skinData_ && !skinData_->mask.Empty();
  if (form_->BorderStyle() == TFormBorderStyle::bsNone || (MaximizedChild() && hasMask)) {
    drop();
    return;
  }
  if (!skinned_ || !hasMask) {
    drop();
    MaskTop = MaskBottom = MaskLeft = MaskRight = TBitmap();
    return;
  }
  TbsSkinData& d = *skinData_;
  // Every form of one size framed by this skin has the same shape: worked out once.
  const TSkinFrameShape* shape = d.FrameCache.FindShape(windowWidth_, windowHeight_, FrameMaskRect, FrameLeftTop,
                                                        FrameRightTop, FrameLeftBottom, FrameRightBottom);
  if (!shape) {
    TSkinFrameShape s;
    s.Width = windowWidth_;
    s.Height = windowHeight_;
    s.MaskRect = FrameMaskRect;
    s.LeftTop = FrameLeftTop;
    s.RightTop = FrameRightTop;
    s.LeftBottom = FrameLeftBottom;
    s.RightBottom = FrameRightBottom;
    // A piece this size leaves out has no part of the shape.
    SliceBorderImages(d.lefttoppoint, d.righttoppoint, d.leftbottompoint, d.rightbottompoint, d.maskrectarea,
                      FrameLeftTop, FrameRightTop, FrameLeftBottom, FrameRightBottom, FrameMaskRect, d.FrameCache.Mask24(d.mask), s.Top,
                      s.Left, s.Right, s.Bottom, windowWidth_, windowHeight_);
    if (!RectIsEmpty(FrameMaskRect)) s.Region = QRegion(ToQRect(FrameMaskRect));
    AddPieceRegion(s.Region, s.Top, 0, 0);
    AddPieceRegion(s.Region, s.Bottom, 0, FrameMaskRect.Bottom);
    AddPieceRegion(s.Region, s.Left, 0, FrameMaskRect.Top);
    AddPieceRegion(s.Region, s.Right, FrameMaskRect.Right, FrameMaskRect.Top);
    shape = &d.FrameCache.AddShape(std::move(s));
  }
  MaskTop = shape->Top;
  MaskBottom = shape->Bottom;
  MaskLeft = shape->Left;
  MaskRight = shape->Right;
  const QRegion region = shape->Region;
  windowRegion_ = region;
  if (region.isEmpty())
    form_->ClearWindowRegion();
  else
    form_->SetWindowRegion(region);
}

// ===================================================================================
// Painting
// ===================================================================================

void TbsSkinForm::PaintSkinFrame(TCanvas& canvas) {
  if (!skinned_) {
    PaintPlainFrame(canvas);
    return;
  }
  if (windowWidth_ == 0) windowWidth_ = form_->Width();
  if (windowHeight_ == 0) windowHeight_ = form_->Height();
  const int W = windowWidth_, H = windowHeight_;
  if (W < GetMinWidth() || H < GetMinHeight()) return;
  CalcFrameGeometry();
  ArrangeObjects();
  const TbsSkinData& d = *skinData_;
  const bool active = FormActive();
  const bool useInactive = !active && !d.inactivepicture.Empty();
  const TBitmap& source = skinData_->FrameCache.Wide(useInactive ? d.inactivepicture : d.picture, useInactive);
  const TRect S(0, 0, source.Width(), source.Height());
  TBitmap& top = pieceTop_;
  TBitmap& bottom = pieceBottom_;
  TBitmap& left = pieceLeft_;
  TBitmap& right = pieceRight_;
  ComposeBorderImages(d.lefttoppoint, d.righttoppoint, d.leftbottompoint, d.rightbottompoint, d.clientrect,
                      FrameLeftTop, FrameRightTop, FrameLeftBottom, FrameRightBottom, FrameClientRect, left, top, right,
                      bottom, source, S, W, H);
  // A piece whose conditions failed keeps an older image: only pieces of the size this
  // window needs are used.
  const int clientH = RectHeight(FrameClientRect);
  const bool topOk = top.Width() == W && top.Height() == FrameClientRect.Top && !top.Empty();
  const bool bottomOk = bottom.Width() == W && bottom.Height() == H - FrameClientRect.Bottom && !bottom.Empty();
  const bool leftOk = left.Width() == FrameClientRect.Left && left.Height() == clientH && !left.Empty();
  const bool rightOk = right.Width() == W - FrameClientRect.Right && right.Height() == clientH && !right.Empty();

  for (const auto& o : objects_) {
    if (!o->IsVisible) continue;
    if (o->ObjectRect.Bottom <= FrameClientRect.Top) {
      if (topOk) o->PaintObject(top.Canvas(), false);
    } else if (bottomOk) {
      const TRect saved = o->ObjectRect;
      o->ObjectRect = Offset(saved, 0, -FrameClientRect.Bottom);
      o->PaintObject(bottom.Canvas(), false);
      o->ObjectRect = saved;
    }
  }

  const bool effect = !active && d.autorenderinginactiveimage;
  QPainter* p = canvas.Painter();
  if (!p) return;
  // The pieces lie around the client rectangle, never over it: no clipping needed, and each
  // goes onto the surface as one block copy.
  // The window's paint region is a ring around the client: each piece goes as block copies.
  auto put = [&](TBitmap& piece, bool ok, int x, int y) {
    if (!ok) return;
    if (effect) {
      TbsEffectBmp e(piece);
      e.ApplyInactiveEffect(d.inactiveeffect);
      BlitOpaque(*p, x, y, e.Image());
    } else {
      BlitOpaque(*p, x, y, piece.Image());
    }
  };
  const int topH = topOk ? top.Height() : FrameClientRect.Top;
  // The pieces are opaque: copying them is the same as blending them, and faster.
  const QPainter::CompositionMode mode = p->compositionMode();
  p->setCompositionMode(QPainter::CompositionMode_Source);
  put(top, topOk, 0, 0);
  put(left, leftOk, 0, topH);
  put(right, rightOk, W - right.Width(), topH);
  put(bottom, bottomOk, 0, H - bottom.Height());
  p->setCompositionMode(mode);
}

void TbsSkinForm::PaintClientBackground(TCanvas& canvas) {
  const TRect client = form_->ClientRect();
  PaintBackground(canvas, client.Width(), client.Height(), clBtnFace);
}

void TbsSkinForm::PaintBackground(TCanvas& canvas, int w, int h, TColor plainColor) {
  auto plain = [&] {
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = plainColor;
    canvas.FillRect(TRect(0, 0, w, h));
  };
  if (!skinned_) return plain();
  const TbsSkinData& d = *skinData_;
  const TBitmap* tile = nullptr;
  if (d.bgpictureindex != -1) tile = d.ActivePicture(d.bgpictureindex);
  TRect from;
  if (tile) {
    from = TRect(0, 0, tile->Width(), tile->Height());
  } else {
    // No background picture (or an index that names none): the picture's client area tiled.
    const TRect cr = d.clientrect;
    if (RectIsEmpty(cr) || cr.Left < 0 || cr.Top < 0 || cr.Right > d.picture.Width() || cr.Bottom > d.picture.Height())
      return plain();
    if (w <= 0 || h <= 0) return;
    tile = &d.picture;
    from = cr;
  }
  if (tile->Empty() || w <= 0 || h <= 0) return plain();
  QPainter* p = canvas.Painter();
  if (!p) return;
  // Tiles laid from (0, 0); the last row and column are cut by the area. The tiling is made
  // once per picture, for every form of the skin.
  DrawTiledPicture(*p, tile->Image(), ToQRect(from), w, h);
}

void TbsSkinForm::RedrawObject(TbsActiveSkinObject* object) {
  if (!object || Hidden() || !form_->HandleAllocated() || form_->IsDestroying()) return;
  // The frame is composed as a whole; the window repaints the object's part of it.
  form_->Handle()->update(ToQRect(object->ObjectRect));
}

// ===================================================================================
// Hit test
// ===================================================================================

bool TbsSkinForm::PointInMask(const TPoint& p) const {
  if (PointInRect(p, FrameMaskRect)) return true;
  if (p.Y <= FrameMaskRect.Top) return MaskPixelBlack(MaskTop, p.X, p.Y);
  if (p.Y >= FrameMaskRect.Bottom) return MaskPixelBlack(MaskBottom, p.X, p.Y - FrameMaskRect.Bottom);
  if (p.X <= FrameMaskRect.Left) return MaskPixelBlack(MaskLeft, p.X, p.Y - FrameMaskRect.Top);
  return MaskPixelBlack(MaskRight, p.X - FrameMaskRect.Right, p.Y - FrameMaskRect.Top);
}

int TbsSkinForm::SkinHitTest(const TPoint& p) {
  if (!skinned_) return PlainHitTest(p);
  auto inCaption = [&] {
    for (const auto& o : objects_)
      if (o->IsCaption() && PointInRect(p, o->ObjectRect)) return true;
    return false;
  };
  if (!rollUpState_ && windowState_ != TWindowState::wsMinimized) {
    if (PointInRect(p, clientCore_)) return HTCLIENT;
    if (hoverIndex_ >= 0 && !inCaption() && !PointInRect(p, FrameClientRect)) return HTOBJECT;
    if (windowState_ != TWindowState::wsMaximized && Sizable()) {
      const int b = skinData_->borderwidth;
      const TPoint probes[4] = {TPoint(p.X - b, p.Y), TPoint(p.X, p.Y - b), TPoint(p.X + b, p.Y), TPoint(p.X, p.Y + b)};
      const int W = form_->Width(), H = form_->Height();
      bool near = false;
      if (skinData_->mask.Empty()) {
        for (const TPoint& q : probes) near = near || !PointInRect(q, TRect(0, 0, W, H));
      } else if (!PointInRect(p, FrameMaskRect)) {
        for (const TPoint& q : probes) near = near || !PointInMask(q);
      }
      if (!near) {
        if (PointInRect(p, FrameClientRect)) return HTCLIENT;
        return inCaption() ? HTCAPTION : HTOBJECT;
      }
      if (p.X <= HitLeftTop.X && p.Y <= HitLeftTop.Y) return HTTOPLEFT;
      if (p.X >= HitRightTop.X && p.Y <= HitRightTop.Y) return HTTOPRIGHT;
      if (p.X <= HitLeftBottom.X && p.Y >= HitLeftBottom.Y) return HTBOTTOMLEFT;
      if (p.X >= HitRightBottom.X && p.Y >= HitRightBottom.Y) return HTBOTTOMRIGHT;
      if (PointInRect(p, TRect(HitLeftTop.X, 0, HitRightTop.X, FrameClientRect.Top))) return HTTOP;
      if (PointInRect(p, TRect(HitLeftBottom.X, FrameClientRect.Bottom, HitRightBottom.X, H))) return HTBOTTOM;
      if (PointInRect(p, TRect(0, HitLeftTop.Y, FrameClientRect.Left, HitLeftBottom.Y))) return HTLEFT;
      if (PointInRect(p, TRect(FrameClientRect.Right, HitRightTop.Y, W, HitRightBottom.Y))) return HTRIGHT;
    }
    if (PointInRect(p, FrameClientRect)) return HTCLIENT;
  }
  return inCaption() ? HTCAPTION : HTOBJECT;
}

// ===================================================================================
// Frame objects
// ===================================================================================

void TbsSkinForm::ClearObjects() {
  objects_.clear();
  hoverIndex_ = prevHoverIndex_ = captureIndex_ = -1;
}

void TbsSkinForm::CreateObjects() {
  ClearObjects();
  if (!skinData_) return;
  for (const auto& data : skinData_->SkinObjects) {
    const TbsDataSkinObject* d = data.get();
    // Menu items and menu-bar buttons serve the menus; most-derived classes are tested first.
    if (dynamic_cast<const TbsDataSkinMainMenuBarButton*>(d) || dynamic_cast<const TbsDataSkinMenuItem*>(d) ||
        dynamic_cast<const TbsDataSkinMainMenuItem*>(d))
      continue;
    if (dynamic_cast<const TbsDataSkinStdButton*>(d))
      objects_.push_back(std::make_unique<TbsSkinStdButtonObject>(this, d));
    else if (dynamic_cast<const TbsDataSkinButton*>(d))
      objects_.push_back(std::make_unique<TbsSkinButtonObject>(this, d));
    else if (dynamic_cast<const TbsDataSkinCaption*>(d))
      objects_.push_back(std::make_unique<TbsSkinCaptionObject>(this, d));
    else if (dynamic_cast<const TbsDataUserObject*>(d))
      objects_.push_back(std::make_unique<TbsUserObject>(this, d));
  }
  ApplyBorderIcons();
}

void TbsSkinForm::CreateDefaultObjects() {
  ClearObjects();
  const std::pair<const char*, TStdButtonCommand> buttons[] = {{"closebutton", cmClose},
                                                               {"maxbutton", cmMaximize},
                                                               {"minbutton", cmMinimize},
                                                               {"rollupbutton", cmRollUp},
                                                               {"sysmenubutton", cmSysMenu}};
  for (const auto& [name, command] : buttons)
    objects_.push_back(std::make_unique<TbsSkinStdButtonObject>(this, QLatin1String(name), command));
  ApplyBorderIcons();
}

void TbsSkinForm::ApplyBorderIcons() {
  for (const auto& o : objects_) {
    auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get());
    if (!b) continue;
    bool missing = false;
    switch (b->Command) {
      case cmRollUp:
        missing = !(borderIcons_ & biRollUp);
        break;
      case cmMaximize:
        missing = !(borderIcons_ & biMaximize);
        break;
      case cmMinimize:
        missing = !(borderIcons_ & biMinimize);
        break;
      case cmSysMenu:
        missing = !(borderIcons_ & biSystemMenu);
        break;
      default:
        break;
    }
    if (missing) {
      b->IsEnabled = false;
      b->IsVisible = !b->skinrectinapicture;
    }
  }
}

TbsActiveSkinObject* TbsSkinForm::ObjectByName(const QString& idName) const {
  for (const auto& o : objects_)
    if (o->IDName == idName) return o.get();
  return nullptr;
}

TbsSkinStdButtonObject* TbsSkinForm::StdButton(TStdButtonCommand command) const {
  for (const auto& o : objects_)
    if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get()); b && b->Command == command) return b;
  return nullptr;
}

TRect TbsSkinForm::MapFrameObjectRect(const TRect& r) const {
  if (!skinData_) return r;
  const TbsSkinData& d = *skinData_;
  const int pw = d.picture.Width(), ph = d.picture.Height();
  const TRect aLT(0, 0, d.lefttoppoint.X, d.lefttoppoint.Y);
  const TRect aRT(d.righttoppoint.X, 0, pw, d.righttoppoint.Y);
  const TRect aLB(0, d.leftbottompoint.Y, d.leftbottompoint.X, ph);
  const TRect aRB(d.rightbottompoint.X, d.rightbottompoint.Y, pw, ph);
  const int dx = FrameRightBottom.X - d.rightbottompoint.X, dy = FrameRightBottom.Y - d.rightbottompoint.Y;
  const TPoint tl(r.Left, r.Top), br(r.Right, r.Bottom);
  if (RectInsideRect(r, aLT)) return r;
  if (RectInsideRect(r, aRT)) return Offset(r, dx, 0);
  if (RectInsideRect(r, aLB)) return Offset(r, 0, dy);
  if (RectInsideRect(r, aRB)) return Offset(r, dx, dy);
  if (PointInRect(tl, aLT) && PointInRect(br, aRB)) return TRect(r.Left, r.Top, r.Right + dx, r.Bottom + dy);
  if (PointInRect(tl, aLT) && PointInRect(br, aRT)) return TRect(r.Left, r.Top, r.Right + dx, r.Bottom);
  if (PointInRect(tl, aLB) && PointInRect(br, aRB)) return TRect(r.Left, r.Top + dy, r.Right + dx, r.Bottom + dy);
  if (PointInRect(tl, aLT) && PointInRect(br, aLB)) return TRect(r.Left, r.Top, r.Right, r.Bottom + dy);
  if (PointInRect(tl, aRT) && PointInRect(br, aRB)) return TRect(r.Left + dx, r.Top, r.Right + dx, r.Bottom + dy);
  return r;
}

void TbsSkinForm::ArrangeObjects() {
  if (!skinned_) return;
  for (const auto& o : objects_)
    if (!o->skinrectinapicture) o->ObjectRect = MapFrameObjectRect(o->skinrect);

  TRect anchor;
  if (!RectIsEmpty(FrameButtonsRect))
    anchor = FrameButtonsRect;
  else if (!RectIsEmpty(FrameCaptionRect))
    anchor = FrameCaptionRect;
  else
    return;
  const int y = anchor.Top, o = FrameButtonsOffset;
  auto strip = [&](TStdButtonCommand c) -> TbsSkinStdButtonObject* {
    for (const auto& obj : objects_)
      if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(obj.get());
          b && b->Command == c && b->IsVisible && b->skinrectinapicture)
        return b;
    return nullptr;
  };
  auto size = [&](TbsSkinStdButtonObject* b) {
    if (b->Command == cmSysMenu && showIcon_) {
      const QSize s = SmallIconSize();
      return std::make_pair(s.width(), s.height());
    }
    return std::make_pair(RectWidth(b->skinrect), RectHeight(b->skinrect));
  };
  TbsSkinCaptionObject* caption = nullptr;
  for (const auto& obj : objects_)
    if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(obj.get())) {
      caption = c;
      break;
    }
  const bool noButtonsRect = RectIsEmpty(FrameButtonsRect);
  const TStdButtonCommand order[] = {cmClose, cmMaximize, cmMinimize, cmRollUp};
  if (!FrameButtonsInLeft) {
    int x = anchor.Right;
    for (TStdButtonCommand c : order) {
      TbsSkinStdButtonObject* b = strip(c);
      if (!b) continue;
      const auto [w, h] = size(b);
      b->ObjectRect = TRect(x - w, y, x, y + h);
      x -= o + w;
    }
    if (noButtonsRect && caption) caption->ObjectRect.Right = x + o;
    x = FrameCaptionRect.Left;
    if (TbsSkinStdButtonObject* b = strip(cmSysMenu)) {
      const auto [w, h] = size(b);
      const int top = FrameCaptionRect.Top + RectHeight(FrameCaptionRect) / 2 - h / 2;
      b->ObjectRect = TRect(x, top, x + w, top + h);
      x += o + w;
      if (caption) caption->ObjectRect.Left = x - o;
    }
  } else {
    int x = anchor.Left;
    for (TStdButtonCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmSysMenu}) {
      if (c == cmSysMenu && !noButtonsRect) break;
      TbsSkinStdButtonObject* b = strip(c);
      if (!b) continue;
      const auto [w, h] = size(b);
      b->ObjectRect = TRect(x, y, x + w, y + h);
      x += o + w;
    }
    if (noButtonsRect && caption) caption->ObjectRect.Left = x + o;
  }
}

TbsSkinHint* TbsSkinForm::ObjectHint() const {
  return ShowObjectHint ? dynamic_cast<TbsSkinHint*>(skinHint_) : nullptr;
}

void TbsSkinForm::TrackObjects(int x, int y, bool inside) {
  if (objects_.empty() || !FormActive()) return;
  prevHoverIndex_ = hoverIndex_;
  int found = -1;
  for (size_t i = 0; i < objects_.size(); ++i) {
    const auto& o = objects_[i];
    if (o->IsEnabled && o->IsVisible && PointInRect(TPoint(x, y), o->ObjectRect)) {
      found = static_cast<int>(i);
      break;
    }
  }
  if (!inside || (captureIndex_ >= 0 && found != captureIndex_)) found = -1;
  hoverIndex_ = found;
  if (hoverIndex_ == prevHoverIndex_) return;
  const int count = static_cast<int>(objects_.size());
  if (prevHoverIndex_ >= 0 && prevHoverIndex_ < count) {
    TbsActiveSkinObject* prev = objects_[prevHoverIndex_].get();
    if (prev->IsEnabled && prev->IsVisible) {
      prev->MouseLeave();
      if (TbsSkinHint* hint = ObjectHint(); hint && !prev->Hint.isEmpty()) hint->HideHintText();
    }
  }
  if (hoverIndex_ >= 0 && hoverIndex_ < static_cast<int>(objects_.size())) {
    TbsActiveSkinObject* next = objects_[hoverIndex_].get();
    if (next->IsEnabled && next->IsVisible) {
      next->MouseEnter();
      if (TbsSkinHint* hint = ObjectHint(); hint && !next->Hint.isEmpty()) hint->ShowHintText(next->Hint);
    }
  }
}

void TbsSkinForm::PressObject(TMouseButton button, int x, int y) {
  if (hoverIndex_ < 0 || hoverIndex_ >= static_cast<int>(objects_.size())) return;
  TbsActiveSkinObject* o = objects_[hoverIndex_].get();
  if (!o->IsCaption()) form_->SetMouseCapture(true);
  captureIndex_ = hoverIndex_;
  o->MouseDown(x, y, button);
}

void TbsSkinForm::ReleaseObject(TMouseButton button, int x, int y) {
  if (captureIndex_ < 0 || captureIndex_ >= static_cast<int>(objects_.size())) {
    captureIndex_ = -1;
    return;
  }
  TbsActiveSkinObject* o = objects_[captureIndex_].get();
  if (!o->IsCaption()) form_->SetMouseCapture(false);
  captureIndex_ = -1;
  // The release may run a command that replaces the objects (a skin change) or frees the form.
  o->MouseUp(x, y, button);
}

void TbsSkinForm::MoveOverObject(int x, int y) {
  const int i = captureIndex_ >= 0 ? captureIndex_ : hoverIndex_;
  if (i >= 0 && i < static_cast<int>(objects_.size())) objects_[i]->MouseMove(x, y);
}

void TbsSkinForm::SetCaptionActive(bool updateNow) {
  const bool active = FormActive();
  for (const auto& o : objects_) {
    if (!o->IsCaption() || o->Highlighted == active) continue;
    o->Highlighted = active;
    if (updateNow) {
      RequestFramePaint();
      if (o->morphing) fadeTimer_->SetEnabled(true);
    } else if (o->morphing) {
      o->MorphFactor = active ? 1 : 0;
    }
    break;
  }
  if (active)
    OnActivate(this);
  else
    OnDeActivate(this);
}

void TbsSkinForm::ClearObjectHighlights() {
  for (const auto& o : objects_) {
    if (o->IsCaption()) continue;
    o->Highlighted = false;
    o->MorphFactor = 0;
  }
}
