#include "gui/ControlTypes.h"

#include "win/Input.h"
#include "win/Messages.h"

#include <cctype>

namespace gui {

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (keyData & (1 << 29)) s |= ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
    if (GetKeyState(VK_MBUTTON) < 0) s |= ssMiddle;
    return s;
}

bool IsAccel(WPARAM key, const std::string& caption) {
    size_t amp = caption.find('&');
    while (amp != std::string::npos && amp + 1 < caption.size() && caption[amp + 1] == '&')
        amp = caption.find('&', amp + 2);
    return amp != std::string::npos && amp + 1 < caption.size() && key < 128 &&
           std::toupper(static_cast<unsigned char>(caption[amp + 1])) == std::toupper(static_cast<int>(key));
}

} // namespace gui
