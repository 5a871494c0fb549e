// The open dialog over a folder of clips with Chinese names, on a real (virtual) screen in
// two skins, grabbed into PNG files in the build folder for a person to look at.  The test
// checks that the dialog's frame reached the screen in its skin.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "app/OpenDialogFilter.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/Timer.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skins/StoredSkins.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

skin::TbsCompressedSkinList& Skins() {
    static skin::TbsCompressedSkinList list;
    static bool loaded = (skins::LoadStoredSkins(list), true);
    (void)loaded;
    return list;
}

class OpenDialogScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(Server().Running()) << Server().Error();
        setenv("DISPLAY", Server().Name().c_str(), 1);
        unsetenv("TARVIK_DISPLAY");
        ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";
    }
};

TEST_F(OpenDialogScreen, OverAFolderOfClipsInTwoSkins) {
    char tmpl[] = "/tmp/tarvik-shot-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    char real[PATH_MAX];
    ASSERT_NE(::realpath(tmpl, real), nullptr);
    const std::string clips = std::string(real) + "/视频";
    std::filesystem::create_directories(clips + "/素材");
    std::filesystem::create_directories(clips + "/输出");
    for (const char* name : {"婚礼录像.avi", "旅行日记.mp4", "毕业典礼.mkv", "会议记录.wmv", "片头动画.flv",
                             "周末聚会.mov", "notes.txt"})
        std::ofstream(clips + "/" + name) << std::string(12345, 'x');

    for (int index : {0, 10}) {
        SCOPED_TRACE(index);
        skin::TbsSkinData sd;
        sd.SetSkinList(&Skins());
        sd.SetSkinIndex(index);
        ASSERT_FALSE(sd.Empty);
        skin::TbsSkinOpenDialog dlg(gui::Application);
        dlg.Title = "打开文件";
        dlg.Filter = app::OpenDialogFilter();
        dlg.SetSkinData(&sd);
        dlg.SetCtrlSkinData(&sd);
        dlg.DialogWidth = 560;
        dlg.DialogHeight = 340;
        dlg.InitialDir = clips;
        dlg.ListViewStyle = index == 0 ? gui::vsReport : gui::vsList;
        dlg.FilterIndex = 2;
        const std::string file =
            std::string(TARVIK_SHOT_DIR) + "/open_dialog_" + std::to_string(index) + ".png";
        bool grabbed = false;
        auto* timer = new gui::TTimer(gui::Application);
        timer->SetInterval(20);
        timer->OnTimer = [&, timer](gui::TObject*) {
            skin::TbsOpenDlgForm* f = dlg.Form();
            if (!f || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) return;
            timer->SetEnabled(false);
            f->FileListView->SetItemIndex(2);
            win::RunUntilIdle();
            RECT wr;
            GetWindowRect(f->Handle(), &wr);
            gdi::image::Image shot =
                GrabScreen(Server().Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
            std::string error;
            EXPECT_TRUE(SavePng(shot, file, error)) << error;
            if (shot.width > 40) {
                const skin::TbsPicture& pic = f->Active() ? sd.FPicture : sd.FInActivePicture;
                uint32_t want = pic.Image().At(pic.Width() / 2, 3) & 0xFFFFFF;
                EXPECT_EQ(shot.At(40, 3) & 0xFFFFFF, want) << file;
            }
            grabbed = true;
            f->SetModalResult(gui::mrCancel);
        };
        timer->SetEnabled(true);
        EXPECT_FALSE(dlg.Execute());
        EXPECT_TRUE(grabbed);
        delete timer;
    }
    std::filesystem::remove_all(real);
}

} // namespace
