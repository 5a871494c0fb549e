// The edit, list and picker controls on one form in two stored skins, written as PNG pictures
// beside the test binary for a look; the test checks that each control paints from its skin.
#include "ControlFixtures.h"
#include "gdi/image/Png.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinOfficeListBox.h"
#include "skin/controls/SkinSlider.h"
#include "win/Paint.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

using namespace skin;
using namespace controltest;

namespace {

// The form with the pop-up windows over it (open drop-downs), as the screen shows them.
void WriteShot(gui::TWinControl* form, std::vector<gui::TWinControl*> popups, const std::string& name) {
    RECT fr;
    GetWindowRect(form->Handle(), &fr);
    int w = fr.right - fr.left, h = fr.bottom - fr.top + 160;
    gdi::image::Image shot;
    shot.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) shot.At(x, y) = 0xFF808080u;
    popups.insert(popups.begin(), form);
    for (gui::TWinControl* win : popups) {
        if (!win->HandleAllocated() || !win->Visible()) continue;
        const gdi::Bitmap* surface = win::GetWindowSurface(win->Handle());
        ASSERT_NE(surface, nullptr);
        gdi::PixelView v = surface->View();
        RECT wr;
        GetWindowRect(win->Handle(), &wr);
        for (int y = 0; y < wr.bottom - wr.top; ++y)
            for (int x = 0; x < wr.right - wr.left; ++x) {
                int sx = wr.left - fr.left + x, sy = wr.top - fr.top + y;
                if (sx >= 0 && sy >= 0 && sx < w && sy < h)
                    shot.At(sx, sy) = 0xFF000000u | (v.Get(x, y) & 0xFFFFFF);
            }
    }
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(gdi::image::WritePng(shot, png, error)) << error;
    std::ofstream(TARVIK_SHOT_DIR "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

} // namespace

TEST_F(GuiTest, PickersPaintFromTwoStoredSkins) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    auto* form = MakeForm<SkinWalkForm>();
    form->SetBounds(0, 0, 460, 320);
    auto* seek = new TbsSkinSlider(form);
    seek->SetParent(form);
    seek->SetOptions(soShowFocus | soSmooth);
    seek->SetBounds(12, 240, 200, 31);
    seek->SetValue(40);
    seek->SetSkinData(&data);
    auto* vertical = new TbsSkinSlider(form);
    vertical->SetParent(form);
    vertical->SetOrientation(TbsSliderOrientation::soVertical);
    vertical->SetBounds(420, 12, 31, 150);
    vertical->SetValue(70);
    vertical->SetSkinData(&data);
    auto* folder = new TbsSkinEdit(form);
    folder->SetParent(form);
    folder->SetBounds(12, 12, 200, 22);
    folder->SetText("D:\\视频\\输出");
    folder->SetReadOnly(true);
    folder->SetSkinData(&data);
    auto* browse = new TbsSkinEdit(form);
    browse->SetParent(form);
    browse->SkinDataName = "buttonedit";
    browse->SetButtonMode(true);
    browse->SetBounds(12, 44, 200, 22);
    browse->SetText("1280x720");
    browse->SetSkinData(&data);
    auto* list = new TbsSkinListBox(form);
    list->SetParent(form);
    list->SetBounds(230, 12, 170, 130);
    for (const char* row : {"MP4 (H.264)", "MKV", "AVI", "FLV", "3GP 手机", "MOV", "WMV", "MP3 音频"})
        list->Items()->Add(row);
    list->SetItemIndex(1);
    list->SetSkinData(&data);
    auto* office = new TbsSkinOfficeListBox(form);
    office->SetParent(form);
    office->SetBounds(230, 150, 170, 130);
    office->SetItemHeight(40);
    for (auto [title, caption, header] : {
             std::tuple{"",    "常用视频",                   true },
             {"MP4", "H.264 视频，兼容性最好", false},
             {"MKV", "Matroska 容器",                false},
             {"",    "音频",                         true },
             {"MP3", "有损音频",                   false}
    }) {
        TbsSkinOfficeItem* item = office->Items()->Add();
        item->SetTitle(title);
        item->SetCaption(caption);
        item->SetHeader(header);
    }
    office->SetItemIndex(2);
    office->SetSkinData(&data);
    auto* preset = new TbsSkinComboBox(form);
    preset->SetParent(form);
    preset->SetBounds(12, 80, 200, 22);
    for (const char* row : {"1280x720 高清", "1920x1080 全高清", "854x480", "640x360", "320x240 手机"})
        preset->Items()->Add(row);
    preset->SetItemIndex(1);
    preset->SetSkinData(&data);
    auto* closed = new TbsSkinComboBox(form);
    closed->SetParent(form);
    closed->SetBounds(12, 200, 200, 22);
    closed->Items()->Add("AAC 128 kbps");
    closed->SetItemIndex(0);
    closed->SetSkinData(&data);
    form->Show();
    for (int index : {0, 1}) {
        data.SetSkinIndex(index);
        form->SetColor(data.SkinColors().cBtnFace());
        RunUntilIdle();
        auto& d = dynamic_cast<TbsDataSkinSlider&>(*data.CtrlList[data.GetControlIndex("slider")]);
        // The thumb comes from the skin's picture, its first state.
        gui::TRect t = seek->ThumbRect();
        int cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
        EXPECT_EQ(PixelAt(seek, cx, cy), PictureAt(data, d.PictureIndex, d.HThumbRect.Left + (cx - t.left),
                                                   d.HThumbRect.Top + (cy - t.top)))
            << index;
        // The edit's frame comes from the skin: its left edge, halfway down.
        auto& e = dynamic_cast<TbsDataSkinEditControl&>(*data.CtrlList[data.GetControlIndex("edit")]);
        EXPECT_EQ(PixelAt(folder, -e.ClRect.Left, e.SkinRect.Height() / 2 - e.ClRect.Top),
                  PictureAt(data, e.PictureIndex, e.SkinRect.Left, e.SkinRect.Height() / 2))
            << index;
        preset->SetFocus();
        preset->DropDown();
        RunUntilIdle();
        POINT row = {preset->ListBox()->Left() + 30, preset->ListBox()->Top() + 50};
        D().MoveMouse(row.x, row.y); // a hot row
        RunUntilIdle();
        WriteShot(form, {preset->ListBox()}, "pickers_skin" + std::to_string(index) + ".png");
        preset->CloseUp(false);
        RunUntilIdle();
    }
    list->SetSkinData(nullptr);
    office->SetSkinData(nullptr);
    preset->SetSkinData(nullptr);
    closed->SetSkinData(nullptr);
    folder->SetSkinData(nullptr);
    browse->SetSkinData(nullptr);
    seek->SetSkinData(nullptr);
    vertical->SetSkinData(nullptr);
}
