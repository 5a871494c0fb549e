// Targets (standard disc and camcorder formats for a television norm) and
// encoder presets (named lists of encoder options).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegEngine.h"
#include "media/X264Presets.h"
#include "os/Convert.h"
#include "os/Paths.h"

namespace media {
namespace {

enum TNorm { PAL, NTSC, FILM };

const char* const kFrameRates[] = {"25", "30000/1001", "24000/1001"};

// The norm a frame rate stands for, or -1.
int NormOfRate(AVRational rate) {
    if (rate.den == 0) return -1;
    const double fr = std::nearbyint(static_cast<double>(rate.num) * 1000 / rate.den);
    if (fr == 25000) return PAL;
    if (fr == 29970 || fr == 23976) return NTSC;
    return -1;
}

// The disc targets; the pairs go to the generic option setter.
struct TDiscTarget {
    const char* Name; // also the container
    const char* VideoCodec;
    const char* AudioCodec;
    const char* Size[2]; // PAL; NTSC and film
    std::pair<const char*, const char*> Generic[8];
    int SampleRate;
    bool AlwaysStereo;  // otherwise only mono becomes stereo
    float MuxPreload;   // 0: unchanged
    const char* Aspect; // when none is set
};

// clang-format off
const TDiscTarget kDiscTargets[] = {
    {"vcd", "mpeg1video", "mp2", {"352x288", "352x240"},
     {{"b", "1150000"}, {"maxrate", "1150000"}, {"minrate", "1150000"}, {"bufsize", "327680"}, {"ab", "224000"},
      {"packetsize", "2324"}, {"muxrate", "1411200"}},
     44100, true, 0.44f, "4:3"},
    // The scan offset flag is the MPEG-2 encoder's own option now.
    {"svcd", "mpeg2video", "mp2", {"480x576", "480x480"},
     {{"b", "2040000"}, {"maxrate", "2516000"}, {"minrate", "0"}, {"bufsize", "1835008"}, {"scan_offset", "1"},
      {"ab", "224000"}, {"packetsize", "2324"}},
     44100, false, 0, "4:3"},
    {"dvd", "mpeg2video", "ac3", {"720x576", "720x480"},
     {{"b", "6000000"}, {"maxrate", "9000000"}, {"minrate", "0"}, {"bufsize", "1835008"}, {"packetsize", "2048"},
      {"muxrate", "10080000"}, {"ab", "448000"}},
     48000, false, 0, "16:9"},
};
// clang-format on

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// The rate settings as the video option context holds them.
const char* const kRateOptions[] = {"b", "maxrate", "minrate", "bufsize"};

int64_t* RateField(TTargetRate& ARate, int AIndex) {
    int64_t* const fields[] = {&ARate.BitRate, &ARate.MaxRate, &ARate.MinRate, &ARate.BufSize};
    return fields[AIndex];
}

TTargetRate ReadRate(AVCodecContext* AContext) {
    TTargetRate rate;
    for (int i = 0; AContext && i < 4; ++i)
        if (av::av_opt_get_int(AContext, kRateOptions[i], 0, RateField(rate, i)) < 0) return TTargetRate{};
    return rate;
}

} // namespace

void TCustomFFmpeg::ApplyTarget(const std::string& ATarget, const std::string& ANorm,
                                const std::string& AFallbackNorm) {
    int norm;
    if (ANorm == "pal") {
        norm = PAL;
    } else if (ANorm == "ntsc") {
        norm = NTSC;
    } else if (ANorm == "film") {
        norm = FILM;
    } else {
        if (Fframe_rate.den == 0) throw FFmpegException("frame_rate is invalid.");
        norm = NormOfRate(Fframe_rate);
        for (int i = 0; norm < 0 && i < Fnb_input_files; ++i) {
            const AVFormatContext* ic = Finput_files[static_cast<size_t>(i)];
            for (unsigned j = 0; norm < 0 && ic && j < ic->nb_streams; ++j) {
                const AVStream* st = ic->streams[j];
                // The stream's own frame rate stands for the old decoder time base.
                if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) norm = NormOfRate(st->r_frame_rate);
            }
        }
        if (norm < 0) norm = AFallbackNorm == "film" ? FILM : AFallbackNorm == "ntsc" ? NTSC : PAL;
        if (Fverbose > 0)
            FFLogger().Log(this, llVerbose, "Assuming %s for target.", norm == PAL ? "PAL" : "NTSC");
    }
    const bool pal = norm == PAL;
    Ftarget_rate = TTargetRate{};
    if (ATarget == "dv" || ATarget == "dv50") {
        // The codecs are the container's own.
        SetAskedFormat("dv");
        SetFrameSize(pal ? "720x576" : "720x480");
        SetPixelFormat(ATarget == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
        SetFrameRate(kFrameRates[norm]);
        Faudio_sample_rate = 48000;
        Faudio_channels = 2;
        return;
    }
    auto target = std::find_if(std::begin(kDiscTargets), std::end(kDiscTargets),
                               [&](const TDiscTarget& t) { return ATarget == t.Name; });
    if (target == std::end(kDiscTargets)) throw FFmpegException("Unknown target type");
    SetVideoCodec(target->VideoCodec);
    SetAudioCodec(target->AudioCodec);
    SetAskedFormat(target->Name);
    SetFrameSize(target->Size[pal ? 0 : 1]);
    SetFrameRate(kFrameRates[norm]);
    SetGenericOption("g", pal ? "15" : "18");
    // Refusals are ignored: a library without an option still gets the rest.
    for (const auto& [key, value] : target->Generic)
        if (key) SetGenericOption(key, value);
    Ftarget_rate = ReadRate(FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO]);
    Faudio_sample_rate = target->SampleRate;
    if (target->AlwaysStereo || Faudio_channels == 1) Faudio_channels = 2;
    if (target->MuxPreload > 0) Fmux_preload = target->MuxPreload;
    if (Fframe_aspect_ratio == 0) {
        FFLogger().Log(this, llInfo, "Assuming %s for aspect ratio", target->Aspect);
        SetAspectRatio(target->Aspect);
    }
}

void TCustomFFmpeg::FollowTargetRate() {
    AVCodecContext* video = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    TTargetRate now = ReadRate(video);
    TTargetRate& target = Ftarget_rate;
    if (target.BitRate <= 0 || now.BitRate <= 0 || now.BitRate == target.BitRate) return;
    const double scale = static_cast<double>(now.BitRate) / static_cast<double>(target.BitRate);
    for (int i = 1; i < 4; ++i) {
        int64_t& value = *RateField(target, i);
        if (*RateField(now, i) != value) continue;
        value = std::llround(static_cast<double>(value) * scale);
        av::av_opt_set_int(video, kRateOptions[i], value, 0);
    }
    target.BitRate = now.BitRate;
}

void TCustomFFmpeg::SetTargetOption(const std::string& AValue) {
    std::string target = os::Trim(AValue);
    std::string norm = "auto";
    for (const char* prefix : {"pal-", "ntsc-", "film-"})
        if (StartsWith(target, prefix)) {
            norm = std::string(prefix, std::strlen(prefix) - 1);
            target.erase(0, std::strlen(prefix));
            break;
        }
    ApplyTarget(target, norm, "ntsc");
}

std::string TCustomFFmpeg::FindBuiltinPreset(const std::string& AName) {
    for (const TOptionsPreset& p : BuiltinPresets())
        if (os::SameText(p.Name, AName)) return p.Value;
    return {};
}

void TCustomFFmpeg::ApplyPreset(const std::string& AKind, const std::string& AName) {
    if (AKind.empty() || AName.empty()) return;
    std::string name = AName;
    std::string text;
    if (AKind[0] != 'f') {
        text = FindBuiltinPreset(name);
        if (text.empty()) {
            const std::string& codec = AKind[0] == 'v' && !Fvideo_codec_name.empty()   ? Fvideo_codec_name
                                       : AKind[0] == 'a' && !Faudio_codec_name.empty() ? Faudio_codec_name
                                                                                       : Fsubtitle_codec_name;
            if (!codec.empty()) {
                name = codec + "-" + AName;
                text = FindBuiltinPreset(name);
            }
        }
    }
    if (text.empty()) {
        if (!os::FileExists(AName))
            throw FFmpegException(os::FormatC("Preset \"%s\" not found", AName.c_str()));
        std::ifstream file(AName, std::ios::binary);
        std::ostringstream contents;
        contents << file.rdbuf();
        text = contents.str();
    }
    text = os::Trim(text);
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines += '\n';
        } else {
            lines += text[i];
        }
    }
    std::istringstream in(lines);
    std::string raw;
    while (std::getline(in, raw)) {
        const std::string line = os::Trim(raw);
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        const std::string key = eq == std::string::npos ? line : line.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        if (key.empty() || value.empty())
            throw FFmpegException(os::FormatC("%s: Invalid syntax: \"%s\"", name.c_str(), line.c_str()));
        if (os::SameText(key, "acodec"))
            SetAudioCodec(value);
        else if (os::SameText(key, "vcodec"))
            SetVideoCodec(value);
        else if (os::SameText(key, "scodec"))
            SetSubtitleCodec(value);
        else if (!SetGenericOption(key, value))
            throw FFmpegException(
                os::FormatC("%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"", name.c_str(),
                            line.c_str(), key.c_str(), value.c_str()));
    }
}

} // namespace media
