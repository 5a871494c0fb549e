// One of each standard control on a form on a real (virtual) screen.  The grabbed screen is
// kept as std_controls.png in the build folder for a person to look at; the test checks that
// the controls' own colours reached the screen where they belong.
#include "../display/ScreenGrab.h"
#include "../display/Xvfb.h"
#include "display/headless/Headless.h"
#include "gdi/Raster.h"
#include "gdi/image/Png.h"
#include "gui/Application.h"
#include "gui/Bevel.h"
#include "gui/Bitmap.h"
#include "gui/ButtonControl.h"
#include "gui/Canvas.h"
#include "gui/ComboBox.h"
#include "gui/CustomEdit.h"
#include "gui/CustomLabel.h"
#include "gui/CustomListBox.h"
#include "gui/CustomListView.h"
#include "gui/CustomPanel.h"
#include "gui/CustomTreeView.h"
#include "gui/Forms.h"
#include "gui/Image.h"
#include "gui/PageControl.h"
#include "gui/ProgressBar.h"
#include "gui/Splitter.h"
#include "gui/TrackBar.h"
#include "gui/UpDown.h"
#include "win/Message.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

// Xlib's macros (None, Bool, Status) go after every C++ header.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace gui;

namespace {

// Made before the display connection, so that it outlives it.
XvfbServer& Server() {
    static XvfbServer s;
    return s;
}

template <class T> T* Add(TWinControl* parent, TRect bounds) {
    T* c = new T(parent);
    c->SetBoundsRect(bounds);
    c->SetParent(parent);
    return c;
}

// The form as the X server shows it, kept as a PNG in the build folder.
gdi::image::Image Grab(TForm* f, XvfbServer& server, const char* file, RECT& wr) {
    GetWindowRect(f->Handle(), &wr);
    gdi::image::Image screen;
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    screen = GrabScreen(server.Name(), wr.left, wr.top, width, height);
    EXPECT_EQ(screen.width, width);
    if (screen.width != width) return screen;
    std::string error;
    EXPECT_TRUE(SavePng(screen, std::string(TARVIK_SHOT_DIR "/") + file, error)) << error;
    return screen;
}

TEST(StdControlsScreen, OneOfEachOnAForm) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");
    ASSERT_EQ(display::HeadlessDisplay(), nullptr) << "the x11 backend was not chosen";

    auto* f = new TForm(Application);
    f->AfterConstruction();
    f->SetBorderStyle(bsSingle);
    f->SetCaption("标准控件");
    f->SetBounds(60, 60, 480, 340);

    auto* top = Add<TPanel>(f, Bounds(0, 0, 480, 150));
    top->SetAlign(alTop);
    auto* list = Add<TPanel>(top, Bounds(1, 1, 150, 148));
    list->SetAlign(alLeft);
    list->SetCaption("文件列表");
    list->SetBevelOuter(bvLowered);
    auto* splitter = new TSplitter(top);
    splitter->SetBeveled(true);
    splitter->SetBounds(151, 1, 6, 148);
    splitter->SetParent(top);
    auto* preview = Add<TPanel>(top, Bounds(200, 1, 10, 10));
    preview->SetAlign(alClient);
    preview->SetBevelOuter(bvLowered);
    TBitmap pic;
    pic.SetSize(96, 64);
    for (int y = 0; y < 64; ++y) {
        pic.Canvas()->Pen()->SetColor(static_cast<TColor>(RGB(40, 80 + y * 2, 200 - y * 2)));
        pic.Canvas()->MoveTo(0, y);
        pic.Canvas()->LineTo(96, y);
    }
    auto* image = Add<TImage>(preview, Bounds(0, 0, 10, 10));
    image->SetAlign(alClient);
    image->SetCenter(true);
    image->Picture()->SetGraphic(&pic);

    auto* label = Add<TLabel>(f, Bounds(12, 162, 10, 10));
    label->SetCaption("输出格式：H.264视频");
    auto* check = Add<TCheckBox>(f, Bounds(12, 186, 160, 20));
    check->SetCaption("转换后打开文件夹");
    check->SetChecked(true);
    auto* r1 = Add<TRadioButton>(f, Bounds(200, 186, 120, 20));
    r1->SetCaption("关机");
    auto* r2 = Add<TRadioButton>(f, Bounds(200, 208, 120, 20));
    r2->SetCaption("播放提示音");
    r2->SetChecked(true);
    auto* bevel = Add<TBevel>(f, Bounds(12, 236, 450, 2));
    bevel->SetShape(bsTopLine);
    auto* progress = Add<TProgressBar>(f, Bounds(12, 252, 280, 18));
    progress->SetPosition(60);
    auto* track = Add<TTrackBar>(f, Bounds(300, 244, 160, 45));
    track->SetRange(0, 128);
    track->SetPosition(96);
    f->Show();
    check->SetFocus();
    win::RunUntilIdle();

    RECT wr;
    gdi::image::Image screen = Grab(f, server, "std_controls.png", wr);
    ASSERT_EQ(screen.width, wr.right - wr.left);

    // A client point of a control as the screen shows it.
    auto at = [&](TControl* c, int cx, int cy) {
        TPoint s = c->ClientToScreen({cx, cy});
        return screen.At(s.x - wr.left, s.y - wr.top) & 0xFFFFFF;
    };
    auto pixel = [](TColor c) { return gdi::PixelOf(ColorToRGB(c)); };
    EXPECT_EQ(at(progress, 20, 9), pixel(clHighlight));
    EXPECT_EQ(at(progress, 260, 9), pixel(clBtnFace));
    EXPECT_EQ(at(image, image->Width() / 2, image->Height() / 2),
              gdi::PixelOf(ColorToRGB(pic.Canvas()->Pixels(48, 32))));
    EXPECT_EQ(at(bevel, 5, 0), pixel(clBtnShadow));
    EXPECT_EQ(at(r2, 6, 10), pixel(clWindowText));
    EXPECT_EQ(at(r1, 6, 10), pixel(clWindow));
    delete f;
}

TEST(StdControlsScreen, TextListAndPageControlsOnAForm) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer& server = Server();
    ASSERT_TRUE(server.Running()) << server.Error();
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("TARVIK_DISPLAY");

    auto* f = new TForm(Application);
    f->AfterConstruction();
    f->SetBorderStyle(bsSingle);
    f->SetCaption("列表与文本控件");
    f->SetBounds(40, 40, 660, 470);

    auto* edit = Add<TEdit>(f, Bounds(12, 12, 150, 21));
    edit->SetText("输出目录 D:\\视频");
    auto* number = Add<TEdit>(f, Bounds(172, 12, 50, 21));
    auto* updown = Add<TUpDown>(f, Bounds(0, 0, 17, 21));
    updown->SetMax(16);
    updown->SetPosition(4);
    updown->SetAssociate(number);
    auto* combo = Add<TComboBox>(f, Bounds(240, 12, 150, 21));
    combo->Items()->SetCommaText("高清,标清,流畅,原画");
    combo->SetItemIndex(1);
    auto* fixed = Add<TComboBox>(f, Bounds(400, 12, 150, 21));
    fixed->SetStyle(csDropDownList);
    fixed->Items()->SetCommaText("MP4,AVI,MKV");
    fixed->SetItemIndex(0);

    auto* memo = Add<TMemo>(f, Bounds(12, 44, 210, 90));
    for (const char* line : {"#1.5: 打开文件", "#1.5: 视频流 H.264 1280x720", "#1.4: 音频采样率已调整"})
        memo->Lines()->Add(line);
    auto* list = Add<TListBox>(f, Bounds(232, 44, 150, 90));
    for (const char* item : {"第一个文件.mp4", "第二个文件.avi", "第三个文件.mkv"}) list->Items()->Add(item);
    list->SetItemIndex(1);
    auto* tabs = Add<TTabControl>(f, Bounds(392, 44, 250, 90));
    tabs->Tabs()->SetCommaText("屏幕一,屏幕二");

    auto* pages = Add<TPageControl>(f, Bounds(12, 144, 300, 140));
    for (const char* caption : {"常规", "视频", "音频"}) {
        auto* sheet = new TTabSheet(f);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    auto* onPage = Add<TLabel>(pages->Pages(0), Bounds(10, 10, 10, 10));
    onPage->SetCaption("第一页上的标签");
    auto* tree = Add<TTreeView>(f, Bounds(322, 144, 320, 140));
    TTreeNode* disk = tree->Items()->Add(nullptr, "本地磁盘 (C:)");
    TTreeNode* videos = tree->Items()->AddChild(disk, "视频");
    tree->Items()->AddChild(videos, "2026");
    tree->Items()->AddChild(disk, "音乐");
    tree->Items()->Add(nullptr, "本地磁盘 (D:)")->SetHasChildren(true);
    disk->Expand(true);

    auto* view = Add<TListView>(f, Bounds(12, 294, 630, 130));
    view->SetViewStyle(vsReport);
    view->SetRowSelect(true);
    view->SetGridLines(true);
    view->SetReadOnly(true);
    const char* heads[] = {"文件名", "大小", "时长", "状态"};
    for (int c = 0; c < 4; ++c) {
        TListColumn* col = view->Columns()->Add();
        col->SetCaption(heads[c]);
        col->SetWidth(c == 0 ? 240 : 120);
    }
    for (int r = 0; r < 3; ++r) {
        TListItem* item = view->Items()->Add();
        item->SetCaption("视频" + std::to_string(r + 1) + ".mp4");
        item->SubItems()->Add(std::to_string(12 + r) + " MB");
        item->SubItems()->Add("00:0" + std::to_string(r + 1) + ":30");
        item->SubItems()->Add(r == 0 ? "完成" : "等待");
    }
    view->SetItemIndex(1);
    f->Show();
    list->SetFocus();
    win::RunUntilIdle();
    tree->SetSelected(videos);
    combo->SetDroppedDown(true);
    win::RunUntilIdle();

    RECT wr;
    gdi::image::Image screen = Grab(f, server, "list_controls.png", wr);
    ASSERT_EQ(screen.width, wr.right - wr.left);
    auto at = [&](TControl* c, int cx, int cy) {
        TPoint s = c->ClientToScreen({cx, cy});
        return screen.At(s.x - wr.left, s.y - wr.top) & 0xFFFFFF;
    };
    auto pixel = [](TColor c) { return gdi::PixelOf(ColorToRGB(c)); };
    EXPECT_EQ(at(edit, edit->ClientWidth() - 3, 3), pixel(clWindow));
    TRect row = list->ItemRect(1);
    EXPECT_EQ(at(list, row.right - 3, row.top + 1), pixel(clHighlight));
    EXPECT_EQ(at(pages->Pages(0), pages->Pages(0)->ClientWidth() - 5, pages->Pages(0)->ClientHeight() - 5),
              pixel(clBtnFace));
    combo->SetDroppedDown(false);
    delete f;
}

} // namespace
