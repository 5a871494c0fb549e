// On a real (virtual) screen: a form whose child window shows the player's
// paused picture, and the preview window of a running conversion.  The
// grabbed screen is kept as preview_screen.png in the build folder for a
// person to look at; the test checks that both pictures reached the screen.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "../gui/WaitUntil.h"
#include "app/PreviewWindows.h"
#include "app/Previewer.h"
#include "display/headless/Headless.h"
#include "fixtures/Fixtures.h"
#include "gdi/image/Png.h"
#include "gui/Application.h"
#include "gui/CustomPanel.h"
#include "gui/Forms.h"
#include "gui/Screen.h"
#include "media/FFPlayer.h"
#include "media/FFmpegConverter.h"
#include "os/MainThread.h"
#include "win/FrameHost.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace gui;

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

::testing::AssertionResult PumpUntil(const std::function<bool()>& done, const std::string& what) {
    return WaitUntil(
        [&] {
            os::CheckSynchronize(1);
            win::ProcessPending();
            return done();
        },
        std::chrono::seconds(30), what);
}

// The frame number in a screen rectangle of the grab.
int FrameIn(const gdi::image::Image& screen, RECT r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = screen.At(r.left + x, r.top + y);
    return fixtures::ReadFrameNumber(reinterpret_cast<const uint8_t*>(pixels.data()), w * 4, w, h, 4);
}

RECT ClientOnScreen(HWND h) {
    RECT c;
    GetClientRect(h, &c);
    POINT o{0, 0};
    ClientToScreen(h, &o);
    return RECT{o.x, o.y, o.x + c.right, o.y + c.bottom};
}

TEST(PreviewScreen, PlayerPictureAndPreviewWindowOnAScreen) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    fixtures::TempFolder folder{"previewscreen"};
    fixtures::ClipOptions o;
    o.kind = fixtures::ClipKind::Mpg;
    o.seconds = 3.0;
    o.audio = false;
    const std::string clip = fixtures::MakeClip(folder, o, "screen.mpg");

    auto* f = new TForm(Application);
    f->AfterConstruction();
    f->SetBorderStyle(bsSingle);
    f->SetCaption("播放器");
    f->SetBounds(40, 40, 380, 300);
    auto* host = new TPanel(f);
    host->SetBounds(10, 10, 320, 240);
    host->SetParent(f);
    f->Show();
    win::RunUntilIdle();
    ASSERT_TRUE(RegisterFrameHost(host->Handle()));
    media::TFFPlayer player;
    ASSERT_TRUE(player.LoadAVLib("")) << player.LastErrMsg();
    ASSERT_TRUE(player.Open(clip, reinterpret_cast<uintptr_t>(host->Handle()), true)) << player.LastErrMsg();

    app::InstallPreviewerFactory();
    media::TFFmpegConverter conv;
    std::atomic<bool> ended{false};
    conv.SetOnTerminate([&](os::TObject*, const media::TTerminateInfo& info) {
        if (info.TaskIndex == -1) ended = true;
    });
    int index = conv.AddTask(clip, "re=1");
    ASSERT_GE(index, 0) << conv.LastErrMsg();
    ASSERT_TRUE(conv.SetOutputFile(index, folder.Path("out.mpg"), "")) << conv.LastErrMsg();
    conv.SetPreview(true);
    conv.Start(1);
    TCustomForm* preview = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (int i = 0; i < gui::Screen->FormCount() && !preview; ++i)
                if (gui::Screen->Forms(i)->HandleAllocated() &&
                    app::TPreviewWindows::Contains(gui::Screen->Forms(i)->Handle()))
                    preview = gui::Screen->Forms(i);
            return preview && preview->Caption() >= "00:00:01";
        },
        "the preview a second into the clip"));

    // Taken while the conversion runs; the worker waits for the GUI thread meanwhile.
    Display* x = XOpenDisplay(server.Name().c_str());
    ASSERT_TRUE(x);
    XSync(x, False);
    XCloseDisplay(x);
    RECT a, b;
    GetWindowRect(f->Handle(), &a);
    GetWindowRect(preview->Handle(), &b);
    const RECT all{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
    const int width = all.right - all.left, height = all.bottom - all.top;
    gdi::image::Image screen = GrabScreen(server.Name(), all.left, all.top, width, height);
    ASSERT_EQ(screen.width, width);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/preview_screen.png", error)) << error;

    auto local = [&](RECT r) {
        return RECT{r.left - all.left, r.top - all.top, r.right - all.left, r.bottom - all.top};
    };
    EXPECT_EQ(FrameIn(screen, local(ClientOnScreen(host->Handle()))), 0);
    EXPECT_GE(FrameIn(screen, local(ClientOnScreen(preview->Handle()))), 25);

    conv.Stop(true);
    ASSERT_TRUE(PumpUntil([&] { return ended.load(); }, "the run to end"));
    conv.ClearTasks();
    player.Stop(true);
    media::SetPreviewerFactory(nullptr);
    delete f;
    win::RunUntilIdle();
}

} // namespace
