// Output stream creation: each new stream takes its encoder (or is a copy)
// and the engine's current settings, which then start clean for the next one.
#include <cstring>

#include "media/AVApi.h"
#include "media/EncoderNames.h"
#include "media/FFLogger.h"
#include "media/FFmpegEngine.h"
#include "os/Convert.h"

namespace media {
namespace {

int Strictness(const TFFOptions& options, AVMediaType type) {
    const AVCodecContext* ctx = options.avcodec_opts[type];
    return ctx ? ctx->strict_std_compliance : 0;
}

// The library refuses nothing now; the engine's tables end at MAX_STREAMS.
void CheckStreamRoom(const AVFormatContext* oc, std::string& codecName, std::string* language) {
    if (oc->nb_streams < static_cast<unsigned>(MAX_STREAMS)) return;
    codecName.clear();
    if (language) language->clear();
    throw FFmpegException("Could not alloc stream");
}

// The named encoder, recorded in the engine's encoder table, or without a
// name the container's default for the kind.  A refused name is released
// (with the kind's language) and raises.
const AVCodec* ChooseEncoder(TCustomFFmpeg& e, const AVFormatContext* oc, AVMediaType type, std::string& name,
                             std::string* language, int strict, AVCodecID& codecId) {
    if (name.empty()) {
        codecId = av::av_guess_codec(oc->oformat, nullptr, oc->url, nullptr, type);
        return av::avcodec_find_encoder(codecId);
    }
    if (!e.FindCodecId(name, type, codecId, strict, true)) {
        name.clear();
        if (language) language->clear();
        throw FFmpegException(e.FLastErrMsg);
    }
    const AVCodec* codec = FindEncoderByName(name);
    TCustomFFmpeg::CodecSlot(e.Foutput_codecs, e.Fnb_ocodecs) = codec;
    return codec;
}

// The common beginning: the stream with its id, our context for it with the
// library defaults of its type (and of its encoder), the pending bitstream
// filters, the type and the tag.
TOutputStreamCodec& AddStream(TCustomFFmpeg& e, AVFormatContext* oc, int fileIndex, AVMediaType type,
                              const AVCodec* encoder, TBitstreamFilterChain& pendingFilters, uint32_t tag) {
    const int index = static_cast<int>(oc->nb_streams);
    auto record = std::make_unique<TOutputStreamCodec>();
    record->enc.reset(av::avcodec_alloc_context3(encoder));
    AVStream* st = record->enc ? av::avformat_new_stream(oc, nullptr) : nullptr;
    if (!st) throw FFmpegException("Could not alloc stream");
    st->id = e.Fstreamid_map[index];
    record->st = st;
    record->encoder = encoder;
    AVCodecContext* ctx = record->enc.get();
    ctx->codec_type = type;
    if (tag) ctx->codec_tag = tag;
    e.Fbitstream_filters[static_cast<size_t>(fileIndex)][static_cast<size_t>(index)] =
        std::move(pendingFilters);
    pendingFilters.clear();
    auto& streams = e.Foutput_streams[static_cast<size_t>(fileIndex)];
    streams.push_back(std::move(record));
    return *streams.back();
}

void SetLanguage(AVStream* st, std::string& language) {
    if (language.empty()) return;
    av::av_dict_set(&st->metadata, "language", language.c_str(), 0);
    language.clear();
}

// Width to height of the pixels, from the display aspect ratio; a 4:3 frame
// is assumed when the size is unknown.
AVRational SampleAspectRatio(const TCustomFFmpeg& e) {
    const double d = e.Fframe_width * e.Fframe_height != 0
                         ? static_cast<double>(e.Fframe_aspect_ratio) * e.Fframe_height / e.Fframe_width
                         : static_cast<double>(e.Fframe_aspect_ratio) * 3 / 4;
    return av::av_d2q(d, 255);
}

bool ListHas(const AVPixelFormat* list, AVPixelFormat fmt) {
    for (; *list != AV_PIX_FMT_NONE; ++list)
        if (*list == fmt) return true;
    return false;
}

// The pixel formats the encoders of the system's generation wrote, where
// today's take more: the players and devices our formats are made for expect
// those.  libx264 wrote 8-bit 4:2:0 only (High 10, 4:2:2 and 4:4:4 play on
// hardly any device); MJPEG wrote full-range 4:2:0 and 4:2:2.
const AVPixelFormat* ClassicPixelFormats(const AVCodec* codec) {
    static const AVPixelFormat x264[] = {AV_PIX_FMT_YUV420P, AV_PIX_FMT_NONE};
    static const AVPixelFormat mjpeg[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_NONE};
    if (std::strcmp(codec->name, "libx264") == 0) return x264;
    if (codec->id == AV_CODEC_ID_MJPEG) return mjpeg;
    return codec->pix_fmts;
}

// The source's format when the encoder takes it, else the encoder's first.
// A format the user asked for is held against everything the encoder takes
// today.
void MatchPixelFormat(const AVCodec* codec, AVCodecContext* ctx, bool asked) {
    if (!codec || !codec->pix_fmts) return;
    const AVPixelFormat* formats = asked ? codec->pix_fmts : ClassicPixelFormats(codec);
    if (!ListHas(formats, ctx->pix_fmt)) {
        // MJPEG takes full-range and plain YUV alike when unofficial output is allowed.
        if (!(codec->id == AV_CODEC_ID_MJPEG && ctx->strict_std_compliance < 0 &&
              (ctx->pix_fmt == AV_PIX_FMT_YUV420P || ctx->pix_fmt == AV_PIX_FMT_YUV422P)))
            ctx->pix_fmt = formats[0];
    }
    // Otherwise MJPEG writes full range only: plain YUV takes its full-range
    // twin, which the scaler fills.
    if (codec->id == AV_CODEC_ID_MJPEG && ctx->strict_std_compliance >= 0) {
        if (ctx->pix_fmt == AV_PIX_FMT_YUV420P) ctx->pix_fmt = AV_PIX_FMT_YUVJ420P;
        if (ctx->pix_fmt == AV_PIX_FMT_YUV422P) ctx->pix_fmt = AV_PIX_FMT_YUVJ422P;
        if (ctx->pix_fmt == AV_PIX_FMT_YUV444P) ctx->pix_fmt = AV_PIX_FMT_YUVJ444P;
    }
}

void MatchSampleFormat(const AVCodec* codec, AVCodecContext* ctx) {
    if (!codec || !codec->sample_fmts) return;
    for (const AVSampleFormat* p = codec->sample_fmts; *p != AV_SAMPLE_FMT_NONE; ++p)
        if (*p == ctx->sample_fmt) return;
    ctx->sample_fmt = codec->sample_fmts[0];
}

void MatchSampleRate(os::TObject* sender, const AVCodec* codec, AVCodecContext* ctx) {
    if (!codec || !codec->supported_samplerates) return;
    int best = 0;
    long long best_dist = -1;
    for (const int* p = codec->supported_samplerates; *p; ++p) {
        const long long dist = std::llabs(static_cast<long long>(ctx->sample_rate) - *p);
        if (best_dist < 0 || dist < best_dist) {
            best = *p;
            best_dist = dist;
        }
    }
    if (best != ctx->sample_rate)
        FFLogger().Log(sender, llWarning,
                       os::FormatC("Requested sampling rate unsupported using closest supported (%d)", best));
    ctx->sample_rate = best;
}

// A decimal integer with an optional minus sign at p; false when none is there.
bool ReadNumber(const char*& p, long long& value) {
    const char* q = p;
    if (*q == '-') ++q;
    if (*q < '0' || *q > '9') return false;
    char* end = nullptr;
    value = std::strtoll(p, &end, 10);
    p = end;
    return true;
}

// "start,end,q" groups separated by "/": q > 0 is a quantiser, q <= 0 a
// quality factor of -q percent.
bool ParseRcOverride(const std::string& text, AVCodecContext* ctx) {
    const char* p = text.empty() ? nullptr : text.c_str();
    while (p) {
        long long start = 0, end = 0, q = 0;
        if (!ReadNumber(p, start) || !*p) return false;
        ++p;
        if (!ReadNumber(p, end) || !*p) return false;
        ++p;
        if (!ReadNumber(p, q)) q = 0;
        void* grown = av::av_realloc(ctx->rc_override, sizeof(RcOverride) * (ctx->rc_override_count + 1));
        if (!grown) return false;
        ctx->rc_override = static_cast<RcOverride*>(grown);
        RcOverride& o = ctx->rc_override[ctx->rc_override_count++];
        o.start_frame = static_cast<int>(start);
        o.end_frame = static_cast<int>(end);
        o.qscale = q > 0 ? static_cast<int>(q) : 0;
        o.quality_factor = q > 0 ? 1.0f : static_cast<float>(-q) / 100.0f;
        p = std::strchr(p, '/');
        if (p) ++p;
    }
    return true;
}

// The context frees its matrices, so it gets copies of the engine's tables.
uint16_t* MatrixCopy(const std::vector<uint16_t>& matrix) {
    if (matrix.empty()) return nullptr;
    auto* copy = static_cast<uint16_t*>(av::av_malloc(matrix.size() * sizeof(uint16_t)));
    if (copy) std::memcpy(copy, matrix.data(), matrix.size() * sizeof(uint16_t));
    return copy;
}

// What an output without a named subtitle encoder makes of the inputs'
// first subtitle stream (the one the default stream choice takes).
struct TSubtitleChoice {
    bool drop = false;
    bool copy = false;
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    std::string reason;
};

TSubtitleChoice ChooseSubtitleOutput(const TCustomFFmpeg& e, const AVOutputFormat* of) {
    TSubtitleChoice choice;
    for (int j = 0; j < e.Fnb_input_files; ++j) {
        const AVFormatContext* ic = e.Finput_files[static_cast<size_t>(j)];
        for (unsigned i = 0; i < ic->nb_streams; ++i) {
            const AVCodecParameters* par = ic->streams[i]->codecpar;
            if (par->codec_type != AVMEDIA_TYPE_SUBTITLE) continue;
            const AVCodecDescriptor* desc = av::avcodec_descriptor_get(par->codec_id);
            const bool text = desc && (desc->props & AV_CODEC_PROP_TEXT_SUB);
            if (text) {
                choice.codec_id = av::av_guess_codec(of, nullptr, nullptr, nullptr, AVMEDIA_TYPE_SUBTITLE);
                if (choice.codec_id != AV_CODEC_ID_NONE && av::avcodec_find_encoder(choice.codec_id) &&
                    av::avcodec_find_decoder(par->codec_id))
                    return choice;
            } else if (av::avformat_query_codec(of, par->codec_id, FF_COMPLIANCE_NORMAL) == 1) {
                choice.copy = true;
                return choice;
            }
            choice.drop = true;
            choice.reason =
                os::FormatC("Subtitle stream #%d.%d (%s) left out: the %s format cannot take it", j,
                            static_cast<int>(i), av::avcodec_get_name(par->codec_id), of->name);
            return choice;
        }
    }
    return choice;
}

} // namespace

void TCustomFFmpeg::check_audio_video_sub_inputs(bool& AHasVideo, bool& AHasAudio, bool AFirstOnly,
                                                 bool& AHasSubtitle) {
    AHasVideo = AHasAudio = AHasSubtitle = false;
    const int files = AFirstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (int j = 0; j < files; ++j) {
        const AVFormatContext* ic = Finput_files[static_cast<size_t>(j)];
        for (unsigned i = 0; i < ic->nb_streams; ++i) {
            switch (ic->streams[i]->codecpar->codec_type) {
            case AVMEDIA_TYPE_VIDEO:
                // A cover picture alone makes no film.
                if (!(ic->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)) AHasVideo = true;
                break;
            case AVMEDIA_TYPE_AUDIO:
                AHasAudio = true;
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                AHasSubtitle = true;
                break;
            case AVMEDIA_TYPE_DATA:
            case AVMEDIA_TYPE_ATTACHMENT:
            case AVMEDIA_TYPE_UNKNOWN:
                break;
            default:
                throw FFmpegException("invalid codec_type of input file");
            }
        }
    }
}

void TCustomFFmpeg::new_video_stream(AVFormatContext* AContext, int AFileIndex) {
    CheckStreamRoom(AContext, Fvideo_codec_name, nullptr);
    const AVOutputFormat* of = AContext->oformat;
    AVRational fps = Fframe_rate.num ? Fframe_rate : AVRational{25, 1};
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    // A new context's strictness: the recorded options come later.
    const AVCodec* codec = Fvideo_stream_copy ? nullptr
                                              : ChooseEncoder(*this, AContext, AVMEDIA_TYPE_VIDEO,
                                                              Fvideo_codec_name, nullptr, 0, codec_id);
    TOutputStreamCodec& rec = AddStream(*this, AContext, AFileIndex, AVMEDIA_TYPE_VIDEO, codec,
                                        Fvideo_bitstream_filters, Fvideo_codec_tag);
    AVStream* st = rec.st;
    AVCodecContext* ctx = rec.enc.get();
    ctx->thread_count = Fthread_count;
    AVCodecContext* options = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    if ((Fvideo_global_header & 1) || (Fvideo_global_header == 0 && (of->flags & AVFMT_GLOBALHEADER))) {
        ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (options) options->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (Fvideo_global_header & 2) {
        ctx->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
        if (options) options->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }

    if (Fvideo_stream_copy) {
        rec.stream_copy = true;
        ctx->sample_aspect_ratio = st->sample_aspect_ratio = SampleAspectRatio(*this);
    } else {
        ctx->codec_id = codec_id;
        ApplyRecordedOptions(FOptions, ctx, options, AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
        if (codec && codec->supported_framerates && !Fforce_fps)
            fps = codec->supported_framerates[av::av_find_nearest_q_idx(fps, codec->supported_framerates)];
        ctx->time_base = AVRational{fps.den, fps.num};
        // Encoders now read the rate itself, not only its time base.
        ctx->framerate = fps;
        ctx->width = Fframe_width;
        ctx->height = Fframe_height;
        ctx->sample_aspect_ratio = SampleAspectRatio(*this);
        ctx->pix_fmt = Fframe_pix_fmt;
        st->sample_aspect_ratio = ctx->sample_aspect_ratio;
        MatchPixelFormat(codec, ctx, Fframe_pix_fmt_asked);
        if (Fintra_only) ctx->gop_size = 0;
        if (Fvideo_qscale != 0 || Fsame_quality) {
            ctx->flags |= AV_CODEC_FLAG_QSCALE;
            rec.quality = FF_QP2LAMBDA * Fvideo_qscale;
            ctx->global_quality = static_cast<int>(rec.quality);
        }
        if (!Fintra_matrix.empty()) ctx->intra_matrix = MatrixCopy(Fintra_matrix);
        if (!Finter_matrix.empty()) ctx->inter_matrix = MatrixCopy(Finter_matrix);
        if (!ParseRcOverride(Fvideo_rc_override_string, ctx)) {
            Fvideo_codec_name.clear();
            throw FFmpegException("error parsing rc_override");
        }
        if (ctx->rc_initial_buffer_occupancy == 0)
            ctx->rc_initial_buffer_occupancy = ctx->rc_buffer_size * 3 / 4;
        // The motion-estimation threshold is gone from the encoders; the
        // engine keeps it for its own use in the run.
        ctx->intra_dc_precision = Fintra_dc_precision - 8;
        if (Fdo_psnr) ctx->flags |= AV_CODEC_FLAG_PSNR;
        if (Fdo_pass == 1)
            ctx->flags |= AV_CODEC_FLAG_PASS1;
        else if (Fdo_pass)
            ctx->flags |= AV_CODEC_FLAG_PASS2;
    }
    ++Fnb_ocodecs;
    SetLanguage(st, Fvideo_language);
    Fvideo_disable = false;
    Fvideo_codec_name.clear();
    Fvideo_stream_copy = 0;
    Fframe_pix_fmt = AV_PIX_FMT_NONE;
    Fframe_pix_fmt_asked = false;
}

void TCustomFFmpeg::new_audio_stream(AVFormatContext* AContext, int AFileIndex) {
    CheckStreamRoom(AContext, Faudio_codec_name, &Faudio_language);
    const AVOutputFormat* of = AContext->oformat;
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    // The recorded options carry the strictness the context gets.
    const AVCodec* codec =
        Faudio_stream_copy
            ? nullptr
            : ChooseEncoder(*this, AContext, AVMEDIA_TYPE_AUDIO, Faudio_codec_name, &Faudio_language,
                            Strictness(FOptions, AVMEDIA_TYPE_AUDIO), codec_id);
    TOutputStreamCodec& rec = AddStream(*this, AContext, AFileIndex, AVMEDIA_TYPE_AUDIO, codec,
                                        Faudio_bitstream_filters, Faudio_codec_tag);
    AVStream* st = rec.st;
    AVCodecContext* ctx = rec.enc.get();
    ctx->thread_count = Fthread_count;
    AVCodecContext* options = FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO];
    if (of->flags & AVFMT_GLOBALHEADER) {
        ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (options) options->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    // Encoders refuse a channel count without a layout now, so a count that
    // the engine's layout does not match gets the count's default layout.
    auto set_channels = [this, ctx](int64_t layout) {
        av::av_channel_layout_uninit(&ctx->ch_layout);
        if (layout && av::av_get_channel_layout_nb_channels(static_cast<uint64_t>(layout)) == Faudio_channels)
            av::av_channel_layout_from_mask(&ctx->ch_layout, static_cast<uint64_t>(layout));
        else
            av::av_channel_layout_default(&ctx->ch_layout, Faudio_channels);
    };
    if (Faudio_stream_copy) {
        rec.stream_copy = true;
        set_channels(0);
        ctx->sample_rate = Faudio_sample_rate;
    } else {
        ApplyRecordedOptions(FOptions, ctx, options, AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
        ctx->codec_id = codec_id;
        if (Faudio_qscale > -99999.0f) {
            ctx->flags |= AV_CODEC_FLAG_QSCALE;
            rec.quality = FF_QP2LAMBDA * Faudio_qscale;
            ctx->global_quality = static_cast<int>(rec.quality);
        }
        set_channels(Fchannel_layout);
        ctx->sample_fmt = Faudio_sample_fmt;
        ctx->sample_rate = Faudio_sample_rate;
        MatchSampleFormat(codec, ctx);
        MatchSampleRate(this, codec, ctx);
    }
    ++Fnb_ocodecs;
    ctx->time_base = AVRational{1, Faudio_sample_rate};
    SetLanguage(st, Faudio_language);
    Faudio_disable = false;
    Faudio_codec_name.clear();
    Faudio_stream_copy = 0;
}

void TCustomFFmpeg::new_subtitle_stream(AVFormatContext* AContext, int AFileIndex) {
    CheckStreamRoom(AContext, Fsubtitle_codec_name, &Fsubtitle_language);
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    const AVCodec* codec = nullptr;
    if (!Fsubtitle_stream_copy && Fsubtitle_codec_name.empty()) {
        // Without a named encoder the source decides: text becomes the
        // container's own text format, a picture subtitle is copied when the
        // container takes it and is left out otherwise.
        const TSubtitleChoice choice = ChooseSubtitleOutput(*this, AContext->oformat);
        if (choice.drop) {
            FFLogger().Log(this, llWarning, choice.reason);
            Fsubtitle_language.clear();
            Fsubtitle_disable = false;
            return;
        }
        Fsubtitle_stream_copy = choice.copy;
        codec_id = choice.codec_id;
        codec = codec_id != AV_CODEC_ID_NONE ? av::avcodec_find_encoder(codec_id) : nullptr;
        CodecSlot(Foutput_codecs, Fnb_ocodecs) = codec;
    } else if (!Fsubtitle_stream_copy) {
        if (!FindCodecId(Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, codec_id,
                         Strictness(FOptions, AVMEDIA_TYPE_SUBTITLE), true)) {
            Fsubtitle_codec_name.clear();
            Fsubtitle_language.clear();
            throw FFmpegException(FLastErrMsg);
        }
        if (!Fsubtitle_codec_name.empty()) codec = FindEncoderByName(Fsubtitle_codec_name);
        CodecSlot(Foutput_codecs, Fnb_ocodecs) = codec;
    }
    TOutputStreamCodec& rec = AddStream(*this, AContext, AFileIndex, AVMEDIA_TYPE_SUBTITLE, codec,
                                        Fsubtitle_bitstream_filters, Fsubtitle_codec_tag);
    if (Fsubtitle_stream_copy) {
        rec.stream_copy = true;
    } else {
        ApplyRecordedOptions(FOptions, rec.enc.get(), FOptions.avcodec_opts[AVMEDIA_TYPE_SUBTITLE],
                             AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
        rec.enc->codec_id = codec_id;
        // FFmpeg 5.1's subtitle encoders refuse to open without a time base;
        // the engine hands them microseconds.
        rec.enc->time_base = AV_TIME_BASE_Q;
    }
    ++Fnb_ocodecs;
    SetLanguage(rec.st, Fsubtitle_language);
    Fsubtitle_disable = false;
    Fsubtitle_codec_name.clear();
    Fsubtitle_stream_copy = 0;
}

int TCustomFFmpeg::OutputStreamsOwner(int AFileIndex) const {
    if (AFileIndex < 0 || AFileIndex >= Fnb_output_files) return AFileIndex;
    const AVFormatContext* oc = Foutput_files[static_cast<size_t>(AFileIndex)];
    for (int k = 0; k < AFileIndex; ++k)
        if (Foutput_files[static_cast<size_t>(k)] == oc) return k;
    return AFileIndex;
}

TOutputStreamCodec* TCustomFFmpeg::OutputStream(int AFileIndex, int AStreamIndex) {
    if (AFileIndex < 0 || AFileIndex >= Fnb_output_files) return nullptr;
    auto& streams = Foutput_streams[static_cast<size_t>(OutputStreamsOwner(AFileIndex))];
    if (AStreamIndex < 0 || AStreamIndex >= static_cast<int>(streams.size())) return nullptr;
    return streams[static_cast<size_t>(AStreamIndex)].get();
}

void TCustomFFmpeg::NewStreamForLastOutput(AVMediaType type) {
    const int last = Fnb_output_files - 1;
    AVFormatContext* oc = Foutput_files[static_cast<size_t>(last)];
    // The stream records live with the entry that holds the output's streams;
    // the bitstream filters go to the last entry's row.
    const int owner = OutputStreamsOwner(last);
    auto& owned = Foutput_streams[static_cast<size_t>(owner)];
    const size_t before = owned.size();
    switch (type) {
    case AVMEDIA_TYPE_VIDEO:
        new_video_stream(oc, owner);
        break;
    case AVMEDIA_TYPE_AUDIO:
        new_audio_stream(oc, owner);
        break;
    default:
        new_subtitle_stream(oc, owner);
        break;
    }
    if (owner != last && owned.size() > before) {
        const size_t index = owned.size() - 1;
        Fbitstream_filters[static_cast<size_t>(last)][index] =
            std::move(Fbitstream_filters[static_cast<size_t>(owner)][index]);
        Fbitstream_filters[static_cast<size_t>(owner)][index].clear();
    }
}

} // namespace media
