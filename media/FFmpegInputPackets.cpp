// One packet of an input stream: the stream's clock, decoding (or not, for a
// stream copy), the volume, the pacing, and the hand-over to every output
// stream that this input stream feeds.
#include <algorithm>
#include <chrono>
#include <thread>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFUtils.h"
#include "media/FFmpegEncode.h"
#include "media/FFmpegTranscode.h"
#include "os/Convert.h"

namespace media {
namespace {

using E = TCustomFFmpeg;

using FramePtr = TFramePtr;

// Microseconds of one picture of the stream.
int64_t PictureDuration(const TAVInputStream* ist, const AVFrame* frame) {
    const AVCodecContext* dec = ist->dec_ctx;
    AVRational rate = dec && dec->framerate.num > 0 ? dec->framerate : ist->st->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = ist->st->r_frame_rate;
    int64_t d = FrameDuration(rate);
    if (frame && frame->repeat_pict > 0) d += d * frame->repeat_pict / 2;
    return d;
}

// The samples of a decoded frame as interleaved 16-bit samples at the same
// rate and channels, in the run's sample buffer; their size in bytes, or -1.
int ToS16(TTranscodeRun& run, TAVInputStream* ist, const AVFrame* frame) {
    const int channels = frame->ch_layout.nb_channels;
    if (channels <= 0 || frame->sample_rate <= 0) return -1;
    // A stream that changes its layout, rate or format in the middle (a
    // broadcast's 5.1 -> 2.0, joined recordings) gets a converter for its
    // new kind of frame.
    if (ist->to_s16 && (av::av_channel_layout_compare(&ist->s16_layout, &frame->ch_layout) != 0 ||
                        ist->s16_rate != frame->sample_rate || ist->s16_format != frame->format))
        av::swr_free(&ist->to_s16);
    if (!ist->to_s16) {
        av::av_channel_layout_uninit(&ist->s16_layout);
        if (av::av_channel_layout_copy(&ist->s16_layout, &frame->ch_layout) < 0) return -1;
        ist->s16_rate = frame->sample_rate;
        ist->s16_format = frame->format;
        AVChannelLayout* layout = const_cast<AVChannelLayout*>(&frame->ch_layout);
        if (av::swr_alloc_set_opts2(&ist->to_s16, layout, AV_SAMPLE_FMT_S16, frame->sample_rate, layout,
                                    static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0,
                                    nullptr) < 0 ||
            av::swr_init(ist->to_s16) < 0) {
            av::swr_free(&ist->to_s16);
            return -1;
        }
    }
    const size_t bytes = static_cast<size_t>(frame->nb_samples) * static_cast<size_t>(channels) * 2;
    // At least 192000 bytes, as the decoders' largest frame needed once.
    if (!run.samples.Reserve(std::max<size_t>(bytes, 192000))) return -1;
    uint8_t* out[1] = {run.samples.data()};
    const int n = av::swr_convert(ist->to_s16, out, frame->nb_samples,
                                  const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    return n < 0 ? -1 : n * channels * 2;
}

} // namespace

void E::ApplyVolume(int16_t* ASamples, int ACount) const {
    for (int i = 0; i < ACount; ++i) {
        const int v = (ASamples[i] * Faudio_volume + 128) >> 8;
        ASamples[i] = static_cast<int16_t>(std::clamp(v, -32768, 32767));
    }
}

void E::OutputCopiedPacket(TTranscodeRun& run, TAVInputStream* ist, TAVOutputStream* ost,
                           const AVPacket* APacket) {
    if (ost->frame_number == 0 && !(APacket->flags & AV_PKT_FLAG_KEY) && !Fcopy_initial_nonkeyframes) return;
    const AVMediaType type = ost->enc_ctx->codec_type;
    if (type == AVMEDIA_TYPE_AUDIO) Faudio_size += APacket->size;
    if (type == AVMEDIA_TYPE_VIDEO) {
        Fvideo_size += APacket->size;
        ++ost->sync_opts;
    }
    const AVRational in_tb = ist->st->time_base;
    const AVRational out_tb = ost->st->time_base;
    const int64_t offset = av::av_rescale_q(Fstart_time, AV_TIME_BASE_Q, out_tb);
    AVPacket* opkt = av::av_packet_alloc();
    if (!opkt || av::av_packet_ref(opkt, APacket) < 0) {
        av::av_packet_free(&opkt);
        throw FFmpegException("av_mallocz fail");
    }
    struct Free {
        AVPacket*& p;
        ~Free() { av::av_packet_free(&p); }
    } guard{opkt};
    opkt->stream_index = ost->index;
    opkt->pts = APacket->pts != AV_NOPTS_VALUE ? av::av_rescale_q(APacket->pts, in_tb, out_tb) - offset
                                               : AV_NOPTS_VALUE;
    opkt->dts = (APacket->dts == AV_NOPTS_VALUE ? av::av_rescale_q(ist->pts, AV_TIME_BASE_Q, out_tb)
                                                : av::av_rescale_q(APacket->dts, in_tb, out_tb)) -
                offset;
    opkt->duration = av::av_rescale_q(APacket->duration, in_tb, out_tb);
    opkt->time_base = out_tb;
    // The libraries no longer let a parser rewrite a packet for another
    // codec; the data goes out as it came in.
    WritePacket(run, ost, opkt);
    ++ost->frame_number;
}

int E::ProcessInputPacket(TTranscodeRun& run, TAVInputStream* ist, int ist_index, const AVPacket* APacket) {
    const AVCodecParameters* par = ist->st->codecpar;
    if (ist->next_pts == AV_NOPTS_VALUE) ist->next_pts = ist->pts;
    if (APacket && APacket->dts != AV_NOPTS_VALUE)
        ist->pts = ist->next_pts = av::av_rescale_q(APacket->dts, ist->st->time_base, AV_TIME_BASE_Q);

    auto output_allowed = [this, ist] { return Fstart_time == 0 || ist->pts >= Fstart_time; };
    auto pace = [this, ist] {
        if (!Frate_emu) return;
        const int64_t ahead = ist->pts - (av::av_gettime() - ist->start);
        if (ahead > 1000) std::this_thread::sleep_for(std::chrono::milliseconds(ahead / 1000));
    };
    auto each_fed = [&run, ist_index](auto&& f) {
        for (int i = 0; i < run.nb_ostreams(); ++i)
            if (run.ost(i)->source_index == ist_index) f(run.ost(i));
    };

    // Copied streams take the packet itself, once, whatever the decoder
    // makes of it.
    if (APacket) {
        ist->pts = ist->next_pts;
        if (!ist->decoding_needed) {
            if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->frame_size > 0 && par->sample_rate > 0)
                ist->next_pts += av::av_rescale(par->frame_size, 1000000, par->sample_rate);
            else if (par->codec_type == AVMEDIA_TYPE_AUDIO && APacket->duration > 0)
                ist->next_pts += av::av_rescale_q(APacket->duration, ist->st->time_base, AV_TIME_BASE_Q);
            else if (par->codec_type == AVMEDIA_TYPE_VIDEO)
                ist->next_pts += APacket->duration > 0
                                     ? av::av_rescale_q(APacket->duration, ist->st->time_base, AV_TIME_BASE_Q)
                                     : PictureDuration(ist, nullptr);
            pace();
        }
        if (output_allowed())
            each_fed([&](TAVOutputStream* ost) {
                if (!ost->encoding_needed) OutputCopiedPacket(run, ist, ost, APacket);
            });
    }
    if (!ist->decoding_needed) return 0;

    AVCodecContext* dec = ist->dec_ctx;
    if (par->codec_type == AVMEDIA_TYPE_SUBTITLE) {
        if (!APacket) return 0;
        AVSubtitle subtitle{};
        int got = 0;
        AVPacket* pkt = av::av_packet_clone(APacket);
        const int r = pkt ? av::avcodec_decode_subtitle2(dec, &subtitle, &got, pkt) : -1;
        av::av_packet_free(&pkt);
        if (r < 0) return -1;
        if (!got) return 0;
        struct Free {
            AVSubtitle& s;
            ~Free() { av::avsubtitle_free(&s); }
        } guard{subtitle};
        if (output_allowed())
            each_fed([&](TAVOutputStream* ost) {
                if (ost->encoding_needed) EncodeSubtitle(run, ost, ist, &subtitle, ist->pts);
            });
        return 0;
    }
    if (par->codec_type != AVMEDIA_TYPE_AUDIO && par->codec_type != AVMEDIA_TYPE_VIDEO) return -1;

    int result = 0;
    int r = av::avcodec_send_packet(dec, APacket);
    if (r < 0 && r != AVERROR_EOF && r != AVERROR(EAGAIN)) result = -1;
    FramePtr frame(av::av_frame_alloc());
    if (!frame) throw FFmpegException("av_mallocz fail");
    int frames_of_packet = 0;
    while (true) {
        r = av::avcodec_receive_frame(dec, frame.get());
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) break;
        if (r < 0) {
            result = -1;
            break;
        }
        // A second frame out of one packet: the decoder went on in the same
        // packet (several audio frames stored together).
        if (APacket && ++frames_of_packet == 2 &&
            ((!ist->showed_multi_packet_warning && Fverbose > 0) || Fverbose > 1)) {
            FFLogger().Log(this, llError,
                           os::FormatC("Multiple frames in a packet from stream %d", APacket->stream_index));
            ist->showed_multi_packet_warning = 1;
        }
        ist->pts = ist->next_pts;
        int sample_bytes = 0;
        if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            if (frame->sample_rate > 0)
                ist->next_pts += av::av_rescale(frame->nb_samples, 1000000, frame->sample_rate);
            sample_bytes = ToS16(run, ist, frame.get());
            if (sample_bytes < 0) {
                result = -1;
                av::av_frame_unref(frame.get());
                continue;
            }
            if (Faudio_volume != 256)
                ApplyVolume(reinterpret_cast<int16_t*>(run.samples.data()), sample_bytes / 2);
        } else {
            // A decoder on frame threads gives each picture out several
            // packets after its own, so the packet clock would stamp it late;
            // the picture's own time holds then.
            if ((dec->active_thread_type & FF_THREAD_FRAME) && frame->best_effort_timestamp != AV_NOPTS_VALUE)
                ist->pts = av::av_rescale_q(frame->best_effort_timestamp, ist->st->time_base, AV_TIME_BASE_Q);
            ist->next_pts = ist->pts + PictureDuration(ist, frame.get());
        }
        // Hooks and deinterlacing once per picture, for every output; the
        // hooks see every decoded picture, also those before the start time.
        AVFrame* picture =
            par->codec_type == AVMEDIA_TYPE_VIDEO ? PreprocessPicture(*this, ist, frame.get()) : nullptr;
        pace();
        if (output_allowed()) {
            each_fed([&](TAVOutputStream* ost) {
                if (!ost->encoding_needed) return;
                if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
                    do_audio_out(run, ost, ist, run.samples.data(), sample_bytes);
                } else if (FEnableFilter) {
                    if (!SendFilterPicture(ost, picture)) return;
                    FramePtr filtered(av::av_frame_alloc());
                    if (!filtered) throw FFmpegException("av_mallocz fail");
                    while (GetFilteredPicture(ost, filtered.get(), ist->pts) == 1) {
                        if (filtered->sample_aspect_ratio.num > 0)
                            ost->enc_ctx->sample_aspect_ratio = filtered->sample_aspect_ratio;
                        EncodeVideoFrame(run, ost, ist, filtered.get());
                    }
                } else {
                    EncodeVideoFrame(run, ost, ist, picture);
                }
            });
        }
        av::av_frame_unref(frame.get());
    }

    // The end of the input: what the encoders still hold goes out too.
    if (!APacket)
        each_fed([&](TAVOutputStream* ost) {
            if (ost->encoding_needed) FlushEncoder(run, ost);
        });
    return result;
}

} // namespace media
