#pragma once
// Native controls in a plain top-level host window, headless on the virtual
// clock: input is injected at screen points, the host records the notices
// its children send and can answer colour and measure requests.
#include "controls/CommCtrl.h"
#include "display/headless/Headless.h"
#include "gdi/Bitmap.h"
#include "os/Clock.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct Notice {
    HWND from;
    UINT msg; // WM_COMMAND or WM_NOTIFY
    int code; // the notice code
};

struct ScrollNotice {
    HWND from;
    UINT msg; // WM_VSCROLL or WM_HSCROLL
    int code, pos;
};

inline std::vector<Notice> g_notices;
inline std::vector<ScrollNotice> g_scrolls;
inline std::vector<DRAWITEMSTRUCT> g_drawn;
inline HBRUSH g_editBrush = nullptr;
inline int g_measureHeight = 0;
inline std::function<LRESULT(NMHDR*)> g_onNotify;

inline LRESULT HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_COMMAND:
        g_notices.push_back({reinterpret_cast<HWND>(l), m, HIWORD(w)});
        return 0;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(l);
        g_notices.push_back({hdr->hwndFrom, m, static_cast<int>(hdr->code)});
        return g_onNotify ? g_onNotify(hdr) : 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        g_scrolls.push_back({reinterpret_cast<HWND>(l), m, LOWORD(w), static_cast<int16_t>(HIWORD(w))});
        return 0;
    case WM_DRAWITEM:
        g_drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(l));
        return TRUE;
    case WM_MEASUREITEM:
        if (g_measureHeight) reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = g_measureHeight;
        return TRUE;
    case WM_CTLCOLOREDIT:
        if (g_editBrush) return reinterpret_cast<LRESULT>(g_editBrush);
        break;
    default:
        break;
    }
    return DefWindowProc(h, m, w, l);
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::VirtualClock::Enable(1000);
        InitCommonControls();
        static bool registered = [] {
            WNDCLASS wc{};
            wc.lpfnWndProc = HostProc;
            wc.lpszClassName = "CtlHost";
            RegisterClass(&wc);
            return true;
        }();
        (void)registered;
        g_notices.clear();
        g_drawn.clear();
        g_scrolls.clear();
        g_editBrush = nullptr;
        g_measureHeight = 0;
        g_onNotify = nullptr;
        D().SetIdleHandler(nullptr);
        host = CreateWindowEx(0, "CtlHost", "host", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr,
                              nullptr, nullptr, nullptr);
        SetActiveWindow(host);
        Run();
    }
    void TearDown() override {
        DestroyWindow(host);
        Run();
        g_onNotify = nullptr;
        os::VirtualClock::Disable();
    }
    HWND Make(const char* cls, DWORD style, int x, int y, int w, int h, const char* text = "", int id = 7) {
        return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, host,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    }
    static display::Headless& D() { return *display::HeadlessDisplay(); }
    static void Run() { win::RunUntilIdle(); }
    // Moves the virtual clock in small steps, dispatching whatever falls due on the way.
    static void Advance(int ms) {
        for (int t = 0; t < ms; t += 10) {
            os::VirtualClock::Advance(static_cast<uint64_t>(std::min(10, ms - t)));
            Run();
        }
    }
    static POINT Screen(HWND h, int x, int y) {
        POINT p{x, y};
        ClientToScreen(h, &p);
        return p;
    }
    static void Click(HWND h, int x, int y) {
        POINT p = Screen(h, x, y);
        D().Click(p.x, p.y);
        Run();
    }
    static void DoubleClick(HWND h, int x, int y) {
        Click(h, x, y);
        Click(h, x, y);
    }
    static void Key(int vk, int modifier = 0) {
        if (modifier) D().KeyDown(modifier);
        D().Key(vk);
        if (modifier) D().KeyUp(modifier);
        Run();
    }
    static void Type(const std::u32string& s) {
        D().Type(s);
        Run();
    }
    static std::string Text(HWND h) { return GetWindowTextString(h); }
    // The notice codes one control sent, in order.
    static std::vector<int> Codes(HWND from) {
        std::vector<int> out;
        for (const Notice& n : g_notices)
            if (n.from == from) out.push_back(n.code);
        return out;
    }
    static bool Sent(HWND from, int code) {
        for (const Notice& n : g_notices)
            if (n.from == from && n.code == code) return true;
        return false;
    }
    // The colour at a client point of a child, read from the host's surface.
    COLORREF PixelAt(HWND child, int x, int y) const {
        Run();
        POINT s = Screen(child, x, y);
        RECT wr;
        GetWindowRect(host, &wr);
        const gdi::Bitmap* b = win::GetWindowSurface(host);
        if (!b) return CLR_INVALID;
        uint32_t v = b->View().Get(s.x - wr.left, s.y - wr.top);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    HWND host = nullptr;
};
