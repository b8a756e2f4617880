// The composed image a skinned control keeps between paints: what the window shows is the
// image composed afresh from the 24-bit picture, pixel for pixel, also after the skin changes,
// after a resize, after the picture's pixels change, and for a centre of one colour (filled
// rather than copied) as well as for a patterned one.
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

constexpr TColor kOtherFrame = 0x00305070, kCentre = 0x00208040, kNewCentre = 0x00904010;

// The panel's picture (the skin's first) as the skin data holds it.
TBitmap& PanelPictureOf(TbsSkinData* data) { return *data->activepictures.at(0); }

// Paints the frame area of the skin rectangle and the client area of the panel picture anew.
void Recolour(TBitmap& picture, TColor frame, TColor centre) {
  QImage img = picture.Image().convertToFormat(QImage::Format_RGB888);
  Fill(img, 0, 0, 60, 4, frame);
  Fill(img, 8, 24, 40, 42, centre);
  picture.SetImage(img);
}

// The panel's image composed directly (no keeping, 24-bit) from its section's picture.
QImage Reference(const TbsSkinPanel& panel, const TBitmap& picture) {
  const TSkinStretch& s = panel.Stretch();
  const int dx = panel.Width() - s.SkinWidth(), dy = panel.Height() - s.SkinHeight();
  const TPoint NRT(s.righttoppoint.X + dx, s.righttoppoint.Y), NLB(s.leftbottompoint.X, s.leftbottompoint.Y + dy);
  const TPoint NRB(s.rightbottompoint.X + dx, s.rightbottompoint.Y + dy);
  const TRect NCR(s.SkinClientRect.Left, s.SkinClientRect.Top, s.SkinClientRect.Right + dx,
                  s.SkinClientRect.Bottom + dy);
  TBitmap out;
  ComposeSkinImage(s.lefttoppoint, s.righttoppoint, s.leftbottompoint, s.rightbottompoint, s.SkinClientRect,
                   s.lefttoppoint, NRT, NLB, NRB, NCR, out, picture, s.skinrect, panel.Width(), panel.Height(), true);
  return Rgb888(out.Image());
}

// The first pixel where two images differ, for a readable failure.
QString FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return QStringLiteral("sizes differ");
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return QStringLiteral("(%1, %2): %3 vs %4").arg(x).arg(y).arg(a.pixel(x, y), 0, 16).arg(b.pixel(x, y), 0, 16);
  return {};
}

TEST(ComposedControlImage, WindowShowsTheFreshImageAfterSkinChangesResizesAndPictureEdits) {
  QTemporaryDir dirA, dirB;
  TForm form(nullptr);
  form.SetBounds(0, 0, 500, 400);
  TbsSkinData* patterned = LoadControlSkin(&form, dirA);
  TbsSkinData* plainCentre = LoadControlSkin(&form, dirB);
  Recolour(PanelPictureOf(plainCentre), kOtherFrame, kCentre);
  auto* panel = new TbsSkinPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(10, 10, 300, 200);
  panel->SetSkinData(patterned);
  form.Show();
  QApplication::processEvents();
  auto grab = [&] { return Rgb888(panel->Handle()->grab().toImage()); };
  auto expectFresh = [&](TbsSkinData* data, const char* step) {
    const QImage shown = grab();
    const QImage fresh = Reference(*panel, PanelPictureOf(data));
    EXPECT_EQ(FirstDifference(shown, fresh), QString()) << step;
    return shown;
  };

  // A patterned centre is copied; painting twice shows the same image.
  ASSERT_EQ(panel->StretchMode(), smBoth);
  const QImage first = expectFresh(patterned, "patterned");
  EXPECT_EQ(first.pixel(0, 0) & 0xFFFFFF, Q(kFrame) & 0xFFFFFF);
  panel->Repaint();
  EXPECT_EQ(grab(), first);

  // Another skin with a one-colour centre: the new frame and the filled centre.
  panel->SetSkinData(plainCentre);
  const QImage other = expectFresh(plainCentre, "other skin");
  EXPECT_EQ(other.pixel(0, 0) & 0xFFFFFF, Q(kOtherFrame) & 0xFFFFFF);
  EXPECT_EQ(other.pixel(150, 100) & 0xFFFFFF, Q(kCentre) & 0xFFFFFF);
  EXPECT_NE(other, first);

  // A resize composes for the new size: the bottom-right corner moves.
  panel->SetBounds(10, 10, 420, 330);
  QApplication::processEvents();
  const QImage larger = expectFresh(plainCentre, "resized");
  EXPECT_EQ(larger.size(), QSize(420, 330));
  EXPECT_EQ(larger.pixel(419, 329) & 0xFFFFFF, Q(kFrame) & 0xFFFFFF);
  EXPECT_EQ(larger.pixel(300, 250) & 0xFFFFFF, Q(kCentre) & 0xFFFFFF);

  // New pixels in the same picture are shown at the next paint.
  Recolour(PanelPictureOf(plainCentre), kOtherFrame, kNewCentre);
  panel->Repaint();
  const QImage edited = expectFresh(plainCentre, "picture edited");
  EXPECT_EQ(edited.pixel(300, 250) & 0xFFFFFF, Q(kNewCentre) & 0xFFFFFF);

  // And back to the first skin at the new size.
  panel->SetSkinData(patterned);
  expectFresh(patterned, "first skin again");
}

}  // namespace
