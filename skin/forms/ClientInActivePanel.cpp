#include "skin/forms/ClientInActivePanel.h"

#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gui/Forms.h"
#include "skin/engine/GlowText.h"
#include "win/Message.h"
#include "win/Messages.h"
#include "win/Paint.h"
#include "win/Styles.h"

namespace skin {

namespace {

// How much of the form's background covers the client area's picture.
constexpr uint8_t kWashAlpha = 170;
constexpr int kBlurAmount = 3;

} // namespace

TbsClientInActivePanel::TbsClientInActivePanel(gui::TComponent* AOwner) : TbsSkinPaintPanel(AOwner) {
    SetVisible(false);
}

TbsClientInActivePanel::~TbsClientInActivePanel() = default;

void TbsClientInActivePanel::Paint() {
    if (Buffer) Buffer->Draw(Canvas(), 0, 0);
}

void TbsClientInActivePanel::ShowPanel(gui::TCustomForm* AForm, TbsClientInActiveEffect AEffect) {
    if (!AForm || !AForm->Visible() || AForm->ClientWidth() == 0 || AForm->ClientHeight() == 0) return;
    SetVisible(false);
    SetParent(AForm);
    const int w = AForm->ClientWidth(), h = AForm->ClientHeight();
    SetBounds(0, 0, w, h);
    Buffer = std::make_unique<TbsBitmap>();
    Buffer->SetSize(w, h);
    // The client area as the user sees it now, the form's controls included.
    HWND wnd = AForm->Handle();
    if (HDC dc = GetDC(wnd)) {
        BitBlt(Buffer->DC(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        ReleaseDC(wnd, dc);
    }
    if (AEffect == TbsClientInActiveEffect::bsieBlur) {
        BlurAlphaChannel(*Buffer, kBlurAmount);
    } else {
        TbsBitmap wash;
        wash.SetSize(w, h);
        SendMessage(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(wash.DC()), 0);
        wash.AlphaBlend = true;
        wash.SetAlpha(kWashAlpha);
        wash.Draw(*Buffer, 0, 0);
    }
    BringToFront();
    SetVisible(true);
}

void TbsClientInActivePanel::HidePanel() {
    SetVisible(false);
    Buffer.reset();
    // What lay under the overlay, the form's controls included, shows as it is now.
    if (gui::TWinControl* p = Parent(); p && p->HandleAllocated()) {
        RECT r = BoundsRect();
        RedrawWindow(p->Handle(), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

} // namespace skin
