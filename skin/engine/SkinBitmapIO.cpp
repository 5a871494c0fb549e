// TbsBitmap: loading, saving, colour transforms, reflections and links.
#include "gdi/image/Image.h"
#include "gui/Resources.h"
#include "gui/Streams.h"
#include "skin/engine/BitmapLink.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/SkinBitmap.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace skin {

namespace {

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v)); // the default rounding: halves to even
}

struct Hsl {
    double h = 0, s = 0, l = 0;
};

Hsl ToHsl(TbsColor p) {
    double r = ((p >> 16) & 0xFF) / 255.0, g = ((p >> 8) & 0xFF) / 255.0, b = (p & 0xFF) / 255.0;
    double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    Hsl o;
    o.l = (mx + mn) / 2;
    if (mx == mn) return o;
    double d = mx - mn;
    o.s = o.l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
        o.h = (g - b) / d;
    else if (g == mx)
        o.h = 2 + (b - r) / d;
    else
        o.h = 4 + (r - g) / d;
    o.h /= 6;
    if (o.h < 0) o.h += 1;
    return o;
}

double HueToChannel(double m1, double m2, double h) {
    h -= std::floor(h);
    if (h * 6 < 1) return m1 + (m2 - m1) * h * 6;
    if (h * 2 < 1) return m2;
    if (h * 3 < 2) return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    return m1;
}

TbsColor FromHsl(const Hsl& c, TbsColor alphaOf) {
    auto ch = [](double v) { return static_cast<TbsColor>(std::clamp(RoundEven(255 * v), 0, 255)); };
    TbsColor r, g, b;
    if (c.s == 0) {
        r = g = b = ch(c.l);
    } else {
        double m2 = c.l <= 0.5 ? c.l * (1 + c.s) : c.l + c.s - c.l * c.s, m1 = 2 * c.l - m2;
        r = ch(HueToChannel(m1, m2, c.h + 1.0 / 3));
        g = ch(HueToChannel(m1, m2, c.h));
        b = ch(HueToChannel(m1, m2, c.h - 1.0 / 3));
    }
    return (alphaOf & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

// The wrap-around rule of the hue and saturation steps: 256 and above loses 255, below 0
// gains 255.
double Wrapped(double v, int delta) {
    int s = RoundEven(v * 255) + delta;
    if (s >= 256) s -= 255;
    if (s < 0) s += 255;
    return s / 255.0;
}

template <class F> void ForVisible(TbsBitmap& b, F&& f) {
    for (int i = 0, n = b.Width() * b.Height(); i < n; ++i) {
        TbsColor& p = b.Bits()[i];
        if (p >> 24) p = f(p);
    }
}

// The 16 colours of the system palette, as 0xRRGGBB.
constexpr TbsColor kSystem16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

} // namespace

void TbsBitmap::LoadFromResource(const std::string&, const std::string& ResName) {
    if (!gui::ResourceExists(ResName)) return;
    gui::TBitmap bmp;
    bmp.LoadFromResourceName(ResName);
    Assign(&bmp);
}

void TbsBitmap::SaveToStream(gui::TStream& Stream) {
    WriteStringToStream(Stream, Name);
    int32_t size[2] = {FWidth, FHeight};
    Stream.WriteBuffer(size, sizeof size);
    if (!Empty()) Stream.WriteBuffer(FBits, static_cast<int64_t>(FWidth) * FHeight * 4);
}

void TbsBitmap::LoadFromStream(gui::TStream& Stream) {
    ReadStringFromStream(Stream, Name);
    int32_t size[2];
    Stream.ReadBuffer(size, sizeof size);
    int64_t w = std::abs(static_cast<int64_t>(size[0])), h = std::abs(static_cast<int64_t>(size[1]));
    // The size is input: pixels the stream cannot hold are never allocated.
    if (w * h * 4 > Stream.Size() - Stream.Position()) throw gui::EReadError("Stream read error");
    SetSize(static_cast<int>(w), static_cast<int>(h));
    if (FWidth != w || FHeight != h || Empty()) return;
    Stream.ReadBuffer(FBits, w * h * 4);
    if (size[1] <= 0) FlipVert();
}

void TbsBitmap::LoadFromPcxStream(gui::TStream& Stream) {
    int64_t start = Stream.Position(), end = Stream.Size();
    if (end - start < 128) return;
    uint8_t hd[128];
    Stream.ReadBuffer(hd, 128);
    if (hd[0] != 10 && hd[0] != 205) return;
    auto u16 = [&](int at) { return static_cast<int>(hd[at] | (hd[at + 1] << 8)); };
    int width = u16(8) - u16(4) + 1, height = u16(10) - u16(6) + 1;
    int planes = hd[65], bpl = u16(66);
    std::string error;
    if (width <= 0 || height <= 0 || !gdi::image::CheckImageSize(width, height, error)) return;
    std::vector<TbsColor> palette(256, 0);
    if (hd[1] == 3) {
        std::copy(std::begin(kSystem16), std::end(kSystem16), palette.begin());
    } else {
        // The palette follows a marker byte at 769 bytes before the end; without room for it
        // there is no palette and nothing to load.
        if (end - start < 128 + 769) return;
        Stream.SetPosition(end - 768);
        uint8_t pal[768];
        Stream.ReadBuffer(pal, 768);
        for (int i = 0; i < 256; ++i)
            palette[static_cast<size_t>(i)] =
                (TbsColor{pal[i * 3]} << 16) | (pal[i * 3 + 1] << 8) | pal[i * 3 + 2];
        Stream.SetPosition(start + 128);
    }
    std::vector<uint8_t> rest(static_cast<size_t>(end - start - 128));
    if (!rest.empty()) Stream.ReadBuffer(rest.data(), static_cast<int64_t>(rest.size()));
    int64_t rowBytes = static_cast<int64_t>(planes) * bpl, expected = rowBytes * height;
    std::vector<uint8_t> data;
    if (hd[2] == 1) {
        // Runs are cut at the expected size, and end with the stream.
        data.reserve(
            static_cast<size_t>(std::min<int64_t>(expected, static_cast<int64_t>(rest.size()) * 63)));
        for (size_t i = 0; i < rest.size() && static_cast<int64_t>(data.size()) < expected; ++i) {
            uint8_t b = rest[i];
            if (b >= 192) {
                if (++i >= rest.size()) break;
                int64_t run = std::min<int64_t>(b & 63, expected - static_cast<int64_t>(data.size()));
                data.insert(data.end(), static_cast<size_t>(run), rest[i]);
            } else {
                data.push_back(b);
            }
        }
    } else {
        data = std::move(rest);
    }
    SetSize(width, height);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            // A row shorter than the picture, or data that ends early, reads as index 0.
            int64_t at = y * rowBytes + x;
            uint8_t index =
                x < rowBytes && at < static_cast<int64_t>(data.size()) ? data[static_cast<size_t>(at)] : 0;
            Pixel(x, y) = 0xFF000000u | palette[index];
        }
    AlphaBlend = Transparent = false;
}

void TbsBitmap::ChangeBitmapBrightness(int DeltaBrightness) {
    if (DeltaBrightness == 0) return;
    ForVisible(*this, [&](TbsColor p) {
        TbsColor out = p & 0xFF000000u;
        for (int s = 0; s < 24; s += 8)
            out |=
                static_cast<TbsColor>(std::clamp(static_cast<int>((p >> s) & 0xFF) + DeltaBrightness, 0, 255))
                << s;
        return out;
    });
}

void TbsBitmap::SetBitmapHue(int Hue) {
    double h = std::clamp(Hue, 0, 255) / 255.0;
    ForVisible(*this, [&](TbsColor p) {
        Hsl c = ToHsl(p);
        c.h = h;
        return FromHsl(c, p);
    });
}

void TbsBitmap::ChangeBitmapSat(int DeltaSat) {
    if (DeltaSat == 0) return;
    ForVisible(*this, [&](TbsColor p) {
        Hsl c = ToHsl(p);
        c.s = Wrapped(c.s, DeltaSat);
        return FromHsl(c, p);
    });
}

void TbsBitmap::ChangeBitmapHue(int DeltaHue) {
    ForVisible(*this, [&](TbsColor p) {
        Hsl c = ToHsl(p);
        c.h = Wrapped(c.h, DeltaHue);
        return FromHsl(c, p);
    });
}

void TbsBitmap::FlipVert() {
    if (Empty()) return;
    std::vector<TbsColor> row(static_cast<size_t>(FWidth));
    for (int i = 0; i < FHeight / 2; ++i) {
        TbsColor* a = FBits + i * FWidth;
        TbsColor* b = FBits + (FHeight - 1 - i) * FWidth;
        bsPixel.CopyLine(a, row.data(), FWidth);
        bsPixel.CopyLine(b, a, FWidth);
        bsPixel.CopyLine(row.data(), b, FWidth);
    }
}

void TbsBitmap::ReflectionBy(int k) {
    FlipVert();
    for (int i = 0; i < FHeight; ++i) {
        double f = 1.0 - 2.0 * i / FHeight;
        TbsColor* row = FBits + i * FWidth;
        for (int x = 0; x < FWidth; ++x) {
            int a = static_cast<int>(row[x] >> 24);
            if (a == 0) continue;
            int na = std::max(0, RoundEven(f * a) / k);
            row[x] = (row[x] & 0x00FFFFFF) | (static_cast<TbsColor>(na) << 24);
        }
    }
}

void TbsBitmap::Reflection() {
    ReflectionBy(3);
}
void TbsBitmap::Reflection2() {
    ReflectionBy(4);
}
void TbsBitmap::Reflection3() {
    ReflectionBy(2);
}

std::unique_ptr<TbsBitmapLink> TbsBitmap::GetBitmapLink(const gui::TRect& Rect) {
    auto link = std::make_unique<TbsBitmapLink>();
    link->Image = this;
    link->Name = Name;
    link->Rect = Rect;
    return link;
}

std::unique_ptr<TbsBitmapLink> TbsBitmap::GetBitmapLink(const std::string& Rect) {
    gui::TRect r;
    TextToRect(Rect, r);
    return GetBitmapLink(r);
}

} // namespace skin
