// Plain value types shared by every layer: rectangles, points, colours.
#pragma once
#include <cstdint>

// Right and bottom lie outside the area unless a caller says otherwise.
struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint {
  int32_t X = 0, Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

constexpr TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect(l, t, r, b); }
constexpr TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return TRect(l, t, l + w, t + h); }
constexpr TPoint Point(int32_t x, int32_t y) { return TPoint(x, y); }

// 0x00BBGGRR for a plain colour; negative values name a system colour (see Colors.h).
using TColor = int32_t;

// Horizontal alignment of text in a cell, a label or a field.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
