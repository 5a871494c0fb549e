// Targets: each target and norm gives its sizes, rates and bit rates; the
// norm is guessed from the frame rate and then from the inputs.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "EngineTestSupport.h"
#include "media/AVApi.h"

namespace enginetest {
namespace {

struct TargetCase {
    const char* Option;
    const char* Format;
    const char* VideoCodec;
    const char* AudioCodec;
    int Width, Height, RateNum, RateDen, Gop;
    int64_t Bitrate, MaxRate, MinRate;
    int BufSize;
    int64_t AudioBitrate;
    int SampleRate;
    unsigned PacketSize;
    float Aspect;
    AVPixelFormat PixFmt;
};

class TargetsTest : public EngineTest {
protected:
    std::string Private(const char* name) const {
        for (const auto& [n, v] : engine->FOptions.private_opts)
            if (n == name) return v;
        return "";
    }
};

TEST_F(TargetsTest, EveryTargetAndNorm) {
    constexpr auto NONE = AV_PIX_FMT_NONE;
    // clang-format off
    const TargetCase cases[] = {
        {"pal-vcd",   "vcd",  "mpeg1video", "mp2", 352, 288, 25, 1,        15, 1150000, 1150000, 1150000, 327680,  224000, 44100, 2324, 4.0f / 3, NONE},
        {"ntsc-vcd",  "vcd",  "mpeg1video", "mp2", 352, 240, 30000, 1001, 18, 1150000, 1150000, 1150000, 327680,  224000, 44100, 2324, 4.0f / 3, NONE},
        {"film-vcd",  "vcd",  "mpeg1video", "mp2", 352, 240, 24000, 1001, 18, 1150000, 1150000, 1150000, 327680,  224000, 44100, 2324, 4.0f / 3, NONE},
        {"pal-svcd",  "svcd", "mpeg2video", "mp2", 480, 576, 25, 1,        15, 2040000, 2516000, 0,       1835008, 224000, 44100, 2324, 4.0f / 3, NONE},
        {"ntsc-svcd", "svcd", "mpeg2video", "mp2", 480, 480, 30000, 1001, 18, 2040000, 2516000, 0,       1835008, 224000, 44100, 2324, 4.0f / 3, NONE},
        {"film-svcd", "svcd", "mpeg2video", "mp2", 480, 480, 24000, 1001, 18, 2040000, 2516000, 0,       1835008, 224000, 44100, 2324, 4.0f / 3, NONE},
        {"pal-dvd",   "dvd",  "mpeg2video", "ac3", 720, 576, 25, 1,        15, 6000000, 9000000, 0,       1835008, 448000, 48000, 2048, 16.0f / 9, NONE},
        {"ntsc-dvd",  "dvd",  "mpeg2video", "ac3", 720, 480, 30000, 1001, 18, 6000000, 9000000, 0,       1835008, 448000, 48000, 2048, 16.0f / 9, NONE},
        {"film-dvd",  "dvd",  "mpeg2video", "ac3", 720, 480, 24000, 1001, 18, 6000000, 9000000, 0,       1835008, 448000, 48000, 2048, 16.0f / 9, NONE},
        {"pal-dv",    "dv",   "",           "",    720, 576, 25, 1,        -1, -1,     -1,      -1,      -1,      -1, 48000, 0,    0,        AV_PIX_FMT_YUV420P},
        {"ntsc-dv",   "dv",   "",           "",    720, 480, 30000, 1001, -1, -1,     -1,      -1,      -1,      -1, 48000, 0,    0,        AV_PIX_FMT_YUV411P},
        {"film-dv",   "dv",   "",           "",    720, 480, 24000, 1001, -1, -1,     -1,      -1,      -1,      -1, 48000, 0,    0,        AV_PIX_FMT_YUV411P},
        {"pal-dv50",  "dv",   "",           "",    720, 576, 25, 1,        -1, -1,     -1,      -1,      -1,      -1, 48000, 0,    0,        AV_PIX_FMT_YUV422P},
        {"ntsc-dv50", "dv",   "",           "",    720, 480, 30000, 1001, -1, -1,     -1,      -1,      -1,      -1, 48000, 0,    0,        AV_PIX_FMT_YUV422P},
        {"film-dv50", "dv",   "",           "",    720, 480, 24000, 1001, -1, -1,     -1,      -1,      -1,      -1, 48000, 0,    0,        AV_PIX_FMT_YUV422P},
    };
    // clang-format on
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.Option);
        engine = std::make_unique<media::TCustomFFmpeg>(4);
        engine->Reset();
        E().Faudio_channels = 1;
        E().SetOption("target", c.Option);
        const AVCodecContext* v = E().FOptions.avcodec_opts[0];
        const AVCodecContext* a = E().FOptions.avcodec_opts[1];
        EXPECT_EQ(E().Flast_asked_format, c.Format);
        EXPECT_EQ(E().Fvideo_codec_name, c.VideoCodec);
        EXPECT_EQ(E().Faudio_codec_name, c.AudioCodec);
        EXPECT_EQ(E().Fframe_width, c.Width);
        EXPECT_EQ(E().Fframe_height, c.Height);
        EXPECT_EQ(E().Fframe_rate.num, c.RateNum);
        EXPECT_EQ(E().Fframe_rate.den, c.RateDen);
        if (c.Gop >= 0) { // the camcorder targets leave the encoder settings alone
            EXPECT_EQ(v->gop_size, c.Gop);
            EXPECT_EQ(v->bit_rate, c.Bitrate);
            EXPECT_EQ(v->rc_max_rate, c.MaxRate);
            EXPECT_EQ(v->rc_min_rate, c.MinRate);
            EXPECT_EQ(v->rc_buffer_size, c.BufSize);
            EXPECT_EQ(a->bit_rate, c.AudioBitrate);
        } else {
            EXPECT_TRUE(E().FOptions.opt_names.empty());
        }
        EXPECT_EQ(E().Faudio_sample_rate, c.SampleRate);
        EXPECT_EQ(E().Faudio_channels, 2);
        EXPECT_EQ(E().FOptions.avformat_opts->packet_size, c.PacketSize);
        EXPECT_FLOAT_EQ(E().Fframe_aspect_ratio, c.Aspect);
        EXPECT_EQ(E().Fframe_pix_fmt, c.PixFmt);
    }
}

TEST_F(TargetsTest, MuxerSettingsOfTheDiscTargets) {
    E().SetOption("target", "pal-vcd");
    EXPECT_EQ(Private("muxrate"), "1411200");
    EXPECT_FLOAT_EQ(E().Fmux_preload, 0.44f);
    EXPECT_TRUE(Logged(media::llInfo, "Assuming 4:3 for aspect ratio"));

    engine = std::make_unique<media::TCustomFFmpeg>(4);
    engine->Reset();
    E().SetOption("aspect", "16:9");
    E().SetOption("target", "pal-svcd");
    EXPECT_FLOAT_EQ(E().Fframe_aspect_ratio, 16.0f / 9); // an aspect of its own stays
    EXPECT_EQ(Private("scan_offset"), "1");
    EXPECT_FLOAT_EQ(E().Fmux_preload, 0.5f);
}

// A video bit rate after a target moves the target's whole rate with it, so that the encoder
// never meets a minimum above or a maximum below the rate; limits set on their own stay.
TEST_F(TargetsTest, AnExplicitVideoBitrateMovesTheTargetsRateAsAWhole) {
    const struct {
        const char* target;
        std::vector<std::pair<const char*, const char*>> options;
        int64_t bitrate, maxRate, minRate;
        int bufSize;
    } cases[] = {
        {"pal-vcd",  {{"b", "528000"}},                          528000,  528000,  528000,  150448},
        {"pal-vcd",  {{"vb", "2000000"}},                        2000000, 2000000, 2000000, 569878},
        {"pal-vcd",  {{"b", "2300000"}, {"b", "575000"}},        575000,  575000,  575000,  163840},
        {"pal-vcd",  {{"maxrate", "3000000"}, {"b", "2300000"}}, 2300000, 3000000, 2300000, 655360},
        {"pal-svcd", {{"b", "1020000"}},                         1020000, 1258000, 0,       917504},
        {"pal-dvd",  {{"b", "1200000"}, {"bufsize", "900000"}},  1200000, 1800000, 0,       900000},
        {"pal-dv",   {{"b", "1200000"}},                         1200000, 0,       0,       0     },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " " + c.options.front().first + "=" + c.options.front().second);
        engine = std::make_unique<media::TCustomFFmpeg>(4);
        engine->Reset();
        E().SetOption("target", c.target);
        for (const auto& [name, value] : c.options) E().SetOption(name, value);
        const AVCodecContext* v = E().FOptions.avcodec_opts[0];
        EXPECT_EQ(v->bit_rate, c.bitrate);
        EXPECT_EQ(v->rc_max_rate, c.maxRate);
        EXPECT_EQ(v->rc_min_rate, c.minRate);
        EXPECT_EQ(v->rc_buffer_size, c.bufSize);
    }
}

TEST_F(TargetsTest, SvcdAndDvdMakeMonoStereoAndKeepOtherCounts) {
    for (const char* target : {"pal-svcd", "pal-dvd"})
        for (int channels : {1, 2, 6}) {
            engine = std::make_unique<media::TCustomFFmpeg>(4);
            engine->Reset();
            E().Faudio_channels = channels;
            E().SetOption("target", target);
            EXPECT_EQ(E().Faudio_channels, channels == 1 ? 2 : channels) << target << " " << channels;
        }
}

TEST_F(TargetsTest, NormFromTheCurrentFrameRate) {
    E().Fframe_rate = {30000, 1001};
    E().SetOption("target", "vcd");
    EXPECT_EQ(E().Fframe_height, 240);
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->gop_size, 18);
    EXPECT_TRUE(Logged(media::llVerbose, "Assuming NTSC for target."));

    engine = std::make_unique<media::TCustomFFmpeg>(4);
    engine->Reset();
    E().Fframe_rate = {25, 1};
    E().Fverbose = 0;
    log.clear();
    E().SetOption("target", "dvd");
    EXPECT_EQ(E().Fframe_height, 576);
    EXPECT_FALSE(Logged(media::llVerbose, "Assuming"));
}

TEST_F(TargetsTest, NormFromTheInputsThenTheFallback) {
    E().Fframe_rate = {12, 1};
    E().SetOption("target", "dvd"); // the option's fallback is NTSC
    EXPECT_EQ(E().Fframe_height, 480);

    engine = std::make_unique<media::TCustomFFmpeg>(4);
    engine->Reset();
    E().Fframe_rate = {12, 1};
    E().ApplyTarget("dvd", "auto", "pal"); // the task component's default norm
    EXPECT_EQ(E().Fframe_height, 576);

    // An opened input with a 25 fps video stream decides PAL.
    engine = std::make_unique<media::TCustomFFmpeg>(4);
    engine->Reset();
    AVFormatContext* input = av::avformat_alloc_context();
    AVStream* audio = av::avformat_new_stream(input, nullptr);
    audio->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
    AVStream* video = av::avformat_new_stream(input, nullptr);
    video->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    video->r_frame_rate = {25, 1};
    E().GrowFileTables(1, 0);
    E().Finput_files[0] = input;
    E().Fnb_input_files = 1;
    E().Fframe_rate = {12, 1};
    E().SetOption("target", "vcd");
    EXPECT_EQ(E().Fframe_height, 288);
    EXPECT_TRUE(Logged(media::llVerbose, "Assuming PAL for target."));
    E().CleanUp();
    EXPECT_TRUE(E().Finput_files.empty());
}

TEST_F(TargetsTest, Failures) {
    EXPECT_EQ(Raised([&] { E().SetOption("target", "dvd"); }), "frame_rate is invalid.");
    E().Fframe_rate = {25, 1};
    for (const char* bad : {"DVD", "dv25", "pal-", "PAL-dvd"})
        EXPECT_EQ(Raised([&] { E().SetOption("target", bad); }), "Unknown target type") << bad;
}

TEST_F(TargetsTest, NormNamesAreCaseSensitive) {
    E().Fframe_rate = {12, 1};
    E().ApplyTarget("vcd", "PAL", "film"); // not "pal": decided, and the fallback wins
    EXPECT_EQ(E().Fframe_height, 240);
    EXPECT_EQ(E().Fframe_rate.num, 24000);
}

} // namespace
} // namespace enginetest
