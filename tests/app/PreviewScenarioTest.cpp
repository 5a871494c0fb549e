// A user's whole round, headless under the sanitizers: files added, a row previewed and
// snapshotted, the list converted; option.ini ends with every section it keeps.
#include "ConverterWindow.h"
#include "app/PreviewPanel.h"
#include "gui/MenuItem.h"
#include "media/ComponentUtils.h"
#include "media/FFPlayer.h"
#include "media/FFmpegConverter.h"
#include "skin/controls/SkinButton.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace app;
namespace fs = std::filesystem;

namespace {

class PreviewScenarioTest : public ConverterWindowTest {
protected:
    void SetUp() override {
        ConverterWindowTest::SetUp();
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        media::SetMessagePump([] {
            MSG msg;
            bool any = os::CheckSynchronize(0);
            return gui::Application->ProcessMessage(msg) || any;
        });
    }
    void TearDown() override {
        if (main) main->FFPlayer->Stop(true);
        ConverterWindowTest::TearDown();
        media::SetMessagePump(nullptr);
    }
    ::testing::AssertionResult PumpUntil(const std::function<bool()>& done, const std::string& what) {
        return WaitUntil(
            [&] {
                os::CheckSynchronize(1);
                MSG msg;
                gui::Application->ProcessMessage(msg);
                return done();
            },
            std::chrono::seconds(60), what);
    }
    fixtures::TempFolder folder{"previewscenario"};
};

TEST_F(PreviewScenarioTest, AddPreviewSnapshotAndConvert) {
    Start();
    fixtures::ClipOptions clip;
    clip.kind = fixtures::ClipKind::Avi;
    clip.seconds = 1;
    clip.width = 160;
    clip.height = 120;
    chosen = {fixtures::MakeClip(folder, clip, "first.avi"), fixtures::MakeClip(folder, clip, "假期.avi")};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 2);

    TPreviewPanel* preview = main->Preview.get();
    media::TFFPlayer* player = main->FFPlayer;
    // The row of the second file, whatever order the list keeps.
    const int row = list->Row(0)->Caption() == chosen[1] ? 0 : 1;
    main->lvFiles->SetItemIndex(1 - row);
    RunUntilIdle();
    main->lvFiles->SetItemIndex(row);
    ASSERT_TRUE(PumpUntil(
        [&] {
            return player->FileName() == chosen[1] && player->Paused() &&
                   player->CurrentFrame().Width() == 160;
        },
        "the second file's first picture, paused"));
    EXPECT_EQ(main->T_Movie_PLayer_FileName, chosen[1]);

    preview->PNG1->Click();
    preview->bsSkinButton22->OnClick(preview->bsSkinButton22);
    preview->bsSkinButton22->OnClick(preview->bsSkinButton22);
    const fs::path shots = home.path / "Tarvik视频软件" / "快照";
    EXPECT_TRUE(fs::exists(shots / "假期_1.png"));
    EXPECT_TRUE(fs::exists(shots / "假期_2.png"));

    main->StartItem->Click();
    ASSERT_TRUE(WaitForEnd());
    for (int r = 0; r < 2; ++r) EXPECT_EQ(Sub(r, rcProgress), "100%") << r;

    std::ifstream in(config / "option.ini");
    std::stringstream text;
    text << in.rdbuf();
    for (const char* section : {"[Options]", "[OutPath]", "[Skin]", "[SnapShot]"})
        EXPECT_NE(text.str().find(section), std::string::npos) << section << "\n" << text.str();
}

} // namespace
