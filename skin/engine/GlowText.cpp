#include "skin/engine/GlowText.h"

#include "gdi/DcText.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EngineSetup.h"
#include "skin/engine/SkinBitmap.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace skin {

namespace {

constexpr int kMaxGlow = 1000;

// One pass of the triangle filter over n values at v[0], v[step], ...: running sums of the
// left half (centre included) and of the r + 1 values right of it keep the cost per value
// independent of the radius.
void BlurRun(const int* v, int n, int stride, int r, int* out, int outStride) {
    auto at = [&](int i) { return v[static_cast<ptrdiff_t>(std::clamp(i, 0, n - 1)) * stride]; };
    int64_t sum = 0, left = 0, right = 0;
    for (int k = -r; k <= r; ++k) sum += static_cast<int64_t>(r + 1 - std::abs(k)) * at(k);
    for (int k = -r; k <= 0; ++k) left += at(k);
    for (int k = 1; k <= r + 1; ++k) right += at(k);
    const int64_t div = static_cast<int64_t>(r + 1) * (r + 1);
    for (int i = 0; i < n; ++i) {
        out[static_cast<ptrdiff_t>(i) * outStride] = static_cast<int>(sum / div);
        sum += right - left;
        left += at(i + 1) - at(i - r);
        right += at(i + r + 2) - at(i + 1);
    }
}

TbsColor GlowPixel(TbsColor p, TbsColor color) {
    return (((p >> 16) & 0xFF) << 24) | (color & 0x00FFFFFF);
}

// A red-text canvas: the target's font in red over a transparent brush.
gui::TCanvas* RedTextCanvas(TbsBitmap& b, gui::TCanvas* target) {
    gui::TCanvas* c = b.Canvas();
    c->SetFont(target->Font());
    c->Font()->SetColor(gui::clRed);
    c->Brush()->SetStyle(gui::bsClear);
    return c;
}

void Colourise(TbsBitmap& b, gui::TColor glow) {
    TbsColor color = ColorToPixel(glow);
    for (int i = 0, n = b.Width() * b.Height(); i < n; ++i) b.Bits()[i] = GlowPixel(b.Bits()[i], color);
    b.AlphaBlend = true;
}

gui::TRect Moved(gui::TRect r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

template <class DrawText>
void Glow(gui::TCanvas* Canvas, const gui::TRect& Rect, int g, gui::TColor color, int offset, bool fiveTimes,
          DrawText draw) {
    g = std::min(g, kMaxGlow);
    int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    TbsBitmap b;
    b.SetSize(w + 2 * g, h + 2 * g);
    if (b.Empty()) return;
    gui::TCanvas* c = RedTextCanvas(b, Canvas);
    gui::TRect inner = gui::Rect(g, g, w + g, h + g);
    draw(c, inner);
    if (fiveTimes)
        for (auto [dx, dy] : {
                 std::pair{-1, 0 },
                 {1,  0 },
                 {0,  -1},
                 {0,  1 }
        })
            draw(c, Moved(inner, dx, dy));
    BlurAlphaChannel(b, g);
    Colourise(b, color);
    b.Draw(Canvas, Rect.left - g + offset, Rect.top - g + offset);
}

} // namespace

void BlurAlphaChannel(TbsBitmap& Bitmap, int Radius) {
    if (Radius <= 0 || Bitmap.Empty()) return;
    // Glow sizes come from skin files: one far beyond any picture must not stall every paint.
    Radius = std::min(Radius, kMaxGlow);
    int w = Bitmap.Width(), h = Bitmap.Height();
    size_t n = static_cast<size_t>(w) * h;
    std::vector<int> in(n), mid(n), out(n);
    for (int shift = 0; shift < 24; shift += 8) {
        for (size_t i = 0; i < n; ++i) in[i] = static_cast<int>((Bitmap.Bits()[i] >> shift) & 0xFF);
        for (int y = 0; y < h; ++y)
            BlurRun(&in[static_cast<size_t>(y) * w], w, 1, Radius, &mid[static_cast<size_t>(y) * w], 1);
        for (int x = 0; x < w; ++x)
            BlurRun(&mid[static_cast<size_t>(x)], h, w, Radius, &out[static_cast<size_t>(x)], w);
        for (size_t i = 0; i < n; ++i) {
            TbsColor& p = Bitmap.Bits()[i];
            p = (p & ~(0xFFu << shift)) | (static_cast<TbsColor>(out[i]) << shift);
        }
    }
    for (size_t i = 0; i < n; ++i) Bitmap.Bits()[i] |= 0xFF000000u;
}

void DrawGlowTextU(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text, int GlowSize,
                   gui::TColor GlowColor, int Offset, UINT Format) {
    Glow(Canvas, Rect, GlowSize, GlowColor, Offset, true,
         [&](gui::TCanvas* c, gui::TRect r) { DrawWideText(c, Text, r, Format); });
    Canvas->Brush()->SetStyle(gui::bsClear);
    gui::TRect r = Rect;
    DrawWideText(Canvas, Text, r, Format);
}

int DrawGlowText(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text, int GlowSize,
                 gui::TColor GlowColor, int Offset, UINT Format) {
    Glow(Canvas, Rect, GlowSize, GlowColor, Offset, false,
         [&](gui::TCanvas* c, gui::TRect r) { DrawWideText(c, Text, r, Format); });
    Canvas->Brush()->SetStyle(gui::bsClear);
    gui::TRect r = Rect;
    return DrawWideText(Canvas, Text, r, Format);
}

int DrawVistaGlowText(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text,
                      gui::TColor GlowColor, UINT Format) {
    constexpr int m = 12;
    int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    TbsBitmap b;
    b.SetSize(w + 2 * m, h + 2 * m);
    if (!b.Empty()) {
        gui::TCanvas* c = RedTextCanvas(b, Canvas);
        gui::TRect R = gui::Rect(m, m, w + m, h + m);
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(gui::clRed);
        c->FillRect(gui::Rect(R.left - 3, R.top + 2, R.right + 3, R.bottom - 2));
        c->Brush()->SetStyle(gui::bsClear);
        static const int moves[9][2] = {
            {-1, -1},
            {-2, -2},
            {-1, 0 },
            {-2, 0 },
            {1,  0 },
            {2,  0 },
            {1,  1 },
            {2,  2 },
            {0,  0 }
        };
        for (const auto& mv : moves) {
            gui::TRect r = Moved(R, mv[0], mv[1]);
            DrawWideText(c, Text, r, Format);
        }
        BlurAlphaChannel(b, m / 2);
        BlurAlphaChannel(b, m / 2);
        Colourise(b, GlowColor);
        b.Draw(Canvas, Rect.left - m, Rect.top - m);
    }
    Canvas->Brush()->SetStyle(gui::bsClear);
    gui::TRect r = Rect;
    return DrawWideText(Canvas, Text, r, Format);
}

void DrawReflectionText(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text,
                        gui::TColor ReflectionColor, int ReflectionOffset, UINT Format) {
    int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    TbsBitmap b;
    b.SetSize(w, h);
    if (!b.Empty()) {
        gui::TCanvas* c = RedTextCanvas(b, Canvas);
        gui::TRect full = gui::Rect(0, 0, w, h);
        DrawWideText(c, Text, full, Format);
        gui::TRect m = gui::Rect(0, 0, w, h);
        DrawWideText(c, Text, m, Format | DT_CALCRECT);
        int T = m.top, B = m.bottom;
        gui::TRect onTarget = Rect;
        DrawWideText(c, Text, onTarget, Format | DT_CALCRECT);
        int Bt = onTarget.bottom;
        if (B - T > 0) {
            TbsColor color = ColorToPixel(ReflectionColor) & 0x00FFFFFF;
            for (int y = 0; y < h; ++y) {
                TbsColor* row = b.Bits() + static_cast<ptrdiff_t>(y) * w;
                if (y < T || y > B) {
                    std::fill_n(row, w, 0u);
                    continue;
                }
                float f = 0.7f - static_cast<float>(B + T - y) / static_cast<float>(B - T);
                if (f < 0) f = 0;
                for (int x = 0; x < w; ++x) {
                    auto a = static_cast<TbsColor>(std::trunc(((row[x] >> 16) & 0xFF) * f));
                    row[x] = (a << 24) | color;
                }
            }
            b.FlipVert();
            b.AlphaBlend = true;
            b.Draw(Canvas, Rect.left, Bt + B + ReflectionOffset - h);
        }
    }
    Canvas->Brush()->SetStyle(gui::bsClear);
    gui::TRect r = Rect;
    DrawWideText(Canvas, Text, r, Format);
}

void AlphaFromGrayMask(TbsBitmap& Bitmap, const TbsBitmap* Mask) {
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x) {
            TbsColor a = 255;
            if (Mask && x < Mask->Width() && y < Mask->Height()) {
                TbsColor m = Mask->Pixel(x, y);
                a = (((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF)) / 3;
            }
            TbsColor& p = Bitmap.Pixel(x, y);
            p = (p & 0x00FFFFFF) | (a << 24);
        }
}

} // namespace skin
