// Whole conversion runs on small synthetic clips, read back with the
// libraries.
#include <algorithm>
#include <fstream>
#include <functional>

#include "../engine/EngineTestSupport.h"
#include "media/AVApi.h"
#include "os/Paths.h"

namespace {

using fixtures::ClipKind;

// Clips made once per test program.
const std::string& Clip(const std::string& name) {
    static fixtures::TempFolder folder{"transcode"};
    static std::map<std::string, std::string> paths;
    auto it = paths.find(name);
    if (it != paths.end()) return it->second;
    fixtures::ClipOptions o;
    o.kind = ClipKind::Mp4;
    o.width = 160;
    o.height = 120;
    if (name == "long") o.seconds = 4.0;
    if (name == "bframes") {
        o.kind = ClipKind::Mkv;
        o.videoCodec = "mpeg4"; // the fixture maker takes B-frames from this encoder
        o.maxBFrames = 2;
    }
    if (name.rfind("mpg", 0) == 0) {
        o.kind = ClipKind::Mpg; // mpeg2video + mp2, whose PES packets may carry no pts
        if (name == "mpg_bframes") o.maxBFrames = 2;
    }
    return paths[name] = fixtures::MakeClip(folder, o, name + fixtures::ClipExtension(o.kind));
}

// What a file holds, read back with the libraries.
struct StreamInfo {
    AVMediaType type;
    AVCodecID codec;
    int width, height, sample_rate, channels;
    double duration; // seconds, from the stream
};
struct FileInfo {
    double duration = 0; // seconds
    std::vector<StreamInfo> streams;
};

FileInfo ReadBack(const std::string& path) {
    AVFormatContext* ic = nullptr;
    FileInfo info;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return info;
    av::avformat_find_stream_info(ic, nullptr);
    info.duration = ic->duration == AV_NOPTS_VALUE ? -1 : ic->duration / 1e6;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVStream* st = ic->streams[i];
        const AVCodecParameters* p = st->codecpar;
        info.streams.push_back({p->codec_type, p->codec_id, p->width, p->height, p->sample_rate,
                                p->ch_layout.nb_channels,
                                st->duration == AV_NOPTS_VALUE ? -1 : st->duration * av_q2d(st->time_base)});
    }
    av::avformat_close_input(&ic);
    return info;
}

// The pts of every video packet of the file, in seconds, in display order.
std::vector<double> VideoPacketTimes(const std::string& path) {
    AVFormatContext* ic = nullptr;
    std::vector<double> times;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return times;
    AVPacket* pkt = av::av_packet_alloc();
    while (pkt && av::av_read_frame(ic, pkt) >= 0) {
        const AVStream* st = ic->streams[pkt->stream_index];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            times.push_back(pkt->pts == AV_NOPTS_VALUE ? -1e9 : pkt->pts * av_q2d(st->time_base));
        av::av_packet_unref(pkt);
    }
    av::av_packet_free(&pkt);
    av::avformat_close_input(&ic);
    std::sort(times.begin(), times.end());
    return times;
}

struct Report {
    int file, frame, fps;
    float quality, bitrate;
    int64_t size, current, total;
};

class TranscodeTest : public enginetest::EngineTest {
protected:
    // Opens the input, sets the options, opens the output; true when it opened.
    bool Prepare(const std::string& input, const std::vector<std::pair<std::string, std::string>>& options,
                 const std::string& output) {
        if (!E().OpenInputFile(input)) return false;
        for (const auto& [name, value] : options) E().SetOption(name, value);
        return E().OpenOutputFile(output, false) > 0;
    }

    void CollectReports() {
        E().ReportInterval = 0;
        E().FOnProgress = [this](os::TObject*, int32_t file, int32_t frame, int32_t fps, float q, float rate,
                                 int64_t size, int64_t cur, int64_t total) {
            reports.push_back({file, frame, fps, q, rate, size, cur, total});
            if (onReport) onReport();
        };
    }

    std::string Out(const std::string& name) const { return temp.Path(name); }

    fixtures::TempFolder temp{"transcodeout"};
    std::vector<Report> reports;
    std::function<void()> onReport;
};

const std::vector<std::pair<std::string, std::string>> kCopy = {
    {"vcodec", "copy"},
    {"acodec", "copy"}
};

TEST_F(TranscodeTest, RemuxMp4ToMkvByStreamCopyKeepsDurationAndParameters) {
    const std::string out = Out("copy.mkv");
    ASSERT_TRUE(Prepare(Clip("clip"), kCopy, out)) << E().FLastErrMsg;
    E().Transcode();
    EXPECT_TRUE(E().Finished());
    E().CleanUp();

    const FileInfo in = ReadBack(Clip("clip"));
    const FileInfo res = ReadBack(out);
    ASSERT_EQ(res.streams.size(), in.streams.size());
    EXPECT_NEAR(res.duration, in.duration, 0.05);
    for (size_t i = 0; i < in.streams.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(res.streams[i].type, in.streams[i].type);
        EXPECT_EQ(res.streams[i].codec, in.streams[i].codec);
        EXPECT_EQ(res.streams[i].width, in.streams[i].width);
        EXPECT_EQ(res.streams[i].height, in.streams[i].height);
        EXPECT_EQ(res.streams[i].sample_rate, in.streams[i].sample_rate);
        EXPECT_EQ(res.streams[i].channels, in.streams[i].channels);
    }
    // Every picture arrives, in order.
    const std::vector<int> frames = fixtures::DecodeFrameNumbers(out);
    ASSERT_EQ(frames.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(frames[static_cast<size_t>(i)], i);
    EXPECT_TRUE(Logged(media::llVerbose, "Stream mapping:"));
    EXPECT_TRUE(Logged(media::llVerbose, "  Stream #0.0 -> #0.0 (Video)"));
}

TEST_F(TranscodeTest, CopyWithBFramesAndExplicitMapsSwappingTheStreams) {
    const std::string out = Out("swapped.mkv");
    ASSERT_TRUE(E().OpenInputFile(Clip("bframes")));
    for (const auto& [n, v] : kCopy) E().SetOption(n, v);
    E().SetOption("map", "0.0");
    E().SetOption("map", "0.1");
    ASSERT_EQ(E().OpenOutputFile(out, false), 1) << E().FLastErrMsg;
    E().Transcode();
    EXPECT_TRUE(E().Finished());
    E().CleanUp();
    const std::vector<int> frames = fixtures::DecodeFrameNumbers(out);
    ASSERT_EQ(frames.size(), 50u);
    EXPECT_EQ(frames.back(), 49);
}

// MPEG-PS packs several frames into one PES, so most packets come without
// a pts; Matroska refuses those.
TEST_F(TranscodeTest, CopyFromMpegPsGivesEveryPacketATimestamp) {
    for (const char* name : {"mpg", "mpg_bframes"}) {
        SCOPED_TRACE(name);
        E().Reset();
        const std::string out = Out(std::string(name) + ".mkv");
        ASSERT_TRUE(Prepare(Clip(name), kCopy, out)) << E().FLastErrMsg;
        EXPECT_EQ(Raised([&] { E().Transcode(); }), "");
        EXPECT_TRUE(E().Finished());
        E().CleanUp();
        const FileInfo res = ReadBack(out);
        ASSERT_EQ(res.streams.size(), 2u);
        EXPECT_EQ(res.streams[0].codec, AV_CODEC_ID_MPEG2VIDEO);
        EXPECT_EQ(res.streams[1].codec, AV_CODEC_ID_MP2);
        EXPECT_NEAR(res.duration, 2.0, 0.1);
        const std::vector<int> frames = fixtures::DecodeFrameNumbers(out);
        ASSERT_EQ(frames.size(), 50u);
        for (int i = 0; i < 50; ++i) EXPECT_EQ(frames[static_cast<size_t>(i)], i);
        // One picture every 40 ms: no pts shared, skipped or made up out of order.
        const std::vector<double> times = VideoPacketTimes(out);
        ASSERT_EQ(times.size(), 50u);
        for (size_t i = 1; i < times.size(); ++i) EXPECT_NEAR(times[i] - times[i - 1], 0.04, 0.0015) << i;
    }
}

TEST_F(TranscodeTest, MappingErrorsHaveTheirTexts) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> options;
        std::string error;
    };
    const Case cases[] = {
        {"too few maps",     {{"map", "0.0"}},                     "Number of stream maps must match number of output streams"},
        {"missing stream",   {{"map", "0.5"}, {"map", "0.1"}},     "Could not find input stream #0.5"                         },
        {"missing file",     {{"map", "3.0"}, {"map", "0.1"}},     "Could not find input stream #3.0"                         },
        {"missing sync",     {{"map", "0.0:0.7"}, {"map", "0.1"}}, "Could not find sync stream #0.7"                          },
        {"type mismatch",
         {{"map", "0.1"}, {"map", "0.0"}},
         "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)"                                                       },
        {"copy with volume",
         {{"vol", "512"}},
         "-acodec copy and -vol are incompatible (frames are not decoded)"                                                    },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E().Reset();
        auto options = kCopy;
        options.insert(options.end(), c.options.begin(), c.options.end());
        const std::string out = Out("map.mkv");
        ASSERT_TRUE(Prepare(Clip("clip"), options, out)) << E().FLastErrMsg;
        EXPECT_EQ(Raised([&] { E().Transcode(); }), c.error);
        EXPECT_TRUE(E().FEncoderList.Empty());
        EXPECT_TRUE(E().FDecoderList.Empty());
        E().CleanUp();
        // Nothing was written: the empty output is not left behind.
        EXPECT_FALSE(os::FileExists(out));
    }
}

TEST_F(TranscodeTest, AnOutputWithoutStreamsIsRefusedBeforeAnyCodecOpens) {
    ASSERT_TRUE(Prepare(Clip("clip"),
                        {
                            {"vn", "1"},
                            {"an", "1"}
    },
                        Out("none.mkv")));
    EXPECT_EQ(Raised([&] { E().Transcode(); }), "Output file #0 does not contain any stream");
}

TEST_F(TranscodeTest, ProgressReportsGrowAndTheFinalOneIsMarked) {
    const std::string out = Out("progress.mkv");
    ASSERT_TRUE(Prepare(Clip("long"), kCopy, out));
    CollectReports();
    E().Transcode();
    ASSERT_GE(reports.size(), 3u);
    // The time is that of the stream furthest behind, so it may step back
    // by a packet when a stream writes its first one.
    int64_t latest = 0;
    for (size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(reports[i].frame, reports[i - 1].frame);
        EXPECT_GE(reports[i].size, reports[i - 1].size);
        EXPECT_GE(reports[i].current, latest - 50000);
        latest = std::max(latest, reports[i].current);
    }
    const Report& first = reports.front();
    const Report& last = reports.back();
    EXPECT_GE(first.file, 0);
    EXPECT_EQ(last.file, -1);
    EXPECT_EQ(last.frame, 100);
    EXPECT_GT(last.size, first.size);
    EXPECT_GT(last.current, first.current);
    EXPECT_NEAR(static_cast<double>(last.current), 4e6, 1.5e5);
    EXPECT_NEAR(static_cast<double>(last.total), 4e6, 1.5e5);
    // Copied pictures have no quantiser.
    EXPECT_FLOAT_EQ(last.quality, -1.0f);
    EXPECT_TRUE(Logged(media::llVerbose, "video:"));
    EXPECT_TRUE(Logged(media::llVerbose, "muxing overhead"));
}

TEST_F(TranscodeTest, WithoutAHandlerTheStatusLineIsLogged) {
    ASSERT_TRUE(Prepare(Clip("clip"), kCopy, Out("line.mkv")));
    E().Transcode();
    EXPECT_TRUE(Logged(media::llVerbose, "frame=   50 fps="));
    EXPECT_TRUE(Logged(media::llVerbose, "q=-1.0 Lsize="));
}

TEST_F(TranscodeTest, AStopRequestEndsWithAValidTrailerAndNotFinished) {
    const std::string out = Out("stopped.mkv");
    // A file that was at the name before the run is not the run's to remove, so what the stopped
    // run wrote into it can be read back (one the run created goes with the stop).
    std::ofstream(out).flush();
    ASSERT_TRUE(Prepare(Clip("long"), kCopy, out));
    CollectReports();
    onReport = [this] {
        if (reports.size() == 20) E().FBroken = true;
    };
    E().Transcode();
    EXPECT_FALSE(E().Finished());
    EXPECT_EQ(reports.back().file, -1); // the final report still comes
    E().CleanUp();
    const FileInfo res = ReadBack(out);
    ASSERT_EQ(res.streams.size(), 2u);
    EXPECT_GT(res.duration, 0.0);
    EXPECT_LT(res.duration, 3.0);
    const std::vector<int> frames = fixtures::DecodeFrameNumbers(out);
    ASSERT_FALSE(frames.empty());
    EXPECT_LT(frames.size(), 100u);
    for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i], static_cast<int>(i));
}

TEST_F(TranscodeTest, RecordingTimeAndFrameLimitEndTheRunNormally) {
    struct Case {
        const char* name;
        std::pair<std::string, std::string> option;
        double seconds;
    };
    const Case cases[] = {
        {"t 1.5",      {"t", "1.5"},      1.5},
        {"vframes 25", {"vframes", "25"}, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E().Reset();
        const std::string out = Out(std::string(c.option.first) + ".mkv");
        ASSERT_TRUE(Prepare(Clip("long"), {kCopy[0], kCopy[1], c.option}, out));
        E().Transcode();
        EXPECT_TRUE(E().Finished());
        E().CleanUp();
        const std::vector<int> frames = fixtures::DecodeFrameNumbers(out);
        EXPECT_NEAR(static_cast<double>(frames.size()), c.seconds * 25, 2);
    }
}

// A clip with bytes overwritten in its middle.
std::string Corrupted(const fixtures::TempFolder& folder) {
    const std::string path = folder.Path("corrupt.mp4");
    std::ifstream in(Clip("long"), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    uint32_t x = 12345;
    for (size_t i = bytes.size() * 2 / 5; i < bytes.size() * 3 / 5; i += 7) {
        x = x * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(x >> 24);
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

TEST_F(TranscodeTest, ACorruptedInputConvertsWhatItCanWithoutACrash) {
    const std::string input = Corrupted(temp);
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> options;
        std::string output;
    };
    const Case cases[] = {
        {"copy",   kCopy,                                    "corrupt_copy.mkv"},
        {"encode", {{"vcodec", "mpeg4"}, {"acodec", "mp2"}}, "corrupt_enc.avi" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E().Reset();
        log.clear();
        ASSERT_TRUE(Prepare(input, c.options, Out(c.output))) << E().FLastErrMsg;
        EXPECT_EQ(Raised([&] { E().Transcode(); }), "");
        EXPECT_TRUE(E().Finished());
        E().CleanUp();
        const FileInfo res = ReadBack(Out(c.output));
        EXPECT_EQ(res.streams.size(), 2u);
        EXPECT_GT(res.duration, 3.0);
    }
    // The encoded output holds what could be decoded, as clean pictures.
    EXPECT_GT(fixtures::DecodeFrameNumbers(Out("corrupt_enc.avi")).size(), 40u);
    EXPECT_TRUE(Logged(media::llVerbose, "Error while decoding stream #0.0 (Video)"));
}

TEST_F(TranscodeTest, DecodingErrorsEndTheRunWithExitOnError) {
    ASSERT_TRUE(Prepare(Corrupted(temp),
                        {
                            {"vcodec", "mpeg4"},
                            {"acodec", "mp2"  },
                            {"xerror", "1"    }
    },
                        Out("xerror.avi")));
    EXPECT_EQ(Raised([&] { E().Transcode(); }).rfind("Error while decoding stream #0.", 0), 0u);
    EXPECT_TRUE(E().FEncoderList.Empty());
    EXPECT_TRUE(E().FDecoderList.Empty());
}

TEST_F(TranscodeTest, EncodingThroughTheDispatchGivesEveryPictureAndTheAudio) {
    const std::string out = Out("encoded.mpg");
    ASSERT_TRUE(Prepare(Clip("clip"),
                        {
                            {"s",  "176x144"},
                            {"ar", "48000"  },
                            {"ac", "1"      }
    },
                        out))
        << E().FLastErrMsg;
    CollectReports();
    E().Transcode();
    EXPECT_TRUE(E().Finished());
    E().CleanUp();
    const FileInfo res = ReadBack(out);
    ASSERT_EQ(res.streams.size(), 2u);
    EXPECT_EQ(res.streams[0].codec, AV_CODEC_ID_MPEG1VIDEO);
    EXPECT_EQ(res.streams[0].width, 176);
    EXPECT_EQ(res.streams[1].sample_rate, 48000);
    EXPECT_EQ(res.streams[1].channels, 1);
    EXPECT_NEAR(res.duration, 2.0, 0.15);
    const std::vector<int> frames = fixtures::DecodeFrameNumbers(out);
    ASSERT_EQ(frames.size(), 50u);
    EXPECT_EQ(frames.back(), 49);
    // Encoded pictures report the encoder's quantiser.
    EXPECT_GT(reports.back().quality, 0.0f);
}

TEST_F(TranscodeTest, PassOneWritesItsStatisticsFileNamedAfterTheTableIndex) {
    const std::string prefix = Out("stats");
    ASSERT_TRUE(Prepare(Clip("clip"),
                        {
                            {"vcodec",      "mpeg4"},
                            {"an",          "1"    },
                            {"pass",        "1"    },
                            {"passlogfile", prefix }
    },
                        Out("pass1.avi")))
        << E().FLastErrMsg;
    E().Transcode();
    EXPECT_TRUE(E().Finished());
    std::ifstream stats(prefix + "-0.log");
    ASSERT_TRUE(stats.good());
    std::string first;
    std::getline(stats, first);
    EXPECT_FALSE(first.empty());
}

} // namespace
