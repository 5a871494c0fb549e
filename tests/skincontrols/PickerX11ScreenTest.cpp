// The main window's pickers on a real (virtual) screen in two stored skins: the category and
// format pickers as tool buttons, the format picker's office list open under it, and preset
// pickers beside them.  Each screen is kept as pickers_x11_skinN.png in the build folder for a
// person to look at; the test checks that the open list reached the screen.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "ControlFixtures.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/CustomLabel.h"
#include "gui/Forms.h"
#include "gui/ImgList.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinOfficeComboBox.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Window.h"

#include <cstdlib>
#include <gtest/gtest.h>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xlib.h>

using namespace skin;

namespace {

XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

gui::TLabel* Label(gui::TForm* f, const char* text, int x, int y) {
    auto* l = new gui::TLabel(f);
    l->SetCaption(text);
    l->SetBounds(x, y, 100, 18);
    l->SetTransparent(true);
    l->SetParent(f);
    return l;
}

TEST(PickerScreen, OfficeListOpenInTwoSkins) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    TbsSkinData data;
    data.SetSkinList(&controltest::StoredSkins());
    auto* f = new controltest::SkinWalkForm(gui::Application);
    f->AfterConstruction();
    f->SetBounds(20, 20, 600, 420);
    // Two small pictures for the items, as the format list alternates them.
    auto* images = new gui::TImageList(f);
    images->SetSize(16, 16);
    for (gui::TColor c : {gui::TColor(0x2060D0), gui::TColor(0x30A040)}) {
        gui::TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect({0, 0, 16, 16});
        b.Canvas()->Brush()->SetColor(gui::clWhite);
        b.Canvas()->FillRect({4, 4, 12, 12});
        images->Add(&b, nullptr);
    }
    auto office = [&](int top, int height) {
        auto* c = new TbsSkinOfficeComboBox(f);
        c->SetParent(f);
        c->SetToolButtonStyle(true);
        c->SetBounds(12, top, 330, height);
        c->SetImages(images);
        c->SetSkinData(&data);
        return c;
    };
    Label(f, "输出类型：", 12, 10);
    TbsSkinOfficeComboBox* category = office(30, 36);
    category->SetListBoxItemHeight(50);
    category->SetListBoxShowItemTitles(false);
    for (const char* c : {"常用视频格式", "高清视频格式", "音频格式", "手机视频格式"}) {
        TbsSkinOfficeItem* item = category->Items()->Add();
        item->SetCaption(c);
        item->SetImageIndex(0);
    }
    category->SetItemIndex(0);
    Label(f, "输出格式：", 12, 76);
    TbsSkinOfficeComboBox* format = office(96, 44);
    format->SetListBoxItemHeight(60);
    format->SetListBoxShowLines(true);
    format->SetDropDownCount(4);
    const char* formats[][2] = {
        {"MP4 视频 (*.mp4)", "H.264 编码，兼容性最好的视频格式"},
        {"AVI 视频 (*.avi)", "Windows 常用视频格式"                   },
        {"FLV 视频 (*.flv)", "网络视频常用格式"                     },
        {"3GP 视频 (*.3gp)", "手机常用视频格式"                     },
        {"MKV 视频 (*.mkv)", "Matroska 容器，可含多条音轨与字幕"},
    };
    TbsSkinOfficeItem* header = format->Items()->Add();
    header->SetCaption("常用视频格式");
    header->SetHeader(true);
    int n = 0;
    for (auto& [title, caption] : formats) {
        TbsSkinOfficeItem* item = format->Items()->Add();
        item->SetTitle(title);
        item->SetCaption(caption);
        item->SetImageIndex(n++ % 2);
    }
    format->SetItemIndex(2);
    const char* presets[][3] = {
        {"视频分辨率：", "1280x720",  "保持原分辨率"   },
        {"视频比特率：", "1500 kbps", "无视频"            },
        {"音频比特率：", "128 kbps",  "自动音频比特率"},
    };
    for (int i = 0; i < 3; ++i) {
        Label(f, presets[i][0], 370, 10 + i * 50);
        auto* p = new TbsSkinComboBox(f);
        p->SetParent(f);
        p->SetBounds(370, 30 + i * 50, 200, 20);
        p->Items()->Add(presets[i][1]);
        p->Items()->Add(presets[i][2]);
        p->SetItemIndex(0);
        p->SetSkinData(&data);
    }
    f->Show();
    for (int skinIndex : {0, 3}) {
        SCOPED_TRACE(skinIndex);
        data.SetSkinIndex(skinIndex);
        ASSERT_FALSE(data.Empty);
        f->SetColor(data.SkinColors().cBtnFace());
        win::RunUntilIdle();
        format->SetFocus();
        format->DropDown();
        win::RunUntilIdle();
        TbsPopupOfficeListBox* list = format->ListBox();
        ASSERT_TRUE(format->IsPopupVisible());
        // A hot item, as the mouse over the list shows it.
        list->TrackAt(list->Width() / 2, list->CalcHeight(3) - 30);
        win::RunUntilIdle();
        gdi::image::Image screen = GrabScreen(server.Name(), 0, 0, 660, 560);
        ASSERT_EQ(screen.width, 660);
        std::string error;
        std::string file = TARVIK_SHOT_DIR "/pickers_x11_skin" + std::to_string(skinIndex) + ".png";
        ASSERT_TRUE(SavePng(screen, file, error)) << error;
        // The open list reached the screen: its own surface, pixel for pixel, at one point.
        RECT lr;
        GetWindowRect(list->Handle(), &lr);
        const gdi::Bitmap* surface = win::GetWindowSurface(list->Handle());
        ASSERT_NE(surface, nullptr);
        int x = 20, y = (lr.bottom - lr.top) / 2;
        EXPECT_EQ(screen.At(lr.left + x, lr.top + y) & 0xFFFFFF, surface->View().Get(x, y) & 0xFFFFFF);
        format->CloseUp(false);
        win::RunUntilIdle();
    }
    delete f;
}

} // namespace
