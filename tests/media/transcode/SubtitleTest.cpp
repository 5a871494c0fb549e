// Sources with subtitles, through the catalogue's formats and through the
// subtitle encoders named by option.
#include <map>

#include "ConversionSupport.h"
#include "SubtitleClips.h"

namespace {

using namespace convsupport;
using fixtures::ClipKind;

// A 2 s 160x120 clip of the kind with a subtitle stream by the encoder.
const std::string& SubtitledClip(ClipKind kind, const std::string& encoder) {
    static fixtures::TempFolder folder{"subclips"};
    static std::map<std::string, std::string> paths;
    const std::string name = "sub_" + encoder + fixtures::ClipExtension(kind);
    auto it = paths.find(name);
    if (it != paths.end()) return it->second;
    fixtures::ClipOptions o;
    o.kind = kind;
    o.width = 160;
    o.height = 120;
    const std::string plain = fixtures::MakeClip(folder, o, "plain_" + name);
    return paths[name] = fixtures::AddSubtitleTrack(folder, plain, encoder, name);
}

class SubtitleTest : public ConversionTest {
protected:
    // The subtitle stream of the output carries every event of the source's
    // at its time from the start of the file (MPEG-PS files start late).
    void ExpectEvents(const std::string& source, const std::string& output, AVCodecID codec) {
        const std::vector<StreamPackets> streams = ReadPackets(output);
        ASSERT_NE(FirstOfType(streams, AVMEDIA_TYPE_VIDEO), nullptr);
        ASSERT_NE(FirstOfType(streams, AVMEDIA_TYPE_AUDIO), nullptr);
        const StreamPackets* sub = FirstOfType(streams, AVMEDIA_TYPE_SUBTITLE);
        if (codec == AV_CODEC_ID_NONE) {
            EXPECT_EQ(sub, nullptr);
            return;
        }
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->codec, codec) << av::avcodec_get_name(sub->codec);
        const std::vector<double> got = SubtitleTimes(streams);
        const std::vector<double> want = SubtitleTimes(ReadPackets(source));
        EXPECT_EQ(got.size(), want.size());
        EXPECT_EQ(got.size(), fixtures::SubtitleEvents().size());
        for (double t : got)
            EXPECT_TRUE(
                std::any_of(want.begin(), want.end(), [t](double w) { return std::abs(t - w) < 0.05; }))
                << "an event at " << t << " s";
    }

    static std::vector<double> SubtitleTimes(const std::vector<StreamPackets>& streams) {
        double start = 1e9;
        for (const StreamPackets& st : streams)
            for (double t : st.pts)
                if (t > -1e8) start = std::min(start, t);
        std::vector<double> times;
        // MP4 text fills the gaps with empty events (two bytes).
        if (const StreamPackets* sub = FirstOfType(streams, AVMEDIA_TYPE_SUBTITLE))
            for (size_t i = 0; i < sub->pts.size(); ++i)
                if (sub->sizes[i] > 2) times.push_back(sub->pts[i] - start);
        return times;
    }
};

TEST_F(SubtitleTest, NamedSubtitleEncodersOpenAndWriteEveryEvent) {
    const struct {
        const char* encoder;
        const char* output;
        AVCodecID codec;
    } cases[] = {
        {"subrip",   "named.mkv", AV_CODEC_ID_SUBRIP  },
        {"ass",      "named.mkv", AV_CODEC_ID_ASS     },
        {"mov_text", "named.mp4", AV_CODEC_ID_MOV_TEXT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoder);
        const std::string out = Out(c.output);
        const std::string& in = SubtitledClip(ClipKind::Mkv, "subrip");
        EXPECT_EQ(Convert(
                      {
                          in
        },
                      {{"vcodec", "mpeg4"}, {"scodec", c.encoder}}, out),
                  "");
        ExpectEvents(in, out, c.codec);
    }
}

TEST_F(SubtitleTest, ASubtitledMkvConvertsInEveryMkvFormat) {
    // Text subtitles become the container's text format; bitmap subtitles
    // are copied, as Matroska takes them.
    const struct {
        const char* encoder;
        AVCodecID codec;
    } sources[] = {
        {"subrip", AV_CODEC_ID_ASS         },
        {"dvdsub", AV_CODEC_ID_DVD_SUBTITLE},
    };
    for (const auto& s : sources) {
        for (int key : {5, 209, 1600, 1601, 1602, 1603, 1604, 1605, 1606, 2606}) {
            SCOPED_TRACE(std::string(s.encoder) + " key " + std::to_string(key));
            const std::string out = Out("key" + CatalogueExtension(key));
            const std::string& in = SubtitledClip(ClipKind::Mkv, s.encoder);
            EXPECT_EQ(Convert({in}, CatalogueOptions(key), out), "");
            ExpectEvents(in, out, s.codec);
        }
    }
}

TEST_F(SubtitleTest, SubtitledSourcesOfOtherKindsConvert) {
    const struct {
        ClipKind kind;
        const char* encoder;
        int key;
        AVCodecID codec; // none: the output has no subtitle stream
        const char* logged;
    } cases[] = {
        {ClipKind::Mkv, "ass",      1600, AV_CODEC_ID_ASS,          nullptr                      },
        {ClipKind::Mp4, "mov_text", 1600, AV_CODEC_ID_ASS,          nullptr                      },
        {ClipKind::Mp4, "mov_text", 0,    AV_CODEC_ID_NONE,         nullptr                      },
        {ClipKind::Mp4, "mov_text", 1,    AV_CODEC_ID_NONE,         nullptr                      },
        {ClipKind::Mpg, "dvdsub",   1600, AV_CODEC_ID_DVD_SUBTITLE, nullptr                      },
        {ClipKind::Mpg, "dvdsub",   7,    AV_CODEC_ID_NONE,         nullptr                      },
        {ClipKind::Avi, "xsub",     1600, AV_CODEC_ID_NONE,         "Subtitle stream #0.2 (xsub)"},
        {ClipKind::Avi, "xsub",     0,    AV_CODEC_ID_NONE,         nullptr                      },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.encoder) + " key " + std::to_string(c.key));
        log.clear();
        const std::string out = Out("other" + CatalogueExtension(c.key));
        const std::string& in = SubtitledClip(c.kind, c.encoder);
        EXPECT_EQ(Convert({in}, CatalogueOptions(c.key), out), "");
        ExpectEvents(in, out, c.codec);
        if (c.logged) {
            EXPECT_TRUE(Logged(media::llWarning, c.logged));
        }
    }
}

} // namespace
