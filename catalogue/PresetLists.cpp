#include "catalogue/PresetLists.h"

namespace catalogue::presets {

// clang-format off
// Frame sizes: width "*" height, or a word that keeps the source size or says there is no video.
// Each list keeps the order its drop-down shows, which is not sorted: "176*144" before "160*120",
// "720*406" before "704*480", "640*353" and "852*480" where they are.
const TPresetList R1{"R1", {
    "保持原分辨率", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200",
    "1920*1440", "2048*1536", "2560*1600"}};
const TPresetList R2{"R2", {
    "保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480",
    "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480",
    "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "1920*1440",
    "2048*1536", "2560*1600"}};
const TPresetList R3{"R3", {
    "保持原分辨率", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768",
    "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600",
    "3840*2160"}};
const TPresetList R4{"R4", {
    "保持原分辨率", "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368",
    "512*384", "640*272", "640*353", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600",
    "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "2048*1536",
    "2560*1600", "3840*2160"}};
const TPresetList R5{"R5", {
    "保持原分辨率", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200",
    "2048*1536", "2560*1600"}};
const TPresetList R6{"R6", {
    "保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480",
    "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480",
    "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536",
    "2560*1600"}};
const TPresetList R7{"R7", {
    "保持原分辨率", "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368",
    "512*384", "640*272", "640*353", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600",
    "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080"}};
const TPresetList R8{"R8", {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384",
    "640*272", "640*353", "640*480", "720*406"}};
const TPresetList R9{"R9", {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*320", "480*368", "512*384",
    "640*272", "640*353", "640*480", "720*406", "704*480", "704*576", "720*480", "720*576", "800*600",
    "852*480", "1024*768", "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080"}};
const TPresetList R10{"R10", {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "480*272", "640*480", "704*576",
    "1280*720", "1440*1080", "1920*1080"}};
const TPresetList R11{"R11", {"320*240", "368*208", "480*272", "640*480", "720*480"}};
const TPresetList R12{"R12", {"128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480"}};
const TPresetList R13{"R13", {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "1280*720"}};
const TPresetList R14{"R14", {
    "保持原分辨率", "128*96", "176*144", "240*176", "320*240", "352*240", "352*288", "384*288", "480*480",
    "480*576", "640*368", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480",
    "1024*768"}};
const TPresetList R15{"R15", {"该格式无视频"}};
const TPresetList R16{"R16", {
    "保持原分辨率", "640*480", "720*480", "720*576", "960*540", "1024*768", "1280*720", "1280*1024",
    "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"}};
const TPresetList R17{"R17", {
    "保持原分辨率", "640*480", "704*480", "704*576", "720*480", "720*576", "800*600", "852*480", "1024*768",
    "1280*720", "1280*1024", "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"}};
const TPresetList R18{"R18", {
    "112*96", "128*96", "160*112", "160*120", "176*144", "192*144", "208*176", "220*176", "320*208",
    "320*224", "320*240"}};

// Video bitrates: whole kbit/s before "kbps".
const TPresetList V1{"V1", {
    "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"}};
const TPresetList V2{"V2", {
    "128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps"}};
const TPresetList V3{"V3", {
    "128 kbps", "288 kbps", "528 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"}};
const TPresetList V4{"V4", {
    "128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps"}};
const TPresetList V5{"V5", {
    "128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps"}};
const TPresetList V6{"V6", {
    "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps",
    "2500 kbps", "3000 kbps", "3500 kbps"}};
const TPresetList V7{"V7", {
    "192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
    "2000 kbps", "3000 kbps", "4000 kbps"}};
const TPresetList V8{"V8", {
    "192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps"}};
const TPresetList V9{"V9", {
    "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
    "4000 kbps"}};
const TPresetList V10{"V10", {
    "128 kbps", "288 kbps", "528 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps",
    "2500 kbps", "3000 kbps"}};
const TPresetList V11{"V11", {
    "128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps"}};
const TPresetList V12{"V12", {
    "128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps"}};
const TPresetList V13{"V13", {
    "128 kbps", "288 kbps", "528 kbps", "600 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps"}};
const TPresetList V14{"V14", {
    "192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
    "2000 kbps"}};
const TPresetList V15{"V15", {
    "128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps",
    "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps"}};
const TPresetList V16{"V16", {
    "128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"}};
const TPresetList V17{"V17", {
    "128 kbps", "288 kbps", "528 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"}};
const TPresetList V18{"V18", {
    "192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"}};
const TPresetList V19{"V19", {
    "216 kbps", "384 kbps", "512 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps"}};
const TPresetList V20{"V20", {"无视频"}};
const TPresetList V21{"V21", {
    "192 kbps", "384 kbps", "600 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"}};
const TPresetList V22{"V22", {
    "128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"}};
const TPresetList V23{"V23", {
    "128 kbps", "288 kbps", "528 kbps", "768 kbps", "816 kbps", "1000 kbps", "1200 kbps", "1600 kbps",
    "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps"}};
const TPresetList V24{"V24", {
    "8 kbps", "16 kbps", "24 kbps", "32 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps",
    "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps"}};

// Frame rates: two decimals, except F7's whole numbers; F2 has "23.97" where the others have "23.98".
const TPresetList F1{"F1", {"保持原帧速率", "25.00", "29.97", "30.00"}};
const TPresetList F2{"F2", {
    "保持原帧速率", "10.00", "13.00", "15.00", "18.00", "20.00", "23.00", "23.97", "24.00", "25.00", "29.97",
    "30.00"}};
const TPresetList F3{"F3", {
    "保持原帧速率", "10.00", "12.00", "15.00", "20.00", "23.98", "24.00", "25.00", "29.97", "30.00"}};
const TPresetList F4{"F4", {"15.00", "23.98", "29.97"}};
const TPresetList F5{"F5", {"无视频"}};
const TPresetList F6{"F6", {"保持原帧速率", "23.98", "24.00", "25.00", "29.97", "30.00"}};
const TPresetList F7{"F7", {"1", "2", "3", "5", "10", "12", "15"}};

// Audio bitrates: A4 holds the AMR rates with "." as the decimal point.
const TPresetList A1{"A1", {
    "16 kbps", "24 kbps", "32 kbps", "40 kbps", "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps",
    "112 kbps", "128 kbps", "144 kbps", "160 kbps", "192 kbps", "224 kbps", "256 kbps", "320 kbps"}};
const TPresetList A2{"A2", {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"}};
const TPresetList A3{"A3", {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"}};
const TPresetList A4{"A4", {
    "4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps", "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps"}};

// Sample rates in Hz.
const TPresetList S1{"S1", {"11025", "16000", "22050", "32000", "44100", "48000"}};
const TPresetList S2{"S2", {"22050", "32000", "44100", "48000"}};
const TPresetList S3{"S3", {"11025", "22050", "44100"}};
const TPresetList S4{"S4", {"22050", "24000", "32000", "44100", "48000"}};
const TPresetList S5{"S5", {"8000"}};

// Aspect modes.
const TPresetList M1{"M1", {
    "保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式", "宽屏视频37:20模式", "宽屏视频47:20模式"}};
const TPresetList M2{"M2", {"无视频"}};
const TPresetList M3{"M3", {"保持原视频模式", "普通视频4:3模式"}};
// clang-format on

} // namespace catalogue::presets
