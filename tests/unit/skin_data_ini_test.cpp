// Skin description values, the data classes' sections and the section lists.
#include <gtest/gtest.h>

#include "tests/TestUtil.h"
#include "platform/Exceptions.h"
#include "skin/data/SkinData.h"

namespace {

TMemIniFile Ini(const char* text) { return TMemIniFile(QString::fromLatin1(text)); }

QString ConvertErrorOf(const QString& text) {
  try {
    ParseRectText(text);
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return QStringLiteral("<no error>");
}

TEST(SkinIniValues, RectanglesAndPointsKeepOnlyDigitsAndCommas) {
  EXPECT_EQ(ParseRectText(QStringLiteral("10, 20 ,30,40")), TRect(10, 20, 30, 40));
  EXPECT_EQ(ParseRectText(QStringLiteral("-1,+2,x3,4y")), TRect(1, 2, 3, 4));
  EXPECT_EQ(ParsePointText(QStringLiteral("-5,3")), TPoint(5, 3));
  // Components past the fourth (second) are ignored.
  EXPECT_EQ(ParseRectText(QStringLiteral("1,2,3,4,5")), TRect(1, 2, 3, 4));
  EXPECT_EQ(ParsePointText(QStringLiteral("7,8,,")), TPoint(7, 8));

  const TMemIniFile ini = Ini("[s]\nr=1,2,3,4\nempty=\np=9 , 10\n");
  EXPECT_EQ(SkinIniReadRect(ini, "s", "r"), TRect(1, 2, 3, 4));
  EXPECT_EQ(SkinIniReadRect(ini, "s", "missing"), TRect());
  EXPECT_EQ(SkinIniReadRect(ini, "nosection", "r"), TRect());
  EXPECT_EQ(SkinIniReadPoint(ini, "s", "p"), TPoint(9, 10));
  EXPECT_EQ(SkinIniReadPoint(ini, "s", "missing"), TPoint());
  EXPECT_THROW(SkinIniReadRect(ini, "s", "empty"), EConvertError);
  EXPECT_THROW(SkinIniReadPoint(ini, "s", "empty"), EConvertError);
}

TEST(SkinIniValues, ConversionErrorsNameTheFailingComponent) {
  EXPECT_EQ(ConvertErrorOf(QString()), QStringLiteral("'' is not a valid integer value"));
  EXPECT_EQ(ConvertErrorOf(QStringLiteral("1,,3,4")), QStringLiteral("'' is not a valid integer value"));
  EXPECT_EQ(ConvertErrorOf(QStringLiteral("1,2,3")), QStringLiteral("'' is not a valid integer value"));
  EXPECT_EQ(ConvertErrorOf(QStringLiteral("1,99999999999,3,4")), QStringLiteral("'99999999999' is not a valid integer value"));
  EXPECT_EQ(ConvertErrorOf(QStringLiteral("1,2,3,4")), QStringLiteral("<no error>"));
  try {
    ParsePointText(QStringLiteral("5"));
    FAIL() << "a point with one component must fail";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(e.ClassName(), QStringLiteral("EConvertError"));
  }
}

TEST(SkinIniValues, FlagsStylesAndWords) {
  const TMemIniFile ini = Ini(
      "[s]\n"
      "two=2\nhex=0x1\ndollar=$1\none=1\nzero=0\nbad=yes\n"
      "style=fsitalic fsbold\nbigb=fsBold\nallstyles=fsstrikeout,fsunderline,fsitalic,fsbold\n"
      "center=tacenter\nCENTER=TACENTER\nleft=taleftjustify\nother=middle\n"
      "push=mkpush\nwrongcase=mkPush\n"
      "invert=ieinvert\nnoeffect=\nnoise=ienoise\n"
      "rollup=cmRollup\nclose=cmclose\nsysmenu=cmsysmenu\nnonsense=abc\n");
  EXPECT_FALSE(SkinIniReadFlag(ini, "s", "two"));
  EXPECT_TRUE(SkinIniReadFlag(ini, "s", "hex"));
  EXPECT_TRUE(SkinIniReadFlag(ini, "s", "dollar"));
  EXPECT_TRUE(SkinIniReadFlag(ini, "s", "one"));
  EXPECT_FALSE(SkinIniReadFlag(ini, "s", "zero"));
  EXPECT_FALSE(SkinIniReadFlag(ini, "s", "bad"));
  EXPECT_FALSE(SkinIniReadFlag(ini, "s", "missing"));

  EXPECT_EQ(SkinIniReadFontStyle(ini, "s", "style"), fsBold | fsItalic);
  EXPECT_EQ(SkinIniReadFontStyle(ini, "s", "bigb"), 0);
  EXPECT_EQ(SkinIniReadFontStyle(ini, "s", "allstyles"), fsBold | fsItalic | fsUnderline | fsStrikeOut);
  EXPECT_EQ(SkinIniReadFontStyle(ini, "s", "missing"), 0);

  EXPECT_EQ(SkinIniReadAlignment(ini, "s", "center"), taCenter);
  // Key names match in any case, but the word itself is compared exactly.
  EXPECT_EQ(SkinIniReadAlignment(ini, "s", "Center"), taCenter);
  EXPECT_EQ(Ini("[s]\na=TACENTER\n").ReadString("s", "a", {}), QStringLiteral("TACENTER"));
  EXPECT_EQ(SkinIniReadAlignment(Ini("[s]\na=TACENTER\n"), "s", "a"), taRightJustify);
  EXPECT_EQ(SkinIniReadAlignment(ini, "s", "left"), taLeftJustify);
  EXPECT_EQ(SkinIniReadAlignment(ini, "s", "other"), taRightJustify);
  EXPECT_EQ(SkinIniReadAlignment(ini, "s", "missing"), taCenter);

  EXPECT_EQ(SkinIniReadMorphKind(ini, "s", "push"), mkPush);
  EXPECT_EQ(SkinIniReadMorphKind(ini, "s", "wrongcase"), mkDefault);
  EXPECT_EQ(SkinIniReadMorphKind(ini, "s", "missing"), mkDefault);

  EXPECT_EQ(SkinIniReadEffect(ini, "s", "invert"), ieInvert);
  EXPECT_EQ(SkinIniReadEffect(ini, "s", "noise"), ieNoise);
  EXPECT_EQ(SkinIniReadEffect(ini, "s", "noeffect"), ieBrightness);
  EXPECT_EQ(SkinIniReadEffect(ini, "s", "missing"), ieBrightness);

  EXPECT_EQ(SkinIniReadCommand(ini, "s", "rollup"), cmRollUp);
  EXPECT_EQ(SkinIniReadCommand(ini, "s", "close"), cmClose);
  EXPECT_EQ(SkinIniReadCommand(ini, "s", "sysmenu"), cmSysMenu);
  EXPECT_EQ(SkinIniReadCommand(ini, "s", "nonsense"), cmRollUp);
  EXPECT_EQ(SkinIniReadCommand(ini, "s", "missing"), cmDefault);
}

TEST(SkinIniValues, WritersGiveTheReadersTheirValuesBack) {
  TMemIniFile ini;
  SkinIniWriteRect(ini, "s", "r", TRect(-1, 2, 3, 4));
  SkinIniWritePoint(ini, "s", "p", TPoint(5, 6));
  SkinIniWriteFlag(ini, "s", "f", true);
  SkinIniWriteFontStyle(ini, "s", "st", fsStrikeOut | fsBold);
  SkinIniWriteFontStyle(ini, "s", "none", 0);
  SkinIniWriteAlignment(ini, "s", "al", taRightJustify);
  SkinIniWriteMorphKind(ini, "s", "mk", mkRightSlide);
  SkinIniWriteCommand(ini, "s", "cm", static_cast<TStdButtonCommand>(9));
  SkinIniWriteEffect(ini, "s", "ef", ieSplitBlur);
  EXPECT_EQ(ini.ReadString("s", "r", {}), QStringLiteral("-1,2,3,4"));
  EXPECT_EQ(SkinIniReadRect(ini, "s", "r"), TRect(1, 2, 3, 4));  // the minus is dropped on reading
  EXPECT_EQ(ini.ReadString("s", "st", {}), QStringLiteral("fsbold,fsstrikeout"));
  EXPECT_EQ(ini.ReadString("s", "none", QStringLiteral("x")), QString());
  EXPECT_EQ(ini.ReadString("s", "f", {}), QStringLiteral("1"));
  EXPECT_EQ(ini.ReadString("s", "cm", {}), QStringLiteral("cmrollup"));
  EXPECT_EQ(SkinIniReadPoint(ini, "s", "p"), TPoint(5, 6));
  EXPECT_EQ(SkinIniReadAlignment(ini, "s", "al"), taRightJustify);
  EXPECT_EQ(SkinIniReadMorphKind(ini, "s", "mk"), mkRightSlide);
  EXPECT_EQ(SkinIniReadEffect(ini, "s", "ef"), ieSplitBlur);
}

TEST(SkinIniValues, NumberedListsAndRequiredSections) {
  QStringList names;
  SkinIniReadList(Ini("[PICTURES]\nactivepicturescount=3\n0=a.bmp\n2=c.bmp\n"), "PICTURES", "activepictures", names);
  EXPECT_EQ(names, QStringList({"a.bmp", "", "c.bmp"}));
  names.clear();
  SkinIniReadList(Ini("[PICTURES]\nactivepicturescount=-2\n0=a.bmp\n"), "PICTURES", "activepictures", names);
  EXPECT_TRUE(names.isEmpty());

  EXPECT_TRUE(HasSkinSections(Ini("[VERSION]\na=1\n[PICTURES]\na=1\n[FORMINFO]\na=1\n[SKINOBJECTS]\na=1\n[skincontrols]\na=1\n")));
  // A section with only comments does not count.
  EXPECT_FALSE(HasSkinSections(Ini("[VERSION]\na=1\n[PICTURES]\na=1\n[FORMINFO]\n;x\n[SKINOBJECTS]\na=1\n[SKINCONTROLS]\na=1\n")));
  EXPECT_FALSE(HasSkinSections(Ini("[VERSION]\na=1\n[PICTURES]\na=1\n[FORMINFO]\na=1\n[SKINOBJECTS]\na=1\n")));
}

// ---------------------------------------------------------------------------------------------
// Section round trips: every field gets a distinct non-default value, is stored, loaded into a
// fresh object and stored again; both stored texts and every field must agree.

class Filler {
 public:
  void Rect(const QString&, TRect& f) { f = TRect(n_, n_ + 1, n_ + 2, n_ + 3), n_ += 4; }
  void Point(const QString&, TPoint& f) { f = TPoint(n_, n_ + 1), n_ += 2; }
  void Flag(const QString&, bool& f) { f = true; }
  void Int(const QString&, int32_t& f, int32_t = 0) { f = 1000 + n_++; }
  void Color(const QString&, TColor& f, TColor = 0) { f = 0x10203 * (n_++); }
  void Text(const QString& key, QString& f, const QString& = {}) { f = QStringLiteral("%1 %2").arg(key).arg(n_++); }
  void FontStyle(const QString&, TFontStyleSet& f) { f = static_cast<TFontStyleSet>(1 + (n_++ % 15)); }
  void Alignment(const QString&, TSkinAlignment& f) { f = taLeftJustify; }
  void MorphKind(const QString&, TMorphKind& f) { f = static_cast<TMorphKind>(1 + n_++ % 6); }
  void Effect(const QString&, TInactiveEffect& f) { f = ieInvert; }
  void Command(const QString&, TStdButtonCommand& f) { f = cmSysMenu; }
  void Font(QString& name, TFontStyleSet& style, int32_t& height, TColor& color) {
    Text(QStringLiteral("fontname"), name);
    FontStyle(QStringLiteral("fontstyle"), style);
    Int(QStringLiteral("fontheight"), height);
    Color(QStringLiteral("fontcolor"), color);
  }

 private:
  int32_t n_ = 1;
};

// Counts the keys of a field table and collects their names.
class KeyLister {
 public:
  QStringList keys;
  void Rect(const QString& k, const TRect&) { keys << k; }
  void Point(const QString& k, const TPoint&) { keys << k; }
  void Flag(const QString& k, const bool&) { keys << k; }
  void Int(const QString& k, const int32_t&, int32_t = 0) { keys << k; }
  void Color(const QString& k, const TColor&, TColor = 0) { keys << k; }
  void Text(const QString& k, const QString&, const QString& = {}) { keys << k; }
  void FontStyle(const QString& k, const TFontStyleSet&) { keys << k; }
  void Alignment(const QString& k, const TSkinAlignment&) { keys << k; }
  void MorphKind(const QString& k, const TMorphKind&) { keys << k; }
  void Effect(const QString& k, const TInactiveEffect&) { keys << k; }
  void Command(const QString& k, const TStdButtonCommand&) { keys << k; }
  void Font(const QString&, const TFontStyleSet&, const int32_t&, const TColor&) {
    keys << QStringLiteral("fontname") << QStringLiteral("fontstyle") << QStringLiteral("fontheight") << QStringLiteral("fontcolor");
  }
};

// Visits the whole field table of T: its base classes' keys first.
template <class T>
concept HasBase = requires { typename T::Inherited; };
template <class T, class V, class S>
void AllFields(V& v, S& s) {
  if constexpr (HasBase<T>) AllFields<typename T::Inherited>(v, s);
  T::Fields(v, s);
}

template <class T>
void ExpectRoundTrip(const char* typeWord, bool objectList) {
  SCOPED_TRACE(typeWord);
  T filled(QStringLiteral("Part1"));
  Filler f;
  AllFields<T>(f, filled);
  TMemIniFile first;
  filled.StoreSection(first);

  // The stored section holds exactly the keys of the class's table, in table order.
  KeyLister keys;
  AllFields<T>(keys, filled);
  EXPECT_EQ(first.ReadSection(QStringLiteral("Part1")), keys.keys);

  // Loaded through the list reader, as a skin load does it.
  TbsSkinData data(nullptr);
  TMemIniFile listed;
  listed.SetText(first.Text() + QStringLiteral("[SKINOBJECTS]\r\ncount=1\r\n0=Part1:%1\r\n[SKINCONTROLS]\r\ncount=1\r\n0=Part1:%1\r\n")
                                    .arg(QLatin1String(typeWord)));
  if (objectList) {
    data.LoadObjectSections(listed);
    ASSERT_EQ(data.SkinObjects.size(), 1u);
    ASSERT_NE(dynamic_cast<T*>(data.SkinObjects[0].get()), nullptr);
    EXPECT_EQ(data.SkinObjects[0]->ClassName(), filled.ClassName());
    TMemIniFile second;
    data.SkinObjects[0]->StoreSection(second);
    EXPECT_EQ(second.Text(), first.Text());
  } else {
    data.LoadControlSections(listed);
    ASSERT_EQ(data.SkinControls.size(), 1u);
    ASSERT_NE(dynamic_cast<T*>(data.SkinControls[0].get()), nullptr);
    EXPECT_EQ(data.SkinControls[0]->ClassName(), filled.ClassName());
    TMemIniFile second;
    data.SkinControls[0]->StoreSection(second);
    EXPECT_EQ(second.Text(), first.Text());
  }
}

TEST(SkinDataClasses, EveryObjectClassRoundTrips) {
  ExpectRoundTrip<TbsDataSkinCaption>("caption", true);
  ExpectRoundTrip<TbsDataSkinButton>("button", true);
  ExpectRoundTrip<TbsDataSkinStdButton>("stdbutton", true);
  ExpectRoundTrip<TbsDataSkinMainMenuBarButton>("mainmenubarbutton", true);
  ExpectRoundTrip<TbsDataSkinMenuItem>("menuitem", true);
  ExpectRoundTrip<TbsDataSkinMainMenuBarItem>("mainmenubaritem", true);
}

TEST(SkinDataClasses, EveryControlClassRoundTrips) {
  ExpectRoundTrip<TbsDataSkinPanelControl>("panel", false);
  ExpectRoundTrip<TbsDataSkinExPanelControl>("expanel", false);
  ExpectRoundTrip<TbsDataSkinButtonControl>("button", false);
  ExpectRoundTrip<TbsDataSkinMenuButtonControl>("menubutton", false);
  ExpectRoundTrip<TbsDataSkinCheckRadioControl>("checkradio", false);
  ExpectRoundTrip<TbsDataSkinGaugeControl>("gauge", false);
  ExpectRoundTrip<TbsDataSkinSplitterControl>("splitter", false);
  ExpectRoundTrip<TbsDataSkinTrackBarControl>("trackbar", false);
  ExpectRoundTrip<TbsDataSkinLabelControl>("label", false);
  ExpectRoundTrip<TbsDataSkinStdLabelControl>("stdlabel", false);
  ExpectRoundTrip<TbsDataSkinGridControl>("grid", false);
  ExpectRoundTrip<TbsDataSkinTabControl>("tab", false);
  ExpectRoundTrip<TbsDataSkinMainMenuBar>("mainmenubar", false);
  ExpectRoundTrip<TbsDataSkinControlBar>("controlbar", false);
  ExpectRoundTrip<TbsDataSkinMemoControl>("memo", false);
  ExpectRoundTrip<TbsDataSkinEditControl>("edit", false);
  ExpectRoundTrip<TbsDataSkinCheckListBox>("checklistbox", false);
  ExpectRoundTrip<TbsDataSkinListBox>("listbox", false);
  ExpectRoundTrip<TbsDataSkinComboBox>("combobox", false);
  ExpectRoundTrip<TbsDataSkinScrollBarControl>("scrollbar", false);
  ExpectRoundTrip<TbsDataSkinSpinEditControl>("spinedit", false);
  ExpectRoundTrip<TbsDataSkinScrollBoxControl>("scrollbox", false);
  ExpectRoundTrip<TbsDataSkinTreeView>("treeview", false);
  ExpectRoundTrip<TbsDataSkinBevel>("bevel", false);
  ExpectRoundTrip<TbsDataSkinSlider>("slider", false);
  ExpectRoundTrip<TbsDataSkinListView>("listview", false);
  ExpectRoundTrip<TbsDataSkinRichEdit>("richedit", false);
}

TEST(SkinDataClasses, KeyTablesFollowTheirBaseClasses) {
  TbsDataSkinMenuButtonControl m(QStringLiteral("m"));
  TMemIniFile ini;
  m.StoreSection(ini);
  const QStringList keys = ini.ReadSection(QStringLiteral("m"));
  ASSERT_GE(keys.size(), 9);
  EXPECT_EQ(keys.mid(0, 3), QStringList({"pictureindex", "maskpictureindex", "skinrect"}));
  EXPECT_EQ(keys.mid(3, 5), QStringList({"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect"}));
  EXPECT_EQ(keys.mid(8, 4), QStringList({"fontname", "fontstyle", "fontheight", "fontcolor"}));
  EXPECT_EQ(keys.last(), QStringLiteral("trackbuttonrect"));
  // Classes without the custom-control base have no corner points.
  TbsDataSkinStdLabelControl label(QStringLiteral("l"));
  label.StoreSection(ini);
  EXPECT_FALSE(ini.ReadSection(QStringLiteral("l")).contains(QStringLiteral("lefttoppoint")));
  EXPECT_TRUE(ini.ReadSection(QStringLiteral("l")).contains(QStringLiteral("activefontcolor")));
  TbsDataSkinLabelControl plain(QStringLiteral("p"));
  plain.StoreSection(ini);
  EXPECT_FALSE(ini.ReadSection(QStringLiteral("p")).contains(QStringLiteral("activefontcolor")));
}

TEST(SkinDataClasses, DefaultsOfMissingKeys) {
  const TMemIniFile ini = Ini(
      "[SKINCONTROLS]\ncount=6\n0=lbl:stdlabel\n1=lb:listbox\n2=g:grid\n3=ud:updown\n4=t:tab\n5=statuspanel:label\n"
      "[ud]\nlefttoppoint=3,4\nrighttoppoint=5,6\nleftbottompoint=7,8\nrightbottompoint=9,10\nclientrect=1,2,3,4\n"
      "upbuttonrect=1,1,2,2\nskinrect=0,0,36,18\n"
      "[t]\nclientrect=3,3,57,51\nlefttoppoint=4,4\nrightbottompoint=56,50\n"
      "[SKINOBJECTS]\ncount=2\n0=c:caption\n1=u:userobject\n[u]\nhint=ignored\nskinrect=1,2,3,4\nactivepictureindex=3\nmorphing=1\n");
  TbsSkinData data(nullptr);
  data.LoadControlSections(ini);
  data.LoadObjectSections(ini);
  ASSERT_EQ(data.SkinControls.size(), 6u);
  auto* lbl = dynamic_cast<TbsDataSkinStdLabelControl*>(data.SkinControls[0].get());
  ASSERT_NE(lbl, nullptr);
  EXPECT_EQ(lbl->activefontcolor, 16711680);
  EXPECT_EQ(lbl->fontname, QStringLiteral("Arial"));
  EXPECT_EQ(lbl->fontheight, 14);
  EXPECT_EQ(lbl->pictureindex, -1);
  auto* lb = dynamic_cast<TbsDataSkinListBox*>(data.SkinControls[1].get());
  ASSERT_NE(lb, nullptr);
  EXPECT_EQ(lb->vscrollbarname, QStringLiteral("vscrollbar"));
  EXPECT_EQ(lb->hscrollbarname, QStringLiteral("hscrollbar"));
  EXPECT_EQ(lb->bothhscrollbarname, QStringLiteral("bothhscrollbar"));
  EXPECT_EQ(lb->captionfontheight, 14);
  auto* g = dynamic_cast<TbsDataSkinGridControl*>(data.SkinControls[2].get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->fixedfontname, QStringLiteral("Arial"));
  EXPECT_EQ(g->fixedfontheight, 14);

  // Up-down geometry is always zero, whatever the section holds; its store writes the zeros.
  auto* ud = dynamic_cast<TbsDataSkinUpDownControl*>(data.SkinControls[3].get());
  ASSERT_NE(ud, nullptr);
  EXPECT_EQ(ud->lefttoppoint, TPoint());
  EXPECT_EQ(ud->rightbottompoint, TPoint());
  EXPECT_EQ(ud->clientrect, TRect());
  EXPECT_EQ(ud->upbuttonrect, TRect(1, 1, 2, 2));
  EXPECT_EQ(ud->skinrect, TRect(0, 0, 36, 18));
  ud->righttoppoint = TPoint(4, 4);
  TMemIniFile stored;
  ud->StoreSection(stored);
  EXPECT_EQ(stored.ReadString("ud", "righttoppoint", {}), QStringLiteral("0,0"));
  EXPECT_EQ(stored.ReadString("ud", "clientrect", {}), QStringLiteral("0,0,0,0"));

  auto* t = dynamic_cast<TbsDataSkinTabControl*>(data.SkinControls[4].get());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->clientrect, TRect(3, 3, 57, 51));
  EXPECT_EQ(t->lefttoppoint, TPoint(4, 4));
  EXPECT_EQ(t->rightbottompoint, TPoint(56, 50));
  EXPECT_EQ(t->bgpictureindex, -1);

  EXPECT_NE(dynamic_cast<TbsDataSkinLabelControl*>(data.SkinControls[5].get()), nullptr);
  EXPECT_EQ(data.SkinControls[5]->SectionName, QStringLiteral("statuspanel"));

  ASSERT_EQ(data.SkinObjects.size(), 2u);
  auto* c = dynamic_cast<TbsDataSkinCaption*>(data.SkinObjects[0].get());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->alignment, taCenter);  // section missing: every key takes its default
  EXPECT_EQ(c->fontname, QStringLiteral("Arial"));
  EXPECT_EQ(c->activepictureindex, -1);
  auto* u = dynamic_cast<TbsDataUserObject*>(data.SkinObjects[1].get());
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->skinrect, TRect(1, 2, 3, 4));
  EXPECT_EQ(u->hint, QString());
  EXPECT_EQ(u->activepictureindex, -1);
  EXPECT_FALSE(u->morphing);
  TMemIniFile us;
  u->StoreSection(us);
  EXPECT_EQ(us.ReadSection("u"), QStringList({"skinrect"}));
}

TEST(SkinDataLists, EntriesAreSplitAtTheFirstColonAndMatchedExactly) {
  const TMemIniFile ini = Ini(
      "[SKINOBJECTS]\ncount=6\n0=caption1:caption\n1=x:Caption\n2=nocolon\n3=a:b:caption\n5=MENUITEM:menuitem\n"
      "[CAPTION1]\nalignment=taleftjustify\n[MENUITEM]\nunenabledfontColor=77\n"
      "[SKINCONTROLS]\ncount=99\n0=button:button\n1=button:button\n2=bad:BUTTON\n3=panel:panel\n[button]\nfontheight=20\n");
  TbsSkinData data(nullptr);
  data.LoadObjectSections(ini);
  data.LoadControlSections(ini);
  ASSERT_EQ(data.SkinObjects.size(), 2u);
  EXPECT_EQ(data.SkinObjects[0]->SectionName, QStringLiteral("caption1"));
  // The section named in capitals serves the entry "caption1".
  EXPECT_EQ(static_cast<TbsDataSkinCaption*>(data.SkinObjects[0].get())->alignment, taLeftJustify);
  EXPECT_EQ(data.SkinObjects[1]->SectionName, QStringLiteral("MENUITEM"));
  EXPECT_EQ(static_cast<TbsDataSkinMenuItem*>(data.SkinObjects[1].get())->unenabledfontcolor, 77);
  EXPECT_EQ(data.FindObjectIndex(QStringLiteral("MENUITEM")), 1);
  EXPECT_EQ(data.FindObjectIndex(QStringLiteral("menuitem")), -1);

  ASSERT_EQ(data.SkinControls.size(), 3u);
  EXPECT_EQ(data.FindControlIndex(QStringLiteral("button")), 0);
  EXPECT_EQ(data.FindControlIndex(QStringLiteral("panel")), 2);
  EXPECT_EQ(data.FindControlIndex(QStringLiteral("Panel")), -1);
  EXPECT_EQ(data.FindControlIndex(QStringLiteral("bad")), -1);
  EXPECT_EQ(static_cast<TbsDataSkinButtonControl*>(data.SkinControls[1].get())->fontheight, 20);

  // A huge count does not walk two billion missing entries.
  TbsSkinData big(nullptr);
  big.LoadControlSections(Ini("[SKINCONTROLS]\ncount=2147483647\n0=p:panel\n"));
  EXPECT_EQ(big.SkinControls.size(), 1u);
}

TEST(SkinDataForm, CornerPointsArePulledIntoTheClientArea) {
  TbsSkinData data(nullptr);
  data.LoadFormSection(Ini("[FORMINFO]\nclientrect=15,33,163,124\nlefttoppoint=10,20\nrighttoppoint=170,10\n"
                           "leftbottompoint=5,140\nrightbottompoint=170,140\nbgpictureindex=3\ninactiveeffect=iegrayscale\n"));
  EXPECT_EQ(data.lefttoppoint, TPoint(15, 33));
  EXPECT_EQ(data.righttoppoint, TPoint(163, 33));
  EXPECT_EQ(data.leftbottompoint, TPoint(15, 124));
  EXPECT_EQ(data.rightbottompoint, TPoint(163, 124));
  EXPECT_EQ(data.bgpictureindex, 3);
  EXPECT_EQ(data.inactiveeffect, ieGrayscale);

  // Points already inside stay as they are.
  data.LoadFormSection(Ini("[FORMINFO]\nclientrect=15,33,163,124\nlefttoppoint=48,35\nrighttoppoint=99,34\n"
                           "leftbottompoint=15,124\nrightbottompoint=163,124\n"));
  EXPECT_EQ(data.lefttoppoint, TPoint(48, 35));
  EXPECT_EQ(data.righttoppoint, TPoint(99, 34));

  // Same X for right-bottom and left-top: all four stay as read.
  data.LoadFormSection(Ini("[FORMINFO]\nclientrect=15,33,163,124\nlefttoppoint=10,20\nrighttoppoint=170,10\n"
                           "leftbottompoint=5,140\nrightbottompoint=10,140\n"));
  EXPECT_EQ(data.lefttoppoint, TPoint(10, 20));
  EXPECT_EQ(data.righttoppoint, TPoint(170, 10));
  EXPECT_EQ(data.leftbottompoint, TPoint(5, 140));
  EXPECT_EQ(data.bgpictureindex, -1);
}

}  // namespace
