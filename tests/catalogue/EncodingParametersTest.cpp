#include "catalogue/EncodingParameters.h"
#include "ExpectedTables.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>

namespace catalogue {
// Lets a failing comparison show both sets.
void PrintTo(const TParameterSet& s, std::ostream* os) {
    *os << "{out=" << s.Video_OutPutFileName << " ext=" << s.Video_FileExt << " ch=" << s.Video_AudioChannels
        << " sr=" << s.Video_AudioSampleRate << " size=" << s.Video_FrameSize << " rate=" << s.Video_FrameRate
        << " norm=" << s.Video_NormType << " filters=" << s.Video_VideoFilters
        << " vol=" << s.Video_AudioVolume << " aspect=" << s.Video_FrameAspectRatio
        << " vcodec=" << s.Video_VideoCodec << " acodec=" << s.Video_AudioCodec
        << " copyts=" << s.Video_CopyTimestamp << " format=" << s.Video_FileFormat
        << " target=" << s.Video_TargetType << " tag=" << s.Video_VideoTag << " vbit=" << s.Video_VideoBitrate
        << " abit=" << s.Video_AudioBitrate << " start=" << s.Video_TimeStart
        << " length=" << s.Video_TimeLength << " novideo=" << s.Video_DisableVideo << "}";
}
} // namespace catalogue

using namespace catalogue;

TEST(EncodingParameters, TheResetSetHoldsTheSentinels) {
    TParameterSet reset;
    EXPECT_EQ(reset.Video_AudioVolume, "256");
    EXPECT_EQ(reset.Video_VideoBitrate, -1);
    EXPECT_EQ(reset.Video_AudioBitrate, -1);
    EXPECT_EQ(reset.Video_TimeStart, -1);
    EXPECT_EQ(reset.Video_TimeLength, -1);
    EXPECT_FALSE(reset.Video_DisableVideo);
    EXPECT_EQ(reset.Video_FileExt, "");
    EXPECT_EQ(reset.Video_VideoCodec, "");
}

TEST(EncodingParameters, EveryKeyGivesItsRowOverTheResetValues) {
    for (const expected::Encoding& want : expected::Encodings) {
        SCOPED_TRACE(want.Key);
        TParameterSet set; // the reset values, for every field the row does not name
        set.Video_FileExt = want.FileExt;
        set.Video_VideoCodec = want.VideoCodec;
        set.Video_VideoTag = want.VideoTag;
        set.Video_FrameSize = want.FrameSize;
        set.Video_FrameRate = want.FrameRate;
        set.Video_VideoBitrate = want.VideoBitrate;
        set.Video_AudioCodec = want.AudioCodec;
        set.Video_AudioChannels = want.AudioChannels;
        set.Video_AudioSampleRate = want.AudioSampleRate;
        set.Video_AudioBitrate = want.AudioBitrate;
        set.Video_FrameAspectRatio = want.FrameAspectRatio;
        set.Video_TargetType = want.TargetType;
        set.Video_NormType = want.NormType;
        set.Video_DisableVideo = want.DisableVideo;
        std::optional<TParameterSet> got = ParameterSetOf(want.Key);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, set);
        EXPECT_EQ(NameExtOf(want.Key), want.NameExt);
    }
}

TEST(EncodingParameters, KeysOutsideTheCatalogueAssignNothing) {
    for (int key : {-1, 15, 99, 113, 210, 300, 1311, 2612, 2700}) {
        EXPECT_FALSE(ParameterSetOf(key).has_value()) << key;
        EXPECT_EQ(NameExtOf(key), "") << key;
    }
}

TEST(EncodingParameters, FifteenFormatsAreAudioOnly) {
    std::set<int> audioOnly;
    for (const expected::Encoding& e : expected::Encodings)
        if (ParameterSetOf(e.Key)->Video_DisableVideo) audioOnly.insert(e.Key);
    std::set<int> want{1102, 1103};
    for (int key = 100; key <= 112; ++key) want.insert(key);
    EXPECT_EQ(audioOnly, want);
}

TEST(EncodingParameters, ARowKeepsTheRawValuesInItsSubItems) {
    using Items = TParameterSubItems;
    EXPECT_EQ(ParameterSubItems(*ParameterSetOf(0)),
              (Items{"mpeg4", "libmp3lame", "2", "XVID", ".avi", "", "816000", "25", "128000", "44100", "",
                     "False", "", ""}));
    EXPECT_EQ(ParameterSubItems(*ParameterSetOf(1308)),
              (Items{"", "", "", "", "", "", "-1000", "", "-1000", "", "", "False", "dvd", "PAL"}));
    Items audio = ParameterSubItems(*ParameterSetOf(102));
    EXPECT_EQ(audio[21 - FirstParameterSubItem], "True");
    EXPECT_EQ(audio[11 - FirstParameterSubItem], "");
    EXPECT_EQ(audio[16 - FirstParameterSubItem], "-1");
}
