#include "WinFixture.h"

#include "gdi/Icon.h"
#include "win/System.h"

TEST_F(WinTest, CaptionDragRunsTheMoveLoop) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    win::RunUntilIdle();
    g_log.clear();
    // Every WM_MOVING is pulled 1 pixel left, as a snapping skin would.
    g_answer[WM_MOVING] = [](HWND, WPARAM, LPARAM lp, LRESULT&) {
        OffsetRect(reinterpret_cast<RECT*>(lp), -1, 0);
        return false;
    };
    D().MoveMouse(200, 110); // on the caption
    D().Press();
    D().MoveMouse(230, 150);
    D().MoveMouse(250, 160);
    D().Release();
    win::RunUntilIdle();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{149, 150, 449, 350}));
    std::vector<UINT> seq =
        Of(h, {WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVE, WM_EXITSIZEMOVE});
    std::vector<UINT> want = {WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING,      WM_MOVE,
                              WM_MOVING,        WM_MOVE,       WM_MOVING,        WM_EXITSIZEMOVE};
    EXPECT_EQ(seq, want);
    EXPECT_EQ(Last(h, WM_NCLBUTTONDOWN)->wp, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(Last(h, WM_SYSCOMMAND)->wp & 0xFFF0, SC_MOVE);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WinTest, EdgeResizeClampsToMinMaxAndEscCancels) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    win::RunUntilIdle();
    g_answer[WM_GETMINMAXINFO] = [](HWND, WPARAM, LPARAM lp, LRESULT&) {
        auto* m = reinterpret_cast<MINMAXINFO*>(lp);
        m->ptMinTrackSize = {250, 150};
        m->ptMaxTrackSize = {400, 300};
        return true;
    };
    g_log.clear();
    D().MoveMouse(399, 200); // right edge
    D().Press();
    D().MoveMouse(600, 200); // far beyond the maximum
    D().Release();
    win::RunUntilIdle();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{100, 100, 500, 300}));
    const Rec* sizing = Last(h, WM_SIZING);
    ASSERT_NE(sizing, nullptr);
    EXPECT_EQ(sizing->wp, static_cast<WPARAM>(WMSZ_RIGHT));
    EXPECT_EQ(Of(h, {WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_SIZING}).front(),
              static_cast<UINT>(WM_ENTERSIZEMOVE));
    const Rec* size = Last(h, WM_SIZE);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(LOWORD(size->lp), 400 - 8);

    // The left edge, dragged inward past the minimum, stops with the right edge fixed; Esc puts it back.
    D().MoveMouse(100, 200);
    D().Press();
    D().MoveMouse(400, 200);
    D().KeyDown(VK_ESCAPE);
    D().KeyUp(VK_ESCAPE);
    D().Release();
    win::RunUntilIdle();
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{100, 100, 500, 300}));
    bool sawMin = false;
    for (const Rec& rec : g_log)
        if (rec.hwnd == h && rec.msg == WM_SIZING) {
            auto* rr = reinterpret_cast<RECT*>(rec.lp);
            (void)rr; // the rectangle lives on the loop's stack; its size was checked through WM_SIZE
        }
    for (const Rec& rec : g_log)
        if (rec.hwnd == h && rec.msg == WM_SIZE && LOWORD(rec.lp) == 250 - 8) sawMin = true;
    EXPECT_TRUE(sawMin);
}

TEST_F(WinTest, AltAloneAndAltSpaceGiveKeyMenu) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    win::RunUntilIdle();
    g_log.clear();
    D().Key(VK_MENU);
    win::RunUntilIdle();
    const Rec* sc = Last(h, WM_SYSCOMMAND);
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(sc->wp, static_cast<WPARAM>(SC_KEYMENU));
    EXPECT_EQ(sc->lp, 0);
    g_log.clear();
    D().KeyDown(VK_MENU);
    D().Key(VK_SPACE);
    D().KeyUp(VK_MENU);
    win::RunUntilIdle();
    std::vector<LPARAM> keymenus;
    for (const Rec& r : g_log)
        if (r.hwnd == h && r.msg == WM_SYSCOMMAND && r.wp == SC_KEYMENU) keymenus.push_back(r.lp);
    EXPECT_EQ(keymenus, std::vector<LPARAM>{' '}); // Alt released after Space is no longer alone
    // Alt+F4 closes.
    D().KeyDown(VK_MENU);
    D().Key(VK_F4);
    D().KeyUp(VK_MENU);
    win::RunUntilIdle();
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(WinTest, CaptureMakesAReleaseOutsideAClientMessage) {
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    g_answer[WM_LBUTTONDOWN] = [](HWND w, WPARAM, LPARAM, LRESULT&) {
        SetCapture(w);
        return true;
    };
    D().Click(10, 10);
    D().MoveMouse(10, 10);
    D().Press();
    D().MoveMouse(-30, 500);
    D().Release();
    win::RunUntilIdle();
    const Rec* up = Last(h, WM_LBUTTONUP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(GET_X_LPARAM(up->lp), -30);
    EXPECT_EQ(GET_Y_LPARAM(up->lp), 500);
    EXPECT_EQ(Of(h, {WM_NCLBUTTONUP, WM_NCMOUSEMOVE}).size(), 0u);
    ReleaseCapture();
    // The second press came quickly at the same place: a double click (the class has CS_DBLCLKS).
    EXPECT_NE(Last(h, WM_LBUTTONDBLCLK), nullptr);
}

TEST_F(WinTest, NoActivateKeepsTheOwnerActive) {
    HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND popup = Make(WS_POPUP, 300, 300, 50, 50, owner);
    ShowWindow(popup, SW_SHOWNA);
    EXPECT_EQ(GetActiveWindow(), owner);
    g_answer[WM_MOUSEACTIVATE] = [popup](HWND w, WPARAM, LPARAM, LRESULT& r) {
        if (w != popup) return false;
        r = MA_NOACTIVATE;
        return true;
    };
    D().Click(310, 310);
    win::RunUntilIdle();
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_NE(Last(popup, WM_LBUTTONDOWN), nullptr); // the click still arrives
    EXPECT_EQ(Of(popup, {WM_ACTIVATE}).size(), 0u);
    // Without the answer a click activates.
    g_answer.erase(WM_MOUSEACTIVATE);
    D().Click(310, 310);
    win::RunUntilIdle();
    EXPECT_EQ(GetActiveWindow(), popup);
    EXPECT_EQ(Last(popup, WM_ACTIVATE)->wp, static_cast<WPARAM>(WA_CLICKACTIVE));
}

TEST_F(WinTest, HitCodesPassThroughUntouched) {
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    g_answer[WM_NCHITTEST] = [](HWND, WPARAM, LPARAM lp, LRESULT& r) {
        r = GET_X_LPARAM(lp) < 50 ? 119 : HTOBJECT;
        return true;
    };
    D().Click(10, 10);
    D().MoveMouse(70, 10);
    win::RunUntilIdle();
    EXPECT_EQ(Last(h, WM_NCLBUTTONDOWN)->wp, 119u);
    EXPECT_EQ(LOWORD(static_cast<uintptr_t>(Last(h, WM_SETCURSOR)->lp)), HTOBJECT);
    EXPECT_EQ(Last(h, WM_NCMOUSEMOVE)->wp, static_cast<WPARAM>(HTOBJECT));
    EXPECT_TRUE(IsWindow(h)); // codes without a default action do nothing harmful
}

TEST_F(WinTest, TextAndHookAndMonitors) {
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    win::RunUntilIdle();
    int hooked = 0;
    win::SetMessageHook([&](MSG& m) {
        if (m.message == WM_CHAR && m.wParam == U'吃') {
            ++hooked;
            return true; // swallowed
        }
        return false;
    });
    D().Type(U"a吃😀");
    win::RunUntilIdle();
    win::SetMessageHook(nullptr);
    std::vector<WPARAM> chars;
    for (const Rec& r : g_log)
        if (r.hwnd == h && r.msg == WM_CHAR) chars.push_back(r.wp);
    EXPECT_EQ(chars, (std::vector<WPARAM>{U'a', U'😀'}));
    EXPECT_EQ(hooked, 1);
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    EXPECT_TRUE(GetMonitorInfo(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &mi));
    EXPECT_EQ(mi.rcWork, (RECT{0, 0, 1280, 984}));
    EXPECT_EQ(GetVersion() & 0xFFFF, 0x0106u);
}

TEST_F(WinTest, DefaultCursorFollowsTheHitCodeAndTheClassCursor) {
    HWND h = Make(WS_POPUP | WS_THICKFRAME | WS_VISIBLE, 0, 0, 100, 100);
    win::RunUntilIdle();
    struct Case {
        int x, y;
        const char* shape;
    } cases[] = {
        {1,  50, IDC_SIZEWE  },
        {50, 1,  IDC_SIZENS  },
        {1,  1,  IDC_SIZENWSE},
        {98, 1,  IDC_SIZENESW},
        {50, 50, IDC_ARROW   },
    };
    for (const Case& c : cases) {
        D().MoveMouse(c.x, c.y);
        win::RunUntilIdle();
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, c.shape)) << c.x << "," << c.y;
    }
    // The class cursor wins in the client area only.
    LONG_PTR old =
        SetClassLongPtr(h, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_HAND)));
    D().MoveMouse(60, 60);
    win::RunUntilIdle();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    D().MoveMouse(1, 60);
    win::RunUntilIdle();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEWE));
    SetClassLongPtr(h, GCLP_HCURSOR, old);
}
