// The conversion run: set-up, then one packet per turn from the input that
// lags behind in output time, with its time stamps corrected and the limits
// enforced, then flushing, trailers and the final report.
#include <chrono>
#include <cmath>
#include <thread>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegTranscode.h"
#include "os/Convert.h"

namespace media {
namespace {

using E = TCustomFFmpeg;

void ClearNoPacket(TTranscodeRun& run) {
    std::fill(run.no_packet.begin(), run.no_packet.end(), false);
    run.no_packet_count = 0;
}

int MaxFramesIndex(const AVCodecContext* ctx) {
    const int type = ctx ? ctx->codec_type : AVMEDIA_TYPE_UNKNOWN;
    return type >= 0 && type < 4 ? type : -1;
}

} // namespace

void E::Transcode() {
    OpenOutputTargets();
    Transcode(Foutput_files.data(), Fnb_output_files, Finput_files.data(), Fnb_input_files,
              Fstream_maps.data(), Fnb_stream_maps);
}

void E::Transcode(AVFormatContext** AOutputFiles, int ANbOutputFiles, AVFormatContext** AInputFiles,
                  int ANbInputFiles, const TAVStreamMap* AStreamMaps, int ANbStreamMaps) {
    TTranscodeRun run;
    run.output_files = AOutputFiles;
    run.nb_output_files = ANbOutputFiles;
    run.input_files = AInputFiles;
    run.nb_input_files = ANbInputFiles;
    run.stream_maps = AStreamMaps;
    run.nb_stream_maps = ANbStreamMaps;
    run.no_packet.assign(static_cast<size_t>(FMaxFiles), false);

    // Whatever fails, the codecs are closed while their records still exist,
    // and the records (with an open pass-1 file) are freed before the
    // failure leaves the run.
    auto abandon = [this, &run] {
        CloseEncoderList();
        CloseDecoderList();
        FreeTranscodeTables(run);
    };
    try {
        InitInputStreams(run);
        InitOutputStreams(run);
        OpenEncoders(run);
        OpenDecoders(run);
        InitInputTimestamps(run);
        ApplyMetaDataMaps(run);
        CopyAllChapters(run);
        WriteOutputHeaders(run);
        DumpStreamMapping(run);
    } catch (...) {
        abandon();
        throw;
    }

    try {
        Ftimer_start = av::av_gettime();
        int64_t last_report = Ftimer_start;
        int file_index = 0;
        ClearNoPacket(run);
        TPacketPtr packet(av::av_packet_alloc());
        if (!packet) throw FFmpegException("av_mallocz fail");
        const int spo = run.streams_per_output;

        while (!FBroken) {
            // A paused worker parks here, between packets, holding no lock.
            CheckPause();
            if (FBroken) break;
            // 1. The input to read: the one whose output lags behind.
            if (FJoinMode) {
                for (int i = file_index * spo; i < (file_index + 1) * spo && i < run.nb_ostreams(); ++i) {
                    const TAVOutputStream* ost = run.ost(i);
                    const int m = MaxFramesIndex(ost->enc_ctx);
                    if (m >= 0 && ost->frame_number >= Fmax_frames[m]) {
                        file_index = -1;
                        break;
                    }
                }
            } else {
                file_index = -1;
                double ipts_min = 1e100, opts_min = 1e100;
                for (int i = 0; i < run.nb_ostreams(); ++i) {
                    const TAVOutputStream* ost = run.ost(i);
                    const TAVInputStream* ist = run.source(ost);
                    if (ist->is_past_recording_time || run.no_packet[static_cast<size_t>(ist->file_index)])
                        continue;
                    const double opts = ost->mux_pts == AV_NOPTS_VALUE
                                            ? 0.0
                                            : static_cast<double>(ost->mux_pts) * av_q2d(ost->st->time_base);
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
                    const int m = MaxFramesIndex(ost->enc_ctx);
                    if (m >= 0 && ost->frame_number >= Fmax_frames[m]) {
                        file_index = -1;
                        break;
                    }
                }
            }
            // 2. Nothing to read: the end, or every input asked to wait.
            if (file_index < 0) {
                if (FJoinMode || run.no_packet_count == 0) break;
                ClearNoPacket(run);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            // 3. The size limit of the first output.
            if (Flimit_filesize != 0 && run.nb_output_files > 0 && run.output_files[0]->pb &&
                av::avio_seek(run.output_files[0]->pb, 0, SEEK_CUR) > Flimit_filesize)
                break;

            // 4. The next packet.
            AVFormatContext* ic = run.input_files[file_index];
            const int r = av::av_read_frame(ic, packet.get());
            if (r == AVERROR(EAGAIN)) {
                if (!FJoinMode) {
                    run.no_packet[static_cast<size_t>(file_index)] = true;
                    ++run.no_packet_count;
                }
                continue;
            }
            if (r < 0) {
                run.file_table[static_cast<size_t>(file_index)].eof_reached = 1;
                if (!FJoinMode) {
                    if (Fopt_shortest) break;
                    continue;
                }
                // Join mode: the input has ended, the next one follows on.
                for (int i = 0; i < run.nb_istreams(); ++i) {
                    TAVInputStream* ist = run.ist(i);
                    if (ist->file_index != file_index || !ist->decoding_needed) continue;
                    ProcessInputPacket(run, ist, i, nullptr);
                    av::avcodec_flush_buffers(ist->dec_ctx);
                    ist->decoder_flushed = 1;
                }
                const bool last = file_index == run.nb_input_files - 1;
                if (!last) ReopenEncoders(run);
                for (int i = (file_index + 1) * spo; i < run.nb_ostreams(); ++i) {
                    TAVOutputStream* ost = run.ost(i);
                    ost->sync_opts = run.ost(i - spo)->sync_opts;
                    ost->frame_number = run.ost(i - spo)->frame_number;
                    ost->mux_pts = run.ost(i - spo)->mux_pts;
                    // A reopened audio encoder starts again with its delay
                    // (MP3, AAC): its first packet comes that much before the
                    // samples it is given, so they follow the muxed end by it.
                    const AVCodecContext* enc = ost->enc_ctx;
                    if (!last && ost->encoding_needed && enc->codec_type == AVMEDIA_TYPE_AUDIO &&
                        ost->mux_pts != AV_NOPTS_VALUE && enc->sample_rate > 0)
                        ost->sync_opts = std::max<int64_t>(ost->sync_opts,
                                                           av::av_rescale_q(ost->mux_pts, ost->st->time_base,
                                                                            AVRational{1, enc->sample_rate}) +
                                                               enc->initial_padding);
                }
                if (last) break;
                double output_end = 0;
                for (int i = file_index * spo; i < (file_index + 1) * spo; ++i) {
                    TAVOutputStream* ost = run.ost(i);
                    if (ost->mux_pts != AV_NOPTS_VALUE)
                        output_end = std::max(output_end,
                                              static_cast<double>(ost->mux_pts) * av_q2d(ost->st->time_base));
                    ost->show_fps = 0;
                }
                Finput_files_ts_offset[static_cast<size_t>(file_index + 1)] +=
                    static_cast<int64_t>(std::nearbyint(output_end * 1000000.0));
                ++file_index;
                continue;
            }

            // 5.-10. One packet.
            ClearNoPacket(run);
            AVPacket* pkt = packet.get();
            if (Fdo_pkt_dump)
                av::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, pkt, Fdo_hex_dump,
                                     ic->streams[pkt->stream_index]);
            bool decode_failed = false;
            const TAVInputFile& file = run.file_table[static_cast<size_t>(file_index)];
            if (pkt->stream_index < file.nb_streams) {
                const int ist_index = file.ist_index + pkt->stream_index;
                TAVInputStream* ist = run.ist(ist_index);
                if (!ist->discard) {
                    const AVRational tb = ist->st->time_base;
                    const int64_t offset = Finput_files_ts_offset[static_cast<size_t>(ist->file_index)];
                    if (pkt->dts != AV_NOPTS_VALUE) pkt->dts += av::av_rescale_q(offset, AV_TIME_BASE_Q, tb);
                    if (pkt->pts != AV_NOPTS_VALUE) pkt->pts += av::av_rescale_q(offset, AV_TIME_BASE_Q, tb);
                    const double scale = Finput_files_ts_scale[static_cast<size_t>(file_index)]
                                                              [static_cast<size_t>(pkt->stream_index)];
                    if (scale != 0) {
                        if (pkt->pts != AV_NOPTS_VALUE)
                            pkt->pts =
                                static_cast<int64_t>(std::nearbyint(static_cast<double>(pkt->pts) * scale));
                        if (pkt->dts != AV_NOPTS_VALUE)
                            pkt->dts =
                                static_cast<int64_t>(std::nearbyint(static_cast<double>(pkt->dts) * scale));
                    }
                    if (pkt->dts != AV_NOPTS_VALUE && ist->next_pts != AV_NOPTS_VALUE &&
                        (ic->iformat->flags & AVFMT_TS_DISCONT)) {
                        const int64_t pkt_dts = av::av_rescale_q(pkt->dts, tb, AV_TIME_BASE_Q);
                        const int64_t delta = pkt_dts - ist->next_pts;
                        if ((std::llabs(delta) > static_cast<int64_t>(Fdts_delta_threshold * 1000000.0) ||
                             pkt_dts + 1 < ist->pts) &&
                            !Fcopy_ts) {
                            int64_t& file_offset =
                                Finput_files_ts_offset[static_cast<size_t>(ist->file_index)];
                            file_offset -= delta;
                            if (Fverbose > 2)
                                FFLogger().Log(this, llVerbose,
                                               os::FormatC("timestamp discontinuity %lld, new offset= %lld",
                                                           static_cast<long long>(delta),
                                                           static_cast<long long>(file_offset)));
                            const int64_t shift = av::av_rescale_q(delta, AV_TIME_BASE_Q, tb);
                            pkt->dts -= shift;
                            if (pkt->pts != AV_NOPTS_VALUE) pkt->pts -= shift;
                        }
                    }
                    if (Frecording_time != INT64_MAX && pkt->pts != AV_NOPTS_VALUE &&
                        av::av_compare_ts(pkt->pts, tb, Frecording_time + Fstart_time, AV_TIME_BASE_Q) >= 0) {
                        ist->is_past_recording_time = 1;
                    } else if (ProcessInputPacket(run, ist, ist_index, pkt) < 0) {
                        const std::string text =
                            os::FormatC("Error while decoding stream #%d.%d (%s)", ist->file_index,
                                        ist->index, MediaTypeName(ist->st->codecpar->codec_type).c_str());
                        if (Fexit_on_error) throw FFmpegException(text);
                        if (Fverbose >= 0) FFLogger().Log(this, llVerbose, text);
                        decode_failed = true;
                    }
                }
            }
            // 11. The packet is done; a report now and then.
            av::av_packet_unref(pkt);
            if (decode_failed) continue;
            const int64_t now = av::av_gettime();
            if (now - last_report > ReportInterval) {
                last_report = now;
                ReportProgress(run, false, file_index);
            }
        }

        // The end, also after a stop request: what the decoders and encoders
        // still hold, the trailers, the final report.
        for (int i = 0; i < run.nb_istreams(); ++i) {
            TAVInputStream* ist = run.ist(i);
            if (ist->decoding_needed && ist->decoder_flushed != 1) ProcessInputPacket(run, ist, i, nullptr);
        }
        const int files = FJoinMode ? std::min(run.nb_output_files, 1) : run.nb_output_files;
        for (int i = 0; i < files; ++i) av::av_write_trailer(run.output_files[i]);
        ReportProgress(run, true, -1);
        CloseEncoders(run);
        CloseDecoders(run);
        FFinished = !FBroken;
        FreeTranscodeTables(run);
    } catch (...) {
        abandon();
        throw;
    }
}

} // namespace media
