// The skinned form's own window states.  Our windows carry no decoration of the window
// manager, so maximising, minimising and restoring are moves and sizes of the form itself;
// rolled up (only the caption left) and minimised to the notification area come on top.
#include "gui/Application.h"
#include "gui/Screen.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/engine/DrawUtils.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinPopupMenu.h"
#include "win/Message.h"
#include "win/System.h"
#include "win/Window.h"

namespace skin {

namespace {

bool IsEmpty(const TRect& r) {
    return r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Bottom == 0;
}

} // namespace

bool TbsSkinForm::IsMainForm() const {
    return gui::Application && gui::Application->MainForm() == form_;
}

void TbsSkinForm::SetWindowState(gui::TWindowState value) {
    if (!skinnableForm_) {
        form_->SetWindowState(value);
        return;
    }
    if (value == windowState_) return;
    gui::TWindowState old = windowState_;
    // The main form minimises the whole application and keeps its own state.
    if (value != gui::wsMinimized || (!IsMainForm() && !MinimizeDefault)) windowState_ = value;
    switch (value) {
    case gui::wsNormal:
        if (old == gui::wsMaximized && rollUpState_ && !rollUpBeforeMaximize_) SetRollUpState(false);
        rollUpBeforeMaximize_ = false;
        Restore();
        break;
    case gui::wsMinimized:
        Minimize();
        break;
    case gui::wsMaximized:
        rollUpBeforeMaximize_ = rollUpState_;
        Maximize();
        break;
    }
}

void TbsSkinForm::Minimize() {
    if (IsMainForm()) {
        gui::Application->Minimize();
    } else if (MinimizeDefault) {
        form_->SetWindowState(gui::wsMinimized);
    } else {
        if (IsEmpty(oldBoundsRect_)) {
            oldBoundsRect_ = {form_->Left(), form_->Top(), form_->Left() + form_->Width(),
                              form_->Top() + form_->Height()};
        }
        TPoint p = GetMinimizedPosition();
        form_->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
        TellMainOfChildState();
    }
    if (OnMinimize) OnMinimize(this);
}

void TbsSkinForm::Maximize() {
    if (IsEmpty(oldBoundsRect_))
        oldBoundsRect_ = {form_->Left(), form_->Top(), form_->Left() + form_->Width(),
                          form_->Top() + form_->Height()};
    if (IsMDIChildForm()) {
        MaximizeInMDIClient();
        if (OnMaximize) OnMaximize(this);
        return;
    }
    gui::TRect target{};
    GetMonitorArea(Wnd(), !MaximizeOnFullScreen, target);
    if (!MaximizeOnFullScreen) {
        gui::TRect whole{};
        GetMonitorArea(Wnd(), false, whole);
        // Without a task bar, a pixel all round lets one that hides itself come up.
        bool noTaskBar = gui::RectWidth(target) == gui::RectWidth(whole) &&
                         gui::RectHeight(target) == gui::RectHeight(whole);
        bool primary = whole.left == 0 && whole.top == 0 && whole.right == GetSystemMetrics(SM_CXSCREEN) &&
                       whole.bottom == GetSystemMetrics(SM_CYSCREEN);
        if (noTaskBar && primary)
            target = {target.left + 1, target.top + 1, target.right - 1, target.bottom - 1};
    }
    form_->SetBounds(target.left, target.top, gui::RectWidth(target), gui::RectHeight(target));
    if (statusBar_ && statusBar_->SizeGrip()) statusBar_->SetShowGrip(false);
    if (OnMaximize) OnMaximize(this);
}

void TbsSkinForm::Restore() {
    maxRollUpState_ = false;
    int w = form_->Width(), h = form_->Height();
    if (!IsEmpty(oldBoundsRect_)) {
        const TRect& r = oldBoundsRect_;
        if (startShow_) {
            startShow_ = false;
            TPoint p = GetPositionInMonitor(r.Left, r.Top, r.Width(), r.Height());
            form_->SetBounds(p.X, p.Y, r.Width(), r.Height());
        } else {
            BorderBeforeRestore(r);
            form_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        }
        if (w == r.Width() && h == r.Height()) RefreshFormSize();
    }
    MouseTimer->SetEnabled(true);
    form_->Invalidate();
    TellMainOfChildState();
    oldBoundsRect_ = {};
    if (statusBar_ && statusBar_->SizeGrip()) statusBar_->SetShowGrip(true);
    if (OnRestore) OnRestore(this);
}

void TbsSkinForm::SetRollUpState(bool value) {
    if (!(borderIcons_ & biRollUp)) return;
    if (rollUpState_ && windowState_ == gui::wsMaximized && !maxRollUpState_) return;
    if (windowState_ == gui::wsMinimized) return;
    if (value == rollUpState_) return;
    if (windowState_ == gui::wsMaximized) maxRollUpState_ = value;
    rollUpState_ = value;
    if (value) {
        oldHeight_ = form_->Height();
        form_->SetHeight(GetMinHeight());
    } else if (ClientHeight > 0) {
        form_->SetClientHeight(ClientHeight);
    } else {
        form_->SetHeight(oldHeight_);
    }
    RepaintFrame();
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

TPoint TbsSkinForm::GetMinimizedPosition() const {
    int w = GetMinWidth(), h = GetMinHeight();
    // A document window lines up in its main form's client area, other forms on the monitor.
    bool mdi = IsMDIChildForm();
    TbsSkinForm* main = mdi ? MainSkinForm() : nullptr;
    gui::TRect area{};
    if (!mdi)
        GetMonitorArea(Wnd(), true, area);
    else if (main)
        area = {0, 0, main->MDIClientArea().Width(), main->MDIClientArea().Height()};
    int x = area.left, y = area.bottom - h;
    auto taken = [&](int px, int py) {
        int count = mdi ? (main ? main->Form()->MDIChildCount() : 0) : gui::Screen->FormCount();
        for (int i = 0; i < count; ++i) {
            gui::TCustomForm* f = mdi ? main->Form()->MDIChildren(i) : gui::Screen->Forms(i);
            if (f == form_ || (!mdi && f == gui::Application->MainForm()) || !f->Visible()) continue;
            TbsSkinForm* other = FindSkinFormComponent(f);
            if (other && other->WindowState() == gui::wsMinimized && f->Left() == px && f->Top() == py)
                return true;
        }
        return false;
    };
    while (taken(x, y)) {
        x += w;
        if (x + w > area.right) {
            x = area.left;
            y -= h;
        }
        if (y < area.top) {
            y = area.bottom - h;
            break;
        }
    }
    return {x, y};
}

TPoint TbsSkinForm::GetPositionInMonitor(int AX, int AY, int AW, int AH) const {
    if (PositionInMonitor == TbsPositionInMonitor::bspDefault) return {AX, AY};
    gui::TRect a{};
    GetMonitorArea(Wnd(), PositionInMonitor == TbsPositionInMonitor::bspDesktopCenter, a);
    return {a.left + gui::RectWidth(a) / 2 - AW / 2, a.top + gui::RectHeight(a) / 2 - AH / 2};
}

void TbsSkinForm::ApplyPositionInMonitor() {
    if (PositionInMonitor == TbsPositionInMonitor::bspDefault) return;
    TPoint p = GetPositionInMonitor(form_->Left(), form_->Top(), form_->Width(), form_->Height());
    form_->SetBounds(p.X, p.Y, form_->Width(), form_->Height());
}

void TbsSkinForm::FirstPlacement() {
    if (!startShow_) return;
    if (PositionInMonitor == TbsPositionInMonitor::bspDefault) {
        startShow_ = false;
    } else if (windowState_ == gui::wsNormal) {
        startShow_ = false;
        ApplyPositionInMonitor();
    }
}

void TbsSkinForm::CaptionDblClick() {
    if (CanResize() && windowState_ == gui::wsMinimized)
        SetWindowState(gui::wsNormal);
    else if (CanResize() && windowState_ != gui::wsMaximized && !rollUpState_ && (borderIcons_ & biMaximize))
        SetWindowState(gui::wsMaximized);
    else if (CanResize() && windowState_ == gui::wsMaximized && !maxRollUpState_)
        SetWindowState(gui::wsNormal);
    else
        SetRollUpState(!rollUpState_);
    MouseCaptureObject = -1;
}

// ---- commands of the caption buttons and the menus

void TbsSkinForm::RestoreCommand() {
    if (maxRollUpState_ || (rollUpState_ && windowState_ == gui::wsNormal))
        SetRollUpState(false);
    else
        SetWindowState(gui::wsNormal);
}

void TbsSkinForm::MaximizeCommand() {
    SetWindowState(gui::wsMaximized);
}

void TbsSkinForm::MinimizeCommand() {
    if (AlwaysMinimizeToTray)
        MinimizeToTray();
    else
        SetWindowState(gui::wsMinimized);
}

void TbsSkinForm::RollUpCommand() {
    SetRollUpState(true);
}

void TbsSkinForm::CloseCommand() {
    if (Wnd()) PostMessage(Wnd(), WM_CLOSE, 0, 0);
}

void TbsSkinForm::MinimizeToTrayCommand() {
    MinimizeToTray();
}

void TbsSkinForm::RestoreFromTrayCommand() {
    RestoreFromTray();
}

// ---- the notification area

void TbsSkinForm::SetTrayIcon(TbsFormTrayIcon* value) {
    // The icon is a component of its own: freed first, it must not be reached through here.
    if (trayIconComponent_) trayIconComponent_->RemoveFreeNotification(this);
    trayIcon_ = value;
    trayIconComponent_ = dynamic_cast<os::TComponent*>(value);
    if (trayIconComponent_) trayIconComponent_->FreeNotification(this);
    if (!value) return;
    if (!AlwaysShowInTray) value->SetIconVisible(false);
    value->SetMinimizeToTray(false);
    if (Designing()) return;
    if (!value->HasPopupMenu()) {
        value->SetPopupMenu(SysTrayMenu());
        if (!value->HasDblClickHandler()) value->SetDblClickHandler([this] { RestoreFromTrayCommand(); });
    }
}

void TbsSkinForm::MinimizeToTray() {
    if (!trayIcon_) return;
    trayIcon_->SetMinimizeToTray(true);
    gui::Application->Minimize();
    if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TbsSkinForm::RestoreFromTray() {
    if (!trayIcon_) return;
    trayIcon_->SetMinimizeToTray(false);
    trayIcon_->ShowMainForm();
    gui::Application->Restore();
    if (!AlwaysShowInTray) trayIcon_->SetIconVisible(false);
    if (OnRestoreFromTray) OnRestoreFromTray(this);
}

} // namespace skin
