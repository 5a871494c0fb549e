#include "skin/engine/EffectBmp.h"

#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/Objects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace skin {

namespace {

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v)); // halves to even
}

uint8_t Clamp8(double v) {
    return static_cast<uint8_t>(std::clamp(RoundEven(v), 0, 255));
}

double Unit(double kf) {
    return std::isnan(kf) ? 0.0 : std::clamp(kf, 0.0, 1.0);
}

// Round(W * Kf), a value that is no number counting as 0.
// A factor far outside 0..1 only ever means "all old" or "all new"; kept within reach so the
// product stays an int.
int Part(int w, double kf) {
    return std::isnan(kf) ? 0 : RoundEven(w * std::clamp(kf, -2.0, 3.0));
}

// t * old + (1 - t) * new, per channel.
void Mix(uint8_t* old, const uint8_t* nw, double t) {
    for (int c = 0; c < 3; ++c) old[c] = Clamp8(t * old[c] + (1 - t) * nw[c]);
}

std::mt19937& Noise() {
    static std::mt19937 gen{std::random_device{}()};
    return gen;
}

int Random(int n) {
    if (n <= 0) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(Noise());
}

} // namespace

TbsEffectBmp::TbsEffectBmp(int cx, int cy) {
    Width = std::max(cx, 0), Height = std::max(cy, 0);
    Size = RowSize() * Height;
    storage_.assign(static_cast<size_t>(Size) + 4, 0);
    Bits = storage_.data();
    BmpHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BmpInfo.bmiHeader = BmpHeader;
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateFromhWnd(HBITMAP hBmp) {
    BITMAP bm{};
    if (!hBmp || !GetObject(hBmp, sizeof bm, &bm)) return std::make_unique<TbsEffectBmp>(0, 0);
    auto e = std::make_unique<TbsEffectBmp>(bm.bmWidth, std::abs(bm.bmHeight));
    if (e->Size > 0) {
        HDC dc = CreateCompatibleDC(nullptr);
        GetDIBits(dc, hBmp, 0, static_cast<UINT>(e->Height), e->Bits, &e->BmpInfo, DIB_RGB_COLORS);
        DeleteDC(dc);
    }
    return e;
}

std::unique_ptr<TbsEffectBmp> TbsEffectBmp::CreateCopy(const TbsEffectBmp& hBmp) {
    auto e = std::make_unique<TbsEffectBmp>(hBmp.Width, hBmp.Height);
    std::memcpy(e->Bits, hBmp.Bits, static_cast<size_t>(hBmp.Size));
    return e;
}

void TbsEffectBmp::GetScanLine(int y, uint8_t* Line) {
    std::memcpy(Line, ScanLineAddress(y), static_cast<size_t>(Width) * 3);
}

void TbsEffectBmp::PutScanLine(int y, const uint8_t* Line) {
    std::memcpy(ScanLineAddress(y), Line, static_cast<size_t>(Width) * 3);
}

uint32_t TbsEffectBmp::GetPixel(int x, int y) const {
    const uint8_t* p = Bits + static_cast<ptrdiff_t>(y) * RowSize() + x * 3;
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

void TbsEffectBmp::SetPixel(int x, int y, uint32_t c) {
    uint8_t* p = ScanLineAddress(y) + x * 3;
    p[0] = static_cast<uint8_t>(c), p[1] = static_cast<uint8_t>(c >> 8), p[2] = static_cast<uint8_t>(c >> 16);
}

void TbsEffectBmp::Draw(HDC dc, int x, int y) {
    if (Size > 0)
        StretchDIBits(dc, x, y, Width, Height, 0, 0, Width, Height, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::Stretch(HDC dc, int x, int y, int cx, int cy) {
    if (Size > 0)
        StretchDIBits(dc, x, y, cx, cy, 0, 0, Width, Height, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::DrawRect(HDC dc, int hx, int hy, int x, int y, int cx, int cy) {
    if (Size > 0) StretchDIBits(dc, hx, hy, cx, cy, x, y, cx, cy, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TbsEffectBmp::Resize(TbsEffectBmp& Dst) {
    if (Width <= 0 || Height <= 0) return;
    double fx = static_cast<double>(Dst.Width - 1) / Width, fy = static_cast<double>(Dst.Height - 1) / Height;
    int bw = RoundEven(fx) + 1, bh = RoundEven(fy) + 1;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            uint32_t c = GetPixel(x, y);
            int x0 = RoundEven(fx * x), y0 = RoundEven(fy * y);
            for (int j = y0; j < y0 + bh && j < Dst.Height; ++j)
                for (int i = x0; i < x0 + bw && i < Dst.Width; ++i)
                    if (i >= 0 && j >= 0) Dst.SetPixel(i, j, c);
        }
}

// ---- transitions ----

void TbsEffectBmp::Morph(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP)) return;
    Kf = Unit(Kf);
    for (int y = 0; y < Height; ++y) {
        uint8_t *o = ScanLineAddress(y), *n = BMP.ScanLineAddress(y);
        for (int i = 0; i < Width * 3; ++i) o[i] = Clamp8((1 - Kf) * o[i] + Kf * n[i]);
    }
}

void TbsEffectBmp::MorphGrad(TbsEffectBmp& BMP, double Kf) {
    if (Width < Height)
        MorphVGrad(BMP, Kf);
    else
        MorphHGrad(BMP, Kf);
}

void TbsEffectBmp::MorphHGrad(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP) || Width <= 0) return;
    int W = Width, b = Part(W, Kf);
    int e = (W - b) / 2;
    double step = e != 0 ? 1.0 / e : 1.0;
    int h = std::max(0, W / 2 - b / 2), d = std::min(W - 1, W / 2 + b / 2);
    for (int y = 0; y < Height; ++y) {
        uint8_t *o = ScanLineAddress(y), *n = BMP.ScanLineAddress(y);
        for (int x = h; x <= d; ++x) std::memcpy(o + x * 3, n + x * 3, 3);
        double t = 0;
        for (int x = h; x >= 0; --x) {
            if (x < W) Mix(o + x * 3, n + x * 3, t);
            t = std::min(1.0, t + step);
        }
        t = 0;
        for (int x = std::max(d, 0); x <= W - 1; ++x) {
            Mix(o + x * 3, n + x * 3, t);
            t = std::min(1.0, t + step);
        }
    }
}

void TbsEffectBmp::MorphVGrad(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP) || Height <= 0) return;
    int H = Height, b = Part(H, Kf);
    int e = (H - 1 - b) / 2;
    double step = e != 0 ? 1.0 / e : 0.0;
    int n0 = std::max(0, H / 2 - b / 2), e1 = std::min(H - 1, H / 2 + b / 2);
    for (int y = n0; y <= e1; ++y)
        std::memcpy(ScanLineAddress(y), BMP.ScanLineAddress(y), static_cast<size_t>(Width) * 3);
    auto ramp = [&](int y, double t) {
        uint8_t *o = ScanLineAddress(y), *n = BMP.ScanLineAddress(y);
        for (int x = 0; x < Width; ++x) Mix(o + x * 3, n + x * 3, t);
    };
    double t = 0;
    for (int y = std::min(n0, H - 1); y >= 0; --y) {
        ramp(y, t);
        t = std::min(1.0, t + step);
    }
    t = 0;
    for (int y = std::max(e1, 0); y <= H - 1; ++y) {
        ramp(y, t);
        t = std::min(1.0, t + step);
    }
}

void TbsEffectBmp::MorphLeftGrad(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP) || Width <= 0) return;
    int W = Width, b = Part(W, Kf);
    if (b < 1) b = 1;
    if (b > W - 1) b = W - 1;
    double step = b > 0 ? 1.0 / b : 1.0;
    for (int y = 0; y < Height; ++y) {
        uint8_t *o = ScanLineAddress(y), *n = BMP.ScanLineAddress(y);
        double t = 0;
        for (int x = 0; x <= b; ++x) {
            Mix(o + x * 3, n + x * 3, t);
            t = std::min(1.0, t + step);
        }
    }
}

void TbsEffectBmp::MorphRightGrad(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP) || Width <= 0) return;
    int W = Width, c = std::clamp(W - Part(W, Kf), 0, W - 1);
    double step = W - c <= 0 ? 1.0 : 1.0 / (W - c);
    for (int y = 0; y < Height; ++y) {
        uint8_t *o = ScanLineAddress(y), *n = BMP.ScanLineAddress(y);
        double t = 0;
        for (int x = W - 1; x >= c; --x) {
            Mix(o + x * 3, n + x * 3, t);
            t = std::min(1.0, t + step);
        }
    }
}

void TbsEffectBmp::MorphLeftSlide(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP) || Width <= 1) return;
    int W = Width, b = std::clamp(Part(W, Kf), 1, W - 1);
    for (int y = 0; y < Height; ++y)
        std::memcpy(ScanLineAddress(y), BMP.ScanLineAddress(y) + (W - b) * 3, static_cast<size_t>(b) * 3);
}

void TbsEffectBmp::MorphRightSlide(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP) || Width <= 1) return;
    int W = Width, b = std::clamp(Part(W, Kf), 1, W - 1);
    for (int y = 0; y < Height; ++y)
        std::memcpy(ScanLineAddress(y) + (W - b) * 3, BMP.ScanLineAddress(y), static_cast<size_t>(b) * 3);
}

void TbsEffectBmp::MorphPush(TbsEffectBmp& BMP, double Kf) {
    if (!SameSize(BMP) || Width <= 0) return;
    int W = Width, b = std::clamp(Part(W, Kf), 0, W - 1);
    for (int y = 0; y < Height; ++y) {
        uint8_t *o = ScanLineAddress(y), *n = BMP.ScanLineAddress(y);
        std::memmove(o + (b + 1) * 3, o, static_cast<size_t>(W - b - 1) * 3);
        std::memcpy(o, n + (W - b - 1) * 3, static_cast<size_t>(b + 1) * 3);
    }
}

void TbsEffectBmp::MorphRect(TbsEffectBmp& BMP, double Kf, const gui::TRect& Rct, int StartX, int StartY) {
    Kf = Unit(Kf);
    for (int y = std::max(Rct.top, 0); y < std::min<int>(Rct.bottom, Height); ++y)
        for (int x = std::max(Rct.left, 0); x < std::min<int>(Rct.right, Width); ++x) {
            int sx = StartX + x - Rct.left, sy = StartY + y - Rct.top;
            if (sx < 0 || sy < 0 || sx >= BMP.Width || sy >= BMP.Height) continue;
            uint8_t *o = ScanLineAddress(y) + x * 3, *n = BMP.ScanLineAddress(sy) + sx * 3;
            for (int c = 0; c < 3; ++c) o[c] = Clamp8((1 - Kf) * o[c] + Kf * n[c]);
        }
}

void TbsEffectBmp::CopyRect(TbsEffectBmp& BMP, const gui::TRect& Rct, int StartX, int StartY) {
    int right = std::min<int>(Rct.right, Width - 1), bottom = std::min<int>(Rct.bottom, Height - 1);
    for (int y = std::max(Rct.top, 0); y <= bottom; ++y)
        for (int x = std::max(Rct.left, 0); x <= right; ++x) {
            int sx = StartX + x - Rct.left, sy = StartY + y - Rct.top;
            if (sx < 0 || sy < 0 || sx >= BMP.Width || sy >= BMP.Height) continue;
            SetPixel(x, y, BMP.GetPixel(sx, sy));
        }
}

void TbsEffectBmp::Transition(TbsMorphKind Kind, TbsEffectBmp& BMP, double Kf) {
    switch (Kind) {
    case TbsMorphKind::mkDefault:
        return Morph(BMP, Kf);
    case TbsMorphKind::mkGradient:
        return MorphGrad(BMP, Kf);
    case TbsMorphKind::mkLeftGradient:
        return MorphLeftGrad(BMP, Kf);
    case TbsMorphKind::mkRightGradient:
        return MorphRightGrad(BMP, Kf);
    case TbsMorphKind::mkLeftSlide:
        return MorphLeftSlide(BMP, Kf);
    case TbsMorphKind::mkRightSlide:
        return MorphRightSlide(BMP, Kf);
    case TbsMorphKind::mkPush:
        return MorphPush(BMP, Kf);
    }
}

// ---- effects ----

template <class F> static void EachChannel(TbsEffectBmp& b, F&& f) {
    for (int y = 0; y < b.Height; ++y) {
        uint8_t* row = b.ScanLineAddress(y);
        for (int i = 0; i < b.Width * 3; ++i) row[i] = f(row[i]);
    }
}

void TbsEffectBmp::ChangeBrightness(double Kf) {
    Kf = Unit(Kf);
    EachChannel(*this, [&](uint8_t c) { return Clamp8((1 - Kf) * c + Kf * 255); });
}

void TbsEffectBmp::ChangeDarkness(double Kf) {
    Kf = Unit(Kf);
    EachChannel(*this, [&](uint8_t c) { return Clamp8((1 - Kf) * c); });
}

void TbsEffectBmp::Invert() {
    EachChannel(*this, [](uint8_t c) { return static_cast<uint8_t>(255 - c); });
}

void TbsEffectBmp::GrayScale() {
    for (int y = 0; y < Height; ++y) {
        uint8_t* p = ScanLineAddress(y);
        for (int x = 0; x < Width; ++x, p += 3) {
            uint8_t v = Clamp8(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
            p[0] = p[1] = p[2] = v;
        }
    }
}

void TbsEffectBmp::FourAverage(int x, int y, int A, uint8_t* out) {
    // Neighbours as the split blur picks them, then kept inside the picture: strips one
    // pixel wide or high are ordinary skin data.
    int up = y - A < 0 ? y : y - A;
    int down = y + A >= Height ? Height - y : y + A;
    int left = x - A < 0 ? x : x - A;
    int right = x + A >= Width ? Width - x : x + A;
    up = std::clamp(up, 0, Height - 1), down = std::clamp(down, 0, Height - 1);
    left = std::clamp(left, 0, Width - 1), right = std::clamp(right, 0, Width - 1);
    const uint8_t* ul = ScanLineAddress(up) + left * 3;
    const uint8_t* ll = ScanLineAddress(down) + left * 3;
    const uint8_t* ur = ScanLineAddress(up) + right * 3;
    const uint8_t* lr = ScanLineAddress(down) + right * 3;
    for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>((ul[c] + ll[c] + ur[c] + lr[c]) >> 2);
}

void TbsEffectBmp::SplitBlur(int Amount) {
    if (Amount == 0 || Width <= 0 || Height <= 0) return;
    std::vector<uint8_t> row(static_cast<size_t>(Width) * 3);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) FourAverage(x, y, Amount, row.data() + x * 3);
        PutScanLine(y, row.data());
    }
}

void TbsEffectBmp::Mosaic(int ASize) {
    if (ASize <= 1) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) SetPixel(x, y, GetPixel(x - x % ASize, y - y % ASize));
}

void TbsEffectBmp::AddMonoNoise(int Amount) {
    for (int y = 0; y < Height; ++y) {
        uint8_t* p = ScanLineAddress(y);
        for (int x = 0; x < Width; ++x, p += 3) {
            int n = Random(Amount) - Amount / 2;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::clamp(p[c] + n, 0, 255));
        }
    }
}

void TbsEffectBmp::AddColorNoise(int Amount) {
    for (int y = 0; y < Height; ++y) {
        uint8_t* p = ScanLineAddress(y);
        for (int x = 0; x < Width; ++x, p += 3)
            for (int c = 2; c >= 0; --c) // red, green, blue
                p[c] = static_cast<uint8_t>(std::clamp(p[c] + Random(Amount) - Amount / 2, 0, 255));
    }
}

void TbsEffectBmp::Wave(int XDIV, int YDIV, int RatioVal) {
    if (XDIV == 0 || YDIV == 0 || Width <= 0 || Height <= 0) return;
    auto copy = CreateCopy(*this);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            int sx =
                std::clamp(RoundEven(std::sin(static_cast<double>(y) / YDIV) * RatioVal + x), 0, Width - 1);
            int sy =
                std::clamp(RoundEven(y + RatioVal * std::sin(static_cast<double>(x) / XDIV)), 0, Height - 1);
            SetPixel(x, y, copy->GetPixel(sx, sy));
        }
}

namespace {
bool White(TbsEffectBmp& m, int x, int y) {
    return m.GetPixel(x, y) == 0xFFFFFF;
}
bool MaskFits(const TbsEffectBmp& b, const TbsEffectBmp& m) {
    return b.Width > 0 && b.Height > 0 && m.Width == b.Width && m.Height >= b.Height;
}
} // namespace

void TbsEffectBmp::MaskBlur(TbsEffectBmp& Msk, int Amount) {
    if (!MaskFits(*this, Msk) || Amount == 0) return;
    uint8_t avg[3];
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            if (White(Msk, x, y)) continue;
            FourAverage(x, y, Amount, avg);
            std::memcpy(ScanLineAddress(y) + x * 3, avg, 3);
        }
}

void TbsEffectBmp::MaskAntialiasing(TbsEffectBmp& Msk, int Amount) {
    if (!MaskFits(*this, Msk) || Amount == 0) return;
    uint8_t avg[3];
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            if (White(Msk, x, y)) continue;
            int up = std::clamp(y - Amount < 0 ? y : y - Amount, 0, Height - 1);
            int down = std::clamp(y + Amount >= Height ? Height - y : y + Amount, 0, Height - 1);
            int left = std::clamp(x - Amount < 0 ? x : x - Amount, 0, Width - 1);
            int right = std::clamp(x + Amount >= Width ? Width - x : x + Amount, 0, Width - 1);
            if (!White(Msk, left, up) && !White(Msk, left, down) && !White(Msk, right, up) &&
                !White(Msk, right, down))
                continue;
            FourAverage(x, y, Amount, avg);
            std::memcpy(ScanLineAddress(y) + x * 3, avg, 3);
        }
}

void TbsEffectBmp::MaskFillColor(TbsEffectBmp& Msk, gui::TColor C, double kf) {
    if (!MaskFits(*this, Msk)) return;
    COLORREF rgb = gui::ColorToRGB(C);
    const uint8_t to[3] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            if (White(Msk, x, y)) continue;
            uint8_t* p = ScanLineAddress(y) + x * 3;
            for (int c = 0; c < 3; ++c) p[c] = Clamp8((1 - kf) * p[c] + kf * to[c]);
        }
}

void TbsEffectBmp::InActiveEffect(TbsInActiveEffect Effect) {
    switch (Effect) {
    case TbsInActiveEffect::ieBrightness:
        return ChangeBrightness(0.5);
    case TbsInActiveEffect::ieDarkness:
        return ChangeDarkness(0.3);
    case TbsInActiveEffect::ieGrayScale:
        return GrayScale();
    case TbsInActiveEffect::ieNoise:
        return AddMonoNoise(50);
    case TbsInActiveEffect::ieSplitBlur:
        return SplitBlur(1);
    case TbsInActiveEffect::ieInvert:
        return Invert();
    }
}

// ---- into another bitmap ----

void TbsEffectBmp::Rotate90_1(TbsEffectBmp& Dst) {
    if (Dst.Width != Height || Dst.Height != Width) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) Dst.SetPixel(y, Width - 1 - x, GetPixel(x, y));
}

void TbsEffectBmp::Rotate90_2(TbsEffectBmp& Dst) {
    if (Dst.Width != Height || Dst.Height != Width) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) Dst.SetPixel(Height - 1 - y, x, GetPixel(x, y));
}

void TbsEffectBmp::FlipVert(TbsEffectBmp& Dst) {
    if (!SameSize(Dst)) return;
    for (int y = 0; y < Height; ++y) Dst.PutScanLine(Height - 1 - y, ScanLineAddress(y));
}

} // namespace skin
