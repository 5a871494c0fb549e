#include "gui/UpDown.h"

#include "controls/CommCtrl.h"
#include "gui/NativeMouse.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <algorithm>

namespace gui {

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    // The window presses its buttons and holds the mouse itself.
    ControlStyle = csSetCaption;
    TControl::SetBounds(Left(), Top(), 17, 25);
}

void TUpDown::CreateParams(TCreateParams& p) {
    InitCommonControls();
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASS);
    p.Style |= UDS_SETBUDDYINT;
    if (associate_) p.Style |= alignButton_ == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
    if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
    if (wrap_) p.Style |= UDS_WRAP;
    if (arrowKeys_) p.Style |= UDS_ARROWKEYS;
    if (!thousands_) p.Style |= UDS_NOTHOUSANDS;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
}

void TUpDown::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = Handle();
    ApplyRange();
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessage(h, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_) SendMessage(h, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
    SendMessage(h, UDM_SETPOS32, 0, position_);
}

void TUpDown::DestroyWnd() {
    if (HandleAllocated() && !Destroying()) position_ = Position();
    TWinControl::DestroyWnd();
}

void TUpDown::ApplyRange() {
    if (HandleAllocated()) SendMessage(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    PassMouseToNative(this, m);
}

void TUpDown::SetMin(int value) {
    min_ = value;
    ApplyRange();
}

void TUpDown::SetMax(int value) {
    max_ = value;
    ApplyRange();
}

int TUpDown::Position() {
    if (!HandleAllocated()) return position_;
    BOOL error = FALSE;
    int p = static_cast<int>(SendMessage(Handle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)));
    if (!error) position_ = p;
    return position_;
}

void TUpDown::SetPosition(int value) {
    position_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (HandleAllocated()) SendMessage(Handle(), UDM_SETPOS32, 0, position_);
}

void TUpDown::SetIncrement(int value) {
    if (value <= 0 || value == increment_) return;
    increment_ = value;
    if (!HandleAllocated()) return;
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessage(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetAssociate(TWinControl* value) {
    if (value == associate_) return;
    if (value == this) return;
    if (associate_) associate_->RemoveFreeNotification(this);
    associate_ = value;
    if (value) value->FreeNotification(this);
    // The window takes its place beside the new buddy, as it does when made with one.
    if (HandleAllocated()) RecreateWnd();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) {
        associate_ = nullptr;
        if (HandleAllocated() && !Destroying()) SendMessage(Handle(), UDM_SETBUDDY, 0, 0);
    }
}

void TUpDown::SetOrientation(TUDOrientation value) {
    if (orientation_ == value) return;
    orientation_ = value;
    RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton value) {
    if (alignButton_ == value) return;
    alignButton_ = value;
    RecreateWnd();
}

void TUpDown::SetWrap(bool value) {
    if (wrap_ == value) return;
    wrap_ = value;
    RecreateWnd();
}

void TUpDown::SetArrowKeys(bool value) {
    if (arrowKeys_ == value) return;
    arrowKeys_ = value;
    RecreateWnd();
}

void TUpDown::SetThousands(bool value) {
    if (thousands_ == value) return;
    thousands_ = value;
    RecreateWnd();
}

bool TUpDown::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TUpDown::ButtonClick(TUDBtnType button) {
    if (OnClick) OnClick(this, button);
}

void TUpDown::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY: {
        auto* n = reinterpret_cast<NMUPDOWN*>(m.LParam);
        if (static_cast<int>(n->hdr.code) == UDN_DELTAPOS) {
            lastDelta_ = n->iDelta;
            m.Result = CanChange() ? 0 : 1;
        }
        return;
    }
    case CN_HSCROLL:
    case CN_VSCROLL:
        if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
            position_ = static_cast<int16_t>(HIWORD(m.WParam));
            position_ = Position();
            ButtonClick(lastDelta_ >= 0 ? btNext : btPrev);
        }
        return;
    case WM_PAINT:
    case WM_ERASEBKGND:
        return DefaultHandler(m);
    default:
        TWinControl::Dispatch(m);
    }
}

} // namespace gui
