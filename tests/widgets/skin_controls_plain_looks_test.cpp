// The skinned controls' looks without a skin, drawn on bitmaps with no window.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "skin/controls/PlainLooks.h"
#include "tests/TestUtil.h"

namespace {

int32_t Px(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas().Pixel(x, y)); }
int32_t Rgb(TColor c) { return ColorToRGB(c); }

// Bounding box of the pixels that differ from `background` inside `area`.
TRect InkBox(TBitmap& b, const TRect& area, TColor background) {
  const int32_t bg = Rgb(background);
  TRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (Px(b, x, y) != bg) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

// The application object comes from support/application.cpp.
class PlainLooks : public ::testing::Test {};

TEST_F(PlainLooks, PanelBorderStyles) {
  struct Case { TbsSkinBorderStyle style; TColor topLeft, bottomRight; };
  const Case cases[] = {{bvRaised, clBtnHighlight, clBtnShadow},
                        {bvLowered, clBtnShadow, clBtnHighlight},
                        {bvFrame, clBtnShadow, clBtnShadow},
                        {bvNone, clBtnFace, clBtnFace}};
  for (const Case& k : cases) {
    TBitmap b(40, 20);
    TPanelPlainLook look;
    look.BorderStyle = k.style;
    PaintPanelWithoutSkin(b.Canvas(), 40, 20, look);
    SCOPED_TRACE(static_cast<int>(k.style));
    EXPECT_EQ(Px(b, 0, 0), Rgb(k.topLeft));
    EXPECT_EQ(Px(b, 0, 18), Rgb(k.topLeft));
    EXPECT_EQ(Px(b, 38, 0), Rgb(k.topLeft));
    EXPECT_EQ(Px(b, 39, 0), Rgb(k.bottomRight));
    EXPECT_EQ(Px(b, 0, 19), Rgb(k.bottomRight));
    EXPECT_EQ(Px(b, 39, 19), Rgb(k.bottomRight));
    // One ring only: the rest is the button face.
    EXPECT_EQ(Px(b, 1, 1), Rgb(clBtnFace));
    EXPECT_EQ(Px(b, 38, 18), Rgb(clBtnFace));
    EXPECT_EQ(Px(b, 20, 10), Rgb(clBtnFace));
  }
}

TEST_F(PlainLooks, PanelCaptionStripCheckBoxAndRollUpMarker) {
  const int w = 120, h = 60;
  TPanelPlainLook look;
  look.CaptionMode = true;
  look.Caption = QStringLiteral("Totals");
  look.Font.Name = QStringLiteral("Arial");
  look.Font.Height = 14;
  TBitmap plain(w, h);
  PaintPanelWithoutSkin(plain.Canvas(), w, h, look);
  // Strip (1, 1, w-1, 22): shadow/highlight ring, then highlight/shadow ring.
  EXPECT_EQ(Px(plain, 1, 1), Rgb(clBtnShadow));
  EXPECT_EQ(Px(plain, w - 2, 1), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(plain, 1, 21), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(plain, 2, 2), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(plain, w - 3, 20), Rgb(clBtnShadow));
  // Below the strip the panel is plain face.
  EXPECT_EQ(Px(plain, 10, 30), Rgb(clBtnFace));
  // The caption is left aligned at R.left + 2 = 5 and vertically inside the strip.
  const TRect ink = InkBox(plain, TRect(3, 3, w - 3, 20), clBtnFace);
  EXPECT_GE(ink.Left, 5);
  EXPECT_LE(ink.Left, 7);
  EXPECT_LT(ink.Right, 60);

  // Right alignment ends the text at the right edge of the strip's inside.
  look.DefaultAlignment = taRightJustify;
  TBitmap right(w, h);
  PaintPanelWithoutSkin(right.Canvas(), w, h, look);
  const TRect rink = InkBox(right, TRect(3, 3, w - 3, 20), clBtnFace);
  EXPECT_GE(rink.Right, w - 3 - 3);
  EXPECT_LE(rink.Right, w - 3);

  // Checked mode moves the text 20 pixels right and draws the box with a check mark.
  look.DefaultAlignment = taLeftJustify;
  look.CheckedMode = true;
  look.Checked = true;
  TBitmap checked(w, h);
  PaintPanelWithoutSkin(checked.Canvas(), w, h, look);
  const int c = 3 + (19 - 3) / 2;  // R = (3, 3, w-3, 19)
  EXPECT_EQ(Px(checked, 5, c - 7), Rgb(clBtnShadow));
  EXPECT_EQ(Px(checked, 18, c + 6), Rgb(clBtnShadow));
  // Check mark: first stroke starts at (box.left + 3, box.top + 2 + 5) of the shrunk box.
  EXPECT_EQ(Px(checked, 9, c - 6 + 2 + 5), Rgb(clBtnText));
  const TRect cink = InkBox(checked, TRect(20, 3, w - 3, 19), clBtnFace);
  EXPECT_EQ(cink.Left, ink.Left + 20);
  look.Checked = false;
  TBitmap unchecked(w, h);
  PaintPanelWithoutSkin(unchecked.Canvas(), w, h, look);
  EXPECT_EQ(Px(unchecked, 9, c - 6 + 2 + 5), Rgb(clBtnFace));

  // Roll-up marker: an arrow in the last 10 pixels of the strip, up while unrolled.
  look.CheckedMode = false;
  look.RollUpMode = true;
  TBitmap up(w, h), down(w, h);
  PaintPanelWithoutSkin(up.Canvas(), w, h, look);
  look.RollUpState = true;
  PaintPanelWithoutSkin(down.Canvas(), w, h, look);
  const int ax = (w - 13) + 5, ay = 3 + 16 / 2;  // centre of (w-13, 3, w-3, 19)
  EXPECT_EQ(Px(up, ax, ay - 2), Rgb(clBtnText));      // tip of the up arrow
  EXPECT_EQ(Px(up, ax - 1, ay - 2), Rgb(clBtnFace));
  EXPECT_EQ(Px(down, ax, ay + 2), Rgb(clBtnText));    // tip of the down arrow
  EXPECT_EQ(Px(down, ax - 1, ay + 2), Rgb(clBtnFace));
}

TEST_F(PlainLooks, PanelChildAreaAndCaptionHit) {
  EXPECT_EQ(PanelPlainChildArea(100, 50, bvNone, false, 22), TRect(0, 0, 100, 50));
  EXPECT_EQ(PanelPlainChildArea(100, 50, bvRaised, false, 22), TRect(1, 1, 99, 49));
  EXPECT_EQ(PanelPlainChildArea(100, 50, bvFrame, true, 22), TRect(1, 23, 99, 49));
  EXPECT_EQ(PanelPlainCaptionHitRect(100, 22), TRect(1, 1, 99, 22));
}

TEST_F(PlainLooks, ButtonStatesAndPressedCaptionShift) {
  const int w = 75, h = 25;
  TButtonPlainLook look;
  look.Font.Name = QStringLiteral("Arial");
  look.Font.Height = 14;
  look.Content.Caption = QStringLiteral("Query");

  TBitmap normal(w, h);
  PaintButtonWithoutSkin(normal.Canvas(), w, h, look);
  EXPECT_EQ(Px(normal, 0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Px(normal, w - 1, h - 1), Rgb(clBtnShadow));
  EXPECT_EQ(Px(normal, 2, 2), Rgb(clBtnFace));

  look.Hot = true;
  TBitmap hot(w, h);
  PaintButtonWithoutSkin(hot.Canvas(), w, h, look);
  EXPECT_EQ(Px(hot, 0, 0), Rgb(clNavy));
  EXPECT_EQ(Px(hot, w - 1, h - 1), Rgb(clNavy));
  EXPECT_EQ(Px(hot, 2, 2), RGBColor(182, 189, 210));

  look.Down = true;
  TBitmap down(w, h);
  PaintButtonWithoutSkin(down.Canvas(), w, h, look);
  EXPECT_EQ(Px(down, 0, 0), Rgb(clNavy));
  EXPECT_EQ(Px(down, 2, 2), RGBColor(133, 147, 181));

  // The caption is centred and moves by (1, 1) while pressed.
  const TRect inner(1, 1, w - 1, h - 1);
  const TRect hotInk = InkBox(hot, inner, RGBColor(182, 189, 210));
  const TRect downInk = InkBox(down, inner, RGBColor(133, 147, 181));
  ASSERT_LT(hotInk.Left, hotInk.Right);
  EXPECT_NEAR((hotInk.Left + hotInk.Right) / 2, w / 2, 3);
  EXPECT_NEAR((hotInk.Top + hotInk.Bottom) / 2, h / 2, 3);
  EXPECT_EQ(downInk.Left, hotInk.Left + 1);
  EXPECT_EQ(downInk.Top, hotInk.Top + 1);

  // Down but neither hot nor focused: the normal look (pressed, then dragged outside).
  look.Hot = false;
  EXPECT_EQ(ButtonPlainState(look), 0);
  // Focused with the keyboard: down look unless the mouse holds it.
  look.Focused = true;
  EXPECT_EQ(ButtonPlainState(look), 2);
  look.MousePressed = true;
  EXPECT_EQ(ButtonPlainState(look), 1);
  look.CanFocused = false;
  EXPECT_EQ(ButtonPlainState(look), 0);
  // Grouped buttons latch down.
  look.GroupIndex = 1;
  EXPECT_EQ(ButtonPlainState(look), 2);
}

TEST_F(PlainLooks, DisabledButtonTextIsShadowColoured) {
  const int w = 75, h = 25;
  TButtonPlainLook look;
  look.Font.Name = QStringLiteral("Arial");
  look.Font.Height = 14;
  look.Content.Caption = QStringLiteral("HHHH");
  look.Enabled = false;
  TBitmap b(w, h);
  PaintButtonWithoutSkin(b.Canvas(), w, h, look);
  int shadow = 0, darker = 0;
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) {
      const int32_t p = Px(b, x, y);
      if (p == Rgb(clBtnShadow)) ++shadow;
      if (GetRValue(p) < 128) ++darker;
    }
  EXPECT_GT(shadow, 10);
  EXPECT_EQ(darker, 0);
}

TEST_F(PlainLooks, GlyphFramesAndPlacement) {
  EXPECT_EQ(ButtonGlyphFrame(true, true, true, 4), 3);
  EXPECT_EQ(ButtonGlyphFrame(true, true, true, 2), 1);
  EXPECT_EQ(ButtonGlyphFrame(false, true, true, 4), 4);
  EXPECT_EQ(ButtonGlyphFrame(false, true, true, 3), 1);
  EXPECT_EQ(ButtonGlyphFrame(false, false, false, 2), 2);
  EXPECT_EQ(ButtonGlyphFrame(false, false, false, 1), 1);

  // A strip of four 6x6 frames, each a coloured square on a magenta key colour.
  TBitmap strip(24, 6);
  const TColor colours[] = {clRed, clLime, clBlue, clYellow};
  strip.Canvas().Brush.Color = clFuchsia;
  strip.Canvas().FillRect(TRect(0, 0, 24, 6));
  for (int i = 0; i < 4; ++i) {
    strip.Canvas().Brush.Color = colours[i];
    strip.Canvas().FillRect(TRect(i * 6 + 1, 1, i * 6 + 5, 5));
  }
  for (int frame = 1; frame <= 4; ++frame) {
    TBitmap b(30, 20);
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect(TRect(0, 0, 30, 20));
    TGlyphCaption g;
    g.Glyph = &strip;
    g.NumGlyphs = 4;
    g.GlyphFrame = frame;
    g.Margin = 2;
    DrawGlyphAndCaption(b.Canvas(), TRect(0, 0, 30, 20), g);
    // Margin 2, glyph left: x = 2; y = cy - gh/2 = 10 - 3 = 7. The key colour is not drawn.
    SCOPED_TRACE(frame);
    EXPECT_EQ(Px(b, 2, 7), Rgb(clWhite));
    EXPECT_EQ(Px(b, 3, 8), Rgb(colours[frame - 1]));
    EXPECT_EQ(Px(b, 6, 11), Rgb(colours[frame - 1]));
    EXPECT_EQ(Px(b, 7, 12), Rgb(clWhite));
  }

  // Centred group, glyph on top: the glyph sits above the centre, right layout to the right.
  TBitmap top(40, 40);
  TGlyphCaption g;
  g.Glyph = &strip;
  g.NumGlyphs = 4;
  g.Layout = blGlyphTop;
  g.Spacing = 0;
  DrawGlyphAndCaption(top.Canvas(), TRect(0, 0, 40, 40), g);
  // gw 6, gh 6, no caption: mv = (6 + th + 0) / 2; glyph at (20 - 3, 20 - mv).
  TRect measure;
  top.Canvas().DrawText(QString(), measure, DT_CALCRECT);
  const int mv = (6 + measure.Height()) / 2;
  EXPECT_EQ(Px(top, 18, 20 - mv + 1), Rgb(clRed));
  EXPECT_EQ(Px(top, 17, 20 - mv), Rgb(clWhite));
}

TEST_F(PlainLooks, EditFrames) {
  const int w = 121, h = 20;
  TBitmap idle(w, h), active(w, h);
  TEditPlainLook look;
  PaintEditFrameWithoutSkin(idle.Canvas(), w, h, look);
  look.Active = true;
  PaintEditFrameWithoutSkin(active.Canvas(), w, h, look);
  EXPECT_EQ(Px(idle, 0, 0), Rgb(clBtnFace));
  EXPECT_EQ(Px(idle, 1, 1), Rgb(clBtnShadow));
  EXPECT_EQ(Px(idle, w - 2, h - 2), Rgb(clBtnShadow));
  EXPECT_EQ(Px(active, 0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Px(active, 1, 1), Rgb(clBtnFace));
  // Inside the frame the bitmap's white is left for the text.
  EXPECT_EQ(Px(idle, 5, 10), Rgb(clWhite));
  EXPECT_EQ(Px(active, 5, 10), Rgb(clWhite));

  EXPECT_EQ(EditPlainTextBox(w, h, false), TRect(2, 2, w - 2, h - 2));
  EXPECT_EQ(EditPlainTextBox(w, h, true), TRect(2, 2, w - 22, h - 2));
  EXPECT_EQ(EditPlainButtonArea(w, h), TRect(w - 20, 0, w, h));

  // Button mode: the frame stops where the button begins; the button has its own looks.
  look = TEditPlainLook();
  look.ButtonMode = true;
  look.ButtonArea = EditPlainButtonArea(w, h);
  TBitmap normal(w, h), hot(w, h), pressed(w, h);
  PaintEditFrameWithoutSkin(normal.Canvas(), w, h, look);
  look.ButtonHot = true;
  PaintEditFrameWithoutSkin(hot.Canvas(), w, h, look);
  look.ButtonPressed = true;
  PaintEditFrameWithoutSkin(pressed.Canvas(), w, h, look);
  EXPECT_EQ(Px(normal, w - 21, h - 2), Rgb(clBtnFace));  // outer ring's right edge
  EXPECT_EQ(Px(normal, w - 20, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Px(normal, w - 10, 10), Rgb(clBtnFace));
  EXPECT_EQ(Px(hot, w - 20, 0), Rgb(clNavy));
  EXPECT_EQ(Px(hot, w - 10, 10), RGBColor(182, 189, 210));
  EXPECT_EQ(Px(pressed, w - 10, 10), RGBColor(133, 147, 181));
}

TEST_F(PlainLooks, UpDownButtonsAndArrows) {
  TBitmap b(36, 18);
  PaintUpDownButtonWithoutSkin(b.Canvas(), TRect(0, 0, 18, 18), false, false, adLeft);
  PaintUpDownButtonWithoutSkin(b.Canvas(), TRect(18, 0, 36, 18), true, true, adRight);
  EXPECT_EQ(Px(b, 0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Px(b, 2, 2), Rgb(clBtnFace));
  EXPECT_EQ(Px(b, 18, 0), Rgb(clNavy));
  EXPECT_EQ(Px(b, 20, 2), RGBColor(133, 147, 181));
  // Left arrow centred at (9, 9): columns x = 7..10 of heights 1, 3, 5, 7.
  for (int i = 0; i <= 3; ++i) {
    int count = 0;
    for (int y = 0; y < 18; ++y) count += Px(b, 7 + i, y) == 0;
    EXPECT_EQ(count, 2 * i + 1) << "column " << 7 + i;
  }
  EXPECT_EQ(Px(b, 7, 9), 0);
  // Right arrow centred at (27, 9): the tip is the rightmost column.
  EXPECT_EQ(Px(b, 29, 9), 0);
  EXPECT_EQ(Px(b, 29, 8), RGBColor(133, 147, 181));
  EXPECT_EQ(Px(b, 26, 6), 0);
  EXPECT_EQ(Px(b, 26, 12), 0);
  EXPECT_EQ(Px(b, 26, 13), RGBColor(133, 147, 181));
}

TEST_F(PlainLooks, TabsAndPageFrame) {
  TFont font;
  font.Name = QStringLiteral("Arial");
  font.Height = 14;
  font.Color = clBtnText;
  struct Case { bool hot, selected, focused; int32_t edge, fill; };
  const Case cases[] = {
      {false, false, false, Rgb(clBtnFace), Rgb(clBtnFace)},
      {true, false, false, RGBColor(182, 189, 210), RGBColor(182, 189, 210)},
      {false, true, false, Rgb(clNavy), RGBColor(182, 189, 210)},
      {true, true, true, Rgb(clNavy), RGBColor(133, 147, 181)},
  };
  for (const Case& k : cases) {
    TBitmap b(60, 20);
    PaintTabWithoutSkin(b.Canvas(), 60, 20, k.hot, k.selected, k.focused, font, QStringLiteral("Ab"));
    SCOPED_TRACE(testing::Message() << k.hot << k.selected << k.focused);
    EXPECT_EQ(Px(b, 0, 0), k.edge);
    EXPECT_EQ(Px(b, 59, 19), k.edge);
    EXPECT_EQ(Px(b, 1, 1), k.fill);
    const TRect ink = InkBox(b, TRect(1, 1, 59, 19), k.fill);
    ASSERT_LT(ink.Left, ink.Right);
    EXPECT_NEAR((ink.Left + ink.Right) / 2, 30, 2);
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2, 10, 3);
  }

  TBitmap page(100, 60);
  PaintPageFrameWithoutSkin(page.Canvas(), 100, 60, TRect(4, 24, 96, 56));
  EXPECT_EQ(Px(page, 3, 23), Rgb(clBtnShadow));
  EXPECT_EQ(Px(page, 96, 56), Rgb(clBtnShadow));
  EXPECT_EQ(Px(page, 2, 23), Rgb(clBtnFace));
  EXPECT_EQ(Px(page, 4, 24), Rgb(clBtnFace));
  EXPECT_EQ(Px(page, 97, 57), Rgb(clBtnFace));
}

}  // namespace
