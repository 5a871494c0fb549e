#pragma once
// Keyboard shortcuts in one 16-bit word: the virtual-key code in the low byte and the modifiers
// as flags, and their menu texts ("Ctrl+O", "Shift+Del", "F1").
#include "gui/Classes.h"

#include <string>

namespace gui {

constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// Modifiers in the order Shift, Ctrl, Alt, then the key's name; "" for a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, ignoring case; scNone for text that names no shortcut.
TShortCut TextToShortCut(const std::string& text);

} // namespace gui
