// TbsSkinData: one loaded skin in memory, read by every skinned element.
//
// It owns its pictures and the data objects of its lists; consumers keep indices into
// SkinObjects / SkinControls (never pointers) and drop them when told the skin is about to
// change. Every load tells the forms through three messages, sent synchronously to the owner
// form first and then to every other form: SkinMessageBeforeChange, SkinMessageChanged,
// SkinMessageChangedAfter. GUI thread only.
#pragma once
#include <QString>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/IniFile.h"
#include "platform/Messages.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinFrameCache.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinObjectData.h"
#include "skin/data/StoredSkin.h"

// SkinMessageBeforeChange, SkinMessageChanged, SkinMessageChangedAfter (1225 to 1227) are the
// platform's message numbers; WParam is the skin data. LParam of every skin message:
constexpr intptr_t SkinMessageLParam = 1000;

class TbsSkinData : public TComponent {
 public:
  explicit TbsSkinData(TComponent* owner);
  ~TbsSkinData() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinData"); }

  // Referenced, not owned. Setting one outside design mode loads it at once.
  TbsStoredSkin* StoredSkin() const { return storedSkin_; }
  void SetStoredSkin(TbsStoredSkin* value);
  TbsCompressedStoredSkin* CompressedStoredSkin() const { return compressedStoredSkin_; }
  void SetCompressedStoredSkin(TbsCompressedStoredSkin* value);

  void LoadFromStoredSkin(TbsStoredSkin& skin);
  void LoadFromCompressedSkin(TbsCompressedStoredSkin& skin);

  // First entry whose SectionName equals `name` exactly; -1 when none does.
  int FindObjectIndex(const QString& name) const;
  int FindControlIndex(const QString& name) const;

  // Sends a skin message to the owner form, then to every other form, synchronously.
  void NotifyForms(uint32_t message);

  void ClearLists();
  void ResetSkin();
  void LoadFormSection(const TMemIniFile& ini);
  void LoadObjectSections(const TMemIniFile& ini);
  void LoadControlSections(const TMemIniFile& ini);
  void LoadVersion(const TMemIniFile& ini);

  // The numbered picture `index`, or nullptr when the index names none.
  TBitmap* ActivePicture(int32_t index) const;

  TRect buttonsrect, captionrect;
  int32_t buttonsoffset = 0;
  bool buttonsinleft = false, autorenderinginactiveimage = false;
  TInactiveEffect inactiveeffect = ieBrightness;
  std::unique_ptr<TbsDataSkinPopupWindow> PopupWindow;  // owned
  std::unique_ptr<TbsDataSkinHintWindow> HintWindow;    // owned
  bool IsEmpty = true;
  TBitmap picture, inactivepicture, mask;  // owned
  TBitmapList activepictures;              // owned
  std::vector<std::unique_ptr<TbsDataSkinObject>> SkinObjects;    // owned, entry order
  std::vector<std::unique_ptr<TbsDataSkinControl>> SkinControls;  // owned, entry order
  TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;  // main picture pixels
  int32_t bgpictureindex = -1;
  bool mainmenupopupup = false;
  TRect maskrectarea;
  TPoint hittestlefttoppoint, hittestrighttoppoint, hittestleftbottompoint, hittestrightbottompoint;
  TRect clientrect;
  int32_t borderwidth = 0;
  QString skinname, skinauthor, authorurl, authoremail, skincomments;
  // Shared by the forms this skin frames; emptied before and after every skin change.
  TSkinFrameCache FrameCache;

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  void LoadSectionsAfterPictures(const TMemIniFile& ini);
  TbsStoredSkin* storedSkin_ = nullptr;                      // referenced, not owned
  TbsCompressedStoredSkin* compressedStoredSkin_ = nullptr;  // referenced, not owned
};

// Writes the loaded skin back as a description: [VERSION], [FORMINFO] and every object and
// control section through its StoreSection, in list order.
void StoreSkinDescription(const TbsSkinData& data, TMemIniFile& ini);
