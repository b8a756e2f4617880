#include "skin/data/SkinObjectData.h"

void TbsDataSkinObject::LoadSection(const TMemIniFile& ini) {
  TSkinSectionReader r(ini, SectionName);
  Fields(r, *this);
}

void TbsDataSkinObject::StoreSection(TMemIniFile& ini) const {
  ini.EraseSection(SectionName);
  TSkinSectionWriter w(ini, SectionName);
  Fields(w, *this);
}

void TbsDataUserObject::LoadSection(const TMemIniFile& ini) {
  skinrect = SkinIniReadRect(ini, SectionName, QStringLiteral("skinrect"));
}

void TbsDataUserObject::StoreSection(TMemIniFile& ini) const {
  ini.EraseSection(SectionName);
  SkinIniWriteRect(ini, SectionName, QStringLiteral("skinrect"), skinrect);
}

std::unique_ptr<TbsDataSkinObject> CreateSkinObject(const QString& typeWord, const QString& name) {
  if (typeWord == QLatin1String("caption")) return std::make_unique<TbsDataSkinCaption>(name);
  if (typeWord == QLatin1String("button")) return std::make_unique<TbsDataSkinButton>(name);
  if (typeWord == QLatin1String("stdbutton")) return std::make_unique<TbsDataSkinStdButton>(name);
  if (typeWord == QLatin1String("mainmenubarbutton")) return std::make_unique<TbsDataSkinMainMenuBarButton>(name);
  if (typeWord == QLatin1String("menuitem")) return std::make_unique<TbsDataSkinMenuItem>(name);
  if (typeWord == QLatin1String("mainmenubaritem")) return std::make_unique<TbsDataSkinMainMenuBarItem>(name);
  if (typeWord == QLatin1String("userobject")) return std::make_unique<TbsDataUserObject>(name);
  return nullptr;
}

void TbsDataSkinPopupWindow::LoadSection(const TMemIniFile& ini) {
  const QString section = QStringLiteral("popupwindow");
  TSkinSectionReader r(ini, section);
  Fields(r, *this);
}

void TbsDataSkinHintWindow::LoadSection(const TMemIniFile& ini) {
  const QString section = QStringLiteral("hintwindow");
  TSkinSectionReader r(ini, section);
  Fields(r, *this);
}
