// What menu windows paint, pixel by pixel where the look is fixed: the default look's frame,
// glyph column, highlight, divider, marks, arrows and disabled text, the scroll markers; the
// skinned look against the composition routines (frame, item faces, divider) and its fade.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"
#include "skin/menus/MenuGlyphs.h"
#include "support/MenuHost.h"
#include "support/WidgetTest.h"

namespace {

struct PaintSite {
  PaintSite() {
    form->SetBounds(0, 0, 300, 200);
    host = new TTestMenuHost(form.get());
    menu = new TbsSkinPopupMenu(form.get());
  }
  TbsSkinPopupWindow* Open(TbsSkinData* skin = nullptr) {
    host->MenuDriver()->OpenMenu(nullptr, skin, false, menu->Items(), TRect(20, 20, 20, 20), 0);
    return host->MenuDriver()->LastWindow();
  }
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TTestMenuHost* host;
  TbsSkinPopupMenu* menu;
};

QImage Painted(TbsSkinPopupWindow* w) {
  TBitmap bmp;
  w->PaintTo(bmp);
  return bmp.Image().convertToFormat(QImage::Format_RGB32);
}

uint32_t At(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
uint32_t C(TColor c) { return Rgb(c) & 0xFFFFFF; }

// `glyph` drawn in `color` on a `size` patch of `background` at (x, y) of the patch.
QImage Reference(QSize size, TColor background, const std::function<void(TCanvas&)>& glyph) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(ToQColor(background));
  TCanvas c(&img);
  glyph(c);
  return img;
}

// The patch of `img` at `origin` equals `ref`.
::testing::AssertionResult SamePatch(const QImage& img, QPoint origin, const QImage& ref) {
  for (int y = 0; y < ref.height(); ++y)
    for (int x = 0; x < ref.width(); ++x)
      if (At(img, origin.x() + x, origin.y() + y) != (ref.pixel(x, y) & 0xFFFFFF))
        return ::testing::AssertionFailure() << "differs at " << origin.x() + x << "," << origin.y() + y;
  return ::testing::AssertionSuccess();
}

// The darkest pixel within `r` (by the sum of its channels).
uint32_t Darkest(const QImage& img, const TRect& r) {
  uint32_t best = 0xFFFFFF;
  int bestSum = 3 * 255 + 1;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const QRgb p = img.pixel(x, y);
      const int sum = qRed(p) + qGreen(p) + qBlue(p);
      if (sum < bestSum) bestSum = sum, best = p & 0xFFFFFF;
    }
  return best;
}

int CountColor(const QImage& img, const TRect& r, uint32_t rgb) {
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min<int>(r.Bottom, img.height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min<int>(r.Right, img.width()); ++x) n += At(img, x, y) == rgb;
  return n;
}

// Columns holding any pixel of `rgb` within `r`: the leftmost and rightmost, or -1.
std::pair<int, int> ColorSpan(const QImage& img, const TRect& r, uint32_t rgb) {
  int lo = -1, hi = -1;
  for (int x = r.Left; x < r.Right; ++x)
    for (int y = r.Top; y < r.Bottom; ++y)
      if (At(img, x, y) == rgb) {
        if (lo < 0) lo = x;
        hi = x;
        break;
      }
  return {lo, hi};
}

TEST(SkinMenuPaint, DefaultLookFrameHighlightDividerMarksArrowAndDisabledText) {
  PaintSite s;
  auto items = AddItems(s.form.get(), s.menu->Items(), {"&Check", "&Radio", "-", "Sub", "Illegal", "Close", "Plain"});
  items[0]->SetChecked(true);
  items[1]->SetRadioItem(true);
  items[1]->SetChecked(true);
  AddItems(s.form.get(), items[3], {"Inner"});
  items[4]->SetEnabled(false);
  items[5]->SetName("BSF_CLOSE");
  items[5]->SetShortCut(ShortCut(VK_F4, ssAlt));
  TbsSkinPopupWindow* w = s.Open();
  ASSERT_FALSE(w->Skinned());
  const QImage img = Painted(w);
  if (qEnvironmentVariableIsSet("LG_DUMP")) img.save("/tmp/m1_default.png");
  const int W = w->Width(), H = w->Height();
  ASSERT_EQ(img.size(), QSize(W, H));
  // Outer border in the shadow colour, an inner one in the window colour.
  EXPECT_EQ(At(img, 0, H / 2), C(clBtnShadow));
  EXPECT_EQ(At(img, W - 1, H / 2), C(clBtnShadow));
  EXPECT_EQ(At(img, 1, H / 2), C(clWindow));
  EXPECT_EQ(At(img, W / 2, H - 2), C(clWindow));

  // The first item is selected: navy outline, the light blue-grey inside, check mark in black.
  const TRect b0 = w->Items(0)->ItemBounds;
  EXPECT_EQ(b0, TRect(2, 2, W - 2, 22));
  EXPECT_EQ(At(img, b0.Left, b0.Top), C(clNavy));
  EXPECT_EQ(At(img, b0.Right - 1, b0.Bottom - 1), C(clNavy));
  EXPECT_EQ(At(img, b0.Right - 3, b0.Top + 2), 0xB6BDD2u);  // red 182, green 189, blue 210
  const int m = 2 + (20 - 4) / 2;  // P.Top + half P's height, in item coordinates
  const QImage check = Reference(QSize(12, 12), static_cast<TColor>(13811126),
                                 [](TCanvas& c) { PaintCheckGlyph(c, 2, 2, clWindowText); });
  EXPECT_TRUE(SamePatch(img, QPoint(b0.Left + 2 + 3 - 2, b0.Top + m - 4 - 2), check));

  // An unselected item: the glyph column in the face colour, the rest in the window colour.
  const TRect b1 = w->Items(1)->ItemBounds;
  EXPECT_EQ(At(img, b1.Left + 1, b1.Top + 1), C(clBtnFace));
  EXPECT_EQ(At(img, b1.Left + 18, b1.Bottom - 1), C(clBtnFace));
  EXPECT_EQ(At(img, b1.Left + 19, b1.Bottom - 1), C(clWindow));
  const QImage dot = Reference(QSize(10, 10), clBtnFace, [](TCanvas& c) { PaintRadioDot(c, 2, 2, clWindowText); });
  EXPECT_TRUE(SamePatch(img, QPoint(b1.Left + 2 + 3 - 2, b1.Top + m - 3 - 2), dot));
  EXPECT_EQ(At(img, b1.Left + 5 + 3, b1.Top + m), C(clWindowText));  // the dot's middle is filled

  // The divider: 4 pixels high, a shadow line at its middle from the glyph column on.
  const TRect b2 = w->Items(2)->ItemBounds;
  EXPECT_EQ(RectHeight(b2), 4);
  EXPECT_EQ(At(img, b2.Left + 19, b2.Top + 2), C(clBtnShadow));
  EXPECT_EQ(At(img, b2.Right - 1, b2.Top + 2), C(clBtnShadow));
  EXPECT_EQ(At(img, b2.Left + 18, b2.Top + 2), C(clBtnFace));
  EXPECT_EQ(At(img, b2.Left + 30, b2.Top + 1), C(clWindow));

  // The sub-menu arrow: 4 columns narrowing to the right, at (P.Right - 7, m - 4).
  const TRect b3 = w->Items(3)->ItemBounds;
  const int pr = RectWidth(b3) - 2;
  const QImage arrow = Reference(QSize(8, 11), clWindow, [](TCanvas& c) { PaintSubMenuArrow(c, 2, 2, clWindowText); });
  EXPECT_TRUE(SamePatch(img, QPoint(b3.Left + pr - 7 - 2, b3.Top + m - 4 - 2), arrow));
  EXPECT_EQ(At(img, b3.Left + pr - 7, b3.Top + m - 4 + 6), C(clWindowText));
  EXPECT_EQ(At(img, b3.Left + pr - 7 + 3, b3.Top + m - 4 + 3), C(clWindowText));
  EXPECT_EQ(At(img, b3.Left + pr - 7 + 3, b3.Top + m - 4 + 2), C(clWindow));

  // Disabled text in the shadow colour, never in the text colour; captions start after the
  // glyph column.
  const TRect b4 = w->Items(4)->ItemBounds;
  // (Text is smoothed: its darkest pixel is the text colour, or close to it.)
  const QColor grey = QColor::fromRgb(Darkest(img, TRect(b4.Left + 20, b4.Top, b4.Right, b4.Bottom)));
  const QColor shadow = ToQColor(clBtnShadow);
  EXPECT_GE(grey.red(), shadow.red());
  EXPECT_LE(grey.red(), shadow.red() + 40);
  EXPECT_EQ(CountColor(img, b4, C(clWindowText)), 0);
  const auto [capLeft, capRight] = ColorSpan(img, w->Items(6)->ItemBounds, C(clWindowText));
  EXPECT_GE(capLeft, b4.Left + 2 + 19);
  EXPECT_LE(capLeft, b4.Left + 2 + 19 + 4);

  // A frame command item shows its glyph instead of a mark, and its shortcut ends 19 pixels
  // before the text area's right end.
  const TRect b5 = w->Items(5)->ItemBounds;
  const QImage close = Reference(QSize(14, 14), clBtnFace, [](TCanvas& c) { PaintCloseGlyph(c, 2, 2, clWindowText); });
  EXPECT_TRUE(SamePatch(img, QPoint(b5.Left + 2 + 2 - 2, b5.Top + m - 4 - 2), close));
  const auto [scLeft, scRight] = ColorSpan(img, TRect(b5.Left + W / 2, b5.Top, b5.Right, b5.Bottom), C(clWindowText));
  EXPECT_LE(scRight, b5.Left + pr - 19);
  EXPECT_GE(scRight, b5.Left + pr - 19 - 3);
  s.host->MenuDriver()->CloseAll();
}

TEST(SkinMenuPaint, DefaultScrollMarkersShowTheDirectionOfTheScroll) {
  PaintSite s;
  QStringList captions;
  for (int i = 0; i < 200; ++i) captions << QStringLiteral("Row %1").arg(i);
  AddItems(s.form.get(), s.menu->Items(), captions);
  TbsSkinPopupWindow* w = s.Open();
  ASSERT_TRUE(w->Scrolling);
  const int W = w->Width(), H = w->Height();
  const TRect up(3, 3, W - 3, 13), down(3, H - 10, W - 3, H - 3);
  QImage img = Painted(w);
  EXPECT_GT(CountColor(img, up, C(clBtnShadow)), 3);
  EXPECT_GT(CountColor(img, down, C(clBtnShadow)), 3);
  EXPECT_EQ(CountColor(img, up, C(clBtnText)), 0);
  w->ScrollDirection = 1;
  img = Painted(w);
  EXPECT_GT(CountColor(img, up, C(clBtnText)), 3);
  EXPECT_EQ(CountColor(img, down, C(clBtnText)), 0);
  // The markers sit in the 10-pixel zones the items leave free.
  EXPECT_EQ(w->Items(w->FirstVisible)->ItemBounds.Top, 12);
  EXPECT_LE(w->Items(w->FirstVisible + w->ShownCount - 1)->ItemBounds.Bottom, H - 12);
  s.host->MenuDriver()->CloseAll();
}

TEST(SkinMenuPaint, SkinnedLookComposesFrameFacesAndDividerAndFadesTheSelection) {
  PaintSite s;
  auto* data = new TbsSkinData(s.form.get());
  LoadSkinFolder(data, "daylight");
  auto items = AddItems(s.form.get(), s.menu->Items(), {"First", "-", "Second", "Ill Ill"});
  items[3]->SetEnabled(false);
  TbsSkinPopupWindow* w = s.Open(data);
  ASSERT_TRUE(w->Skinned());
  const TbsDataSkinPopupWindow& pw = *data->PopupWindow;
  const TbsDataSkinMenuItem& mi = *w->ItemData;
  const TBitmap& pic = *data->ActivePicture(pw.windowpictureindex);
  const TBitmap& itemPic = *data->ActivePicture(mi.activepictureindex);
  const int W = w->Width(), H = w->Height();

  TBitmap frame;
  ComposeSkinImage(pw.lefttoppoint, pw.righttoppoint, pw.leftbottompoint, pw.rightbottompoint, pw.itemsrect,
                   w->MappedLeftTop, w->MappedRightTop, w->MappedLeftBottom, w->MappedRightBottom, w->MappedItemsRect,
                   frame, pic, TRect(0, 0, pic.Width(), pic.Height()), W, H, false);
  const QImage frameImg = frame.Image().convertToFormat(QImage::Format_RGB32);
  TBitmap normal, active, divider;
  ComposeStripH(mi.itemleftoffset, mi.itemrightoffset, normal, itemPic, mi.skinrect, RectWidth(w->MappedItemsRect), 0);
  ComposeStripH(mi.itemleftoffset, mi.itemrightoffset, active, itemPic, mi.activeskinrect, RectWidth(w->MappedItemsRect), 0);
  ComposeStripH(mi.dividerleftoffset, mi.dividerrightoffset, divider, itemPic, mi.dividerrect, RectWidth(w->MappedItemsRect), 0);
  const QImage normalImg = normal.Image().convertToFormat(QImage::Format_RGB32);
  const QImage activeImg = active.Image().convertToFormat(QImage::Format_RGB32);
  const QImage dividerImg = divider.Image().convertToFormat(QImage::Format_RGB32);

  // The selected first item starts its fade from the normal face, blended by the skin's morph.
  EXPECT_TRUE(w->Items(0)->Highlighted);
  EXPECT_EQ(w->Items(0)->MorphFactor, 0);
  const auto morphed = [&](double kf) {
    TbsEffectBmp a(normal), b(active);
    a.Morph(static_cast<int>(mi.morphkind), b, kf);
    return a.Image().convertToFormat(QImage::Format_RGB32);
  };
  QImage img = Painted(w);
  if (qEnvironmentVariableIsSet("LG_DUMP")) img.save("/tmp/m1_skinned.png");
  // Frame: everything outside the items rectangle.
  const TRect ir = w->MappedItemsRect;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (!PointInRect(TPoint(x, y), ir)) ASSERT_EQ(At(img, x, y), frameImg.pixel(x, y) & 0xFFFFFF) << x << "," << y;
  // Item faces left of the text area (where no text or mark goes), and the whole divider.
  const auto faceLeft = [&](int index, const QImage& face) {
    const TRect b = w->Items(index)->ItemBounds;
    for (int y = 0; y < RectHeight(b); ++y)
      for (int x = 0; x < mi.textrect.Left; ++x)
        if (At(img, b.Left + x, b.Top + y) != (face.pixel(x, y) & 0xFFFFFF)) return false;
    return true;
  };
  EXPECT_TRUE(faceLeft(0, morphed(0)));
  EXPECT_TRUE(faceLeft(2, normalImg));
  const TRect bd = w->Items(1)->ItemBounds;
  EXPECT_EQ(RectHeight(bd), RectHeight(mi.dividerrect));
  EXPECT_TRUE(SamePatch(img, QPoint(bd.Left, bd.Top), dividerImg));
  // The disabled item's text is in "unenabledfontcolor", the others' never.
  const auto textColor = [&](int index) {
    const TRect b = w->Items(index)->ItemBounds;
    return QColor::fromRgb(Darkest(img, TRect(b.Left + mi.textrect.Left + 16, b.Top, b.Right - 16, b.Bottom)));
  };
  const QColor disabled = ToQColor(mi.unenabledfontcolor), enabled = ToQColor(mi.fontcolor);
  EXPECT_NEAR(textColor(3).red(), disabled.red(), 40);
  EXPECT_NEAR(textColor(3).green(), disabled.green(), 40);
  EXPECT_NEAR(textColor(2).red(), enabled.red(), 40);
  EXPECT_NEAR(textColor(2).blue(), enabled.blue(), 40);

  // Ten fade steps reach the active face; half way it is neither face.
  for (int i = 0; i < 5; ++i) w->FadeTick();
  EXPECT_NEAR(w->Items(0)->MorphFactor, 0.5, 1e-9);
  img = Painted(w);
  EXPECT_TRUE(faceLeft(0, morphed(0.5)));
  EXPECT_FALSE(faceLeft(0, normalImg));
  EXPECT_FALSE(faceLeft(0, activeImg));
  for (int i = 0; i < 5; ++i) w->FadeTick();
  EXPECT_EQ(w->Items(0)->MorphFactor, 1);
  EXPECT_FALSE(w->FadeTimer().Enabled() && (w->FadeTick(), w->FadeTimer().Enabled()));  // nothing left to fade
  img = Painted(w);
  EXPECT_TRUE(faceLeft(0, activeImg));
  // Moving the selection fades the old item out and the new one in.
  w->SelectNext();
  EXPECT_EQ(w->ActiveIndex, 2);
  EXPECT_TRUE(w->FadeTimer().Enabled());
  w->FadeTick();
  EXPECT_NEAR(w->Items(0)->MorphFactor, 0.9, 1e-9);
  EXPECT_NEAR(w->Items(2)->MorphFactor, 0.1, 1e-9);
  s.host->MenuDriver()->CloseAll();
}

TEST(SkinMenuPaint, BadSkinGeometryPaintsWithoutFailing) {
  PaintSite s;
  auto* data = new TbsSkinData(s.form.get());
  LoadSkinFolder(data, "slate");
  AddItems(s.form.get(), s.menu->Items(), {"One", "-", "Two"});
  // Points outside the picture, an inverted items rectangle, an item object without a picture
  // (its items lose their height), a mask of another size.
  data->PopupWindow->lefttoppoint = TPoint(500, -3);
  data->PopupWindow->itemsrect = TRect(40, 40, 3, 3);
  data->PopupWindow->maskpictureindex = 0;
  for (auto& o : data->SkinObjects)
    if (auto* m = dynamic_cast<TbsDataSkinMenuItem*>(o.get())) {
      m->activepictureindex = 77;
      m->textrect = TRect(-5000, 0, 90000, 20);
    }
  TbsSkinPopupWindow* w = s.Open(data);
  ASSERT_TRUE(w->Skinned());
  EXPECT_EQ(w->Items(0)->Height(), 0);
  EXPECT_GE(w->Width(), 1);
  EXPECT_GE(w->Height(), 1);
  TBitmap bmp;
  w->PaintTo(bmp);
  w->HandleMouseMove(TPoint(5, 5));
  w->HandleKey(VK_DOWN);
  for (int i = 0; i < 12; ++i) w->FadeTick();
  w->Handle()->repaint();
  s.host->MenuDriver()->CloseAll();
}

}  // namespace
