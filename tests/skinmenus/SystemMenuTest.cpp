// The skinned form's system menu: the items of the window's state, Alt+Space, a right click on
// the caption, the Alt key's SC_KEYMENU, and the tray menu.
#include "MenuFixture.h"
#include "gui/Color.h"
#include "gui/ShortCuts.h"
#include "skin/forms/SkinButtonObject.h"
#include "win/Messages.h"
#include "win/Styles.h"
#include "win/Window.h"

using namespace menutest;

namespace {

std::string Names(skin::TbsSkinPopupWindow* w) {
    std::string s;
    for (int i = 0; i < w->ItemCount(); ++i) {
        if (!s.empty()) s += ' ';
        const std::string& n = w->Items(i)->MenuItem->Name();
        s += n.empty() ? w->Items(i)->MenuItem->Caption() : n;
    }
    return s;
}

} // namespace

TEST_F(MenuTest, TheSystemMenuListsTheItemsOfTheWindowsState) {
    struct Case {
        skin::TbsBorderIcons icons;
        bool maximized;
        const char* items;
    } cases[] = {
        {skin::biSystemMenu | skin::biMinimize | skin::biMaximize | skin::biRollUp, false,
         "BSF_MINITEM BSF_MAXITEM BSF_ROLLUP - BSF_CLOSE"                                                             },
        {skin::biSystemMenu | skin::biMinimize | skin::biMaximize | skin::biRollUp, true,
         "BSF_MINITEM BSF_RESTORE BSF_ROLLUP - BSF_CLOSE"                                                             },
        {0,                                                                         false, "BSF_CLOSE"                },
        {skin::biMinimizeToTray,                                                    false, "BSF_MINTOTRAY - BSF_CLOSE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items);
        skinForm->SetBorderIcons(c.icons);
        skinForm->SetWindowState(c.maximized ? gui::wsMaximized : gui::wsNormal);
        RunUntilIdle();
        RightClickCaption();
        ASSERT_EQ(Levels(), 1);
        EXPECT_EQ(Names(Level(0)), c.items);
        EXPECT_TRUE(skinForm->InMenu());
        PressKey(VK_ESCAPE);
        EXPECT_EQ(Levels(), 0);
    }
    skinForm->SetWindowState(gui::wsNormal);
    RunUntilIdle();
    // The close row carries its shortcut, and closes the form.
    skinForm->SetBorderIcons(0);
    RightClickCaption();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Level(0)->Items(0)->MenuItem->Caption(), "&Close");
    EXPECT_EQ(gui::ShortCutToText(Level(0)->Items(0)->MenuItem->ShortCut()), "Alt+F4");
    PressKey(VK_RETURN);
    EXPECT_FALSE(form->Visible());
}

TEST_F(MenuTest, ARightClickOnTheCaptionOpensTheSystemMenuAtThePointer) {
    RECT wr;
    GetWindowRect(form->Handle(), &wr);
    D().Click(wr.left + 150, wr.top + 8, 1);
    RunUntilIdle();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Level(0)->Left(), wr.left + 150);
    EXPECT_EQ(Level(0)->Top(), wr.top + 8);
    // Choosing a row sends the form its system command.
    PressKey(VK_DOWN); // Ma&ximize
    PressKey(VK_RETURN);
    EXPECT_EQ(skinForm->WindowState(), gui::wsMaximized);
    skinForm->SetWindowState(gui::wsNormal);
    RunUntilIdle();

    skinForm->DisableSystemMenu = true;
    GetWindowRect(form->Handle(), &wr);
    D().Click(wr.left + 150, wr.top + 8, 1);
    RunUntilIdle();
    EXPECT_EQ(Levels(), 0);
}

TEST_F(MenuTest, TheAltKeyClosesAnOpenMenuAndNeverReachesTheForm) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 2);
    menu->Popup(200, 150);
    ASSERT_EQ(Levels(), 1);
    form->seen.clear();
    PressKey(VK_MENU); // Alt pressed and released alone: SC_KEYMENU
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMenu());
    for (UINT m : form->seen) EXPECT_NE(m, static_cast<UINT>(WM_SYSCOMMAND));
    // Other system commands still act.
    SendMessage(form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(skinForm->WindowState(), gui::wsMaximized);
}

TEST_F(MenuTest, AnApplicationSystemMenuTakesTheFormsItemsOnce) {
    gui::TPopupMenu app(nullptr);
    Item(app.Items(), "About");
    skinForm->SetSystemMenu(&app);
    skinForm->SetBorderIcons(skin::biSystemMenu | skin::biMinimize | skin::biMaximize);
    for (int round = 0; round < 2; ++round) {
        FormTestChord();
        ASSERT_EQ(Levels(), 1);
        EXPECT_EQ(Names(Level(0)), "BSF_MINITEM BSF_MAXITEM About BSF_CLOSE");
        PressKey(VK_ESCAPE);
    }
    skinForm->SetSystemMenu(nullptr);
}

TEST_F(MenuTest, TheTrayMenuKeepsItsBuiltInCaptions) {
    skin::TbsSkinPopupMenu* tray = skinForm->SysTrayMenu();
    ASSERT_EQ(tray->Items()->Count(), 3);
    EXPECT_EQ(tray->Items()->Items(0)->Caption(), "&Restore");
    EXPECT_EQ(tray->Items()->Items(1)->Caption(), "-");
    EXPECT_EQ(tray->Items()->Items(2)->Caption(), "&Close");
    tray->Popup(300, 300);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Names(Level(0)), "TRAY_BSF_RESTORE - TRAY_BSF_CLOSE");
}

TEST_F(MenuTest, AltSpaceOpensTheSystemMenuUnderTheSystemButton) {
    const skin::TbsActiveSkinObject* button = nullptr;
    for (auto& o : skinForm->ObjectList)
        if (auto* b = dynamic_cast<skin::TbsSkinStdButtonObject*>(o.get());
            b && b->Command == skin::TbsStdCommand::cmSysMenu && b->Enabled)
            button = b;
    ASSERT_NE(button, nullptr) << "the frame has a system button";
    skin::TRect r = skinForm->ObjectToScreen(button->ObjectRect);
    FormTestChord();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Level(0)->Left(), r.Left);
    EXPECT_EQ(Level(0)->Top(), r.Bottom);
    PressKey(VK_ESCAPE);
    // A disabled system menu opens neither from the keyboard nor from the caption.
    skinForm->DisableSystemMenu = true;
    skinForm->SetBorderIcons(skinForm->BorderIcons());
    FormTestChord();
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMenu());
}
