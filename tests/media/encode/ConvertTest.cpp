// Whole conversions through the encoding paths: every encoder and container
// of the format catalogue, volume, the frame limit, crop and scale, hooks.
#include <dlfcn.h>

#include <fstream>
#include <map>

#include "EncodeTestSupport.h"
#include "media/AVProbe.h"

using namespace encodetest;

namespace {

using fixtures::ClipKind;

const std::string& Clip(ClipKind kind) {
    static fixtures::TempFolder folder{"encode_in"};
    static std::map<ClipKind, std::string> paths;
    auto it = paths.find(kind);
    if (it != paths.end()) return it->second;
    fixtures::ClipOptions o;
    o.kind = kind;
    o.seconds = 1.0;
    o.width = 160;
    o.height = 128;
    return paths[kind] = fixtures::MakeClip(folder, o);
}

struct Stream {
    AVMediaType type;
    AVCodecID codec;
    uint32_t tag;
    int width, height, sample_rate, channels;
};
struct Output {
    double duration = -1;
    std::vector<Stream> streams;
};

Output ReadBack(const std::string& path) {
    Output out;
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return out;
    av::avformat_find_stream_info(ic, nullptr);
    out.duration = ic->duration == AV_NOPTS_VALUE ? -1 : ic->duration / 1e6;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVCodecParameters* p = ic->streams[i]->codecpar;
        out.streams.push_back({p->codec_type, p->codec_id, p->codec_tag, p->width, p->height, p->sample_rate,
                               p->ch_layout.nb_channels});
    }
    av::avformat_close_input(&ic);
    return out;
}

class ConvertTest : public enginetest::EngineTest {
protected:
    // Converts the input with the options into the named file; the run's
    // failure text, or "" when it finished.
    std::string Convert(const std::string& input,
                        const std::vector<std::pair<std::string, std::string>>& options,
                        const std::string& output) {
        if (!E().OpenInputFile(input)) return E().FLastErrMsg;
        for (const auto& [name, value] : options) E().SetOption(name, value);
        if (E().OpenOutputFile(output, false) <= 0) return E().FLastErrMsg;
        try {
            E().Transcode();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }
    fixtures::TempFolder folder{"encode_out"};
};

struct Pair {
    const char* file;
    const char* vcodec; // "" for audio only
    const char* vtag;
    const char* acodec;
    AVCodecID video, audio;
    int rate, channels;
};

TEST_F(ConvertTest, EveryCatalogueEncoderAndContainerConverts) {
    const Pair pairs[] = {
        {"xvid.avi",    "mpeg4",      "XVID", "libmp3lame",        AV_CODEC_ID_MPEG4,      AV_CODEC_ID_MP3,       44100, 2},
        {"dx50.avi",    "mpeg4",      "DX50", "libmp3lame",        AV_CODEC_ID_MPEG4,      AV_CODEC_ID_MP3,       44100, 2},
        {"libxvid.avi", "libxvid",    "",     "libmp3lame",        AV_CODEC_ID_MPEG4,      AV_CODEC_ID_MP3,       44100, 2},
        {"h264.mp4",    "libx264",    "",     "libfaac",           AV_CODEC_ID_H264,       AV_CODEC_ID_AAC,       44100, 2},
        {"mpeg1.mpg",   "mpeg1video", "",     "mp2",               AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP2,       44100, 2},
        {"mpeg2.vob",   "mpeg2video", "",     "ac3",               AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_AC3,       48000, 2},
        {"msmpeg4.avi", "msmpeg4",    "",     "libmp3lame",        AV_CODEC_ID_MSMPEG4V3,  AV_CODEC_ID_MP3,       44100, 2},
        {"wmv2.wmv",    "wmv2",       "",     "wmav2",             AV_CODEC_ID_WMV2,       AV_CODEC_ID_WMAV2,     44100, 2},
        {"rv20.rm",     "rv20",       "",     "ac3",               AV_CODEC_ID_RV20,       AV_CODEC_ID_AC3,       44100, 2},
        {"flv.flv",     "flv",        "",     "libmp3lame",        AV_CODEC_ID_FLV1,       AV_CODEC_ID_MP3,       22050, 2},
        {"flv.swf",     "flv",        "",     "libmp3lame",        AV_CODEC_ID_FLV1,       AV_CODEC_ID_MP3,       22050, 2},
        {"audio.mp3",   "",           "",     "libmp3lame",        AV_CODEC_ID_NONE,       AV_CODEC_ID_MP3,       44100, 2},
        {"audio.m4a",   "",           "",     "libfaac",           AV_CODEC_ID_NONE,       AV_CODEC_ID_AAC,       44100, 1},
        {"audio.wma",   "",           "",     "wmav2",             AV_CODEC_ID_NONE,       AV_CODEC_ID_WMAV2,     44100, 2},
        {"audio.ac3",   "",           "",     "ac3",               AV_CODEC_ID_NONE,       AV_CODEC_ID_AC3,       48000, 2},
        {"audio.flac",  "",           "",     "flac",              AV_CODEC_ID_NONE,       AV_CODEC_ID_FLAC,      44100, 2},
        {"audio.ogg",   "",           "",     "libvorbis",         AV_CODEC_ID_NONE,       AV_CODEC_ID_VORBIS,    44100, 2},
        {"audio.amr",   "",           "",     "libopencore_amrnb", AV_CODEC_ID_NONE,       AV_CODEC_ID_AMR_NB,    8000,  1},
        {"audio.wav",   "",           "",     "pcm_s16le",         AV_CODEC_ID_NONE,       AV_CODEC_ID_PCM_S16LE, 22050, 2},
        {"audio.aiff",  "",           "",     "pcm_s16be",         AV_CODEC_ID_NONE,       AV_CODEC_ID_PCM_S16BE, 44100, 1},
        {"audio.mp2",   "",           "",     "mp2",               AV_CODEC_ID_NONE,       AV_CODEC_ID_MP2,       32000, 2},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.file);
        E().Reset();
        std::vector<std::pair<std::string, std::string>> options = {
            {"acodec", p.acodec                  },
            {"ar",     std::to_string(p.rate)    },
            {"ac",     std::to_string(p.channels)}
        };
        if (*p.vcodec) {
            options.insert(options.end(), {
                                              {"vcodec", p.vcodec },
                                              {"s",      "176x144"}
            });
            if (*p.vtag) options.push_back({"vtag", p.vtag});
        } else {
            options.push_back({"vn", "1"});
        }
        if (std::string(p.file).ends_with(".swf")) options.push_back({"f", "swf"});
        if (std::string(p.acodec) == "libopencore_amrnb") options.push_back({"ab", "12200"});
        const std::string out = folder.Path(p.file);
        ASSERT_EQ(Convert(Clip(ClipKind::Mp4), options, out), "");
        const Output o = ReadBack(out);
        ASSERT_EQ(o.streams.size(), *p.vcodec ? 2u : 1u);
        for (const Stream& s : o.streams) {
            if (s.type == AVMEDIA_TYPE_VIDEO) {
                EXPECT_EQ(s.codec, p.video);
                EXPECT_EQ(s.width, 176);
                EXPECT_EQ(s.height, 144);
                if (*p.vtag) {
                    EXPECT_EQ(s.tag, MKTAG(p.vtag[0], p.vtag[1], p.vtag[2], p.vtag[3]));
                }
            } else {
                EXPECT_EQ(s.codec, p.audio);
                EXPECT_EQ(s.sample_rate, p.rate);
                EXPECT_EQ(s.channels, p.channels);
            }
        }
        // The swf demuxer reports no duration at all.
        if (!std::string(p.file).ends_with(".swf")) {
            EXPECT_NEAR(o.duration, 1.0, 0.1);
        }
    }
}

// The largest sample value of a 16-bit WAV file.
int Peak(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int peak = 0;
    for (size_t i = 44; i + 1 < bytes.size(); i += 2)
        peak =
            std::max(peak, static_cast<int>(static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                                 (static_cast<uint8_t>(bytes[i + 1]) << 8))));
    return peak;
}

TEST_F(ConvertTest, VolumeScalesAndClips) {
    // The tone's peak is 16383: twice that still fits, four times clips.
    ASSERT_EQ(Convert(Clip(ClipKind::Wav),
                      {
                          {"vol", "512"}
    },
                      folder.Path("v512.wav")),
              "");
    EXPECT_EQ(Peak(folder.Path("v512.wav")), 32766);
    E().Reset();
    ASSERT_EQ(Convert(Clip(ClipKind::Wav),
                      {
                          {"vol", "1024"}
    },
                      folder.Path("v1024.wav")),
              "");
    EXPECT_EQ(Peak(folder.Path("v1024.wav")), 32767);
}

TEST_F(ConvertTest, FrameLimitAndCropScaleShapeTheVideo) {
    ASSERT_EQ(Convert(Clip(ClipKind::Mp4),
                      {
                          {"vcodec",  "mpeg4"},
                          {"vframes", "10"   },
                          {"an",      "1"    }
    },
                      folder.Path("ten.avi")),
              "");
    EXPECT_EQ(fixtures::DecodeFrameNumbers(folder.Path("ten.avi")).size(), 10u);

    E().Reset();
    ASSERT_EQ(
        Convert(
            Clip(ClipKind::Mp4),
            {
                {"vcodec",     "mpeg4"},
                {"croptop",    "16"   },
                {"cropbottom", "16"   },
                {"s",          "80x48"},
                {"an",         "1"    }
    },
            folder.Path("crop.avi")),
        "");
    const Output o = ReadBack(folder.Path("crop.avi"));
    ASSERT_EQ(o.streams.size(), 1u);
    EXPECT_EQ(o.streams[0].width, 80);
    EXPECT_EQ(o.streams[0].height, 48);

    // The same through the filter graph, with a filter of the user's.
    E().Reset();
    ASSERT_EQ(Convert(Clip(ClipKind::Mp4),
                      {
                          {"vcodec", "mpeg4"},
                          {"s",      "80x64"},
                          {"vf",     "hflip"},
                          {"an",     "1"    }
    },
                      folder.Path("filtered.avi")),
              "");
    EXPECT_EQ(ReadBack(folder.Path("filtered.avi")).streams[0].width, 80);
}

TEST_F(ConvertTest, HooksSeeEveryPictureAndChangeIt) {
    int hooked = 0;
    E().FOnCustomHook = [&](os::TObject*, media::TFrameBitmap* bmp, int32_t, int64_t, bool&, bool&) {
        ++hooked;
        for (int y = 0; y < bmp->Height(); ++y)
            for (int x = 0; x < bmp->Width() * 3; ++x) bmp->ScanLine(y)[x] ^= 0xFF;
    };
    ASSERT_EQ(Convert(Clip(ClipKind::Mp4),
                      {
                          {"vcodec", "mpeg4"},
                          {"qscale", "2"    },
                          {"an",     "1"    }
    },
                      folder.Path("inverted.avi")),
              "");
    EXPECT_EQ(hooked, 25);
    // The frame numbers are white and black blocks: inverted, frame i reads 4095 - i.
    const std::vector<int> numbers = fixtures::DecodeFrameNumbers(folder.Path("inverted.avi"));
    ASSERT_EQ(numbers.size(), 25u);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(numbers[static_cast<size_t>(i)], 4095 - i);

    E().Reset();
    E().FOnCustomHook = nullptr;
    void* h = dlopen(TARVIK_TEST_VHOOK, RTLD_NOW);
    int& calls = *static_cast<int*>(dlsym(h, "vhook_process_calls"));
    calls = 0;
    ASSERT_EQ(Convert(Clip(ClipKind::Mp4),
                      {
                          {"vhook",  TARVIK_TEST_VHOOK},
                          {"vcodec", "mpeg4"          },
                          {"an",     "1"              }
    },
                      folder.Path("vhook.avi")),
              "");
    EXPECT_EQ(calls, 25);
    dlclose(h);
}

} // namespace
