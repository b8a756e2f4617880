#include "skin/controls/ComposedImageCache.h"

#include <QPainter>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/OpaqueBlit.h"

namespace {
// Centres smaller than this are drawn with the rest: filling them saves nothing.
constexpr int64_t kMinFilledCentre = 64 * 64;

// The colour of every pixel of `r` (inside the 32-bit image), or none when they differ.
std::optional<QRgb> OneColour(const QImage& img, const TRect& r) {
  if (img.format() != QImage::Format_RGB32) return std::nullopt;
  const QRgb first = reinterpret_cast<const QRgb*>(img.constScanLine(r.Top))[r.Left];
  for (int y = r.Top; y < r.Bottom; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    if (std::any_of(row + r.Left, row + r.Right, [first](QRgb p) { return p != first; })) return std::nullopt;
  }
  return first;
}
}  // namespace

TComposedImageCache::Key TComposedImageCache::KeyFor(const TBitmap& picture, const TRect& source,
                                                     const TSkinStretch& s, int width, int height) {
  Key k;
  k.picture = picture.Image().cacheKey();
  k.source = source;
  k.lefttoppoint = s.lefttoppoint;
  k.righttoppoint = s.righttoppoint;
  k.leftbottompoint = s.leftbottompoint;
  k.rightbottompoint = s.rightbottompoint;
  k.skinrect = s.skinrect;
  k.clientrect = s.SkinClientRect;
  k.stretchMode = s.StretchMode;
  k.width = width;
  k.height = height;
  return k;
}

const TBitmap* TComposedImageCache::Find(const Key& key) {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
  if (it == entries_.end()) return nullptr;
  std::rotate(it, it + 1, entries_.end());
  return &entries_.back().image;
}

const TBitmap& TComposedImageCache::Store(const Key& key, const TBitmap& image, const TRect& centre) {
  constexpr size_t kMaxEntries = 4;
  std::erase_if(entries_, [&](const Entry& e) { return e.key == key; });
  if (entries_.size() >= kMaxEntries) entries_.erase(entries_.begin());
  Entry e;
  e.key = key;
  e.image = image;
  const TRect c(std::max(centre.Left, 0), std::max(centre.Top, 0), std::min(centre.Right, image.Width()),
                std::min(centre.Bottom, image.Height()));
  if (c.Right > c.Left && c.Bottom > c.Top &&
      int64_t{c.Right - c.Left} * (c.Bottom - c.Top) >= kMinFilledCentre) {
    e.centre = c;
    e.centreColour = OneColour(image.Image(), c);
  }
  entries_.push_back(std::move(e));
  return entries_.back().image;
}

void TComposedImageCache::Draw(TCanvas& canvas, const TBitmap& image) const {
  QPainter* p = canvas.Painter();
  if (!p || image.Empty()) return;
  const qint64 key = image.Image().cacheKey();
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const Entry& e) { return e.centreColour && e.image.Image().cacheKey() == key; });
  if (it == entries_.end()) {
    BlitOpaque(*p, 0, 0, image.Image());
    return;
  }
  const QImage& img = image.Image();
  const int w = img.width(), h = img.height();
  const TRect& c = it->centre;
  const QRect parts[] = {QRect(0, 0, w, c.Top), QRect(0, c.Bottom, w, h - c.Bottom),
                         QRect(0, c.Top, c.Left, c.Bottom - c.Top), QRect(c.Right, c.Top, w - c.Right, c.Bottom - c.Top)};
  for (const QRect& r : parts)
    if (!r.isEmpty()) BlitOpaque(*p, r.x(), r.y(), img, r);
  p->fillRect(QRect(c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top), QColor::fromRgb(*it->centreColour));
}

namespace {
// The 32-bit copies made last, newest last, for every cache (GUI thread only). A cache holds
// on to the copy it uses, so one dropped here stays valid for it.
std::shared_ptr<const TBitmap> SharedWide(const TBitmap& picture) {
  constexpr size_t kMaxShared = 8;
  using Entry = std::pair<qint64, std::shared_ptr<const TBitmap>>;
  static auto* shared = new std::vector<Entry>;  // never freed: no image outlives the application in a static's destructor
  const qint64 key = picture.Image().cacheKey();
  const auto it = std::find_if(shared->begin(), shared->end(), [&](const Entry& e) { return e.first == key; });
  if (it != shared->end()) return it->second;
  auto wide = std::make_shared<TBitmap>(picture);
  wide->SetPixelFormat(TPixelFormat::pf32bit);
  if (shared->size() >= kMaxShared) shared->erase(shared->begin());
  shared->emplace_back(key, wide);
  return wide;
}
}  // namespace

const TBitmap& TComposedImageCache::Wide(const TBitmap& picture) {
  if (picture.Image().format() == QImage::Format_RGB32 || picture.Empty()) return picture;
  const qint64 key = picture.Image().cacheKey();
  if (!wide_ || wideKey_ != key) {
    wide_ = SharedWide(picture);
    wideKey_ = key;
  }
  return *wide_;
}

void TComposedImageCache::Clear() {
  entries_.clear();
  wide_.reset();
  wideKey_ = 0;
}
