// How skinned controls read the skin data component: emptiness, section lookup by name
// (exact, case-sensitive), entries and pictures by index. Entries and pictures are the skin's
// (referenced, not owned) and valid until the skin changes.
#pragma once
#include <QString>

class TComponent;
class TBitmap;
class TbsSkinData;
class TbsDataSkinControl;

// True when `sd` is null or holds no skin.
bool SkinIsEmpty(const TbsSkinData* sd);
// Index of the first control section of that name; -1 when none (or no skin).
int SkinFindControlIndex(const TbsSkinData* sd, const QString& name);
// The control entry at `index`, or null.
TbsDataSkinControl* SkinControlAt(const TbsSkinData* sd, int index);
// The picture at `index` of the skin's pictures; null for -1 or an index beyond the list.
const TBitmap* SkinPictureAt(const TbsSkinData* sd, int index);
// The component side of the skin data (for removal notices).
TComponent* SkinDataComponent(TbsSkinData* sd);
