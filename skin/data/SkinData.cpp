#include "skin/data/SkinData.h"

#include <algorithm>

#include "skin/data/SkinMessages.h"

namespace {
const QString kFormInfo = QStringLiteral("forminfo");  // section names match in any case
const QString kVersion = QStringLiteral("version");

// Splits a list entry "name:type" at its first colon; no colon gives two empty texts.
void SplitEntry(const QString& entry, QString& name, QString& type) {
  const qsizetype colon = entry.indexOf(u':');
  if (colon < 0) {
    name.clear();
    type.clear();
    return;
  }
  name = entry.left(colon);
  type = entry.mid(colon + 1);
}

template <class List, class Factory>
void LoadList(const TMemIniFile& ini, const QString& section, List& list, Factory create) {
  const int32_t count = SkinListEntryLimit(ini, section, ini.ReadInteger(section, QStringLiteral("count"), 0));
  for (int32_t i = 0; i < count; ++i) {
    QString name, type;
    SplitEntry(ini.ReadString(section, QString::number(i), QString()), name, type);
    auto item = create(type, name);
    if (!item) continue;
    list.push_back(std::move(item));
    list.back()->LoadSection(ini);
  }
}

template <class List>
int FindByName(const List& list, const QString& name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->SectionName == name) return static_cast<int>(i);
  return -1;
}
}  // namespace

TbsSkinData::TbsSkinData(TComponent* owner)
    : TComponent(owner), PopupWindow(std::make_unique<TbsDataSkinPopupWindow>()),
      HintWindow(std::make_unique<TbsDataSkinHintWindow>()) {}

TbsSkinData::~TbsSkinData() {
  IsEmpty = true;
  ClearLists();
}

void TbsSkinData::SetStoredSkin(TbsStoredSkin* value) {
  if (storedSkin_) RemoveFreeNotification(storedSkin_);
  storedSkin_ = value;
  if (value) FreeNotification(value);
  if (!IsDesigning() && value) LoadFromStoredSkin(*value);
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* value) {
  if (compressedStoredSkin_) RemoveFreeNotification(compressedStoredSkin_);
  compressedStoredSkin_ = value;
  if (value) FreeNotification(value);
  if (!IsDesigning() && value) LoadFromCompressedSkin(*value);
}

void TbsSkinData::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != TOperation::opRemove) return;
  if (c == storedSkin_) storedSkin_ = nullptr;
  if (c == compressedStoredSkin_) compressedStoredSkin_ = nullptr;
}

int TbsSkinData::FindObjectIndex(const QString& name) const { return FindByName(SkinObjects, name); }
int TbsSkinData::FindControlIndex(const QString& name) const { return FindByName(SkinControls, name); }

TBitmap* TbsSkinData::ActivePicture(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= activepictures.size()) return nullptr;
  return activepictures[static_cast<size_t>(index)].get();
}

void TbsSkinData::NotifyForms(uint32_t message) {
  // Whoever announces a change may have replaced the pictures or the mask already.
  if (message == SkinMessageBeforeChange || message == SkinMessageChanged) FrameCache.Clear();
  SendSkinMessageToForms(Owner(), message, this);
}

void TbsSkinData::ClearLists() {
  SkinObjects.clear();
  SkinControls.clear();
  activepictures.clear();
  PopupWindow->windowpictureindex = -1;
  HintWindow->windowpictureindex = -1;
}

void TbsSkinData::ResetSkin() {
  ClearLists();
  picture.Clear();
  inactivepicture.Clear();
  mask.Clear();
  FrameCache.Clear();
  IsEmpty = true;
}

void TbsSkinData::LoadVersion(const TMemIniFile& ini) {
  skinname = ini.ReadString(kVersion, QStringLiteral("skinname"), QString());
  skinauthor = ini.ReadString(kVersion, QStringLiteral("skinauthor"), QString());
  authoremail = ini.ReadString(kVersion, QStringLiteral("authoremail"), QString());
  authorurl = ini.ReadString(kVersion, QStringLiteral("authorurl"), QString());
  skincomments = ini.ReadString(kVersion, QStringLiteral("skincomments"), QString());
}

namespace {
// [FORMINFO] keys in field order; shared by the reader and the description writer.
template <class V, class S>
void FormInfoFields(V& v, S& s) {
  v.Rect(QStringLiteral("buttonsrect"), s.buttonsrect);
  v.Rect(QStringLiteral("captionrect"), s.captionrect);
  v.Int(QStringLiteral("buttonsoffset"), s.buttonsoffset);
  v.Flag(QStringLiteral("buttonsinleft"), s.buttonsinleft);
  v.Flag(QStringLiteral("autorenderinginactiveimage"), s.autorenderinginactiveimage);
  v.Effect(QStringLiteral("inactiveeffect"), s.inactiveeffect);
  v.Point(QStringLiteral("lefttoppoint"), s.lefttoppoint);
  v.Point(QStringLiteral("righttoppoint"), s.righttoppoint);
  v.Point(QStringLiteral("leftbottompoint"), s.leftbottompoint);
  v.Point(QStringLiteral("rightbottompoint"), s.rightbottompoint);
  v.Int(QStringLiteral("bgpictureindex"), s.bgpictureindex, -1);
  v.Flag(QStringLiteral("mainmenupopupup"), s.mainmenupopupup);
  v.Rect(QStringLiteral("maskrectarea"), s.maskrectarea);
  v.Point(QStringLiteral("hittestlefttoppoint"), s.hittestlefttoppoint);
  v.Point(QStringLiteral("hittestrighttoppoint"), s.hittestrighttoppoint);
  v.Point(QStringLiteral("hittestleftbottompoint"), s.hittestleftbottompoint);
  v.Point(QStringLiteral("hittestrightbottompoint"), s.hittestrightbottompoint);
  v.Rect(QStringLiteral("clientrect"), s.clientrect);
  v.Int(QStringLiteral("borderwidth"), s.borderwidth);
}
}  // namespace

void TbsSkinData::LoadFormSection(const TMemIniFile& ini) {
  TSkinSectionReader r(ini, kFormInfo);
  FormInfoFields(r, *this);
  // Pull the corner points into the client area, each on its own sides only.
  if (rightbottompoint.X != lefttoppoint.X && rightbottompoint.Y != lefttoppoint.Y) {
    const TRect& cr = clientrect;
    lefttoppoint.X = std::max(lefttoppoint.X, cr.Left);
    lefttoppoint.Y = std::max(lefttoppoint.Y, cr.Top);
    righttoppoint.X = std::min(righttoppoint.X, cr.Right);
    righttoppoint.Y = std::max(righttoppoint.Y, cr.Top);
    leftbottompoint.X = std::max(leftbottompoint.X, cr.Left);
    leftbottompoint.Y = std::min(leftbottompoint.Y, cr.Bottom);
    rightbottompoint.X = std::min(rightbottompoint.X, cr.Right);
    rightbottompoint.Y = std::min(rightbottompoint.Y, cr.Bottom);
  }
}

void TbsSkinData::LoadObjectSections(const TMemIniFile& ini) {
  LoadList(ini, QStringLiteral("skinobjects"), SkinObjects, CreateSkinObject);
}

void TbsSkinData::LoadControlSections(const TMemIniFile& ini) {
  LoadList(ini, QStringLiteral("skincontrols"), SkinControls, CreateSkinControl);
}

void TbsSkinData::LoadSectionsAfterPictures(const TMemIniFile& ini) {
  LoadFormSection(ini);
  PopupWindow->LoadSection(ini);
  HintWindow->LoadSection(ini);
  LoadObjectSections(ini);
  LoadControlSections(ini);
}

void TbsSkinData::LoadFromStoredSkin(TbsStoredSkin& skin) {
  IsEmpty = true;
  NotifyForms(SkinMessageBeforeChange);
  ResetSkin();
  TMemIniFile ini;
  ini.SetStrings(skin.IniStrings());
  if (!HasSkinSections(ini)) {
    NotifyForms(SkinMessageChanged);
    NotifyForms(SkinMessageChangedAfter);
    return;
  }
  LoadVersion(ini);
  picture = skin.picture;
  inactivepicture = skin.inactivepicture;
  mask = skin.mask;
  for (const auto& b : skin.activepictures) activepictures.push_back(std::make_unique<TBitmap>(*b));
  LoadSectionsAfterPictures(ini);
  IsEmpty = false;
  NotifyForms(SkinMessageChanged);
  NotifyForms(SkinMessageChangedAfter);
}

void TbsSkinData::LoadFromCompressedSkin(TbsCompressedStoredSkin& skin) {
  if (skin.HasNoData()) return;
  IsEmpty = true;
  NotifyForms(SkinMessageBeforeChange);
  ResetSkin();
  TMemoryStream content;
  // Room for the usual compression ratios at once: growing step by step costs more than the
  // inflating itself. Pages that are never written are never touched.
  content.Bytes().reserve(std::min<size_t>(skin.CompressedData.Bytes().size() * 64, size_t{64} << 20));
  skin.UnpackTo(content);
  content.SetPosition(0);
  int32_t version = 0;
  content.ReadBuffer(&version, 4);
  if (version != 1) return;
  ReadFlaggedBitmap(content, picture);
  ReadFlaggedBitmap(content, inactivepicture);
  ReadFlaggedBitmap(content, mask);
  int32_t count;
  content.ReadBuffer(&count, 4);
  for (int32_t i = 0; i < count; ++i) {
    activepictures.push_back(std::make_unique<TBitmap>());
    activepictures.back()->LoadFromStream(content);
  }
  const int64_t at = content.Position();
  TMemIniFile ini;
  ini.SetText(QString::fromLocal8Bit(reinterpret_cast<const char*>(content.Memory() + at),
                                     static_cast<qsizetype>(content.Size() - at)));
  LoadVersion(ini);
  LoadSectionsAfterPictures(ini);
  IsEmpty = false;
  NotifyForms(SkinMessageChanged);
  NotifyForms(SkinMessageChangedAfter);
}

namespace {
const char* ObjectTypeWord(const TbsDataSkinObject& o) {
  const QString c = o.ClassName();
  if (c == QLatin1String("TbsDataSkinCaption")) return "caption";
  if (c == QLatin1String("TbsDataSkinButton")) return "button";
  if (c == QLatin1String("TbsDataSkinStdButton")) return "stdbutton";
  if (c == QLatin1String("TbsDataSkinMainMenuBarButton")) return "mainmenubarbutton";
  if (c == QLatin1String("TbsDataSkinMenuItem")) return "menuitem";
  if (c == QLatin1String("TbsDataSkinMainMenuBarItem")) return "mainmenubaritem";
  return "userobject";
}
}  // namespace

void StoreSkinDescription(const TbsSkinData& data, TMemIniFile& ini) {
  const QString version = QStringLiteral("VERSION");
  ini.EraseSection(version);
  ini.WriteString(version, QStringLiteral("skinname"), data.skinname);
  ini.WriteString(version, QStringLiteral("skinauthor"), data.skinauthor);
  ini.WriteString(version, QStringLiteral("authoremail"), data.authoremail);
  ini.WriteString(version, QStringLiteral("authorurl"), data.authorurl);
  ini.WriteString(version, QStringLiteral("skincomments"), data.skincomments);
  const QString formInfo = QStringLiteral("FORMINFO");
  ini.EraseSection(formInfo);
  TSkinSectionWriter w(ini, formInfo);
  FormInfoFields(w, data);

  const QString objects = QStringLiteral("SKINOBJECTS");
  ini.EraseSection(objects);
  ini.WriteInteger(objects, QStringLiteral("count"), static_cast<int32_t>(data.SkinObjects.size()));
  for (size_t i = 0; i < data.SkinObjects.size(); ++i)
    ini.WriteString(objects, QString::number(i),
                    data.SkinObjects[i]->SectionName + u':' + QLatin1String(ObjectTypeWord(*data.SkinObjects[i])));
  const QString controls = QStringLiteral("SKINCONTROLS");
  ini.EraseSection(controls);
  ini.WriteInteger(controls, QStringLiteral("count"), static_cast<int32_t>(data.SkinControls.size()));
  for (size_t i = 0; i < data.SkinControls.size(); ++i)
    ini.WriteString(controls, QString::number(i), data.SkinControls[i]->SectionName + u':' + ControlTypeWord(*data.SkinControls[i]));
  for (const auto& o : data.SkinObjects) o->StoreSection(ini);
  for (const auto& c : data.SkinControls) c->StoreSection(ini);
}
