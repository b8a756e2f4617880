// The skinned standard label: which font it measures and draws with, with and without a
// skin section, the blank it measures for empty captions, and the disabled look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "platform/Colors.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/data/SkinData.h"
#include "tests/TestUtil.h"

namespace {

struct Fixture {
  TForm form{nullptr};
  TbsSkinPanel* panel;
  TbsSkinStdLabel* label;
  Fixture() {
    form.SetBounds(0, 0, 400, 200);
    panel = new TbsSkinPanel(&form);
    panel->SetParent(&form);
    panel->SetBorderStyle(bvNone);
    panel->SetBounds(0, 0, 400, 200);
    label = new TbsSkinStdLabel(&form);
    label->SetParent(panel);
    label->SetBounds(10, 10, 60, 13);
  }
  // Large fonts, so that the text has solid stems to count.
  void UseLargeFonts() {
    TFont big = label->Font();
    big.Name = QStringLiteral("Arial");
    big.Height = 24;
    label->SetFont(big);
    label->SetDefaultFont(big);
  }
  // Counts pixels of the panel image whose colour is `c`.
  int Count(int32_t c) {
    const QImage img = panel->Handle()->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += FromQColor(img.pixelColor(x, y)) == c;
    return n;
  }
};

TFont Big() {
  TFont f;
  f.Name = QStringLiteral("Arial");
  f.Height = 40;
  f.Color = clRed;
  return f;
}

// A skin holding one "stdlabel" section drawn in `colour`.
std::unique_ptr<TbsSkinData> LabelSkin(TComponent* owner, TColor colour) {
  auto sd = std::make_unique<TbsSkinData>(owner);
  auto section = std::make_unique<TbsDataSkinStdLabelControl>(QStringLiteral("stdlabel"));
  section->fontname = QStringLiteral("Arial");
  section->fontheight = 24;
  section->fontcolor = colour;
  sd->SkinControls.push_back(std::move(section));
  sd->IsEmpty = false;
  return sd;
}

TEST(SkinStdLabel, DefaultsAsCreated) {
  TForm form(nullptr);
  TbsSkinStdLabel l(&form);
  EXPECT_EQ(l.SkinDataName(), QStringLiteral("stdlabel"));
  EXPECT_TRUE(l.UseSkinFont());
  EXPECT_TRUE(l.Transparent());
  EXPECT_EQ(l.SectionIndex(), -1);
}

TEST(SkinStdLabel, MeasuresWithTheChosenFont) {
  Fixture f;
  f.label->SetCaption(QStringLiteral("Number range:"));
  const int plain = f.label->Height();
  EXPECT_GT(plain, 5);
  EXPECT_LT(plain, 25);
  // UseSkinFont without a skin: DefaultFont, not Font.
  f.label->SetDefaultFont(Big());
  f.label->AdjustBounds();
  EXPECT_GT(f.label->Height(), 35);
  f.label->SetUseSkinFont(false);
  f.label->AdjustBounds();
  EXPECT_EQ(f.label->Height(), plain);

  // An empty caption measures one line (a blank), and so does "&" with accelerators shown.
  f.label->SetCaption(QString());
  const int empty = f.label->Height();
  EXPECT_EQ(empty, plain);
  EXPECT_GT(f.label->Width(), 0);
  const int blankWidth = f.label->Width();
  f.label->SetCaption(QStringLiteral("&"));
  EXPECT_EQ(f.label->Width(), blankWidth);
  f.label->SetShowAccelChar(false);
  EXPECT_NE(f.label->Width(), blankWidth);
}

TEST(SkinStdLabel, SkinSectionGivesTheColourEvenWithItsOwnFont) {
  Fixture f;
  f.UseLargeFonts();
  f.label->SetCaption(QStringLiteral("HHHHHHHH"));
  f.form.Show();
  const int32_t green = RGBColor(0, 160, 0);
  EXPECT_EQ(f.Count(green), 0);
  auto skin = LabelSkin(&f.form, green);
  f.label->SetSkinData(skin.get());
  EXPECT_EQ(f.label->SectionIndex(), 0);
  EXPECT_GT(f.Count(green), 20);
  f.label->SetUseSkinFont(false);
  EXPECT_GT(f.Count(green), 20);
  // Another section name finds nothing (exact, case-sensitive): the font's own colour.
  f.label->SetSkinDataName(QStringLiteral("StdLabel"));
  f.label->Invalidate();
  EXPECT_EQ(f.Count(green), 0);
  EXPECT_EQ(f.label->SectionIndex(), -1);
  // The skin data going away clears the reference.
  skin.reset();
  EXPECT_EQ(f.label->SkinData(), nullptr);
}

TEST(SkinStdLabel, DisabledTextIsEmbossed) {
  Fixture f;
  f.UseLargeFonts();
  f.label->SetCaption(QStringLiteral("HHHHHHHH"));
  f.form.Show();
  EXPECT_EQ(f.Count(ColorToRGB(clBtnHighlight)), 0);
  const int enabledShadow = f.Count(ColorToRGB(clBtnShadow));
  f.label->SetEnabled(false);
  f.label->Invalidate();
  EXPECT_GT(f.Count(ColorToRGB(clBtnHighlight)), 10);
  EXPECT_GT(f.Count(ColorToRGB(clBtnShadow)), enabledShadow + 10);
}

}  // namespace
