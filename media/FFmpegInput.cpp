// Opening an input file: the forced format and decoders, the raw-input
// parameters, program selection, stream information, the start position,
// and the file's parameters handed back to the engine for the outputs.
#include <cmath>

#include "media/AVApi.h"
#include "media/EncoderNames.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegEngine.h"
#include "media/FFmpegLoader.h"
#include "media/UnicodeIO.h"
#include "media/UnicodeProtocol.h"
#include "os/Convert.h"
#include "os/ScopeExit.h"

namespace media {

namespace {

const AVCodec* FindCodecByName(const std::string& name, bool encoder) {
    if (name.empty()) return nullptr;
    return encoder ? FindEncoderByName(name) : av::avcodec_find_decoder_by_name(name.c_str());
}

int Strictness(const TFFOptions& options, AVMediaType type) {
    const AVCodecContext* ctx = options.avcodec_opts[type];
    return ctx ? ctx->strict_std_compliance : 0;
}

// The display aspect ratio of a video stream: its own sample aspect ratio
// when set, else the decoder's; square pixels when neither is known, and 4:3
// when the size is unknown too.
float FrameAspectRatio(const AVStream* st, const AVCodecContext* dec) {
    const AVRational sar = st->sample_aspect_ratio.num ? st->sample_aspect_ratio : dec->sample_aspect_ratio;
    double r = sar.den ? static_cast<double>(sar.num) / sar.den : 0.0;
    if (std::isnan(r)) r = 0.0;
    if (dec->width * dec->height != 0) {
        if (r != 0.0) return static_cast<float>(dec->width * r / dec->height);
        return static_cast<float>(dec->width) / static_cast<float>(dec->height);
    }
    return r != 0.0 ? static_cast<float>(r) : 4.0f / 3.0f;
}

// The raw-input parameters as demuxer options; a demuxer takes those it knows.
AVDictionary* RawInputParameters(const TFFmpegSettings& s) {
    AVDictionary* d = nullptr;
    if (s.Faudio_sample_rate > 0) av::av_dict_set_int(&d, "sample_rate", s.Faudio_sample_rate, 0);
    if (s.Faudio_channels > 0) av::av_dict_set_int(&d, "channels", s.Faudio_channels, 0);
    if (s.Fframe_rate.num > 0 && s.Fframe_rate.den > 0)
        av::av_dict_set(&d, "framerate", os::FormatC("%d/%d", s.Fframe_rate.num, s.Fframe_rate.den).c_str(),
                        0);
    if (s.Fframe_width > 0 && s.Fframe_height > 0)
        av::av_dict_set(&d, "video_size", os::FormatC("%dx%d", s.Fframe_width, s.Fframe_height).c_str(), 0);
    if (s.Fframe_pix_fmt != AV_PIX_FMT_NONE)
        if (const char* name = av::av_get_pix_fmt_name(s.Fframe_pix_fmt))
            av::av_dict_set(&d, "pixel_format", name, 0);
    if (s.Fvideo_channel != 0) av::av_dict_set_int(&d, "channel", s.Fvideo_channel, 0);
    if (!s.Fvideo_standard.empty()) av::av_dict_set(&d, "standard", s.Fvideo_standard.c_str(), 0);
    // Options only a particular demuxer knows can reach it only here, once
    // the file's demuxer is chosen.
    for (const auto& [name, value] : s.FOptions.private_opts)
        av::av_dict_set(&d, name.c_str(), value.c_str(), 0);
    return d;
}

} // namespace

bool TCustomFFmpeg::FindCodecId(const std::string& AName, AVMediaType AMediaType, AVCodecID& ACodecId,
                                int AStrict, bool AEncoder) {
    ACodecId = AV_CODEC_ID_NONE;
    if (AName.empty()) return true;
    const char* kind = AEncoder ? "encoder" : "decoder";
    const AVCodec* codec = FindCodecByName(AName, AEncoder);
    if (!codec) {
        FLastErrMsg = os::FormatC("Unknown %s '%s'", kind, AName.c_str());
        return false;
    }
    if (codec->type != AMediaType) {
        FLastErrMsg = os::FormatC("Invalid %s type '%s'", kind, AName.c_str());
        return false;
    }
    if ((codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) && AStrict > FF_COMPLIANCE_EXPERIMENTAL) {
        FLastErrMsg = os::FormatC("%s '%s' is experimental and might produce bad results.\r\n"
                                  "Add '-strict experimental' if you want to use it.",
                                  kind, codec->name);
        const AVCodec* other =
            AEncoder ? av::avcodec_find_encoder(codec->id) : av::avcodec_find_decoder(codec->id);
        if (other && !(other->capabilities & AV_CODEC_CAP_EXPERIMENTAL))
            FLastErrMsg += os::FormatC("\r\nOr use the non experimental %s '%s'.", kind, other->name);
        return false;
    }
    ACodecId = codec->id;
    return true;
}

TInputStreamCodec* TCustomFFmpeg::InputStream(int AFileIndex, int AStreamIndex) {
    if (AFileIndex < 0 || AFileIndex >= Fnb_input_files) return nullptr;
    auto& streams = Finput_streams[static_cast<size_t>(AFileIndex)];
    if (AStreamIndex < 0 || AStreamIndex >= static_cast<int>(streams.size())) return nullptr;
    return streams[static_cast<size_t>(AStreamIndex)].get();
}

bool TCustomFFmpeg::OpenInputFile(const std::string& AFileName) {
    // The tables grow to FMaxFiles rows at most; the task component stops
    // before this.
    if (Fnb_input_files >= FMaxFiles) {
        FLastErrMsg = os::FormatC("max input files %d reached", FMaxFiles);
        return false;
    }
    UnparkOptions(FOptions);
    const AVInputFormat* file_iformat = ForcedInputFormat();
    GrowFileTables(Fnb_input_files + 1, 0);
    TInputOpening opening;
    opening.file_name = AFileName;
    opening.format = file_iformat;
    opening.video_codec = Fvideo_codec_name;
    opening.audio_codec = Faudio_codec_name;
    opening.subtitle_codec = Fsubtitle_codec_name;
    opening.pgmyuv = Fpgmyuv_compatibility_hack != 0;
    opening.program_id = Fopt_programid;
    opening.start_time = Fstart_time;

    AVFormatContext* ic = av::avformat_alloc_context();
    if (!ic) throw FFmpegException("avformat_alloc_context failed");
    const int first_icodec = Fnb_icodecs;
    std::vector<std::unique_ptr<TInputStreamCodec>> streams;
    // Per-file settings are consumed whether or not the file opens.
    auto release = [this, &ic, &streams, first_icodec]() {
        Fvideo_codec_name.clear();
        Faudio_codec_name.clear();
        Fsubtitle_codec_name.clear();
        Fvideo_channel = 0;
        streams.clear();
        Finput_codecs.resize(std::min(Finput_codecs.size(), static_cast<size_t>(first_icodec)));
        Fnb_icodecs = first_icodec;
        if (!ic) return;
        // Not opened yet: the context is still a plain allocation.
        if (ic->iformat)
            CloseInputByLibraryName(&ic);
        else
            av::avformat_free_context(ic);
        ic = nullptr;
    };
    os::ScopeExit undo(release);
    auto fail = [this](const std::string& text) {
        FLastErrMsg = text;
        return false;
    };

    if (!PrepareInputContext(ic)) return fail(FLastErrMsg);
    opening.context_options = ContextOptions(ic);

    const std::string library_name = LibraryFileName(AFileName);
    AVDictionary* parameters = RawInputParameters(*this);
    for (const AVDictionaryEntry* e = nullptr;
         (e = av::av_dict_get(parameters, "", e, AV_DICT_IGNORE_SUFFIX));)
        opening.parameters.emplace_back(e->key, e->value);
    const int r = OpenInputByLibraryName(&ic, library_name.c_str(), file_iformat, &parameters);
    av::av_dict_free(&parameters);
    if (r < 0) {
        ic = nullptr; // the library freed it
        return fail(ErrorText(AFileName, r));
    }

    if (ic->pb) opening.file_size = av::avio_size(ic->pb);
    if (!SelectProgram(ic)) return fail("Specified program id not found");
    const std::string info_error = ReadStreamInfo(ic, AFileName);
    if (!info_error.empty()) return fail(info_error);
    const int64_t timestamp = SeekToStart(ic, AFileName);

    for (unsigned i = 0; i < ic->nb_streams; ++i) streams.push_back(AddInputStream(ic->streams[i], i));
    undo.Dismiss();

    if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration)
        FTotalOutputDuration = ic->duration;

    const size_t n = static_cast<size_t>(Fnb_input_files);
    Finput_files[n] = ic;
    Finput_files_ts_offset[n] = Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - timestamp;
    Finput_streams[n] = std::move(streams);
    Finput_openings[n] = std::move(opening);
    if (Fverbose >= 0) av::av_dump_format(ic, Fnb_input_files, library_name.c_str(), 0);
    ++Fnb_input_files;
    Fvideo_channel = 0;
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    return true;
}

const AVInputFormat* TCustomFFmpeg::ForcedInputFormat() {
    if (Flast_asked_format.empty()) return nullptr;
    const AVInputFormat* format = av::av_find_input_format(Flast_asked_format.c_str());
    if (!format)
        throw FFmpegException(os::FormatC("Unknown input format: \"%s\"", Flast_asked_format.c_str()));
    Flast_asked_format.clear();
    return format;
}

bool TCustomFFmpeg::PrepareInputContext(AVFormatContext* ic) {
    ApplyRecordedOptions(FOptions, ic, FOptions.avformat_opts, AV_OPT_FLAG_DECODING_PARAM);

    AVCodecID id = AV_CODEC_ID_NONE;
    if (!FindCodecId(Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, id, Strictness(FOptions, AVMEDIA_TYPE_VIDEO),
                     false))
        return false;
    ic->video_codec_id = id;
    ic->video_codec = FindCodecByName(Fvideo_codec_name, false);
    if (!FindCodecId(Faudio_codec_name, AVMEDIA_TYPE_AUDIO, id, Strictness(FOptions, AVMEDIA_TYPE_AUDIO),
                     false))
        return false;
    ic->audio_codec_id = id;
    ic->audio_codec = FindCodecByName(Faudio_codec_name, false);
    if (!FindCodecId(Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, id,
                     Strictness(FOptions, AVMEDIA_TYPE_SUBTITLE), false))
        return false;
    ic->subtitle_codec_id = id;
    ic->subtitle_codec = FindCodecByName(Fsubtitle_codec_name, false);

    ic->flags |= AVFMT_FLAG_NONBLOCK;
    if (Fpgmyuv_compatibility_hack) {
        ic->video_codec_id = AV_CODEC_ID_PGMYUV;
        ic->video_codec = nullptr;
    }
    return true;
}

bool TCustomFFmpeg::SelectProgram(AVFormatContext* ic) {
    if (Fopt_programid == 0) return true;
    bool found = false;
    for (unsigned i = 0; i < ic->nb_streams; ++i) ic->streams[i]->discard = AVDISCARD_ALL;
    for (unsigned i = 0; i < ic->nb_programs; ++i) {
        AVProgram* p = ic->programs[i];
        if (p->id != Fopt_programid) {
            p->discard = AVDISCARD_ALL;
            continue;
        }
        found = true;
        for (unsigned j = 0; j < p->nb_stream_indexes; ++j)
            ic->streams[p->stream_index[j]]->discard = AVDISCARD_DEFAULT;
    }
    if (!found) return false;
    Fopt_programid = 0;
    return true;
}

std::string TCustomFFmpeg::ReadStreamInfo(AVFormatContext* ic, const std::string& AFileName) {
    // Looping an input is no longer a property of the demuxer; Floop_input
    // stays with the engine for the run.
    int r = 0;
    {
        os::CsLock lock(CodecLock());
        r = av::avformat_find_stream_info(ic, nullptr);
    }
    if (r < 0 && Fverbose >= 0) {
        const std::string text = os::FormatC("%s: could not find codec parameters", AFileName.c_str());
        FFLogger().Log(this, llVerbose, text);
        return text;
    }
    // The engine's per-file tables have room for MAX_STREAMS streams; the
    // libraries no longer stop a file there.
    if (ic->nb_streams > static_cast<unsigned>(MAX_STREAMS)) return "Could not alloc stream";
    return {};
}

int64_t TCustomFFmpeg::SeekToStart(AVFormatContext* ic, const std::string& AFileName) {
    int64_t timestamp = Fstart_time;
    if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
    if (Fstart_time != 0) {
        const int r = av::av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD);
        if (r < 0 && Fverbose > 0)
            FFLogger().Log(this, llVerbose,
                           os::FormatC("%s: could not seek to position %0.3f", AFileName.c_str(),
                                       static_cast<double>(timestamp) / 1000000.0));
    }
    Fstart_time = 0;
    return timestamp;
}

std::unique_ptr<TInputStreamCodec> TCustomFFmpeg::AddInputStream(AVStream* st, unsigned AIndex) {
    const AVMediaType type = st->codecpar->codec_type;
    const std::string& forced = type == AVMEDIA_TYPE_VIDEO      ? Fvideo_codec_name
                                : type == AVMEDIA_TYPE_AUDIO    ? Faudio_codec_name
                                : type == AVMEDIA_TYPE_SUBTITLE ? Fsubtitle_codec_name
                                                                : std::string();
    const AVCodec* named = FindCodecByName(forced, false);
    const AVCodec* decoder = named ? named : av::avcodec_find_decoder(st->codecpar->codec_id);
    auto record = std::make_unique<TInputStreamCodec>();
    record->st = st;
    record->dec.reset(av::avcodec_alloc_context3(decoder));
    AVCodecContext* dec = record->dec.get();
    if (!dec || av::avcodec_parameters_to_context(dec, st->codecpar) < 0)
        throw FFmpegException("avcodec_alloc_context failed");
    dec->pkt_timebase = st->time_base;
    dec->thread_count = Fthread_count;

    switch (type) {
    case AVMEDIA_TYPE_VIDEO: {
        ApplyRecordedOptions(FOptions, dec, FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                             AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
        // A cover picture (MP4 cover art, a Matroska image attachment) is one
        // still image: its size and its container time base say nothing
        // about the film, and the frame-dropping choice is not for it.
        const bool cover = st->disposition & AV_DISPOSITION_ATTACHED_PIC;
        if (!cover) TakeVideoParameters(st, dec, AIndex);
        CodecSlot(Finput_codecs, Fnb_icodecs++) = named;
        if (Fvideo_disable)
            st->discard = AVDISCARD_ALL;
        else if (Fvideo_discard && !cover)
            st->discard = static_cast<AVDiscard>(Fvideo_discard);
        break;
    }
    case AVMEDIA_TYPE_AUDIO:
        ApplyRecordedOptions(FOptions, dec, FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO],
                             AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
        Fchannel_layout =
            dec->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? static_cast<int64_t>(dec->ch_layout.u.mask) : 0;
        Faudio_channels = dec->ch_layout.nb_channels;
        Faudio_sample_rate = dec->sample_rate;
        Faudio_sample_fmt = dec->sample_fmt;
        CodecSlot(Finput_codecs, Fnb_icodecs++) = named;
        if (Faudio_disable) st->discard = AVDISCARD_ALL;
        break;
    case AVMEDIA_TYPE_DATA:
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        CodecSlot(Finput_codecs, Fnb_icodecs++) = named;
        if (Fsubtitle_disable) st->discard = AVDISCARD_ALL;
        break;
    case AVMEDIA_TYPE_ATTACHMENT:
    case AVMEDIA_TYPE_UNKNOWN:
        CodecSlot(Finput_codecs, Fnb_icodecs++) = nullptr;
        break;
    default:
        throw FFmpegException("invalid codec_type");
    }
    return record;
}

void TCustomFFmpeg::TakeVideoParameters(const AVStream* st, AVCodecContext* dec, unsigned AIndex) {
    Fframe_height = dec->height;
    Fframe_width = dec->width;
    Fframe_aspect_ratio = FrameAspectRatio(st, dec);
    if (dec->pix_fmt == AV_PIX_FMT_NONE) dec->pix_fmt = AV_PIX_FMT_YUV420P;
    Fframe_pix_fmt = dec->pix_fmt;
    Fframe_pix_fmt_asked = false;
    const AVRational rfps = st->r_frame_rate;
    if (dec->lowres) {
        Fframe_height >>= dec->lowres;
        Fframe_width >>= dec->lowres;
    }
    // The stream's average rate stands for the rate its codec announces;
    // the libraries keep no codec time base for a stream.
    const AVRational codec_rate = st->avg_frame_rate;
    if (codec_rate.num && codec_rate.den && (codec_rate.num != rfps.num || codec_rate.den != rfps.den) &&
        Fverbose >= 0)
        FFLogger().Log(this, llInfo,
                       os::FormatC("Seems stream %d codec frame rate differs from container frame rate: "
                                   "%2.2f (%d/%d) -> %2.2f (%d/%d)",
                                   static_cast<int>(AIndex), av_q2d(codec_rate), codec_rate.num,
                                   codec_rate.den, av_q2d(rfps), rfps.num, rfps.den));
    Fframe_rate = rfps;
}

} // namespace media
