#pragma once
// The notification icons on a desktop with a system tray.  Each icon is a
// small window of ours docked in the tray: it draws the icon and turns the
// mouse on it into the icon's callback message.  The tip and the balloon are
// popups of our own beside it; a click on the balloon is reported as
// NIN_BALLOONUSERCLICK.  When a tray appears (or a new one replaces it) the
// docked icons are gone: the notification area forgets them and tells every
// top-level window "TaskbarCreated", as Windows does when its task bar
// restarts, so that the program adds its icon again.
#include "shell/NotifyIcon.h"

namespace shell {

class TrayDock {
public:
    // Becomes the notification area's backend.  Shell_NotifyIcon installs it
    // by itself on a real desktop when no other backend is set.
    static void Install();
    // The notification area's calls, as a backend sees them; false for an
    // icon the desktop has no tray for.
    static bool Apply(DWORD message, const NotifyArea::Icon& icon, UINT flags);

    // What is on the screen now, for tests: the window showing an icon, the
    // balloon and the tip (null: none).
    static HWND IconWindow(HWND hwnd, UINT id);
    static HWND BalloonWindow();
    static HWND TipWindow();
};

} // namespace shell
