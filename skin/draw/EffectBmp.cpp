// Effects, morphs and quarter turns of TbsEffectBmp. Effects work on whole rows: a row is
// copied into one scratch row, changed, and written back.
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "skin/draw/FastBitmap.h"
#include "skin/draw/bsEffects.h"

namespace {

// Nearest integer, ties to even, for |v| below 2^51: adding and taking away 1.5 x 2^52 leaves
// no fraction bits, so the sum rounds the way IEEE doubles do by default (to nearest, ties to
// even), the same as std::nearbyint without the library call.
inline double RoundEven(double v) {
  constexpr double kShift = 6755399441055744.0;
  return (v + kShift) - kShift;
}

// Nearest integer, ties to even, clamped to a channel value.
inline uint8_t Channel(double v) {
  if (!(v > 0)) return 0;  // also a value that is not a number
  if (v >= 255) return 255;
  return static_cast<uint8_t>(RoundEven(v));
}

// Rounded product for geometry (ties to even); kf is already limited to 0 .. 1.
inline int Rnd(double v) { return static_cast<int>(RoundEven(v)); }

// kf or an amount limited to 0 .. 1; a value that is not a number counts as 0.
inline double Unit(double x) {
  if (std::isnan(x)) return 0;
  return std::clamp(x, 0.0, 1.0);
}

// A and B mixed with weight w (the share of A), per channel.
inline void Mix(uint8_t* out, const uint8_t* a, const uint8_t* b, double w) {
  for (int c = 0; c < 3; ++c) out[c] = Channel(a[c] * w + b[c] * (1 - w));
}

using Table = std::array<uint8_t, 256>;

}  // namespace

TbsEffectBmp::TbsEffectBmp(const TBitmap& source) { Init(source.Image()); }

TbsEffectBmp::TbsEffectBmp(const QImage& source) { Init(source); }

TbsEffectBmp::TbsEffectBmp(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width > 0 && height > 0) {
    QImage img(width, height, QImage::Format_BGR888);
    if (!img.isNull()) img.fill(0);
    Init(img);
  }
}

TbsEffectBmp::~TbsEffectBmp() = default;

TbsEffectBmp::TbsEffectBmp(TbsEffectBmp&& other) noexcept { *this = std::move(other); }

TbsEffectBmp& TbsEffectBmp::operator=(TbsEffectBmp&& other) noexcept {
  if (this != &other) {
    image_ = std::move(other.image_);  // the pixel memory moves with it
    bits_ = std::exchange(other.bits_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    stride_ = std::exchange(other.stride_, 0);
  }
  return *this;
}

void TbsEffectBmp::Init(const QImage& source) {
  image_ = To24Bit(source);
  if (image_.isNull()) return;
  bits_ = image_.bits();  // our own copy from here on
  width_ = image_.width();
  height_ = image_.height();
  stride_ = image_.bytesPerLine();
}

uint8_t* TbsEffectBmp::RowAddress(int y) { return (y < 0 || y >= height_) ? nullptr : bits_ + y * stride_; }

const uint8_t* TbsEffectBmp::RowAddress(int y) const {
  return (y < 0 || y >= height_) ? nullptr : bits_ + y * stride_;
}

void TbsEffectBmp::DrawTo(TCanvas& canvas, int x, int y) const {
  if (!image_.isNull()) canvas.Draw(x, y, image_);
}

uint32_t TbsEffectBmp::GetPixel(int x, int y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return 0;
  const uint8_t* p = RowAddress(y) + 3 * x;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
}

void TbsEffectBmp::SetPixel(int x, int y, uint32_t value) {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
  uint8_t* p = RowAddress(y) + 3 * x;
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
}

void TbsEffectBmp::ReadRow(int y, uint8_t* buffer) const {
  if (const uint8_t* row = RowAddress(y); row && buffer) memcpy(buffer, row, static_cast<size_t>(3 * width_));
}

void TbsEffectBmp::WriteRow(int y, const uint8_t* buffer) {
  if (uint8_t* row = RowAddress(y); row && buffer) memcpy(row, buffer, static_cast<size_t>(3 * width_));
}

namespace {

// Every channel of every row through one table (the table holds the exact per-value result).
void ApplyTable(TbsEffectBmp& bmp, const Table& t) {
  std::vector<uint8_t> row(static_cast<size_t>(3 * bmp.Width()));
  for (int y = 0; y < bmp.Height(); ++y) {
    bmp.ReadRow(y, row.data());
    for (uint8_t& c : row) c = t[c];
    bmp.WriteRow(y, row.data());
  }
}

}  // namespace

void TbsEffectBmp::ApplyBrightness(double amount) {
  const double x = Unit(amount);
  Table t;
  for (int c = 0; c < 256; ++c) t[static_cast<size_t>(c)] = Channel((1 - x) * c + 255 * x);
  ApplyTable(*this, t);
}

void TbsEffectBmp::ApplyDarkness(double amount) {
  const double x = Unit(amount);
  Table t;
  for (int c = 0; c < 256; ++c) t[static_cast<size_t>(c)] = Channel((1 - x) * c);
  ApplyTable(*this, t);
}

void TbsEffectBmp::ApplyInvert() {
  Table t;
  for (int c = 0; c < 256; ++c) t[static_cast<size_t>(c)] = static_cast<uint8_t>(255 - c);
  ApplyTable(*this, t);
}

void TbsEffectBmp::ApplyGrayscale() {
  std::vector<uint8_t> row(static_cast<size_t>(3 * width_));
  for (int y = 0; y < height_; ++y) {
    ReadRow(y, row.data());
    for (size_t i = 0; i < row.size(); i += 3) {
      const uint8_t g = Channel(0.3 * row[i + 2] + 0.59 * row[i + 1] + 0.11 * row[i]);
      row[i] = row[i + 1] = row[i + 2] = g;
    }
    WriteRow(y, row.data());
  }
}

void TbsEffectBmp::ApplyNoise(int amount) {
  if (amount <= 0) return;
  QRandomGenerator* rng = QRandomGenerator::global();
  std::vector<uint8_t> row(static_cast<size_t>(3 * width_));
  for (int y = 0; y < height_; ++y) {
    ReadRow(y, row.data());
    for (size_t i = 0; i < row.size(); i += 3) {
      const int r = static_cast<int>(rng->bounded(amount)) - amount / 2;
      for (size_t c = 0; c < 3; ++c) row[i + c] = static_cast<uint8_t>(std::clamp(row[i + c] + r, 0, 255));
    }
    WriteRow(y, row.data());
  }
}

void TbsEffectBmp::ApplySplitBlur(int distance) {
  if (distance <= 0) return;
  const int64_t d = distance;
  // In place from the top row down and left to right: a pixel sees the blurred pixels before it.
  for (int64_t y = 0; y < height_; ++y) {
    uint8_t* up = bits_ + (y - d < 0 ? y : y - d) * stride_;
    uint8_t* down = bits_ + (y + d >= height_ ? y : y + d) * stride_;
    uint8_t* row = bits_ + y * stride_;
    for (int64_t x = 0; x < width_; ++x) {
      const int64_t l = 3 * (x - d < 0 ? x : x - d), r = 3 * (x + d >= width_ ? x : x + d);
      for (int64_t c = 0; c < 3; ++c)
        row[3 * x + c] = static_cast<uint8_t>((up[l + c] + down[l + c] + up[r + c] + down[r + c]) >> 2);
    }
  }
}

void TbsEffectBmp::MorphDefault(const TbsEffectBmp& b, double kf) {
  if (&b == this) return MorphDefault(TbsEffectBmp(image_), kf);  // B aliasing A: morph toward a copy
  if (!SameSize(b)) return;
  const double w = 1 - Unit(kf);
  std::vector<uint8_t> row(static_cast<size_t>(3 * width_));
  for (int y = 0; y < height_; ++y) {
    ReadRow(y, row.data());
    const uint8_t* br = b.RowAddress(y);
    for (size_t i = 0; i < row.size(); i += 3) Mix(&row[i], &row[i], br + i, w);
    WriteRow(y, row.data());
  }
}

void TbsEffectBmp::MorphGradient(const TbsEffectBmp& b, double kf) {
  if (&b == this) return MorphGradient(TbsEffectBmp(image_), kf);  // B aliasing A: morph toward a copy
  if (!SameSize(b) || width_ == 0 || height_ == 0) return;
  if (width_ < height_) MorphGradientV(b, Unit(kf));
  else MorphGradientH(b, Unit(kf));
}

void TbsEffectBmp::MorphGradientH(const TbsEffectBmp& b, double kf) {
  const int W = width_;
  const int a = Rnd(W * kf);
  const int e = (W - a) / 2;
  const double s = e == 0 ? 1.0 : 1.0 / e;
  const int m = W / 2;
  const int g = std::max(0, m - a / 2), h = std::min(W - 1, m + a / 2);
  std::vector<uint8_t> row(static_cast<size_t>(3 * W));
  for (int y = 0; y < height_; ++y) {
    ReadRow(y, row.data());  // A
    const uint8_t* br = b.RowAddress(y);
    uint8_t* out = RowAddress(y);
    if (g <= h) memcpy(out + 3 * g, br + 3 * g, static_cast<size_t>(3 * (h - g + 1)));
    for (int k = 0; k <= g; ++k) {
      const int x = g - k;
      Mix(out + 3 * x, &row[static_cast<size_t>(3 * x)], br + 3 * x, std::min(1.0, k * s));
    }
    for (int k = 0; h + k < W; ++k) {
      const int x = h + k;
      Mix(out + 3 * x, &row[static_cast<size_t>(3 * x)], br + 3 * x, std::min(1.0, k * s));
    }
  }
}

void TbsEffectBmp::MorphGradientV(const TbsEffectBmp& b, double kf) {
  const int H = height_;
  const int a = Rnd(H * kf);
  const int e = (H - 1 - a) / 2;
  const double s = e == 0 ? 0.0 : 1.0 / e;
  const int m = H / 2;
  const int g = std::max(0, m - a / 2), h = std::min(H - 1, m + a / 2);
  std::vector<uint8_t> row(static_cast<size_t>(3 * width_));
  auto mixRow = [&](int y, double w) {
    ReadRow(y, row.data());
    const uint8_t* br = b.RowAddress(y);
    for (size_t i = 0; i < row.size(); i += 3) Mix(&row[i], &row[i], br + i, w);
    WriteRow(y, row.data());
  };
  for (int y = g; y <= h; ++y) WriteRow(y, b.RowAddress(y));
  for (int k = 0; k <= g; ++k) mixRow(g - k, std::min(1.0, k * s));
  for (int k = 0; h + k < H; ++k) mixRow(h + k, std::min(1.0, k * s));
}

void TbsEffectBmp::MorphLeftGradient(const TbsEffectBmp& b, double kf) {
  if (&b == this) return MorphLeftGradient(TbsEffectBmp(image_), kf);  // B aliasing A: morph toward a copy
  if (!SameSize(b) || width_ == 0) return;
  const int W = width_;
  int a = Rnd(W * Unit(kf));
  if (a < 1) a = 1;
  if (a > W - 1) a = W - 1;
  std::vector<uint8_t> row(static_cast<size_t>(3 * W));
  for (int y = 0; y < height_; ++y) {
    ReadRow(y, row.data());
    const uint8_t* br = b.RowAddress(y);
    for (int k = 0; k <= a; ++k) {
      const double w = a > 0 ? std::min(1.0, static_cast<double>(k) / a) : 0.0;
      Mix(&row[static_cast<size_t>(3 * k)], &row[static_cast<size_t>(3 * k)], br + 3 * k, w);
    }
    WriteRow(y, row.data());
  }
}

void TbsEffectBmp::MorphRightGradient(const TbsEffectBmp& b, double kf) {
  if (&b == this) return MorphRightGradient(TbsEffectBmp(image_), kf);  // B aliasing A: morph toward a copy
  if (!SameSize(b) || width_ == 0) return;
  const int W = width_;
  const int a = std::clamp(W - Rnd(W * Unit(kf)), 0, W - 1);
  const double s = 1.0 / (W - a);
  std::vector<uint8_t> row(static_cast<size_t>(3 * W));
  for (int y = 0; y < height_; ++y) {
    ReadRow(y, row.data());
    const uint8_t* br = b.RowAddress(y);
    for (int k = 0; W - 1 - k >= a; ++k) {
      const size_t i = static_cast<size_t>(3 * (W - 1 - k));
      Mix(&row[i], &row[i], br + i, std::min(1.0, k * s));
    }
    WriteRow(y, row.data());
  }
}

namespace {

// Slide width: rnd(W x kf) raised to 1 and then lowered to W - 1.
int SlideWidth(int W, double kf) {
  int v = Rnd(W * kf);
  if (v < 1) v = 1;
  if (v > W - 1) v = W - 1;
  return v;
}

}  // namespace

void TbsEffectBmp::MorphLeftSlide(const TbsEffectBmp& b, double kf) {
  if (&b == this) return MorphLeftSlide(TbsEffectBmp(image_), kf);  // B aliasing A: morph toward a copy
  if (!SameSize(b) || width_ == 0) return;
  const int W = width_, n = SlideWidth(W, Unit(kf));
  if (n <= 0) return;
  for (int y = 0; y < height_; ++y) memmove(RowAddress(y), b.RowAddress(y) + 3 * (W - n), static_cast<size_t>(3 * n));
}

void TbsEffectBmp::MorphRightSlide(const TbsEffectBmp& b, double kf) {
  if (&b == this) return MorphRightSlide(TbsEffectBmp(image_), kf);  // B aliasing A: morph toward a copy
  if (!SameSize(b) || width_ == 0) return;
  const int W = width_, n = SlideWidth(W, Unit(kf));
  if (n <= 0) return;
  for (int y = 0; y < height_; ++y) memmove(RowAddress(y) + 3 * (W - n), b.RowAddress(y), static_cast<size_t>(3 * n));
}

void TbsEffectBmp::MorphPush(const TbsEffectBmp& b, double kf) {
  if (&b == this) return MorphPush(TbsEffectBmp(image_), kf);  // B aliasing A: morph toward a copy
  if (!SameSize(b) || width_ == 0) return;
  const int W = width_;
  const int a = std::clamp(Rnd(W * Unit(kf)), 0, W - 1);
  std::vector<uint8_t> brow(static_cast<size_t>(3 * (a + 1)));
  for (int y = 0; y < height_; ++y) {
    memcpy(brow.data(), b.RowAddress(y) + 3 * (W - a - 1), brow.size());
    uint8_t* row = RowAddress(y);
    // A shifts right by a + 1 columns (memmove works like a copy from the right end); columns
    // 0 .. a then take B's last a + 1 columns.
    if (W - a - 1 > 0) memmove(row + 3 * (a + 1), row, static_cast<size_t>(3 * (W - a - 1)));
    memcpy(row, brow.data(), brow.size());
  }
}

void TbsEffectBmp::ApplyInactiveEffect(int effect) {
  switch (effect) {
    case 0: ApplyBrightness(0.5); break;
    case 1: ApplyDarkness(0.3); break;
    case 2: ApplyGrayscale(); break;
    case 3: ApplyNoise(50); break;
    case 4: ApplySplitBlur(1); break;
    case 5: ApplyInvert(); break;
    default: break;
  }
}

void TbsEffectBmp::Morph(int kind, const TbsEffectBmp& b, double kf) {
  switch (kind) {
    case 0: MorphDefault(b, kf); break;
    case 1: MorphGradient(b, kf); break;
    case 2: MorphLeftGradient(b, kf); break;
    case 3: MorphRightGradient(b, kf); break;
    case 4: MorphLeftSlide(b, kf); break;
    case 5: MorphRightSlide(b, kf); break;
    case 6: MorphPush(b, kf); break;
    default: break;
  }
}

void TbsEffectBmp::TurnCounterClockwise(TbsEffectBmp& d) const {
  if (d.width_ != height_ || d.height_ != width_ || &d == this) return;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* src = RowAddress(y);
    for (int x = 0; x < width_; ++x) memcpy(d.RowAddress(width_ - 1 - x) + 3 * y, src + 3 * x, 3);
  }
}

void TbsEffectBmp::TurnClockwise(TbsEffectBmp& d) const {
  if (d.width_ != height_ || d.height_ != width_ || &d == this) return;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* src = RowAddress(y);
    for (int x = 0; x < width_; ++x) memcpy(d.RowAddress(x) + 3 * (height_ - 1 - y), src + 3 * x, 3);
  }
}
