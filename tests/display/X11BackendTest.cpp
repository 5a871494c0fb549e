// The X11 backend against a private Xvfb, looked at through a second
// connection as any other client would see it.  No window manager runs, so
// windows sit exactly where they are put.
#include "Xvfb.h"
#include "display/x11/X11Display.h"

#include <array>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

namespace {

class X11Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (XvfbServer::Installed()) server_ = new XvfbServer;
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        if (!server_) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(server_->Running()) << server_->Error();
        d_ = display::OpenX11(server_->Name().c_str());
        ASSERT_TRUE(d_);
        x_ = XOpenDisplay(server_->Name().c_str());
        ASSERT_TRUE(x_);
    }
    void TearDown() override {
        d_.reset();
        if (x_) XCloseDisplay(x_);
    }

    // A shown window of the given kind filled with one colour.
    Window Show(uintptr_t id, RECT r, uint32_t fill, display::WindowKind kind = display::WindowKind::Normal) {
        auto s = d_->CreateSurface(id, r.right - r.left, r.bottom - r.top);
        Fill(*s, fill);
        d_->Place(id, r, true, kind);
        d_->Present(id, {0, 0, s->width, s->height});
        surfaces_.push_back(s);
        return display::X11WindowOf(*d_, id);
    }
    static void Fill(gdi::Bitmap& s, uint32_t argb) {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) s.View().Row32(y)[x] = argb;
    }
    // A round trip of the backend's: the server has done all it asked before.
    void Settle() { display::X11Sync(*d_); }
    unsigned long PixelAt(Window w, int x, int y) {
        XImage* img = XGetImage(x_, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!img) return ~0ul;
        unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
        XDestroyImage(img);
        return p;
    }
    // Input the backend turns an X event into, waiting for it a bounded time.
    bool NextInput(display::RawInput& ev) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            if (d_->PollInput(ev)) return true;
            d_->Wait(100);
        }
        return false;
    }
    void Send(Window w, XEvent& e, long mask) {
        XSendEvent(x_, w, False, mask, &e);
        XFlush(x_);
    }
    XEvent Key(Window w, int type, KeySym sym, unsigned state = 0) {
        XEvent e{};
        e.xkey = {type, 0, True, x_,  w,     DefaultRootWindow(x_),     None, CurrentTime,
                  5,    5, 105,  125, state, XKeysymToKeycode(x_, sym), True};
        return e;
    }

    static inline XvfbServer* server_ = nullptr;
    std::unique_ptr<display::Backend> d_;
    Display* x_ = nullptr;
    std::vector<std::shared_ptr<gdi::Bitmap>> surfaces_;
};

TEST_F(X11Test, MonitorIsTheScreen) {
    auto m = d_->Monitors();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].area.right, 1280);
    EXPECT_EQ(m[0].area.bottom, 1024);
    EXPECT_EQ(m[0].work.bottom, 1024);
}

TEST_F(X11Test, WindowsAppearWherePutWithTheirPixels) {
    Window w = Show(1, {100, 120, 164, 168}, 0x00FF8000); // GDI leaves alpha 0: still shown
    ASSERT_NE(w, 0u);
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(x_, w, &a));
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_EQ(a.x, 100);
    EXPECT_EQ(a.y, 120);
    EXPECT_EQ(a.width, 64);
    EXPECT_EQ(a.height, 48);
    EXPECT_FALSE(a.override_redirect);
    EXPECT_EQ(PixelAt(w, 10, 10), 0xFF8000u);
    EXPECT_EQ(PixelAt(w, 63, 47), 0xFF8000u);

    // Only the dirty part is sent.
    Fill(*surfaces_[0], 0xFF0000FF);
    d_->Present(1, {0, 0, 8, 8});
    EXPECT_EQ(PixelAt(w, 2, 2), 0x0000FFu);
    EXPECT_EQ(PixelAt(w, 20, 20), 0xFF8000u);

    Window p = Show(2, {300, 300, 340, 320}, 0xFF00FF00, display::WindowKind::Popup);
    ASSERT_TRUE(XGetWindowAttributes(x_, p, &a));
    EXPECT_TRUE(a.override_redirect);

    d_->Place(1, {100, 120, 164, 168}, false, display::WindowKind::Normal);
    Settle();
    ASSERT_TRUE(XGetWindowAttributes(x_, w, &a));
    EXPECT_EQ(a.map_state, IsUnmapped);
    d_->DestroySurface(2);
    EXPECT_EQ(display::X11WindowOf(*d_, 2), 0u);
}

TEST_F(X11Test, UncoveredPartsComeBackFromTheSurface) {
    Window w = Show(1, {50, 50, 150, 150}, 0xFFFF0000);
    Show(2, {60, 60, 120, 120}, 0xFF00FF00, display::WindowKind::Popup);
    EXPECT_EQ(PixelAt(DefaultRootWindow(x_), 70, 70), 0x00FF00u);
    d_->Place(2, {60, 60, 120, 120}, false, display::WindowKind::Popup);
    display::RawInput ev;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (PixelAt(w, 20, 20) != 0xFF0000u && std::chrono::steady_clock::now() < end) {
        d_->Wait(100);
        while (d_->PollInput(ev)) {
        }
    }
    EXPECT_EQ(PixelAt(w, 20, 20), 0xFF0000u);
}

TEST_F(X11Test, RegionsAndPerPixelAlphaShapeTheWindow) {
    Window w = Show(1, {10, 10, 110, 60}, 0xFF202020);
    auto rects = [&] {
        int count = 0, ordering = 0;
        XRectangle* r = XShapeGetRectangles(x_, w, ShapeBounding, &count, &ordering);
        std::vector<std::array<int, 4>> out;
        for (int i = 0; i < count; ++i) out.push_back({r[i].x, r[i].y, r[i].width, r[i].height});
        XFree(r);
        return out;
    };
    RECT parts[] = {
        {0,  0,  40,  20},
        {60, 30, 100, 50}
    };
    gdi::Region shape = gdi::Region::FromRects(parts, 2);
    d_->SetShape(1, &shape);
    Settle();
    using R = std::vector<std::array<int, 4>>;
    EXPECT_EQ(rects(), (R{
                           {0,  0,  40, 20},
                           {60, 30, 40, 20}
    }));

    d_->SetShape(1, nullptr);
    Settle();
    EXPECT_EQ(rects(), (R{
                           {0, 0, 100, 50}
    }));

    // Per-pixel alpha shapes the window to where pixels are not fully
    // transparent (a picture with no alpha at all keeps it whole), and
    // without a compositor keeps it off the screen altogether.
    gdi::Bitmap& s = *surfaces_[0];
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) s.View().Row32(y)[x] = x < 30 ? 0x80404040 : 0;
    d_->SetOpacity(1, 255, true);
    d_->Present(1, {0, 0, 100, 50});
    // The backend only flushes; our own connection's query could overtake it.
    Settle();
    EXPECT_EQ(rects(), (R{
                           {0, 0, 30, 50}
    }));
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(x_, w, &a));
    EXPECT_NE(a.map_state, IsViewable);
    Fill(s, 0x00FFFFFF);
    d_->Present(1, {0, 0, 100, 50});
    Settle();
    EXPECT_EQ(rects(), (R{
                           {0, 0, 100, 50}
    }));

    // Constant alpha is left to a compositor through the usual property.
    d_->SetOpacity(1, 128, false);
    Settle();
    Atom opacity = XInternAtom(x_, "_NET_WM_WINDOW_OPACITY", False), type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(x_, w, opacity, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &data),
              Success);
    ASSERT_EQ(n, 1u);
    // Xlib hands 32-bit items out as longs, sign-extended.
    EXPECT_EQ(*reinterpret_cast<unsigned long*>(data) & 0xFFFFFFFFul, 128ul * 0xFFFFFFFFul / 255);
    XFree(data);
}

TEST_F(X11Test, XEventsBecomeRawInput) {
    Window w = Show(7, {200, 200, 300, 260}, 0xFF000000);
    display::RawInput ev;
    XEvent e{};
    e.xbutton = {ButtonPress, 0,   True, x_,      w,   DefaultRootWindow(x_), None, CurrentTime, 10, 20,
                 210,         220, 0,    Button3, True};
    Send(w, e, ButtonPressMask);
    ASSERT_TRUE(NextInput(ev));
    EXPECT_EQ(ev.kind, display::RawInput::ButtonDown);
    EXPECT_EQ(ev.button, 1); // right
    EXPECT_EQ(ev.pt.x, 210);
    EXPECT_EQ(ev.pt.y, 220);

    e.xbutton.type = ButtonPress, e.xbutton.button = Button5;
    Send(w, e, ButtonPressMask);
    ASSERT_TRUE(NextInput(ev));
    EXPECT_EQ(ev.kind, display::RawInput::Wheel);
    EXPECT_EQ(ev.delta, -120);

    e = Key(w, KeyPress, XK_a, ShiftMask);
    Send(w, e, KeyPressMask);
    ASSERT_TRUE(NextInput(ev));
    EXPECT_EQ(ev.kind, display::RawInput::KeyDown);
    EXPECT_EQ(ev.vk, 'A');
    ASSERT_TRUE(NextInput(ev));
    EXPECT_EQ(ev.kind, display::RawInput::Text);
    EXPECT_EQ(ev.text, U"A");

    // Ctrl chords and keys that type nothing give no text.
    e = Key(w, KeyPress, XK_c, ControlMask);
    Send(w, e, KeyPressMask);
    e = Key(w, KeyPress, XK_F5);
    Send(w, e, KeyPressMask);
    e = Key(w, KeyRelease, XK_Escape);
    Send(w, e, KeyReleaseMask);
    std::vector<std::pair<int, int>> keys;
    for (int i = 0; i < 3 && NextInput(ev); ++i) keys.push_back({ev.kind, ev.vk});
    EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{
                        {display::RawInput::KeyDown, 'C'    },
                        {display::RawInput::KeyDown, 112 + 4},
                        {display::RawInput::KeyUp,   27     }
    }));

    e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(x_, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(x_, "WM_DELETE_WINDOW", False));
    Send(w, e, NoEventMask);
    ASSERT_TRUE(NextInput(ev));
    EXPECT_EQ(ev.kind, display::RawInput::Close);
    EXPECT_EQ(ev.window, 7u);

    // A window manager moving the window says so with a synthetic event in
    // screen coordinates.
    e = {};
    e.xconfigure = {ConfigureNotify, 0, True, x_, w, w, 400, 300, 100, 60, 0, None, False};
    Send(w, e, StructureNotifyMask);
    ASSERT_TRUE(NextInput(ev));
    EXPECT_EQ(ev.kind, display::RawInput::Moved);
    EXPECT_EQ(ev.window, 7u);
    EXPECT_EQ(ev.rect.left, 400);
    EXPECT_EQ(ev.rect.bottom, 360);
}

TEST_F(X11Test, WakeFromAnotherThreadEndsWait) {
    auto start = std::chrono::steady_clock::now();
    std::thread t([&] { d_->Wake(); });
    d_->Wait(60000);
    t.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(X11Test, ClipboardTextCrossesClients) {
    auto other = display::OpenX11(server_->Name().c_str());
    ASSERT_TRUE(other);
    const std::string text = "H.264 格式 – ü";
    other->SetClipboardText(text);
    EXPECT_EQ(other->ClipboardText(), text);
    // The owner answers requests from its own loop.
    std::atomic<bool> stop = false;
    std::thread owner([&] {
        display::RawInput ev;
        while (!stop) {
            other->Wait(20);
            while (other->PollInput(ev)) {
            }
        }
    });
    std::string got = d_->ClipboardText();
    // A reader that knows only Latin-1 gets '?' for what Latin-1 cannot hold.
    Window reader = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 0, 0, 1, 1, 0, 0, 0);
    Atom clipboard = XInternAtom(x_, "CLIPBOARD", False), into = XInternAtom(x_, "T", False);
    XConvertSelection(x_, clipboard, XA_STRING, into, reader, CurrentTime);
    XFlush(x_);
    XEvent e{};
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!XCheckTypedWindowEvent(x_, reader, SelectionNotify, &e) &&
           std::chrono::steady_clock::now() < end) {
        pollfd fd{ConnectionNumber(x_), POLLIN, 0};
        poll(&fd, 1, 100);
    }
    std::string latin1;
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    if (e.type == SelectionNotify && e.xselection.property == into &&
        XGetWindowProperty(x_, reader, into, 0, 1024, True, XA_STRING, &type, &format, &n, &after, &data) ==
            Success &&
        data)
        latin1.assign(reinterpret_cast<char*>(data), n);
    if (data) XFree(data);
    stop = true;
    other->Wake();
    owner.join();
    EXPECT_EQ(got, text);
    EXPECT_EQ(latin1, "H.264 ?? ? \xFC");
}

} // namespace
