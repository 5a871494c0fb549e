// Skinned menus on a real (virtual) screen: two skinned forms, each with a menu and a submenu
// open, grabbed into skinned_menus.png in the build folder for a person to look at.  The test
// checks that the rows reached the screen in the skin's look.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "../gui/WaitUntil.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/Forms.h"
#include "gui/ShortCuts.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinMenuItem.h"
#include "skin/menus/SkinPopupMenu.h"
#include "skin/menus/SkinPopupWindow.h"
#include "skins/StoredSkins.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

gui::TMenuItem* Item(gui::TMenuItem* parent, const std::string& caption) {
    auto* item = new gui::TMenuItem(nullptr);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

// The converter's own kind of menu: commands with shortcuts, a check, a radio group, a
// disabled row, a header and a submenu.
void FillMenu(gui::TMenuItem* root) {
    Item(root, "-快照格式-")->SetEnabled(false);
    for (const char* f : {"BMP", "JPG", "PNG"}) {
        gui::TMenuItem* i = Item(root, f);
        i->SetRadioItem(true);
        i->SetGroupIndex(1);
    }
    root->Items(2)->SetChecked(true);
    Item(root, "-");
    gui::TMenuItem* open = Item(root, "打开文件(&O)");
    open->SetShortCut(gui::TextToShortCut("Ctrl+O"));
    Item(root, "总在最前")->SetChecked(true);
    Item(root, "暂停")->SetEnabled(false);
    Item(root, "-");
    gui::TMenuItem* more = Item(root, "转换完成后");
    for (const char* c : {"什么也不做", "关机", "打开输出文件夹"}) Item(more, c);
    more->Items(0)->SetRadioItem(true);
    more->Items(0)->SetChecked(true);
}

TEST(SkinMenuScreen, AMenuWithASubmenuOpenOnTwoSkins) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    static skin::TbsCompressedSkinList list;
    skins::LoadStoredSkins(list);
    const int indexes[] = {0, 10};
    std::vector<std::unique_ptr<skin::TbsSkinData>> data;
    std::vector<gui::TForm*> forms;
    std::vector<skin::TbsSkinForm*> skinForms;
    for (int i = 0; i < 2; ++i) {
        data.push_back(std::make_unique<skin::TbsSkinData>());
        data.back()->SetSkinList(&list);
        data.back()->SetSkinIndex(indexes[i]);
        auto* f = new gui::TForm(gui::Application);
        f->AfterConstruction();
        f->SetCaption("菜单");
        f->SetBounds(20 + i * 440, 20, 420, 340);
        auto* sf = new skin::TbsSkinForm(f);
        sf->SetSkinData(data.back().get());
        f->Show();
        forms.push_back(f);
        skinForms.push_back(sf);
    }
    win::RunUntilIdle();
    for (int i = 0; i < 2; ++i) {
        auto* menu = new skin::TbsSkinPopupMenu(forms[static_cast<size_t>(i)]);
        FillMenu(menu->Items());
        menu->Popup(40 + i * 440, 80);
        skin::TbsSkinMenu* m = skinForms[static_cast<size_t>(i)]->SkinMenu();
        ASSERT_EQ(m->LevelCount(), 1);
        skin::TbsSkinPopupWindow* w = m->Level(0);
        for (int k = 0; k < 5; ++k) w->PopupKeyDown(VK_DOWN); // to the last row: the submenu
        w->PopupKeyDown(VK_RIGHT);
        ASSERT_EQ(m->LevelCount(), 2);
        m->Level(1)->PopupKeyDown(VK_DOWN);
    }
    // Hover transitions settle before the picture is taken.
    ASSERT_TRUE(WaitUntil(
        [&] {
            win::RunUntilIdle();
            for (skin::TbsSkinForm* sf : skinForms)
                for (int l = 0; l < sf->SkinMenu()->LevelCount(); ++l)
                    if (sf->SkinMenu()->Level(l)->MorphTimer.Enabled()) return false;
            return true;
        },
        std::chrono::seconds(5), "the rows' transitions to end"));

    int width = 880, height = 380;
    gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, width, height);
    ASSERT_EQ(screen.width, width);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/skinned_menus.png", error)) << error;

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(indexes[i]);
        skin::TbsSkinMenu* m = skinForms[static_cast<size_t>(i)]->SkinMenu();
        const skin::TbsSkinData& d = *data[static_cast<size_t>(i)];
        skin::TbsSkinPopupWindow* sub = m->Level(1);
        ASSERT_TRUE(sub->Skinned());
        // A plain row's right end, past its text, shows the menu-item picture's normal row.
        skin::TbsSkinMenuItem* row = sub->Items(2);
        const skin::TbsPicture& rows = *d.FActivePictures[static_cast<size_t>(row->MI->ActivePictureIndex)];
        uint32_t want = rows.Image().At(row->MI->SkinRect.Right - 10, row->MI->SkinRect.Top + 3) & 0xFFFFFF;
        EXPECT_EQ(screen.At(sub->Left() + row->ObjectRect.Right - 10, sub->Top() + row->ObjectRect.Top + 3) &
                      0xFFFFFF,
                  want);
    }
    for (gui::TForm* f : forms) delete f;
}

} // namespace
