// A skinned multiple-document frame on a real (virtual) screen: children inside the client
// window, one minimised, and the tab bar along the top, grabbed into skinned_mdi.png; then a
// maximised child, its caption in the main form's, into skinned_mdi_max.png.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "display/headless/Headless.h"
#include "gdi/image/Png.h"
#include "gui/Application.h"
#include "gui/CustomLabel.h"
#include "gui/Forms.h"
#include "gui/MenuItem.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMDITabsBar.h"
#include "skins/StoredSkins.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xlib.h>

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

TEST(SkinMdiScreen, AFrameWithChildrenAndTabs) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    static skin::TbsCompressedSkinList list;
    skins::LoadStoredSkins(list);
    skin::TbsSkinData data;
    data.SetSkinList(&list);
    data.SetSkinIndex(0);
    ASSERT_FALSE(data.Empty);

    gui::TForm* main = nullptr;
    gui::Application->CreateForm(main);
    main->SetFormStyle(gui::fsMDIForm);
    main->SetCaption("TarvikH.264格式转换器");
    main->SetBounds(10, 10, 760, 520);
    auto* mainSkin = new skin::TbsSkinForm(main);
    mainSkin->SetSkinData(&data);
    auto* bar = new skin::TbsSkinMDITabsBar(main);
    bar->SetSkinData(&data);
    bar->SetSkinForm(mainSkin);
    bar->SetShowCloseButtons(true);
    bar->SetAlign(gui::alTop);
    bar->SetParent(main);
    mainSkin->SetMDITabsBar(bar);
    main->Show();
    win::RunUntilIdle();

    const char* names[] = {"视频一.avi", "视频二.mp4", "音频.mp3", "字幕.srt"};
    std::vector<gui::TForm*> kids;
    for (int i = 0; i < 4; ++i) {
        auto* c = new gui::TForm(gui::Application);
        c->AfterConstruction();
        c->SetName("Doc" + std::to_string(i + 1));
        c->SetCaption(names[i]);
        c->SetFormStyle(gui::fsMDIChild);
        auto* s = new skin::TbsSkinForm(c);
        s->SetSkinData(&data);
        c->SetBounds(20 + 60 * i, 20 + 40 * i, 320, 200);
        auto* label = new gui::TLabel(c);
        label->SetCaption(std::string("文档 ") + names[i]);
        label->SetBounds(12, 12, 260, 20);
        label->SetTransparent(true);
        label->SetParent(c);
        c->Show();
        kids.push_back(c);
    }
    win::RunUntilIdle();
    skin::FindSkinFormComponent(kids[3])->SetWindowState(gui::wsMinimized);
    kids[1]->Show(); // the active one
    SetForegroundWindow(main->Handle());
    win::RunUntilIdle();

    RECT wr;
    GetWindowRect(main->Handle(), &wr);
    gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, 800, 560);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/skinned_mdi.png", error)) << error;

    // The active child's caption lies on the screen in the skin's colours, its tab is the
    // highlighted one and the minimised child sits along the client's bottom edge.
    EXPECT_EQ(main->ActiveMDIChild(), kids[1]);
    EXPECT_TRUE(bar->Tabs(1)->Active);
    RECT cr;
    GetWindowRect(kids[1]->Handle(), &cr);
    uint32_t want = data.FPicture.Image().At(data.FPicture.Width() / 2, 3) & 0xFFFFFF;
    int px = (cr.left + cr.right) / 2;
    EXPECT_EQ(screen.At(px, cr.top + 3) & 0xFFFFFF, want);
    RECT client, minimised;
    GetWindowRect(main->ClientHandle(), &client);
    GetWindowRect(kids[3]->Handle(), &minimised);
    EXPECT_EQ(minimised.bottom, client.bottom);
    EXPECT_EQ(client.top - wr.top, data.ClRect.Top + bar->Height());

    // Maximised, the child's frame goes and its caption joins the main form's.
    skin::FindSkinFormComponent(kids[1])->SetWindowState(gui::wsMaximized);
    win::RunUntilIdle();
    EXPECT_EQ(mainSkin->CaptionText(), "TarvikH.264格式转换器 - [视频二.mp4]");
    screen = GrabScreen(server.Name(), 0, 0, 800, 560);
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/skinned_mdi_max.png", error)) << error;
    GetWindowRect(kids[1]->Handle(), &cr);
    EXPECT_EQ(cr.left, client.left);
    EXPECT_EQ(cr.top, client.top);

    for (gui::TForm* c : kids) delete c;
    delete main;
}

} // namespace
