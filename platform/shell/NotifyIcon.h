#pragma once
// The notification-area icon.  The notification area itself is a recorder
// here: it keeps the icons as the calls leave them and every call made, and
// plays the user's side (clicks, balloon clicks, a restarted task bar) for
// tests.  A desktop backend (the X11 system tray) hooks in beside it.
#include "win/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

constexpr DWORD NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1, NIF_ICON = 0x2, NIF_TIP = 0x4, NIF_STATE = 0x8, NIF_INFO = 0x10;
constexpr DWORD NIIF_NONE = 0, NIIF_INFO = 1, NIIF_WARNING = 2, NIIF_ERROR = 3;
// Sent with the icon's callback message when the user clicks a balloon.
constexpr UINT NIN_BALLOONUSERCLICK = 0x0400 + 5;

// Texts are UTF-8; the fields hold their character limits (tip 127,
// balloon 255, title 63) at up to four bytes a character.
struct NOTIFYICONDATA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char szTip[128 * 4];
    DWORD dwState;
    DWORD dwStateMask;
    char szInfo[256 * 4];
    union {
        UINT uTimeout;
        UINT uVersion;
    };
    char szInfoTitle[64 * 4];
    DWORD dwInfoFlags;
};

// Adding an icon that exists, or changing or deleting one that does not,
// fails, as Win32 does.
BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data);

namespace shell {

class NotifyArea {
public:
    struct Icon {
        HWND hwnd = nullptr;
        UINT id = 0;
        UINT callbackMessage = 0;
        HICON icon = nullptr;
        std::string tip, info, infoTitle;
        DWORD infoFlags = 0;
    };
    struct Call {
        DWORD message;
        NOTIFYICONDATA data;
        BOOL result;
    };

    static std::vector<Icon> Icons();
    static std::vector<Call> Calls();
    static void Clear(); // icons and calls, between tests

    // The user's side, posted to the icon's window as the shell posts it:
    // the callback message with the icon's id and the mouse message.
    static BOOL Mouse(HWND hwnd, UINT id, UINT mouseMessage);
    static BOOL BalloonClick(HWND hwnd, UINT id);
    // A restarted task bar: every icon is gone and each top-level window is
    // sent the registered "TaskbarCreated" message so it can add its icon
    // again.
    static void RestartTaskbar();

    // A desktop backend sees each call that succeeded here: the icon as the
    // call left it and the call's uFlags (a balloon shows again on each
    // NIF_INFO, even with the same text).  It answers whether the desktop
    // took the call: an icon it could not place (no tray) was not added.
    using Backend = std::function<bool(DWORD message, const Icon& icon, UINT flags)>;
    static void SetBackend(Backend backend);
};

} // namespace shell
