// Skinned forms on a real (virtual) screen: the same form in every stored skin, grabbed whole
// into skinned_forms.png in the build folder for a person to look at.  The test checks that
// each frame reached the screen and that the window's rounded corners show the desktop.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "../gui/WaitUntil.h"
#include "display/headless/Headless.h"
#include "display/x11/X11Display.h"
#include "gdi/image/Png.h"
#include "gui/Application.h"
#include "gui/CustomLabel.h"
#include "gui/Forms.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/forms/FormLayerBorder.h"
#include "skin/forms/SkinForm.h"
#include "skins/StoredSkins.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
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

// The window system on the private server, through the x11 backend.
void UseServer() {
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";
}

TEST(SkinFormScreen, EverySkinOnTheSameForm) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_NO_FATAL_FAILURE(UseServer());
    XvfbServer& server = Server();

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

// The skin with a layered border on a form that fades in and dims its client area while
// inactive, grabbed into layered_border_overlay.png.  Without a compositor the border's soft
// windows stay off the screen (the desktop shows where they would be, never a block) and the
// fade shows the form at once; a compositor brings the border up in windows with alpha.
TEST(SkinFormScreen, LayeredBorderAndInactiveOverlay) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_NO_FATAL_FAILURE(UseServer());
    XvfbServer& server = Server();
    Display* x = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(x, nullptr);
    auto pump = [](const std::function<bool()>& done, const std::string& what) {
        return WaitUntil(
            [&] {
                display::X11Sync(display::Current());
                win::RunUntilIdle();
                return done();
            },
            std::chrono::seconds(10), what);
    };
    auto viewable = [&](HWND h) {
        XWindowAttributes a{};
        Window w = display::X11WindowOf(display::Current(), reinterpret_cast<uintptr_t>(h));
        return w && XGetWindowAttributes(x, w, &a) && a.map_state == IsViewable;
    };

    static skin::TbsCompressedSkinList list;
    skins::LoadStoredSkins(list);
    skin::TbsSkinData data;
    data.SetSkinList(&list);
    data.SetSkinIndex(2);
    ASSERT_FALSE(data.Empty);
    ASSERT_NE(data.LayerFrame.PictureIndex, -1);
    const int width = 560, height = 300;
    gdi::image::Image desktop = GrabScreen(server.Name(), 0, 0, width, height);
    ASSERT_EQ(desktop.width, width);

    auto* f = new gui::TForm(gui::Application);
    f->AfterConstruction();
    f->SetCaption("视频转换");
    f->SetBounds(40, 40, 320, 200);
    auto* sf = new skin::TbsSkinForm(f);
    sf->SetSkinData(&data);
    sf->AlphaBlendAnimation = true;
    sf->ClientInActiveEffect = true;
    auto* label = new gui::TLabel(f);
    label->SetCaption("淡入、阴影边框与失去焦点的客户区");
    label->SetBounds(12, 12, 280, 20);
    label->SetTransparent(true);
    label->SetParent(f);
    f->Show();
    ASSERT_TRUE(
        pump([&] { return !(GetWindowLongPtr(f->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED); }, "the fade"));
    skin::TbsFormLayerBorder* border = sf->FBorderLayer.get();
    ASSERT_TRUE(border->FVisible);
    std::vector<HWND> strips;
    for (auto& w : border->Windows)
        if (w) strips.push_back(w->Handle());
    ASSERT_EQ(strips.size(), 4u);
    for (HWND h : strips) EXPECT_FALSE(viewable(h));
    EXPECT_TRUE(viewable(f->Handle()));

    // Another form takes the activation: the client area is washed out.
    auto* other = new gui::TForm(gui::Application);
    other->AfterConstruction();
    other->SetCaption("另一个窗口");
    other->SetBounds(400, 40, 140, 120);
    new skin::TbsSkinForm(other);
    other->Show();
    SetForegroundWindow(other->Handle());
    ASSERT_TRUE(pump([&] { return sf->FInActivePanel != nullptr; }, "the overlay"));
    win::RunUntilIdle();
    gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, width, height);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/layered_border_overlay.png", error)) << error;
    // Where the border's soft edge would lie, the desktop shows: no block.
    RECT wr;
    GetWindowRect(f->Handle(), &wr);
    const int ls = data.LayerFrame.ClRect.Left, ts = data.LayerFrame.ClRect.Top;
    for (POINT p : {
             POINT{wr.left - ls / 2,         (wr.top + wr.bottom) / 2},
             POINT{(wr.left + wr.right) / 2, wr.top - ts / 2         },
             POINT{wr.right + 1,             wr.bottom + 1           }
    }) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(screen.At(p.x, p.y) & 0xFFFFFF, desktop.At(p.x, p.y) & 0xFFFFFF);
    }
    // The faded form itself shows, opaque.
    EXPECT_NE(screen.At(wr.left + 60, wr.top + 4) & 0xFFFFFF,
              desktop.At(wr.left + 60, wr.top + 4) & 0xFFFFFF);

    // A compositor takes the screen: the border comes up, blended by its alpha.
    auto announce = [&](Window compositor) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = DefaultRootWindow(x);
        e.xclient.message_type = XInternAtom(x, "MANAGER", False);
        e.xclient.format = 32;
        e.xclient.data.l[1] = static_cast<long>(XInternAtom(x, "_NET_WM_CM_S0", False));
        e.xclient.data.l[2] = static_cast<long>(compositor);
        XSendEvent(x, DefaultRootWindow(x), False, StructureNotifyMask, &e);
        XSync(x, False);
    };
    Window owner = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(x, XInternAtom(x, "_NET_WM_CM_S0", False), owner, CurrentTime);
    announce(owner);
    EXPECT_TRUE(
        pump([&] { return std::all_of(strips.begin(), strips.end(), [&](HWND h) { return viewable(h); }); },
             "the border under a compositor"));
    for (HWND h : strips) {
        XWindowAttributes a{};
        XGetWindowAttributes(x, display::X11WindowOf(display::Current(), reinterpret_cast<uintptr_t>(h)), &a);
        EXPECT_EQ(a.depth, 32);
    }
    XDestroyWindow(x, owner);
    XSync(x, False);
    EXPECT_TRUE(
        pump([&] { return std::none_of(strips.begin(), strips.end(), [&](HWND h) { return viewable(h); }); },
             "the border off again"));
    delete other;
    delete f;
    win::RunUntilIdle();
    XCloseDisplay(x);
}

} // namespace
