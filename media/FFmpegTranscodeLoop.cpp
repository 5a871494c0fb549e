// The conversion run: set-up, then one packet per turn from the input that
// lags behind in output time, with its time stamps corrected and the limits
// enforced, then flushing, trailers and the final report.
#include <cmath>
#include <mutex>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegTranscode.h"
#include "os/Clock.h"
#include "os/Convert.h"
#include "os/ScopeExit.h"

namespace media {
namespace {

void ClearNoPacket(TTranscodeRun& run) {
    std::fill(run.no_packet.begin(), run.no_packet.end(), false);
    run.no_packet_count = 0;
}

int MaxFramesIndex(const AVCodecContext* ctx) {
    const int type = ctx ? ctx->codec_type : AVMEDIA_TYPE_UNKNOWN;
    return type >= 0 && type < 4 ? type : -1;
}

// The muxed end of an output stream in seconds; 0 before its first packet.
double MuxedSeconds(const TAVOutputStream* ost) {
    return ost->mux_pts == AV_NOPTS_VALUE ? 0.0
                                          : static_cast<double>(ost->mux_pts) * av_q2d(ost->st->time_base);
}

} // namespace

void TCustomFFmpeg::Transcode() {
    OpenOutputTargets();
    Transcode(Foutput_files.data(), Fnb_output_files, Finput_files.data(), Fnb_input_files,
              Fstream_maps.data(), Fnb_stream_maps);
}

void TCustomFFmpeg::Transcode(AVFormatContext** AOutputFiles, int ANbOutputFiles,
                              AVFormatContext** AInputFiles, int ANbInputFiles,
                              const TAVStreamMap* AStreamMaps, int ANbStreamMaps) {
    TTranscodeRun run;
    run.output_files = AOutputFiles;
    run.nb_output_files = ANbOutputFiles;
    run.input_files = AInputFiles;
    run.nb_input_files = ANbInputFiles;
    run.stream_maps = AStreamMaps;
    run.nb_stream_maps = ANbStreamMaps;
    run.no_packet.assign(static_cast<size_t>(FMaxFiles), false);

    os::ScopeExit abandon([this, &run] { AbandonRun(run); });
    SetUpRun(run);
    ReadInputs(run);
    FinishRun(run);
    abandon.Dismiss();
}

void TCustomFFmpeg::SetUpRun(TTranscodeRun& run) {
    InitInputStreams(run);
    InitOutputStreams(run);
    OpenEncoders(run);
    OpenDecoders(run);
    InitInputTimestamps(run);
    ApplyMetaDataMaps(run);
    CopyAllChapters(run);
    WriteOutputHeaders(run);
    DumpStreamMapping(run);
}

void TCustomFFmpeg::AbandonRun(TTranscodeRun& run) {
    // The stage's jobs use the run's tables and encoders.
    FVideoStage.Abandon();
    CloseEncoderList();
    CloseDecoderList();
    FreeTranscodeTables(run);
}

void TCustomFFmpeg::ReadInputs(TTranscodeRun& run) {
    Ftimer_start = av::av_gettime();
    int64_t last_report = Ftimer_start;
    int file_index = 0;
    ClearNoPacket(run);
    TPacketPtr packet(av::av_packet_alloc());
    if (!packet) throw FFmpegException("av_mallocz fail");

    while (!FBroken) {
        // A paused worker parks here, between packets, holding no lock.
        CheckPause();
        if (FBroken) break;
        file_index = NextInputFile(run, file_index);
        // Nothing to read: the end, or every input asked to wait.
        if (file_index < 0) {
            if (FJoinMode || run.no_packet_count == 0) break;
            ClearNoPacket(run);
            os::SleepMs(10);
            continue;
        }
        if (OutputSizeLimitReached(run)) break;

        const int r = av::av_read_frame(run.input_files[file_index], packet.get());
        if (r == AVERROR(EAGAIN)) {
            if (!FJoinMode) {
                run.no_packet[static_cast<size_t>(file_index)] = true;
                ++run.no_packet_count;
            }
            continue;
        }
        if (r < 0) {
            if (EndOfInput(run, file_index)) continue;
            break;
        }

        ClearNoPacket(run);
        const bool handled = HandlePacket(run, file_index, packet.get());
        av::av_packet_unref(packet.get());
        if (!handled) continue;
        const int64_t now = av::av_gettime();
        if (now - last_report > ReportInterval) {
            last_report = now;
            ReportProgress(run, false, file_index);
        }
    }
}

bool TCustomFFmpeg::FrameLimitReached(const TAVOutputStream* ost) const {
    const int m = MaxFramesIndex(ost->enc_ctx);
    return m >= 0 && ost->frame_number >= Fmax_frames[m];
}

int TCustomFFmpeg::NextInputFile(const TTranscodeRun& run, int AFileIndex) const {
    if (FJoinMode) {
        const int spo = run.streams_per_output;
        for (int i = AFileIndex * spo; i < (AFileIndex + 1) * spo && i < run.nb_ostreams(); ++i)
            if (FrameLimitReached(run.ost(i))) return -1;
        return AFileIndex;
    }
    std::lock_guard<std::recursive_mutex> lock(run.mux_lock);
    int file_index = -1;
    double ipts_min = 1e100, opts_min = 1e100;
    for (int i = 0; i < run.nb_ostreams(); ++i) {
        const TAVOutputStream* ost = run.ost(i);
        const TAVInputStream* ist = run.source(ost);
        // An input past the recording time or waiting for data holds no
        // stream back, and its streams' frame limits are not looked at.
        if (ist->is_past_recording_time || run.no_packet[static_cast<size_t>(ist->file_index)]) continue;
        const double opts = MuxedSeconds(ost);
        const double ipts = static_cast<double>(ist->pts);
        if (!run.file_table[static_cast<size_t>(ist->file_index)].eof_reached) {
            if (ipts < ipts_min) {
                ipts_min = ipts;
                if (Finput_sync) file_index = ist->file_index;
            }
            if (opts < opts_min) {
                opts_min = opts;
                if (!Finput_sync) file_index = ist->file_index;
            }
        }
        if (FrameLimitReached(ost)) return -1;
    }
    return file_index;
}

bool TCustomFFmpeg::OutputSizeLimitReached(const TTranscodeRun& run) const {
    std::lock_guard<std::recursive_mutex> lock(run.mux_lock);
    return Flimit_filesize != 0 && run.nb_output_files > 0 && run.output_files[0]->pb &&
           av::avio_seek(run.output_files[0]->pb, 0, SEEK_CUR) > Flimit_filesize;
}

bool TCustomFFmpeg::EndOfInput(TTranscodeRun& run, int& AFileIndex) {
    run.file_table[static_cast<size_t>(AFileIndex)].eof_reached = 1;
    if (!FJoinMode) return !Fopt_shortest;
    // Join mode: the input has ended, the next one follows on.
    DrainInputDecoders(run, AFileIndex);
    const bool last = AFileIndex == run.nb_input_files - 1;
    if (!last) ReopenEncoders(run);
    CarryOutputClocks(run, AFileIndex, last);
    if (last) return false;
    ShiftNextInput(run, AFileIndex);
    ++AFileIndex;
    return true;
}

void TCustomFFmpeg::DrainInputDecoders(TTranscodeRun& run, int AFileIndex) {
    for (int i = 0; i < run.nb_istreams(); ++i) {
        TAVInputStream* ist = run.ist(i);
        if (ist->file_index != AFileIndex || !ist->decoding_needed) continue;
        ProcessInputPacket(run, ist, i, nullptr);
        av::avcodec_flush_buffers(ist->dec_ctx);
        ist->decoder_flushed = 1;
    }
}

void TCustomFFmpeg::CarryOutputClocks(TTranscodeRun& run, int AFileIndex, bool ALast) {
    const int spo = run.streams_per_output;
    for (int i = (AFileIndex + 1) * spo; i < run.nb_ostreams(); ++i) {
        TAVOutputStream* ost = run.ost(i);
        const TAVOutputStream* prev = run.ost(i - spo);
        ost->sync_opts = prev->sync_opts;
        ost->frame_number = prev->frame_number;
        ost->mux_pts = prev->mux_pts;
        // A reopened audio encoder starts again with its delay (MP3, AAC):
        // its first packet comes that much before the samples it is given,
        // so they follow the muxed end by it.
        const AVCodecContext* enc = ost->enc_ctx;
        if (!ALast && ost->encoding_needed && enc->codec_type == AVMEDIA_TYPE_AUDIO &&
            ost->mux_pts != AV_NOPTS_VALUE && enc->sample_rate > 0)
            ost->sync_opts =
                std::max<int64_t>(ost->sync_opts, av::av_rescale_q(ost->mux_pts, ost->st->time_base,
                                                                   AVRational{1, enc->sample_rate}) +
                                                      enc->initial_padding);
    }
}

void TCustomFFmpeg::ShiftNextInput(TTranscodeRun& run, int AFileIndex) {
    const int spo = run.streams_per_output;
    double output_end = 0;
    for (int i = AFileIndex * spo; i < (AFileIndex + 1) * spo; ++i) {
        TAVOutputStream* ost = run.ost(i);
        if (ost->mux_pts != AV_NOPTS_VALUE) output_end = std::max(output_end, MuxedSeconds(ost));
        ost->show_fps = 0;
    }
    Finput_files_ts_offset[static_cast<size_t>(AFileIndex + 1)] +=
        static_cast<int64_t>(std::nearbyint(output_end * 1000000.0));
}

bool TCustomFFmpeg::HandlePacket(TTranscodeRun& run, int AFileIndex, AVPacket* APacket) {
    AVFormatContext* ic = run.input_files[AFileIndex];
    if (Fdo_pkt_dump)
        av::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, APacket, Fdo_hex_dump,
                             ic->streams[APacket->stream_index]);
    const TAVInputFile& file = run.file_table[static_cast<size_t>(AFileIndex)];
    // A stream that appeared after the start has no record: its packets
    // are dropped.
    if (APacket->stream_index >= file.nb_streams) return true;
    const int ist_index = file.ist_index + APacket->stream_index;
    TAVInputStream* ist = run.ist(ist_index);
    if (ist->discard) return true;
    ShiftTimestamps(ist, ic, APacket, AFileIndex);
    if (Frecording_time != INT64_MAX && APacket->pts != AV_NOPTS_VALUE &&
        av::av_compare_ts(APacket->pts, ist->st->time_base, Frecording_time + Fstart_time, AV_TIME_BASE_Q) >=
            0) {
        ist->is_past_recording_time = 1;
        return true;
    }
    if (ProcessInputPacket(run, ist, ist_index, APacket) >= 0) return true;
    const std::string text = os::FormatC("Error while decoding stream #%d.%d (%s)", ist->file_index,
                                         ist->index, MediaTypeName(ist->st->codecpar->codec_type).c_str());
    if (Fexit_on_error) throw FFmpegException(text);
    if (Fverbose >= 0) FFLogger().Log(this, llVerbose, text);
    return false;
}

void TCustomFFmpeg::ShiftTimestamps(const TAVInputStream* ist, const AVFormatContext* ic, AVPacket* APacket,
                                    int AFileIndex) {
    const AVRational tb = ist->st->time_base;
    const int64_t offset = Finput_files_ts_offset[static_cast<size_t>(ist->file_index)];
    if (APacket->dts != AV_NOPTS_VALUE) APacket->dts += av::av_rescale_q(offset, AV_TIME_BASE_Q, tb);
    if (APacket->pts != AV_NOPTS_VALUE) APacket->pts += av::av_rescale_q(offset, AV_TIME_BASE_Q, tb);
    const double scale = InputTsScale(AFileIndex, APacket->stream_index);
    if (scale != 0) {
        if (APacket->pts != AV_NOPTS_VALUE)
            APacket->pts = static_cast<int64_t>(std::nearbyint(static_cast<double>(APacket->pts) * scale));
        if (APacket->dts != AV_NOPTS_VALUE)
            APacket->dts = static_cast<int64_t>(std::nearbyint(static_cast<double>(APacket->dts) * scale));
    }
    // A jump in a format that allows them (MPEG-TS) moves the file's offset
    // so that its time line goes on from where it was.
    if (APacket->dts == AV_NOPTS_VALUE || ist->next_pts == AV_NOPTS_VALUE ||
        !(ic->iformat->flags & AVFMT_TS_DISCONT))
        return;
    const int64_t pkt_dts = av::av_rescale_q(APacket->dts, tb, AV_TIME_BASE_Q);
    const int64_t delta = pkt_dts - ist->next_pts;
    const bool jump =
        std::llabs(delta) > static_cast<int64_t>(Fdts_delta_threshold * 1000000.0) || pkt_dts + 1 < ist->pts;
    if (!jump || Fcopy_ts) return;
    int64_t& file_offset = Finput_files_ts_offset[static_cast<size_t>(ist->file_index)];
    file_offset -= delta;
    if (Fverbose > 2)
        FFLogger().Log(this, llVerbose,
                       os::FormatC("timestamp discontinuity %lld, new offset= %lld",
                                   static_cast<long long>(delta), static_cast<long long>(file_offset)));
    const int64_t shift = av::av_rescale_q(delta, AV_TIME_BASE_Q, tb);
    APacket->dts -= shift;
    if (APacket->pts != AV_NOPTS_VALUE) APacket->pts -= shift;
}

void TCustomFFmpeg::FinishRun(TTranscodeRun& run) {
    // The end, also after a stop request: what the decoders and encoders
    // still hold, the trailers, the final report.
    for (int i = 0; i < run.nb_istreams(); ++i) {
        TAVInputStream* ist = run.ist(i);
        if (ist->decoding_needed && ist->decoder_flushed != 1) ProcessInputPacket(run, ist, i, nullptr);
    }
    FinishVideoStage(run);
    const int files = FJoinMode ? std::min(run.nb_output_files, 1) : run.nb_output_files;
    for (int i = 0; i < files; ++i) av::av_write_trailer(run.output_files[i]);
    ReportProgress(run, true, -1);
    CloseEncoders(run);
    CloseDecoders(run);
    FFinished = !FBroken;
    FreeTranscodeTables(run);
}

} // namespace media
