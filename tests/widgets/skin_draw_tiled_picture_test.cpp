// A part of a skin picture tiled over an area and kept: its top-left w x h pixels are those
// of Qt's tiling of that part from (0, 0), for the first area, a smaller one, a larger one
// (made again), another part of the picture and a new picture.
#include <gtest/gtest.h>

#include <QPainter>

#include "skin/draw/TiledPicture.h"

namespace {

QImage Picture(int seed) {
  QImage img(40, 30, QImage::Format_BGR888);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb((x * 13 + seed) & 255, (y * 17) & 255, (x ^ y) & 255));
  return img;
}

// Qt's own tiling of `from` over w x h.
QImage Tiling(const QImage& picture, const QRect& from, int w, int h) {
  QImage out(w, h, QImage::Format_RGB32);
  QPainter p(&out);
  p.fillRect(out.rect(), QBrush(picture.copy(from)));
  return out;
}

bool TopLeftIs(const QImage& tiled, const QImage& expected) {
  if (tiled.width() < expected.width() || tiled.height() < expected.height()) return false;
  return tiled.copy(expected.rect()).convertToFormat(QImage::Format_RGB32) == expected;
}

}  // namespace

TEST(SkinDrawTiledPicture, TopLeftPartIsTheTiling) {
  const QImage picture = Picture(0), other = Picture(90);
  const QRect inside(5, 3, 11, 7), whole(0, 0, 40, 30);
  EXPECT_TRUE(TopLeftIs(TiledPicture(picture, inside, 100, 60), Tiling(picture, inside, 100, 60)));
  EXPECT_TRUE(TopLeftIs(TiledPicture(picture, inside, 33, 20), Tiling(picture, inside, 33, 20)));
  EXPECT_TRUE(TopLeftIs(TiledPicture(picture, inside, 230, 170), Tiling(picture, inside, 230, 170)));
  EXPECT_TRUE(TopLeftIs(TiledPicture(picture, whole, 90, 95), Tiling(picture, whole, 90, 95)));
  EXPECT_TRUE(TopLeftIs(TiledPicture(other, inside, 64, 64), Tiling(other, inside, 64, 64)));
  // The first tiling again, after the others.
  EXPECT_TRUE(TopLeftIs(TiledPicture(picture, inside, 120, 80), Tiling(picture, inside, 120, 80)));
  EXPECT_EQ(TiledPicture(picture, inside, 10, 10).format(), QImage::Format_RGB32);
}
