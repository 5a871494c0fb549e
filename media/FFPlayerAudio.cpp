// Stream components of a playback and its audio path.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/FFPlayerState.h"
#include "media/FFmpegLoader.h"
#include "media/PlayerMath.h"
#include "os/Convert.h"

namespace media {

int TPlayerCore::StreamComponentOpen(TVideoState* is, int index) {
    TCustomPlayer* player = is->Owner;
    AVFormatContext* ic = is->ic;
    if (index < 0 || index >= static_cast<int>(ic->nb_streams)) return -1;
    AVStream* st = ic->streams[index];
    const AVCodec* codec = av::avcodec_find_decoder(st->codecpar->codec_id);
    AVCodecContext* dec = av::avcodec_alloc_context3(codec);
    if (!dec) return -1;
    if (av::avcodec_parameters_to_context(dec, st->codecpar) < 0) {
        av::avcodec_free_context(&dec);
        return -1;
    }
    dec->pkt_timebase = st->time_base;
    dec->debug = player->debug;
    dec->workaround_bugs = player->workaround_bugs;
    if (codec && player->lowres > 0)
        dec->lowres = std::min(player->lowres, static_cast<int>(codec->max_lowres));
    dec->idct_algo = player->idct_algo;
    if (player->fast) dec->flags2 |= AV_CODEC_FLAG2_FAST;
    dec->skip_frame = static_cast<AVDiscard>(player->skip_frame);
    dec->skip_idct = static_cast<AVDiscard>(player->skip_idct);
    dec->skip_loop_filter = static_cast<AVDiscard>(player->skip_loop_filter);
    dec->error_concealment = player->error_concealment;
    dec->thread_count = 1;
    int channels = 0;
    if (dec->codec_type == AVMEDIA_TYPE_AUDIO) {
        // At most two channels reach SDL; 5.1 is mixed down.
        channels = dec->ch_layout.nb_channels == 1 ? 1 : 2;
    }
    {
        os::CsLock g(CodecLock());
        if (!codec || av::avcodec_open2(dec, codec, nullptr) < 0) {
            player->ReportError("avcodec_open() failed.", false);
            av::avcodec_free_context(&dec);
            return -1;
        }
    }
    if (dec->codec_type == AVMEDIA_TYPE_AUDIO) {
        // Everything the callback reads is set before SDL starts its thread.
        is->audio_st = st;
        is->audio_dec = dec;
        is->audio_channels = channels;
        is->audio_rate = dec->sample_rate;
        is->audio_src_fmt = -1;
        is->audio_buf = is->audio_buf1.data();
        is->audio_buf_size = 0;
        is->audio_buf_index = 0;
        // Two SDL buffers.
        is->audio_diff = TAudioDiffAverage(2.0 * 1024 / dec->sample_rate);
        is->audio_pkt = av::av_packet_alloc();
        is->audio_frame = av::av_frame_alloc();
        is->audio_pkt_sent = true;
        is->audioq.Init();
        is->audioq.Put(FlushPacket());
        SDL_AudioSpec wanted{};
        wanted.freq = dec->sample_rate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = static_cast<Uint8>(channels);
        wanted.silence = 0;
        wanted.samples = 1024;
        wanted.callback = AudioCallback;
        wanted.userdata = is;
        // Without a record for the obtained format SDL converts to the device's own format itself.
        // A driver that started but has no device to open plays silently instead.
        if (sdl::SDL_OpenAudio(&wanted, nullptr) < 0 &&
            (!player->StartSilentAudio() || sdl::SDL_OpenAudio(&wanted, nullptr) < 0)) {
            player->ReportError(std::string("SDL_OpenAudio() failed: ") + sdl::SDL_GetError(), false);
            is->audioq.End();
            is->audio_st = nullptr;
            is->audio_dec = nullptr;
            av::av_packet_free(&is->audio_pkt);
            av::av_frame_free(&is->audio_frame);
            os::CsLock g(CodecLock());
            av::avcodec_free_context(&dec);
            return -1;
        }
        is->audio_hw_buf_size = static_cast<int>(wanted.size);
    }
    st->discard = AVDISCARD_DEFAULT;
    switch (dec->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        is->AudioDuration = st->duration != AV_NOPTS_VALUE
                                ? av::av_rescale_q(st->duration, st->time_base, AVRational{1, 1000000})
                                : -1;
        is->audio_stream = index;
        sdl::SDL_PauseAudio(0);
        break;
    case AVMEDIA_TYPE_VIDEO:
        is->video_st = st;
        is->video_dec = dec;
        is->videoq.Init();
        is->videoq.Put(FlushPacket());
        is->video_stream = index;
        is->video_tid = std::make_unique<os::OsThread>([is] { VideoThread(is); });
        is->video_tid->Start();
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        is->subtitle_st = st;
        is->subtitle_dec = dec;
        is->subtitleq.Init();
        is->subtitleq.Put(FlushPacket());
        is->subtitle_stream = index;
        is->subtitle_tid = std::make_unique<os::OsThread>([is] { SubtitleThread(is); });
        is->subtitle_tid->Start();
        break;
    default:
        break;
    }
    return 0;
}

void TPlayerCore::StreamComponentClose(TVideoState* is, int index) {
    AVFormatContext* ic = is->ic;
    if (index < 0 || index >= static_cast<int>(ic->nb_streams)) return;
    AVStream* st = ic->streams[index];
    AVCodecContext* dec = nullptr;
    switch (st->codecpar->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        is->audioq.Abort();
        // Returns when the callback has finished.
        sdl::SDL_CloseAudio();
        is->audioq.End();
        is->audio_stream = -1;
        is->AudioDuration = -1;
        is->audio_st = nullptr;
        dec = is->audio_dec;
        is->audio_dec = nullptr;
        if (is->swr) av::swr_free(&is->swr);
        av::av_packet_free(&is->audio_pkt);
        av::av_frame_free(&is->audio_frame);
        is->audio_pkt_sent = true;
        break;
    case AVMEDIA_TYPE_VIDEO:
        is->videoq.Abort();
        {
            std::lock_guard<std::mutex> g(is->pictq_mutex);
            is->pictq_cond.notify_all();
        }
        if (is->video_tid) is->video_tid->Join();
        is->video_tid.reset();
        is->videoq.End();
        is->video_stream = -1;
        is->video_st = nullptr;
        dec = is->video_dec;
        is->video_dec = nullptr;
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        is->subtitleq.Abort();
        {
            std::lock_guard<std::mutex> g(is->subpq_mutex);
            is->subtitle_stream_changed = 1;
            is->subpq_cond.notify_all();
        }
        if (is->subtitle_tid) is->subtitle_tid->Join();
        is->subtitle_tid.reset();
        is->subtitleq.End();
        is->subtitle_stream = -1;
        is->subtitle_st = nullptr;
        dec = is->subtitle_dec;
        is->subtitle_dec = nullptr;
        break;
    default:
        break;
    }
    st->discard = AVDISCARD_ALL;
    if (dec) {
        os::CsLock g(CodecLock());
        av::avcodec_free_context(&dec);
    }
}

void TPlayerCore::AudioCallback(void* opaque, Uint8* stream, int len) {
    auto* is = static_cast<TVideoState*>(opaque);
    TCustomPlayer* player = is->Owner;
    player->Faudio_callback_time = av::av_gettime_relative();
    while (len > 0) {
        if (is->audio_buf_index >= is->audio_buf_size) {
            double pts = 0;
            int size = AudioDecodeFrame(is, pts);
            if (is->audioq.Aborted()) return;
            if (size < 0) {
                is->audio_buf = is->audio_buf1.data();
                std::memset(is->audio_buf, 0, 1024);
                is->audio_buf_size = 1024;
            } else {
                if (is->show_audio) UpdateSampleDisplay(is, is->audio_buf, size);
                is->audio_buf_size = SynchronizeAudio(is, size);
            }
            is->audio_buf_index = 0;
        }
        int n = std::min(len, is->audio_buf_size - is->audio_buf_index);
        if (player->FMute)
            std::memset(stream, 0, static_cast<size_t>(n));
        else
            sdl::SDL_MixAudio(stream, is->audio_buf + is->audio_buf_index, static_cast<Uint32>(n),
                              player->FAudioVolume);
        len -= n;
        stream += n;
        is->audio_buf_index += n;
    }
}

int TPlayerCore::AudioDecodeFrame(TVideoState* is, double& pts) {
    AVCodecContext* dec = is->audio_dec;
    const int channels = is->audio_channels;
    const int bytesPerFrame = 2 * channels;
    const int capacity = PlayerAudioBufferSize / bytesPerFrame;
    uint8_t* out = is->audio_buf2.data();
    auto emit = [&](int frames) {
        int size = frames * bytesPerFrame;
        is->audio_buf = out;
        pts = is->audio_clock;
        is->audio_clock = is->audio_clock + static_cast<double>(size) / (bytesPerFrame * is->audio_rate);
        return size;
    };
    for (;;) {
        // Samples the converter kept back because the buffer was full.
        if (is->swr && av::swr_get_out_samples(is->swr, 0) > 0) {
            int n = av::swr_convert(is->swr, &out, capacity, nullptr, 0);
            if (n > 0) return emit(n);
        }
        int r = av::avcodec_receive_frame(dec, is->audio_frame);
        if (r == 0) {
            AVFrame* f = is->audio_frame;
            if (!is->swr || f->format != is->audio_src_fmt || f->sample_rate != is->audio_src_rate ||
                f->ch_layout.nb_channels != is->audio_src_channels) {
                AVChannelLayout outLayout;
                av::av_channel_layout_default(&outLayout, channels);
                if (is->swr) av::swr_free(&is->swr);
                if (av::swr_alloc_set_opts2(&is->swr, &outLayout, AV_SAMPLE_FMT_S16, is->audio_rate,
                                            &f->ch_layout, static_cast<AVSampleFormat>(f->format),
                                            f->sample_rate, 0, nullptr) < 0 ||
                    av::swr_init(is->swr) < 0) {
                    is->Owner->ReportError(
                        os::FormatC("Cannot convert %s sample format to %s sample format",
                                    av::av_get_sample_fmt_name(static_cast<AVSampleFormat>(f->format)),
                                    av::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16)),
                        false);
                    av::swr_free(&is->swr);
                    av::av_frame_unref(f);
                    continue;
                }
                is->audio_src_fmt = f->format;
                is->audio_src_rate = f->sample_rate;
                is->audio_src_channels = f->ch_layout.nb_channels;
            }
            if (f->pts != AV_NOPTS_VALUE && is->audio_st)
                is->audio_clock = static_cast<double>(f->pts) * av_q2d(is->audio_st->time_base);
            int n = av::swr_convert(is->swr, &out, capacity, const_cast<const uint8_t**>(f->extended_data),
                                    f->nb_samples);
            av::av_frame_unref(f);
            if (n < 0) {
                is->Owner->ReportError("av_audio_convert() failed", false);
                continue;
            }
            if (n == 0) continue;
            return emit(n);
        }
        if (r != AVERROR(EAGAIN)) {
            if (r != AVERROR_EOF) FFLogger().Log(is->Owner, llInfo, "avcodec_decode_audio2() failed");
            av::avcodec_flush_buffers(dec);
        }
        if (!is->audio_pkt_sent) {
            if (av::avcodec_send_packet(dec, is->audio_pkt) == AVERROR(EAGAIN)) continue;
            av::av_packet_unref(is->audio_pkt);
            is->audio_pkt_sent = true;
            continue;
        }
        if (is->paused || is->audioq.Aborted()) return -1;
        if (is->audioq.Get(is->audio_pkt, false) <= 0) return -1;
        if (IsFlushPacket(is->audio_pkt)) {
            av::avcodec_flush_buffers(dec);
            if (is->swr) av::swr_free(&is->swr);
            av::av_packet_unref(is->audio_pkt);
            continue;
        }
        if (is->audio_pkt->pts != AV_NOPTS_VALUE && is->audio_st)
            is->audio_clock = static_cast<double>(is->audio_pkt->pts) * av_q2d(is->audio_st->time_base);
        is->audio_pkt_sent = false;
    }
}

int TPlayerCore::SynchronizeAudio(TVideoState* is, int size) {
    bool videoMaster = is->av_sync_type == AV_SYNC_VIDEO_MASTER && is->video_stream >= 0;
    if (!videoMaster && is->av_sync_type != AV_SYNC_EXTERNAL_CLOCK) return size;
    int n = 2 * is->audio_channels;
    double diff = GetAudioClock(is) - GetMasterClock(is);
    if (!is->audio_diff.Measure(diff)) return size;
    int wanted = SyncedAudioSize(size, diff, is->audio_rate, n, PlayerAudioBufferSize);
    // Lengthened by repeating the last sample frame, inside the buffer.
    for (int pos = size; pos + n <= wanted; pos += n)
        std::memcpy(is->audio_buf + pos, is->audio_buf + size - n, n);
    return wanted;
}

void TPlayerCore::UpdateSampleDisplay(TVideoState* is, const uint8_t* samples, int size) {
    std::lock_guard<std::mutex> g(is->sample_lock);
    const auto* s = reinterpret_cast<const int16_t*>(samples);
    int count = size / 2;
    while (count > 0) {
        int len = std::min(count, SampleArraySize - is->sample_array_index);
        std::memcpy(is->sample_array.data() + is->sample_array_index, s, static_cast<size_t>(len) * 2);
        s += len;
        is->sample_array_index += len;
        if (is->sample_array_index >= SampleArraySize) is->sample_array_index = 0;
        count -= len;
    }
}

} // namespace media
