#include "platform/ImageList.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"
#include "platform/Streaming.h"

namespace {

constexpr int kMaxSide = 1024;
constexpr int kMaxImages = 4096;
constexpr char kMagic[3] = {'I', 'L', '1'};

uint32_t ReadU32(TStream& in) {
  uint8_t b[4];
  in.ReadBuffer(b, 4);
  return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

void WriteU32(TStream& out, uint32_t v) {
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  out.WriteBuffer(b, 4);
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetSize(int w, int h) {
  w = std::clamp(w, 1, kMaxSide);
  h = std::clamp(h, 1, kMaxSide);
  if (w == width_ && h == height_) return;
  width_ = w;
  height_ = h;
  images_.clear();
  Changed();
}

QImage TCustomImageList::Image(int index) const {
  return Valid(index) ? images_[static_cast<size_t>(index)] : QImage();
}

QImage TCustomImageList::Fit(const QImage& image) const {
  QImage out(width_, height_, QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  if (!image.isNull()) {
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image, 0, 0, std::min(image.width(), width_), std::min(image.height(), height_));
  }
  return out;
}

int TCustomImageList::Add(const QImage& image) {
  if (Count() >= kMaxImages) throw EOutOfResources(QStringLiteral("Too many images in the image list"));
  images_.push_back(Fit(image));
  Changed();
  return Count() - 1;
}

int TCustomImageList::AddMasked(const TBitmap& strip, TColor transparent) {
  const int first = Count();
  if (strip.Empty()) return first;
  QImage src = strip.Image().convertToFormat(QImage::Format_ARGB32);
  if (transparent != clNone) {
    const TColor c = ColorToRGB(transparent);
    const QRgb key = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    for (int y = 0; y < src.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(src.scanLine(y));
      for (int x = 0; x < src.width(); ++x)
        if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = 0;
    }
  }
  const int slices = std::max(1, src.width() / width_);
  for (int i = 0; i < slices && Count() < kMaxImages; ++i)
    images_.push_back(Fit(src.copy(i * width_, 0, width_, height_)));
  Changed();
  return first;
}

void TCustomImageList::Replace(int index, const QImage& image) {
  if (!Valid(index)) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
  images_[static_cast<size_t>(index)] = Fit(image);
  Changed();
}

void TCustomImageList::Delete(int index) {
  if (!Valid(index)) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
  images_.erase(images_.begin() + index);
  Changed();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Changed();
}

QImage GreyedImage(const QImage& image) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb p = row[x];
      // Luminance, lifted halfway toward white so the image reads as unavailable.
      const int grey = (qRed(p) * 11 + qGreen(p) * 16 + qBlue(p) * 5) / 32;
      const int v = (grey + 255) / 2;
      row[x] = qRgba(v, v, v, qAlpha(p));
    }
  }
  return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (!Valid(index)) return;
  const QImage& img = images_[static_cast<size_t>(index)];
  canvas.Draw(x, y, enabled ? img : GreyedImage(img));
}

void TCustomImageList::AddChangeListener(const void* key, std::function<void()> onChange) {
  RemoveChangeListener(key);
  listeners_.push_back({key, std::move(onChange)});
}

void TCustomImageList::RemoveChangeListener(const void* key) {
  listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(), [key](const Listener& l) { return l.key == key; }),
                   listeners_.end());
}

void TCustomImageList::Changed() {
  // A listener may remove itself or others while being told: walk a copy.
  const auto copy = listeners_;
  for (const auto& l : copy)
    if (l.onChange) l.onChange();
}

void TCustomImageList::ReadImages(TStream& in) {
  char magic[3];
  in.ReadBuffer(magic, 3);
  if (std::memcmp(magic, kMagic, 3) != 0) throw EReadError(QStringLiteral("Image list data is not valid"));
  const uint32_t w = ReadU32(in), h = ReadU32(in), n = ReadU32(in);
  if (w < 1 || w > kMaxSide || h < 1 || h > kMaxSide || n > kMaxImages)
    throw EReadError(QStringLiteral("Image list data is not valid"));
  const int64_t need = int64_t(w) * h * 4 * n;
  if (in.Size() - in.Position() < need) throw EReadError(QStringLiteral("Image list data is truncated"));
  std::vector<QImage> images;
  images.reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    QImage img(int(w), int(h), QImage::Format_ARGB32);
    for (uint32_t y = 0; y < h; ++y) in.ReadBuffer(img.scanLine(int(y)), int64_t(w) * 4);
    images.push_back(img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
  width_ = int(w);
  height_ = int(h);
  images_ = std::move(images);
  Changed();
}

void TCustomImageList::WriteImages(TStream& out) const {
  out.WriteBuffer(kMagic, 3);
  WriteU32(out, uint32_t(width_));
  WriteU32(out, uint32_t(height_));
  WriteU32(out, uint32_t(images_.size()));
  for (const QImage& img : images_) {
    const QImage plain = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height_; ++y) out.WriteBuffer(plain.constScanLine(y), int64_t(width_) * 4);
  }
}

void RegisterImageListClasses() {
  RegisterClass<TCustomImageList>(QStringLiteral("TCustomImageList"), QStringLiteral("TComponent"))
      .Integer(QStringLiteral("Width"), &TCustomImageList::Width, &TCustomImageList::SetWidth, 16)
      .Integer(QStringLiteral("Height"), &TCustomImageList::Height, &TCustomImageList::SetHeight, 16)
      .Binary(
          QStringLiteral("Bitmap"), [](TCustomImageList* l, TStream& in) { l->ReadImages(in); },
          [](TCustomImageList* l, TStream& out) {
            if (l->Count() == 0) return false;
            l->WriteImages(out);
            return true;
          });
  RegisterClass<TImageList>(QStringLiteral("TImageList"), QStringLiteral("TCustomImageList"));
}
