#include "media/FFmpegRequest.h"

#include <cmath>
#include <ctime>

#include "media/FFmpegEngine.h"
#include "os/Convert.h"

namespace media {
namespace {

bool IsOneOf(const std::string& key, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (key == n) return true;
    return false;
}

// A decimal 64-bit integer, or NoTime.
int64_t TimeValue(const std::string& text) {
    int64_t v = 0;
    return os::TryStrToInt64(text, v) ? v : NoTime;
}

void AppendLine(std::string& options, const TOptionLine& line) {
    options += line.Key + "=" + line.Value + "\n";
}

void SetIntOption(TCustomFFmpeg& e, const char* name, int32_t value) {
    if (value > 0) e.SetGenericIntOption(name, value);
}

} // namespace

void SetInputOptionsDefaults(TInputOptions& AOptions) {
    AOptions = TInputOptions{};
}

void SetOutputOptionsDefaults(TOutputOptions& AOptions) {
    AOptions = TOutputOptions{};
}

std::vector<TOptionLine> ParseOptionString(const std::string& AOptions) {
    size_t first = 0, last = AOptions.size();
    while (first < last && static_cast<unsigned char>(AOptions[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(AOptions[last - 1]) <= 32) --last;
    std::string text;
    text.reserve(last - first);
    for (size_t i = first; i < last; ++i) {
        if (AOptions[i] == '\r') {
            text += '\n';
            if (i + 1 < last && AOptions[i + 1] == '\n') ++i;
        } else if (AOptions.compare(i, 6, "<CRLF>") == 0 && i + 6 <= last) {
            text += '\n';
            i += 5;
        } else {
            text += AOptions[i];
        }
    }
    std::vector<TOptionLine> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(pos, end - pos);
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            lines.push_back({line, std::string()});
        else
            lines.push_back({line.substr(0, eq), line.substr(eq + 1)});
        pos = end + 1;
    }
    return lines;
}

void ApplyOptionString(TCustomFFmpeg& AEngine, const std::string& AOptions, bool AInputMode) {
    for (const TOptionLine& line : ParseOptionString(AOptions)) {
        const std::string key = os::LowerCase(line.Key);
        if (IsOneOf(key, {"newvideo", "newaudio", "newsubtitle", "apre", "vpre", "spre", "vfilters", "vf"}))
            continue;
        // Outputs take their codecs and size per stream.
        if (!AInputMode && IsOneOf(key, {"acodec", "vcodec", "scodec", "s"})) continue;
        // An empty line says nothing.
        if (key.empty() && line.Value.empty()) continue;
        // Keys are taken in lower case everywhere: "VN=1" is "vn=1", as
        // "S=160x120" is "s=160x120".
        AEngine.SetOption(key, line.Value);
    }
}

TInputOptions InputOptionsFromString(const std::string& AOptions) {
    TInputOptions options;
    SetInputOptionsDefaults(options);
    for (const TOptionLine& line : ParseOptionString(AOptions)) {
        if (os::SameText(line.Key, "TimeStart"))
            options.TimeStart = TimeValue(line.Value);
        else
            AppendLine(options.ExtOptions, line);
    }
    return options;
}

TOutputOptions OutputOptionsFromString(const std::string& AOptions) {
    TOutputOptions options;
    SetOutputOptionsDefaults(options);
    for (const TOptionLine& line : ParseOptionString(AOptions)) {
        if (os::SameText(line.Key, "Hook") || os::SameText(line.Key, "CustomHook"))
            options.CustomHook = true;
        else if (os::SameText(line.Key, "Join"))
            options.Join = true;
        else if (os::SameText(line.Key, "TimeStart"))
            options.TimeStart = TimeValue(line.Value);
        else if (os::SameText(line.Key, "TimeLength"))
            options.TimeLength = TimeValue(line.Value);
        else
            AppendLine(options.ExtOptions, line);
    }
    return options;
}

void ApplyInputRequest(TCustomFFmpeg& AEngine, const TInputOptions& AOptions) {
    ApplyOptionString(AEngine, AOptions.ExtOptions, true);
    AEngine.SetAskedFormat(AOptions.FileFormat);
    AEngine.SetStartTimeValue(AOptions.TimeStart);
    AEngine.SetProgramId(AOptions.ProgramID);
}

std::string TStreamDefaults::Default(const std::string& AName) const {
    auto it = Defaults.find(AName);
    return it == Defaults.end() ? std::string() : it->second;
}

TStreamDefaults BuildStreamDefaults(const TOutputOptions& AOptions) {
    TStreamDefaults d;
    const std::pair<const char*, const std::string*> fields[] = {
        {"def_acodec", &AOptions.AudioCodec    },
        {"def_vcodec", &AOptions.VideoCodec    },
        {"def_scodec", &AOptions.SubtitleCodec },
        {"def_apre",   &AOptions.AudioPreset   },
        {"def_vpre",   &AOptions.VideoPreset   },
        {"def_spre",   &AOptions.SubtitlePreset},
        {"def_s",      &AOptions.FrameSize     },
        {"def_vf",     &AOptions.VideoFilters  },
    };
    for (const auto& [name, value] : fields)
        if (!value->empty()) d.Defaults[name] = *value;
    for (const TOptionLine& line : ParseOptionString(AOptions.ExtOptions)) {
        const std::string key = os::LowerCase(line.Key);
        if (line.Value.empty() ||
            !IsOneOf(key, {"acodec", "vcodec", "scodec", "apre", "vpre", "spre", "s", "vf", "vfilters"}))
            continue;
        const std::string name = "def_" + std::string(key == "vfilters" ? "vf" : key);
        d.Defaults.emplace(name, line.Value); // the first line counts
        d.Queue.push_back({key, line.Value});
    }
    return d;
}

int64_t DateTimeToUnix(TDateTime AValue) {
    ::tzset();
    // timezone: seconds west of UTC in standard time, the bias without the
    // daylight-saving part.
    const double biasMinutes = static_cast<double>(::timezone) / 60.0;
    return static_cast<int64_t>(std::nearbyint((AValue - 25569.0 + biasMinutes / 1440.0) * 86400.0));
}

void ApplyOutputRequest(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions,
                        const TStreamDefaults& ADefaults) {
    TCustomFFmpeg& e = AEngine;
    const TOutputOptions& o = AOptions;
    if (o.TargetType == ttVCD || o.TargetType == ttSVCD || o.TargetType == ttDVD) {
        const char* target = o.TargetType == ttVCD ? "vcd" : o.TargetType == ttSVCD ? "svcd" : "dvd";
        const char* norm = o.NormType == ntPAL ? "pal" : o.NormType == ntNTSC ? "ntsc" : "auto";
        e.ApplyTarget(target, norm, o.NormDefault == ntPAL ? "pal" : "ntsc");
    }
    e.SetAudioCodec(ADefaults.Default("def_acodec"));
    e.SetVideoCodec(ADefaults.Default("def_vcodec"));
    e.SetSubtitleCodec(ADefaults.Default("def_scodec"));
    e.ApplyPreset("apre", ADefaults.Default("def_apre"));
    e.ApplyPreset("vpre", ADefaults.Default("def_vpre"));
    e.ApplyPreset("spre", ADefaults.Default("def_spre"));
    ApplyOptionString(e, o.ExtOptions, false);

    // The record's fields come after the option lines, so a field that is
    // set wins over a line for the same setting.
    e.SetAskedFormat(o.FileFormat);
    SetIntOption(e, "packetsize", o.PacketSize);
    SetIntOption(e, "muxrate", o.MuxRate);
    e.SetMuxMaxDelay(o.MuxDelay);
    e.SetMuxPreload(o.MuxPreload);
    if (o.DisableAudio) e.Faudio_disable = true;
    e.SetAudioVolume(o.AudioVolume);
    e.SetAudioChannels(o.AudioChannels);
    e.SetAudioRate(o.AudioSampleRate);
    SetIntOption(e, "ab", o.AudioBitrate);
    SetIntOption(e, "abt", o.AudioBitRateTolerance);
    e.Faudio_language = o.AudioLanguage;
    e.SetAudioSyncMethod(o.AudioSyncMethod);
    e.SetAudioTag(o.AudioTag);
    if (o.DisableVideo) e.Fvideo_disable = true;
    e.SetFrameRate(o.FrameRate);
    e.SetAspectRatio(o.FrameAspectRatio);
    e.SetCropTop(o.CropTop);
    e.SetCropBottom(o.CropBottom);
    e.SetCropLeft(o.CropLeft);
    e.SetCropRight(o.CropRight);
    SetIntOption(e, "g", o.GroupPictureSize);
    SetIntOption(e, "vb", o.VideoBitrate);
    SetIntOption(e, "maxrate", o.VideoMaxRate);
    SetIntOption(e, "minrate", o.VideoMinRate);
    SetIntOption(e, "bt", o.VideoBitRateTolerance);
    SetIntOption(e, "bufsize", o.VideoBufSize);
    e.SetVideoSyncMethod(o.VideoSyncMethod);
    e.SetVideoTag(o.VideoTag);
    e.Fvideo_language = o.VideoLanguage;
    if (o.DisableSubtitle) e.Fsubtitle_disable = true;
    e.Fsubtitle_language = o.SubtitleLanguage;
    e.Finput_sync = o.InputSync;
    if (o.CopyTimestamp) e.Fcopy_ts = true;
    e.SetStartTimeValue(o.TimeStart);
    e.SetRecordingTime(o.TimeLength);
    // "Now" is taken as it is: converting the local clock back with the
    // standard-time bias would be an hour off in summer.
    if (o.Info.TimeStamp == 0)
        e.Frecording_timestamp = static_cast<int64_t>(std::time(nullptr));
    else if (o.Info.TimeStamp > 0)
        e.Frecording_timestamp = DateTimeToUnix(o.Info.TimeStamp);
    const TStreamInfo& info = o.Info;
    if (info.Year > 0) e.AddMetadataTag("year", std::to_string(info.Year));
    if (info.Track > 0) e.AddMetadataTag("track", std::to_string(info.Track));
    const std::pair<const char*, const std::string*> texts[] = {
        {"title",     &info.Title    },
        {"author",    &info.Author   },
        {"copyright", &info.Copyright},
        {"comment",   &info.Comment  },
        {"album",     &info.Album    },
        {"genre",     &info.Genre    },
    };
    for (const auto& [key, value] : texts)
        if (!value->empty()) e.AddMetadataTag(key, *value);

    e.SetFrameSize(ADefaults.Default("def_s"));
    e.SetVideoFilters(ADefaults.Default("def_vf"));
}

void ApplyStreamKeys(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions, TStreamDefaults& ADefaults) {
    // The next queued line of the name, or its default.
    auto take = [&](const std::string& name) {
        for (auto it = ADefaults.Queue.begin(); it != ADefaults.Queue.end(); ++it)
            if (it->Key == name) {
                const std::string value = it->Value;
                ADefaults.Queue.erase(it);
                AEngine.SetOption(name, value);
                return;
            }
        AEngine.SetOption(name, ADefaults.Default("def_" + name));
    };
    for (const TOptionLine& line : ParseOptionString(AOptions.ExtOptions)) {
        const std::string key = os::LowerCase(line.Key);
        if (key == "newaudio") {
            take("acodec");
            take("apre");
        } else if (key == "newvideo") {
            take("vcodec");
            take("vpre");
            take("s");
            take("vf");
        } else if (key == "newsubtitle") {
            take("scodec");
            take("spre");
        } else {
            continue;
        }
        AEngine.SetOption(key, line.Value);
    }
}

} // namespace media
