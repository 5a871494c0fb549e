// The skinned form's effects: translucency and the fade-in when the form is shown, the drop
// shadow of its window class, the layered border around the form (shown, moved, sized,
// activated and faded with it) and the overlay that dims the client area of an inactive form.
//
// Layered windows follow the display: with a compositor the form fades and the border's soft
// edge blends with what lies below; without one the form shows at once and opaque, and the
// border's per-pixel windows are left off the screen rather than drawn as solid blocks.
#include "gui/Application.h"
#include "gui/Screen.h"
#include "os/Clock.h"
#include "skin/engine/EngineSetup.h"
#include "skin/forms/FormLayerBorder.h"
#include "skin/forms/SkinForm.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

namespace {

constexpr uintptr_t kFadeTimer = 1;
// The fade takes about fifteen steps, each after more than 5 ms.
constexpr int kFadeSteps = 15;
constexpr uint32_t kFadeStepMs = 6;

} // namespace

void TbsSkinForm::CreateEffects() {
    FIsVistaOs = IsWindowsVistaOrLater();
    FIsLayerEnabled = IsLayeredWindowSupported();
    FBorderLayer = std::make_unique<TbsFormLayerBorder>(nullptr, this);
}

void TbsSkinForm::DestroyEffects() {
    HideClientInActiveEffect();
    FBorderLayer.reset();
}

bool TbsSkinForm::LayeredBordersUsed() const {
    return fsd_ && !fsd_->Empty && fsd_->ShowLayeredBorders() && fsd_->LayerFrame.PictureIndex != -1 &&
           FIsLayerEnabled && skinnableForm_ && !AlwaysDisableLayeredFrames && !PreviewMode &&
           form_->BorderStyle() != gui::bsNone && form_->FormStyle() != gui::fsMDIChild && !FSmartEffectsShow;
}

bool TbsSkinForm::LayeredShowOnly() const {
    return FIsVistaOs && LayeredBordersUsed() && !alphaBlend_ && !AlphaBlendAnimation &&
           !(fsd_ && fsd_->AnimationForAllWindows);
}

bool TbsSkinForm::BorderLayerChangeSize() const {
    return FBorderLayer && FBorderLayer->FBorderLayerChangeSize;
}

TRect TbsSkinForm::LayerBorderBands() const {
    const TbsFormLayerBorder* b = FBorderLayer.get();
    if (!LayeredBordersUsed() || !b->FVisible || !b->FData) return {};
    const TRect& r = b->FData->BorderRect;
    if (r.Width() <= 0 || r.Height() <= 0) return {};
    return {b->LeftSize, b->TopSize, b->RightSize, b->BottomSize};
}

void TbsSkinForm::SetLayered(bool on) {
    HWND h = Wnd();
    if (!h) return;
    LONG_PTR ex = GetWindowLongPtr(h, GWL_EXSTYLE);
    if (((ex & WS_EX_LAYERED) != 0) == on) return;
    SetWindowLongPtr(h, GWL_EXSTYLE, on ? ex | WS_EX_LAYERED : ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

void TbsSkinForm::SetAlphaBlend(bool value) {
    if (value == alphaBlend_) return;
    alphaBlend_ = value;
    if (Loading() || Designing() || !FIsLayerEnabled || !Wnd()) return;
    SetLayered(value);
    if (value) SetWindowAlpha(Wnd(), alphaBlendValue_);
}

void TbsSkinForm::SetAlphaBlendValue(uint8_t value) {
    if (value == alphaBlendValue_) return;
    alphaBlendValue_ = value;
    if (alphaBlend_ && !Loading() && !Designing() && FIsLayerEnabled && Wnd()) SetWindowAlpha(Wnd(), value);
}

void TbsSkinForm::AssignAlphaBlend(bool AAlphaBlend, bool AAnimation, uint8_t AValue) {
    SetAlphaBlendValue(AValue);
    AlphaBlendAnimation = AAnimation;
    SetAlphaBlend(AAlphaBlend);
}

void TbsSkinForm::EnableShadow(bool AShowShadow, bool AHideFormBefore) {
    if (!FIsLayerEnabled || AShowShadow == FHaveShadow) return;
    FHaveShadow = AShowShadow;
    if (AHideFormBefore) form_->Hide();
    // The class style reaches every window of the form's class; the desktop draws the shadow
    // where it can (ours has none to offer, so the style is only kept).
    if (HWND h = Wnd()) {
        LONG_PTR cs = GetClassLongPtr(h, GCL_STYLE);
        SetClassLongPtr(h, GCL_STYLE,
                        AShowShadow ? cs | CS_DROPSHADOW : cs & ~static_cast<LONG_PTR>(CS_DROPSHADOW));
    }
    if (AHideFormBefore) form_->Show();
}

// ---- showing and hiding

void TbsSkinForm::EffectsBeforeShowWindow(bool show) {
    HWND h = Wnd();
    if (!h) return;
    const bool allWindows = fsd_ && fsd_->AnimationForAllWindows;
    const bool shown = form_->Visible() || form_->Tag == kTrayRestoreTag;
    if (!show) {
        if (!skinnableForm_) return;
        HideGlowLayers();
        if (FBorderLayer->FVisible && FIsVistaOs) SetLayered(true);
        return;
    }
    if (skinnableForm_) {
        if (allWindows && alphaBlendValue_ == 0) alphaBlendValue_ = 255;
        if ((FIsLayerEnabled && (alphaBlend_ || AlphaBlendAnimation || allWindows)) || LayeredShowOnly()) {
            // Shown transparent; the first tick of the timer brings it up.
            SetLayered(true);
            SetWindowAlpha(h, 0);
            if (LayeredBordersUsed() && shown) {
                FBorderLayer->CheckFormAlpha(0, false);
                FBorderLayer->ShowWithForm();
            }
            SetTimer(h, kFadeTimer, 1, nullptr);
        }
    } else if (FIsLayerEnabled && (alphaBlend_ || AlphaBlendAnimation || allWindows)) {
        SetLayered(true);
        SetWindowAlpha(h, 0);
        SetTimer(h, kFadeTimer, 1, nullptr);
    }
}

void TbsSkinForm::EffectsAfterShowWindow(bool show) {
    if (!show) {
        // A hidden form leaves no border behind, whatever the skin says by now.
        if (FBorderLayer->FVisible) FBorderLayer->Hide();
        return;
    }
    const bool allWindows = fsd_ && fsd_->AnimationForAllWindows;
    const bool shown = form_->Visible() || form_->Tag == kTrayRestoreTag;
    if (!FIsLayerEnabled || AlphaBlendAnimation || alphaBlend_ || LayeredShowOnly() || allWindows || !shown ||
        !LayeredBordersUsed())
        return;
    std::shared_ptr<bool> alive = alive_;
    gui::Application->ProcessMessages();
    if (!*alive || !form_->Visible()) return;
    FBorderLayer->FActive = true;
    FBorderLayer->ShowWithForm();
}

// ---- the fade

void TbsSkinForm::FadeIn() {
    HWND h = Wnd();
    if (!h) return;
    const bool allWindows = fsd_ && fsd_->AnimationForAllWindows;
    const bool shown = form_->Visible() || form_->Tag == kTrayRestoreTag;
    if (LayeredShowOnly()) {
        KillTimer(h, kFadeTimer);
        SetLayered(false);
        if (LayeredBordersUsed() && shown) {
            FBorderLayer->FActive = form_->Active();
            FBorderLayer->CheckFormAlpha(255, true);
        }
        return;
    }
    if (!FIsLayerEnabled || !(alphaBlend_ || AlphaBlendAnimation || allWindows)) return;
    KillTimer(h, kFadeTimer);
    if (LayeredBordersUsed()) FBorderLayer->FActive = form_->Active();
    const bool animate = AlphaBlendAnimation || allWindows;
    const int target = animate && !alphaBlend_ ? 255 : alphaBlendValue_;
    if (animate) {
        const int step = std::max(target / kFadeSteps, 1);
        std::shared_ptr<bool> alive = alive_;
        gui::Application->ProcessMessages();
        if (!*alive || !(h = Wnd())) return;
        // On the GUI thread, taking no message meanwhile: nothing may change the form under it.
        for (int a = 0; a < target;) {
            os::SleepMs(kFadeStepMs);
            a = std::min(a + step, target);
            SetWindowAlpha(h, a);
            if (LayeredBordersUsed()) FBorderLayer->CheckFormAlpha(a, true);
        }
    } else if (target != 255) {
        SetWindowAlpha(h, alphaBlendValue_);
        if (LayeredBordersUsed()) FBorderLayer->CheckFormAlpha(alphaBlendValue_, true);
    }
    if (target == 255) {
        SetLayered(false);
        if (LayeredBordersUsed()) FBorderLayer->CheckFormAlpha(255, true);
    }
}

// ---- activation

void TbsSkinForm::EffectsNcActivate(bool active) {
    if (form_->Visible() && ClientInActiveEffect) {
        if (active)
            HideClientInActiveEffect();
        else
            ShowClientInActiveEffect();
    }
    if (!LayeredBordersUsed()) return;
    if (form_->Visible())
        FBorderLayer->SetActive(active, true);
    else if (form_->Tag != kTrayRestoreTag)
        FBorderLayer->Hide();
}

void TbsSkinForm::ShowClientInActiveEffect() {
    if (FInActivePanel) HideClientInActiveEffect();
    FInActivePanel = new TbsClientInActivePanel(this);
    FClientInActiveDraw = true;
    FInActivePanel->ShowPanel(form_, ClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TbsSkinForm::HideClientInActiveEffect() {
    if (!FInActivePanel) return;
    TbsClientInActivePanel* panel = FInActivePanel;
    FInActivePanel = nullptr;
    panel->HidePanel();
    delete panel;
}

// ---- messages of the effects

void TbsSkinForm::EffectsMessage(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kFadeTimer) FadeIn();
        break;
    case WM_SHOWLAYEREDBORDERS:
        if (!LayeredBordersUsed()) {
            if (FBorderLayer->FVisible) FBorderLayer->Hide();
        } else if (form_->Visible() && !FBorderLayer->FVisible) {
            FBorderLayer->FActive = GetFormActive();
            FBorderLayer->ShowWithForm();
            form_->Show();
        }
        break;
    case WM_BSSMARTEFFECTSBEGIN:
        FSmartEffectsShow = true;
        break;
    case WM_BSSMARTEFFECTSEND: {
        if (!FSmartEffectsShow) break;
        FSmartEffectsShow = false;
        if (!(form_->Visible() || form_->Tag == kTrayRestoreTag) || !LayeredBordersUsed()) break;
        std::shared_ptr<bool> alive = alive_;
        gui::Application->ProcessMessages();
        if (!*alive) return;
        FBorderLayer->FActive = true;
        FBorderLayer->ShowWithFormAnimation();
        break;
    }
    default:
        break;
    }
}

void TbsSkinForm::BringTrayRestoredForward() {
    if (!LayeredBordersUsed()) return;
    gui::TCustomForm* main = gui::Application->MainForm();
    if (main && main->HandleAllocated()) SetForegroundWindow(main->Handle());
    for (int i = 0; i < gui::Screen->FormCount(); ++i) {
        gui::TCustomForm* f = gui::Screen->Forms(i);
        if (f->Visible() && f->FormStyle() == gui::fsStayOnTop && !dynamic_cast<TbsFormLayerWindow*>(f)) {
            SetForegroundWindow(f->Handle());
            break;
        }
    }
}

// ---- the layered border with the skin and with the form's moves and sizes

void TbsSkinForm::HideBorderLayer() {
    if (FBorderLayer && FBorderLayer->FVisible) FBorderLayer->Hide();
}

void TbsSkinForm::BorderAfterApplySkin() {
    FBorderLayer->InitFrame(fsd_, form_);
    if (!LayeredBordersUsed() || !form_->Visible() || !Wnd()) return;
    FBorderLayer->ShowWithForm();
    // The form comes above its new border windows, without taking the activation from
    // another form of the program that a skin change reaches too.
    SetWindowPos(Wnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FBorderLayer->SetBoundsWithForm();
}

void TbsSkinForm::BorderFollowsSizing() {
    if (LayeredBordersUsed() && formTop_ == oldFormTop_ && formLeft_ == oldFormLeft_)
        FBorderLayer->SetBoundsWithForm3(formLeft_, formTop_, formWidth_, formHeight_);
    oldFormLeft_ = formLeft_;
    oldFormTop_ = formTop_;
}

void TbsSkinForm::BorderFollowsSize() {
    if (!LayeredBordersUsed()) return;
    if (BorderLayerChangeSize())
        FBorderLayer->SetBoundsWithForm3(formLeft_, formTop_, formWidth_, formHeight_);
    else
        FBorderLayer->SetBoundsWithForm();
}

void TbsSkinForm::BorderFollowsPosition(const WINDOWPOS& wp) {
    if ((wp.flags & SWP_HIDEWINDOW) && FBorderLayer->FVisible && FIsVistaOs) SetLayered(true);
    const bool moved = form_->Left() != wp.x || form_->Top() != wp.y;
    formLeft_ = wp.x;
    formTop_ = wp.y;
    const bool borderDrag = BorderLayerChangeSize();
    if (!sizing_ && borderDrag) {
        formWidth_ = wp.cx;
        formHeight_ = wp.cy;
    }
    if (sizing_ && moved && LayeredBordersUsed())
        FBorderLayer->SetBoundsWithForm3(formLeft_, formTop_, formWidth_, formHeight_);
    if (!sizing_ && !borderDrag) {
        if (LayeredBordersUsed()) FBorderLayer->MoveWithForm2(formLeft_, formTop_);
        oldFormLeft_ = formLeft_;
        oldFormTop_ = formTop_;
    }
}

void TbsSkinForm::BorderAfterSizeMove() {
    if (LayeredBordersUsed()) FBorderLayer->SetBoundsWithForm();
}

void TbsSkinForm::BorderBeforeRestore(const TRect& bounds) {
    if (FBorderLayer->FVisible)
        FBorderLayer->SetBoundsWithForm3(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

} // namespace skin
