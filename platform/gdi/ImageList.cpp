#include "gdi/ImageList.h"

#include "gdi/DcImpl.h"
#include "gdi/Icon.h"
#include "gdi/IconImage.h"

#include <algorithm>

namespace gdi {
namespace {

constexpr DWORD kImageListObject = 0x1C1; // no Win32 OBJ_ number

struct ImageList : Object {
    ImageList() : Object(kImageListObject) {}
    int cx = 0, cy = 0;
    bool alpha = false; // ILC_COLOR32: keep what the bitmaps' alpha says
    COLORREF bk = CLR_NONE;
    std::vector<IconImage> images;
};

ImageList* FindList(HIMAGELIST h) {
    return Find<ImageList>(reinterpret_cast<HGDIOBJ>(h), kImageListObject);
}

// An image as the list keeps it: its size, and alpha only in 32-bit lists.
IconImage Fit(const ImageList& l, IconImage img) {
    if (img.width != l.cx || img.height != l.cy) img = img.Scaled(l.cx, l.cy);
    if (!l.alpha && img.hasAlpha) {
        for (size_t i = 0; i < img.color.size(); ++i) {
            img.mask[i] = (img.color[i] >> 24) < 128;
            img.color[i] = img.mask[i] ? 0 : img.color[i] & 0xFFFFFF;
        }
        img.hasAlpha = false;
    }
    return img;
}

// The images of a bitmap strip, one per full image width.
std::vector<IconImage> Slice(const ImageList& l, HBITMAP image, HBITMAP mask, const COLORREF* key) {
    std::vector<IconImage> out;
    Bitmap* b = FindBitmap(image);
    if (!b || l.cx <= 0 || l.cy <= 0 || b->height < l.cy) return out;
    Bitmap* m = FindBitmap(mask);
    for (int x = 0; x + l.cx <= b->width; x += l.cx) {
        IconImage img = ReadIconImage(*b, m, x, 0, l.cx, l.cy);
        if (!l.alpha) {
            // The colour alone counts: the alpha byte of a 32-bit bitmap is noise here.
            for (uint32_t& c : img.color) c &= 0xFFFFFF;
            if (img.hasAlpha && !m) std::fill(img.mask.begin(), img.mask.end(), 0);
            img.hasAlpha = false;
        }
        if (key) {
            uint32_t k = ((*key & 0xFF) << 16) | (*key & 0xFF00) | ((*key >> 16) & 0xFF);
            for (size_t i = 0; i < img.color.size(); ++i)
                if ((img.color[i] & 0xFFFFFF) == k) img.mask[i] = 1;
        }
        // Holes carry black so that the AND/XOR drawing leaves the screen as it is.
        if (!img.hasAlpha)
            for (size_t i = 0; i < img.color.size(); ++i)
                if (img.mask[i]) img.color[i] = 0;
        if (img.hasAlpha && key)
            for (size_t i = 0; i < img.color.size(); ++i)
                if (img.mask[i]) img.color[i] = 0;
        out.push_back(std::move(img));
    }
    return out;
}

int Append(ImageList& l, std::vector<IconImage> images) {
    if (images.empty()) return -1;
    int first = static_cast<int>(l.images.size());
    for (IconImage& img : images) l.images.push_back(std::move(img));
    return first;
}

} // namespace
} // namespace gdi

using namespace gdi;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int) {
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return nullptr;
    auto l = std::make_unique<ImageList>();
    l->cx = cx, l->cy = cy;
    l->alpha = (flags & 0xFE) == ILC_COLOR32;
    l->images.reserve(static_cast<size_t>(std::clamp(initial, 0, 1024)));
    return reinterpret_cast<HIMAGELIST>(AddObject(std::move(l)));
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    return FindList(list) ? DeleteObject(reinterpret_cast<HGDIOBJ>(list)) : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    ImageList* l = FindList(list);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    ImageList* l = FindList(list);
    if (!l || !cx || !cy) return FALSE;
    *cx = l->cx, *cy = l->cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy) {
    ImageList* l = FindList(list);
    if (!l || cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) return FALSE;
    l->cx = cx, l->cy = cy;
    l->images.clear();
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
    ImageList* l = FindList(list);
    if (!l) return CLR_NONE;
    COLORREF old = l->bk;
    l->bk = color;
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
    ImageList* l = FindList(list);
    return l ? l->bk : CLR_NONE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    ImageList* l = FindList(list);
    return l ? Append(*l, Slice(*l, image, mask, nullptr)) : -1;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF key) {
    ImageList* l = FindList(list);
    return l ? Append(*l, Slice(*l, image, nullptr, &key)) : -1;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
    ImageList* l = FindList(list);
    if (!l || index < -1 || index >= static_cast<int>(l->images.size())) return -1;
    IconImage img = IconImageOf(icon, l->cx, l->cy);
    if (img.Empty()) return -1;
    img = Fit(*l, std::move(img));
    if (index == -1) return Append(*l, {std::move(img)});
    l->images[static_cast<size_t>(index)] = std::move(img);
    return index;
}

BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask) {
    ImageList* l = FindList(list);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size())) return FALSE;
    std::vector<IconImage> images = Slice(*l, image, mask, nullptr);
    if (images.empty()) return FALSE;
    l->images[static_cast<size_t>(index)] = std::move(images.front());
    return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
    ImageList* l = FindList(list);
    if (!l || index < -1 || index >= static_cast<int>(l->images.size())) return FALSE;
    if (index == -1)
        l->images.clear();
    else
        l->images.erase(l->images.begin() + index);
    return TRUE;
}

BOOL ImageList_DrawIndirect(const IMAGELISTDRAWPARAMS* p) {
    if (!p) return FALSE;
    ImageList* l = FindList(p->himl);
    Dc* d = FindDc(p->hdcDst);
    if (!l || !d || p->i < 0 || p->i >= static_cast<int>(l->images.size())) return FALSE;
    const IconImage& whole = l->images[static_cast<size_t>(p->i)];
    // cx, cy and the bitmap offset choose a part of the image.
    int ox = std::clamp(p->xBitmap, 0, l->cx), oy = std::clamp(p->yBitmap, 0, l->cy);
    int w = std::min(p->cx > 0 ? p->cx : l->cx, l->cx - ox),
        h = std::min(p->cy > 0 ? p->cy : l->cy, l->cy - oy);
    if (w <= 0 || h <= 0) return TRUE;
    IconImage img;
    img.Resize(w, h);
    img.hasAlpha = whole.hasAlpha;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            img.At(x, y) = whole.color[static_cast<size_t>(y + oy) * whole.width + x + ox];
            img.MaskAt(x, y) = whole.mask[static_cast<size_t>(y + oy) * whole.width + x + ox];
        }
    if (p->fStyle & ILD_MASK) {
        // The mask itself: black where the image is, white around it.
        for (size_t i = 0; i < img.color.size(); ++i) img.color[i] = img.mask[i] ? 0xFFFFFF : 0;
        DrawIconImage(*d, p->x, p->y, img, false, true);
        return TRUE;
    }
    if (p->fState & ILS_SATURATE) img = img.Greyed();
    COLORREF bk = p->rgbBk == CLR_DEFAULT ? l->bk : p->rgbBk;
    if (!(p->fStyle & ILD_TRANSPARENT) && bk != CLR_NONE) {
        Brush b;
        COLORREF solid = ResolveColor(bk);
        RECT r{d->TX(p->x), d->TY(p->y), d->TX(p->x) + w, d->TY(p->y) + h};
        PixelView v = d->View();
        if (v.Valid())
            d->Clip().ForEachRectIn(r, [&](const RECT& part) { FillWithBrush(v, part, b, solid, {}); });
    }
    DrawIconImage(*d, p->x, p->y, img, true, true);
    return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk,
                      COLORREF fg, UINT style) {
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = list, p.i = index, p.hdcDst = dc, p.x = x, p.y = y, p.cx = dx, p.cy = dy;
    p.rgbBk = bk, p.rgbFg = fg, p.fStyle = style;
    return ImageList_DrawIndirect(&p);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    return ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
    ImageList* l = FindList(list);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size())) return nullptr;
    return IconFromImage(l->images[static_cast<size_t>(index)]);
}
