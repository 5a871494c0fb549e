#include "display/x11/X11Keys.h"

#include <X11/keysym.h>

namespace display::x11 {

namespace {

struct KeyRow {
    KeySym sym;
    int vk;
};

const KeyRow kKeys[] = {
    {XK_BackSpace,    8 },
    {XK_Tab,          9 },
    {XK_ISO_Left_Tab, 9 },
    {XK_Return,       13},
    {XK_KP_Enter,     13},
    {XK_Shift_L,      16},
    {XK_Shift_R,      16},
    {XK_Control_L,    17},
    {XK_Control_R,    17},
    {XK_Alt_L,        18},
    {XK_Alt_R,        18},
    {XK_Meta_L,       18},
    {XK_Meta_R,       18},
    {XK_Pause,        19},
    {XK_Caps_Lock,    20},
    {XK_Escape,       27},
    {XK_space,        32},
    {XK_Prior,        33},
    {XK_KP_Prior,     33},
    {XK_Next,         34},
    {XK_KP_Next,      34},
    {XK_End,          35},
    {XK_KP_End,       35},
    {XK_Home,         36},
    {XK_KP_Home,      36},
    {XK_Left,         37},
    {XK_KP_Left,      37},
    {XK_Up,           38},
    {XK_KP_Up,        38},
    {XK_Right,        39},
    {XK_KP_Right,     39},
    {XK_Down,         40},
    {XK_KP_Down,      40},
    {XK_Insert,       45},
    {XK_KP_Insert,    45},
    {XK_Delete,       46},
    {XK_KP_Delete,    46},
};

} // namespace

int VirtualKeyOf(KeySym sym) {
    if (sym >= XK_a && sym <= XK_z) return static_cast<int>('A' + (sym - XK_a));
    if (sym >= XK_A && sym <= XK_Z) return static_cast<int>(sym);
    if (sym >= XK_0 && sym <= XK_9) return static_cast<int>(sym);
    if (sym >= XK_F1 && sym <= XK_F12) return static_cast<int>(112 + (sym - XK_F1));
    for (const KeyRow& k : kKeys)
        if (k.sym == sym) return k.vk;
    return 0;
}

char32_t CharacterOf(KeySym sym) {
    // Latin-1 key symbols are their own code points; Unicode ones carry it
    // under a marker bit.
    char32_t c = 0;
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF))
        c = static_cast<char32_t>(sym);
    else if ((sym & 0xFF000000) == 0x01000000)
        c = static_cast<char32_t>(sym & 0x00FFFFFF);
    else if (sym >= XK_KP_0 && sym <= XK_KP_9)
        c = static_cast<char32_t>('0' + (sym - XK_KP_0));
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c > 0x10FFFF) return 0;
    return c;
}

} // namespace display::x11
