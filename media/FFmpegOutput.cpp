// Opening an output file: its container, its streams, its metadata, the file
// itself and the muxer settings; in join mode one output takes every input.
#include <cstring>
#include <ctime>

#include "media/AVApi.h"
#include "media/FFUtils.h"
#include "media/FFmpegEngine.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"
#include "os/Convert.h"

namespace media {
namespace {

// Containers take their recording time from this key now.
std::string CreationTime(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
    return text;
}

// FFmpeg 5.1's audio muxers (mp3, flac, aiff) name PNG as their video codec:
// the slot takes a cover picture, never a film, so it is no default stream.
bool CoverOnly(const AVOutputFormat* of) {
    return of->video_codec == AV_CODEC_ID_PNG && of->audio_codec != AV_CODEC_ID_NONE;
}

// The image muxer writes one file per picture; FFmpeg 5.1 no longer flags
// that it needs a number in the name and fails only at the second picture,
// after the first has overwritten a file of that name.
bool NeedsFrameNumber(const AVOutputFormat* of) {
    return (of->flags & AVFMT_NEEDNUMBER) || std::strcmp(of->name, "image2") == 0;
}

} // namespace

void TCustomFFmpeg::FreeOutputContext(AVFormatContext*& AContext, int AFileIndex) {
    if (AFileIndex >= 0 && AFileIndex < static_cast<int>(Foutput_streams.size())) {
        Foutput_streams[static_cast<size_t>(AFileIndex)].clear();
        for (TBitstreamFilterChain& chain : Fbitstream_filters[static_cast<size_t>(AFileIndex)])
            chain.clear();
    }
    if (!AContext) return;
    if (AContext->pb && !(AContext->oformat->flags & AVFMT_NOFILE)) CloseOutputByLibraryName(&AContext->pb);
    av::avformat_free_context(AContext);
    AContext = nullptr;
}

std::string TCustomFFmpeg::SameFileAsInput(const std::string& AOutputName) const {
    const std::string output = TOutputFile::LocalPath(AOutputName);
    if (output.empty()) return std::string();
    for (int i = 0; i < Fnb_input_files; ++i) {
        const AVFormatContext* ic = Finput_files[static_cast<size_t>(i)];
        if (!ic || !ic->url || !TOutputFile::SameFile(output, TOutputFile::LocalPath(ic->url))) continue;
        return os::FormatC("%s: Output file is the same file as input file #%d (%s)",
                           DisplayFileName(AOutputName).c_str(), i, DisplayFileName(ic->url).c_str());
    }
    return std::string();
}

void TCustomFFmpeg::OpenOutputTargets() {
    // Every output is checked before the first is opened: an opened file is
    // already emptied.
    for (int i = 0; i < Fnb_output_files; ++i) {
        const AVFormatContext* oc = Foutput_files[static_cast<size_t>(i)];
        if (!oc || (oc->oformat->flags & AVFMT_NOFILE) || oc->pb || !oc->url) continue;
        const std::string same = SameFileAsInput(oc->url);
        if (!same.empty()) throw FFmpegException(same);
    }
    for (int i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* oc = Foutput_files[static_cast<size_t>(i)];
        // In join mode later entries are the same, already opened output.
        if (!oc || (oc->oformat->flags & AVFMT_NOFILE) || oc->pb) continue;
        TOutputFile& file = FOutputTargets[static_cast<size_t>(i)];
        file.BeforeOpen(TOutputFile::LocalPath(oc->url ? oc->url : ""));
        // An existing file is replaced.
        const int r = OpenOutputByLibraryName(&oc->pb, oc->url, AVIO_FLAG_WRITE, nullptr);
        if (r < 0) throw FFmpegException(ErrorText(DisplayFileName(oc->url ? oc->url : ""), r));
        file.Opened();
    }
}

int TCustomFFmpeg::OpenOutputFile(const std::string& AFileName, bool AJoin) {
    if (FJoinMode) {
        FLastErrMsg = "Cannot join more than one output file.";
        return -1;
    }
    // The tables grow to FMaxFiles rows at most; a joined output takes one
    // per input.
    const int entries = AJoin && Fnb_input_files > 1 ? Fnb_input_files : 1;
    if (Fnb_output_files + entries > FMaxFiles) {
        FLastErrMsg = os::FormatC("max output files %d reached", FMaxFiles);
        return -1;
    }
    GrowFileTables(0, Fnb_output_files + entries);
    // Refused before anything else: writing the output would destroy the input.
    const std::string same = SameFileAsInput(LibraryFileName(AFileName));
    if (!same.empty()) {
        FLastErrMsg = same;
        return -1;
    }
    FEnableFilter = !Fvfilters.empty();
    UnparkOptions(FOptions);

    const std::string library_name = LibraryFileName(AFileName);
    const AVOutputFormat* file_oformat = ChooseOutputFormat(AFileName, library_name);
    if (!file_oformat) return -1;
    // The context comes with the muxer's own option object, so that the
    // muxer settings below can be set before the header is written.
    AVFormatContext* oc = nullptr;
    if (av::avformat_alloc_output_context2(&oc, file_oformat, nullptr, library_name.c_str()) < 0 || !oc)
        throw FFmpegException("avformat_alloc_context failed");

    const int index = Fnb_output_files;
    bool recorded = false;
    auto fail = [&](const std::string& text) {
        if (recorded) {
            --Fnb_output_files;
            Foutput_files[static_cast<size_t>(index)] = nullptr;
        }
        FreeOutputContext(oc, index);
        FLastErrMsg = text;
        return -1;
    };
    Foutput_streams[static_cast<size_t>(index)].clear();
    const std::string streams_error = AddOutputStreams(oc, index, AJoin);
    if (!streams_error.empty()) return fail(streams_error);

    if (Frecording_timestamp != 0)
        av::av_dict_set(&oc->metadata, "creation_time", CreationTime(Frecording_timestamp).c_str(), 0);
    // From the last pair to the first, so that of pairs with the same key the
    // one given first stays.
    for (auto it = Fmetadata.rbegin(); it != Fmetadata.rend(); ++it)
        av::av_dict_set(&oc->metadata, it->Key.c_str(), it->Value.c_str(), 0);
    Fmetadata.clear();

    Foutput_files[static_cast<size_t>(index)] = oc;
    ++Fnb_output_files;
    recorded = true;

    if (NeedsFrameNumber(file_oformat) && !av::av_filename_number_test(oc->url))
        return fail(ErrorText(DisplayFileName(oc->url), AVERROR(EDOM)));
    // The file itself is opened when the run starts (OpenOutputTargets);
    // what would keep it from opening is told now.
    if (!(file_oformat->flags & AVFMT_NOFILE)) {
        const std::string path = TOutputFile::LocalPath(oc->url);
        const int r = path.empty() ? 0 : TOutputFile::CheckWritable(path);
        if (r < 0) return fail(ErrorText(AFileName, r));
    }

    ApplyMuxerSettings(oc);
    std::fill(std::begin(Fstreamid_map), std::end(Fstreamid_map), 0);
    if (AJoin && Fnb_input_files > 1) JoinInputsInto(oc);
    return Fnb_output_files;
}

const AVOutputFormat* TCustomFFmpeg::ChooseOutputFormat(const std::string& AFileName,
                                                        const std::string& ALibraryName) {
    if (!Flast_asked_format.empty()) {
        const AVOutputFormat* format = av::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
        if (!format) {
            FLastErrMsg = os::FormatC("Requested output format '%s' is not a suitable output format",
                                      Flast_asked_format.c_str());
            return nullptr;
        }
        Flast_asked_format.clear();
        return format;
    }
    const AVOutputFormat* format = av::av_guess_format(nullptr, ALibraryName.c_str(), nullptr);
    if (!format)
        FLastErrMsg = os::FormatC("Unable to find a suitable output format for '%s'", AFileName.c_str());
    return format;
}

std::string TCustomFFmpeg::AddOutputStreams(AVFormatContext* oc, int AFileIndex, bool AJoin) {
    const AVOutputFormat* format = oc->oformat;
    bool use_video = (format->video_codec != AV_CODEC_ID_NONE && !CoverOnly(format)) || Fvideo_stream_copy ||
                     !Fvideo_codec_name.empty();
    bool use_audio =
        format->audio_codec != AV_CODEC_ID_NONE || Faudio_stream_copy || !Faudio_codec_name.empty();
    bool use_subtitle =
        format->subtitle_codec != AV_CODEC_ID_NONE || Fsubtitle_stream_copy || !Fsubtitle_codec_name.empty();
    if (Fnb_input_files > 0) {
        bool has_video = false, has_audio = false, has_subtitle = false;
        try {
            check_audio_video_sub_inputs(has_video, has_audio, AJoin, has_subtitle);
        } catch (const std::exception& e) {
            return os::FormatC("check_audio_video_sub_inputs fail: %s", e.what());
        }
        use_video = use_video && has_video;
        use_audio = use_audio && has_audio;
        use_subtitle = use_subtitle && has_subtitle;
    }
    use_video = use_video && !Fvideo_disable;
    use_audio = use_audio && !Faudio_disable;
    use_subtitle = use_subtitle && !Fsubtitle_disable;

    const struct {
        bool use;
        void (TCustomFFmpeg::*create)(AVFormatContext*, int);
        const char* text;
    } kinds[] = {
        {use_video,    &TCustomFFmpeg::new_video_stream,    "new_video_stream fail: %s"   },
        {use_audio,    &TCustomFFmpeg::new_audio_stream,    "new_audio_stream fail: %s"   },
        {use_subtitle, &TCustomFFmpeg::new_subtitle_stream, "new_subtitle_stream fail: %s"},
    };
    for (const auto& kind : kinds) {
        if (!kind.use) continue;
        try {
            (this->*kind.create)(oc, AFileIndex);
        } catch (const std::exception& e) {
            return os::FormatC(kind.text, e.what());
        }
    }
    return {};
}

void TCustomFFmpeg::ApplyMuxerSettings(AVFormatContext* oc) {
    oc->max_delay = static_cast<int>(static_cast<double>(Fmux_max_delay) * 1000000.0);
    // Preload and looping are options of the muxers that have them; the
    // header call keeps what is set here.
    av::av_opt_set_int(oc, "preload", static_cast<int64_t>(static_cast<double>(Fmux_preload) * 1000000.0),
                       AV_OPT_SEARCH_CHILDREN);
    av::av_opt_set_int(oc, "loop", Floop_output, AV_OPT_SEARCH_CHILDREN);
    oc->flags |= AVFMT_FLAG_NONBLOCK;
    ApplyRecordedOptions(FOptions, oc, FOptions.avformat_opts, AV_OPT_FLAG_ENCODING_PARAM);
}

void TCustomFFmpeg::JoinInputsInto(AVFormatContext* oc) {
    FJoinMode = true;
    int64_t total = 0;
    for (int i = 0; i < Fnb_input_files; ++i) {
        const int64_t d = Finput_files[static_cast<size_t>(i)]->duration;
        if (d != AV_NOPTS_VALUE && d > 0) total += d;
    }
    FTotalOutputDuration = total != 0 ? total : -1;
    for (int i = 1; i < Fnb_input_files; ++i) Foutput_files[static_cast<size_t>(Fnb_output_files++)] = oc;
}

} // namespace media
