// Decoded audio on its way to an encoder.  The decoder's samples arrive as
// interleaved 16-bit samples at the decoded frames' rate and layout (which a
// stream may change in its middle), so the sync arithmetic below counts in
// those; one converter per output stream then gives the encoder its format,
// rate and layout, and is made anew when what arrives changes.
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegEncode.h"
#include "os/Convert.h"

namespace media {

void TFrameFree::operator()(AVFrame* frame) const {
    if (frame) av::av_frame_free(&frame);
}

namespace {

using E = TCustomFFmpeg;

// A layout with a channel order; an unspecified one gets the default order
// of its count, which the converter needs.
AVChannelLayout OrderedLayout(const AVChannelLayout& layout) {
    AVChannelLayout out{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC || layout.order == AV_CHANNEL_ORDER_CUSTOM)
        av::av_channel_layout_default(&out, layout.nb_channels);
    else
        av::av_channel_layout_copy(&out, &layout);
    return out;
}

// A converter from the decoder's 16-bit samples to the encoder's format, rate
// and layout, with the resampler's filter of 16 taps, 2^10 phases, no linear
// interpolation and a cut-off at 0.8.
SwrContext* NewConverter(const AVChannelLayout& layout, int rate, const AVCodecContext* enc) {
    AVChannelLayout in = OrderedLayout(layout);
    AVChannelLayout out = OrderedLayout(enc->ch_layout);
    SwrContext* swr = nullptr;
    int r = av::swr_alloc_set_opts2(&swr, &out, enc->sample_fmt, enc->sample_rate, &in, AV_SAMPLE_FMT_S16,
                                    rate, 0, nullptr);
    av::av_channel_layout_uninit(&in);
    av::av_channel_layout_uninit(&out);
    if (r < 0 || !swr) return nullptr;
    av::av_opt_set_int(swr, "filter_size", 16, 0);
    av::av_opt_set_int(swr, "phase_shift", 10, 0);
    av::av_opt_set_int(swr, "linear_interp", 0, 0);
    av::av_opt_set_double(swr, "cutoff", 0.8, 0);
    if (av::swr_init(swr) < 0) av::swr_free(&swr);
    return swr;
}

// The encoder's time stamp for an output position in samples.
int64_t SamplesToEncoderTime(const AVCodecContext* enc, int64_t samples) {
    return av::av_rescale_q(samples, AVRational{1, enc->sample_rate}, enc->time_base);
}

} // namespace

TFramePtr NewAudioFrame(const AVCodecContext* enc, int ASamples) {
    TFramePtr frame(av::av_frame_alloc());
    if (!frame) throw FFmpegException("Out of memory in do_audio_out");
    frame->format = enc->sample_fmt;
    frame->sample_rate = enc->sample_rate;
    av::av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout);
    frame->nb_samples = ASamples;
    if (av::av_frame_get_buffer(frame.get(), 0) < 0) throw FFmpegException("Out of memory in do_audio_out");
    return frame;
}

bool AnyFrameSize(const AVCodecContext* enc) {
    return enc->frame_size <= 1 ||
           (enc->codec && (enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE));
}

void AudioOut(E& e, TAVOutputStream* ost, TAVInputStream* ist, const uint8_t* ASamples, int ASize,
              const TFrameEncoder& AEncode) {
    AVCodecContext* enc = ost->enc_ctx;
    const AVCodecContext* dec = ist->dec_ctx;
    // Samples that did not come through the run's decoding are the decoder's.
    const bool decoded = ist->s16_layout.nb_channels > 0;
    const AVChannelLayout& in_layout = decoded ? ist->s16_layout : dec->ch_layout;
    const int in_rate = decoded ? ist->s16_rate : dec->sample_rate;
    const int dec_channels = in_layout.nb_channels;
    const int enc_channels = enc->ch_layout.nb_channels;
    const int isize = 2;
    const int osize = av::av_get_bytes_per_sample(enc->sample_fmt);
    const int frame_size = enc->frame_size;
    if (dec_channels <= 0 || enc_channels <= 0 || osize <= 0 || in_rate <= 0 || enc->sample_rate <= 0)
        throw FFmpegException(os::FormatC("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                          dec_channels, in_rate, enc_channels, enc->sample_rate));
    if (ost->convert_rate != in_rate ||
        av::av_channel_layout_compare(&ost->convert_layout, &in_layout) != 0) {
        av::swr_free(&ost->resample);
        av::swr_free(&ost->reformat_ctx);
        ost->reformat_pair = -6;
        av::av_channel_layout_uninit(&ost->convert_layout);
        if (av::av_channel_layout_copy(&ost->convert_layout, &in_layout) < 0)
            throw FFmpegException("Out of memory in do_audio_out");
        ost->convert_rate = in_rate;
    }
    const uint8_t* buf = ASamples;
    int size = ASize;
    int64_t planned = size;

    for (;;) {
        // The sizes a chunk of this length can reach, and the refusal of a
        // chunk no buffer of ours could hold.
        int64_t buf_samples = (planned + isize * dec_channels - 1) / (isize * dec_channels);
        buf_samples = (buf_samples * enc->sample_rate + in_rate) / in_rate;
        buf_samples = std::max<int64_t>(buf_samples * 2 + 10000, frame_size);
        const int64_t audio_buf_size = buf_samples * osize * enc_channels;
        const int64_t audio_out_size =
            std::max<int64_t>(audio_buf_size, static_cast<int64_t>(frame_size) * osize * enc_channels) +
            16384;
        if (audio_buf_size > INT_MAX || audio_out_size > INT_MAX)
            throw FFmpegException("Buffer sizes too large in do_audio_out");

        // A change of channel count or rate, and drift compensation, need the
        // resampler; once set it stays.
        if (enc_channels != dec_channels || enc->sample_rate != in_rate || e.Faudio_sync_method > 1)
            ost->audio_resample = 1;
        if (ost->audio_resample && !ost->resample) {
            if (dec->sample_fmt != AV_SAMPLE_FMT_S16 && e.Fverbose > 0)
                FFLogger().Log(&e, llVerbose, "Warning, using s16 intermediate sample format for resampling");
            ost->resample = NewConverter(in_layout, in_rate, enc);
            if (!ost->resample)
                throw FFmpegException(
                    os::FormatC("Can not resample %d channels @ %d Hz to %d channels @ %d Hz", dec_channels,
                                in_rate, enc_channels, enc->sample_rate));
        }
        const int pair = static_cast<int8_t>(enc->sample_fmt) + 5 * static_cast<int8_t>(AV_SAMPLE_FMT_S16);
        if (!ost->audio_resample && enc->sample_fmt != AV_SAMPLE_FMT_S16 && pair != ost->reformat_pair) {
            av::swr_free(&ost->reformat_ctx);
            ost->reformat_ctx = NewConverter(in_layout, in_rate, enc);
            if (!ost->reformat_ctx)
                throw FFmpegException(os::FormatC("Cannot convert %s sample format to %s sample format",
                                                  av::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16),
                                                  av::av_get_sample_fmt_name(enc->sample_fmt)));
            ost->reformat_pair = pair;
        }

        // Without a sync method the output keeps to its own input's clock: the
        // clock of another stream (a sync map) moves in that stream's steps
        // and would give chunks the same or an earlier time.
        const TAVInputStream* clock = e.Faudio_sync_method == 0 ? ist : ost->sync_ist;
        const double ipts = static_cast<double>(clock->pts - e.Fstart_time) / 1000000.0;
        const int64_t fifo_samples = ost->fifo ? av::av_audio_fifo_size(ost->fifo) : 0;
        if (e.Faudio_sync_method == 0) {
            // The input's clock places the chunk, but never before what the
            // encoder already has: sources whose frames do not match their
            // time stamps (Vorbis block switching, times rounded to the
            // millisecond) would otherwise hand the muxer a time twice.
            ost->sync_opts =
                std::max<int64_t>(std::llrint(ipts * enc->sample_rate) - fifo_samples, ost->sync_opts);
            break;
        }
        const double delta = ipts * enc->sample_rate - static_cast<double>(ost->sync_opts) - fifo_samples;
        const double idelta = delta * in_rate / enc->sample_rate;
        int64_t byte_delta = static_cast<int64_t>(idelta) * 2 * dec_channels;
        if (std::fabs(delta) <= 50) break;
        if (ist->is_start ||
            std::fabs(delta) > enc->sample_rate * static_cast<double>(e.Faudio_drift_threshold)) {
            if (byte_delta < 0) {
                byte_delta = std::max<int64_t>(byte_delta, -size);
                buf += -byte_delta;
                size -= static_cast<int>(-byte_delta);
                if (e.Fverbose > 2)
                    FFLogger().Log(&e, llVerbose, "discarding %d audio samples", static_cast<int>(-delta));
                if (size <= 0) return;
                ist->is_start = 0;
                break;
            }
            if (byte_delta > planned - size) {
                // Size the buffers for the longer chunk and look again.
                planned = byte_delta + size;
                continue;
            }
            ist->is_start = 0;
            if (!e.Finput_tmp.Reserve(static_cast<size_t>(byte_delta + size))) throw std::bad_alloc();
            std::memset(e.Finput_tmp.data(), 0, static_cast<size_t>(byte_delta));
            std::memcpy(e.Finput_tmp.data() + byte_delta, buf, static_cast<size_t>(size));
            buf = e.Finput_tmp.data();
            size += static_cast<int>(byte_delta);
            if (e.Fverbose > 2)
                FFLogger().Log(&e, llVerbose, "adding %d audio samples of silence", static_cast<int>(delta));
        } else if (e.Faudio_sync_method > 1) {
            const int comp = std::clamp(static_cast<int>(delta), -e.Faudio_sync_method, e.Faudio_sync_method);
            Check(ost->audio_resample != 0, "FFmpegAudioOut");
            // The program's own "%f" writes two decimals.
            if (e.Fverbose > 2)
                FFLogger().Log(&e, llVerbose, "compensating audio timestamp drift:%.2f compensation:%d in:%d",
                               delta, comp, enc->sample_rate);
            av::swr_set_compensation(ost->resample, comp, enc->sample_rate);
        }
        break;
    }

    // The chunk in the encoder's format.
    const int in_samples = size / (isize * dec_channels);
    SwrContext* converter = ost->audio_resample ? ost->resample : ost->reformat_ctx;
    if (!ost->audio_resample && enc->sample_fmt == AV_SAMPLE_FMT_S16) converter = nullptr;
    TFramePtr converted;
    int out_samples = in_samples;
    if (converter) {
        const int room = av::swr_get_out_samples(converter, in_samples);
        if (room < 0) throw FFmpegException("Audio encoding failed");
        converted = NewAudioFrame(enc, std::max(room, 1));
        const uint8_t* in[1] = {buf};
        out_samples = av::swr_convert(converter, converted->extended_data, room, in, in_samples);
        if (out_samples < 0) {
            if (e.Fexit_on_error) throw FFmpegException("av_audio_convert() failed");
            FFLogger().Log(&e, llError, "av_audio_convert() failed");
            return;
        }
        converted->nb_samples = out_samples;
    } else {
        converted = NewAudioFrame(enc, std::max(in_samples, 1));
        std::memcpy(converted->data[0], buf, static_cast<size_t>(in_samples) * isize * dec_channels);
        converted->nb_samples = in_samples;
    }
    if (out_samples <= 0) return;

    if (AnyFrameSize(enc)) {
        // Raw sample formats and encoders of any frame size take the chunk whole.
        converted->pts = SamplesToEncoderTime(enc, ost->sync_opts);
        ost->sync_opts += out_samples;
        AEncode(converted.get());
        return;
    }
    if (!ost->fifo) {
        ost->fifo = av::av_audio_fifo_alloc(enc->sample_fmt, enc_channels, frame_size);
        if (!ost->fifo) throw FFmpegException("av_fifo_realloc2() failed");
    }
    if (av::av_audio_fifo_write(ost->fifo, reinterpret_cast<void**>(converted->extended_data), out_samples) <
        out_samples)
        throw FFmpegException("av_fifo_realloc2() failed");
    while (av::av_audio_fifo_size(ost->fifo) >= frame_size) {
        TFramePtr frame = NewAudioFrame(enc, frame_size);
        av::av_audio_fifo_read(ost->fifo, reinterpret_cast<void**>(frame->extended_data), frame_size);
        frame->pts = SamplesToEncoderTime(enc, ost->sync_opts);
        AEncode(frame.get());
        ost->sync_opts += frame_size;
    }
}

} // namespace media
