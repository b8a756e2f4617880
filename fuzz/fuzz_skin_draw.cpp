// Skin drawing with geometry and pictures taken from the input: composition, slicing, mask
// regions, region data, effects and morphs must never touch memory outside their images and
// never fail except with EOutOfResources (a piece sized beyond the limits) or
// EInvalidRegionData (malformed region data).
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/FuzzInput.h"
#include "platform/Bitmap.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"

namespace {

// The shared reader, with the geometry and masks the drawing routines take.
struct DrawReader : Reader {
  // Mostly small values around the pictures, now and then any 32-bit value.
  int32_t Coord() {
    const uint8_t sel = Byte();
    if (sel < 16) {
      uint32_t v = 0;
      for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
      return static_cast<int32_t>(v);
    }
    return static_cast<int32_t>(Byte()) - 64;
  }
  TPoint Pt() {
    const int32_t x = Coord();
    return TPoint(x, Coord());
  }
  TRect Rc() {
    const int32_t l = Coord(), t = Coord(), r = Coord();
    return TRect(l, t, r, Coord());
  }
  TBitmap Picture() {
    const int w = Byte() % 48, h = Byte() % 48;
    TBitmap b(w, h);
    for (int y = 0; y < b.Height(); ++y) {
      uint8_t* row = b.ScanLine(y);
      for (int x = 0; x < 3 * w; ++x) row[x] = (Byte() & 1) ? 0 : 255;
    }
    return b;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  DrawReader r{{data + 1, size - 1}};
  try {
    switch (data[0] % 7) {
      case 0: {
        const TBitmap pic = r.Picture();
        TBitmap d;
        const TPoint a = r.Pt(), b = r.Pt(), c = r.Pt(), e = r.Pt();
        const TRect cr = r.Rc();
        const TPoint na = r.Pt(), nb = r.Pt(), nc = r.Pt(), ne = r.Pt();
        const TRect ncr = r.Rc(), s = r.Rc();
        ComposeSkinImage(a, b, c, e, cr, na, nb, nc, ne, ncr, d, pic, s, r.Byte() * 2, r.Byte() * 2, r.Byte() & 1);
        break;
      }
      case 1: {
        const TBitmap pic = r.Picture();
        TBitmap h, v;
        const int32_t l = r.Coord(), rt = r.Coord();
        const TRect s = r.Rc();
        ComposeStripH(l, rt, h, pic, s, r.Byte() * 4, 0);
        ComposeStripV(l, rt, v, pic, s, 0, r.Byte() * 4);
        break;
      }
      case 2: {
        const TBitmap pic = r.Picture();
        TBitmap l, t, rt, b;
        const TPoint p1 = r.Pt(), p2 = r.Pt(), p3 = r.Pt(), p4 = r.Pt();
        const TRect cr = r.Rc();
        const TPoint n1 = r.Pt(), n2 = r.Pt(), n3 = r.Pt(), n4 = r.Pt();
        const TRect ncr = r.Rc(), s = r.Rc();
        ComposeBorderImages(p1, p2, p3, p4, cr, n1, n2, n3, n4, ncr, l, t, rt, b, pic, s, r.Byte() * 3, r.Byte() * 3);
        break;
      }
      case 3: {
        const TBitmap mask = r.Picture();
        QRegion region;
        const TPoint p1 = r.Pt(), p2 = r.Pt(), p3 = r.Pt(), p4 = r.Pt();
        const TRect cr = r.Rc();
        const TPoint n1 = r.Pt(), n2 = r.Pt(), n3 = r.Pt(), n4 = r.Pt();
        const TRect ncr = r.Rc();
        FrameRegionFromMask(region, p1, p2, p3, p4, cr, n1, n2, n3, n4, ncr, mask, r.Byte() * 2, r.Byte() * 2);
        RegionFromMask(region, mask);
        break;
      }
      case 4:
        (void)RegionFromRegionData(data + 1, size - 1);
        break;
      case 5: {
        const TBitmap pic = r.Picture();
        TBitmap d(r.Byte() % 40, r.Byte() % 40);
        CopyPiece(d, r.Rc(), pic, r.Rc());
        break;
      }
      default: {
        const TBitmap pa = r.Picture();
        TbsEffectBmp a(pa), b(r.Byte() & 1 ? pa : r.Picture());
        const double kf = (static_cast<int>(r.Byte()) - 64) / 128.0;
        switch (r.Byte() % 14) {
          case 0: a.ApplyBrightness(kf); break;
          case 1: a.ApplyDarkness(kf); break;
          case 2: a.ApplyGrayscale(); break;
          case 3: a.ApplyNoise(r.Coord()); break;
          case 4: a.ApplySplitBlur(r.Coord()); break;
          case 5: a.ApplyInvert(); break;
          case 6: a.MorphDefault(b, kf); break;
          case 7: a.MorphGradient(b, kf); break;
          case 8: a.MorphLeftGradient(b, kf); break;
          case 9: a.MorphRightGradient(b, kf); break;
          case 10: a.MorphLeftSlide(b, kf); break;
          case 11: a.MorphRightSlide(b, kf); break;
          case 12: a.MorphPush(b, kf); break;
          default: {
            TbsEffectBmp t(a.Height(), a.Width());
            a.TurnClockwise(t);
            a.TurnCounterClockwise(t);
          }
        }
        break;
      }
    }
  } catch (const EOutOfResources&) {
  } catch (const EInvalidRegionData&) {
  }
  return 0;
}
