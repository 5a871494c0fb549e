#include "WinFixture.h"

#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "win/Paint.h"
#include "win/Timers.h"

TEST_F(WinTest, CreateShowActivateCloseSequence) {
    HWND other = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    g_log.clear();
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    std::vector<UINT> want = {WM_GETMINMAXINFO,
                              WM_NCCREATE,
                              WM_NCCALCSIZE,
                              WM_CREATE,
                              WM_SIZE,
                              WM_MOVE,
                              WM_SHOWWINDOW,
                              WM_WINDOWPOSCHANGING,
                              WM_WINDOWPOSCHANGED,
                              WM_WINDOWPOSCHANGING,
                              WM_WINDOWPOSCHANGED, // brought to the top
                              WM_NCACTIVATE,
                              WM_ACTIVATE,
                              WM_SETFOCUS};
    EXPECT_EQ(Of(h), want);
    EXPECT_EQ(Last(h, WM_SHOWWINDOW)->lp, 0); // lParam 0 for a show call
    EXPECT_EQ(Last(h, WM_ACTIVATE)->lp, reinterpret_cast<LPARAM>(other));
    // The old window heard of it first.
    EXPECT_EQ(Of(other, {WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}),
              (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}));
    EXPECT_EQ(Last(other, WM_ACTIVATE)->wp, static_cast<WPARAM>(WA_INACTIVE));
    EXPECT_EQ(GetActiveWindow(), h);
    EXPECT_EQ(GetFocus(), h);
    RECT c;
    GetClientRect(h, &c);
    EXPECT_EQ(c, (RECT{0, 0, 300 - 8, 200 - 8 - 19})); // thick frame and caption

    g_log.clear();
    PostMessage(h, WM_CLOSE, 0, 0);
    win::RunUntilIdle();
    EXPECT_FALSE(IsWindow(h));
    std::vector<UINT> closing =
        Of(h, {WM_CLOSE, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE, WM_DESTROY, WM_NCDESTROY});
    EXPECT_EQ(closing, (std::vector<UINT>{WM_CLOSE, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE,
                                          WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(GetActiveWindow(), other); // activation went back
}

TEST_F(WinTest, ChildCreationNotifiesParentAndDestroyOrder) {
    HWND top = Make(WS_POPUP, 0, 0, 100, 100);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top);
    const Rec* pn = Last(top, WM_PARENTNOTIFY);
    ASSERT_NE(pn, nullptr);
    EXPECT_EQ(LOWORD(pn->wp), WM_CREATE);
    EXPECT_EQ(pn->lp, reinterpret_cast<LPARAM>(child));
    g_log.clear();
    DestroyWindow(top);
    std::vector<std::pair<HWND, UINT>> order;
    for (const Rec& r : g_log)
        if (r.msg == WM_DESTROY || r.msg == WM_NCDESTROY) order.push_back({r.hwnd, r.msg});
    std::vector<std::pair<HWND, UINT>> want = {
        {top,   WM_DESTROY  },
        {child, WM_DESTROY  },
        {child, WM_NCDESTROY},
        {top,   WM_NCDESTROY}
    };
    EXPECT_EQ(order, want);
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WinTest, DestroyedInsideItsOwnHandler) {
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND kid = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, h);
    g_answer[WM_LBUTTONDOWN] = [](HWND w, WPARAM, LPARAM, LRESULT&) {
        DestroyWindow(GetAncestor(w, GA_ROOT));
        return true;
    };
    D().Click(5, 5);
    win::RunUntilIdle();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(IsWindow(kid));
    // Messages to the dead handles are ignored.
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessage(kid, WM_USER, 0, 0));
}

TEST_F(WinTest, SubclassingComposes) {
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    static WNDPROC old;
    int seen = 0;
    WNDPROC inst = MakeProcInstance([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == 45513) {
            ++seen;
            return 12851; // numbers the system uses pass through untouched
        }
        return CallWindowProc(old, w, m, wp, lp);
    });
    old = reinterpret_cast<WNDPROC>(SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inst)));
    EXPECT_EQ(SendMessage(h, 45513, 0, 0), 12851);
    EXPECT_EQ(SendMessage(h, WM_GETTEXTLENGTH, 0, 0), 1);
    EXPECT_EQ(seen, 1);
    char name[32];
    EXPECT_EQ(GetClassName(h, name, sizeof name), 3);
    EXPECT_STREQ(name, "Rec");
    SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    FreeProcInstance(inst);
}

TEST_F(WinTest, WindowFromPointHonoursRegionsVisibilityAndEnabling) {
    HWND back = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND front = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    EXPECT_EQ(WindowFromPoint({50, 50}), front);
    // An elliptic region leaves the corners to the window behind.
    SetWindowRgn(front, CreateEllipticRgn(0, 0, 100, 100), TRUE);
    EXPECT_EQ(WindowFromPoint({2, 2}), back);
    EXPECT_EQ(WindowFromPoint({50, 50}), front);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 40, 40, 20, 20, front);
    EXPECT_EQ(WindowFromPoint({45, 45}), child);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(WindowFromPoint({45, 45}), front);
    EnableWindow(front, FALSE);
    EXPECT_EQ(WindowFromPoint({50, 50}), back);
    EXPECT_EQ(WindowFromPoint({500, 500}), nullptr);
}

TEST_F(WinTest, TimersFireByTheVirtualClock) {
    HWND h = Make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(h, 7, 100, nullptr);
    win::RunUntilIdle();
    EXPECT_TRUE(Of(h, {WM_TIMER}).empty());
    os::VirtualClock::Advance(100);
    win::RunUntilIdle();
    ASSERT_EQ(Of(h, {WM_TIMER}).size(), 1u);
    EXPECT_EQ(Last(h, WM_TIMER)->wp, 7u);
    // Missed turns do not pile up.
    os::VirtualClock::Advance(1000);
    win::RunUntilIdle();
    EXPECT_EQ(Of(h, {WM_TIMER}).size(), 2u);
    KillTimer(h, 7);
    os::VirtualClock::Advance(1000);
    win::RunUntilIdle();
    EXPECT_EQ(Of(h, {WM_TIMER}).size(), 2u);
    // A busy wait on the clock ends under the virtual clock.
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 5) {
    }
}

TEST_F(WinTest, PaintingErasesThenPaintsParentsFirst) {
    HWND top = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 40, 40);
    HWND kid = Make(WS_CHILD | WS_VISIBLE, 10, 10, 10, 10, top);
    win::RunUntilIdle();
    g_log.clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    g_answer[WM_PAINT] = [](HWND h, WPARAM, LPARAM, LRESULT&) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all{-100, -100, 100, 100};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(h, &ps);
        return true;
    };
    win::RunUntilIdle();
    std::vector<std::pair<HWND, UINT>> seq;
    for (const Rec& r : g_log)
        if (r.msg == WM_PAINT || r.msg == WM_ERASEBKGND || r.msg == WM_NCPAINT)
            seq.push_back({r.hwnd, r.msg});
    std::vector<std::pair<HWND, UINT>> want = {
        {top, WM_PAINT     },
        {top, WM_NCPAINT   },
        {top, WM_ERASEBKGND},
        {kid, WM_PAINT     },
        {kid, WM_NCPAINT   },
        {kid, WM_ERASEBKGND}
    };
    EXPECT_EQ(seq, want);
    // Both painted white into the one surface; nothing outside the windows' areas.
    const gdi::Bitmap* s = win::GetWindowSurface(kid);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->View().Get(15, 15), 0x00FFFFFFu);
    EXPECT_EQ(s->View().Get(0, 0), 0x00FFFFFFu);
}

TEST_F(WinTest, ProcedureInstancesDoNotRunOut) {
    HWND form = Make(WS_POPUP, 0, 0, 100, 100);
    constexpr int kControls = 2000;
    std::vector<HWND> controls;
    std::vector<WNDPROC> procs;
    for (int i = 0; i < kControls; ++i) {
        HWND c = Make(WS_CHILD, 0, 0, 10, 10, form);
        WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(c, GWL_WNDPROC));
        WNDPROC inst = MakeProcInstance([i, old](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            return m == WM_USER ? i + 1 : CallWindowProc(old, w, m, wp, lp);
        });
        ASSERT_NE(inst, nullptr) << i;
        SetWindowLongPtr(c, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inst));
        controls.push_back(c);
        procs.push_back(inst);
    }
    int answering = 0;
    for (int i = 0; i < kControls; ++i) answering += SendMessage(controls[i], WM_USER, 0, 0) == i + 1;
    EXPECT_EQ(answering, kControls);
    EXPECT_EQ(SendMessage(controls.back(), WM_GETTEXTLENGTH, 0, 0), 1); // the old procedure still answers
    DestroyWindow(form);
    for (WNDPROC p : procs) FreeProcInstance(p);
    // A freed instance answers nothing.
    EXPECT_EQ(CallWindowProc(procs.front(), nullptr, WM_USER, 0, 0), 0);
}
