// What a desktop says of top-level windows: the window manager moved one, or
// asks one to close; and which windows it must leave unmanaged.
#include "WinFixture.h"

namespace {
uintptr_t Id(HWND h) {
    return reinterpret_cast<uintptr_t>(h); // how the window system names windows to the display
}
} // namespace

TEST_F(WinTest, DesktopMovesAndCloseRequestsReachTheWindow) {
    HWND h = Make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 150);
    g_log.clear();
    display::RawInput moved;
    moved.kind = display::RawInput::Moved;
    moved.window = Id(h);
    moved.rect = {300, 250, 520, 400};
    D().Push(moved);
    win::RunUntilIdle();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{300, 250, 520, 400}));
    EXPECT_EQ(Of(h, {WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
    EXPECT_EQ(D().Surface(Id(h))->surface->width, 220);

    display::RawInput close;
    close.kind = display::RawInput::Close;
    close.window = Id(h);
    D().Push(close);
    win::RunUntilIdle();
    ASSERT_NE(Last(h, WM_SYSCOMMAND), nullptr);
    EXPECT_EQ(Last(h, WM_SYSCOMMAND)->wp, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(WinTest, MenusAndHintsAreUnmanagedPopups) {
    HWND main = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND dialog = Make(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 100, 100);
    HWND menu = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    HWND hint = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, WS_EX_TOPMOST);
    HWND toolForm = Make(WS_CAPTION | WS_VISIBLE, 0, 0, 100, 100, nullptr, WS_EX_TOOLWINDOW);
    auto kind = [&](HWND h) { return D().Surface(Id(h))->kind; };
    EXPECT_EQ(kind(main), display::WindowKind::Normal);
    EXPECT_EQ(kind(dialog), display::WindowKind::Normal);
    EXPECT_EQ(kind(menu), display::WindowKind::Popup);
    EXPECT_EQ(kind(hint), display::WindowKind::Popup);
    EXPECT_EQ(kind(toolForm), display::WindowKind::Normal);
    SetWindowPos(hint, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(kind(hint), display::WindowKind::Normal);
}
