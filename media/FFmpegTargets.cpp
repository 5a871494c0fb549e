// Targets (standard disc and camcorder formats for a television norm) and
// encoder presets (named lists of encoder options).
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

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
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
    auto generic = [this](const char* name, const char* value) { SetGenericOption(name, value); };
    auto assumeAspect = [this](const char* aspect) {
        if (Fframe_aspect_ratio != 0) return;
        FFLogger().Log(this, llInfo, "Assuming %s for aspect ratio", aspect);
        SetAspectRatio(aspect);
    };

    if (ATarget == "vcd") {
        SetVideoCodec("mpeg1video");
        SetAudioCodec("mp2");
        SetAskedFormat("vcd");
        SetFrameSize(pal ? "352x288" : "352x240");
        SetFrameRate(kFrameRates[norm]);
        generic("g", pal ? "15" : "18");
        generic("b", "1150000");
        generic("maxrate", "1150000");
        generic("minrate", "1150000");
        generic("bufsize", "327680");
        generic("ab", "224000");
        Faudio_sample_rate = 44100;
        Faudio_channels = 2;
        generic("packetsize", "2324");
        generic("muxrate", "1411200");
        Fmux_preload = 0.44f;
        assumeAspect("4:3");
    } else if (ATarget == "svcd") {
        SetVideoCodec("mpeg2video");
        SetAudioCodec("mp2");
        SetAskedFormat("svcd");
        SetFrameSize(pal ? "480x576" : "480x480");
        SetFrameRate(kFrameRates[norm]);
        generic("g", pal ? "15" : "18");
        generic("b", "2040000");
        generic("maxrate", "2516000");
        generic("minrate", "0");
        generic("bufsize", "1835008");
        // The scan offset flag is the MPEG-2 encoder's own option now.
        generic("scan_offset", "1");
        generic("ab", "224000");
        Faudio_sample_rate = 44100;
        generic("packetsize", "2324");
        if (Faudio_channels == 1) Faudio_channels = 2;
        assumeAspect("4:3");
    } else if (ATarget == "dvd") {
        SetVideoCodec("mpeg2video");
        SetAudioCodec("ac3");
        SetAskedFormat("dvd");
        SetFrameSize(pal ? "720x576" : "720x480");
        SetFrameRate(kFrameRates[norm]);
        generic("g", pal ? "15" : "18");
        generic("b", "6000000");
        generic("maxrate", "9000000");
        generic("minrate", "0");
        generic("bufsize", "1835008");
        generic("packetsize", "2048");
        generic("muxrate", "10080000");
        generic("ab", "448000");
        Faudio_sample_rate = 48000;
        if (Faudio_channels == 1) Faudio_channels = 2;
        assumeAspect("16:9");
    } else if (ATarget == "dv" || ATarget == "dv50") {
        SetAskedFormat("dv");
        SetFrameSize(pal ? "720x576" : "720x480");
        SetPixelFormat(ATarget == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
        SetFrameRate(kFrameRates[norm]);
        Faudio_sample_rate = 48000;
        Faudio_channels = 2;
    } else {
        throw FFmpegException("Unknown target type");
    }
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
