#include "skin/data/SkinControlData.h"

#include <functional>
#include <utility>

void TbsDataSkinControl::LoadSection(const TMemIniFile& ini) {
  TSkinSectionReader r(ini, SectionName);
  Fields(r, *this);
}

void TbsDataSkinControl::StoreSection(TMemIniFile& ini) const {
  ini.EraseSection(SectionName);
  TSkinSectionWriter w(ini, SectionName);
  Fields(w, *this);
}

void TbsDataSkinUpDownControl::LoadSection(const TMemIniFile& ini) {
  TbsDataSkinCustomControl::LoadSection(ini);
  TSkinSectionReader r(ini, SectionName);
  Fields(r, *this);
  lefttoppoint = righttoppoint = leftbottompoint = rightbottompoint = TPoint();
  clientrect = TRect();
}

void TbsDataSkinUpDownControl::StoreSection(TMemIniFile& ini) const {
  TbsDataSkinCustomControl::StoreSection(ini);
  TSkinSectionWriter w(ini, SectionName);
  Fields(w, *this);
  // The geometry is never taken from the section, so it is written as zero whatever it holds.
  for (const QString& key : {QStringLiteral("lefttoppoint"), QStringLiteral("righttoppoint"), QStringLiteral("leftbottompoint"),
                             QStringLiteral("rightbottompoint")})
    w.Point(key, TPoint());
  w.Rect(QStringLiteral("clientrect"), TRect());
}

namespace {
template <class T>
std::unique_ptr<TbsDataSkinControl> Make(const QString& name) {
  return std::make_unique<T>(name);
}
using Factory = std::unique_ptr<TbsDataSkinControl> (*)(const QString&);
const std::pair<const char*, Factory> kControlTypes[] = {
    {"panel", &Make<TbsDataSkinPanelControl>},
    {"expanel", &Make<TbsDataSkinExPanelControl>},
    {"button", &Make<TbsDataSkinButtonControl>},
    {"menubutton", &Make<TbsDataSkinMenuButtonControl>},
    {"checkradio", &Make<TbsDataSkinCheckRadioControl>},
    {"gauge", &Make<TbsDataSkinGaugeControl>},
    {"splitter", &Make<TbsDataSkinSplitterControl>},
    {"trackbar", &Make<TbsDataSkinTrackBarControl>},
    {"label", &Make<TbsDataSkinLabelControl>},
    {"stdlabel", &Make<TbsDataSkinStdLabelControl>},
    {"updown", &Make<TbsDataSkinUpDownControl>},
    {"grid", &Make<TbsDataSkinGridControl>},
    {"tab", &Make<TbsDataSkinTabControl>},
    {"mainmenubar", &Make<TbsDataSkinMainMenuBar>},
    {"controlbar", &Make<TbsDataSkinControlBar>},
    {"memo", &Make<TbsDataSkinMemoControl>},
    {"edit", &Make<TbsDataSkinEditControl>},
    {"checklistbox", &Make<TbsDataSkinCheckListBox>},
    {"listbox", &Make<TbsDataSkinListBox>},
    {"combobox", &Make<TbsDataSkinComboBox>},
    {"scrollbar", &Make<TbsDataSkinScrollBarControl>},
    {"spinedit", &Make<TbsDataSkinSpinEditControl>},
    {"scrollbox", &Make<TbsDataSkinScrollBoxControl>},
    {"treeview", &Make<TbsDataSkinTreeView>},
    {"bevel", &Make<TbsDataSkinBevel>},
    {"slider", &Make<TbsDataSkinSlider>},
    {"listview", &Make<TbsDataSkinListView>},
    {"richedit", &Make<TbsDataSkinRichEdit>},
};
}  // namespace

std::unique_ptr<TbsDataSkinControl> CreateSkinControl(const QString& typeWord, const QString& name) {
  for (const auto& [word, make] : kControlTypes)
    if (typeWord == QLatin1String(word)) return make(name);
  return nullptr;
}

QString ControlTypeWord(const TbsDataSkinControl& c) {
  const QString cls = c.ClassName();
  for (const auto& [word, make] : kControlTypes)
    if (make(QString())->ClassName() == cls) return QLatin1String(word);
  return QString();
}
