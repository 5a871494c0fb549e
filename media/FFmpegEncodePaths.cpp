// The run's side of the encoding paths (FFmpegEncode.h): each encoder frame
// goes to the stream's encoder and its packets to the output file.
#include <cstring>
#include <memory>
#include <mutex>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegEncode.h"
#include "media/FFmpegTranscode.h"
#include "os/Convert.h"

namespace media {
namespace {

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

int TCustomFFmpeg::ConfigureVideoFilters(TAVInputStream* ist, TAVOutputStream* ost) {
    return media::ConfigureVideoFilters(*this, ist->dec_ctx, ost);
}

int TCustomFFmpeg::EncodeAndWrite(TTranscodeRun& run, TAVOutputStream* ost, const AVFrame* AFrame) {
    AVCodecContext* enc = ost->enc_ctx;
    const bool audio = enc->codec_type == AVMEDIA_TYPE_AUDIO;
    int r = av::avcodec_send_frame(enc, AFrame);
    if (r < 0 && r != AVERROR_EOF)
        throw FFmpegException(audio ? "Audio encoding failed" : "Video encoding failed");
    TPacketPtr pkt(av::av_packet_alloc());
    if (!pkt) throw FFmpegException("av_mallocz fail");
    int written = 0;
    while ((r = av::avcodec_receive_packet(enc, pkt.get())) >= 0) {
        std::lock_guard<std::recursive_mutex> lock(run.mux_lock);
        (audio ? Faudio_size : Fvideo_size) += pkt->size;
        written += pkt->size;
        ReadQualityStats(ost, pkt.get());
        if (ost->logfile && enc->stats_out) std::fputs(enc->stats_out, ost->logfile);
        if (!audio && !Fvstats_filename.empty()) {
            size_t size = 0;
            const uint8_t* stats = av::av_packet_get_side_data(pkt.get(), AV_PKT_DATA_QUALITY_STATS, &size);
            WriteVideoStats(*this, ost, pkt->size,
                            {ost->coded_quality, ost->coded_error[0], stats && size > 4 ? stats[4] : 0});
        }
        av::av_packet_rescale_ts(pkt.get(), enc->time_base, ost->st->time_base);
        WritePacket(run, ost, pkt.get());
        av::av_packet_unref(pkt.get());
    }
    if (r != AVERROR(EAGAIN) && r != AVERROR_EOF)
        throw FFmpegException(audio ? "Audio encoding failed" : "Video encoding failed");
    return written;
}

void TCustomFFmpeg::do_audio_out(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream* ist,
                                 const uint8_t* ASamples, int ASize) {
    AudioOut(*this, ost, ist, ASamples, ASize, [&](AVFrame* f) { return EncodeAndWrite(run, ost, f); });
}

void TCustomFFmpeg::EncodeVideoFrame(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream* ist,
                                     AVFrame* AFrame) {
    const AVFormatContext* oc = run.output_files[ost->file_index];
    if (!run.staged) {
        media::EncodeVideoFrame(*this, oc, ost, ist, AFrame,
                                [&](AVFrame* f) { return EncodeAndWrite(run, ost, f); });
        return;
    }
    // The decisions that later pictures depend on (sync, the frame limit,
    // the counts) are taken here, in picture order; the stage gets the
    // picture and the time stamps of its copies.
    const int copies = VideoCopies(*this, oc, ost, ist);
    if (copies == 0 || FBroken) return;
    // The stage gets a picture of its own.  A decoder's picture may share
    // its buffer with the packet (raw video), which this thread frees after
    // decoding; the libraries' reference counts keep that sound, but the
    // thread checker cannot see into them, and a copy keeps no decoder
    // buffer waiting in the stage's queue.
    std::shared_ptr<AVFrame> source(av::av_frame_alloc(), TFrameFree{});
    if (!source) throw FFmpegException("Video encoding failed");
    source->format = AFrame->format;
    source->width = AFrame->width;
    source->height = AFrame->height;
    if (av::av_frame_get_buffer(source.get(), 0) < 0 || av::av_frame_copy_props(source.get(), AFrame) < 0)
        throw FFmpegException("Video encoding failed");
    av::av_image_copy(source->data, source->linesize, const_cast<const uint8_t**>(AFrame->data),
                      AFrame->linesize, static_cast<AVPixelFormat>(AFrame->format), AFrame->width,
                      AFrame->height);
    const int64_t first = ost->sync_opts;
    const int hook_frame = FHookFrameNumber;
    ost->sync_opts += copies;
    ost->frame_number += copies;
    FVideoStage.Push([this, &run, ost, ist, source, first, copies, hook_frame] {
        TFramePtr view;
        const AVFrame* picture = ScaledPicture(*this, ost, ist, source.get(), view);
        if (!picture) return;
        for (int i = 0; i < copies && !FBroken; ++i)
            EncodeCopy(*this, ost->enc_ctx, ost, source.get(), picture, first + i, hook_frame,
                       [&](AVFrame* f) { return EncodeAndWrite(run, ost, f); });
    });
}

void TCustomFFmpeg::FinishVideoStage(TTranscodeRun& run) {
    if (run.staged) FVideoStage.Finish();
}

void TCustomFFmpeg::EncodeSubtitle(TTranscodeRun& run, TAVOutputStream* ost, TAVInputStream* ist,
                                   AVSubtitle* ASubtitle, int64_t APts) {
    // The caller's time is the stream's clock in microseconds.
    const int64_t pts = av::av_rescale_q(APts, AV_TIME_BASE_Q, ist->st->time_base);
    media::EncodeSubtitle(*this, ost, ist, pts, ASubtitle,
                          [&](AVPacket* pkt) { WritePacket(run, ost, pkt); });
    ++ost->frame_number;
}

void TCustomFFmpeg::FlushEncoder(TTranscodeRun& run, TAVOutputStream* ost) {
    AVCodecContext* enc = ost->enc_ctx;
    // The stage hands every picture it holds to the encoder first.
    if (enc->codec_type == AVMEDIA_TYPE_VIDEO) FinishVideoStage(run);
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO && ost->fifo && av::av_audio_fifo_size(ost->fifo) > 0) {
        const int left = av::av_audio_fifo_size(ost->fifo);
        const bool short_ok =
            enc->codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        // Encoders that take only whole frames get the rest padded with silence.
        const int n = short_ok || enc->frame_size <= 1 ? left : enc->frame_size;
        TFramePtr frame = NewAudioFrame(enc, n);
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
