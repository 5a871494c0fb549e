#include "app/WindowPicture.h"

#include "gdi/Bitmap.h"
#include "gdi/image/Png.h"
#include "win/Paint.h"
#include "win/Styles.h"

#include <fstream>

namespace app {

bool WriteWindowPicture(HWND AWindow, const std::string& AFileName, std::string& AError) {
    RedrawWindow(AWindow, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const gdi::Bitmap* surface = win::GetWindowSurface(AWindow);
    if (!surface) {
        AError = "the window has no picture";
        return false;
    }
    gdi::PixelView v = surface->View();
    gdi::image::Image picture;
    picture.Reset(v.width, v.height);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) picture.At(x, y) = 0xFF000000u | (v.Get(x, y) & 0xFFFFFF);
    std::vector<uint8_t> png;
    if (!gdi::image::WritePng(picture, png, AError)) return false;
    std::ofstream out(AFileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out.flush()) {
        AError = "cannot write " + AFileName;
        return false;
    }
    return true;
}

} // namespace app
