#include "fixtures/Fixtures.h"
#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFOptions.h"
#include "media/RGBConvert.h"

#include <gtest/gtest.h>

using namespace media;

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::LoadMediaLibraries();
        logger.SetLogLevel(llInfo);
        logger.TriggerEventInMainThread = false;
        logger.OnLog = [this](os::TObject*, uint32_t, TLogLevel, const std::string& m) { log.push_back(m); };
        AllocOptions(opts, SWS_BICUBIC);
    }
    void TearDown() override { FreeOptions(opts); }
    std::string Get(void* obj, const char* name) {
        uint8_t* v = nullptr;
        if (av::av_opt_get(obj, name, AV_OPT_SEARCH_CHILDREN, &v) < 0) return "?";
        std::string s = reinterpret_cast<char*>(v);
        av::av_free(v);
        return s;
    }
    TFFLogger logger;
    std::vector<std::string> log;
    TFFOptions opts;
};

} // namespace

TEST_F(OptionsTest, EmptyUnknownAndBadValuesAreRefused) {
    EXPECT_FALSE(SetDefaultOption(opts, "b", "  "));
    EXPECT_FALSE(SetDefaultOption(opts, " ", "1"));
    EXPECT_FALSE(SetDefaultOption(opts, "no_such_option", "1"));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(SetDefaultOption(opts, "g", "many"));
    ASSERT_FALSE(log.empty()); // the library's own complaint may come first
    EXPECT_EQ(log.back(), "Invalid value \"many\" for option \"g\"");
    EXPECT_TRUE(opts.opt_names.empty());
}

TEST_F(OptionsTest, GenericOptionsReachTheContextsOfTheirMediaTypes) {
    EXPECT_TRUE(SetDefaultOption(opts, "b", "1000k")); // a video and audio parameter
    EXPECT_EQ(opts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->bit_rate, 1000000);
    EXPECT_EQ(opts.avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate, 1000000);
    EXPECT_NE(opts.avcodec_opts[AVMEDIA_TYPE_SUBTITLE]->bit_rate, 1000000);
    EXPECT_TRUE(SetDefaultOption(opts, "ar", "22050")); // audio only
    EXPECT_EQ(opts.avcodec_opts[AVMEDIA_TYPE_AUDIO]->sample_rate, 22050);
    EXPECT_EQ(opts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->sample_rate, 0);
    EXPECT_TRUE(SetDefaultOption(opts, "probesize", "4096"));     // format
    EXPECT_TRUE(SetDefaultOption(opts, "sws_flags", "bilinear")); // scaler
    EXPECT_EQ(opts.opt_names, (std::vector<std::string>{"b", "ar", "probesize", "sws_flags"}));

    // Recorded options go to new contexts whose flags they carry.
    AVCodecContext* enc = av::avcodec_alloc_context3(av::avcodec_find_encoder_by_name("mpeg4"));
    ApplyRecordedOptions(opts, enc, opts.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                         AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
    EXPECT_EQ(enc->bit_rate, 1000000);
    EXPECT_EQ(enc->sample_rate, 0);
    av::avcodec_free_context(&enc);
    AVFormatContext* fmt = av::avformat_alloc_context();
    ApplyRecordedOptions(opts, fmt, opts.avformat_opts, AV_OPT_FLAG_DECODING_PARAM);
    EXPECT_EQ(fmt->probesize, 4096);
    av::avformat_free_context(fmt);
}

TEST_F(OptionsTest, MediaLetterPrefixSelectsTheContext) {
    EXPECT_TRUE(SetDefaultOption(opts, "vflags", "+qscale"));
    EXPECT_TRUE(opts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->flags & AV_CODEC_FLAG_QSCALE);
    EXPECT_FALSE(opts.avcodec_opts[AVMEDIA_TYPE_AUDIO]->flags & AV_CODEC_FLAG_QSCALE);
    EXPECT_EQ(opts.opt_names.back(), "flags");
}

TEST_F(OptionsTest, PrivateCodecOptionsWaitForAContextOfTheirCodec) {
    EXPECT_TRUE(SetDefaultOption(opts, "preset", "ultrafast"));
    EXPECT_TRUE(SetDefaultOption(opts, "preset", "veryfast")); // the later value wins
    AVCodecContext* x264 = av::avcodec_alloc_context3(av::avcodec_find_encoder_by_name("libx264"));
    ASSERT_NE(x264, nullptr);
    ApplyRecordedOptions(opts, x264, opts.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                         AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
    EXPECT_EQ(Get(x264, "preset"), "veryfast");
    av::avcodec_free_context(&x264);
    // A codec without that option is left alone, silently.
    AVCodecContext* mpeg4 = av::avcodec_alloc_context3(av::avcodec_find_encoder_by_name("mpeg4"));
    ApplyRecordedOptions(opts, mpeg4, opts.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                         AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
    EXPECT_TRUE(log.empty());
    av::avcodec_free_context(&mpeg4);
}

// Every option of every context, as text.
std::vector<std::string> Snapshot(const TFFOptions& o) {
    std::vector<std::string> all;
    std::vector<void*> contexts(std::begin(o.avcodec_opts), std::end(o.avcodec_opts));
    contexts.push_back(o.avformat_opts);
    contexts.push_back(o.sws_opts);
    for (void* c : contexts) {
        const AVOption* opt = nullptr;
        while ((opt = av::av_opt_next(c, opt))) {
            if (opt->type == AV_OPT_TYPE_CONST) continue;
            uint8_t* v = nullptr;
            const int r = av::av_opt_get(c, opt->name, 0, &v);
            all.push_back(std::string(opt->name) + "=" + (r >= 0 && v ? reinterpret_cast<char*>(v) : "?"));
            av::av_free(v);
        }
        all.push_back("|");
    }
    return all;
}

TEST_F(OptionsTest, ParkedContextsComeBackWithEverySetting) {
    for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
             {"b",         "1000k"   },
             {"ar",        "22050"   },
             {"ac",        "1"       },
             {"g",         "7"       },
             {"flags",     "+qscale" },
             {"probesize", "4096"    },
             {"sws_flags", "bilinear"},
             {"threads",   "3"       },
             {"aspect",    "4:3"     },
    })
        ASSERT_TRUE(SetDefaultOption(opts, name, value)) << name;
    const std::vector<std::string> before = Snapshot(opts);
    ParkOptions(opts);
    for (const AVCodecContext* c : opts.avcodec_opts) EXPECT_EQ(c, nullptr);
    EXPECT_EQ(opts.avformat_opts, nullptr);
    EXPECT_EQ(opts.sws_opts, nullptr);
    // Setting an option brings them back first.
    EXPECT_TRUE(SetDefaultOption(opts, "bt", "64k"));
    ASSERT_NE(opts.sws_opts, nullptr);
    std::vector<std::string> after = Snapshot(opts);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i].rfind("bt=", 0) != 0) EXPECT_EQ(after[i], before[i]);
}

TEST_F(OptionsTest, DebugOptionRaisesTheLoggersLevel) {
    EXPECT_TRUE(SetDefaultOption(opts, "debug", "pict"));
    EXPECT_EQ(logger.LogLevel(), llDebug);
}

namespace {

AVFrame* NewFrame(AVPixelFormat fmt, int w, int h) {
    AVFrame* f = av::av_frame_alloc();
    f->format = fmt;
    f->width = w;
    f->height = h;
    av::av_frame_get_buffer(f, 0);
    return f;
}

} // namespace

TEST(RGBConvert, YuvPicturesAreScaledIntoA24BitBitmap) {
    fixtures::LoadMediaLibraries();
    AVFrame* f = NewFrame(AV_PIX_FMT_YUV420P, 64, 48);
    for (int y = 0; y < 48; ++y) memset(f->data[0] + y * f->linesize[0], y < 24 ? 235 : 16, 64);
    for (int p = 1; p < 3; ++p)
        for (int y = 0; y < 24; ++y) memset(f->data[p] + y * f->linesize[p], 128, 32);
    TRGBConvertContext ctx;
    TAVPicture pic = PictureOf(f);
    ASSERT_TRUE(PictureToBitmap(ctx, pic, AV_PIX_FMT_YUV420P, 48, 64));
    ASSERT_NE(ctx.Bitmap, nullptr);
    EXPECT_EQ(ctx.Bitmap->Width(), 64);
    EXPECT_EQ(ctx.Bitmap->Stride(), 192);
    EXPECT_GT(ctx.Bitmap->ScanLine(2)[30], 240); // white top half
    EXPECT_LT(ctx.Bitmap->ScanLine(45)[30], 15); // black bottom half
    EXPECT_EQ(ctx.RGBPictureRef, &ctx.RGBPicture);
    EXPECT_FALSE(PictureToBitmap(ctx, pic, AV_PIX_FMT_YUV420P, 0, 64));
    av::av_frame_free(&f);
}

TEST(RGBConvert, PicturesInTheBitmapsLayoutSkipTheScalerUnlessTheWidthIsOdd) {
    fixtures::LoadMediaLibraries();
    std::vector<uint8_t> even(TFrameBitmap::RowSize(4) * 2, 7);
    TAVPicture pic;
    pic.data[0] = even.data();
    pic.linesize[0] = TFrameBitmap::RowSize(4);
    TRGBConvertContext ctx;
    ASSERT_TRUE(PictureToBitmap(ctx, pic, AV_PIX_FMT_BGR24, 2, 4));
    EXPECT_EQ(ctx.toRGB_convert_ctx, nullptr);
    EXPECT_EQ(ctx.Bitmap->Pixels(), even);

    AVFrame* odd = NewFrame(AV_PIX_FMT_BGR24, 321, 240);
    for (int y = 0; y < 240; ++y) memset(odd->data[0] + y * odd->linesize[0], 200, 963);
    ASSERT_TRUE(PictureToBitmap(ctx, PictureOf(odd), AV_PIX_FMT_BGR24, 240, 321));
    EXPECT_NE(ctx.toRGB_convert_ctx, nullptr);
    EXPECT_EQ(ctx.Bitmap->Stride(), 964);
    EXPECT_EQ(ctx.Bitmap->ScanLine(239)[962], 200);
    av::av_frame_free(&odd);
}
