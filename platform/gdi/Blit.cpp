#include "gdi/Blit.h"

#include "gdi/DcImpl.h"

#include <algorithm>
#include <cstdlib>

namespace gdi {
namespace {

bool UsesSource(DWORD rop) {
    BYTE code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}
bool UsesPattern(DWORD rop) {
    BYTE code = (rop >> 16) & 0xFF;
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

// The ternary raster operation on whole pixels: bit i of the code gives the
// result for pattern, source and destination bits (P<<2 | S<<1 | D) == i.
uint32_t Rop3(BYTE code, uint32_t p, uint32_t s, uint32_t d) {
    switch (code) {
    case 0xCC:
        return s;
    case 0xF0:
        return p;
    case 0x00:
        return 0;
    case 0xFF:
        return 0xFFFFFFFF;
    case 0x55:
        return ~d;
    case 0x66:
        return s ^ d;
    case 0x88:
        return s & d;
    case 0xEE:
        return s | d;
    default:
        break;
    }
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

struct Source {
    PixelView view;
    std::vector<uint8_t> copy; // when source and destination share memory
};

enum class Mode { Rop, Key, Alpha };

struct Transfer {
    Mode mode = Mode::Rop;
    DWORD rop = SRCCOPY;
    uint32_t key = 0;
    BLENDFUNCTION blend{};
};

uint32_t BlendPixel(uint32_t s, uint32_t d, const BLENDFUNCTION& bf) {
    unsigned ca = bf.SourceConstantAlpha;
    auto ch = [&](int shift) { return (s >> shift) & 0xFF; };
    unsigned sa = (bf.AlphaFormat & AC_SRC_ALPHA) ? ch(24) * ca / 255 : ca;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        unsigned sc = (bf.AlphaFormat & AC_SRC_ALPHA) ? ch(shift) * ca / 255 : ch(shift) * ca / 255;
        if (shift == 24) sc = sa;
        unsigned dc = (d >> shift) & 0xFF;
        unsigned v = sc + dc * (255 - sa) / 255;
        out |= std::min(v, 255u) << shift;
    }
    return out;
}

// Moves src rectangle (sx, sy, sw, sh in source pixels, top-down) onto the
// destination rectangle (surface units, w/h may be negative to mirror).
void Run(Dc& d, int x, int y, int w, int h, const PixelView& srcIn, int sx, int sy, int sw, int sh,
         const Transfer& t) {
    PixelView dv = d.View();
    if (!dv.Valid() || w == 0 || h == 0) return;
    bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
    int aw = std::abs(w), ah = std::abs(h), asw = std::abs(sw), ash = std::abs(sh);
    // A negative extent runs back from its origin pixel, which it includes.
    int dx0 = w < 0 ? x + w + 1 : x, dy0 = h < 0 ? y + h + 1 : y;
    int sx0 = sw < 0 ? sx + sw + 1 : sx, sy0 = sh < 0 ? sy + sh + 1 : sy;
    bool needSrc = t.mode != Mode::Rop || UsesSource(t.rop);
    if (needSrc && (!srcIn.Valid() || asw == 0 || ash == 0)) return;

    PixelView src = srcIn;
    std::vector<uint8_t> copy;
    if (needSrc && src.top == dv.top) {
        // Same surface: read from a snapshot so overlapping moves stay right.
        copy.assign(static_cast<size_t>(src.width) * src.height * 4, 0);
        PixelView c{copy.data(), static_cast<ptrdiff_t>(src.width) * 4, src.width, src.height, 32};
        for (int yy = 0; yy < src.height; ++yy)
            std::memcpy(c.Row(yy), src.Row(yy), static_cast<size_t>(src.width) * 4);
        if (src.bpp != 32)
            for (int yy = 0; yy < src.height; ++yy)
                for (int xx = 0; xx < src.width; ++xx) c.Put(xx, yy, srcIn.Get(xx, yy));
        src = c;
    }

    COLORREF brushColor = 0;
    const Brush* brush = d.CurBrush(brushColor);
    bool usesP = t.mode == Mode::Rop && UsesPattern(t.rop);
    if (usesP && !brush) return; // a pattern operation with the null brush draws nothing
    uint32_t solid = PixelOf(brushColor);
    PixelView pat =
        brush && brush->style == BS_PATTERN && brush->pattern ? brush->pattern->View() : PixelView{};
    POINT org{d.s.brushOrg.x + d.origin.x, d.s.brushOrg.y + d.origin.y};
    BYTE code = (t.rop >> 16) & 0xFF;
    bool unscaled = aw == asw && ah == ash && !flipX && !flipY;

    RECT dst{dx0, dy0, dx0 + aw, dy0 + ah};
    // Scaled plain copies between 32-bit surfaces, the bulk of a skinned
    // repaint, go row by row through precomputed source columns.
    std::vector<int> columns;
    bool everyColumn = true; // no column falls outside the source
    if (!unscaled && t.mode == Mode::Rop && code == 0xCC && src.bpp == 32 && dv.bpp == 32) {
        columns.resize(static_cast<size_t>(aw));
        for (int ix = 0; ix < aw; ++ix) {
            int srcX = sx0 + (flipX ? (aw - 1 - ix) : ix) * static_cast<int64_t>(asw) / aw;
            columns[static_cast<size_t>(ix)] = srcX >= 0 && srcX < src.width ? srcX : -1;
            everyColumn = everyColumn && srcX >= 0 && srcX < src.width;
        }
    }
    d.Clip().ForEachRectIn(dst, [&](const RECT& r) {
        int lastSrcY = -1;
        for (int yy = r.top; yy < r.bottom; ++yy) {
            int iy = yy - dy0;
            int srcY = sy0 + (flipY ? (ah - 1 - iy) : iy) * static_cast<int64_t>(ash) / ah;
            if (needSrc && (srcY < 0 || srcY >= src.height)) continue;
            // Fast path: the common unscaled 32-bit copy.
            if (unscaled && t.mode == Mode::Rop && code == 0xCC && src.bpp == 32 && dv.bpp == 32) {
                int from = std::max<int>(r.left, dx0 - sx0),
                    to = std::min<int>(r.right, dx0 - sx0 + src.width);
                if (to > from)
                    std::memcpy(dv.Row32(yy) + from, src.Row32(srcY) + (from - dx0 + sx0),
                                static_cast<size_t>(to - from) * 4);
                continue;
            }
            if (!columns.empty()) {
                uint32_t* out = dv.Row32(yy);
                if (srcY == lastSrcY && everyColumn) {
                    // A repeated source row: the row above is already what this one needs.
                    std::memcpy(out + r.left, dv.Row32(yy - 1) + r.left,
                                static_cast<size_t>(r.right - r.left) * 4);
                    continue;
                }
                const uint32_t* in = src.Row32(srcY);
                const int* col = columns.data() + (r.left - dx0);
                for (int xx = r.left; xx < r.right; ++xx, ++col)
                    if (*col >= 0) out[xx] = in[*col];
                lastSrcY = srcY;
                continue;
            }
            for (int xx = r.left; xx < r.right; ++xx) {
                int ix = xx - dx0;
                int srcX = sx0 + (flipX ? (aw - 1 - ix) : ix) * static_cast<int64_t>(asw) / aw;
                uint32_t s = 0;
                if (needSrc) {
                    if (srcX < 0 || srcX >= src.width) continue;
                    s = src.Get(srcX, srcY);
                    if (src.bpp != 32) s &= 0xFFFFFF;
                }
                switch (t.mode) {
                case Mode::Key:
                    if ((s & 0xFFFFFF) != t.key) dv.Put(xx, yy, s);
                    break;
                case Mode::Alpha:
                    dv.Put(xx, yy, BlendPixel(s, dv.Get(xx, yy), t.blend));
                    break;
                case Mode::Rop: {
                    uint32_t p = solid;
                    if (usesP && pat.Valid())
                        p = pat.Get(((xx - org.x) % pat.width + pat.width) % pat.width,
                                    ((yy - org.y) % pat.height + pat.height) % pat.height) &
                            0xFFFFFF;
                    uint32_t v = Rop3(code, p, s, code == 0xCC || code == 0xF0 ? 0 : dv.Get(xx, yy));
                    if (!needSrc) v &= 0xFFFFFF; // patterns and constants carry no alpha
                    dv.Put(xx, yy, v);
                    break;
                }
                }
            }
        }
    });
}

// Source rectangle of a DC in its surface's pixels.
bool SourceOf(HDC src, int& sx, int& sy, PixelView& view) {
    Dc* s = FindDc(src);
    if (!s) return false;
    view = s->View();
    sx = s->TX(sx), sy = s->TY(sy);
    return true;
}

} // namespace
} // namespace gdi

using namespace gdi;

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
    Dc* d = FindDc(dst);
    if (!d) return FALSE;
    PixelView sv;
    if (UsesSource(rop) && !SourceOf(src, sx, sy, sv)) return FALSE;
    Transfer t;
    t.rop = rop;
    Run(*d, d->TX(x), d->TY(y), w, h, sv, sx, sy, sw, sh, t);
    return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

BOOL PatBlt(HDC dst, int x, int y, int w, int h, DWORD rop) {
    if (UsesSource(rop)) return FALSE;
    return StretchBlt(dst, x, y, w, h, nullptr, 0, 0, w, h, rop);
}

BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT key) {
    Dc* d = FindDc(dst);
    PixelView sv;
    if (!d || w < 0 || h < 0 || sw < 0 || sh < 0 || !SourceOf(src, sx, sy, sv)) return FALSE;
    Transfer t;
    t.mode = Mode::Key;
    t.key = PixelOf(key) & 0xFFFFFF;
    Run(*d, d->TX(x), d->TY(y), w, h, sv, sx, sy, sw, sh, t);
    return TRUE;
}

BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION bf) {
    Dc* d = FindDc(dst);
    PixelView sv;
    if (!d || w < 0 || h < 0 || sw < 0 || sh < 0 || bf.BlendOp != AC_SRC_OVER || !SourceOf(src, sx, sy, sv))
        return FALSE;
    Transfer t;
    t.mode = Mode::Alpha;
    t.blend = bf;
    Run(*d, d->TX(x), d->TY(y), w, h, sv, sx, sy, sw, sh, t);
    return TRUE;
}

int StretchDIBits(HDC dst, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* bmi, UINT, DWORD rop) {
    Dc* d = FindDc(dst);
    std::vector<uint32_t> pal;
    PixelView sv = ViewOfDib(bmi, bits, pal);
    if (!d || !sv.Valid()) return 0;
    // Bottom-up bits: the source rectangle's y counts up from the last row.
    int top = bmi->bmiHeader.biHeight > 0 ? sv.height - sy - sh : sy;
    Transfer t;
    t.rop = rop;
    Run(*d, d->TX(x), d->TY(y), w, h, sv, sx, top, sw, sh, t);
    return std::abs(sh);
}

int SetDIBitsToDevice(HDC dst, int x, int y, DWORD w, DWORD h, int sx, int sy, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* bmi, UINT) {
    Dc* d = FindDc(dst);
    std::vector<uint32_t> pal;
    if (!d || !bmi || lines == 0) return 0;
    // bits hold only scan lines startScan .. startScan + lines - 1.
    BITMAPINFO chunk = *bmi;
    bool bottomUp = bmi->bmiHeader.biHeight > 0;
    int full = std::abs(bmi->bmiHeader.biHeight);
    if (startScan >= static_cast<UINT>(full)) return 0;
    lines = std::min<UINT>(lines, full - startScan);
    chunk.bmiHeader.biHeight = bottomUp ? static_cast<LONG>(lines) : -static_cast<LONG>(lines);
    chunk.bmiHeader.biClrUsed = 0;
    PixelView sv = ViewOfDib(bmi, bits, pal); // palette from the caller's header
    PixelView cv = ViewOfDib(&chunk, bits, pal);
    if (!sv.Valid() || !cv.Valid()) return 0;
    cv.palette = pal.data();
    // Row of the full image (top-down) where the chunk starts.
    int chunkTop = bottomUp ? full - static_cast<int>(startScan + lines) : static_cast<int>(startScan);
    int srcTop = bottomUp ? full - sy - static_cast<int>(h) : sy;
    Transfer t;
    Run(*d, d->TX(x), d->TY(y), static_cast<int>(w), static_cast<int>(h), cv, sx, srcTop - chunkTop,
        static_cast<int>(w), static_cast<int>(h), t);
    return static_cast<int>(lines);
}

COLORREF GetPixel(HDC dc, int x, int y) {
    Dc* d = FindDc(dc);
    if (!d) return CLR_INVALID;
    int tx = d->TX(x), ty = d->TY(y);
    if (!d->Clip().Contains(tx, ty)) return CLR_INVALID;
    return ColorOf(d->View().Get(tx, ty));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF c) {
    Dc* d = FindDc(dc);
    if (!d) return CLR_INVALID;
    int tx = d->TX(x), ty = d->TY(y);
    if (!d->Clip().Contains(tx, ty)) return CLR_INVALID;
    c = ResolveColor(c);
    d->View().Put(tx, ty, PixelOf(c));
    return c;
}
