#include "shell/TrayDock.h"

#include "display/Backend.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/Icon.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Messages.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <map>
#include <utility>

namespace shell {
namespace {

constexpr const char* kIconClass = "TarvikTrayIcon";
constexpr const char* kPopupClass = "TarvikTrayPopup";
constexpr int kIconSize = 22; // until the tray sizes it
constexpr uintptr_t kTipTimer = 1, kCloseTimer = 2;
constexpr UINT kTipDelayMs = 500, kTipShowMs = 5000, kBalloonShowMs = 10000;

using Key = std::pair<HWND, UINT>;

struct Entry {
    HWND window = nullptr;
    NotifyArea::Icon icon;
};

struct Popup {
    Key key{};
    bool balloon = false;
    std::string title, text;
    DWORD infoFlags = 0;
};

struct State {
    std::map<Key, Entry> icons;
    std::map<HWND, Popup> popups;
    HWND balloon = nullptr, tip = nullptr;
};

State& S() {
    static State s;
    return s;
}

Entry* EntryOf(HWND window) {
    for (auto& [key, e] : S().icons)
        if (e.window == window) return &e;
    return nullptr;
}

HFONT Font(bool bold) {
    static HFONT fonts[2] = {};
    HFONT& f = fonts[bold ? 1 : 0];
    if (!f) {
        LOGFONT lf{};
        GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        if (bold) lf.lfWeight = FW_BOLD;
        f = CreateFontIndirect(&lf);
    }
    return f;
}

HICON StockIconOf(DWORD infoFlags) {
    switch (infoFlags & 0xF) {
    case NIIF_INFO:
        return LoadIcon(nullptr, IDI_INFORMATION);
    case NIIF_WARNING:
        return LoadIcon(nullptr, IDI_WARNING);
    case NIIF_ERROR:
        return LoadIcon(nullptr, IDI_ERROR);
    default:
        return nullptr;
    }
}

// ---- the popups: the tip and the balloon

constexpr int kPad = 6, kGlyph = 16, kTextWidth = 260;

// The title line (balloons) and the text under it, relative to the popup's top-left corner.
void LayOut(HDC dc, const Popup& p, RECT& title, RECT& text, SIZE& size) {
    int left = kPad + (p.balloon && StockIconOf(p.infoFlags) ? kGlyph + 4 : 0);
    title = {left, kPad, left, kPad};
    if (p.balloon && !p.title.empty()) {
        title.right = left + kTextWidth;
        HGDIOBJ old = SelectObject(dc, Font(true));
        DrawText(dc, p.title.c_str(), -1, &title, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        title.bottom = std::max<LONG>(title.bottom, title.top + kGlyph);
    }
    text = {kPad, title.bottom + (title.bottom > title.top ? 4 : 0), kPad + kTextWidth, 0};
    text.bottom = text.top;
    HGDIOBJ old = SelectObject(dc, Font(false));
    DrawText(dc, p.text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    size.cx = std::max(title.right, text.right) + kPad;
    size.cy = std::max(title.bottom, text.bottom) + kPad;
}

LRESULT PopupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto it = S().popups.find(h);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (it != S().popups.end()) {
            const Popup& p = it->second;
            RECT r, title, text;
            GetClientRect(h, &r);
            FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
            FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
            SIZE size{};
            LayOut(dc, p, title, text, size);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            if (HICON glyph = p.balloon ? StockIconOf(p.infoFlags) : nullptr)
                DrawIconEx(dc, kPad, kPad, glyph, kGlyph, kGlyph, 0, nullptr, DI_NORMAL);
            HGDIOBJ old = SelectObject(dc, Font(true));
            if (p.balloon && !p.title.empty())
                DrawText(dc, p.title.c_str(), -1, &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            SelectObject(dc, Font(false));
            DrawText(dc, p.text.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
            SelectObject(dc, old);
        }
        EndPaint(h, &ps);
        return 0;
    }
    case WM_LBUTTONUP:
        if (it != S().popups.end() && it->second.balloon) {
            Key key = it->second.key;
            DestroyWindow(h);
            NotifyArea::BalloonClick(key.first, key.second);
            return 0;
        }
        DestroyWindow(h);
        return 0;
    case WM_TIMER:
        if (wp == kCloseTimer) DestroyWindow(h);
        return 0;
    case WM_NCDESTROY:
        if (S().balloon == h) S().balloon = nullptr;
        if (S().tip == h) S().tip = nullptr;
        S().popups.erase(h);
        break;
    default:
        break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void RegisterClasses();

// Beside the icon, inside the work area of its monitor: below an icon in the
// upper half of the screen, above one in the lower half.
HWND ShowPopup(Popup p, HWND iconWindow, UINT showMs) {
    RegisterClasses();
    HWND h = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kPopupClass, "", WS_POPUP, 0,
                            0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!h) return nullptr;
    S().popups[h] = p;
    HDC dc = GetDC(h);
    RECT title, text;
    SIZE size{};
    LayOut(dc, p, title, text, size);
    ReleaseDC(h, dc);
    RECT icon{};
    if (!iconWindow || !GetWindowRect(iconWindow, &icon) || IsRectEmpty(&icon)) {
        MONITORINFO mi{sizeof mi, {}, {}, 0};
        GetMonitorInfo(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
        icon = {mi.rcWork.right - 1, mi.rcWork.bottom - 1, mi.rcWork.right, mi.rcWork.bottom};
    }
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    GetMonitorInfo(MonitorFromRect(&icon, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& work = mi.rcWork;
    bool below = icon.top < (mi.rcMonitor.top + mi.rcMonitor.bottom) / 2;
    int x = icon.right - size.cx;
    int y = below ? icon.bottom + 2 : icon.top - 2 - size.cy;
    x = std::clamp<int>(x, work.left, std::max<int>(work.left, work.right - size.cx));
    y = std::clamp<int>(y, work.top, std::max<int>(work.top, work.bottom - size.cy));
    SetWindowPos(h, HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(h, kCloseTimer, showMs, nullptr);
    return h;
}

void CloseTip() {
    if (S().tip) DestroyWindow(S().tip);
}

void CloseBalloon() {
    if (S().balloon) DestroyWindow(S().balloon);
}

// ---- the icon in the tray

void Forward(HWND window, UINT mouseMessage) {
    Entry* e = EntryOf(window);
    if (!e) return;
    if (IsWindow(e->icon.hwnd)) {
        NotifyArea::Mouse(e->icon.hwnd, e->icon.id, mouseMessage);
        return;
    }
    // The program that added the icon is gone without taking it away: the
    // icon goes when the pointer finds it, as on Windows.
    NOTIFYICONDATA d{};
    d.cbSize = sizeof d;
    d.hWnd = e->icon.hwnd;
    d.uID = e->icon.id;
    Shell_NotifyIcon(NIM_DELETE, &d);
}

LRESULT IconProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r;
        GetClientRect(h, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        Entry* e = EntryOf(h);
        if (e && e->icon.icon) {
            // The icon as large as the tray makes room for, centred.
            int side = std::max<int>(1, std::min(r.right, r.bottom));
            DrawIconEx(dc, (r.right - side) / 2, (r.bottom - side) / 2, e->icon.icon, side, side, 0, nullptr,
                       DI_NORMAL);
        }
        EndPaint(h, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!S().tip) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
            TrackMouseEvent(&t);
            SetTimer(h, kTipTimer, kTipDelayMs, nullptr);
        }
        Forward(h, msg);
        return 0;
    case WM_MOUSELEAVE:
        KillTimer(h, kTipTimer);
        CloseTip();
        return 0;
    case WM_TIMER:
        if (wp == kTipTimer) {
            KillTimer(h, kTipTimer);
            Entry* e = EntryOf(h);
            // A balloon says more than the tip: it stays alone.
            if (e && !e->icon.tip.empty() && !S().tip && !S().balloon) {
                Popup p;
                p.key = {e->icon.hwnd, e->icon.id};
                p.text = e->icon.tip;
                S().tip = ShowPopup(p, h, kTipShowMs);
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        KillTimer(h, kTipTimer);
        CloseTip();
        Forward(h, msg);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        Forward(h, msg);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASS icon{};
    icon.style = CS_DBLCLKS;
    icon.lpfnWndProc = IconProc;
    icon.hCursor = LoadCursor(nullptr, IDC_ARROW);
    icon.lpszClassName = kIconClass;
    RegisterClass(&icon);
    WNDCLASS popup{};
    popup.lpfnWndProc = PopupProc;
    popup.hCursor = LoadCursor(nullptr, IDC_ARROW);
    popup.lpszClassName = kPopupClass;
    RegisterClass(&popup);
}

bool Add(const NotifyArea::Icon& icon) {
    RegisterClasses();
    HWND h = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kIconClass, icon.tip.c_str(), WS_POPUP, 0, 0,
                            kIconSize, kIconSize, nullptr, nullptr, nullptr, nullptr);
    if (!h) return false;
    // Docked before it is shown: the tray, not the window manager, maps it. Without a tray
    // the icon would be a stray window, and a form hidden behind it could never come back.
    if (!display::Current().DockInTray(reinterpret_cast<uintptr_t>(h))) {
        DestroyWindow(h);
        return false;
    }
    S().icons[{icon.hwnd, icon.id}] = {h, icon};
    ShowWindow(h, SW_SHOWNOACTIVATE);
    return true;
}

void ShowBalloon(const Entry& e) {
    CloseBalloon();
    // An empty text takes the balloon down, as on Windows.
    if (e.icon.info.empty()) return;
    CloseTip();
    Popup p;
    p.key = {e.icon.hwnd, e.icon.id};
    p.balloon = true;
    p.title = e.icon.infoTitle;
    p.text = e.icon.info;
    p.infoFlags = e.icon.infoFlags;
    S().balloon = ShowPopup(p, e.window, kBalloonShowMs);
}

void Remove(Key key) {
    auto it = S().icons.find(key);
    if (it == S().icons.end()) return;
    HWND h = it->second.window;
    S().icons.erase(it);
    for (HWND popup : {S().balloon, S().tip})
        if (popup && S().popups.count(popup) && S().popups[popup].key == key) DestroyWindow(popup);
    DestroyWindow(h);
}

void OnTrayCreated() {
    // What was docked in the old tray is gone; the program adds it again.
    std::vector<Key> keys;
    for (auto& [key, e] : S().icons) keys.push_back(key);
    for (const Key& key : keys) Remove(key);
    NotifyArea::RestartTaskbar();
}

} // namespace

void TrayDock::Install() {
    NotifyArea::SetBackend(&TrayDock::Apply);
    win::SetTrayCreatedHandler(OnTrayCreated);
}

bool TrayDock::Apply(DWORD message, const NotifyArea::Icon& icon, UINT flags) {
    Key key{icon.hwnd, icon.id};
    if (message == NIM_DELETE) {
        Remove(key);
        return true;
    }
    if (message == NIM_ADD && !Add(icon)) return false;
    auto it = S().icons.find(key);
    if (it == S().icons.end() || (message != NIM_ADD && message != NIM_MODIFY)) return true;
    Entry& e = it->second;
    e.icon = icon;
    InvalidateRect(e.window, nullptr, TRUE);
    if (flags & NIF_INFO) ShowBalloon(e);
    return true;
}

HWND TrayDock::IconWindow(HWND hwnd, UINT id) {
    auto it = S().icons.find({hwnd, id});
    return it == S().icons.end() ? nullptr : it->second.window;
}

HWND TrayDock::BalloonWindow() {
    return S().balloon;
}

HWND TrayDock::TipWindow() {
    return S().tip;
}

} // namespace shell
