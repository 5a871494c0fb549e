// The option dispatcher: the 114 option names of the command-line transcoder
// and what each does to the engine; any other name goes to the generic codec,
// format and scaler option setter.
#include <cstring>
#include <ctime>
#include <functional>
#include <unordered_map>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegEngine.h"
#include "media/X264Presets.h"
#include "os/Convert.h"
#include "os/Paths.h"

namespace media {
namespace {

using TOptionAction =
    std::function<void(TCustomFFmpeg& e, const std::string& name, const std::string& value)>;

struct TOptionRow {
    const char* Name;
    TOptionAction Action;
};

using S = TFFmpegSettings;
using E = TCustomFFmpeg;

// A flag is on for any value except exactly "0".
TOptionAction Flag(bool S::*field) {
    return [field](E& e, const std::string&, const std::string& v) { e.*field = v != "0"; };
}
TOptionAction Set(bool S::*field) {
    return [field](E& e, const std::string&, const std::string&) { e.*field = true; };
}
TOptionAction Int(int S::*field) {
    return [field](E& e, const std::string&, const std::string& v) { e.*field = os::StrToInt(v); };
}
TOptionAction MaxFrames(AVMediaType type) {
    return [type](E& e, const std::string&, const std::string& v) { e.Fmax_frames[type] = os::StrToInt(v); };
}
TOptionAction Int64(int64_t S::*field) {
    return [field](E& e, const std::string&, const std::string& v) { e.*field = os::StrToInt64(v); };
}
TOptionAction Float(float S::*field) {
    return [field](E& e, const std::string&, const std::string& v) {
        e.*field = static_cast<float>(os::StrToFloat(v));
    };
}
TOptionAction Text(std::string S::*field) {
    return [field](E& e, const std::string&, const std::string& v) { e.*field = v; };
}
TOptionAction Call(void (E::*handler)(const std::string&)) {
    return [handler](E& e, const std::string&, const std::string& v) { (e.*handler)(v); };
}
TOptionAction CallNamed(void (E::*handler)(const std::string&, const std::string&)) {
    return [handler](E& e, const std::string& n, const std::string& v) { (e.*handler)(n, v); };
}
TOptionAction CallInt(void (E::*handler)(int)) {
    return [handler](E& e, const std::string&, const std::string& v) { (e.*handler)(os::StrToInt(v)); };
}
TOptionAction CallFloat(void (E::*handler)(double)) {
    return [handler](E& e, const std::string&, const std::string& v) { (e.*handler)(os::StrToFloat(v)); };
}
TOptionAction Nothing() {
    return [](E& e, const std::string& n, const std::string&) {
        FFLogger().Log(&e, llInfo, "Do nothing: option - " + n);
    };
}
TOptionAction Raise(const char* text) {
    return [text](E&, const std::string&, const std::string&) { throw FFmpegException(text); };
}

// clang-format off
const std::vector<TOptionRow>& OptionTable() {
    static const std::vector<TOptionRow> rows = {
        {"L", Nothing()}, {"h", Nothing()}, {"version", Nothing()}, {"formats", Nothing()},
        {"codecs", Nothing()}, {"bsfs", Nothing()}, {"protocols", Nothing()}, {"filters", Nothing()},
        {"i", Nothing()}, {"y", Nothing()}, {"benchmark", Nothing()},
        {"threads", [](E&, const std::string& n, const std::string&) { throw FFmpegException("TODO: option - " + n); }},
        {"padtop", Raise("Please use vfilters=pad")}, {"padbottom", Raise("Please use vfilters=pad")},
        {"padleft", Raise("Please use vfilters=pad")}, {"padright", Raise("Please use vfilters=pad")},
        {"padcolor", Raise("Please use vfilters=pad")},
        {"timelimit", [](E& e, const std::string&, const std::string&) {
             FFLogger().Log(&e, llWarning, "Warning: -timelimit not implemented on Windows");
         }},
        {"loglevel", [](E&, const std::string&, const std::string& v) { FFLogger().OptLogLevel(v); }},
        {"dump", Flag(&S::Fdo_pkt_dump)}, {"hex", Flag(&S::Fdo_hex_dump)}, {"re", Flag(&S::Frate_emu)},
        {"loop_input", Flag(&S::Floop_input)}, {"shortest", Flag(&S::Fopt_shortest)},
        {"intra", Flag(&S::Fintra_only)}, {"vn", Flag(&S::Fvideo_disable)}, {"sameq", Flag(&S::Fsame_quality)},
        {"deinterlace", Flag(&S::Fdo_deinterlace)}, {"psnr", Flag(&S::Fdo_psnr)}, {"qphist", Flag(&S::Fqp_hist)},
        {"force_fps", Flag(&S::Fforce_fps)}, {"an", Flag(&S::Faudio_disable)}, {"sn", Flag(&S::Fsubtitle_disable)},
        {"isync", Flag(&S::Finput_sync)},
        {"copyts", Set(&S::Fcopy_ts)}, {"xerror", Set(&S::Fexit_on_error)},
        {"loop_output", Int(&S::Floop_output)}, {"vsync", Int(&S::Fvideo_sync_method)},
        {"async", Int(&S::Faudio_sync_method)}, {"vglobal", Int(&S::Fvideo_global_header)},
        {"programid", Int(&S::Fopt_programid)}, {"copyinkf", Int(&S::Fcopy_initial_nonkeyframes)},
        {"vdt", Int(&S::Fvideo_discard)}, {"dc", Int(&S::Fintra_dc_precision)}, {"vol", Int(&S::Faudio_volume)},
        {"vframes", MaxFrames(AVMEDIA_TYPE_VIDEO)}, {"aframes", MaxFrames(AVMEDIA_TYPE_AUDIO)},
        {"dframes", MaxFrames(AVMEDIA_TYPE_DATA)},
        {"fs", Int64(&S::Flimit_filesize)},
        {"adrift_threshold", Float(&S::Faudio_drift_threshold)}, {"dts_delta_threshold", Float(&S::Fdts_delta_threshold)},
        {"aq", Float(&S::Faudio_qscale)}, {"muxdelay", Float(&S::Fmux_max_delay)}, {"muxpreload", Float(&S::Fmux_preload)},
        {"vlang", Text(&S::Fvideo_language)}, {"alang", Text(&S::Faudio_language)}, {"slang", Text(&S::Fsubtitle_language)},
        {"passlogfile", Text(&S::Fpass_logfilename_prefix)},
        {"f", Call(&E::SetAskedFormat)}, {"map", Call(&E::AddStreamMap)}, {"map_meta_data", Call(&E::AddMetaDataMap)},
        {"t", CallNamed(&E::SetRecordingTimeOption)}, {"ss", CallNamed(&E::SetStartTime)},
        {"itsoffset", CallNamed(&E::SetInputTsOffset)}, {"itsscale", Call(&E::SetInputTsScale)},
        {"timestamp", CallNamed(&E::SetRecordingTimestamp)}, {"metadata", Call(&E::AddMetadataOption)},
        {"r", Call(&E::SetFrameRate)}, {"s", Call(&E::SetFrameSize)}, {"aspect", Call(&E::SetAspectRatio)},
        {"pix_fmt", Call(&E::SetPixelFormat)}, {"rc_override", Call(&E::SetRcOverride)},
        {"vcodec", Call(&E::SetVideoCodec)}, {"acodec", Call(&E::SetAudioCodec)}, {"scodec", Call(&E::SetSubtitleCodec)},
        {"vhook", Call(&E::AddVideoHook)}, {"vfilters", Call(&E::SetVideoFilters)}, {"vf", Call(&E::SetVideoFilters)},
        {"vtag", Call(&E::SetVideoTag)}, {"atag", Call(&E::SetAudioTag)}, {"stag", Call(&E::SetSubtitleTag)},
        {"sample_fmt", Call(&E::SetSampleFormat)}, {"tvstd", Call(&E::SetVideoStandard)},
        {"b", CallNamed(&E::SetBitRateOption)}, {"vb", CallNamed(&E::SetBitRateOption)},
        {"ab", CallNamed(&E::SetBitRateOption)},
        {"v", CallInt(&E::SetVerbose)}, {"croptop", CallInt(&E::SetCropTop)}, {"cropbottom", CallInt(&E::SetCropBottom)},
        {"cropleft", CallInt(&E::SetCropLeft)}, {"cropright", CallInt(&E::SetCropRight)},
        {"me_threshold", CallInt(&E::SetMeThreshold)}, {"top", CallInt(&E::SetTopFieldFirst)},
        {"ar", CallInt(&E::SetAudioRate)}, {"ac", CallInt(&E::SetAudioChannels)}, {"vc", CallInt(&E::SetVideoChannel)},
        {"qscale", CallFloat(&E::SetQScale)},
        {"newvideo", [](E& e, const std::string& n, const std::string&) { e.NewStreamOption(n); }},
        {"newaudio", [](E& e, const std::string& n, const std::string&) { e.NewStreamOption(n); }},
        {"newsubtitle", [](E& e, const std::string& n, const std::string&) { e.NewStreamOption(n); }},
        {"streamid", CallNamed(&E::SetStreamId)},
        {"target", Call(&E::SetTargetOption)},
        {"apre", CallNamed(&E::ApplyPreset)}, {"vpre", CallNamed(&E::ApplyPreset)},
        {"spre", CallNamed(&E::ApplyPreset)}, {"fpre", CallNamed(&E::ApplyPreset)},
        {"pass", [](E& e, const std::string&, const std::string& v) { e.SetPass(v); }},
        {"intra_matrix", CallNamed(&E::SetMatrix)}, {"inter_matrix", CallNamed(&E::SetMatrix)},
        {"vstats", [](E& e, const std::string&, const std::string&) { e.SetVStats(); }},
        {"vstats_file", Call(&E::SetVStatsFile)},
        {"absf", CallNamed(&E::AddBitstreamFilter)}, {"vbsf", CallNamed(&E::AddBitstreamFilter)},
        {"sbsf", CallNamed(&E::AddBitstreamFilter)},
    };
    return rows;
}
// clang-format on

const std::unordered_map<std::string, const TOptionAction*>& OptionIndex() {
    static const std::unordered_map<std::string, const TOptionAction*> index = [] {
        std::unordered_map<std::string, const TOptionAction*> m;
        for (const TOptionRow& row : OptionTable()) m.emplace(row.Name, &row.Action);
        return m;
    }();
    return index;
}

} // namespace

os::CriticalSection& HookSettingsLock() {
    static os::CriticalSection lock;
    return lock;
}

std::vector<std::string> TCustomFFmpeg::OptionNames() {
    std::vector<std::string> names;
    for (const TOptionRow& row : OptionTable()) names.emplace_back(row.Name);
    return names;
}

void TCustomFFmpeg::SetOption(const std::string& AName, const std::string& AValue) {
    // The option contexts of a waiting task are read and written below.
    UnparkOptions(FOptions);
    const auto& index = OptionIndex();
    auto it = index.find(AName);
    if (it != index.end()) {
        (*it->second)(*this, AName, AValue);
        return;
    }
    // An option that nothing knows, or whose value is refused, would
    // otherwise be dropped without a word and the run go ahead without it.
    // (An engine before its first Reset has no contexts to ask.)
    if (!SetGenericOption(AName, AValue) && FOptions.avcodec_opts[0])
        throw FFmpegException(os::FormatC("Invalid option or argument: \"%s=%s\", parsed as \"%s\" = \"%s\"",
                                          AName.c_str(), AValue.c_str(), AName.c_str(), AValue.c_str()));
}

bool TCustomFFmpeg::SetGenericOption(const std::string& AName, const std::string& AValue) {
    TOptionPairs pairs;
    switch (TranslateLegacyX264Option(AName, AValue, pairs)) {
    case TLegacyX264::Invalid:
        av::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", AValue.c_str(),
                   AName.c_str());
        return false;
    case TLegacyX264::Translated: {
        bool all = true;
        for (const auto& [name, value] : pairs)
            all = SetDefaultOption(FOptions, name.c_str(), value.c_str()) && all;
        return all;
    }
    case TLegacyX264::NotLegacy:
        break;
    }
    // "b" is now an audio parameter too; here it stays the video bit rate, as
    // "ab" is the audio one.
    if (AName == "b" || AName == "vb") {
        if (!SetDefaultOption(FOptions, "vb", AValue.c_str())) return false;
        FollowTargetRate();
        return true;
    }
    return SetDefaultOption(FOptions, AName.c_str(), AValue.c_str());
}

bool TCustomFFmpeg::SetGenericIntOption(const std::string& AName, int AValue) {
    return SetGenericOption(AName, std::to_string(AValue));
}

void TCustomFFmpeg::SetStartTimeValue(int64_t AValue) {
    if (AValue != NoTime) Fstart_time = AValue;
}

void TCustomFFmpeg::SetProgramId(int AValue) {
    if (AValue >= 0) Fopt_programid = AValue;
}

void TCustomFFmpeg::SetPostHooks(TPostHooks AHooks) {
    os::CsLock lock(HookSettingsLock());
    SetPostHooksNoLock(AHooks);
}

void TCustomFFmpeg::SetPostHooksNoLock(TPostHooks AHooks) {
    if (AHooks == FPostHooks) return;
    if (FPostHooks.Has(phPreview) && !AHooks.Has(phPreview)) FPostContext.Previewer.reset();
    FPostHooks = AHooks;
}

void TCustomFFmpeg::SetAudioVolume(int AValue) {
    if (AValue >= 0) Faudio_volume = AValue;
}

void TCustomFFmpeg::SetAudioSyncMethod(int AValue) {
    Faudio_sync_method = AValue;
}

void TCustomFFmpeg::SetVideoSyncMethod(int AValue) {
    Fvideo_sync_method = AValue;
}

void TCustomFFmpeg::SetMuxMaxDelay(float AValue) {
    if (AValue > 0) Fmux_max_delay = AValue;
}

void TCustomFFmpeg::SetMuxPreload(float AValue) {
    if (AValue > 0) Fmux_preload = AValue;
}

void TCustomFFmpeg::SetPass(const std::string& AValue) {
    const int pass = os::StrToInt(AValue);
    if (pass != 1 && pass != 2) throw FFmpegException("pass number can be only 1 or 2");
    Fdo_pass = pass;
}

void TCustomFFmpeg::SetMatrix(const std::string& AName, const std::string& AValue) {
    std::vector<uint16_t>& matrix = AName == "intra_matrix" ? Fintra_matrix : Finter_matrix;
    matrix.assign(64, 0);
    const char* p = AValue.c_str();
    for (int i = 0; i < 64; ++i) {
        matrix[static_cast<size_t>(i)] = static_cast<uint16_t>(std::atoi(p));
        if (i == 63) break;
        p = std::strchr(p, ',');
        if (!p)
            throw FFmpegException(
                os::FormatC("Syntax error in matrix \"%s\" at coeff %d", AValue.c_str(), i));
        ++p;
    }
}

void TCustomFFmpeg::SetVStats() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char hhnnss[8];
    std::strftime(hhnnss, sizeof hhnnss, "%H%M%S", &local);
    Fvstats_filename = os::FormatC("%svstats_%s.log", os::ExeFolder().c_str(), hhnnss);
}

void TCustomFFmpeg::SetVStatsFile(const std::string& AValue) {
    Fvstats_filename = AValue;
}

void TCustomFFmpeg::AddBitstreamFilter(const std::string& AName, const std::string& AValue) {
    if (AName.empty() || AValue.empty() || AValue[0] == '=') return;
    // Arguments after "=" were never used.
    const std::string name = AValue.substr(0, AValue.find('='));
    const AVBitStreamFilter* filter = av::av_bsf_get_by_name(name.c_str());
    if (!filter) throw FFmpegException(os::FormatC("Unknown bitstream filter %s", os::Trim(AValue).c_str()));
    TBitstreamFilterChain& chain = AName[0] == 'v'   ? Fvideo_bitstream_filters
                                   : AName[0] == 'a' ? Faudio_bitstream_filters
                                                     : Fsubtitle_bitstream_filters;
    chain.push_back(filter);
}

void TCustomFFmpeg::SetStreamId(const std::string& AName, const std::string& AValue) {
    if (AName.empty() || AValue.empty()) return;
    const size_t colon = AValue.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == AValue.size())
        throw FFmpegException(
            os::FormatC("Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"",
                        AValue.c_str(), AName.c_str()));
    const int index = os::StrToInt(AValue.substr(0, colon));
    const int id = os::StrToInt(AValue.substr(colon + 1));
    // The table has one entry per possible stream of a file.
    if (index < 0 || index >= MAX_STREAMS)
        throw FFmpegException(os::FormatC("stream index over MAX_STREAMS(%d)", MAX_STREAMS));
    Fstreamid_map[index] = id;
}

void TCustomFFmpeg::NewStreamOption(const std::string& AName) {
    if (Fnb_output_files <= 0) throw FFmpegException("At least one output file must be specified");
    NewStreamForLastOutput(AName == "newvideo"   ? AVMEDIA_TYPE_VIDEO
                           : AName == "newaudio" ? AVMEDIA_TYPE_AUDIO
                                                 : AVMEDIA_TYPE_SUBTITLE);
}

} // namespace media
