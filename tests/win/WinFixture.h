#pragma once
// A window class that records the messages it gets and lets a test answer
// some of them; everything else goes to DefWindowProc.
#include "display/headless/Headless.h"
#include "os/Clock.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Messages.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <vector>

struct Rec {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

inline std::vector<Rec> g_log;
inline std::map<UINT, std::function<bool(HWND, WPARAM, LPARAM, LRESULT&)>> g_answer;

inline LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    g_log.push_back({h, m, w, l});
    auto it = g_answer.find(m);
    LRESULT r = 0;
    if (it != g_answer.end() && it->second(h, w, l, r)) return r;
    return DefWindowProc(h, m, w, l);
}

class WinTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::VirtualClock::Enable(1000);
        static bool registered = [] {
            WNDCLASS wc{};
            wc.lpfnWndProc = RecordingProc;
            wc.lpszClassName = "Rec";
            wc.style = CS_DBLCLKS;
            RegisterClass(&wc);
            return true;
        }();
        (void)registered;
        g_log.clear();
        g_answer.clear();
        display::HeadlessDisplay()->SetIdleHandler(nullptr);
    }
    void TearDown() override {
        for (HWND h : made) DestroyWindow(h);
        win::RunUntilIdle();
        g_answer.clear();
        os::VirtualClock::Disable();
    }
    HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD ex = 0) {
        HWND hw = CreateWindowEx(ex, "Rec", "t", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
        if (!parent || !(style & WS_CHILD)) made.push_back(hw);
        return hw;
    }
    // The messages of one window, in order.
    static std::vector<UINT> Of(HWND h, std::initializer_list<UINT> only = {}) {
        std::vector<UINT> out;
        for (const Rec& r : g_log)
            if (r.hwnd == h && (only.size() == 0 || std::find(only.begin(), only.end(), r.msg) != only.end()))
                out.push_back(r.msg);
        return out;
    }
    static const Rec* Last(HWND h, UINT msg) {
        for (auto it = g_log.rbegin(); it != g_log.rend(); ++it)
            if (it->hwnd == h && it->msg == msg) return &*it;
        return nullptr;
    }
    display::Headless& D() { return *display::HeadlessDisplay(); }
    std::vector<HWND> made;
};
