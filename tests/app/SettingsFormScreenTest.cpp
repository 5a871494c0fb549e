// The per-file settings dialog on a real (virtual) screen, grabbed into settings_form.png in the
// build folder for a person to look at. Nothing in the program shows it; this does, to see that
// its pickers and pages draw.
#include "../display/ScreenGrab.h"
#include "ProgramScreen.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/SettingsForm.h"
#include "gui/Application.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

namespace {

TEST(SettingsFormScreen, DrawsItsPickersAndPages) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ProgramScreen screen;
    ASSERT_TRUE(screen.Open());

    auto* main = new app::TForm1(gui::Application);
    main->AfterConstruction();
    auto* options = new app::TForm5(gui::Application, main);
    options->AfterConstruction();
    main->OptionsForm = options;
    auto* settings = new app::TForm6(gui::Application, main);
    settings->AfterConstruction();
    settings->bsSkinOfficeComboBox2->SetItemIndex(1); // an audio format: four pickers disabled
    settings->SetBounds(0, 0, settings->Width(), settings->Height());
    settings->Show();
    win::RunUntilIdle();

    RECT wr;
    GetWindowRect(settings->Handle(), &wr);
    gdi::image::Image shot =
        GrabScreen(screen.Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
    ASSERT_EQ(shot.width, wr.right - wr.left);
    std::string error;
    ASSERT_TRUE(SavePng(shot, std::string(TARVIK_SHOT_DIR) + "/settings_form.png", error)) << error;
    std::set<uint32_t> colours;
    for (int y = 0; y < shot.height; y += 3)
        for (int x = 0; x < shot.width; x += 3) colours.insert(shot.At(x, y) & 0xFFFFFF);
    EXPECT_GT(colours.size(), 50u);

    delete settings;
    delete options;
    delete main;
    win::RunUntilIdle();
    unsetenv("TARVIK_CONFIG_DIR");
}

} // namespace
