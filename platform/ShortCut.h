// Keyboard shortcuts of menu items: a virtual key code in the low byte and the modifier bits
// scShift, scCtrl and scAlt above it, as the platform stores them ("Ctrl+F4" = scCtrl | VK_F4).
// Text forms are "Shift+", "Ctrl+", "Alt+" (in that order) followed by the key's name.
#pragma once
#include <QString>
#include <cstdint>

#include "platform/Controls.h"

using TShortCut = uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// The shortcut of a key with a shift state (only Shift, Ctrl and Alt count).
TShortCut ShortCut(uint16_t key, TShiftState shift);
// The key and the shift state of a shortcut.
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+F4", "Alt+F4", "Shift+Del", "Ctrl+A"; empty for scNone or a key without a name.
QString ShortCutToText(TShortCut shortCut);
// The shortcut a text names (modifier words without regard to case), scNone when it names none.
TShortCut TextToShortCut(const QString& text);
