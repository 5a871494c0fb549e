#include "fixtures/Fixtures.h"
#include "media/AVApi.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <numeric>

using namespace fixtures;

namespace {

struct KindCase {
    ClipKind kind;
    AVCodecID video; // AV_CODEC_ID_NONE: no video stream
    AVCodecID audio;
};

class ClipKinds : public ::testing::TestWithParam<KindCase> {};

} // namespace

TEST_P(ClipKinds, OpenWithTheirStreamsAndDuration) {
    const KindCase& c = GetParam();
    TempFolder folder;
    std::string path = MakeClip(folder, {.kind = c.kind});
    AVFormatContext* ic = nullptr;
    ASSERT_EQ(av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr), 0);
    ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
    AVCodecID video = AV_CODEC_ID_NONE, audio = AV_CODEC_ID_NONE;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVCodecParameters* p = ic->streams[i]->codecpar;
        (p->codec_type == AVMEDIA_TYPE_VIDEO ? video : audio) = p->codec_id;
        if (p->codec_type == AVMEDIA_TYPE_VIDEO) {
            EXPECT_EQ(p->width, 320);
            EXPECT_EQ(p->height, 240);
        }
    }
    EXPECT_EQ(video, c.video);
    EXPECT_EQ(audio, c.audio);
    EXPECT_NEAR(static_cast<double>(ic->duration) / AV_TIME_BASE, 2.0, 0.25);
    av::avformat_close_input(&ic);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ClipKinds,
                         ::testing::Values(KindCase{ClipKind::Mp4, AV_CODEC_ID_H264, AV_CODEC_ID_AAC},
                                           KindCase{ClipKind::Avi, AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3},
                                           KindCase{ClipKind::Mkv, AV_CODEC_ID_H264, AV_CODEC_ID_AAC},
                                           KindCase{ClipKind::Mpg, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MP2},
                                           KindCase{ClipKind::Wav, AV_CODEC_ID_NONE, AV_CODEC_ID_PCM_S16LE},
                                           KindCase{ClipKind::Mp3, AV_CODEC_ID_NONE, AV_CODEC_ID_MP3}),
                         [](const auto& info) { return ClipExtension(info.param.kind).substr(1); });

TEST(Fixtures, FrameNumbersReadBackAfterLossyCoding) {
    TempFolder folder;
    for (ClipKind kind : {ClipKind::Mp4, ClipKind::Avi, ClipKind::Mkv, ClipKind::Mpg}) {
        std::vector<int> numbers = DecodeFrameNumbers(MakeClip(folder, {.kind = kind}));
        std::vector<int> want(50);
        std::iota(want.begin(), want.end(), 0);
        EXPECT_EQ(numbers, want) << ClipExtension(kind);
    }
}

// Muxers may shift time stamps to make the audio's encoder delay fit; the
// pictures must still sit one frame apart, whatever audio comes along.
TEST(Fixtures, VideoFramesFollowEachOtherWithoutAGap) {
    TempFolder folder;
    for (ClipKind kind : {ClipKind::Mp4, ClipKind::Avi, ClipKind::Mkv, ClipKind::Mpg}) {
        SCOPED_TRACE(ClipExtension(kind));
        const std::vector<DecodedFrame> frames = DecodeFrames(MakeClip(folder, {.kind = kind}));
        ASSERT_EQ(frames.size(), 50u);
        ASSERT_GE(frames[0].frameTime, 0);
        for (size_t i = 1; i < frames.size(); ++i)
            EXPECT_EQ(frames[i].frameTime - frames[0].frameTime, static_cast<int64_t>(i)) << i;
    }
}

TEST(Fixtures, OptionsShapeTheClip) {
    TempFolder folder;
    ClipOptions o{
        .kind = ClipKind::Avi, .seconds = 1.0, .width = 176, .height = 144, .fps = 10, .audio = false};
    std::string path = MakeClip(folder, o, "small.avi");
    EXPECT_EQ(path, folder.Dir() + "small.avi");
    std::vector<int> numbers = DecodeFrameNumbers(path);
    ASSERT_EQ(numbers.size(), 10u);
    EXPECT_EQ(numbers.back(), 9);

    AVFormatContext* ic = nullptr;
    ASSERT_EQ(av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr), 0);
    ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
    ASSERT_EQ(ic->nb_streams, 1u);
    EXPECT_EQ(ic->streams[0]->codecpar->width, 176);
    av::avformat_close_input(&ic);

    EXPECT_THROW(MakeClip(folder, {.kind = ClipKind::Mp4, .videoCodec = "no-such-encoder"}),
                 std::runtime_error);
}

TEST(Fixtures, TempFolderIsRemovedWithItsContents) {
    std::string dir;
    {
        TempFolder folder;
        dir = folder.Dir();
        MakeClip(folder, {.kind = ClipKind::Wav, .seconds = 0.2});
        EXPECT_TRUE(std::filesystem::exists(dir + "clip.wav"));
    }
    EXPECT_FALSE(std::filesystem::exists(dir));
}
