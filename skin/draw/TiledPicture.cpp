#include "skin/draw/TiledPicture.h"

#include <algorithm>
#include <cstring>
#include <vector>

const QImage& TiledPicture(const QImage& picture, const QRect& from, int w, int h) {
  struct Kept {
    qint64 picture = 0;
    QRect from;
    QImage tiled;
  };
  constexpr size_t kMaxKept = 4;
  static auto* kept = new std::vector<Kept>;  // never freed: no image outlives the application in a static's destructor
  const qint64 key = picture.cacheKey();
  auto it = std::find_if(kept->begin(), kept->end(), [&](const Kept& k) { return k.picture == key && k.from == from; });
  if (it == kept->end() || it->tiled.width() < w || it->tiled.height() < h) {
    // As large as the largest tiling kept: the areas of a new skin are those of the old one,
    // and one tiling then serves them all.
    int tw = w, th = h;
    for (const Kept& k : *kept) {
      tw = std::max(tw, k.tiled.width());
      th = std::max(th, k.tiled.height());
    }
    QImage tiled(tw, th, QImage::Format_RGB32);
    // The first rows of tiles side by side, then those rows copied down: block copies only.
    const QImage tile = picture.copy(from).convertToFormat(QImage::Format_RGB32);
    const int tileW = tile.width(), tileH = std::min(tile.height(), th);
    for (int y = 0; y < tileH; ++y) {
      auto* row = reinterpret_cast<QRgb*>(tiled.scanLine(y));
      const auto* src = reinterpret_cast<const QRgb*>(tile.constScanLine(y));
      for (int x = 0; x < tw; x += tileW) std::memcpy(row + x, src, sizeof(QRgb) * std::min(tileW, tw - x));
    }
    const size_t rowBytes = sizeof(QRgb) * static_cast<size_t>(tw);
    for (int y = tileH; y < th; ++y) std::memcpy(tiled.scanLine(y), tiled.constScanLine(y - tileH), rowBytes);
    if (it != kept->end()) kept->erase(it);
    if (kept->size() >= kMaxKept) kept->erase(kept->begin());
    kept->push_back(Kept{key, from, std::move(tiled)});
    it = kept->end() - 1;
  }
  return it->tiled;
}
