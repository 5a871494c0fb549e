#include "skin/engine/PixelRoutines.h"

#include "skin/engine/EngineSetup.h"

#include <algorithm>
#include <cstring>

namespace skin {

TbsPixelRoutines bsPixel;

TbsColor PlainBlendPixel(TbsColor f, TbsColor b) {
    uint32_t a = f >> 24;
    if (a == 255) return f;
    if (a == 0) return b;
    // Red and blue share one product: each sum stays below 65536, so nothing carries over.
    uint32_t rb = ((f & 0x00FF00FF) * a + (b & 0x00FF00FF) * (255 - a)) >> 8;
    uint32_t g = ((f & 0x0000FF00) * a + (b & 0x0000FF00) * (255 - a)) >> 8;
    return 0xFF000000u | (rb & 0x00FF00FF) | (g & 0x0000FF00);
}

TbsColor MmxBlendPixel(TbsColor f, TbsColor b) {
    // All four bytes in 16-bit lanes: ((B << 8) + (F - B) * a) >> 8.  The sum is
    // B * (256 - a) + F * a, always within a lane, so the pack never saturates; alpha takes
    // part like any channel and a = 255 does not give F back.
    uint32_t a = f >> 24;
    TbsColor out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t fc = (f >> shift) & 0xFF, bc = (b >> shift) & 0xFF;
        uint16_t lane = static_cast<uint16_t>((bc << 8) + (fc - bc) * a);
        out |= static_cast<TbsColor>(lane >> 8) << shift;
    }
    return out;
}

namespace {

template <TbsColor (*Blend)(TbsColor, TbsColor)>
void BlendLineWith(const TbsColor* src, TbsColor* dst, int n) {
    for (int i = 0; i < n; ++i) {
        uint32_t a = src[i] >> 24;
        if (a == 0) continue;
        dst[i] = a == 255 ? src[i] : Blend(src[i], dst[i]);
    }
}

void CopyLineKeyedImpl(const TbsColor* src, TbsColor* dst, int n) {
    for (int i = 0; i < n; ++i)
        if ((src[i] & 0x00FFFFFF) != kKeyColor) dst[i] = src[i] | 0xFF000000u;
}

void CopyLineImpl(const TbsColor* src, TbsColor* dst, int n) {
    if (n <= 0 || src == dst) return;
    std::memmove(dst, src, static_cast<size_t>(n) * sizeof(TbsColor));
}

void FillLineImpl(TbsColor* dst, int n, TbsColor v) {
    if (n > 0) std::fill_n(dst, n, v);
}

void FillPixelRectImpl(TbsColor* bits, int width, int, int x1, int y1, int x2, int y2, TbsColor v) {
    for (int y = y1; y <= y2; ++y)
        FillLineImpl(bits + static_cast<ptrdiff_t>(y) * width + x1, x2 - x1 + 1, v);
}

void SetAlphaLineImpl(TbsColor* dst, int n, uint8_t alpha) {
    for (int i = 0; i < n; ++i) dst[i] = (dst[i] & 0x00FFFFFF) | (static_cast<TbsColor>(alpha) << 24);
}

void SetAlphaRectImpl(TbsColor* bits, int width, int, int x1, int y1, int x2, int y2, uint8_t alpha) {
    for (int y = y1; y <= y2; ++y)
        SetAlphaLineImpl(bits + static_cast<ptrdiff_t>(y) * width + x1, x2 - x1 + 1, alpha);
}

void ClearAlphaOfColorImpl(TbsColor* dst, int n, TbsColor color) {
    for (int i = 0; i < n; ++i)
        if ((dst[i] & 0x00FFFFFF) == (color & 0x00FFFFFF)) dst[i] &= 0x00FFFFFF;
}

} // namespace

void FillPixelRoutines(bool useMmx) {
    bsPixel.BlendPixel = useMmx ? MmxBlendPixel : PlainBlendPixel;
    bsPixel.BlendLine = useMmx ? BlendLineWith<MmxBlendPixel> : BlendLineWith<PlainBlendPixel>;
    bsPixel.CopyLineKeyed = CopyLineKeyedImpl;
    bsPixel.CopyLine = CopyLineImpl;
    bsPixel.FillLine = FillLineImpl;
    bsPixel.FillPixelRect = FillPixelRectImpl;
    bsPixel.SetAlphaLine = SetAlphaLineImpl;
    bsPixel.SetAlphaRect = SetAlphaRectImpl;
    bsPixel.ClearAlphaOfColor = ClearAlphaOfColorImpl;
}

bool InitPixelRoutines() {
    bool mmx = DetectMMX();
    FillPixelRoutines(mmx);
    return mmx;
}

} // namespace skin
