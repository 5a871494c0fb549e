#include "catalogue/OutputFileName.h"
#include "os/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

using namespace catalogue;

namespace {

// A folder of named files, without touching the disk.
struct FakeDisk {
    std::set<std::string> Files;
    TFileExists Exists() const {
        return [this](const std::string& p) { return Files.count(p) > 0; };
    }
};

bool SameName(const std::string& a, const std::string& b) {
    return a == b;
}

} // namespace

TEST(OutputFileName, NumbersTheNameWhileItExistsAndOverwritingIsOff) {
    struct Case {
        std::set<std::string> Files;
        bool Overwrite;
        const char* Want;
    } cases[] = {
        {{},                                 false, "/out/a.b.avi"  },
        {{"/out/a.b.avi"},                   false, "/out/a.b_1.avi"},
        {{"/out/a.b.avi", "/out/a.b_1.avi"}, false, "/out/a.b_2.avi"},
        {{"/out/a.b.avi", "/out/a.b_2.avi"}, false, "/out/a.b_1.avi"},
        {{"/out/a.b.avi", "/out/a.b_1.avi"}, true,  "/out/a.b.avi"  },
    };
    for (const Case& c : cases) {
        FakeDisk disk{c.Files};
        EXPECT_EQ(OutputFileName("/out", "/in/a.b.mkv", 0, c.Overwrite, disk.Exists(), SameName), c.Want);
    }
}

TEST(OutputFileName, TakesTheKeysNameExtension) {
    FakeDisk disk;
    EXPECT_EQ(OutputFileName("/out", "/in/clip", 100, false, disk.Exists(), SameName), "/out/clip.mp3");
    EXPECT_EQ(OutputFileName("/out", "/in/song.flac", 106, false, disk.Exists(), SameName), "/out/song.ra");
    EXPECT_EQ(OutputFileName("/out", "/in/x.avi", 2600, false, disk.Exists(), SameName), "/out/x.avi");
    EXPECT_EQ(OutputFileName("/out", "/in/x.avi", 11, false, disk.Exists(), SameName), "/out/x.mpg");
    // The folder text is used as it stands.
    EXPECT_EQ(OutputFileName("/out/", "/in/x.avi", 1, false, disk.Exists(), SameName), "/out//x.mp4");
    EXPECT_EQ(OutputFileName("/out", "/in/x.avi", 15, false, disk.Exists(), SameName), "");
}

TEST(OutputFileName, NeverNamesTheInputItself) {
    FakeDisk disk{{"/out/a.avi"}};
    EXPECT_EQ(OutputFileName("/out", "/out/a.avi", 0, true, disk.Exists(), SameName), "/out/a_1.avi");
    EXPECT_EQ(OutputFileName("/out", "/out/a.avi", 0, false, disk.Exists(), SameName), "/out/a_1.avi");
    // With overwriting on, a numbered file that is not the input may be replaced.
    disk.Files.insert("/out/a_1.avi");
    EXPECT_EQ(OutputFileName("/out", "/out/a.avi", 0, true, disk.Exists(), SameName), "/out/a_1.avi");
    EXPECT_EQ(OutputFileName("/out", "/out/a.avi", 0, false, disk.Exists(), SameName), "/out/a_2.avi");
}

TEST(OutputFileName, RecognisesTheInputOnDiskUnderAnotherSpelling) {
    char pattern[] = "/tmp/tarvik-catalogue-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    std::filesystem::create_directory(dir + "/in");
    const std::string input = dir + "/in/clip.avi";
    std::ofstream(input) << "input";

    // "//" from a folder text with its own trailing slash.
    EXPECT_EQ(OutputFileName(dir + "/in/", input, 0, true, os::FileExists), dir + "/in//clip_1.avi");
    // A hard link in the output folder is the input too.
    std::filesystem::create_directory(dir + "/out");
    std::filesystem::create_hard_link(input, dir + "/out/clip.avi");
    EXPECT_EQ(OutputFileName(dir + "/out", input, 0, true, os::FileExists), dir + "/out/clip_1.avi");
    // Another file of that name is overwritten as asked.
    std::filesystem::remove(dir + "/out/clip.avi");
    std::ofstream(dir + "/out/clip.avi") << "old output";
    EXPECT_EQ(OutputFileName(dir + "/out", input, 0, true, os::FileExists), dir + "/out/clip.avi");
    EXPECT_EQ(OutputFileName(dir + "/out", input, 0, false, os::FileExists), dir + "/out/clip_1.avi");

    std::filesystem::remove_all(dir);
}
