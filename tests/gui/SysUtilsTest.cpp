#include "gui/SysUtils.h"

#include "TempDir.h"

#include <clocale>
#include <fstream>
#include <gtest/gtest.h>

using namespace gui;

TEST(SysUtils, NumbersAndTextInTheCLocale) {
    // A comma locale must not leak in.
    ASSERT_TRUE(setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        << "de_DE.UTF-8 is not generated (scripts/deps.sh --tests)";
    EXPECT_EQ(Format("%d%% %.2f %s", 50, 29.97, "MB"), "50% 29.97 MB");
    struct {
        double v;
        const char* text;
    } floats[] = {
        {1.5,     "1.5"    },
        {0.1,     "0.1"    },
        {-2,      "-2"     },
        {1e20,    "1E20"   },
        {1.25e-5, "1.25E-5"},
        {29.97,   "29.97"  }
    };
    for (auto& f : floats) EXPECT_EQ(FloatToStr(f.v), f.text);
    setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(IntToStr(-1000), "-1000");
    try {
        StrToInt("12a");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
    EXPECT_EQ(StringReplace("a.b.B", "b", "x", rfReplaceAll | rfIgnoreCase), "a.x.x");
    EXPECT_EQ(StringReplace("a.b.b", "b", "x", 0), "a.x.b");
    EXPECT_EQ(Pos("视频", "Tarvik视频"), 7);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abc", 3, 10), "c");
    EXPECT_EQ(Copy("abc", 4, 1), "");
}

TEST(SysUtils, MasksIgnoreCase) {
    struct {
        const char *name, *mask;
        bool match;
    } cases[] = {
        {"x.avi",      "*.AVI",     true },
        {"X.AVI",      "*.avi",     true },
        {"x.avi.bak",  "*.avi",     false},
        {"movie",      "*.*",       true },
        {"a.mp4",      "?.mp4",     true },
        {"ab.mp4",     "?.mp4",     false},
        {"视频.MKV", "*.mkv",     true },
        {"abcabd",     "*abd",      true },
        {"",           "*",         true },
        {"skin1.ini",  "skin*.ini", true },
    };
    for (auto& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
}

TEST(SysUtils, FindFirstHonoursMaskAndAttributes) {
    TempDir dir;
    for (auto name : {"b.AVI", "a.avi", "c.mp4", ".hidden.avi"}) std::ofstream(dir / name) << "12345";
    std::filesystem::create_directory(dir.path / "sub.avi");
    auto find = [&](const std::string& mask, int attr) {
        std::vector<std::string> names;
        TSearchRec rec;
        for (int r = FindFirst(dir / mask, attr, rec); r == 0; r = FindNext(rec)) names.push_back(rec.Name);
        FindClose(rec);
        return names;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(find("*.avi", 0), (V{"a.avi", "b.AVI"}));
    EXPECT_EQ(find("*.avi", faAnyFile), (V{".hidden.avi", "a.avi", "b.AVI", "sub.avi"}));
    EXPECT_EQ(find("*", faDirectory), (V{"a.avi", "b.AVI", "c.mp4", "sub.avi"}));

    TSearchRec rec;
    ASSERT_EQ(FindFirst(dir / "c.*", faAnyFile, rec), 0);
    EXPECT_EQ(rec.Size, 5);
    EXPECT_EQ(rec.Attr & faDirectory, 0);
    EXPECT_EQ(FindNext(rec), ERROR_NO_MORE_FILES);
    ASSERT_EQ(FindFirst(dir / "sub.*", faDirectory, rec), 0);
    EXPECT_NE(rec.Attr & faDirectory, 0);
    EXPECT_EQ(FindFirst(dir / "*.wmv", faAnyFile, rec), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirst(dir / "none/*.avi", faAnyFile, rec), ERROR_PATH_NOT_FOUND);
    FindClose(rec);
}
