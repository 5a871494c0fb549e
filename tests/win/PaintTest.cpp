// What gets painted, when, and what a paint leaves on the surface.
#include "WinFixture.h"

#include "gdi/Bitmap.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "win/Layered.h"
#include "win/Paint.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF, kBlack = 0;

uint32_t Pixel(HWND h, int x, int y) {
    return win::GetWindowSurface(h)->View().Get(x, y);
}

void Fill(HDC dc, COLORREF c) {
    RECT all{-1000, -1000, 1000, 1000};
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &all, b);
    DeleteObject(b);
}

// Paints the whole client area black outside of any paint cycle.
void Blacken(HWND h) {
    HDC dc = GetDC(h);
    Fill(dc, RGB(0, 0, 0));
    ReleaseDC(h, dc);
}

// Every paint and erase fills what it may touch with white.
void PaintWhite() {
    g_answer[WM_PAINT] = [](HWND h, WPARAM, LPARAM, LRESULT&) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        Fill(dc, RGB(255, 255, 255));
        EndPaint(h, &ps);
        return true;
    };
    g_answer[WM_ERASEBKGND] = [](HWND, WPARAM wp, LPARAM, LRESULT& r) {
        Fill(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
        r = 1;
        return true;
    };
}

} // namespace

TEST_F(WinTest, LayeredPictureIsNotPaintedOver) {
    HWND h = Make(WS_POPUP, 0, 0, 8, 8, nullptr, WS_EX_LAYERED);
    PaintWhite();
    BITMAPINFO bi{};
    bi.bmiHeader = {40, 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int i = 0; i < 64; ++i)
        static_cast<uint32_t*>(bits)[i] = 0x80402010; // half-transparent, premultiplied
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    POINT zero{0, 0};
    SIZE size{8, 8};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(h, nullptr, nullptr, &size, mem, &zero, 0, &blend, ULW_ALPHA));
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ShowWindow(h, SW_SHOW);
    InvalidateRect(h, nullptr, TRUE);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    win::RunUntilIdle();
    EXPECT_EQ(Pixel(h, 3, 3), 0x80402010u);
    EXPECT_EQ(D().Surface(reinterpret_cast<uintptr_t>(h))->perPixel, true);
    // Constant alpha instead: the window paints itself again.
    EXPECT_TRUE(SetLayeredWindowAttributes(h, 0, 200, LWA_ALPHA));
    win::RunUntilIdle();
    EXPECT_EQ(Pixel(h, 3, 3), kWhite);
    // Colour keys are not offered, and say so.
    EXPECT_FALSE(SetLayeredWindowAttributes(h, RGB(255, 0, 255), 0, LWA_COLORKEY));
}

TEST_F(WinTest, CaptionChangesRepaintTheFrameOnly) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    win::RunUntilIdle();
    PaintWhite();
    struct Case {
        const char* name;
        std::function<void()> act;
    } cases[] = {
        {"WM_SETTEXT",    [h] { SetWindowText(h, "新标题"); }          },
        {"WM_NCACTIVATE", [h] { SendMessage(h, WM_NCACTIVATE, FALSE, 0); }},
    };
    for (const Case& c : cases) {
        Blacken(h);
        g_log.clear();
        c.act();
        EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE)) << c.name;
        win::RunUntilIdle();
        EXPECT_EQ(Of(h, {WM_NCPAINT, WM_ERASEBKGND}), std::vector<UINT>{WM_NCPAINT}) << c.name;
        EXPECT_EQ(Pixel(h, 100, 60), kBlack) << c.name; // the client area was left alone
    }
}

TEST_F(WinTest, UpdateWindowPaintsInvalidChildren) {
    HWND top = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, top);
    HWND hidden = Make(WS_CHILD, 50, 50, 30, 30, top);
    win::RunUntilIdle();
    PaintWhite();
    Blacken(child);
    InvalidateRect(child, nullptr, TRUE);
    InvalidateRect(hidden, nullptr, TRUE);
    g_log.clear();
    UpdateWindow(top);
    EXPECT_EQ(Of(child, {WM_PAINT}).size(), 1u);
    EXPECT_TRUE(Of(hidden, {WM_PAINT}).empty());
    EXPECT_EQ(Pixel(top, 20, 20), kWhite);
}

TEST_F(WinTest, ScrollWindowMovesThePendingUpdateAndTheChildren) {
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 50, 50, 10, 10, h);
    win::RunUntilIdle();
    PaintWhite();
    Blacken(h);
    RECT pending{0, 0, 10, 10};
    InvalidateRect(h, &pending, FALSE); // not painted yet: its pixels are stale
    ScrollWindow(h, 20, 0, nullptr, nullptr);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r, (RECT{70, 50, 80, 60}));
    win::RunUntilIdle();
    EXPECT_EQ(Pixel(h, 25, 5), kWhite);  // the stale pixels, moved, were painted where they went
    EXPECT_EQ(Pixel(h, 5, 50), kWhite);  // what the scroll uncovered
    EXPECT_EQ(Pixel(h, 35, 5), kBlack);  // valid pixels, moved, stay
    EXPECT_EQ(Pixel(h, 40, 40), kBlack); // outside everything
}

TEST_F(WinTest, PaintDetails) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    win::RunUntilIdle();

    // RDW_ERASENOW erases and paints the frame, but leaves WM_PAINT for later.
    InvalidateRect(h, nullptr, TRUE);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    g_log.clear();
    RedrawWindow(h, nullptr, nullptr, RDW_ERASENOW);
    EXPECT_EQ(Of(h, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND}));
    EXPECT_TRUE(GetUpdateRect(h, nullptr, FALSE));
    win::RunUntilIdle();
    EXPECT_EQ(Of(h, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}),
              (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}));

    // PAINTSTRUCT.fErase: TRUE only when an erase was asked for and not done.
    bool fErase = false;
    g_answer[WM_PAINT] = [&](HWND w, WPARAM, LPARAM, LRESULT&) {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        fErase = ps.fErase;
        EndPaint(w, &ps);
        return true;
    };
    struct EraseCase {
        BOOL erase;
        bool answered; // WM_ERASEBKGND says it erased
        bool want;
    } eraseCases[] = {
        {FALSE, false, false},
        {TRUE,  false, true },
        {TRUE,  true,  false},
    };
    for (const EraseCase& c : eraseCases) {
        g_answer[WM_ERASEBKGND] = [&c](HWND, WPARAM, LPARAM, LRESULT& r) {
            r = c.answered;
            return true;
        };
        fErase = !c.want;
        InvalidateRect(h, nullptr, c.erase);
        win::RunUntilIdle();
        EXPECT_EQ(fErase, c.want) << c.erase << c.answered;
    }
    g_answer.erase(WM_ERASEBKGND);

    // A WM_PAINT handler that validates without BeginPaint still gets the frame painted.
    g_answer[WM_PAINT] = [](HWND w, WPARAM, LPARAM, LRESULT&) {
        ValidateRect(w, nullptr);
        return true;
    };
    g_log.clear();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    win::RunUntilIdle();
    EXPECT_EQ(Of(h, {WM_PAINT, WM_NCPAINT}), (std::vector<UINT>{WM_PAINT, WM_NCPAINT}));
    g_answer.erase(WM_PAINT);

    // WM_WINDOWPOSCHANGED tells what did not change.
    UINT flags = 0;
    g_answer[WM_WINDOWPOSCHANGED] = [&](HWND, WPARAM, LPARAM lp, LRESULT&) {
        flags = reinterpret_cast<WINDOWPOS*>(lp)->flags;
        return false;
    };
    struct PosCase {
        const char* name;
        int x, y, cx, cy;
        UINT have, lack;
    } posCases[] = {
        {"move", 10, 10, 200, 100, SWP_NOSIZE,              SWP_NOMOVE},
        {"size", 10, 10, 220, 120, SWP_NOMOVE,              SWP_NOSIZE},
        {"same", 10, 10, 220, 120, SWP_NOMOVE | SWP_NOSIZE, 0         },
    };
    for (const PosCase& c : posCases) {
        SetWindowPos(h, nullptr, c.x, c.y, c.cx, c.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(flags & c.have, c.have) << c.name;
        EXPECT_EQ(flags & c.lack, 0u) << c.name;
    }
    g_answer.erase(WM_WINDOWPOSCHANGED); // it refers to this test's stack
}

TEST_F(WinTest, LockWindowUpdateHoldsDrawingUntilUnlocked) {
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND other = Make(WS_POPUP | WS_VISIBLE, 100, 0, 50, 50);
    win::RunUntilIdle();
    PaintWhite();
    Blacken(h);
    ASSERT_TRUE(LockWindowUpdate(h));
    EXPECT_FALSE(LockWindowUpdate(other)); // one window at a time
    HDC dc = GetDC(h);
    Fill(dc, RGB(255, 255, 255));
    ReleaseDC(h, dc);
    InvalidateRect(h, nullptr, TRUE);
    win::RunUntilIdle();
    EXPECT_EQ(Pixel(h, 10, 10), kBlack); // nothing reached the window
    ASSERT_TRUE(LockWindowUpdate(nullptr));
    win::RunUntilIdle();
    EXPECT_EQ(Pixel(h, 10, 10), kWhite); // repainted once unlocked
    EXPECT_TRUE(LockWindowUpdate(other));
    LockWindowUpdate(nullptr);
}

TEST_F(WinTest, HidingAndChildRegionsSequences) {
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 20, 20, 100, 100, h);
    win::RunUntilIdle();

    // A child's region clips its painting and its hit testing.
    g_answer[WM_PAINT] = [child](HWND w, WPARAM, LPARAM, LRESULT&) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (w == child) Fill(dc, RGB(255, 255, 255));
        EndPaint(w, &ps);
        return true;
    };
    Blacken(h);
    SetWindowRgn(child, CreateEllipticRgn(0, 0, 100, 100), TRUE);
    win::RunUntilIdle();
    POINT corner{22, 22}, centre{70, 70}; // the window lies at the screen's origin
    ClientToScreen(h, &corner);
    ClientToScreen(h, &centre);
    EXPECT_EQ(WindowFromPoint(corner), h);
    EXPECT_EQ(WindowFromPoint(centre), child);
    EXPECT_EQ(Pixel(h, corner.x, corner.y), kBlack);
    EXPECT_EQ(Pixel(h, centre.x, centre.y), kWhite);
    g_log.clear();
    UINT hideFlags = 0;
    g_answer[WM_WINDOWPOSCHANGED] = [&](HWND w, WPARAM, LPARAM lp, LRESULT&) {
        if (w == h) hideFlags = reinterpret_cast<WINDOWPOS*>(lp)->flags;
        return false;
    };
    ShowWindow(h, SW_HIDE);
    EXPECT_EQ(Of(h, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE,
                     WM_KILLFOCUS}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE,
                                 WM_ACTIVATE, WM_KILLFOCUS}));
    EXPECT_EQ(Last(h, WM_SHOWWINDOW)->wp, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(Last(h, WM_SHOWWINDOW)->lp, 0);
    EXPECT_TRUE(hideFlags & SWP_HIDEWINDOW);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_TRUE(Of(child, {WM_SHOWWINDOW}).empty()); // children hear nothing of their parent's hiding
}
