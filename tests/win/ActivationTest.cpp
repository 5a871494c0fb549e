// Activation, focus and the modes that clicks, disabling and modal loops end.
#include "WinFixture.h"

#include <utility>

namespace {

using Step = std::pair<HWND, UINT>;

std::vector<Step> Steps(std::initializer_list<UINT> only) {
    std::vector<Step> out;
    for (const Rec& r : g_log)
        if (std::find(only.begin(), only.end(), r.msg) != only.end()) out.push_back({r.hwnd, r.msg});
    return out;
}

} // namespace

TEST_F(WinTest, FocusMovesAsTheNewWindowIsActivated) {
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND field = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, a);
    HWND b = Make(WS_OVERLAPPEDWINDOW, 300, 0, 200, 200);
    SetFocus(field);
    g_log.clear();
    ShowWindow(b, SW_SHOW);
    std::vector<Step> want = {
        {a,     WM_NCACTIVATE},
        {a,     WM_ACTIVATE  },
        {b,     WM_NCACTIVATE},
        {b,     WM_ACTIVATE  },
        {field, WM_KILLFOCUS },
        {b,     WM_SETFOCUS  },
    };
    EXPECT_EQ(Steps({WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS}), want);
    EXPECT_EQ(Last(field, WM_KILLFOCUS)->wp, reinterpret_cast<WPARAM>(b)); // where the focus goes
    EXPECT_EQ(Last(b, WM_SETFOCUS)->wp, reinterpret_cast<WPARAM>(field));  // where it came from

    // A window that takes no focus when activated leaves none: the old focus
    // hears of it after the activation, with no window to name.
    g_answer[WM_ACTIVATE] = [a](HWND h, WPARAM, LPARAM, LRESULT&) { return h == a; };
    g_log.clear();
    SetActiveWindow(a);
    EXPECT_EQ(Steps({
                  WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS
    }),
              (std::vector<Step>{{b, WM_ACTIVATE}, {a, WM_ACTIVATE}, {b, WM_KILLFOCUS}}));
    EXPECT_EQ(Last(b, WM_KILLFOCUS)->wp, 0u);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(WinTest, ClosingTheActiveWindowActivatesTheOwnerOrTheNextNormalWindow) {
    struct Case {
        const char* name;
        bool owned;
        bool destroy; // else hidden
    } cases[] = {
        {"owned dialog destroyed", true,  true },
        {"owned dialog hidden",    true,  false},
        {"free window destroyed",  false, true },
        {"free window hidden",     false, false},
    };
    for (const Case& c : cases) {
        HWND main = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300);
        HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 0, 300, 300);
        // A menu and a hint in front of everything; neither ever takes activation.
        HWND menu = Make(WS_POPUP, 10, 10, 50, 50, nullptr, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
        HWND hint =
            Make(WS_POPUP, 70, 10, 50, 50, nullptr, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
        ShowWindow(menu, SW_SHOWNA);
        ShowWindow(hint, SW_SHOWNA);
        HWND dialog = Make(WS_OVERLAPPEDWINDOW, 50, 50, 100, 100, c.owned ? main : nullptr);
        ShowWindow(dialog, SW_SHOW);
        ASSERT_EQ(GetActiveWindow(), dialog) << c.name;
        if (c.destroy)
            DestroyWindow(dialog);
        else
            ShowWindow(dialog, SW_HIDE);
        // The owner even when another window lies in front of it; else the
        // frontmost normal window.
        EXPECT_EQ(GetActiveWindow(), c.owned ? main : other) << c.name;
        for (HWND h : {dialog, hint, menu, other, main}) DestroyWindow(h);
        made.clear();
    }
}

TEST_F(WinTest, OwnedWindowsStayAboveTheirOwner) {
    HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300);
    HWND palette = Make(WS_POPUP | WS_CAPTION, 310, 0, 100, 100, owner);
    HWND tool = Make(WS_POPUP | WS_CAPTION, 310, 110, 100, 100, owner);
    ShowWindow(tool, SW_SHOWNA);
    ShowWindow(palette, SW_SHOWNA);
    HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 500);
    ASSERT_EQ(GetTopWindow(nullptr), other);
    SetActiveWindow(owner);
    // Front to back: the owned windows in their own order, then the owner.
    std::vector<HWND> order;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
    EXPECT_EQ(order, (std::vector<HWND>{tool, palette, owner, other}));
    EXPECT_EQ(WindowFromPoint({320, 10}), palette);
}

TEST_F(WinTest, ClickOnAChildOfTheActiveWindowAsksForMouseActivation) {
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 50, 50, 50, 50, top);
    HWND other = Make(WS_POPUP | WS_VISIBLE, 300, 0, 100, 100);
    win::RunUntilIdle();
    ASSERT_EQ(GetActiveWindow(), other);
    const std::initializer_list<UINT> mouse = {WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN};
    struct Case {
        const char* name;
        POINT at;
        HWND target;
        std::vector<UINT> want;
    } cases[] = {
  // An inactive window: activation is asked before the cursor is set.
        {"inactive window",        {10, 10}, top,   {WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN}},
 // The active window itself: nothing to ask.
        {"active window",          {10, 10}, top,   {WM_SETCURSOR, WM_LBUTTONDOWN}                  },
 // A child of the active window is asked every time (menus close on it).
        {"child of active window", {60, 60}, child, {WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN}},
    };
    for (const Case& c : cases) {
        os::VirtualClock::Advance(1000); // no double clicks
        g_log.clear();
        D().MoveMouse(c.at.x, c.at.y);
        D().Press();
        D().Release();
        win::RunUntilIdle();
        std::vector<UINT> got;
        for (const Rec& r : g_log)
            if (r.hwnd == c.target && std::find(mouse.begin(), mouse.end(), r.msg) != mouse.end() &&
                (r.msg != WM_SETCURSOR || HIWORD(static_cast<uintptr_t>(r.lp)) == WM_LBUTTONDOWN))
                got.push_back(r.msg);
        EXPECT_EQ(got, c.want) << c.name;
        EXPECT_EQ(GetActiveWindow(), top) << c.name;
    }
    // A child asked first hands the question to its parent by default.
    const Rec* asked = Last(top, WM_MOUSEACTIVATE);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->wp, reinterpret_cast<WPARAM>(top));
}

TEST_F(WinTest, CancelModeEndsCaptureAndFocusOnDisablingAndModalLoops) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    HWND button = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, h);
    HWND field = Make(WS_CHILD | WS_VISIBLE, 10, 40, 50, 20, h);
    struct Case {
        const char* name;
        HWND target;
        bool capture;
        std::vector<UINT> want;
    } cases[] = {
        {"capture window", button, true,  {WM_CANCELMODE, WM_CAPTURECHANGED, WM_ENABLE}},
        {"focus window",   field,  false, {WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}     },
    };
    for (const Case& c : cases) {
        if (c.capture)
            SetCapture(c.target);
        else
            SetFocus(c.target);
        g_log.clear();
        EnableWindow(c.target, FALSE);
        EXPECT_EQ(Of(c.target, {WM_CANCELMODE, WM_CAPTURECHANGED, WM_KILLFOCUS, WM_ENABLE}), c.want)
            << c.name;
        EXPECT_EQ(GetCapture(), nullptr) << c.name;
        EXPECT_NE(GetFocus(), c.target) << c.name;
        EnableWindow(c.target, TRUE);
    }

    // An open menu holds the capture; a move loop starting cancels it first.
    HWND menu = Make(WS_POPUP, 0, 0, 50, 50, h, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ShowWindow(menu, SW_SHOWNA);
    SetCapture(menu);
    g_log.clear();
    D().MoveMouse(200, 110);
    D().Release(); // ends the loop at once
    SendMessage(h, WM_SYSCOMMAND, SC_MOVE | UINT(HTCAPTION), 0);
    EXPECT_EQ(Of(menu, {WM_CANCELMODE, WM_CAPTURECHANGED}),
              (std::vector<UINT>{WM_CANCELMODE, WM_CAPTURECHANGED}));
    EXPECT_EQ(Of(h, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}),
              (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
}

TEST_F(WinTest, EscCancelsADragWhileAChildHasTheFocus) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    HWND field = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, h);
    SetFocus(field);
    win::RunUntilIdle();
    g_log.clear();
    D().MoveMouse(200, 110);
    D().Press();
    D().MoveMouse(260, 170);
    D().KeyDown(VK_ESCAPE);
    D().KeyUp(VK_ESCAPE);
    D().MoveMouse(300, 200); // the loop has ended: no longer dragged
    D().Release();
    win::RunUntilIdle();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{100, 100, 400, 300}));
    EXPECT_NE(Last(h, WM_EXITSIZEMOVE), nullptr);
    // The loop took the key for the whole thread.
    EXPECT_EQ(Of(field, {WM_KEYDOWN, WM_CHAR}).size(), 0u);
    EXPECT_EQ(GetFocus(), field);
}

TEST_F(WinTest, MoveAndSizeCommandsWithoutAPointStartWhereTheWindowIs) {
    struct Case {
        const char* name;
        WPARAM command;
        RECT want;
    } cases[] = {
        {"move", SC_MOVE | UINT(HTCAPTION),   {120, 110, 420, 310}},
        {"size", SC_SIZE | UINT(WMSZ_RIGHT),  {100, 100, 420, 300}},
        {"size", SC_SIZE | UINT(WMSZ_BOTTOM), {100, 100, 400, 310}},
    };
    for (const Case& c : cases) {
        HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        D().MoveMouse(700, 500); // far from the window
        win::RunUntilIdle();
        D().MoveMouse(720, 510);
        D().Release();
        SendMessage(h, WM_SYSCOMMAND, c.command, 0); // as a skin's caption drag sends it
        RECT r;
        GetWindowRect(h, &r);
        EXPECT_EQ(r, c.want) << c.name;
        DestroyWindow(h);
        made.clear();
    }
}
