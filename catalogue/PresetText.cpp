#include "catalogue/PresetText.h"

#include "catalogue/ParameterSet.h"
#include "os/Convert.h"

#include <climits>

namespace catalogue {

namespace {

constexpr const char* NoVideo = "无视频";

// The text before the first "kbps", trimmed; a text without "kbps" has no number.
std::string BitrateNumber(const std::string& text) {
    auto at = text.find("kbps");
    if (at == std::string::npos) throw os::EConvertError("'' is not a valid integer value");
    return os::Trim(text.substr(0, at));
}

int32_t Kilo(const std::string& number) {
    int64_t bits = int64_t{os::StrToInt(number)} * 1000;
    if (bits < INT32_MIN || bits > INT32_MAX)
        throw os::EConvertError("'" + number + "' is not a valid integer value");
    return static_cast<int32_t>(bits);
}

int PlaceOf(TPresetPicker picker) {
    for (int i = 0; i < PresetPickerCount; ++i)
        if (FieldOrder[i] == picker) return i;
    return 0;
}

} // namespace

std::string PresetFrameSize(const std::string& text) {
    return text == "保持原分辨率" || text == "该格式无视频" ? std::string() : text;
}

std::string PresetFrameRate(const std::string& text) {
    return text == "保持原帧速率" || text == NoVideo ? std::string() : text;
}

int32_t PresetVideoBitrate(const std::string& text) {
    if (text == NoVideo) return BitrateNotSet;
    return Kilo(BitrateNumber(text));
}

int32_t PresetAudioBitrate(const std::string& text) {
    if (text == "自动音频比特率") return BitrateNotSet;
    std::string number = BitrateNumber(text);
    if (number.find('.') == std::string::npos) return Kilo(number);
    // The product goes through its shortest decimal text, so 7.95 * 1000 is 7950 and not
    // 7949.999...; a product that is not whole fails as text that is no integer.
    std::string product = os::FormatC("%.15g", os::StrToFloat(number) * 1000);
    return os::StrToInt(product);
}

std::string PresetSampleRate(const std::string& text, TSampleRateUse use) {
    if (text == "自动音频采样率") return use == TSampleRateUse::Override ? TextAuto : "";
    return text;
}

std::string PresetAspect(const std::string& text, const std::string& current) {
    static const std::pair<const char*, const char*> Modes[] = {
        {"保持原视频模式",   ""     },
        {"普通视频4:3模式",   "4:3"  },
        {"宽屏视频16:9模式",  "16:9" },
        {"宽屏视频37:20模式", "37:20"},
        {"宽屏视频47:20模式", "47:20"},
        {NoVideo,                   ""     },
    };
    for (const auto& [mode, value] : Modes)
        if (text == mode) return value;
    return current;
}

TParameterSet WithPresets(const TParameterSet& current,
                          const std::function<std::string(TPresetPicker)>& text) {
    TParameterSet s = current;
    s.Video_FrameSize = PresetFrameSize(text(TPresetPicker::FrameSize));
    s.Video_FrameRate = PresetFrameRate(text(TPresetPicker::FrameRate));
    s.Video_VideoBitrate = PresetVideoBitrate(text(TPresetPicker::VideoBitrate));
    s.Video_AudioSampleRate = PresetSampleRate(text(TPresetPicker::SampleRate), TSampleRateUse::Override);
    s.Video_AudioBitrate = PresetAudioBitrate(text(TPresetPicker::AudioBitrate));
    s.Video_FrameAspectRatio = PresetAspect(text(TPresetPicker::Aspect), s.Video_FrameAspectRatio);
    return s;
}

std::string PresetIndexText(int position) {
    return (position < 10 ? "0" : "") + os::FormatC("%d", position);
}

std::string PresetIndicesText(const TPresetPositions& positions) {
    std::string text;
    for (int position : positions) text += PresetIndexText(position);
    return text;
}

void SetPresetIndex(std::string& indices, TPresetPicker picker, int position) {
    if (indices.size() < 2 * PresetPickerCount) indices.resize(2 * PresetPickerCount, '0');
    indices.replace(2 * PlaceOf(picker), 2, PresetIndexText(position));
}

std::optional<TPresetPositions> ReadPresetIndices(const std::string& indices) {
    TPresetPositions positions{};
    for (int i = 0; i < PresetPickerCount; ++i) {
        if (indices.size() < size_t(2 * i + 2) || !os::TryStrToInt(indices.substr(2 * i, 2), positions[i]))
            return std::nullopt;
    }
    return positions;
}

} // namespace catalogue
