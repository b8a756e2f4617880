// Composition of element images: fast bitmap layout, piece copy, tiling, the compose and slice
// routines, checked on pixels. Source pictures encode each pixel's own position (blue = x,
// green = y, red = 0x40), so every destination pixel tells where it was copied from.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "platform/Bitmap.h"
#include "skin/draw/bsUtils.h"

namespace {

constexpr uint8_t kMark = 0x40;

// Picture whose pixel (x, y) is (blue x, green y, red 0x40).
TBitmap PositionPicture(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<uint8_t>(x);
      row[3 * x + 1] = static_cast<uint8_t>(y);
      row[3 * x + 2] = kMark;
    }
  }
  return b;
}

struct Px {
  int b, g, r;
  friend bool operator==(const Px&, const Px&) = default;
};
std::ostream& operator<<(std::ostream& os, const Px& p) { return os << "(" << p.b << "," << p.g << "," << p.r << ")"; }

Px At(const TBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + 3 * x;
  return Px{p[0], p[1], p[2]};
}
// The picture pixel that was copied to a destination pixel.
Px From(int x, int y) { return Px{x, y, kMark}; }
constexpr Px kWhite{255, 255, 255};

// Skin geometry relative to S, and the new geometry a control computes for size w x h: the
// fixed parts keep their size, the repeatable parts and the client rectangle grow.
struct Skin {
  TRect S;
  TPoint LT, RT, LB, RB;
  TRect CR;
};
struct Mapped {
  TPoint NLT, NRT, NLB, NRB;
  TRect NCR;
};
Mapped MapTo(const Skin& k, int w, int h) {
  const int dw = w - RectWidth(k.S), dh = h - RectHeight(k.S);
  return Mapped{k.LT, TPoint(k.RT.X + dw, k.RT.Y), TPoint(k.LB.X, k.LB.Y + dh), TPoint(k.RB.X + dw, k.RB.Y + dh),
                TRect(k.CR.Left, k.CR.Top, k.CR.Right + dw, k.CR.Bottom + dh)};
}
void Compose(const Skin& k, const Mapped& m, TBitmap& dest, const TBitmap& pic, int w, int h, bool centre) {
  ComposeSkinImage(k.LT, k.RT, k.LB, k.RB, k.CR, m.NLT, m.NRT, m.NLB, m.NRB, m.NCR, dest, pic, k.S, w, h, centre);
}

// A 20 x 16 element at (5, 3) of a 40 x 30 picture: top edge repeats columns 4..14 (10 pixels),
// left edge rows 5..12, client rectangle (3, 4, 16, 13).
const Skin kSkin{TRect(5, 3, 25, 19), TPoint(4, 5), TPoint(14, 5), TPoint(4, 12), TPoint(14, 12), TRect(3, 4, 16, 13)};

}  // namespace

TEST(FastBitmap, RowLayoutFollowsWidth) {
  const int strides[] = {4, 8, 12, 12, 16};
  const int paddings[] = {1, 2, 3, 0, 1};
  for (int w = 1; w <= 5; ++w) {
    TBitmap src = PositionPicture(w, 3);
    TbsFBitmap fb(src);
    EXPECT_EQ(fb.RowStride(), strides[w - 1]) << "width " << w;
    EXPECT_EQ(fb.RowPadding(), paddings[w - 1]) << "width " << w;
    EXPECT_EQ(fb.Size(), strides[w - 1] * 3);
    uint8_t* const* rows = fb.RowTable();
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(rows[y], fb.PixelBits() + y * strides[w - 1]);
      EXPECT_EQ(rows[y][3 * (w - 1)], w - 1);  // blue of the row's last pixel is its x
      EXPECT_EQ(rows[y][3 * (w - 1) + 1], y);
    }
  }
}

TEST(FastBitmap, ConvertsOtherDepthsAndOwnsItsWrites) {
  // 1-bit and 8-bit sources come out as 24-bit pixels of the same colours.
  QImage mono(9, 2, QImage::Format_Mono);
  mono.setColorCount(2);
  mono.setColor(0, qRgb(0, 0, 0));
  mono.setColor(1, qRgb(255, 255, 255));
  mono.fill(1);
  mono.setPixel(3, 1, 0);
  TbsFBitmap fm(mono);
  ASSERT_EQ(fm.Width(), 9);
  EXPECT_EQ(fm.ConstRow(1)[9], 0);
  EXPECT_EQ(fm.ConstRow(1)[12], 255);
  QImage indexed(3, 1, QImage::Format_Indexed8);
  indexed.setColorCount(2);
  indexed.setColor(0, qRgb(10, 20, 30));
  indexed.setColor(1, qRgb(1, 2, 3));
  indexed.setPixel(0, 0, 0);
  indexed.setPixel(1, 0, 1);
  indexed.setPixel(2, 0, 0);
  TbsFBitmap fi(indexed);
  EXPECT_EQ(fi.ConstRow(0)[3], 3);  // blue of (1, 2, 3)
  EXPECT_EQ(fi.ConstRow(0)[5], 1);  // red

  // Writing through the row table never changes the 24-bit source it was made from.
  TBitmap src = PositionPicture(4, 4);
  TbsFBitmap fb(src);
  fb.RowTable()[2][0] = 99;
  EXPECT_EQ(At(src, 0, 2), From(0, 2));
  EXPECT_EQ(fb.ConstRow(2)[0], 99);
}

TEST(Compose, OwnSizeReproducesTheSkinAndCentreFlagIsHonoured) {
  const TBitmap pic = PositionPicture(40, 30);
  const int w = RectWidth(kSkin.S), h = RectHeight(kSkin.S);
  TBitmap dest;
  Compose(kSkin, MapTo(kSkin, w, h), dest, pic, w, h, true);
  ASSERT_EQ(dest.Width(), w);
  ASSERT_EQ(dest.Height(), h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(At(dest, x, y), From(kSkin.S.Left + x, kSkin.S.Top + y)) << x << "," << y;

  // Without the centre the client area keeps what the resized destination held: white.
  TBitmap plain;
  Compose(kSkin, MapTo(kSkin, w, h), plain, pic, w, h, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool centre = x >= kSkin.CR.Left && x < kSkin.CR.Right && y >= kSkin.CR.Top && y < kSkin.CR.Bottom;
      ASSERT_EQ(At(plain, x, y), centre ? kWhite : From(kSkin.S.Left + x, kSkin.S.Top + y)) << x << "," << y;
    }
}

TEST(Compose, EdgesTileWithTheLastTileCut) {
  const TBitmap pic = PositionPicture(40, 30);
  // The top edge's repeatable part is 10 pixels; W = 35 gives it a span of 25: 10, 10 and 5.
  for (int w : {35, 30}) {
    const Mapped m = MapTo(kSkin, w, 16);
    ASSERT_EQ(m.NRT.X - m.NLT.X, w == 35 ? 25 : 20);
    TBitmap dest;
    Compose(kSkin, m, dest, pic, w, 16, true);
    for (int y = 0; y < kSkin.CR.Top; ++y)
      for (int x = m.NLT.X; x < m.NRT.X; ++x)
        ASSERT_EQ(At(dest, x, y), From(kSkin.S.Left + 4 + (x - 4) % 10, kSkin.S.Top + y)) << x << "," << y;
    // The right end follows the last tile unchanged.
    for (int x = m.NRT.X; x < w; ++x)
      EXPECT_EQ(At(dest, x, 0), From(kSkin.S.Left + kSkin.RT.X + (x - m.NRT.X), kSkin.S.Top));
  }
  // Rows of the left edge (7 repeatable rows) and the centre (13 x 9 client) tile the same way.
  const int w = 60, h = 50;
  const Mapped m = MapTo(kSkin, w, h);
  TBitmap dest;
  Compose(kSkin, m, dest, pic, w, h, true);
  for (int y = m.NLT.Y; y < m.NLB.Y; ++y)
    ASSERT_EQ(At(dest, 0, y), From(kSkin.S.Left, kSkin.S.Top + 5 + (y - 5) % 7)) << y;
  for (int y = m.NCR.Top; y < m.NCR.Bottom; ++y)
    for (int x = m.NCR.Left; x < m.NCR.Right; ++x)
      ASSERT_EQ(At(dest, x, y), From(kSkin.S.Left + 3 + (x - 3) % 13, kSkin.S.Top + 4 + (y - 4) % 9)) << x << "," << y;
}

TEST(Compose, DegenerateRepeatablePartsDrawNothingAndStopRules) {
  const TBitmap pic = PositionPicture(40, 30);
  // A top edge without a repeatable part (RT.X = LT.X) leaves the span between the corners.
  Skin k = kSkin;
  k.RT.X = k.LT.X;
  k.CR = TRect(3, 4, 16, 4);  // and a client rectangle of height 0 with the centre flag set
  const Mapped m = MapTo(k, 50, 40);
  TBitmap dest;
  Compose(k, m, dest, pic, 50, 40, true);
  ASSERT_EQ(dest.Width(), 50);
  EXPECT_EQ(At(dest, 20, 0), kWhite);
  // RB.X = LT.X, RB.Y = LT.Y or an empty picture: resized, nothing painted.
  for (int variant = 0; variant < 3; ++variant) {
    Skin s = kSkin;
    TBitmap empty, out;
    if (variant == 0) s.RB.X = s.LT.X;
    if (variant == 1) s.RB.Y = s.LT.Y;
    Compose(s, MapTo(s, 30, 20), out, variant == 2 ? empty : pic, 30, 20, true);
    ASSERT_EQ(out.Width(), 30);
    ASSERT_EQ(out.Height(), 20);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) ASSERT_EQ(At(out, x, y), kWhite);
  }
}

TEST(Compose, PieceCopyStretchesOnlyWhenSizesDiffer) {
  TBitmap pic = PositionPicture(4, 2);
  TBitmap dest(8, 2);
  CopyPiece(dest, TRect(0, 0, 8, 1), pic, TRect(0, 0, 4, 1));  // twice as wide
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(dest, x, 0), From(x / 2, 0));
  CopyPiece(dest, TRect(4, 1, 0, 2), pic, TRect(0, 0, 4, 1));  // mirrored
  for (int x = 0; x < 4; ++x) EXPECT_EQ(At(dest, x, 1), From(3 - x, 0));
  EXPECT_EQ(At(dest, 5, 1), kWhite);
  // Zero-size rectangles draw nothing; parts outside the source are left out.
  TBitmap d2(3, 1);
  CopyPiece(d2, TRect(0, 0, 0, 1), pic, TRect(0, 0, 1, 1));
  CopyPiece(d2, TRect(0, 0, 3, 1), pic, TRect(2, 0, 5, 1));
  EXPECT_EQ(At(d2, 0, 0), From(2, 0));
  EXPECT_EQ(At(d2, 1, 0), From(3, 0));
  EXPECT_EQ(At(d2, 2, 0), kWhite);
  // A corner whose new size differs from the skin's is stretched: NLT.X twice LT.X.
  TBitmap big = PositionPicture(40, 30);
  Mapped m = MapTo(kSkin, 40, 30);
  m.NLT.X = 8;
  TBitmap out;
  Compose(kSkin, m, out, big, 40, 30, true);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(out, x, 0), From(kSkin.S.Left + x / 2, kSkin.S.Top));
}

TEST(Compose, StripsKeepTheirEndsAndTileTheMiddle) {
  const TBitmap pic = PositionPicture(40, 30);
  const TRect S(2, 1, 14, 5);  // 12 x 4: left end 3, right end 2, middle 7
  TBitmap h;
  ComposeStripH(3, 2, h, pic, S, 30, 999);
  ASSERT_EQ(h.Width(), 30);
  ASSERT_EQ(h.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 30; ++x) {
      const int sx = x < 3 ? 2 + x : x >= 28 ? 12 + (x - 28) : 5 + (x - 3) % 7;
      ASSERT_EQ(At(h, x, y), From(sx, 1 + y)) << x << "," << y;
    }
  // A middle part of width 0 draws nothing between the ends.
  TBitmap h0;
  ComposeStripH(6, 6, h0, pic, S, 20, 0);
  EXPECT_EQ(At(h0, 10, 0), kWhite);
  EXPECT_EQ(At(h0, 19, 0), From(13, 1));

  TBitmap v;
  ComposeStripV(1, 2, v, pic, TRect(2, 1, 14, 9), 999, 11);  // middle rows 2..7 of the picture
  ASSERT_EQ(v.Width(), 12);
  ASSERT_EQ(v.Height(), 11);
  for (int y = 0; y < 11; ++y) {
    const int sy = y < 1 ? 1 : y >= 9 ? 7 + (y - 9) : 2 + (y - 1) % 5;
    ASSERT_EQ(At(v, 5, y), From(7, sy)) << y;
  }
}

TEST(Compose, BorderImagesOfAFrame) {
  // A 30 x 20 frame picture: top border 5, bottom border 4, left 3, right 2.
  const TBitmap pic = PositionPicture(30, 20);
  const TRect S(0, 0, 30, 20), CR(3, 5, 28, 16);
  const TPoint LT(6, 7), RT(20, 7), LB(6, 13), RB(20, 13);
  const int W = 70, H = 50;
  const TPoint NLT = LT, NRT(RT.X + 40, RT.Y), NLB(LB.X, LB.Y + 30), NRB(RB.X + 40, RB.Y + 30);
  const TRect NCR(3, 5, 68, 46);
  TBitmap left, top, right, bottom;
  ComposeBorderImages(LT, RT, LB, RB, CR, NLT, NRT, NLB, NRB, NCR, left, top, right, bottom, pic, S, W, H);
  ASSERT_EQ(top.Width(), 70);
  ASSERT_EQ(top.Height(), 5);
  ASSERT_EQ(bottom.Height(), 4);
  ASSERT_EQ(left.Width(), 3);
  ASSERT_EQ(left.Height(), 41);
  ASSERT_EQ(right.Width(), 2);
  ASSERT_EQ(right.Height(), 41);
  // Top: tiles of columns 6..20 from 0, then the fixed ends.
  for (int x = 0; x < W; ++x) {
    const int sx = x < 6 ? x : x >= 60 ? 20 + (x - 60) : 6 + x % 14;
    ASSERT_EQ(At(top, x, 2), From(sx, 2)) << x;
  }
  EXPECT_EQ(At(bottom, 65, 3), From(25, 19));
  EXPECT_EQ(At(bottom, 30, 0), From(6 + 30 % 14, 16));
  // Left: rows 7..13 tiled from 0, the fixed top part (rows 5..7) at the top and the fixed
  // bottom part (rows 13..16) at the bottom.
  EXPECT_EQ(At(left, 1, 0), From(1, 5));
  EXPECT_EQ(At(left, 1, 1), From(1, 6));
  EXPECT_EQ(At(left, 1, 2), From(1, 7 + 2 % 6));
  EXPECT_EQ(At(left, 1, 20), From(1, 7 + 20 % 6));
  EXPECT_EQ(At(left, 1, 38), From(1, 13));
  EXPECT_EQ(At(left, 1, 40), From(1, 15));
  EXPECT_EQ(At(right, 1, 40), From(29, 15));
  EXPECT_EQ(At(right, 0, 20), From(28, 7 + 20 % 6));

  // A piece whose conditions fail is left as it was.
  TBitmap l2(1, 1), t2(1, 1), r2(1, 1), b2(1, 1);
  ComposeBorderImages(LT, LT, LB, LB, CR, NLT, NLT, NLB, NLB, NCR, l2, t2, r2, b2, pic, S, W, H);
  EXPECT_EQ(t2.Width(), 1);
  EXPECT_EQ(b2.Width(), 1);
  EXPECT_EQ(l2.Height(), H - 2);  // the side pieces span what the unmade pieces leave
}

TEST(Compose, SliceBorderImagesCutsAWholePicture) {
  const TBitmap pic = PositionPicture(20, 14);
  const TRect A(2, 3, 17, 11);  // left 2, top 3, right 3, bottom 3
  const TPoint LT(5, 4), RT(12, 4), LB(5, 9), RB(12, 9);
  const int W = 40;
  const TRect NA(2, 3, 37, 25);  // 22 rows tall
  const TPoint NLT = LT, NRT(32, 4), NLB(5, 23), NRB(32, 23);
  TBitmap top, left, right, bottom;
  SliceBorderImages(LT, RT, LB, RB, A, NLT, NRT, NLB, NRB, NA, pic, top, left, right, bottom, W, 0);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 22);
  ASSERT_EQ(right.Width(), 3);
  ASSERT_EQ(top.Height(), 3);
  ASSERT_EQ(top.Width(), 40);
  ASSERT_EQ(bottom.Height(), 3);
  EXPECT_EQ(At(left, 0, 0), From(0, 3));            // fixed top part: rows 3..4
  EXPECT_EQ(At(left, 0, 10), From(0, 4 + 10 % 5));  // tiled rows 4..9 from 0
  EXPECT_EQ(At(left, 1, 21), From(1, 10));          // fixed bottom part: rows 9..11
  EXPECT_EQ(At(right, 2, 10), From(19, 4 + 10 % 5));
  for (int x = 0; x < W; ++x) {
    const int sx = x < 5 ? x : x >= 32 ? 12 + (x - 32) : 5 + (x - 5) % 7;
    ASSERT_EQ(At(top, x, 1), From(sx, 1)) << x;
    ASSERT_EQ(At(bottom, x, 2), From(sx, 13)) << x;
  }
}

namespace {

// A plain model of the composition: every tile and piece copied pixel by pixel, exactly in
// the documented order, for geometry where source and destination pieces have equal sizes.
struct Model {
  int w, h;
  std::vector<Px> px;
  Model(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(std::max(0, w_ * h_)), kWhite) {}
  void Piece(const TBitmap& src, TRect d, TRect s) {
    if (RectWidth(d) == 0 || RectHeight(d) == 0 || RectWidth(s) == 0 || RectHeight(s) == 0) return;
    if (RectWidth(d) < 0) std::swap(d.Left, d.Right), std::swap(s.Left, s.Right);
    if (RectHeight(d) < 0) std::swap(d.Top, d.Bottom), std::swap(s.Top, s.Bottom);
    for (int j = 0; j < RectHeight(d); ++j)
      for (int i = 0; i < RectWidth(d); ++i) {
        const int dx = d.Left + i, dy = d.Top + j, sx = s.Left + i, sy = s.Top + j;
        if (dx < 0 || dy < 0 || dx >= w || dy >= h || sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height())
          continue;
        px[static_cast<size_t>(dy * w + dx)] = At(src, sx, sy);
      }
  }
  void TileX(const TBitmap& src, int a, int b, int p, int q, int dt, int db, int st, int sb) {
    const int d = b - a;
    if (d <= 0 || q <= p) return;
    for (int k = 0; k <= (q - p) / d; ++k) {
      const int x = p + k * d, n = std::min(d, q - x);
      Piece(src, TRect(x, dt, x + n, db), TRect(a, st, a + n, sb));
    }
  }
  void TileY(const TBitmap& src, int a, int b, int p, int q, int dl, int dr, int sl, int sr) {
    const int d = b - a;
    if (d <= 0 || q <= p) return;
    for (int k = 0; k <= (q - p) / d; ++k) {
      const int y = p + k * d, n = std::min(d, q - y);
      Piece(src, TRect(dl, y, dr, y + n), TRect(sl, a, sr, a + n));
    }
  }
};

Model ComposeModel(const Skin& k, const Mapped& m, const TBitmap& pic, int W, int H, bool centre) {
  Model o(W, H);
  const TPoint &LT = k.LT, &RT = k.RT, &LB = k.LB, &RB = k.RB;
  const TRect &CR = k.CR, &NCR = m.NCR;
  const int SL = k.S.Left, ST = k.S.Top, SR = k.S.Right, SB = k.S.Bottom;
  if (RB.X == LT.X || RB.Y == LT.Y) return o;
  o.TileX(pic, SL + LT.X, SL + RT.X, m.NLT.X, m.NRT.X, 0, NCR.Top, ST, ST + CR.Top);
  o.TileX(pic, SL + LB.X, SL + RB.X, m.NLB.X, m.NRB.X, NCR.Bottom, H, ST + CR.Bottom, SB);
  o.TileY(pic, ST + LT.Y, ST + LB.Y, m.NLT.Y, m.NLB.Y, 0, NCR.Left, SL, SL + NCR.Left);
  o.TileY(pic, ST + RT.Y, ST + RB.Y, m.NRT.Y, m.NRB.Y, NCR.Right, W, SL + CR.Right, SR);
  o.Piece(pic, TRect(0, 0, m.NLT.X, NCR.Top), TRect(SL, ST, SL + LT.X, ST + CR.Top));
  o.Piece(pic, TRect(0, NCR.Top, NCR.Left, m.NLT.Y), TRect(SL, ST + CR.Top, SL + CR.Left, ST + LT.Y));
  o.Piece(pic, TRect(m.NRT.X, 0, W, NCR.Top), TRect(SL + RT.X, ST, SR, ST + CR.Top));
  o.Piece(pic, TRect(NCR.Right, NCR.Top, W, m.NRT.Y), TRect(SL + CR.Right, ST + CR.Top, SR, ST + RT.Y));
  o.Piece(pic, TRect(0, m.NLB.Y, NCR.Left, H), TRect(SL, ST + LB.Y, SL + CR.Left, SB));
  o.Piece(pic, TRect(NCR.Left, NCR.Bottom, m.NLB.X, H), TRect(SL + CR.Left, ST + CR.Bottom, SL + LB.X, SB));
  o.Piece(pic, TRect(m.NRB.X, NCR.Bottom, W, H), TRect(SL + RB.X, ST + CR.Bottom, SR, SB));
  o.Piece(pic, TRect(NCR.Right, m.NRB.Y, W, NCR.Bottom), TRect(SL + CR.Right, ST + RB.Y, SR, ST + CR.Bottom));
  const int cw = RectWidth(CR), ch = RectHeight(CR), ncw = RectWidth(NCR), nch = RectHeight(NCR);
  if (centre && cw > 0 && ch > 0 && ncw >= 0 && nch >= 0)
    for (int i = 0; i <= ncw / cw; ++i)
      for (int j = 0; j <= nch / ch; ++j) {
        const int x = NCR.Left + i * cw, y = NCR.Top + j * ch;
        const int tw = std::min(cw, NCR.Right - x), th = std::min(ch, NCR.Bottom - y);
        o.Piece(pic, TRect(x, y, x + tw, y + th),
                TRect(SL + CR.Left, ST + CR.Top, SL + CR.Left + tw, ST + CR.Top + th));
      }
  return o;
}

}  // namespace

TEST(Compose, MatchesThePlainModelForRandomSkins) {
  std::mt19937 rng(20261209);
  auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const TBitmap pic = PositionPicture(48, 40);
  for (int trial = 0; trial < 400; ++trial) {
    Skin k;
    const int sw = rnd(1, 24), sh = rnd(1, 24);
    k.S = Bounds(rnd(-4, 30), rnd(-4, 24), sw, sh);  // may reach past the picture
    const int x1 = rnd(0, sw), x2 = rnd(x1, sw), y1 = rnd(0, sh), y2 = rnd(y1, sh);
    k.LT = TPoint(x1, y1);
    k.RT = TPoint(rnd(0, 1) ? x2 : rnd(x1, sw), rnd(0, sh));
    k.LB = TPoint(rnd(0, sw), y2);
    k.RB = TPoint(rnd(0, sw), rnd(0, sh));
    const int cl = rnd(0, sw), ct = rnd(0, sh);
    k.CR = TRect(cl, ct, rnd(cl, sw), rnd(ct, sh));
    const int W = rnd(0, 70), H = rnd(0, 60);
    const bool centre = rnd(0, 1) == 1;
    const Mapped m = MapTo(k, W, H);
    TBitmap dest;
    Compose(k, m, dest, pic, W, H, centre);
    const Model model = ComposeModel(k, m, pic, W, H, centre);
    ASSERT_EQ(dest.Width(), H > 0 ? W : 0);
    ASSERT_EQ(dest.Height(), W > 0 ? H : 0);
    for (int y = 0; y < dest.Height(); ++y)
      for (int x = 0; x < dest.Width(); ++x)
        ASSERT_EQ(At(dest, x, y), model.px[static_cast<size_t>(y * W + x)])
            << "trial " << trial << " at " << x << "," << y;
  }
}

TEST(Compose, ArbitraryGeometryNeverFailsAndOnlyCopiesPicturePixels) {
  // Random points and rectangles, including reversed, negative and far-off values: every
  // routine keeps to its images (the sanitizer build checks the memory) and every painted
  // pixel is a picture pixel.
  std::mt19937 rng(7);
  auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto any = [&]() { return rnd(0, 9) == 0 ? rnd(INT32_MIN, INT32_MAX) : rnd(-30, 60); };
  auto pt = [&]() { return TPoint(any(), any()); };
  auto rc = [&]() { return TRect(any(), any(), any(), any()); };
  const TBitmap pic = PositionPicture(30, 25);
  auto fromPicture = [](const TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const Px p = At(b, x, y);
        if (p == kWhite) continue;
        if (p.r != kMark || p.b >= 30 || p.g >= 25) return false;
      }
    return true;
  };
  int tooLarge = 0;
  for (int trial = 0; trial < 400; ++trial) try {
      const int W = rnd(-3, 50), H = rnd(-3, 50);
      TBitmap d;
      ComposeSkinImage(pt(), pt(), pt(), pt(), rc(), pt(), pt(), pt(), pt(), rc(), d, pic, rc(), W, H, rnd(0, 1));
      EXPECT_EQ(d.Width(), W > 0 && H > 0 ? W : 0);
      ASSERT_TRUE(fromPicture(d)) << trial;
      TBitmap sh, sv;
      ComposeStripH(any(), any(), sh, pic, rc(), W, H);
      ComposeStripV(any(), any(), sv, pic, rc(), W, H);
      ASSERT_TRUE(fromPicture(sh) && fromPicture(sv)) << trial;
      TBitmap l, t, r, b;
      ComposeBorderImages(pt(), pt(), pt(), pt(), rc(), pt(), pt(), pt(), pt(), rc(), l, t, r, b, pic, rc(), W, H);
      ASSERT_TRUE(fromPicture(l) && fromPicture(t) && fromPicture(r) && fromPicture(b)) << trial;
      TBitmap l2, t2, r2, b2;
      SliceBorderImages(pt(), pt(), pt(), pt(), rc(), pt(), pt(), pt(), pt(), rc(), pic, t2, l2, r2, b2, W, H);
      ASSERT_TRUE(fromPicture(l2) && fromPicture(t2) && fromPicture(r2) && fromPicture(b2)) << trial;
    } catch (const EOutOfResources&) {
      ++tooLarge;  // a piece sized from far-off values
    }
  EXPECT_LT(tooLarge, 300);
}

namespace {

QImage AsRgb32(const TBitmap& b) { return b.Empty() ? QImage() : b.Image().convertToFormat(QImage::Format_RGB32); }

// A frame's pieces from a 32-bit copy of the picture are 32-bit and show exactly the pixels
// of the 24-bit pieces, for any geometry, also when the pieces are reused from an earlier
// frame of another size and geometry (pieces the source does not cover start white).
TEST(Compose, BorderImagesFromA32BitSourceMatchThe24BitOnes) {
  std::mt19937 rng(20261209);
  auto r = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TBitmap l24, t24, r24, b24, l32, t32, r32, b32;
  for (int i = 0; i < 400; ++i) {
    const int pw = r(1, 40), ph = r(1, 40);
    const TBitmap pic24 = PositionPicture(pw, ph);
    TBitmap pic32 = pic24;
    pic32.SetPixelFormat(TPixelFormat::pf32bit);
    ASSERT_EQ(pic32.Image().format(), QImage::Format_RGB32);
    // Mostly sensible frames, sometimes points and rectangles beyond the picture.
    const int slack = i % 4 == 0 ? 8 : 0;
    const TRect S(r(-slack, 2), r(-slack, 2), pw - r(-slack, 2), ph - r(-slack, 2));
    const TRect CR(r(0, pw / 2), r(0, ph / 2), r(pw / 2, pw + slack), r(ph / 2, ph + slack));
    const TPoint LT(r(0, pw / 2), r(0, ph / 2)), RT(r(pw / 2, pw + slack), LT.Y);
    const TPoint LB(LT.X, r(ph / 2, ph + slack)), RB(RT.X, LB.Y);
    const int W = r(1, 90), H = r(1, 90), dx = W - RectWidth(S), dy = H - RectHeight(S);
    const TPoint NRT(RT.X + dx, RT.Y), NLB(LB.X, LB.Y + dy), NRB(RB.X + dx, RB.Y + dy);
    const TRect NCR(CR.Left, CR.Top, CR.Right + dx, CR.Bottom + dy);
    ComposeBorderImages(LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, l24, t24, r24, b24, pic24, S, W, H);
    ComposeBorderImages(LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, l32, t32, r32, b32, pic32, S, W, H);
    // Fresh pieces of the same frame: the reused ones must show nothing of their past (when
    // the top and bottom are made; else the sides take the height the old ones leave).
    TBitmap lf, tf, rf, bf;
    ComposeBorderImages(LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, lf, tf, rf, bf, pic32, S, W, H);
    const std::pair<const TBitmap*, const TBitmap*> fresh[] = {{&lf, &l32}, {&tf, &t32}, {&rf, &r32}, {&bf, &b32}};
    for (const auto& [f, reused] : fresh)
      if (!f->Empty() && !tf.Empty() && !bf.Empty())
        ASSERT_EQ(AsRgb32(*reused), AsRgb32(*f)) << "reused piece, case " << i;
    const std::pair<const TBitmap*, const TBitmap*> pieces[] = {{&l24, &l32}, {&t24, &t32}, {&r24, &r32}, {&b24, &b32}};
    for (const auto& [p24, p32] : pieces) {
      ASSERT_EQ(p24->Empty(), p32->Empty()) << i;
      if (p32->Empty()) continue;
      ASSERT_EQ(p32->Image().format(), QImage::Format_RGB32) << i;
      ASSERT_EQ(AsRgb32(*p32), AsRgb32(*p24)) << "case " << i << ": " << W << "x" << H << " from " << pw << "x" << ph;
    }
  }
}

// Whole element images and strips from a 32-bit picture are 32-bit and show exactly the pixels
// of the ones from the 24-bit picture (menu windows compose this way for their surface).
TEST(Compose, SkinImagesAndStripsFromA32BitSourceMatchThe24BitOnes) {
  std::mt19937 rng(20261210);
  auto r = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 300; ++i) {
    const int pw = r(1, 40), ph = r(1, 40);
    const TBitmap pic24 = PositionPicture(pw, ph);
    TBitmap pic32 = pic24;
    pic32.SetPixelFormat(TPixelFormat::pf32bit);
    const TRect S(r(0, 2), r(0, 2), pw - r(0, 2), ph - r(0, 2));
    const TRect CR(r(0, pw / 2), r(0, ph / 2), r(pw / 2, pw), r(ph / 2, ph));
    const TPoint LT(r(0, pw / 2), r(0, ph / 2)), RT(r(pw / 2, pw), LT.Y);
    const TPoint LB(LT.X, r(ph / 2, ph)), RB(RT.X, LB.Y);
    const int W = r(1, 90), H = r(1, 90), dx = W - RectWidth(S), dy = H - RectHeight(S);
    const TPoint NRT(RT.X + dx, RT.Y), NLB(LB.X, LB.Y + dy), NRB(RB.X + dx, RB.Y + dy);
    const TRect NCR(CR.Left, CR.Top, CR.Right + dx, CR.Bottom + dy);
    const bool centre = i % 2 == 0;
    TBitmap a24, a32, s24, s32;
    ComposeSkinImage(LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, a24, pic24, S, W, H, centre);
    ComposeSkinImage(LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, a32, pic32, S, W, H, centre);
    ASSERT_EQ(a32.Image().format(), QImage::Format_RGB32) << i;
    ASSERT_EQ(AsRgb32(a32), AsRgb32(a24)) << "image, case " << i;
    const int half = std::max(0, RectWidth(S) / 2);
    const int left = r(0, half), right = r(0, half);
    ComposeStripH(left, right, s24, pic24, S, W, 0);
    ComposeStripH(left, right, s32, pic32, S, W, 0);
    ASSERT_EQ(s24.Empty(), s32.Empty()) << i;
    if (!s32.Empty()) ASSERT_EQ(AsRgb32(s32), AsRgb32(s24)) << "strip, case " << i;
    const int halfH = std::max(0, RectHeight(S) / 2);
    const int top = r(0, halfH), bottom = r(0, halfH);
    TBitmap v24, v32;
    ComposeStripV(top, bottom, v24, pic24, S, 0, H);
    ComposeStripV(top, bottom, v32, pic32, S, 0, H);
    ASSERT_EQ(v24.Empty(), v32.Empty()) << i;
    if (!v32.Empty()) {
      ASSERT_EQ(v32.Image().format(), QImage::Format_RGB32) << i;
      ASSERT_EQ(AsRgb32(v32), AsRgb32(v24)) << "vertical strip, case " << i;
    }
    // A piece copied onto a 32-bit target keeps it 32-bit, from either picture, and shows the
    // pixels a 24-bit target gets.
    const TRect src(r(-3, pw), r(-3, ph), r(-3, pw + 3), r(-3, ph + 3));
    const TRect dst(r(-3, W), r(-3, H), r(-3, W + 3), r(-3, H + 3));
    TBitmap t24(W, H), t32(W, H, TPixelFormat::pf32bit), u32(W, H, TPixelFormat::pf32bit);
    CopyPiece(t24, dst, pic24, src);
    CopyPiece(t32, dst, pic24, src);
    CopyPiece(u32, dst, pic32, src);
    ASSERT_EQ(t32.Image().format(), QImage::Format_RGB32) << i;
    ASSERT_EQ(AsRgb32(t32), AsRgb32(t24)) << "piece, case " << i;
    ASSERT_EQ(AsRgb32(u32), AsRgb32(t24)) << "piece from 32 bits, case " << i;
  }
}

}  // namespace
