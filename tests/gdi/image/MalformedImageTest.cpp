#include "TestImages.h"

#include "gdi/image/Bmp.h"
#include "gdi/image/Gif.h"
#include "gdi/image/ImageFile.h"
#include "gdi/image/Jpeg.h"
#include "gdi/image/Png.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace gdi::image;
using namespace testimages;

namespace {

struct Sample {
    const char* name;
    std::vector<uint8_t> bytes;
    // Offsets of the 16- or 32-bit size fields to blow up.
    std::vector<size_t> sizeFields;
    int fieldBytes;
    bool bigEndian;
    // Bytes at the end whose loss still leaves a complete picture: a PNG's
    // closing IEND chunk, a GIF's trailer after the first frame.
    size_t optionalTail = 0;
};

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

std::vector<Sample> Samples() {
    std::vector<Sample> out;
    std::string error;
    const Image photo = Photo();
    std::vector<uint8_t> b;
    auto add = [&](const char* name, const std::vector<uint8_t>& bytes, std::vector<size_t> fields,
                   int fieldBytes, bool bigEndian, size_t tail) {
        out.push_back(Sample{name, bytes, std::move(fields), fieldBytes, bigEndian, tail});
    };

    WriteBmp(photo, 24, b, error);
    add("bmp", b, {18, 22}, 4, false, 0);

    WritePng(photo, b, error);
    add("png", b, {16, 20}, 4, true, 12);

    WriteJpeg(photo, 80, b, error);
    size_t sof = 2;
    while (sof + 9 < b.size() && !(b[sof] == 0xFF && b[sof + 1] == 0xC0)) ++sof;
    add("jpeg", b, {sof + 5, sof + 7}, 2, true, 0);

    WriteGif(FewColours(), {}, b, error);
    const size_t table = 3u << ((b[10] & 7) + 1);
    const size_t desc = 13 + table;
    add("gif", b, {6, 8, desc + 5, desc + 7}, 2, false, 1);
    return out;
}

void SetField(std::vector<uint8_t>& b, size_t at, int bytes, bool bigEndian, uint32_t v) {
    for (int k = 0; k < bytes; ++k) {
        int shift = 8 * (bigEndian ? bytes - 1 - k : k);
        b[at + k] = static_cast<uint8_t>(v >> shift);
    }
}

bool Read(const std::vector<uint8_t>& bytes, std::string& error) {
    Image img;
    bool ok = ReadImage(bytes, img, error);
    if (ok) {
        EXPECT_EQ(img.pixels.size(), static_cast<size_t>(img.width) * img.height);
    }
    return ok;
}

} // namespace

TEST(MalformedImage, EmptyAndGarbageAreErrors) {
    std::vector<std::vector<uint8_t>> inputs = {
        {},
        {    'B'},
        { 'B', 'M'},
        std::vector<uint8_t>(100, 0xAB)
    };
    for (const char* magic : {"BM", "\xFF\xD8\xFF", "\x89PNG\r\n\x1A\n", "GIF89a"}) {
        std::vector<uint8_t> v(magic, magic + std::strlen(magic));
        for (int i = 0; i < 64; ++i) v.push_back(static_cast<uint8_t>(i * 37 + 11));
        inputs.push_back(v);
    }
    for (const auto& in : inputs) {
        std::string error;
        EXPECT_FALSE(Read(in, error)) << in.size();
        EXPECT_FALSE(error.empty());
    }
    // Each reader refuses another format's file.
    Image img;
    std::string error;
    std::vector<uint8_t> png;
    WritePng(Photo(), png, error);
    EXPECT_FALSE(ReadBmp(png, img, error));
    EXPECT_FALSE(ReadJpeg(png, img, error));
    EXPECT_FALSE(ReadGif(png, img, error));
    EXPECT_EQ(error, "not a GIF file");
}

TEST(MalformedImage, TruncatedFilesAreErrors) {
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        std::string error;
        ASSERT_TRUE(Read(s.bytes, error)) << error;
        for (size_t len = 0; len + s.optionalTail < s.bytes.size(); ++len) {
            std::vector<uint8_t> cut(s.bytes.begin(), s.bytes.begin() + static_cast<std::ptrdiff_t>(len));
            error.clear();
            EXPECT_FALSE(Read(cut, error)) << "kept " << len << " of " << s.bytes.size();
            EXPECT_FALSE(error.empty()) << len;
        }
    }
}

TEST(MalformedImage, AbsurdSizesAreRefusedBeforeAllocating) {
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        for (size_t field : s.sizeFields) {
            std::vector<uint8_t> b = s.bytes;
            SetField(b, field, s.fieldBytes, s.bigEndian, s.fieldBytes == 2 ? 0xFFFF : 0x7FFFFFF0);
            if (std::string(s.name) == "png") { // keep the header's checksum right
                uint32_t crc = Crc32(&b[12], 17);
                SetField(b, 29, 4, true, crc);
            }
            std::string error;
            EXPECT_FALSE(Read(b, error)) << field;
            EXPECT_FALSE(error.empty());
        }
    }
}

// Random damage anywhere in a valid file: the reader may accept or refuse it,
// but must stay within its buffers (the sanitizers watch).
TEST(MalformedImage, DamagedFilesNeverCrash) {
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> b = s.bytes;
            const int hits = 1 + static_cast<int>(next() % 4);
            for (int h = 0; h < hits; ++h) b[next() % b.size()] = static_cast<uint8_t>(next() >> 24);
            std::string error;
            if (!Read(b, error)) {
                EXPECT_FALSE(error.empty());
            }
        }
    }
}
