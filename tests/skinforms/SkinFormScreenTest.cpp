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

} // namespace
