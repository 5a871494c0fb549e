#include "gui/Application.h"

#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/HintWindow.h"
#include "gui/Screen.h"
#include "os/MainThread.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <filesystem>

namespace gui {

// Made when the program starts and never freed: forms and windows may outlive static destruction order.
TScreen* Screen = new TScreen(nullptr);
TApplication* Application = new TApplication(nullptr);

namespace {
constexpr uintptr_t kHintShowTimer = 1, kHintHideTimer = 2;

std::string ShortHint(const std::string& hint) {
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}
} // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    SetMouseControlListener([this](TControl* c) { MouseControlChanged(c); });
    showHint_ = true; // the hint window itself is made when the first hint shows
}

TApplication::~TApplication() {
    SetMouseControlListener(nullptr);
    if (handle_) DestroyWindow(handle_);
    if (instance_) FreeProcInstance(instance_);
}

HWND TApplication::Handle() {
    if (!handle_) {
        instance_ = MakeProcInstance([this](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
            if (!handle_) handle_ = h; // messages of the creation come before CreateWindowEx returns
            TMessage m{msg, wp, lp, 0};
            WndProc(m);
            return m.Result;
        });
        WNDCLASS wc{};
        wc.lpfnWndProc = instance_;
        wc.lpszClassName = "TApplication";
        RegisterClass(&wc);
        handle_ = CreateWindowEx(0, "TApplication", Title.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                                 nullptr, nullptr, nullptr);
    }
    return handle_;
}

void TApplication::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kHintShowTimer) {
            KillTimer(handle_, kHintShowTimer);
            POINT p;
            GetCursorPos(&p);
            ActivateHint(p);
        } else if (m.WParam == kHintHideTimer) {
            KillTimer(handle_, kHintHideTimer);
            HideHint();
        }
        return;
    case WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) == SC_MINIMIZE) return Minimize();
        if ((m.WParam & 0xFFF0) == SC_RESTORE) return Restore();
        break;
    case WM_CLOSE:
        if (mainForm_) mainForm_->Close();
        return;
    default:
        break;
    }
    m.Result = DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
}

TIcon* TApplication::Icon() {
    if (!icon_) icon_ = std::make_unique<TIcon>();
    return icon_.get();
}

std::string TApplication::ExeName() const {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

void TApplication::Terminate() {
    terminated_ = true;
    PostMessage(nullptr, WM_NULL, 0, 0); // wakes a waiting loop
}

void TApplication::FormDestroyed(TCustomForm* form) {
    if (mainForm_ == form) mainForm_ = nullptr;
    if (hintControl_ && GetParentForm(hintControl_) == form) CancelHint();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == hintWindow_) hintWindow_ = nullptr, hintShowing_ = false;
    if (component == mainForm_) mainForm_ = nullptr;
}

// ---- the loop

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYDOWN || msg.message > WM_SYSCHAR) return false;
    TWinControl* c = FindControl(msg.hwnd);
    if (!c) return false;
    return c->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (hintWindow_ && hintShowing_ && hintWindow_->IsHintMsg(msg)) CancelHint();
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    if (!handled && !IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return true;
}

void TApplication::Idle() {
    FreeDeviceContexts();
    bool done = true;
    if (OnIdle) OnIdle(this, done);
    if (os::CheckSynchronize(0)) done = false;
    if (done) WaitMessage();
}

void TApplication::HandleMessage() {
    os::CheckSynchronize(0);
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::ProcessMessages() {
    MSG msg;
    do {
        os::CheckSynchronize(0);
    } while (ProcessMessage(msg));
}

void TApplication::Run() {
    SetMessageExceptionHandler([this](std::exception_ptr e) { HandleException(e); });
    if (mainForm_ && ShowMainForm) mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }
    SetMessageExceptionHandler(nullptr);
}

void TApplication::Minimize() {
    if (minimized_) return;
    minimized_ = true;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->HandleAllocated() && !f->Parent() && !f->ParentWindow() && IsWindowVisible(f->Handle()))
            ShowWindow(f->Handle(), SW_HIDE), hidden_.push_back(f->Handle());
    }
    SendMessage(Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (!minimized_) return;
    minimized_ = false;
    SendMessage(Handle(), WM_SIZE, SIZE_RESTORED, 0);
    for (HWND h : hidden_)
        if (IsWindow(h)) ShowWindow(h, SW_SHOWNA);
    hidden_.clear();
    if (mainForm_ && mainForm_->HandleAllocated()) SetActiveWindow(mainForm_->Handle());
    if (OnRestore) OnRestore(this);
}

// ---- messages and exceptions

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    auto form = std::make_unique<TMessageForm>(this, text, caption.empty() ? Title : caption, flags);
    form->ShowModal();
    return IDOK;
}

void TApplication::HandleException(std::exception_ptr e) {
    if (OnException) return OnException(this, e);
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        ShowException(ex);
    } catch (...) {
        MessageBox("Unknown exception", Title, MB_ICONERROR);
    }
}

void TApplication::ShowException(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && text.back() != '.') text += '.';
    MessageBox(text, Title, MB_ICONERROR);
}

// ---- hints

void TApplication::SetShowHint(bool value) {
    if (showHint_ == value) return;
    showHint_ = value;
    CancelHint();
    delete hintWindow_;
    hintWindow_ = nullptr;
    if (value) MakeHintWindow();
}

// The window is ours, but whoever frees our components frees it too: we hear of that.
void TApplication::MakeHintWindow() {
    hintWindow_ = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
    hintWindow_->FreeNotification(this);
}

void TApplication::MouseControlChanged(TControl* control) {
    TControl* c = control;
    while (c && !c->ShowHint()) c = c->Parent();
    // An empty hint still goes on: CM_HINTSHOW or OnShowHint may give the text.
    if (!showHint_ || !c) {
        if (hintControl_) CancelHint();
        return;
    }
    if (c == hintControl_) return;
    bool wasShowing = hintShowing_;
    HideHint();
    KillTimer(Handle(), kHintHideTimer);
    hintControl_ = c;
    SetTimer(Handle(), kHintShowTimer, wasShowing ? HintShortPause : HintPause, nullptr);
}

void TApplication::ActivateHint(TPoint cursorPos) {
    TControl* c = hintControl_;
    if (!c || !showHint_) return;
    if (!hintWindow_) MakeHintWindow();
    THintInfo info;
    info.HintControl = c;
    info.HintWindowClass = hintWindow_;
    info.HintPos = {cursorPos.x, cursorPos.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3};
    info.HintMaxWidth = Screen->Width();
    info.HintColor = HintColor;
    info.CursorRect = c->ClientRect();
    info.CursorPos = c->ScreenToClient(cursorPos);
    info.HideTimeout = HintHidePause;
    info.HintStr = ShortHint(c->Hint);
    bool canShow = c->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info); // a refusal is final
    if (!canShow || info.HintStr.empty()) return;
    TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(&r, info.HintPos.x, info.HintPos.y);
    hintWindow_->SetColor(info.HintColor);
    hintWindow_->ActivateHintData(r, info.HintStr, info.HintData);
    hintShowing_ = true;
    if (info.HideTimeout > 0)
        SetTimer(Handle(), kHintHideTimer, static_cast<UINT>(info.HideTimeout), nullptr);
}

void TApplication::HideHint() {
    if (hintWindow_ && hintWindow_->HandleAllocated()) ShowWindow(hintWindow_->Handle(), SW_HIDE);
    hintShowing_ = false;
}

void TApplication::CancelHint() {
    if (handle_) KillTimer(handle_, kHintShowTimer), KillTimer(handle_, kHintHideTimer);
    HideHint();
    hintControl_ = nullptr;
}

} // namespace gui
