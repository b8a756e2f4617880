// The skinned control base with a skin: the size a section imposes when the skin is applied,
// the window shape cut from the mask in every stretch mode, skin data set while its skin is
// still empty, and the default font telling its control of changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRegion>
#include <QTemporaryDir>

#include "platform/Forms.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinControl.h"
#include "support/ControlSkin.h"
#include "support/SkinFolder.h"
#include "support/WidgetTest.h"

using namespace control_skin;

namespace {

struct Fixture {
  QTemporaryDir dir;
  TForm form{nullptr};
  TbsSkinData* data;
  Fixture() {
    form.SetBounds(0, 0, 500, 400);
    data = LoadControlSkin(&form, dir);
    form.Show();
  }
  TbsSkinCustomControl* Control(const QString& section, int w, int h) {
    auto* c = new TbsSkinCustomControl(&form);
    c->SetParent(&form);
    c->SetSkinDataName(section);
    c->SetBounds(5, 5, w, h);
    c->SetSkinData(data);
    return c;
  }
};

TEST(SkinControlBase, ApplyingTheSkinTakesTheSizeTheSectionAllows) {
  Fixture f;
  // Fixed: the skin's size whatever was asked.
  TbsSkinCustomControl* fixed = f.Control(QStringLiteral("fixed"), 200, 150);
  EXPECT_EQ(fixed->StretchMode(), 0);
  EXPECT_EQ(fixed->Width(), 60);
  EXPECT_EQ(fixed->Height(), 50);
  fixed->SetBounds(5, 5, 300, 20);
  EXPECT_EQ(fixed->Width(), 60);
  EXPECT_EQ(fixed->Height(), 50);
  // Horizontal keeps the width, vertical the height; both keep both.
  TbsSkinCustomControl* horiz = f.Control(QStringLiteral("horiz"), 200, 150);
  EXPECT_EQ(horiz->StretchMode(), 2);
  EXPECT_EQ(horiz->BoundsRect(), Bounds(5, 5, 200, 50));
  EXPECT_EQ(horiz->StretchedClientRect(), TRect(8, 10, 40 + 140, 40));
  TbsSkinCustomControl* vert = f.Control(QStringLiteral("vert"), 200, 150);
  EXPECT_EQ(vert->StretchMode(), 3);
  EXPECT_EQ(vert->BoundsRect(), Bounds(5, 5, 60, 150));
  TbsSkinCustomControl* both = f.Control(QStringLiteral("both"), 200, 150);
  EXPECT_EQ(both->BoundsRect(), Bounds(5, 5, 200, 150));
  EXPECT_EQ(both->StretchedClientRect(), TRect(8, 24, 40 + 140, 42 + 100));
  // No section of that name (case counts): the default size, when one is given.
  auto* none = new TbsSkinCustomControl(&f.form);
  none->SetParent(&f.form);
  none->SetSkinDataName(QStringLiteral("Fixed"));
  none->SetBounds(5, 5, 120, 30);
  none->SetDefaultWidth(90);
  EXPECT_EQ(none->Width(), 90);
  none->SetDefaultHeight(20);
  none->SetSkinData(f.data);
  EXPECT_EQ(none->SectionIndex(), -1);
  EXPECT_EQ(none->BoundsRect(), Bounds(5, 5, 90, 20));
}

// The shape is the mask's: its white corner triangles are cut away at every size.
void ExpectCornersCut(TbsSkinCustomControl* c) {
  SCOPED_TRACE(c->SkinDataName().toStdString());
  const QRegion shape = c->Handle()->mask();
  ASSERT_FALSE(shape.isEmpty());
  const int w = c->Width(), h = c->Height();
  for (QPoint p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1), QPoint(2, 1)})
    EXPECT_FALSE(shape.contains(p)) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w / 2, h / 2), QPoint(w - 1, h / 2), QPoint(4, 0)})
    EXPECT_TRUE(shape.contains(p)) << p.x() << "," << p.y();
}

TEST(SkinControlBase, WindowShapeComesFromTheMaskInEveryStretchMode) {
  Fixture f;
  for (const char* name : {"fixed", "both", "horiz", "vert"}) {
    TbsSkinCustomControl* c = f.Control(QString::fromLatin1(name), 230, 170);
    ExpectCornersCut(c);
    // A new size moves the corners with it.
    c->SetBounds(5, 5, 310, 190);
    ExpectCornersCut(c);
  }
  // A section without a mask drops the shape.
  TbsSkinCustomControl* c = f.Control(QStringLiteral("both"), 230, 170);
  c->SetSkinDataName(QStringLiteral("panel"));
  c->ApplySkinData();
  EXPECT_TRUE(c->Handle()->mask().isEmpty());
}

TEST(SkinControlBase, SkinDataWhoseSkinIsStillEmptyChangesNothing) {
  Fixture f;
  auto* empty1 = new TbsSkinData(&f.form);
  auto* empty2 = new TbsSkinData(&f.form);
  auto* c = new TbsSkinCustomControl(&f.form);
  c->SetParent(&f.form);
  c->SetSkinDataName(QStringLiteral("fixed"));
  c->SetBounds(5, 5, 200, 150);
  c->SetDefaultWidth(90);
  c->SetSkinData(empty1);
  c->SetSkinData(empty2);
  EXPECT_EQ(c->SkinData(), empty2);
  EXPECT_EQ(c->SectionIndex(), -1);
  EXPECT_EQ(c->Height(), 150);
  EXPECT_TRUE(c->Handle()->mask().isEmpty());
  c->Repaint();  // paints the plain look
  EXPECT_EQ(Pixel(c->Handle(), 50, 50), ColorToRGB(clBtnFace));
  // The skinned data then applies at once.
  c->SetSkinData(f.data);
  EXPECT_EQ(c->BoundsRect(), Bounds(5, 5, 60, 50));
  EXPECT_FALSE(c->Handle()->mask().isEmpty());
  // Freed skin data is let go.
  delete empty2;
  EXPECT_EQ(c->SkinData(), f.data);
  c->SetSkinData(empty1);
  delete empty1;
  EXPECT_EQ(c->SkinData(), nullptr);
}

// A control that counts the calls of its font hook.
class FontWatcher : public TbsSkinButton {
 public:
  using TbsSkinButton::TbsSkinButton;
  int changes = 0;

 protected:
  void DefaultFontChanged() override { ++changes; }
};

TEST(SkinControlBase, EditingTheDefaultFontInPlaceRepaints) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 120);
  auto* b = new FontWatcher(&form);
  b->SetParent(&form);
  b->SetBounds(10, 10, 120, 40);
  b->SetCaption(QStringLiteral("HHHH"));
  TFont big = b->DefaultFont();
  big.Height = 24;
  big.Style = fsBold;
  b->SetDefaultFont(big);
  EXPECT_EQ(b->changes, 1);
  ShowActive(form);
  auto count = [&](TColor c) {
    const QImage img = b->Handle()->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += FromQColor(img.pixelColor(x, y)) == c;
    return n;
  };
  const int32_t red = RGBColor(255, 0, 0);
  EXPECT_EQ(count(red), 0);
  // Through the font's own setters, as a property editor or a stored definition does.
  b->DefaultFontRef().SetColor(red);
  EXPECT_EQ(b->changes, 2);
  EXPECT_GT(count(red), 20);
  b->DefaultFontRef().SetHeight(12);
  b->DefaultFontRef().SetStyle(0);
  EXPECT_EQ(b->changes, 4);
  // A copy of the font is not watched.
  TNotifyingFont copy(b->DefaultFontRef());
  copy.SetColor(clBlue);
  EXPECT_EQ(b->changes, 4);
  // A stored definition's sub-property goes through the same notice.
  FontEdited(&b->DefaultFontRef());
  EXPECT_EQ(b->changes, 5);
}

}  // namespace
