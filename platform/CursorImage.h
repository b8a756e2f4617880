// The mouse cursor's image: how far below the cursor position its lowest visible row lies, so
// that a hint can start just below the cursor the user sees.
//
// The margin works on a cursor mask as a bottom-up 1-bit image (rows of (width + 31) / 32 * 4
// bytes, the lowest row first): the AND image (1 = transparent) in its top `width` rows, and,
// for a monochrome cursor, the XOR image below it. On X11 the current cursor is read with the
// XFixes extension and its alpha turned into such a mask. GUI thread only.
#pragma once
#include <QImage>
#include <cstdint>
#include <vector>

struct TCursorMask {
  int Width = 0;
  int Height = 0;  // rows in Bits: Width for an AND mask alone, 2 x Width with the XOR image
  int HotX = 0, HotY = 0;
  std::vector<uint8_t> Bits;  // bottom-up rows of (Width + 31) / 32 * 4 bytes
};

// The platform's standard cursor height in pixels.
int StandardCursorHeight();
// The current cursor's mask; false when it cannot be read (no X11 display, no XFixes).
bool ReadCurrentCursorMask(TCursorMask& mask);
// A mask for an ARGB cursor image: pixels with alpha 0 are transparent. The image is made square
// (its larger side), the XOR image below is empty.
TCursorMask CursorMaskFromImage(const QImage& image, int hotX, int hotY);
// Rows from the hot spot down to the lowest row of the mask that shows anything; `standard`
// when the mask is empty or malformed (no hot spot is subtracted then).
int CursorBottomOffsetFromMask(const TCursorMask& mask, int standard);
// The same for the current cursor; the standard cursor height when it cannot be read.
int CursorHeightMargin();
