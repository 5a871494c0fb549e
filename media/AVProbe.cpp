#include "media/AVProbe.h"

#include <climits>

#include "media/AVApi.h"
#include "media/ComponentUtils.h"
#include "media/FFUtils.h"
#include "media/FFmpegLoader.h"
#include "media/MediaErrors.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"
#include "os/Convert.h"

namespace media {
namespace {

const char* const kNotLoaded = "file not loaded.";

int32_t ClampToInt32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// The leading decimal number of a metadata value ("2009-05-01" is 2009,
// "3/12" is 3); 0 when there is none, as the old integer fields read then.
int32_t LeadingNumber(const std::string& text) {
    int64_t n = 0;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 9)
        n = n * 10 + (text[i++] - '0');
    return static_cast<int32_t>(n);
}

// A time base as the libraries keep it, with a zero denominator made usable
// for rescaling (on a copy: the stream may belong to someone else).
AVRational UsableTimeBase(AVRational tb) {
    if (tb.den == 0) tb.den = tb.num != 0 ? tb.num : 1;
    return tb;
}

int64_t ToMicroseconds(int64_t value, AVRational tb) {
    if (value == AV_NOPTS_VALUE) return -1;
    return av::av_rescale_q(value, UsableTimeBase(tb), AVRational{1, 1000000});
}

} // namespace

TCustomAVProbe::TCustomAVProbe(os::TComponent* owner) : TFFBaseComponent(owner) {
    TCustomAVProbe::RecountStreams();
}

TCustomAVProbe::~TCustomAVProbe() {
    TCustomAVProbe::CloseFile();
}

bool TCustomAVProbe::AVLibLoaded() const {
    return FFLoader().Loaded(ProbeLibraries);
}

bool TCustomAVProbe::LoadAVLib(const std::string& APath) {
    FFLoader().SetLibraryPath(APath);
    if (FFLoader().Load(ProbeLibraries)) return true;
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
}

void TCustomAVProbe::UnloadAVLib() {
    FFLoader().Unload(ProbeLibraries);
}

void TCustomAVProbe::CheckLibraries() const {
    static const struct {
        TLibrary lib;
        const char* message;
    } kChecks[] = {
        {TLibrary::avCodec,  "LibAVCodec not loaded." },
        {TLibrary::avFormat, "LibAVFormat not loaded."},
        {TLibrary::avUtil,   "LibAVUtil not loaded."  },
        {TLibrary::swScale,  "LibSwScale not loaded." },
    };
    for (const auto& c : kChecks)
        if (!FFLoader().Loaded(c.lib)) throw FFmpegException(c.message);
}

void TCustomAVProbe::ReportMessage(TLogLevel ALevel, const std::string& AMsg) {
    FFLogger().Log(this, ALevel, AMsg);
    FLastErrMsg = AMsg;
}

bool TCustomAVProbe::LoadFile(const std::string& AFileName, const std::string& AFormatName) {
    CheckLibraries();
    CloseFile();
    const AVInputFormat* format = nullptr;
    if (!AFormatName.empty()) {
        format = av::av_find_input_format(AFormatName.c_str());
        if (!format) {
            FLastErrMsg = os::FormatC("Unknown input format: %s", AFormatName.c_str());
            return false;
        }
    }
    // The old non-blocking flag and parameter record are gone: the input
    // opens blocking, with the libraries' defaults.
    std::string libraryName = LibraryFileName(AFileName);
    AVFormatContext* ic = nullptr;
    int r = OpenInputByLibraryName(&ic, libraryName.c_str(), format, nullptr);
    if (r < 0) {
        ReportMessage(llError, ErrorText(AFileName, r));
        CloseFile();
        return false;
    }
    FFileHandle = ic;
    FOwnHandle = true;
    if (av::avformat_find_stream_info(ic, nullptr) < 0) {
        FLastErrMsg = os::FormatC("%s: could not find codec parameters", AFileName.c_str());
        CloseFile();
        return false;
    }
    RecountStreams();
    FForceFormat = AFormatName;
    return true;
}

void TCustomAVProbe::CloseFile() {
    FForceFormat.clear();
    FStreamCodecs.clear();
    if (FFileHandle && FOwnHandle) CloseInputByLibraryName(&FFileHandle);
    FFileHandle = nullptr;
    FOwnHandle = false;
    RecountStreams();
}

void TCustomAVProbe::SetFileHandle(AVFormatContext* Value) {
    CheckLibraries();
    CloseFile();
    FOwnHandle = false;
    FFileHandle = Value;
    RecountStreams();
}

void TCustomAVProbe::RecountStreams() {
    FFileSize = -1;
    FStreamCount = FProgramCount = -1;
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
    FStreamCodecs.clear();
    AVFormatContext* ic = FFileHandle;
    if (!ic) return;

    // The context no longer keeps a file size: its I/O context knows it.
    // A borrowed input is not asked: its owner may be reading it on another
    // thread, and I/O that cannot answer a size query directly answers it
    // by moving to the end and back.  The file on disk tells the same.
    int64_t size = ic->pb && FOwnHandle ? av::avio_size(ic->pb) : -1;
    if (size <= 0) {
        int64_t onDisk = FileSizeByName(DisplayFileName(ic->url ? ic->url : ""));
        if (onDisk >= 0) size = onDisk;
    }
    // An input that cannot tell its size reads 0, as the old field did.
    FFileSize = size > 0 ? size : 0;

    FStreamCount = static_cast<int>(ic->nb_streams);
    FProgramCount = static_cast<int>(ic->nb_programs);
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
    for (int i = 0; i < FStreamCount; ++i) {
        switch (ic->streams[i]->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            ++FVideoStreamCount;
            if (FFirstVideoStreamIndex < 0) FFirstVideoStreamIndex = i;
            break;
        case AVMEDIA_TYPE_AUDIO:
            ++FAudioStreamCount;
            if (FFirstAudioStreamIndex < 0) FFirstAudioStreamIndex = i;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            ++FSubtitleStreamCount;
            if (FFirstSubtitleStreamIndex < 0) FFirstSubtitleStreamIndex = i;
            break;
        default:
            break;
        }
    }
}

AVStream* TCustomAVProbe::Stream(int AStreamIndex) const {
    if (!FFileHandle || AStreamIndex < 0 || AStreamIndex >= FStreamCount) return nullptr;
    return FFileHandle->streams[AStreamIndex];
}

AVCodecContext* TCustomAVProbe::StreamCodec(int AStreamIndex) const {
    if (!FFileHandle || AStreamIndex < 0 || AStreamIndex >= FStreamCount) return nullptr;
    if (FStreamCodecs.size() < static_cast<size_t>(FStreamCount))
        FStreamCodecs.resize(static_cast<size_t>(FStreamCount));
    TCodecContextPtr& ctx = FStreamCodecs[static_cast<size_t>(AStreamIndex)];
    if (!ctx) {
        ctx.reset(av::avcodec_alloc_context3(nullptr));
        if (ctx &&
            av::avcodec_parameters_to_context(ctx.get(), FFileHandle->streams[AStreamIndex]->codecpar) < 0)
            ctx.reset();
    }
    return ctx.get();
}

bool TCustomAVProbe::CheckStreamIndex(int AStreamIndex) {
    if (!FFileHandle) {
        ReportMessage(llWarning, kNotLoaded);
        return false;
    }
    if (AStreamIndex < 0 || AStreamIndex >= FStreamCount) {
        ReportMessage(llError, os::FormatC("stream index #%d is invalid.", AStreamIndex));
        return false;
    }
    return true;
}

bool TCustomAVProbe::IsAudioStream(int AStreamIndex) {
    return CheckStreamIndex(AStreamIndex) && Stream(AStreamIndex)->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
}

bool TCustomAVProbe::IsVideoStream(int AStreamIndex) {
    return CheckStreamIndex(AStreamIndex) && Stream(AStreamIndex)->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
}

bool TCustomAVProbe::IsSubtitleStream(int AStreamIndex) {
    return CheckStreamIndex(AStreamIndex) &&
           Stream(AStreamIndex)->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE;
}

int TCustomAVProbe::StreamForInfo(int AStreamIndex, int AMediaType, int AFirstIndex, const char* ATypeName) {
    if (!FFileHandle) {
        ReportMessage(llWarning, kNotLoaded);
        return -1;
    }
    if (AStreamIndex < 0) {
        if (AFirstIndex < 0) ReportMessage(llError, os::FormatC("no %s stream.", ATypeName));
        return AFirstIndex;
    }
    if (AStreamIndex >= FStreamCount) {
        ReportMessage(llError, os::FormatC("stream index #%d is invalid.", AStreamIndex));
        return -1;
    }
    if (Stream(AStreamIndex)->codecpar->codec_type != AMediaType) {
        ReportMessage(llError, os::FormatC("stream #%d is not %s stream.", AStreamIndex, ATypeName));
        return -1;
    }
    return AStreamIndex;
}

namespace {

// The fields the audio and video records share.
template <class TInfo> void FillShared(TInfo& info, const AVStream* st, const AVCodecContext* codec) {
    info.Language = MetadataValue(st->metadata, "language", "");
    info.CodecName = CodecNameText(codec, false);
    info.StartTime = st->start_time;
    info.Duration = st->duration;
    info.StartTimeScaled = ToMicroseconds(st->start_time, st->time_base);
    info.DurationScaled = ToMicroseconds(st->duration, st->time_base);
    info.BitRate = ClampToInt32(st->codecpar->bit_rate);
}

} // namespace

bool TCustomAVProbe::GetAudioStreamInfo(int AStreamIndex, TAudioStreamInfo& AInfo) {
    AInfo = TAudioStreamInfo{};
    int i = StreamForInfo(AStreamIndex, AVMEDIA_TYPE_AUDIO, FFirstAudioStreamIndex, "audio");
    if (i < 0) return false;
    const AVStream* st = Stream(i);
    FillShared(AInfo, st, StreamCodec(i));
    const AVCodecParameters* par = st->codecpar;
    AInfo.Channels = par->ch_layout.nb_channels;
    AInfo.SampleRate = par->sample_rate;
    AInfo.SampleFormat = par->format;
    return true;
}

bool TCustomAVProbe::GetVideoStreamInfo(int AStreamIndex, TVideoStreamInfo& AInfo) {
    AInfo = TVideoStreamInfo{};
    int i = StreamForInfo(AStreamIndex, AVMEDIA_TYPE_VIDEO, FFirstVideoStreamIndex, "video");
    if (i < 0) return false;
    const AVStream* st = Stream(i);
    FillShared(AInfo, st, StreamCodec(i));
    const AVCodecParameters* par = st->codecpar;
    AInfo.Height = par->height;
    AInfo.Width = par->width;
    AInfo.PixFmt = par->format;
    AVRational sar = par->sample_aspect_ratio;
    // A missing ratio (0/1) gives 0; a zero height or denominator gives
    // nothing sensible to divide by, and stays -1.
    if (par->height != 0 && sar.den != 0)
        AInfo.AspectRatio =
            static_cast<float>(par->width * (static_cast<double>(sar.num) / sar.den) / par->height);
    AInfo.FrameRate = st->r_frame_rate;
    return true;
}

bool TCustomAVProbe::GetSubtitleStreamInfo(int AStreamIndex, TSubtitleStreamInfo& AInfo) {
    AInfo = TSubtitleStreamInfo{};
    int i = StreamForInfo(AStreamIndex, AVMEDIA_TYPE_SUBTITLE, FFirstSubtitleStreamIndex, "subtitle");
    if (i < 0) return false;
    AInfo.Language = MetadataValue(Stream(i)->metadata, "language", "");
    AInfo.CodecName = CodecNameText(StreamCodec(i), false);
    return true;
}

namespace {

template <class TInfo> TInfo FirstOf(TCustomAVProbe& probe, bool (TCustomAVProbe::*get)(int, TInfo&)) {
    TInfo info;
    (probe.*get)(-1, info);
    return info;
}

} // namespace

TAudioStreamInfo TCustomAVProbe::FirstAudioStreamInfo() {
    return FirstOf(*this, &TCustomAVProbe::GetAudioStreamInfo);
}

TVideoStreamInfo TCustomAVProbe::FirstVideoStreamInfo() {
    return FirstOf(*this, &TCustomAVProbe::GetVideoStreamInfo);
}

TSubtitleStreamInfo TCustomAVProbe::FirstSubtitleStreamInfo() {
    return FirstOf(*this, &TCustomAVProbe::GetSubtitleStreamInfo);
}

TFileStreamInfo TCustomAVProbe::FileStreamInfo() {
    TFileStreamInfo info;
    const AVFormatContext* ic = FFileHandle;
    if (!ic) {
        ReportMessage(llWarning, kNotLoaded);
        return info;
    }
    info.StartTime = ic->start_time == AV_NOPTS_VALUE ? -1 : ic->start_time;
    info.Duration = ic->duration == AV_NOPTS_VALUE ? -1 : ic->duration;
    info.BitRate = ClampToInt32(ic->bit_rate);
    const AVDictionary* md = ic->metadata;
    // The context's own time stamp, year, track and author fields are gone;
    // the demuxers put them into the file metadata now.
    info.TimeStamp = 0;
    std::string created = MetadataValue(md, "creation_time", "");
    int64_t us = 0;
    if (!created.empty() && av::av_parse_time(&us, created.c_str(), 0) >= 0) info.TimeStamp = us / 1000000;
    info.Year = LeadingNumber(MetadataValue(md, "date", MetadataValue(md, "year", "")));
    info.Track = LeadingNumber(MetadataValue(md, "track", ""));
    info.Title = MetadataValue(md, "title", "");
    info.Author = MetadataValue(md, "author", MetadataValue(md, "artist", ""));
    info.Copyright = MetadataValue(md, "copyright", "");
    info.Comment = MetadataValue(md, "comment", "");
    info.Album = MetadataValue(md, "album", "");
    info.Genre = MetadataValue(md, "genre", "");
    return info;
}

std::string TCustomAVProbe::FileName() {
    if (!FFileHandle) {
        ReportMessage(llWarning, kNotLoaded);
        return {};
    }
    return DisplayFileName(FFileHandle->url ? FFileHandle->url : "");
}

std::string TCustomAVProbe::FormatName() {
    if (!FFileHandle) {
        ReportMessage(llWarning, kNotLoaded);
        return {};
    }
    return FFileHandle->iformat && FFileHandle->iformat->name ? FFileHandle->iformat->name : "";
}

std::string TCustomAVProbe::FormatLongName() {
    if (!FFileHandle) {
        ReportMessage(llWarning, kNotLoaded);
        return {};
    }
    return FFileHandle->iformat && FFileHandle->iformat->long_name ? FFileHandle->iformat->long_name : "";
}

} // namespace media
