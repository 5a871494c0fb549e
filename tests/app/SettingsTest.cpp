// option.ini as the converter reads and writes it, the log's lines, and the two translations
// of the current format's values into a conversion's output record.
#include "../gui/TempDir.h"
#include "app/AppPaths.h"
#include "app/ConverterOptions.h"
#include "app/LogMemo.h"
#include "app/OptionIni.h"
#include "app/OutputOptionsTranslation.h"
#include "gui/IniFile.h"
#include "os/Convert.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

using namespace app;

namespace {

struct Ini {
    TempDir dir;
    std::vector<std::string> log;
    TOptionIni ini{dir / "option.ini", [this](const std::string& l) { log.push_back(l); }};
    std::string Get(const std::string& section, const std::string& key) { return ini.Read(section, key); }
    void Put(const std::string& section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(ini.Write(section, key, value));
    }
};

} // namespace

TEST(ConverterOptions, FirstReadWritesEveryDefault) {
    Ini f;
    EXPECT_EQ(ReadConverterOptions(f.ini), TConverterOptions{});
    EXPECT_EQ(f.Get("Options", "Thread_Count"), "0");
    EXPECT_EQ(f.Get("Options", "After_Done"), "0");
    EXPECT_EQ(f.Get("Options", "Show_Preview"), "0");
    EXPECT_EQ(f.Get("Options", "Thread_Priority"), "3");
    EXPECT_EQ(f.Get("Options", "Overwrite_File"), "1");
}

TEST(ConverterOptions, UnacceptedValuesAreReplacedByTheirDefaults) {
    struct Case {
        const char *key, *stored, *rewritten;
    };
    const Case cases[] = {
        {"After_Done",      "7",   "0"},
        {"After_Done",      "",    "0"},
        {"Thread_Priority", "x",   "3"},
        {"Overwrite_File",  "2",   "1"},
        {"Show_Preview",    "yes", "0"},
        {"Thread_Count",    "",    "0"}
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        Ini f;
        f.Put("Options", "After_Done", "2");
        f.Put("Options", "Thread_Priority", "1");
        f.Put("Options", "Overwrite_File", "0");
        f.Put("Options", "Show_Preview", "1");
        f.Put("Options", "Thread_Count", "3");
        f.Put("Options", c.key, c.stored);
        TConverterOptions o = ReadConverterOptions(f.ini);
        EXPECT_EQ(f.Get("Options", c.key), c.rewritten);
        std::string key = c.key;
        EXPECT_EQ(o.AfterDone, key == "After_Done" ? TAfterDone::OpenFolder : TAfterDone::PlaySound);
        EXPECT_EQ(o.Priority, key == "Thread_Priority" ? TThreadPriority::Normal : TThreadPriority::Lowest);
        EXPECT_EQ(o.OverwriteFile, key != "Overwrite_File");
        EXPECT_EQ(o.ShowPreview, key != "Show_Preview");
        EXPECT_EQ(o.ThreadCount, key == "Thread_Count" ? 1 : 3);
    }
}

TEST(ConverterOptions, StoredThreadCountIsSelectedAgainWithinTheList) {
    for (auto [stored, count] : std::vector<std::pair<std::string, int>>{
             {"4",   4 },
             {"19",  19},
             {"0",   1 },
             {"20",  1 },
             {"-3",  1 },
             {"abc", 1 }
    }) {
        SCOPED_TRACE(stored);
        Ini f;
        f.Put("Options", "Thread_Count", stored);
        EXPECT_EQ(ReadConverterOptions(f.ini).ThreadCount, count);
        EXPECT_EQ(f.Get("Options", "Thread_Count"), stored); // only OK writes it
    }
}

TEST(ConverterOptions, WriteStoresWhatTheDialogShows) {
    Ini f;
    TConverterOptions o;
    o.ThreadCount = 4;
    o.AfterDone = TAfterDone::Nothing;
    o.ShowPreview = true;
    o.Priority = TThreadPriority::Idle;
    o.OverwriteFile = true;
    WriteConverterOptions(f.ini, o);
    EXPECT_EQ(f.Get("Options", "Thread_Count"), "4");
    EXPECT_EQ(f.Get("Options", "After_Done"), "3");
    EXPECT_EQ(f.Get("Options", "Show_Preview"), "1");
    EXPECT_EQ(f.Get("Options", "Thread_Priority"), "0");
    EXPECT_EQ(f.Get("Options", "Overwrite_File"), "0");
    EXPECT_EQ(ReadConverterOptions(f.ini), o);
}

TEST(OutputFolder, DefaultIsCreatedAndStoredStoredOneIsCreated) {
    Ini f;
    TempDir home;
    std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path.c_str(), 1);
    std::string folder = ReadOutputFolder(f.ini);
    EXPECT_EQ(folder, home / "Tarvik视频软件/输出");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(f.Get("OutPath", "OutPath"), folder);
    EXPECT_EQ(DefaultSnapshotFolder(), home / "Tarvik视频软件/快照");

    std::string elsewhere = f.dir / "a/b/c";
    f.Put("OutPath", "OutPath", elsewhere);
    EXPECT_EQ(ReadOutputFolder(f.ini), elsewhere);
    EXPECT_TRUE(std::filesystem::is_directory(elsewhere));

    // Only an existing folder is written.
    WriteOutputFolder(f.ini, f.dir / "missing");
    EXPECT_EQ(f.Get("OutPath", "OutPath"), elsewhere);
    setenv("HOME", oldHome.c_str(), 1);
}

TEST(SkinIndex, MissingOrNonNumericBecomesZeroAndIsWritten) {
    Ini f;
    EXPECT_EQ(ReadSkinIndex(f.ini), 0);
    EXPECT_EQ(f.Get("Skin", "SetSkin"), "0");
    f.Put("Skin", "SetSkin", "5");
    EXPECT_EQ(ReadSkinIndex(f.ini), 5);
    f.Put("Skin", "SetSkin", "blue");
    EXPECT_EQ(ReadSkinIndex(f.ini), 0);
    EXPECT_EQ(f.Get("Skin", "SetSkin"), "0");
    ASSERT_EQ(f.log.size(), 1u);
    EXPECT_NE(f.log[0].find("blue"), std::string::npos);
}

TEST(OptionIni, AFileThatCannotBeWrittenIsLoggedAndReadsAsMissing) {
    TempDir dir;
    std::ofstream(dir / "plain") << "x";
    std::vector<std::string> log;
    // A folder that is a file: not even root can create option.ini there.
    TOptionIni ini(dir / "plain/option.ini", [&](const std::string& l) { log.push_back(l); });
    EXPECT_EQ(ReadSkinIndex(ini), 0);
    EXPECT_EQ(ReadConverterOptions(ini), TConverterOptions{});
    EXPECT_FALSE(ini.Write("Skin", "SetSkin", "1"));
    EXPECT_EQ(ini.Read("Skin", "SetSkin"), "Error");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].rfind("***", 0), 0u);
}

TEST(OptionIni, ConfigDirOverridesThePlace) {
    setenv("TARVIK_CONFIG_DIR", "/some/where", 1);
    EXPECT_EQ(OptionIniFileName(), "/some/where/option.ini");
    unsetenv("TARVIK_CONFIG_DIR");
}

TEST(LogMemo, LineFormatAndBound) {
    EXPECT_EQ(LogLine(1234, 5, "abc"), "#1234.5: abc");
    EXPECT_EQ(LogLine(4294967295u, 0, ""), "#4294967295.0: ");
    TLogMemo memo(3);
    for (int i = 0; i < 5; ++i) memo.Append(std::to_string(i));
    ASSERT_EQ(memo.Count(), 3u);
    EXPECT_EQ(memo.Line(0), "2");
    EXPECT_EQ(memo.Last(), "4");
}

TEST(OutputOptionsTranslation, ParameterSet) {
    media::TOutputOptions d;
    media::SetOutputOptionsDefaults(d);
    {
        catalogue::TParameterSet s;
        s.Video_VideoCodec = "libx264";
        s.Video_AudioCodec = "AUTO";
        s.Video_TargetType = "dvd";
        s.Video_NormType = "PAL";
        s.Video_VideoBitrate = catalogue::BitrateNotSet;
        s.Video_AudioBitrate = catalogue::BitrateNotSet;
        media::TOutputOptions o = d;
        ParameterSetToOutputOptions(s, o);
        EXPECT_EQ(o.VideoCodec, "libx264");
        EXPECT_EQ(o.VideoPreset, "libx264-default");
        EXPECT_EQ(o.AudioCodec, d.AudioCodec);
        EXPECT_EQ(o.TargetType, media::ttDVD);
        EXPECT_EQ(o.NormType, media::ntPAL);
        EXPECT_EQ(o.VideoBitrate, d.VideoBitrate);
        EXPECT_EQ(o.AudioBitrate, d.AudioBitrate);
        EXPECT_EQ(o.AudioVolume, 256);
    }
    {
        catalogue::TParameterSet s;
        s.Video_VideoCodec = "mpeg4";
        s.Video_TargetType = "DVD";
        s.Video_AudioBitrate = 7950;
        s.Video_AudioSampleRate = "44100";
        s.Video_AudioChannels = "2";
        s.Video_DisableVideo = true;
        media::TOutputOptions o = d;
        ParameterSetToOutputOptions(s, o);
        EXPECT_EQ(o.VideoPreset, "");
        EXPECT_EQ(o.TargetType, media::ttIgnore);
        EXPECT_EQ(o.AudioBitrate, 7950);
        EXPECT_EQ(o.AudioSampleRate, 44100);
        EXPECT_EQ(o.AudioChannels, 2);
        EXPECT_TRUE(o.DisableVideo);
        EXPECT_EQ(o.VideoBitrate, -1); // the reset value is copied
    }
    catalogue::TParameterSet bad;
    bad.Video_AudioChannels = "two";
    media::TOutputOptions o = d;
    EXPECT_THROW(ParameterSetToOutputOptions(bad, o), os::EConvertError);
}

TEST(OutputOptionsTranslation, Row) {
    std::vector<std::string> row(24);
    row[10] = "libx264";
    row[13] = "XVID";
    row[14] = ".mp4";
    row[16] = "-1000";
    row[18] = "128000";
    row[19] = "AUTO";
    media::TOutputOptions slot;
    media::SetOutputOptionsDefaults(slot);
    slot.TargetType = media::ttVCD;
    slot.AudioVolume = 300;
    RowToOutputOptions(row, slot);
    EXPECT_EQ(slot.VideoPreset, "libx264-default");
    EXPECT_EQ(slot.VideoTag, ""); // dropped for libx264
    EXPECT_EQ(slot.FileExt, ".mp4");
    EXPECT_EQ(slot.VideoBitrate, -1000);
    EXPECT_EQ(slot.AudioBitrate, 128000);
    EXPECT_FALSE(slot.DisableVideo);          // sub-item 21 empty
    EXPECT_EQ(slot.TargetType, media::ttVCD); // sub-item 22 empty keeps the slot's
    EXPECT_EQ(slot.AudioVolume, 300);         // never taken from a row
    row[10] = "wmv2";
    row[21] = "True";
    RowToOutputOptions(row, slot);
    EXPECT_EQ(slot.VideoTag, "XVID");
    EXPECT_TRUE(slot.DisableVideo);
}
