// Decoded subtitles on their way to an encoder.
#include <cstring>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegEncode.h"

namespace media {

namespace {

constexpr int subtitle_out_max_size = 1024 * 1024;

} // namespace

void EncodeSubtitle(TCustomFFmpeg& e, TAVOutputStream* ost, const TAVInputStream* ist, int64_t APts,
                    AVSubtitle* ASubtitle, const TPacketWriter& AWrite) {
    if (APts == AV_NOPTS_VALUE) {
        if (e.Fexit_on_error) throw FFmpegException("Subtitle packets must have a pts");
        FFLogger().Log(&e, llError, "Subtitle packets must have a pts");
        return;
    }
    // The engine's own buffer: conversions running at once never share it.
    if (e.Fsubtitle_out.size() < static_cast<size_t>(subtitle_out_max_size))
        e.Fsubtitle_out.resize(subtitle_out_max_size);
    AVCodecContext* enc = ost->enc_ctx;
    const bool dvb = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    // DVB subtitles are shown by one packet and cleared by a second, empty one
    // at the end time.
    const int nb = dvb ? 2 : 1;
    const unsigned rects = ASubtitle->num_rects;
    for (int i = 0; i < nb; ++i) {
        ASubtitle->pts = av::av_rescale_q(APts, ist->st->time_base, AV_TIME_BASE_Q) +
                         av::av_rescale_q(ASubtitle->start_display_time, AVRational{1, 1000}, AV_TIME_BASE_Q);
        ASubtitle->end_display_time -= ASubtitle->start_display_time;
        ASubtitle->start_display_time = 0;
        if (i == 1) ASubtitle->num_rects = 0;
        const int size =
            av::avcodec_encode_subtitle(enc, e.Fsubtitle_out.data(), subtitle_out_max_size, ASubtitle);
        ASubtitle->num_rects = rects;
        if (size < 0) throw FFmpegException("Subtitle encoding failed");
        TPacketPtr pkt(av::av_packet_alloc());
        if (!pkt || av::av_new_packet(pkt.get(), size) < 0) throw FFmpegException("Subtitle encoding failed");
        std::memcpy(pkt->data, e.Fsubtitle_out.data(), static_cast<size_t>(size));
        pkt->stream_index = ost->index;
        pkt->pts = av::av_rescale_q(ASubtitle->pts, AV_TIME_BASE_Q, ost->st->time_base);
        if (dvb) {
            // The display times are milliseconds; the stream counts in its own
            // time base (90 kHz in transport streams).
            const int64_t ms = i == 0 ? ASubtitle->start_display_time : ASubtitle->end_display_time;
            pkt->pts += av::av_rescale_q(ms, AVRational{1, 1000}, ost->st->time_base);
        } else {
            pkt->duration =
                av::av_rescale_q(ASubtitle->end_display_time, AVRational{1, 1000}, ost->st->time_base);
        }
        pkt->dts = pkt->pts;
        AWrite(pkt.get());
    }
}

} // namespace media
