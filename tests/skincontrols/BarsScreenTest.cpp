// A form with a tool bar, a page control and a status bar on a real (virtual) screen, in two
// stored skins.  The grabbed screens are kept as bars_skin0.png and bars_skin1.png in the build
// folder for a person to look at; the test checks that the tabs reached the screen from the
// skin's picture.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "ControlFixtures.h"
#include "display/headless/Headless.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/controls/SkinScrollBox.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/controls/SkinUpDown.h"
#include "win/Message.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

} // namespace

TEST(BarsScreen, ToolBarPagesAndStatusBarInTwoSkins) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    auto* form = new SkinWalkForm(gui::Application);
    form->AfterConstruction();
    form->SetBorderStyle(gui::bsSingle);
    form->SetCaption("工具栏、页面与状态栏");
    form->SetBounds(40, 40, 520, 360);

    auto* bar = new TbsSkinToolBar(form);
    bar->SetParent(form);
    bar->SetAlign(gui::alTop);
    bar->SetHeight(34);
    bar->SetSkinDataName("resizetoolpanel");
    bar->SetCanScroll(true);
    bar->SetScrollOffset(30);
    const char* captions[] = {"添加文件", "删除", "清空列表", "开始转换", "停止", "输出目录", "设置", "帮助"};
    int x = 0;
    for (const char* caption : captions) {
        auto* b = new TbsSkinSpeedButton(form);
        b->SetParent(bar);
        b->SkinDataName = "resizetoolbutton";
        b->SetCaption(caption);
        b->SetBounds(x, 0, 66, 26);
        x += 68;
    }
    auto* status = new TbsSkinStatusBar(form);
    status->SetParent(form);
    status->SetSizeGrip(true);
    status->SetCaption("就绪");

    auto* pages = new TbsSkinPageControl(form);
    pages->SetParent(form);
    pages->SetAlign(gui::alClient);
    pages->SetShowCloseButtons(true);
    std::vector<TbsSkinTabSheet*> sheets;
    for (const char* caption : {"常规", "视频", "音频", "字幕"}) {
        auto* s = new TbsSkinTabSheet(form);
        s->SetCaption(caption);
        s->SetPageControl(pages);
        sheets.push_back(s);
    }
    auto* box = new TbsSkinScrollBox(form);
    box->SetParent(sheets[0]);
    box->SetBounds(12, 12, 220, 150);
    auto* vbar = new TbsSkinScrollBar(form);
    vbar->SetKind(TScrollBarKind::sbVertical);
    vbar->SetSkinDataName("vscrollbar");
    vbar->SetParent(sheets[0]);
    vbar->SetBounds(232, 12, 16, 150);
    auto* inner = new TbsSkinUpDown(form);
    inner->SetParent(box);
    inner->SetBounds(20, 20, 36, 18);
    auto* far = new TbsSkinUpDown(form);
    far->SetParent(box);
    far->SetOrientation(gui::udVertical);
    far->SetSkinDataName("vupdown");
    far->SetBounds(20, 260, 18, 36);
    box->SetVScrollBar(vbar);

    bar->SetSkinData(&data);
    status->SetSkinData(&data);
    pages->SetSkinData(&data);
    box->SetSkinData(&data);
    vbar->SetSkinData(&data);
    inner->SetSkinData(&data);
    far->SetSkinData(&data);
    form->Show();
    for (int index : {0, 1}) {
        data.SetSkinIndex(index);
        form->SetColor(data.SkinColors().cBtnFace());
        bar->SetBounds(bar->Left(), bar->Top(), bar->Width(), bar->Height());
        pages->SetActivePage(sheets[1]);
        pages->SetActivePage(sheets[0]);
        win::RunUntilIdle();
        EXPECT_TRUE(bar->ArrowsVisible()) << index;
        EXPECT_TRUE(vbar->Visible()) << index;
        ASSERT_NE(pages->FIndex, -1) << index;

        RECT wr;
        GetWindowRect(form->Handle(), &wr);
        int w = wr.right - wr.left, h = wr.bottom - wr.top;
        gdi::image::Image screen = GrabScreen(server.Name(), wr.left, wr.top, w, h);
        ASSERT_EQ(screen.width, w);
        std::string error;
        EXPECT_TRUE(SavePng(
            screen, std::string(TARVIK_SHOT_DIR "/bars_skin") + std::to_string(index) + ".png", error))
            << error;
        // The left cap of an idle tab comes from the skin's tab picture.
        auto& d = dynamic_cast<TbsDataSkinTabControl&>(*data.CtrlList[data.GetControlIndex("tab")]);
        gui::TRect t = pages->GetTabRect(2);
        int cy = (t.top + t.bottom) / 2;
        gui::TPoint s = pages->ClientToScreen({t.left + 2, cy});
        uint32_t shown = screen.At(s.x - wr.left, s.y - wr.top) & 0xFFFFFF;
        EXPECT_EQ(Shown(shown),
                  PictureAt(data, d.PictureIndex, d.TabRect.Left + 2, d.TabRect.Top + (cy - t.top) + 1))
            << index;
    }
    // Tabs on the left read from bottom to top.
    pages->SetTabPosition(gui::tpLeft);
    win::RunUntilIdle();
    RECT wr;
    GetWindowRect(form->Handle(), &wr);
    gdi::image::Image screen =
        GrabScreen(server.Name(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
    std::string error;
    EXPECT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/bars_left_tabs.png", error)) << error;
    delete form;
}
