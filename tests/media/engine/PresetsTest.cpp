// Encoder presets: the built-in table, lookup, preset files, and every
// built-in preset opening libx264 on a small frame.
#include <fstream>

#include "EngineTestSupport.h"
#include "media/AVApi.h"
#include "media/FFmpegLoader.h"
#include "media/X264Presets.h"

namespace enginetest {
namespace {

using media::TCustomFFmpeg;

class PresetsTest : public EngineTest {
protected:
    std::string WriteFile(const std::string& name, const std::string& text) {
        const std::string path = folder.Path(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    fixtures::TempFolder folder{"presets"};
};

TEST_F(PresetsTest, TheBuiltinTable) {
    const auto& presets = media::BuiltinPresets();
    ASSERT_EQ(presets.size(), 36u);
    EXPECT_EQ(presets.front().Name, "libx264-baseline");
    EXPECT_EQ(presets.back().Name, "libx264-veryslow_firstpass");
    EXPECT_EQ(TCustomFFmpeg::FindBuiltinPreset("libx264-medium"),
              "coder=1\nflags=+loop\ncmp=+chroma\npartitions=+parti8x8+parti4x4+partp8x8+partb8x8\n"
              "me_method=hex\nsubq=7\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
              "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=3\ndirectpred=1\ntrellis=1\n"
              "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip\nwpredp=2");
    // replaced lines keep their place, an added "cqp" follows "flags2", absent keys go
    EXPECT_EQ(TCustomFFmpeg::FindBuiltinPreset("libx264-lossless_fast"),
              "coder=0\nflags=+loop\ncmp=+chroma\npartitions=-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8\n"
              "me_method=hex\nsubq=3\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
              "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\ndirectpred=1\nflags2=+fastpskip\ncqp=0\n"
              "wpredp=0");
    EXPECT_EQ(TCustomFFmpeg::FindBuiltinPreset("libx264-ipod640"),
              "coder=0\nbf=0\nrefs=1\nflags2=-wpred-dct8x8\nlevel=30\nmaxrate=10000000\nbufsize="
              "10000000\nwpredp=0");
    const std::string ultrafast = TCustomFFmpeg::FindBuiltinPreset("libx264-lossless_ultrafast");
    EXPECT_EQ(ultrafast.find("wpredp"), std::string::npos);
    EXPECT_EQ(ultrafast.substr(ultrafast.size() - 23), "flags2=+fastpskip\ncqp=0");
    EXPECT_EQ(TCustomFFmpeg::FindBuiltinPreset("LIBX264-HQ"), TCustomFFmpeg::FindBuiltinPreset("libx264-hq"));
    EXPECT_EQ(TCustomFFmpeg::FindBuiltinPreset("hq"), "");
}

TEST_F(PresetsTest, ShortNamesNeedTheCodecName) {
    EXPECT_EQ(Raised([&] { E().SetOption("vpre", "hq"); }), "Preset \"hq\" not found");
    E().SetOption("vcodec", "libx264");
    E().SetOption("vpre", "hq");
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->me_subpel_quality, 8);
    // an audio preset composes with the audio codec name, which is not set
    EXPECT_EQ(Raised([&] { E().SetOption("apre", "hq"); }), "Preset \"hq\" not found");
    // a file preset never looks at the built-in table
    EXPECT_EQ(Raised([&] { E().SetOption("fpre", "libx264-hq"); }), "Preset \"libx264-hq\" not found");
    E().ApplyPreset("", "libx264-hq");
    E().ApplyPreset("vpre", "");
}

TEST_F(PresetsTest, PresetFiles) {
    const std::string good = WriteFile("good.ffpreset", "\r\n  vcodec=mpeg4 \r\ng=99\rbf=2\n\nACODEC=mp2\n");
    E().SetOption("fpre", good);
    EXPECT_EQ(E().Fvideo_codec_name, "mpeg4");
    EXPECT_EQ(E().Faudio_codec_name, "mp2");
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->gop_size, 99);
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->max_b_frames, 2);

    const std::string comment = WriteFile("comment.ffpreset", "g=50\n# a comment\nbf=1\n");
    EXPECT_EQ(Raised([&] { E().SetOption("fpre", comment); }), comment + ": Invalid syntax: \"# a comment\"");
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->gop_size, 50); // lines before the bad one stay applied
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->max_b_frames, 2);

    const std::string noValue = WriteFile("novalue.ffpreset", "g=\n");
    EXPECT_EQ(Raised([&] { E().SetOption("fpre", noValue); }), noValue + ": Invalid syntax: \"g=\"");
    const std::string noKey = WriteFile("nokey.ffpreset", "=5\n");
    EXPECT_EQ(Raised([&] { E().SetOption("fpre", noKey); }), noKey + ": Invalid syntax: \"=5\"");

    const std::string refused = WriteFile("refused.ffpreset", "g=many\n");
    EXPECT_EQ(Raised([&] { E().SetOption("fpre", refused); }),
              refused + ": Invalid option or argument: \"g=many\", parsed as \"g\" = \"many\"");
    const std::string unknown = WriteFile("unknown.ffpreset", "no_such_key=1\n");
    EXPECT_EQ(Raised([&] { E().SetOption("fpre", unknown); }),
              unknown + ": Invalid option or argument: \"no_such_key=1\", parsed as \"no_such_key\" = \"1\"");

    E().SetOption("fpre", WriteFile("empty.ffpreset", ""));

    // A composed name stands in the message when one was composed.
    E().SetOption("vcodec", "libx264");
    const std::string bad = WriteFile("bad.ffpreset", "junk\n");
    EXPECT_EQ(Raised([&] { E().SetOption("vpre", bad); }), "libx264-" + bad + ": Invalid syntax: \"junk\"");
}

TEST_F(PresetsTest, LegacyX264KeysBecomeLibx264Options) {
    using media::TLegacyX264;
    media::TOptionPairs out;
    EXPECT_EQ(
        media::TranslateLegacyX264Option("partitions", "-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8", out),
        TLegacyX264::Translated);
    EXPECT_EQ(out, (media::TOptionPairs{
                       {"partitions", "i4x4,p8x8"}
    }));
    media::TranslateLegacyX264Option("partitions", "-parti8x8-parti4x4", out);
    EXPECT_EQ(out, (media::TOptionPairs{
                       {"partitions", "none"}
    }));
    EXPECT_EQ(media::TranslateLegacyX264Option("partitions", "+i8x8", out), TLegacyX264::Invalid);
    media::TranslateLegacyX264Option("flags2",
                                     "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree+local_header", out);
    EXPECT_EQ(out, (media::TOptionPairs{
                       {"b-pyramid",  "normal"       },
                       {"mixed-refs", "0"            },
                       {"weightb",    "1"            },
                       {"8x8dct",     "0"            },
                       {"fast-pskip", "1"            },
                       {"mbtree",     "0"            },
                       {"flags2",     "+local_header"}
    }));
    EXPECT_EQ(media::TranslateLegacyX264Option("g", "12", out), TLegacyX264::NotLegacy);
    EXPECT_EQ(Raised([&] { E().SetOption("vpre", WriteFile("f2.ffpreset", "flags2=+brdo\n")); }),
              folder.Path("f2.ffpreset") +
                  ": Invalid option or argument: \"flags2=+brdo\", parsed as \"flags2\" = \"+brdo\"");
}

// Opens libx264 with the options recorded by the engine, as the encoder set-up
// does, and encodes one frame.
class X264Open {
public:
    explicit X264Open(const media::TFFOptions& options) {
        const AVCodec* codec = av::avcodec_find_encoder_by_name("libx264");
        if (!codec) throw std::runtime_error("libx264 is missing");
        ctx = av::avcodec_alloc_context3(codec);
        media::ApplyRecordedOptions(options, ctx, options.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                                    AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
        ctx->width = 64;
        ctx->height = 48;
        ctx->pix_fmt = AV_PIX_FMT_YUV420P;
        ctx->time_base = {1, 25};
        std::lock_guard lock(media::CodecLock());
        openResult = av::avcodec_open2(ctx, codec, nullptr);
    }
    ~X264Open() { av::avcodec_free_context(&ctx); }

    int EncodeOneFrame() {
        AVFrame* frame = av::av_frame_alloc();
        frame->format = AV_PIX_FMT_YUV420P;
        frame->width = 64;
        frame->height = 48;
        av::av_frame_get_buffer(frame, 0);
        for (int p = 0; p < 3; ++p)
            for (int y = 0; y < (p ? 24 : 48); ++y)
                memset(frame->data[p] + y * frame->linesize[p], 90 + 40 * p, p ? 32 : 64);
        frame->pts = 0;
        int packets = 0;
        av::avcodec_send_frame(ctx, frame);
        av::avcodec_send_frame(ctx, nullptr);
        AVPacket* pkt = av::av_packet_alloc();
        while (av::avcodec_receive_packet(ctx, pkt) >= 0) {
            packets += pkt->size > 0;
            av::av_packet_unref(pkt);
        }
        av::av_packet_free(&pkt);
        av::av_frame_free(&frame);
        return packets;
    }

    int64_t Int(const char* name) const {
        int64_t v = -999;
        av::av_opt_get_int(ctx, name, AV_OPT_SEARCH_CHILDREN, &v);
        return v;
    }
    std::string Text(const char* name) const {
        uint8_t* v = nullptr;
        av::av_opt_get(ctx, name, AV_OPT_SEARCH_CHILDREN, &v);
        std::string s = v ? reinterpret_cast<char*>(v) : "";
        av::av_free(v);
        return s;
    }

    AVCodecContext* ctx = nullptr;
    int openResult = -1;
};

TEST_F(PresetsTest, EveryBuiltinPresetOpensLibx264) {
    for (const media::TOptionsPreset& preset : media::BuiltinPresets()) {
        SCOPED_TRACE(preset.Name);
        engine = std::make_unique<TCustomFFmpeg>(1);
        engine->Reset();
        log.clear();
        E().SetOption("vpre", preset.Name);
        X264Open x264(E().FOptions);
        EXPECT_EQ(x264.openResult, 0);
        EXPECT_EQ(x264.EncodeOneFrame(), 1);
        for (const LoggedLine& l : log) EXPECT_GT(l.Level, media::llError) << l.Text;
    }
}

TEST_F(PresetsTest, TranslatedKeysReachTheEncoder) {
    E().SetOption("vpre", "libx264-medium");
    X264Open medium(E().FOptions);
    ASSERT_EQ(medium.openResult, 0);
    EXPECT_EQ(medium.Int("coder"), 1);
    EXPECT_EQ(medium.Int("b-pyramid"), 2);
    EXPECT_EQ(medium.Int("8x8dct"), 1);
    EXPECT_EQ(medium.Int("direct-pred"), 1);
    EXPECT_EQ(medium.Text("partitions"), "i4x4,i8x8,p8x8,b8x8");
    EXPECT_EQ(medium.Text("wpredp"), "2");
    EXPECT_EQ(medium.ctx->max_b_frames, 3);
    EXPECT_EQ(medium.ctx->gop_size, 250);

    engine = std::make_unique<TCustomFFmpeg>(1);
    engine->Reset();
    E().SetOption("vpre", "libx264-lossless_ultrafast");
    X264Open lossless(E().FOptions);
    ASSERT_EQ(lossless.openResult, 0);
    EXPECT_EQ(lossless.Int("qp"), 0);
    EXPECT_EQ(lossless.Int("coder"), 0);
    EXPECT_EQ(lossless.Text("partitions"), "none");
}

} // namespace
} // namespace enginetest
