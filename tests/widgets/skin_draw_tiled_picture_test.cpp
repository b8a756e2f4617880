// A part of a skin picture tiled and kept: what DrawTiledPicture paints over an area is Qt's
// own tiling of that part from (0, 0), for the first area, a smaller one, a wider one (the band
// made again), a taller one than the band, another part of the picture and a new picture; and
// under a clip of several rectangles, as a window with controls paints it.
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

// Qt's own tiling of `from` over w x h, and ours, on a surface larger than the area.
QImage Painted(const QImage& picture, const QRect& from, int w, int h, bool ours, const QRegion& clip = QRegion()) {
  QImage out(w + 20, h + 20, QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::white);
  QPainter p(&out);
  p.translate(5, 7);
  if (!clip.isEmpty()) p.setClipRegion(clip);
  if (ours) DrawTiledPicture(p, picture, from, w, h);
  else p.fillRect(QRect(0, 0, w, h), QBrush(picture.copy(from)));
  return out;
}

}  // namespace

TEST(SkinDrawTiledPicture, PaintsQtsTiling) {
  const QImage picture = Picture(0), other = Picture(90);
  const QRect inside(5, 3, 11, 7), whole(0, 0, 40, 30);
  const struct {
    const QImage& picture;
    QRect from;
    int w, h;
  } cases[] = {{picture, inside, 100, 60}, {picture, inside, 33, 20}, {picture, inside, 230, 170},
               {picture, inside, 50, 400}, {picture, whole, 90, 95},  {other, inside, 64, 64},
               {picture, inside, 120, 80}};
  for (const auto& c : cases)
    EXPECT_TRUE(Painted(c.picture, c.from, c.w, c.h, true) == Painted(c.picture, c.from, c.w, c.h, false))
        << c.from.width() << " " << c.w << "x" << c.h;
  const QRegion clip = QRegion(0, 0, 60, 50) + QRegion(70, 10, 90, 200) + QRegion(20, 60, 30, 300);
  EXPECT_TRUE(Painted(picture, inside, 180, 330, true, clip) == Painted(picture, inside, 180, 330, false, clip));
  // The band: 32-bit, as wide as asked, whole tiles high.
  const QImage& band = TiledPicture(picture, inside, 77);
  EXPECT_EQ(band.format(), QImage::Format_RGB32);
  EXPECT_GE(band.width(), 77);
  EXPECT_EQ(band.height() % inside.height(), 0);
}
