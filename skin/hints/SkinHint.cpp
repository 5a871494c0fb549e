#include "skin/hints/SkinHint.h"

#include "gdi/Bitmap.h"
#include "gdi/Dc.h"
#include "gdi/Icon.h"
#include "gdi/Objects.h"
#include "gui/Forms.h"
#include "os/MainThread.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinControl.h"
#include "skin/hints/SkinHintWindow.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <vector>

namespace skin {

namespace {

// The component whose handler the application's hint event runs; cleared when it goes.
TbsSkinHint* g_installed = nullptr;

} // namespace

TbsSkinHint* FindActiveSkinHint() {
    gui::TCustomForm* main = gui::Application->MainForm();
    if (!main) return nullptr;
    for (int i = 0; i < main->ComponentCount(); ++i)
        if (auto* h = dynamic_cast<TbsSkinHint*>(main->Components(i)); h && h->Active()) return h;
    return nullptr;
}

TbsSkinHint::TbsSkinHint(gui::TComponent* AOwner)
    : gui::TComponent(AOwner), HW(std::make_unique<TbsSkinHintWindow>(nullptr)) {
    if (Designing()) return;
    gui::Application->HintWindowClass = [](gui::TComponent* owner) -> gui::THintWindow* {
        return new TbsSkinHintWindow(owner);
    };
    // Switching hints off and on makes the application's hint window anew, of our class.
    bool shown = gui::Application->ShowHint();
    gui::Application->SetShowHint(!shown);
    gui::Application->SetShowHint(shown);
    gui::Application->OnShowHint = [this](std::string& s, bool& can, gui::THintInfo& info) {
        AppShowHint(s, can, info);
    };
    g_installed = this;
    gui::Application->HintShortPause = 100;
}

TbsSkinHint::~TbsSkinHint() {
    MarkDestroying();
    HintTimer.reset();
    // The application's hint event must not call a component that is gone.
    if (g_installed == this) {
        gui::Application->OnShowHint = nullptr;
        g_installed = nullptr;
    }
    SetSkinData(nullptr);
}

void TbsSkinHint::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinHint::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TComponent::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TbsSkinHint::SetActive(bool Value) {
    FActive = Value;
    if (!Value) return;
    if (gui::TCustomForm* main = gui::Application->MainForm())
        for (int i = 0; i < main->ComponentCount(); ++i)
            if (auto* h = dynamic_cast<TbsSkinHint*>(main->Components(i)); h && h != this && h->Active())
                h->SetActive(false);
    if (Designing()) return;
    gui::Application->OnShowHint = [this](std::string& s, bool& can, gui::THintInfo& info) {
        AppShowHint(s, can, info);
    };
    g_installed = this;
}

void TbsSkinHint::ClearTitle() {
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
}

void TbsSkinHint::AppShowHint(std::string& HintStr, bool& CanShow, gui::THintInfo& HintInfo) {
    ClearTitle();
    if (auto* c = dynamic_cast<TbsSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = c->HintTitle;
        FHintImageIndex = c->HintImageIndex;
        FHintImageList = c->HintImageList;
    } else if (auto* g = dynamic_cast<TbsGraphicSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = g->HintTitle;
        FHintImageIndex = g->HintImageIndex;
        FHintImageList = g->HintImageList;
    }
    if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TbsSkinHint::ActivateHint(TPoint P, const std::string& AHint) {
    ClearTitle();
    HW->ActivateHint(gui::Rect(P.X, P.Y, P.X, P.Y), AHint);
}

void TbsSkinHint::ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint,
                                 int AImageIndex, gui::TCustomImageList* AImageList) {
    FHintTitle = AHintTitle;
    FHintImageList = AImageList;
    FHintImageIndex = AImageIndex;
    HW->ActivateHintEx(gui::Rect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

void TbsSkinHint::StartTimer(int Kind) {
    HintTimer = std::make_unique<gui::TTimer>(nullptr);
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(static_cast<unsigned>(gui::Application->HintPause));
    HintTimer->OnTimer = [this](gui::TObject*) { TimerFired(); };
    pending_ = Kind;
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::ActivateHint2(const std::string& AHint) {
    HintText = AHint;
    ClearTitle();
    StartTimer(1);
}

void TbsSkinHint::ActivateHint3(const gui::TRect& AFromRect, const std::string& AHint, bool ATop) {
    HintText = AHint;
    ClearTitle();
    FromRect = AFromRect;
    Top = ATop;
    StartTimer(2);
}

void TbsSkinHint::ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint, int AImageIndex,
                                  gui::TCustomImageList* AImageList) {
    HintText = AHint;
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    StartTimer(3);
}

void TbsSkinHint::TimerFired() {
    if (pending_ == 4) {
        HideHint();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    p.y += GetCursorHeightMargin();
    gui::TRect at = gui::Rect(p.x, p.y, p.x, p.y);
    if (pending_ == 1)
        HW->ActivateHint(at, HintText);
    else if (pending_ == 2)
        HW->ActivateHintFromRect(FromRect, HintText, Top);
    else
        HW->ActivateHintEx(at, FHintTitle, HintText, FHintImageIndex, FHintImageList);
    // The same timer hides the hint after the application's hide pause.
    pending_ = 4;
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(static_cast<unsigned>(gui::Application->HintHidePause));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::HideHint() {
    if (HintTimer) {
        HintTimer->SetEnabled(false);
        // A hint may be hidden from its own timer's call: the timer goes once the call returns.
        auto* timer = HintTimer.release();
        os::PostInMainThread([timer] { delete timer; });
    }
    pending_ = 0;
    if (!IsVisible()) return;
    SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    HW->SetVisible(false);
    ClearTitle();
}

bool TbsSkinHint::IsVisible() const {
    return HW->HandleAllocated() && IsWindowVisible(HW->Handle());
}

int TbsSkinHint::GetCursorHeightMargin() const {
    int margin = GetSystemMetrics(SM_CYCURSOR);
    ICONINFO info{};
    HCURSOR cursor = GetCursor();
    if (!cursor || !GetIconInfo(cursor, &info)) return margin;
    BITMAP bm{};
    if (info.hbmMask && GetObject(info.hbmMask, sizeof bm, &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        int w = bm.bmWidth, h = bm.bmHeight;
        std::vector<uint8_t> bits(static_cast<size_t>(((w * 3 + 3) & ~3) * h));
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, 0, 0, 0, 0, 0, 0};
        HDC dc = CreateCompatibleDC(nullptr);
        if (GetDIBits(dc, info.hbmMask, 0, static_cast<UINT>(h), bits.data(), &bi, 0) > 0) {
            int row = (w * 3 + 3) & ~3;
            bool twoHalves = h >= 2 * w;
            int half = twoHalves ? h / 2 : h;
            // The lowest row the cursor covers: a black pixel of the AND half, or, when that
            // half is all white, a lit pixel of the XOR half below it.
            auto lowest = [&](int from, int to, bool lit) {
                for (int y = to - 1; y >= from; --y)
                    for (int x = 0; x < w * 3; ++x) {
                        uint8_t v = bits[static_cast<size_t>(y * row + x)];
                        if (lit ? v != 0 : v != 0xFF) return y - from + 1;
                    }
                return 0;
            };
            int rows = lowest(0, half, false);
            if (rows == 0 && twoHalves) rows = lowest(half, h, true);
            margin = rows - static_cast<int>(info.yHotspot);
        }
        DeleteDC(dc);
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return margin;
}

} // namespace skin
