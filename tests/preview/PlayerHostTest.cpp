// The player's picture in a child window of a form: it appears there, follows
// the window's size and is drawn again when the window is exposed, also while
// the playback is paused.  SDL is process-wide: each test runs alone.
#include "../gui/GuiHarness.h"
#include "fixtures/Fixtures.h"
#include "gui/CustomPanel.h"
#include "media/FFPlayer.h"
#include "win/FrameHost.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <vector>

using namespace gui;

namespace {

// The frame number a window's client area shows, -1 when it shows none.
int ShownFrame(HWND h) {
    HWND top = GetAncestor(h, GA_ROOT);
    RECT wr, cr;
    GetWindowRect(top, &wr);
    GetClientRect(h, &cr);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    const gdi::Bitmap* surface = win::GetWindowSurface(top);
    if (!surface || cr.right <= 0 || cr.bottom <= 0) return -1;
    std::vector<uint32_t> pixels(static_cast<size_t>(cr.right) * cr.bottom);
    for (int y = 0; y < cr.bottom; ++y)
        for (int x = 0; x < cr.right; ++x)
            pixels[static_cast<size_t>(y) * cr.right + x] =
                surface->View().Get(origin.x - wr.left + x, origin.y - wr.top + y);
    return fixtures::ReadFrameNumber(reinterpret_cast<const uint8_t*>(pixels.data()), cr.right * 4, cr.right,
                                     cr.bottom, 4);
}

class PlayerHostTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(player.LoadAVLib("")) << player.LastErrMsg();
        form = MakeForm();
        form->SetBounds(50, 50, 560, 460);
        panel = new TPanel(form);
        panel->SetBounds(20, 20, 320, 240);
        panel->SetParent(form);
        form->Show();
        RunUntilIdle();
        ASSERT_TRUE(RegisterFrameHost(panel->Handle()));
    }
    void TearDown() override {
        player.Stop(true);
        win::SetMessageHook(nullptr);
        GuiTest::TearDown();
    }
    static ::testing::AssertionResult PumpUntil(const std::function<bool()>& done, const std::string& what) {
        return WaitUntil(
            [&] {
                os::CheckSynchronize(1);
                MSG msg;
                Application->ProcessMessage(msg);
                return done();
            },
            std::chrono::seconds(30), what);
    }
    fixtures::TempFolder folder{"playerhost"};
    media::TFFPlayer player;
    TForm* form = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(PlayerHostTest, ThePictureFollowsTheWindowAndItsExposesWhilePaused) {
    const std::string clip = fixtures::MakeClip(folder, fixtures::ClipOptions{});
    ASSERT_TRUE(player.Open(clip, reinterpret_cast<uintptr_t>(panel->Handle()), true)) << player.LastErrMsg();
    ASSERT_TRUE(PumpUntil([&] { return ShownFrame(panel->Handle()) == 0; }, "frame 0 in the child window"));
    EXPECT_EQ(player.ScreenWidth.load(), 320);

    // Larger: the player draws the picture anew at the window's size.
    panel->SetBounds(20, 20, 480, 360);
    ASSERT_TRUE(
        PumpUntil([&] { return player.ScreenWidth.load() == 480; }, "the player to take the new size"));
    ASSERT_TRUE(PumpUntil([&] { return ShownFrame(panel->Handle()) == 0; }, "frame 0 at the new size"));
    EXPECT_EQ(player.ScreenHeight.load(), 360);

    // Exposed while paused: the player sends its picture again.
    const UINT pending = RegisterWindowMessage("TarvikFramePending");
    int pictures = 0;
    win::SetMessageHook([&](MSG& m) {
        pictures += m.message == pending && m.hwnd == panel->Handle();
        return false;
    });
    RunUntilIdle();
    pictures = 0;
    InvalidateRect(panel->Handle(), nullptr, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return pictures > 0; }, "a picture after the expose"));
    EXPECT_EQ(ShownFrame(panel->Handle()), 0);
}

} // namespace
