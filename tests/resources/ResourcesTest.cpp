#include "resources/ProgramResources.h"

#include "gdi/image/ImageFile.h"
#include "gui/Bitmap.h"
#include "gui/Canvas.h"
#include "gui/Icon.h"
#include "gui/Resources.h"
#include "os/Text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ReadBeside(const std::string& name) {
    std::ifstream in(std::string(TARVIK_PROGRAM_FOLDER) + name, std::ios::binary);
    EXPECT_TRUE(in) << name << " is not beside the program";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { resources::RegisterProgramResources(); }
};

struct GlyphCase {
    const char* name;
    int width, height;
    gui::TPixelFormat format;
};

// The dialogs' glyphs are 8-bit and drawn leaving out their bottom-left pixel's colour;
// the slider's pictures are 16 colours with RGB(255, 0, 255) left out.
constexpr GlyphCase kGlyphs[] = {
    {"BS_BACK",          16, 16, gui::pf8bit},
    {"BS_UP",            16, 16, gui::pf8bit},
    {"BS_NEWFOLDER",     16, 16, gui::pf8bit},
    {"BS_LVSTYLE",       16, 16, gui::pf8bit},
    {"BS_STRETCH",       16, 16, gui::pf8bit},
    {"BS_FLOPPY",        16, 16, gui::pf8bit},
    {"BS_HARD",          16, 16, gui::pf8bit},
    {"BS_NETWORK",       16, 16, gui::pf8bit},
    {"BS_CDROM",         16, 16, gui::pf8bit},
    {"BS_RAM",           16, 11, gui::pf8bit},
    {"BS_OPENFOLDER",    16, 15, gui::pf8bit},
    {"BS_CLOSEDFOLDER",  16, 15, gui::pf8bit},
    {"BS_CURRENTFOLDER", 16, 15, gui::pf8bit},
    {"BS_HTB",           18, 17, gui::pf4bit},
    {"BS_HRL",           10, 8,  gui::pf4bit},
    {"BS_VTB",           38, 9,  gui::pf4bit},
    {"BS_VRL",           8,  10, gui::pf4bit},
};

TEST_F(ResourcesTest, EveryGlyphLoadsAtItsSizeAndFormatWithTheKeyColourAroundAPicture) {
    const gui::TColor key = RGB(255, 0, 255);
    for (const GlyphCase& c : kGlyphs) {
        SCOPED_TRACE(c.name);
        gui::TBitmap b;
        b.LoadFromResourceName(c.name);
        EXPECT_EQ(b.Width(), c.width);
        EXPECT_EQ(b.Height(), c.height);
        EXPECT_EQ(b.PixelFormat(), c.format);
        if (c.format == gui::pf8bit) EXPECT_EQ(b.TransparentColor() & 0xFFFFFF, key);
        bool drawn = false, clear = false;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                bool isKey = b.Canvas()->Pixels(x, y) == key;
                drawn = drawn || !isKey;
                clear = clear || isKey;
            }
        EXPECT_TRUE(drawn);
        EXPECT_TRUE(clear);
    }
}

TEST_F(ResourcesTest, ProgramIconLoadsAtEachSizeWithClearCornersAndAnOpaqueMiddle) {
    ASSERT_FALSE(resources::ProgramIconSizes().empty());
    for (int size : resources::ProgramIconSizes()) {
        SCOPED_TRACE(size);
        std::string name = resources::ProgramIconName(size);
        gui::TIcon icon;
        icon.LoadFromResourceName(name);
        EXPECT_EQ(icon.Width(), size);
        EXPECT_EQ(icon.Height(), size);
        gdi::image::Image image;
        std::string error;
        ASSERT_TRUE(gdi::image::ReadImage(gui::FindResourceData(name), image, error)) << error;
        EXPECT_EQ(image.At(0, 0) >> 24, 0u);
        EXPECT_EQ(image.At(size - 1, size - 1) >> 24, 0u);
        EXPECT_EQ(image.At(size / 2, size / 2) >> 24, 255u);
    }
}

uint32_t Le(const std::string& s, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
    return v;
}

TEST(ProgramFilesTest, CompletionSoundIsAShortAudiblePcmChime) {
    std::string wav = ReadBeside(resources::kCompletionSound);
    ASSERT_GE(wav.size(), 44u);
    ASSERT_EQ(wav.substr(0, 4), "RIFF");
    ASSERT_EQ(wav.substr(8, 4), "WAVE");
    EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
    // Chunks in order; fmt before data, as every player expects.
    size_t at = 12;
    uint32_t rate = 0, channels = 0, bits = 0;
    std::string data;
    while (at + 8 <= wav.size()) {
        std::string id = wav.substr(at, 4);
        uint32_t size = Le(wav, at + 4, 4);
        ASSERT_LE(at + 8 + size, wav.size()) << id;
        if (id == "fmt ") {
            EXPECT_EQ(Le(wav, at + 8, 2), 1u); // PCM
            channels = Le(wav, at + 10, 2);
            rate = Le(wav, at + 12, 4);
            bits = Le(wav, at + 22, 2);
            EXPECT_EQ(Le(wav, at + 16, 4), rate * channels * bits / 8);
        } else if (id == "data") {
            ASSERT_NE(rate, 0u) << "data before fmt";
            data = wav.substr(at + 8, size);
        }
        at += 8 + size + (size & 1);
    }
    EXPECT_EQ(channels, 1u);
    EXPECT_EQ(bits, 16u);
    EXPECT_GE(rate, 8000u);
    ASSERT_FALSE(data.empty());
    double seconds = static_cast<double>(data.size()) / 2 / rate;
    EXPECT_GT(seconds, 0.3);
    EXPECT_LT(seconds, 3.0);
    int peak = 0;
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(Le(data, i, 2))));
    EXPECT_GT(peak, 16000);
    // Starts and ends at rest: no click either way.
    EXPECT_LT(std::abs(static_cast<int16_t>(Le(data, 0, 2))), 100);
    EXPECT_LT(std::abs(static_cast<int16_t>(Le(data, data.size() - 2, 2))), 100);
}

TEST(ProgramFilesTest, HelpPageIsChineseUtf8) {
    std::string page = ReadBeside(resources::kHelpFile);
    EXPECT_TRUE(os::IsValidUtf8(page));
    EXPECT_NE(page.find("charset=\"utf-8\""), std::string::npos);
    EXPECT_NE(page.find("TarvikH.264格式转换器 帮助"), std::string::npos);
}

} // namespace
