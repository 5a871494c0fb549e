#include "app/SettingsFormTables.h"

namespace app {

namespace {

using catalogue::TPresetEntry;
using catalogue::TPresetList;

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

// Titles and captions stand as the list shows them, blanks included ("(*.wav) ", "-  第三代").
constexpr TSettingsFormat FormatTable[] = {
    {0, 0, "AVI - 音频视频交错格式(*.avi)",
     "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式"},
    {1, 1, "MP4 - MPEG-4视频格式(*.mp4)",
     "为网络广播和视频通信制定的压缩标准,有很小的体积和清晰的画质"},
    {2, 2, "DivX - 视频格式(*.avi)",
     "DivX采用MPEG-4技术来压缩的数字多媒体格式,有接近DVD的画质和完美的音质"},
    {3, 3, "MOV - 苹果QuickTime视频格式(*.mov)",
     "MOV即QuickTime影片格式，它是Apple公司开发的音频视频文件格式"},
    {4, 4, "XviD - 视频格式(*.avi)",
     "XviD是世界上最流行的视频编码,很多电影是用XviD压制的"},
    {5, 5, "MKV - Matroska视频格式(*.mkv)",
     "Matroska是一种新的多媒体封装格式 ，有超清晰的画面，和完美的音质"},
    {6, 6, "MPEG-1视频格式(*.mpg)",
     "工业级标准而设计的压缩格式，具有VHS的画质和接近CD的音质"},
    {7, 7, "MPEG-2视频格式(*.mpg)",
     "工业级标准而设计的压缩格式，具有广播级的视频画质和CD的音质"},
    {8, 8, "ASF - 高级流视频格式(*.asf)",
     "微软制定的高级流媒体视频格式，被广泛用于网络"},
    {9, 9, "3GP - 视频格式(*.3gp)",
     "3GP是一种3G流媒体的视频编码格式，手机支持的视频格式"},
    {10, 10, "WMV - 视频格式(*.wmv)",
     "WMV是微软推出的一种流媒体格式,WMV格式的体积非常小,很适合在网上播放和传输"},
    {11, 11, "DVD - 视频格式(*.mpg)",
     "DVD-数字视频光盘通,常用来播放标准电视机清晰度的电影,高质量的音乐"},
    {12, 12, "SVCD - 视频格式(*.mpg)",
     "SVCD采用MPEG-2压缩,比VCD视频有更好的视频质量"},
    {13, 13, "VCD - 视频格式(*.mpg)",
     "可以在VCD机上直接播放,也可以在配置了光驱的电脑中播放。"},
    {14, 14, "RM - REAL视频格式(*.rm)",
     "RealNetWorks推出的一种流媒体格式,低码率,很适合在网上播放和传输"},
    {100, 0, "MP3 - MPEG Layer-3音频格式(*.mp3)",
     "最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词"},
    {101, 1, "WMA - Windows媒体音频格式(*.wma)",
     "微软公司推出的与MP3格式齐名的一种新的音频格式"},
    {102, 2, "WAV - 波形音频格式(*.wav) ",
     "WAV为微软公司开发的波形声音文件格式"},
    {103, 3, "AAC - 高级音频格式(*.aac)",
     "高级声音数据设计的文件压缩格式,与Mp3类似,苹果公司的ipod,iPhone支持的音频格式"},
    {104, 4, "M4A - MPEG-4音频格式(*.m4a)",
     "M4A是MPEG4音频标准的文件,几乎所有支持MPEG4音频的软件都支持m4a音频"},
    {105, 5, "OGG - Ogg Vorbis音频格式(*.ogg)",
     "OGG是一种常见的格式，在音乐软件、游戏音效、便携播放器、网络浏览器上都得到广泛支持"},
    {106, 6, "RA - RealAudio音频格式(*.ra)",
     "RealNetworks制定的流媒体音频格式,便于网络传输的音频格式"},
    {107, 7, "AC3 - 杜比数字AC-3音频格式(*.ac3)",
     "杜比数字AC-3是杜比公司开发的新一代家庭影院多声道数字音频系统。"},
    {108, 8, "AIFF - 音频交换文件格式(*.aiff)",
     "AIFF是音频交换文件格式是Apple公司开发的声音文件格式,广泛应用于各种专业的音频软件中"},
    {109, 9, "MP2 - MPEG Layer-2音频格式(*.mp2)",
     "MPEG Layer-2音频格式，具有CD级别的音质"},
    {110, 10, "FLAC-音频格式(*.flac)",
     "FLAC是一套著名的无损压缩编码,所以还原CD音乐光盘音质"},
    {111, 11, "ALAC-Apple Lossless无损音频格式(*.alac) ",
     "ALAC是流行的Apple Lossless无损音频格,ALAC是一种无损压缩音频技术,具有完美的CD音质"},
    {112, 12, "AMR-手机音频格式(*.amr)",
     "AMR是流行的手机数字音乐文件格式之一"},
    {200, 20, "高清AVI视频格式(*.avi)",
     "高清晰AVI视频格式(DivX视频编码)"},
    {201, 21, "高清AVI视频格式(*.avi)",
     "高清晰AVI视频格式(XviD视频编码)"},
    {202, 21, "高清H264视频格式(*.mp4)",
     "高清晰H264视频格式(H264 AVC视频编码)"},
    {203, 21, "高清MPEG-4视频格式(*.mp4)",
     "高清MPEG-4视频格式)"},
    {204, 21, "高清MOV视频格式(*.mov)",
     "高清MOV视频格式(QuickTime苹果视频格式)"},
    {205, 21, "高清ASF视频格式(*.asf)",
     "微软高清晰ASF视频格式(高级流视频格式)"},
    {206, 21, "高清WMV视频格式(*.wmv)",
     "微软高清晰WMV视频格式(高级流视频格式)"},
    {207, 21, "高清DVD视频格式(*.vob)",
     "高清DVD视频格式"},
    {208, 21, "高清MPEG-2视频格式(*.mpg)",
     "高清MPEG-2视频格式"},
    {209, 21, "高清MKV视频格式(*.mkv)",
     "高清MKV视频格式"},
    {300, 20, "iPod (320X240) 高清晰视频(*.mp4)",
     "为iPod优化的MPEG-4视频预置方案.(320*240高质量)"},
    {301, 21, "iPod (320X240) 高压缩视频(*.mp4)",
     "为iPod优化的MPEG-4视频预置方案.(320*240高压缩)"},
    {302, 21, "iPod (320X240) 标准视频(*.mp4)",
     "为iPod优化的MPEG-4视频预置方案.(320*240标准)"},
    {303, 21, "iPod Video2 TV OutPut视频(*.mp4)",
     "为iPod优化的电视TV视频预置方案."},
    {304, 21, "iPod Video2 (640X480)视频(*.mp4)",
     "为iPod Video2优化的(640X480)视频预置方案.(640X480标准)"},
    {305, 21, "iPod Video2 (640X480)高清晰视频(*.mp4)",
     "为iPod Video2优化的(640X480)视频预置方案.(640X480高清晰)"},
    {306, 21, "iPod Video2 (640X480)高压缩视频(*.mp4)",
     "为iPod Video2优化的(640X480)视频预置方案.(640X480高压缩)"},
    {307, 21, "iPod touch MPEG-4视频(*.mp4)",
     "为iPod touch优化的MPEG-4视频预置方案."},
    {308, 21, "iPod touch MPEG-4 480P视频(*.mp4)",
     "为iPod touch优化的MPEG-4视频预置方案.(480P)"},
    {309, 21, "iPod touch MPEG-4 480P高清晰视频(*.mp4)",
     "为iPod touch优化的MPEG-4视频预置方案.(高清晰)"},
    {310, 21, "iPod touch MPEG-4 480P高压缩视频(*.mp4)",
     "为iPod touch优化的MPEG-4视频预置方案.(高压缩)"},
    {311, 21, "iPod touch MPEG-4 480P宽屏视频(*.mp4)",
     "为iPod touch优化的MPEG-4视频预置方案.(宽频)"},
    {312, 21, "iPod touch MPEG-4 (320X240)视频(*.mp4)",
     "为iPod touch优化的MPEG-4视频预置方案.(320*240)"},
    {313, 21, "iPod touch MPEG-4 (480X320)视频(*.mp4)",
     "为iPod touch优化的MPEG-4视频预置方案.(480X320)"},
    {400, 20, "iPhone MPEG-4视频(*.mp4)",
     "为iPhone优化的MPEG-4视频预置方案."},
    {401, 21, "iPhone MPEG-4视频480P(*.mp4)",
     "为iPhone优化的MPEG-4视频预置方案.(480P)"},
    {402, 20, "iPhone MPEG-4视频宽屏(*.mp4)",
     "为iPhone优化的MPEG-4视频预置方案.(宽屏)"},
    {403, 21, "iPhone MPEG-4高清晰视频(*.mp4)",
     "为iPhone优化的MPEG-4视频预置方案.(高清晰)"},
    {404, 20, "iPhone MPEG-4视频(320X240)(*.mp4)",
     "为iPhone优化的MPEG-4视频预置方案.(320*240)"},
    {405, 21, "iPhone MPEG-4视频(480X320)(*.mp4)",
     "为iPhone优化的MPEG-4视频预置方案.(480*320)"},
    {500, 20, "PSP MPEG-4视频(*.mp4)",
     "为PSP优化的MPEG-4视频预置方案."},
    {501, 21, "PSP AVC MPEG-4视频(*.mp4)",
     "为PSP优化的AVC MPEG-4视频预置方案."},
    {502, 20, "PSP高清晰MPEG-4视频(*.mp4)",
     "为PSP优化的MPEG-4视频预置方案.(高清晰)"},
    {503, 21, "PSP高压缩MPEG-4视频(*.mp4)",
     "为PSP优化的MPEG-4视频预置方案.(高压缩)"},
    {504, 20, "PSP Video MPEG-4视频480P(*.mp4)",
     "为PSP优化的MPEG-4视频预置方案.(480P)"},
    {600, 20, "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",
     "第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AMR音频)"},
    {601, 20, "3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)",
     "第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AAC音频)"},
    {602, 21, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))",
     "第三代合作伙伴项目2-3GPP2制定的多媒体格式，手机视频格式.(AMR音频)"},
    {603, 21, "3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)",
     "第三代合作伙伴项目2-3GPP2制定的多媒体格式，手机视频格式.(AAC音频)"},
    {604, 20, "黑莓手机3GP视频+AMR音频(*.3gp)",
     "为黑莓手机优化的AMR音频预置方案.(AMR音频)"},
    {605, 21, "黑莓手机3GP视频+AAC音频(*.3gp)",
     "为黑莓手机优化的3GPP视频预置方案.(AAC音频)"},
    {606, 20, "黑莓手机AVI视频(*.avi)",
     "为黑莓手机优化的AVI视频预置方案."},
    {607, 21, "黑莓手机MPEG-4视频(*.mp4)",
     "为黑莓手机优化的MPEG-4视频预置方案."},
    {608, 21, "黑莓手机AMR音频格式(*.amr)",
     "为黑莓手机优化的AMR音频格式预置方案."},
    {609, 21, "Symbian智能平台手机专用MP4视频(*.mp4)",
     "为智能手机手机优化的MP4视频预置方案.(如诺基亚等)"},
    {610, 21, "各种手机常用的MP4视频(*.mp4)",
     "为常用手机优化的MP4视频预置方案.(如索爱/三星/摩托罗拉等)"},
    {611, 21, "各种手机常用的AVI视频(*.avi)",
     "为常用手机优化的AVI视频预置方案."},
    {612, 21, "各种手机常用的MOV视频(*.mov)",
     "为手机优化的MOV视频预置方案."},
    {613, 21, "各种手机常用的MP4视频(*.mp4)",
     "为手机优化的MP4视频预置方案."},
    {700, 22, "Apple TV H264视频(320X240)(*.mp4)",
     "为Apple TV优化的MPEG-4 H264视频预置方案.(320X240)"},
    {701, 23, "Apple TV H264视频480P(640X480)(*.mp4)",
     "为Apple TV优化的MPEG-4 H264视频预置方案.(640X480)"},
    {702, 24, "Apple TV H264视频720P(1280X720)(*.mp4)",
     "为Apple TV优化的MPEG-4 H264视频预置方案.(1280X720)"},
    {703, 25, "Apple TV H264高清晰视频480P(640X480)(*.mp4)",
     "为Apple TV优化的MPEG-4 H264视频预置方案.(640X480高清晰)"},
    {704, 26, "Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)",
     "为Apple TV优化的MPEG-4视频预置方案.(640X480高压缩)"},
    {800, 22, "Xbox360 HD H.264视频(*.mp4)",
     "Xbox360支持AVC/H.264视频文件."},
    {801, 23, "Xbox360 MCE HD MPEG-2视频(*.mpg)",
     "为Xbox360优化的高清晰MPEG-2视频预置方案."},
    {802, 24, "Xbox360 MCE HD MPEG-2视频(*.mpg)",
     "为Xbox360优化的高清晰MPEG-2视频预置方案."},
    {803, 25, "Xbox360 MPEG-4视频(*.mp4)",
     "为Xbox360优化的MP4视频预置方案."},
    {804, 26, "Xbox360 MP4高清晰视频(*.mp4)",
     "为Xbox360优化的MP4视频预置方案.(高清晰)"},
    {805, 21, "Xbox360 WMV视频(*.wmv)",
     "为Xbox360优化的WMV视频预置方案."},
    {806, 21, "Xbox360 WMV HDTV视频(*.wmv)",
     "为Xbox360优化的WMV视频预置方案.(高清晰)"},
    {807, 21, "Xbox360 MCE 高清晰AVI视频(*.avi)",
     "为Xbox360优化的AVI视频预置方案.(高清晰)."},
    {808, 21, "Xbox360 MCE 高清晰AVI视频(*.avi)",
     "为Xbox360优化的AVI视频预置方案.(微软编码1)."},
    {809, 21, "Xbox360 MCE 高清晰AVI视频(*.avi)",
     "为Xbox360优化的AVI视频预置方案.(微软编码2)."},
    {900, 22, "爱可视AV500/GMini402视频(*.avi)",
     "为爱可视AV500/GMini402优化的MPEG-4视频预置方案"},
    {901, 23, "爱可视AV700视频(*.avi)",
     "为爱可视AV700优化的MPEG-4视频预置方案"},
    {902, 24, "Creative Zen Vision视频(*.avi)",
     "为Creative Zen Vision优化的MPEG-4视频预置方案"},
    {903, 25, "Zune MPEG-4 AVC视频(*.mp4)",
     "为微软Zune优化的MPEG-4 AVC视频预置方案"},
    {904, 26, "Zune MPEG-4 AVC视频(*.mp4)",
     "为微软Zune优化的MPEG-4 AVC视频预置方案"},
    {905, 21, "Zune MPEG-4视频(*.mp4)",
     "为微软Zune优化的MPEG-4视频预置方案"},
    {906, 21, "Zune WMV多媒体视频(*.wmv)",
     "为微软Zune优化的WMV多媒体视频预置方案"},
    {907, 21, "iRiver PMP-100视频(*.avi)",
     "为iRiver PMP-100优化的MPEG-4视频预置方案"},
    {1000, 22, "MP4机播放的MP4视频格式(*.mp4)",
     "为各种MP4机优化的MPEG-4视频预置方案"},
    {1001, 23, "电脑上使用的MP4视频格式(*.mp4)",
     "为电脑上使用的MP4优化的MPEG-4视频预置方案"},
    {1002, 24, "MPEG-4视频高清晰视频(*.mp4)",
     "MPEG-4视频预置方案(高清晰编码格式)"},
    {1003, 25, "MP4 AVC视频(*.mp4)",
     "MPEG-4 AVC视频预置方案"},
    {1004, 26, "MP4 H264编码视频(*.mp4)",
     "优化的MPEG-4视频预置方案(H264高清晰编码)"},
    {1100, 22, "FLV在线网络视频(*.flv)",
     "在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)"},
    {1101, 23, "SWF动画视频FLASH动画视频(*.swf)",
     "最常用的FLASH动画视频预置方案，动画格式为SWF文件"},
    {1102, 24, "FLV在线网络音频格式(*.flv)",
     "在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)(音频格式)"},
    {1103, 25, "SWF动画视频FLASH动画音频格式(*.swf)",
     "最常用的FLASH动画视频预置方案，动画格式为SWF文件(音频格式)"},
};

constexpr int FormatsPerCategory[SettingsCategoryCount] = {15, 13, 10, 14, 6, 5, 14, 5, 10, 8, 5, 4};

// The preset lists, filled in this order; "176*144" before "160*120" and the like are meant.
const TPresetList FS1{"FS1", {"保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480", "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"}};
const TPresetList FS2{"FS2", {"112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208", "320*224", "320*240"}};
const TPresetList FS3{"FS3", {"该格式无视频"}};
const TPresetList FS4{"FS4", {"保持原分辨率", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"}};
const TPresetList FS5{"FS5", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480"}};
const TPresetList FS6{"FS6", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480"}};
const TPresetList FS7{"FS7", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384", "640*272", "640*353", "640*480", "720*406"}};
const TPresetList FS8{"FS8", {"320*240", "368*208", "480*272", "640*480", "720*480"}};
const TPresetList FS9{"FS9", {"112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208", "320*224", "320*240", "352*288", "480*360"}};
const TPresetList FS10{"FS10", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "1280*720"}};
const TPresetList FS11{"FS11", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576"}};
const TPresetList FS12{"FS12", {"1280*720", "1440*1080", "1920*1080"}};
const TPresetList FS13{"FS13", {"640*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"}};
const TPresetList FS14{"FS14", {"704*576", "1280*720", "1440*1080", "1920*1080"}};
const TPresetList FS15{"FS15", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "704*576", "1280*720", "1440*1080", "1920*1080"}};
const TPresetList FS16{"FS16", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576", "1280*720", "1440*1080", "1920*1080"}};
const TPresetList FS17{"FS17", {"160*120", "320*240", "480*272", "640*480", "720*480"}};
const TPresetList FS18{"FS18", {"320*240", "640*480"}};
const TPresetList FS19{"FS19", {"保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480", "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768"}};
const TPresetList VB1{"VB1", {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"}};
const TPresetList VB2{"VB2", {"128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"}};
const TPresetList VB3{"VB3", {"128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"}};
const TPresetList VB4{"VB4", {"8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps"}};
const TPresetList VB5{"VB5", {"128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"}};
const TPresetList VB6{"VB6", {"无视频"}};
const TPresetList VB7{"VB7", {"816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"}};
const TPresetList VB8{"VB8", {"192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps"}};
const TPresetList VB9{"VB9", {"216 kbps", "384 kbps", "512 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps"}};
const TPresetList VB10{"VB10", {"8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps", "512 kbps", "600 kbps"}};
const TPresetList FR1{"FR1", {"保持原帧速率", "10.00", "13.00", "15.00", "18.00", "20.00", "23.00", "23.97", "24.00", "25.00", "29.97", "30.00"}};
const TPresetList FR2{"FR2", {"1", "2", "3", "5", "10", "12", "15"}};
const TPresetList FR3{"FR3", {"无视频"}};
const TPresetList FR4{"FR4", {"保持原帧速率", "25.00", "29.97", "30.00"}};
const TPresetList FR5{"FR5", {"保持原帧速率", "10.00", "12.00", "15.00", "20.00", "23.98", "24.00", "25.00", "29.97", "30.00"}};
const TPresetList FR6{"FR6", {"15.00", "23.98", "29.97"}};
const TPresetList FR7{"FR7", {"1", "2", "3", "5", "10", "12", "15", "25"}};
const TPresetList AB1{"AB1", {"16 kbps", "24 kbps", "32 kbps", "40 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "128 kbps", "144 kbps", "160 kbps", "192 kbps", "224 kbps", "256 kbps", "320 kbps"}};
const TPresetList AB2{"AB2", {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"}};
const TPresetList AB3{"AB3", {"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps", "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps"}};
const TPresetList AB4{"AB4", {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"}};
const TPresetList AB5{"AB5", {"48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps"}};
const TPresetList AB6{"AB6", {"32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps"}};
const TPresetList SR1{"SR1", {"11025", "16000", "22050", "32000", "44100", "48000"}};
const TPresetList SR2{"SR2", {"8000"}};
const TPresetList SR3{"SR3", {"22050", "32000", "44100", "48000"}};
const TPresetList SR4{"SR4", {"8000", "11025", "16000", "22050", "32000", "44100", "48000"}};
const TPresetList SR5{"SR5", {"11025", "22050", "44100"}};
const TPresetList AM1{"AM1", {"保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式", "宽屏视频37:20模式", "宽屏视频47:20模式"}};
const TPresetList AM2{"AM2", {"保持原视频模式", "普通视频4:3模式"}};
const TPresetList AM3{"AM3", {"无视频"}};

// One row per key: for each picker in fill order (1, 2, 9, 3, 10, 4) its list and default.
constexpr TPresetEntry PresetTable[] = {
// key, frame size, video bitrate, frame rate, audio bitrate, sample rate, aspect, audio-only
    {0, {&FS1, 0}, {&VB1, 3}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {1, {&FS1, 0}, {&VB2, 3}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {2, {&FS1, 0}, {&VB3, 4}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {3, {&FS1, 0}, {&VB2, 3}, {&FR1, 9}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {4, {&FS1, 0}, {&VB3, 4}, {&FR1, 0}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {5, {&FS1, 0}, {&VB1, 4}, {&FR1, 10}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {6, {&FS1, 4}, {&VB1, 3}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {7, {&FS1, 0}, {&VB1, 3}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {8, {&FS1, 0}, {&VB1, 3}, {&FR1, 0}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {9, {&FS2, 4}, {&VB4, 9}, {&FR2, 5}, {&AB2, 5}, {&SR2, 0}, {&AM2, 0}, false},
    {10, {&FS1, 0}, {&VB5, 3}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {11, {&FS1, 12}, {&VB1, 4}, {&FR1, 10}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {12, {&FS1, 8}, {&VB1, 2}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {13, {&FS1, 4}, {&VB1, 2}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {14, {&FS1, 4}, {&VB1, 2}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {100, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR1, 4}, {&AM3, 0}, true},
    {101, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR1, 4}, {&AM3, 0}, true},
    {102, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 13}, {&SR1, 5}, {&AM3, 0}, true},
    {103, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR1, 5}, {&AM3, 0}, true},
    {104, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 9}, {&SR1, 4}, {&AM3, 0}, true},
    {105, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR1, 4}, {&AM3, 0}, true},
    {106, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 9}, {&SR1, 4}, {&AM3, 0}, true},
    {107, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR1, 4}, {&AM3, 0}, true},
    {108, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR1, 4}, {&AM3, 0}, true},
    {109, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR1, 4}, {&AM3, 0}, true},
    {110, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 13}, {&SR1, 5}, {&AM3, 0}, true},
    {111, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 12}, {&SR1, 5}, {&AM3, 0}, true},
    {112, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB3, 4}, {&SR2, 0}, {&AM3, 0}, true},
    {200, {&FS4, 2}, {&VB7, 2}, {&FR4, 2}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {201, {&FS4, 2}, {&VB7, 1}, {&FR4, 3}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {202, {&FS4, 2}, {&VB7, 1}, {&FR4, 2}, {&AB1, 13}, {&SR1, 5}, {&AM1, 0}, false},
    {203, {&FS4, 3}, {&VB7, 2}, {&FR4, 3}, {&AB1, 13}, {&SR1, 5}, {&AM1, 0}, false},
    {204, {&FS4, 3}, {&VB7, 2}, {&FR4, 2}, {&AB1, 12}, {&SR1, 5}, {&AM1, 0}, false},
    {205, {&FS4, 3}, {&VB7, 1}, {&FR4, 2}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {206, {&FS4, 3}, {&VB7, 2}, {&FR4, 2}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {207, {&FS4, 2}, {&VB7, 1}, {&FR4, 2}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {208, {&FS4, 3}, {&VB7, 2}, {&FR4, 2}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {209, {&FS4, 3}, {&VB7, 2}, {&FR4, 3}, {&AB1, 10}, {&SR1, 5}, {&AM1, 0}, false},
    {300, {&FS5, 3}, {&VB8, 4}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {301, {&FS5, 3}, {&VB8, 2}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {302, {&FS5, 3}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {303, {&FS5, 6}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {304, {&FS5, 6}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {305, {&FS5, 6}, {&VB8, 5}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {306, {&FS5, 6}, {&VB8, 2}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {307, {&FS6, 6}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {308, {&FS6, 11}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {309, {&FS6, 11}, {&VB8, 5}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {310, {&FS6, 11}, {&VB8, 2}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {311, {&FS6, 9}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 2}, false},
    {312, {&FS6, 3}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {313, {&FS6, 6}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {400, {&FS6, 6}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {401, {&FS6, 11}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {402, {&FS7, 12}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 2}, false},
    {403, {&FS7, 11}, {&VB8, 5}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {404, {&FS7, 3}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {405, {&FS7, 6}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {500, {&FS8, 0}, {&VB9, 3}, {&FR6, 2}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {501, {&FS8, 1}, {&VB9, 4}, {&FR6, 2}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {502, {&FS8, 1}, {&VB9, 5}, {&FR6, 2}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {503, {&FS8, 1}, {&VB9, 2}, {&FR6, 2}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {504, {&FS8, 4}, {&VB9, 4}, {&FR6, 2}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {600, {&FS2, 4}, {&VB4, 9}, {&FR2, 5}, {&AB2, 5}, {&SR2, 0}, {&AM1, 0}, false},
    {601, {&FS2, 4}, {&VB4, 9}, {&FR2, 5}, {&AB5, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {602, {&FS2, 4}, {&VB4, 9}, {&FR2, 5}, {&AB2, 5}, {&SR2, 0}, {&AM1, 0}, false},
    {603, {&FS2, 4}, {&VB4, 9}, {&FR2, 5}, {&AB5, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {604, {&FS9, 4}, {&VB4, 9}, {&FR2, 5}, {&AB2, 5}, {&SR2, 0}, {&AM1, 0}, false},
    {605, {&FS9, 4}, {&VB4, 9}, {&FR2, 5}, {&AB5, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {606, {&FS9, 4}, {&VB4, 9}, {&FR2, 5}, {&AB5, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {607, {&FS9, 4}, {&VB10, 10}, {&FR7, 6}, {&AB5, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {608, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB3, 4}, {&SR2, 0}, {&AM3, 0}, true},
    {609, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {610, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {611, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {612, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {613, {&FS9, 4}, {&VB10, 9}, {&FR7, 5}, {&AB6, 0}, {&SR4, 4}, {&AM1, 0}, false},
    {700, {&FS5, 3}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {701, {&FS5, 6}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {702, {&FS10, 7}, {&VB8, 6}, {&FR5, 8}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {703, {&FS5, 6}, {&VB8, 7}, {&FR5, 8}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {704, {&FS5, 6}, {&VB8, 2}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {800, {&FS11, 7}, {&VB8, 5}, {&FR5, 8}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {801, {&FS12, 0}, {&VB8, 5}, {&FR5, 9}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {802, {&FS12, 0}, {&VB8, 5}, {&FR5, 9}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {803, {&FS11, 7}, {&VB8, 4}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {804, {&FS13, 7}, {&VB8, 5}, {&FR5, 9}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {805, {&FS11, 7}, {&VB8, 5}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {806, {&FS14, 2}, {&VB8, 7}, {&FR5, 9}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {807, {&FS15, 8}, {&VB8, 7}, {&FR5, 9}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {808, {&FS16, 9}, {&VB8, 5}, {&FR5, 8}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {809, {&FS15, 8}, {&VB8, 7}, {&FR5, 9}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {900, {&FS17, 2}, {&VB8, 4}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {901, {&FS17, 4}, {&VB8, 4}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {902, {&FS17, 1}, {&VB8, 2}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {903, {&FS18, 0}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {904, {&FS18, 0}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {905, {&FS18, 0}, {&VB8, 5}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {906, {&FS18, 0}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {907, {&FS17, 3}, {&VB8, 3}, {&FR5, 7}, {&AB4, 2}, {&SR3, 3}, {&AM1, 0}, false},
    {1000, {&FS19, 4}, {&VB1, 3}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {1001, {&FS1, 0}, {&VB1, 4}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {1002, {&FS1, 0}, {&VB1, 4}, {&FR1, 9}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {1003, {&FS1, 0}, {&VB1, 4}, {&FR1, 10}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {1004, {&FS1, 0}, {&VB1, 4}, {&FR1, 10}, {&AB1, 10}, {&SR1, 4}, {&AM1, 0}, false},
    {1100, {&FS1, 0}, {&VB1, 3}, {&FR1, 9}, {&AB1, 10}, {&SR5, 1}, {&AM1, 0}, false},
    {1101, {&FS1, 0}, {&VB1, 3}, {&FR1, 9}, {&AB1, 10}, {&SR5, 1}, {&AM1, 0}, false},
    {1102, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR5, 1}, {&AM3, 0}, true},
    {1103, {&FS3, 0}, {&VB6, 0}, {&FR3, 0}, {&AB1, 10}, {&SR5, 1}, {&AM3, 0}, true},
};

// Key 309 has no row. Key 308 asks for 7680000 bit/s and key 809 for "msmpeg4v1" in an ".mp4"
// file: these formats are defined so.
constexpr TSettingsParameterRow ParameterTable[] = {
// key, name ext, file ext, video codec, tag, frame size, frame rate, video bitrate, aspect,
// audio codec, channels, sample rate, audio bitrate, audio-only
    {0, ".avi", ".avi", "mpeg4", "XVID", "", "25", 816000, "", "libmp3lame", "2", "44100", 128000, false},
    {1, ".mp4", ".mp4", "mpeg4", "", "", "25", 816000, "", "libmp3lame", "2", "44100", 128000, false},
    {2, ".avi", ".avi", "mpeg4", "DX50", "", "25", 816000, "", "libmp3lame", "2", "44100", 128000, false},
    {3, ".mov", ".mov", "", "", "", "25", 816000, "", "libfaac", "2", "44100", 128000, false},
    {4, ".avi", ".avi", "libxvid", "", "", "25", 816000, "", "libmp3lame", "2", "44100", 128000, false},
    {5, ".mkv", ".mkv", "mpeg4", "", "", "25", 1200000, "", "libmp3lame", "2", "44100", 128000, false},
    {6, ".mpg", ".mpg", "mpeg1video", "", "", "25", 528000, "", "", "2", "44100", 128000, false},
    {7, ".mpg", ".mpg", "mpeg2video", "", "", "25", 816000, "", "", "2", "44100", 128000, false},
    {8, ".asf", ".asf", "msmpeg4", "", "", "25", 816000, "", "wmav2", "2", "44100", 128000, false},
    {9, ".3gp", ".3gp", "mpeg4", "", "176*144", "12", 128000, "4:3", "libfaac", "1", "8000", 12000, false},
    {10, ".wmv", ".wmv", "wmv2", "", "", "25", 816000, "", "wmav2", "2", "44100", 128000, false},
    {11, ".mpg", Leave, "", "", "", "", -1000, "", "", "", "", -1000, false},
    {12, ".mpg", Leave, "", "", "", "", -1000, "", "", "", "", -1000, false},
    {13, ".mpg", Leave, "", "", "", "", -1000, "", "", "", "", -1000, false},
    {14, ".rm", Leave, "rv20", Leave, "320*240", Leave, LeaveBitrate, Leave, Leave, Leave, Leave, LeaveBitrate, false},
    {100, ".mp3", ".mp3", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "libmp3lame", "2", "48000", 128000, true},
    {101, ".wma", ".wma", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "wmav2", "2", "48000", 128000, true},
    {102, ".wav", ".wav", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "", "2", "48000", 128000, true},
    {103, ".aac", ".aac", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "libfaac", "2", "48000", 128000, true},
    {104, ".m4a", ".m4a", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "", "2", "48000", 128000, true},
    {105, ".ogg", ".ogg", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "libvorbis", "2", "48000", 128000, true},
    {106, ".ra", ".rm", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "", "2", "48000", 128000, true},
    {107, ".ac3", ".ac3", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "ac3", "2", "48000", 128000, true},
    {108, ".aiff", ".aiff", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "", "2", "48000", 128000, true},
    {109, ".mp2", ".mp2", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "", "2", "44100", 128000, true},
    {110, ".flac", ".flac", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "flac", "2", "48000", 128000, true},
    {111, ".m4a", ".alac", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "alac", "2", "48000", 128000, true},
    {112, ".amr", ".amr", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "libopencore_amrnb", "1", "8000", 7400, true},
    {200, ".avi", ".avi", "mpeg4", "", "1280*720", "25", 1600000, "", "libmp3lame", "2", "48000", 128000, false},
    {201, ".avi", ".avi", "libxvid", "", "1280*720", "25", 1600000, "", "libmp3lame", "2", "48000", 128000, false},
    {202, ".mp4", ".mp4", "libx264", "", "1280*720", "25", 1600000, "", "libmp3lame", "2", "48000", 256000, false},
    {203, ".mp4", ".mp4", "mpeg4", "", "1280*720", "25", 1600000, "", "libmp3lame", "2", "48000", 128000, false},
    {204, ".mov", ".mov", "", "", "1280*720", "25", 1600000, "", "libfaac", "2", "48000", 128000, false},
    {205, ".asf", ".asf", "msmpeg4", Leave, "1280*720", "25", 1600000, "", "wmav2", "2", "48000", 128000, false},
    {206, ".wmv", ".asf", "wmv2", "", "1280*720", "25", 1600000, "", "wmav2", "2", "48000", 128000, false},
    {207, ".vob", ".vob", "", "", "1280*720", "25", 1600000, "", "libfaac", "2", "48000", 128000, false},
    {208, ".mpg", ".mpg", "mpeg2video", "", "1280*720", "25", 1600000, "", "libfaac", "2", "48000", 128000, false},
    {209, ".mkv", ".mkv", "mpeg4", "", "1280*720", "25", 1600000, "", "libfaac", "2", "48000", 192000, false},
    {300, ".mp4", ".mp4", "libx264", "", "320*240", "25", 512000, "", "libfaac", "2", "48000", 128000, false},
    {301, ".mp4", ".mp4", "libxvid", "", "320*240", "25", 768000, "", "libfaac", "2", "48000", 128000, false},
    {302, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 768000, "", "libfaac", "2", "48000", 128000, false},
    {303, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 768000, "", "libfaac", "2", "48000", 128000, false},
    {304, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", 600000, "", "libfaac", "2", "48000", 128000, false},
    {305, ".mp4", ".mp4", "libx264", "", "640*480", "25", 1200000, "", "libfaac", "2", "48000", 128000, false},
    {306, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 512000, "", "libfaac", "2", "48000", 128000, false},
    {307, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", 600000, "", "libfaac", "2", "48000", 128000, false},
    {308, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 7680000, "", "libfaac", "2", "48000", 128000, false},
    {310, ".mp4", ".mp4", "libx264", "", "640*480", "25", 1200000, "", "libfaac", "2", "48000", 128000, false},
    {311, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 512000, "", "libfaac", "2", "48000", 128000, false},
    {312, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 1200000, "16:9", "libfaac", "2", "48000", 128000, false},
    {313, ".mp4", ".mp4", "libxvid", "", "320*240", "25", 768000, "", "libfaac", "2", "48000", 128000, false},
    {400, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", 600000, "", "libfaac", "2", "48000", 128000, false},
    {401, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 1000000, "", "libfaac", "2", "48000", 128000, false},
    {402, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", 600000, "16:9", "libfaac", "2", "48000", 128000, false},
    {403, ".mp4", ".mp4", "libx264", "", "320*240", "25", 1200000, "", "libfaac", "2", "48000", 128000, false},
    {404, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", 600000, "", "libfaac", "2", "48000", 128000, false},
    {405, ".mp4", ".mp4", "mpeg4", "", "480*320", "25", 768000, "", "libfaac", "2", "48000", 128000, false},
    {500, ".mp4", ".mp4", "mpeg4", "", "320*240", "29.97", 600000, "", "libfaac", "2", "48000", 128000, false},
    {501, ".mp4", ".mp4", "libx264", "", "320*240", "29.97", 768000, "", "libfaac", "2", "48000", 128000, false},
    {502, ".mp4", ".mp4", "libx264", "", "320*240", "29.97", 1200000, "", "libfaac", "2", "48000", 128000, false},
    {503, ".mp4", ".mp4", "libxvid", "", "320*240", "29.97", 384000, "", "libfaac", "2", "48000", 128000, false},
    {504, ".mp4", ".mp4", "libx264", "", "640*480", "29.97", 1000000, "", "libfaac", "2", "48000", 128000, false},
    {600, ".3gp", ".3gp", "h263", "", "176*144", "12", 128000, "", "libamr_nb", "1", "8000", 12000, false},
    {601, ".3gp", ".3gp", "h263", "", "176*144", "12", 128000, "", "libfaac", "2", "16000", 48000, false},
    {602, ".3gp", ".3gp", "mpeg4", "", "176*144", "12", 128000, "", "libamr_nb", "1", "8000", 12000, false},
    {603, ".3g2", ".3g2", "mpeg4", "", "176*144", "12", 128000, "", "libfaac", "2", "32000", 48000, false},
    {604, ".3gp", ".3gp", "mpeg4", "", "176*144", "12", 128000, "", "libamr_nb", "1", "8000", 10200, false},
    {605, ".3gp", ".3gp", "mpeg4", "", "320*240", "15", 128000, "", "libfaac", "2", "16000", 32000, false},
    {606, ".avi", ".avi", "h263", "", "352*288", "15", 256000, "", "libmp3lame", "2", "44100", 128000, false},
    {607, ".mp4", ".mp4", "mpeg4", "", "352*288", "15", 128000, "", "libfaac", "2", "44100", 128000, false},
    {608, ".amr", ".amr", Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "libopencore_amrnb", "1", "8000", 7400, true},
    {609, ".mp4", ".mp4", "mpeg4", "", "352*288", "15", 160000, "", "libfaac", "2", "44100", 64000, false},
    {610, ".mp4", ".mp4", "mpeg4", "", "352*288", "12", 128000, "", "libfaac", "2", "32000", 32000, false},
    {611, ".avi", ".avi", "mpeg4", "DX50", "320*240", "25", 256000, "", "libmp3lame", "2", "44100", 128000, false},
    {612, ".mov", ".mov", "", "", "320*240", "25", 256000, "", "libfaac", "2", "44100", 128000, false},
    {613, ".mp4", ".mp4", "mpeg4", "", "176*144", "12", 128000, "", "libfaac", "2", "32000", 32000, false},
    {700, ".mp4", ".mp4", "libx264", "", "320*240", "25", 768000, "", "libfaac", "2", "48000", 192000, false},
    {701, ".mp4", ".mp4", "libx264", "", "640*480", "25", 1000000, "", "libfaac", "2", "48000", 192000, false},
    {702, ".mp4", ".mp4", "libx264", "", "1280*720", "25", 1000000, "", "libfaac", "2", "48000", 192000, false},
    {703, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", 1200000, "", "libfaac", "2", "48000", 192000, false},
    {704, ".mp4", ".mp4", "libxvid", "", "640*480", "25", 600000, "", "libfaac", "2", "48000", 192000, false},
    {800, ".mp4", ".mp4", "libx264", "", "640*480", "29.97", 1200000, "", "libfaac", "2", "48000", 192000, false},
    {801, ".mpeg", ".mpeg", "mpeg2video", "", "1280*720", "25", 1200000, "", "ac3", "2", "48000", 192000, false},
    {802, ".mpg", ".mpg", "mpeg2video", "", "1280*720", "25", 1200000, "", "ac3", "2", "48000", 192000, false},
    {803, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", 1200000, "", "libmp3lame", "2", "48000", 192000, false},
    {804, ".mp4", ".mp4", "mpeg4", "", "1280*720", "25", 1200000, "", "libfaac", "2", "48000", 128000, false},
    {805, ".wmv", ".wmv", "wmv2", "", "640*480", "25", 1200000, "", "wmav2", "2", "48000", 128000, false},
    {806, ".avi", ".avi", "wmv2", "", "1280*720", "25", 1200000, "", "libmp3lame", "2", "48000", 128000, false},
    {807, ".avi", ".avi", "msmpeg4v2", "", "1280*720", "25", 1200000, "", "libmp3lame", "2", "48000", 128000, false},
    {808, ".avi", ".avi", "msmpeg4", "", "1280*720", "25", 1200000, "", "libmp3lame", "2", "48000", 128000, false},
    {809, ".mp4", ".mp4", "msmpeg4v1", "", "1280*720", "25", 1200000, "", "libmp3lame", "2", "48000", 128000, false},
    {900, ".avi", ".avi", "mpeg4", "", "480*272", "25", 1000000, "", "libmp3lame", "2", "48000", 128000, false},
    {901, ".avi", ".avi", "mpeg4", "", "720*480", "25", 1000000, "", "libmp3lame", "2", "48000", 128000, false},
    {902, ".avi", ".avi", "mpeg4", "", "320*240", "25", 768000, "", "libmp3lame", "2", "44100", 128000, false},
    {903, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", 512000, "", "libfaac", "2", "44100", 128000, false},
    {904, ".mp4", ".mp4", "libx264", "", "320*240", "25", 768000, "", "libfaac", "2", "44100", 128000, false},
    {905, ".mp4", ".mp4", "libxvid", "", "320*240", "25", 768000, "", "libfaac", "2", "44100", 128000, false},
    {906, ".wmv", ".wmv", "wmv2", "", "320*240", "25", 1000000, "", "wmav2", "2", "44100", 128000, false},
    {907, ".avi", ".avi", "mpeg4", "", "640*480", "25", 1000000, "", "libmp3lame", "2", "44100", 128000, false},
    {1000, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", 528000, "", "libmp3lame", "2", "44100", 128000, false},
    {1001, ".mp4", ".mp4", "mpeg4", "", "", "25", 768000, "", "libmp3lame", "2", "44100", 128000, false},
    {1002, ".mp4", ".mp4", "libx264", "", "", "25", 1200000, "", "libmp3lame", "2", "44100", 128000, false},
    {1003, ".mp4", ".mp4", "libx264", "", "320*240", "25", 1200000, "", "libfaac", "2", "44100", 128000, false},
    {1004, ".mp4", ".mp4", "libx264", "", "", "25", 1200000, "", "libmp3lame", "2", "44100", 128000, false},
    {1100, ".flv", ".flv", "", "", "", "25", 1200000, "", "libmp3lame", "2", "22050", 128000, false},
    {1101, ".swf", ".swf", "", "", "", "25", 528000, "", "libmp3lame", "2", "22050", 128000, false},
    {1102, ".flv", Leave, Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "libmp3lame", "2", "22050", 128000, true},
    {1103, ".swf", Leave, Leave, Leave, Leave, Leave, LeaveBitrate, Leave, "libmp3lame", "2", "22050", 128000, true},
};
// clang-format on

struct TDiscTarget {
    int Key;
    const char* Target;
};
constexpr TDiscTarget DiscTargets[] = {
    {11, "dvd" },
    {12, "svcd"},
    {13, "vcd" },
};

void Assign(std::string& field, const char* value) {
    if (value != Leave) field = value;
}

void Assign(int32_t& field, int32_t value) {
    if (value != LeaveBitrate) field = value;
}

} // namespace

std::span<const TSettingsCategory> SettingsCategories() {
    return CategoryTable;
}

std::span<const TSettingsFormat> SettingsFormatsOfCategory(int category) {
    if (category < 0 || category >= SettingsCategoryCount) return {};
    size_t first = 0;
    for (int c = 0; c < category; ++c) first += FormatsPerCategory[c];
    return std::span<const TSettingsFormat>(FormatTable).subspan(first, FormatsPerCategory[category]);
}

int SettingsFormatKey(int category, int formatPosition) {
    if (category < 0 || formatPosition < 0) return -1;
    return category * 100 + formatPosition;
}

const TPresetEntry* FindSettingsPresetEntry(int key) {
    for (const TPresetEntry& e : PresetTable)
        if (e.Key == key) return &e;
    return nullptr;
}

const TSettingsParameterRow* FindSettingsParameterRow(int key) {
    for (const TSettingsParameterRow& r : ParameterTable)
        if (r.Key == key) return &r;
    return nullptr;
}

std::optional<catalogue::TParameterSet> SettingsParameterSet(int key) {
    const TSettingsParameterRow* row = FindSettingsParameterRow(key);
    if (!row) return std::nullopt;
    catalogue::TParameterSet s;
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
    for (const TDiscTarget& d : DiscTargets)
        if (d.Key == key) {
            s.Video_TargetType = d.Target;
            s.Video_NormType = "PAL";
        }
    s.Video_DisableVideo = row->AudioOnly;
    return s;
}

} // namespace app
