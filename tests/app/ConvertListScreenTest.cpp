// Converting a list on a real (virtual) screen with the X11 backend: the window is grabbed
// while its rows are converting, into converting_list.png in the build folder for a person to
// look at, and the run then ends as headless.
#include "../display/ScreenGrab.h"
#include "../gui/WaitUntil.h"
#include "ProgramScreen.h"
#include "app/ConversionControl.h"
#include "app/FileList.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "fixtures/Fixtures.h"
#include "gui/Application.h"
#include "gui/CustomListView.h"
#include "os/MainThread.h"
#include "skin/controls/SkinComboBox.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(ConvertListScreen, WindowWhileConverting) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ProgramScreen screen;
    ASSERT_TRUE(screen.Open());
    fixtures::LoadMediaLibraries();

    fixtures::TempFolder folder("convertscreen");
    fixtures::ClipOptions clip;
    clip.seconds = 6;
    std::vector<std::string> files;
    for (const char* name : {"clip.avi", "假期.avi", "家庭聚会.avi"})
        files.push_back(fixtures::MakeClip(folder, (clip.kind = fixtures::ClipKind::Avi, clip), name));

    auto* form = new app::TForm1(gui::Application);
    form->AfterConstruction();
    auto* options = new app::TForm5(gui::Application, form);
    options->AfterConstruction();
    form->OptionsForm = options;
    options->bsSkinComboBox2->SetItemIndex(1); // two at once
    form->SetBounds(0, 0, form->Width(), form->Height());
    form->Show();
    win::RunUntilIdle();

    form->FileList->OpenFiles = [&](std::vector<std::string>& chosen) {
        chosen = files;
        return true;
    };
    form->FileList->AddSeveralFiles();
    ASSERT_EQ(form->FileList->RowCount(), 3);
    form->bsSkinOfficeComboBox2->SetItemIndex(13);
    form->bsSkinOfficeComboBox1->SetItemIndex(1);
    form->Conversion->Start();
    auto pump = [] {
        os::CheckSynchronize(2);
        win::RunUntilIdle();
    };
    ASSERT_TRUE(WaitUntil(
        [&] {
            pump();
            return !app::RowSubItem(form->FileList->Row(0), app::rcProgress).empty() &&
                   !app::RowSubItem(form->FileList->Row(1), app::rcProgress).empty();
        },
        std::chrono::seconds(60), "two rows converting"));
    form->Conversion->PauseCommand();
    win::RunUntilIdle();

    RECT wr;
    GetWindowRect(form->Handle(), &wr);
    gdi::image::Image shot =
        GrabScreen(screen.Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
    std::string error;
    ASSERT_TRUE(SavePng(shot, std::string(TARVIK_SHOT_DIR) + "/converting_list.png", error)) << error;

    form->Conversion->ResumeCommand();
    ASSERT_TRUE(WaitUntil(
        [&] {
            pump();
            return !form->Conversion->Running();
        },
        std::chrono::seconds(120), "the end of the list"));
    for (int r = 0; r < 3; ++r) EXPECT_EQ(app::RowSubItem(form->FileList->Row(r), app::rcProgress), "100%");
    delete options;
    delete form;
    win::RunUntilIdle();
}

} // namespace
