#include "catalogue/SettingsTables.h"

#include "catalogue/EncodingParameters.h"
#include "catalogue/Formats.h"

#include <climits>
#include <vector>

namespace catalogue {

namespace {

using namespace presets;

// A field a row leaves as it stands in the base: the main window's format at the same key, or,
// for the families the main window does not have, the reset parameter set.
constexpr const char* Same = nullptr;
constexpr int32_t SameBitrate = INT32_MIN;

// clang-format off
constexpr TSettingsCategory CategoryTable[SettingsCategoryCount] = {
    {"常用视频", 0},
    {"常用音频", 1},
    {"HD视频", 2},
    {"iPod视频", 3},
    {"iPhone视频", 4},
    {"PSP视频", 5},
    {"3GP视频", 6},
    {"APPLE视频", 7},
    {"XboX视频", 8},
    {"PMP视频", 9},
    {"MP4视频", 10},
    {"Flash视频", 11},
};

constexpr int FormatsPerCategory[SettingsCategoryCount] = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};

// Every format of the dialog in picker order, with its picture. Titles and captions stand as the
// list shows them, blanks included ("(*.wav) ", "-  第三代").
struct TFormatRow {
    int Key;
    int ImageIndex;
    const char* Title;   // Same: the main window's title
    const char* Caption; // Same: the main window's caption
};
constexpr TFormatRow FormatTable[] = {
    {0, 0, Same, Same},
    {1, 1, Same, Same},
    {2, 2, Same, Same},
    {3, 3, Same, Same},
    {4, 4, Same, Same},
    {5, 5, Same, Same},
    {6, 6, Same, Same},
    {7, 7, Same, Same},
    {8, 8, Same, Same},
    {9, 9, Same, Same},
    {10, 10, Same, Same},
    {11, 11, Same, Same},
    {12, 12, Same, Same},
    {13, 13, Same, Same},
    {14, 14, Same, Same},
    {100, 0, Same, Same},
    {101, 1, Same, Same},
    {102, 2, "WAV - 波形音频格式(*.wav) ", Same},
    {103, 3, Same, Same},
    {104, 4, Same, Same},
    {105, 5, Same, Same},
    {106, 6, Same, Same},
    {107, 7, Same, Same},
    {108, 8, Same, Same},
    {109, 9, Same, Same},
    {110, 10, Same, Same},
    {111, 11, "ALAC-Apple Lossless无损音频格式(*.alac) ", "ALAC是流行的Apple Lossless无损音频格,ALAC是一种无损压缩音频技术,具有完美的CD音质"},
    {112, 12, Same, Same},
    {200, 20, Same, Same},
    {201, 21, Same, Same},
    {202, 21, Same, "高清晰H264视频格式(H264 AVC视频编码)"},
    {203, 21, Same, "高清MPEG-4视频格式)"},
    {204, 21, Same, "高清MOV视频格式(QuickTime苹果视频格式)"},
    {205, 21, Same, "微软高清晰ASF视频格式(高级流视频格式)"},
    {206, 21, Same, "微软高清晰WMV视频格式(高级流视频格式)"},
    {207, 21, Same, "高清DVD视频格式"},
    {208, 21, Same, "高清MPEG-2视频格式"},
    {209, 21, Same, "高清MKV视频格式"},
    {300, 20, "iPod (320X240) 高清晰视频(*.mp4)", "为iPod优化的MPEG-4视频预置方案.(320*240高质量)"},
    {301, 21, "iPod (320X240) 高压缩视频(*.mp4)", "为iPod优化的MPEG-4视频预置方案.(320*240高压缩)"},
    {302, 21, "iPod (320X240) 标准视频(*.mp4)", "为iPod优化的MPEG-4视频预置方案.(320*240标准)"},
    {303, 21, "iPod Video2 TV OutPut视频(*.mp4)", "为iPod优化的电视TV视频预置方案."},
    {304, 21, "iPod Video2 (640X480)视频(*.mp4)", "为iPod Video2优化的(640X480)视频预置方案.(640X480标准)"},
    {305, 21, "iPod Video2 (640X480)高清晰视频(*.mp4)", "为iPod Video2优化的(640X480)视频预置方案.(640X480高清晰)"},
    {306, 21, "iPod Video2 (640X480)高压缩视频(*.mp4)", "为iPod Video2优化的(640X480)视频预置方案.(640X480高压缩)"},
    {307, 21, "iPod touch MPEG-4视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案."},
    {308, 21, "iPod touch MPEG-4 480P视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(480P)"},
    {309, 21, "iPod touch MPEG-4 480P高清晰视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(高清晰)"},
    {310, 21, "iPod touch MPEG-4 480P高压缩视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(高压缩)"},
    {311, 21, "iPod touch MPEG-4 480P宽屏视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(宽频)"},
    {312, 21, "iPod touch MPEG-4 (320X240)视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(320*240)"},
    {313, 21, "iPod touch MPEG-4 (480X320)视频(*.mp4)", "为iPod touch优化的MPEG-4视频预置方案.(480X320)"},
    {400, 20, "iPhone MPEG-4视频(*.mp4)", "为iPhone优化的MPEG-4视频预置方案."},
    {401, 21, Same, "为iPhone优化的MPEG-4视频预置方案.(480P)"},
    {402, 20, "iPhone MPEG-4视频宽屏(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(宽屏)"},
    {403, 21, "iPhone MPEG-4高清晰视频(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(高清晰)"},
    {404, 20, "iPhone MPEG-4视频(320X240)(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(320*240)"},
    {405, 21, "iPhone MPEG-4视频(480X320)(*.mp4)", "为iPhone优化的MPEG-4视频预置方案.(480*320)"},
    {500, 20, Same, "为PSP优化的MPEG-4视频预置方案."},
    {501, 21, Same, "为PSP优化的AVC MPEG-4视频预置方案."},
    {502, 20, Same, "为PSP优化的MPEG-4视频预置方案.(高清晰)"},
    {503, 21, Same, "为PSP优化的MPEG-4视频预置方案.(高压缩)"},
    {504, 20, Same, "为PSP优化的MPEG-4视频预置方案.(480P)"},
    {600, 20, "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)", "第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AMR音频)"},
    {601, 20, "3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)", "第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AAC音频)"},
    {602, 21, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))", "第三代合作伙伴项目2-3GPP2制定的多媒体格式，手机视频格式.(AMR音频)"},
    {603, 21, "3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)", "第三代合作伙伴项目2-3GPP2制定的多媒体格式，手机视频格式.(AAC音频)"},
    {604, 20, "黑莓手机3GP视频+AMR音频(*.3gp)", "为黑莓手机优化的AMR音频预置方案.(AMR音频)"},
    {605, 21, "黑莓手机3GP视频+AAC音频(*.3gp)", "为黑莓手机优化的3GPP视频预置方案.(AAC音频)"},
    {606, 20, "黑莓手机AVI视频(*.avi)", "为黑莓手机优化的AVI视频预置方案."},
    {607, 21, "黑莓手机MPEG-4视频(*.mp4)", "为黑莓手机优化的MPEG-4视频预置方案."},
    {608, 21, "黑莓手机AMR音频格式(*.amr)", "为黑莓手机优化的AMR音频格式预置方案."},
    {609, 21, "Symbian智能平台手机专用MP4视频(*.mp4)", "为智能手机手机优化的MP4视频预置方案.(如诺基亚等)"},
    {610, 21, "各种手机常用的MP4视频(*.mp4)", "为常用手机优化的MP4视频预置方案.(如索爱/三星/摩托罗拉等)"},
    {611, 21, "各种手机常用的AVI视频(*.avi)", "为常用手机优化的AVI视频预置方案."},
    {612, 21, "各种手机常用的MOV视频(*.mov)", "为手机优化的MOV视频预置方案."},
    {613, 21, "各种手机常用的MP4视频(*.mp4)", "为手机优化的MP4视频预置方案."},
    {700, 22, Same, "为Apple TV优化的MPEG-4 H264视频预置方案.(320X240)"},
    {701, 23, Same, "为Apple TV优化的MPEG-4 H264视频预置方案.(640X480)"},
    {702, 24, Same, "为Apple TV优化的MPEG-4 H264视频预置方案.(1280X720)"},
    {703, 25, Same, "为Apple TV优化的MPEG-4 H264视频预置方案.(640X480高清晰)"},
    {704, 26, Same, "为Apple TV优化的MPEG-4视频预置方案.(640X480高压缩)"},
    {800, 22, "Xbox360 HD H.264视频(*.mp4)", "Xbox360支持AVC/H.264视频文件."},
    {801, 23, "Xbox360 MCE HD MPEG-2视频(*.mpg)", "为Xbox360优化的高清晰MPEG-2视频预置方案."},
    {802, 24, "Xbox360 MCE HD MPEG-2视频(*.mpg)", "为Xbox360优化的高清晰MPEG-2视频预置方案."},
    {803, 25, "Xbox360 MPEG-4视频(*.mp4)", "为Xbox360优化的MP4视频预置方案."},
    {804, 26, "Xbox360 MP4高清晰视频(*.mp4)", "为Xbox360优化的MP4视频预置方案.(高清晰)"},
    {805, 21, "Xbox360 WMV视频(*.wmv)", "为Xbox360优化的WMV视频预置方案."},
    {806, 21, "Xbox360 WMV HDTV视频(*.wmv)", "为Xbox360优化的WMV视频预置方案.(高清晰)"},
    {807, 21, "Xbox360 MCE 高清晰AVI视频(*.avi)", "为Xbox360优化的AVI视频预置方案.(高清晰)."},
    {808, 21, "Xbox360 MCE 高清晰AVI视频(*.avi)", "为Xbox360优化的AVI视频预置方案.(微软编码1)."},
    {809, 21, "Xbox360 MCE 高清晰AVI视频(*.avi)", "为Xbox360优化的AVI视频预置方案.(微软编码2)."},
    {900, 22, "爱可视AV500/GMini402视频(*.avi)", "为爱可视AV500/GMini402优化的MPEG-4视频预置方案"},
    {901, 23, "爱可视AV700视频(*.avi)", "为爱可视AV700优化的MPEG-4视频预置方案"},
    {902, 24, "Creative Zen Vision视频(*.avi)", "为Creative Zen Vision优化的MPEG-4视频预置方案"},
    {903, 25, "Zune MPEG-4 AVC视频(*.mp4)", "为微软Zune优化的MPEG-4 AVC视频预置方案"},
    {904, 26, "Zune MPEG-4 AVC视频(*.mp4)", "为微软Zune优化的MPEG-4 AVC视频预置方案"},
    {905, 21, "Zune MPEG-4视频(*.mp4)", "为微软Zune优化的MPEG-4视频预置方案"},
    {906, 21, "Zune WMV多媒体视频(*.wmv)", "为微软Zune优化的WMV多媒体视频预置方案"},
    {907, 21, "iRiver PMP-100视频(*.avi)", "为iRiver PMP-100优化的MPEG-4视频预置方案"},
    {1000, 22, Same, "为各种MP4机优化的MPEG-4视频预置方案"},
    {1001, 23, Same, "为电脑上使用的MP4优化的MPEG-4视频预置方案"},
    {1002, 24, Same, "MPEG-4视频预置方案(高清晰编码格式)"},
    {1003, 25, Same, "MPEG-4 AVC视频预置方案"},
    {1004, 26, Same, "优化的MPEG-4视频预置方案(H264高清晰编码)"},
    {1100, 22, Same, "在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)"},
    {1101, 23, Same, "最常用的FLASH动画视频预置方案，动画格式为SWF文件"},
    {1102, 24, Same, "在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)(音频格式)"},
    {1103, 25, Same, "最常用的FLASH动画视频预置方案，动画格式为SWF文件(音频格式)"},
};

// The preset lists the main window does not have; "176*144" before "160*120" and the like are meant.
const TPresetList FS6{"FS6", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480"}};
const TPresetList FS9{"FS9", {"112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208", "320*224", "320*240", "352*288", "480*360"}};
const TPresetList FS11{"FS11", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576"}};
const TPresetList FS12{"FS12", {"1280*720", "1440*1080", "1920*1080"}};
const TPresetList FS13{"FS13", {"640*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"}};
const TPresetList FS14{"FS14", {"704*576", "1280*720", "1440*1080", "1920*1080"}};
const TPresetList FS15{"FS15", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "704*576", "1280*720", "1440*1080", "1920*1080"}};
const TPresetList FS17{"FS17", {"160*120", "320*240", "480*272", "640*480", "720*480"}};
const TPresetList FS18{"FS18", {"320*240", "640*480"}};
const TPresetList VB10{"VB10", {"8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps", "512 kbps", "600 kbps"}};
const TPresetList FR7{"FR7", {"1", "2", "3", "5", "10", "12", "15", "25"}};
const TPresetList AB5{"AB5", {"48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps"}};
const TPresetList AB6{"AB6", {"32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps"}};
const TPresetList SR4{"SR4", {"8000", "11025", "16000", "22050", "32000", "44100", "48000"}};

// The entries that differ from the main window's at the same key; every other key fills the
// pickers as the main window does. Key 309 has its entry but no encoding row.
constexpr TPresetEntry PresetTable[] = {
// key, frame size, video bitrate, frame rate, audio bitrate, sample rate, aspect, audio-only
    {300, {&R12, 3}, {&V14, 4}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {301, {&R12, 3}, {&V14, 2}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {302, {&R12, 3}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {303, {&R12, 6}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {304, {&R12, 6}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {305, {&R12, 6}, {&V14, 5}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {306, {&R12, 6}, {&V14, 2}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {307, {&FS6, 6}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {308, {&FS6, 11}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {309, {&FS6, 11}, {&V14, 5}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {310, {&FS6, 11}, {&V14, 2}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {311, {&FS6, 9}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 2}, false},
    {312, {&FS6, 3}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {313, {&FS6, 6}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {400, {&FS6, 6}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {401, {&FS6, 11}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {402, {&R8, 12}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 2}, false},
    {403, {&R8, 11}, {&V14, 5}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {404, {&R8, 3}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {405, {&R8, 6}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {600, {&R18, 4}, {&V24, 9}, {&F7, 5}, {&A3, 5}, {&S5, 0}, {&M1, 0}, false},
    {601, {&R18, 4}, {&V24, 9}, {&F7, 5}, {&AB5, 0}, {&SR4, 4}, {&M1, 0}, false},
    {602, {&R18, 4}, {&V24, 9}, {&F7, 5}, {&A3, 5}, {&S5, 0}, {&M1, 0}, false},
    {603, {&R18, 4}, {&V24, 9}, {&F7, 5}, {&AB5, 0}, {&SR4, 4}, {&M1, 0}, false},
    {604, {&FS9, 4}, {&V24, 9}, {&F7, 5}, {&A3, 5}, {&S5, 0}, {&M1, 0}, false},
    {605, {&FS9, 4}, {&V24, 9}, {&F7, 5}, {&AB5, 0}, {&SR4, 4}, {&M1, 0}, false},
    {606, {&FS9, 4}, {&V24, 9}, {&F7, 5}, {&AB5, 0}, {&SR4, 4}, {&M1, 0}, false},
    {607, {&FS9, 4}, {&VB10, 10}, {&FR7, 6}, {&AB5, 0}, {&SR4, 4}, {&M1, 0}, false},
    {608, {&R15, 0}, {&V20, 0}, {&F5, 0}, {&A4, 4}, {&S5, 0}, {&M2, 0}, true},
    {609, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&M1, 0}, false},
    {610, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&M1, 0}, false},
    {611, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&M1, 0}, false},
    {612, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&M1, 0}, false},
    {613, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&M1, 0}, false},
    {800, {&FS11, 7}, {&V14, 5}, {&F3, 8}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {801, {&FS12, 0}, {&V14, 5}, {&F3, 9}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {802, {&FS12, 0}, {&V14, 5}, {&F3, 9}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {803, {&FS11, 7}, {&V14, 4}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {804, {&FS13, 7}, {&V14, 5}, {&F3, 9}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {805, {&FS11, 7}, {&V14, 5}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {806, {&FS14, 2}, {&V14, 7}, {&F3, 9}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {807, {&FS15, 8}, {&V14, 7}, {&F3, 9}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {808, {&R10, 9}, {&V14, 5}, {&F3, 8}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {809, {&FS15, 8}, {&V14, 7}, {&F3, 9}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {900, {&FS17, 2}, {&V14, 4}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {901, {&FS17, 4}, {&V14, 4}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {902, {&FS17, 1}, {&V14, 2}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {903, {&FS18, 0}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {904, {&FS18, 0}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {905, {&FS18, 0}, {&V14, 5}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {906, {&FS18, 0}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
    {907, {&FS17, 3}, {&V14, 3}, {&F3, 7}, {&A2, 2}, {&S2, 3}, {&M1, 0}, false},
};

// The encoding values that differ from the base. Key 308 asks for 7680000 bit/s and key 809 for
// "msmpeg4v1" in an ".mp4" file: these formats are defined so.
struct TParameterRow {
    int Key;
    const char* NameExt; // the output name's extension; it can differ from FileExt
    const char* FileExt;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameSize;
    const char* FrameRate;
    int32_t VideoBitrate;
    const char* FrameAspectRatio;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    int32_t AudioBitrate;
    bool AudioOnly = false; // only for a key without a base: it sets Video_DisableVideo
};
constexpr TParameterRow ParameterTable[] = {
// key, name ext, file ext, video codec, tag, frame size, frame rate, video bitrate, aspect,
// audio codec, channels, sample rate, audio bitrate
    {111, Same, ".alac", Same, Same, Same, Same, SameBitrate, Same, "alac", Same, Same, SameBitrate},
    {300, ".mp4", ".mp4", "libx264", Same, "320*240", "25", 512000, Same, "libfaac", "2", "48000", 128000},
    {301, ".mp4", ".mp4", "libxvid", Same, "320*240", "25", 768000, Same, "libfaac", "2", "48000", 128000},
    {302, ".mp4", ".mp4", "libxvid", Same, "640*480", "25", 768000, Same, "libfaac", "2", "48000", 128000},
    {303, ".mp4", ".mp4", "libxvid", Same, "640*480", "25", 768000, Same, "libfaac", "2", "48000", 128000},
    {304, ".mp4", ".mp4", "mpeg4", Same, "640*480", "25", 600000, Same, "libfaac", "2", "48000", 128000},
    {305, ".mp4", ".mp4", "libx264", Same, "640*480", "25", 1200000, Same, "libfaac", "2", "48000", 128000},
    {306, ".mp4", ".mp4", "libxvid", Same, "640*480", "25", 512000, Same, "libfaac", "2", "48000", 128000},
    {307, ".mp4", ".mp4", "mpeg4", Same, "320*240", "25", 600000, Same, "libfaac", "2", "48000", 128000},
    {308, ".mp4", ".mp4", "libxvid", Same, "640*480", "25", 7680000, Same, "libfaac", "2", "48000", 128000},
    {310, ".mp4", ".mp4", "libx264", Same, "640*480", "25", 1200000, Same, "libfaac", "2", "48000", 128000},
    {311, ".mp4", ".mp4", "libxvid", Same, "640*480", "25", 512000, Same, "libfaac", "2", "48000", 128000},
    {312, ".mp4", ".mp4", "libxvid", Same, "640*480", "25", 1200000, "16:9", "libfaac", "2", "48000", 128000},
    {313, ".mp4", ".mp4", "libxvid", Same, "320*240", "25", 768000, Same, "libfaac", "2", "48000", 128000},
    {400, Same, Same, Same, Same, "320*240", Same, 600000, Same, Same, Same, Same, SameBitrate},
    {401, Same, Same, Same, Same, Same, Same, 1000000, Same, Same, Same, Same, SameBitrate},
    {402, Same, Same, Same, Same, "640*480", "25", 600000, Same, Same, Same, Same, SameBitrate},
    {403, Same, Same, Same, Same, "320*240", "25", 1200000, Same, Same, Same, Same, SameBitrate},
    {404, Same, Same, "mpeg4", Same, "320*240", "25", 600000, Same, Same, Same, Same, SameBitrate},
    {405, Same, Same, Same, Same, "480*320", Same, SameBitrate, "", Same, Same, Same, SameBitrate},
    {600, ".3gp", ".3gp", "h263", Same, "176*144", "12", 128000, Same, "libamr_nb", "1", "8000", 12000},
    {601, ".3gp", ".3gp", "h263", Same, "176*144", "12", 128000, Same, "libfaac", "2", "16000", 48000},
    {602, ".3gp", ".3gp", "mpeg4", Same, "176*144", "12", 128000, Same, "libamr_nb", "1", "8000", 12000},
    {603, ".3g2", ".3g2", "mpeg4", Same, "176*144", "12", 128000, Same, "libfaac", "2", "32000", 48000},
    {604, ".3gp", ".3gp", "mpeg4", Same, "176*144", "12", 128000, Same, "libamr_nb", "1", "8000", 10200},
    {605, ".3gp", ".3gp", "mpeg4", Same, "320*240", "15", 128000, Same, "libfaac", "2", "16000", 32000},
    {606, ".avi", ".avi", "h263", Same, "352*288", "15", 256000, Same, "libmp3lame", "2", "44100", 128000},
    {607, ".mp4", ".mp4", "mpeg4", Same, "352*288", "15", 128000, Same, "libfaac", "2", "44100", 128000},
    {608, ".amr", ".amr", Same, Same, Same, Same, SameBitrate, Same, "libopencore_amrnb", "1", "8000", 7400, true},
    {609, ".mp4", ".mp4", "mpeg4", Same, "352*288", "15", 160000, Same, "libfaac", "2", "44100", 64000},
    {610, ".mp4", ".mp4", "mpeg4", Same, "352*288", "12", 128000, Same, "libfaac", "2", "32000", 32000},
    {611, ".avi", ".avi", "mpeg4", "DX50", "320*240", "25", 256000, Same, "libmp3lame", "2", "44100", 128000},
    {612, ".mov", ".mov", Same, Same, "320*240", "25", 256000, Same, "libfaac", "2", "44100", 128000},
    {613, ".mp4", ".mp4", "mpeg4", Same, "176*144", "12", 128000, Same, "libfaac", "2", "32000", 32000},
    {800, ".mp4", ".mp4", "libx264", Same, "640*480", "29.97", 1200000, Same, "libfaac", "2", "48000", 192000},
    {801, ".mpeg", ".mpeg", "mpeg2video", Same, "1280*720", "25", 1200000, Same, "ac3", "2", "48000", 192000},
    {802, ".mpg", ".mpg", "mpeg2video", Same, "1280*720", "25", 1200000, Same, "ac3", "2", "48000", 192000},
    {803, ".mp4", ".mp4", "mpeg4", Same, "640*480", "25", 1200000, Same, "libmp3lame", "2", "48000", 192000},
    {804, ".mp4", ".mp4", "mpeg4", Same, "1280*720", "25", 1200000, Same, "libfaac", "2", "48000", 128000},
    {805, ".wmv", ".wmv", "wmv2", Same, "640*480", "25", 1200000, Same, "wmav2", "2", "48000", 128000},
    {806, ".avi", ".avi", "wmv2", Same, "1280*720", "25", 1200000, Same, "libmp3lame", "2", "48000", 128000},
    {807, ".avi", ".avi", "msmpeg4v2", Same, "1280*720", "25", 1200000, Same, "libmp3lame", "2", "48000", 128000},
    {808, ".avi", ".avi", "msmpeg4", Same, "1280*720", "25", 1200000, Same, "libmp3lame", "2", "48000", 128000},
    {809, ".mp4", ".mp4", "msmpeg4v1", Same, "1280*720", "25", 1200000, Same, "libmp3lame", "2", "48000", 128000},
    {900, ".avi", ".avi", "mpeg4", Same, "480*272", "25", 1000000, Same, "libmp3lame", "2", "48000", 128000},
    {901, ".avi", ".avi", "mpeg4", Same, "720*480", "25", 1000000, Same, "libmp3lame", "2", "48000", 128000},
    {902, ".avi", ".avi", "mpeg4", Same, "320*240", "25", 768000, Same, "libmp3lame", "2", "44100", 128000},
    {903, ".mp4", ".mp4", "mpeg4", Same, "320*240", "25", 512000, Same, "libfaac", "2", "44100", 128000},
    {904, ".mp4", ".mp4", "libx264", Same, "320*240", "25", 768000, Same, "libfaac", "2", "44100", 128000},
    {905, ".mp4", ".mp4", "libxvid", Same, "320*240", "25", 768000, Same, "libfaac", "2", "44100", 128000},
    {906, ".wmv", ".wmv", "wmv2", Same, "320*240", "25", 1000000, Same, "wmav2", "2", "44100", 128000},
    {907, ".avi", ".avi", "mpeg4", Same, "640*480", "25", 1000000, Same, "libmp3lame", "2", "44100", 128000},
};
// clang-format on

// Key 309 alone has no encoding row of its own and no base.
constexpr int KeyWithoutRow = 309;

const TFormatRow* FindFormatRow(int key) {
    for (const TFormatRow& r : FormatTable)
        if (r.Key == key) return &r;
    return nullptr;
}

const TParameterRow* FindParameterRow(int key) {
    for (const TParameterRow& r : ParameterTable)
        if (r.Key == key) return &r;
    return nullptr;
}

void Assign(std::string& field, const char* value) {
    if (value != Same) field = value;
}

void Assign(int32_t& field, int32_t value) {
    if (value != SameBitrate) field = value;
}

const std::vector<TSettingsFormat>& Formats() {
    static const std::vector<TSettingsFormat> formats = [] {
        std::vector<TSettingsFormat> list;
        for (const TFormatRow& r : FormatTable) {
            const TFormatItem* main = FindFormat(r.Key);
            list.push_back({r.Key, r.ImageIndex, r.Title ? r.Title : main->Title,
                            r.Caption ? r.Caption : main->Caption});
        }
        return list;
    }();
    return formats;
}

} // namespace

std::span<const TSettingsCategory> SettingsCategories() {
    return CategoryTable;
}

std::span<const TSettingsFormat> SettingsFormatsOfCategory(int category) {
    if (category < 0 || category >= SettingsCategoryCount) return {};
    size_t first = 0;
    for (int c = 0; c < category; ++c) first += FormatsPerCategory[c];
    return std::span<const TSettingsFormat>(Formats()).subspan(first, FormatsPerCategory[category]);
}

int SettingsFormatKey(int category, int formatPosition) {
    if (category < 0 || formatPosition < 0) return -1;
    return category * 100 + formatPosition;
}

const TPresetEntry* FindSettingsPresetEntry(int key) {
    if (!FindFormatRow(key)) return nullptr;
    for (const TPresetEntry& e : PresetTable)
        if (e.Key == key) return &e;
    return FindPresetEntry(key);
}

std::optional<TParameterSet> SettingsParameterSet(int key) {
    if (!FindFormatRow(key) || key == KeyWithoutRow) return std::nullopt;
    TParameterSet s = ParameterSetOf(key).value_or(TParameterSet{});
    if (const TParameterRow* row = FindParameterRow(key)) {
        Assign(s.Video_FileExt, row->FileExt);
        Assign(s.Video_VideoCodec, row->VideoCodec);
        Assign(s.Video_VideoTag, row->VideoTag);
        Assign(s.Video_FrameSize, row->FrameSize);
        Assign(s.Video_FrameRate, row->FrameRate);
        Assign(s.Video_VideoBitrate, row->VideoBitrate);
        Assign(s.Video_FrameAspectRatio, row->FrameAspectRatio);
        Assign(s.Video_AudioCodec, row->AudioCodec);
        Assign(s.Video_AudioChannels, row->AudioChannels);
        Assign(s.Video_AudioSampleRate, row->AudioSampleRate);
        Assign(s.Video_AudioBitrate, row->AudioBitrate);
        if (row->AudioOnly) s.Video_DisableVideo = true;
    }
    return s;
}

std::string SettingsNameExt(int key) {
    if (!SettingsParameterSet(key)) return {};
    const TParameterRow* row = FindParameterRow(key);
    return row && row->NameExt != Same ? row->NameExt : NameExtOf(key);
}

} // namespace catalogue
