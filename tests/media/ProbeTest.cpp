#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "ProbeTestUtil.h"
#include "media/AVApi.h"
#include "media/AVProbe.h"
#include "media/MediaErrors.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"

using namespace media;
namespace fs = std::filesystem;
using fixtures::ClipKind;
using fixtures::ClipOptions;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The report with the temporary folder replaced and CR LF turned into LF,
// after checking that every line ends with CR LF.
std::string Normalised(std::string report, const std::string& dir) {
    for (size_t p = report.find(dir); p != std::string::npos; p = report.find(dir))
        report.replace(p, dir.size(), "<folder>/");
    std::string out;
    for (size_t i = 0; i < report.size(); ++i) {
        if (report[i] == '\n') ADD_FAILURE() << "a line ends without CR LF";
        if (report[i] == '\r' && i + 1 < report.size() && report[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else {
            out += report[i];
        }
    }
    if (!report.empty() && report.back() != '\n') ADD_FAILURE() << "the report does not end with CR LF";
    return out;
}

// The report with the file size and the bit rates that follow from the encoders'
// output masked: an update of the system's encoders changes them, while every
// field stays where it is.
std::string Masked(const std::string& report) {
    static const std::regex size(R"(^File Size: .*$)", std::regex::multiline);
    static const std::regex rate(R"(^Bit Rate: .*$)", std::regex::multiline);
    static const std::regex videoRate(R"(^(Stream .*: Video: .*, )\d+ kb/s,)", std::regex::multiline);
    std::string out = std::regex_replace(report, size, "File Size: <size>");
    out = std::regex_replace(out, rate, "Bit Rate: <rate>");
    return std::regex_replace(out, videoRate, "$1<rate> kb/s,");
}

} // namespace

// Reports of fixed clips compared with the reports kept beside the tests.
// The clips are written bit-exact (no library version strings, one encoder
// thread); the sizes and rates are masked all the same (see Masked).
// TARVIK_UPDATE_GOLDEN=1 rewrites the kept reports after an intended change.
TEST_F(ProbeTest, FileInfoTextMatchesTheKeptReports) {
    setenv("TZ", "UTC", 1);
    struct {
        const char* golden;
        ClipOptions options;
    } cases[] = {
  // Programs, stream ids and the programs' service metadata.
        {"probe_ts.txt",  {.kind = ClipKind::Mpg, .seconds = 1.0, .format = "mpegts", .bitexact = true}   },
 // File metadata, an ID3-style artist and a creation time.
        {"probe_avi.txt",
         {.kind = ClipKind::Avi,
          .seconds = 1.0,
          .audioCodec = "mp2",
          .bitexact = true,
          .metadata = {{"title", "Probe clip"}, {"artist", "Tarvik"}, {"date", "2009"}, {"comment", "x"}}}},
 // Stream languages and per-stream metadata.
        {"probe_mkv.txt",
         {.kind = ClipKind::Mkv,
          .seconds = 1.0,
          .videoCodec = "mpeg4",
          .audioCodec = "mp2",
          .bitexact = true,
          .metadata = {{"title", "中文标题"}, {"creation_time", "2010-06-01T12:30:00.000000Z"}},
          .language = "chi"}                                                                              },
    };
    bool update = getenv("TARVIK_UPDATE_GOLDEN") != nullptr;
    for (auto& c : cases) {
        SCOPED_TRACE(c.golden);
        std::string path = fixtures::MakeClip(folder, c.options);
        TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
        std::string report = Masked(Normalised(probe.FileInfoText(), folder.Dir()));
        std::string golden = std::string(TARVIK_GOLDEN_DIR) + "/" + c.golden;
        if (update) WriteText(golden, report);
        EXPECT_EQ(report, ReadText(golden));
    }
    unsetenv("TZ");
}

TEST_F(ProbeTest, CountsAndStreamRecordsOfAClip) {
    std::string path = fixtures::MakeClip(folder, {.kind = ClipKind::Mp4, .seconds = 1.0});
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
    EXPECT_EQ(probe.StreamCount(), 2);
    EXPECT_EQ(probe.ProgramCount(), 0);
    EXPECT_EQ(probe.VideoStreamCount(), 1);
    EXPECT_EQ(probe.AudioStreamCount(), 1);
    EXPECT_EQ(probe.SubtitleStreamCount(), 0);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), 0);
    EXPECT_EQ(probe.FirstAudioStreamIndex(), 1);
    EXPECT_EQ(probe.FirstSubtitleStreamIndex(), -1);
    EXPECT_EQ(probe.FileSize(), static_cast<int64_t>(fs::file_size(path)));
    EXPECT_EQ(probe.FileName(), path);
    EXPECT_EQ(probe.FormatName(), "mov,mp4,m4a,3gp,3g2,mj2");
    EXPECT_TRUE(probe.IsVideoStream(0));
    EXPECT_TRUE(probe.IsAudioStream(1));
    EXPECT_FALSE(probe.IsSubtitleStream(1));

    TVideoStreamInfo v = probe.FirstVideoStreamInfo();
    EXPECT_EQ(v.CodecName, "h264(H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)");
    EXPECT_EQ(v.Width, 320);
    EXPECT_EQ(v.Height, 240);
    EXPECT_EQ(v.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(v.FrameRate.num, 25);
    EXPECT_EQ(v.FrameRate.den, 1);
    EXPECT_EQ(v.StartTimeScaled, 0);
    EXPECT_EQ(v.DurationScaled, 1000000);
    EXPECT_GT(v.BitRate, 0);
    TAudioStreamInfo a;
    ASSERT_TRUE(probe.GetAudioStreamInfo(1, a));
    EXPECT_EQ(a.CodecName, "aac(AAC (Advanced Audio Coding))");
    EXPECT_EQ(a.Channels, 2);
    EXPECT_EQ(a.SampleRate, 44100);
    EXPECT_EQ(a.SampleFormat, AV_SAMPLE_FMT_FLTP);
    EXPECT_EQ(a.StartTime, 0);

    TFileStreamInfo f = probe.FileStreamInfo();
    EXPECT_EQ(f.StartTime, 0);
    EXPECT_NEAR(static_cast<double>(f.Duration), 1000000, 50000);
    EXPECT_EQ(f.TimeStamp, 0);
    EXPECT_EQ(f.Year, 0);
    EXPECT_EQ(f.Title, "");

    probe.CloseFile();
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.FileSize(), -1);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), -1);
}

TEST_F(ProbeTest, FileMetadataFillsTheFileRecord) {
    std::string path =
        fixtures::MakeClip(folder, {
                                       .kind = ClipKind::Mkv,
                                       .seconds = 0.2,
                                       .metadata = {{"title", "T"},
                                                    {"artist", "Someone"},
                                                    {"date", "2009-05-01"},
                                                    {"track", "3/12"},
                                                    {"genre", "Rock"},
                                                    {"album", "A"},
                                                    {"copyright", "C"},
                                                    {"comment", "N"},
                                                    {"creation_time", "2010-06-01T12:30:00.000000Z"}}
    });
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
    TFileStreamInfo f = probe.FileStreamInfo();
    EXPECT_EQ(f.Title, "T");
    EXPECT_EQ(f.Author, "Someone");
    EXPECT_EQ(f.Year, 2009);
    EXPECT_EQ(f.Track, 3);
    EXPECT_EQ(f.Genre, "Rock");
    EXPECT_EQ(f.Album, "A");
    EXPECT_EQ(f.Copyright, "C");
    EXPECT_EQ(f.Comment, "N");
    EXPECT_EQ(f.TimeStamp, 1275395400);
}

TEST_F(ProbeTest, QueriesReportWhatIsWrongAndLeaveRecordsCleared) {
    std::string wav = fixtures::MakeClip(folder, {.kind = ClipKind::Wav, .seconds = 0.2});
    TAVProbe probe;
    // Without a file.
    EXPECT_FALSE(probe.IsVideoStream(0));
    EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
    EXPECT_EQ(probe.FileInfoText(), "");
    EXPECT_EQ(probe.FileStreamInfo().Duration, -1);
    EXPECT_EQ(probe.FormatName(), "");
    EXPECT_EQ(probe.Position(), -1);
    EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");

    ASSERT_TRUE(probe.LoadFile(wav)) << probe.LastErrMsg();
    EXPECT_EQ(probe.AudioStreamCount(), 1);
    EXPECT_EQ(probe.VideoStreamCount(), 0);
    EXPECT_EQ(probe.FirstVideoStreamIndex(), -1);
    struct {
        std::function<bool()> query;
        const char* message;
    } cases[] = {
        {[&] { return probe.IsVideoStream(-1); },                  "stream index #-1 is invalid."  },
        {[&] { return probe.IsAudioStream(probe.StreamCount()); }, "stream index #1 is invalid."   },
        {[&] {
             TAudioStreamInfo i;
             return probe.GetAudioStreamInfo(5, i);
         },                                               "stream index #5 is invalid."   },
        {[&] {
             TVideoStreamInfo i;
             return probe.GetVideoStreamInfo(0, i);
         },                                               "stream #0 is not video stream."},
        {[&] {
             TSubtitleStreamInfo i;
             return probe.GetSubtitleStreamInfo(-1, i);
         },                                               "no subtitle stream."           },
        {[&] {
             TVideoStreamInfo i;
             return probe.GetVideoStreamInfo(-1, i);
         },                                               "no video stream."              },
    };
    for (auto& c : cases) {
        EXPECT_FALSE(c.query()) << c.message;
        EXPECT_EQ(probe.LastErrMsg(), c.message);
    }
    TVideoStreamInfo v = probe.FirstVideoStreamInfo();
    EXPECT_EQ(probe.LastErrMsg(), "no video stream.");
    EXPECT_EQ(v.Width, -1);
    EXPECT_EQ(v.DurationScaled, -1);
    EXPECT_EQ(v.AspectRatio, -1.0f);
    EXPECT_EQ(v.CodecName, "");
    // A query that succeeds keeps the last message.
    EXPECT_TRUE(probe.IsAudioStream(0));
    EXPECT_FALSE(probe.FileInfoText().empty());
    EXPECT_EQ(probe.LastErrMsg(), "no video stream.");
}

// Files the libraries cannot read fail with the reason and leave no file.
TEST_F(ProbeTest, BadInputFailsWithTheReason) {
    std::string mp4 = fixtures::MakeClip(folder, {.kind = ClipKind::Mp4, .seconds = 0.4});
    std::string bytes = ReadText(mp4);
    WriteText(folder.Path("empty.mp4"), "");
    WriteText(folder.Path("notes.txt"), "Just some words.\nNothing a demuxer knows.\n");
    WriteText(folder.Path("cut.mp4"), bytes.substr(0, bytes.size() / 3)); // the index is at the end
    fs::create_directory(folder.Path("folder.mp4"));
    struct {
        std::string path;
        std::string message;
    } cases[] = {
        {folder.Path("missing.mp4"), folder.Path("missing.mp4") + ": No such file or directory"             },
        {folder.Path("empty.mp4"),   folder.Path("empty.mp4") + ": Invalid data found when processing input"},
        {folder.Path("notes.txt"),   folder.Path("notes.txt") + ": Invalid data found when processing input"},
        {folder.Path("cut.mp4"),     folder.Path("cut.mp4") + ": Invalid data found when processing input"  },
        {folder.Path("folder.mp4"),  folder.Path("folder.mp4") + ": Is a directory"                         },
    };
    TAVProbe probe;
    for (auto& c : cases) {
        logged.clear();
        EXPECT_FALSE(probe.LoadFile(c.path)) << c.path;
        EXPECT_EQ(probe.LastErrMsg(), c.message);
        EXPECT_TRUE(Logged(c.message)) << c.path;
        EXPECT_EQ(probe.FileHandle(), nullptr);
        EXPECT_EQ(probe.StreamCount(), -1);
        EXPECT_EQ(probe.AudioStreamCount(), -1);
    }
    logged.clear();
    EXPECT_FALSE(probe.LoadFile(mp4, "no_such_format"));
    EXPECT_EQ(probe.LastErrMsg(), "Unknown input format: no_such_format");
    EXPECT_TRUE(logged.empty());
    // A file forced into a format it is not in.
    EXPECT_FALSE(probe.LoadFile(mp4, "mpegts"));
    EXPECT_EQ(probe.FileHandle(), nullptr);
    EXPECT_TRUE(probe.LoadFile(mp4, "mp4"));
    EXPECT_EQ(probe.ForceFormat(), "mp4");
}

TEST_F(ProbeTest, ChineseNamedFileOpensUnderACLocale) {
    std::string source = fixtures::MakeClip(folder, {.kind = ClipKind::Wav, .seconds = 0.2});
    std::string chinese = folder.Path("测试音频.wav");
    fs::copy_file(fs::u8path(source), fs::u8path(chinese));
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(chinese)) << probe.LastErrMsg();
    EXPECT_EQ(probe.FileName(), chinese);
    EXPECT_EQ(probe.FileSize(), static_cast<int64_t>(fs::file_size(source)));
    EXPECT_EQ(probe.FileInfoText().rfind("File Name: " + chinese + "\r\n", 0), 0u);
}

// A task or the player hands its open input over: the probe describes it,
// refuses to move in it, never changes it and leaves it open.
TEST_F(ProbeTest, BorrowedInputIsReadButNeverChanged) {
    std::string path = fixtures::MakeClip(folder, {.kind = ClipKind::Avi, .seconds = 1.0});
    AVFormatContext* ic = nullptr;
    ASSERT_EQ(OpenInputByLibraryName(&ic, path.c_str(), nullptr, nullptr), 0);
    ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
    AVPacket* pkt = av::av_packet_alloc();
    ASSERT_GE(av::av_read_frame(ic, pkt), 0); // the owner is already reading
    av::av_packet_unref(pkt);

    struct Snapshot {
        int64_t pos;
        const uint8_t* bufPtr;
        int flags;
        int tbNum, tbDen;
        int64_t start0;
        bool operator==(const Snapshot&) const = default;
    };
    auto snap = [&] {
        return Snapshot{ic->pb->pos,
                        ic->pb->buf_ptr,
                        ic->flags,
                        ic->streams[0]->time_base.num,
                        ic->streams[0]->time_base.den,
                        ic->streams[0]->start_time};
    };
    Snapshot before = snap();
    std::string owned;
    {
        TAVProbe own;
        ASSERT_TRUE(own.LoadFile(path));
        owned = own.FileInfoText();
    }
    {
        TAVProbe probe;
        probe.SetFileHandle(ic);
        EXPECT_EQ(probe.FileHandle(), ic);
        EXPECT_EQ(probe.StreamCount(), 2);
        EXPECT_EQ(probe.FirstVideoStreamIndex(), 0);
        EXPECT_EQ(probe.FileSize(), static_cast<int64_t>(fs::file_size(path)));
        EXPECT_EQ(probe.FileInfoText(), owned);
        EXPECT_EQ(probe.FirstVideoStreamInfo().Width, 320);
        EXPECT_GT(probe.Position(), 0);
        for (auto action : {+[](TAVProbe& p) { p.Decode(); }, +[](TAVProbe& p) { p.Seek(0); },
                            +[](TAVProbe& p) { p.DecodePreviousKeyFrame(); }}) {
            try {
                action(probe);
                ADD_FAILURE() << "no exception";
            } catch (const FFmpegException& e) {
                EXPECT_STREQ(e.what(), "file cannot be seeked, handle is readonly.");
            }
        }
        EXPECT_EQ(snap(), before);
    }
    // Still open and readable after the probe is gone.
    EXPECT_EQ(snap(), before);
    EXPECT_GE(av::av_read_frame(ic, pkt), 0);
    av::av_packet_free(&pkt);
    CloseInputByLibraryName(&ic);
}

TEST_F(ProbeTest, ID3FrameIdsAreShownByName) {
    EXPECT_EQ(ID3KeyName("TALB"), "album");
    EXPECT_EQ(ID3KeyName("TPE1"), "artist");
    EXPECT_EQ(ID3KeyName("TYER"), "year");
    EXPECT_EQ(ID3KeyName("TSOP"), "authorsort");
    EXPECT_EQ(ID3KeyName("talb"), "talb");
    EXPECT_EQ(ID3KeyName("title"), "title");
}

// Values the libraries could not find, edited into a context the test owns
// and hands over.
TEST_F(ProbeTest, ReportOfMissingAndNegativeValues) {
    std::string path = fixtures::MakeClip(
        folder,
        {.kind = ClipKind::Avi, .seconds = 0.4, .audio = false, .bitexact = true}); // no file metadata
    AVFormatContext* ic = nullptr;
    ASSERT_EQ(OpenInputByLibraryName(&ic, path.c_str(), nullptr, nullptr), 0);
    ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
    ic->duration = AV_NOPTS_VALUE;
    ic->start_time = -500000;
    ic->bit_rate = 0;
    AVStream* st = ic->streams[0];
    st->time_base = AVRational{1, 25};
    st->start_time = -3; // -0.12 s
    st->duration = AV_NOPTS_VALUE;
    av::av_dict_set(&st->metadata, "language", "eng", 0);

    TAVProbe probe;
    probe.SetFileHandle(ic);
    std::string report = probe.FileInfoText();
    EXPECT_NE(report.find("\r\nDuration: N/A\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("\r\nBit Rate: N/A\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("\r\nStartTime:"), std::string::npos) << report;
    EXPECT_NE(report.find("\r\nStream #0(eng), 1/25: Video: mpeg4"), std::string::npos) << report;
    EXPECT_NE(report.find(", StartTime: -0.120000, Duration: N/A\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("Metadata:"), std::string::npos) << report;
    TFileStreamInfo f = probe.FileStreamInfo();
    EXPECT_EQ(f.Duration, -1);
    EXPECT_EQ(f.StartTime, -500000);
    TVideoStreamInfo v = probe.FirstVideoStreamInfo();
    EXPECT_EQ(v.Language, "eng");
    EXPECT_EQ(v.StartTimeScaled, -120000);
    EXPECT_EQ(v.Duration, AV_NOPTS_VALUE);
    EXPECT_EQ(v.DurationScaled, -1);
    probe.CloseFile();
    CloseInputByLibraryName(&ic);
}

namespace {

int ReadFromFile(void* opaque, uint8_t* buf, int size) {
    size_t n = std::fread(buf, 1, static_cast<size_t>(size), static_cast<FILE*>(opaque));
    return n == 0 ? AVERROR_EOF : static_cast<int>(n);
}

} // namespace

// An input read through I/O that cannot tell its size: the file on disk
// gives it, and without such a file the size reads 0.
TEST_F(ProbeTest, FileSizeOfAnInputThatCannotTellIt) {
    std::string path = fixtures::MakeClip(folder, {.kind = ClipKind::Wav, .seconds = 0.2});
    for (std::string name : {path, std::string("stream:anything")}) {
        FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        auto* buffer = static_cast<unsigned char*>(av::av_malloc(4096));
        AVIOContext* pb = av::avio_alloc_context(buffer, 4096, 0, file, &ReadFromFile, nullptr, nullptr);
        AVFormatContext* ic = av::avformat_alloc_context();
        ic->pb = pb;
        ic->flags |= AVFMT_FLAG_CUSTOM_IO;
        ASSERT_EQ(av::avformat_open_input(&ic, name.c_str(), av::av_find_input_format("wav"), nullptr), 0);
        ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
        TAVProbe probe;
        probe.SetFileHandle(ic);
        EXPECT_EQ(probe.FileSize(), name == path ? static_cast<int64_t>(fs::file_size(path)) : 0) << name;
        probe.CloseFile();
        av::avformat_close_input(&ic);
        av::av_freep(&pb->buffer);
        av::avio_context_free(&pb);
        std::fclose(file);
    }
}
