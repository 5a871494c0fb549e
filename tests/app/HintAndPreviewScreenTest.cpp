// The main window on a real (virtual) screen: the skinned hint over the preview's snapshot
// button (main_window_hint.png) and the preview's black surface after the list is cleared
// (main_window_cleared.png), both in the build folder for a person to look at.
#include "../display/ScreenGrab.h"
#include "../gui/WaitUntil.h"
#include "ProgramScreen.h"
#include "app/FileList.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/PreviewPanel.h"
#include "fixtures/Fixtures.h"
#include "gui/Application.h"
#include "gui/CustomListView.h"
#include "gui/CustomPanel.h"
#include "media/ComponentUtils.h"
#include "media/FFPlayer.h"
#include "os/MainThread.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/hints/SkinHintWindow.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <X11/Xlib.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The pointer moved as a person moves it: the server tells the program.
void WarpPointer(const std::string& display, int x, int y) {
    Display* d = XOpenDisplay(display.c_str());
    ASSERT_NE(d, nullptr);
    XWarpPointer(d, None, DefaultRootWindow(d), 0, 0, 0, 0, x, y);
    XSync(d, False);
    XCloseDisplay(d);
}

int BlackPoints(const gdi::image::Image& shot, const RECT& r, int& points) {
    int black = 0;
    points = 0;
    for (int y = r.top + 3; y < r.bottom - 3; y += 8)
        for (int x = r.left + 3; x < r.right - 3; x += 8, ++points) black += (shot.At(x, y) & 0xFFFFFF) == 0;
    return black;
}

TEST(MainWindowHintAndPreviewScreen, ASkinnedHintAndTheBlankPreviewAfterClear) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ProgramScreen screen;
    ASSERT_TRUE(screen.Open());
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    fixtures::LoadMediaLibraries();
    media::SetMessagePump(&ProgramScreen::Pump);
    fixtures::TempFolder clips{"hintscreen"};
    const std::string clip = fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 2.0});

    app::TForm1* form = nullptr;
    gui::Application->CreateForm(form); // the main form holds the hint component
    auto* options = new app::TForm5(gui::Application, form);
    options->AfterConstruction();
    form->OptionsForm = options;
    form->SetBounds(0, 0, form->Width(), form->Height());
    form->Show();
    win::RunUntilIdle();
    auto until = [&](const std::function<bool()>& done, const std::string& what) {
        return WaitUntil(
            [&] {
                ProgramScreen::Pump();
                return done();
            },
            std::chrono::seconds(30), what);
    };

    // The hint of the snapshot button.
    skin::TbsSkinButton* snapshot = form->Preview->bsSkinButton22;
    RECT br;
    GetWindowRect(snapshot->Handle(), &br);
    WarpPointer(screen.Name(), br.left + 10, br.top + 12);
    WarpPointer(screen.Name(), br.left + 12, br.top + 14);
    skin::TbsSkinHintWindow* hint = nullptr;
    ASSERT_TRUE(until(
        [&] {
            hint = dynamic_cast<skin::TbsSkinHintWindow*>(gui::Application->HintWindow());
            return hint && hint->HandleAllocated() && IsWindowVisible(hint->Handle());
        },
        "the hint over the snapshot button"));
    EXPECT_EQ(hint->Caption(), "快照");
    win::RunUntilIdle();
    RECT hr;
    GetWindowRect(hint->Handle(), &hr);
    // The preview's row of buttons with the hint under the pointer.
    const int left = std::min(br.left, hr.left) - 170, top = std::min(br.top, hr.top) - 70;
    const int right = std::max(br.right, hr.right) + 60, bottom = std::max(br.bottom, hr.bottom) + 30;
    gdi::image::Image shot = GrabScreen(screen.Name(), left, top, right - left, bottom - top);
    std::string error;
    ASSERT_TRUE(SavePng(shot, std::string(TARVIK_SHOT_DIR) + "/main_window_hint.png", error)) << error;
    gui::Application->CancelHint();
    WarpPointer(screen.Name(), 1000, 900);

    // A file in the preview, then Clear: the surface is black again.
    form->FileList->OpenFile = [&](std::string& file) {
        file = clip;
        return true;
    };
    form->FileList->AddOneFile();
    ASSERT_EQ(form->FileList->RowCount(), 1);
    media::TFFPlayer* player = form->FFPlayer;
    ASSERT_TRUE(until([&] { return player->CurrentFrame().Width() > 0; }, "the first picture"));
    RECT wr, pr;
    GetWindowRect(form->Handle(), &wr);
    GetWindowRect(form->Panel6->Handle(), &pr);
    int points = 0;
    ASSERT_TRUE(until(
        [&] {
            shot = GrabScreen(screen.Name(), 0, 0, wr.right, wr.bottom);
            return BlackPoints(shot, pr, points) < points / 2;
        },
        "the picture on the screen"));
    form->FileList->Clear();
    EXPECT_TRUE(until(
        [&] {
            shot = GrabScreen(screen.Name(), 0, 0, wr.right, wr.bottom);
            return BlackPoints(shot, pr, points) == points;
        },
        "the black surface"));
    ASSERT_TRUE(SavePng(GrabScreen(screen.Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top),
                        std::string(TARVIK_SHOT_DIR) + "/main_window_cleared.png", error))
        << error;

    player->Stop(true);
    media::SetMessagePump(nullptr);
    delete form;
    win::RunUntilIdle();
}

} // namespace
