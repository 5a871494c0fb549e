#include "fixtures/Fixtures.h"
#include "media/AVApi.h"
#include "media/ComponentUtils.h"
#include "media/FFBaseComponent.h"
#include "media/FFUtils.h"
#include "media/MediaTypes.h"
#include "media/OutputFile.h"

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

using namespace media;

namespace {

// Switches to a decimal-comma locale; false when the system has none.
bool UseDecimalCommaLocale() {
    return std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "de_DE.utf8");
}

struct LocaleRestore {
    ~LocaleRestore() { std::setlocale(LC_ALL, "C"); }
};

} // namespace

TEST(MediaTexts, TimeText) {
    struct {
        int64_t t;
        const char* text;
    } cases[] = {
        {0,           "00:00:00.000" },
        {3599999999,  "00:59:59.999" },
        {90061500000, "25:01:01.500" }, // hours are not wrapped
        {NoTime,      "N/A"          },
        {-1500000,    "-00:00:01.500"}
    };
    for (auto c : cases) EXPECT_EQ(TimeText(c.t), c.text) << c.t;
}

TEST(MediaTexts, ErrorTextKeepsTheOldMessagesForTheCurrentCodes) {
    struct {
        int code;
        const char* message;
    } cases[] = {
        {AVERROR(ENOENT),            "No such file or directory"               },
        {AVERROR(EIO),               "I/O error"                               },
        {AVERROR(ENOMEM),            "Not enough memory"                       },
        {AVERROR(EINVAL),            "Invalid data found when processing input"},
        {AVERROR_INVALIDDATA,        "Invalid data found when processing input"},
        {AVERROR_EOF,                "End of file"                             },
        {AVERROR(EDOM),              "Number syntax expected in filename"      },
        {AVERROR_DEMUXER_NOT_FOUND,  "Unknown format"                          },
        {AVERROR_PROTOCOL_NOT_FOUND, "Unsupported network protocol"            },
        {AVERROR_PATCHWELCOME,       "Not yet implemented in FFmpeg"           },
 // System codes the table lacks: the system's own words.
        {AVERROR(EACCES),            "Permission denied"                       },
        {AVERROR(EISDIR),            "Is a directory"                          },
        {AVERROR(ENAMETOOLONG),      "File name too long"                      },
        {AVERROR(ENOSPC),            "No space left on device"                 },
        {AVERROR(EFBIG),             "File too large"                          },
 // Neither: a number.
        {-1,                         "Error number -1 occurred"                },
        {-99999,                     "Error number -99999 occurred"            },
        {AVERROR_BUG,                "Error number -558323010 occurred"        },
    };
    for (auto c : cases) EXPECT_EQ(ErrorText("a.avi", c.code), std::string("a.avi: ") + c.message) << c.code;
}

TEST(OutputFiles, TheLocalPathOfALibraryName) {
    struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"/a/b.mp4",                         "/a/b.mp4"           },
        {"b.mp4",                            "b.mp4"              },
        {"/tmp/a:b.mp4",                     "/tmp/a:b.mp4"       },
        {"file:/a/b.mp4",                    "/a/b.mp4"           },
        {"unicode:utf8:/a/\xE9\x95\xBF.mp4", "/a/\xE9\x95\xBF.mp4"},
        {"pipe:1",                           ""                   },
        {"http://host/b.mp4",                ""                   },
        {"stream:123:x",                     ""                   },
    };
    for (const auto& c : cases) EXPECT_EQ(TOutputFile::LocalPath(c.name), c.path) << c.name;
}

TEST(MediaTexts, SizeToText) {
    struct {
        int64_t bytes;
        const char* text;
    } cases[] = {
        {1024,       "1024 Byte" },
        {1025,       "1.00 KB"   },
        {1048576,    "1024.00 KB"},
        {1073741824, "1024.00 MB"},
        {1073741825, "1.00 GB"   },
        {-1,         "-1 Byte"   }
    };
    for (auto c : cases) EXPECT_EQ(SizeToText(c.bytes), c.text) << c.bytes;
}

TEST(MediaTexts, NumbersStayInTheCLocale) {
    LocaleRestore restore;
    ASSERT_TRUE(UseDecimalCommaLocale()) << "de_DE.UTF-8 is not generated (scripts/deps.sh --tests)";
    EXPECT_EQ(SizeToText(1536), "1.50 KB");
    EXPECT_EQ(TimeText(1500), "00:00:00.001");
}

TEST(MediaTexts, SplitFirst) {
    struct {
        const char* text;
        const char* sep;
        bool remove;
        const char* head;
        const char* rest;
    } cases[] = {
        {"a=b=c",    "=",      true,  "a",   "b=c"  },
        {"a=b=c",    "=",      false, "a",   "a=b=c"},
        {"abc",      "=",      true,  "abc", ""     },
        {"abc",      "=",      false, "abc", "abc"  },
        {"x<CRLF>y", "<CRLF>", true,  "x",   "y"    },
        {"abc",      "",       true,  "abc", ""     }
    };
    for (auto c : cases) {
        std::string text = c.text, head;
        SplitFirst(text, c.sep, c.remove, head);
        EXPECT_EQ(head, c.head) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(MediaTexts, MediaTypeNamesAndFrameDurations) {
    EXPECT_EQ(MediaTypeName(AVMEDIA_TYPE_VIDEO), "Video");
    EXPECT_EQ(MediaTypeName(AVMEDIA_TYPE_ATTACHMENT), "Attachment");
    EXPECT_EQ(MediaTypeName(-1), "Unknown");
    EXPECT_EQ(MediaTypeName(5), "Unknown");
    EXPECT_EQ(FrameDuration({25, 1}), 40000);
    EXPECT_EQ(FrameDuration({30000, 1001}), 33366);
    for (AVRational r : {
             AVRational{0,  0},
             AVRational{25, 0},
             AVRational{0,  1}
    })
        EXPECT_EQ(FrameDuration(r), 40000);
}

TEST(MediaTexts, DateTimes) {
    ::setenv("TZ", "UTC", 1);
    EXPECT_DOUBLE_EQ(UnixToDateTime(0), 25569.0);
    EXPECT_EQ(DateTimeText("yyyy-mm-dd hh:nn:ss", UnixToDateTime(1700000000)), "2023-11-14 22:13:20");
    // Standard time only: the bias of a zone with daylight saving is its winter bias.
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    EXPECT_EQ(DateTimeText("yyyy-mm-dd hh:nn:ss", UnixToDateTime(1690000000)), "2023-07-22 05:26:40");
    ::unsetenv("TZ");
}

TEST(MediaUtils, SeekFlagsAreTheLibrariesBits) {
    EXPECT_EQ(SeekFlagsToAV({}), 0);
    EXPECT_EQ(SeekFlagsToAV({sfBackward, sfFrame}), AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_FRAME);
    EXPECT_EQ(SeekFlagsToAV({sfByte, sfAny}), AVSEEK_FLAG_BYTE | AVSEEK_FLAG_ANY);
}

TEST(MediaUtils, FileSizesAndWholeFiles) {
    fixtures::LoadMediaLibraries();
    fixtures::TempFolder folder;
    std::ofstream(folder.Path("five")) << "12345";
    std::ofstream(folder.Path("empty"));
    EXPECT_EQ(FileSizeByName(folder.Path("five")), 5);
    EXPECT_EQ(FileSizeByName(folder.Path("missing")), -1);
    EXPECT_EQ(FileSizeByName(folder.Dir()), -1);

    uint8_t* buf = nullptr;
    int64_t size = 0;
    ASSERT_EQ(ReadWholeFile(folder.Path("five").c_str(), buf, size), 0);
    EXPECT_EQ(size, 6);
    EXPECT_STREQ(reinterpret_cast<char*>(buf), "12345");
    av::av_free(buf);
    ASSERT_EQ(ReadWholeFile(folder.Path("empty").c_str(), buf, size), 0);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(buf[0], 0);
    av::av_free(buf);
    EXPECT_EQ(ReadWholeFile(folder.Path("missing").c_str(), buf, size), -1);
    EXPECT_EQ(ReadWholeFile(folder.Dir().c_str(), buf, size), -1);
    EXPECT_EQ(buf, nullptr);
}

TEST(MediaUtils, MetadataAndCodecNames) {
    fixtures::LoadMediaLibraries();
    AVDictionary* meta = nullptr;
    av::av_dict_set(&meta, "title", "测试", 0);
    EXPECT_EQ(MetadataValue(meta, "title", "-"), "测试");
    EXPECT_EQ(MetadataValue(meta, "artist", "-"), "-");
    av::av_dict_free(&meta);

    AVCodecContext* ctx = av::avcodec_alloc_context3(nullptr);
    ctx->codec_id = AV_CODEC_ID_MPEG4;
    EXPECT_EQ(CodecNameText(ctx, false), "mpeg4(MPEG-4 part 2)");
    ctx->codec_id = AV_CODEC_ID_MPEG2TS;
    EXPECT_EQ(CodecNameText(ctx, true), "mpeg2ts");
    ctx->codec_id = AV_CODEC_ID_NONE;
    ctx->codec_tag = MKTAG('X', 'V', 'I', 'D');
    EXPECT_EQ(CodecNameText(ctx, false), "XVID / 0x44495658");
    ctx->codec_tag = 0x0102;
    EXPECT_EQ(CodecNameText(ctx, false), "0x0102");
    av::avcodec_free_context(&ctx);
}

TEST(MediaUtils, CallInMainThreadWaitsForThePumpAndRunsDirectlyOnTheGuiThread) {
    bool direct = false;
    CallInMainThread([&] { direct = true; });
    EXPECT_TRUE(direct);
    EXPECT_FALSE(ProcessOneMessage()); // nothing was queued

    std::atomic<bool> ran{false}, returned{false};
    std::thread worker([&] {
        CallInMainThread([&] { ran = true; });
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(returned);
    while (!returned) ProcessMessages();
    worker.join();
    EXPECT_TRUE(ran);
}

TEST(MediaUtils, TheWindowSystemCanTakeOverThePump) {
    int pumped = 0;
    SetMessagePump([&] { return ++pumped < 3; });
    ProcessMessages();
    EXPECT_EQ(pumped, 3);
    SetMessagePump(nullptr);
    EXPECT_FALSE(ProcessOneMessage());
}
