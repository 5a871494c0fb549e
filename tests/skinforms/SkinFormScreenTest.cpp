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
