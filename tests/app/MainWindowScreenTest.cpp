// The main window on a real (virtual) screen in three skins, each grabbed into
// main_window_skin<N>.png in the build folder for a person to look at, with its format list
// open (main_window_formats_skin<N>.png) and the open dialog its add command shows
// (main_window_open_skin<N>.png). The test checks that the skin's caption reached the screen
// and that the window is more than a blank frame.
#include "../display/ScreenGrab.h"
#include "ProgramScreen.h"
#include "app/AboutForm.h"
#include "app/FileList.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "gui/Application.h"
#include "gui/IniFile.h"
#include "gui/Timer.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

namespace {

TEST(MainWindowScreen, ThreeSkins) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ProgramScreen screen;
    ASSERT_TRUE(screen.Open());
    TempDir& config = screen.config;

    for (int skin : {0, 1, 8}) {
        SCOPED_TRACE(skin);
        gui::TIniFile(config / "option.ini").WriteString("Skin", "SetSkin", std::to_string(skin));
        auto* form = new app::TForm1(gui::Application);
        form->AfterConstruction();
        ASSERT_EQ(form->bsSkinData1->SkinIndex(), skin);
        form->SetBounds(0, 0, form->Width(), form->Height());
        if (skin == 1) {
            // The common audio formats, with the longest description chosen, in one of the looks.
            form->bsSkinOfficeComboBox2->SetItemIndex(14);
            int longest = 0;
            for (int i = 0; i < form->bsSkinOfficeComboBox1->Count(); ++i)
                if (form->bsSkinOfficeComboBox1->ItemCaption(i).size() >
                    form->bsSkinOfficeComboBox1->ItemCaption(longest).size())
                    longest = i;
            form->bsSkinOfficeComboBox1->SetItemIndex(longest);
        }
        form->Show();
        win::RunUntilIdle();

        RECT wr;
        GetWindowRect(form->Handle(), &wr);
        gdi::image::Image shot =
            GrabScreen(screen.Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
        ASSERT_EQ(shot.width, wr.right - wr.left);
        std::string error;
        std::string path = std::string(TARVIK_SHOT_DIR) + "/main_window_skin" + std::to_string(skin) + ".png";
        ASSERT_TRUE(SavePng(shot, path, error)) << error;

        const skin::TbsPicture& pic = form->bsSkinData1->FPicture;
        EXPECT_EQ(shot.At(60, 4) & 0xFFFFFF, pic.Image().At(pic.Width() / 2, 4) & 0xFFFFFF);
        std::set<uint32_t> colours;
        for (int y = 0; y < shot.height; y += 3)
            for (int x = 0; x < shot.width; x += 3) colours.insert(shot.At(x, y) & 0xFFFFFF);
        EXPECT_GT(colours.size(), 50u);

        // The format list of the common audio formats (the longest descriptions) open, over the
        // whole screen: it may open above the picker.
        form->bsSkinOfficeComboBox2->SetItemIndex(14);
        form->bsSkinOfficeComboBox1->DropDown();
        win::RunUntilIdle();
        EXPECT_TRUE(form->bsSkinOfficeComboBox1->IsPopupVisible());
        ASSERT_TRUE(SavePng(GrabScreen(screen.Name(), 0, 0, 1280, 1024),
                            std::string(TARVIK_SHOT_DIR) + "/main_window_formats_skin" +
                                std::to_string(skin) + ".png",
                            error))
            << error;
        form->bsSkinOfficeComboBox1->CloseUp(false);
        form->bsSkinOfficeComboBox2->SetItemIndex(0);
        win::RunUntilIdle();

        // The open dialog as "添加一个文件" asks it, grabbed while it shows and then cancelled.
        bool grabbed = false;
        auto* timer = new gui::TTimer(gui::Application);
        timer->SetInterval(20);
        timer->OnTimer = [&, timer](gui::TObject*) {
            skin::TbsOpenDlgForm* f = form->OpenDialog1->Form();
            if (!f || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) return;
            timer->SetEnabled(false);
            win::RunUntilIdle();
            RECT dr;
            GetWindowRect(f->Handle(), &dr);
            EXPECT_TRUE(SavePng(
                GrabScreen(screen.Name(), dr.left, dr.top, dr.right - dr.left, dr.bottom - dr.top),
                std::string(TARVIK_SHOT_DIR) + "/main_window_open_skin" + std::to_string(skin) + ".png",
                error))
                << error;
            grabbed = true;
            f->SetModalResult(gui::mrCancel);
        };
        timer->SetEnabled(true);
        std::string chosen;
        EXPECT_FALSE(form->FileList->OpenFile(chosen));
        EXPECT_TRUE(grabbed);
        delete timer;
        if (skin == 8) {
            // The dialogs in the same skin, each on its own picture.
            auto* options = new app::TForm5(gui::Application, form);
            options->AfterConstruction();
            auto* about = new app::TForm2(gui::Application, form);
            about->AfterConstruction();
            for (gui::TForm* dialog : {static_cast<gui::TForm*>(options), static_cast<gui::TForm*>(about)}) {
                dialog->SetBounds(0, 0, dialog->Width(), dialog->Height());
                dialog->Show();
                win::RunUntilIdle();
                GetWindowRect(dialog->Handle(), &wr);
                gdi::image::Image d =
                    GrabScreen(screen.Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
                ASSERT_TRUE(
                    SavePng(d, std::string(TARVIK_SHOT_DIR) + "/" + dialog->ClassName() + ".png", error))
                    << error;
                dialog->Hide();
            }
            delete about;
            delete options;
        }
        delete form;
        win::RunUntilIdle();
    }
    unsetenv("TARVIK_CONFIG_DIR");
}

} // namespace
