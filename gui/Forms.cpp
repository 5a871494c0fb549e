#include "gui/Forms.h"

#include "gui/Application.h"
#include "gui/Menu.h"
#include "gui/Screen.h"
#include "gui/ShortCuts.h"
#include "os/ScopeExit.h"
#include "win/Input.h"
#include "win/Mdi.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace gui {

TCustomForm* GetParentForm(TControl* control) {
    if (!control) return nullptr;
    while (control->Parent()) control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

TCustomForm::TCustomForm(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetVisible(false);
    SetColor(clBtnFace);
    TControl::SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    MarkDestroying();
    if (OnDestroy && created_) OnDestroy(this);
    Screen->RemoveForm(this);
    Application->FormDestroyed(this);
    // The window goes while this object is still a form.
    DestroyHandle();
}

void TCustomForm::AfterConstruction() {
    if (!created_) {
        created_ = true;
        DoCreate();
    }
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    p.Style |= WS_CLIPCHILDREN;
    if (Parent() || ParentWindow()) {
        p.Style |= WS_CHILD;
        if (Visible()) p.Style |= WS_VISIBLE;
        return;
    }
    p.WndParent = Application->Handle();
    bool mdiChild = formStyle_ == fsMDIChild;
    if (mdiChild) {
        // A document window lives in the main form's client window; it is shown by Show.
        TCustomForm* frame = Application->MainForm();
        p.WndParent =
            frame && frame != this && frame->formStyle_ == fsMDIForm ? frame->ClientHandle() : nullptr;
        p.Style |= WS_CHILD | WS_CLIPSIBLINGS;
        p.ExStyle |= WS_EX_MDICHILD;
    }
    switch (borderStyle_) {
    case bsNone:
        if (!mdiChild) p.Style |= WS_POPUP;
        break;
    case bsSingle:
        p.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        p.Style |= (mdiChild ? 0u : static_cast<DWORD>(WS_POPUP)) | WS_CAPTION;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        p.Style |= WS_CAPTION;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != bsNone) {
        if (borderIcons_ & biSystemMenu) p.Style |= WS_SYSMENU;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
            if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateWnd() {
    if (formStyle_ == fsMDIChild && !Parent() && !ParentWindow()) {
        TCustomForm* frame = Application->MainForm();
        if (!frame || frame == this || frame->formStyle_ != fsMDIForm || !frame->ClientHandle())
            throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    }
    TCustomControl::CreateWnd();
    if (formStyle_ == fsMDIForm && !Parent() && !ParentWindow()) {
        RECT r;
        GetClientRect(Handle(), &r);
        clientHandle_ = CreateWindowEx(0, MDIClientClassName(), "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                       0, 0, r.right, r.bottom, Handle(), nullptr, nullptr, nullptr);
        Realign();
    }
    HICON icon = icon_ && icon_->Handle() ? icon_->Handle() : Application->Icon()->Handle();
    if (icon) SendMessage(Handle(), WM_SETICON, 1, reinterpret_cast<LPARAM>(icon));
    if (windowState_ == wsMaximized)
        SetWindowLongPtr(Handle(), GWL_STYLE, GetWindowLongPtr(Handle(), GWL_STYLE) | WS_MAXIMIZE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    if (!Loading()) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (formStyle_ == value) return;
    bool mdi =
        formStyle_ == fsMDIForm || formStyle_ == fsMDIChild || value == fsMDIForm || value == fsMDIChild;
    formStyle_ = value;
    // A window goes into or out of a client window only as it is made.
    if (mdi) {
        if (HandleAllocated()) RecreateWnd();
        return;
    }
    if (HandleAllocated() && !Parent() && !ParentWindow())
        SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (borderIcons_ == value) return;
    borderIcons_ = value;
    if (!Loading()) RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (windowState_ == value) return;
    windowState_ = value;
    if (HandleAllocated() && Visible())
        ShowWindow(Handle(), value == wsMinimized   ? SW_MINIMIZE
                             : value == wsMaximized ? SW_SHOWMAXIMIZED
                                                    : SW_RESTORE);
}

TIcon* TCustomForm::Icon() {
    if (!icon_) {
        icon_ = std::make_unique<TIcon>();
        icon_->OnChange = [this](TObject*) {
            if (HandleAllocated())
                SendMessage(Handle(), WM_SETICON, 1, reinterpret_cast<LPARAM>(icon_->Handle()));
        };
    }
    return icon_.get();
}

HWND TCustomForm::ClientHandle() const {
    return formStyle_ == fsMDIForm && IsWindow(clientHandle_) ? clientHandle_ : nullptr;
}

namespace {

std::vector<TCustomForm*> ChildForms(HWND client) {
    std::vector<TCustomForm*> out;
    if (!client) return out;
    for (HWND h : GetMDIChildren(client))
        if (auto* f = dynamic_cast<TCustomForm*>(FindControl(h));
            f && f->HandleAllocated() && f->Handle() == h)
            out.push_back(f);
    return out;
}

} // namespace

int TCustomForm::MDIChildCount() const {
    return static_cast<int>(ChildForms(ClientHandle()).size());
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
    std::vector<TCustomForm*> kids = ChildForms(ClientHandle());
    return index >= 0 && index < static_cast<int>(kids.size()) ? kids[static_cast<size_t>(index)] : nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    HWND client = ClientHandle();
    if (!client) return nullptr;
    auto active = reinterpret_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, 0));
    return active ? dynamic_cast<TCustomForm*>(FindControl(active)) : nullptr;
}

void TCustomForm::SetWindowMenu(TMenuItem* value) {
    if (windowMenu_) windowMenu_->RemoveFreeNotification(this);
    windowMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TCustomForm::Tile() {
    if (HWND client = ClientHandle())
        SendMessage(client, WM_MDITILE, TileMode == tbVertical ? MDITILE_VERTICAL : MDITILE_HORIZONTAL, 0);
}

void TCustomForm::Cascade() {
    if (HWND client = ClientHandle()) SendMessage(client, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons() {
    if (HWND client = ClientHandle()) SendMessage(client, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
    if (HWND client = ClientHandle()) SendMessage(client, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
    if (HWND client = ClientHandle()) SendMessage(client, WM_MDINEXT, 0, 1);
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    // The client window takes what the aligned controls leave, behind them.
    if (HWND client = ClientHandle())
        SetWindowPos(client, HWND_BOTTOM, rect.left, rect.top, std::max<int>(RectWidth(rect), 0),
                     std::max<int>(RectHeight(rect), 0), SWP_NOACTIVATE);
}

void TCustomForm::DefaultHandler(TMessage& m) {
    // The window system's default answers of a frame or a document window; our own notices
    // (all above WM_USER) never reach it.
    if (HandleAllocated() && m.Msg < WM_USER) {
        if (HWND client = ClientHandle()) {
            m.Result = DefFrameProc(Handle(), client, m.Msg, m.WParam, m.LParam);
            return;
        }
        if (formStyle_ == fsMDIChild) {
            m.Result = DefMDIChildProc(Handle(), m.Msg, m.WParam, m.LParam);
            return;
        }
    }
    TCustomControl::DefaultHandler(m);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == menu_) menu_ = nullptr;
    if (component == windowMenu_) windowMenu_ = nullptr;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == focusedControl_) focusedControl_ = nullptr;
}

void TCustomForm::SetClientSize(int width, int height) {
    HandleNeeded();
    TCustomControl::SetClientSize(width, height);
}

TRect TCustomForm::ClientRect() {
    // A form inside another window has no frame; asking its style would make that window.
    if (HandleAllocated() || Parent() || ParentWindow()) return TCustomControl::ClientRect();
    TCreateParams p;
    CreateParams(p);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle);
    return {0, 0, std::max<int>(Width() - RectWidth(frame), 0),
            std::max<int>(Height() - RectHeight(frame), 0)};
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

// ---- showing

void TCustomForm::PlaceOnFirstShow() {
    if (placed_ || Parent() || ParentWindow() || formStyle_ == fsMDIChild) return;
    placed_ = true;
    TRect area{};
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        area = Screen->WorkAreaRect();
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* center =
            position_ == poMainFormCenter ? Application->MainForm() : dynamic_cast<TCustomForm*>(Owner());
        if (center && center != this && center->HandleAllocated())
            area = center->BoundsRect();
        else
            area = Screen->WorkAreaRect();
        break;
    }
    default:
        return;
    }
    SetBounds(area.left + (RectWidth(area) - Width()) / 2, area.top + (RectHeight(area) - Height()) / 2,
              Width(), Height());
}

void TCustomForm::ShowWindowNow(bool show) {
    if (show) {
        PlaceOnFirstShow();
        int cmd = windowState_ == wsMaximized    ? SW_SHOWMAXIMIZED
                  : windowState_ == wsMinimized  ? SW_SHOWMINIMIZED
                  : (Parent() || ParentWindow()) ? SW_SHOWNA
                                                 : SW_SHOWNORMAL;
        FormState |= fsShowing;
        DoShow();
        FormState &= ~fsShowing;
        ShowWindow(Handle(), cmd);
        if (formStyle_ == fsStayOnTop)
            SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (HandleAllocated()) {
        DoHide();
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TCustomForm::SetVisible(bool value) {
    if (Visible() == value) return;
    // Hidden by code, a modal form ends as cancelled: no loop may wait on a window nobody sees.
    if (!value && (FormState & fsModal) && modalResult_ == mrNone) modalResult_ = mrCancel;
    TControl::SetVisible(value);
    if (value)
        FormState |= fsVisible;
    else
        FormState &= ~fsVisible;
}

void TCustomForm::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CM_VISIBLECHANGED:
        // A form being built shows once it is complete (Loaded).
        if (!Loading() && (m.WParam || HandleAllocated())) ShowWindowNow(m.WParam != 0);
        return;
    case WM_CLOSE:
        Close();
        return;
    case WM_GETMINMAXINFO: {
        DefaultHandler(m);
        // The constraints are the tracking limits: the move/size loop and a maximised or
        // restored window keep to them.
        auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
        TSizeConstraints* c = Constraints();
        if (c->MinWidth() > 0) mmi->ptMinTrackSize.x = c->MinWidth();
        if (c->MinHeight() > 0) mmi->ptMinTrackSize.y = c->MinHeight();
        if (c->MaxWidth() > 0) mmi->ptMaxTrackSize.x = c->MaxWidth();
        if (c->MaxHeight() > 0) mmi->ptMaxTrackSize.y = c->MaxHeight();
        return;
    }
    case WM_ACTIVATE:
        Activated(LOWORD(m.WParam) != WA_INACTIVE);
        if (LOWORD(m.WParam) != WA_INACTIVE && (activeControl_ || focusedControl_)) {
            SetWindowFocus();
            return;
        }
        return DefaultHandler(m);
    case WM_SETFOCUS:
        if (activeControl_ && activeControl_ != this && activeControl_->HandleAllocated() &&
            IsWindowVisible(activeControl_->Handle())) {
            ::SetFocus(activeControl_->Handle());
            return;
        }
        SetFocusedControl(this);
        return DefaultHandler(m);
    case WM_SIZE:
        if (m.WParam == SIZE_MINIMIZED)
            windowState_ = wsMinimized;
        else if (m.WParam == SIZE_MAXIMIZED)
            windowState_ = wsMaximized;
        else if (HandleAllocated() && IsWindowVisible(Handle()))
            windowState_ = wsNormal;
        break;
    case CM_RELEASE:
        delete this;
        return;
    case WM_MDIACTIVATE:
        // A document window is active while it is the client's active child.
        if (formStyle_ == fsMDIChild && HandleAllocated()) {
            bool now = reinterpret_cast<HWND>(m.LParam) == Handle();
            if (now != active_) {
                active_ = now;
                now ? Activate() : Deactivate();
            }
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(m);
}

void TCustomForm::Loaded() {
    TCustomControl::Loaded();
    if (Visible() && !(HandleAllocated() && IsWindowVisible(Handle()))) ShowWindowNow(true);
}

void TCustomForm::Activated(bool active) {
    if (active_ == active) return;
    active_ = active;
    if (active) {
        Screen->FormActivated(this);
        Activate();
    } else {
        Deactivate();
    }
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::SetWindowFocus() {
    TWinControl* c = activeControl_ ? activeControl_ : this;
    if (c->HandleAllocated() && IsWindowVisible(c->Handle()) && IsWindowEnabled(c->Handle()))
        ::SetFocus(c->Handle());
}

void TCustomForm::Show() {
    SetVisible(true);
    if (!HandleAllocated()) return;
    if (formStyle_ == fsMDIChild && GetParent(Handle()))
        SendMessage(GetParent(Handle()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Handle()), 0);
    else
        BringWindowToTop(Handle());
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

bool TCustomForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TCustomForm::Close() {
    if (FormState & fsModal) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    // A document window that closes goes away: its frame has nothing to bring it back by.
    TCloseAction action = Application->MainForm() == this || formStyle_ == fsMDIChild ? caFree : caHide;
    DoClose(action);
    if (action == caNone) return;
    // However the main form closes, the program ends with it.
    if (Application->MainForm() == this) return Application->Terminate();
    switch (action) {
    case caHide:
        Hide();
        return;
    case caMinimize:
        SetWindowState(wsMinimized);
        return;
    default:
        Release();
        return;
    }
}

void TCustomForm::Release() {
    if (HandleAllocated())
        PostMessage(Handle(), CM_RELEASE, 0, 0);
    else
        delete this;
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release(); // after the loop: the caller still reads the result
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || (FormState & fsModal) || Parent())
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    TCustomForm* previous = Screen->ActiveForm();
    FormState |= fsModal;
    HandleNeeded();
    // Every other enabled top-level window of ours is disabled while the loop runs.
    std::vector<HWND> disabled;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f != this && f->HandleAllocated() && !f->Parent() && !f->ParentWindow() &&
            IsWindowEnabled(f->Handle()) && IsWindowVisible(f->Handle())) {
            EnableWindow(f->Handle(), FALSE);
            disabled.push_back(f->Handle());
        }
    }
    TModalResult result;
    {
        os::ScopeExit close([&] {
            for (HWND h : disabled)
                if (IsWindow(h)) EnableWindow(h, TRUE);
            FormState &= ~fsModal;
            Hide();
        });
        Show();
        modalResult_ = mrNone;
        do {
            Application->HandleMessage();
            if (Application->Terminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone && Visible()) // hidden by code: ended without asking
                CloseModal();
        } while (modalResult_ == mrNone);
        result = modalResult_;
    }
    if (previous && previous != this && previous->HandleAllocated() && IsWindowVisible(previous->Handle()))
        SetActiveWindow(previous->Handle());
    return result;
}

// ---- focus

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (activeControl_ == control) return;
    if (control &&
        (control == this || GetParentForm(control) != this || (!Loading() && !control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = control;
    if (control) control->FreeNotification(this);
    if (active_) SetWindowFocus(); // none: the form itself
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    auto within = [control](TWinControl* c) { return c && (c == control || control->ContainsControl(c)); };
    if (removing && within(focusedControl_)) {
        focusedControl_ = control->Parent();
        if (focusedControl_) focusedControl_->FreeNotification(this);
    }
    if (within(activeControl_)) SetActiveControl(nullptr);
}

void TCustomForm::FocusControl(TWinControl* control) {
    bool was = active_;
    activeControl_ = control;
    if (control) control->FreeNotification(this);
    if (!was && HandleAllocated() && IsWindowVisible(Handle()) && !Parent() && !ParentWindow()) {
        SetActiveWindow(Handle());
        return;
    }
    if (control && control->HandleAllocated()) ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
    if (focusedControl_ == control) {
        Screen->SetActiveControl(control);
        return;
    }
    TWinControl* old = focusedControl_;
    focusedControl_ = control;
    if (control) control->FreeNotification(this);
    if (control != this) activeControl_ = control;
    // OnExit from the old control up to (not including) the common parent, OnEnter down to the new one.
    auto contains = [](TWinControl* parent, TWinControl* c) {
        return c && (c == parent || parent->ContainsControl(c));
    };
    for (TWinControl* c = old; c && c != this && !contains(c, control); c = c->Parent()) c->DoExit();
    std::vector<TWinControl*> enter;
    for (TWinControl* c = control; c && c != this && !contains(c, old); c = c->Parent()) enter.push_back(c);
    for (auto it = enter.rbegin(); it != enter.rend(); ++it) (*it)->DoEnter();
    Screen->SetActiveControl(control);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

// ---- keys

bool TCustomForm::DoKeyDown(TMessage& m) {
    return TCustomControl::DoKeyDown(m);
}
bool TCustomForm::DoKeyUp(TMessage& m) {
    return TCustomControl::DoKeyUp(m);
}
bool TCustomForm::DoKeyPress(TMessage& m) {
    return TCustomControl::DoKeyPress(m);
}

bool TCustomForm::IsShortCut(TMessage& m) {
    bool handled = false;
    if (OnShortCut) OnShortCut(m, handled);
    if (!handled && menu_)
        handled = menu_->IsShortCut(static_cast<uint16_t>(m.WParam), KeyDataToShiftState(m.LParam));
    return handled;
}

void TCustomForm::CMDialogKey(TMessage& m) {
    if (GetKeyState(VK_MENU) >= 0) {
        switch (m.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (activeControl_ && activeControl_->Parent()) {
                activeControl_->Parent()->SelectNext(activeControl_,
                                                     m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                m.Result = 1;
                return;
            }
            break;
        default:
            break;
        }
    }
    TCustomControl::CMDialogKey(m);
}

} // namespace gui
