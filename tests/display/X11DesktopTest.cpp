// Our windows as the desktop sees them: titles, roles and owners, focus and
// stacking, cursors, menu grabs and the work area, read back through a
// connection of the test's own as a window manager or task bar reads them.
// No window manager runs: every property here is ours to set.
#include "../gui/WaitUntil.h"
#include "ScreenGrab.h"
#include "Xvfb.h"
#include "display/Backend.h"
#include "display/headless/Headless.h"
#include "display/x11/X11Display.h"
#include "gdi/Dc.h"
#include "gdi/Icon.h"
#include "gdi/IconImage.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "gdi/image/Png.h"
#include "shell/NotifyIcon.h"
#include "shell/TrayDock.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Layered.h"
#include "win/Message.h"
#include "win/Messages.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

extern char** environ;

namespace {

int displayChanges = 0;
WPARAM lastSizeKind = SIZE_RESTORED;
std::u32string typed;
int taskbarCreated = 0;
std::vector<std::pair<WPARAM, LPARAM>> trayCalls; // the tray icon's callback messages
constexpr UINT kTrayMessage = WM_APP + 7;

// Closes itself on a click outside it while it holds the capture, as a menu does.
LRESULT DeskProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DISPLAYCHANGE) ++displayChanges;
    if (msg == WM_SIZE) lastSizeKind = wp;
    if (msg == WM_CHAR) typed.push_back(static_cast<char32_t>(wp));
    if (msg == kTrayMessage) trayCalls.push_back({wp, lp});
    static const UINT created = RegisterWindowMessage("TaskbarCreated");
    if (msg == created) ++taskbarCreated;
    if (msg == WM_LBUTTONDOWN && GetCapture() == h) {
        POINT p{static_cast<int16_t>(LOWORD(lp)), static_cast<int16_t>(HIWORD(lp))};
        RECT r;
        GetClientRect(h, &r);
        if (!PtInRect(&r, p)) DestroyWindow(h);
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}

// Made before the backend, so that it outlives the backend's connection.
XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

class X11Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        // As the program does at start-up: the input method works in the user's character set.
        setlocale(LC_CTYPE, "C.UTF-8");
        ASSERT_TRUE(Server().Running()) << Server().Error();
        setenv("DISPLAY", Server().Name().c_str(), 1);
        unsetenv("TARVIK_DISPLAY");
        ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";
        WNDCLASS wc{};
        wc.lpfnWndProc = DeskProc;
        wc.lpszClassName = "Desk";
        RegisterClass(&wc);
        x_ = XOpenDisplay(Server().Name().c_str());
        ASSERT_TRUE(x_);
    }
    void TearDown() override {
        for (HWND h : made_) DestroyWindow(h);
        win::RunUntilIdle();
        if (x_) XCloseDisplay(x_);
    }

    HWND Show(const char* title, DWORD style, DWORD exStyle = 0, HWND owner = nullptr,
              RECT r = {100, 100, 400, 300}) {
        HWND h = CreateWindowEx(exStyle, "Desk", title, style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, owner, nullptr, nullptr, nullptr);
        EXPECT_TRUE(h);
        made_.push_back(h);
        ShowWindow(h, SW_SHOW);
        UpdateWindow(h);
        win::RunUntilIdle();
        display::X11Sync(display::Current());
        return h;
    }
    Window XOf(HWND h) { return display::X11WindowOf(display::Current(), reinterpret_cast<uintptr_t>(h)); }

    // Runs our message loop until done holds, for at most ten seconds.
    static ::testing::AssertionResult PumpUntil(const std::function<bool()>& done,
                                                const std::string& what = "the desktop's answer") {
        return WaitUntil(
            [&] {
                win::RunUntilIdle();
                if (done()) return true;
                display::Current().Wait(20);
                return false;
            },
            std::chrono::seconds(10), what);
    }
    bool Viewable(HWND h) {
        XWindowAttributes a{};
        Window w = XOf(h);
        return w && XGetWindowAttributes(x_, w, &a) && a.map_state == IsViewable;
    }

    Atom A(const char* name) { return XInternAtom(x_, name, False); }
    std::vector<unsigned char> Property(Window w, const char* name, Atom* type = nullptr) {
        Atom t = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned char> out;
        if (XGetWindowProperty(x_, w, A(name), 0, 1 << 20, False, AnyPropertyType, &t, &format, &count,
                               &after, &data) == Success &&
            data) {
            size_t unit = format == 8 ? 1 : format == 16 ? sizeof(short) : sizeof(long);
            out.assign(data, data + count * unit);
        }
        if (data) XFree(data);
        if (type) *type = t;
        return out;
    }
    std::string Text(Window w, const char* name) {
        auto v = Property(w, name);
        return {v.begin(), v.end()};
    }
    std::vector<long> Longs(Window w, const char* name) {
        auto v = Property(w, name);
        std::vector<long> out(v.size() / sizeof(long));
        if (!out.empty()) std::memcpy(out.data(), v.data(), out.size() * sizeof(long));
        return out;
    }
    std::string WmName(Window w) {
        XTextProperty p{};
        if (!XGetWMName(x_, w, &p)) return "(none)";
        char** list = nullptr;
        int count = 0;
        std::string s = "(unconvertible)";
        if (Xutf8TextPropertyToTextList(x_, &p, &list, &count) == Success && count > 0) s = list[0];
        if (list) XFreeStringList(list);
        XFree(p.value);
        return s;
    }

    Display* x_ = nullptr;
    std::vector<HWND> made_;
};

TEST_F(X11Desktop, TitleInUtf8FollowsTheWindowText) {
    const std::string title = "TarvikH.264格式转换器";
    Window w = XOf(Show(title.c_str(), WS_OVERLAPPEDWINDOW));
    ASSERT_NE(w, 0u);
    Atom type = None;
    Property(w, "_NET_WM_NAME", &type);
    EXPECT_EQ(type, A("UTF8_STRING"));
    EXPECT_EQ(Text(w, "_NET_WM_NAME"), title);
    EXPECT_EQ(WmName(w), title);

    SetWindowText(made_[0], "新标题 – 2");
    display::X11Sync(display::Current());
    EXPECT_EQ(Text(w, "_NET_WM_NAME"), "新标题 – 2");
    EXPECT_EQ(WmName(w), "新标题 – 2");
    SetWindowText(made_[0], "plain");
    display::X11Sync(display::Current());
    EXPECT_EQ(WmName(w), "plain");

    XClassHint cls{};
    ASSERT_TRUE(XGetClassHint(x_, w, &cls));
    EXPECT_STREQ(cls.res_name, "tarvik");
    XFree(cls.res_name);
    XFree(cls.res_class);
    EXPECT_EQ(Longs(w, "_NET_WM_PID"), std::vector<long>{getpid()});
    EXPECT_FALSE(Text(w, "WM_CLIENT_MACHINE").empty());
}

TEST_F(X11Desktop, RoleOwnerAndStayOnTopFromStyles) {
    HWND owner = Show("owner", WS_OVERLAPPEDWINDOW);
    struct Case {
        const char* name;
        DWORD style, exStyle;
        bool owned;
        const char* type;
        bool above;
    } cases[] = {
        {"plain",       WS_OVERLAPPEDWINDOW,        0,                                                   false, "_NET_WM_WINDOW_TYPE_NORMAL",     false},
        {"dialog",      WS_POPUP | WS_CAPTION,      0,                                                   true,  "_NET_WM_WINDOW_TYPE_DIALOG",     false},
        {"tool",        WS_OVERLAPPED | WS_CAPTION, WS_EX_TOOLWINDOW,                                    false, "_NET_WM_WINDOW_TYPE_UTILITY",    false},
        {"menu",        WS_POPUP,                   WS_EX_TOOLWINDOW,                                    true,  "_NET_WM_WINDOW_TYPE_POPUP_MENU", false},
        {"hint",        WS_POPUP,                   WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, false,
         "_NET_WM_WINDOW_TYPE_TOOLTIP",                                                                                                           true },
        {"stay on top", WS_OVERLAPPEDWINDOW,        WS_EX_TOPMOST,                                       false, "_NET_WM_WINDOW_TYPE_NORMAL",     true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND h = Show(c.name, c.style, c.exStyle, c.owned ? owner : nullptr, {500, 100, 600, 160});
        Window w = XOf(h);
        ASSERT_NE(w, 0u);
        EXPECT_EQ(Longs(w, "_NET_WM_WINDOW_TYPE"), std::vector<long>{static_cast<long>(A(c.type))});
        Window transient = 0;
        bool hasOwner = XGetTransientForHint(x_, w, &transient);
        EXPECT_EQ(hasOwner, c.owned);
        if (c.owned) {
            EXPECT_EQ(transient, XOf(owner));
        }
        std::vector<long> above{static_cast<long>(A("_NET_WM_STATE_ABOVE"))};
        EXPECT_EQ(Longs(w, "_NET_WM_STATE") == above, c.above);
        DestroyWindow(h);
        win::RunUntilIdle();
    }
}

TEST_F(X11Desktop, ActivationMovesFocusAndStacking) {
    HWND a = Show("a", WS_OVERLAPPEDWINDOW),
         b = Show("b", WS_OVERLAPPEDWINDOW, 0, nullptr, {150, 150, 450, 350});
    auto focused = [&] {
        Window f = 0;
        int revert = 0;
        XGetInputFocus(x_, &f, &revert);
        return f;
    };
    auto aboveOf = [&](Window lower, Window upper) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(x_, DefaultRootWindow(x_), &root, &parent, &children, &count);
        int li = -1, ui = -1;
        for (unsigned i = 0; i < count; ++i) {
            if (children[i] == lower) li = static_cast<int>(i);
            if (children[i] == upper) ui = static_cast<int>(i);
        }
        if (children) XFree(children);
        return li >= 0 && ui > li; // bottom first
    };
    EXPECT_EQ(focused(), XOf(b));
    for (HWND h : {a, b, a}) {
        SetForegroundWindow(h);
        display::X11Sync(display::Current());
        EXPECT_EQ(focused(), XOf(h));
        HWND other = h == a ? b : a;
        EXPECT_TRUE(aboveOf(XOf(other), XOf(h)));
    }
}

TEST_F(X11Desktop, CursorChangesOnSizingBorders) {
    HWND h = Show("sized", WS_OVERLAPPEDWINDOW, 0, nullptr, {200, 200, 500, 400});
    auto cursorAt = [&](int sx, int sy, const char* want) {
        XWarpPointer(x_, None, DefaultRootWindow(x_), 0, 0, 0, 0, sx, sy);
        XSync(x_, False);
        HCURSOR c = LoadCursor(nullptr, want);
        EXPECT_TRUE(PumpUntil([&] { return GetCursor() == c; }));
        display::X11Sync(display::Current());
        XFixesCursorImage* img = XFixesGetCursorImage(x_);
        std::vector<unsigned long> shape;
        if (img) {
            shape = {img->width, img->height, img->xhot, img->yhot};
            shape.insert(shape.end(), img->pixels, img->pixels + img->width * img->height);
            XFree(img);
        }
        return shape;
    };
    ASSERT_TRUE(h);
    auto inside = cursorAt(350, 300, IDC_ARROW);
    auto left = cursorAt(201, 300, IDC_SIZEWE);
    auto bottom = cursorAt(350, 398, IDC_SIZENS);
    auto again = cursorAt(350, 300, IDC_ARROW);
    ASSERT_FALSE(inside.empty());
    EXPECT_NE(inside, left);
    EXPECT_NE(inside, bottom);
    EXPECT_NE(left, bottom);
    EXPECT_EQ(inside, again);
}

TEST_F(X11Desktop, MenuGrabsThePointerAndClosesOnAnOutsideClick) {
    HWND owner = Show("owner", WS_OVERLAPPEDWINDOW);
    HWND menu = Show("menu", WS_POPUP, WS_EX_TOOLWINDOW, owner, {600, 100, 700, 200});
    SetCapture(menu);
    auto testCanGrab = [&] {
        int r = XGrabPointer(x_, DefaultRootWindow(x_), False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                             None, None, CurrentTime);
        if (r == GrabSuccess) XUngrabPointer(x_, CurrentTime);
        XSync(x_, False);
        return r == GrabSuccess;
    };
    EXPECT_FALSE(testCanGrab());

    // Under the grab the server reports a click on the desktop to the menu.
    XEvent e{};
    e.xbutton = {ButtonPress, 0,           True, x_,  XOf(menu), DefaultRootWindow(x_),
                 None,        CurrentTime, -550, 700, 50,        800,
                 0,           Button1,     True};
    XSendEvent(x_, XOf(menu), False, ButtonPressMask, &e);
    XFlush(x_);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu); }));
    display::X11Sync(display::Current());
    EXPECT_TRUE(testCanGrab());
}

TEST_F(X11Desktop, WorkAreaIsCachedAndFollowsTheDesktop) {
    Show("listener", WS_OVERLAPPEDWINDOW);
    int before = GetSystemMetrics(SM_CYFULLSCREEN);
    long area[4] = {0, 0, 1280, 1000};
    XChangeProperty(x_, DefaultRootWindow(x_), A("_NET_WORKAREA"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(area), 4);
    XFlush(x_);
    displayChanges = 0;
    EXPECT_TRUE(PumpUntil([&] { return displayChanges > 0; }));
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), before - 24);
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.bottom, 1000);
    XDeleteProperty(x_, DefaultRootWindow(x_), A("_NET_WORKAREA"));
    XFlush(x_);
    EXPECT_TRUE(PumpUntil([&] { return GetSystemMetrics(SM_CYFULLSCREEN) == before; }));
}

TEST_F(X11Desktop, PerPixelAlphaShowsOnlyUnderACompositor) {
    auto glow = [&] {
        HWND h = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, "Desk", "", WS_POPUP,
                                300, 300, 40, 40, nullptr, nullptr, nullptr, nullptr);
        made_.push_back(h);
        std::vector<uint32_t> bits(40 * 40, 0x80000000u); // half-transparent black
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, 0, 0, 0, 0, 0, 0};
        void* data = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &data, nullptr, 0);
        std::memcpy(data, bits.data(), bits.size() * 4);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bmp);
        POINT at{300, 300}, origin{0, 0};
        SIZE size{40, 40};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(h, nullptr, &at, &size, dc, &origin, 0, &blend, ULW_ALPHA);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bmp);
        ShowWindow(h, SW_SHOWNOACTIVATE);
        win::RunUntilIdle();
        display::X11Sync(display::Current());
        return h;
    };
    auto viewable = [&](HWND h) {
        Window w = XOf(h);
        XWindowAttributes a{};
        return w && XGetWindowAttributes(x_, w, &a) && a.map_state == IsViewable;
    };
    HWND alone = glow();
    EXPECT_FALSE(viewable(alone));
    EXPECT_TRUE(IsWindowVisible(alone)); // hidden from the screen only

    // A compositing manager owns the screen's selection.
    Window owner = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(x_, A("_NET_WM_CM_S0"), owner, CurrentTime);
    XSync(x_, False);
    HWND composited = glow();
    EXPECT_TRUE(viewable(composited));
    int count = -1, order = 0;
    XRectangle* input = XShapeGetRectangles(x_, XOf(composited), ShapeInput, &count, &order);
    EXPECT_EQ(count, 0) << "clicks should pass through";
    if (input) XFree(input);
    // The compositor blends it by its alpha: a 32-bit window holding the
    // premultiplied pixels, not a shape.
    auto depthOf = [&](HWND h) {
        XWindowAttributes a{};
        return XGetWindowAttributes(x_, XOf(h), &a) ? a.depth : 0;
    };
    auto pixelOf = [&](HWND h) {
        XImage* img = XGetImage(x_, XOf(h), 5, 5, 1, 1, AllPlanes, ZPixmap);
        unsigned long p = img ? XGetPixel(img, 0, 0) : 0;
        if (img) XDestroyImage(img);
        return p;
    };
    EXPECT_EQ(depthOf(composited), 32);
    EXPECT_EQ(pixelOf(composited), 0x80000000ul);
    Bool shaped = False, clipShaped = False;
    int bx, by, cx, cy;
    unsigned bw, bh, cw, ch;
    XShapeQueryExtents(x_, XOf(composited), &shaped, &bx, &by, &bw, &bh, &clipShaped, &cx, &cy, &cw, &ch);
    EXPECT_FALSE(shaped);

    // Per-pixel alpha turned on after the window was made: a new X window
    // with the alpha visual that keeps what the old one said of itself.
    HWND faded = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "Desk", "淡出", WS_POPUP, 300, 300, 40, 40,
                                nullptr, nullptr, nullptr, nullptr);
    made_.push_back(faded);
    SetLayeredWindowAttributes(faded, 0, 200, LWA_ALPHA);
    ShowWindow(faded, SW_SHOWNOACTIVATE);
    win::RunUntilIdle();
    display::X11Sync(display::Current());
    Window before = XOf(faded);
    EXPECT_EQ(depthOf(faded), DefaultDepth(x_, 0));
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, 0, 0, 0, 0, 0, 0};
        void* data = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &data, nullptr, 0);
        std::fill_n(static_cast<uint32_t*>(data), 40 * 40, 0x40404040u);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bmp);
        POINT at{300, 300}, origin{0, 0};
        SIZE size{40, 40};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(faded, nullptr, &at, &size, dc, &origin, 0, &blend, ULW_ALPHA);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bmp);
    }
    win::RunUntilIdle();
    display::X11Sync(display::Current());
    EXPECT_NE(XOf(faded), before);
    EXPECT_EQ(depthOf(faded), 32);
    EXPECT_TRUE(viewable(faded));
    EXPECT_EQ(Text(XOf(faded), "_NET_WM_NAME"), "淡出");
    EXPECT_EQ(pixelOf(faded), 0x40404040ul);

    // The compositor ends: the blended windows leave the screen rather than
    // show their alpha as dark blocks; a new one brings them back.
    auto announce = [&](Window compositor) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = DefaultRootWindow(x_);
        e.xclient.message_type = A("MANAGER");
        e.xclient.format = 32;
        e.xclient.data.l[1] = static_cast<long>(A("_NET_WM_CM_S0"));
        e.xclient.data.l[2] = static_cast<long>(compositor);
        XSendEvent(x_, DefaultRootWindow(x_), False, StructureNotifyMask, &e);
        XSync(x_, False);
    };
    announce(owner);
    win::RunUntilIdle();
    XDestroyWindow(x_, owner);
    XSync(x_, False);
    EXPECT_TRUE(
        PumpUntil([&] { return !viewable(composited) && !viewable(faded); }, "blended windows hidden"));
    EXPECT_TRUE(IsWindowVisible(composited));
    Window again = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(x_, A("_NET_WM_CM_S0"), again, CurrentTime);
    announce(again);
    EXPECT_TRUE(PumpUntil([&] { return viewable(composited) && viewable(faded); }, "blended windows back"));
    EXPECT_EQ(depthOf(composited), 32);
    EXPECT_EQ(pixelOf(composited), 0x80000000ul);
    XDestroyWindow(x_, again);
    XSync(x_, False);
}

TEST_F(X11Desktop, DefaultFrameShowsTitleAndClosesFromItsBox) {
    HWND h = Show("关闭我", WS_OVERLAPPEDWINDOW, 0, nullptr, {100, 100, 400, 250});
    RECT r;
    GetWindowRect(h, &r);
    RECT c;
    GetClientRect(h, &c);
    POINT box{r.right - 10, r.top + 8};
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)), HTCLOSE);
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(r.left + 60, r.top + 8)), HTCAPTION);
    SendMessage(h, WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(box.x, box.y));
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(X11Desktop, MinimiseAndRestoreBothWays) {
    HWND h = Show("min", WS_OVERLAPPEDWINDOW);
    // No window manager: minimising takes the window off the screen itself.
    ShowWindow(h, SW_MINIMIZE);
    display::X11Sync(display::Current());
    EXPECT_TRUE(IsIconic(h));
    EXPECT_FALSE(Viewable(h));
    EXPECT_EQ(WindowFromPoint({150, 150}), nullptr) << "a minimised window is no target";
    ShowWindow(h, SW_RESTORE);
    display::X11Sync(display::Current());
    EXPECT_FALSE(IsIconic(h));
    EXPECT_TRUE(Viewable(h));

    // The test plays the window manager from here: it marks the window as
    // managed, then minimises and restores it as its task bar would.
    Window w = XOf(h);
    auto setState = [&](long state) {
        long v[2] = {state, 0};
        XChangeProperty(x_, w, A("WM_STATE"), A("WM_STATE"), 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(v), 2);
        if (state == IconicState) XUnmapWindow(x_, w);
        if (state == NormalState) XMapWindow(x_, w);
        XFlush(x_);
    };
    setState(NormalState);
    setState(IconicState);
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(h) != FALSE; }, "minimised by the desktop"));
    EXPECT_EQ(lastSizeKind, static_cast<WPARAM>(SIZE_MINIMIZED));
    setState(NormalState);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(h); }, "restored by the desktop"));
    EXPECT_EQ(lastSizeKind, static_cast<WPARAM>(SIZE_RESTORED));

    // A managed window is minimised by asking its window manager.
    XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask);
    XSync(x_, False);
    ShowWindow(h, SW_MINIMIZE);
    display::X11Sync(display::Current());
    XEvent e{};
    bool asked = false;
    while (!asked && XCheckTypedEvent(x_, ClientMessage, &e))
        asked = e.xclient.window == w && e.xclient.message_type == A("WM_CHANGE_STATE") &&
                e.xclient.data.l[0] == IconicState;
    EXPECT_TRUE(asked);
    XSelectInput(x_, DefaultRootWindow(x_), NoEventMask);

    // Shown for the first time minimised: the window manager is told to start it as an icon.
    HWND later = CreateWindowEx(0, "Desk", "later", WS_OVERLAPPEDWINDOW, 100, 100, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
    made_.push_back(later);
    ShowWindow(later, SW_SHOWMINIMIZED);
    display::X11Sync(display::Current());
    XWMHints* hints = XGetWMHints(x_, XOf(later));
    ASSERT_TRUE(hints);
    EXPECT_EQ(hints->initial_state, IconicState);
    XFree(hints);
}

// A window manager without icons (evilwm) withdraws a window asked to minimise, with no word in
// WM_STATE; mapped again, the window is restored and paints.
TEST_F(X11Desktop, WithdrawnOnMinimiseAndMappedAgainIsRestored) {
    HWND h = Show("withdrawn", WS_OVERLAPPEDWINDOW);
    Window w = XOf(h);
    long normal[2] = {NormalState, 0};
    XChangeProperty(x_, w, A("WM_STATE"), A("WM_STATE"), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(normal), 2);
    XSync(x_, False);
    win::RunUntilIdle();
    ShowWindow(h, SW_MINIMIZE);
    display::X11Sync(display::Current());
    ASSERT_TRUE(IsIconic(h));
    XDeleteProperty(x_, w, A("WM_STATE"));
    XUnmapWindow(x_, w);
    XSync(x_, False);
    EXPECT_TRUE(PumpUntil([&] { return !Viewable(h); }, "withdrawn"));
    EXPECT_TRUE(IsIconic(h));
    XMapWindow(x_, w);
    XSync(x_, False);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(h); }, "restored once shown again"));
    EXPECT_EQ(lastSizeKind, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_TRUE(Viewable(h));
}

TEST_F(X11Desktop, IconFromTheWindowOrItsClass) {
    auto icon = [](int size, uint32_t argb) {
        gdi::IconImage img;
        img.width = img.height = size;
        img.color.assign(static_cast<size_t>(size) * size, argb);
        img.mask.assign(img.color.size(), 0);
        img.hasAlpha = (argb >> 24) != 0xFF;
        img.At(0, 0) = 0; // a transparent corner
        if (!img.hasAlpha) img.MaskAt(0, 0) = 1;
        return gdi::IconFromImage(img);
    };
    HICON classIcon = icon(32, 0xFF2060A0), big = icon(48, 0x80FF0000), small = icon(16, 0xFF00FF00);
    WNDCLASS wc{};
    wc.lpfnWndProc = DeskProc;
    wc.lpszClassName = "DeskWithIcon";
    wc.hIcon = classIcon;
    RegisterClass(&wc);
    HWND h = CreateWindowEx(0, "DeskWithIcon", "icon", WS_OVERLAPPEDWINDOW, 100, 100, 200, 100, nullptr,
                            nullptr, nullptr, nullptr);
    made_.push_back(h);
    ShowWindow(h, SW_SHOW);
    win::RunUntilIdle();
    display::X11Sync(display::Current());
    std::vector<long> v = Longs(XOf(h), "_NET_WM_ICON");
    ASSERT_EQ(v.size(), 2u + 32 * 32);
    EXPECT_EQ(v[0], 32);
    EXPECT_EQ(v[2], 0) << "the masked corner is transparent";
    EXPECT_EQ(static_cast<uint32_t>(v[3]), 0xFF2060A0u);

    // Its own icons replace the class's: the big one first, straight alpha kept.
    EXPECT_EQ(SendMessage(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
    SendMessage(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    EXPECT_EQ(SendMessage(h, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(big));
    display::X11Sync(display::Current());
    v = Longs(XOf(h), "_NET_WM_ICON");
    ASSERT_EQ(v.size(), 2u + 48 * 48 + 2u + 16 * 16);
    EXPECT_EQ(v[0], 48);
    EXPECT_EQ(static_cast<uint32_t>(v[3]), 0x80FF0000u);
    EXPECT_EQ(v[2 + 48 * 48], 16);
    EXPECT_EQ(static_cast<uint32_t>(v[2 + 48 * 48 + 3]), 0xFF00FF00u);
    for (HICON i : {classIcon, big, small}) DestroyIcon(i);
}

TEST_F(X11Desktop, TypedTextGoesThroughTheInputMethod) {
    HWND h = Show("typing", WS_OVERLAPPEDWINDOW);
    SetForegroundWindow(h);
    Window w = XOf(h);
    // Spare key codes of the server become a dead accent, a letter and a CJK character.
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(x_, &minCode, &maxCode);
    KeySym syms[] = {XK_dead_acute, XK_e, 0x1004E2D, XK_a};
    KeyCode first = static_cast<KeyCode>(maxCode - 4);
    XChangeKeyboardMapping(x_, first, 1, syms, 4);
    XSync(x_, False);
    auto press = [&](int offset, unsigned state = 0) {
        for (int type : {KeyPress, KeyRelease}) {
            XEvent e{};
            e.xkey = {type,  0,
                      True,  x_,
                      w,     DefaultRootWindow(x_),
                      None,  CurrentTime,
                      10,    10,
                      110,   110,
                      state, static_cast<unsigned>(first + offset),
                      True};
            XSendEvent(x_, w, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
        }
        XFlush(x_);
    };
    typed.clear();
    // The input method composes the accent with the letter; Ctrl chords type nothing.
    press(0);
    press(1);
    press(3, ControlMask);
    press(2);
    EXPECT_TRUE(PumpUntil([&] { return typed.size() >= 2; }, "typed text"));
    EXPECT_EQ(typed, U"é中");
}

TEST_F(X11Desktop, TrayIconDocksInAFakeTray) {
    HWND h = Show("owner", WS_OVERLAPPEDWINDOW);
    Window root = DefaultRootWindow(x_);
    // A tray owns the screen's selection and says so to every client.
    auto startTray = [&](int x) {
        Window tray = XCreateSimpleWindow(x_, root, x, 0, 120, 30, 0, 0, 0x204060);
        XMapWindow(x_, tray);
        XSetSelectionOwner(x_, A("_NET_SYSTEM_TRAY_S0"), tray, CurrentTime);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = root;
        e.xclient.message_type = A("MANAGER");
        e.xclient.format = 32;
        e.xclient.data.l[1] = static_cast<long>(A("_NET_SYSTEM_TRAY_S0"));
        e.xclient.data.l[2] = static_cast<long>(tray);
        XSendEvent(x_, root, False, StructureNotifyMask, &e);
        XFlush(x_);
        return tray;
    };
    auto dockRequest = [&](Window tray) {
        Window docked = 0;
        EXPECT_TRUE(WaitUntil(
            [&] {
                XEvent e;
                while (XCheckTypedWindowEvent(x_, tray, ClientMessage, &e))
                    if (e.xclient.message_type == A("_NET_SYSTEM_TRAY_OPCODE") && e.xclient.data.l[1] == 0)
                        docked = static_cast<Window>(e.xclient.data.l[2]);
                return docked != 0;
            },
            std::chrono::seconds(5), "a dock request"));
        return docked;
    };
    auto click = [&](Window w, int rootX, int rootY) {
        for (int type : {ButtonPress, ButtonRelease}) {
            XEvent e{};
            e.xbutton = {type, 0, True, x_, w, root, None, CurrentTime, 2, 2, rootX, rootY, 0, Button1, True};
            XSendEvent(x_, w, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
        }
        XFlush(x_);
    };

    taskbarCreated = 0;
    Window tray = startTray(600);
    EXPECT_TRUE(PumpUntil([&] { return taskbarCreated > 0; }, "TaskbarCreated"));

    gdi::IconImage red;
    red.width = red.height = 32;
    red.color.assign(32 * 32, 0xFFFF0000);
    red.mask.assign(32 * 32, 0);
    HICON icon = gdi::IconFromImage(red);
    NOTIFYICONDATA d{};
    d.cbSize = sizeof d;
    d.hWnd = h;
    d.uID = 7;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = kTrayMessage;
    d.hIcon = icon;
    std::strcpy(d.szTip, "Tarvik");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    HWND iconWindow = shell::TrayDock::IconWindow(h, 7);
    ASSERT_TRUE(iconWindow);
    Window docked = dockRequest(tray);
    EXPECT_EQ(docked, XOf(iconWindow));
    EXPECT_EQ(Longs(docked, "_XEMBED_INFO"), (std::vector<long>{0, 1})) << "mapped by the tray";

    // The tray embeds it where it likes, at the size it likes.
    XReparentWindow(x_, docked, tray, 10, 3);
    XMoveResizeWindow(x_, docked, 10, 3, 24, 24);
    XMapWindow(x_, docked);
    XSync(x_, False);
    EXPECT_TRUE(PumpUntil(
        [&] {
            RECT r{};
            GetWindowRect(iconWindow, &r);
            return r.left == 610 && r.top == 3 && r.right == 634 && r.bottom == 27;
        },
        "the icon where the tray put it"));
    RedrawWindow(iconWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    display::X11Sync(display::Current());
    gdi::image::Image shot = GrabScreen(Server().Name(), 610, 3, 24, 24);
    ASSERT_EQ(shot.width, 24);
    EXPECT_EQ(shot.At(12, 12) & 0xFFFFFF, 0xFF0000u) << "the icon is drawn";

    // The pointer resting on it shows the tip; a click takes the tip down
    // and reaches the owner as the callback message.
    trayCalls.clear();
    XEvent motion{};
    motion.xmotion = {MotionNotify, 0, True, x_,           docked, root, None, CurrentTime, 5, 5,
                      615,          8, 0,    NotifyNormal, True};
    XSendEvent(x_, docked, False, PointerMotionMask, &motion);
    XFlush(x_);
    EXPECT_TRUE(PumpUntil([&] { return shell::TrayDock::TipWindow() != nullptr; }, "the tip"));
    HWND tip = shell::TrayDock::TipWindow();
    EXPECT_TRUE(IsWindowVisible(tip));
    ASSERT_FALSE(trayCalls.empty());
    EXPECT_EQ(trayCalls.front(), (std::pair<WPARAM, LPARAM>{7, WM_MOUSEMOVE}));
    trayCalls.clear();
    click(docked, 615, 8);
    EXPECT_TRUE(PumpUntil([&] { return trayCalls.size() >= 2; }, "the click's callbacks"));
    EXPECT_EQ(trayCalls, (std::vector<std::pair<WPARAM, LPARAM>>{
                             {7, WM_LBUTTONDOWN},
                             {7, WM_LBUTTONUP  }
    }));
    EXPECT_FALSE(IsWindow(tip));

    // A balloon: our own popup below an icon at the top of the screen; a click on it is reported.
    d.uFlags = NIF_INFO;
    std::strcpy(d.szInfoTitle, "TarvikH.264格式转换器");
    std::strcpy(d.szInfo, "转换完成");
    d.dwInfoFlags = NIIF_INFO;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &d));
    HWND balloon = shell::TrayDock::BalloonWindow();
    ASSERT_TRUE(balloon);
    win::RunUntilIdle();
    display::X11Sync(display::Current());
    EXPECT_TRUE(Viewable(balloon));
    RECT br{};
    GetWindowRect(balloon, &br);
    EXPECT_GE(br.top, 27);
    EXPECT_LE(br.left, 634);
    gdi::image::Image picture = GrabScreen(Server().Name(), 400, 0, 360, 120);
    std::string error;
    EXPECT_TRUE(SavePng(picture, TARVIK_DESKTOP_DIR "/x11_tray.png", error)) << error;
    trayCalls.clear();
    click(XOf(balloon), br.left + 10, br.top + 10);
    EXPECT_TRUE(PumpUntil([&] { return !trayCalls.empty(); }, "the balloon's click"));
    EXPECT_EQ(trayCalls.front(), (std::pair<WPARAM, LPARAM>{7, NIN_BALLOONUSERCLICK}));
    EXPECT_FALSE(IsWindow(balloon));

    // A new tray: the old icon is gone, the program hears it and adds the icon again.
    int before = taskbarCreated;
    Window tray2 = startTray(300);
    EXPECT_TRUE(PumpUntil([&] { return taskbarCreated > before; }, "TaskbarCreated for the new tray"));
    EXPECT_TRUE(shell::NotifyArea::Icons().empty());
    EXPECT_FALSE(IsWindow(iconWindow));
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    EXPECT_EQ(dockRequest(tray2), XOf(shell::TrayDock::IconWindow(h, 7)));
    ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &d));
    EXPECT_EQ(shell::TrayDock::IconWindow(h, 7), nullptr);

    // An icon whose window went without taking it away goes when the pointer finds it.
    HWND gone = Show("gone", WS_OVERLAPPEDWINDOW);
    d.hWnd = gone;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    HWND orphan = shell::TrayDock::IconWindow(gone, 7);
    ASSERT_TRUE(orphan);
    DestroyWindow(gone);
    RECT or_{};
    GetWindowRect(orphan, &or_);
    XEvent over{};
    over.xmotion = {MotionNotify, 0,           True, x_,           XOf(orphan), root, None, CurrentTime, 2, 2,
                    or_.left + 2, or_.top + 2, 0,    NotifyNormal, True};
    XSendEvent(x_, XOf(orphan), False, PointerMotionMask, &over);
    XFlush(x_);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(orphan); }, "the orphaned icon gone"));
    EXPECT_TRUE(shell::NotifyArea::Icons().empty());
    DestroyIcon(icon);
    XDestroyWindow(x_, tray);
    XDestroyWindow(x_, tray2);
    XSync(x_, False);
}

TEST_F(X11Desktop, DesktopFocusMovesOurActivation) {
    HWND a = Show("a", WS_OVERLAPPEDWINDOW),
         b = Show("b", WS_OVERLAPPEDWINDOW, 0, nullptr, {150, 150, 450, 350});
    ASSERT_EQ(GetActiveWindow(), b);
    // A window switcher gives the keyboard to the other window.
    XSetInputFocus(x_, XOf(a), RevertToParent, CurrentTime);
    XSync(x_, False);
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == a; }, "a active"));
    // A focus fallen back to the desktop itself belongs to no other program.
    XSetInputFocus(x_, PointerRoot, RevertToParent, CurrentTime);
    XSync(x_, False);
    for (int i = 0; i < 5; ++i) {
        win::RunUntilIdle();
        display::Current().Wait(20);
    }
    EXPECT_EQ(GetActiveWindow(), a);
    XSetInputFocus(x_, XOf(a), RevertToParent, CurrentTime);
    // Another program takes the keyboard: nothing of ours is active.
    Window foreign = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 600, 100, 100, 100, 0, 0, 0);
    XMapWindow(x_, foreign);
    XSync(x_, False);
    EXPECT_TRUE(PumpUntil([&] {
        XWindowAttributes attr{};
        return XGetWindowAttributes(x_, foreign, &attr) && attr.map_state == IsViewable;
    }));
    XSetInputFocus(x_, foreign, RevertToParent, CurrentTime);
    XSync(x_, False);
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }, "no active window"));
    // Our own quick changes are not undone by the events they leave behind.
    SetForegroundWindow(a);
    SetForegroundWindow(b);
    for (int i = 0; i < 5; ++i) {
        win::RunUntilIdle();
        display::Current().Wait(20);
    }
    EXPECT_EQ(GetActiveWindow(), b);
    XDestroyWindow(x_, foreign);
    XSync(x_, False);
}

// A window manager frames the window; the grabbed screen (x11_desktop.png in
// the build folder) is for a person to look at.
TEST_F(X11Desktop, ChineseTitledWindowUnderAWindowManager) {
    const char* wm = "/usr/bin/evilwm";
    if (access(wm, X_OK) != 0) GTEST_SKIP() << "evilwm is not installed";
    pid_t pid = -1;
    // The server has no font of its own but "fixed" for the frames' labels.
    char* args[] = {const_cast<char*>(wm), const_cast<char*>("-fn"), const_cast<char*>("fixed"), nullptr};
    ASSERT_EQ(posix_spawn(&pid, wm, nullptr, nullptr, args, environ), 0);
    // It frames windows that exist when it starts as well as new ones.
    const char* title = "TarvikH.264格式转换器";
    HWND h = Show(title, WS_OVERLAPPEDWINDOW, 0, nullptr, {120, 120, 520, 320});
    Window w = XOf(h);
    auto reparented = [&] {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(x_, w, &root, &parent, &children, &count);
        if (children) XFree(children);
        return parent != root;
    };
    EXPECT_TRUE(PumpUntil(reparented));
    SetForegroundWindow(h);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    win::RunUntilIdle();
    display::X11Sync(display::Current());
    EXPECT_EQ(Text(w, "_NET_WM_NAME"), title);

    RECT r;
    GetWindowRect(h, &r);
    int width = 480, height = 280;
    gdi::image::Image image = GrabScreen(Server().Name(), 80, 80, width, height);
    ASSERT_EQ(image.width, width);
    std::string error;
    ASSERT_TRUE(SavePng(image, TARVIK_DESKTOP_DIR "/x11_desktop.png", error)) << error;

    // The caption holds text in the caption text colour where the window is now.
    uint32_t textPixel = gdi::PixelOf(GetSysColor(COLOR_CAPTIONTEXT)) & 0xFFFFFF;
    RECT wr;
    GetWindowRect(h, &wr);
    bool text = false;
    for (int sy = wr.top + 2; sy < wr.top + 20; ++sy)
        for (int sx = wr.left + 4; sx < wr.left + 200; ++sx) {
            int ix = sx - 80, iy = sy - 80;
            if (ix >= 0 && iy >= 0 && ix < width && iy < height && (image.At(ix, iy) & 0xFFFFFF) == textPixel)
                text = true;
        }
    EXPECT_TRUE(text);

    // The window manager activates on our request and sets the focus itself.
    HWND other = Show("其他", WS_OVERLAPPEDWINDOW, 0, nullptr, {200, 200, 500, 400});
    auto focusIn = [&](HWND want) {
        return PumpUntil(
            [&] {
                Window f = 0;
                int revert = 0;
                XGetInputFocus(x_, &f, &revert);
                return f == XOf(want);
            },
            "the focus in the window we activated");
    };
    // The focus moves between our own windows even though evilwm takes no
    // activation requests from applications.
    for (HWND want : {other, h, other}) {
        SetForegroundWindow(want);
        EXPECT_TRUE(focusIn(want));
    }
    // Another program's window keeps the keyboard: we only ask.
    Window foreign = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 600, 100, 100, 100, 0, 0, 0);
    XMapWindow(x_, foreign);
    XSync(x_, False);
    EXPECT_TRUE(PumpUntil([&] {
        XWindowAttributes a{};
        return XGetWindowAttributes(x_, foreign, &a) && a.map_state == IsViewable;
    }));
    // The pointer rests on it: evilwm's focus follows the pointer.
    XWarpPointer(x_, None, DefaultRootWindow(x_), 0, 0, 0, 0, 650, 150);
    XSetInputFocus(x_, foreign, RevertToParent, CurrentTime);
    XSync(x_, False);
    SetForegroundWindow(h);
    display::X11Sync(display::Current());
    Window f = 0;
    int revert = 0;
    XGetInputFocus(x_, &f, &revert);
    EXPECT_EQ(f, foreign);
    XDestroyWindow(x_, foreign);
    XSync(x_, False);
    DestroyWindow(h);
    win::RunUntilIdle();
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

} // namespace
