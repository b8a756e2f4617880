// TbsSkinData: loading the product's skins, lookups and the failure states.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/Exceptions.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinZlib.h"
#include "tests/TestUtil.h"

namespace {

QString SkinIni(const char* folder) { return SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder)); }

template <class T>
T* Control(TbsSkinData& d, const char* name) {
  const int i = d.FindControlIndex(QLatin1String(name));
  return i < 0 ? nullptr : dynamic_cast<T*>(d.SkinControls[static_cast<size_t>(i)].get());
}
template <class T>
T* Object(TbsSkinData& d, const char* name) {
  const int i = d.FindObjectIndex(QLatin1String(name));
  return i < 0 ? nullptr : dynamic_cast<T*>(d.SkinObjects[static_cast<size_t>(i)].get());
}

// A compressed block made from content bytes, as a damaged or hand-made form definition holds it.
void SetContent(TbsCompressedStoredSkin& skin, const QByteArray& content) {
  TMemoryStream raw(std::vector<uint8_t>(content.begin(), content.end()));
  TMemoryStream packed;
  DeflateInto(raw, packed);
  packed.SetPosition(0);
  skin.ReadData(packed);
}

TEST(SkinDataLoad, TheStoredSkinHasTheMeasuresTheQueryFormUses) {
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SkinIni("daylight"));
  TbsSkinData d(nullptr);
  EXPECT_TRUE(d.IsEmpty);
  d.SetStoredSkin(&stored);
  ASSERT_FALSE(d.IsEmpty);
  EXPECT_EQ(d.skinname, QStringLiteral("Ledgerly Daylight"));
  EXPECT_EQ(d.picture.Width(), 176);
  EXPECT_EQ(d.picture.Height(), 147);
  EXPECT_TRUE(d.inactivepicture.Empty());
  EXPECT_EQ(d.mask.Width(), 176);
  EXPECT_EQ(d.mask.PixelFormat(), TPixelFormat::pf1bit);
  EXPECT_EQ(d.activepictures.size(), 9u);
  // The skin data holds copies: the container keeps its own pictures.
  EXPECT_FALSE(stored.picture.Empty());
  EXPECT_NE(d.activepictures[0].get(), stored.activepictures[0].get());

  EXPECT_EQ(d.clientrect, TRect(15, 33, 163, 124));
  EXPECT_EQ(d.picture.Height() - d.clientrect.Height(), 56);  // frame height: minimum window 176 x 56
  EXPECT_EQ(d.lefttoppoint, TPoint(48, 35));
  EXPECT_EQ(d.righttoppoint, TPoint(99, 34));
  EXPECT_EQ(d.hittestrighttoppoint, TPoint(165, 8));
  EXPECT_EQ(d.hittestrighttoppoint.X + (800 - d.picture.Width()), 789);

  auto* caption = Object<TbsDataSkinCaption>(d, "caption1");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->skinrect, TRect(41, 3, 102, 18));
  EXPECT_TRUE(caption->activeskinrect.IsZero());
  EXPECT_EQ(caption->textrect, TRect(2, 1, 60, 14));
  EXPECT_EQ(caption->alignment, taCenter);
  EXPECT_TRUE(caption->shadow);
  EXPECT_EQ(caption->fontcolor, 12632256);
  EXPECT_EQ(caption->activefontcolor, 16777215);
  const struct {
    const char* name;
    TStdButtonCommand command;
  } buttons[] = {{"closebutton", cmClose}, {"maxbutton", cmMaximize}, {"minbutton", cmMinimize},
                 {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}};
  for (const auto& b : buttons) {
    auto* o = Object<TbsDataSkinStdButton>(d, b.name);
    ASSERT_NE(o, nullptr) << b.name;
    EXPECT_EQ(o->command, b.command) << b.name;
    EXPECT_TRUE(o->morphing) << b.name;
    ASSERT_NE(d.ActivePicture(o->activepictureindex), nullptr) << b.name;
    EXPECT_FALSE(o->activeskinrect.IsZero());
    EXPECT_FALSE(o->downrect.IsZero());
  }
  EXPECT_EQ(Object<TbsDataSkinStdButton>(d, "closebutton")->skinrect, TRect(155, 6, 164, 15));
  EXPECT_EQ(Object<TbsDataSkinStdButton>(d, "sysmenubutton")->skinrect, TRect(12, 6, 21, 15));
  auto* item = Object<TbsDataSkinMenuItem>(d, "MENUITEM");
  ASSERT_NE(item, nullptr);
  EXPECT_NE(d.ActivePicture(item->activepictureindex), nullptr);
  EXPECT_NE(d.ActivePicture(d.PopupWindow->windowpictureindex), nullptr);
  EXPECT_NE(d.ActivePicture(d.HintWindow->windowpictureindex), nullptr);

  auto* edit = Control<TbsDataSkinEditControl>(d, "edit");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->skinrect.Width(), 65);
  EXPECT_EQ(edit->skinrect.Height(), 22);
  EXPECT_EQ(edit->clientrect, TRect(3, 3, 62, 20));  // inset 3, 3, 3, 2
  EXPECT_TRUE(edit->rightbottompoint.X == 0 || edit->rightbottompoint.Y == 0);
  EXPECT_NE(edit->righttoppoint, TPoint());  // horizontal stretch
  auto* hup = Control<TbsDataSkinUpDownControl>(d, "hupdown");
  ASSERT_NE(hup, nullptr);
  EXPECT_EQ(hup->skinrect.Width(), 36);
  EXPECT_EQ(hup->skinrect.Height(), 18);
  EXPECT_EQ(hup->upbuttonrect, TRect(18, 0, 36, 18));
  EXPECT_EQ(hup->downbuttonrect, TRect(0, 0, 18, 18));
  ASSERT_NE(Control<TbsDataSkinUpDownControl>(d, "vupdown"), nullptr);
  auto* panel = Control<TbsDataSkinPanelControl>(d, "panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->rightbottompoint.X != 0 && panel->rightbottompoint.Y != 0);  // both directions
  auto* button = Control<TbsDataSkinButtonControl>(d, "button");
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->rightbottompoint.X == 0 || button->rightbottompoint.Y == 0);
  EXPECT_NE(button->righttoppoint, TPoint());
  EXPECT_FALSE(button->activeskinrect.IsZero());
  EXPECT_FALSE(button->downskinrect.IsZero());
  EXPECT_FALSE(button->disabledskinrect.IsZero());
  auto* tab = Control<TbsDataSkinTabControl>(d, "tab");
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->tabrect.Height(), 18);
  EXPECT_EQ(tab->tableftoffset, 5);
  EXPECT_EQ(tab->tabrightoffset, 5);
  EXPECT_TRUE(tab->focustabrect.IsZero());
  EXPECT_EQ(tab->focusfontcolor, 16777215);
  EXPECT_EQ(d.FindControlIndex(tab->updown), d.FindControlIndex(QStringLiteral("hupdown")));
  ASSERT_NE(Control<TbsDataSkinStdLabelControl>(d, "stdlabel"), nullptr);
  // Every picture index of every section names a picture (or none at all).
  for (const auto& c : d.SkinControls)
    EXPECT_TRUE(c->pictureindex == -1 || d.ActivePicture(c->pictureindex)) << c->SectionName.toStdString();
}

TEST(SkinDataLoad, CompressedReplacesStoredAndEmptyContainersLeaveItAlone) {
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SkinIni("daylight"));
  TbsCompressedStoredSkin compressed(nullptr);
  compressed.CompressFromSkinFile(SkinIni("slate"));
  TbsSkinData d(nullptr);
  d.SetStoredSkin(&stored);
  d.SetCompressedStoredSkin(&compressed);
  EXPECT_FALSE(d.IsEmpty);
  EXPECT_EQ(d.skinname, QStringLiteral("Ledgerly Slate"));
  EXPECT_EQ(d.activepictures.size(), 7u);
  EXPECT_TRUE(d.inactivepicture.Empty());
  EXPECT_FALSE(d.mask.Empty());
  for (const char* name : {"caption1", "closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton", "MENUITEM"})
    EXPECT_GE(d.FindObjectIndex(QLatin1String(name)), 0) << name;
  for (const char* name : {"panel", "button", "edit", "stdlabel", "tab", "hupdown", "vupdown"})
    EXPECT_GE(d.FindControlIndex(QLatin1String(name)), 0) << name;
  EXPECT_EQ(d.FindControlIndex(QStringLiteral("Panel")), -1);

  // An empty compressed container: nothing happens.
  TbsCompressedStoredSkin none(nullptr);
  d.SetCompressedStoredSkin(&none);
  EXPECT_FALSE(d.IsEmpty);
  EXPECT_EQ(d.skinname, QStringLiteral("Ledgerly Slate"));

  // Design mode: the reference is stored, nothing loads.
  TbsSkinData designed(nullptr);
  designed.SetState(csDesigning, true);
  designed.SetStoredSkin(&stored);
  EXPECT_EQ(designed.StoredSkin(), &stored);
  EXPECT_TRUE(designed.IsEmpty);
}

TEST(SkinDataLoad, RemovingAReferencedContainerClearsOnlyTheReference) {
  TComponent form(nullptr);
  auto* stored = new TbsStoredSkin(&form);
  stored->LoadFromSkinFile(SkinIni("daylight"));
  auto* compressed = new TbsCompressedStoredSkin(&form);
  auto* d = new TbsSkinData(&form);
  d->SetStoredSkin(stored);
  d->SetCompressedStoredSkin(compressed);
  const size_t controls = d->SkinControls.size();
  delete stored;
  EXPECT_EQ(d->StoredSkin(), nullptr);
  EXPECT_EQ(d->CompressedStoredSkin(), compressed);
  EXPECT_FALSE(d->IsEmpty);
  EXPECT_EQ(d->SkinControls.size(), controls);
  delete compressed;
  EXPECT_EQ(d->CompressedStoredSkin(), nullptr);

  // A skin data that goes first leaves the containers without a dangling notice.
  auto* again = new TbsStoredSkin(&form);
  d->SetStoredSkin(again);
  delete d;
  delete again;
}

TEST(SkinDataLoad, FailureStates) {
  // No required sections: stays empty.
  TbsStoredSkin lines(nullptr);
  TbsSkinData d(nullptr);
  d.SetStoredSkin(&lines);
  EXPECT_TRUE(d.IsEmpty);
  EXPECT_TRUE(d.SkinControls.empty());

  // A conversion error: the error propagates, the skin stays empty, earlier entries remain.
  lines.SetIniStrings({"[VERSION]", "skinname=broken", "[PICTURES]", "picture=", "[FORMINFO]", "clientrect=1,2,3,4",
                       "[SKINOBJECTS]", "count=0", "[SKINCONTROLS]", "count=3", "0=panel:panel", "1=button:button",
                       "2=edit:edit", "[button]", "skinrect=1,,2,3"});
  try {
    d.LoadFromStoredSkin(lines);
    FAIL() << "the conversion error must reach the caller";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'' is not a valid integer value"));
  }
  EXPECT_TRUE(d.IsEmpty);
  EXPECT_EQ(d.SkinControls.size(), 2u);  // panel and the button being read
  EXPECT_EQ(d.clientrect, TRect(1, 2, 3, 4));

  // A content version other than 1: empty, nothing else read.
  TbsCompressedStoredSkin compressed(nullptr);
  SetContent(compressed, QByteArray::fromHex("02000000") + "rest");
  d.SetCompressedStoredSkin(&compressed);
  EXPECT_TRUE(d.IsEmpty);
  EXPECT_TRUE(d.SkinControls.empty());

  // A damaged picture inside the content.
  SetContent(compressed, QByteArray::fromHex("01000000 00 5858 0000000000000000000000000000"));
  EXPECT_THROW(d.LoadFromCompressedSkin(compressed), EInvalidGraphic);
  EXPECT_TRUE(d.IsEmpty);
  SetContent(compressed, QByteArray::fromHex("01000000 01 01 01 05000000"));
  EXPECT_THROW(d.LoadFromCompressedSkin(compressed), EReadError);

  // A damaged zlib block.
  TMemoryStream junk(std::vector<uint8_t>{0x78, 0xDA, 1, 2, 3, 4, 5});
  compressed.ReadData(junk);
  EXPECT_THROW(d.LoadFromCompressedSkin(compressed), EZlibError);
  EXPECT_TRUE(d.IsEmpty);

  // Hand-made content without pictures: the description alone is enough on this path
  // (the five sections are not required).
  SetContent(compressed, QByteArray::fromHex("01000000 01 01 01 00000000") +
                             "[VERSION]\r\nskinname=tiny\r\n[SKINCONTROLS]\r\ncount=1\r\n0=panel:panel\r\n");
  d.LoadFromCompressedSkin(compressed);
  EXPECT_FALSE(d.IsEmpty);
  EXPECT_EQ(d.skinname, QStringLiteral("tiny"));
  EXPECT_EQ(d.FindControlIndex(QStringLiteral("panel")), 0);
  EXPECT_TRUE(d.picture.Empty());

  d.ResetSkin();
  EXPECT_TRUE(d.IsEmpty);
  EXPECT_TRUE(d.SkinControls.empty());
  EXPECT_EQ(d.PopupWindow->windowpictureindex, -1);
}

}  // namespace
