// The query form read from its stored definition on a real embedded database: once it is
// created its skinned controls run on the compressed skin it carries (the frame component
// passed both skin loads on to them), and a later skin change reaches them again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QSettings>
#include <QTemporaryDir>

#include "app/FrmTessaline.h"
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"
#include "tests/ChangeLogDatabase.h"
#include "tests/TestUtil.h"

namespace {
QTemporaryDir& ConfigHome() {
  static QTemporaryDir dir;
  return dir;
}
// The per-user settings of this test program, fixed before Qt reads them.
[[maybe_unused]] const bool kEnvironment = [] {
  qputenv("XDG_CONFIG_HOME", ConfigHome().path().toLocal8Bit());
  return true;
}();

class QueryFormSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const QString err = MakeTestDatabaseAndSettings(ConfigHome().path(), BinDir() + QStringLiteral("/dbxdrivers.ini"));
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
  }
  void SetUp() override { form = new TFormLedgerly(Application); }
  void TearDown() override { delete form; }

  // Section index of each skinned control of the form, and the index its name finds.
  std::vector<std::pair<int, int>> Sections() const {
    TbsSkinData* d = form->bsSkinData1;
    auto found = [d](const char* name) { return d->FindControlIndex(QLatin1String(name)); };
    return {{form->bsSkinPanel1->SectionIndex(), found("panel")},
            {form->bsSkinPanel2->SectionIndex(), found("panel")},
            {form->bsSkinPanel3->SectionIndex(), found("panel")},
            {form->bsSkinButton1->SectionIndex(), found("button")},
            {form->bsSkinButton2->SectionIndex(), found("button")},
            {form->bsSkinPageControl1->SectionIndex(), found("tab")},
            {form->bsSkinStdLabel1->SectionIndex(), found("stdlabel")},
            {form->bsSkinStdLabel4->SectionIndex(), found("stdlabel")},
            {form->bsSkinEdit1->SectionIndex(), found("edit")},
            {form->bsSkinEdit2->SectionIndex(), found("edit")}};
  }

  TFormLedgerly* form = nullptr;
};

TEST_F(QueryFormSkin, SkinnedControlsRunOnTheCompressedSkin) {
  ASSERT_NE(form->bsSkinForm1, nullptr);
  ASSERT_FALSE(form->bsSkinData1->IsEmpty);
  EXPECT_TRUE(form->bsSkinForm1->Skinned());
  // The compressed skin (slate) replaced the stored one: its tab height is 18.
  const int tab = form->bsSkinData1->FindControlIndex(QStringLiteral("tab"));
  ASSERT_NE(tab, -1);
  const auto* section = dynamic_cast<const TbsDataSkinTabControl*>(form->bsSkinData1->SkinControls[tab].get());
  ASSERT_NE(section, nullptr);
  ASSERT_EQ(section->tabrect.Height(), 18);
  EXPECT_EQ(form->bsSkinPageControl1->TabHeight(), 18);
  const TColor slateColour = section->fontcolor;
  EXPECT_EQ(form->bsSkinPageControl1->Font().Color, slateColour);
  for (const auto& [index, expected] : Sections()) {
    EXPECT_NE(expected, -1);
    EXPECT_EQ(index, expected);
  }

  // Back to the stored skin (daylight): every control follows again.
  form->bsSkinData1->SetStoredSkin(form->bsStoredSkin1);
  ASSERT_FALSE(form->bsSkinData1->IsEmpty);
  for (const auto& [index, expected] : Sections()) EXPECT_EQ(index, expected);
  const int daylightTab = form->bsSkinData1->FindControlIndex(QStringLiteral("tab"));
  const auto* daylight = dynamic_cast<const TbsDataSkinTabControl*>(form->bsSkinData1->SkinControls[daylightTab].get());
  ASSERT_NE(daylight, nullptr);
  ASSERT_NE(daylight->fontcolor, slateColour);
  EXPECT_EQ(form->bsSkinPageControl1->TabHeight(), daylight->tabrect.Height());
  EXPECT_EQ(form->bsSkinPageControl1->Font().Color, daylight->fontcolor);
}

QImage Shot(TWinControl* c) { return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The frame rows of an edit (its text area may hold a blinking caret).
QImage EditFrame(TWinControl* e) {
  const QImage all = Shot(e);
  QImage rows(all.width(), 2, QImage::Format_RGB32);
  for (int x = 0; x < all.width(); ++x) {
    rows.setPixel(x, 0, all.pixel(x, 0));
    rows.setPixel(x, 1, all.pixel(x, all.height() - 1));
  }
  return rows;
}

TEST_F(QueryFormSkin, ShownFormFollowsEverySkinSwap) {
  form->Show();
  QApplication::processEvents();
  std::vector<TWinControl*> boxes = {form->bsSkinPanel1, form->bsSkinButton1, form->bsSkinButton2,
                                     form->bsSkinPageControl1};
  auto shots = [&] {
    // Buttons fade between looks when the focus or a skin arrives: let every fade end.
    QTest::qWait(300);
    std::vector<QImage> out;
    for (TWinControl* c : boxes) out.push_back(Shot(c));
    out.push_back(EditFrame(form->bsSkinEdit1));
    out.push_back(EditFrame(form->bsSkinEdit2));
    return out;
  };
  const std::vector<QImage> slate = shots();
  const QSize editSize(form->bsSkinEdit1->Width(), form->bsSkinEdit1->Height());

  // The stored skin: every control looks its section up again and repaints with it.
  form->bsSkinData1->SetStoredSkin(form->bsStoredSkin1);
  for (const auto& [index, expected] : Sections()) EXPECT_EQ(index, expected);
  const std::vector<QImage> daylight = shots();
  for (size_t i = 0; i < slate.size(); ++i) EXPECT_NE(daylight[i], slate[i]) << "control " << i << " kept its look";
  // The edit's frame comes from the new skin's picture.
  const int editIndex = form->bsSkinData1->FindControlIndex(QStringLiteral("edit"));
  const auto* edit = dynamic_cast<const TbsDataSkinEditControl*>(form->bsSkinData1->SkinControls[editIndex].get());
  ASSERT_NE(edit, nullptr);
  const TBitmap* picture = form->bsSkinData1->ActivePicture(edit->pictureindex);
  ASSERT_NE(picture, nullptr);
  const TRect strip = form->bsSkinEdit1->Focused() ? form->bsSkinEdit1->ActiveSkinRect() : edit->skinrect;
  EXPECT_EQ(QColor(daylight[boxes.size()].pixel(0, 0)), picture->Image().pixelColor(strip.Left, strip.Top));
  EXPECT_EQ(form->bsSkinEdit1->Height(), edit->skinrect.Height());

  // Back to the compressed skin: the very same pictures as at the start.
  form->bsSkinData1->SetCompressedStoredSkin(form->bsCompressedStoredSkin1);
  for (const auto& [index, expected] : Sections()) EXPECT_EQ(index, expected);
  const std::vector<QImage> again = shots();
  for (size_t i = 0; i < slate.size(); ++i) EXPECT_EQ(again[i], slate[i]) << "control " << i;
  EXPECT_EQ(QSize(form->bsSkinEdit1->Width(), form->bsSkinEdit1->Height()), editSize);

  // An empty skin: no sections, the plain looks in the system colours.
  auto* empty = new TbsStoredSkin(form);
  form->bsSkinData1->SetStoredSkin(empty);
  ASSERT_TRUE(form->bsSkinData1->IsEmpty);
  for (const auto& [index, expected] : Sections()) EXPECT_EQ(index, -1);
  const std::vector<QImage> plain = shots();
  for (size_t i = 0; i < slate.size(); ++i) EXPECT_NE(plain[i], slate[i]) << "control " << i << " kept its look";
  EXPECT_EQ(FromQColor(QColor(plain[boxes.size()].pixel(0, 0))) & 0xFFFFFF, ColorToRGB(form->bsSkinEdit1->Focused() ? clBtnShadow : clBtnFace));

  // And the compressed skin once more.
  form->bsSkinData1->SetCompressedStoredSkin(form->bsCompressedStoredSkin1);
  const std::vector<QImage> last = shots();
  for (size_t i = 0; i < slate.size(); ++i) EXPECT_EQ(last[i], slate[i]) << "control " << i;
  delete empty;
}
}  // namespace
