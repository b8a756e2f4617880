// The frame component between a form and its skinned controls: a skin loading through the
// skin data reaches every skinned control of the form that reads it (page control, panel,
// button, label on a page, edit), a change of another skin data leaves them alone, a message
// that names no skin data reaches all of them, the frame's own state and minimum size follow
// the skin, and the form's window procedure survives the component.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"
#include "tests/TestUtil.h"

namespace {

QString SkinIni(const char* folder) {
  return SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder));
}

// Loads the skin folder into `data` the way the query form does: through a compressed
// stored skin owned by `owner`.
void LoadCompressed(TbsSkinData* data, TComponent* owner, const char* folder) {
  auto* compressed = new TbsCompressedStoredSkin(owner);
  compressed->CompressFromSkinFile(SkinIni(folder));
  data->SetCompressedStoredSkin(compressed);
}

// A form laid out like the query form: a panel holding a button and a page control, a label
// and an edit on the first page; every skinned part and the frame read `data`.
struct SkinnedForm {
  TForm form{nullptr};
  TbsSkinForm* frame;
  TbsSkinData* data;
  TbsSkinPanel* panel;
  TbsSkinButton* button;
  TbsSkinPageControl* pc;
  TbsSkinTabSheet* sheet;
  TbsSkinStdLabel* label;
  TbsSkinEdit* edit;
  int changes = 0;

  SkinnedForm() {
    form.SetBounds(10, 10, 640, 480);
    frame = new TbsSkinForm(&form);
    frame->OnChangeSkinData = [this](TComponent*) { ++changes; };
    panel = new TbsSkinPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 640, 73);
    button = new TbsSkinButton(&form);
    button->SetParent(panel);
    button->SetBounds(383, 40, 75, 25);
    pc = new TbsSkinPageControl(&form);
    pc->SetParent(panel);
    pc->SetBounds(1, 1, 369, 71);
    sheet = new TbsSkinTabSheet(&form);
    sheet->SetPageControl(pc);
    sheet->SetCaption(QStringLiteral("Numbers"));
    label = new TbsSkinStdLabel(&form);
    label->SetParent(sheet);
    label->SetCaption(QStringLiteral("From"));
    edit = new TbsSkinEdit(&form);
    edit->SetParent(sheet);
    edit->SetBounds(80, 10, 121, 20);
    data = new TbsSkinData(&form);
    frame->SetSkinData(data);
    panel->SetSkinData(data);
    button->SetSkinData(data);
    pc->SetSkinData(data);
    label->SetSkinData(data);
    edit->SetSkinData(data);
  }

  std::vector<int> Sections() const {
    return {panel->SectionIndex(), button->SectionIndex(), pc->SectionIndex(), label->SectionIndex(),
            edit->SectionIndex()};
  }
  std::vector<int> ExpectedSections() const {
    return {data->FindControlIndex(QStringLiteral("panel")), data->FindControlIndex(QStringLiteral("button")),
            data->FindControlIndex(QStringLiteral("tab")), data->FindControlIndex(QStringLiteral("stdlabel")),
            data->FindControlIndex(QStringLiteral("edit"))};
  }
};

const std::vector<int> kNoSections(5, -1);

TEST(SkinFormMessages, LoadingASkinReachesEverySkinnedControlOfTheForm) {
  SkinnedForm f;
  EXPECT_FALSE(f.frame->Skinned());
  EXPECT_EQ(f.pc->TabHeight(), 20);
  EXPECT_EQ(f.Sections(), kNoSections);
  const int changesBefore = f.changes;

  LoadCompressed(f.data, &f.form, "slate");
  ASSERT_FALSE(f.data->IsEmpty);
  EXPECT_TRUE(f.frame->Skinned());
  EXPECT_EQ(f.changes, changesBefore + 1);
  // Each control found its own section, down to the label and the edit on the page.
  EXPECT_EQ(f.Sections(), f.ExpectedSections());
  for (int s : f.Sections()) EXPECT_NE(s, -1);
  // The page control took the skin's tab height and caption colour.
  EXPECT_EQ(f.pc->TabHeight(), 18);
  EXPECT_EQ(f.pc->Font().Color, 13156536);
  EXPECT_EQ(f.frame->WindowWidth(), f.form.Width());
  EXPECT_EQ(f.frame->WindowHeight(), f.form.Height());

  // A second load drops every section before the old skin goes, then finds them again.
  std::vector<std::vector<int>> seenBefore;
  TWndMethod inner = f.form.WindowProc;
  f.form.WindowProc = [&](TMessage& m) {
    inner(m);  // the frame component runs first, as it would inside any outer hook
    if (m.Msg == SkinMessageBeforeChange) seenBefore.push_back(f.Sections());
  };
  LoadCompressed(f.data, &f.form, "daylight");
  ASSERT_EQ(seenBefore.size(), 1u);
  EXPECT_EQ(seenBefore[0], kNoSections);
  EXPECT_EQ(f.Sections(), f.ExpectedSections());
  EXPECT_TRUE(f.frame->Skinned());
  f.form.WindowProc = inner;
}

TEST(SkinFormMessages, AnotherSkinDataChangingLeavesTheseControlsAlone) {
  SkinnedForm f;
  LoadCompressed(f.data, &f.form, "slate");
  ASSERT_EQ(f.pc->TabHeight(), 18);
  const std::vector<int> sections = f.Sections();

  // A second skin data on the same form, with a page control reading it, and one on
  // another form.
  auto* other = new TbsSkinData(&f.form);
  auto* otherPc = new TbsSkinPageControl(&f.form);
  otherPc->SetParent(f.sheet);
  otherPc->SetBounds(0, 30, 200, 40);
  otherPc->SetSkinData(other);
  TForm second(nullptr);
  auto* secondFrame = new TbsSkinForm(&second);
  auto* secondData = new TbsSkinData(&second);
  secondFrame->SetSkinData(secondData);

  LoadCompressed(other, &f.form, "daylight");
  EXPECT_EQ(f.Sections(), sections);
  EXPECT_EQ(f.pc->TabHeight(), 18);
  EXPECT_TRUE(f.frame->Skinned());
  EXPECT_NE(otherPc->SectionIndex(), -1);
  EXPECT_FALSE(secondFrame->Skinned());

  // A skin change on the other form reaches this form too, and still leaves these alone.
  LoadCompressed(secondData, &second, "daylight");
  EXPECT_TRUE(secondFrame->Skinned());
  EXPECT_EQ(f.Sections(), sections);
  EXPECT_TRUE(f.frame->Skinned());

  // This skin data's change is not applied to the page control that reads the other one:
  // with a name its skin lacks and another plain height, applying would change its tabs.
  otherPc->SetSkinDataName(QStringLiteral("no such section"));
  otherPc->SetDefaultItemHeight(27);
  const int otherSection = otherPc->SectionIndex();
  const int otherTabHeight = otherPc->TabHeight();
  ASSERT_NE(otherSection, -1);
  ASSERT_NE(otherTabHeight, 27);
  LoadCompressed(f.data, &f.form, "daylight");
  EXPECT_EQ(otherPc->SectionIndex(), otherSection);
  EXPECT_EQ(otherPc->TabHeight(), otherTabHeight);
  EXPECT_EQ(f.Sections(), f.ExpectedSections());
  // Its own skin data's messages do reach it.
  f.form.Perform(SkinMessageBeforeChange, reinterpret_cast<intptr_t>(other), SkinMessageLParam);
  EXPECT_EQ(otherPc->SectionIndex(), -1);
  f.form.Perform(SkinMessageChanged, reinterpret_cast<intptr_t>(other), SkinMessageLParam);
  EXPECT_EQ(otherPc->TabHeight(), 27);
  EXPECT_EQ(f.Sections(), f.ExpectedSections());
  EXPECT_TRUE(f.frame->Skinned());
}

TEST(SkinFormMessages, AMessageNamingNoSkinDataReachesEveryControl) {
  SkinnedForm f;
  LoadCompressed(f.data, &f.form, "slate");
  ASSERT_EQ(f.Sections(), f.ExpectedSections());
  f.form.Perform(SkinMessageBeforeChange, 0, SkinMessageLParam);
  EXPECT_EQ(f.Sections(), kNoSections);
  // Not from its skin data: the frame keeps its state.
  EXPECT_TRUE(f.frame->Skinned());
  f.pc->SetDefaultItemHeight(20);
  f.form.Perform(SkinMessageChanged, 0, SkinMessageLParam);
  EXPECT_EQ(f.Sections(), f.ExpectedSections());
  EXPECT_EQ(f.pc->TabHeight(), 18);
}

TEST(SkinFormMessages, FrameStateAndMinimumSizeFollowTheSkin) {
  TForm form(nullptr);
  form.SetBounds(20, 30, 50, 10);
  auto* frame = new TbsSkinForm(&form);
  EXPECT_EQ(frame->Form(), &form);
  int changes = 0;
  frame->OnChangeSkinData = [&](TComponent* sender) {
    EXPECT_EQ(sender, frame);
    ++changes;
  };
  // Without a skin: at least 120 wide and the plain frame's 19 + 6 high.
  frame->SetSkinData(nullptr);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(frame->Skinned());
  EXPECT_EQ(form.BoundsRect(), TRect(20, 30, 20 + 120, 30 + 25));

  auto* data = new TbsSkinData(&form);
  LoadCompressed(data, &form, "slate");
  EXPECT_EQ(changes, 1);  // not its skin data yet
  form.SetBounds(20, 30, 50, 10);
  frame->SetSkinData(data);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(frame->Skinned());
  const int pw = data->picture.Width();
  const int frameHeight = data->picture.Height() - data->clientrect.Height();
  ASSERT_GT(pw, 50);
  ASSERT_GT(frameHeight, 10);
  EXPECT_EQ(frame->GetMinWidth(), pw);
  EXPECT_EQ(frame->GetMinHeight(), frameHeight);
  EXPECT_EQ(form.BoundsRect(), TRect(20, 30, 20 + pw, 30 + frameHeight));

  // Only the short side grows; MinWidth and MinHeight above the skin's own limits win.
  frame->MinWidth = pw + 100;
  frame->MinHeight = frameHeight + 50;
  form.SetBounds(20, 30, pw + 300, 10);
  frame->ChangeSkinData();
  EXPECT_EQ(form.BoundsRect(), TRect(20, 30, 20 + pw + 300, 30 + frameHeight + 50));
  // Large enough already: the size stays.
  frame->ChangeSkinData();
  EXPECT_EQ(form.BoundsRect(), TRect(20, 30, 20 + pw + 300, 30 + frameHeight + 50));

  // The skin going away or emptying clears the state.
  form.Perform(SkinMessageBeforeChange, reinterpret_cast<intptr_t>(data), SkinMessageLParam);
  EXPECT_FALSE(frame->Skinned());
  frame->ChangeSkinData();
  EXPECT_TRUE(frame->Skinned());
  delete data;
  EXPECT_EQ(frame->SkinData(), nullptr);
  EXPECT_FALSE(frame->Skinned());
  EXPECT_EQ(frame->GetMinWidth(), pw + 100);
}

TEST(SkinFormMessages, TheFormsWindowProcedureOutlivesTheComponent) {
  SkinnedForm f;
  LoadCompressed(f.data, &f.form, "slate");
  // A hook put on the form before the component (the form's own procedure behind it).
  std::vector<uint32_t> seen;
  TForm form(nullptr);
  TWndMethod own = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg >= SkinMessageBeforeChange && m.Msg <= SkinMessageChangedAfter) seen.push_back(m.Msg);
    own(m);
  };
  auto* frame = new TbsSkinForm(&form);
  auto* label = new TbsSkinStdLabel(&form);
  label->SetParent(&form);
  label->SetSkinData(f.data);
  ASSERT_NE(label->SectionIndex(), -1);
  form.Perform(SkinMessageBeforeChange, reinterpret_cast<intptr_t>(f.data), SkinMessageLParam);
  EXPECT_EQ(label->SectionIndex(), -1);
  ASSERT_EQ(seen.size(), 1u);  // passed on after handling
  EXPECT_EQ(seen[0], SkinMessageBeforeChange);
  form.Perform(SkinMessageChanged, reinterpret_cast<intptr_t>(f.data), SkinMessageLParam);
  EXPECT_NE(label->SectionIndex(), -1);

  delete frame;
  seen.clear();
  form.Perform(SkinMessageBeforeChange, reinterpret_cast<intptr_t>(f.data), SkinMessageLParam);
  EXPECT_EQ(seen, std::vector<uint32_t>{SkinMessageBeforeChange});
  EXPECT_NE(label->SectionIndex(), -1);  // nobody passes it on any more
  // The form's own procedure still does its work: a resize lays out its aligned children.
  auto* panel = new TbsSkinPanel(&form);
  panel->SetParent(&form);
  panel->SetAlign(TAlign::alClient);
  form.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(panel->Width(), form.ClientWidth());
  EXPECT_EQ(panel->Height(), form.ClientHeight());
  // A skin load still reaches the form through the procedure left behind.
  LoadCompressed(f.data, &f.form, "daylight");
  EXPECT_NE(std::find(seen.begin(), seen.end(), SkinMessageChanged), seen.end());
}

TEST(SkinFormMessages, OwnerMustBeAForm) {
  TComponent owner(nullptr);
  EXPECT_THROW(new TbsSkinForm(&owner), EInvalidCast);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

}  // namespace
