// The encoders fed from decoded frames, in their plainest form: audio is
// converted to the encoder's format and rate and cut into its frames, each
// decoded picture is scaled when needed and encoded once, subtitles are
// encoded as they come.  Audio drift correction, picture duplication and
// dropping, cropping, padding, frame hooks and post hooks are not done here.
#include <cstring>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegTranscode.h"
#include "os/Convert.h"

namespace media {
namespace {

using E = TCustomFFmpeg;

using FramePtr = TFramePtr;
using PacketPtr = TPacketPtr;

// An empty frame of n samples in the encoder's format.
FramePtr AudioFrame(const AVCodecContext* enc, int n) {
    FramePtr frame(av::av_frame_alloc());
    if (!frame) throw FFmpegException("Out of memory in do_audio_out");
    frame->format = enc->sample_fmt;
    frame->sample_rate = enc->sample_rate;
    av::av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
    frame->nb_samples = n;
    if (av::av_frame_get_buffer(frame.get(), 0) < 0) throw FFmpegException("Out of memory in do_audio_out");
    return frame;
}

// The encoder's own words on its packet: quantiser and per-plane error.
void ReadQualityStats(TAVOutputStream* ost, const AVPacket* pkt) {
    size_t size = 0;
    const uint8_t* data = av::av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &size);
    if (!data || size < 4) return;
    int32_t quality = 0;
    std::memcpy(&quality, data, 4);
    ost->coded_quality = quality;
    const int errors = size >= 6 ? data[5] : 0;
    for (int i = 0; i < errors && i < 4 && 8 + 8 * static_cast<size_t>(i + 1) <= size; ++i)
        std::memcpy(&ost->coded_error[i], data + 8 + 8 * i, 8);
}

} // namespace

int E::ConfigureVideoFilters(TAVInputStream*, TAVOutputStream*) {
    FLastErrMsg = "video filters are not available";
    return -1;
}

void TFrameFree::operator()(AVFrame* f) const {
    av::av_frame_free(&f);
}

void TPacketFree::operator()(AVPacket* p) const {
    av::av_packet_free(&p);
}

void E::EncodeAndWrite(TTranscodeRun& run, TAVOutputStream* ost, const AVFrame* AFrame) {
    AVCodecContext* enc = ost->enc_ctx;
    const bool audio = enc->codec_type == AVMEDIA_TYPE_AUDIO;
    int r = av::avcodec_send_frame(enc, AFrame);
    if (r < 0 && r != AVERROR_EOF)
        throw FFmpegException(audio ? "Audio encoding failed" : "Video encoding failed");
    PacketPtr pkt(av::av_packet_alloc());
    if (!pkt) throw FFmpegException("av_mallocz fail");
    while ((r = av::avcodec_receive_packet(enc, pkt.get())) >= 0) {
        (audio ? Faudio_size : Fvideo_size) += pkt->size;
        ReadQualityStats(ost, pkt.get());
        if (ost->logfile && enc->stats_out) std::fputs(enc->stats_out, ost->logfile);
        av::av_packet_rescale_ts(pkt.get(), enc->time_base, ost->st->time_base);
        WritePacket(run, ost, pkt.get());
        av::av_packet_unref(pkt.get());
    }
    if (r != AVERROR(EAGAIN) && r != AVERROR_EOF)
        throw FFmpegException(audio ? "Audio encoding failed" : "Video encoding failed");
}

void E::do_audio_out(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream* ist, const uint8_t* ASamples,
                     int ASize) {
    AVCodecContext* enc = ost->enc_ctx;
    const AVCodecParameters* in = ist->st->codecpar;
    AVChannelLayout& in_layout = ist->dec_ctx->ch_layout;
    const int in_channels = in_layout.nb_channels;
    const int in_rate = ist->dec_ctx->sample_rate;
    if (in_channels <= 0 || ASize <= 0) return;
    if (!ost->resample) {
        if (av::swr_alloc_set_opts2(&ost->resample, &enc->ch_layout, enc->sample_fmt, enc->sample_rate,
                                    &in_layout, AV_SAMPLE_FMT_S16, in_rate, 0, nullptr) < 0 ||
            av::swr_init(ost->resample) < 0) {
            av::swr_free(&ost->resample);
            throw FFmpegException(os::FormatC("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                              in_channels, in->sample_rate, enc->ch_layout.nb_channels,
                                              enc->sample_rate));
        }
    }
    const int in_samples = ASize / (2 * in_channels);
    const int room = static_cast<int>(av::swr_get_delay(ost->resample, enc->sample_rate)) +
                     static_cast<int>(av::av_rescale(in_samples, enc->sample_rate, in_rate)) + 16;
    FramePtr converted = AudioFrame(enc, room);
    const uint8_t* src[1] = {ASamples};
    const int got = av::swr_convert(ost->resample, converted->extended_data, room, src, in_samples);
    if (got < 0) throw FFmpegException("Audio encoding failed");
    if (av::av_audio_fifo_write(ost->fifo, reinterpret_cast<void**>(converted->extended_data), got) < got)
        throw FFmpegException("av_fifo_realloc2() failed");

    const bool any_size =
        enc->frame_size <= 1 || (enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    const int frame_size = any_size ? std::max(av::av_audio_fifo_size(ost->fifo), 1) : enc->frame_size;
    while (av::av_audio_fifo_size(ost->fifo) >= frame_size && av::av_audio_fifo_size(ost->fifo) > 0) {
        FramePtr frame = AudioFrame(enc, frame_size);
        av::av_audio_fifo_read(ost->fifo, reinterpret_cast<void**>(frame->extended_data), frame_size);
        frame->pts = ost->sync_opts;
        ost->sync_opts += frame_size;
        EncodeAndWrite(run, ost, frame.get());
    }
}

void E::EncodeVideoFrame(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream*, AVFrame* AFrame) {
    AVCodecContext* enc = ost->enc_ctx;
    AVFrame* picture = AFrame;
    if (ost->video_resample) {
        // A decoder may change its picture size on the way; the scaler follows.
        if (AFrame->width != ost->resample_width || AFrame->height != ost->resample_height ||
            AFrame->format != ost->resample_pix_fmt) {
            ost->img_resample_ctx = av::sws_getCachedContext(
                ost->img_resample_ctx, AFrame->width, AFrame->height,
                static_cast<AVPixelFormat>(AFrame->format), enc->width, enc->height, enc->pix_fmt,
                static_cast<int>(Fsws_flags), nullptr, nullptr, nullptr);
            if (!ost->img_resample_ctx) throw FFmpegException("Cannot get resampling context");
            ost->resample_width = AFrame->width;
            ost->resample_height = AFrame->height;
            ost->resample_pix_fmt = AFrame->format;
        }
        if (av::av_frame_make_writable(ost->pict_tmp) < 0) throw FFmpegException("Video encoding failed");
        av::sws_scale(ost->img_resample_ctx, AFrame->data, AFrame->linesize, 0, AFrame->height,
                      ost->pict_tmp->data, ost->pict_tmp->linesize);
        picture = ost->pict_tmp;
    } else if (AFrame->width != enc->width || AFrame->height != enc->height ||
               AFrame->format != enc->pix_fmt) {
        return; // a picture the encoder cannot take without a scaler
    }
    FramePtr out(av::av_frame_clone(picture));
    if (!out) throw FFmpegException("Video encoding failed");
    out->pts = ost->sync_opts++;
    out->pict_type = AV_PICTURE_TYPE_NONE;
    if (ost->codec->quality > 0) out->quality = static_cast<int>(ost->codec->quality);
    ++ost->frame_number;
    EncodeAndWrite(run, ost, out.get());
}

void E::EncodeSubtitle(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream*, AVSubtitle* ASubtitle,
                       int64_t APts) {
    constexpr int subtitle_out_max_size = 1024 * 1024;
    std::vector<uint8_t> buffer(subtitle_out_max_size);
    ASubtitle->pts = APts;
    const int size =
        av::avcodec_encode_subtitle(ost->enc_ctx, buffer.data(), subtitle_out_max_size, ASubtitle);
    if (size < 0) throw FFmpegException("Subtitle encoding failed");
    PacketPtr pkt(av::av_packet_alloc());
    if (!pkt || av::av_new_packet(pkt.get(), size) < 0) throw FFmpegException("av_mallocz fail");
    std::memcpy(pkt->data, buffer.data(), static_cast<size_t>(size));
    pkt->pts = pkt->dts = av::av_rescale_q(APts, AV_TIME_BASE_Q, ost->st->time_base);
    pkt->duration = av::av_rescale_q(ASubtitle->end_display_time - ASubtitle->start_display_time,
                                     AVRational{1, 1000}, ost->st->time_base);
    WritePacket(run, ost, pkt.get());
    ++ost->frame_number;
}

void E::FlushEncoder(TTranscodeRun& run, TAVOutputStream* ost) {
    AVCodecContext* enc = ost->enc_ctx;
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO && ost->fifo && av::av_audio_fifo_size(ost->fifo) > 0) {
        const int left = av::av_audio_fifo_size(ost->fifo);
        const bool short_ok =
            enc->codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        // Encoders that take only whole frames get the rest padded with silence.
        const int n = short_ok || enc->frame_size <= 1 ? left : enc->frame_size;
        FramePtr frame = AudioFrame(enc, n);
        av::av_samples_set_silence(frame->extended_data, 0, n, enc->ch_layout.nb_channels, enc->sample_fmt);
        av::av_audio_fifo_read(ost->fifo, reinterpret_cast<void**>(frame->extended_data), left);
        frame->pts = ost->sync_opts;
        ost->sync_opts += n;
        EncodeAndWrite(run, ost, frame.get());
    }
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO || enc->codec_type == AVMEDIA_TYPE_VIDEO)
        EncodeAndWrite(run, ost, nullptr);
}

} // namespace media
