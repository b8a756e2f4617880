// Where menu windows open against the work area: below or above their anchor, pushed to an edge
// and then beside the anchor, sub-menus beside their item, tall menus at the top.
#include <gtest/gtest.h>

#include "skin/menus/MenuPlacement.h"

namespace {

// A work area that does not start at the screen's origin (a panel at the top and left).
constexpr TRect kWA(100, 50, 1100, 850);  // middle line at y = 450

TMenuPlacement At(int x, int y, int w = 200, int h = 300) {
  TMenuPlacement p;
  p.Anchor = TRect(x, y, x, y);
  p.Width = w;
  p.Height = h;
  p.WorkArea = kWA;
  p.ItemsTop = 3;
  return p;
}

TPoint Pos(const TMenuPlacement& p) { return MenuWindowPosition(p); }

TEST(SkinMenuPlacement, APopupAtAPointOpensDownRightAndStaysInsideTheWorkArea) {
  EXPECT_EQ(Pos(At(300, 200)), TPoint(300, 200));
  // Exactly touching the bottom still fits.
  EXPECT_EQ(Pos(At(300, 550)), TPoint(300, 550));
  // Too far right: against the right edge; left of the work area: against its left edge.
  EXPECT_EQ(Pos(At(1000, 200)), TPoint(900, 200));
  EXPECT_EQ(Pos(At(900, 200)), TPoint(900, 200));
  EXPECT_EQ(Pos(At(60, 200)), TPoint(100, 200));
}

TEST(SkinMenuPlacement, NoRoomBelowPushesToTheBottomInTheUpperHalfAndOpensUpInTheLowerHalf) {
  // Upper half, a tall menu: bottom on the work area's bottom, beside the point (1 pixel right).
  EXPECT_EQ(Pos(At(300, 400, 200, 700)), TPoint(301, 150));
  // ...or on its left when there is no room on the right.
  EXPECT_EQ(Pos(At(1000, 400, 200, 700)), TPoint(799, 150));
  // Lower half: upwards, ending at the point, not pushed (so not beside it).
  EXPECT_EQ(Pos(At(300, 700)), TPoint(300, 400));
  // Lower half and no room above either: at the top, beside the point.
  EXPECT_EQ(Pos(At(300, 500, 200, 600)), TPoint(301, 50));
  // The middle line itself counts as the lower half.
  EXPECT_EQ(Pos(At(300, 450, 200, 500)), TPoint(301, 50));
  EXPECT_EQ(Pos(At(300, 449, 200, 500)), TPoint(301, 350));
}

TEST(SkinMenuPlacement, OpeningUpwardsFallsBackBelowOrToAnEdge) {
  TMenuPlacement p = At(300, 600);
  p.Anchor = TRect(280, 600, 380, 620);
  p.OpenUp = true;
  EXPECT_EQ(Pos(p), TPoint(280, 300));
  p.Anchor = TRect(280, 300, 380, 320);  // no room above, upper half, room below
  EXPECT_EQ(Pos(p), TPoint(280, 320));
  p.Height = 600;                        // no room either way: bottom edge, beside
  EXPECT_EQ(Pos(p), TPoint(381, 250));
  p.Anchor = TRect(280, 500, 380, 520);  // lower half, no room above: top edge, beside
  p.Height = 700;
  EXPECT_EQ(Pos(p), TPoint(381, 50));
}

TEST(SkinMenuPlacement, SubMenusLineUpWithTheirItemBesideTheParent) {
  TMenuPlacement p = At(0, 0);
  p.IsSubMenu = true;
  p.Anchor = TRect(300, 200, 480, 220);  // the parent item on the screen
  EXPECT_EQ(Pos(p), TPoint(481, 197));    // first item level with the parent item
  p.Anchor = TRect(850, 200, 1050, 220);  // no room on the right: left, 1 pixel away
  EXPECT_EQ(Pos(p), TPoint(649, 197));
  // Does not fit below: upper half -> bottom edge; lower half -> ends with the parent item.
  p.Anchor = TRect(300, 400, 480, 420);
  p.Height = 500;
  EXPECT_EQ(Pos(p), TPoint(481, 350));
  p.Anchor = TRect(300, 600, 480, 620);
  EXPECT_EQ(Pos(p), TPoint(481, 123));
  p.Height = 790;  // ...but never above the top
  EXPECT_EQ(Pos(p), TPoint(481, 50));
}

TEST(SkinMenuPlacement, ScrollingMenusStartAtTheTopBesideTheAnchor) {
  TMenuPlacement p = At(300, 700, 200, 800);
  p.Scrolling = true;
  EXPECT_EQ(Pos(p), TPoint(301, 50));
  p.Anchor = TRect(1000, 700, 1000, 700);
  EXPECT_EQ(Pos(p), TPoint(799, 50));
}

}  // namespace
