#include "catalogue/Categories.h"

namespace catalogue {

namespace {

// clang-format off
constexpr TCategory CategoryTable[CategoryCount] = {
    {0,  "H.264视频",  40, 2 },
    {1,  "MPG视频",    22, 13},
    {2,  "智能电视",   43, 26},
    {3,  "iPhone视频", 4,  4 },
    {4,  "PSP视频",    5,  5 },
    {5,  "APPLE视频",  7,  7 },
    {6,  "MP4视频",    10, 10},
    {7,  "Flash视频",  11, 11},
    {8,  "iPad视频",   15, 12},
    {9,  "AVI视频",    13, 15},
    {10, "MKV视频",    14, 16},
    {11, "WMV视频",    30, 17},
    {12, "MTS视频",    38, 21},
    {13, "常用视频",   0,  0 },
    {14, "常用音频",   1,  1 },
};
// clang-format on

} // namespace

std::span<const TCategory> Categories() {
    return CategoryTable;
}

int FamilyOfCategory(int category) {
    if (category < 0 || category >= CategoryCount) return -1;
    return CategoryTable[category].Family;
}

int FormatKey(int category, int formatPosition) {
    int family = FamilyOfCategory(category);
    return family < 0 ? -1 : family * 100 + formatPosition;
}

int FormatCode(int category, int formatPosition) {
    return category * 100 + formatPosition + 100;
}

TFormatPlace DecodeFormatCode(int code) {
    int hundreds = code / 100;
    return {hundreds - 1, code - hundreds * 100};
}

} // namespace catalogue
