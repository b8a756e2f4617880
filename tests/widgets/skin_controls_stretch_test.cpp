// Stretch modes, imposed sizes and part mapping of skinned controls.
#include <gtest/gtest.h>

#include "skin/controls/SkinStretch.h"

namespace {

TSkinStretch Section(TRect skin, TPoint lt, TPoint rt, TPoint lb, TPoint rb, TRect client) {
  TSkinStretch s;
  s.skinrect = skin;
  s.lefttoppoint = lt;
  s.righttoppoint = rt;
  s.leftbottompoint = lb;
  s.rightbottompoint = rb;
  s.SkinClientRect = client;
  s.ComputeStretchMode();
  return s;
}

TEST(SkinStretch, ModesFollowThePointsInOrder) {
  EXPECT_EQ(Section(TRect(0, 0, 0, 10), {}, {}, {}, {5, 5}, {}).StretchMode, smNone);
  EXPECT_EQ(Section(TRect(0, 0, 30, 30), {3, 3}, {27, 3}, {3, 27}, {27, 27}, {}).StretchMode, smBoth);
  // A right-bottom point with one zero coordinate does not make it two-way.
  EXPECT_EQ(Section(TRect(0, 0, 30, 30), {3, 3}, {27, 0}, {3, 27}, {27, 0}, {}).StretchMode, smHorizontal);
  EXPECT_EQ(Section(TRect(0, 0, 30, 30), {3, 3}, {}, {0, 27}, {}, {}).StretchMode, smVertical);
  EXPECT_EQ(Section(TRect(10, 10, 46, 28), {}, {}, {}, {}, {}).StretchMode, smFixed);
}

TEST(SkinStretch, ImposedSizesAndStretchedClient) {
  // Two-way panel section 40 x 30 resized to 300 x 100.
  TSkinStretch panel = Section(TRect(5, 5, 45, 35), {4, 4}, {36, 4}, {4, 26}, {36, 26}, TRect(2, 2, 38, 28));
  int w = 300, h = 100;
  panel.AdjustSkinSize(w, h);
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 100);
  EXPECT_EQ(panel.StretchedClientRect, TRect(2, 2, 38 + 260, 28 + 70));
  EXPECT_EQ(panel.StretchedRightBottomPoint, TPoint(36 + 260, 26 + 70));
  EXPECT_EQ(panel.StretchedRightTopPoint, TPoint(36 + 260, 4));
  EXPECT_EQ(panel.StretchedLeftBottomPoint, TPoint(4, 26 + 70));

  // Horizontal button section 70 x 21 asked for height 40 keeps 21.
  TSkinStretch button = Section(TRect(0, 0, 70, 21), {5, 0}, {65, 0}, {}, {}, TRect(4, 3, 66, 18));
  w = 75;
  h = 40;
  button.AdjustSkinSize(w, h);
  EXPECT_EQ(w, 75);
  EXPECT_EQ(h, 21);
  EXPECT_EQ(button.StretchedClientRect, TRect(4, 3, 71, 18));

  // Vertical: the width is imposed.
  TSkinStretch bar = Section(TRect(0, 0, 16, 40), {0, 5}, {}, {0, 35}, {}, TRect(1, 5, 15, 35));
  w = 50;
  h = 100;
  bar.AdjustSkinSize(w, h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 100);
  EXPECT_EQ(bar.StretchedLeftBottomPoint, TPoint(0, 95));

  // Fixed up-down section 36 x 18 keeps its size whatever is asked.
  TSkinStretch updown = Section(TRect(100, 0, 136, 18), {}, {}, {}, {}, {});
  w = 25;
  h = 50;
  updown.AdjustSkinSize(w, h);
  EXPECT_EQ(w, 36);
  EXPECT_EQ(h, 18);

  // No image: nothing changes.
  TSkinStretch none = Section(TRect(), {}, {}, {}, {}, {});
  w = 10;
  h = 11;
  none.AdjustSkinSize(w, h);
  EXPECT_EQ(w, 10);
  EXPECT_EQ(h, 11);
}

TEST(SkinStretch, MapSkinRectByCornerAreas) {
  TSkinStretch panel = Section(TRect(0, 0, 40, 30), {10, 8}, {30, 8}, {10, 22}, {30, 22}, TRect(2, 2, 38, 28));
  const int cw = 140, ch = 80;  // dx 100, dy 50
  // Wholly in the left-top area: unchanged; right-top: moved right by the width gained.
  EXPECT_EQ(panel.MapSkinRect(TRect(1, 1, 5, 5), cw, ch), TRect(1, 1, 5, 5));
  EXPECT_EQ(panel.MapSkinRect(TRect(32, 1, 36, 5), cw, ch), TRect(132, 1, 136, 5));
  EXPECT_EQ(panel.MapSkinRect(TRect(1, 24, 5, 28), cw, ch), TRect(1, 74, 5, 78));
  EXPECT_EQ(panel.MapSkinRect(TRect(32, 24, 36, 28), cw, ch), TRect(132, 74, 136, 78));
  // Spanning left-top into right-top grows by the width gained (a caption strip).
  EXPECT_EQ(panel.MapSkinRect(TRect(2, 2, 36, 6), cw, ch), TRect(2, 2, 136, 6));
  // Left-top to right-bottom grows both ways.
  EXPECT_EQ(panel.MapSkinRect(TRect(2, 2, 36, 26), cw, ch), TRect(2, 2, 136, 76));
  // Left-top to left-bottom grows downwards; right-top to right-bottom moves and grows.
  EXPECT_EQ(panel.MapSkinRect(TRect(2, 2, 6, 26), cw, ch), TRect(2, 2, 6, 76));
  EXPECT_EQ(panel.MapSkinRect(TRect(32, 2, 36, 26), cw, ch), TRect(132, 2, 136, 76));
  // Left-bottom to right-bottom: grows right and moves down.
  EXPECT_EQ(panel.MapSkinRect(TRect(2, 24, 36, 28), cw, ch), TRect(2, 74, 136, 78));

  TSkinStretch strip = Section(TRect(0, 0, 60, 20), {8, 0}, {52, 0}, {}, {}, TRect(3, 3, 57, 17));
  EXPECT_EQ(strip.MapSkinRect(TRect(4, 2, 56, 18), 100, 20), TRect(4, 2, 96, 18));
  EXPECT_EQ(strip.MapSkinRect(TRect(53, 2, 58, 18), 100, 20), TRect(93, 2, 98, 18));
  EXPECT_EQ(strip.MapSkinRect(TRect(10, 2, 20, 18), 100, 20), TRect(10, 2, 20, 18));
}

}  // namespace
