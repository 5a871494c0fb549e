#include "catalogue/Formats.h"

#include "catalogue/Categories.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace catalogue {

namespace {

// One row per format key, families in ascending order, each family in its picker order.
// clang-format off
constexpr TFormatItem FormatTable[] = {
    // Family 0: category 13, "常用视频".
    {0, "AVI - 音频视频交错格式(*.avi)", "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式"},
    {1, "MP4 - MPEG-4视频格式(*.mp4)", "为网络广播和视频通信制定的压缩标准,有很小的体积和清晰的画质"},
    {2, "DivX - 视频格式(*.avi)", "DivX采用MPEG-4技术来压缩的数字多媒体格式,有接近DVD的画质和完美的音质"},
    {3, "MOV - 苹果QuickTime视频格式(*.mov)", "MOV即QuickTime影片格式，它是Apple公司开发的音频视频文件格式"},
    {4, "XviD - 视频格式(*.avi)", "XviD是世界上最流行的视频编码,很多电影是用XviD压制的"},
    {5, "MKV - Matroska视频格式(*.mkv)", "Matroska是一种新的多媒体封装格式 ，有超清晰的画面，和完美的音质"},
    {6, "MPEG-1视频格式(*.mpg)", "工业级标准而设计的压缩格式，具有VHS的画质和接近CD的音质"},
    {7, "MPEG-2视频格式(*.mpg)", "工业级标准而设计的压缩格式，具有广播级的视频画质和CD的音质"},
    {8, "ASF - 高级流视频格式(*.asf)", "微软制定的高级流媒体视频格式，被广泛用于网络"},
    {9, "3GP - 视频格式(*.3gp)", "3GP是一种3G流媒体的视频编码格式，手机支持的视频格式"},
    {10, "WMV - 视频格式(*.wmv)", "WMV是微软推出的一种流媒体格式,WMV格式的体积非常小,很适合在网上播放和传输"},
    {11, "DVD - 视频格式(*.mpg)", "DVD-数字视频光盘通,常用来播放标准电视机清晰度的电影,高质量的音乐"},
    {12, "SVCD - 视频格式(*.mpg)", "SVCD采用MPEG-2压缩,比VCD视频有更好的视频质量"},
    {13, "VCD - 视频格式(*.mpg)", "可以在VCD机上直接播放,也可以在配置了光驱的电脑中播放。"},
    {14, "RM - REAL视频格式(*.rm)", "RealNetWorks推出的一种流媒体格式,低码率,很适合在网上播放和传输"},

    // Family 1: category 14, "常用音频".
    {100, "MP3 - MPEG Layer-3音频格式(*.mp3)", "最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词"},
    {101, "WMA - Windows媒体音频格式(*.wma)", "微软公司推出的与MP3格式齐名的一种新的音频格式"},
    {102, "WAV - 波形音频格式(*.wav)", "WAV为微软公司开发的波形声音文件格式"},
    {103, "AAC - 高级音频格式(*.aac)", "高级声音数据设计的文件压缩格式,与Mp3类似,苹果公司的ipod,iPhone支持的音频格式"},
    {104, "M4A - MPEG-4音频格式(*.m4a)", "M4A是MPEG4音频标准的文件,几乎所有支持MPEG4音频的软件都支持m4a音频"},
    {105, "OGG - Ogg Vorbis音频格式(*.ogg)", "OGG是一种常见的格式，在音乐软件、游戏音效、便携播放器、网络浏览器上都得到广泛支持"},
    {106, "RA - RealAudio音频格式(*.ra)", "RealNetworks制定的流媒体音频格式,便于网络传输的音频格式"},
    {107, "AC3 - 杜比数字AC-3音频格式(*.ac3)", "杜比数字AC-3是杜比公司开发的新一代家庭影院多声道数字音频系统。"},
    {108, "AIFF - 音频交换文件格式(*.aiff)", "AIFF是音频交换文件格式是Apple公司开发的声音文件格式,广泛应用于各种专业的音频软件中"},
    {109, "MP2 - MPEG Layer-2音频格式(*.mp2)", "MPEG Layer-2音频格式，具有CD级别的音质"},
    {110, "FLAC-音频格式(*.flac)", "FLAC是一套著名的无损压缩编码,所以还原CD音乐光盘音质"},
    {111, "MP4-MP4音频格式(*.m4a)", "MP4音频格式,具有完美的CD音质"},
    {112, "AMR-手机音频格式(*.amr)", "AMR是流行的手机数字音乐文件格式之一"},

    // Family 2: category 0, "H.264视频".
    {200, "高清AVI视频格式(*.avi)", "高清晰AVI视频格式(DivX视频编码)"},
    {201, "高清AVI视频格式(*.avi)", "高清晰AVI视频格式(XviD视频编码)"},
    {202, "高清H264视频格式(*.mp4)", "H.264编码的高清MP4视频,画质清晰,体积小,适合高清播放器和电脑播放"},
    {203, "高清MPEG-4视频格式(*.mp4)", "MPEG-4编码的高清MP4视频,兼容性好,适合各种播放器播放"},
    {204, "高清MOV视频格式(*.mov)", "苹果QuickTime高清MOV视频,适合在苹果电脑和设备上播放"},
    {205, "高清ASF视频格式(*.asf)", "微软高级流媒体高清视频格式,适合网络播放和传输"},
    {206, "高清WMV视频格式(*.wmv)", "微软WMV高清视频格式,体积小,画质清晰,适合在电脑上播放"},
    {207, "高清DVD视频格式(*.vob)", "高清DVD视频格式,可以刻录到光盘在DVD机上播放"},
    {208, "高清MPEG-2视频格式(*.mpg)", "MPEG-2编码的高清视频,具有广播级的画质"},
    {209, "高清MKV视频格式(*.mkv)", "Matroska封装的高清MKV视频,有超清晰的画面和完美的音质"},

    // Family 4: category 3, "iPhone视频".
    {400, "标准iPhone MPEG-4视频(*.mp4)", "标准iPhone视频格式,MPEG-4编码,适合在iPhone上播放"},
    {401, "iPhone MPEG-4视频480P(*.mp4)", "480P分辨率的iPhone视频,XviD编码,画面清晰"},
    {402, "高清iPhone MPEG-4视频720P(*.mp4)", "720P高清iPhone视频,MPEG-4编码,宽屏16:9"},
    {403, "高清iPhone H264视频720P(*.mp4)", "720P高清iPhone视频,H.264编码,画质更佳"},
    {404, "高清iPhone H264视频1080P(*.mp4)", "1080P全高清iPhone视频,H.264编码,超清晰的画面"},
    {405, "iPhone MPEG-4视频宽屏(*.mp4)", "宽屏iPhone视频,MPEG-4编码,720*406分辨率"},
    {406, "iPhone MPEG-4高清晰视频(*.mp4)", "高清晰iPhone视频,H.264编码,720*406分辨率"},
    {407, "iPhone MPEG-4视频(320X240)(*.mp4)", "320X240分辨率的iPhone视频,体积小,适合早期iPhone播放"},
    {408, "iPhone MPEG-4视频(480X320)(*.mp4)", "480X320分辨率的iPhone视频,适合iPhone屏幕全屏播放"},
    {409, "iPhone 标准MOV视频(*.mov)", "iPhone支持的标准MOV视频,苹果QuickTime格式"},
    {410, "iPhone 高清MOV视频(*.mov)", "iPhone支持的720P高清MOV视频"},
    {411, "iPhone 标准AVI视频-Xvid(*.avi)", "XviD编码的标准AVI视频,适合在iPhone播放器中播放"},
    {412, "iPhone 高清DivX视频(*.avi)", "DivX编码的720P高清AVI视频"},
    {413, "iPhone 高清AVI视频(*.avi)", "720P高清AVI视频,适合在iPhone播放器中播放"},
    {414, "iPhone 高清WMV视频(*.wmv)", "720P高清WMV视频,体积小,画质清晰"},

    // Family 5: category 4, "PSP视频".
    {500, "PSP MPEG-4视频(*.mp4)", "PSP支持的MPEG-4视频,320X240分辨率"},
    {501, "PSP AVC MPEG-4视频(*.mp4)", "H.264(AVC)编码的PSP视频,画质更好"},
    {502, "PSP高清晰MPEG-4视频(*.mp4)", "高清晰的PSP视频,画面细腻,适合PSP全屏播放"},
    {503, "PSP高压缩MPEG-4视频(*.mp4)", "高压缩比的PSP视频,体积小,节省记忆棒空间"},
    {504, "PSP Video MPEG-4视频480P(*.mp4)", "480P分辨率的PSP视频,H.264编码,画面清晰"},

    // Family 7: category 5, "APPLE视频".
    {700, "Apple TV H264视频(320X240)(*.mp4)", "Apple TV支持的H.264视频,320X240分辨率"},
    {701, "Apple TV H264视频480P(640X480)(*.mp4)", "Apple TV支持的480P H.264视频,640X480分辨率"},
    {702, "Apple TV H264视频720P(1280X720)(*.mp4)", "Apple TV支持的720P高清H.264视频,1280X720分辨率"},
    {703, "Apple TV H264高清晰视频480P(640X480)(*.mp4)", "Apple TV高清晰480P视频,画面细腻"},
    {704, "Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)", "Apple TV高压缩480P视频,体积小,适合存储更多影片"},

    // Family 10: category 6, "MP4视频".
    {1000, "MP4机播放的MP4视频格式(*.mp4)", "适合MP4播放机播放的视频格式,320X240分辨率"},
    {1001, "电脑上使用的MP4视频格式(*.mp4)", "适合在电脑上播放的MP4视频格式,兼容性好"},
    {1002, "MPEG-4视频高清晰视频(*.mp4)", "高清晰的MPEG-4视频,H.264编码,画质清晰"},
    {1003, "MP4 AVC视频(*.mp4)", "AVC(H.264)编码的MP4视频,压缩率高,画质好"},
    {1004, "MP4 H264编码视频(*.mp4)", "H.264编码的MP4视频,适合各种播放器和网络播放"},

    // Family 11: category 7, "Flash视频".
    {1100, "FLV在线网络视频(*.flv)", "最流行的网络视频格式,适合网站在线播放"},
    {1101, "SWF动画视频FLASH动画视频(*.swf)", "Flash动画视频格式,适合在网页中播放"},
    {1102, "FLV在线网络音频格式(*.flv)", "只保留音频的FLV文件,适合网络在线收听"},
    {1103, "SWF动画视频FLASH动画音频格式(*.swf)", "只保留音频的Flash动画文件,适合在网页中播放"},

    // Family 12: category 8, "iPad视频".
    {1200, "iPad标准视频格式(*.mp4)", "iPad标准视频格式,MPEG-4编码,兼容性好"},
    {1201, "iPad高清视频格式H.264编码(*.mp4)", "H.264编码的iPad高清视频,720*480分辨率"},
    {1202, "iPad MPEG-4视频格式 XviD编码 (*.mp4)", "XviD编码的iPad MPEG-4视频格式"},
    {1203, "iPad 720P HD高清晰视频MPEG-4(*.mp4)", "720P HD高清晰iPad视频,画面清晰细腻"},
    {1204, "iPad 优化视频方案1(*.mp4)", "iPad优化视频方案,体积小,适合存储更多影片"},
    {1205, "iPad 优化视频方案2(*.mp4)", "iPad优化视频方案,画质与体积兼顾"},
    {1206, "iPad 1080P FHD全高清晰视频MPEG-4(*.mp4)", "1080P全高清晰iPad视频,适合iPad的高分辨率屏幕"},
    {1207, "iPad 标准MOV视频(*.mov)", "iPad支持的标准MOV视频,苹果QuickTime格式"},
    {1208, "iPad 高清MOV视频(*.mov)", "iPad支持的720P高清MOV视频"},
    {1209, "iPad 标准AVI视频(*.avi)", "iPad播放器支持的标准AVI视频,XviD编码"},
    {1210, "iPad 高清AVI视频(*.avi)", "iPad播放器支持的720P高清AVI视频,DivX编码"},

    // Family 13: category 1, "MPG视频".
    {1300, "MPG标准视频(*.mpg)", "MPG标准视频,MPEG-1编码,兼容性最好"},
    {1301, "MPEG-1标准视频(*.mpg)", "MPEG-1标准视频,具有VHS的画质和接近CD的音质"},
    {1302, "MPEG-2标准视频(*.mpg)", "MPEG-2标准视频,具有广播级的视频画质"},
    {1303, "MPEG-4标准视频(*.mp4)", "MPEG-4标准视频,有很小的体积和清晰的画质"},
    {1304, "MPEG-2高清HD视频(*.mpg)", "MPEG-2高清HD视频,1280X720分辨率"},
    {1305, "MPEG-4高清HD视频(*.mp4)", "MPEG-4高清HD视频,1280X720分辨率"},
    {1306, "MPEG-2优化视频(*.mpg)", "优化的MPEG-2视频,画质与体积兼顾"},
    {1307, "MPEG-2高压缩视频(*.mpg)", "高压缩的MPEG-2视频,体积小"},
    {1308, "DVD格式高清晰视频(*.mpg)", "DVD格式的高清晰视频,可以刻录到DVD光盘播放"},
    {1309, "SVCD格式标清视频(*.mpg)", "SVCD格式的标清视频,比VCD视频有更好的画质"},
    {1310, "VCD格式清晰视频(*.mpg)", "VCD格式的清晰视频,可以在VCD机上直接播放"},

    // Family 15: category 9, "AVI视频".
    {1500, "AVI标准视频(*.avi)", "标准AVI视频,DivX编码,兼容性好"},
    {1501, "HD高清晰AVI标准视频(*.avi)", "HD高清晰AVI视频,H.264编码,1280X720分辨率"},
    {1502, "网络上常用的AVI视频(*.avi)", "网络上常用的AVI视频,XviD编码,适合网络传输"},
    {1503, "电脑上常用的AVI视频(*.avi)", "电脑上常用的AVI视频,XviD编码,画质清晰"},
    {1504, "优化的AVI视频(*.avi)", "优化的AVI视频,画质与体积兼顾"},
    {1505, "高压缩的AVI视频(*.avi)", "高压缩的AVI视频,体积小"},
    {1506, "高清的HD AVI视频(*.avi)", "高清的HD AVI视频,XviD编码,1280X720分辨率"},

    // Family 16: category 10, "MKV视频".
    {1600, "MKV标准视频(*.mkv)", "标准MKV视频,Matroska封装,有清晰的画面和完美的音质"},
    {1601, "HD高清MKV视频(*.mkv)", "HD高清MKV视频,H.264编码,1280X720分辨率"},
    {1602, "网络上常用的MKV视频(*.mkv)", "网络上常用的MKV视频,体积小,适合网络传输"},
    {1603, "电脑上常用的MKV标准视频(*.mkv)", "电脑上常用的MKV视频,XviD编码,画质清晰"},
    {1604, "优化的MKV视频(*.mkv)", "优化的MKV视频,画质与体积兼顾"},
    {1605, "高压缩的MKV视频(*.mkv)", "高压缩的MKV视频,体积小"},
    {1606, "高清的HD MKV视频(*.mkv)", "高清的HD MKV视频,XviD编码,1280X720分辨率"},

    // Family 17: category 11, "WMV视频".
    {1700, "WMV标准视频(*.wmv)", "标准WMV视频,体积小,适合在电脑上播放"},
    {1701, "HD高清WMV视频(*.wmv)", "HD高清WMV视频,1280X720分辨率"},
    {1702, "网络上常用的WMV视频(*.wmv)", "网络上常用的WMV视频,体积小,适合网上播放和传输"},
    {1703, "电脑上常用的WMV标准视频(*.wmv)", "电脑上常用的WMV视频,1024X768分辨率"},
    {1704, "优化的WMV视频(*.wmv)", "优化的WMV视频,画质与体积兼顾"},
    {1705, "高压缩的WMV视频(*.wmv)", "高压缩的WMV视频,体积非常小"},
    {1706, "高清的HD WMV视频(*.wmv)", "高清的HD WMV视频,1280X720分辨率"},

    // Family 21: category 12, "MTS视频".
    {2100, "MTS转换为标准AVI视频(*.avi)", "将摄像机拍摄的MTS视频转换为标准AVI视频"},
    {2101, "Sony HD高清MTS视频转换为HD高清AVI视频(*.avi)", "将Sony高清MTS视频转换为H.264编码的HD高清AVI视频"},
    {2102, "Sony AVCHD高清视频格式(*.avi)", "将Sony AVCHD高清视频转换为DivX编码的AVI视频"},
    {2103, "MTS转换为MPEG-2视频格式标准视频(*.mpg)", "将MTS视频转换为MPEG-2标准视频"},
    {2104, "MTS转换为MPG视频格式(*.mpg)", "将MTS视频转换为MPG视频,可以在各种播放器中播放"},
    {2105, "MTS转换为MP4视频(*.mp4)", "将MTS视频转换为MP4视频,适合在手机和播放器上播放"},
    {2106, "MTS转换为AVI视频(*.avi)", "将MTS视频转换为XviD编码的AVI视频"},
    {2107, "MTS转换为3GP视频(*.3gp)", "将MTS视频转换为手机支持的3GP视频"},
    {2108, "MTS转换为电脑常用WMV视频(*.wmv)", "将MTS视频转换为电脑上常用的WMV视频"},
    {2109, "MTS转换为网络在线常用FLV视频(*.flv)", "将MTS视频转换为网络在线常用的FLV视频"},
    {2110, "MTS视频转换为DVD视频(*.mpg)", "将MTS视频转换为DVD视频,可以刻录到DVD光盘播放"},
    {2111, "MTS视频转换为SVCD视频(*.mpg)", "将MTS视频转换为SVCD视频,比VCD视频有更好的画质"},
    {2112, "MTS视频转换为VCD视频(*.mpg)", "将MTS视频转换为VCD视频,可以在VCD机上直接播放"},

    // Family 26: category 2, "智能电视".
    {2600, "智能电视高清MP4视频(*.mp4)", "智能电视支持的高清视频,兼容性好"},
    {2601, "4K高清电视DivX视频(*.mp4)", "适合4K高清电视的视频,3840X2160超高清分辨率"},
    {2602, "电视高清Xvid视频(*.mp4)", "XviD编码的电视高清视频,1920X1080分辨率"},
    {2603, "H.264编码高清视频(*.mp4)", "H.264编码的高清视频,1280X720分辨率,画质清晰"},
    {2604, "高清智能电视AVI视频(*.avi)", "智能电视支持的高清AVI视频,1280X720分辨率"},
    {2605, "4K高清电视AVI视频(*.avi)", "适合4K高清电视的AVI视频,3840X2160超高清分辨率"},
    {2606, "智能电视适用的MKV视频(*.mkv)", "智能电视适用的MKV视频,1280X720分辨率"},
    {2607, "高清MOV格式视频(*.mov)", "智能电视支持的高清MOV视频"},
    {2608, "FLV网络视频(*.flv)", "智能电视支持的FLV网络视频"},
    {2609, "WMV高清视频(*.wmv)", "智能电视支持的WMV高清视频"},
    {2610, "高清MPEG视频(*.mpg)", "智能电视支持的高清MPEG-2视频"},
    {2611, "MPEG-4超高清视频(*.mp4)", "H.264编码的MPEG-4超高清视频,1920X1080分辨率"},
};
// clang-format on

// Offsets of the UTF-8 characters of a text.
std::vector<size_t> CharacterStarts(const std::string& s) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

} // namespace

std::span<const TFormatItem> FormatsOfFamily(int family) {
    auto inFamily = [family](const TFormatItem& f) { return f.Key / 100 == family; };
    auto first = std::find_if(std::begin(FormatTable), std::end(FormatTable), inFamily);
    auto last = std::find_if_not(first, std::end(FormatTable), inFamily);
    return {first, last};
}

std::span<const TFormatItem> FormatsOfCategory(int category) {
    int family = FamilyOfCategory(category);
    if (family < 0) return {};
    return FormatsOfFamily(family);
}

const TFormatItem* FindFormat(int key) {
    for (const TFormatItem& f : FormatTable)
        if (f.Key == key) return &f;
    return nullptr;
}

std::string TitleExtension(const std::string& title) {
    static const std::pair<const char*, const char*> Mapped[] = {
        {"lac)", ".alac"},
        {"flac", ".flac"},
        {"aiff", ".aiff"},
        {"mpeg", ".mpeg"},
        {"*.rm", ".rm"  },
        {"*.ra", ".ra"  },
    };
    std::vector<size_t> starts = CharacterStarts(title);
    if (starts.empty()) return {};
    // The four characters before the last one; fewer when the title is that short.
    size_t last = starts.size() - 1;
    size_t from = starts[last >= 4 ? last - 4 : 0];
    std::string four = title.substr(from, starts[last] - from);
    for (const auto& [text, ext] : Mapped)
        if (four == text) return ext;
    return four;
}

} // namespace catalogue
