// A window of the window system on a real (virtual) screen: the program
// picks the x11 backend by itself, as it does on a desktop, and the screen
// shows what the window painted, Chinese caption included.  The grabbed
// screen is kept as x11_smoke.png in the build folder for a person to look at.
#include "ScreenGrab.h"
#include "Xvfb.h"
#include "display/Backend.h"
#include "display/headless/Headless.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/image/Png.h"
#include "win/DefWindowProc.h"
#include "win/Message.h"
#include "win/Messages.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

const RECT kWindow{100, 100, 580, 260};
const int kCaption = 40;
const COLORREF kCaptionColor = RGB(32, 64, 128), kBodyColor = RGB(230, 230, 230);

LRESULT PaintProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return DefWindowProc(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT all;
    GetClientRect(h, &all);
    RECT caption{0, 0, all.right, kCaption}, body{0, kCaption, all.right, all.bottom};
    HBRUSH cb = CreateSolidBrush(kCaptionColor), bb = CreateSolidBrush(kBodyColor);
    FillRect(dc, &caption, cb);
    FillRect(dc, &body, bb);
    DeleteObject(cb);
    DeleteObject(bb);
    LOGFONT lf{};
    lf.lfHeight = -22;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "微软雅黑");
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const char* title = "TarvikH.264格式转换器";
    DrawText(dc, title, -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
    EndPaint(h, &ps);
    return 0;
}

// Made before the display connection, so that it outlives it: the backend
// closes its connection at exit, and the server must still be there.
XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

TEST(X11Smoke, PaintedWindowReachesTheScreen) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    WNDCLASS wc{};
    wc.lpfnWndProc = PaintProc;
    wc.lpszClassName = "Smoke";
    RegisterClass(&wc);
    HWND h = CreateWindowEx(0, "Smoke", "Tarvik", WS_POPUP, kWindow.left, kWindow.top,
                            kWindow.right - kWindow.left, kWindow.bottom - kWindow.top, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_TRUE(h);
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    win::RunUntilIdle();

    int width = kWindow.right - kWindow.left + 40, height = kWindow.bottom - kWindow.top + 40;
    gdi::image::Image image = GrabScreen(server.Name(), kWindow.left - 20, kWindow.top - 20, width, height);
    ASSERT_EQ(image.width, width);
    std::string error;
    ASSERT_TRUE(SavePng(image, TARVIK_SMOKE_DIR "/x11_smoke.png", error)) << error;

    // The caption band holds white text on its colour; the body is plain.
    auto at = [&](int sx, int sy) {
        return image.At(sx - kWindow.left + 20, sy - kWindow.top + 20) & 0xFFFFFF;
    };
    uint32_t captionPixel = gdi::PixelOf(kCaptionColor), bodyPixel = gdi::PixelOf(kBodyColor);
    int text = 0, other = 0;
    for (int sy = kWindow.top; sy < kWindow.top + kCaption; ++sy)
        for (int sx = kWindow.left; sx < kWindow.right; ++sx) {
            uint32_t p = at(sx, sy);
            if (p == 0xFFFFFF)
                ++text;
            else if (p != captionPixel)
                ++other; // anti-aliased edges
        }
    EXPECT_GT(text, 200);
    EXPECT_LT(text + other, (kWindow.right - kWindow.left) * kCaption / 3);
    EXPECT_EQ(at(kWindow.left + 2, kWindow.top + 2), captionPixel);
    EXPECT_EQ(at(kWindow.left + 10, kWindow.bottom - 5), bodyPixel);
    EXPECT_EQ(at(kWindow.right - 1, kWindow.bottom - 1), bodyPixel);
    DestroyWindow(h);
}

} // namespace
