#include "gui/ControlCanvas.h"

#include "gui/WinControl.h"
#include "os/ScopeExit.h"
#include "win/Paint.h"

#include <set>

namespace gui {

namespace {
std::set<TControlCanvas*> g_canvasesWithDc;
} // namespace

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::CreateHandle() {
    if (!control_) return;
    HWND w = nullptr;
    TPoint origin{};
    if (control_->IsWindowed()) {
        w = static_cast<TWinControl*>(control_)->Handle();
    } else if (control_->Parent()) {
        w = control_->Parent()->Handle();
        origin = {control_->Left(), control_->Top()};
    }
    if (!w) return;
    own_ = GetDC(w);
    window_ = w;
    if (!control_->IsWindowed()) {
        SetViewportOrgEx(own_, origin.x, origin.y, nullptr);
        IntersectClipRect(own_, 0, 0, control_->Width(), control_->Height());
    }
    SetHandle(own_);
    g_canvasesWithDc.insert(this);
}

void TControlCanvas::FreeHandle() {
    if (!own_) return;
    HDC dc = own_;
    own_ = nullptr;
    if (Handle() == dc) SetHandle(nullptr);
    ReleaseDC(window_, dc);
    window_ = nullptr;
    g_canvasesWithDc.erase(this);
}

void TControlCanvas::PaintOn(HDC dc, const std::function<void()>& paint) {
    FreeHandle();
    Lock();
    SetHandle(dc);
    os::ScopeExit release([this] {
        SetHandle(nullptr);
        Unlock();
    });
    paint();
}

void FreeDeviceContexts() {
    auto all = g_canvasesWithDc;
    for (TControlCanvas* c : all) c->FreeHandle();
}

} // namespace gui
