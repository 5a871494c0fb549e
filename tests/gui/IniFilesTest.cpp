#include "gui/IniFile.h"
#include "gui/MemIniFile.h"
#include "gui/Stream.h"
#include "gui/StringList.h"

#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace gui;

namespace {
std::string ReadFile(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}
void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
}

const char* kOption = "; settings of the converter\r\n"
                      "[Options]\r\n"
                      "Thread_Count = 4\r\n"
                      ";After_Done=2\r\n"
                      "After_Done=1\r\n"
                      "after_done=3\r\n"
                      "\r\n"
                      "[OutPath]\r\n"
                      "OutPath=/data/out\r\n";

// Both classes must answer alike; each test runs on both.
template <class T> std::unique_ptr<TCustomIniFile> Open(const std::string& name) {
    return std::make_unique<T>(name);
}
using Opener = std::unique_ptr<TCustomIniFile> (*)(const std::string&);
} // namespace

class IniFiles : public ::testing::TestWithParam<Opener> {
protected:
    TempDir dir;
    std::string name = dir / "option.ini";
};

TEST_P(IniFiles, ProfileRulesForReading) {
    WriteFile(name, kOption);
    auto ini = GetParam()(name);
    EXPECT_EQ(ini->ReadString("options", "THREAD_COUNT", "Error"), "4"); // names ignore case, values trimmed
    EXPECT_EQ(ini->ReadString("Options", "After_Done", "Error"), "1");   // the first of a doubled key
    EXPECT_EQ(ini->ReadString("Options", "Show_Preview", "Error"), "Error");
    EXPECT_EQ(ini->ReadString("NoSuch", "OutPath", "Error"), "Error");
    EXPECT_EQ(ini->ReadInteger("Options", "Thread_Count", 0), 4);
    EXPECT_EQ(ini->ReadInteger("OutPath", "OutPath", -7), -7); // not a number: the default
    EXPECT_TRUE(ini->ReadBool("Options", "After_Done", false));
    EXPECT_TRUE(ini->ReadBool("Options", "Missing", true));
    EXPECT_TRUE(ini->SectionExists("OUTPATH"));
    EXPECT_FALSE(ini->SectionExists("Skin"));
    EXPECT_TRUE(ini->ValueExists("Options", "after_done"));
    EXPECT_FALSE(ini->ValueExists("Options", ";After_Done"));

    TStringList list;
    ini->ReadSection("Options", list);
    EXPECT_EQ(list.CommaText(), "Thread_Count,After_Done");
    ini->ReadSectionValues("Options", list);
    EXPECT_EQ(list.CommaText(), "Thread_Count=4,After_Done=1");
    ini->ReadSections(list);
    EXPECT_EQ(list.CommaText(), "Options,OutPath");
}

TEST_P(IniFiles, QuotesGoAndOnlyASectionsFirstAppearanceCounts) {
    WriteFile(name, "[Q]\n"
                    "double=\"C:\\视频\"\n"
                    "single='a b'\n"
                    "spaced = \" kept inside \" \n"
                    "empty=\"\"\n"
                    "lone=\"\n"
                    "open=\"abc\n"
                    "mixed=\"abc'\n"
                    "inner=a\"b\"c\n"
                    "[Second]\n"
                    "x=1\n"
                    "[q]\n"
                    "double=later\n"
                    "extra=later\n");
    auto ini = GetParam()(name);
    const std::pair<const char*, const char*> cases[] = {
        {"double", "C:\\视频"   },
        {"single", "a b"          },
        {"spaced", " kept inside "},
        {"empty",  ""             },
        {"lone",   "\""           },
        {"open",   "\"abc"        },
        {"mixed",  "\"abc'"       },
        {"inner",  "a\"b\"c"      },
        {"extra",  "default"      }, // only in the second [Q]: not read
    };
    for (auto [key, value] : cases) EXPECT_EQ(ini->ReadString("Q", key, "default"), value) << key;
    TStringList list;
    ini->ReadSectionValues("Q", list);
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(list.Values("single"), "a b");
    ini->ReadSections(list);
    EXPECT_EQ(list.CommaText(), "Q,Second");
    EXPECT_FALSE(ini->ValueExists("Q", "extra"));
    ini->WriteString("q", "extra", "first"); // into the first [Q]
    EXPECT_EQ(ini->ReadString("Q", "extra", ""), "first");
}

TEST_P(IniFiles, AByteOrderMarkSurvivesWriting) {
    WriteFile(name, "\xEF\xBB\xBF[皮肤]\r\nSetSkin=1\r\n");
    auto ini = GetParam()(name);
    EXPECT_EQ(ini->ReadString("皮肤", "SetSkin", ""), "1");
    ini->WriteString("皮肤", "SetSkin", "2");
    ini->UpdateFile();
    EXPECT_EQ(ReadFile(name), "\xEF\xBB\xBF[皮肤]\r\nSetSkin=2\r\n");
}

TEST_P(IniFiles, FloatsReadInTheCLocale) {
    WriteFile(name, "[A]\nrate=29.97\nbad=29,97\n");
    // A comma locale must not matter.
    ASSERT_TRUE(setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        << "de_DE.UTF-8 is not generated (scripts/deps.sh --tests)";
    auto ini = GetParam()(name);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("A", "rate", 0), 29.97);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("A", "bad", 1.5), 1.5);
    setlocale(LC_NUMERIC, "C");
}

TEST_P(IniFiles, WritingChangesOnlyTheLineItMust) {
    WriteFile(name, kOption);
    auto ini = GetParam()(name);
    ini->WriteString("OPTIONS", "thread_count", "8"); // existing key: the value alone changes
    ini->WriteInteger("Options", "Show_Preview", 1);  // new key: after the section's last key
    ini->WriteString("Skin", "SetSkin", "0");         // new section at the end
    ini->WriteBool("OutPath", "Flag", false);
    ini->UpdateFile();
    EXPECT_EQ(ReadFile(name), "; settings of the converter\r\n"
                              "[Options]\r\n"
                              "Thread_Count = 8\r\n"
                              ";After_Done=2\r\n"
                              "After_Done=1\r\n"
                              "after_done=3\r\n"
                              "Show_Preview=1\r\n"
                              "\r\n"
                              "[OutPath]\r\n"
                              "OutPath=/data/out\r\n"
                              "Flag=0\r\n"
                              "\r\n"
                              "[Skin]\r\n"
                              "SetSkin=0\r\n");

    ini->DeleteKey("options", "AFTER_DONE"); // both copies, so the second cannot resurface
    EXPECT_FALSE(ini->ValueExists("Options", "After_Done"));
    ini->EraseSection("outpath");
    EXPECT_FALSE(ini->SectionExists("OutPath"));
    ini->UpdateFile();
    EXPECT_EQ(ReadFile(name), "; settings of the converter\r\n"
                              "[Options]\r\n"
                              "Thread_Count = 8\r\n"
                              ";After_Done=2\r\n"
                              "Show_Preview=1\r\n"
                              "\r\n"
                              "[Skin]\r\n"
                              "SetSkin=0\r\n");
}

TEST_P(IniFiles, ChineseFoldersRoundTripAndANewFileIsPlainLinuxText) {
    std::string home = (dir.path / "home").string();
    std::string out = home + "/Tarvik视频软件/输出";
    std::string deep = dir / "config/tarvik/option.ini";
    {
        auto ini = GetParam()(deep);
        EXPECT_EQ(ini->ReadString("OutPath", "OutPath", "Error"), "Error");
        ini->WriteString("OutPath", "OutPath", out);
        ini->WriteString("快照", "路径", out + "/快照");
        ini->UpdateFile();
    }
    EXPECT_EQ(ReadFile(deep), "[OutPath]\nOutPath=" + out + "\n\n[快照]\n路径=" + out + "/快照\n");
    auto again = GetParam()(deep);
    EXPECT_EQ(again->ReadString("outpath", "outpath", "Error"), out);
    EXPECT_EQ(again->ReadString("快照", "路径", ""), out + "/快照");
}

TEST_P(IniFiles, EntriesThatWouldBreakTheFileAreRefused) {
    auto ini = GetParam()(name);
    EXPECT_THROW(ini->WriteString("A", "k=v", "x"), EIniFileException);
    EXPECT_THROW(ini->WriteString("A", "", "x"), EIniFileException);
    EXPECT_THROW(ini->WriteString("A]", "k", "x"), EIniFileException);
    EXPECT_THROW(ini->WriteString("A", "k", "two\nlines"), EIniFileException);
    ini->UpdateFile();
    EXPECT_EQ(ReadFile(name), "");
}

INSTANTIATE_TEST_SUITE_P(Both, IniFiles, ::testing::Values(&Open<TIniFile>, &Open<TMemIniFile>),
                         [](const auto& info) { return info.index == 0 ? "TIniFile" : "TMemIniFile"; });

TEST(IniFile, WritesThroughAtOnceAndSeesOtherWriters) {
    TempDir dir;
    std::string name = dir / "option.ini";
    TIniFile ini(name);
    EXPECT_FALSE(std::filesystem::exists(name));
    ini.WriteString("Skin", "SetSkin", "3"); // the first write creates the file
    EXPECT_EQ(ReadFile(name), "[Skin]\nSetSkin=3\n");
    WriteFile(name, "[Skin]\nSetSkin=5\n"); // someone else changed it
    EXPECT_EQ(ini.ReadInteger("Skin", "SetSkin", 0), 5);
    ::chmod(name.c_str(), 0640);
    ini.WriteString("Skin", "SetSkin", "6");
    struct stat st {};
    ::stat(name.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // replacing the file keeps its permissions
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1); // no temporary left
}

TEST(IniFile, AFileThatCannotBeWrittenRaisesAndLosesNothing) {
    TempDir dir;
    TIniFile folder(dir.path.string()); // a folder in place of the file
    EXPECT_EQ(folder.ReadString("A", "b", "def"), "def");
    EXPECT_THROW(folder.WriteString("A", "b", "c"), EIniFileException);
    EXPECT_THROW(TMemIniFile{dir.path.string()}, EFOpenError);
}

TEST(MemIniFile, TextInAndOutAndNothingWrittenBeforeUpdateFile) {
    TempDir dir;
    std::string name = dir / "skin.ini";
    WriteFile(name, "[A]\nx=1\n");
    TMemIniFile ini(name);
    ini.WriteString("A", "x", "2");
    EXPECT_EQ(ReadFile(name), "[A]\nx=1\n");
    TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(lines.CommaText(), "[A],x=2");
    lines.SetText("[B]\r\ny = z\r\n");
    ini.SetStrings(lines);
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(ini.ReadString("b", "Y", ""), "z");
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(name), "[B]\ny = z\n"); // the file's own line breaks are kept
}
