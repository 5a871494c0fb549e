// The main window playing a generated clip on a real (virtual) screen, grabbed into
// main_window_preview.png in the build folder for a person to look at. The test checks that
// the preview surface shows the frame the player displayed last.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "../gui/TempDir.h"
#include "../gui/WaitUntil.h"
#include "app/MainForm.h"
#include "app/PreviewPanel.h"
#include "display/headless/Headless.h"
#include "fixtures/Fixtures.h"
#include "gui/Application.h"
#include "gui/CustomPanel.h"
#include "media/ComponentUtils.h"
#include "media/FFPlayer.h"
#include "os/MainThread.h"
#include "resources/ProgramResources.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPanel.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(MainWindowPreviewScreen, PlaysAClipInThePreview) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    static XvfbServer server;
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";
    resources::RegisterProgramResources();
    TempDir home, config;
    setenv("HOME", home.path.c_str(), 1);
    setenv("TARVIK_CONFIG_DIR", config.path.c_str(), 1);
    auto pump = [] {
        MSG msg;
        bool any = os::CheckSynchronize(0);
        return gui::Application->ProcessMessage(msg) || any;
    };
    media::SetMessagePump(pump);
    fixtures::TempFolder clips{"previewscreen"};
    const std::string clip = fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 4.0});

    auto* form = new app::TForm1(gui::Application);
    form->AfterConstruction();
    form->SetBounds(0, 0, form->Width(), form->Height());
    form->Show();
    win::RunUntilIdle();
    app::TPreviewPanel* preview = form->Preview.get();
    media::TFFPlayer* player = form->FFPlayer;
    preview->OpenFile(clip);
    auto until = [&](const std::function<bool()>& done, const std::string& what) {
        return WaitUntil(
            [&] {
                pump();
                return done();
            },
            std::chrono::seconds(30), what);
    };
    ASSERT_TRUE(until([&] { return player->CurrentFrame().Width() > 0; }, "the first picture"));
    preview->bsSkinButton13->OnClick(preview->bsSkinButton13);
    ASSERT_TRUE(until([&] { return player->CurrentPTS() > 1000000; }, "a second of playing"));
    preview->bsSkinButton14->OnClick(preview->bsSkinButton14);
    ASSERT_TRUE(until([&] { return player->Paused(); }, "paused"));
    const media::TFrameBitmap& frame = player->CurrentFrame();
    const int shown =
        fixtures::ReadFrameNumber(frame.ScanLine(0), frame.Stride(), frame.Width(), frame.Height(), 3);
    EXPECT_GT(shown, 20);

    // The surface's part of the screen comes to show the frame the player displayed last.
    RECT wr, pr;
    GetWindowRect(form->Handle(), &wr);
    GetWindowRect(form->Panel6->Handle(), &pr);
    gdi::image::Image shot;
    auto onScreen = [&] {
        shot = GrabScreen(server.Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
        // The 4:3 picture stands centred between black bars.
        const int h = pr.bottom - pr.top, w = h * 4 / 3, left = pr.left + (pr.right - pr.left - w) / 2;
        std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels[static_cast<size_t>(y) * w + x] = shot.At(left - wr.left + x, pr.top - wr.top + y);
        return fixtures::ReadFrameNumber(reinterpret_cast<const uint8_t*>(pixels.data()), w * 4, w, h, 4);
    };
    int screen = -1, last = shown;
    EXPECT_TRUE(until(
        [&] {
            const media::TFrameBitmap& f = player->CurrentFrame();
            last = fixtures::ReadFrameNumber(f.ScanLine(0), f.Stride(), f.Width(), f.Height(), 3);
            screen = onScreen();
            return screen == last;
        },
        "the paused frame on the screen"))
        << screen << " " << last;
    std::string error;
    ASSERT_TRUE(SavePng(shot, std::string(TARVIK_SHOT_DIR) + "/main_window_preview.png", error)) << error;

    player->Stop(true);
    delete form;
    win::RunUntilIdle();
    media::SetMessagePump(nullptr);
    unsetenv("TARVIK_CONFIG_DIR");
}

} // namespace
