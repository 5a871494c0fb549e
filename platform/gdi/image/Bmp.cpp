#include "gdi/image/Bmp.h"

#include "os/Convert.h"

#include <bit>

namespace gdi::image {
namespace {

uint32_t Le16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

// One channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        int bits = std::popcount(m >> shift);
        max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    }
    uint32_t Get(uint32_t px, uint32_t absent) const {
        if (!mask) return absent;
        return static_cast<uint32_t>(static_cast<uint64_t>((px & mask) >> shift) * 255 / max);
    }
};

struct Header {
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;
    size_t size = 0;        // of the info header
    size_t paletteAt = 0;   // file offset of the colour table
    int paletteEntry = 4;   // bytes per colour table entry
    uint32_t masks[4] = {}; // red, green, blue, alpha
};

bool ParseHeader(std::span<const uint8_t> d, Header& h, std::string& error) {
    if (d.size() < 14 + 12 || d[0] != 'B' || d[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    h.size = Le32(&d[14]);
    if (h.size != 12 && h.size < 40) {
        error = os::FormatC("unsupported BMP header size %zu", h.size);
        return false;
    }
    if (14 + h.size > d.size()) {
        error = "truncated BMP file";
        return false;
    }
    const uint8_t* p = &d[14];
    if (h.size == 12) {
        h.width = Le16(p + 4);
        h.height = static_cast<int16_t>(Le16(p + 6));
        h.bpp = static_cast<int>(Le16(p + 10));
        h.paletteEntry = 3;
    } else {
        h.width = static_cast<int32_t>(Le32(p + 4));
        h.height = static_cast<int32_t>(Le32(p + 8));
        h.bpp = static_cast<int>(Le16(p + 14));
        h.compression = Le32(p + 16);
        h.colorsUsed = Le32(p + 32);
    }
    h.topDown = h.height < 0;
    if (h.topDown) h.height = -h.height;
    h.paletteAt = 14 + h.size;

    if (h.compression == BI_RLE8 || h.compression == BI_RLE4) {
        error = "compressed BMP files are not supported";
        return false;
    }
    const bool bitfields = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    if (h.compression != BI_RGB && !bitfields) {
        error = os::FormatC("unsupported BMP compression %u", h.compression);
        return false;
    }
    switch (h.bpp) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (bitfields) {
            error = "bit fields on a BMP file without 16 or 32 bits per pixel";
            return false;
        }
        break;
    case 16:
    case 32:
        break;
    default:
        error = os::FormatC("unsupported BMP bit depth %d", h.bpp);
        return false;
    }
    if (h.bpp == 16) {
        h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    } else if (h.bpp == 32) {
        h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF, h.masks[3] = 0xFF000000;
    }
    if (bitfields) {
        // The masks sit in the V4/V5 header, or just after an info header.
        const size_t count = h.compression == BI_ALPHABITFIELDS || h.size >= 56 ? 4 : 3;
        size_t at = h.size >= 52 ? 14 + 40 : 14 + h.size;
        if (at + 4 * count > d.size()) {
            error = "truncated BMP file";
            return false;
        }
        for (size_t i = 0; i < 4; ++i) h.masks[i] = i < count ? Le32(&d[at + 4 * i]) : 0;
        if (h.size < 52) h.paletteAt += 4 * count;
    }
    return CheckImageSize(h.width, h.height, error);
}

} // namespace

bool ReadBmp(std::span<const uint8_t> d, Image& out, std::string& error) {
    Header h;
    if (!ParseHeader(d, h, error)) return false;

    std::vector<uint32_t> palette;
    if (h.bpp <= 8) {
        size_t count = size_t{1} << h.bpp;
        if (h.colorsUsed > 0 && h.colorsUsed < count) count = h.colorsUsed;
        if (h.paletteAt + count * h.paletteEntry > d.size()) {
            error = "truncated BMP file";
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = &d[h.paletteAt + i * h.paletteEntry];
            palette.push_back(MakeBgra(e[2], e[1], e[0]));
        }
    }
    const uint64_t stride = (static_cast<uint64_t>(h.width) * h.bpp + 31) / 32 * 4;
    const uint64_t offset = Le32(&d[10]);
    if (offset > d.size() || stride * static_cast<uint64_t>(h.height) > d.size() - offset) {
        error = "truncated BMP file";
        return false;
    }

    const int w = static_cast<int>(h.width), ht = static_cast<int>(h.height);
    out.Reset(w, ht);
    out.palette = palette;
    const Channel r(h.masks[0]), g(h.masks[1]), b(h.masks[2]), a(h.masks[3]);
    bool anyAlpha = false;
    for (int row = 0; row < ht; ++row) {
        const uint8_t* src = &d[offset + stride * static_cast<uint64_t>(row)];
        uint32_t* dst = &out.pixels[static_cast<size_t>(h.topDown ? row : ht - 1 - row) * w];
        for (int x = 0; x < w; ++x) {
            switch (h.bpp) {
            case 1:
            case 4:
            case 8: {
                const int perByte = 8 / h.bpp;
                const int shift = 8 - h.bpp * (x % perByte + 1);
                const size_t idx = (src[x / perByte] >> shift) & ((1u << h.bpp) - 1);
                dst[x] = idx < palette.size() ? palette[idx] : MakeBgra(0, 0, 0);
                break;
            }
            case 24:
                dst[x] = MakeBgra(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default: {
                const uint32_t px = h.bpp == 16 ? Le16(src + 2 * x) : Le32(src + 4 * x);
                const uint32_t alpha = a.Get(px, 255);
                anyAlpha |= alpha != 0;
                dst[x] = MakeBgra(static_cast<uint8_t>(r.Get(px, 0)), static_cast<uint8_t>(g.Get(px, 0)),
                                  static_cast<uint8_t>(b.Get(px, 0)), static_cast<uint8_t>(alpha));
            }
            }
        }
    }
    if (h.bpp == 32 || h.bpp == 16) {
        if (!anyAlpha)
            for (uint32_t& px : out.pixels) px |= 0xFF000000u;
        else
            for (uint32_t px : out.pixels) out.hasAlpha |= (px >> 24) != 255;
    }
    return true;
}

bool WriteBmp(const Image& image, int bitsPerPixel, std::vector<uint8_t>& out, std::string& error) {
    if (bitsPerPixel != 24 && bitsPerPixel != 32) {
        error = os::FormatC("cannot write a BMP file of %d bits per pixel", bitsPerPixel);
        return false;
    }
    if (!CheckImage(image, error)) return false;
    const uint32_t stride = (static_cast<uint32_t>(image.width) * bitsPerPixel + 31) / 32 * 4;
    const uint32_t imageSize = stride * static_cast<uint32_t>(image.height);
    out.clear();
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height)); // positive: bottom-up
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bitsPerPixel));
    Put32(out, BI_RGB);
    Put32(out, imageSize);
    Put32(out, 3780); // 96 dpi
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {
            uint32_t px = image.At(x, y);
            out.push_back(static_cast<uint8_t>(px));
            out.push_back(static_cast<uint8_t>(px >> 8));
            out.push_back(static_cast<uint8_t>(px >> 16));
            if (bitsPerPixel == 32) out.push_back(static_cast<uint8_t>(px >> 24));
        }
        out.resize(start + stride, 0);
    }
    return true;
}

} // namespace gdi::image
