// The converter's file list on a real (virtual) screen in two stored skins, one above the
// other, grabbed into file_list.png in the build folder for a person to look at: 20 rows of
// file names, durations and sizes, the skinned header, and both skinned bars.  The test checks
// that the list's fill and the header's look reached the screen.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "ControlFixtures.h"
#include "controls/CommCtrlLists.h"
#include "display/headless/Headless.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinScrollBar.h"
#include "win/Window.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace skin;

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

struct FileList {
    gui::TForm* form = nullptr;
    TbsSkinListView* list = nullptr;
    TbsSkinScrollBar* vbar = nullptr;
    TbsSkinScrollBar* hbar = nullptr;
};

FileList MakeFileList(TbsSkinData* data, int top) {
    FileList f;
    f.form = new gui::TForm(gui::Application);
    f.form->AfterConstruction();
    f.form->SetCaption("TarvikH.264格式转换器");
    f.form->SetBounds(20, top, 640, 330);
    f.form->SetColor(data->SkinColors().cBtnFace());
    f.vbar = new TbsSkinScrollBar(f.form);
    f.vbar->SetKind(TScrollBarKind::sbVertical);
    f.vbar->SetSkinDataName("vscrollbar");
    f.vbar->SetBounds(0, 0, 14, 100);
    f.vbar->SetAlign(gui::alRight);
    f.vbar->SetParent(f.form);
    f.vbar->SetSkinData(data);
    f.hbar = new TbsSkinScrollBar(f.form);
    f.hbar->SetBounds(0, 0, 100, 14);
    f.hbar->SetAlign(gui::alBottom);
    f.hbar->SetParent(f.form);
    f.hbar->SetSkinData(data);
    f.list = new TbsSkinListView(f.form);
    f.list->SetViewStyle(gui::vsReport);
    f.list->SetGridLines(true);
    f.list->SetReadOnly(true);
    f.list->SetRowSelect(true);
    f.list->SetAlign(gui::alClient);
    f.list->SetParent(f.form);
    // The file list's 25 columns; sub-item 4 and 7 to 23 are hidden.
    const char* captions[25] = {"输入文件",   "视频时间",   "文件大小",   "输出文件",   "转换进度",
                                "",           "当前时间",   "转换大小",   "视频序号",   "视频类别",
                                "视频选项",   "视频编码",   "音频编码",   "声音频道",   "VideoTag",
                                "FileExt",    "视频分辨率", "视频比特率", "视频帧率",   "音频比特率",
                                "音频采样率", "视频缩放",   "视频能否",   "TargetType", "NormType"};
    const int widths[25] = {230, 70, 70, 150, 70, 0, 70, 70};
    for (int c = 0; c < 25; ++c) {
        gui::TListColumn* col = f.list->Columns()->Add();
        col->SetCaption(captions[c]);
        col->SetWidth(widths[c]);
        if (widths[c] == 0) col->SetMaxWidth(1);
    }
    const char* names[] = {"旅行记录", "家庭聚会",   "毕业典礼", "holiday",
                           "会议录像", "演唱会现场", "cat_video"};
    for (int i = 0; i < 20; ++i) {
        std::string name = std::string(names[i % 7]) + "_" + std::to_string(i + 1);
        gui::TListItem* item = f.list->Items()->Add();
        item->SetCaption("/home/用户/视频/" + name + (i % 3 == 0 ? ".avi" : ".mp4"));
        int seconds = 75 + i * 437;
        char duration[16];
        std::snprintf(duration, sizeof duration, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
        const char* sizes[] = {"12.35MB", "0.5MB", "3MB", "148.27MB", "1024MB"};
        const char* progress[] = {"100%", "45%", "N/A", "", ""};
        for (const std::string& s :
             {std::string(duration), std::string(sizes[i % 5]), name + ".mp4",
              std::string(i < 5 ? progress[i] : ""), std::string(), std::string(), std::string()})
            item->SubItems()->Add(s);
        for (int s = 7; s < 24; ++s) item->SubItems()->Add(s == 7 ? std::to_string(i + 1) : "");
    }
    f.list->SetHScrollBar(f.hbar);
    f.list->SetVScrollBar(f.vbar);
    f.list->SetSkinData(data);
    f.form->Show();
    // As after an add: the last row selected and in view.
    f.list->SetItemIndex(19);
    f.list->Items()->Item(19)->MakeVisible();
    return f;
}

TEST(FileListScreen, TwentyRowsInTwoSkins) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    std::vector<std::unique_ptr<TbsSkinData>> data;
    std::vector<FileList> lists;
    const int skins[] = {0, 1};
    for (int i = 0; i < 2; ++i) {
        data.push_back(std::make_unique<TbsSkinData>());
        data.back()->SetSkinList(&controltest::StoredSkins());
        data.back()->SetSkinIndex(skins[i]);
        ASSERT_FALSE(data.back()->Empty);
        lists.push_back(MakeFileList(data.back().get(), 20 + i * 360));
    }
    win::RunUntilIdle();
    for (auto& f : lists) f.form->Repaint();
    win::RunUntilIdle();

    gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, 700, 740);
    ASSERT_EQ(screen.width, 700);
    std::string error;
    ASSERT_TRUE(SavePng(screen, TARVIK_SHOT_DIR "/file_list.png", error)) << error;

    for (size_t i = 0; i < lists.size(); ++i) {
        SCOPED_TRACE(skins[i]);
        FileList& f = lists[i];
        EXPECT_TRUE(f.vbar->Visible());
        EXPECT_TRUE(f.hbar->Visible());
        EXPECT_TRUE(f.hbar->Both());
        ASSERT_NE(f.list->HeaderHandle(), nullptr);
        EXPECT_EQ(f.list->TopItem()->Index(), f.vbar->Position());
        auto* d = dynamic_cast<TbsDataSkinListView*>(
            data[i]->CtrlList[static_cast<size_t>(data[i]->GetControlIndex("listview"))].get());
        ASSERT_NE(d, nullptr);
        // The empty progress cell of the top row shows the skin's fill.
        RECT header, row{};
        GetWindowRect(f.list->HeaderHandle(), &header);
        row.left = LVIR_BOUNDS;
        SendMessage(f.list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(f.list->TopItem()->Index()),
                    reinterpret_cast<LPARAM>(&row));
        gui::TPoint cell = f.list->ClientToScreen({230 + 70 + 70 + 150 + 30, (row.top + row.bottom) / 2});
        uint32_t pixel = screen.At(cell.x, cell.y) & 0xFFFFFF;
        EXPECT_EQ(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF),
                  static_cast<COLORREF>(d->BGColor));
        EXPECT_GT(row.top, header.bottom - header.top - 1);
    }
    for (auto& f : lists) delete f.form;
}

} // namespace
