#include "skin/controls/bsSkinControl.h"

#include <algorithm>
#include <cstdint>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "skin/controls/SkinLookup.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/bsUtils.h"

namespace {
// A sum held to the coordinate range (a skin's values may lie anywhere in it).
int32_t Held(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
}  // namespace

TBitmap ControlBitmap(int64_t width, int64_t height) {
  constexpr int64_t kMaxSide = 32767, kMaxPixels = int64_t{1} << 27;
  width = std::max<int64_t>(width, 0);
  height = std::max<int64_t>(height, 0);
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    throw EOutOfResources(QStringLiteral("Bitmap of %1 x %2 pixels is too large").arg(width).arg(height));
  return TBitmap(static_cast<int>(width), static_cast<int>(height));
}

TFont SkinDefaultFont(TColor color) {
  TFont f;
  f.Name = QStringLiteral("Arial");
  f.Height = 14;
  f.Style = 0;
  f.Color = color;
  return f;
}

// ---- TbsSkinControl ----------------------------------------------------------------------

TbsSkinControl::TbsSkinControl(TComponent* owner) : TCustomControl(owner) {}

TbsSkinControl::~TbsSkinControl() = default;

void TbsSkinControl::SetSkinData(TbsSkinData* value) {
  if (TComponent* old = SkinDataComponent(skinData_)) old->RemoveFreeNotification(this);
  skinData_ = value;
  if (TComponent* now = SkinDataComponent(skinData_)) now->FreeNotification(this);
  if (skinData_ && !SkinIsEmpty(skinData_) && !IsDesigning()) ApplySkinData();
}

void TbsSkinControl::Notification(TComponent* c, TOperation op) {
  TCustomControl::Notification(c, op);
  if (op == TOperation::opRemove && c && c == SkinDataComponent(skinData_)) skinData_ = nullptr;
}

void TbsSkinControl::FetchSkinData() {
  sectionIndex_ = SkinIsEmpty(skinData_) ? -1 : SkinFindControlIndex(skinData_, skinDataName_);
}

TbsDataSkinControl* TbsSkinControl::SectionEntry() const {
  return sectionIndex_ < 0 ? nullptr : SkinControlAt(skinData_, sectionIndex_);
}

void TbsSkinControl::ApplySkinData() {
  FetchSkinData();
  Repaint();
}

void TbsSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  FetchSkinData();
  TBitmap bitmap;
  if (sectionIndex_ == -1) {
    bitmap = ControlBitmap(Width(), Height());
    PaintWithoutSkin(bitmap);
  } else {
    PaintSkinImage(bitmap);
    if (bitmap.Empty()) bitmap = ControlBitmap(Width(), Height());
  }
  DrawControlImage(bitmap);
}

void TbsSkinControl::DrawControlImage(const TBitmap& bitmap) { Canvas().Draw(0, 0, bitmap); }

void TbsSkinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      // The painted bitmap covers the whole window.
      m.Result = 1;
      return;
    case CM_MOUSEENTER:
      TCustomControl::WndProc(m);
      if (m.LParam == 0 || m.LParam == reinterpret_cast<intptr_t>(static_cast<TControl*>(this))) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(m);
      if (m.LParam == 0 || m.LParam == reinterpret_cast<intptr_t>(static_cast<TControl*>(this))) OnMouseLeave(this);
      return;
    default:
      TCustomControl::WndProc(m);
  }
}

// ---- TbsSkinCustomControl ----------------------------------------------------------------

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* owner)
    : TbsSkinControl(owner), defaultFont_(SkinDefaultFont(clWindowText)) {
  defaultFont_.OnChange = [this] {
    DefaultFontChanged();
    if (sectionIndex_ == -1) Repaint();
  };
}

TbsSkinCustomControl::~TbsSkinCustomControl() = default;

void TbsSkinCustomControl::SetDefaultWidth(int v) {
  defaultWidth_ = v;
  if (sectionIndex_ == -1 && v > 0) SetWidth(v);
}

void TbsSkinCustomControl::SetDefaultHeight(int v) {
  defaultHeight_ = v;
  if (sectionIndex_ == -1 && v > 0) SetHeight(v);
}

void TbsSkinCustomControl::FetchSkinData() {
  TbsSkinControl::FetchSkinData();
  if (sectionIndex_ == -1) return;
  auto* entry = dynamic_cast<TbsDataSkinCustomControl*>(SectionEntry());
  if (!entry) {
    stretch_.StretchMode = smFixed;
    skinPicture_ = nullptr;
    skinMaskPicture_ = nullptr;
    return;
  }
  stretch_.lefttoppoint = entry->lefttoppoint;
  stretch_.righttoppoint = entry->righttoppoint;
  stretch_.leftbottompoint = entry->leftbottompoint;
  stretch_.rightbottompoint = entry->rightbottompoint;
  stretch_.skinrect = entry->skinrect;
  stretch_.SkinClientRect = entry->clientrect;
  skinPicture_ = SkinPictureAt(skinData_, entry->pictureindex);
  skinMaskPicture_ = SkinPictureAt(skinData_, entry->maskpictureindex);
  stretch_.ComputeStretchMode();
}

void TbsSkinCustomControl::AdjustSkinSize(int& width, int& height) {
  if (sectionIndex_ == -1) return;
  stretch_.AdjustSkinSize(width, height);
}

void TbsSkinCustomControl::SetBounds(int left, int top, int width, int height) {
  FetchSkinData();
  const bool skinned = sectionIndex_ != -1;
  if (skinned) {
    AdjustSkinSize(width, height);
    if (stretch_.StretchMode == smFixed) stretch_.StretchedClientRect = stretch_.SkinClientRect;
  }
  // Only a new size re-shapes and repaints: a move keeps the image and the shape (a skin that
  // arrives at the same size is applied by ApplySkinData).
  const bool sized = width != Width() || height != Height();
  TbsSkinControl::SetBounds(left, top, width, height);
  if (skinned && sized) {
    UpdateControlRegion();
    Repaint();
  }
}

void TbsSkinCustomControl::ApplySkinData() {
  composed_.Clear();
  FetchSkinData();
  bool resized = false;
  if (sectionIndex_ == -1) {
    if (defaultWidth_ > 0) SetWidth(defaultWidth_);
    if (defaultHeight_ > 0) SetHeight(defaultHeight_);
  } else {
    int w = Width(), h = Height();
    AdjustSkinSize(w, h);
    if (w != Width()) {
      SetWidth(w);
      resized = true;
    }
    if (h != Height()) {
      SetHeight(h);
      resized = true;
    }
  }
  if (!resized) {
    UpdateControlRegion();
    Repaint();
  }
}

void TbsSkinCustomControl::UpdateControlRegion() {
  if (!skinMaskPicture_ || sectionIndex_ == -1 || stretch_.StretchMode == smNone) {
    if (HasWindowRegion()) ClearWindowRegion(true);
    return;
  }
  const TSkinStretch& s = stretch_;
  const int w = Width(), h = Height();
  QRegion region;
  switch (s.StretchMode) {
    case smFixed:
      RegionFromMask(region, *skinMaskPicture_);
      break;
    case smBoth:
      FrameRegionFromMask(region, s.lefttoppoint, s.righttoppoint, s.leftbottompoint, s.rightbottompoint,
                          s.SkinClientRect, s.StretchedLeftTopPoint, s.StretchedRightTopPoint,
                          s.StretchedLeftBottomPoint, s.StretchedRightBottomPoint, s.StretchedClientRect,
                          *skinMaskPicture_, w, h);
      break;
    case smHorizontal: {
      const TPoint right(Held(int64_t{w} + s.righttoppoint.X - s.SkinWidth()), s.righttoppoint.Y);
      FrameRegionFromMask(region, s.lefttoppoint, s.righttoppoint, s.lefttoppoint, s.righttoppoint, s.SkinClientRect,
                          s.lefttoppoint, right, s.lefttoppoint, right, s.StretchedClientRect, *skinMaskPicture_, w, h);
      break;
    }
    case smVertical: {
      const TPoint bottom(s.leftbottompoint.X, Held(int64_t{h} + s.leftbottompoint.Y - s.SkinHeight()));
      FrameRegionFromMask(region, s.lefttoppoint, s.lefttoppoint, s.leftbottompoint, s.leftbottompoint,
                          s.SkinClientRect, s.lefttoppoint, s.lefttoppoint, bottom, bottom, s.StretchedClientRect,
                          *skinMaskPicture_, w, h);
      break;
    }
    default:
      break;
  }
  // A mask larger than the section's picture must not shape beyond the window.
  region &= QRect(0, 0, w, h);
  SetWindowRegion(region, true);
}

void TbsSkinCustomControl::PaintWithoutSkin(TBitmap& bitmap) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = clBtnFace;
  c.FillRect(ClientRect());
}

void TbsSkinCustomControl::PaintSkinImage(TBitmap& bitmap) {
  ComposeControlImage(bitmap, skinPicture_, stretch_.skinrect);
}

void TbsSkinCustomControl::ComposeControlImage(TBitmap& bitmap, const TBitmap* picture, const TRect& source) {
  if (stretch_.StretchMode == smNone || !picture) {
    if (bitmap.Width() != Width() || bitmap.Height() != Height()) bitmap = ControlBitmap(Width(), Height());
    return;
  }
  TSkinStretch& s = stretch_;
  // The stretched points for the current size (also when the image is kept).
  if (s.StretchMode != smFixed) {
    int w = Width(), h = Height();
    s.AdjustSkinSize(w, h);
  }
  const TComposedImageCache::Key key = TComposedImageCache::KeyFor(*picture, source, s, Width(), Height());
  if (const TBitmap* kept = composed_.Find(key)) {
    bitmap = *kept;
    return;
  }
  // Composed in 32 bits: the image then goes onto the window surface without conversion.
  const TBitmap& wide = composed_.Wide(*picture);
  TBitmap image;
  image.SetPixelFormat(TPixelFormat::pf32bit);
  switch (s.StretchMode) {
    case smFixed:
      image = ControlBitmap(RectWidth(source), RectHeight(source));
      image.SetPixelFormat(TPixelFormat::pf32bit);
      CopyPiece(image, TRect(0, 0, image.Width(), image.Height()), wide, source);
      break;
    case smBoth:
      ComposeSkinImage(s.lefttoppoint, s.righttoppoint, s.leftbottompoint, s.rightbottompoint, s.SkinClientRect,
                       s.StretchedLeftTopPoint, s.StretchedRightTopPoint, s.StretchedLeftBottomPoint,
                       s.StretchedRightBottomPoint, s.StretchedClientRect, image, wide, source, Width(), Height(),
                       true);
      break;
    case smHorizontal:
      ComposeStripH(s.lefttoppoint.X, Held(int64_t{s.SkinWidth()} - s.righttoppoint.X), image, wide, source, Width(),
                    Height());
      break;
    case smVertical:
      ComposeStripV(s.lefttoppoint.Y, Held(int64_t{s.SkinHeight()} - s.leftbottompoint.Y), image, wide, source,
                    Width(), Height());
      break;
    default:
      break;
  }
  bitmap = composed_.Store(key, image, s.StretchMode == smBoth ? s.StretchedClientRect : TRect());
}

void TbsSkinCustomControl::DrawControlImage(const TBitmap& bitmap) { composed_.Draw(Canvas(), bitmap); }

void TbsSkinCustomControl::SelectSkinFont(TCanvas& c, const QString& name, int height, uint8_t style) const {
  if (sectionIndex_ != -1 && useSkinFont_) {
    c.Font.Name = name;
    c.Font.Height = height;
    c.Font.Style = style;
    c.Font.Charset = defaultFont_.Charset;
  } else {
    c.Font = defaultFont_;
  }
}
