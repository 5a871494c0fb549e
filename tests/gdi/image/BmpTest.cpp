#include "gdi/image/Bmp.h"

#include <gtest/gtest.h>

#include <functional>

using namespace gdi::image;

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// Writes BMP files of every kind the reader takes, one field at a time.
struct BmpLayout {
    int headerSize = 40;
    int width = 5, height = 3;
    bool topDown = false;
    int bpp = 8;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette; // BGRA
    std::vector<uint32_t> masks;   // written after a 40-byte header, inside a V4/V5 one
};

std::vector<uint8_t> Build(const BmpLayout& s, const std::function<uint32_t(int, int)>& value) {
    std::vector<uint8_t> info;
    if (s.headerSize == 12) {
        Put32(info, 12);
        Put16(info, s.width);
        Put16(info, s.height);
        Put16(info, 1);
        Put16(info, s.bpp);
    } else {
        Put32(info, s.headerSize);
        Put32(info, s.width);
        Put32(info, static_cast<uint32_t>(s.topDown ? -s.height : s.height));
        Put16(info, 1);
        Put16(info, s.bpp);
        Put32(info, s.compression);
        for (int i = 0; i < 3; ++i) Put32(info, 0);
        Put32(info, s.colorsUsed);
        Put32(info, 0);
        if (s.headerSize > 40) {
            for (size_t i = 0; i < 4; ++i) Put32(info, i < s.masks.size() ? s.masks[i] : 0);
            info.resize(s.headerSize, 0);
        } else {
            for (uint32_t m : s.masks) Put32(info, m);
        }
    }
    for (uint32_t c : s.palette) {
        info.push_back(static_cast<uint8_t>(c));
        info.push_back(static_cast<uint8_t>(c >> 8));
        info.push_back(static_cast<uint8_t>(c >> 16));
        if (s.headerSize != 12) info.push_back(0);
    }
    const int stride = (s.width * s.bpp + 31) / 32 * 4;
    std::vector<uint8_t> file{'B', 'M'};
    Put32(file, static_cast<uint32_t>(14 + info.size() + stride * s.height));
    Put32(file, 0);
    Put32(file, static_cast<uint32_t>(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    for (int r = 0; r < s.height; ++r) {
        const int y = s.topDown ? r : s.height - 1 - r;
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < s.width; ++x) {
            uint32_t v = value(x, y);
            const int bit = x * s.bpp;
            if (s.bpp < 8)
                row[bit / 8] |= static_cast<uint8_t>(v << (8 - s.bpp - bit % 8));
            else
                for (int k = 0; k < s.bpp / 8; ++k) row[bit / 8 + k] = static_cast<uint8_t>(v >> (8 * k));
        }
        file.insert(file.end(), row.begin(), row.end());
    }
    return file;
}

std::vector<uint32_t> Greys(int n) {
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i)
        p.push_back(MakeBgra(static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i * 3), 200));
    return p;
}

} // namespace

TEST(Bmp, PaletteDepthsAndBothRowOrders) {
    struct Case {
        const char* name;
        int bpp;
        int entries;
        bool topDown;
        uint32_t colorsUsed;
    } cases[] = {
        {"1-bit",             1, 2,   false, 0},
        {"4-bit",             4, 16,  false, 0},
        {"8-bit",             8, 256, false, 0},
        {"8-bit top-down",    8, 256, true,  0},
        {"8-bit short table", 8, 9,   false, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpLayout s;
        s.width = 13; // rows need padding at every depth
        s.bpp = c.bpp;
        s.topDown = c.topDown;
        s.colorsUsed = c.colorsUsed;
        s.palette = Greys(c.entries);
        auto index = [&](int x, int y) { return static_cast<uint32_t>((x + 2 * y) % c.entries); };
        Image img;
        std::string error;
        ASSERT_TRUE(ReadBmp(Build(s, index), img, error)) << error;
        ASSERT_EQ(img.width, 13);
        ASSERT_EQ(img.height, 3);
        EXPECT_EQ(img.palette, s.palette);
        EXPECT_FALSE(img.hasAlpha);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(img.At(x, y), s.palette[index(x, y)]) << x << "," << y;
    }
}

TEST(Bmp, DirectColourHeadersAndMasks) {
    auto rgb = [](int x, int y) {
        return MakeBgra(static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 80), 99);
    };
    Image img;
    std::string error;

    BmpLayout core;
    core.headerSize = 12;
    core.bpp = 24;
    ASSERT_TRUE(ReadBmp(Build(core, rgb), img, error)) << error;
    EXPECT_EQ(img.At(4, 2), rgb(4, 2));

    // 16 bits, 5-6-5 bit fields after an info header.
    BmpLayout rgb565;
    rgb565.bpp = 16;
    rgb565.compression = 3;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    auto pack565 = [](int x, int y) { return static_cast<uint32_t>((31 - x) << 11 | (y * 20) << 5 | 31); };
    ASSERT_TRUE(ReadBmp(Build(rgb565, pack565), img, error)) << error;
    EXPECT_EQ(img.At(0, 0), MakeBgra(255, 0, 255));
    EXPECT_EQ(img.At(1, 2), MakeBgra(30 * 255 / 31, 40 * 255 / 63, 255));

    // A V5 header with an alpha mask keeps alpha.
    BmpLayout v5;
    v5.headerSize = 124;
    v5.bpp = 32;
    v5.compression = 3;
    v5.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    auto argb = [](int x, int y) { return static_cast<uint32_t>(x * 50) << 24 | 0x112233u | y; };
    ASSERT_TRUE(ReadBmp(Build(v5, argb), img, error)) << error;
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.At(3, 1), argb(3, 1));

    // Plain 32 bits with the fourth byte all 0 is opaque, not invisible.
    BmpLayout plain32;
    plain32.bpp = 32;
    ASSERT_TRUE(ReadBmp(Build(plain32, [](int, int) { return 0x00405060u; }), img, error)) << error;
    EXPECT_FALSE(img.hasAlpha);
    EXPECT_EQ(img.At(2, 2), 0xFF405060u);
}

TEST(Bmp, RefusesWhatItCannotRead) {
    struct Case {
        const char* name;
        BmpLayout layout;
        const char* error;
    } cases[] = {
        {"run-length", {40, 5, 3, false, 8, 1, 0, Greys(256), {}}, "compressed"          },
        {"2-bit",      {40, 5, 3, false, 2, 0, 0, Greys(4), {}},   "bit depth"           },
        {"zero width", {40, 0, 3, false, 24, 0, 0, {}, {}},        "invalid picture size"},
        {"odd header", {30, 5, 3, false, 24, 0, 0, {}, {}},        "header size"         },
    };
    for (const Case& c : cases) {
        Image img;
        std::string error;
        EXPECT_FALSE(ReadBmp(Build(c.layout, [](int, int) { return 0u; }), img, error)) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_FALSE(WriteBmp(Image{}, 24, out, error));
    Image one;
    one.Reset(1, 1);
    EXPECT_FALSE(WriteBmp(one, 16, out, error));
}
