#include "app/OutputOptionsTranslation.h"

#include "os/Convert.h"

namespace app {

namespace {

media::TOptionTargetType Target(const std::string& text) {
    if (text == "vcd") return media::ttVCD;
    if (text == "svcd") return media::ttSVCD;
    if (text == "dvd") return media::ttDVD;
    return media::ttIgnore;
}

media::TOptionNormType Norm(const std::string& text) {
    if (text == "PAL") return media::ntPAL;
    if (text == "NTSC") return media::ntNTSC;
    return media::ntAuto;
}

void SetVideoCodec(const std::string& codec, media::TOutputOptions& o) {
    if (codec.empty()) return;
    o.VideoCodec = codec;
    o.VideoPreset = codec == "libx264" ? "libx264-default" : "";
}

bool Set(const std::string& text) {
    return !text.empty();
}

bool SetNotAuto(const std::string& text) {
    return !text.empty() && text != catalogue::TextAuto;
}

} // namespace

void ParameterSetToOutputOptions(const catalogue::TParameterSet& s, media::TOutputOptions& o) {
    SetVideoCodec(s.Video_VideoCodec, o);
    if (SetNotAuto(s.Video_AudioCodec)) o.AudioCodec = s.Video_AudioCodec;
    if (Set(s.Video_FrameRate)) o.FrameRate = s.Video_FrameRate;
    o.DisableVideo = s.Video_DisableVideo;
    if (Set(s.Video_AudioChannels)) o.AudioChannels = os::StrToInt(s.Video_AudioChannels);
    if (SetNotAuto(s.Video_AudioSampleRate)) o.AudioSampleRate = os::StrToInt(s.Video_AudioSampleRate);
    if (Set(s.Video_FrameSize)) o.FrameSize = s.Video_FrameSize;
    if (Set(s.Video_TargetType)) o.TargetType = Target(s.Video_TargetType);
    o.NormType = Norm(s.Video_NormType);
    o.AudioVolume =
        s.Video_AudioVolume == catalogue::VolumeUnchanged ? 256 : os::StrToInt(s.Video_AudioVolume);
    if (Set(s.Video_FrameAspectRatio)) o.FrameAspectRatio = s.Video_FrameAspectRatio;
    if (s.Video_AudioBitrate != catalogue::BitrateNotSet &&
        s.Video_AudioBitrate != catalogue::AudioBitrateSkipped)
        o.AudioBitrate = s.Video_AudioBitrate;
    if (Set(s.Video_FileFormat)) o.FileFormat = s.Video_FileFormat;
    if (Set(s.Video_VideoFilters)) o.VideoFilters = s.Video_VideoFilters;
    if (Set(s.Video_VideoTag)) o.VideoTag = s.Video_VideoTag;
    if (s.Video_VideoBitrate != catalogue::BitrateNotSet) o.VideoBitrate = s.Video_VideoBitrate;
}

void RowToOutputOptions(const std::vector<std::string>& subItems, media::TOutputOptions& o) {
    auto at = [&](size_t i) -> std::string { return i < subItems.size() ? subItems[i] : std::string(); };
    const std::string codec = at(10);
    SetVideoCodec(codec, o);
    if (SetNotAuto(at(11))) o.AudioCodec = at(11);
    if (Set(at(12))) o.AudioChannels = os::StrToInt(at(12));
    o.VideoTag = (at(13).empty() || codec == "libx264") ? std::string() : at(13);
    if (Set(at(14))) o.FileExt = at(14);
    if (Set(at(15))) o.FrameSize = at(15);
    if (Set(at(16))) o.VideoBitrate = os::StrToInt(at(16));
    if (Set(at(17))) o.FrameRate = at(17);
    if (at(18) != "-1000" && at(18) != "-2000") o.AudioBitrate = os::StrToInt(at(18));
    if (SetNotAuto(at(19))) o.AudioSampleRate = os::StrToInt(at(19));
    if (Set(at(20))) o.FrameAspectRatio = at(20);
    o.DisableVideo = at(21) == "True";
    if (Set(at(22))) o.TargetType = Target(at(22));
    o.NormType = Norm(at(23));
}

} // namespace app
