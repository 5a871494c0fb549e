// The audio path with sources that are not shaped like the fixture maker's
// own: other encoders' frame sizes and rates, layouts that change in the
// middle, and the muxers' handling of encoder delay.
#include <cmath>
#include <map>

#include "ConversionSupport.h"
#include "GranuleClips.h"

namespace {

using namespace convsupport;
using fixtures::ClipKind;

fixtures::TempFolder& ClipFolder() {
    static fixtures::TempFolder folder{"audioclips"};
    return folder;
}

std::string MakeClip(const fixtures::ClipOptions& o, const std::string& name) {
    static std::map<std::string, std::string> paths;
    auto it = paths.find(name);
    if (it != paths.end()) return it->second;
    return paths[name] = fixtures::MakeClip(ClipFolder(), o, name);
}

fixtures::ClipOptions Small(ClipKind kind, const std::string& video, const std::string& audio,
                            int rate = 44100, int channels = 2) {
    fixtures::ClipOptions o;
    o.kind = kind;
    o.width = 160;
    o.height = 120;
    o.videoCodec = video;
    o.audioCodec = audio;
    o.sampleRate = rate;
    o.channels = channels;
    return o;
}

// An audio-only elementary stream of `seconds` in the given format.
fixtures::ClipOptions Elementary(const std::string& format, const std::string& codec, int channels,
                                 double seconds) {
    fixtures::ClipOptions o;
    o.kind = ClipKind::Wav;
    o.format = format;
    o.audioCodec = codec;
    o.channels = channels;
    o.seconds = seconds;
    return o;
}

// Two elementary streams one after the other in one file, as joined
// recordings and broadcasts that change their layout give.
std::string Joined(const std::string& a, const std::string& b, const std::string& name) {
    const std::string path = ClipFolder().Path(name);
    WriteBytes(path, FileBytes(a) + FileBytes(b));
    return path;
}

struct DecodedAudio {
    int rate = 0, channels = 0;
    std::vector<float> first; // the first channel
};

DecodedAudio DecodeAudio(const std::string& path) {
    DecodedAudio out;
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return out;
    av::avformat_find_stream_info(ic, nullptr);
    const int index = av::av_find_best_stream(ic, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    const AVCodec* codec =
        index >= 0 ? av::avcodec_find_decoder(ic->streams[index]->codecpar->codec_id) : nullptr;
    AVCodecContext* dec = codec ? av::avcodec_alloc_context3(codec) : nullptr;
    AVPacket* pkt = av::av_packet_alloc();
    AVFrame* frame = av::av_frame_alloc();
    if (dec && av::avcodec_parameters_to_context(dec, ic->streams[index]->codecpar) >= 0 &&
        av::avcodec_open2(dec, codec, nullptr) >= 0) {
        out.rate = dec->sample_rate;
        out.channels = dec->ch_layout.nb_channels;
        auto drain = [&] {
            while (av::avcodec_receive_frame(dec, frame) == 0) {
                const auto fmt = static_cast<AVSampleFormat>(frame->format);
                const bool planar = av::av_sample_fmt_is_planar(fmt);
                const int step = planar ? 1 : frame->ch_layout.nb_channels;
                for (int i = 0; i < frame->nb_samples; ++i) {
                    const uint8_t* p = frame->data[0];
                    float v = 0;
                    switch (av::av_get_packed_sample_fmt(fmt)) {
                    case AV_SAMPLE_FMT_S16:
                        v = reinterpret_cast<const int16_t*>(p)[i * step] / 32768.0f;
                        break;
                    case AV_SAMPLE_FMT_S32:
                        v = static_cast<float>(reinterpret_cast<const int32_t*>(p)[i * step] / 2147483648.0);
                        break;
                    case AV_SAMPLE_FMT_FLT:
                        v = reinterpret_cast<const float*>(p)[i * step];
                        break;
                    default:
                        break;
                    }
                    out.first.push_back(v);
                }
                av::av_frame_unref(frame);
            }
        };
        while (av::av_read_frame(ic, pkt) >= 0) {
            if (pkt->stream_index == index) av::avcodec_send_packet(dec, pkt);
            av::av_packet_unref(pkt);
            drain();
        }
        av::avcodec_send_packet(dec, nullptr);
        drain();
    }
    av::av_frame_free(&frame);
    av::av_packet_free(&pkt);
    av::avcodec_free_context(&dec);
    av::avformat_close_input(&ic);
    return out;
}

// The share of a stretch of samples that is not the fixtures' 1 kHz tone
// (0 for the pure tone, near 1 for noise or a wrong channel order), and the
// tone's amplitude.
struct ToneFit {
    double residual, amplitude;
};
ToneFit FitTone(const std::vector<float>& x, size_t from, size_t count, int rate) {
    double s = 0, c = 0;
    for (size_t i = 0; i < count; ++i) {
        const double w = 2 * M_PI * 1000.0 * static_cast<double>(i) / rate;
        s += x[from + i] * std::sin(w);
        c += x[from + i] * std::cos(w);
    }
    s *= 2.0 / static_cast<double>(count);
    c *= 2.0 / static_cast<double>(count);
    double rest = 0, total = 0;
    for (size_t i = 0; i < count; ++i) {
        const double w = 2 * M_PI * 1000.0 * static_cast<double>(i) / rate;
        const double e = x[from + i] - s * std::sin(w) - c * std::cos(w);
        rest += e * e;
        total += static_cast<double>(x[from + i]) * x[from + i];
    }
    return {total > 0 ? rest / total : 1.0, std::sqrt(s * s + c * c)};
}

class AudioPathTest : public ConversionTest {};

TEST_F(AudioPathTest, AviWithMp3KeepsEveryPictureOnItsSourceFrame) {
    const std::string in = MakeClip(Small(ClipKind::Mp4, "", ""), "timing.mp4");
    for (int key : {0, 2, 4}) {
        SCOPED_TRACE(key);
        const std::string out = Out("timing" + std::to_string(key) + ".avi");
        ASSERT_EQ(Convert({in}, CatalogueOptions(key), out), "");
        const std::vector<fixtures::DecodedFrame> frames = fixtures::DecodeFrames(out);
        ASSERT_EQ(frames.size(), 50u);
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].number, static_cast<int>(i));
            EXPECT_EQ(frames[i].frameTime, static_cast<int64_t>(i)) << "picture " << i;
        }
    }
}

TEST_F(AudioPathTest, OtherProgramsClipsConvertToAviWithMp3) {
    auto theora = [](int rate, int channels, const char* format) {
        fixtures::ClipOptions o = Small(ClipKind::Mkv, "libtheora", "libvorbis", rate, channels);
        o.format = format;
        return o;
    };
    // Vorbis switches block sizes on the tone's bursts, so its packets vary
    // in length; some muxers stamp them at their ends.
    // clang-format off
    const struct {
        const char* name;
        fixtures::ClipOptions options;
        bool stampedAtEnds;
    } sources[] = {
        {"theora_vorbis.mkv",   theora(44100, 2, ""),                        true },
        {"theora_vorbis48.mkv", theora(48000, 1, ""),                        true },
        {"theora_vorbis.ogg",   theora(22050, 2, "ogg"),                     false},
        {"h264_ac3.mkv",        Small(ClipKind::Mkv, "", "ac3", 48000, 6),   false},
        {"mpeg4_aac32.mp4",     Small(ClipKind::Mp4, "mpeg4", "aac", 32000), false},
    };
    // clang-format on
    for (const auto& s : sources) {
        fixtures::ClipOptions o = s.options;
        o.seconds = 6.0;
        o.toneBursts = true;
        std::string in = MakeClip(o, std::string("made_") + s.name);
        if (s.stampedAtEnds) in = fixtures::WithAudioStampedAtPacketEnds(ClipFolder(), in, s.name);
        for (int key : {0, 2, 4}) {
            SCOPED_TRACE(std::string(s.name) + " key " + std::to_string(key));
            const std::string out = Out("other" + std::to_string(key) + ".avi");
            ASSERT_EQ(Convert({in}, CatalogueOptions(key), out), "");
            const std::vector<StreamPackets> streams = ReadPackets(out);
            const StreamPackets* audio = FirstOfType(streams, AVMEDIA_TYPE_AUDIO);
            ASSERT_NE(audio, nullptr);
            EXPECT_EQ(audio->codec, AV_CODEC_ID_MP3);
            EXPECT_EQ(audio->sampleRate, 44100);
            // 6 s of audio, 1152 samples a packet.
            EXPECT_NEAR(static_cast<double>(audio->pts.size()), 6.0 * 44100 / 1152, 3);
            EXPECT_EQ(fixtures::DecodeFrameNumbers(out).size(), 150u);
        }
    }
}

TEST_F(AudioPathTest, ALayoutOrRateChangeMidStreamKeepsTheTone) {
    auto part = [](const std::string& format, const std::string& codec, int channels, const std::string& name,
                   int rate = 44100) {
        fixtures::ClipOptions o = Elementary(format, codec, channels, 1.0);
        o.sampleRate = rate;
        return MakeClip(o, name);
    };
    const std::string ac3_51 = part("ac3", "ac3", 6, "51.ac3"), ac3_20 = part("ac3", "ac3", 2, "20.ac3");
    const std::string mp3_2 = part("mp3", "libmp3lame", 2, "stereo.mp3"),
                      mp3_1 = part("mp3", "libmp3lame", 1, "mono.mp3"),
                      mp3_48 = part("mp3", "libmp3lame", 2, "stereo48.mp3", 48000);
    const struct {
        std::string input;
        const char* channels;
    } cases[] = {
        {Joined(ac3_51, ac3_20, "51to20.ac3"),      "2"},
        {Joined(ac3_20, ac3_51, "20to51.ac3"),      "2"},
        {Joined(ac3_20, ac3_51, "20to51.ac3"),      "6"},
        {Joined(ac3_51, ac3_20, "51to20.ac3"),      "1"},
        {Joined(mp3_2,  mp3_1,  "stereo_mono.mp3"), "2"},
        {Joined(mp3_1,  mp3_2,  "mono_stereo.mp3"), "1"},
        {Joined(mp3_2,  mp3_48, "44to48.mp3"),      "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + " to " + c.channels + " channels");
        const std::string out = Out("layout.wav");
        ASSERT_EQ(Convert(
                      {
                          c.input
        },
                      {{"ac", c.channels}, {"ar", "44100"}}, out),
                  "");
        const DecodedAudio audio = DecodeAudio(out);
        ASSERT_EQ(audio.rate, 44100);
        EXPECT_EQ(audio.channels, std::stoi(c.channels));
        EXPECT_NEAR(static_cast<double>(audio.first.size()) / audio.rate, 2.0, 0.15);
        // Every stretch is the tone, but for the change itself and the
        // encoders' delay and padding at both ends.
        const size_t window = 1024, junction = static_cast<size_t>(audio.rate);
        for (size_t from = window * 4; from + window * 5 < audio.first.size(); from += window) {
            if (from + window * 5 > junction && from < junction + window * 4) continue;
            const ToneFit fit = FitTone(audio.first, from, window, audio.rate);
            EXPECT_LT(fit.residual, 0.05) << "at sample " << from;
            EXPECT_GT(fit.amplitude, 0.1) << "at sample " << from;
        }
    }
}

} // namespace
