// Skin drawing speed: composition and frame pieces against memcpy of the same output bytes,
// the mask scan against one pass that reads every pixel, and one step of each morph.
// Prints the figures, then RATIO lines (ours / reference).
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/Bitmap.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"

namespace {

volatile uint64_t g_sink = 0;

// Median time of `runs` calls, in microseconds.
double Micros(int runs, const std::function<void()>& f) {
  f();  // warm up
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto a = std::chrono::steady_clock::now();
    f();
    t.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

TBitmap Picture(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = static_cast<uint8_t>(x * 7);
      p[1] = static_cast<uint8_t>(y * 5);
      p[2] = static_cast<uint8_t>(x ^ y);
    }
  return b;
}

double MemcpyMicros(size_t bytes, int runs) {
  std::vector<uint8_t> a(bytes, 1), b(bytes, 2);
  return Micros(runs, [&] {
    memcpy(b.data(), a.data(), bytes);
    g_sink = g_sink + b[bytes / 2];
  });
}

}  // namespace

int main() {
  const int W = 1920, H = 1080, runs = 41;

  // An element image from a 176 x 147 picture at full-screen size.
  const TBitmap pic = Picture(176, 147);
  const TRect S(0, 0, 176, 147), CR(12, 24, 164, 135);
  const TPoint LT(20, 26), RT(156, 26), LB(20, 130), RB(156, 130);
  const int dw = W - 176, dh = H - 147;
  const TPoint NLT = LT, NRT(RT.X + dw, RT.Y), NLB(LB.X, LB.Y + dh), NRB(RB.X + dw, RB.Y + dh);
  const TRect NCR(CR.Left, CR.Top, CR.Right + dw, CR.Bottom + dh);
  TBitmap dest;
  const double compose = Micros(runs, [&] {
    ComposeSkinImage(LT, RT, LB, RB, CR, NLT, NRT, NLB, NRB, NCR, dest, pic, S, W, H, true);
    g_sink = g_sink + dest.ScanLine(H / 2)[W];
  });
  const double composeRef = MemcpyMicros(static_cast<size_t>(3) * W * H, runs);
  std::printf("ComposeSkinImage %dx%d from 176x147: %.1f us; memcpy of %d bytes: %.1f us\n", W, H, compose,
              3 * W * H, composeRef);

  // The four frame pieces of a full-screen window from a 300 x 200 frame picture.
  const TBitmap frame = Picture(300, 200);
  const TRect FS(0, 0, 300, 200), FCR(4, 30, 296, 196);
  const TPoint FLT(40, 40), FRT(260, 40), FLB(40, 160), FRB(260, 160);
  const int fw = W - 300, fh = H - 200;
  const TPoint FNLT = FLT, FNRT(FRT.X + fw, FRT.Y), FNLB(FLB.X, FLB.Y + fh), FNRB(FRB.X + fw, FRB.Y + fh);
  const TRect FNCR(FCR.Left, FCR.Top, FCR.Right + fw, FCR.Bottom + fh);
  TBitmap left, top, right, bottom;
  const double border = Micros(runs, [&] {
    ComposeBorderImages(FLT, FRT, FLB, FRB, FCR, FNLT, FNRT, FNLB, FNRB, FNCR, left, top, right, bottom, frame, FS, W, H);
    g_sink = g_sink + top.ScanLine(1)[5];
  });
  size_t borderBytes = 0;
  for (const TBitmap* b : {&left, &top, &right, &bottom}) borderBytes += static_cast<size_t>(3) * b->Width() * b->Height();
  const double borderRef = MemcpyMicros(borderBytes, runs);
  std::printf("ComposeBorderImages %dx%d: %.1f us; memcpy of %zu bytes: %.1f us\n", W, H, border, borderBytes,
              borderRef);

  // A full-screen mask with rounded corners of radius 12.
  TBitmap mask(W, H);
  mask.Image().fill(Qt::black);
  const int rad = 12;
  for (int y = 0; y < rad; ++y)
    for (int x = 0; x < rad; ++x)
      if ((rad - x) * (rad - x) + (rad - y) * (rad - y) > rad * rad)
        for (auto [px, py] : {std::pair{x, y}, {W - 1 - x, y}, {x, H - 1 - y}, {W - 1 - x, H - 1 - y}})
          memset(mask.ScanLine(py) + 3 * px, 255, 3);
  std::vector<uint8_t> data;
  const double scan = Micros(runs, [&] { g_sink = g_sink + MaskToRegionData(mask, 0, 0, data); });
  const QImage& mi = mask.Image();
  const double scanRef = Micros(runs, [&] {
    uint64_t black = 0;
    for (int y = 0; y < H; ++y) {
      const uint8_t* row = mi.constScanLine(y);
      for (int x = 0; x < W; ++x) black += (row[3 * x] | row[3 * x + 1] | row[3 * x + 2]) == 0;
    }
    g_sink = g_sink + black;
  });
  std::printf("MaskToRegionData %dx%d (%zu rectangles): %.1f us; read pass: %.1f us\n", W, H, (data.size() - 32) / 16,
              scan, scanRef);
  QRegion region;
  const double regionTime = Micros(11, [&] {
    RegionFromMask(region, mask);
    g_sink = g_sink + static_cast<uint64_t>(region.rectCount());
  });
  std::printf("RegionFromMask %dx%d: %.1f us (%d rectangles in the region)\n", W, H, regionTime, region.rectCount());

  // One morph step of each kind.
  using Morph = void (TbsEffectBmp::*)(const TbsEffectBmp&, double);
  const std::pair<const char*, Morph> morphs[] = {
      {"MorphDefault", &TbsEffectBmp::MorphDefault},           {"MorphGradient", &TbsEffectBmp::MorphGradient},
      {"MorphLeftGradient", &TbsEffectBmp::MorphLeftGradient}, {"MorphRightGradient", &TbsEffectBmp::MorphRightGradient},
      {"MorphLeftSlide", &TbsEffectBmp::MorphLeftSlide},       {"MorphRightSlide", &TbsEffectBmp::MorphRightSlide},
      {"MorphPush", &TbsEffectBmp::MorphPush}};
  double worst = 0;
  for (const auto& size : {std::pair{75, 25}, {1920, 32}}) {
    const int w = size.first, h = size.second;
    const TbsEffectBmp b(Picture(w, h));
    for (const auto& morph : morphs) {
      const char* name = morph.first;
      const Morph m = morph.second;
      TbsEffectBmp a(Picture(w, h).Image().mirrored(true, false));
      const double t = Micros(101, [&] {
        (a.*m)(b, 0.4);
        g_sink = g_sink + a.GetPixel(w / 2, h / 2);
      });
      worst = std::max(worst, t);
      std::printf("%s %dx%d: %.1f us\n", name, w, h, t);
    }
  }
  std::printf("slowest morph step: %.1f us of the 20000 us tick\n", worst);

  std::printf("RATIO compose_skin_image_vs_memcpy %.3f\n", compose / composeRef);
  std::printf("RATIO compose_border_images_vs_memcpy %.3f\n", border / borderRef);
  std::printf("RATIO mask_to_region_data_vs_read_pass %.3f\n", scan / scanRef);
  std::printf("RATIO slowest_morph_step_vs_20ms_tick %.4f\n", worst / 20000.0);
  return 0;
}
