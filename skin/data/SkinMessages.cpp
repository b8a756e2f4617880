#include "skin/data/SkinMessages.h"

void SendSkinMessageToForms(TComponent*, uint32_t, TbsSkinData*) {}
