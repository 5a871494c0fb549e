// The stream and picture option handlers: their edge cases and error texts.
#include "EngineTestSupport.h"
#include "media/AVApi.h"

namespace enginetest {
namespace {

class HandlersTest : public EngineTest {};

TEST_F(HandlersTest, FrameSizeAndRate) {
    E().SetOption("s", "176*144");
    EXPECT_EQ(E().Fframe_width, 176);
    EXPECT_EQ(E().Fframe_height, 144);
    E().SetOption("s", "640x480");
    EXPECT_EQ(E().Fframe_width, 640);
    for (const char* bad : {"abc", "0x0", "-2x4", "176*"})
        EXPECT_EQ(Raised([&] { E().SetOption("s", bad); }), "Incorrect frame size") << bad;
    EXPECT_EQ(Raised([&] { E().SetOption("r", "fast"); }), "Incorrect frame rate");
    E().SetOption("s", "");
    E().SetOption("r", "");
    EXPECT_EQ(E().Fframe_width, 640);
    E().SetOption("r", "ntsc-film");
    EXPECT_EQ(E().Fframe_rate.num, 24000);
    EXPECT_EQ(E().Fframe_rate.den, 1001);
}

TEST_F(HandlersTest, AspectRatio) {
    const std::pair<const char*, float> accepted[] = {
        {"16:9",  16.0f / 9},
        {"1.333", 1.333f   },
        {"-4:3",  -4.0f / 3}
    };
    for (const auto& [text, ratio] : accepted) {
        E().SetOption("aspect", text);
        EXPECT_FLOAT_EQ(E().Fframe_aspect_ratio, ratio) << text;
    }
    for (const char* bad : {"4:0", "0:3", "abc", "0", "4:x"})
        EXPECT_EQ(Raised([&] { E().SetOption("aspect", bad); }), "Incorrect aspect ratio specification.")
            << bad;
    EXPECT_FLOAT_EQ(E().Fframe_aspect_ratio, -4.0f / 3);
}

TEST_F(HandlersTest, PixelAndSampleFormats) {
    EXPECT_EQ(Raised([&] { E().SetOption("pix_fmt", "yuv999"); }), "Unknown pixel format requested: yuv999");
    EXPECT_EQ(E().Fframe_pix_fmt, AV_PIX_FMT_NONE);

    E().SetOption("pix_fmt", "list");
    EXPECT_EQ(E().Fframe_pix_fmt, AV_PIX_FMT_NONE);
    EXPECT_EQ(log.size(), static_cast<size_t>(AV_PIX_FMT_NB) + 1); // the header and every format
    EXPECT_EQ(log[0].Level, media::llInfo);
    EXPECT_EQ(log[0].Text.find("name"), 0u);
    log.clear();
    E().SetOption("sample_fmt", "list");
    EXPECT_EQ(log.size(), static_cast<size_t>(AV_SAMPLE_FMT_NB) + 1);
    EXPECT_EQ(E().Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);

    E().SetOption("sample_fmt", "nonsense"); // taken without a check
    EXPECT_EQ(E().Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);
}

TEST_F(HandlersTest, CropNeedsTheFrameSizeFirst) {
    const std::string vertical = "Vertical crop dimensions are outside the range of the original image.\n"
                                 "Remember to crop first and scale second.";
    const std::string horizontal = "Horizontal crop dimensions are outside the range of the original image.\n"
                                   "Remember to crop first and scale second.";
    EXPECT_EQ(Raised([&] { E().SetOption("croptop", "8"); }), vertical);
    EXPECT_EQ(Raised([&] { E().SetOption("cropleft", "8"); }), horizontal);

    E().SetOption("s", "640x480");
    E().SetOption("croptop", "8");
    EXPECT_EQ(E().Fframe_topBand, 8);
    EXPECT_EQ(E().Fframe_height, 472);
    EXPECT_TRUE(Logged(media::llWarning, "CropXXX is deprecated in favor of the crop avfilter"));
    E().SetOption("cropbottom", "2");
    E().SetOption("cropleft", "10");
    E().SetOption("cropright", "20");
    EXPECT_EQ(E().Fframe_height, 470);
    EXPECT_EQ(E().Fframe_width, 610);
    EXPECT_EQ(Raised([&] { E().SetOption("cropbottom", "470"); }), vertical);
    EXPECT_EQ(Raised([&] { E().SetOption("cropright", "610"); }), horizontal);
    E().SetOption("croptop", "0");
    E().SetOption("croptop", "-5");
    EXPECT_EQ(E().Fframe_topBand, 8);
    EXPECT_EQ(E().Fframe_height, 470);
}

TEST_F(HandlersTest, QScale) {
    for (const char* bad : {"0", "-1", "255.5", "nan"})
        EXPECT_EQ(Raised([&] { E().SetOption("qscale", bad); }), "qscale must be > 0.0 and <= 255") << bad;
    E().SetOption("qscale", "255");
    EXPECT_EQ(E().Fvideo_qscale, 255.0f);
}

TEST_F(HandlersTest, TagsMustBeFourCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"vtag", "video tag parameter must be 4 chars"   },
        {"atag", "audio tag parameter must be 4 chars"   },
        {"stag", "subtitle tag parameter must be 4 chars"}
    };
    for (const auto& [option, text] : cases) {
        try {
            E().SetOption(option, "XVI");
            ADD_FAILURE() << option;
        } catch (const media::EAssertionFailed& e) {
            EXPECT_EQ(std::string(e.what()).find(text), 0u) << e.what();
        }
    }
    EXPECT_THROW(E().SetOption("vtag", "XVIDX"), media::EAssertionFailed);
    E().SetOption("vtag", "");
    EXPECT_EQ(E().Fvideo_codec_tag, 0u);
}

TEST_F(HandlersTest, CodecChoice) {
    E().SetOption("acodec", "copy");
    E().SetOption("acodec", "aac");
    EXPECT_EQ(E().Faudio_stream_copy, 1);
    EXPECT_EQ(E().Faudio_codec_name, "aac");
    E().SetOption("vcodec", "mpeg4");
    E().SetOption("vcodec", "");
    EXPECT_EQ(E().Fvideo_codec_name, "mpeg4");
    E().SetOption("vcodec", "copy");
    EXPECT_EQ(E().Fvideo_codec_name, "");
    EXPECT_EQ(E().Fvideo_stream_copy, 1);
}

TEST_F(HandlersTest, BitRateWarnsBelowOneThousand) {
    E().SetOption("ab", "128");
    EXPECT_TRUE(Logged(media::llWarning, "WARNING: The bitrate parameter is set too low"));
    log.clear();
    E().SetOption("ab", "128000");
    E().SetOption("b", "128k");
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->bit_rate, 128000);
    EXPECT_EQ(E().FOptions.avcodec_opts[1]->bit_rate, 128000);
    EXPECT_FALSE(Logged(media::llWarning, "WARNING"));
    E().SetBitRateOption("xb", "1");
    EXPECT_FALSE(Logged(media::llWarning, "WARNING"));
}

TEST_F(HandlersTest, StreamAndMetadataMaps) {
    E().SetOption("map", "0.1");
    E().SetOption("map", "1:0:0:0");
    E().SetOption("map", "0x1.010");
    const auto& m = E().Fstream_maps;
    EXPECT_EQ(E().Fnb_stream_maps, 3);
    EXPECT_EQ((std::array{m[0].file_index, m[0].stream_index, m[0].sync_file_index, m[0].sync_stream_index}),
              (std::array{0, 1, 0, 1}));
    EXPECT_EQ((std::array{m[1].file_index, m[1].stream_index, m[1].sync_file_index, m[1].sync_stream_index}),
              (std::array{1, 0, 0, 0}));
    EXPECT_EQ(m[2].file_index, 1);
    EXPECT_EQ(m[2].stream_index, 8); // octal, as the C runtime reads it
    E().SetOption("map_meta_data", "1:0");
    EXPECT_EQ(E().Fmeta_data_maps[0].out_file, 1);
    EXPECT_EQ(E().Fmeta_data_maps[0].in_file, 0);

    // 4 files give 80 map entries; the 81st is refused, not written past the table.
    for (int i = 3; i < 80; ++i) E().SetOption("map", "0:0");
    EXPECT_THROW(E().SetOption("map", "0:0"), media::FFmpegException);
    EXPECT_EQ(E().Fnb_stream_maps, 80);
}

TEST_F(HandlersTest, Metadata) {
    E().SetOption("metadata", "title=A=B");
    EXPECT_EQ(Raised([&] { E().SetOption("metadata", "title"); }), "Missing =");
    E().AddMetadataTag("author", "me");
    ASSERT_EQ(E().Fmetadata.size(), 2u);
    EXPECT_EQ(E().Fmetadata[0].Key, "title");
    EXPECT_EQ(E().Fmetadata[0].Value, "A=B");
    EXPECT_EQ(E().Fmetadata[1].Key, "author");
}

TEST_F(HandlersTest, InputTimeStampScale) {
    E().Fnb_input_files = 1; // the next input is the second file
    E().SetOption("itsscale", "1:2.5");
    EXPECT_EQ(E().InputTsScale(1, 1), 2.5);
    EXPECT_EQ(Raised([&] { E().SetOption("itsscale", "25:2"); }), "stream index over MAX_STREAMS(20)");
    EXPECT_EQ(Raised([&] { E().SetOption("itsscale", "-1:2"); }), "stream index over MAX_STREAMS(20)");
    E().Fnb_input_files = 4; // no row left for a further input
    EXPECT_THROW(E().SetOption("itsscale", "0:2"), media::FFmpegException);
    E().Fnb_input_files = 0;
}

TEST_F(HandlersTest, TimesAndDates) {
    E().SetOption("t", "00:01:30.5");
    EXPECT_EQ(E().Frecording_time, 90500000);
    EXPECT_EQ(E().FTotalOutputDuration, 90500000);
    EXPECT_EQ(Raised([&] { E().SetOption("t", "abc"); }), "Invalid duration specification for t: abc");
    EXPECT_EQ(Raised([&] { E().SetOption("ss", "1:xx"); }), "Invalid duration specification for ss: 1:xx");
    EXPECT_EQ(Raised([&] { E().SetOption("timestamp", "yesterday"); }),
              "Invalid date specification for timestamp: yesterday");
    E().SetRecordingTime(media::NoTime);
    EXPECT_EQ(E().Frecording_time, 90500000);
    E().SetOption("timestamp", "2010-06-15 12:00:00.5Z");
    EXPECT_EQ(E().Frecording_timestamp, 1276603200); // .5 rounds to the even second
}

TEST_F(HandlersTest, AudioRateAndChannelsIgnoreNonPositiveValues) {
    E().SetOption("ar", "0");
    E().SetOption("ac", "-1");
    EXPECT_EQ(E().Faudio_sample_rate, 44100);
    EXPECT_EQ(E().Faudio_channels, 2);
}

TEST_F(HandlersTest, PgmyuvBecomesImage2) {
    E().SetOption("f", "pgmyuv");
    EXPECT_EQ(E().Flast_asked_format, "image2");
    EXPECT_EQ(E().Fpgmyuv_compatibility_hack, 1);
    EXPECT_TRUE(Logged(media::llInfo, "pgmyuv format is deprecated, use image2"));
    E().SetOption("f", "");
    EXPECT_EQ(E().Flast_asked_format, "image2");
}

TEST_F(HandlersTest, VideoHooks) {
    using V = std::vector<std::string>;
    EXPECT_EQ(media::TCustomFFmpeg::SplitHookArguments("hook.so|-a|b c"), (V{"hook.so", "-a", "b c"}));
    EXPECT_EQ(media::TCustomFFmpeg::SplitHookArguments("hook.so -a"), (V{"hook.so", "-a"}));
    EXPECT_EQ(media::TCustomFFmpeg::SplitHookArguments("||a||b|"), (V{"a", "b"}));
    EXPECT_EQ(Raised([&] { E().SetOption("vhook", "/nonexistent/hook.so -a"); }),
              "Failed to add video hook function: /nonexistent/hook.so -a");
    EXPECT_FALSE(E().Fusing_vhook);
}

} // namespace
} // namespace enginetest
