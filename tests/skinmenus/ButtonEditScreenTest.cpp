// A menu speed button with its images menu open and an edit with an image button at each end,
// on a real (virtual) screen in a light, a dark and the high-contrast skin, grabbed into
// images_menu_edit_<skin>.png in the build folder for a person to look at.  The test checks
// that the grid and the edit's images reached the screen.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "controls/CommCtrl.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/Forms.h"
#include "gui/ImgList.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinImagesMenu.h"
#include "skins/StoredSkins.h"
#include "win/Message.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
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

TEST(ButtonEditScreen, ImagesMenuOpenAndEditButtonsOnThreeSkins) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    static skin::TbsCompressedSkinList list;
    skins::LoadStoredSkins(list);
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
        data.SetSkinList(&list);
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
        gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, width, height);
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
