#include "skin/engine/FBitmap.h"

#include "gdi/Dc.h"
#include "gdi/Objects.h"

namespace skin {

TbsFBitmap::TbsFBitmap(HBITMAP HBmp) {
    BITMAP bm{};
    if (!HBmp || !GetObject(HBmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return;
    Width = bm.bmWidth;
    Height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    Gap = Width % 4;
    RowInc = Width * 3 + Gap;
    Size = RowInc * Height;
    bmHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    bmInfo.bmiHeader = bmHeader;
    HDC screen = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    Handle = CreateDIBSection(screen, &bmInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (Handle) {
        Bits = static_cast<uint8_t*>(bits);
        GetDIBits(screen, HBmp, 0, static_cast<UINT>(Height), Bits, &bmInfo, DIB_RGB_COLORS);
        Pixels.resize(static_cast<size_t>(Height));
        for (int y = 0; y < Height; ++y)
            Pixels[static_cast<size_t>(y)] = Bits + static_cast<ptrdiff_t>(y) * RowInc;
        hDC = CreateCompatibleDC(screen);
        old_ = SelectObject(hDC, Handle);
    }
    DeleteDC(screen);
}

TbsFBitmap::~TbsFBitmap() {
    if (hDC) {
        if (old_) SelectObject(hDC, old_);
        DeleteDC(hDC);
    }
    if (Handle) DeleteObject(Handle);
}

} // namespace skin
