#include "shell/NotifyIcon.h"

#include "display/headless/Headless.h"
#include "shell/TrayDock.h"
#include "win/Message.h"
#include "win/Window.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace shell {
namespace {

std::mutex g_lock;
std::vector<NotifyArea::Icon> g_icons;
std::vector<NotifyArea::Call> g_calls;
NotifyArea::Backend g_backend;

std::string Field(const char* text, size_t size) {
    return std::string(text, strnlen(text, size));
}

std::vector<NotifyArea::Icon>::iterator FindIcon(HWND hwnd, UINT id) {
    return std::find_if(g_icons.begin(), g_icons.end(),
                        [&](const NotifyArea::Icon& i) { return i.hwnd == hwnd && i.id == id; });
}

// The fields that uFlags names, as the shell takes them.
void Apply(NotifyArea::Icon& icon, const NOTIFYICONDATA& d) {
    if (d.uFlags & NIF_MESSAGE) icon.callbackMessage = d.uCallbackMessage;
    if (d.uFlags & NIF_ICON) icon.icon = d.hIcon;
    if (d.uFlags & NIF_TIP) icon.tip = Field(d.szTip, sizeof d.szTip);
    if (d.uFlags & NIF_INFO) {
        icon.info = Field(d.szInfo, sizeof d.szInfo);
        icon.infoTitle = Field(d.szInfoTitle, sizeof d.szInfoTitle);
        icon.infoFlags = d.dwInfoFlags;
    }
}

BOOL Post(HWND hwnd, UINT id, LPARAM what) {
    UINT msg = 0;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = FindIcon(hwnd, id);
        if (it == g_icons.end() || it->callbackMessage == 0) return FALSE;
        msg = it->callbackMessage;
    }
    return PostMessage(hwnd, msg, id, what);
}

} // namespace

std::vector<NotifyArea::Icon> NotifyArea::Icons() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_icons;
}

std::vector<NotifyArea::Call> NotifyArea::Calls() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_calls;
}

void NotifyArea::Clear() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_icons.clear();
    g_calls.clear();
}

BOOL NotifyArea::Mouse(HWND hwnd, UINT id, UINT mouseMessage) {
    return Post(hwnd, id, static_cast<LPARAM>(mouseMessage));
}

BOOL NotifyArea::BalloonClick(HWND hwnd, UINT id) {
    return Post(hwnd, id, NIN_BALLOONUSERCLICK);
}

void NotifyArea::RestartTaskbar() {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_icons.clear();
    }
    static const UINT created = RegisterWindowMessage("TaskbarCreated");
    EnumWindows(
        [](HWND h, LPARAM) -> BOOL {
            PostMessage(h, created, 0, 0);
            return TRUE;
        },
        0);
}

void NotifyArea::SetBackend(Backend backend) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_backend = std::move(backend);
}

} // namespace shell

BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data) {
    using shell::NotifyArea;
    if (!data) return FALSE;
    // On a real desktop the icons go to its system tray, unless the program
    // chose a backend of its own first.
    static std::once_flag chosen;
    std::call_once(chosen, [] {
        bool own = false;
        {
            std::lock_guard<std::mutex> lock(shell::g_lock);
            own = static_cast<bool>(shell::g_backend);
        }
        if (!own && !display::HeadlessDisplay()) shell::TrayDock::Install();
    });
    NotifyArea::Backend backend;
    NotifyArea::Icon changed;
    BOOL result = FALSE;
    {
        std::lock_guard<std::mutex> lock(shell::g_lock);
        auto it = shell::FindIcon(data->hWnd, data->uID);
        switch (message) {
        case NIM_ADD:
            if (it == shell::g_icons.end() && data->hWnd) {
                NotifyArea::Icon icon;
                icon.hwnd = data->hWnd;
                icon.id = data->uID;
                shell::Apply(icon, *data);
                shell::g_icons.push_back(icon);
                changed = icon;
                result = TRUE;
            }
            break;
        case NIM_MODIFY:
            if (it != shell::g_icons.end()) {
                shell::Apply(*it, *data);
                changed = *it;
                result = TRUE;
            }
            break;
        case NIM_DELETE:
            if (it != shell::g_icons.end()) {
                changed = *it;
                shell::g_icons.erase(it);
                result = TRUE;
            }
            break;
        default:
            break;
        }
        shell::g_calls.push_back({message, *data, result});
        backend = shell::g_backend;
    }
    if (result && backend && !backend(message, changed, data->uFlags) && message == NIM_ADD) {
        // The desktop has nowhere to show it: the icon is not there, and the caller is told.
        std::lock_guard<std::mutex> lock(shell::g_lock);
        auto it = shell::FindIcon(data->hWnd, data->uID);
        if (it != shell::g_icons.end()) shell::g_icons.erase(it);
        if (!shell::g_calls.empty()) shell::g_calls.back().result = FALSE;
        result = FALSE;
    }
    return result;
}
