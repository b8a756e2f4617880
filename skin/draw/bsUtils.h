// Skin drawing utilities: rectangle helpers, composition of element images from skin pieces,
// window shapes from mask pictures, small glyphs and window translucency.
//
// Composition never scales a skin picture as a whole: corner pieces are copied, edge strips and
// the centre are tiled (the last tile is cut, never stretched). Skin points and client
// rectangles are relative to the top-left corner of the skin rectangle S; the "new" points and
// client rectangle (N...) are in coordinates of the destination image. A piece is stretched
// only when its source and destination sizes differ. Nothing here reads outside the source
// picture or writes outside the destination, whatever the geometry. A bitmap that would have
// to grow beyond 32767 pixels a side or 2^27 pixels raises EOutOfResources.
//
// Sections: rectangle helpers; composition; mask regions; glyphs; translucency.
// GUI thread only.
#pragma once
#include <QRegion>
#include <cstdint>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Types.h"
#include "skin/draw/FastBitmap.h"

class TBitmap;
class TCanvas;
class QWidget;
class QWindow;

LG_DECLARE_EXCEPTION(EInvalidRegionData, Exception)

// ---- Rectangle helpers -------------------------------------------------------------------

// Right - Left and Bottom - Top (wrapping, never overflowing, for extreme coordinates).
constexpr int32_t RectWidth(const TRect& r) { return static_cast<int32_t>(int64_t{r.Right} - r.Left); }
constexpr int32_t RectHeight(const TRect& r) { return static_cast<int32_t>(int64_t{r.Bottom} - r.Top); }
// True when the width or the height is below 1.
constexpr bool RectIsEmpty(const TRect& r) { return int64_t{r.Right} - r.Left < 1 || int64_t{r.Bottom} - r.Top < 1; }
// A skin point with X or Y equal to 0 counts as not set.
constexpr bool PointIsUnset(const TPoint& p) { return p.X == 0 || p.Y == 0; }
// All four edges inclusive.
constexpr bool RectHoldsPoint(const TRect& r, const TPoint& p) {
  return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}
// Both corners of inner lie in outer, left/top inclusive and right/bottom exclusive.
constexpr bool PointInRect(const TPoint& p, const TRect& r) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
constexpr bool RectInsideRect(const TRect& inner, const TRect& outer) {
  return PointInRect(TPoint(inner.Left, inner.Top), outer) && PointInRect(TPoint(inner.Right, inner.Bottom), outer);
}

// ---- Composition -------------------------------------------------------------------------

// Copies the source rectangle `src` of `source` onto `dest` of `target`, stretching when the
// sizes differ and mirroring when their signs differ. Rectangles of width or height 0 draw
// nothing. Parts outside either image are left out. A 32-bit target stays 32-bit; any other
// becomes 24-bit.
void CopyPiece(TBitmap& target, const TRect& dest, const TBitmap& source, const TRect& src);

// Resizes `dest` to w x h and paints it from the skin rectangle S of `source`: the four edges
// tiled, the eight corner pieces, and the centre tiled when `drawCentre` is set. Leaves the
// resized image unpainted when RB.X = LT.X, RB.Y = LT.Y or the source is empty. The image is
// 24-bit, or 32-bit (QImage::Format_RGB32) when the source is; so are ComposeStrip's.
void ComposeSkinImage(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& CR,
                      const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB, const TRect& NCR,
                      TBitmap& dest, const TBitmap& source, const TRect& S, int w, int h, bool drawCentre);

// Horizontal strip: dest becomes w x (S height); fixed left part `leftWidth`, fixed right part
// `rightWidth`, the middle of S tiled between them. `h` is not used.
void ComposeStripH(int leftWidth, int rightWidth, TBitmap& dest, const TBitmap& source, const TRect& S, int w, int h);
// Vertical strip: dest becomes (S width) x h; fixed top and bottom parts, the middle tiled. `w`
// is not used.
void ComposeStripV(int topHeight, int bottomHeight, TBitmap& dest, const TBitmap& source, const TRect& S, int w, int h);

// The four border bitmaps of a skinned frame of size w x h, made in the order top, bottom,
// left, right. A piece whose conditions fail is left as it was (neither resized nor painted).
// The pieces are 24-bit, or 32-bit (QImage::Format_RGB32) when the source is.
void ComposeBorderImages(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& CR,
                         const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB, const TRect& NCR,
                         TBitmap& leftPiece, TBitmap& topPiece, TBitmap& rightPiece, TBitmap& bottomPiece,
                         const TBitmap& source, const TRect& S, int w, int h);

// The four border bitmaps cut out of a whole picture (used with masks). `area` is the picture's
// client (mask) area, `newArea` the same area at the new size. `h` is not used.
void SliceBorderImages(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& area,
                       const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB, const TRect& newArea,
                       const TBitmap& source, TBitmap& topPiece, TBitmap& leftPiece, TBitmap& rightPiece,
                       TBitmap& bottomPiece, int w, int h);

// ---- Mask regions ------------------------------------------------------------------------
// Black pixels (blue, green and red all 0) are inside a mask's region; every other colour is
// outside. An empty QRegion means "no region" (a window without a shape).

// Region-data record, little-endian: header (size 32, type 1, count n, size hint 0, bounding
// rectangle), then n rectangles of four 32-bit values. One rectangle per black run of a row,
// rows top to bottom, runs left to right, shifted by the offset. Returns the byte size of
// `data`: 0 and no data for an empty mask.
size_t MaskToRegionData(const TBitmap& mask, int offsetX, int offsetY, std::vector<uint8_t>& data);
size_t MaskToRegionData(const QImage& mask, int offsetX, int offsetY, std::vector<uint8_t>& data);
// The platform region for region data. Throws EInvalidRegionData on a malformed record.
QRegion RegionFromRegionData(const uint8_t* data, size_t size);
inline QRegion RegionFromRegionData(const std::vector<uint8_t>& data) {
  return RegionFromRegionData(data.data(), data.size());
}
// Region of the whole mask at (0, 0); empty for an empty mask.
void RegionFromMask(QRegion& region, const TBitmap& mask);
// Region of a shaped element at the new size w x h: the new client rectangle plus the four
// mask border pieces. Empty (no region) when the new size is smaller than the fixed corners or
// when every part is empty.
void FrameRegionFromMask(QRegion& region, const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                         const TRect& CR, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                         const TPoint& NRB, const TRect& NCR, const TBitmap& mask, int w, int h);

// ---- Glyphs ------------------------------------------------------------------------------
// Lines leave out their end point; rectangles are outlines with right and bottom exclusive.
// The canvas keeps the pen and brush the glyph set.

// Draws frame `frame` (from 1) of a strip of `frameCount` equal frames side by side at (x, y),
// with the strip's bottom-left pixel colour transparent. Nothing for an empty strip or a frame
// number outside 1 .. frameCount.
void DrawGlyphFrame(TCanvas& canvas, int x, int y, const TBitmap& strip, int frameCount, int frame);

enum TArrowDirection : int { adLeft = 1, adRight = 2, adUp = 3, adDown = 4 };
// A small triangle centred in `r`.
void PaintArrowGlyph(TCanvas& canvas, const TRect& r, TColor color, int direction);
// The glyphs below have their cell's top-left at (x, y).
void PaintCheckGlyph(TCanvas& canvas, int x, int y, TColor color);
void PaintCloseGlyph(TCanvas& canvas, int x, int y, TColor color);
void PaintMaximizeGlyph(TCanvas& canvas, int x, int y, TColor color);
void PaintMinimizeGlyph(TCanvas& canvas, int x, int y, TColor color);
void PaintRestoreGlyph(TCanvas& canvas, int x, int y, TColor color);
void PaintSysMenuGlyph(TCanvas& canvas, int x, int y, TColor color);
void PaintRollUpGlyph(TCanvas& canvas, int x, int y, TColor color);
void PaintBulletGlyph(TCanvas& canvas, int x, int y, TColor color);

// ---- Translucency ------------------------------------------------------------------------

// The version rule for constant-alpha windows on a system that numbers its versions: only 5.0
// and 5.1 qualify.
constexpr bool LayeredWindowsAvailableOn(int major, int minor) { return major == 5 && (minor == 0 || minor == 1); }
// On Windows the version rule above; elsewhere Qt's window opacity is always offered (a window
// system that cannot show it ignores it).
bool LayeredWindowsAvailable();
// Gives a top-level window a constant alpha (0 transparent .. 255 opaque; values outside are
// clamped). Nothing for a null window.
void SetWindowAlpha(QWidget* window, int alpha);
void SetWindowAlpha(QWindow* window, int alpha);
