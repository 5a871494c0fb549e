// The second half of a run's set-up: the codecs (opened and closed only under
// the process-wide codec lock), the inputs' first time stamps, metadata and
// chapters, the output headers and the stream mapping in the log.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/AVApi.h"
#include "media/CodecThreads.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegLoader.h"
#include "media/FFmpegTranscode.h"
#include "os/Convert.h"

namespace media {
namespace {

std::string TypeName(const AVCodecContext* ctx) {
    return MediaTypeName(ctx ? ctx->codec_type : AVMEDIA_TYPE_UNKNOWN);
}

// The encoder for an output stream table entry: the one chosen by name, or
// the default for the codec id.  A context made for a particular encoder
// opens only with that one.
const AVCodec* EncoderFor(const TCustomFFmpeg& e, const TAVOutputStream* ost, int index) {
    if (ost->codec && ost->codec->encoder) return ost->codec->encoder;
    const AVCodec* chosen = index < static_cast<int>(e.Foutput_codecs.size())
                                ? e.Foutput_codecs[static_cast<size_t>(index)]
                                : nullptr;
    if (chosen && chosen->id == ost->enc_ctx->codec_id) return chosen;
    return av::avcodec_find_encoder(ost->enc_ctx->codec_id);
}

// The output stream's parameters follow its opened encoder (or its copy).
void PublishParameters(TAVOutputStream* ost) {
    if (av::avcodec_parameters_from_context(ost->st->codecpar, ost->enc_ctx) < 0)
        throw FFmpegException("av_mallocz fail");
    ost->st->time_base = ost->enc_ctx->time_base;
    if (ost->enc_ctx->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (!ost->st->sample_aspect_ratio.num)
            ost->st->sample_aspect_ratio = ost->enc_ctx->sample_aspect_ratio;
        if (ost->enc_ctx->framerate.num) ost->st->avg_frame_rate = ost->enc_ctx->framerate;
    }
}

// A text subtitle encoder writes its events against the styles of an ASS
// header, which the source's decoder makes when it opens (its own default
// for plain text).  The run's decoders open after the encoders, so a
// decoder of the source's parameters is opened here for its header alone.
void GiveSubtitleHeader(AVCodecContext* enc, const AVStream* source) {
    if (enc->subtitle_header) return;
    const AVCodec* decoder = av::avcodec_find_decoder(source->codecpar->codec_id);
    if (!decoder) return;
    TCodecContextPtr dec(av::avcodec_alloc_context3(decoder));
    if (!dec || av::avcodec_parameters_to_context(dec.get(), source->codecpar) < 0) return;
    {
        os::CsLock lock(CodecLock());
        if (av::avcodec_open2(dec.get(), decoder, nullptr) < 0) return;
    }
    if (!dec->subtitle_header || dec->subtitle_header_size <= 0) return;
    enc->subtitle_header =
        static_cast<uint8_t*>(av::av_mallocz(static_cast<size_t>(dec->subtitle_header_size) + 1));
    if (!enc->subtitle_header) throw FFmpegException("av_mallocz fail");
    std::memcpy(enc->subtitle_header, dec->subtitle_header, static_cast<size_t>(dec->subtitle_header_size));
    enc->subtitle_header_size = dec->subtitle_header_size;
}

} // namespace

int TCustomFFmpeg::TakeCodecShare() {
    if (FCodecShare == 0) FCodecShare = CodecThreads().RunStarted(FParallelRuns);
    return FCodecShare;
}

void TCustomFFmpeg::CountCodecThreads(const AVCodecContext* AContext) {
    const int started = TCodecThreads::StartedBy(AContext);
    FCodecThreadsStarted += started;
    CodecThreads().CodecOpened(started);
}

void TCustomFFmpeg::ReleaseCodecShare() {
    CodecThreads().CodecClosed(FCodecThreadsStarted);
    FCodecThreadsStarted = 0;
    if (FCodecShare == 0) return;
    FCodecShare = 0;
    CodecThreads().RunEnded();
}

void TCustomFFmpeg::OpenEncoders(TTranscodeRun& run) {
    const int share = TakeCodecShare();
    const int entries = FJoinMode ? run.streams_per_output : run.nb_ostreams();
    for (int i = 0; i < entries; ++i) {
        TAVOutputStream* ost = run.ost(i);
        if (!ost->encoding_needed) continue;
        const AVCodec* codec = EncoderFor(*this, ost, i);
        if (!codec) {
            DumpStreamMapping(run);
            const std::string text =
                os::FormatC("Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                            static_cast<int>(ost->enc_ctx->codec_id), ost->file_index, ost->index,
                            TypeName(ost->enc_ctx).c_str());
            FFLogger().Log(this, llError, text);
            throw FFmpegException(text);
        }
        if (ost->enc_ctx->codec_type == AVMEDIA_TYPE_SUBTITLE)
            GiveSubtitleHeader(ost->enc_ctx, run.source(ost)->st);
        // Audio encoders are quick enough on the run's own thread.
        if (ost->enc_ctx->codec_type == AVMEDIA_TYPE_VIDEO && TCodecThreads::Threaded(codec))
            ost->enc_ctx->thread_count = TCodecThreads::EncoderThreads(share);
        int r = 0;
        {
            os::CsLock lock(CodecLock());
            if (FJoinMode) ost->codec_id = ost->enc_ctx->codec_id;
            r = av::avcodec_open2(ost->enc_ctx, codec, nullptr);
            if (r >= 0) FEncoderList.Add(ost);
        }
        if (r >= 0) CountCodecThreads(ost->enc_ctx);
        if (r >= 0 && ost->enc_ctx->codec_type == AVMEDIA_TYPE_VIDEO && !run.staged &&
            CodecThreads().Staged(share) && Fvstats_filename.empty()) {
            // The stage's thread counts as one of the run's codec threads.
            run.staged = true;
            FCodecThreadsStarted += 1;
            CodecThreads().CodecOpened(1);
        }
        if (r < 0) {
            DumpStreamMapping(run);
            const std::string text = os::FormatC(
                "Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect parameters "
                "such as bit_rate, rate, width or height. Please check error log message to find out "
                "more detail information.",
                ost->file_index, ost->index, TypeName(ost->enc_ctx).c_str());
            FFLogger().Log(this, llError, text);
            throw FFmpegException(text);
        }
        Fextra_size += ost->enc_ctx->extradata_size;
    }
}

void TCustomFFmpeg::ParkInputDecoders(int AFileIndex) {
    if (AFileIndex < 0 || AFileIndex >= Fnb_input_files) return;
    for (auto& rec : Finput_streams[static_cast<size_t>(AFileIndex)])
        ParkPrivateState(rec->dec.get(), rec->parked);
}

void TCustomFFmpeg::UnparkInputDecoders() {
    for (int f = 0; f < Fnb_input_files; ++f)
        for (auto& rec : Finput_streams[static_cast<size_t>(f)])
            UnparkPrivateState(rec->dec.get(), rec->parked);
}

void TCustomFFmpeg::ParkOutputEncoders() {
    for (int f = 0; f < Fnb_output_files; ++f)
        for (auto& rec : Foutput_streams[static_cast<size_t>(f)])
            ParkPrivateState(rec->enc.get(), rec->parked);
}

void TCustomFFmpeg::UnparkOutputEncoders() {
    for (int f = 0; f < Fnb_output_files; ++f)
        for (auto& rec : Foutput_streams[static_cast<size_t>(f)])
            UnparkPrivateState(rec->enc.get(), rec->parked);
}

void TCustomFFmpeg::OpenDecoders(TTranscodeRun& run) {
    const int share = TakeCodecShare();
    for (int i = 0; i < run.nb_istreams(); ++i) {
        TAVInputStream* ist = run.ist(i);
        if (!ist->decoding_needed) continue;
        AVCodecContext* dec = ist->dec_ctx;
        const AVCodec* chosen =
            i < static_cast<int>(Finput_codecs.size()) ? Finput_codecs[static_cast<size_t>(i)] : nullptr;
        const AVCodec* codec =
            dec && dec->codec ? dec->codec
            : chosen && dec && chosen->id == dec->codec_id
                ? chosen
                : av::avcodec_find_decoder(dec ? dec->codec_id : ist->st->codecpar->codec_id);
        if (!codec || !dec) {
            DumpStreamMapping(run);
            const std::string text =
                os::FormatC("Decoder (codec id %d) not found for input stream #%d.%d (%s)",
                            static_cast<int>(ist->st->codecpar->codec_id), ist->file_index, ist->index,
                            MediaTypeName(ist->st->codecpar->codec_type).c_str());
            FFLogger().Log(this, llError, text);
            throw FFmpegException(text);
        }
        if (dec->codec_type == AVMEDIA_TYPE_VIDEO && TCodecThreads::Threaded(codec)) {
            dec->thread_count = TCodecThreads::DecoderThreads(share);
            dec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        }
        int r = 0;
        {
            os::CsLock lock(CodecLock());
            r = av::avcodec_open2(dec, codec, nullptr);
            if (r >= 0) FDecoderList.Add(ist);
        }
        if (r >= 0) CountCodecThreads(dec);
        if (r < 0) {
            DumpStreamMapping(run);
            const std::string text =
                os::FormatC("Error while opening decoder for input stream #%d.%d (%s)", ist->file_index,
                            ist->index, MediaTypeName(ist->st->codecpar->codec_type).c_str());
            FFLogger().Log(this, llError, text);
            throw FFmpegException(text);
        }
    }
}

void TCustomFFmpeg::InitInputTimestamps(TTranscodeRun& run) {
    for (int i = 0; i < run.nb_istreams(); ++i) {
        TAVInputStream* ist = run.ist(i);
        const AVRational rate = ist->st->avg_frame_rate;
        const int delay = ist->dec_ctx ? ist->dec_ctx->has_b_frames : ist->st->codecpar->video_delay;
        ist->pts = rate.num != 0 && rate.den != 0
                       ? -static_cast<int64_t>(std::nearbyint(delay * 1000000.0 / av_q2d(rate)))
                       : 0;
        ist->next_pts = AV_NOPTS_VALUE;
        ist->is_start = 1;
    }
}

void TCustomFFmpeg::ApplyMetaDataMaps(TTranscodeRun& run) {
    for (int m = 0; m < Fnb_meta_data_maps; ++m) {
        const int out = Fmeta_data_maps[static_cast<size_t>(m)].out_file;
        const int in = Fmeta_data_maps[static_cast<size_t>(m)].in_file;
        std::string text;
        if (out < 0 || out >= run.nb_output_files)
            text = os::FormatC("Invalid output file index %d map_meta_data(%d,%d)", out, out, in);
        else if (in < 0 || in >= run.nb_input_files)
            text = os::FormatC("Invalid input file index %d map_meta_data(%d,%d)", in, out, in);
        if (!text.empty()) {
            DumpStreamMapping(run);
            FFLogger().Log(this, llError, text);
            throw FFmpegException(text);
        }
        // The muxers convert the keys for their own format themselves now.
        const AVDictionaryEntry* tag = nullptr;
        while ((tag = av::av_dict_get(run.input_files[in]->metadata, "", tag, AV_DICT_IGNORE_SUFFIX)))
            av::av_dict_set(&run.output_files[out]->metadata, tag->key, tag->value, AV_DICT_DONT_OVERWRITE);
    }
}

void TCustomFFmpeg::CopyAllChapters(TTranscodeRun& run) {
    for (int i = 0; i < run.nb_input_files; ++i) {
        if (run.input_files[i]->nb_chapters == 0) continue;
        for (int j = 0; j < run.nb_output_files; ++j) CopyChapters(run, i, j);
    }
}

void TCustomFFmpeg::CopyChapters(TTranscodeRun& run, int AInputFile, int AOutputFile) {
    const AVFormatContext* is = run.input_files[AInputFile];
    AVFormatContext* os = run.output_files[AOutputFile];
    for (unsigned c = 0; c < is->nb_chapters; ++c) {
        const AVChapter* in_ch = is->chapters[c];
        const int64_t ts_off =
            av::av_rescale_q(Fstart_time - Finput_files_ts_offset[static_cast<size_t>(AInputFile)],
                             AV_TIME_BASE_Q, in_ch->time_base);
        const int64_t rt = Frecording_time == INT64_MAX
                               ? INT64_MAX
                               : av::av_rescale_q(Frecording_time, AV_TIME_BASE_Q, in_ch->time_base);
        if (in_ch->end < ts_off) continue;
        if (rt != INT64_MAX && in_ch->start > rt + ts_off) break;
        auto* out_ch = static_cast<AVChapter*>(av::av_mallocz(sizeof(AVChapter)));
        if (!out_ch) throw FFmpegException("av_mallocz fail");
        out_ch->id = in_ch->id;
        out_ch->time_base = in_ch->time_base;
        out_ch->start = std::max<int64_t>(0, in_ch->start - ts_off);
        out_ch->end = std::min(rt, in_ch->end - ts_off);
        const AVDictionaryEntry* tag = nullptr;
        while ((tag = av::av_dict_get(in_ch->metadata, "", tag, AV_DICT_IGNORE_SUFFIX)))
            av::av_dict_set(&out_ch->metadata, tag->key, tag->value, 0);
        void* grown = av::av_realloc(os->chapters, sizeof(AVChapter*) * (os->nb_chapters + 1));
        if (!grown) {
            av::av_dict_free(&out_ch->metadata);
            av::av_free(out_ch);
            throw FFmpegException("av_realloc fail");
        }
        os->chapters = static_cast<AVChapter**>(grown);
        os->chapters[os->nb_chapters++] = out_ch;
    }
}

void TCustomFFmpeg::WriteOutputHeaders(TTranscodeRun& run) {
    // The streams take their final parameters: from the opened encoder, or
    // from the copy, and then from the end of their bitstream filter chain.
    const int entries = FJoinMode ? run.streams_per_output : run.nb_ostreams();
    for (int i = 0; i < entries; ++i) {
        TAVOutputStream* ost = run.ost(i);
        if (!ost->encoding_needed && !ost->codec->stream_copy) continue;
        PublishParameters(ost);
    }
    for (int i = 0; i < run.nb_ostreams(); ++i) {
        TAVOutputStream* ost = run.ost(i);
        const int owner = OutputStreamsOwner(ost->file_index);
        const TBitstreamFilterChain* chain =
            &Fbitstream_filters[static_cast<size_t>(ost->file_index)][static_cast<size_t>(ost->index)];
        if (chain->empty())
            chain = &Fbitstream_filters[static_cast<size_t>(owner)][static_cast<size_t>(ost->index)];
        const AVCodecParameters* par = ost->st->codecpar;
        AVRational tb = ost->st->time_base;
        for (const AVBitStreamFilter* filter : *chain) {
            AVBSFContext* bsf = nullptr;
            if (av::av_bsf_alloc(filter, &bsf) < 0) throw FFmpegException("av_mallocz fail");
            run.bsf_chains[static_cast<size_t>(i)].push_back(bsf);
            av::avcodec_parameters_copy(bsf->par_in, par);
            bsf->time_base_in = tb;
            const int r = av::av_bsf_init(bsf);
            if (r < 0) {
                // A filter that refuses the stream's codec would refuse every
                // packet: as for a refused packet, the packets pass it
                // unfiltered unless errors end the run.
                const std::string text = ErrorText(
                    os::FormatC("%s failed for stream %d, codec %s", filter->name, ost->index,
                                ost->encoding_needed ? av::avcodec_get_name(ost->enc_ctx->codec_id) : "copy"),
                    r);
                if (Fexit_on_error) throw FFmpegException(text);
                FFLogger().Log(this, llError, text);
                run.bsf_chains[static_cast<size_t>(i)].pop_back();
                av::av_bsf_free(&bsf);
                continue;
            }
            par = bsf->par_out;
            tb = bsf->time_base_out;
        }
        if (!run.bsf_chains[static_cast<size_t>(i)].empty() && (!FJoinMode || i < run.streams_per_output)) {
            av::avcodec_parameters_copy(ost->st->codecpar, par);
            ost->st->time_base = tb;
        }
    }

    bool want_sdp = true;
    const int files = FJoinMode ? std::min(run.nb_output_files, 1) : run.nb_output_files;
    for (int i = 0; i < files; ++i) {
        AVFormatContext* oc = run.output_files[i];
        // AVI keeps no start time per stream: each starts at its first
        // chunk.  FFmpeg 5.1 shifts every stream to make an encoder delay's
        // negative start (MP3) non-negative, which moves the pictures by a
        // rounded part of a frame and gives an empty frame after the first.
        if (std::string(oc->oformat->name) == "avi" && oc->avoid_negative_ts == AVFMT_AVOID_NEG_TS_AUTO)
            oc->avoid_negative_ts = AVFMT_AVOID_NEG_TS_DISABLED;
        if (av::avformat_write_header(oc, nullptr) < 0) {
            DumpStreamMapping(run);
            const std::string text =
                os::FormatC("Could not write header for output file #%d (incorrect codec parameters ?)", i);
            FFLogger().Log(this, llError, text);
            throw FFmpegException(text);
        }
        if (std::string(oc->oformat->name) != "rtp") want_sdp = false;
    }
    if (want_sdp && files > 0) {
        char sdp[2048] = {};
        av::av_sdp_create(run.output_files, files, sdp, sizeof sdp);
        FFLogger().Log(this, llInfo, "SDP:\r\n" + os::Trim(sdp));
    }
}

void TCustomFFmpeg::DumpStreamMapping(TTranscodeRun& run) {
    const int files = FJoinMode ? std::min(run.nb_output_files, 1) : run.nb_output_files;
    for (int i = 0; i < files; ++i) av::av_dump_format(run.output_files[i], i, run.output_files[i]->url, 1);
    if (Fverbose < 0) return;
    FFLogger().Log(this, llVerbose, "Stream mapping:");
    for (int i = 0; i < run.nb_ostreams(); ++i) {
        const TAVOutputStream* ost = run.ost(i);
        const TAVInputStream* ist = run.source(ost);
        const std::string type = TypeName(ost->enc_ctx);
        FFLogger().Log(this, llVerbose,
                       os::FormatC("  Stream #%d.%d -> #%d.%d (%s)", ist->file_index, ist->index,
                                   FJoinMode ? 0 : ost->file_index, ost->index, type.c_str()));
        if (ost->sync_ist && ost->sync_ist != ist)
            FFLogger().Log(this, llVerbose,
                           os::FormatC(" [sync #%d.%d (%s)]", ost->sync_ist->file_index, ost->sync_ist->index,
                                       type.c_str()));
    }
}

void TCustomFFmpeg::ReopenEncoders(TTranscodeRun& run) {
    // An encoder that has been drained takes no more frames; the block's
    // shared context is made afresh with the same settings.
    for (int i = 0; i < run.streams_per_output; ++i) {
        TAVOutputStream* ost = run.ost(i);
        if (!ost->encoding_needed) continue;
        const AVCodec* codec = EncoderFor(*this, ost, i);
        if (!codec)
            throw FFmpegException(os::FormatC("Unsupported codec for output stream #%d.%d (%s)",
                                              ost->file_index, ost->index, TypeName(ost->enc_ctx).c_str()));
        TCodecContextPtr fresh(av::avcodec_alloc_context3(codec));
        if (!fresh || av::avcodec_parameters_to_context(fresh.get(), ost->st->codecpar) < 0)
            throw FFmpegException("av_mallocz fail");
        // The encoder writes its own global header; one taken over from the
        // stream would be lost under it.
        av::av_freep(&fresh->extradata);
        fresh->extradata_size = 0;
        AVCodecContext* old = ost->enc_ctx;
        fresh->time_base = old->time_base;
        fresh->framerate = old->framerate;
        fresh->flags = old->flags;
        fresh->flags2 = old->flags2;
        fresh->global_quality = old->global_quality;
        fresh->gop_size = old->gop_size;
        fresh->max_b_frames = old->max_b_frames;
        fresh->thread_count = old->thread_count;
        fresh->codec_id = static_cast<AVCodecID>(ost->codec_id);
        const int oldThreads = TCodecThreads::StartedBy(old);
        int r = 0;
        {
            os::CsLock lock(CodecLock());
            FEncoderList.Remove(ost);
            for (int k = 0; k < run.nb_ostreams(); ++k)
                if (run.ost(k)->enc_ctx == old) run.ost(k)->enc_ctx = fresh.get();
            ost->codec->enc = std::move(fresh); // the old one is closed and freed here
            r = av::avcodec_open2(ost->enc_ctx, codec, nullptr);
            if (r >= 0) FEncoderList.Add(ost);
        }
        FCodecThreadsStarted -= oldThreads;
        CodecThreads().CodecClosed(oldThreads);
        if (r >= 0) CountCodecThreads(ost->enc_ctx);
        if (r < 0)
            throw FFmpegException(os::FormatC(
                "Error while opening codec for output stream #%d.%d (%s) - maybe incorrect parameters "
                "such as bit_rate, rate, width or height",
                ost->file_index, ost->index, TypeName(ost->enc_ctx).c_str()));
    }
}

void TCustomFFmpeg::CloseEncoders(TTranscodeRun& run) {
    const int entries = FJoinMode ? run.streams_per_output : run.nb_ostreams();
    for (int i = 0; i < entries; ++i) {
        TAVOutputStream* ost = run.ost(i);
        if (!ost->encoding_needed) continue;
        av::av_freep(&ost->enc_ctx->stats_in);
        os::CsLock lock(CodecLock());
        av::avcodec_close(ost->enc_ctx);
        FEncoderList.Remove(ost);
    }
}

void TCustomFFmpeg::CloseDecoders(TTranscodeRun& run) {
    for (int i = 0; i < run.nb_istreams(); ++i) {
        TAVInputStream* ist = run.ist(i);
        if (!ist->decoding_needed || !ist->dec_ctx) continue;
        os::CsLock lock(CodecLock());
        av::avcodec_close(ist->dec_ctx);
        FDecoderList.Remove(ist);
    }
    // The decoders close last: the run's codecs are all closed now.
    ReleaseCodecShare();
}

void TCustomFFmpeg::CloseEncoderList() {
    os::CsLock lock(CodecLock());
    for (TAVOutputStream* ost : FEncoderList.Items())
        if (ost->enc_ctx) av::avcodec_close(ost->enc_ctx);
    FEncoderList.Clear();
}

void TCustomFFmpeg::CloseDecoderList() {
    os::CsLock lock(CodecLock());
    for (TAVInputStream* ist : FDecoderList.Items())
        if (ist->dec_ctx) av::avcodec_close(ist->dec_ctx);
    FDecoderList.Clear();
    ReleaseCodecShare();
}

} // namespace media
