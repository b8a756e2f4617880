// Composition of element images from skin pieces: piece copy (plain or stretched), tiling
// along one axis, and the compose/slice routines built from them.
//
// All geometry is widened to 64 bits before any sum, so that odd skin values can never
// overflow; every copy is clipped to both images, so nothing is read or written outside them.
// Work is bounded by the destination size: tiles that lie outside it are not visited.
#include <QImage>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Bitmap.h"
#include "skin/draw/bsUtils.h"

namespace {

using i64 = int64_t;

struct Box {
  i64 l, t, r, b;
  i64 w() const { return r - l; }
  i64 h() const { return b - t; }
};

Box B(const TRect& r) { return Box{r.Left, r.Top, r.Right, r.Bottom}; }

// Pixel memory of a 24- or 32-bit image, for direct row access. A copy always goes between
// images of one depth, so pixels move as whole byte groups.
struct Pixels {
  uint8_t* bits = nullptr;
  const uint8_t* cbits = nullptr;
  i64 stride = 0, w = 0, h = 0;
  i64 bpp = 3;  // bytes per pixel
  uint8_t* Row(i64 y) const { return bits + y * stride; }
  const uint8_t* CRow(i64 y) const { return cbits + y * stride; }
};

Pixels Writable(QImage& img) {
  Pixels p;
  if (img.isNull()) return p;
  p.bits = img.bits();  // detaches a shared image
  p.cbits = p.bits;
  p.stride = img.bytesPerLine();
  p.w = img.width();
  p.h = img.height();
  p.bpp = img.depth() / 8;
  return p;
}

Pixels Readable(const QImage& img) {
  Pixels p;
  if (img.isNull()) return p;
  p.cbits = img.constBits();
  p.stride = img.bytesPerLine();
  p.w = img.width();
  p.h = img.height();
  p.bpp = img.depth() / 8;
  return p;
}

// The destination's 24-bit (or, when it is one already, 32-bit) image, ready for writing (any
// painter of its canvas is ended).
QImage& Surface(TBitmap& b) {
  if (b.PixelFormat() != TPixelFormat::pf24bit && b.PixelFormat() != TPixelFormat::pf32bit)
    b.SetPixelFormat(TPixelFormat::pf24bit);
  if (!b.Empty()) b.ScanLine(0);
  return b.Image();
}

// Sizes from skin values can be anything; a piece beyond these bounds is a broken skin.
constexpr i64 kMaxSide = 32767;
constexpr i64 kMaxPixels = i64{1} << 27;

// The resized image starts white all over unless the caller covers every pixel (`covered`).
void Resize(TBitmap& b, i64 w, i64 h, TPixelFormat pf = TPixelFormat::pf24bit, bool covered = false) {
  w = std::max<i64>(w, 0);
  h = std::max<i64>(h, 0);
  if (w > kMaxSide || h > kMaxSide || w * h > kMaxPixels)
    throw EOutOfResources(QStringLiteral("Bitmap of %1 x %2 pixels is too large").arg(w).arg(h));
  if (b.PixelFormat() != pf) b.SetPixelFormat(pf);
  if (w != b.Width() || h != b.Height() || b.Image().isNull()) {
    // A new size gets new pixels: none of the old ones is kept, so none is copied or cleared
    // first (the white below, or the caller, covers them).
    b.Clear();
    if (w > 0 && h > 0) {
      QImage img(static_cast<int>(w), static_cast<int>(h), ImageFormatFor(pf));
      if (img.isNull())
        throw EOutOfResources(QStringLiteral("Not enough storage is available to create a %1 x %2 bitmap").arg(w).arg(h));
      b.Image() = std::move(img);
    }
  }
  if (b.Empty()) return;
  b.ScanLine(0);  // the bitmap's canvas, if any, draws on the new image
  // White all over, also when the size stays: what the source does not cover never shows an older image.
  if (!covered) std::memset(b.ScanLine(0), 0xFF, static_cast<size_t>(b.Image().sizeInBytes()));
}

// Copies n bytes; spans below 16 bytes (the narrow frame sides) are moved inline, as two
// overlapping fixed-size moves, instead of through a library call per row.
inline void CopySpan(uint8_t* d, const uint8_t* s, size_t n) {
  if (n >= 16) {
    memcpy(d, s, n);
  } else if (n >= 8) {
    uint64_t a, b;
    memcpy(&a, s, 8);
    memcpy(&b, s + n - 8, 8);
    memcpy(d, &a, 8);
    memcpy(d + n - 8, &b, 8);
  } else if (n >= 4) {
    uint32_t a, b;
    memcpy(&a, s, 4);
    memcpy(&b, s + n - 4, 4);
    memcpy(d, &a, 4);
    memcpy(d + n - 4, &b, 4);
  } else {
    for (size_t i = 0; i < n; ++i) d[i] = s[i];
  }
}

// Same-size copy of w x h pixels from (sx, sy) to (dx, dy), clipped to both images.
void Blit(const Pixels& d, i64 dx, i64 dy, const Pixels& s, i64 sx, i64 sy, i64 w, i64 h) {
  if (!d.bits || !s.cbits || w <= 0 || h <= 0 || d.bpp != s.bpp) return;
  if (sx < 0) {
    dx -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0) {
    dy -= sy;
    h += sy;
    sy = 0;
  }
  if (dx < 0) {
    sx -= dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    h += dy;
    dy = 0;
  }
  w = std::min({w, s.w - sx, d.w - dx});
  h = std::min({h, s.h - sy, d.h - dy});
  if (w <= 0 || h <= 0) return;
  const i64 n = d.bpp;
  const size_t bytes = static_cast<size_t>(n * w);
  for (i64 y = 0; y < h; ++y) memmove(d.Row(dy + y) + n * dx, s.CRow(sy + y) + n * sx, bytes);
}

// Index of the source pixel that destination pixel i (of n) samples, for a source of m pixels.
i64 Sample(i64 i, i64 n, i64 m, bool mirror) {
  const i64 j = static_cast<i64>((static_cast<__int128>(2 * i + 1) * m) / (2 * static_cast<__int128>(n)));
  return mirror ? m - 1 - j : j;
}

// Nearest-neighbour stretch of the normalized source box onto the normalized destination box,
// mirrored along an axis when asked. Only visible destination pixels are computed.
void Stretch(const Pixels& d, const Box& dst, const Pixels& s, const Box& src, bool mirrorX, bool mirrorY) {
  const i64 x0 = std::max<i64>(dst.l, 0), x1 = std::min(dst.r, d.w);
  const i64 y0 = std::max<i64>(dst.t, 0), y1 = std::min(dst.b, d.h);
  if (x0 >= x1 || y0 >= y1 || d.bpp != s.bpp) return;
  const i64 n = d.bpp;
  std::vector<i64> cols(static_cast<size_t>(x1 - x0));
  for (i64 x = x0; x < x1; ++x) {
    const i64 sx = src.l + Sample(x - dst.l, dst.w(), src.w(), mirrorX);
    cols[static_cast<size_t>(x - x0)] = (sx >= 0 && sx < s.w) ? sx : -1;
  }
  for (i64 y = y0; y < y1; ++y) {
    const i64 sy = src.t + Sample(y - dst.t, dst.h(), src.h(), mirrorY);
    if (sy < 0 || sy >= s.h) continue;
    uint8_t* drow = d.Row(y);
    const uint8_t* srow = s.CRow(sy);
    for (i64 x = x0; x < x1; ++x) {
      const i64 sx = cols[static_cast<size_t>(x - x0)];
      if (sx >= 0) memcpy(drow + n * x, srow + n * sx, static_cast<size_t>(n));
    }
  }
}

// The platform's stretching copy: a plain copy when the sizes agree (both mirrored counts as
// agreeing), a stretch otherwise; nothing for a width or height of 0.
void Piece(const Pixels& d, Box dst, const Pixels& s, Box src) {
  if (dst.w() == 0 || dst.h() == 0 || src.w() == 0 || src.h() == 0) return;
  const bool mirrorX = (dst.w() < 0) != (src.w() < 0);
  const bool mirrorY = (dst.h() < 0) != (src.h() < 0);
  if (dst.w() < 0) std::swap(dst.l, dst.r);
  if (dst.h() < 0) std::swap(dst.t, dst.b);
  if (src.w() < 0) std::swap(src.l, src.r);
  if (src.h() < 0) std::swap(src.t, src.b);
  if (!mirrorX && !mirrorY && dst.w() == src.w() && dst.h() == src.h())
    Blit(d, dst.l, dst.t, s, src.l, src.t, src.w(), src.h());
  else
    Stretch(d, dst, s, src, mirrorX, mirrorY);
}

// Tiles source columns [a, a + len) of one row along destination columns [p, q) of one row:
// tile k starts at p + k * len, the last one cut at q. Only pixels inside both rows are drawn.
// Only columns [from, to) are written (the tiles keep their places).
void TileRow(uint8_t* drow, i64 dw, i64 p, i64 q, const uint8_t* srow, i64 sw, i64 a, i64 len, i64 bpp, i64 from = 0,
             i64 to = INT64_MAX) {
  const i64 x0 = std::max({p, i64{0}, from}), x1 = std::min({q, dw, to});
  if (len <= 0 || x0 >= x1) return;
  if (a >= 0 && a + len <= sw) {
    // One period from the source, then the filled span doubles onto the rest of the row.
    const i64 phase = (x0 - p) % len;
    const i64 n = std::min(len, x1 - x0);
    const i64 first = std::min(n, len - phase);
    memcpy(drow + bpp * x0, srow + bpp * (a + phase), static_cast<size_t>(bpp * first));
    if (n > first) memcpy(drow + bpp * (x0 + first), srow + bpp * a, static_cast<size_t>(bpp * (n - first)));
    for (i64 filled = n; filled < x1 - x0;) {
      const i64 m = std::min(filled, x1 - x0 - filled);
      memcpy(drow + bpp * (x0 + filled), drow + bpp * x0, static_cast<size_t>(bpp * m));
      filled += m;
    }
    return;
  }
  // The segment lies partly outside the source: each tile gets only its inside part.
  const i64 va = std::max<i64>(a, 0), vb = std::min(a + len, sw);
  if (va >= vb) return;
  for (i64 k = (x0 - p) / len; p + k * len < x1; ++k) {
    const i64 t = p + k * len;
    const i64 from = std::max(t + (va - a), x0), to = std::min({t + (vb - a), t + len, x1});
    if (from < to) memcpy(drow + bpp * from, srow + bpp * (a + (from - t)), static_cast<size_t>(bpp * (to - from)));
  }
}

// Tiles the source columns [a, b) (rows [st, sb)) along destination columns [p, q) into
// destination rows [dt, db). Tiles keep their width; a row extent that differs between source
// and destination is stretched per tile.
// `from` and `to` limit the columns written when source and destination rows agree.
void TileX(const Pixels& d, i64 p, i64 q, i64 dt, i64 db, const Pixels& s, i64 a, i64 b, i64 st, i64 sb, i64 from = 0,
           i64 to = INT64_MAX) {
  const i64 len = b - a;
  if (!d.bits || !s.cbits || len <= 0 || q <= p || db == dt || sb == st || d.bpp != s.bpp) return;
  if (db - dt == sb - st) {
    if (db < dt) {
      std::swap(dt, db);
      std::swap(st, sb);
    }
    for (i64 y = std::max<i64>(dt, 0); y < std::min(db, d.h); ++y) {
      const i64 sy = st + (y - dt);
      if (sy >= 0 && sy < s.h) TileRow(d.Row(y), d.w, p, q, s.CRow(sy), s.w, a, len, d.bpp, from, to);
    }
    return;
  }
  for (i64 k = std::max<i64>(0, (0 - p) / len); p + k * len < std::min(q, d.w); ++k) {
    const i64 x = p + k * len, n = std::min(len, q - x);
    Piece(d, Box{x, dt, x + n, db}, s, Box{a, st, a + n, sb});
  }
}

// Tiles the source rows [a, b) (columns [sl, sr)) along destination rows [p, q) into destination
// columns [dl, dr); the column counterpart of TileX.
void TileY(const Pixels& d, i64 p, i64 q, i64 dl, i64 dr, const Pixels& s, i64 a, i64 b, i64 sl, i64 sr) {
  const i64 len = b - a;
  if (!d.bits || !s.cbits || len <= 0 || q <= p || dr == dl || sr == sl || d.bpp != s.bpp) return;
  if (dr - dl == sr - sl) {
    if (dr < dl) {
      std::swap(dl, dr);
      std::swap(sl, sr);
    }
    // Clip the columns once; then each row is one span copy.
    i64 w = dr - dl;
    if (sl < 0) {
      dl -= sl;
      w += sl;
      sl = 0;
    }
    if (dl < 0) {
      sl -= dl;
      w += dl;
      dl = 0;
    }
    w = std::min({w, s.w - sl, d.w - dl});
    const i64 y0 = std::max<i64>(p, 0), y1 = std::min(q, d.h);
    if (w <= 0 || y0 >= y1) return;
    const size_t bytes = static_cast<size_t>(d.bpp * w);
    i64 sy = a + (y0 - p) % len;
    // Spans that cover whole destination rows (a frame's side pieces) make the rows one block:
    // after one period of rows, the filled block doubles onto the rest.
    const bool block = dl == 0 && w == d.w && a >= 0 && b <= s.h && y1 - y0 > len;
    const i64 rows = block ? len : y1 - y0;
    for (i64 y = y0; y < y0 + rows; ++y) {
      if (sy >= 0 && sy < s.h) CopySpan(d.Row(y) + d.bpp * dl, s.CRow(sy) + d.bpp * sl, bytes);
      if (++sy == b) sy = a;
    }
    if (block) {
      uint8_t* base = d.Row(y0);
      const i64 total = (y1 - y0) * d.stride;
      for (i64 filled = len * d.stride; filled < total;) {
        const i64 m = std::min(filled, total - filled);
        memcpy(base + filled, base, static_cast<size_t>(m));
        filled += m;
      }
    }
    return;
  }
  for (i64 k = std::max<i64>(0, (0 - p) / len); p + k * len < std::min(q, d.h); ++k) {
    const i64 y = p + k * len, n = std::min(len, q - y);
    Piece(d, Box{dl, y, dr, y + n}, s, Box{sl, a, sr, a + n});
  }
}

// Tiles the source box over the destination box in both directions, tiles cut at its right and
// bottom.
void TileXY(const Pixels& d, const Box& dst, const Pixels& s, const Box& src) {
  if (!d.bits || !s.cbits || dst.w() <= 0 || dst.h() <= 0 || src.w() <= 0 || src.h() <= 0 || d.bpp != s.bpp) return;
  const i64 y0 = std::max<i64>(dst.t, 0), y1 = std::min(dst.b, d.h);
  if (y0 >= y1) return;
  i64 sy = src.t + (y0 - dst.t) % src.h();
  for (i64 y = y0; y < y1; ++y) {
    if (sy >= 0 && sy < s.h) TileRow(d.Row(y), d.w, dst.l, dst.r, s.CRow(sy), s.w, src.l, src.w(), d.bpp);
    if (++sy == src.b) sy = src.t;
  }
}

}  // namespace

void CopyPiece(TBitmap& target, const TRect& dest, const TBitmap& source, const TRect& src) {
  // The source in the target's depth; shared, so target may be source.
  const bool wide = target.PixelFormat() == TPixelFormat::pf32bit;
  const QImage simg = !wide                                          ? To24Bit(source.Image())
                      : source.Image().format() == QImage::Format_RGB32 ? source.Image()
                                                                        : source.Image().convertToFormat(QImage::Format_RGB32);
  Pixels d = Writable(Surface(target));
  Piece(d, B(dest), Readable(simg), B(src));
}

void ComposeSkinImage(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& CR,
                      const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB, const TRect& NCR,
                      TBitmap& dest, const TBitmap& source, const TRect& S, int w, int h, bool drawCentre) {
  // A 32-bit source gives a 32-bit image (it goes onto a window surface without conversion).
  const bool wide = source.Image().format() == QImage::Format_RGB32;
  const QImage simg = wide ? source.Image() : To24Bit(source.Image());
  Resize(dest, w, h, wide ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
  if (RB.X == LT.X || RB.Y == LT.Y || simg.isNull()) return;
  const Pixels d = Writable(Surface(dest));
  const Pixels s = Readable(simg);
  const i64 SL = S.Left, ST = S.Top, SR = S.Right, SB = S.Bottom;
  const i64 W = w, H = h;

  // Edges: top, bottom, left, right.
  TileX(d, NLT.X, NRT.X, 0, NCR.Top, s, SL + LT.X, SL + RT.X, ST, ST + CR.Top);
  TileX(d, NLB.X, NRB.X, NCR.Bottom, H, s, SL + LB.X, SL + RB.X, ST + CR.Bottom, SB);
  TileY(d, NLT.Y, NLB.Y, 0, NCR.Left, s, ST + LT.Y, ST + LB.Y, SL, SL + NCR.Left);
  TileY(d, NRT.Y, NRB.Y, NCR.Right, W, s, ST + RT.Y, ST + RB.Y, SL + CR.Right, SR);

  // Corner pieces, in this order (a later piece covers an earlier one).
  Piece(d, Box{0, 0, NLT.X, NCR.Top}, s, Box{SL, ST, SL + LT.X, ST + CR.Top});
  Piece(d, Box{0, NCR.Top, NCR.Left, NLT.Y}, s, Box{SL, ST + CR.Top, SL + CR.Left, ST + LT.Y});
  Piece(d, Box{NRT.X, 0, W, NCR.Top}, s, Box{SL + RT.X, ST, SR, ST + CR.Top});
  Piece(d, Box{NCR.Right, NCR.Top, W, NRT.Y}, s, Box{SL + CR.Right, ST + CR.Top, SR, ST + RT.Y});
  Piece(d, Box{0, NLB.Y, NCR.Left, H}, s, Box{SL, ST + LB.Y, SL + CR.Left, SB});
  Piece(d, Box{NCR.Left, NCR.Bottom, NLB.X, H}, s, Box{SL + CR.Left, ST + CR.Bottom, SL + LB.X, SB});
  Piece(d, Box{NRB.X, NCR.Bottom, W, H}, s, Box{SL + RB.X, ST + CR.Bottom, SR, SB});
  Piece(d, Box{NCR.Right, NRB.Y, W, NCR.Bottom}, s, Box{SL + CR.Right, ST + RB.Y, SR, ST + CR.Bottom});

  if (drawCentre) TileXY(d, B(NCR), s, Box{SL + CR.Left, ST + CR.Top, SL + CR.Right, ST + CR.Bottom});
}

void ComposeStripH(int leftWidth, int rightWidth, TBitmap& dest, const TBitmap& source, const TRect& S, int w, int) {
  const bool wide = source.Image().format() == QImage::Format_RGB32;
  const QImage simg = wide ? source.Image() : To24Bit(source.Image());
  const i64 L = leftWidth, R = rightWidth, W = w, SH = i64{S.Bottom} - S.Top;
  const i64 SL = S.Left, ST = S.Top, SR = S.Right, SB = S.Bottom;
  Resize(dest, W, SH, wide ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
  if (simg.isNull() || dest.Empty()) return;
  const Pixels d = Writable(Surface(dest));
  const Pixels s = Readable(simg);
  if (L != 0) Piece(d, Box{0, 0, L, SH}, s, Box{SL, ST, SL + L, SB});
  if (R != 0) Piece(d, Box{W - R, 0, W, SH}, s, Box{SR - R, ST, SR, SB});
  TileX(d, L, W - R, 0, SH, s, SL + L, SR - R, ST, SB);
}

void ComposeStripV(int topHeight, int bottomHeight, TBitmap& dest, const TBitmap& source, const TRect& S, int, int h) {
  const bool wide = source.Image().format() == QImage::Format_RGB32;
  const QImage simg = wide ? source.Image() : To24Bit(source.Image());
  const i64 T = topHeight, Bt = bottomHeight, H = h, SW = i64{S.Right} - S.Left;
  const i64 SL = S.Left, ST = S.Top, SR = S.Right, SB = S.Bottom;
  Resize(dest, SW, H, wide ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
  if (simg.isNull() || dest.Empty()) return;
  const Pixels d = Writable(Surface(dest));
  const Pixels s = Readable(simg);
  if (T != 0) Piece(d, Box{0, 0, SW, T}, s, Box{SL, ST, SR, ST + T});
  if (Bt != 0) Piece(d, Box{0, H - Bt, SW, H}, s, Box{SL, SB - Bt, SR, SB});
  TileY(d, T, H - Bt, 0, SW, s, ST + T, SB - Bt, SL, SR);
}

void ComposeBorderImages(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& CR,
                         const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB, const TRect& NCR,
                         TBitmap& leftPiece, TBitmap& topPiece, TBitmap& rightPiece, TBitmap& bottomPiece,
                         const TBitmap& source, const TRect& S, int w, int h) {
  // A 32-bit source gives 32-bit pieces (they go onto a window surface without conversion).
  const bool wide = source.Image().format() == QImage::Format_RGB32;
  const TPixelFormat pf = wide ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  const QImage simg = wide ? source.Image() : To24Bit(source.Image());
  const Pixels s = Readable(simg);
  const i64 SL = S.Left, ST = S.Top, SR = S.Right, SB = S.Bottom;
  const i64 W = w, H = h;

  const i64 topH = NCR.Top;
  if (W > 0 && topH > 0 && RT.X > LT.X) {
    // The tiled span and the rows lie inside the source: the piece is covered whole.
    const bool covered = ST >= 0 && ST + topH <= s.h && SL + LT.X >= 0 && SL + RT.X <= s.w;
    Resize(topPiece, W, topH, pf, covered);
    const Pixels d = Writable(Surface(topPiece));
    // When the corners come whole from the source they cover the tiles under them: the tiles
    // need not be written there.
    const bool corners = covered && SL >= 0 && SR <= s.w && NLT.X >= 0 && NRT.X <= W;
    TileX(d, 0, W, 0, topH, s, SL + LT.X, SL + RT.X, ST, ST + topH, corners ? NLT.X : 0, corners ? NRT.X : W);
    Piece(d, Box{0, 0, NLT.X, topH}, s, Box{SL, ST, SL + LT.X, ST + topH});
    Piece(d, Box{NRT.X, 0, W, topH}, s, Box{SL + RT.X, ST, SR, ST + topH});
  }

  const i64 D = H - NCR.Bottom;
  if (W > 0 && D > 0 && RB.X > LB.X) {
    const bool covered = SB - D >= 0 && SB <= s.h && SL + LB.X >= 0 && SL + RB.X <= s.w;
    Resize(bottomPiece, W, D, pf, covered);
    const Pixels d = Writable(Surface(bottomPiece));
    const bool corners = covered && SL >= 0 && SR <= s.w && NLB.X >= 0 && NRB.X <= W;
    TileX(d, 0, W, 0, D, s, SL + LB.X, SL + RB.X, SB - D, SB, corners ? NLB.X : 0, corners ? NRB.X : W);
    Piece(d, Box{0, 0, NLB.X, D}, s, Box{SL, SB - D, SL + LB.X, SB});
    Piece(d, Box{NRB.X, 0, W, D}, s, Box{SL + RB.X, SB - D, SR, SB});
  }

  // The side pieces fill the height left between the top and bottom pieces as they now stand.
  const i64 P = H - bottomPiece.Height() - topPiece.Height();
  const i64 leftW = NCR.Left;
  if (leftW > 0 && P > 0 && LB.Y > LT.Y) {
    const bool covered = ST + LT.Y >= 0 && ST + LB.Y <= s.h && SL >= 0 && SL + leftW <= s.w;
    Resize(leftPiece, leftW, P, pf, covered);
    const Pixels d = Writable(Surface(leftPiece));
    TileY(d, 0, P, 0, leftW, s, ST + LT.Y, ST + LB.Y, SL, SL + leftW);
    if (LT.Y > CR.Top) Piece(d, Box{0, 0, leftW, i64{LT.Y} - CR.Top}, s, Box{SL, ST + CR.Top, SL + leftW, ST + LT.Y});
    if (CR.Bottom > LB.Y)
      Piece(d, Box{0, P - (i64{CR.Bottom} - LB.Y), leftW, P}, s, Box{SL, ST + LB.Y, SL + leftW, ST + CR.Bottom});
  }

  const i64 E = W - NCR.Right;
  if (E >= 1 && P >= 1 && RB.Y > RT.Y) {
    const bool covered =
        ST + RT.Y >= 0 && ST + RB.Y <= s.h && SL + CR.Right >= 0 && SR <= s.w && SR - SL - CR.Right >= E;
    Resize(rightPiece, E, P, pf, covered);
    const Pixels d = Writable(Surface(rightPiece));
    TileY(d, 0, P, 0, E, s, ST + RT.Y, ST + RB.Y, SL + CR.Right, SR);
    if (RT.Y > CR.Top) Piece(d, Box{0, 0, E, i64{RT.Y} - CR.Top}, s, Box{SL + CR.Right, ST + CR.Top, SR, ST + RT.Y});
    if (CR.Bottom > RB.Y)
      Piece(d, Box{0, P - (i64{CR.Bottom} - RB.Y), E, P}, s, Box{SL + CR.Right, ST + RB.Y, SR, ST + CR.Bottom});
  }
}

void SliceBorderImages(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& A,
                       const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB, const TRect& NA,
                       const TBitmap& source, TBitmap& topPiece, TBitmap& leftPiece, TBitmap& rightPiece,
                       TBitmap& bottomPiece, int w, int) {
  const QImage simg = To24Bit(source.Image());
  const Pixels s = Readable(simg);
  const i64 SW = s.w, SH = s.h, W = w;
  const i64 NAH = i64{NA.Bottom} - NA.Top;

  if (A.Left > 0 && NAH > 0) {
    const i64 pw = A.Left;
    Resize(leftPiece, pw, NAH);
    const Pixels d = Writable(Surface(leftPiece));
    if (LB.Y != LT.Y) TileY(d, 0, NAH, 0, pw, s, LT.Y, LB.Y, 0, pw);
    if (LT.Y > A.Top) Piece(d, Box{0, 0, pw, i64{LT.Y} - A.Top}, s, Box{0, A.Top, pw, LT.Y});
    if (A.Bottom > LB.Y) Piece(d, Box{0, NAH - (i64{A.Bottom} - LB.Y), pw, NAH}, s, Box{0, LB.Y, pw, A.Bottom});
  }

  const i64 E = SW - A.Right;
  if (E > 0 && NAH > 0) {
    Resize(rightPiece, E, NAH);
    const Pixels d = Writable(Surface(rightPiece));
    if (RB.Y != RT.Y) TileY(d, 0, NAH, 0, E, s, RT.Y, RB.Y, A.Right, SW);
    if (RT.Y > A.Top) Piece(d, Box{0, 0, E, i64{RT.Y} - A.Top}, s, Box{A.Right, A.Top, SW, RT.Y});
    if (A.Bottom > RB.Y) Piece(d, Box{0, NAH - (i64{A.Bottom} - RB.Y), E, NAH}, s, Box{A.Right, RB.Y, SW, A.Bottom});
  }

  if (W > 0 && A.Top > 0) {
    const i64 ph = A.Top;
    Resize(topPiece, W, ph);
    const Pixels d = Writable(Surface(topPiece));
    if (RT.X != LT.X) TileX(d, NLT.X, NRT.X, 0, ph, s, LT.X, RT.X, 0, ph);
    Piece(d, Box{0, 0, LT.X, ph}, s, Box{0, 0, LT.X, ph});
    Piece(d, Box{NRT.X, 0, W, ph}, s, Box{RT.X, 0, SW, ph});
  }

  const i64 BH = SH - A.Bottom;
  if (W > 0 && BH > 0) {
    Resize(bottomPiece, W, BH);
    const Pixels d = Writable(Surface(bottomPiece));
    if (RB.X != LB.X) TileX(d, NLB.X, NRB.X, 0, BH, s, LB.X, RB.X, A.Bottom, SH);
    Piece(d, Box{0, 0, LB.X, BH}, s, Box{0, A.Bottom, LB.X, SH});
    Piece(d, Box{NRB.X, 0, W, BH}, s, Box{RB.X, A.Bottom, SW, SH});
  }
}
