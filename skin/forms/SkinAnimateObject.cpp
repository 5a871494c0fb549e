#include "skin/forms/SkinAnimateObject.h"

#include "skin/core/SkinData.h"
#include "skin/forms/SkinButtonObject.h"
#include "skin/forms/SkinForm.h"

#include <algorithm>

namespace skin {

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    auto* d = dynamic_cast<const TbsDataSkinAnimate*>(AData);
    if (!d) return;
    TimerInterval = std::max(25, static_cast<int>(d->TimerInterval));
    CountFrames = d->CountFrames;
    Cycle = d->Cycle;
    ButtonStyle = d->ButtonStyle;
    Command = d->Command;
    DownSkinRect = d->DownSkinRect;
    RestoreRect = d->RestoreRect;
    RestoreActiveRect = d->RestoreActiveRect;
    RestoreInActiveRect = d->RestoreInActiveRect;
    RestoreDownRect = d->RestoreDownRect;
    RestoreHint = d->RestoreHint;
    FTempHint = d->Hint;
}

bool TbsSkinAnimateObject::InRestoreState() const {
    return CommandInRestoreState(Parent, Command);
}

void TbsSkinAnimateObject::SetFrame(int value) {
    if (Increment)
        FFrame = value > CountFrames ? 1 : value;
    else
        FFrame = value <= 0 ? CountFrames : value;
    Parent->DrawSkinObject(this);
}

void TbsSkinAnimateObject::Start() {
    FInc = 25;
    FFrame = 1;
    Active = true;
    Parent->StartAnimateTimer();
}

void TbsSkinAnimateObject::Stop() {
    SetFrame(1);
    Active = false;
    FInc = 25;
}

void TbsSkinAnimateObject::ChangeFrame() {
    // A strip without frames has nothing to play: it would never reach its last frame.
    if (!CanAnimate()) {
        Active = false;
        return;
    }
    if (FInc < TimerInterval) {
        FInc += 25;
        return;
    }
    if (Increment) {
        SetFrame(FFrame + 1);
        if (!Cycle && FFrame >= CountFrames) Active = false;
    } else {
        SetFrame(FFrame - 1);
        if (FFrame <= 1) Active = false;
    }
    FInc = 25;
}

void TbsSkinAnimateObject::Draw(gui::TCanvas* Cnvs, bool) {
    if (!HasSkin()) return;
    bool restore = InRestoreState() && !IsEmptySkinRect(RestoreRect);
    const TRect& s = restore ? RestoreRect : SkinRect;
    const TRect& a = restore ? RestoreActiveRect : ActiveSkinRect;
    const TRect& d = restore ? RestoreDownRect : DownSkinRect;
    const TRect& i = restore ? RestoreInActiveRect : InActiveSkinRect;
    auto frame = [&](int n) {
        int w = s.Width(), h = s.Height();
        return TRect{a.Left + w * (n - 1), a.Top, a.Left + w * n, a.Top + h};
    };
    TRect source;
    if (!FMenuTracking) {
        if (!Parent->GetFormActive() && !IsEmptySkinRect(i))
            source = i;
        else if (FDown && FMouseIn && !IsEmptySkinRect(d))
            source = d;
        else
            source = frame(FFrame);
    } else if (!IsEmptySkinRect(d)) {
        source = d;
    } else {
        FFrame = CountFrames;
        source = frame(FFrame);
    }
    CopyPictureRect(Cnvs, ActivePicture, source, ObjectRect);
}

void TbsSkinAnimateObject::ShowLayer() {
    ShowLayerOn(MenuItem != nullptr);
}

void TbsSkinAnimateObject::HideLayer() {
    HideLayerOn(MenuItem != nullptr);
}

void TbsSkinAnimateObject::StartTimerOrDraw() {
    if (FDown && !IsEmptySkinRect(DownSkinRect))
        Parent->DrawSkinObject(this);
    else if (CanAnimate())
        Parent->StartAnimateTimer();
}

void TbsSkinAnimateObject::MouseEnter() {
    if (Command != TbsStdCommand::cmDefault)
        Hint = !RestoreHint.empty() && InRestoreState() ? RestoreHint : FTempHint;
    FMouseIn = true;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = CanAnimate();
        Increment = true;
        StartTimerOrDraw();
    }
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TbsSkinAnimateObject::MouseLeave() {
    if (!FMouseIn) return;
    FMouseIn = false;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = CanAnimate();
        Increment = false;
        StartTimerOrDraw();
    }
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, gui::TMouseButton Button) {
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    if (Button == gui::mbLeft && !IsEmptySkinRect(DownSkinRect)) {
        FFrame = std::max(CountFrames, 1);
        FDown = true;
        Parent->DrawSkinObject(this);
    }
    if (Command == TbsStdCommand::cmSysMenu && FMouseIn && ButtonStyle && Button == gui::mbLeft)
        ButtonClick();
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, gui::TMouseButton Button) {
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking) return;
    if (Button == gui::mbLeft && !IsEmptySkinRect(DownSkinRect)) {
        FDown = false;
        Parent->DrawSkinObject(this);
        if (CanAnimate()) Parent->StartAnimateTimer();
    }
    if (Command != TbsStdCommand::cmSysMenu && FMouseIn && ButtonStyle && Button == gui::mbLeft)
        ButtonClick();
}

void TbsSkinAnimateObject::DblClick() {
    if (Command == TbsStdCommand::cmSysMenu) Parent->CloseCommand();
}

void TbsSkinAnimateObject::ButtonClick() {
    switch (Command) {
    case TbsStdCommand::cmSysMenu:
        MenuItem = Parent->SystemMenuItems();
        TrackMenu();
        break;
    case TbsStdCommand::cmDefault:
        if (MenuItem) TrackMenu();
        break;
    default:
        PerformFormCommand(Parent, Command);
        break;
    }
}

void TbsSkinAnimateObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0) return;
    FMenuTracking = true;
    Parent->HideGlowLayers();
    if (FMouseIn) ShowLayer();
    Parent->PopupObjectMenu(MenuItem, Parent->ObjectToScreen(ObjectRect), FPopupUp);
}

void TbsSkinAnimateObject::MenuClosed() {
    if (!MenuItem || !FMenuTracking) return;
    Active = true;
    FFrame = CountFrames;
    FDown = false;
    FMenuTracking = false;
    Increment = false;
    if (CanAnimate()) Parent->StartAnimateTimer();
}

} // namespace skin
