#include "catalogue/EncodingParameters.h"

#include "os/Convert.h"

namespace catalogue {

namespace {

// What departs from the values every format shares.
struct TEncodingNotes {
    const char* FileExt = nullptr; // the extension field, when it is not the name's extension
    const char* Aspect = "";
    const char* Target = "";
    const char* Norm = "";
    bool NoVideo = false; // an audio-only format
};

// Texts are the field values, "" a field left empty; bitrates in bit/s with their sentinels.
struct TEncodingEntry {
    int Key;
    const char* NameExt;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameSize;
    const char* FrameRate;
    int32_t VideoBitrate;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    int32_t AudioBitrate;
    TEncodingNotes Notes = {};
};

// Key 2600 names its file ".avi" although its title ends "(*.mp4)". The row is left so: a selected
// row's name takes the title's extension when the format is chosen for it, so the file ends ".mp4".
// clang-format off
constexpr TEncodingEntry EncodingTable[] = {
//   key   name ext video codec   tag     frame size   rate     video    audio codec          ch   rate     audio   notes
    // Family 0: category 13, "常用视频".
    {0,    ".avi",  "mpeg4",      "XVID", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1,    ".mp4",  "mpeg4",      "",     "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {2,    ".avi",  "mpeg4",      "DX50", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {3,    ".mov",  "",           "",     "",          "25",    816000,  "libfaac",           "2", "44100", 128000, {}},
    {4,    ".avi",  "libxvid",    "",     "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {5,    ".mkv",  "mpeg4",      "",     "",          "25",    1200000, "libmp3lame",        "2", "44100", 128000, {}},
    {6,    ".mpg",  "mpeg1video", "",     "",          "25",    528000,  "",                  "2", "44100", 128000, {}},
    {7,    ".mpg",  "mpeg2video", "",     "",          "25",    816000,  "",                  "2", "44100", 128000, {}},
    {8,    ".asf",  "msmpeg4",    "",     "",          "25",    816000,  "wmav2",             "2", "44100", 128000, {}},
    {9,    ".3gp",  "mpeg4",      "",     "176*144",   "12",    128000,  "libfaac",           "1", "8000",  12000,  {.Aspect = "4:3"}},
    {10,   ".wmv",  "wmv2",       "",     "",          "25",    816000,  "wmav2",             "2", "44100", 128000, {}},
    {11,   ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "dvd", .Norm = "PAL"}},
    {12,   ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "svcd", .Norm = "PAL"}},
    {13,   ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "vcd", .Norm = "PAL"}},
    {14,   ".rm",   "rv20",       "",     "320*240",   "",      -1,      "",                  "",  "",      -1,     {.FileExt = ""}},

    // Family 1: category 14, "常用音频".
    {100,  ".mp3",  "",           "",     "",          "",      -1,      "libmp3lame",        "2", "48000", 128000, {.NoVideo = true}},
    {101,  ".wma",  "",           "",     "",          "",      -1,      "wmav2",             "2", "48000", 128000, {.NoVideo = true}},
    {102,  ".wav",  "",           "",     "",          "",      -1,      "",                  "2", "48000", 128000, {.NoVideo = true}},
    {103,  ".aac",  "",           "",     "",          "",      -1,      "libfaac",           "2", "48000", 128000, {.NoVideo = true}},
    {104,  ".m4a",  "",           "",     "",          "",      -1,      "",                  "2", "48000", 128000, {.NoVideo = true}},
    {105,  ".ogg",  "",           "",     "",          "",      -1,      "libvorbis",         "2", "48000", 128000, {.NoVideo = true}},
    {106,  ".ra",   "",           "",     "",          "",      -1,      "",                  "2", "48000", 128000, {.FileExt = ".rm", .NoVideo = true}},
    {107,  ".ac3",  "",           "",     "",          "",      -1,      "ac3",               "2", "48000", 128000, {.NoVideo = true}},
    {108,  ".aiff", "",           "",     "",          "",      -1,      "",                  "2", "48000", 128000, {.NoVideo = true}},
    {109,  ".mp2",  "",           "",     "",          "",      -1,      "",                  "2", "44100", 128000, {.NoVideo = true}},
    {110,  ".flac", "",           "",     "",          "",      -1,      "flac",              "2", "48000", 128000, {.NoVideo = true}},
    {111,  ".m4a",  "",           "",     "",          "",      -1,      "",                  "2", "48000", 128000, {.NoVideo = true}},
    {112,  ".amr",  "",           "",     "",          "",      -1,      "libopencore_amrnb", "1", "8000",  7400,   {.NoVideo = true}},

    // Family 2: category 0, "H.264视频".
    {200,  ".avi",  "mpeg4",      "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 128000, {}},
    {201,  ".avi",  "libxvid",    "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 128000, {}},
    {202,  ".mp4",  "libx264",    "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 256000, {}},
    {203,  ".mp4",  "mpeg4",      "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 128000, {}},
    {204,  ".mov",  "",           "",     "1280*720",  "25",    1600000, "libfaac",           "2", "48000", 128000, {}},
    {205,  ".asf",  "msmpeg4",    "",     "1280*720",  "25",    1600000, "wmav2",             "2", "48000", 128000, {}},
    {206,  ".wmv",  "wmv2",       "",     "1280*720",  "25",    1600000, "wmav2",             "2", "48000", 128000, {.FileExt = ".asf"}},
    {207,  ".vob",  "",           "",     "1280*720",  "25",    1600000, "libfaac",           "2", "48000", 128000, {}},
    {208,  ".mpg",  "mpeg2video", "",     "1280*720",  "25",    1600000, "libfaac",           "2", "48000", 128000, {}},
    {209,  ".mkv",  "mpeg4",      "",     "1280*720",  "25",    1600000, "libfaac",           "2", "48000", 192000, {}},

    // Family 4: category 3, "iPhone视频".
    {400,  ".mp4",  "mpeg4",      "",     "480*320",   "25",    768000,  "libfaac",           "2", "48000", 128000, {}},
    {401,  ".mp4",  "libxvid",    "",     "640*480",   "25",    768000,  "libfaac",           "2", "48000", 128000, {}},
    {402,  ".mp4",  "mpeg4",      "",     "1280*720",  "29.97", 1200000, "libfaac",           "2", "48000", 128000, {.Aspect = "16:9"}},
    {403,  ".mp4",  "libx264",    "",     "1280*720",  "29.97", 1800000, "libfaac",           "2", "48000", 128000, {}},
    {404,  ".mp4",  "libx264",    "",     "1920*1080", "29.97", 2000000, "libfaac",           "2", "48000", 128000, {}},
    {405,  ".mp4",  "mpeg4",      "",     "720*406",   "25",    768000,  "libfaac",           "2", "48000", 128000, {.Aspect = "16:9"}},
    {406,  ".mp4",  "libx264",    "",     "720*406",   "29.97", 1200000, "libfaac",           "2", "48000", 128000, {}},
    {407,  ".mp4",  "mpeg4",      "",     "320*240",   "25",    768000,  "libfaac",           "2", "44100", 128000, {}},
    {408,  ".mp4",  "mpeg4",      "",     "480*320",   "25",    768000,  "libfaac",           "2", "48000", 128000, {}},
    {409,  ".mov",  "",           "",     "",          "25",    768000,  "libfaac",           "2", "48000", 128000, {}},
    {410,  ".mov",  "",           "",     "1280*720",  "29.97", 1000000, "libfaac",           "2", "48000", 128000, {}},
    {411,  ".avi",  "libxvid",    "",     "",          "25",    816000,  "libmp3lame",        "2", "48000", 128000, {}},
    {412,  ".avi",  "mpeg4",      "DX50", "1280*720",  "29.97", 1200000, "libmp3lame",        "2", "44100", 128000, {}},
    {413,  ".avi",  "msmpeg4",    "",     "1280*720",  "29.97", 1200000, "libmp3lame",        "2", "48000", 128000, {}},
    {414,  ".wmv",  "wmv2",       "",     "1280*720",  "29.97", 1600000, "wmav2",             "2", "48000", 128000, {}},

    // Family 5: category 4, "PSP视频".
    {500,  ".mp4",  "mpeg4",      "",     "320*240",   "29.97", 600000,  "libfaac",           "2", "48000", 128000, {}},
    {501,  ".mp4",  "libx264",    "",     "320*240",   "29.97", 768000,  "libfaac",           "2", "48000", 128000, {}},
    {502,  ".mp4",  "libx264",    "",     "320*240",   "29.97", 1200000, "libfaac",           "2", "48000", 128000, {}},
    {503,  ".mp4",  "libxvid",    "",     "320*240",   "29.97", 384000,  "libfaac",           "2", "48000", 128000, {}},
    {504,  ".mp4",  "libx264",    "",     "640*480",   "29.97", 1000000, "libfaac",           "2", "48000", 128000, {}},

    // Family 7: category 5, "APPLE视频".
    {700,  ".mp4",  "libx264",    "",     "320*240",   "25",    768000,  "libfaac",           "2", "48000", 192000, {}},
    {701,  ".mp4",  "libx264",    "",     "640*480",   "25",    1000000, "libfaac",           "2", "48000", 192000, {}},
    {702,  ".mp4",  "libx264",    "",     "1280*720",  "25",    1000000, "libfaac",           "2", "48000", 192000, {}},
    {703,  ".mp4",  "mpeg4",      "",     "640*480",   "25",    1200000, "libfaac",           "2", "48000", 192000, {}},
    {704,  ".mp4",  "libxvid",    "",     "640*480",   "25",    600000,  "libfaac",           "2", "48000", 192000, {}},

    // Family 10: category 6, "MP4视频".
    {1000, ".mp4",  "mpeg4",      "",     "320*240",   "25",    528000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1001, ".mp4",  "mpeg4",      "",     "",          "25",    768000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1002, ".mp4",  "libx264",    "",     "",          "25",    1200000, "libmp3lame",        "2", "44100", 128000, {}},
    {1003, ".mp4",  "libx264",    "",     "320*240",   "25",    1200000, "libfaac",           "2", "44100", 128000, {}},
    {1004, ".mp4",  "libx264",    "",     "",          "25",    1200000, "libmp3lame",        "2", "44100", 128000, {}},

    // Family 11: category 7, "Flash视频".
    {1100, ".flv",  "",           "",     "",          "25",    1200000, "libmp3lame",        "2", "22050", 128000, {}},
    {1101, ".swf",  "",           "",     "",          "25",    528000,  "libmp3lame",        "2", "22050", 128000, {}},
    {1102, ".flv",  "",           "",     "",          "",      -1,      "libmp3lame",        "2", "22050", 128000, {.FileExt = "", .NoVideo = true}},
    {1103, ".swf",  "",           "",     "",          "",      -1,      "libmp3lame",        "2", "22050", 128000, {.FileExt = "", .NoVideo = true}},

    // Family 12: category 8, "iPad视频".
    {1200, ".mp4",  "mpeg4",      "",     "",          "30",    1200000, "libfaac",           "2", "32000", 128000, {}},
    {1201, ".mp4",  "libx264",    "",     "720*480",   "30",    1200000, "libfaac",           "2", "44100", 128000, {}},
    {1202, ".mp4",  "libxvid",    "",     "",          "30",    1000000, "libfaac",           "2", "32000", 128000, {}},
    {1203, ".mp4",  "libx264",    "",     "1280*720",  "30",    1500000, "libfaac",           "2", "48000", 160000, {}},
    {1204, ".mp4",  "mpeg4",      "",     "",          "30",    1000000, "libfaac",           "2", "24000", 128000, {}},
    {1205, ".mp4",  "mpeg4",      "",     "",          "29.97", 1200000, "libfaac",           "2", "44100", 128000, {}},
    {1206, ".mp4",  "libx264",    "",     "1920*1080", "30",    1500000, "libfaac",           "2", "48000", 160000, {}},
    {1207, ".mov",  "",           "",     "",          "25",    768000,  "libfaac",           "2", "48000", 128000, {}},
    {1208, ".mov",  "",           "",     "1280*720",  "29.97", 1200000, "libfaac",           "2", "48000", 128000, {}},
    {1209, ".avi",  "libxvid",    "",     "",          "25",    816000,  "libmp3lame",        "2", "48000", 128000, {}},
    {1210, ".avi",  "mpeg4",      "DX50", "1280*720",  "29.97", 1200000, "libfaac",           "2", "44100", 128000, {}},

    // Family 13: category 1, "MPG视频".
    {1300, ".mpg",  "mpeg1video", "",     "",          "25",    528000,  "",                  "2", "44100", 128000, {}},
    {1301, ".mpg",  "mpeg1video", "",     "",          "25",    528000,  "",                  "2", "44100", 128000, {}},
    {1302, ".mpg",  "mpeg2video", "",     "",          "25",    816000,  "",                  "2", "44100", 128000, {}},
    {1303, ".mp4",  "mpeg4",      "",     "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1304, ".mpg",  "mpeg2video", "",     "1280*720",  "25",    1600000, "libfaac",           "2", "48000", 128000, {}},
    {1305, ".mp4",  "mpeg4",      "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 128000, {}},
    {1306, ".mpg",  "mpeg2video", "",     "",          "25",    816000,  "",                  "2", "44100", 128000, {}},
    {1307, ".mpg",  "mpeg2video", "",     "",          "25",    816000,  "",                  "2", "44100", 128000, {}},
    {1308, ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "dvd", .Norm = "PAL"}},
    {1309, ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "svcd", .Norm = "PAL"}},
    {1310, ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "vcd", .Norm = "PAL"}},

    // Family 15: category 9, "AVI视频".
    {1500, ".avi",  "mpeg4",      "DX50", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1501, ".avi",  "libx264",    "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 256000, {}},
    {1502, ".avi",  "mpeg4",      "XVID", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1503, ".avi",  "libxvid",    "",     "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1504, ".avi",  "mpeg4",      "DX50", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1505, ".avi",  "mpeg4",      "XVID", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1506, ".avi",  "libxvid",    "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 128000, {}},

    // Family 16: category 10, "MKV视频".
    {1600, ".mkv",  "mpeg4",      "",     "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1601, ".mkv",  "libx264",    "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 256000, {}},
    {1602, ".mkv",  "mpeg4",      "XVID", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1603, ".mkv",  "libxvid",    "",     "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1604, ".mkv",  "mpeg4",      "DX50", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1605, ".mkv",  "mpeg4",      "XVID", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {1606, ".mkv",  "libxvid",    "",     "1280*720",  "25",    1600000, "libmp3lame",        "2", "48000", 128000, {}},

    // Family 17: category 11, "WMV视频".
    {1700, ".wmv",  "wmv2",       "",     "",          "25",    816000,  "wmav2",             "2", "44100", 128000, {}},
    {1701, ".wmv",  "wmv2",       "",     "1280*720",  "30",    1600000, "wmav2",             "2", "48000", 128000, {}},
    {1702, ".wmv",  "wmv2",       "",     "320*240",   "25",    816000,  "wmav2",             "2", "44100", 128000, {}},
    {1703, ".wmv",  "wmv2",       "",     "1024*768",  "25",    1000000, "wmav2",             "2", "44100", 128000, {}},
    {1704, ".wmv",  "wmv2",       "",     "",          "25",    728000,  "wmav2",             "2", "44100", 128000, {}},
    {1705, ".wmv",  "wmv2",       "",     "320*240",   "25",    528000,  "wmav2",             "2", "44100", 128000, {}},
    {1706, ".wmv",  "wmv2",       "",     "1280*720",  "30",    1600000, "wmav2",             "2", "48000", 128000, {}},

    // Family 21: category 12, "MTS视频".
    {2100, ".avi",  "mpeg4",      "XVID", "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {2101, ".avi",  "libx264",    "",     "1280*720",  "30",    1600000, "libmp3lame",        "2", "48000", 256000, {}},
    {2102, ".avi",  "mpeg4",      "DX50", "",          "29.97", 1200000, "libmp3lame",        "2", "44100", 128000, {}},
    {2103, ".mpg",  "mpeg2video", "",     "",          "25",    1000000, "",                  "2", "44100", 128000, {}},
    {2104, ".mpg",  "mpeg2video", "",     "",          "25",    1200000, "",                  "2", "44100", 128000, {}},
    {2105, ".mp4",  "mpeg4",      "",     "",          "25",    816000,  "libmp3lame",        "2", "44100", 128000, {}},
    {2106, ".avi",  "libxvid",    "",     "",          "25",    1000000, "libmp3lame",        "2", "44100", 128000, {}},
    {2107, ".3gp",  "mpeg4",      "",     "176*144",   "12",    128000,  "libfaac",           "1", "8000",  12000,  {.Aspect = "4:3"}},
    {2108, ".wmv",  "wmv2",       "",     "",          "25",    816000,  "wmav2",             "2", "44100", 128000, {}},
    {2109, ".flv",  "",           "",     "",          "25",    1200000, "libmp3lame",        "2", "22050", 128000, {}},
    {2110, ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "dvd", .Norm = "PAL"}},
    {2111, ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "svcd", .Norm = "PAL"}},
    {2112, ".mpg",  "",           "",     "",          "",      -1000,   "",                  "",  "",      -1000,  {.FileExt = "", .Target = "vcd", .Norm = "PAL"}},

    // Family 26: category 2, "智能电视".
    {2600, ".avi",  "libx264",    "",     "",          "29.97", 1500000, "libmp3lame",        "2", "48000", 128000, {}},
    {2601, ".mp4",  "mpeg4",      "",     "3840*2160", "30",    1200000, "libfaac",           "2", "48000", 128000, {}},
    {2602, ".mp4",  "libxvid",    "",     "1920*1080", "25",    1500000, "libfaac",           "2", "48000", 128000, {}},
    {2603, ".mp4",  "libx264",    "",     "1280*720",  "29.97", 1800000, "libfaac",           "2", "48000", 128000, {}},
    {2604, ".avi",  "mpeg4",      "",     "1280*720",  "29.97", 1600000, "libmp3lame",        "2", "48000", 128000, {}},
    {2605, ".avi",  "libxvid",    "",     "3840*2160", "",      2500000, "libmp3lame",        "2", "44100", 128000, {}},
    {2606, ".mkv",  "mpeg4",      "XVID", "1280*720",  "29.97", 1200000, "libmp3lame",        "2", "44100", 128000, {}},
    {2607, ".mov",  "",           "",     "",          "29.97", 1200000, "libfaac",           "2", "48000", 128000, {}},
    {2608, ".flv",  "",           "",     "",          "25",    816000,  "libmp3lame",        "2", "22050", 128000, {}},
    {2609, ".wmv",  "wmv2",       "",     "",          "25",    1200000, "wmav2",             "2", "44100", 128000, {}},
    {2610, ".mpg",  "mpeg2video", "",     "",          "25",    1200000, "",                  "2", "44100", 128000, {}},
    {2611, ".mp4",  "libx264",    "",     "1920*1080", "29.97", 2000000, "libfaac",           "2", "48000", 128000, {}},
};
// clang-format on

const TEncodingEntry* FindEncoding(int key) {
    for (const TEncodingEntry& e : EncodingTable)
        if (e.Key == key) return &e;
    return nullptr;
}

} // namespace

std::optional<TParameterSet> ParameterSetOf(int key) {
    const TEncodingEntry* e = FindEncoding(key);
    if (!e) return std::nullopt;
    TParameterSet set;
    set.Video_FileExt = e->Notes.FileExt ? e->Notes.FileExt : e->NameExt;
    set.Video_VideoCodec = e->VideoCodec;
    set.Video_VideoTag = e->VideoTag;
    set.Video_FrameSize = e->FrameSize;
    set.Video_FrameRate = e->FrameRate;
    set.Video_VideoBitrate = e->VideoBitrate;
    set.Video_AudioCodec = e->AudioCodec;
    set.Video_AudioChannels = e->AudioChannels;
    set.Video_AudioSampleRate = e->AudioSampleRate;
    set.Video_AudioBitrate = e->AudioBitrate;
    set.Video_FrameAspectRatio = e->Notes.Aspect;
    set.Video_TargetType = e->Notes.Target;
    set.Video_NormType = e->Notes.Norm;
    set.Video_DisableVideo = e->Notes.NoVideo;
    return set;
}

std::string NameExtOf(int key) {
    const TEncodingEntry* e = FindEncoding(key);
    return e ? e->NameExt : "";
}

TParameterSubItems ParameterSubItems(const TParameterSet& set) {
    return {
        set.Video_VideoCodec,
        set.Video_AudioCodec,
        set.Video_AudioChannels,
        set.Video_VideoTag,
        set.Video_FileExt,
        set.Video_FrameSize,
        os::FormatC("%d", set.Video_VideoBitrate),
        set.Video_FrameRate,
        os::FormatC("%d", set.Video_AudioBitrate),
        set.Video_AudioSampleRate,
        set.Video_FrameAspectRatio,
        set.Video_DisableVideo ? "True" : "False",
        set.Video_TargetType,
        set.Video_NormType,
    };
}

} // namespace catalogue
