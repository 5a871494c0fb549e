// Skinned menus on a real (virtual) screen: two skinned forms, each with a menu and a submenu
// open, grabbed into skinned_menus.png in the build folder for a person to look at; and a menu
// speed button with its images grid open beside an edit with image buttons, in three skins.
// The tests check that the rows, cells and images reached the screen in the skin's look.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "../gui/WaitUntil.h"
#include "controls/CommCtrl.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/Forms.h"
#include "gui/ImgList.h"
#include "gui/ShortCuts.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinImagesMenu.h"
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

// The program on the Xvfb screen, with the stored skins.
class SkinMenuScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        server = &Server();
        ASSERT_TRUE(server->Running()) << server->Error();
        setenv("DISPLAY", server->Name().c_str(), 1);
        unsetenv("TARVIK_DISPLAY");
        ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";
    }
    static skin::TbsCompressedSkinList* Skins() {
        static skin::TbsCompressedSkinList list;
        static bool loaded = (skins::LoadStoredSkins(list), true);
        (void)loaded;
        return &list;
    }
    XvfbServer* server = nullptr;
};

TEST_F(SkinMenuScreen, AMenuWithASubmenuOpenOnTwoSkins) {
    const int indexes[] = {0, 10};
    std::vector<std::unique_ptr<skin::TbsSkinData>> data;
    std::vector<gui::TForm*> forms;
    std::vector<skin::TbsSkinForm*> skinForms;
    for (int i = 0; i < 2; ++i) {
        data.push_back(std::make_unique<skin::TbsSkinData>());
        data.back()->SetSkinList(Skins());
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
    gdi::image::Image screen = GrabScreen(server->Name(), 0, 0, width, height);
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

const gui::TColor kSwatches[] = {RGB(220, 60, 50),  RGB(240, 170, 40), RGB(70, 170, 80), RGB(40, 140, 200),
                                 RGB(120, 80, 190), RGB(200, 90, 160), RGB(90, 90, 90),  RGB(30, 60, 120)};

// Eight 20-pixel swatches with a white ring: the grid's cells.
gui::TImageList* Swatches(gui::TComponent* owner) {
    auto* images = new gui::TImageList(owner);
    images->SetSize(20, 20);
    gui::TBitmap b;
    b.SetSize(20 * 8, 20);
    for (int i = 0; i < 8; ++i) {
        gui::TCanvas* c = b.Canvas();
        c->Brush()->SetColor(kSwatches[i]);
        c->FillRect(gui::Rect(i * 20, 0, i * 20 + 20, 20));
        c->Brush()->SetColor(gui::clWhite);
        c->FrameRect(gui::Rect(i * 20 + 3, 3, i * 20 + 17, 17));
    }
    images->Add(&b, nullptr);
    return images;
}

// A folder (0) and a cross (1) for the edit's ends, on the key colour of the list.
gui::TImageList* EditGlyphs(gui::TComponent* owner) {
    auto* images = new gui::TImageList(owner);
    images->SetSize(16, 16);
    gui::TBitmap b;
    b.SetSize(32, 16);
    gui::TCanvas* c = b.Canvas();
    c->Brush()->SetColor(gui::clFuchsia);
    c->FillRect(gui::Rect(0, 0, 32, 16));
    c->Brush()->SetColor(RGB(230, 180, 60));
    c->FillRect(gui::Rect(1, 4, 15, 14));
    c->FillRect(gui::Rect(1, 2, 7, 5));
    c->Brush()->SetColor(RGB(200, 40, 40));
    for (int k = 3; k < 13; ++k) {
        c->FillRect(gui::Rect(16 + k, k, 16 + k + 2, k + 1));
        c->FillRect(gui::Rect(16 + 15 - k - 2, k, 16 + 15 - k, k + 1));
    }
    images->AddMasked(&b, gui::clFuchsia);
    return images;
}

// A menu speed button with its images menu open and an edit with an image button at each end,
// in a light, a dark and the high-contrast skin: images_menu_edit_<skin>.png.
TEST_F(SkinMenuScreen, ImagesMenuOpenAndEditButtonsOnThreeSkins) {
    struct Shot {
        int index;
        const char* name;
    } shots[] = {
        {0, "light"        },
        {1, "dark"         },
        {7, "high_contrast"},
    };
    for (const Shot& s : shots) {
        SCOPED_TRACE(s.name);
        skin::TbsSkinData data;
        data.SetSkinList(Skins());
        data.SetSkinIndex(s.index);
        auto* f = new gui::TForm(gui::Application);
        f->AfterConstruction();
        f->SetCaption("图片菜单与编辑框");
        f->SetBounds(20, 20, 360, 200);
        auto* sf = new skin::TbsSkinForm(f);
        sf->SetSkinData(&data);

        auto* menu = new skin::TbsSkinImagesMenu(f);
        menu->SetSkinData(&data);
        menu->SetImages(Swatches(f));
        menu->SetColumnsCount(4);
        for (int i = 0; i < 8; ++i) {
            skin::TbsImagesMenuItem* item = menu->ImagesItems()->Add();
            item->ImageIndex = i;
            item->Caption = "颜色 " + std::to_string(i + 1);
        }
        menu->ItemIndex = 3;
        auto* button = new skin::TbsSkinMenuSpeedButton(f);
        button->SetParent(f);
        button->SkinDataName = "resizetoolbutton";
        button->SetSkinData(&data);
        button->SetBounds(16, 16, 110, 30);
        button->SetSkinImagesMenu(menu);
        button->UseImagesMenuImage = true;
        button->UseImagesMenuCaption = true;

        auto* edit = new skin::TbsSkinEdit(f);
        edit->SetParent(f);
        edit->SetSkinData(&data);
        edit->SetBounds(150, 20, 190, 24);
        edit->SetImages(EditGlyphs(f));
        edit->SetLeftImageIndex(0);
        edit->SetRightImageIndex(1);
        edit->SetText("D:\\视频\\输出");
        f->Show();
        win::RunUntilIdle();

        // A press on the button, as the pointer gives it, drops the grid under it.
        gui::TPoint at = button->ClientToScreen({20, 15});
        gui::TPoint local = f->ScreenToClient(at);
        SendMessage(f->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
        win::RunUntilIdle();
        skin::TbsSkinImagesMenuPopupWindow* w = menu->PopupWindow();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(button->MenuTracked());
        win::RunUntilIdle();

        int width = 400, height = 320;
        gdi::image::Image screen = GrabScreen(server->Name(), 0, 0, width, height);
        ASSERT_EQ(screen.width, width);
        std::string error;
        std::string path = std::string(TARVIK_SHOT_DIR "/images_menu_edit_") + s.name + ".png";
        ASSERT_TRUE(SavePng(screen, path, error)) << error;

        // The grid's chosen cell and the edit's folder show their colours.
        skin::TRect cell = menu->ImagesItems()->Items(3)->ItemRect;
        int cx = w->Left() + (cell.Left + cell.Right) / 2 - 8, cy = w->Top() + (cell.Top + cell.Bottom) / 2;
        EXPECT_EQ(screen.At(cx, cy) & 0xFFFFFF,
                  static_cast<uint32_t>((GetRValue(kSwatches[3]) << 16) | (GetGValue(kSwatches[3]) << 8) |
                                        GetBValue(kSwatches[3])));
        // The text set before the window existed still keeps clear of the folder.
        RECT fr{};
        SendMessage(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
        EXPECT_EQ(fr.left, 18);
        gui::TPoint folder = edit->ClientToScreen({8, edit->ClientHeight() / 2 + 2});
        EXPECT_EQ(screen.At(folder.x, folder.y) & 0xFFFFFF, 0xE6B43Cu);
        menu->Hide();
        win::RunUntilIdle();
        delete f;
        win::RunUntilIdle();
    }
}

} // namespace
