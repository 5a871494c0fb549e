#include "fixtures/Fixtures.h"
#include "media/AVApi.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"

#include <clocale>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace media;
namespace fs = std::filesystem;

namespace {

// The locale's character set decides; "C" holds no Chinese character.
class UnicodeNames : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C"); }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

// Counts the packets of a file opened by its library-side name.
int CountPackets(const std::string& libraryName) {
    AVFormatContext* ic = nullptr;
    if (OpenInputByLibraryName(&ic, libraryName.c_str(), nullptr, nullptr) < 0) return -1;
    int count = -1;
    if (av::avformat_find_stream_info(ic, nullptr) >= 0) {
        AVPacket* pkt = av::av_packet_alloc();
        for (count = 0; av::av_read_frame(ic, pkt) >= 0; ++count) av::av_packet_unref(pkt);
        av::av_packet_free(&pkt);
    }
    CloseInputByLibraryName(&ic);
    return count;
}

} // namespace

TEST_F(UnicodeNames, OnlyNamesTheLocaleCannotHoldAreConverted) {
    struct {
        const char* name;
        const char* library;
    } cases[] = {
        {"/tmp/clip.mp4",                      "/tmp/clip.mp4"                                  },
        {"/tmp/中文目录/测试视频.mp4", "unicode:utf8:/tmp/中文目录/测试视频.mp4"},
        {"http://host/视频.mp4",             "http://host/视频.mp4"                         }, // URLs are never converted
        {"udp://host:1234/视频",             "udp://host:1234/视频"                         },
        {"pipe:视频",                        "pipe:视频"                                    },
        {"unicode:utf8:/视频.mp4",           "unicode:utf8:/视频.mp4"                       },
        {"https://host/视频",                "unicode:utf8:https://host/视频"               }, // not one of the listed words
        {":视频",                            "unicode:utf8::视频"                           },
    };
    for (auto c : cases) {
        EXPECT_EQ(LibraryFileName(c.name), c.library) << c.name;
        if (!IsUnicodeName(c.name)) {
            EXPECT_EQ(DisplayFileName(LibraryFileName(c.name)), c.name) << c.name;
        }
    }
    EXPECT_FALSE(IsUnicodeName("unicode:utf8:"));
    EXPECT_EQ(DisplayFileName("unicode:utf8:"), "unicode:utf8:");
    EXPECT_TRUE(IsUnicodeName("unicode:utf8:a"));

    if (!std::setlocale(LC_ALL, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_EQ(LibraryFileName("/tmp/中文目录/测试视频.mp4"), "/tmp/中文目录/测试视频.mp4");
}

TEST_F(UnicodeNames, ChineseNamedFileOpensAndReadsThroughTheUnicodeCallbacks) {
    fixtures::TempFolder folder;
    std::string source = fixtures::MakeClip(folder, {});
    fs::create_directory(fs::u8path(folder.Path("中文目录")));
    std::string chinese = folder.Path("中文目录/测试视频.mp4");
    fs::copy_file(fs::u8path(source), fs::u8path(chinese));

    std::string libName = LibraryFileName(chinese);
    ASSERT_EQ(libName, "unicode:utf8:" + chinese);
    AVFormatContext* ic = nullptr;
    ASSERT_EQ(OpenInputByLibraryName(&ic, libName.c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(DisplayFileName(ic->url), chinese);
    EXPECT_STREQ(ic->iformat->name, "mov,mp4,m4a,3gp,3g2,mj2");
    CloseInputByLibraryName(&ic);
    EXPECT_EQ(ic, nullptr);

    int packets = CountPackets(source);
    EXPECT_GT(packets, 50);
    EXPECT_EQ(CountPackets(libName), packets);
}

TEST_F(UnicodeNames, OutputsWithChineseNamesAreWrittenThroughTheCallbacks) {
    fixtures::TempFolder folder;
    std::string source = fixtures::MakeClip(folder, {.kind = fixtures::ClipKind::Mkv});
    std::string target = folder.Path("输出.mp4");
    std::string libName = LibraryFileName(target);

    // Remux into mp4, whose muxer seeks back to finish the file.
    AVFormatContext* ic = nullptr;
    ASSERT_EQ(OpenInputByLibraryName(&ic, source.c_str(), nullptr, nullptr), 0);
    ASSERT_GE(av::avformat_find_stream_info(ic, nullptr), 0);
    AVFormatContext* oc = nullptr;
    ASSERT_GE(av::avformat_alloc_output_context2(&oc, nullptr, "mp4", libName.c_str()), 0);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* st = av::avformat_new_stream(oc, nullptr);
        av::avcodec_parameters_copy(st->codecpar, ic->streams[i]->codecpar);
        st->codecpar->codec_tag = 0;
        st->time_base = ic->streams[i]->time_base;
    }
    ASSERT_EQ(OpenOutputByLibraryName(&oc->pb, libName.c_str(), AVIO_FLAG_WRITE, nullptr), 0);
    ASSERT_GE(av::avformat_write_header(oc, nullptr), 0);
    AVPacket* pkt = av::av_packet_alloc();
    int written = 0;
    while (av::av_read_frame(ic, pkt) >= 0) {
        av::av_packet_rescale_ts(pkt, ic->streams[pkt->stream_index]->time_base,
                                 oc->streams[pkt->stream_index]->time_base);
        ASSERT_GE(av::av_interleaved_write_frame(oc, pkt), 0);
        ++written;
    }
    av::av_packet_free(&pkt);
    ASSERT_GE(av::av_write_trailer(oc), 0);
    EXPECT_EQ(CloseOutputByLibraryName(&oc->pb), 0);
    EXPECT_EQ(oc->pb, nullptr);
    av::avformat_free_context(oc);
    CloseInputByLibraryName(&ic);

    EXPECT_TRUE(fs::exists(fs::u8path(target)));
    EXPECT_EQ(CountPackets(libName), written);
}

TEST_F(UnicodeNames, MissingFilesAndTheEndOfAFile) {
    fixtures::LoadMediaLibraries();
    fixtures::TempFolder folder;
    AVFormatContext* ic = nullptr;
    EXPECT_EQ(OpenInputByLibraryName(&ic, LibraryFileName(folder.Path("没有.mp4")).c_str(), nullptr, nullptr),
              -2);
    EXPECT_EQ(ic, nullptr);

    TUnicodeFile file;
    EXPECT_EQ(UnicodeOpen(file, LibraryFileName(folder.Path("没有.txt")).c_str(), AVIO_FLAG_READ), -2);
    std::ofstream(fs::u8path(folder.Path("五.txt"))) << "12345";
    ASSERT_EQ(UnicodeOpen(file, LibraryFileName(folder.Path("五.txt")).c_str(), AVIO_FLAG_READ), 0);
    EXPECT_EQ(UnicodeSeek(file, 0, AVSEEK_SIZE), 5);
    EXPECT_EQ(UnicodeSeek(file, 3, SEEK_SET), 3);
    uint8_t buf[8];
    EXPECT_EQ(UnicodeRead(file, buf, sizeof(buf)), 2);
    EXPECT_EQ(UnicodeRead(file, buf, sizeof(buf)), 0);
    EXPECT_NE(UnicodeClose(file), 0);
}
