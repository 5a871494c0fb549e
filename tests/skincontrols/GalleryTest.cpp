// A form with every skinned control in three of the stored skins, side by side in one PNG,
// for a look at how they come out together.
#include "ControlFixtures.h"
#include "gdi/image/Png.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinStdLabel.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

TEST_F(GuiTest, GalleryOfEveryControlInThreeSkins) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 500, 400);
    form->SetClientWidth(440);
    form->SetClientHeight(300);
    auto place = [&](auto* c, gui::TWinControl* parent, int x, int y, int w, int h, const char* caption) {
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        c->SetCaption(caption);
        c->SetSkinData(&data);
        return c;
    };
    auto* panel = place(new TbsSkinPanel(form), form, 0, 0, 440, 300, "");
    panel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    auto* group = place(new TbsSkinGroupBox(form), panel, 10, 10, 200, 130, "完成后");
    for (int i = 0; i < 3; ++i) {
        const char* names[] = {"关闭程序", "关机", "什么都不做"};
        auto* r = place(new TbsSkinCheckRadioBox(form), group, 10, 30 + i * 26, 170, 24, names[i]);
        r->SetRadio(true);
        r->SetSkinDataName("radiobox");
        r->GroupIndex = 1;
        if (i == 2) r->SetChecked(true);
    }
    auto* check = place(new TbsSkinCheckRadioBox(form), panel, 220, 20, 200, 24, "转换时进行实时视频预览");
    check->SetChecked(true);
    place(new TbsSkinCheckRadioBox(form), panel, 220, 46, 200, 24, "多线程转换")->SetEnabled(false);
    auto* ok = place(new TbsSkinButton(form), panel, 220, 80, 90, 28, "确定");
    ok->SetSkinDataName("resizebutton");
    ok->SetDefault(true);
    auto* cancel = place(new TbsSkinButton(form), panel, 320, 80, 90, 28, "取消");
    cancel->SetSkinDataName("resizebutton");
    auto* off = place(new TbsSkinButton(form), panel, 220, 114, 90, 28, "停止");
    off->SetSkinDataName("resizebutton");
    off->SetEnabled(false);
    auto* tool = place(new TbsSkinSpeedButton(form), panel, 320, 114, 90, 28, "设置");
    tool->SkinDataName = "resizetoolbutton";
    tool->SetDown(true);
    tool->GroupIndex = 1;
    auto* add = place(new TbsSkinMenuSpeedButton(form), panel, 10, 150, 100, 30, "添加");
    add->SkinDataName = "resizetoolbutton";
    auto* menu = place(new TbsSkinMenuSpeedButton(form), panel, 120, 150, 90, 30, "菜单");
    menu->SkinDataName = "toolmenubutton";
    auto* h = place(new TbsSkinScrollBar(form), panel, 10, 250, 380, 17, "");
    h->SetRange(0, 100, 20, 30);
    h->SetBoth(true);
    auto* v = new TbsSkinScrollBar(form);
    v->SetKind(TScrollBarKind::sbVertical);
    v->SetSkinDataName("vscrollbar");
    place(v, panel, 390, 150, 17, 100, "");
    v->SetRange(0, 100, 0, 70);
    place(new TbsSkinPanel(form), panel, 220, 150, 160, 90, "");
    place(new TbsSkinStdLabel(form), panel, 10, 195, 200, 20, "输出目录：D:\\视频");
    place(new TbsSkinStdLabel(form), panel, 10, 220, 200, 20, "预计剩余时间：未知")->SetEnabled(false);
    form->Show();
    RunUntilIdle();

    gdi::image::Image sheet;
    const int skins[] = {0, 1, 8};
    sheet.Reset(3 * 440 + 2 * 8, 300, 0xFFFFFFFFu);
    for (int k = 0; k < 3; ++k) {
        data.SetSkinIndex(skins[k]);
        ok->SetFocus();
        MoveTo(cancel, 40, 14); // one button hot
        Advance(200);
        const gdi::Bitmap* s = win::GetWindowSurface(form->Handle());
        ASSERT_NE(s, nullptr);
        gui::TPoint o = panel->ClientToScreen({0, 0});
        RECT wr;
        GetWindowRect(form->Handle(), &wr);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 440; ++x)
                sheet.At(k * 448 + x, y) = 0xFF000000u | s->View().Get(o.x - wr.left + x, o.y - wr.top + y);
    }
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(gdi::image::WritePng(sheet, png, error)) << error;
    std::ofstream(TARVIK_CONTROLS_GALLERY, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    EXPECT_TRUE(std::ifstream(TARVIK_CONTROLS_GALLERY).good());
}
