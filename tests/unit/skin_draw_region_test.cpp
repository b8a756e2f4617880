// Window shapes from mask pictures: region data byte for byte, regions pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "platform/Bitmap.h"
#include "skin/draw/bsUtils.h"

namespace {

// Mask from rows of '#' (black, inside) and '.' (white, outside).
TBitmap Mask(std::initializer_list<const char*> rows) {
  const int h = static_cast<int>(rows.size()), w = static_cast<int>(strlen(*rows.begin()));
  TBitmap b(w, h);
  int y = 0;
  for (const char* r : rows) {
    uint8_t* p = b.ScanLine(y++);
    for (int x = 0; x < w; ++x) memset(p + 3 * x, r[x] == '#' ? 0 : 255, 3);
  }
  return b;
}

bool Black(const TBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + 3 * x;
  return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

std::vector<uint8_t> Le(std::initializer_list<int32_t> values) {
  std::vector<uint8_t> out;
  for (int32_t v : values)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  return out;
}

}  // namespace

TEST(MaskRegion, RegionDataLayoutByteForByte) {
  const TBitmap mask = Mask({"##.#.", ".....", ".####"});
  std::vector<uint8_t> data;
  ASSERT_EQ(MaskToRegionData(mask, 10, 20, data), 32u + 3 * 16u);
  EXPECT_EQ(data, Le({32, 1, 3, 0, 10, 20, 15, 23,  //
                      10, 20, 12, 21, 13, 20, 14, 21, 11, 22, 15, 23}));

  // Every row black: one rectangle per row. Every row white: a record with no rectangles.
  TBitmap black(7, 4), white(7, 4);
  black.Image().fill(Qt::black);
  ASSERT_EQ(MaskToRegionData(black, 0, 0, data), 32u + 4 * 16u);
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(std::vector<uint8_t>(data.begin() + 32 + 16 * y, data.begin() + 48 + 16 * y), Le({0, y, 7, y + 1}));
  ASSERT_EQ(MaskToRegionData(white, -3, 2, data), 32u);
  EXPECT_EQ(data, Le({32, 1, 0, 0, -3, 2, 4, 6}));
  // An empty mask gives no data at all.
  ASSERT_EQ(MaskToRegionData(TBitmap(), 0, 0, data), 0u);
  EXPECT_TRUE(data.empty());

  // Only pure black is inside: a pixel of (1, 0, 0) ends a run.
  TBitmap near = Mask({"####"});
  near.ScanLine(0)[3 * 2] = 1;
  ASSERT_EQ(MaskToRegionData(near, 0, 0, data), 32u + 2 * 16u);
  EXPECT_EQ(std::vector<uint8_t>(data.begin() + 32, data.end()), Le({0, 0, 2, 1, 3, 0, 4, 1}));
}

TEST(MaskRegion, MoreRunsThanTheTableHolds) {
  // A 251 x 100 checkerboard has 126 or 125 runs per row: 12550 in all.
  TBitmap board(251, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 251; ++x) memset(board.ScanLine(y) + 3 * x, (x + y) % 2 ? 255 : 0, 3);
  std::vector<uint8_t> data;
  ASSERT_EQ(MaskToRegionData(board, 0, 0, data), 32u + 12550u * 16u);
  EXPECT_EQ(std::vector<uint8_t>(data.end() - 16, data.end()), Le({249, 99, 250, 100}));
  QRegion r;
  RegionFromMask(r, board);
  EXPECT_EQ(r.rectCount(), 12550);
  for (int y : {0, 1, 57, 99})  // a point test walks every rectangle: a few rows do
    for (int x = 0; x < 251; ++x) ASSERT_EQ(r.contains(QPoint(x, y)), (x + y) % 2 == 0) << x << "," << y;
}

TEST(MaskRegion, RegionFromMaskMatchesEveryPixel) {
  std::mt19937 rng(5);
  for (int trial = 0; trial < 20; ++trial) {
    const int w = std::uniform_int_distribution<int>(1, 40)(rng), h = std::uniform_int_distribution<int>(1, 30)(rng);
    TBitmap m(w, h);
    // Rows repeat now and then, so that equal rows merge into bands.
    for (int y = 0; y < h; ++y) {
      if (y > 0 && rng() % 3 == 0) {
        memcpy(m.ScanLine(y), m.ScanLine(y - 1), static_cast<size_t>(3 * w));
        continue;
      }
      for (int x = 0; x < w; ++x) memset(m.ScanLine(y) + 3 * x, rng() % 3 ? 0 : 200, 3);
    }
    QRegion r;
    RegionFromMask(r, m);
    for (int y = -1; y <= h; ++y)
      for (int x = -1; x <= w; ++x)
        ASSERT_EQ(r.contains(QPoint(x, y)), x >= 0 && y >= 0 && x < w && y < h && Black(m, x, y))
            << trial << ": " << x << "," << y;
  }
  QRegion none(0, 0, 5, 5);
  RegionFromMask(none, TBitmap());
  EXPECT_TRUE(none.isEmpty());
  RegionFromMask(none, Mask({"...", "..."}));
  EXPECT_TRUE(none.isEmpty());
}

TEST(MaskRegion, MalformedRegionDataIsRefused) {
  const std::vector<uint8_t> good = Le({32, 1, 2, 0, 0, 0, 9, 9, 5, 1, 8, 2, 0, 0, 3, 1});
  EXPECT_TRUE(RegionFromRegionData(std::vector<uint8_t>()).isEmpty());
  auto bad = [](std::vector<uint8_t> d) { EXPECT_THROW(RegionFromRegionData(d), EInvalidRegionData); };
  bad(std::vector<uint8_t>(good.begin(), good.begin() + 31));  // short header
  bad(std::vector<uint8_t>(good.begin(), good.end() - 1));    // last rectangle cut
  std::vector<uint8_t> d = good;
  d[0] = 33;
  bad(d);  // header size
  d = good;
  d[4] = 2;
  bad(d);  // type
  d = good;
  d[11] = 0x80;
  bad(d);  // negative count
  // Rectangles out of order are united all the same.
  const QRegion r = RegionFromRegionData(good);
  EXPECT_TRUE(r.contains(QPoint(6, 1)));
  EXPECT_TRUE(r.contains(QPoint(2, 0)));
  EXPECT_FALSE(r.contains(QPoint(4, 1)));
  EXPECT_FALSE(r.contains(QPoint(3, 0)));
}

TEST(MaskRegion, FrameRegionAtANewSize) {
  // A 12 x 10 mask with a client area (3, 3, 9, 7): rounded outer corners, the rest black.
  const TBitmap mask = Mask({"..########..",  //
                             ".##########.",  //
                             "############",  //
                             "############",  //
                             "############",  //
                             "############",  //
                             "############",  //
                             "############",  //
                             ".##########.",  //
                             "..########.."});
  const TRect CR(3, 3, 9, 7);
  const TPoint LT(4, 4), RT(8, 4), LB(4, 6), RB(8, 6);
  const int W = 40, H = 30, dw = W - 12, dh = H - 10;
  const TPoint NLT = LT, NRT(RT.X + dw, RT.Y), NLB(LB.X, LB.Y + dh), NRB(RB.X + dw, RB.Y + dh);
  const TRect NCR(3, 3, 9 + dw, 7 + dh);
  QRegion r;
  FrameRegionFromMask(r, LT, RT, LB, RB, CR, NLT, NRT, NLB, NRB, NCR, mask, W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const int cx = std::min(x, W - 1 - x), cy = std::min(y, H - 1 - y);
      const bool outside = cx + cy < 2;  // the two-step corner cut
      ASSERT_EQ(r.contains(QPoint(x, y)), !outside) << x << "," << y;
    }
  EXPECT_FALSE(r.contains(QPoint(W, 5)));
  EXPECT_FALSE(r.contains(QPoint(5, H)));

  // A new size smaller than the fixed corners gives no region.
  FrameRegionFromMask(r, LT, RT, LB, RB, CR, NLT, TPoint(NLT.X - 1, NRT.Y), NLB, NRB, NCR, mask, W, H);
  EXPECT_TRUE(r.isEmpty());
  FrameRegionFromMask(r, LT, RT, LB, RB, CR, NLT, NRT, TPoint(NLB.X, NLT.Y - 1), NRB, NCR, mask, W, H);
  EXPECT_TRUE(r.isEmpty());
  // An all-white mask and an empty client rectangle: no region either.
  const TBitmap white = Mask({"......", "......", "......"});
  FrameRegionFromMask(r, TPoint(1, 1), TPoint(2, 1), TPoint(1, 2), TPoint(2, 2), TRect(1, 1, 1, 1), TPoint(1, 1),
                      TPoint(5, 1), TPoint(1, 6), TPoint(5, 6), TRect(1, 1, 1, 1), white, 8, 8);
  EXPECT_TRUE(r.isEmpty());
}
