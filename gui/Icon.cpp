#include "gui/Icon.h"

#include "gdi/Bitmap.h"
#include "gdi/Blit.h"
#include "gdi/Draw.h"
#include "gdi/Icon.h"
#include "gdi/image/Image.h"
#include "gdi/image/ImageFile.h"
#include "gui/Bitmap.h"
#include "gui/Canvas.h"
#include "gui/Resources.h"
#include "gui/Stream.h"

#include <algorithm>
#include <cstring>

namespace gui {

TIcon::~TIcon() {
    if (icon_) DestroyIcon(icon_);
}

void TIcon::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) return SetHandle(nullptr);
    if (auto* i = dynamic_cast<const TIcon*>(source))
        return SetHandle(i->icon_ ? CopyIcon(i->icon_) : nullptr);
    if (auto* b = dynamic_cast<const TBitmap*>(source)) return FromBitmap(*const_cast<TBitmap*>(b));
    TPersistent::Assign(source);
}

int TIcon::Width() const {
    if (!icon_) return 0;
    ICONINFO info{};
    if (!GetIconInfo(icon_, &info)) return 0;
    BITMAP bm{};
    GetObject(info.hbmMask, sizeof bm, &bm);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return bm.bmWidth;
}

int TIcon::Height() const {
    if (!icon_) return 0;
    ICONINFO info{};
    if (!GetIconInfo(icon_, &info)) return 0;
    BITMAP bm{};
    HBITMAP from = info.hbmColor ? info.hbmColor : info.hbmMask;
    GetObject(from, sizeof bm, &bm);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
}

void TIcon::SetWidth(int width) {
    if (width != Width()) throw EInvalidGraphic("Cannot change the size of an icon");
}

void TIcon::SetHeight(int height) {
    if (height != Height()) throw EInvalidGraphic("Cannot change the size of an icon");
}

void TIcon::SetHandle(HICON icon) {
    if (icon == icon_) return;
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HICON h = icon_;
    icon_ = nullptr;
    return h;
}

void TIcon::FromImage(const gdi::image::Image& image) {
    TBitmap colour;
    colour.FromImage(image);
    FromBitmap(colour);
}

void TIcon::FromBitmap(TBitmap& bitmap) {
    if (bitmap.Empty()) return SetHandle(nullptr);
    int w = bitmap.Width(), h = bitmap.Height();
    // The mask: white where the picture is transparent (alpha 0, or the key colour without alpha).
    TBitmap mask;
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(w, h);
    gdi::image::Image image;
    bitmap.ToImage(image);
    bool alpha = bitmap.PixelFormat() == pf32bit;
    COLORREF key = ColorToRGB(bitmap.TransparentColor());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = image.At(x, y);
            bool clear = alpha ? (c >> 24) == 0 : RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF) == key;
            mask.Canvas()->SetPixels(x, y, clear ? clWhite : clBlack);
        }
    TBitmap colour;
    colour.Assign(&bitmap);
    colour.SetPixelFormat(pf32bit);
    if (!alpha) {
        // Opaque where the mask says so: the icon's alpha decides how it is drawn.
        gdi::PixelView v = gdi::FindBitmap(colour.Handle())->View();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t c = v.Get(x, y) & 0xFFFFFF;
                bool clear = RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF) == key;
                v.Put(x, y, clear ? 0 : (c | 0xFF000000u));
            }
    }
    ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
    HICON icon = CreateIconIndirect(&info);
    if (!icon) throw EInvalidGraphic("Icon image is not valid");
    SetHandle(icon);
}

void TIcon::LoadFromStream(TStream& stream) {
    gdi::image::Image image;
    Decode(ReadRest(stream), image, "Icon image is not valid");
    FromImage(image);
}

void TIcon::SaveToStream(TStream& stream) {
    if (!icon_) return;
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(Width(), Height());
    DrawIconEx(b.Canvas()->Handle(), 0, 0, icon_, 0, 0, 0, nullptr, DI_NORMAL);
    gdi::image::Image image;
    b.ToImage(image);
    std::vector<uint8_t> out;
    std::string error;
    if (!gdi::image::EncodeImage(image, gdi::image::ImageFormat::Png, {}, out, error))
        throw EInvalidGraphic(error);
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TIcon::LoadFromResourceName(const std::string& name) {
    gdi::image::Image image;
    Decode(FindResourceData(name), image, "Icon image is not valid");
    FromImage(image);
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) {
    if (icon_)
        DrawIconEx(canvas.Handle(), r.left, r.top, icon_, RectWidth(r), RectHeight(r), 0, nullptr, DI_NORMAL);
}

} // namespace gui
