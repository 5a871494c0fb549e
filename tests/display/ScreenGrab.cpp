#include "ScreenGrab.h"

#include "gdi/image/Png.h"

#include <fstream>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

gdi::image::Image GrabScreen(const std::string& display, int x, int y, int width, int height) {
    gdi::image::Image image;
    if (width <= 0 || height <= 0) return image;
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return image;
    XImage* shot = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (shot) {
        image.Reset(width, height);
        for (int yy = 0; yy < height; ++yy)
            for (int xx = 0; xx < width; ++xx)
                image.At(xx, yy) = 0xFF000000u | (XGetPixel(shot, xx, yy) & 0xFFFFFF);
        XDestroyImage(shot);
    }
    XCloseDisplay(d);
    return image;
}

bool SavePng(const gdi::image::Image& image, const std::string& path, std::string& error) {
    std::vector<uint8_t> png;
    if (!gdi::image::WritePng(image, png, error)) return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
