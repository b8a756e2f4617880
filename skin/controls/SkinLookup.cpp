#include "skin/controls/SkinLookup.h"

#include "skin/data/SkinData.h"

bool SkinIsEmpty(const TbsSkinData* sd) { return !sd || sd->IsEmpty; }

int SkinFindControlIndex(const TbsSkinData* sd, const QString& name) {
  return SkinIsEmpty(sd) ? -1 : sd->FindControlIndex(name);
}

TbsDataSkinControl* SkinControlAt(const TbsSkinData* sd, int index) {
  if (!sd || index < 0 || index >= static_cast<int>(sd->SkinControls.size())) return nullptr;
  return sd->SkinControls[static_cast<size_t>(index)].get();
}

const TBitmap* SkinPictureAt(const TbsSkinData* sd, int index) { return sd ? sd->ActivePicture(index) : nullptr; }

TComponent* SkinDataComponent(TbsSkinData* sd) { return sd; }
