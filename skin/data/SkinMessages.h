// Delivery of the skin messages to the application's forms.
#pragma once
#include <cstdint>

class TComponent;
class TbsSkinData;

// Sends `message` (WParam = `data`, LParam = 1000) synchronously to the form `ownerForm`
// first (when it is a form), then to every other form of the application in the order of
// the platform's list of forms. The owner form gets it once.
void SendSkinMessageToForms(TComponent* ownerForm, uint32_t message, TbsSkinData* data);
