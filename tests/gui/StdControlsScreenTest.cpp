// One of each standard control on a form on a real (virtual) screen.  The grabbed screen is
// kept as std_controls.png in the build folder for a person to look at; the test checks that
// the controls' own colours reached the screen where they belong.
#include "../display/Xvfb.h"
#include "display/headless/Headless.h"
#include "gdi/Raster.h"
#include "gdi/image/Png.h"
#include "gui/Application.h"
#include "gui/Bevel.h"
#include "gui/Bitmap.h"
#include "gui/ButtonControl.h"
#include "gui/Canvas.h"
#include "gui/CustomLabel.h"
#include "gui/CustomPanel.h"
#include "gui/Forms.h"
#include "gui/Image.h"
#include "gui/ProgressBar.h"
#include "gui/Splitter.h"
#include "gui/TrackBar.h"
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
    GetWindowRect(f->Handle(), &wr);
    Display* x = XOpenDisplay(server.Name().c_str());
    ASSERT_TRUE(x);
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    XImage* shot = XGetImage(x, DefaultRootWindow(x), wr.left, wr.top, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), AllPlanes, ZPixmap);
    ASSERT_TRUE(shot);
    gdi::image::Image screen;
    screen.Reset(width, height);
    for (int yy = 0; yy < height; ++yy)
        for (int xx = 0; xx < width; ++xx)
            screen.At(xx, yy) = 0xFF000000u | (XGetPixel(shot, xx, yy) & 0xFFFFFF);
    XDestroyImage(shot);
    XCloseDisplay(x);
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(gdi::image::WritePng(screen, png, error)) << error;
    std::ofstream(TARVIK_SHOT_DIR "/std_controls.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));

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

} // namespace
