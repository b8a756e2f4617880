#include "skin/data/SkinMessages.h"

#include <algorithm>
#include <vector>

#include "platform/Forms.h"
#include "skin/data/SkinData.h"

void SendSkinMessageToForms(TComponent* ownerForm, uint32_t message, TbsSkinData* data) {
  const intptr_t wparam = reinterpret_cast<intptr_t>(data);
  constexpr intptr_t lparam = SkinMessageLParam;
  auto* owner = dynamic_cast<TCustomForm*>(ownerForm);
  if (owner) {
    owner->HandleNeeded();
    owner->Perform(message, wparam, lparam);
  }
  if (!Application) return;
  // A handler may create or free forms; walk a copy and skip forms that have gone meanwhile.
  const std::vector<TCustomForm*> forms = Application->Forms();
  for (TCustomForm* f : forms) {
    if (f == owner) continue;
    const auto& now = Application->Forms();
    if (std::find(now.begin(), now.end(), f) == now.end()) continue;
    f->Perform(message, wparam, lparam);
  }
}
