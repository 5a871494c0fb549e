#include "skin/forms/SkinTrayIcon.h"

#include "gui/Application.h"
#include "gui/ControlTypes.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/Screen.h"
#include "gui/WinControl.h"
#include "skin/forms/SkinForm.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
// Not every platform header names it.
constexpr UINT kUserChanged = 0x0054;
constexpr const char* kHiddenClass = "TbsTrayIconWindow";

// Copies at most MaxChars characters of UTF-8 text, never splitting one, and zeroes the rest.
template <size_t N> void CopyChars(char (&Field)[N], const std::string& Text, size_t MaxChars) {
    std::memset(Field, 0, N);
    size_t bytes = 0, chars = 0;
    while (bytes < Text.size() && chars < MaxChars) {
        auto lead = static_cast<unsigned char>(Text[bytes]);
        size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (bytes + len > Text.size() || bytes + len >= N) break;
        bytes += len;
        ++chars;
    }
    std::memcpy(Field, Text.data(), bytes);
}

void RegisterHiddenClass() {
    WNDCLASS wc{};
    if (GetClassInfo(nullptr, kHiddenClass, &wc)) return;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = kHiddenClass;
    RegisterClass(&wc);
}

} // namespace

TbsTrayIcon::TbsTrayIcon(gui::TComponent* AOwner)
    : gui::TComponent(AOwner), AnimateTimer(nullptr), ClickTimer(nullptr) {
    TaskbarCreated = RegisterWindowMessage("TaskbarCreated");
    RegisterHiddenClass();
    HWND hidden = CreateWindowEx(0, kHiddenClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HiddenInstance =
        MakeProcInstance([this](HWND h, UINT m, WPARAM wp, LPARAM lp) { return HiddenProc(h, m, wp, lp); });
    if (hidden) SetWindowLongPtr(hidden, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HiddenInstance));
    IconData.cbSize = sizeof(NOTIFYICONDATA);
    IconData.hWnd = hidden;
    IconData.uID = 1;
    IconData.uFlags = kIconFlags;
    IconData.uCallbackMessage = WM_TRAYICONNOTIFY;
    AnimateTimer.SetEnabled(false);
    AnimateTimer.SetInterval(FAnimateTimerInterval);
    AnimateTimer.OnTimer = [this](gui::TObject*) { AnimateTimerTick(); };
    ClickTimer.SetEnabled(false);
    ClickTimer.SetInterval(GetDoubleClickTime());
    ClickTimer.OnTimer = [this](gui::TObject*) { ClickTimerTick(); };
    if (!FIcon.Handle() && LoadDefaultIcon() && gui::Application) FIcon.Assign(gui::Application->Icon());
    if (gui::Application) {
        AppHandle = gui::Application->Handle();
        appHook_ = std::make_shared<AppHook>();
        appHook_->icon = this;
        NewAppProc = MakeProcInstance([hook = appHook_](HWND h, UINT m, WPARAM wp, LPARAM lp) {
            if (hook->icon) return hook->icon->AppProc(h, m, wp, lp);
            return hook->old ? CallWindowProc(hook->old, h, m, wp, lp) : DefWindowProc(h, m, wp, lp);
        });
        OldAppProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(AppHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NewAppProc)));
        appHook_->old = OldAppProc;
    }
    HookOwner();
}

// The owner's window is subclassed once it exists: at once when it does, else when loaded.
void TbsTrayIcon::HookOwner() {
    gui::TWinControl* owner = OwnerControl();
    if (OwnerHandle || !owner || !owner->HandleAllocated()) return;
    OwnerHandle = owner->Handle();
    ownerHook_ = std::make_shared<AppHook>();
    ownerHook_->icon = this;
    NewWndProc = MakeProcInstance([hook = ownerHook_](HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (hook->icon) return hook->icon->OwnerProc(h, m, wp, lp);
        return hook->old ? CallWindowProc(hook->old, h, m, wp, lp) : DefWindowProc(h, m, wp, lp);
    });
    OldWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(OwnerHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NewWndProc)));
    ownerHook_->old = OldWndProc;
}

TbsTrayIcon::~TbsTrayIcon() {
    SetIconVisible(false);
    AnimateTimer.SetEnabled(false);
    ClickTimer.SetEnabled(false);
    // Put the application's procedure back only when ours is still the one installed; a later
    // subclasser keeps calling ours, which from now on passes everything through.
    if (appHook_) appHook_->icon = nullptr;
    if (AppHandle && IsWindow(AppHandle) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtr(AppHandle, GWLP_WNDPROC)) == NewAppProc) {
        SetWindowLongPtr(AppHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldAppProc));
        FreeProcInstance(NewAppProc);
    }
    if (ownerHook_) ownerHook_->icon = nullptr;
    if (OwnerHandle && IsWindow(OwnerHandle) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtr(OwnerHandle, GWLP_WNDPROC)) == NewWndProc) {
        SetWindowLongPtr(OwnerHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
        FreeProcInstance(NewWndProc);
    }
    if (IconData.hWnd) DestroyWindow(IconData.hWnd);
    FreeProcInstance(HiddenInstance);
}

gui::TWinControl* TbsTrayIcon::OwnerControl() const {
    return dynamic_cast<gui::TWinControl*>(Owner());
}

void TbsTrayIcon::Loaded() {
    gui::TComponent::Loaded();
    HookOwner();
    if (OwnerControl() && MinimizedOnStart) {
        FIconVisible = true;
        MinimizeToTray = true;
        if (gui::Application) {
            gui::Application->ShowMainForm = false;
            ShowWindow(gui::Application->Handle(), SW_HIDE);
        }
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
}

void TbsTrayIcon::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TComponent::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FIconList) FIconList = nullptr;
    if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

// --- properties ------------------------------------------------------------------------------

void TbsTrayIcon::SetIconList(gui::TImageList* Value) {
    FIconList = Value;
    if (Value) Value->FreeNotification(this);
    SetIconIndex(0);
}

void TbsTrayIcon::SetCycleIcons(bool Value) {
    FCycleIcons = Value;
    if (Value) SetIconIndex(0);
    AnimateTimer.SetEnabled(Value);
}

void TbsTrayIcon::SetAnimateTimerInterval(unsigned Value) {
    FAnimateTimerInterval = Value;
    AnimateTimer.SetInterval(Value);
}

void TbsTrayIcon::SetHint(const std::string& Value) {
    FHint = Value;
    ModifyIcon();
}

void TbsTrayIcon::SetShowHint(bool Value) {
    FShowHint = Value;
    ModifyIcon();
}

void TbsTrayIcon::SetIcon(gui::TIcon* Value) {
    FIcon.Assign(Value);
    ModifyIcon();
}

void TbsTrayIcon::SetIconVisible(bool Value) {
    if (Value)
        ShowIcon();
    else
        HideIcon();
}

void TbsTrayIcon::SetIconIndex(int Value) {
    // An empty list is no list: there is no image to take, and count - 1 would be -1.
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = std::clamp(Value, 0, FIconList->Count() - 1);
        FIconList->GetIcon(FIconIndex, &FIcon);
    } else {
        FIconIndex = 0;
    }
    ModifyIcon();
}

void TbsTrayIcon::SetPopupMenu(gui::TPopupMenu* Value) {
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsTrayIcon::SetDblClickHandler(std::function<void()> Handler) {
    if (Handler)
        OnDblClick = [h = std::move(Handler)](gui::TObject*) { h(); };
    else
        OnDblClick = nullptr;
}

// --- shell calls -----------------------------------------------------------------------------

void TbsTrayIcon::PrepareIconData() {
    IconData.hIcon = FIcon.Handle();
    if (!FHint.empty() && FShowHint)
        CopyChars(IconData.szTip, FHint, 127);
    else
        std::memset(IconData.szTip, 0, sizeof IconData.szTip);
}

bool TbsTrayIcon::ShowIcon() {
    FIconVisible = true;
    PrepareIconData();
    return Shell_NotifyIcon(NIM_ADD, &IconData) != 0;
}

bool TbsTrayIcon::HideIcon() {
    FIconVisible = false;
    return Shell_NotifyIcon(NIM_DELETE, &IconData) != 0;
}

bool TbsTrayIcon::ModifyIcon() {
    PrepareIconData();
    return Shell_NotifyIcon(NIM_MODIFY, &IconData) != 0;
}

bool TbsTrayIcon::ShowBalloonHint(const std::string& Title, const std::string& Text,
                                  TbsBalloonHintIcon IconType) {
    HideBalloonHint();
    IconData.uFlags |= NIF_INFO;
    CopyChars(IconData.szInfo, Text, 255);
    CopyChars(IconData.szInfoTitle, Title, 63);
    IconData.dwInfoFlags = static_cast<DWORD>(IconType);
    bool ok = ModifyIcon();
    IconData.uFlags = kIconFlags;
    return ok;
}

bool TbsTrayIcon::HideBalloonHint() {
    IconData.uFlags |= NIF_INFO;
    std::memset(IconData.szInfo, 0, sizeof IconData.szInfo);
    return ModifyIcon();
}

// --- main form -------------------------------------------------------------------------------

void TbsTrayIcon::ShowMainForm() {
    if (!OwnerControl() || !gui::Application || !gui::Application->MainForm()) return;
    gui::TCustomForm* f = gui::Application->MainForm();
    // The application counts as minimised until restored: without it the next minimise
    // would find nothing to do.
    ShowWindow(gui::Application->Handle(), SW_RESTORE);
    gui::Application->Restore();
    f->SetVisible(true);
    if (f->WindowState() == gui::TWindowState::wsMinimized) f->SetWindowState(gui::TWindowState::wsNormal);
    f->Tag = kTrayRestoreTag;
    PostMessage(f->Handle(), WM_TRAYRESTORED, 0, 0);
}

void TbsTrayIcon::HideMainForm() {
    if (!OwnerControl() || !gui::Application || !gui::Application->MainForm()) return;
    gui::TCustomForm* f = gui::Application->MainForm();
    f->SetVisible(false);
    ShowWindow(gui::Application->Handle(), SW_HIDE);
    f->Tag = kTrayRestoreTag;
}

void TbsTrayIcon::DoMinimizeToTray() {
    // The icon is the only way back to a hidden form: where the desktop takes no icon (and
    // none is there from before), the form stays minimised where the task bar shows it.
    if (!ShowIcon() && !ModifyIcon()) {
        FIconVisible = false;
        return;
    }
    HideMainForm();
}

// --- events ----------------------------------------------------------------------------------

void TbsTrayIcon::Click() {
    if (OnClick) OnClick(this);
}

void TbsTrayIcon::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TbsTrayIcon::DoCycle() {
    if (!OnCycle) return;
    int next = FIconList && FIconIndex + 1 < FIconList->Count() ? FIconIndex + 1 : 0;
    OnCycle(this, next);
}

void TbsTrayIcon::MouseDown(gui::TMouseButton Button) {
    if (!OnMouseDown) return;
    POINT p{};
    GetCursorPos(&p);
    gui::TShiftState s = gui::KeyboardStateToShiftState() & (gui::ssShift | gui::ssAlt | gui::ssCtrl);
    s |= Button == gui::mbLeft ? gui::ssLeft : Button == gui::mbRight ? gui::ssRight : gui::ssMiddle;
    OnMouseDown(this, Button, s, p.x, p.y);
}

void TbsTrayIcon::MouseUp(gui::TMouseButton Button) {
    if (!OnMouseUp) return;
    POINT p{};
    GetCursorPos(&p);
    gui::TShiftState s = gui::KeyboardStateToShiftState() & (gui::ssShift | gui::ssAlt | gui::ssCtrl);
    s |= Button == gui::mbLeft ? gui::ssLeft : Button == gui::mbRight ? gui::ssRight : gui::ssMiddle;
    OnMouseUp(this, Button, s, p.x, p.y);
}

void TbsTrayIcon::MouseMove() {
    if (!OnMouseMove) return;
    POINT p{};
    GetCursorPos(&p);
    OnMouseMove(this, gui::KeyboardStateToShiftState() & (gui::ssShift | gui::ssAlt | gui::ssCtrl), p.x, p.y);
}

void TbsTrayIcon::PopupAtCursor() {
    if (!FPopupMenu || !FPopupMenu->AutoPopup) return;
    POINT p{};
    if (!GetCursorPos(&p)) return;
    gui::Application->ProcessMessages();
    if (!FPopupMenu) return; // freed while the queue ran
    SetForegroundWindow(IconData.hWnd);
    gui::TWinControl* owner = OwnerControl();
    if (owner && owner->HandleAllocated()) SetForegroundWindow(owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(p.x, p.y);
    if (owner && owner->HandleAllocated()) PostMessage(owner->Handle(), WM_NULL, 0, 0);
}

void TbsTrayIcon::ClickTimerTick() {
    ClickTimer.SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        Click();
    }
    IsDblClick = false;
}

void TbsTrayIcon::AnimateTimerTick() {
    if (!FIconList || FIconList->Count() == 0) return;
    FIconList->GetIcon(FIconIndex, &FIcon);
    DoCycle();
    ModifyIcon();
    SetIconIndex(FIconIndex + 1 < FIconList->Count() ? FIconIndex + 1 : 0);
}

// --- window procedures -----------------------------------------------------------------------

LRESULT TbsTrayIcon::HiddenProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp) {
    switch (Msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case kUserChanged:
    case WM_NCDESTROY:
        return 1;
    case WM_TRAYICONNOTIFY:
        break;
    default:
        return DefWindowProc(h, Msg, wp, lp);
    }
    if (!Enabled) return 0;
    switch (static_cast<UINT>(lp)) {
    case WM_MOUSEMOVE:
        MouseMove();
        break;
    case WM_LBUTTONDOWN:
        ClickTimer.SetEnabled(true);
        MouseDown(gui::mbLeft);
        FClickStart = true;
        if (PopupByLeftButton) PopupAtCursor();
        break;
    case WM_LBUTTONUP:
        if (FClickStart) {
            FClickReady = true;
            if (!ClickTimer.Enabled()) {
                FClickStart = FClickReady = false;
                Click();
            }
        }
        FClickStart = false;
        MouseUp(gui::mbLeft);
        break;
    case WM_LBUTTONDBLCLK:
        FClickReady = false;
        IsDblClick = true;
        DblClick();
        if (FPopupMenu && FPopupMenu->AutoPopup && !PopupByLeftButton) {
            gui::TMenuItem* items = FPopupMenu->Items();
            for (int i = 0; i < items->Count(); ++i)
                if (items->Items(i)->Default()) {
                    items->Items(i)->Click();
                    break;
                }
        }
        break;
    case WM_RBUTTONDOWN:
        MouseDown(gui::mbRight);
        PopupAtCursor();
        break;
    case WM_RBUTTONUP:
        MouseUp(gui::mbRight);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(gui::mbMiddle);
        break;
    case WM_MBUTTONUP:
        MouseUp(gui::mbMiddle);
        break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT TbsTrayIcon::AppProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp) {
    if (Msg == WM_SIZE && wp == SIZE_MINIMIZED && MinimizeToTray) DoMinimizeToTray();
    // The shell came back without our icon.
    if (Msg == TaskbarCreated && TaskbarCreated != 0 && FIconVisible) ShowIcon();
    return OldAppProc ? CallWindowProc(OldAppProc, h, Msg, wp, lp) : DefWindowProc(h, Msg, wp, lp);
}

LRESULT TbsTrayIcon::OwnerProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp) {
    if (Msg == WM_ACTIVATE && (LOWORD(wp) == WA_ACTIVE || LOWORD(wp) == WA_CLICKACTIVE) && gui::Screen &&
        gui::Screen->ActiveControl()) {
        gui::TWinControl* c = gui::Screen->ActiveControl();
        HWND keep = c->Parent() ? c->Parent()->Handle() : c->Handle();
        // Only a control of this form takes the focus back: focusing another form's control
        // activates that form, whose icon would hand the focus back here, and so on forever.
        if (reinterpret_cast<HWND>(lp) != keep && c->HandleAllocated() &&
            GetAncestor(c->Handle(), GA_ROOT) == h && GetFocus() != c->Handle())
            SetFocus(c->Handle());
    }
    if (Msg == WM_SHOWWINDOW && wp == 1 && lp == 0 && gui::Application) {
        // Shown again from the tray: the application's window comes back first.
        ShowWindow(gui::Application->Handle(), SW_RESTORE);
        gui::Application->Restore();
        SetForegroundWindow(gui::Application->Handle());
        SetForegroundWindow(h);
    }
    return OldWndProc ? CallWindowProc(OldWndProc, h, Msg, wp, lp) : DefWindowProc(h, Msg, wp, lp);
}

} // namespace skin
