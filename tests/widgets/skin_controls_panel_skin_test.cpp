// The skinned panel drawn from a skin: children inside the stretched client rectangle, the
// frameless look, the background picture, caption text and glyph in the mapped caption strip,
// and caption clicks that check and roll up where the strip and marker are at the panel's size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/Forms.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/draw/bsUtils.h"
#include "support/ControlSkin.h"
#include "support/SkinFolder.h"
#include "support/WidgetTest.h"

using namespace control_skin;

namespace {

struct Fixture {
  QTemporaryDir dir;
  TForm form{nullptr};
  TbsSkinData* data;
  TbsSkinPanel* panel;
  TCustomControl* child;
  explicit Fixture(const QString& section = QStringLiteral("panel")) {
    form.SetBounds(0, 0, 400, 300);
    data = LoadControlSkin(&form, dir);
    panel = new TbsSkinPanel(&form);
    panel->SetParent(&form);
    panel->SetSkinDataName(section);
    panel->SetBounds(10, 10, 300, 120);
    child = new TCustomControl(&form);
    child->SetParent(panel);
    child->SetAlign(TAlign::alClient);
    panel->SetSkinData(data);
    form.Show();
  }
  QImage Grab() const { return Rgb888(panel->Handle()->grab().toImage()); }
  void Click(int x, int y) { ClickAt(panel->Handle(), QPoint(x, y)); }
};

// Pixels of colour `c` inside and outside `r`.
std::pair<int, int> CountIn(const QImage& img, TColor c, const TRect& r) {
  int in = 0, out = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (Q(c) & 0xFFFFFF)) ++(PointInRect(TPoint(x, y), r) ? in : out);
  return {in, out};
}

TEST(SkinPanelSkinned, ChildrenFillTheStretchedClientRectangle) {
  Fixture f;
  ASSERT_EQ(f.panel->SectionIndex(), 0);
  ASSERT_EQ(f.panel->StretchMode(), 1);
  const int dx = 300 - 60, dy = 120 - 50;
  EXPECT_EQ(f.child->BoundsRect(), TRect(8, 24, 40 + dx, 42 + dy));
  const QImage img = f.Grab();
  // Corners copied, the client pattern tiled from its origin.
  EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, Q(kFrame) & 0xFFFFFF);
  EXPECT_EQ(img.pixel(299, 119) & 0xFFFFFF, Q(kFrame) & 0xFFFFFF);
  // A resize moves the client rectangle with it.
  f.panel->SetBounds(10, 10, 200, 90);
  EXPECT_EQ(f.child->BoundsRect(), TRect(8, 24, 40 + 140, 42 + 40));
}

TEST(SkinPanelSkinned, FramelessPanelTilesTheClientTextureEverywhere) {
  Fixture f;
  f.panel->SetBorderStyle(bvNone);
  f.panel->Realign();
  EXPECT_EQ(f.child->BoundsRect(), TRect(0, 0, 300, 120));
  f.child->SetVisible(false);
  const QImage img = f.Grab();
  int wrong = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 300; ++x)
      wrong += (img.pixel(x, y) & 0xFFFFFF) != (Q(ClientPixel(8 + x % 32, 24 + y % 18)) & 0xFFFFFF);
  EXPECT_EQ(wrong, 0);
  // In caption mode the frame is back.
  f.panel->SetCaptionMode(true);
  EXPECT_EQ(f.Grab().pixel(0, 0) & 0xFFFFFF, Q(kFrame) & 0xFFFFFF);
}

TEST(SkinPanelSkinned, BackgroundPictureIsTiledAndChildrenUseTheWholeArea) {
  Fixture f(QStringLiteral("bgpanel"));
  EXPECT_EQ(f.child->BoundsRect(), TRect(0, 0, 300, 120));
  f.child->SetVisible(false);
  const QImage img = f.Grab();
  int wrong = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 300; ++x) wrong += (img.pixel(x, y) & 0xFFFFFF) != (Q(BgPixel(x % 16, y % 16)) & 0xFFFFFF);
  EXPECT_EQ(wrong, 0);
}

TEST(SkinPanelSkinned, CaptionTextAndGlyphSitInTheMappedStrip) {
  Fixture f;
  f.child->SetVisible(false);
  EXPECT_EQ(CountIn(f.Grab(), kText, TRect()).second, 0);
  f.panel->SetCaption(QStringLiteral("HHHH"));
  // The strip spans the left-top and right-top corners: it grows by the width gained.
  const TRect strip(4, 4, 44 + 240, 20);
  QImage img = f.Grab();
  EXPECT_EQ(f.panel->MappedCaptionRect(), strip);
  auto [in, out] = CountIn(img, kText, strip);
  EXPECT_GT(in, 10);
  EXPECT_EQ(out, 0);
  // Centred (the section's alignment): the text's middle is the strip's middle.
  int left = 300, right = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (Q(kText) & 0xFFFFFF)) left = std::min(left, x), right = std::max(right, x);
  EXPECT_NEAR((left + right) / 2, (strip.Left + strip.Right) / 2, 3);

  // A glyph goes before the text; its bottom-left colour is transparent.
  QImage g(10, 8, QImage::Format_RGB888);
  g.fill(qRgb(250, 0, 250));
  g.setPixel(0, 7, qRgb(1, 2, 3));
  TBitmap glyph;
  glyph.SetImage(g);
  f.panel->SetGlyph(glyph);
  img = f.Grab();
  auto [gin, gout] = CountIn(img, RGBColor(250, 0, 250), strip);
  EXPECT_EQ(gin, 79);
  EXPECT_EQ(gout, 0);
  int glyphRight = 0, textLeft = 300;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y) & 0xFFFFFF;
      if (p == (qRgb(250, 0, 250) & 0xFFFFFF)) glyphRight = std::max(glyphRight, x);
      if (p == (Q(kText) & 0xFFFFFF)) textLeft = std::min(textLeft, x);
    }
  EXPECT_LT(glyphRight, textLeft);
}

TEST(SkinPanelSkinned, CaptionClickChecksWhereTheStripIs) {
  Fixture f;
  f.panel->SetCaption(QStringLiteral("Options"));
  f.panel->SetCaptionMode(true);
  f.panel->SetCheckedMode(true);
  QImage img = f.Grab();
  EXPECT_GT(CountIn(img, kUncheck, TRect(4, 4, 16, 20)).first, 100);
  EXPECT_EQ(CountIn(img, kCheck, TRect()).second, 0);
  // Beyond the skin's width: only the mapped strip can be hit there.
  f.Click(250, 12);
  EXPECT_TRUE(f.panel->Checked());
  EXPECT_TRUE(f.child->Enabled());
  img = f.Grab();
  EXPECT_GT(CountIn(img, kCheck, TRect(4, 4, 16, 20)).first, 100);
  // Outside the strip nothing happens; the empty spot at (0, 0) is no hit either.
  f.Click(150, 60);
  f.Click(0, 0);
  EXPECT_TRUE(f.panel->Checked());
  f.Click(20, 8);
  EXPECT_FALSE(f.panel->Checked());
  EXPECT_FALSE(f.child->Enabled());
}

TEST(SkinPanelSkinned, MarkerClickRollsUpAndShowsTheRestoreMarker) {
  Fixture f;
  f.panel->SetCaptionMode(true);
  f.panel->SetRollUpMode(true);
  f.Grab();
  const TRect marker(46 + 240, 6, 56 + 240, 16);
  EXPECT_EQ(f.panel->MappedMarkerRect(), marker);
  EXPECT_EQ(CountIn(f.Grab(), kMarker, marker).first, 100);
  f.Click(marker.Left + 3, marker.Top + 3);
  EXPECT_TRUE(f.panel->RollUpState());
  // The client area's height is gone: 120 - (42 + 70 - 24).
  EXPECT_EQ(f.panel->Height(), 32);
  EXPECT_FALSE(f.child->Visible());
  EXPECT_EQ(CountIn(f.Grab(), kRestore, marker).first, 100);
  f.Click(marker.Left + 3, marker.Top + 3);
  EXPECT_FALSE(f.panel->RollUpState());
  EXPECT_EQ(f.panel->Height(), 120);
  EXPECT_TRUE(f.child->Visible());
  EXPECT_EQ(CountIn(f.Grab(), kRestore, TRect()).second, 0);
}

}  // namespace
