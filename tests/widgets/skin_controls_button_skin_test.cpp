// The skinned button drawn from the product's skins: the look and text colour of every state,
// the height the section imposes, the fade between the normal and active looks (pixel for
// pixel against the morph routines), and the modal result a click hands to its form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "platform/Actions.h"
#include "platform/Edit.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Streaming.h"
#include "skin/controls/SkinControlsRegistry.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"
#include "support/SkinFolder.h"
#include "support/WidgetTest.h"

namespace {

struct Fixture {
  TForm form{nullptr};
  TbsSkinData* data;
  TbsDataSkinButtonControl* section;
  TbsSkinButton* button;
  TEdit* edit;
  explicit Fixture(const QString& skin) {
    form.SetBounds(0, 0, 300, 120);
    data = LoadSkinFolder(&form, skin);
    section = SkinSection<TbsDataSkinButtonControl>(data, QStringLiteral("button"));
    // The focus rests on an edit, so the button shows its focused look only when told.
    edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 60, 100, 21);
    button = new TbsSkinButton(&form);
    button->SetParent(&form);
    button->SetBounds(10, 10, 75, 40);
    button->SetSkinData(data);
    ShowActive(form);
    edit->SetFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !button->Focused() && button->MorphFactor() == 0; }, 3000));
  }
  QImage Grab() const { return Rgb888(button->Handle()->grab().toImage()); }
  // The state rectangle composed the way a horizontal strip is, at the button's width.
  QImage Composed(const TRect& state) const {
    TBitmap b;
    const TBitmap* pic = data->ActivePicture(section->pictureindex);
    ComposeStripH(section->lefttoppoint.X, RectWidth(section->skinrect) - section->righttoppoint.X, b, *pic, state,
                  button->Width(), button->Height());
    return Rgb888(b.Image());
  }
};

// Pixels equal outside the client rectangle (where the text goes).
int FrameDifferences(const QImage& a, const QImage& b, const TRect& client) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (!PointInRect(TPoint(x, y), client) && a.pixel(x, y) != b.pixel(x, y)) ++n;
  return n;
}

int CountColour(const QImage& img, TColor c) {
  const QRgb want = Rgb(c);
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF);
  return n;
}

TEST(SkinButtonLooks, EveryStateTakesItsRectangleAndTextColour) {
  Fixture f(QStringLiteral("daylight"));
  TbsSkinButton* b = f.button;
  ASSERT_NE(f.section, nullptr);
  ASSERT_NE(b->SectionIndex(), -1);
  // Horizontal stretch: the width stays, the height is the section's.
  EXPECT_EQ(b->Width(), 75);
  EXPECT_EQ(b->Height(), RectHeight(f.section->skinrect));
  b->SetHeight(50);
  EXPECT_EQ(b->Height(), RectHeight(f.section->skinrect));
  const TRect client = b->StretchedClientRect();
  EXPECT_EQ(client.Right, f.section->clientrect.Right + 75 - RectWidth(f.section->skinrect));

  // A big plain font so the text has solid stems; the colour still comes from the section.
  b->SetUseSkinFont(false);
  TFont big = b->DefaultFont();
  big.Height = 22;
  big.Style = fsBold;
  b->SetDefaultFont(big);

  struct State {
    const char* name;
    TRect rect;
    TColor colour;
  };
  auto textPixels = [&](TColor colour) {
    b->SetCaption(QStringLiteral("HHHH"));
    const int with = CountColour(f.Grab(), colour);
    b->SetCaption(QString());
    const int without = CountColour(f.Grab(), colour);
    return with - without;
  };

  // Normal.
  EXPECT_EQ(FrameDifferences(f.Grab(), f.Composed(f.section->skinrect), client), 0);
  EXPECT_GT(textPixels(f.section->fontcolor), 10);
  // Active (mouse over).
  b->Perform(CM_MOUSEENTER);
  b->SetMorphFactor(1);
  EXPECT_EQ(FrameDifferences(f.Grab(), f.Composed(f.section->activeskinrect), client), 0);
  EXPECT_GT(textPixels(f.section->activefontcolor), 10);
  // Down (pressed inside).
  SendMouse(b->Handle(), QEvent::MouseButtonPress, QPoint(20, 10));
  ASSERT_TRUE(b->Down());
  EXPECT_EQ(FrameDifferences(f.Grab(), f.Composed(f.section->downskinrect), client), 0);
  EXPECT_GT(textPixels(f.section->downfontcolor), 10);
  SendMouse(b->Handle(), QEvent::MouseButtonRelease, QPoint(20, 10));
  // Disabled.
  b->SetEnabled(false);
  EXPECT_EQ(FrameDifferences(f.Grab(), f.Composed(f.section->disabledskinrect), client), 0);
  EXPECT_GT(textPixels(f.section->disabledfontcolor), 10);
  // The looks really differ, so the comparisons above tell them apart.
  EXPECT_GT(FrameDifferences(f.Composed(f.section->skinrect), f.Composed(f.section->activeskinrect), client), 0);
  EXPECT_GT(FrameDifferences(f.Composed(f.section->downskinrect), f.Composed(f.section->activeskinrect), client), 0);
}

// The fade shows the normal look blended toward the active one by the section's morph kind.
void ExpectFadeBlends(const QString& skin, TMorphKind expectedKind) {
  SCOPED_TRACE(skin.toStdString());
  Fixture f(skin);
  TbsSkinButton* b = f.button;
  ASSERT_TRUE(f.section->morphing);
  ASSERT_EQ(f.section->morphkind, expectedKind);
  b->SetCaption(QStringLiteral("Query"));
  const QImage normal = f.Grab();
  b->Perform(CM_MOUSEENTER);
  b->SetMorphFactor(1);
  const QImage active = f.Grab();
  ASSERT_NE(normal, active);
  for (double kf : {0.3, 0.7}) {
    b->SetMorphFactor(kf);
    const QImage shown = f.Grab();
    TbsEffectBmp expected(normal);
    expected.Morph(expectedKind, TbsEffectBmp(active), kf);
    EXPECT_EQ(shown, Rgb888(expected.Image())) << "factor " << kf;
    EXPECT_NE(shown, normal);
    EXPECT_NE(shown, active);
    // Another kind would have shown something else.
    TbsEffectBmp plain(normal);
    plain.MorphDefault(TbsEffectBmp(active), kf);
    EXPECT_NE(shown, Rgb888(plain.Image()));
  }
}

TEST(SkinButtonLooks, FadeStepsBlendByTheSectionsMorphKind) {
  ExpectFadeBlends(QStringLiteral("daylight"), mkGradient);
  ExpectFadeBlends(QStringLiteral("slate"), mkPush);
}

TEST(SkinButtonLooks, HoverFadesInOverTheTimerAndOutAgain) {
  Fixture f(QStringLiteral("daylight"));
  TbsSkinButton* b = f.button;
  const QImage normal = f.Grab();
  b->Perform(CM_MOUSEENTER);
  EXPECT_EQ(b->MorphFactor(), 0);
  bool sawBlend = false;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        if (b->MorphFactor() > 0 && b->MorphFactor() < 1) sawBlend = sawBlend || f.Grab() != normal;
        return b->MorphFactor() == 1;
      },
      3000));
  EXPECT_TRUE(sawBlend);
  b->Perform(CM_MOUSELEAVE);
  ASSERT_TRUE(QTest::qWaitFor([&] { return b->MorphFactor() == 0; }, 3000));
  EXPECT_EQ(f.Grab(), normal);
}

TEST(SkinButtonLooks, ClickHandsItsModalResultToTheForm) {
  TForm dialog(nullptr);
  dialog.SetBounds(0, 0, 300, 120);
  auto* ok = new TbsSkinButton(&dialog);
  ok->SetParent(&dialog);
  ok->SetBounds(10, 10, 75, 25);
  ok->SetModalResult(mrOk);
  int clicks = 0;
  ok->OnClick = [&](TComponent*) { ++clicks; };
  auto* grouped = new TbsSkinButton(&dialog);
  grouped->SetParent(&dialog);
  grouped->SetBounds(100, 10, 75, 25);
  grouped->SetModalResult(mrYes);
  grouped->SetGroupIndex(1);  // not focusable: it hands nothing on

  QTimer::singleShot(30, [&] { ClickAt(ok->Handle(), QPoint(5, 5)); });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Modal());

  // Closing ends it with mrCancel; a refusal of CloseQuery keeps it open.
  int asked = 0;
  dialog.OnCloseQuery = [&](TComponent*, bool& can) { can = ++asked > 1; };
  QTimer::singleShot(30, [&] {
    ClickAt(grouped->Handle(), QPoint(5, 5));
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    dialog.Close();  // refused
    QTimer::singleShot(30, [&] {
      EXPECT_TRUE(dialog.Visible());
      dialog.Close();
    });
  });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(dialog.Visible());

  // A visible form cannot be made modal.
  dialog.Show();
  EXPECT_THROW(dialog.ShowModal(), EInvalidOperation);
}

TEST(SkinButtonLooks, GlyphFromTheActionsImageList) {
  Fixture f(QStringLiteral("daylight"));
  TbsSkinButton* b = f.button;
  auto* images = new TImageList(&f.form);
  images->SetSize(16, 16);
  QImage red(16, 16, QImage::Format_ARGB32);
  red.fill(qRgb(255, 0, 0));
  QImage blue(16, 16, QImage::Format_ARGB32);
  blue.fill(qRgb(0, 0, 255));
  blue.setPixel(0, 15, qRgba(0, 0, 0, 0));  // the corner the glyph takes as transparent
  images->Add(red);
  images->Add(blue);
  auto* list = new TActionList(&f.form);
  list->SetImages(images);
  auto* act = new TAction(&f.form);
  act->SetActionList(list);
  act->SetCaption(QStringLiteral("Run"));
  act->SetImageIndex(1);
  int ran = 0;
  act->OnExecute = [&](TComponent*) { ++ran; };

  b->SetNumGlyphs(1);
  b->SetAction(act);
  EXPECT_EQ(b->Caption(), QStringLiteral("Run"));
  ASSERT_EQ(b->Glyph().Width(), 16);
  EXPECT_EQ(b->Glyph().Image().pixelColor(5, 5), QColor(0, 0, 255));
  EXPECT_EQ(b->Glyph().Image().pixelColor(0, 15), QColor(255, 0, 255));
  // Drawn on the button, its fuchsia corner left out.
  EXPECT_EQ(CountColour(f.Grab(), RGBColor(0, 0, 255)), 255);
  EXPECT_EQ(CountColour(f.Grab(), clFuchsia), 0);

  ClickAt(b->Handle(), QPoint(5, 5));
  EXPECT_EQ(ran, 1);
  act->SetEnabled(false);
  EXPECT_FALSE(b->Enabled());
  act->SetCaption(QStringLiteral("Again"));
  EXPECT_EQ(b->Caption(), QStringLiteral("Again"));
  // A glyph of its own is kept.
  act->SetImageIndex(0);
  EXPECT_EQ(b->Glyph().Image().pixelColor(5, 5), QColor(0, 0, 255));
  delete act;
  EXPECT_EQ(b->Action(), nullptr);
}

TEST(SkinButtonLooks, GlyphsAndActionsAreStoredInTheDefinition) {
  RegisterSkinControlClasses();
  TForm form(nullptr);
  form.SetName(QStringLiteral("Dialog"));
  QImage g(12, 8, QImage::Format_RGB888);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) g.setPixel(x, y, qRgb(x * 20, y * 30, 77));
  TBitmap glyph;
  glyph.SetImage(g);
  auto* b = new TbsSkinButton(&form);
  b->SetName(QStringLiteral("Ok"));
  b->SetParent(&form);
  b->SetGlyph(glyph);
  auto* p = new TbsSkinPanel(&form);
  p->SetName(QStringLiteral("Top"));
  p->SetParent(&form);
  p->SetGlyph(glyph);
  auto* list = new TActionList(&form);
  list->SetName(QStringLiteral("Actions"));
  auto* act = new TAction(&form);
  act->SetName(QStringLiteral("RunAction"));
  act->SetActionList(list);
  act->SetImageIndex(3);
  b->SetAction(act);
  const QString text = WriteComponentToText(&form);
  EXPECT_EQ(text.count(QStringLiteral("Glyph.Data")), 2);

  TForm copy(nullptr);
  ReadComponentFromText(text, &copy);
  auto* b2 = dynamic_cast<TbsSkinButton*>(copy.FindComponent(QStringLiteral("Ok")));
  auto* p2 = dynamic_cast<TbsSkinPanel*>(copy.FindComponent(QStringLiteral("Top")));
  auto* act2 = dynamic_cast<TAction*>(copy.FindComponent(QStringLiteral("RunAction")));
  ASSERT_TRUE(b2 && p2 && act2);
  EXPECT_EQ(Rgb888(b2->Glyph().Image()), Rgb888(g));
  EXPECT_EQ(Rgb888(p2->Glyph().Image()), Rgb888(g));
  EXPECT_EQ(b2->Action(), act2);
  EXPECT_EQ(act2->ImageIndex(), 3);
  EXPECT_EQ(act2->ActionList(), copy.FindComponent(QStringLiteral("Actions")));

  // A glyph block that is not a bitmap fails the read with a clear error.
  QString bad = text;
  const qsizetype at = bad.indexOf(QStringLiteral("Glyph.Data = {"));
  ASSERT_GE(at, 0);
  bad.insert(at + 14, QStringLiteral("0500000042"));
  TForm broken(nullptr);
  EXPECT_THROW(ReadComponentFromText(bad, &broken), EReadError);
}

}  // namespace
