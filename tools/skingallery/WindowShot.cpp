#include "WindowShot.h"

#include "gdi/Bitmap.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/WindowPos.h"

namespace skingallery {

gdi::image::Image ShootWindow(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    gdi::image::Image picture;
    const gdi::Bitmap* surface = win::GetWindowSurface(window);
    if (!surface) return picture;
    gdi::PixelView v = surface->View();
    picture.Reset(v.width, v.height, 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool shaped = GetWindowRgn(window, region) != ERROR;
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x)
            if (!shaped || PtInRegion(region, x, y))
                picture.At(x, y) = 0xFF000000u | (v.Get(x, y) & 0xFFFFFF);
    DeleteObject(region);
    return picture;
}

} // namespace skingallery
