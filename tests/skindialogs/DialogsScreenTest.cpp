// The select-folder dialog and the skin chooser on a real (virtual) screen, each in two
// skins, grabbed into PNG files in the build folder for a person to look at.  The test checks
// that each dialog's frame reached the screen in its skin.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/Timer.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SelectDirectoryDialog.h"
#include "skin/dialogs/SelectSkinDialog.h"
#include "skins/StoredSkins.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

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

// Once the dialog's window is up and painted: grab it, check its frame row, close it.  A
// timer asks, as timers run in the modal loop whatever else it waits for.
void GrabWhenShown(const std::function<gui::TCustomForm*()>& form, const std::string& file,
                   const skin::TbsSkinData& skin, bool& grabbed) {
    auto* timer = new gui::TTimer(gui::Application);
    timer->SetInterval(20);
    timer->OnTimer = [=, &skin, &grabbed](gui::TObject*) {
        gui::TCustomForm* f = form();
        if (!f || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) return;
        timer->SetEnabled(false);
        win::RunUntilIdle();
        RECT wr;
        GetWindowRect(f->Handle(), &wr);
        gdi::image::Image shot =
            GrabScreen(Server().Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
        std::string error;
        EXPECT_TRUE(SavePng(shot, file, error)) << error;
        if (shot.width > 40) {
            const skin::TbsPicture& pic = f->Active() ? skin.FPicture : skin.FInActivePicture;
            uint32_t want = pic.Image().At(pic.Width() / 2, 3) & 0xFFFFFF;
            EXPECT_EQ(shot.At(40, 3) & 0xFFFFFF, want) << file;
        }
        grabbed = true;
        f->SetModalResult(gui::mrCancel);
    };
    timer->SetEnabled(true);
}

class DialogsScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(Server().Running()) << Server().Error();
        setenv("DISPLAY", Server().Name().c_str(), 1);
        unsetenv("TARVIK_DISPLAY");
        ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";
    }
};

TEST_F(DialogsScreen, SelectFolderAndSkinChooserInTwoSkins) {
    // A small home to browse.
    char tmpl[] = "/tmp/tarvik-shot-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    char real[PATH_MAX];
    ASSERT_NE(::realpath(tmpl, real), nullptr);
    const std::string home = std::string(real) + "/home";
    for (const char* d : {"视频/输出", "视频/素材", "音乐", "Documents", "下载"})
        std::filesystem::create_directories(home + "/" + d);
    const char* oldHome = std::getenv("HOME");
    std::string keep = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);

    for (int index : {0, 10}) {
        SCOPED_TRACE(index);
        skin::TbsSkinData sd;
        sd.SetSkinList(&Skins());
        sd.SetSkinIndex(index);
        ASSERT_FALSE(sd.Empty);

        skin::TbsSkinSelectDirectoryDialog folders(gui::Application);
        folders.Title = "选择输出目录";
        folders.SetSkinData(&sd);
        folders.SetCtrlSkinData(&sd);
        folders.DialogWidth = 300;
        folders.DialogHeight = 320;
        folders.Directory = home + "/视频/输出";
        bool grabbed = false;
        GrabWhenShown([&] { return folders.Form(); },
                      std::string(TARVIK_SHOT_DIR) + "/select_folder_" + std::to_string(index) + ".png", sd,
                      grabbed);
        EXPECT_FALSE(folders.Execute());
        EXPECT_TRUE(grabbed);

        skin::TbsSelectSkinDialog chooser(gui::Application);
        chooser.SetSkinList(&Skins());
        chooser.SetSkinData(&sd);
        chooser.SetCtrlSkinData(&sd);
        chooser.Title = "选择皮肤";
        grabbed = false;
        GrabWhenShown([&] { return chooser.Form(); },
                      std::string(TARVIK_SHOT_DIR) + "/skin_chooser_" + std::to_string(index) + ".png", sd,
                      grabbed);
        EXPECT_FALSE(chooser.Execute(index == 0 ? 8 : 2));
        EXPECT_TRUE(grabbed);
    }
    if (oldHome)
        setenv("HOME", keep.c_str(), 1);
    else
        unsetenv("HOME");
    std::filesystem::remove_all(real);
}

} // namespace
