// The skinned form's caption objects: making them from the skin, placing them, deciding which
// one the mouse is over, relaying the frame's mouse messages and driving their timers.
#include "gui/Application.h"
#include "gui/Icon.h"
#include "gui/PopupMenu.h"
#include "skin/core/ResourceStrData.h"
#include "skin/forms/SkinAnimateObject.h"
#include "skin/forms/SkinButtonObject.h"
#include "skin/forms/SkinCaptionObject.h"
#include "skin/forms/SkinForm.h"
#include "skin/hints/SkinHint.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinPopupMenu.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"
#include "win/WindowPos.h"

namespace skin {

namespace {

bool InRect(const TRect& r, int x, int y) {
    return x >= r.Left && y >= r.Top && x < r.Right && y < r.Bottom;
}

bool IsSystemButton(const TbsActiveSkinObject* o) {
    return dynamic_cast<const TbsSkinStdButtonObject*>(o) != nullptr;
}

TbsStdCommand CommandOf(const TbsActiveSkinObject* o) {
    if (auto* b = dynamic_cast<const TbsSkinStdButtonObject*>(o)) return b->Command;
    if (auto* a = dynamic_cast<const TbsSkinAnimateObject*>(o)) return a->Command;
    return TbsStdCommand::cmDefault;
}

} // namespace

// ---- making and placing

void TbsSkinForm::ClearObjects() {
    ObjectList.clear();
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinForm::CreateSkinObjects() {
    ClearObjects();
    if (!fsd_) return;
    for (const auto& d : fsd_->ObjectList) {
        const TbsDataSkinObject* data = d.get();
        std::unique_ptr<TbsActiveSkinObject> o;
        if (dynamic_cast<const TbsDataSkinMainMenuItem*>(data) ||
            dynamic_cast<const TbsDataSkinMenuItem*>(data) ||
            dynamic_cast<const TbsDataSkinMainMenuBarButton*>(data))
            continue;
        if (dynamic_cast<const TbsDataSkinStdButton*>(data))
            o = std::make_unique<TbsSkinStdButtonObject>(this, data);
        else if (dynamic_cast<const TbsDataSkinButton*>(data))
            o = std::make_unique<TbsSkinButtonObject>(this, data);
        else if (dynamic_cast<const TbsDataSkinCaption*>(data))
            o = std::make_unique<TbsSkinCaptionObject>(this, data);
        else if (dynamic_cast<const TbsDataSkinAnimate*>(data))
            o = std::make_unique<TbsSkinAnimateObject>(this, data);
        else if (dynamic_cast<const TbsDataUserObject*>(data))
            o = std::make_unique<TbsUserObject>(this, data);
        if (o) ObjectList.push_back(std::move(o));
    }
}

void TbsSkinForm::CreateDefaultObjects() {
    ClearObjects();
    struct Def {
        const char* id;
        TbsStdCommand command;
    } defs[] = {
        {"closebutton",   TbsStdCommand::cmClose         },
        {"maxbutton",     TbsStdCommand::cmMaximize      },
        {"minbutton",     TbsStdCommand::cmMinimize      },
        {"rollupbutton",  TbsStdCommand::cmRollUp        },
        {"sysmenubutton", TbsStdCommand::cmSysMenu       },
        {"traybutton",    TbsStdCommand::cmMinimizeToTray},
    };
    for (const Def& d : defs) {
        auto b = std::make_unique<TbsSkinStdButtonObject>(this, nullptr);
        b->IDName = d.id;
        b->Command = d.command;
        b->SkinRectInAPicture = true;
        b->SkinRect = b->ActiveSkinRect = b->DownRect = {0, 0, 1, 1};
        ObjectList.push_back(std::move(b));
    }
    ApplyBorderIcons();
}

void TbsSkinForm::ArrangeObjects() {
    for (auto& o : ObjectList)
        if (!o->SkinRectInAPicture) o->ObjectRect = MapSkinRect(o->SkinRect);
    TRect base;
    bool buttonsRect = !(NewButtonsRect.Width() <= 0 || NewButtonsRect.Height() <= 0);
    if (buttonsRect)
        base = NewButtonsRect;
    else if (NewCaptionRect.Width() > 0 && NewCaptionRect.Height() > 0)
        base = NewCaptionRect;
    else
        return;
    auto buttonFor = [&](TbsStdCommand command) -> TbsActiveSkinObject* {
        for (auto& o : ObjectList) {
            bool button = IsSystemButton(o.get()) || dynamic_cast<TbsSkinAnimateObject*>(o.get());
            if (button && o->Visible && o->SkinRectInAPicture && CommandOf(o.get()) == command)
                return o.get();
        }
        return nullptr;
    };
    TbsSkinCaptionObject* caption = nullptr;
    for (auto& o : ObjectList)
        if ((caption = dynamic_cast<TbsSkinCaptionObject*>(o.get()))) break;
    int top = base.Top;
    auto sizeOf = [&](TbsActiveSkinObject* o, int& w, int& h) {
        w = o->SkinRect.Width();
        h = o->SkinRect.Height();
        if (IsSystemButton(o) && CommandOf(o) == TbsStdCommand::cmSysMenu && showIcon_)
            GetSmallIconSize(w, h);
    };
    int x;
    auto placeRightToLeft = [&](TbsActiveSkinObject* o) {
        int w, h;
        sizeOf(o, w, h);
        o->ObjectRect = {x - w, top, x, top + h};
        x -= w + NewButtonsOffset;
    };
    auto placeLeftToRight = [&](TbsActiveSkinObject* o) {
        int w, h;
        sizeOf(o, w, h);
        o->ObjectRect = {x, top, x + w, top + h};
        x += w + NewButtonsOffset;
    };
    const TbsStdCommand row[] = {TbsStdCommand::cmClose, TbsStdCommand::cmMaximize, TbsStdCommand::cmMinimize,
                                 TbsStdCommand::cmRollUp, TbsStdCommand::cmMinimizeToTray};
    auto placeRow = [&](auto&& place) {
        for (TbsStdCommand c : row)
            if (TbsActiveSkinObject* o = buttonFor(c)) place(o);
        for (auto& o : ObjectList) {
            bool button = IsSystemButton(o.get()) || dynamic_cast<TbsSkinAnimateObject*>(o.get());
            if (button && o->Visible && o->SkinRectInAPicture &&
                CommandOf(o.get()) == TbsStdCommand::cmDefault)
                place(o.get());
        }
    };
    TbsActiveSkinObject* sysMenu = buttonFor(TbsStdCommand::cmSysMenu);
    if (!NewButtonsInLeft) {
        x = base.Right;
        placeRow(placeRightToLeft);
        if (!buttonsRect && caption) caption->ObjectRect.Right = x + NewButtonsOffset;
        if (sysMenu) {
            x = NewCaptionRect.Left;
            top = NewCaptionRect.Top;
            placeLeftToRight(sysMenu);
            // Centred on the caption's height.
            int h = sysMenu->ObjectRect.Height();
            sysMenu->ObjectRect.Top = NewCaptionRect.Top + NewCaptionRect.Height() / 2 - h / 2;
            sysMenu->ObjectRect.Bottom = sysMenu->ObjectRect.Top + h;
            if (caption) caption->ObjectRect.Left = x - NewButtonsOffset;
        }
    } else {
        x = base.Left;
        placeRow(placeLeftToRight);
        if (!buttonsRect) {
            if (sysMenu) placeLeftToRight(sysMenu);
            if (caption) caption->ObjectRect.Left = x + NewButtonsOffset;
        }
    }
}

void TbsSkinForm::ApplyBorderIcons() {
    for (auto& o : ObjectList) {
        auto* std = dynamic_cast<TbsSkinStdButtonObject*>(o.get());
        auto* anim = dynamic_cast<TbsSkinAnimateObject*>(o.get());
        if (!std && !anim) continue;
        if (hideCaptionButtons_) {
            o->Enabled = false;
            o->Visible = !o->SkinRectInAPicture;
            continue;
        }
        if (anim && !anim->ButtonStyle) continue;
        TbsStdCommand c = CommandOf(o.get());
        bool enabled = false;
        switch (c) {
        case TbsStdCommand::cmClose:
            continue;
        case TbsStdCommand::cmDefault: {
            bool visible = false;
            if (OnActivateCustomObject) OnActivateCustomObject(o->IDName, visible);
            o->Visible = visible;
            continue;
        }
        case TbsStdCommand::cmMaximize:
            enabled = borderIcons_ & biMaximize;
            break;
        case TbsStdCommand::cmMinimize:
            enabled = borderIcons_ & biMinimize;
            break;
        case TbsStdCommand::cmSysMenu:
            enabled = (borderIcons_ & biSystemMenu) && !DisableSystemMenu;
            break;
        case TbsStdCommand::cmRollUp:
            enabled = borderIcons_ & biRollUp;
            break;
        case TbsStdCommand::cmMinimizeToTray:
            enabled = borderIcons_ & biMinimizeToTray;
            break;
        }
        o->Enabled = enabled;
        // Buttons drawn into the frame's picture disappear; separate images show disabled.
        o->Visible = o->SkinRectInAPicture ? enabled : true;
    }
    UpdateObjectHints();
}

void TbsSkinForm::UpdateObjectHints() {
    if (!UseDefaultObjectHint || !fsd_) return;
    TbsResourceStrData* strings = fsd_->ResourceStrData();
    auto text = [&](const char* key, const char* builtIn) {
        return strings ? strings->GetResStr(key) : std::string(builtIn);
    };
    for (auto& o : ObjectList) {
        auto* std = dynamic_cast<TbsSkinStdButtonObject*>(o.get());
        auto* anim = dynamic_cast<TbsSkinAnimateObject*>(o.get());
        if (!std && !anim) continue;
        switch (CommandOf(o.get())) {
        case TbsStdCommand::cmClose:
            o->Hint = text("CLOSEBUTTON_HINT", "Close");
            break;
        case TbsStdCommand::cmMaximize:
            o->Hint = text("MAXBUTTON_HINT", "Maximize");
            break;
        case TbsStdCommand::cmMinimize:
            o->Hint = text("MINBUTTON_HINT", "Minimize");
            break;
        case TbsStdCommand::cmSysMenu:
            o->Hint = text("MENUBUTTON_HINT", "System menu");
            break;
        case TbsStdCommand::cmRollUp:
            o->Hint = text("ROLLUPBUTTON_HINT", "Roll Up");
            break;
        case TbsStdCommand::cmMinimizeToTray:
            o->Hint = text("TRAYBUTTON_HINT", "Minimize to Tray");
            break;
        case TbsStdCommand::cmDefault:
            break;
        }
        std::string restore = text("RESTORE_HINT", "Restore");
        if (std) {
            std->FTempHint = std->Hint;
            std->RestoreHint = restore;
        } else {
            anim->FTempHint = anim->Hint;
            anim->RestoreHint = restore;
        }
    }
}

// ---- tracking

void TbsSkinForm::TrackActiveObject(int X, int Y, bool Test) {
    if (ObjectList.empty() || !GetFormActive() || sizeMove_ || BorderLayerChangeSize() || PreviewMode ||
        PlainFrame() || IsMaximizedMDIChild())
        return;
    OldActiveObject = ActiveObject;
    int hit = -1;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i].get();
        if (!o->Enabled || !o->Visible || !InRect(o->ObjectRect, X, Y)) continue;
        if (o->PointInObject(X - o->ObjectRect.Left, Y - o->ObjectRect.Top)) {
            hit = static_cast<int>(i);
            break;
        }
    }
    ActiveObject = Test ? hit : -1;
    // While one object holds the mouse, no other becomes active.
    if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
    int count = static_cast<int>(ObjectList.size());
    if (ActiveObject >= count) ActiveObject = -1;
    if (OldActiveObject >= count) OldActiveObject = -1;
    if (ActiveObject == OldActiveObject) return;
    bool hints = ShowObjectHint && skinHint_;
    if (OldActiveObject != -1) {
        TbsActiveSkinObject* o = ObjectList[static_cast<size_t>(OldActiveObject)].get();
        if (o->Enabled && o->Visible) {
            o->MouseLeave();
            if (hints && !o->Hint.empty()) skinHint_->HideHint();
        }
    }
    if (ActiveObject != -1) {
        TbsActiveSkinObject* o = ObjectList[static_cast<size_t>(ActiveObject)].get();
        if (o->Enabled && o->Visible) {
            o->MouseEnter();
            if (hints && !o->Hint.empty()) skinHint_->ActivateHint2(o->Hint);
        }
    }
}

void TbsSkinForm::ResetObjectStates() {
    for (auto& o : ObjectList) {
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get())) {
            a->FMouseIn = a->Active = false;
            a->FFrame = 1;
        } else if (!dynamic_cast<TbsSkinCaptionObject*>(o.get())) {
            o->Active = o->FMouseIn = false;
            o->FMorphKf = 0;
        }
    }
}

void TbsSkinForm::UpdateCaptionActive(bool Animate) {
    bool a = GetFormActive();
    for (auto& o : ObjectList) {
        auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get());
        if (!c || c->Active == a) continue;
        c->Active = a;
        if (Animate) {
            if (c->EnableAnimation()) {
                c->FIncTime = 25;
                c->CurrentFrame = a ? 1 : c->InActiveAnimation ? c->FrameCount : 0;
                StartAnimateTimer();
            }
            RepaintFrame();
            if (c->EnableMorphing()) StartMorphTimer();
        } else if (c->EnableMorphing()) {
            c->SetMorphKf(a ? 1 : 0);
        }
        break;
    }
    if (a) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeActivate) {
        OnDeActivate(this);
    }
}

void TbsSkinForm::MouseTimerTick() {
    // An inactive form tracks nothing; the next hit test over an object starts the timer again.
    if (!GetFormActive()) {
        MouseTimer->SetEnabled(false);
        return;
    }
    POINT cur{};
    GetCursorPos(&cur);
    HWND under = WindowFromPoint(cur);
    if (under) under = GetAncestor(under, GA_ROOT);
    if (under != Wnd()) {
        MouseTimer->SetEnabled(false);
        TrackActiveObject(-1, -1, false);
        return;
    }
    if (sizeMove_ || BorderLayerChangeSize()) {
        MouseTimer->SetEnabled(false);
        return;
    }
    TPoint p = ScreenToWindowPoint({cur.x, cur.y});
    if (!InRect(ClientZone(), p.X, p.Y))
        TrackActiveObject(p.X, p.Y, true);
    else if (ActiveObject != -1)
        TrackActiveObject(-1, -1, true);
}

void TbsSkinForm::MorphTimerTick() {
    bool any = false;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i].get();
        if (o->EnableMorphing() && o->CanMorphing()) {
            o->DoMorphing();
            any = true;
        }
    }
    if (!any) MorphTimer->SetEnabled(false);
}

void TbsSkinForm::AnimateTimerTick() {
    bool any = false;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i].get();
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o)) {
            if (a->Active && (!a->FDown || a->DownSkinRect.Width() <= 0 || a->DownSkinRect.Height() <= 0)) {
                a->ChangeFrame();
                any = true;
            }
        } else if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o); c && c->EnableAnimation()) {
            if (c->FIncTime < c->AnimateInterval) {
                c->FIncTime += 25;
                any = true;
            } else if (c->Active && c->CurrentFrame <= c->FrameCount) {
                ++c->CurrentFrame;
                DrawSkinObject(c);
                c->FIncTime = 25;
                any = true;
            } else if (!c->Active && c->CurrentFrame > 0) {
                --c->CurrentFrame;
                DrawSkinObject(c);
                c->FIncTime = 25;
                any = true;
            }
        }
    }
    if (!any) AnimateTimer->SetEnabled(false);
}

// ---- mouse relays

void TbsSkinForm::ObjectMouseMove(int X, int Y) {
    int i = MouseCaptureObject != -1 ? MouseCaptureObject : ActiveObject;
    if (i >= 0 && i < static_cast<int>(ObjectList.size()))
        ObjectList[static_cast<size_t>(i)]->MouseMove(X, Y);
}

void TbsSkinForm::ObjectDblClick() {
    if (ActiveObject >= 0 && ActiveObject < static_cast<int>(ObjectList.size()))
        ObjectList[static_cast<size_t>(ActiveObject)]->DblClick();
}

void TbsSkinForm::ObjectMouseDown(gui::TMouseButton Button, int X, int Y) {
    if (ActiveObject < 0 || ActiveObject >= static_cast<int>(ObjectList.size())) return;
    TbsActiveSkinObject* o = ObjectList[static_cast<size_t>(ActiveObject)].get();
    // The caption keeps no capture: a press there starts the move loop.
    if (!dynamic_cast<TbsSkinCaptionObject*>(o) && Wnd()) SetCapture(Wnd());
    MouseCaptureObject = ActiveObject;
    o->MouseDown(X, Y, Button);
}

void TbsSkinForm::ObjectMouseUp(gui::TMouseButton Button, int X, int Y) {
    if (MouseCaptureObject < 0 || MouseCaptureObject >= static_cast<int>(ObjectList.size())) {
        MouseCaptureObject = -1;
        return;
    }
    TbsActiveSkinObject* o = ObjectList[static_cast<size_t>(MouseCaptureObject)].get();
    // The hover is sampled on the mouse timer's tick; a release between two ticks is judged
    // where it happens, or a press dragged off the close button and let go would close.
    TrackActiveObject(X, Y, true);
    if (!dynamic_cast<TbsSkinCaptionObject*>(o) && GetCapture() == Wnd()) ReleaseCapture();
    MouseCaptureObject = -1;
    o->MouseUp(X, Y, Button);
}

void TbsSkinForm::PostHandleMouse(gui::TMessage& m) {
    UINT msg = m.Msg;
    if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP) {
        // While an object holds the capture the release arrives in client coordinates.
        POINT c{static_cast<int16_t>(m.LParam & 0xFFFF), static_cast<int16_t>((m.LParam >> 16) & 0xFFFF)};
        if (Wnd()) ClientToScreen(Wnd(), &c);
        TPoint p = ScreenToWindowPoint({c.x, c.y});
        ObjectMouseUp(msg == WM_LBUTTONUP ? gui::mbLeft : gui::mbRight, p.X, p.Y);
        return;
    }
    if (msg < WM_NCMOUSEMOVE || msg > WM_NCRBUTTONDBLCLK || !skinnableForm_) return;
    TPoint p = ScreenToWindowPoint(
        {static_cast<int16_t>(m.LParam & 0xFFFF), static_cast<int16_t>((m.LParam >> 16) & 0xFFFF)});
    bool caption = m.WParam == HTCAPTION;
    switch (msg) {
    case WM_NCMOUSEMOVE:
        ObjectMouseMove(p.X, p.Y);
        break;
    case WM_NCLBUTTONDOWN:
        if (sizeMove_) {
            sizeMove_ = false;
            break;
        }
        TrackActiveObject(p.X, p.Y, true);
        ObjectMouseDown(gui::mbLeft, p.X, p.Y);
        if (caption) MouseCaptureObject = -1;
        break;
    case WM_NCLBUTTONUP:
        ObjectMouseUp(gui::mbLeft, p.X, p.Y);
        break;
    case WM_NCLBUTTONDBLCLK:
        TrackActiveObject(p.X, p.Y, true);
        ObjectMouseDown(gui::mbLeft, p.X, p.Y);
        ObjectDblClick();
        if (caption) CaptionDblClick();
        break;
    case WM_NCRBUTTONDOWN:
        TrackActiveObject(p.X, p.Y, true);
        ObjectMouseDown(gui::mbRight, p.X, p.Y);
        if (caption) {
            MouseCaptureObject = -1;
            if (!DisableSystemMenu)
                PopupSystemMenuAt(static_cast<int16_t>(m.LParam & 0xFFFF),
                                  static_cast<int16_t>((m.LParam >> 16) & 0xFFFF));
        }
        break;
    case WM_NCRBUTTONUP:
        ObjectMouseUp(gui::mbRight, p.X, p.Y);
        break;
    case WM_NCRBUTTONDBLCLK:
        TrackActiveObject(p.X, p.Y, true);
        ObjectMouseDown(gui::mbRight, p.X, p.Y);
        if (caption) MouseCaptureObject = -1;
        break;
    default:
        break;
    }
}

// ---- what the objects ask of the form

TPoint TbsSkinForm::ScreenToWindowPoint(TPoint p) const {
    // A document window's position is in its client window's coordinates.
    TPoint o = IsMDIChildForm() ? WindowScreenOrigin() : TPoint{form_->Left(), form_->Top()};
    return {p.X - o.X, p.Y - o.Y};
}

TRect TbsSkinForm::ObjectToScreen(const TRect& r) const {
    TPoint o = IsMDIChildForm() ? WindowScreenOrigin() : TPoint{form_->Left(), form_->Top()};
    return {r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y};
}

TRect TbsSkinForm::ClientZone() const {
    if (skinSupport_) return NewClRect;
    int w = form_->Width(), h = form_->Height();
    return {3, DefaultCaptionHeight() + 3, w - 3, h - 3};
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* AObject) {
    HWND wnd = Wnd();
    if (!wnd || PlainFrame() || !skinnableForm_ || stopPainting_ || IsMaximizedMDIChild()) return;
    HDC dc = GetWindowDC(wnd);
    if (!dc) return;
    {
        gui::TCanvas canvas;
        canvas.SetHandle(dc);
        AObject->Draw(&canvas, true);
        canvas.SetHandle(nullptr);
    }
    ReleaseDC(wnd, dc);
}

void TbsSkinForm::StartMorphTimer() {
    if (!MorphTimer->Enabled()) MorphTimer->SetEnabled(true);
}

void TbsSkinForm::StartAnimateTimer() {
    if (!AnimateTimer->Enabled()) AnimateTimer->SetEnabled(true);
}

void TbsSkinForm::HideGlowLayers() {
    for (TbsLayerManager* m : {FLayerManager.get(), FMenuLayerManager.get()})
        if (m->IsVisible) m->Hide();
}

gui::TMenuItem* TbsSkinForm::SystemMenuItems() {
    if (SystemMenuItemsHook) return SystemMenuItemsHook();
    return GetSystemMenuItems();
}

void TbsSkinForm::PopupObjectMenu(gui::TMenuItem* items, const TRect& screenRect, bool popupUp) {
    if (PopupObjectMenuHook) {
        PopupObjectMenuHook(items, screenRect, popupUp);
        return;
    }
    if (!items) return;
    // A skinned popup menu opens itself, with its own skin and opener.
    if (auto* popup = dynamic_cast<TbsSkinPopupMenu*>(items->GetParentMenu())) {
        popup->PopupFromRect(gui::Rect(screenRect.Left, screenRect.Top, screenRect.Right, screenRect.Bottom),
                             popupUp);
        return;
    }
    if (SkinMenu()->Visible()) SkinMenuClose();
    SkinMenuOpen();
    SkinMenu()->Popup(nullptr, MenuSkin(), 0, screenRect, items, popupUp);
    if (!SkinMenu()->Visible()) SkinMenuClose();
}

void TbsSkinForm::ObjectMenuClosed() {
    for (auto& o : ObjectList) {
        if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o.get())) {
            if (b->MenuItem && b->FDown) b->SetDown(false);
        } else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o.get())) {
            a->MenuClosed();
        }
    }
}

void TbsSkinForm::DoMouseEnterEvent(const std::string& id) {
    if (OnMouseEnterEvent) OnMouseEnterEvent(id);
}
void TbsSkinForm::DoMouseLeaveEvent(const std::string& id) {
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(id);
}
void TbsSkinForm::DoMouseDownEvent(const std::string& id, int x, int y, TRect r, gui::TMouseButton b) {
    if (OnMouseDownEvent) OnMouseDownEvent(id, x, y, r, b);
}
void TbsSkinForm::DoMouseUpEvent(const std::string& id, int x, int y, TRect r, gui::TMouseButton b) {
    if (OnMouseUpEvent) OnMouseUpEvent(id, x, y, r, b);
}
void TbsSkinForm::DoMouseMoveEvent(const std::string& id, int x, int y, TRect r) {
    if (OnMouseMoveEvent) OnMouseMoveEvent(id, x, y, r);
}
void TbsSkinForm::DoPaintEvent(const std::string& id, gui::TCanvas* c, TRect r) {
    if (OnPaintEvent) OnPaintEvent(id, c, r);
}

// ---- the application's access by name

int TbsSkinForm::GetIndex(const std::string& AIDName) const {
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return static_cast<int>(i);
    return -1;
}

void TbsSkinForm::UserObjectDraw(const std::string& AIDName) {
    int i = GetIndex(AIDName);
    if (i >= 0 && dynamic_cast<TbsUserObject*>(ObjectList[static_cast<size_t>(i)].get()))
        DrawSkinObject(ObjectList[static_cast<size_t>(i)].get());
}

void TbsSkinForm::SetEnabled(const std::string& AIDName, bool Value) {
    int i = GetIndex(AIDName);
    if (i >= 0) ObjectList[static_cast<size_t>(i)]->Enabled = Value;
}

void TbsSkinForm::LinkMenu(const std::string& AIDName, gui::TPopupMenu* AMenu, bool APopupUp) {
    int i = GetIndex(AIDName);
    if (i < 0 || !AMenu) return;
    TbsActiveSkinObject* o = ObjectList[static_cast<size_t>(i)].get();
    if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o)) {
        b->MenuItem = AMenu->Items();
        b->FPopupUp = APopupUp;
    } else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o); a && a->ButtonStyle) {
        a->MenuItem = AMenu->Items();
        a->FPopupUp = APopupUp;
    }
}

} // namespace skin
