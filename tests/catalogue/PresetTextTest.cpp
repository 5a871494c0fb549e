#include "catalogue/PresetText.h"
#include "ExpectedTables.h"
#include "catalogue/ParameterSet.h"
#include "catalogue/PresetEntries.h"
#include "os/Convert.h"

#include <gtest/gtest.h>

using namespace catalogue;

TEST(PresetText, SizesAndRatesPassThroughExceptTheKeepWords) {
    EXPECT_EQ(PresetFrameSize("保持原分辨率"), "");
    EXPECT_EQ(PresetFrameSize("该格式无视频"), "");
    EXPECT_EQ(PresetFrameSize("640*353"), "640*353");
    EXPECT_EQ(PresetFrameSize("720*406"), "720*406");
    EXPECT_EQ(PresetFrameRate("保持原帧速率"), "");
    EXPECT_EQ(PresetFrameRate("无视频"), "");
    EXPECT_EQ(PresetFrameRate("23.97"), "23.97");
    EXPECT_EQ(PresetFrameRate("12"), "12");
}

TEST(PresetText, BitratesAreTheNumberBeforeKbpsTimesAThousand) {
    struct Case {
        const char* Text;
        int32_t Video, Audio;
    } cases[] = {
        {"8 kbps",     8000,    8000   },
        {"1600 kbps",  1600000, 1600000},
        {"4000 kbps",  4000000, 4000000},
        {" 128  kbps", 128000,  128000 },
        {"12 kbps",    12000,   12000  },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PresetVideoBitrate(c.Text), c.Video) << c.Text;
        EXPECT_EQ(PresetAudioBitrate(c.Text), c.Audio) << c.Text;
    }
    EXPECT_EQ(PresetVideoBitrate("无视频"), BitrateNotSet);
    EXPECT_EQ(PresetAudioBitrate("自动音频比特率"), BitrateNotSet);
}

TEST(PresetText, AmrRatesComeOutWhole) {
    struct Case {
        const char* Text;
        int32_t Bits;
    } cases[] = {
        {"4.75 kbps", 4750 },
        {"5.15 kbps", 5150 },
        {"5.9 kbps",  5900 },
        {"6.7 kbps",  6700 },
        {"7.4 kbps",  7400 },
        {"7.95 kbps", 7950 },
        {"10.2 kbps", 10200},
        {"12.2 kbps", 12200}
    };
    for (const Case& c : cases) EXPECT_EQ(PresetAudioBitrate(c.Text), c.Bits) << c.Text;
}

TEST(PresetText, ABitrateWithoutANumberRaisesTheConversionError) {
    for (const char* text : {"kbps", "abc kbps", "1600", "", "7.9505 kbps", "99999999 kbps"}) {
        EXPECT_THROW(PresetVideoBitrate(text), os::EConvertError) << text;
        EXPECT_THROW(PresetAudioBitrate(text), os::EConvertError) << text;
    }
    EXPECT_THROW(PresetVideoBitrate("7.95 kbps"), os::EConvertError); // video rates are whole
}

TEST(PresetText, SampleRateAutoDependsOnWhoReadsIt) {
    EXPECT_EQ(PresetSampleRate("自动音频采样率", TSampleRateUse::Override), "AUTO");
    EXPECT_EQ(PresetSampleRate("自动音频采样率", TSampleRateUse::PickerChange), "");
    EXPECT_EQ(PresetSampleRate("44100", TSampleRateUse::Override), "44100");
    EXPECT_EQ(PresetSampleRate("8000", TSampleRateUse::PickerChange), "8000");
}

TEST(PresetText, AspectModesAndUnknownTexts) {
    struct Case {
        const char* Text;
        const char* Value;
    } cases[] = {
        {"保持原视频模式",   ""     },
        {"普通视频4:3模式",   "4:3"  },
        {"宽屏视频16:9模式",  "16:9" },
        {"宽屏视频37:20模式", "37:20"},
        {"宽屏视频47:20模式", "47:20"},
        {"无视频",               ""     },
        {"宽屏视频",            "16:9" },
        {"",                        "16:9" }
    };
    for (const Case& c : cases) EXPECT_EQ(PresetAspect(c.Text, "16:9"), c.Value) << c.Text;
}

TEST(PresetText, EveryItemOfEveryListReadsAsItsValue) {
    for (const expected::PresetEntry& e : expected::PresetEntries) {
        const TPresetEntry* entry = FindPresetEntry(e.Key);
        ASSERT_NE(entry, nullptr);
        for (const std::string& t : entry->FrameSize.List->Items)
            EXPECT_TRUE(PresetFrameSize(t).empty() || PresetFrameSize(t).find('*') != std::string::npos) << t;
        for (const std::string& t : entry->VideoBitrate.List->Items)
            EXPECT_TRUE(PresetVideoBitrate(t) > 0 || PresetVideoBitrate(t) == BitrateNotSet) << t;
        for (const std::string& t : entry->FrameRate.List->Items)
            EXPECT_TRUE(PresetFrameRate(t).empty() || os::StrToFloat(PresetFrameRate(t)) > 0) << t;
        for (const std::string& t : entry->AudioBitrate.List->Items) EXPECT_GT(PresetAudioBitrate(t), 0) << t;
        for (const std::string& t : entry->SampleRate.List->Items)
            EXPECT_GT(os::StrToInt(PresetSampleRate(t, TSampleRateUse::Override)), 0) << t;
        for (const std::string& t : entry->Aspect.List->Items) EXPECT_NE(PresetAspect(t, "?"), "?") << t;
    }
}

TEST(PresetText, PresetIndicesKeepSixTwoDigitPositionsInFieldOrder) {
    EXPECT_EQ(PresetIndexText(3), "03");
    EXPECT_EQ(PresetIndexText(10), "10");
    EXPECT_EQ(PresetIndexText(27), "27");
    std::string indices = PresetIndicesText({3, 0, 10, 4, 9, 5});
    EXPECT_EQ(indices, "030010040905");
    EXPECT_EQ(ReadPresetIndices(indices), (TPresetPositions{3, 0, 10, 4, 9, 5}));

    // The frame-rate picker (bsSkinComboBox9) keeps characters 9 and 10.
    SetPresetIndex(indices, TPresetPicker::FrameRate, 11);
    EXPECT_EQ(indices, "030010041105");
    SetPresetIndex(indices, TPresetPicker::AudioBitrate, 2);
    EXPECT_EQ(indices, "030002041105");

    for (const char* bad : {"03001004090", "03xx10040905", ""}) EXPECT_FALSE(ReadPresetIndices(bad)) << bad;
}
