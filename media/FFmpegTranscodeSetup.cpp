// The first half of a run's set-up: the tables of input and output streams,
// which input stream feeds which output stream, and what each output stream
// needs (a copy of the input's parameters, or the scaler, FIFO and two-pass
// file of an encoding).
#include <cstring>

#include "media/AVApi.h"
#include "media/FFUtils.h"
#include "media/FFmpegTranscode.h"
#include "os/Convert.h"

namespace media {
namespace {

AVMediaType OutputType(const TAVOutputStream* ost) {
    return ost->enc_ctx ? ost->enc_ctx->codec_type : ost->st->codecpar->codec_type;
}

bool ProgramHasStream(const AVFormatContext* ic, int programId, int streamIndex) {
    for (unsigned p = 0; p < ic->nb_programs; ++p) {
        const AVProgram* program = ic->programs[p];
        if (program->id != programId) continue;
        for (unsigned k = 0; k < program->nb_stream_indexes; ++k)
            if (program->stream_index[k] == static_cast<unsigned>(streamIndex)) return true;
    }
    return false;
}

// How well a stream can feed an output, for the default choice.  The
// libraries no longer tell how many frames the probe looked at, so the rule
// is: a stream whose parameters are complete (size and pixel format, or rate,
// channels and sample format) beats one whose are not; then the larger
// picture or the more channels wins; of equal streams the earliest in the
// input stream table.
struct TStreamRank {
    int complete = 0;
    int64_t amount = 0;
    bool operator>(const TStreamRank& o) const {
        return complete != o.complete ? complete > o.complete : amount > o.amount;
    }
};

TStreamRank RankStream(const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    TStreamRank rank;
    switch (par->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        rank.complete = par->width > 0 && par->height > 0 && par->format >= 0;
        rank.amount = static_cast<int64_t>(par->width) * par->height;
        break;
    case AVMEDIA_TYPE_AUDIO:
        rank.complete = par->sample_rate > 0 && par->ch_layout.nb_channels > 0 && par->format >= 0;
        rank.amount = par->ch_layout.nb_channels;
        break;
    default:
        rank.complete = 1;
        break;
    }
    return rank;
}

} // namespace

void TCustomFFmpeg::InitInputStreams(TTranscodeRun& run) {
    run.file_table.assign(static_cast<size_t>(run.nb_input_files), TAVInputFile{});
    int total = 0;
    for (int i = 0; i < run.nb_input_files; ++i) {
        TAVInputFile& f = run.file_table[static_cast<size_t>(i)];
        f.ist_index = total;
        f.nb_streams = static_cast<int>(run.input_files[i]->nb_streams);
        total += f.nb_streams;
    }
    run.ist_table.clear();
    run.ist_table.reserve(static_cast<size_t>(total));
    for (int i = 0; i < run.nb_input_files; ++i) {
        AVFormatContext* ic = run.input_files[i];
        for (int k = 0; k < run.file_table[static_cast<size_t>(i)].nb_streams; ++k) {
            auto ist = std::make_unique<TAVInputStream>();
            ist->st = ic->streams[k];
            TInputStreamCodec* rec = InputStream(i, k);
            ist->dec_ctx = rec ? rec->dec.get() : nullptr;
            ist->file_index = i;
            ist->index = k;
            ist->discard = 1;
            if (Frate_emu) ist->start = av::av_gettime();
            run.ist_table.push_back(std::move(ist));
        }
    }
}

void TCustomFFmpeg::InitOutputStreams(TTranscodeRun& run) {
    int total = 0;
    for (int i = 0; i < run.nb_output_files; ++i) {
        AVFormatContext* oc = run.output_files[i];
        if (oc->nb_streams == 0) {
            av::av_dump_format(oc, i, oc->url, 1);
            throw FFmpegException(os::FormatC("Output file #%d does not contain any stream", i));
        }
        if (i == 0) run.streams_per_output = static_cast<int>(oc->nb_streams);
        total += static_cast<int>(oc->nb_streams);
    }
    if (run.nb_stream_maps > 0 && run.nb_stream_maps != total)
        throw FFmpegException("Number of stream maps must match number of output streams");
    auto exists = [&run](int file, int stream) {
        return file >= 0 && file < run.nb_input_files && stream >= 0 &&
               stream < run.file_table[static_cast<size_t>(file)].nb_streams;
    };
    for (int n = 0; n < run.nb_stream_maps; ++n) {
        const TAVStreamMap& m = run.stream_maps[n];
        if (!exists(m.file_index, m.stream_index))
            throw FFmpegException(
                os::FormatC("Could not find input stream #%d.%d", m.file_index, m.stream_index));
        if (!exists(m.sync_file_index, m.sync_stream_index))
            throw FFmpegException(
                os::FormatC("Could not find sync stream #%d.%d", m.sync_file_index, m.sync_stream_index));
    }
    run.ost_table.clear();
    run.ost_table.reserve(static_cast<size_t>(total));
    for (int n = 0; n < total; ++n) run.ost_table.push_back(std::make_unique<TAVOutputStream>());
    run.bsf_chains.assign(static_cast<size_t>(total), {});
    MapOutputStreams(run);
    SetupCodecParameters(run);
}

void TCustomFFmpeg::MapOutputStreams(TTranscodeRun& run) {
    int n = 0;
    for (int j = 0; j < run.nb_output_files; ++j) {
        AVFormatContext* oc = run.output_files[j];
        for (int k = 0; k < static_cast<int>(oc->nb_streams); ++k, ++n) {
            TAVOutputStream* ost = run.ost(n);
            ost->file_index = j;
            ost->index = k;
            ost->st = oc->streams[k];
            ost->codec = OutputStream(j, k);
            ost->enc_ctx = ost->codec ? ost->codec->enc.get() : nullptr;
            if (run.nb_stream_maps > 0)
                MapStreamByMap(run, ost, n);
            else
                ChooseSourceStream(run, ost, j);
            TAVInputStream* ist = run.source(ost);
            ist->discard = 0;
            if (run.nb_stream_maps > 0) {
                const TAVStreamMap& m = run.stream_maps[n];
                ost->sync_ist = run.ist(run.file_table[static_cast<size_t>(m.sync_file_index)].ist_index +
                                        m.sync_stream_index);
            } else {
                ost->sync_ist = ist;
            }
            ost->show_fps = 1;
        }
    }
}

void TCustomFFmpeg::MapStreamByMap(TTranscodeRun& run, TAVOutputStream* ost, int n) {
    const TAVStreamMap& m = run.stream_maps[n];
    ost->source_index = run.file_table[static_cast<size_t>(m.file_index)].ist_index + m.stream_index;
    const AVMediaType in_type = run.source(ost)->st->codecpar->codec_type;
    if (in_type != OutputType(ost)) {
        AVFormatContext* oc = run.output_files[ost->file_index];
        av::av_dump_format(oc, ost->file_index, oc->url, 1);
        throw FFmpegException(os::FormatC("Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                                          m.file_index, m.stream_index, MediaTypeName(in_type).c_str(),
                                          ost->file_index, ost->index,
                                          MediaTypeName(OutputType(ost)).c_str()));
    }
}

void TCustomFFmpeg::ChooseSourceStream(TTranscodeRun& run, TAVOutputStream* ost, int j) {
    const AVMediaType type = OutputType(ost);
    int found = -1;
    TStreamRank best;
    // A cover picture feeds an output only when a map names it.
    auto cover = [](const TAVInputStream* ist) {
        return (ist->st->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
    };
    for (int i = 0; i < run.nb_istreams(); ++i) {
        const TAVInputStream* ist = run.ist(i);
        if (cover(ist)) continue;
        if (Fopt_programid != 0 &&
            !ProgramHasStream(run.input_files[ist->file_index], Fopt_programid, ist->index))
            continue;
        if (!ist->discard || ist->st->discard == AVDISCARD_ALL || ist->st->codecpar->codec_type != type)
            continue;
        if (FJoinMode && ist->file_index != j) continue;
        const TStreamRank rank = RankStream(ist->st);
        if (found < 0 || rank > best) {
            found = i;
            best = rank;
        }
    }
    // Every stream of the kind is taken: the last one feeds this output too.
    if (found < 0 && Fopt_programid == 0 && !FJoinMode)
        for (int i = 0; i < run.nb_istreams(); ++i) {
            const TAVInputStream* ist = run.ist(i);
            if (ist->st->codecpar->codec_type == type && ist->st->discard != AVDISCARD_ALL && !cover(ist))
                found = i;
        }
    if (found < 0) {
        AVFormatContext* oc = run.output_files[j];
        av::av_dump_format(oc, j, oc->url, 1);
        throw FFmpegException(os::FormatC("Could not find input stream matching output stream #%d.%d (%s)", j,
                                          ost->index, MediaTypeName(type).c_str()));
    }
    ost->source_index = found;
}

void TCustomFFmpeg::SetupCodecParameters(TTranscodeRun& run) {
    for (int i = 0; i < run.nb_ostreams(); ++i) {
        TAVOutputStream* ost = run.ost(i);
        const TAVInputStream* ist = run.source(ost);
        // In join mode the later blocks share the first block's stream and
        // codec; only their own records (sources, scaler, FIFO) are prepared.
        const bool shared = FJoinMode && i >= run.streams_per_output;
        if (!shared) {
            const AVDictionaryEntry* tag = nullptr;
            while ((tag = av::av_dict_get(ist->st->metadata, "", tag, AV_DICT_IGNORE_SUFFIX)))
                av::av_dict_set(&ost->st->metadata, tag->key, tag->value, AV_DICT_DONT_OVERWRITE);
            ost->st->disposition = ist->st->disposition;
            if (ost->enc_ctx) {
                ost->enc_ctx->bits_per_raw_sample = ist->st->codecpar->bits_per_raw_sample;
                ost->enc_ctx->chroma_sample_location = ist->st->codecpar->chroma_location;
            }
        }
        if (!ost->enc_ctx) throw FFmpegException("invalid codec_type of output stream");
        if (ost->codec->stream_copy) {
            // A copied packet keeps the demuxer's time stamps, and some
            // containers leave the pts out (MPEG-PS: one per PES, which may
            // hold several pictures).  Only the packets that follow tell a
            // reordered picture's pts, so the demuxer is asked to look ahead.
            run.input_files[run.source(ost)->file_index]->flags |= AVFMT_FLAG_GENPTS;
            if (!shared) CopyStreamParameters(run, ost);
        } else {
            PrepareEncoding(run, i);
        }
        const AVCodecContext* codec = ost->enc_ctx;
        if (codec->codec_type == AVMEDIA_TYPE_VIDEO) {
            const int64_t need = 6LL * codec->width * codec->height + 200;
            if (need > Fbit_buffer_size)
                Fbit_buffer_size = static_cast<int>(std::min<int64_t>(need, INT32_MAX));
        }
    }
}

void TCustomFFmpeg::CopyStreamParameters(TTranscodeRun& run, TAVOutputStream* ost) {
    const TAVInputStream* ist = run.source(ost);
    const AVCodecParameters* icodec = ist->st->codecpar;
    AVCodecContext* codec = ost->enc_ctx;
    const AVOutputFormat* of = run.output_files[ost->file_index]->oformat;
    if (static_cast<int64_t>(icodec->extradata_size) + AV_INPUT_BUFFER_PADDING_SIZE > INT32_MAX)
        throw FFmpegException("icodec.extradata_size is invalid (too large)");

    // The media type is refused before anything is taken over.
    switch (icodec->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        if (FOnCustomHook)
            throw FFmpegException("-vcodec copy and CustomHook are incompatible (frames are not decoded)");
        if (Fusing_vhook)
            throw FFmpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
        if (!(FPostHooks == TPostHooks{}))
            throw FFmpegException("-vcodec copy and PostHooks are incompatible (frames are not decoded)");
        break;
    case AVMEDIA_TYPE_AUDIO:
        if (Faudio_volume != 256)
            throw FFmpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        break;
    default:
        throw FFmpegException("invalid codec_type of output stream");
    }

    // The whole parameter set of the input (colour, profile, field order and
    // the rest that muxers now read), then what the copy decides itself.
    const uint32_t own_tag = codec->codec_tag;
    const AVRational own_sar = codec->sample_aspect_ratio;
    if (av::avcodec_parameters_to_context(codec, icodec) < 0) throw FFmpegException("av_mallocz fail");
    codec->codec_tag = own_tag;
    if (!codec->codec_tag) {
        const AVCodecTag* const* table = of->codec_tag;
        if (!table || av::av_codec_get_id(table, icodec->codec_tag) == icodec->codec_id ||
            av::av_codec_get_tag(table, icodec->codec_id) == 0)
            codec->codec_tag = icodec->codec_tag;
    }

    // The libraries keep no codec time base for an input stream; the frame
    // rate (or the sample rate) stands for it.
    const AVRational st_tb = ist->st->time_base;
    AVRational codec_tb = st_tb;
    if (icodec->codec_type == AVMEDIA_TYPE_VIDEO && ist->st->r_frame_rate.num > 0)
        codec_tb = av_inv_q(ist->st->r_frame_rate);
    else if (icodec->codec_type == AVMEDIA_TYPE_AUDIO && icodec->sample_rate > 0)
        codec_tb = AVRational{1, icodec->sample_rate};
    if (av_q2d(codec_tb) > av_q2d(st_tb) && av_q2d(st_tb) < 1.0 / 1000)
        av::av_reduce(&codec->time_base.num, &codec->time_base.den, codec_tb.num, codec_tb.den, INT32_MAX);
    else
        codec->time_base = st_tb;

    if (icodec->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (own_sar.num) codec->sample_aspect_ratio = own_sar;
    } else if (icodec->codec_type == AVMEDIA_TYPE_AUDIO) {
        if ((codec->block_align == 1 && codec->codec_id == AV_CODEC_ID_MP3) ||
            codec->codec_id == AV_CODEC_ID_AC3)
            codec->block_align = 0;
    }
}

void TCustomFFmpeg::PrepareEncoding(TTranscodeRun& run, int i) {
    TAVOutputStream* ost = run.ost(i);
    TAVInputStream* ist = run.source(ost);
    AVCodecContext* codec = ost->enc_ctx;
    const AVCodecParameters* icodec = ist->st->codecpar;
    switch (codec->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        // The FIFO holds what the encoder takes, cut into its frames later.
        ost->fifo = av::av_audio_fifo_alloc(codec->sample_fmt == AV_SAMPLE_FMT_NONE ? AV_SAMPLE_FMT_S16
                                                                                    : codec->sample_fmt,
                                            std::max(codec->ch_layout.nb_channels, 1), 1024);
        if (!ost->fifo) throw FFmpegException("av_fifo_alloc fail");
        ost->reformat_pair = -6;
        ost->audio_resample = codec->sample_rate != icodec->sample_rate || Faudio_sync_method > 1;
        // Decoders that can down-mix (AC-3, DTS) are asked for the
        // encoder's channel count, as request_channels once did; the
        // resampler gives the count for the rest.
        if (ist->dec_ctx && codec->ch_layout.nb_channels > 0) {
            AVChannelLayout wanted{};
            av::av_channel_layout_default(&wanted, codec->ch_layout.nb_channels);
            char name[64] = {};
            if (av::av_channel_layout_describe(&wanted, name, sizeof name) > 0)
                av::av_opt_set(ist->dec_ctx, "downmix", name, AV_OPT_SEARCH_CHILDREN);
            av::av_channel_layout_uninit(&wanted);
        }
        ist->decoding_needed = 1;
        ost->encoding_needed = 1;
        break;
    case AVMEDIA_TYPE_VIDEO: {
        if (codec->pix_fmt == AV_PIX_FMT_NONE)
            throw FFmpegException("Video pixel format is unknown, stream cannot be encoded");
        const int top = Fframe_topBand, bottom = Fframe_bottomBand, left = Fframe_leftBand,
                  right = Fframe_rightBand;
        const int in_w = icodec->width - left - right, in_h = icodec->height - top - bottom;
        const AVPixelFormat in_fmt = static_cast<AVPixelFormat>(icodec->format);
        ost->video_crop = top + bottom + left + right != 0;
        ost->video_resample = in_w != codec->width || in_h != codec->height || in_fmt != codec->pix_fmt;
        if (ost->video_crop) {
            ost->topBand = ost->original_topBand = top;
            ost->bottomBand = ost->original_bottomBand = bottom;
            ost->leftBand = ost->original_leftBand = left;
            ost->rightBand = ost->original_rightBand = right;
        }
        if (ost->video_resample) {
            ost->pict_tmp = av::av_frame_alloc();
            if (!ost->pict_tmp) throw FFmpegException("Cannot allocate temp picture, check pix fmt");
            ost->pict_tmp->format = codec->pix_fmt;
            ost->pict_tmp->width = codec->width;
            ost->pict_tmp->height = codec->height;
            if (av::av_frame_get_buffer(ost->pict_tmp, 0) < 0)
                throw FFmpegException("Cannot allocate temp picture, check pix fmt");
            int64_t flags = Fsws_flags;
            if (FOptions.sws_opts && av::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &flags) >= 0)
                Fsws_flags = static_cast<unsigned>(flags);
            ost->img_resample_ctx =
                in_w > 0 && in_h > 0 && in_fmt != AV_PIX_FMT_NONE
                    ? av::sws_getContext(in_w, in_h, in_fmt, codec->width, codec->height, codec->pix_fmt,
                                         static_cast<int>(Fsws_flags), nullptr, nullptr, nullptr)
                    : nullptr;
            if (!ost->img_resample_ctx) throw FFmpegException("Cannot get resampling context");
            if (!FEnableFilter) {
                ost->original_height = icodec->height;
                ost->original_width = icodec->width;
            }
            codec->bits_per_raw_sample = 0;
        }
        ost->resample_height = in_h;
        ost->resample_width = in_w;
        ost->resample_pix_fmt = in_fmt;
        ost->encoding_needed = 1;
        ist->decoding_needed = 1;
        FLastErrMsg.clear();
        if (FEnableFilter && ConfigureVideoFilters(ist, ost) != 0) {
            FLastErrMsg =
                FLastErrMsg.empty() ? "Error opening filters!" : "Error opening filters: " + FLastErrMsg;
            throw FFmpegException(FLastErrMsg);
        }
        break;
    }
    case AVMEDIA_TYPE_SUBTITLE:
        ost->encoding_needed = 1;
        ist->decoding_needed = 1;
        break;
    default:
        throw FFmpegException("invalid codec_type of output stream");
    }
    if (ost->encoding_needed && (codec->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)))
        OpenPassLogFile(run, i);
}

void TCustomFFmpeg::OpenPassLogFile(TTranscodeRun& run, int i) {
    TAVOutputStream* ost = run.ost(i);
    AVCodecContext* codec = ost->enc_ctx;
    // A relative name is taken from the current folder, which the program
    // never changes.
    std::string name = os::FormatC(
        "%s-%d.log", Fpass_logfilename_prefix.empty() ? "ffmpeg2pass" : Fpass_logfilename_prefix.c_str(), i);
    if (codec->flags & AV_CODEC_FLAG_PASS1) {
        ost->logfile = std::fopen(name.c_str(), "wb");
        if (!ost->logfile)
            throw FFmpegException(os::FormatC("Cannot write log file %s for pass-1 encoding", name.c_str()));
        return;
    }
    uint8_t* buffer = nullptr;
    int64_t size = 0;
    const int r = ReadWholeFile(name.c_str(), buffer, size);
    if (r == -12)
        throw FFmpegException(
            os::FormatC("Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding",
                        name.c_str()));
    if (r != 0)
        throw FFmpegException(
            os::FormatC("Cannot read file: Error reading log file \"%s\" for pass-2 encoding", name.c_str()));
    av::av_freep(&codec->stats_in);
    codec->stats_in = reinterpret_cast<char*>(buffer);
}

void TCustomFFmpeg::FreeTranscodeTables(TTranscodeRun& run) {
    run.file_table.clear();
    for (auto& ist : run.ist_table)
        if (ist) {
            av::swr_free(&ist->to_s16);
            av::av_channel_layout_uninit(&ist->s16_layout);
        }
    run.ist_table.clear();
    for (size_t i = 0; i < run.ost_table.size(); ++i) {
        TAVOutputStream* ost = run.ost_table[i].get();
        if (!ost) continue;
        if (ost->logfile) {
            std::fclose(ost->logfile);
            ost->logfile = nullptr;
        }
        if (ost->fifo) av::av_audio_fifo_free(ost->fifo);
        ost->fifo = nullptr;
        av::av_frame_free(&ost->pict_tmp);
        if (ost->img_resample_ctx) av::sws_freeContext(ost->img_resample_ctx);
        ost->img_resample_ctx = nullptr;
        ost->video_resample = 0;
        av::swr_free(&ost->resample);
        av::swr_free(&ost->reformat_ctx);
        av::av_channel_layout_uninit(&ost->convert_layout);
        if (i < run.bsf_chains.size())
            for (AVBSFContext*& bsf : run.bsf_chains[i]) av::av_bsf_free(&bsf);
    }
    run.ost_table.clear();
    run.bsf_chains.clear();
}

} // namespace media
