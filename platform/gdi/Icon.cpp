#include "gdi/Icon.h"

#include "gdi/DcImpl.h"
#include "gdi/IconImage.h"
#include "gdi/StockShapes.h"

#include <map>
#include <mutex>

namespace gdi {
namespace {

// Icons live in the GDI object table under a type of their own, which no
// Win32 OBJ_ number uses, so a stale handle finds nothing as elsewhere.
constexpr DWORD kIconObject = 0x1C0;
constexpr int kDefaultIconSize = 32;

struct Icon : Object {
    Icon() : Object(kIconObject) {}
    IconImage image;
    bool isIcon = true;
    bool mono = false; // no colour bitmap: the mask holds AND over XOR
    POINT hot{};
    int stockId = 0; // drawn by us: redrawn, not scaled, at other sizes
};

Icon* FindIcon(HICON h) {
    return Find<Icon>(reinterpret_cast<HGDIOBJ>(h), kIconObject);
}

HICON AddIcon(std::unique_ptr<Icon> icon) {
    return reinterpret_cast<HICON>(AddObject(std::move(icon)));
}

std::unique_ptr<Icon> CopyOf(const Icon& src) {
    auto c = std::make_unique<Icon>();
    c->image = src.image;
    c->isIcon = src.isIcon, c->mono = src.mono, c->hot = src.hot, c->stockId = src.stockId;
    return c;
}

// The image at the size asked for; stock icons are drawn anew for it.
IconImage ImageAt(const Icon& icon, int w, int h) {
    if (w == icon.image.width && h == icon.image.height) return icon.image;
    if (icon.stockId && icon.isIcon && w == h) {
        IconImage redrawn = StockIconImage(icon.stockId, w);
        if (!redrawn.Empty()) return redrawn;
    }
    return icon.image.Scaled(w, h);
}

int IdOf(const char* name) {
    auto v = reinterpret_cast<uintptr_t>(name);
    return v > 0 && v < 0x10000 ? static_cast<int>(v) : 0;
}

// One shared object per stock shape, made on first use.
HICON Stock(int id, bool isIcon) {
    static std::mutex m;
    static std::map<int, HICON> made[2];
    std::lock_guard g(m);
    HICON& h = made[isIcon][id];
    if (h) return h;
    auto icon = std::make_unique<Icon>();
    icon->isIcon = isIcon;
    icon->stock = true;
    icon->stockId = id;
    if (isIcon) {
        icon->image = StockIconImage(id, kDefaultIconSize);
        icon->hot = {kDefaultIconSize / 2, kDefaultIconSize / 2};
    } else {
        icon->image = StockCursorImage(id, icon->hot);
        icon->mono = true;
    }
    if (icon->image.Empty()) return nullptr;
    return h = AddIcon(std::move(icon));
}

BOOL Destroy(HICON h) {
    Icon* icon = FindIcon(h);
    if (!icon) return FALSE;
    return DeleteObject(reinterpret_cast<HGDIOBJ>(h)); // stock ones stay
}

} // namespace

IconImage IconImageOf(HICON h, int w, int h2) {
    Icon* icon = FindIcon(h);
    if (!icon) return {};
    return ImageAt(*icon, w > 0 ? w : icon->image.width, h2 > 0 ? h2 : icon->image.height);
}

HICON IconFromImage(IconImage image) {
    if (image.Empty()) return nullptr;
    auto icon = std::make_unique<Icon>();
    icon->hot = {image.width / 2, image.height / 2};
    icon->image = std::move(image);
    return AddIcon(std::move(icon));
}

} // namespace gdi

using namespace gdi;

HICON CreateIconIndirect(const ICONINFO* info) {
    if (!info) return nullptr;
    Bitmap* mask = FindBitmap(info->hbmMask);
    Bitmap* color = FindBitmap(info->hbmColor);
    auto icon = std::make_unique<Icon>();
    if (color) {
        icon->image = ReadIconImage(*color, mask, 0, 0, color->width, color->height);
        // Without a mask only an alpha channel can say what is transparent.
        if (!mask && !icon->image.hasAlpha) return nullptr;
    } else {
        // Monochrome: the mask's upper half is AND, its lower half XOR.
        if (!mask || mask->height < 2 || mask->height % 2) return nullptr;
        int h = mask->height / 2;
        icon->image = ReadIconImage(*mask, nullptr, 0, 0, mask->width, h);
        IconImage xorHalf = ReadIconImage(*mask, nullptr, 0, h, mask->width, h);
        if (icon->image.Empty() || xorHalf.Empty()) return nullptr;
        for (size_t i = 0; i < icon->image.color.size(); ++i) {
            icon->image.mask[i] = (icon->image.color[i] & 0xFFFFFF) != 0;
            icon->image.color[i] = xorHalf.color[i] & 0xFFFFFF ? 0xFFFFFF : 0;
        }
        icon->mono = true;
    }
    if (icon->image.Empty()) return nullptr;
    icon->isIcon = info->fIcon != FALSE;
    icon->hot = icon->isIcon ? POINT{icon->image.width / 2, icon->image.height / 2}
                             : POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
    return AddIcon(std::move(icon));
}

BOOL DestroyIcon(HICON icon) {
    return Destroy(icon);
}

BOOL DestroyCursor(HCURSOR cursor) {
    return Destroy(cursor);
}

HICON CopyIcon(HICON icon) {
    Icon* src = FindIcon(icon);
    if (!src) return nullptr;
    auto c = CopyOf(*src);
    c->stock = false;
    return AddIcon(std::move(c));
}

HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags) {
    if (type != IMAGE_ICON && type != IMAGE_CURSOR) return nullptr;
    auto h = static_cast<HICON>(image);
    Icon* src = FindIcon(h);
    if (!src) return nullptr;
    if (flags & LR_DEFAULTSIZE) {
        if (cx == 0) cx = kDefaultIconSize;
        if (cy == 0) cy = kDefaultIconSize;
    }
    int w = cx > 0 ? cx : src->image.width, hgt = cy > 0 ? cy : src->image.height;
    auto c = CopyOf(*src);
    c->stock = false;
    c->image = ImageAt(*src, w, hgt);
    c->hot = {static_cast<LONG>(int64_t(src->hot.x) * w / src->image.width),
              static_cast<LONG>(int64_t(src->hot.y) * hgt / src->image.height)};
    if (flags & LR_COPYDELETEORG) Destroy(h);
    return AddIcon(std::move(c));
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    Icon* src = FindIcon(icon);
    if (!src || !info) return FALSE;
    const IconImage& img = src->image;
    info->fIcon = src->isIcon;
    info->xHotspot = static_cast<DWORD>(src->hot.x);
    info->yHotspot = static_cast<DWORD>(src->hot.y);
    if (src->mono) {
        std::vector<uint8_t> both = img.mask;
        for (uint32_t c : img.color) both.push_back((c & 0xFFFFFF) != 0);
        info->hbmMask = MaskBitmapOf(both, img.width, img.height * 2);
        info->hbmColor = nullptr;
    } else {
        info->hbmMask = MaskBitmapOf(img.mask, img.width, img.height);
        info->hbmColor = ColorBitmapOf(img);
    }
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
    Dc* d = FindDc(dc);
    Icon* src = FindIcon(icon);
    if (!d || !src) return FALSE;
    if (flags & DI_DEFAULTSIZE) {
        if (cx == 0) cx = kDefaultIconSize;
        if (cy == 0) cy = kDefaultIconSize;
    }
    if (cx < 0 || cy < 0) return FALSE;
    IconImage img = ImageAt(*src, cx ? cx : src->image.width, cy ? cy : src->image.height);
    DrawIconImage(*d, x, y, img, flags & DI_MASK, flags & DI_IMAGE);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

HICON LoadIcon(HINSTANCE instance, const char* name) {
    return instance ? nullptr : Stock(IdOf(name), true);
}

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
    return instance ? nullptr : Stock(IdOf(name), false);
}

int StockCursorId(HCURSOR cursor) {
    Icon* icon = FindIcon(cursor);
    return icon ? icon->stockId : 0;
}
