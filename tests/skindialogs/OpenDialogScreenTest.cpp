// The open dialog over a folder of clips with Chinese names, on a real (virtual) screen in
// two skins, grabbed into PNG files in the build folder for a person to look at.  The test
// checks that the dialog's frame reached the screen in its skin.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "app/OpenDialogFilter.h"
#include "controls/CommCtrl.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/MenuItem.h"
#include "gui/Screen.h"
#include "gui/Timer.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/forms/SkinMessage.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinPopupMenu.h"
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

// The file list's context menu, then the properties of the entry as the program shows them
// when no file manager answers on the session bus.
TEST_F(OpenDialogScreen, TheListsContextMenuAndAnItemsProperties) {
    char tmpl[] = "/tmp/tarvik-shot-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    char real[PATH_MAX];
    ASSERT_NE(::realpath(tmpl, real), nullptr);
    const std::string clips = std::string(real) + "/视频";
    std::filesystem::create_directories(clips + "/素材");
    for (const char* name : {"婚礼录像.avi", "旅行日记.mp4", "毕业典礼.mkv"})
        std::ofstream(clips + "/" + name) << std::string(1234567, 'x');
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string keepBus = bus ? bus : "";
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string runtime = std::string(real) + "/run";
    const char* run = std::getenv("XDG_RUNTIME_DIR");
    const std::string keepRun = run ? run : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

    skin::TbsSkinData sd;
    sd.SetSkinList(&Skins());
    sd.SetSkinIndex(0);
    ASSERT_FALSE(sd.Empty);
    skin::TbsSkinOpenDialog dlg(gui::Application);
    dlg.Title = "打开文件";
    dlg.SetSkinData(&sd);
    dlg.SetCtrlSkinData(&sd);
    dlg.DialogWidth = 560;
    dlg.DialogHeight = 340;
    dlg.InitialDir = clips;
    dlg.ListViewStyle = gui::vsReport;
    const std::string dir = TARVIK_SHOT_DIR;
    auto grab = [&](RECT r, const std::string& file) {
        gdi::image::Image shot =
            GrabScreen(Server().Name(), r.left, r.top, r.right - r.left, r.bottom - r.top);
        std::string error;
        EXPECT_TRUE(SavePng(shot, file, error)) << error;
    };
    int step = 0;
    bool opening = false; // the step that opens the menu runs the message loop itself
    std::string properties;
    std::function<void(gui::TObject*)> properties_click; // the menu's "属性(&R)"
    auto* timer = new gui::TTimer(gui::Application);
    timer->SetInterval(20);
    timer->OnTimer = [&](gui::TObject*) {
        skin::TbsOpenDlgForm* f = dlg.Form();
        if (!f || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) return;
        RECT wr;
        GetWindowRect(f->Handle(), &wr);
        if (opening) return; // a tick nested in the opening step would run ahead of it
        if (step == 0) {
            opening = true;
            int item = 0;
            for (int i = 0; i < f->FileListView->FolderCount(); ++i)
                if (f->FileListView->FolderAt(i)->DisplayName() == "旅行日记.mp4") item = i;
            f->FileListView->SetItemIndex(item);
            win::RunUntilIdle();
            RECT ir{};
            ir.left = LVIR_LABEL;
            SendMessage(f->FileListView->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(item),
                        reinterpret_cast<LPARAM>(&ir));
            gui::TPoint p = f->FileListView->ClientToScreen({ir.left + 20, (ir.top + ir.bottom) / 2});
            SendMessage(f->FileListView->Handle(), WM_CONTEXTMENU,
                        reinterpret_cast<WPARAM>(f->FileListView->Handle()), MAKELPARAM(p.x, p.y));
            // The menu is read while it is surely open: on a busy machine it can close before the
            // next message is handled, and a closed menu is freed.
            auto* menu =
                dynamic_cast<skin::TbsSkinPopupMenu*>(f->FileListView->FindComponent("ShellContextMenu"));
            EXPECT_NE(menu, nullptr);
            if (menu)
                for (int k = 0; k < menu->Items()->Count(); ++k)
                    if (menu->Items()->Items(k)->Hint == "properties")
                        properties_click = menu->Items()->Items(k)->OnClick;
            opening = false;
            step = 1;
        }
        if (step == 1) {
            step = 2;
            win::RunUntilIdle();
            grab(RECT{wr.left, wr.top, wr.right + 120, wr.bottom + 40},
                 dir + "/open_dialog_context_menu.png");
            EXPECT_TRUE(properties_click);
            if (!properties_click) return f->SetModalResult(gui::mrCancel);
            f->BSF->SkinMenu()->Hide();
            properties_click(nullptr); // the box runs its own loop; step 2 answers it
            timer->SetEnabled(false);
            f->SetModalResult(gui::mrCancel);
            return;
        }
        if (step == 2) {
            for (int i = 0; i < gui::Screen->FormCount(); ++i) {
                auto* box = dynamic_cast<skin::TbsMessageForm*>(gui::Screen->Forms(i));
                if (!box || !box->HandleAllocated() || !IsWindowVisible(box->Handle())) continue;
                step = 3;
                win::RunUntilIdle();
                properties = box->Message->Caption();
                RECT br;
                GetWindowRect(box->Handle(), &br);
                grab(br, dir + "/shell_properties.png");
                box->SetModalResult(gui::mrOk);
            }
        }
    };
    timer->SetEnabled(true);
    EXPECT_FALSE(dlg.Execute());
    delete timer;
    EXPECT_EQ(step, 3);
    EXPECT_NE(properties.find("旅行日记.mp4"), std::string::npos) << properties;
    EXPECT_NE(properties.find("1,234,567 字节"), std::string::npos) << properties;
    if (bus) setenv("DBUS_SESSION_BUS_ADDRESS", keepBus.c_str(), 1);
    run ? setenv("XDG_RUNTIME_DIR", keepRun.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(real);
}

} // namespace
