// The one way a packet of a run reaches its output file: through the
// stream's bitstream filters, then interleaved with the other streams.
#include <algorithm>
#include <mutex>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegTranscode.h"
#include "media/UnicodeProtocol.h"
#include "os/Convert.h"

namespace media {

namespace {

// Remembers where the stream's muxing stands (its time base), for the choice
// of the next input and for the progress report.
void NoteMuxPosition(TAVOutputStream* ost, const AVPacket* pkt) {
    int64_t t = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
    if (t == AV_NOPTS_VALUE) return;
    // A packet takes at least one tick (the short last frame of an audio
    // encoder rounds to none), so that what follows it starts after it.
    t += std::max<int64_t>(pkt->duration, 1);
    if (ost->mux_pts == AV_NOPTS_VALUE || t > ost->mux_pts) ost->mux_pts = t;
}

} // namespace

void TCustomFFmpeg::WritePacket(TTranscodeRun& run, TAVOutputStream* ost, AVPacket* APacket) {
    std::lock_guard<std::recursive_mutex> lock(run.mux_lock);
    AVFormatContext* oc = run.output_files[ost->file_index];
    const int table_index = [&] {
        for (int i = 0; i < run.nb_ostreams(); ++i)
            if (run.ost(i) == ost) return i;
        return -1;
    }();
    APacket->stream_index = ost->index;
    const auto& chain =
        table_index >= 0 ? run.bsf_chains[static_cast<size_t>(table_index)] : std::vector<AVBSFContext*>{};
    // A filter may hold packets back or give several for one; each packet
    // goes through the rest of the chain in turn.
    auto write = [&](AVPacket* pkt) {
        pkt->stream_index = ost->index;
        NoteMuxPosition(ost, pkt);
        const int r = av::av_interleaved_write_frame(oc, pkt);
        if (r < 0) throw FFmpegException(ErrorText("av_interleaved_write_frame()", r));
        // The muxer does not tell when the file refused its bytes (a full
        // disk): the byte stream keeps that, and the run ends there.
        if (oc->pb && oc->pb->error < 0)
            throw FFmpegException(ErrorText(DisplayFileName(oc->url ? oc->url : ""), oc->pb->error));
    };
    if (chain.empty()) {
        write(APacket);
        return;
    }
    TPacketPtr pending(av::av_packet_alloc());
    if (!pending) throw FFmpegException("av_mallocz fail");
    av::av_packet_move_ref(pending.get(), APacket);
    std::function<void(size_t, AVPacket*)> feed = [&](size_t k, AVPacket* pkt) {
        if (k == chain.size()) {
            write(pkt);
            return;
        }
        AVBSFContext* bsf = chain[k];
        // A packet the filter refuses goes on as it came, so the filter gets
        // its own reference and this one is kept.
        TPacketPtr sent(av::av_packet_clone(pkt));
        if (!sent) throw FFmpegException("av_mallocz fail");
        int r = av::av_bsf_send_packet(bsf, sent.get());
        bool passed = false;
        if (r >= 0) {
            TPacketPtr out(av::av_packet_alloc());
            if (!out) throw FFmpegException("av_mallocz fail");
            while ((r = av::av_bsf_receive_packet(bsf, out.get())) >= 0) {
                passed = true;
                feed(k + 1, out.get());
            }
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) r = 0;
        }
        if (r < 0) {
            const std::string text = ErrorText(
                os::FormatC("%s failed for stream %d, codec %s", bsf->filter->name, ost->index,
                            ost->encoding_needed ? av::avcodec_get_name(ost->enc_ctx->codec_id) : "copy"),
                r);
            if (Fexit_on_error) throw FFmpegException(text);
            FFLogger().Log(this, llError, text);
            if (!passed) feed(k + 1, pkt);
        }
        av::av_packet_unref(pkt);
    };
    feed(0, pending.get());
}

} // namespace media
