// Skinned forms on a real (virtual) screen: the same form in every stored skin, grabbed whole
// into skinned_forms.png in the build folder for a person to look at.  The test checks that
// each frame reached the screen and that the window's rounded corners show the desktop.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "display/headless/Headless.h"
#include "gdi/image/Png.h"
#include "gui/Application.h"
#include "gui/CustomLabel.h"
#include "gui/Forms.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skins/StoredSkins.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

TEST(SkinFormScreen, EverySkinOnTheSameForm) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    static skin::TbsCompressedSkinList list;
    skins::LoadStoredSkins(list);
    const int count = list.Skins().Count();
    ASSERT_EQ(count, 11);
    // Four columns of the same form, the last of them the rolled-up and maximised states'
    // neighbour: a long caption shortened with "...".
    const int fw = 300, fh = 170, gap = 12;
    std::vector<std::unique_ptr<skin::TbsSkinData>> data;
    std::vector<gui::TForm*> forms;
    std::vector<skin::TbsSkinForm*> frames;
    for (int i = 0; i < count; ++i) {
        data.push_back(std::make_unique<skin::TbsSkinData>());
        data.back()->SetSkinList(&list);
        data.back()->SetSkinIndex(i);
        ASSERT_FALSE(data.back()->Empty);
        auto* f = new gui::TForm(gui::Application);
        f->AfterConstruction();
        f->SetCaption(i == count - 1 ? "TarvikH.264格式转换器 - 一个很长很长的标题会被截短" : "视频转换");
        f->SetBounds(gap + (i % 4) * (fw + gap), gap + (i / 4) * (fh + gap), fw, fh);
        auto* sf = new skin::TbsSkinForm(f);
        sf->SetSkinData(data.back().get());
        auto* label = new gui::TLabel(f);
        label->SetCaption("皮肤 " + std::to_string(i));
        label->SetBounds(12, 12, 200, 20);
        label->SetTransparent(true);
        label->SetParent(f);
        f->Show();
        forms.push_back(f);
        frames.push_back(sf);
    }
    // The twelfth place: the same form without a skin, in the default look.
    auto* plain = new gui::TForm(gui::Application);
    plain->AfterConstruction();
    plain->SetCaption("视频转换");
    plain->SetBounds(gap + 3 * (fw + gap), gap + 2 * (fh + gap), fw, fh);
    new skin::TbsSkinForm(plain);
    plain->Show();
    SetForegroundWindow(forms.back()->Handle()); // the last skinned form is the active one
    win::RunUntilIdle();

    int width = gap + 4 * (fw + gap), height = gap + 3 * (fh + gap);
    gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, width, height);
    ASSERT_EQ(screen.width, width);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/skinned_forms.png", error)) << error;

    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        RECT wr;
        GetWindowRect(forms[static_cast<size_t>(i)]->Handle(), &wr);
        const skin::TbsSkinData& d = *data[static_cast<size_t>(i)];
        // Between the caption and the buttons the frame is the skin's; only the last form shown
        // is active.
        const skin::TbsPicture& pic = forms[static_cast<size_t>(i)]->Active() || d.FInActivePicture.Empty()
                                          ? d.FPicture
                                          : d.FInActivePicture;
        EXPECT_EQ(forms[static_cast<size_t>(i)]->Active(), i == count - 1);
        skin::TbsSkinForm* sf = frames[static_cast<size_t>(i)];
        int caption = sf->GetIndex("caption"), roll = sf->GetIndex("rollupbutton");
        ASSERT_GE(caption, 0);
        ASSERT_GE(roll, 0);
        int x = (sf->ObjectList[static_cast<size_t>(caption)]->ObjectRect.Right +
                 sf->ObjectList[static_cast<size_t>(roll)]->ObjectRect.Left) /
                2;
        int px = x - (wr.right - wr.left - pic.Width()); // the same place in the design-size picture
        uint32_t want = pic.Image().At(px, 3) & 0xFFFFFF;
        EXPECT_EQ(screen.At(wr.left + x, wr.top + 3) & 0xFFFFFF, want);
        // Outside the mask the desktop shows through.
        bool outside = (d.FMask.Image().At(0, 0) & 0xFFFFFF) != 0;
        if (outside) {
            EXPECT_NE(screen.At(wr.left, wr.top) & 0xFFFFFF, d.FPicture.Image().At(0, 0) & 0xFFFFFF);
        }
    }
    for (gui::TForm* f : forms) delete f;
    delete plain;
}

// One form in three skins with what the client background and the frame show besides the
// caption: the small icon in the system-menu button, a logo in the middle of a stretched
// background picture, and an inactive frame drawn by the skin's effect.  Grabbed into
// skinned_form_pieces.png.
TEST(SkinFormScreen, ThreeSkinsWithLogoIconAndInactiveEffect) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");

    static skin::TbsCompressedSkinList list;
    if (list.Skins().Count() == 0) skins::LoadStoredSkins(list);
    const int fw = 340, fh = 230, gap = 12;
    const int skinsShown[] = {0, 3, 8};
    // A vertical wash for the background, from the skin's own client colour towards the middle
    // grey.
    auto wash = [](uint32_t base) {
        gdi::image::Image img;
        img.Reset(4, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 4; ++x) {
                uint32_t c = 0xFF000000u;
                for (int shift : {0, 8, 16}) {
                    int v = static_cast<int>((base >> shift) & 0xFF);
                    v += (v > 128 ? -1 : 1) * y * 40 / 63;
                    c |= static_cast<uint32_t>(v) << shift;
                }
                img.At(x, y) = c;
            }
        return img;
    };
    // A white plate with a blue disc and a dark title; the key colour is the corner pixel.
    gui::TBitmap logo;
    logo.SetSize(96, 40);
    gui::TCanvas* lc = logo.Canvas();
    lc->Brush()->SetColor(gui::clFuchsia);
    lc->FillRect(gui::Rect(0, 0, 96, 40));
    lc->Pen()->SetColor(static_cast<gui::TColor>(0x808080));
    lc->Brush()->SetColor(gui::clWhite);
    lc->Rectangle(0, 0, 96, 40);
    lc->SetPixels(0, 39, gui::clFuchsia);
    lc->Pen()->SetColor(static_cast<gui::TColor>(0xC06020));
    lc->Brush()->SetColor(static_cast<gui::TColor>(0xC06020));
    lc->Ellipse(6, 6, 34, 34);
    lc->Font()->SetHeight(16);
    lc->Font()->SetStyle(gui::fsBold);
    lc->Font()->SetColor(static_cast<gui::TColor>(0x303030));
    lc->Brush()->SetStyle(gui::bsClear);
    lc->TextOut(40, 11, "H.264");

    std::vector<std::unique_ptr<skin::TbsSkinData>> data;
    std::vector<gui::TForm*> forms;
    for (int k = 0; k < 3; ++k) {
        data.push_back(std::make_unique<skin::TbsSkinData>());
        skin::TbsSkinData& d = *data.back();
        d.SetSkinList(&list);
        d.SetSkinIndex(skinsShown[k]);
        ASSERT_FALSE(d.Empty);
        const skin::TRect& cl = d.ClRect;
        auto p = std::make_unique<skin::TbsPicture>();
        p->Assign(wash(d.FPicture.Image().At(cl.Left + 2, cl.Top + 2)));
        d.FActivePictures.push_back(std::move(p));
        d.BGPictureIndex = static_cast<int>(d.FActivePictures.size()) - 1;
        d.StretchEffect = true;
        d.StretchType = skin::TbsStretchType::bsstHorz;
        // The middle form's inactive frame goes through the skin's effect as well.
        if (k == 1) {
            d.AutoRenderingInActiveImage = true;
            d.InActiveEffect = skin::TbsInActiveEffect::ieGrayScale;
        }
        auto* f = new gui::TForm(gui::Application);
        f->AfterConstruction();
        f->SetCaption("视频转换");
        f->SetBounds(gap + k * (fw + gap), gap, fw, fh);
        auto* sf = new skin::TbsSkinForm(f);
        sf->SetShowIcon(true);
        sf->SetLogoBitMap(&logo);
        sf->LogoBitMapTransparent = true;
        sf->SetSkinData(&d);
        f->Show();
        forms.push_back(f);
    }
    SetForegroundWindow(forms[2]->Handle());
    win::RunUntilIdle();

    int width = gap + 3 * (fw + gap), height = 2 * gap + fh;
    gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, width, height);
    ASSERT_EQ(screen.width, width);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/skinned_form_pieces.png", error)) << error;

    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        gui::TForm* f = forms[static_cast<size_t>(k)];
        RECT wr;
        GetWindowRect(f->Handle(), &wr);
        POINT o = f->ClientToScreen({0, 0});
        int cw = f->ClientWidth(), ch = f->ClientHeight();
        // The logo's blue disc in the middle, its key colour left out.
        int lx = o.x + cw / 2 - 48, ly = o.y + ch / 2 - 20;
        EXPECT_EQ(screen.At(lx + 20, ly + 20) & 0xFFFFFF, 0x2060C0u);
        EXPECT_NE(screen.At(lx, ly + 39) & 0xFFFFFF, 0xFF00FFu);
        EXPECT_EQ(screen.At(lx + 60, ly + 4) & 0xFFFFFF, 0xFFFFFFu);
        // The background wash changes down the client.
        uint32_t top = screen.At(o.x + 4, o.y + 1), bottom = screen.At(o.x + 4, o.y + ch - 2);
        EXPECT_NE(bottom & 0xFFFFFF, top & 0xFFFFFF);
        // The inactive form's caption is grey.
        if (k == 1) {
            uint32_t v = screen.At(wr.left + (wr.right - wr.left) / 2, wr.top + 3);
            EXPECT_EQ((v >> 16) & 0xFF, v & 0xFF);
            EXPECT_EQ((v >> 8) & 0xFF, v & 0xFF);
        }
    }
    for (gui::TForm* f : forms) delete f;
}

} // namespace
