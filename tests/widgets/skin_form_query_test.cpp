// The query form read from its stored definition on a real embedded database: once it is
// created its skinned controls run on the compressed skin it carries (the frame component
// passed both skin loads on to them), and a later skin change reaches them again.
#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "app/FrmTessaline.h"
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
}  // namespace
