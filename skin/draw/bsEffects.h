// TbsEffectBmp: a 24-bit pixel buffer with whole-image effects, morphs between two looks, and
// quarter turns. Pixels are blue, green, red; rows run top-down with the fast-bitmap layout
// (3 x width + width mod 4 bytes per row).
//
// Every effect computes in floating point and rounds half to even; channel results are
// clamped to 0 .. 255. A morph changes this image (A) toward a second image B of the same size
// by the progress kf (0 gives A, 1 gives B; values outside 0 .. 1 are limited to it and a
// value that is not a number counts as 0). A morph with B of another size changes nothing.
// Callers make an effect image per paint and drop it after drawing. GUI thread only.
#pragma once
#include <QImage>
#include <cstdint>

class TBitmap;
class TCanvas;

class TbsEffectBmp {
 public:
  // A copy of the bitmap's pixels; any depth becomes 24 bits.
  explicit TbsEffectBmp(const TBitmap& source);
  explicit TbsEffectBmp(const QImage& source);
  // Blank (black) image; negative sizes count as 0.
  TbsEffectBmp(int width, int height);
  TbsEffectBmp(const TbsEffectBmp&) = delete;
  TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;
  TbsEffectBmp(TbsEffectBmp&& other) noexcept;
  TbsEffectBmp& operator=(TbsEffectBmp&& other) noexcept;
  ~TbsEffectBmp();

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Bytes of pixel memory: row size x height.
  int32_t Size() const { return (3 * width_ + width_ % 4) * height_; }
  uint8_t* PixelBits() { return bits_; }
  const uint8_t* PixelBits() const { return bits_; }
  // Start of row y; null outside 0 .. Height - 1.
  uint8_t* RowAddress(int y);
  const uint8_t* RowAddress(int y) const;
  // The pixels as a 24-bit image (shares them until either side writes).
  const QImage& Image() const { return image_; }

  // Copies all pixels to the canvas at (x, y), unscaled.
  void DrawTo(TCanvas& canvas, int x, int y) const;

  // The pixel as one value, blue in the low byte, then green, then red. Outside the image:
  // GetPixel gives 0 and SetPixel does nothing.
  uint32_t GetPixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t value);
  // Copy 3 x Width bytes out of / into row y; nothing for a row outside the image.
  void ReadRow(int y, uint8_t* buffer) const;
  void WriteRow(int y, const uint8_t* buffer);

  // Inactive effects, in place.
  void ApplyBrightness(double amount);  // toward white; amount limited to 0 .. 1
  void ApplyDarkness(double amount);    // toward black; amount limited to 0 .. 1
  void ApplyGrayscale();
  void ApplyNoise(int amount);          // one random offset per pixel in -amount/2 .. amount - 1 - amount/2
  void ApplySplitBlur(int distance);    // mean of the four diagonal samples at the distance
  void ApplyInvert();

  // Morphs toward B.
  void MorphDefault(const TbsEffectBmp& b, double kf);
  void MorphGradient(const TbsEffectBmp& b, double kf);
  void MorphLeftGradient(const TbsEffectBmp& b, double kf);
  void MorphRightGradient(const TbsEffectBmp& b, double kf);
  void MorphLeftSlide(const TbsEffectBmp& b, double kf);
  void MorphRightSlide(const TbsEffectBmp& b, double kf);
  void MorphPush(const TbsEffectBmp& b, double kf);

  // The effect a skin's inactive-effect word names, by the word's position: 0 "iebrightness"
  // ApplyBrightness(0.5), 1 "iedarkness" ApplyDarkness(0.3), 2 "iegrayscale", 3 "ienoise"
  // ApplyNoise(50), 4 "iesplitblur" ApplySplitBlur(1), 5 "ieinvert". Other values do nothing.
  void ApplyInactiveEffect(int effect);
  // The morph a skin's morph-kind word names, by the word's position: 0 "mkdefault",
  // 1 "mkgradient", 2 "mkleftgradient", 3 "mkrightgradient", 4 "mkleftslide", 5 "mkrightslide",
  // 6 "mkpush". Other values do nothing.
  void Morph(int kind, const TbsEffectBmp& b, double kf);

  // Quarter turns into d, which must be Height x Width (otherwise nothing happens).
  void TurnCounterClockwise(TbsEffectBmp& d) const;
  void TurnClockwise(TbsEffectBmp& d) const;

 private:
  void Init(const QImage& source);
  bool SameSize(const TbsEffectBmp& b) const { return b.width_ == width_ && b.height_ == height_; }
  void MorphGradientH(const TbsEffectBmp& b, double kf);
  void MorphGradientV(const TbsEffectBmp& b, double kf);

  QImage image_;             // Format_BGR888, owned
  uint8_t* bits_ = nullptr;  // image_'s pixels
  int32_t width_ = 0, height_ = 0;
  qsizetype stride_ = 0;
};
