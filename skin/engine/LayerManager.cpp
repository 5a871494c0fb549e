#include "skin/engine/LayerManager.h"

#include "gui/Messages.h"
#include "skin/engine/EngineSetup.h"
#include "skin/engine/GlowText.h"
#include "skin/engine/SkinBitmap.h"
#include "win/Layered.h"
#include "win/Messages.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

void TbsLayerWindow::CreateParams(gui::TCreateParams& params) {
    gui::TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    params.WindowClass.style |= CS_SAVEBITS;
}

void TbsLayerWindow::Dispatch(gui::TMessage& message) {
    if (message.Msg == WM_MOUSEACTIVATE) {
        message.Result = MA_NOACTIVATE;
        return;
    }
    gui::TCustomControl::Dispatch(message);
}

TbsLayerManager::TbsLayerManager(gui::TComponent* owner) : gui::TComponent(owner) {
    InitSkinEngine();
    Timer = std::make_unique<gui::TTimer>(nullptr);
    Timer->SetEnabled(false);
    Timer->SetInterval(25);
    Timer->OnTimer = [this](gui::TObject*) { FadeStep(); };
}

TbsLayerManager::~TbsLayerManager() {
    Timer.reset();
    LayerWindow.reset();
    Bmp.reset();
}

void TbsLayerManager::Show(int X, int Y, gui::TBitmap* AImage, gui::TBitmap* AImageMask,
                           int AAlphaBlendValue) {
    if (!IsLayeredWindowSupported() || !AImage) return;
    if (LayerWindow) Hide();
    IsVisible = true;
    LayerWindow = std::make_unique<TbsLayerWindow>(nullptr);
    LayerWindow->SetVisible(false);
    LayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
    HWND h = LayerWindow->Handle();
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    Bmp = std::make_unique<TbsBitmap>();
    MakeAlphaImage(AImage, AImageMask, *Bmp);
    UpdateLayeredWindowFromBitmap(*Bmp, 0, LayerWindow.get());
    SetWindowPos(h, TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
                 SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EndAlphaBlendValue = AAlphaBlendValue;
    StepAlphaBlendValue = std::max(1, AAlphaBlendValue / 10);
    StartTimer();
}

void TbsLayerManager::Hide() {
    if (!IsLayeredWindowSupported()) return;
    StopTimer();
    Bmp.reset();
    IsVisible = false;
    if (LayerWindow) {
        if (LayerWindow->HandleAllocated())
            SetWindowPos(LayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
        LayerWindow.reset();
    }
}

void TbsLayerManager::StartTimer() {
    BeginAlphaBlendValue = 0;
    Timer->SetEnabled(true);
}

void TbsLayerManager::StopTimer() {
    Timer->SetEnabled(false);
}

void TbsLayerManager::FadeStep() {
    if (!Bmp || !LayerWindow) return;
    BeginAlphaBlendValue = std::min(BeginAlphaBlendValue + StepAlphaBlendValue, EndAlphaBlendValue);
    UpdateLayeredWindowFromBitmap(*Bmp, BeginAlphaBlendValue, LayerWindow.get());
    if (BeginAlphaBlendValue == EndAlphaBlendValue) StopTimer();
}

void UpdateLayeredWindowFromBitmap(TbsBitmap& Bitmap, int Alpha, gui::TWinControl* Control) {
    InitSkinEngine();
    auto update = bsEngine().Functions.UpdateLayeredWindow;
    if (!update || !Control || Bitmap.Empty()) return;
    // The window takes premultiplied pixels; the bitmap keeps straight alpha.
    TbsBitmap pre;
    pre.SetSize(Bitmap.Width(), Bitmap.Height());
    for (int i = 0, n = Bitmap.Width() * Bitmap.Height(); i < n; ++i) {
        TbsColor p = Bitmap.Bits()[i], a = p >> 24, out = a << 24;
        for (int s = 0; s < 24; s += 8) out |= ((((p >> s) & 0xFF) * a + 127) / 255) << s;
        pre.Bits()[i] = out;
    }
    POINT dst{Control->Left(), Control->Top()}, src{0, 0};
    SIZE size{Bitmap.Width(), Bitmap.Height()};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(Alpha, 0, 255)), AC_SRC_ALPHA};
    update(Control->Handle(), nullptr, &dst, &size, pre.DC(), &src, 0, &blend, ULW_ALPHA);
}

void MakeAlphaImage(gui::TBitmap* Image, gui::TBitmap* Mask, TbsBitmap& Target) {
    if (!Image) return;
    Target.Assign(Image);
    TbsBitmap mask;
    if (Mask && !Mask->Empty()) mask.Assign(Mask);
    AlphaFromGrayMask(Target, mask.Empty() ? nullptr : &mask);
}

} // namespace skin
