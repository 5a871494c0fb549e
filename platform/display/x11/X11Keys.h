#pragma once
// Key symbols to the virtual-key codes and characters the window system uses.
#include <X11/X.h>

namespace display::x11 {

// 0 for keys the window system has no code for.
int VirtualKeyOf(KeySym sym);
// The character a key symbol types (0: none, or a control character).
char32_t CharacterOf(KeySym sym);

} // namespace display::x11
