// The skinned window frame at 1920 x 1080 with the query form's skin (slate), offscreen:
//  (a) one full frame paint onto a surface in the window backing store's format, against one
//      memcpy of the frame's pixels (the window less its client rectangle, 4 bytes a pixel);
//  (b) one live-resize step (the size proposed during a drag: geometry, objects, mask pieces,
//      region, repaint request), alternating 1920 x 1080 and 1919 x 1079, against one memcpy
//      of the whole window's pixels;
//  (c) the frame's hit test of 1,000,000 random points inside the window, against
//      QRegion::contains on the window's shape for the same points.
// Prints the figures, then RATIO lines (ours / reference).
#include <QImage>
#include <QRegion>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "bench/BestTime.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"

namespace {

volatile uint64_t g_sink = 0;


double MemcpyMicros(size_t bytes, int runs) {
  std::vector<uint8_t> a(bytes, 1), b(bytes, 2);
  return BestMicros(runs, [&] {
    memcpy(b.data(), a.data(), bytes);
    g_sink = g_sink + b[bytes / 2];
  });
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TApplication app(argc, argv);
  const char* src = std::getenv("LEDGERLY_SOURCE_DIR");
  const QString root = src ? QString::fromLocal8Bit(src) : QStringLiteral(LEDGERLY_SOURCE_DIR_DEFAULT);

  const int W = 1920, H = 1080;
  TForm form(nullptr);
  form.SetBounds(0, 0, W, H);
  auto* frame = new TbsSkinForm(&form);
  auto* data = new TbsSkinData(&form);
  // As the query form carries it: a compressed stored skin.
  auto* compressed = new TbsCompressedStoredSkin(&form);
  try {
    compressed->CompressFromSkinFile(root + QStringLiteral("/skins/slate/SKIN.INI"));
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_frame: %s\n", qPrintable(e.Message()));
    return 1;
  }
  data->SetCompressedStoredSkin(compressed);
  frame->SetSkinData(data);
  form.Perform(WM_ACTIVATE, WA_ACTIVE);
  if (!frame->Skinned() || form.Width() != W || form.Height() != H) {
    std::fprintf(stderr, "bench_frame: the skin did not load\n");
    return 1;
  }
  const TRect client = frame->FrameClientRect;
  std::printf("skin picture %dx%d, window %dx%d, client %dx%d at (%d, %d), %d frame objects\n", data->picture.Width(),
              data->picture.Height(), W, H, client.Width(), client.Height(), client.Left, client.Top,
              static_cast<int>(frame->Objects().size()));

  // (a) One full frame paint.
  QImage surface(W, H, QImage::Format_ARGB32_Premultiplied);
  surface.fill(0);
  const double paint = BestMicros(201, [&] {
    TCanvas canvas(&surface);
    frame->PaintSkinFrame(canvas);
    g_sink = g_sink + surface.pixel(W / 2, 5);
  });
  const size_t frameBytes = (static_cast<size_t>(W) * H - static_cast<size_t>(client.Width()) * client.Height()) * 4;
  const double paintRef = MemcpyMicros(frameBytes, 201);
  std::printf("PaintSkinFrame %dx%d: %.1f us; memcpy of the frame's %zu bytes: %.1f us\n", W, H, paint, frameBytes,
              paintRef);

  // (b) One live-resize step.
  form.Perform(WM_ENTERSIZEMOVE);
  bool big = false;
  const double resize = BestMicros(201, [&] {
    big = !big;
    TRect proposed(0, 0, big ? W : W - 1, big ? H : H - 1);
    form.Perform(WM_SIZING, 8, reinterpret_cast<intptr_t>(&proposed));
    g_sink = g_sink + static_cast<uint64_t>(frame->WindowRegion().rectCount());
  });
  TRect last(0, 0, W, H);
  form.Perform(WM_SIZING, 8, reinterpret_cast<intptr_t>(&last));
  form.Perform(WM_EXITSIZEMOVE);
  const double resizeRef = MemcpyMicros(static_cast<size_t>(W) * H * 4, 201);
  const QRegion shape = frame->WindowRegion();
  std::printf("live-resize step %dx%d <-> %dx%d: %.1f us (%d rectangles in the shape); memcpy of %zu bytes: %.1f us\n",
              W, H, W - 1, H - 1, resize, shape.rectCount(), static_cast<size_t>(W) * H * 4, resizeRef);

  // (c) Hit tests against the shape's own contains.
  constexpr int kPoints = 1000000;
  std::mt19937 rng(12345);
  std::vector<TPoint> points(kPoints);
  std::vector<QPoint> qpoints(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    points[i] = TPoint(static_cast<int>(rng() % W), static_cast<int>(rng() % H));
    qpoints[i] = QPoint(points[i].X, points[i].Y);
  }
  const double hit = BestMicros(5, [&] {
    uint64_t s = 0;
    for (const TPoint& p : points) s += static_cast<uint64_t>(frame->SkinHitTest(p));
    g_sink = g_sink + s;
  });
  const double hitRef = BestMicros(5, [&] {
    uint64_t s = 0;
    for (const QPoint& p : qpoints) s += shape.contains(p) ? 1 : 0;
    g_sink = g_sink + s;
  });
  std::printf("SkinHitTest x %d: %.1f us (%.1f ns a point); QRegion::contains x %d: %.1f us (%.1f ns a point)\n",
              kPoints, hit, hit * 1000 / kPoints, kPoints, hitRef, hitRef * 1000 / kPoints);

  std::printf("RATIO frame_paint %.3f\n", paint / paintRef);
  std::printf("RATIO frame_resize_step %.3f\n", resize / resizeRef);
  std::printf("RATIO frame_hit_test %.3f\n", hit / hitRef);
  return 0;
}
