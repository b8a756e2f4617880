// Effect bitmap: pixel access, the inactive effects, the morphs at kf 0, 0.5 and 1, and the
// quarter turns, against values worked out by hand (rounding half to even).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "skin/draw/bsEffects.h"

namespace {

// Grey image of one row per entry of `rows`; every channel holds the value.
TbsEffectBmp Grey(const std::vector<std::vector<int>>& rows) {
  TbsEffectBmp e(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) {
      const uint32_t v = static_cast<uint32_t>(rows[y][x]);
      e.SetPixel(static_cast<int>(x), static_cast<int>(y), v | v << 8 | v << 16);
    }
  return e;
}

// Channel values of one row, checking that the three channels agree.
std::vector<int> Row(const TbsEffectBmp& e, int y) {
  std::vector<int> out;
  for (int x = 0; x < e.Width(); ++x) {
    const uint32_t p = e.GetPixel(x, y);
    EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << x << "," << y;
    EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF) << x << "," << y;
    out.push_back(static_cast<int>(p & 0xFF));
  }
  return out;
}

std::vector<int> Column(const TbsEffectBmp& e, int x) {
  std::vector<int> out;
  for (int y = 0; y < e.Height(); ++y) out.push_back(static_cast<int>(e.GetPixel(x, y) & 0xFF));
  return out;
}

using V = std::vector<int>;

}  // namespace

TEST(EffectBmp, PixelAccessAndCopies) {
  TbsEffectBmp blank(5, 3);
  EXPECT_EQ(blank.Width(), 5);
  EXPECT_EQ(blank.Size(), 16 * 3);
  EXPECT_EQ(blank.RowAddress(2), blank.PixelBits() + 32);
  EXPECT_EQ(blank.RowAddress(3), nullptr);
  EXPECT_EQ(blank.GetPixel(4, 2), 0u);
  blank.SetPixel(1, 2, 0x112233);
  const uint8_t* p = blank.RowAddress(2) + 3;
  EXPECT_EQ(p[0], 0x33);  // blue first
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
  EXPECT_EQ(blank.GetPixel(1, 2), 0x112233u);
  blank.SetPixel(9, 9, 1);  // outside: nothing
  EXPECT_EQ(blank.GetPixel(9, 9), 0u);
  std::vector<uint8_t> row(15, 7);
  blank.WriteRow(0, row.data());
  std::vector<uint8_t> back(15);
  blank.ReadRow(0, back.data());
  EXPECT_EQ(back, row);
  EXPECT_EQ(blank.GetPixel(4, 0), 0x070707u);

  // Made from a bitmap: the same pixels, and the bitmap stays as it was.
  TBitmap bmp(3, 2);
  bmp.Canvas().SetPixel(2, 1, 0x0000FF);  // red
  TbsEffectBmp e(bmp);
  EXPECT_EQ(e.GetPixel(2, 1), 0xFF0000u);
  EXPECT_EQ(e.GetPixel(0, 0), 0xFFFFFFu);
  e.ApplyInvert();
  EXPECT_EQ(bmp.ScanLine(0)[0], 255);
  // DrawTo copies unscaled.
  TBitmap target(6, 5);
  e.DrawTo(target.Canvas(), 2, 1);
  EXPECT_EQ(target.ScanLine(2)[3 * 4 + 2], 0);  // red channel of inverted red
  EXPECT_EQ(target.ScanLine(2)[3 * 4 + 0], 255);
  EXPECT_EQ(target.ScanLine(1)[3 * 2], 0);
  EXPECT_EQ(target.ScanLine(0)[3 * 2], 255);  // outside the drawn image
}

TEST(EffectBmp, BrightnessDarknessGreyscaleInvert) {
  TbsEffectBmp b = Grey({{0, 2, 4, 255, 100}});
  b.ApplyBrightness(0.5);
  EXPECT_EQ(Row(b, 0), (V{128, 128, 130, 255, 178}));
  TbsEffectBmp full = Grey({{0, 17, 255}});
  full.ApplyBrightness(2.0);
  EXPECT_EQ(Row(full, 0), (V{255, 255, 255}));
  TbsEffectBmp none = Grey({{0, 17, 255}});
  none.ApplyBrightness(-1);
  none.ApplyBrightness(std::nan(""));
  EXPECT_EQ(Row(none, 0), (V{0, 17, 255}));

  TbsEffectBmp d = Grey({{100, 255, 10, 0}});
  d.ApplyDarkness(0.3);
  EXPECT_EQ(Row(d, 0), (V{70, 178, 7, 0}));  // 178.5 rounds to 178
  d.ApplyDarkness(5);
  EXPECT_EQ(Row(d, 0), (V{0, 0, 0, 0}));

  TbsEffectBmp g(4, 1);
  g.SetPixel(0, 0, 0x1E140A);  // red 30, green 20, blue 10: 21.9
  g.SetPixel(1, 0, 0x000032);  // blue 50: 5.5
  g.SetPixel(2, 0, 0x000096);  // blue 150: 16.5
  g.SetPixel(3, 0, 0xFF0000);  // red 255: 76.5
  g.ApplyGrayscale();
  EXPECT_EQ(Row(g, 0), (V{22, 6, 16, 76}));

  TbsEffectBmp inv(3, 2);
  for (int i = 0; i < 6; ++i) inv.SetPixel(i % 3, i / 3, 0x102030u * static_cast<uint32_t>(i + 1));
  TbsEffectBmp orig(inv.Image());
  inv.ApplyInvert();
  EXPECT_EQ(inv.GetPixel(1, 0), 0xFFFFFFu - 0x102030u * 2);
  inv.ApplyInvert();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(inv.GetPixel(i % 3, i / 3), orig.GetPixel(i % 3, i / 3));
}

TEST(EffectBmp, NoiseAddsOneOffsetPerPixelInItsRange) {
  TbsEffectBmp n(100, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) n.SetPixel(x, y, 0x808080);
  n.ApplyNoise(50);
  int lo = 255, hi = 0;
  for (int y = 0; y < 40; ++y) {
    const V r = Row(n, y);  // the same offset on all three channels
    for (int v : r) lo = std::min(lo, v), hi = std::max(hi, v);
  }
  EXPECT_GE(lo, 128 - 25);
  EXPECT_LE(hi, 128 + 24);
  EXPECT_LT(lo, 128 - 15);  // 4000 draws cover the range
  EXPECT_GT(hi, 128 + 15);
  // Offsets are clamped at the ends of the range.
  TbsEffectBmp edge = Grey({{0, 255}, {0, 255}, {0, 255}, {0, 255}});
  edge.ApplyNoise(50);
  for (int y = 0; y < 4; ++y) {
    EXPECT_LE(Row(edge, y)[0], 24);
    EXPECT_GE(Row(edge, y)[1], 230);
  }
  TbsEffectBmp zero = Grey({{9, 9}});
  zero.ApplyNoise(0);
  EXPECT_EQ(Row(zero, 0), (V{9, 9}));
}

TEST(EffectBmp, SplitBlurWorksInPlaceFromTheTop) {
  TbsEffectBmp b = Grey({{0, 40, 80}, {120, 160, 200}, {240, 20, 60}});
  b.ApplySplitBlur(1);
  EXPECT_EQ(Row(b, 0), (V{80, 120, 140}));
  EXPECT_EQ(Row(b, 1), (V{115, 130, 85}));
  EXPECT_EQ(Row(b, 2), (V{126, 96, 92}));
  TbsEffectBmp one = Grey({{77}});
  one.ApplySplitBlur(1);
  EXPECT_EQ(Row(one, 0), (V{77}));
  TbsEffectBmp same = Grey({{1, 2}, {3, 4}});
  same.ApplySplitBlur(0);
  EXPECT_EQ(Row(same, 1), (V{3, 4}));
  same.ApplySplitBlur(1000);  // every sample falls back to the pixel itself
  EXPECT_EQ(Row(same, 0), (V{1, 2}));
  EXPECT_EQ(Row(same, 1), (V{3, 4}));
}

TEST(EffectBmp, MorphDefaultMixesEveryPixel) {
  auto morph = [](double kf) {
    TbsEffectBmp a = Grey({{10, 10, 11, 0}});
    const TbsEffectBmp b = Grey({{21, 23, 22, 255}});
    a.MorphDefault(b, kf);
    return Row(a, 0);
  };
  EXPECT_EQ(morph(0), (V{10, 10, 11, 0}));
  EXPECT_EQ(morph(1), (V{21, 23, 22, 255}));
  EXPECT_EQ(morph(0.5), (V{16, 16, 16, 128}));  // 15.5, 16.5, 16.5, 127.5 to even
  EXPECT_EQ(morph(7), (V{21, 23, 22, 255}));
  EXPECT_EQ(morph(std::nan("")), (V{10, 10, 11, 0}));
}

namespace {

V GradientRow(void (TbsEffectBmp::*morph)(const TbsEffectBmp&, double), double kf) {
  TbsEffectBmp a = Grey({V(8, 0), V(8, 0)});
  const TbsEffectBmp b = Grey({V(8, 200), V(8, 200)});
  (a.*morph)(b, kf);
  EXPECT_EQ(Row(a, 0), Row(a, 1));
  return Row(a, 1);
}

V SlideRow(void (TbsEffectBmp::*morph)(const TbsEffectBmp&, double), double kf) {
  TbsEffectBmp a = Grey({{0, 10, 20, 30, 40, 50, 60, 70}});
  const TbsEffectBmp b = Grey({{100, 101, 102, 103, 104, 105, 106, 107}});
  (a.*morph)(b, kf);
  return Row(a, 0);
}

}  // namespace

TEST(EffectBmp, GradientMorphs) {
  // Horizontal form (width not below height): B in a centre band, fading out on both sides.
  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphGradient, 0), (V{0, 50, 100, 150, 200, 150, 100, 50}));
  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphGradient, 0.5), (V{0, 100, 200, 200, 200, 200, 200, 100}));
  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphGradient, 1), V(8, 200));
  // Vertical form on a tall image.
  auto vertical = [](double kf) {
    TbsEffectBmp a(2, 8);
    TbsEffectBmp b = Grey(std::vector<V>(8, V{200, 200}));
    a.MorphGradient(b, kf);
    EXPECT_EQ(Column(a, 0), Column(a, 1));
    return Column(a, 0);
  };
  EXPECT_EQ(vertical(0), (V{0, 0, 67, 133, 200, 133, 67, 0}));
  EXPECT_EQ(vertical(0.5), (V{0, 0, 200, 200, 200, 200, 200, 0}));
  EXPECT_EQ(vertical(1), V(8, 200));
  // A wide image of 100 x 20 takes the horizontal form, a tall 20 x 100 the vertical one.
  TbsEffectBmp wide(100, 20), wideB = Grey(std::vector<V>(20, V(100, 200)));
  wide.MorphGradient(wideB, 0.5);
  EXPECT_EQ(Column(wide, 0), V(20, 0));
  EXPECT_EQ(Column(wide, 50), V(20, 200));
  TbsEffectBmp tall(20, 100), tallB = Grey(std::vector<V>(100, V(20, 200)));
  tall.MorphGradient(tallB, 0.5);
  EXPECT_EQ(Row(tall, 0), V(20, 0));
  EXPECT_EQ(Row(tall, 50), V(20, 200));

  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphLeftGradient, 0), (V{200, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphLeftGradient, 0.5), (V{200, 150, 100, 50, 0, 0, 0, 0}));
  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphLeftGradient, 1), (V{200, 171, 143, 114, 86, 57, 29, 0}));

  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphRightGradient, 0), (V{0, 0, 0, 0, 0, 0, 0, 200}));
  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphRightGradient, 0.5), (V{0, 0, 0, 0, 50, 100, 150, 200}));
  EXPECT_EQ(GradientRow(&TbsEffectBmp::MorphRightGradient, 1), (V{25, 50, 75, 100, 125, 150, 175, 200}));
}

TEST(EffectBmp, SlideAndPushMorphs) {
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphLeftSlide, 0), (V{107, 10, 20, 30, 40, 50, 60, 70}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphLeftSlide, 0.5), (V{104, 105, 106, 107, 40, 50, 60, 70}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphLeftSlide, 1), (V{101, 102, 103, 104, 105, 106, 107, 70}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphRightSlide, 0), (V{0, 10, 20, 30, 40, 50, 60, 100}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphRightSlide, 0.5), (V{0, 10, 20, 30, 100, 101, 102, 103}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphRightSlide, 1), (V{0, 100, 101, 102, 103, 104, 105, 106}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphPush, 0), (V{107, 0, 10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphPush, 0.5), (V{103, 104, 105, 106, 107, 0, 10, 20}));
  EXPECT_EQ(SlideRow(&TbsEffectBmp::MorphPush, 1), (V{100, 101, 102, 103, 104, 105, 106, 107}));

  // A morph toward an image of another size changes nothing.
  using M = void (TbsEffectBmp::*)(const TbsEffectBmp&, double);
  for (M m : {&TbsEffectBmp::MorphDefault, &TbsEffectBmp::MorphGradient, &TbsEffectBmp::MorphLeftGradient,
              &TbsEffectBmp::MorphRightGradient, &TbsEffectBmp::MorphLeftSlide, &TbsEffectBmp::MorphRightSlide,
              &TbsEffectBmp::MorphPush}) {
    TbsEffectBmp a = Grey({{1, 2, 3}, {4, 5, 6}});
    (a.*m)(Grey({{9, 9, 9, 9}, {9, 9, 9, 9}}), 0.5);
    (a.*m)(Grey({{9, 9, 9}}), 0.5);
    EXPECT_EQ(Row(a, 0), (V{1, 2, 3}));
    EXPECT_EQ(Row(a, 1), (V{4, 5, 6}));
    // Toward itself: as toward a copy of itself.
    TbsEffectBmp self = Grey({{1, 2, 3, 4}});
    TbsEffectBmp copy = Grey({{1, 2, 3, 4}});
    TbsEffectBmp twin = Grey({{1, 2, 3, 4}});
    (self.*m)(self, 0.5);
    (copy.*m)(twin, 0.5);
    EXPECT_EQ(Row(self, 0), Row(copy, 0));
  }
}

TEST(EffectBmp, SkinWordsSelectTheirOperation) {
  // Each position does what its named operation does to the same image.
  using Op = void (*)(TbsEffectBmp&);
  const Op named[] = {[](TbsEffectBmp& e) { e.ApplyBrightness(0.5); }, [](TbsEffectBmp& e) { e.ApplyDarkness(0.3); },
                      [](TbsEffectBmp& e) { e.ApplyGrayscale(); },       nullptr,
                      [](TbsEffectBmp& e) { e.ApplySplitBlur(1); },      [](TbsEffectBmp& e) { e.ApplyInvert(); }};
  const std::vector<V> rows = {{10, 200, 37}, {99, 3, 250}};
  for (int i = 0; i < 6; ++i) {
    if (!named[i]) continue;  // noise draws at random
    TbsEffectBmp a = Grey(rows), b = Grey(rows);
    a.SetPixel(1, 1, 0x20A0F0);
    b.SetPixel(1, 1, 0x20A0F0);
    a.ApplyInactiveEffect(i);
    named[i](b);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << i;
  }
  TbsEffectBmp noisy = Grey({V(50, 128)});
  noisy.ApplyInactiveEffect(3);
  const V n = Row(noisy, 0);
  EXPECT_NE(n, V(50, 128));
  TbsEffectBmp same = Grey(rows);
  same.ApplyInactiveEffect(6);
  EXPECT_EQ(Row(same, 0), rows[0]);

  using M = void (TbsEffectBmp::*)(const TbsEffectBmp&, double);
  const M morphs[] = {&TbsEffectBmp::MorphDefault,   &TbsEffectBmp::MorphGradient,   &TbsEffectBmp::MorphLeftGradient,
                      &TbsEffectBmp::MorphRightGradient, &TbsEffectBmp::MorphLeftSlide, &TbsEffectBmp::MorphRightSlide,
                      &TbsEffectBmp::MorphPush};
  for (int k = 0; k < 7; ++k) {
    TbsEffectBmp a = Grey({{0, 10, 20, 30, 40, 50, 60, 70}}), b = Grey({{0, 10, 20, 30, 40, 50, 60, 70}});
    const TbsEffectBmp to = Grey({{200, 101, 102, 103, 104, 105, 106, 7}});
    a.Morph(k, to, 0.3);
    (b.*morphs[k])(to, 0.3);
    EXPECT_EQ(Row(a, 0), Row(b, 0)) << k;
    EXPECT_NE(Row(a, 0), (V{0, 10, 20, 30, 40, 50, 60, 70})) << k;
  }
  TbsEffectBmp a = Grey({{1, 2}});
  a.Morph(7, Grey({{9, 9}}), 0.5);
  EXPECT_EQ(Row(a, 0), (V{1, 2}));
}

TEST(EffectBmp, QuarterTurns) {
  TbsEffectBmp a(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) a.SetPixel(x, y, static_cast<uint32_t>(0x010000 * (x + 1) + y + 1));
  TbsEffectBmp ccw(2, 3), cw(2, 3);
  a.TurnCounterClockwise(ccw);
  a.TurnClockwise(cw);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(ccw.GetPixel(y, 2 - x), a.GetPixel(x, y)) << x << "," << y;
      EXPECT_EQ(cw.GetPixel(1 - y, x), a.GetPixel(x, y)) << x << "," << y;
    }
  // The top-right pixel goes to the top-left turning counter-clockwise, to the bottom-right
  // turning clockwise.
  EXPECT_EQ(ccw.GetPixel(0, 0), 0x030001u);
  EXPECT_EQ(cw.GetPixel(1, 2), 0x030001u);
  TbsEffectBmp wrong(3, 2);
  a.TurnClockwise(wrong);
  EXPECT_EQ(wrong.GetPixel(0, 0), 0u);
}
