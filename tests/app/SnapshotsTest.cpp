// Snapshot settings in option.ini, the numbered names and the four picture types.
#include "app/Snapshots.h"
#include "../gui/TempDir.h"
#include "app/OptionIni.h"
#include "gdi/image/ImageFile.h"
#include "gui/IniFile.h"
#include "media/FrameBitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace app;
namespace fs = std::filesystem;

namespace {

class SnapshotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", home.path.c_str(), 1);
    }
    void TearDown() override { setenv("HOME", oldHome_.c_str(), 1); }
    std::string Ini(const std::string& key) {
        return gui::TIniFile(config / "option.ini").ReadString("SnapShot", key, "Error");
    }
    void SetIni(const std::string& key, const std::string& value) {
        gui::TIniFile(config / "option.ini").WriteString("SnapShot", key, value);
    }
    static void Touch(const std::string& path) { std::ofstream(path) << "x"; }

    TempDir home, config;
    TOptionIni ini{config / "option.ini"};
    std::string oldHome_;
};

TEST_F(SnapshotsTest, AFirstSnapshotCreatesTheDefaultFolderAndWritesItsSettings) {
    const std::string expected = home.path.string() + "/Tarvik视频软件/快照";
    // Without option.ini, then with option.ini but no [SnapShot] section.
    for (bool withFile : {false, true}) {
        SCOPED_TRACE(withFile);
        fs::remove_all(home.path / "Tarvik视频软件");
        fs::remove(config / "option.ini");
        if (withFile) gui::TIniFile(config / "option.ini").WriteString("Options", "Thread_Count", "0");
        EXPECT_EQ(SnapshotFolder(ini), expected);
        EXPECT_EQ(SnapshotPictureType(ini), "BMP");
        EXPECT_TRUE(fs::is_directory(expected));
        EXPECT_EQ(Ini("Dir"), expected);
        EXPECT_EQ(Ini("Picture"), "BMP");
    }
}

TEST_F(SnapshotsTest, AStoredFolderIsCreatedWithItsParents) {
    const std::string stored = home / "a/b/c";
    SetIni("Dir", stored);
    EXPECT_EQ(SnapshotFolder(ini), stored);
    EXPECT_TRUE(fs::is_directory(stored));
    EXPECT_EQ(Ini("Dir"), stored);
}

TEST_F(SnapshotsTest, OnlyTheFourUpperCaseTypesAreKept) {
    struct Case {
        const char* stored;
        const char* type;
    } cases[] = {
        {"BMP",  "BMP"},
        {"JPG",  "JPG"},
        {"GIF",  "GIF"},
        {"PNG",  "PNG"},
        {"jpg",  "BMP"},
        {"",     "BMP"},
        {"TIFF", "BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        SetIni("Picture", c.stored);
        EXPECT_EQ(SnapshotPictureType(ini), c.type);
        EXPECT_EQ(Ini("Picture"), c.type);
    }
}

TEST_F(SnapshotsTest, NamesTakeTheSmallestFreeNumberPerType) {
    const std::string folder = home.path.string();
    const std::string movie = "/videos/holiday.clip.mp4";
    for (int n = 1; n <= 3; ++n) {
        std::string name = SnapshotFileName(folder, movie, "BMP");
        EXPECT_EQ(name, folder + "/holiday.clip_" + std::to_string(n) + ".bmp");
        Touch(name);
    }
    fs::remove(folder + "/holiday.clip_2.bmp");
    EXPECT_EQ(SnapshotFileName(folder, movie, "BMP"), folder + "/holiday.clip_2.bmp");
    // Each type counts on its own.
    EXPECT_EQ(SnapshotFileName(folder + "/", movie, "PNG"), folder + "/holiday.clip_1.png");
    EXPECT_EQ(SnapshotFileName(folder, movie, "JPG"), folder + "/holiday.clip_1.jpg");
    EXPECT_EQ(SnapshotFileName(folder, movie, "GIF"), folder + "/holiday.clip_1.gif");
    // A folder under the name takes its number too.
    fs::create_directory(folder + "/holiday.clip_1.gif");
    EXPECT_EQ(SnapshotFileName(folder, movie, "GIF"), folder + "/holiday.clip_2.gif");
}

TEST_F(SnapshotsTest, ThePictureIsWrittenInEachType) {
    media::TFrameBitmap picture(33, 17); // odd width: padded rows
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x) {
            uint8_t* p = picture.ScanLine(y) + 3 * x;
            const bool left = x < 16;
            p[0] = left ? 255 : 0; // blue on the left
            p[1] = 0;
            p[2] = left ? 0 : 255; // red on the right
        }
    struct Case {
        const char* type;
        gdi::image::ImageFormat format;
        int tolerance;
    } cases[] = {
        {"BMP", gdi::image::ImageFormat::Bmp,  0 },
        {"PNG", gdi::image::ImageFormat::Png,  0 },
        {"GIF", gdi::image::ImageFormat::Gif,  8 },
        {"JPG", gdi::image::ImageFormat::Jpeg, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string name = SnapshotFileName(home.path.string(), "clip.mp4", c.type);
        std::string error;
        ASSERT_TRUE(SaveSnapshot(picture, name, c.type, error)) << error;
        std::ifstream in(name, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(gdi::image::DetectImageFormat(bytes), c.format);
        gdi::image::Image back;
        ASSERT_TRUE(gdi::image::LoadImageFile(name, back, error)) << error;
        ASSERT_EQ(back.width, 33);
        ASSERT_EQ(back.height, 17);
        auto near = [&](uint32_t px, int r, int g, int b) {
            return std::abs(static_cast<int>((px >> 16) & 255) - r) <= c.tolerance &&
                   std::abs(static_cast<int>((px >> 8) & 255) - g) <= c.tolerance &&
                   std::abs(static_cast<int>(px & 255) - b) <= c.tolerance;
        };
        EXPECT_TRUE(near(back.At(2, 8), 0, 0, 255));
        EXPECT_TRUE(near(back.At(30, 8), 255, 0, 0));
    }
}

TEST_F(SnapshotsTest, AFolderThatCannotBeWrittenIsAFailure) {
    std::string error;
    EXPECT_FALSE(SaveSnapshot(media::TFrameBitmap(4, 4), home / "missing/x_1.bmp", "BMP", error));
    EXPECT_FALSE(error.empty());
}

} // namespace
