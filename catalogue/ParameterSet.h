#pragma once
// The parameter set of the format being applied: the encoding values the main window keeps in its
// Video_ fields. Texts are UTF-8; the sentinels below are what the rest of the program tests for.
#include <cstdint>
#include <string>

namespace catalogue {

constexpr int32_t BitrateReset = -1;     // copied as it stands; the engine ignores it
constexpr int32_t BitrateNotSet = -1000; // left to the target (disc formats), or no video
constexpr int32_t AudioBitrateSkipped = -2000;
constexpr const char* TextAuto = "AUTO"; // codec or sample rate left to the encoder
constexpr const char* VolumeUnchanged = "256";

// Default-constructed, the set holds the reset values. The input file being added
// (Video_AddFileName) is not part of it: the reset leaves that field alone.
struct TParameterSet {
    std::string Video_OutPutFileName;
    std::string Video_FileExt;
    std::string Video_AudioChannels;
    std::string Video_AudioSampleRate;
    std::string Video_FrameSize;
    std::string Video_FrameRate;
    std::string Video_NormType;
    std::string Video_VideoFilters;
    std::string Video_AudioVolume = VolumeUnchanged;
    std::string Video_FrameAspectRatio;
    std::string Video_VideoCodec;
    std::string Video_AudioCodec;
    std::string Video_CopyTimestamp;
    std::string Video_FileFormat;
    std::string Video_TargetType;
    std::string Video_VideoTag;
    int32_t Video_VideoBitrate = BitrateReset;
    int32_t Video_AudioBitrate = BitrateReset;
    int32_t Video_TimeStart = -1;
    int32_t Video_TimeLength = -1;
    bool Video_DisableVideo = false;

    bool operator==(const TParameterSet&) const = default;
};

} // namespace catalogue
