#include "skin/engine/SkinBitmap.h"

#include "gdi/Dc.h"
#include "gdi/Objects.h"
#include "gui/Picture.h"
#include "skin/engine/EngineSetup.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace skin {

namespace {

// Every bitmap that owns a DC, each once.
std::vector<TbsBitmap*>& Registry() {
    static std::vector<TbsBitmap*> list;
    return list;
}

void Register(TbsBitmap* b) {
    auto& r = Registry();
    if (std::find(r.begin(), r.end(), b) == r.end()) r.push_back(b);
}

void Unregister(TbsBitmap* b) {
    auto& r = Registry();
    r.erase(std::remove(r.begin(), r.end(), b), r.end());
}

// Keyed drawing onto a DC by the platform's transparent blit; the start-up order decides it
// before the blit is resolved, so keyed drawing takes the read-back path.
bool keyedByTransparentBlt = false;

bool RectEmpty(const gui::TRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

gui::TRect Intersect(const gui::TRect& a, const gui::TRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// dst in the DC's logical units, moved to device units (the window origin subtracted).
gui::TRect ToDevice(HDC dc, gui::TRect r) {
    POINT pts[2] = {
        {r.left,  r.top   },
        {r.right, r.bottom}
    };
    LPtoDP(dc, pts, 2);
    return {pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

} // namespace

TbsBitmap* FindBitmapByDC(HDC DC) {
    if (!DC) return nullptr;
    for (TbsBitmap* b : Registry())
        if (b->DC() == DC) return b;
    return nullptr;
}

void InitDrawRoutines() {
    keyedByTransparentBlt = false;
    if (IsTransparentBltAvailable()) {
        HDC screen = CreateCompatibleDC(nullptr);
        keyedByTransparentBlt = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) >= 24;
        DeleteDC(screen);
    }
}

gdi::DibInfo GetDCDibInfo(HDC DC) {
    return gdi::GetDCDib(DC);
}

TbsColor ColorToPixel(gui::TColor Color) {
    COLORREF c = gui::ColorToRGB(Color);
    return 0xFF000000u | (static_cast<TbsColor>(GetRValue(c)) << 16) |
           (static_cast<TbsColor>(GetGValue(c)) << 8) | GetBValue(c);
}

TbsBitmap::TbsBitmap() {
    InitSkinEngine();
}

TbsBitmap::~TbsBitmap() {
    Unregister(this);
    if (FCanvas) FCanvas->SetHandle(nullptr);
    FCanvas.reset();
    Release();
}

void TbsBitmap::Release() {
    if (FDC) {
        if (FCanvas) FCanvas->SetHandle(nullptr);
        if (FOldBitmap) SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
    }
    if (FHandle) DeleteObject(FHandle);
    FDC = nullptr, FHandle = nullptr, FOldBitmap = nullptr, FBits = nullptr;
    FWidth = FHeight = 0;
}

void TbsBitmap::SetSize(int AWidth, int AHeight) {
    AWidth = std::abs(AWidth), AHeight = std::abs(AHeight);
    if (AWidth == 0 || AHeight == 0 || (AWidth == FWidth && AHeight == FHeight)) return;
    Release();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), AWidth, -AHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle) throw std::runtime_error("Can't allocate the DIB handle");
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(handle);
        throw std::runtime_error("Can't create compatible DC");
    }
    HGDIOBJ old = SelectObject(dc, handle);
    if (!old && GetCurrentObject(dc, 7 /* OBJ_BITMAP */) != handle) {
        DeleteDC(dc);
        DeleteObject(handle);
        throw std::runtime_error("Can't bslect an object into DC");
    }
    FHandle = handle, FDC = dc, FOldBitmap = old, FBits = static_cast<TbsColor*>(bits);
    Register(this);
    if (FCanvas) FCanvas->SetHandle(FDC);
    FWidth = AWidth, FHeight = AHeight;
}

gui::TCanvas* TbsBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<gui::TCanvas>();
        FCanvas->SetHandle(FDC);
    }
    return FCanvas.get();
}

void TbsBitmap::Clear(TbsColor Color) {
    if (!Empty()) bsPixel.FillLine(FBits, FWidth * FHeight, Color);
}

void TbsBitmap::Assign(const gui::TPersistent* Source) {
    if (auto* b = dynamic_cast<const TbsBitmap*>(Source)) {
        if (b->Empty() || b == this) return;
        SetSize(b->FWidth, b->FHeight);
        bsPixel.CopyLine(b->FBits, FBits, FWidth * FHeight);
        Name = b->Name, Transparent = b->Transparent, AlphaBlend = b->AlphaBlend;
        return;
    }
    auto blockCopy = [this](gui::TBitmap* bmp) {
        SetSize(bmp->Width(), bmp->Height());
        BitBlt(FDC, 0, 0, FWidth, FHeight, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
        SetAlpha(255);
    };
    if (auto* pic = dynamic_cast<const gui::TPicture*>(Source)) {
        gui::TGraphic* g = pic->Graphic();
        if (!g || g->Empty()) return;
        if (auto* bmp = dynamic_cast<gui::TBitmap*>(g)) return blockCopy(bmp);
        SetSize(g->Width(), g->Height());
        DrawGraphic(g, gui::Rect(0, 0, FWidth, FHeight));
        SetAlpha(255);
        return;
    }
    if (auto* cbmp = dynamic_cast<const gui::TBitmap*>(Source)) {
        auto* bmp = const_cast<gui::TBitmap*>(cbmp);
        if (bmp->Empty()) return;
        if (bmp->PixelFormat() == gui::pf32bit) {
            SetSize(bmp->Width(), bmp->Height());
            for (int y = 0; y < FHeight; ++y)
                bsPixel.CopyLine(static_cast<const TbsColor*>(bmp->ScanLine(y)), FBits + y * FWidth, FWidth);
            CheckingAlphaBlend();
            return;
        }
        return blockCopy(bmp);
    }
    if (auto* cg = dynamic_cast<const gui::TGraphic*>(Source)) {
        auto* g = const_cast<gui::TGraphic*>(cg);
        if (g->Empty()) return;
        SetSize(g->Width(), g->Height());
        DrawGraphic(g, gui::Rect(0, 0, FWidth, FHeight));
        SetAlpha(255);
        return;
    }
    gui::TPersistent::Assign(Source);
}

void TbsBitmap::AssignTo(gui::TPersistent* Dest) const {
    gui::TBitmap* bmp = dynamic_cast<gui::TBitmap*>(Dest);
    if (auto* pic = dynamic_cast<gui::TPicture*>(Dest)) bmp = pic->Bitmap();
    if (!bmp) return gui::TPersistent::AssignTo(Dest);
    bmp->SetPixelFormat(gui::pf32bit);
    bmp->SetSize(FWidth, FHeight);
    if (!Empty()) const_cast<TbsBitmap*>(this)->Draw(bmp->Canvas(), 0, 0);
}

void TbsBitmap::DrawGraphic(gui::TGraphic* Graphic, const gui::TRect& DstRect) {
    if (Empty() || !Graphic) return;
    constexpr gui::TColor kFill = 0xFF00FF; // RGB 255, 0, 255
    gui::TBitmap temp;
    temp.SetPixelFormat(gui::pf32bit);
    temp.SetSize(FWidth, FHeight);
    temp.Canvas()->Brush()->SetColor(kFill);
    temp.Canvas()->FillRect(gui::Rect(-1, -1, FWidth + 1, FHeight + 1));
    temp.Canvas()->StretchDraw(DstRect, Graphic);
    for (int y = 0; y < FHeight; ++y) {
        auto* row = static_cast<const TbsColor*>(temp.ScanLine(y));
        for (int x = 0; x < FWidth; ++x)
            if ((row[x] & 0x00FFFFFF) != 0xFF00FF) Pixel(x, y) = row[x];
    }
}

void TbsBitmap::CheckingAlphaBlend() {
    AlphaBlend = false;
    for (int i = 0, n = FWidth * FHeight; i < n; ++i) {
        uint32_t a = FBits[i] >> 24;
        if (a != 0 && a != 255) {
            AlphaBlend = true;
            return;
        }
    }
}

void TbsBitmap::CheckingTransparent(TbsColor Color) {
    Transparent = false;
    auto ch = [](TbsColor c, int s) { return static_cast<int>((c >> s) & 0xFF); };
    for (int i = 0, n = FWidth * FHeight; i < n; ++i) {
        TbsColor p = FBits[i];
        if (std::abs(ch(p, 16) - ch(Color, 16)) < 6 && std::abs(ch(p, 8) - ch(Color, 8)) < 6 &&
            std::abs(ch(p, 0) - ch(Color, 0)) < 6) {
            FBits[i] = kKeyColor;
            Transparent = true;
        }
    }
}

void TbsBitmap::SetAlpha(uint8_t Alpha) {
    if (!Empty()) bsPixel.SetAlphaLine(FBits, FWidth * FHeight, Alpha);
}

void TbsBitmap::SetAlpha(uint8_t Alpha, const gui::TRect& Rect) {
    if (Empty() || RectEmpty(Rect)) return;
    gui::TRect r = Intersect(Rect, gui::Rect(0, 0, FWidth, FHeight));
    if (RectEmpty(r)) return;
    bsPixel.SetAlphaRect(FBits, FWidth, FHeight, r.left, r.top, r.right - 1, r.bottom - 1, Alpha);
}

void TbsBitmap::FillRect(const gui::TRect& R, TbsColor Color) {
    if (Empty()) return;
    gui::TRect r = Intersect(R, gui::Rect(0, 0, FWidth, FHeight));
    if (RectEmpty(r)) return;
    if (!AlphaBlend) {
        bsPixel.FillPixelRect(FBits, FWidth, FHeight, r.left, r.top, r.right - 1, r.bottom - 1, Color);
        return;
    }
    std::vector<TbsColor> row(static_cast<size_t>(r.right - r.left));
    bsPixel.FillLine(row.data(), static_cast<int>(row.size()), Color);
    for (int y = r.top; y < r.bottom; ++y)
        bsPixel.BlendLine(row.data(), FBits + y * FWidth + r.left, static_cast<int>(row.size()));
    EndMMX();
}

// ---- drawing onto a device context ----

void TbsBitmap::Draw(HDC DC, int X, int Y) {
    Draw(DC, gui::Bounds(X, Y, FWidth, FHeight), gui::Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(HDC DC, int X, int Y, const gui::TRect& SrcRect) {
    Draw(DC, gui::Bounds(X, Y, SrcRect.right - SrcRect.left, SrcRect.bottom - SrcRect.top), SrcRect);
}

void TbsBitmap::Draw(HDC DC, const gui::TRect& DstRect) {
    Draw(DC, DstRect, gui::Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(HDC DC, const gui::TRect& DstRect, const gui::TRect& SrcRect) {
    if (Empty() || !DC) return;
    if (TbsBitmap* target = FindBitmapByDC(DC)) return Draw(*target, ToDevice(DC, DstRect), SrcRect);
    if (AlphaBlend || (Transparent && !keyedByTransparentBlt))
        return DrawToDCThroughBitmap(DC, DstRect, SrcRect);
    if (Transparent) {
        TransparentBlt(DC, DstRect.left, DstRect.top, DstRect.right - DstRect.left,
                       DstRect.bottom - DstRect.top, FDC, SrcRect.left, SrcRect.top,
                       SrcRect.right - SrcRect.left, SrcRect.bottom - SrcRect.top, RGB(127, 0, 127));
        return;
    }
    DrawToDCOpaque(DC, DstRect, SrcRect);
}

void TbsBitmap::DrawToDCOpaque(HDC dc, const gui::TRect& dst, const gui::TRect& src) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, FDC, src.left, src.top,
               src.right - src.left, src.bottom - src.top, SRCCOPY);
}

void TbsBitmap::DrawToDCThroughBitmap(HDC dc, const gui::TRect& dst, const gui::TRect& src) {
    int w = dst.right - dst.left, h = dst.bottom - dst.top;
    if (w <= 0 || h <= 0) return;
    TbsBitmap temp;
    temp.SetSize(w, h);
    BitBlt(temp.FDC, 0, 0, w, h, dc, dst.left, dst.top, SRCCOPY);
    Draw(temp, gui::Rect(0, 0, w, h), src);
    BitBlt(dc, dst.left, dst.top, w, h, temp.FDC, 0, 0, SRCCOPY);
}

// ---- drawing into another bitmap ----

void TbsBitmap::Draw(TbsBitmap& Bitmap, int X, int Y) {
    Draw(Bitmap, gui::Bounds(X, Y, FWidth, FHeight), gui::Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(TbsBitmap& Bitmap, int X, int Y, const gui::TRect& SrcRect) {
    Draw(Bitmap, gui::Bounds(X, Y, SrcRect.right - SrcRect.left, SrcRect.bottom - SrcRect.top), SrcRect);
}

void TbsBitmap::Draw(TbsBitmap& Bitmap, const gui::TRect& DstRect) {
    Draw(Bitmap, DstRect, gui::Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::Draw(TbsBitmap& Bitmap, const gui::TRect& DstRect, const gui::TRect& SrcRect) {
    if (RectEmpty(SrcRect) || Empty() || Bitmap.Empty()) return;
    gui::TRect clip = Intersect(DstRect, gui::Rect(0, 0, Bitmap.FWidth, Bitmap.FHeight));
    if (RectEmpty(clip)) return;
    if (SrcRect.left < 0 || SrcRect.top < 0 || SrcRect.right > FWidth || SrcRect.bottom > FHeight) return;
    if (SrcRect.right - SrcRect.left == DstRect.right - DstRect.left &&
        SrcRect.bottom - SrcRect.top == DstRect.bottom - DstRect.top)
        CopyRows(Bitmap, clip, SrcRect.left + clip.left - DstRect.left, SrcRect.top + clip.top - DstRect.top);
    else
        StretchRows(Bitmap, clip, DstRect, SrcRect);
    EndMMX();
}

void TbsBitmap::CopyRows(TbsBitmap& target, const gui::TRect& clip, int sx, int sy) {
    int n = clip.right - clip.left;
    // Rows of the same bitmap drawn onto itself: walk against the overlap.
    bool upward = &target == this && sy < clip.top;
    for (int k = 0; k < clip.bottom - clip.top; ++k) {
        int i = upward ? clip.bottom - clip.top - 1 - k : k;
        const TbsColor* s = FBits + (sy + i) * FWidth + sx;
        TbsColor* d = target.FBits + (clip.top + i) * target.FWidth + clip.left;
        if (AlphaBlend)
            bsPixel.BlendLine(s, d, n);
        else if (Transparent)
            bsPixel.CopyLineKeyed(s, d, n);
        else
            bsPixel.CopyLine(s, d, n);
    }
}

void TbsBitmap::StretchRows(TbsBitmap& target, const gui::TRect& clip, const gui::TRect& dst,
                            const gui::TRect& src) {
    int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    int sw = src.right - src.left, sh = src.bottom - src.top;
    float fx = dw >= 2 ? static_cast<float>(sw - 1) / static_cast<float>(dw - 1) : 0.0f;
    float fy = dh >= 2 ? static_cast<float>(sh - 1) / static_cast<float>(dh - 1) : 0.0f;
    int cw = clip.right - clip.left;
    std::vector<int> columns(static_cast<size_t>(cw));
    for (int i = 0; i < cw; ++i)
        columns[static_cast<size_t>(i)] =
            dw < 2 ? (src.left + src.right - 1) / 2
                   : static_cast<int>(
                         std::trunc((i + clip.left - dst.left) * static_cast<double>(fx) + src.left));
    auto sourceRow = [&](int y) {
        return dh < 2 ? (src.top + src.bottom - 1) / 2
                      : static_cast<int>(std::trunc((y - dst.top) * static_cast<double>(fy) + src.top));
    };
    std::vector<TbsColor> row(static_cast<size_t>(cw));
    int last = -1;
    for (int y = clip.top; y < clip.bottom; ++y) {
        int sy = std::clamp(sourceRow(y), 0, FHeight - 1);
        TbsColor* d = target.FBits + y * target.FWidth + clip.left;
        if (sy != last) {
            const TbsColor* s = FBits + sy * FWidth;
            for (int i = 0; i < cw; ++i)
                row[static_cast<size_t>(i)] = s[std::clamp(columns[static_cast<size_t>(i)], 0, FWidth - 1)];
        }
        if (AlphaBlend)
            bsPixel.BlendLine(row.data(), d, cw);
        else if (Transparent)
            bsPixel.CopyLineKeyed(row.data(), d, cw);
        else
            bsPixel.CopyLine(row.data(), d, cw);
        last = sy;
    }
}

// ---- tiling ----

template <class F> void TbsBitmap::ForEachTile(const gui::TRect& dst, const gui::TRect& src, F&& fn) {
    int sw = src.right - src.left, sh = src.bottom - src.top;
    // A source without width or height has no step: nothing to repeat.
    if (sw <= 0 || sh <= 0 || RectEmpty(dst)) return;
    int cols = (dst.right - dst.left + sw - 1) / sw, rows = (dst.bottom - dst.top + sh - 1) / sh;
    for (int i = 0; i <= cols; ++i)
        for (int j = 0; j <= rows; ++j) {
            gui::TRect tile = Intersect(gui::Bounds(dst.left + i * sw, dst.top + j * sh, sw, sh), dst);
            if (RectEmpty(tile)) break;
            fn(tile, gui::Bounds(src.left, src.top, tile.right - tile.left, tile.bottom - tile.top));
        }
}

void TbsBitmap::Tile(TbsBitmap& Bitmap, const gui::TRect& DstRect, const gui::TRect& SrcRect) {
    ForEachTile(DstRect, SrcRect,
                [&](const gui::TRect& tile, const gui::TRect& part) { Draw(Bitmap, tile, part); });
}

void TbsBitmap::Tile(HDC DC, const gui::TRect& DstRect, const gui::TRect& SrcRect) {
    if (Empty() || !DC) return;
    ForEachTile(DstRect, SrcRect, [&](const gui::TRect& tile, const gui::TRect& part) {
        if (TbsBitmap* target = FindBitmapByDC(DC)) return Draw(*target, ToDevice(DC, tile), part);
        gdi::DibInfo dib = GetDCDibInfo(DC);
        if (dib.bits && dib.bpp == 32 && !dib.topDown) return DrawToDib(DC, tile, part);
        Draw(DC, tile, part);
    });
}

void TbsBitmap::DrawToDib(HDC dc, const gui::TRect& dst, const gui::TRect& src) {
    gdi::DibInfo dib = GetDCDibInfo(dc);
    gui::TRect d = ToDevice(dc, dst);
    gui::TRect clip = Intersect(d, gui::Rect(0, 0, dib.width, dib.height));
    if (RectEmpty(clip)) return;
    int n = clip.right - clip.left;
    for (int y = clip.top; y < clip.bottom; ++y) {
        int sy = src.top + y - d.top, sx = src.left + clip.left - d.left;
        if (sy < 0 || sy >= FHeight || sx < 0 || sx + n > FWidth) continue;
        const TbsColor* s = FBits + sy * FWidth + sx;
        auto* row = static_cast<uint8_t*>(dib.bits) + static_cast<ptrdiff_t>(dib.height - 1 - y) * dib.stride;
        TbsColor* t = reinterpret_cast<TbsColor*>(row) + clip.left;
        if (AlphaBlend)
            bsPixel.BlendLine(s, t, n);
        else if (Transparent)
            bsPixel.CopyLineKeyed(s, t, n);
        else
            bsPixel.CopyLine(s, t, n);
    }
    EndMMX();
}

void TbsBitmap::TileClip(HDC DC, const gui::TRect& DstRect, const gui::TRect& DstClip,
                         const gui::TRect& SrcRect) {
    if (Empty() || !DC) return;
    bool all = RectEmpty(DstClip);
    ForEachTile(DstRect, SrcRect, [&](const gui::TRect& tile, const gui::TRect& part) {
        if (all || !RectEmpty(Intersect(tile, DstClip))) Draw(DC, tile, part);
    });
}

void TbsBitmap::TileClip(TbsBitmap& Bitmap, const gui::TRect& DstRect, const gui::TRect& DstClip,
                         const gui::TRect& SrcRect) {
    bool all = RectEmpty(DstClip);
    ForEachTile(DstRect, SrcRect, [&](const gui::TRect& tile, const gui::TRect& part) {
        if (all || !RectEmpty(Intersect(tile, DstClip))) Draw(Bitmap, tile, part);
    });
}

void TbsBitmap::MergeDraw(TbsBitmap& Bitmap, int X, int Y, const gui::TRect& SrcRect) {
    if (Empty() || Bitmap.Empty()) return;
    gui::TRect src = Intersect(SrcRect, gui::Rect(0, 0, Bitmap.FWidth, Bitmap.FHeight));
    for (int y = src.top; y < src.bottom; ++y)
        for (int x = src.left; x < src.right; ++x) {
            int dx = X + x - SrcRect.left, dy = Y + y - SrcRect.top;
            if (dx < 0 || dy < 0 || dx >= FWidth || dy >= FHeight) continue;
            TbsColor& d = Pixel(dx, dy);
            TbsColor s = Bitmap.Pixel(x, y);
            uint32_t a = d >> 24;
            if (a == 0)
                d = s;
            else if (a < 255)
                d = bsPixel.BlendPixel(d, s);
        }
    EndMMX();
}

} // namespace skin
