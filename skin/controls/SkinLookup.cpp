#include "skin/controls/SkinLookup.h"

bool SkinIsEmpty(const TbsSkinData* sd) { return true; }
int SkinFindControlIndex(const TbsSkinData* sd, const QString& name) { return -1; }
TbsDataSkinControl* SkinControlAt(const TbsSkinData* sd, int index) { return nullptr; }
const TBitmap* SkinPictureAt(const TbsSkinData* sd, int index) { return nullptr; }
TComponent* SkinDataComponent(TbsSkinData* sd) { return nullptr; }
