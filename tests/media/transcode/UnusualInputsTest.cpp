// Conversions of inputs and options off the common path: cover pictures,
// sources beyond 8-bit 4:2:0, MJPEG, stream sync maps, bitstream filters,
// audio containers, filtered aspect ratios, image names, packed audio
// packets and an output start time with a frame hook.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>

#include "../engine/EngineTestSupport.h"
#include "media/AVApi.h"
#include "media/CodecThreads.h"

namespace {

using fixtures::ClipKind;
using Options = std::vector<std::pair<std::string, std::string>>;

fixtures::TempFolder& InputFolder() {
    static fixtures::TempFolder folder{"unusual_in"};
    return folder;
}

// Clips made once per test program, by name.
const std::string& Clip(const std::string& name) {
    static std::map<std::string, std::string> paths;
    auto it = paths.find(name);
    if (it != paths.end()) return it->second;
    fixtures::ClipOptions o;
    o.kind = ClipKind::Mp4;
    o.seconds = 1.0;
    o.width = 160;
    o.height = 120;
    // Covers larger than the film, so that no rule of size picks them.
    if (name == "cover_mp4" || name == "cover_audio_mp4") o.coverWidth = 320, o.coverHeight = 240;
    if (name == "cover_audio_mp4") o.video = false;
    if (name == "cover_mkv") o.kind = ClipKind::Mkv, o.coverWidth = 320, o.coverHeight = 240;
    if (name.rfind("yuv", 0) == 0) o.kind = ClipKind::Mkv, o.pixelFormat = name, o.audio = false;
    if (name == "video_only") o.audio = false;
    if (name == "mjpeg") o.kind = ClipKind::Avi, o.videoCodec = "mjpeg", o.pixelFormat = "yuvj420p";
    if (name == "avi") o.kind = ClipKind::Avi;
    if (name == "mp2") o.kind = ClipKind::Mkv, o.video = false, o.audioCodec = "mp2";
    if (name == "bframes") o.maxBFrames = 2;
    if (name == "bframes_avi") o.kind = ClipKind::Avi, o.maxBFrames = 2;
    return paths[name] = fixtures::MakeClip(InputFolder(), o, name + fixtures::ClipExtension(o.kind));
}

// Copies every stream of a file into another file of the named container,
// letting the caller change each packet (its index among the packets of its
// stream is given) or hold it back to join it with the next one of its
// stream (edit returns false).
using PacketEdit = std::function<bool(AVPacket* pkt, int n)>;
std::string Remux(const std::string& input, const std::string& name, const char* format,
                  const PacketEdit& edit) {
    const std::string path = InputFolder().Path(name);
    AVFormatContext* ic = nullptr;
    AVFormatContext* oc = nullptr;
    AVPacket* pkt = av::av_packet_alloc();
    std::vector<AVPacket*> held;
    std::vector<int> count;
    bool ok = av::avformat_open_input(&ic, input.c_str(), nullptr, nullptr) >= 0 &&
              av::avformat_find_stream_info(ic, nullptr) >= 0 &&
              av::avformat_alloc_output_context2(&oc, nullptr, format, path.c_str()) >= 0;
    for (unsigned i = 0; ok && i < ic->nb_streams; ++i) {
        AVStream* st = av::avformat_new_stream(oc, nullptr);
        ok = st && av::avcodec_parameters_copy(st->codecpar, ic->streams[i]->codecpar) >= 0;
        if (ok) st->codecpar->codec_tag = 0, st->time_base = ic->streams[i]->time_base;
        held.push_back(nullptr);
        count.push_back(0);
    }
    ok = ok && av::avio_open(&oc->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 &&
         av::avformat_write_header(oc, nullptr) >= 0;
    while (ok && av::av_read_frame(ic, pkt) >= 0) {
        const int s = pkt->stream_index;
        av::av_packet_rescale_ts(pkt, ic->streams[s]->time_base, oc->streams[s]->time_base);
        if (AVPacket*& first = held[static_cast<size_t>(s)]) {
            // Joined: the first packet's times, both packets' bytes.
            const int size = first->size;
            ok = av::av_grow_packet(first, pkt->size) >= 0;
            if (ok) std::memcpy(first->data + size, pkt->data, static_cast<size_t>(pkt->size));
            first->duration += pkt->duration;
            av::av_packet_unref(pkt);
            av::av_packet_move_ref(pkt, first);
            av::av_packet_free(&first);
        } else if (!edit(pkt, count[static_cast<size_t>(s)]++)) {
            first = av::av_packet_clone(pkt);
            av::av_packet_unref(pkt);
            continue;
        }
        ok = ok && av::av_interleaved_write_frame(oc, pkt) >= 0;
        av::av_packet_unref(pkt);
    }
    for (AVPacket*& p : held) {
        if (p && ok) ok = av::av_interleaved_write_frame(oc, p) >= 0;
        av::av_packet_free(&p);
    }
    ok = ok && av::av_write_trailer(oc) >= 0;
    av::av_packet_free(&pkt);
    if (oc) av::avio_closep(&oc->pb);
    av::avformat_free_context(oc);
    av::avformat_close_input(&ic);
    if (!ok) throw std::runtime_error("remux " + path);
    return path;
}

// The packets of the file's first stream of the type.
std::vector<std::vector<uint8_t>> PacketsOf(const std::string& path, AVMediaType type) {
    std::vector<std::vector<uint8_t>> packets;
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return packets;
    const int index = av::av_find_best_stream(ic, type, -1, -1, nullptr, 0);
    AVPacket* pkt = av::av_packet_alloc();
    while (index >= 0 && av::av_read_frame(ic, pkt) >= 0) {
        if (pkt->stream_index == index) packets.emplace_back(pkt->data, pkt->data + pkt->size);
        av::av_packet_unref(pkt);
    }
    av::av_packet_free(&pkt);
    av::avformat_close_input(&ic);
    return packets;
}

struct StreamInfo {
    AVMediaType type;
    AVCodecID codec;
    int width, height, format, profile;
    AVRational sar;
    bool attached;
};

std::vector<StreamInfo> ReadStreams(const std::string& path) {
    std::vector<StreamInfo> out;
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return out;
    av::avformat_find_stream_info(ic, nullptr);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVStream* st = ic->streams[i];
        const AVCodecParameters* p = st->codecpar;
        out.push_back({p->codec_type, p->codec_id, p->width, p->height, p->format, p->profile,
                       st->sample_aspect_ratio.num ? st->sample_aspect_ratio : p->sample_aspect_ratio,
                       (st->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0});
    }
    av::avformat_close_input(&ic);
    return out;
}

std::vector<AVMediaType> Types(const std::vector<StreamInfo>& streams) {
    std::vector<AVMediaType> types;
    for (const StreamInfo& s : streams) types.push_back(s.type);
    return types;
}

std::vector<int> Numbers(int from, int to) {
    std::vector<int> v;
    for (int i = from; i < to; ++i) v.push_back(i);
    return v;
}

class UnusualInputsTest : public enginetest::EngineTest {
protected:
    // Opens the input, sets the options, opens the output and runs; the
    // failure text, or "" when the run finished.
    // The input must come out of it byte for byte as it was.
    std::string Convert(const std::string& input, const Options& options, const std::string& output) {
        const std::string before = Contents(input);
        std::string error = Run(input, options, output);
        E().CleanUp();
        EXPECT_EQ(Contents(input), before) << input;
        return error;
    }
    std::string Run(const std::string& input, const Options& options, const std::string& output) {
        if (!E().OpenInputFile(input)) return E().FLastErrMsg;
        for (const auto& [name, value] : options) E().SetOption(name, value);
        if (E().OpenOutputFile(output, false) <= 0) return E().FLastErrMsg;
        std::string error = Raised([&] { E().Transcode(); });
        if (error.empty() && !E().Finished()) error = "not finished";
        return error;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string Out(const std::string& name) const { return temp.Path(name); }
    fixtures::TempFolder temp{"unusual_out"};
};

// ---- cover pictures ----

struct CoverCase {
    const char* clip;
    const char* output;
    std::vector<AVMediaType> types; // of the output, in order
};

TEST_F(UnusualInputsTest, ACoverPictureIsNeverTheFilmNorItsRateOrSize) {
    const CoverCase cases[] = {
        {"cover_mp4",       "cover_mp4.avi",   {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
        {"cover_mkv",       "cover_mkv.avi",   {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
        {"cover_audio_mp4", "cover_audio.mp4", {AVMEDIA_TYPE_AUDIO}                    },
    };
    for (const CoverCase& c : cases) {
        SCOPED_TRACE(c.clip);
        E().Reset();
        ASSERT_TRUE(E().OpenInputFile(Clip(c.clip))) << E().FLastErrMsg;
        // The input really holds the cover as a picture stream of its own.
        bool has_cover = false;
        const AVFormatContext* ic = E().Finput_files[0];
        for (unsigned i = 0; i < ic->nb_streams; ++i)
            has_cover = has_cover || (ic->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC);
        ASSERT_TRUE(has_cover);
        if (c.types.size() == 2) {
            EXPECT_EQ(E().Fframe_width, 160);
            EXPECT_EQ(E().Fframe_height, 120);
            EXPECT_EQ(E().Fframe_rate.num, 25);
            EXPECT_EQ(E().Fframe_rate.den, 1);
        }
        E().Reset();
        const std::string out = Out(c.output);
        ASSERT_EQ(Convert(Clip(c.clip), {}, out), "");
        const std::vector<StreamInfo> streams = ReadStreams(out);
        EXPECT_EQ(Types(streams), c.types);
        if (c.types.size() == 2) {
            EXPECT_EQ(streams[0].width, 160);
            EXPECT_EQ(streams[0].height, 120);
            EXPECT_EQ(fixtures::DecodeFrameNumbers(out), Numbers(0, 25));
        }
    }
}

// ---- H.264 for devices ----

struct DepthCase {
    const char* clip;  // the source's pixel format
    const char* asked; // the pixel format option, "" for none
    AVPixelFormat format;
    int profile;
};

TEST_F(UnusualInputsTest, H264TakesEightBitFourTwoZeroUnlessAskedOtherwise) {
    const DepthCase cases[] = {
        {"yuv420p10le", "",        AV_PIX_FMT_YUV420P, FF_PROFILE_H264_HIGH               },
        {"yuv422p",     "",        AV_PIX_FMT_YUV420P, FF_PROFILE_H264_HIGH               },
        {"yuv444p",     "",        AV_PIX_FMT_YUV420P, FF_PROFILE_H264_HIGH               },
        {"yuv420p10le", "yuv444p", AV_PIX_FMT_YUV444P, FF_PROFILE_H264_HIGH_444_PREDICTIVE},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(std::string(c.clip) + " " + c.asked);
        E().Reset();
        Options options = {
            {"vcodec", "libx264"  },
            {"preset", "ultrafast"}
        };
        if (*c.asked) options.push_back({"pix_fmt", c.asked});
        const std::string out = Out(std::string(c.clip) + c.asked + ".mp4");
        ASSERT_EQ(Convert(Clip(c.clip), options, out), "");
        const std::vector<StreamInfo> streams = ReadStreams(out);
        ASSERT_EQ(Types(streams), std::vector<AVMediaType>{AVMEDIA_TYPE_VIDEO});
        EXPECT_EQ(streams[0].format, c.format);
        // ultrafast leaves CABAC and 8x8 transforms out, which the profile
        // names as constrained baseline; what counts is no high bit depth
        // or chroma profile.
        if (c.format == AV_PIX_FMT_YUV420P)
            EXPECT_LE(streams[0].profile & 0xff, FF_PROFILE_H264_HIGH);
        else
            EXPECT_EQ(streams[0].profile, c.profile);
        EXPECT_EQ(fixtures::DecodeFrameNumbers(out), Numbers(0, 25));
    }
}

// ---- smaller points ----

TEST_F(UnusualInputsTest, MjpegWritesFullRangePictures) {
    const std::string out = Out("mjpeg.avi");
    ASSERT_EQ(Convert(Clip("clip"),
                      {
                          {"vcodec", "mjpeg"},
                          {"an",     "1"    }
    },
                      out),
              "");
    const std::vector<StreamInfo> streams = ReadStreams(out);
    ASSERT_EQ(Types(streams), std::vector<AVMediaType>{AVMEDIA_TYPE_VIDEO});
    EXPECT_EQ(streams[0].codec, AV_CODEC_ID_MJPEG);
    EXPECT_EQ(streams[0].format, AV_PIX_FMT_YUVJ420P);
    EXPECT_EQ(fixtures::DecodeFrameNumbers(out), Numbers(0, 25));
}

TEST_F(UnusualInputsTest, AStreamSyncedToAnotherConverts) {
    // Audio on the video's clock and video on the audio's, without a sync
    // method and with ones that follow the other clock.
    const struct {
        const char* option;
        const char* method;
        const char* videoMap;
        const char* audioMap;
    } cases[] = {
        {"async", "0",   "0:0",     "0:1:0:0"},
        {"async", "1",   "0:0",     "0:1:0:0"},
        {"async", "100", "0:0",     "0:1:0:0"},
        {"vsync", "0",   "0:0:0:1", "0:1"    },
        {"vsync", "1",   "0:0:0:1", "0:1"    },
        {"vsync", "2",   "0:0:0:1", "0:1"    },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + "=" + c.method);
        E().Reset();
        const std::string out = Out(std::string("synced_") + c.option + c.method + ".avi");
        ASSERT_EQ(
            Convert(Clip("clip"),
                    {
                        {"vcodec", "mpeg4"   },
                        {c.option, c.method  },
                        {"map",    c.videoMap},
                        {"map",    c.audioMap}
        },
                    out),
            "");
        EXPECT_EQ(Types(ReadStreams(out)),
                  (std::vector<AVMediaType>{AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}));
        EXPECT_EQ(fixtures::DecodeFrameNumbers(out), Numbers(0, 25));
    }
}

TEST_F(UnusualInputsTest, APacketABitstreamFilterRefusesIsWrittenAsItCame) {
    const std::vector<uint8_t> junk(64, 0x5a);
    const std::string input = Remux(Clip("mjpeg"), "junk.avi", "avi", [&](AVPacket* pkt, int n) {
        // Picture 5 becomes bytes that are no JPEG at all.
        if (pkt->stream_index == 0 && n == 5) {
            std::memcpy(pkt->data, junk.data(), junk.size());
            std::memset(pkt->data + junk.size(), 0, AV_INPUT_BUFFER_PADDING_SIZE);
            pkt->size = static_cast<int>(junk.size());
        }
        return true;
    });
    const std::string out = Out("junk_copy.avi");
    ASSERT_EQ(Convert(input,
                      {
                          {"vcodec", "copy"      },
                          {"an",     "1"         },
                          {"vbsf",   "mjpeg2jpeg"}
    },
                      out),
              "");
    EXPECT_TRUE(Logged(media::llError, "mjpeg2jpeg failed for stream 0, codec copy"));
    const auto packets = PacketsOf(out, AVMEDIA_TYPE_VIDEO);
    ASSERT_EQ(packets.size(), 25u);
    EXPECT_EQ(packets[5], junk);
}

TEST_F(UnusualInputsTest, AFilterThatRefusesTheCodecEndsTheRunOnlyWithExitOnError) {
    const Options options = {
        {"vcodec", "mpeg4"           },
        {"an",     "1"               },
        {"vbsf",   "h264_mp4toannexb"}
    };
    ASSERT_EQ(Convert(Clip("clip"), options, Out("refused_filter.avi")), "");
    EXPECT_TRUE(Logged(media::llError, "h264_mp4toannexb failed for stream 0, codec mpeg4"));
    EXPECT_EQ(fixtures::DecodeFrameNumbers(Out("refused_filter.avi")), Numbers(0, 25));
    E().Reset();
    Options strict = options;
    strict.push_back({"xerror", "1"});
    EXPECT_EQ(Convert(Clip("clip"), strict, Out("refused_filter_x.avi")).rfind("h264_mp4toannexb failed", 0),
              0u);
    EXPECT_FALSE(std::filesystem::exists(Out("refused_filter_x.avi")));
}

TEST_F(UnusualInputsTest, AudioContainersTakeNoPictureStream) {
    for (const char* name : {"film.mp3", "film.flac"}) {
        SCOPED_TRACE(name);
        E().Reset();
        ASSERT_EQ(Convert(Clip("clip"), {}, Out(name)), "");
        EXPECT_EQ(Types(ReadStreams(Out(name))), std::vector<AVMediaType>{AVMEDIA_TYPE_AUDIO});
    }
    E().Reset();
    EXPECT_EQ(Convert(Clip("video_only"), {}, Out("silent.mp3")),
              "Output file #0 does not contain any stream");
    EXPECT_FALSE(std::filesystem::exists(Out("silent.mp3")));
}

TEST_F(UnusualInputsTest, TheFilteredAspectRatioReachesTheEncoder) {
    const std::string out = Out("sar.avi");
    ASSERT_EQ(Convert(Clip("clip"),
                      {
                          {"vcodec", "mpeg4"     },
                          {"an",     "1"         },
                          {"vf",     "setsar=2/1"}
    },
                      out),
              "");
    const std::vector<StreamInfo> streams = ReadStreams(out);
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].sar.num, 2);
    EXPECT_EQ(streams[0].sar.den, 1);
}

TEST_F(UnusualInputsTest, AnImageNameWithoutANumberIsRefusedBeforeAnythingIsWritten) {
    ASSERT_TRUE(E().OpenInputFile(Clip("clip")));
    const std::string out = Out("still.jpg");
    EXPECT_EQ(E().OpenOutputFile(out, false), -1);
    EXPECT_EQ(E().FLastErrMsg, out + ": Number syntax expected in filename");
    EXPECT_FALSE(std::filesystem::exists(out));
    E().Reset();
    ASSERT_EQ(Convert(Clip("clip"),
                      {
                          {"vframes", "3"}
    },
                      Out("still%03d.jpg")),
              "");
    EXPECT_TRUE(std::filesystem::exists(Out("still003.jpg")));
}

TEST_F(UnusualInputsTest, PacketsOfTwoAudioFramesAreNoted) {
    // Every two MP2 frames in one packet of a container that keeps packets as
    // they are.
    const std::string packed =
        Remux(Clip("mp2"), "packed.nut", "nut", [](AVPacket*, int n) { return n % 2; });
    // Quiet: never; by default: once per stream; verbose: for every such
    // packet.  An AVI with MP3 (one frame per packet) gives no note.
    const struct {
        const std::string& input;
        const char* verbose;
        bool once, more;
    } cases[] = {
        {packed,      "0", false, false},
        {packed,      "1", true,  false},
        {packed,      "2", true,  true },
        {Clip("avi"), "2", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input + " " + c.verbose);
        E().Reset();
        log.clear();
        ASSERT_EQ(Convert(c.input,
                          {
                              {"v",  c.verbose},
                              {"vn", "1"      }
        },
                          Out("packed.wav")),
                  "");
        int noted = 0;
        for (const auto& line : log)
            if (line.Text.rfind("Multiple frames in a packet", 0) == 0) {
                EXPECT_EQ(line.Level, media::llError);
                EXPECT_EQ(line.Text, "Multiple frames in a packet from stream 0");
                ++noted;
            }
        EXPECT_EQ(noted >= 1, c.once);
        EXPECT_EQ(noted > 1, c.more);
    }
}

TEST_F(UnusualInputsTest, PicturesBeforeTheOutputStartStillReachTheCustomHook) {
    std::vector<int> hooked;
    E().FOnCustomHook = [&](os::TObject*, media::TFrameBitmap*, int32_t number, int64_t, bool&, bool&) {
        hooked.push_back(number);
    };
    const std::string out = Out("late.avi");
    ASSERT_EQ(Convert(Clip("clip"),
                      {
                          {"vcodec", "mpeg4"},
                          {"an",     "1"    },
                          {"ss",     "0.4"  }
    },
                      out),
              "");
    EXPECT_EQ(hooked, Numbers(1, 26));
    EXPECT_EQ(fixtures::DecodeFrameNumbers(out), Numbers(10, 25));
}

// A decoder on frame threads gives pictures out several packets late; the
// output must still hold the pictures one thread gives, from the start time
// on and without a doubled first picture.
TEST_F(UnusualInputsTest, FrameThreadedDecodersGiveThePicturesOfOneThread) {
    struct Reset {
        ~Reset() { media::CodecThreads().SetCores(0); }
    } reset;
    auto convert = [&](const std::string& clip, const std::string& start, int cores) {
        media::CodecThreads().SetCores(cores);
        E().Reset();
        const std::string out = Out("threads.avi");
        EXPECT_EQ(Convert(Clip(clip),
                          {
                              {"vcodec", "mpeg4"},
                              {"an",     "1"    },
                              {"ss",     start  }
        },
                          out),
                  "");
        return fixtures::DecodeFrameNumbers(out);
    };
    for (const char* clip : {"bframes", "bframes_avi"})
        for (const char* start : {"0", "0.4"}) {
            SCOPED_TRACE(std::string(clip) + " from " + start);
            const std::vector<int> one = convert(clip, start, 1);
            EXPECT_EQ(convert(clip, start, 32), one);
            if (std::string(clip) == "bframes") {
                EXPECT_EQ(one, Numbers(std::string(start) == "0" ? 0 : 10, 25));
            }
        }
}

} // namespace
