// Skinned forms on a real (virtual) screen: three skins side by side, grabbed whole into
// skinned_forms.png in the build folder for a person to look at.  The test checks that each
// frame's caption reached the screen and that the window's rounded corners show the desktop.
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

TEST(SkinFormScreen, ThreeSkinsSideBySide) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    static skin::TbsCompressedSkinList list;
    skins::LoadStoredSkins(list);
    const int indexes[] = {0, 3, 8};
    std::vector<std::unique_ptr<skin::TbsSkinData>> data;
    std::vector<gui::TForm*> forms;
    for (int i = 0; i < 3; ++i) {
        data.push_back(std::make_unique<skin::TbsSkinData>());
        data.back()->SetSkinList(&list);
        data.back()->SetSkinIndex(indexes[i]);
        ASSERT_FALSE(data.back()->Empty);
        auto* f = new gui::TForm(gui::Application);
        f->AfterConstruction();
        f->SetCaption("视频转换");
        f->SetBounds(20 + i * 280, 40, 260, 180);
        auto* sf = new skin::TbsSkinForm(f);
        sf->SetSkinData(data.back().get());
        auto* label = new gui::TLabel(f);
        label->SetCaption("皮肤 " + std::to_string(indexes[i]));
        label->SetBounds(12, 12, 200, 20);
        label->SetTransparent(true);
        label->SetParent(f);
        f->Show();
        forms.push_back(f);
    }
    win::RunUntilIdle();

    int width = 880, height = 260;
    gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, width, height);
    ASSERT_EQ(screen.width, width);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/skinned_forms.png", error)) << error;

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(indexes[i]);
        RECT wr;
        GetWindowRect(forms[static_cast<size_t>(i)]->Handle(), &wr);
        const skin::TbsSkinData& d = *data[static_cast<size_t>(i)];
        // The caption's middle row, away from the text and the buttons, is the skin's; only the
        // last form shown is active.
        const skin::TbsPicture& pic =
            forms[static_cast<size_t>(i)]->Active() ? d.FPicture : d.FInActivePicture;
        EXPECT_EQ(forms[static_cast<size_t>(i)]->Active(), i == 2);
        uint32_t want = pic.Image().At(pic.Width() / 2, 3) & 0xFFFFFF;
        EXPECT_EQ(screen.At(wr.left + 40, wr.top + 3) & 0xFFFFFF, want);
        // Outside the mask the desktop shows through.
        bool outside = (d.FMask.Image().At(0, 0) & 0xFFFFFF) != 0;
        if (outside) {
            EXPECT_NE(screen.At(wr.left, wr.top) & 0xFFFFFF, d.FPicture.Image().At(0, 0) & 0xFFFFFF);
        }
    }
    for (gui::TForm* f : forms) delete f;
}

} // namespace
