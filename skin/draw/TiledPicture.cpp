#include "skin/draw/TiledPicture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/OpaqueBlit.h"

namespace {
// Bands are at least this many rows high: fewer copies per area, still a small image.
constexpr int kMinBandRows = 128;
}  // namespace

const QImage& TiledPicture(const QImage& picture, const QRect& from, int w) {
  struct Kept {
    qint64 picture = 0;
    QRect from;
    QImage band;
  };
  constexpr size_t kMaxKept = 4;
  static auto* kept = new std::vector<Kept>;  // never freed: no image outlives the application in a static's destructor
  const qint64 key = picture.cacheKey();
  auto it = std::find_if(kept->begin(), kept->end(), [&](const Kept& k) { return k.picture == key && k.from == from; });
  if (it == kept->end() || it->band.width() < w) {
    const QImage tile = picture.copy(from).convertToFormat(QImage::Format_RGB32);
    const int tileW = std::max(1, tile.width()), tileH = std::max(1, tile.height());
    // As wide as the widest band kept: the areas of a new skin are those of the old one, and
    // the band then serves them all at once.
    int bw = w;
    for (const Kept& k : *kept) bw = std::max(bw, k.band.width());
    const int bh = tileH * std::max(1, (kMinBandRows + tileH - 1) / tileH);
    QImage band(bw, bh, QImage::Format_RGB32);
    // The first row of tiles side by side, then that row copied down: block copies only.
    for (int y = 0; y < tileH; ++y) {
      auto* row = reinterpret_cast<QRgb*>(band.scanLine(y));
      const auto* src = reinterpret_cast<const QRgb*>(tile.constScanLine(y));
      for (int x = 0; x < bw; x += tileW) std::memcpy(row + x, src, sizeof(QRgb) * std::min(tileW, bw - x));
    }
    const size_t rowBytes = sizeof(QRgb) * static_cast<size_t>(bw);
    for (int y = tileH; y < bh; ++y) std::memcpy(band.scanLine(y), band.constScanLine(y - tileH), rowBytes);
    if (it != kept->end()) kept->erase(it);
    if (kept->size() >= kMaxKept) kept->erase(kept->begin());
    kept->push_back(Kept{key, from, std::move(band)});
    it = kept->end() - 1;
  }
  return it->band;
}

void DrawTiledPicture(QPainter& painter, const QImage& picture, const QRect& from, int w, int h) {
  if (w <= 0 || h <= 0) return;
  const QImage& band = TiledPicture(picture, from, w);
  for (int y = 0; y < h; y += band.height())
    BlitOpaque(painter, 0, y, band, QRect(0, 0, w, std::min(band.height(), h - y)));
}
