// The stream and picture option handlers: each stores into the engine what
// the file opening, the stream creation and the run read later.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegEngine.h"
#include "os/Convert.h"
#include "os/Text.h"

namespace media {
namespace {

[[noreturn]] void Fail(const std::string& text) {
    throw FFmpegException(text);
}

// Logs the header line (index -1) and every entry of a format list.
void LogFormatList(os::TObject* sender, const std::function<void(char*, int, int)>& describe, int count) {
    for (int i = -1; i < count; ++i) {
        char line[128] = {};
        describe(line, sizeof line, i);
        FFLogger().Log(sender, llInfo, os::Trim(line));
    }
}

// strtol in base 0 from p, moving p past the number.
int ReadInt(const char*& p) {
    char* end = nullptr;
    const long v = std::strtol(p, &end, 0);
    p = end;
    return static_cast<int>(std::clamp<long>(v, INT32_MIN, INT32_MAX));
}

void SkipOne(const char*& p) {
    if (*p) ++p;
}

// strtod in the C locale whatever the process locale says: 0 when no number.
double ReadDouble(const char* p) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+') ++p;
    double v = 0;
    std::from_chars(p, p + std::strlen(p), v);
    return v;
}

// A crop band: the frame size must be known first, and the band leaves at
// least one line or column.
void SetCrop(os::TObject* sender, int value, int& band, int& size, bool vertical) {
    if (value <= 0) return;
    if (value >= size)
        Fail(std::string(vertical ? "Vertical" : "Horizontal") +
             " crop dimensions are outside the range of the original image.\n"
             "Remember to crop first and scale second.");
    FFLogger().Log(sender, llWarning, "CropXXX is deprecated in favor of the crop avfilter");
    band = value;
    size -= value;
}

// Four characters of the tag, first character in the lowest byte.
uint32_t TagValue(const std::string& text, const char* kind) {
    size_t chars = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++chars;
    if (chars != 4) AssertionFailure("FFmpeg", std::string(kind) + " tag parameter must be 4 chars");
    std::string bytes;
    if (!os::Utf8ToLocale(text, bytes) || bytes.size() < 4) bytes = text;
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[0])) |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[3])) << 24;
}

} // namespace

void TCustomFFmpeg::SetAskedFormat(const std::string& AValue) {
    if (AValue.empty()) return;
    std::string format = AValue;
    if (format == "pgmyuv") {
        format = "image2";
        Fpgmyuv_compatibility_hack = 1;
        FFLogger().Log(this, llInfo, "pgmyuv format is deprecated, use image2");
    }
    Flast_asked_format = format;
}

void TCustomFFmpeg::SetFrameRate(const std::string& AValue) {
    if (AValue.empty()) return;
    if (av::av_parse_video_rate(&Fframe_rate, AValue.c_str()) < 0) Fail("Incorrect frame rate");
}

void TCustomFFmpeg::SetFrameSize(const std::string& AValue) {
    if (AValue.empty()) return;
    // The format catalogue writes sizes as "176*144".
    std::string size = AValue;
    if (size.find('x') == std::string::npos) std::replace(size.begin(), size.end(), '*', 'x');
    if (av::av_parse_video_size(&Fframe_width, &Fframe_height, size.c_str()) < 0)
        Fail("Incorrect frame size");
}

void TCustomFFmpeg::SetAspectRatio(const std::string& AValue) {
    if (AValue.empty()) return;
    double ratio = 0;
    const size_t colon = AValue.find(':');
    if (colon != std::string::npos) {
        const int x = os::StrToIntDef(AValue.substr(0, colon), 0);
        const int y = os::StrToIntDef(AValue.substr(colon + 1), 0);
        if (y > 0) ratio = static_cast<double>(x) / y;
    } else if (!os::TryStrToFloat(AValue, ratio)) {
        ratio = 0;
    }
    if (static_cast<float>(ratio) == 0) Fail("Incorrect aspect ratio specification.");
    Fframe_aspect_ratio = static_cast<float>(ratio);
}

void TCustomFFmpeg::SetPixelFormat(const std::string& AValue) {
    if (AValue == "list") {
        LogFormatList(
            this,
            [](char* buf, int size, int i) {
                av::av_get_pix_fmt_string(buf, size, static_cast<AVPixelFormat>(i));
            },
            AV_PIX_FMT_NB);
        return;
    }
    Fframe_pix_fmt = av::av_get_pix_fmt(AValue.c_str());
    if (Fframe_pix_fmt == AV_PIX_FMT_NONE)
        Fail(os::FormatC("Unknown pixel format requested: %s", AValue.c_str()));
    Fframe_pix_fmt_asked = true;
}

void TCustomFFmpeg::SetCropTop(int AValue) {
    SetCrop(this, AValue, Fframe_topBand, Fframe_height, true);
}

void TCustomFFmpeg::SetCropBottom(int AValue) {
    SetCrop(this, AValue, Fframe_bottomBand, Fframe_height, true);
}

void TCustomFFmpeg::SetCropLeft(int AValue) {
    SetCrop(this, AValue, Fframe_leftBand, Fframe_width, false);
}

void TCustomFFmpeg::SetCropRight(int AValue) {
    SetCrop(this, AValue, Fframe_rightBand, Fframe_width, false);
}

void TCustomFFmpeg::SetQScale(double AValue) {
    if (!(AValue > 0) || AValue > 255) Fail("qscale must be > 0.0 and <= 255");
    Fvideo_qscale = static_cast<float>(AValue);
}

void TCustomFFmpeg::SetRcOverride(const std::string& AValue) {
    Fvideo_rc_override_string = AValue;
}

void TCustomFFmpeg::SetMeThreshold(int AValue) {
    Fme_threshold = AValue;
}

void TCustomFFmpeg::SetTopFieldFirst(int AValue) {
    Ftop_field_first = AValue;
}

void TCustomFFmpeg::SetCodecChoice(int& AStreamCopy, std::string& ACodecName, const std::string& AValue) {
    ACodecName.clear();
    if (AValue == "copy")
        AStreamCopy = 1;
    else
        ACodecName = AValue;
}

void TCustomFFmpeg::SetVideoCodec(const std::string& AValue) {
    if (!AValue.empty()) SetCodecChoice(Fvideo_stream_copy, Fvideo_codec_name, AValue);
}

void TCustomFFmpeg::SetAudioCodec(const std::string& AValue) {
    if (!AValue.empty()) SetCodecChoice(Faudio_stream_copy, Faudio_codec_name, AValue);
}

void TCustomFFmpeg::SetSubtitleCodec(const std::string& AValue) {
    if (!AValue.empty()) SetCodecChoice(Fsubtitle_stream_copy, Fsubtitle_codec_name, AValue);
}

void TCustomFFmpeg::SetVideoTag(const std::string& AValue) {
    if (!AValue.empty()) Fvideo_codec_tag = TagValue(AValue, "video");
}

void TCustomFFmpeg::SetAudioTag(const std::string& AValue) {
    if (!AValue.empty()) Faudio_codec_tag = TagValue(AValue, "audio");
}

void TCustomFFmpeg::SetSubtitleTag(const std::string& AValue) {
    if (!AValue.empty()) Fsubtitle_codec_tag = TagValue(AValue, "subtitle");
}

void TCustomFFmpeg::SetVideoFilters(const std::string& AValue) {
    if (!AValue.empty()) Fvfilters = AValue;
}

std::vector<std::string> TCustomFFmpeg::SplitHookArguments(const std::string& AValue) {
    const char separator = AValue.find('|') != std::string::npos ? '|' : ' ';
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= AValue.size()) {
        size_t end = AValue.find(separator, start);
        if (end == std::string::npos) end = AValue.size();
        if (end > start) pieces.push_back(AValue.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

void TCustomFFmpeg::AddVideoHook(const std::string& AValue) {
    const std::vector<std::string> args = SplitHookArguments(AValue);
    // A hook's argument vector has 64 entries, the last one empty.
    if (args.size() > 63 || FrameHookAdd(args) != 0) Fail("Failed to add video hook function: " + AValue);
    Fusing_vhook = true;
}

void TCustomFFmpeg::SetBitRateOption(const std::string& AName, const std::string& AValue) {
    if (AName.empty() || AValue.empty()) return;
    if (!SetGenericOption(AName, AValue)) return;
    AVCodecContext* ctx = FOptions.avcodec_opts[AName[0] == 'a' ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO];
    int64_t bitrate = 0;
    if (ctx && av::av_opt_get_int(ctx, "b", 0, &bitrate) >= 0 && bitrate < 1000)
        FFLogger().Log(
            this, llWarning,
            "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
}

void TCustomFFmpeg::SetAudioRate(int AValue) {
    if (AValue > 0) Faudio_sample_rate = AValue;
}

void TCustomFFmpeg::SetAudioChannels(int AValue) {
    if (AValue > 0) Faudio_channels = AValue;
}

void TCustomFFmpeg::SetSampleFormat(const std::string& AValue) {
    if (AValue == "list") {
        LogFormatList(
            this,
            [](char* buf, int size, int i) {
                av::av_get_sample_fmt_string(buf, size, static_cast<AVSampleFormat>(i));
            },
            AV_SAMPLE_FMT_NB);
        return;
    }
    Faudio_sample_fmt = av::av_get_sample_fmt(AValue.c_str());
}

void TCustomFFmpeg::SetVideoChannel(int AValue) {
    Fvideo_channel = AValue;
}

void TCustomFFmpeg::SetVideoStandard(const std::string& AValue) {
    Fvideo_standard = AValue;
}

void TCustomFFmpeg::SetVerbose(int AValue) {
    Fverbose = AValue;
}

void TCustomFFmpeg::AddStreamMap(const std::string& AValue) {
    if (Fnb_stream_maps >= FMaxFiles * MAX_STREAMS) Fail("Too many stream maps");
    if (Fstream_maps.size() <= static_cast<size_t>(Fnb_stream_maps))
        Fstream_maps.resize(static_cast<size_t>(Fnb_stream_maps) + 1);
    TAVStreamMap& m = Fstream_maps[static_cast<size_t>(Fnb_stream_maps)];
    const char* p = AValue.c_str();
    m.file_index = ReadInt(p);
    SkipOne(p);
    m.stream_index = ReadInt(p);
    if (*p) {
        ++p;
        m.sync_file_index = ReadInt(p);
        SkipOne(p);
        m.sync_stream_index = ReadInt(p);
    } else {
        m.sync_file_index = m.file_index;
        m.sync_stream_index = m.stream_index;
    }
    ++Fnb_stream_maps;
}

void TCustomFFmpeg::AddMetaDataMap(const std::string& AValue) {
    if (Fnb_meta_data_maps >= FMaxFiles) Fail("Too many metadata maps");
    if (Fmeta_data_maps.size() <= static_cast<size_t>(Fnb_meta_data_maps))
        Fmeta_data_maps.resize(static_cast<size_t>(Fnb_meta_data_maps) + 1);
    TAVMetaDataMap& m = Fmeta_data_maps[static_cast<size_t>(Fnb_meta_data_maps)];
    const char* p = AValue.c_str();
    m.out_file = ReadInt(p);
    SkipOne(p);
    m.in_file = ReadInt(p);
    ++Fnb_meta_data_maps;
}

void TCustomFFmpeg::AddMetadataOption(const std::string& AValue) {
    const size_t eq = AValue.find('=');
    if (eq == std::string::npos) Fail("Missing =");
    AddMetadataTag(AValue.substr(0, eq), AValue.substr(eq + 1));
}

void TCustomFFmpeg::AddMetadataTag(const std::string& AKey, const std::string& AValue) {
    Fmetadata.push_back({AKey, AValue});
}

void TCustomFFmpeg::SetInputTsScale(const std::string& AValue) {
    const char* p = AValue.c_str();
    const int stream = ReadInt(p);
    SkipOne(p);
    const double scale = ReadDouble(p);
    if (stream < 0 || stream >= MAX_STREAMS)
        Fail(os::FormatC("stream index over MAX_STREAMS(%d)", MAX_STREAMS));
    if (Fnb_input_files >= FMaxFiles) Fail("Too many input files");
    if (Finput_files_ts_scale.size() <= static_cast<size_t>(Fnb_input_files))
        Finput_files_ts_scale.resize(static_cast<size_t>(Fnb_input_files) + 1);
    Finput_files_ts_scale[static_cast<size_t>(Fnb_input_files)][static_cast<size_t>(stream)] = scale;
}

int64_t TCustomFFmpeg::ParseTimeOrFail(const std::string& AName, const std::string& AValue,
                                       bool AIsDuration) {
    int64_t t = 0;
    if (av::av_parse_time(&t, AValue.c_str(), AIsDuration ? 1 : 0) < 0)
        Fail(os::FormatC("Invalid %s specification for %s: %s", AIsDuration ? "duration" : "date",
                         AName.c_str(), AValue.c_str()));
    return t;
}

void TCustomFFmpeg::SetRecordingTimeOption(const std::string& AName, const std::string& AValue) {
    SetRecordingTime(ParseTimeOrFail(AName, AValue, true));
}

void TCustomFFmpeg::SetRecordingTime(int64_t AValue) {
    if (AValue == NoTime) return;
    Frecording_time = AValue;
    FTotalOutputDuration = AValue;
}

void TCustomFFmpeg::SetStartTime(const std::string& AName, const std::string& AValue) {
    Fstart_time = ParseTimeOrFail(AName, AValue, true);
}

void TCustomFFmpeg::SetInputTsOffset(const std::string& AName, const std::string& AValue) {
    Finput_ts_offset = ParseTimeOrFail(AName, AValue, true);
}

void TCustomFFmpeg::SetRecordingTimestamp(const std::string& AName, const std::string& AValue) {
    // Whole seconds, halves to even (the default rounding mode).
    Frecording_timestamp = static_cast<int64_t>(
        std::nearbyint(static_cast<double>(ParseTimeOrFail(AName, AValue, false)) / 1e6));
}

} // namespace media
