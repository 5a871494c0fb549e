#include "gui/Screen.h"

#include "gdi/Icon.h"
#include "gui/Forms.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Messages.h"
#include "win/System.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace gui {

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
    RECT r{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    POINT p;
    GetCursorPos(&p);
    if (HWND w = WindowFromPoint(p)) SendMessage(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), HTCLIENT);
}

HCURSOR TScreen::Cursors(TCursor cursor) const {
    const char* id = IDC_ARROW;
    switch (cursor) {
    case crIBeam:
        id = IDC_IBEAM;
        break;
    case crHourGlass:
    case crAppStart:
        id = IDC_WAIT;
        break;
    case crSizeNESW:
        id = IDC_SIZENESW;
        break;
    case crSizeNS:
        id = IDC_SIZENS;
        break;
    case crSizeNWSE:
        id = IDC_SIZENWSE;
        break;
    case crSizeWE:
        id = IDC_SIZEWE;
        break;
    case crSizeAll:
        id = IDC_SIZEALL;
        break;
    case crHandPoint:
        id = IDC_HAND;
        break;
    case crNone:
        return nullptr;
    default:
        break;
    }
    return LoadCursor(nullptr, id);
}

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) {
        activeForm_ = nullptr;
        if (OnActiveFormChange) OnActiveFormChange(this);
    }
    if (activeControl_ && GetParentForm(activeControl_) == form) SetActiveControl(nullptr);
}

void TScreen::FormActivated(TCustomForm* form) {
    auto it = std::find(forms_.begin(), forms_.end(), form);
    if (it != forms_.end()) std::rotate(forms_.begin(), it, it + 1);
    if (activeForm_ == form) return;
    activeForm_ = form;
    if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* control) {
    if (activeControl_ == control) return;
    activeControl_ = control;
    if (OnActiveControlChange) OnActiveControlChange(this);
}

} // namespace gui
