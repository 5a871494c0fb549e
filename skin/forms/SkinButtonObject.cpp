#include "skin/forms/SkinButtonObject.h"

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/LayerManager.h"
#include "skin/forms/SkinForm.h"

namespace skin {

bool CommandInRestoreState(const TbsSkinForm* form, TbsStdCommand command) {
    switch (command) {
    case TbsStdCommand::cmMaximize:
        return form->WindowState() == gui::wsMaximized;
    case TbsStdCommand::cmMinimize:
        return form->WindowState() == gui::wsMinimized;
    case TbsStdCommand::cmRollUp:
        return form->RollUpState();
    default:
        return false;
    }
}

void PerformFormCommand(TbsSkinForm* form, TbsStdCommand command) {
    switch (command) {
    case TbsStdCommand::cmRollUp:
        form->SetRollUpState(!form->RollUpState());
        return;
    case TbsStdCommand::cmClose:
    case TbsStdCommand::cmMaximize:
    case TbsStdCommand::cmMinimize:
    case TbsStdCommand::cmMinimizeToTray:
        break;
    default:
        return;
    }
    // The hover ends before the form changes under the cursor.
    form->TrackActiveObject(-1, -1, false);
    switch (command) {
    case TbsStdCommand::cmClose:
        form->CloseCommand();
        break;
    case TbsStdCommand::cmMaximize:
        form->SetWindowState(form->WindowState() == gui::wsMaximized ? gui::wsNormal : gui::wsMaximized);
        break;
    case TbsStdCommand::cmMinimize:
        if (form->AlwaysMinimizeToTray)
            form->MinimizeToTray();
        else
            form->SetWindowState(form->WindowState() == gui::wsMinimized ? gui::wsNormal : gui::wsMinimized);
        break;
    default:
        form->MinimizeToTray();
        break;
    }
}

// ---- plain button

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    if (auto* d = dynamic_cast<const TbsDataSkinButton*>(AData)) {
        DownRect = d->DownRect;
        DisableSkinRect = d->DisableSkinRect;
    }
}

void TbsSkinButtonObject::ShowLayer() {
    ShowLayerOn(MenuItem != nullptr);
}

void TbsSkinButtonObject::HideLayer() {
    HideLayerOn(MenuItem != nullptr);
}

bool TbsSkinButtonObject::CanMorphing() {
    if (MenuItem && FDown) return false;
    return TbsActiveSkinObject::CanMorphing();
}

void TbsSkinButtonObject::Draw(gui::TCanvas* Cnvs, bool UpDate) {
    if (!HasSkin()) return;
    if (!Enabled && !IsEmptySkinRect(DisableSkinRect))
        CopyPictureRect(Cnvs, ActivePicture, DisableSkinRect, ObjectRect);
    else if (FDown && FMouseIn && !IsEmptySkinRect(DownRect))
        CopyPictureRect(Cnvs, ActivePicture, DownRect, ObjectRect);
    else
        TbsActiveSkinObject::Draw(Cnvs, UpDate);
}

void TbsSkinButtonObject::SetDown(bool value) {
    FDown = value;
    if (EnableMorphing() && Active) SetMorphKf(1);
    Parent->DrawSkinObject(this);
    if (EnableMorphing() && !FDown) ReDraw();
}

void TbsSkinButtonObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0) return;
    Parent->HideGlowLayers();
    if (FMouseIn) ShowLayer();
    Parent->PopupObjectMenu(MenuItem, Parent->ObjectToScreen(ObjectRect), FPopupUp);
}

void TbsSkinButtonObject::MouseDown(int X, int Y, gui::TMouseButton Button) {
    if (!Enabled) return;
    if (Button == gui::mbLeft && !FDown) {
        SetDown(true);
        TrackMenu();
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, gui::TMouseButton Button) {
    if (!Enabled) return;
    // A button with a menu stays down until the menu closes.
    if (Button == gui::mbLeft && !MenuItem && FDown) SetDown(false);
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (IsEmptySkinRect(DownRect) || !FDown) {
        if (!IsEmptySkinRect(ActiveSkinRect)) ReDraw();
        if (MenuItem) ShowLayer();
    } else {
        if (EnableMorphing()) SetMorphKf(1);
        Parent->DrawSkinObject(this);
    }
    Parent->DoMouseEnterEvent(IDName);
    if (!MenuItem) ShowLayer();
}

void TbsSkinButtonObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!MenuItem || !FDown) {
        if (MenuItem) HideLayer();
        Parent->DrawSkinObject(this);
        ReDraw();
    }
    Parent->DoMouseLeaveEvent(IDName);
    if (!MenuItem) HideLayer();
}

// ---- system button

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData)
    : TbsSkinButtonObject(AParent, AData) {
    auto* d = dynamic_cast<const TbsDataSkinStdButton*>(AData);
    if (!d) return;
    Command = d->Command;
    RestoreRect = d->RestoreRect;
    RestoreActiveRect = d->RestoreActiveRect;
    RestoreInActiveRect = d->RestoreInActiveRect;
    RestoreDownRect = d->RestoreDownRect;
    RestoreHint = d->RestoreHint;
    FTempHint = d->Hint;
    FSkinSupport = true;
}

bool TbsSkinStdButtonObject::IconMode() const {
    return Command == TbsStdCommand::cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture && FSkinSupport;
}

bool TbsSkinStdButtonObject::InRestoreState() const {
    return CommandInRestoreState(Parent, Command);
}

bool TbsSkinStdButtonObject::PointInObject(int X, int Y) {
    return IconMode() || TbsSkinButtonObject::PointInObject(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer() {
    if (!IconMode()) TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer() {
    if (!IconMode()) TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() {
    if (Command == TbsStdCommand::cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture) return false;
    return TbsSkinButtonObject::CanMorphing();
}

void TbsSkinStdButtonObject::Draw(gui::TCanvas* Cnvs, bool UpDate) {
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (!HasSkin()) return;
    if (IconMode()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        FMorphKf = 0;
        return;
    }
    if (Enabled && InRestoreState() && !IsEmptySkinRect(RestoreRect)) {
        if (!Parent->FormActiveFlag() && !IsEmptySkinRect(RestoreInActiveRect))
            CopyPictureRect(Cnvs, ActivePicture, RestoreInActiveRect, ObjectRect);
        else if (FDown && FMouseIn && !IsEmptySkinRect(RestoreDownRect))
            CopyPictureRect(Cnvs, ActivePicture, RestoreDownRect, ObjectRect);
        else if (EnableMorphing() && MorphUnderWay())
            DrawMorph(Cnvs, ActivePicture, RestoreRect, RestoreActiveRect);
        else
            CopyPictureRect(Cnvs, ActivePicture,
                            Active && !IsEmptySkinRect(RestoreActiveRect) ? RestoreActiveRect : RestoreRect,
                            ObjectRect);
        return;
    }
    TbsSkinButtonObject::Draw(Cnvs, UpDate);
}

void TbsSkinStdButtonObject::DefaultDraw(gui::TCanvas* Cnvs) {
    if (Command == TbsStdCommand::cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    gui::TBitmap b;
    b.SetSize(w, h);
    gui::TCanvas* c = b.Canvas();
    gui::TRect r = gui::Rect(0, 0, w, h);
    bool pressed = FDown && FMouseIn;
    if (FMouseIn) {
        c->Brush()->SetColor(0x800000);
        c->FillRect(r);
        r = gui::Rect(1, 1, w - 1, h - 1);
        c->Brush()->SetColor(pressed ? 11899781 : 13811126);
    } else {
        c->Brush()->SetColor(gui::clBtnFace);
    }
    c->FillRect(r);
    int x = w / 2 - 5, y = h / 2 - 4;
    if (pressed) {
        x = w / 2 - 4;
        y = h / 2 - 3;
    }
    gui::TColor colour = Enabled ? gui::clBtnText : gui::clBtnShadow;
    switch (Command) {
    case TbsStdCommand::cmClose:
        DrawCloseGlyph(c, x, y, colour);
        break;
    case TbsStdCommand::cmMaximize:
        if (Parent->WindowState() == gui::wsMaximized)
            DrawRestoreGlyph(c, x, y, colour);
        else
            DrawMaximizeGlyph(c, x, y, colour);
        break;
    case TbsStdCommand::cmMinimize:
        if (Parent->WindowState() == gui::wsMinimized)
            DrawRestoreGlyph(c, x, y, colour);
        else
            DrawMinimizeGlyph(c, x, y, colour);
        break;
    case TbsStdCommand::cmSysMenu:
        DrawSysMenuGlyph(c, x, y, colour);
        break;
    case TbsStdCommand::cmRollUp:
        if (Parent->RollUpState())
            DrawRollDownGlyph(c, x, y, colour);
        else
            DrawRollUpGlyph(c, x, y, colour);
        break;
    case TbsStdCommand::cmMinimizeToTray:
        DrawTrayGlyph(c, x, y, colour);
        break;
    case TbsStdCommand::cmDefault:
        break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinStdButtonObject::ButtonClick() {
    PerformFormCommand(Parent, Command);
}

void TbsSkinStdButtonObject::MouseDown(int, int, gui::TMouseButton Button) {
    if (!Enabled || Button != gui::mbLeft || FDown) return;
    SetDown(true);
    if (Command == TbsStdCommand::cmSysMenu) {
        MenuItem = Parent->SystemMenuItems();
        TrackMenu();
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, gui::TMouseButton Button) {
    // Active: the mouse is still over the button, so a release elsewhere does nothing.
    bool click = Active && Button == gui::mbLeft;
    if (Command == TbsStdCommand::cmClose) {
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (click) ButtonClick();
    } else {
        if (click) ButtonClick();
        TbsSkinButtonObject::MouseUp(X, Y, Button);
    }
}

void TbsSkinStdButtonObject::DblClick() {
    if (Command == TbsStdCommand::cmSysMenu) Parent->CloseCommand();
}

void TbsSkinStdButtonObject::MouseEnter() {
    if (Command != TbsStdCommand::cmDefault)
        Hint = !RestoreHint.empty() && InRestoreState() ? RestoreHint : FTempHint;
    TbsSkinButtonObject::MouseEnter();
}

} // namespace skin
