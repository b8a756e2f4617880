// How a control's skin image follows the control's size: the stretch mode derived from a
// section's points, the size a section imposes with the points moved to it, and the mapping
// of part rectangles onto the control. Points and client rectangles are in skin-rectangle
// coordinates, the skin rectangle in picture coordinates.
#pragma once
#include "platform/Types.h"
#include "skin/draw/bsUtils.h"

// -1 no image (empty skin rectangle); 0 fixed size; 1 both directions; 2 horizontal only;
// 3 vertical only.
enum TStretchMode { smNone = -1, smFixed = 0, smBoth = 1, smHorizontal = 2, smVertical = 3 };

struct TSkinStretch {
  TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TRect skinrect;
  TRect SkinClientRect;
  int StretchMode = smNone;

  TPoint StretchedLeftTopPoint, StretchedRightTopPoint, StretchedLeftBottomPoint, StretchedRightBottomPoint;
  TRect StretchedClientRect;

  // Wrapping, never overflowing, for skin rectangles at the ends of the number range.
  int SkinWidth() const { return RectWidth(skinrect); }
  int SkinHeight() const { return RectHeight(skinrect); }

  // Derives StretchMode from the skin rectangle and the points.
  void ComputeStretchMode();
  // Changes a requested size in place to the size the section allows and moves the points
  // and the client rectangle to it. A mode of -1 keeps the size and computes nothing.
  void AdjustSkinSize(int& width, int& height);
  // Maps a rectangle in skin-rectangle coordinates onto a control of the given size.
  TRect MapSkinRect(const TRect& r, int controlWidth, int controlHeight) const;
};
