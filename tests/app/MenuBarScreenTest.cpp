// The main window's menu bar on a real (virtual) screen with an item's menu open, in three
// skins, each grabbed into main_menu_bar_skin<N>.png in the build folder for a person to look
// at.  The test checks that the open item and the bar reached the screen in the skin's look.
#include "../display/ScreenGrab.h"
#include "../gui/WaitUntil.h"
#include "ProgramScreen.h"
#include "app/MainForm.h"
#include "gui/Application.h"
#include "gui/IniFile.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMainMenuBar.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinPopupWindow.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(MainMenuBarScreen, AnOpenItemMenuInThreeSkins) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ProgramScreen screen;
    ASSERT_TRUE(screen.Open());
    TempDir& config = screen.config;

    for (int skin : {0, 1, 9}) {
        SCOPED_TRACE(skin);
        gui::TIniFile(config / "option.ini").WriteString("Skin", "SetSkin", std::to_string(skin));
        auto* form = new app::TForm1(gui::Application);
        form->AfterConstruction();
        form->SetBounds(0, 0, form->Width(), form->Height());
        form->Show();
        win::RunUntilIdle();
        skin::TbsSkinMainMenuBar* bar = form->bsSkinMainMenuBar1;
        ASSERT_TRUE(bar->FSkinSupport);
        // The second item ("编辑") pressed with its menu open and its second row chosen.
        bar->BarItem(1)->MouseDown(0, 0, gui::mbLeft);
        skin::TbsSkinMenu* menu = form->bsSkinForm1->SkinMenu();
        ASSERT_EQ(menu->LevelCount(), 1);
        menu->Level(0)->PopupKeyDown(VK_DOWN);
        ASSERT_TRUE(WaitUntil(
            [&] {
                win::RunUntilIdle();
                return !bar->MorphTimer.Enabled() && !menu->Level(0)->MorphTimer.Enabled();
            },
            std::chrono::seconds(5), "the transitions to end"));

        RECT wr;
        GetWindowRect(form->Handle(), &wr);
        skin::TbsSkinPopupWindow* w = menu->Level(0);
        int width = std::max<int>(wr.right, w->Left() + w->Width()) - wr.left;
        int height = std::max<int>(w->Top() + w->Height() + 8, wr.top + 160) - wr.top;
        gdi::image::Image shot = GrabScreen(screen.Name(), wr.left, wr.top, width, height);
        ASSERT_EQ(shot.width, width);
        std::string error;
        std::string path =
            std::string(TARVIK_SHOT_DIR) + "/main_menu_bar_skin" + std::to_string(skin) + ".png";
        ASSERT_TRUE(SavePng(shot, path, error)) << error;

        // The pressed item shows the item picture's pressed row at its left edge's middle; the
        // bar past the items shows the bar's picture.
        skin::TbsSkinData& d = *form->bsSkinData1;
        auto* item = bar->BarItem(1);
        const skin::TbsPicture& pic = *d.FActivePictures[static_cast<size_t>(
            d.ObjectList[static_cast<size_t>(d.GetIndex(bar->MenuBarItem))]->ActivePictureIndex)];
        gui::TPoint at = bar->ClientToScreen(
            {item->ObjectRect.Left + 3, (item->ObjectRect.Top + item->ObjectRect.Bottom) / 2});
        EXPECT_EQ(shot.At(at.x - wr.left, at.y - wr.top) & 0xFFFFFF,
                  pic.Image().At(item->DownRect.Left + 3, item->DownRect.Top + item->DownRect.Height() / 2) &
                      0xFFFFFF);
        const skin::TbsPicture& barPic = *d.FActivePictures[static_cast<size_t>(
            d.CtrlList[static_cast<size_t>(d.GetControlIndex("mainmenubar"))]->PictureIndex)];
        gui::TPoint end = bar->ClientToScreen({bar->Width() - 30, 8});
        EXPECT_EQ(shot.At(end.x - wr.left, end.y - wr.top) & 0xFFFFFF,
                  barPic.Image().At(bar->SkinRect.Width() / 2, 8) & 0xFFFFFF);
        menu->Hide();
        delete form;
        win::RunUntilIdle();
    }
    unsetenv("TARVIK_CONFIG_DIR");
}

} // namespace
