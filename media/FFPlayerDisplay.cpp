// Clocks, the refresh rhythm and drawing of a playback.
#include <algorithm>
#include <climits>
#include <cmath>

#include "media/FFPlayerState.h"
#include "media/MediaErrors.h"
#include "media/PlayerMath.h"
#include "os/Clock.h"
#include "os/FrameSink.h"

namespace media {
namespace {

constexpr uint32_t kSeekWaitMs = 10000;
// At most this many pictures are decoded for each one shown, however far behind playback is.
constexpr double kMaxSkipFrames = 8.0;

void FreeSubPicture(TSubPicture& sp) {
    av::avsubtitle_free(&sp.sub);
    sp.sub = AVSubtitle{};
}

// Alpha-blends a palettised rectangle (palette already YUVA) into a YUV
// 4:2:0 picture; chroma samples take the mean alpha of the pixels of their
// 2 x 2 block that lie under the rectangle.
void BlendSubRect(uint8_t* const planes[3], const int pitches[3], const AVSubtitleRect* rect, int imgw,
                  int imgh) {
    int w = std::clamp(rect->w, 0, imgw);
    int h = std::clamp(rect->h, 0, imgh);
    int x0 = std::clamp(rect->x, 0, imgw - w);
    int y0 = std::clamp(rect->y, 0, imgh - h);
    const auto* pal = reinterpret_cast<const uint32_t*>(rect->data[1]);
    const uint8_t* idx = rect->data[0];
    if (!pal || !idx) return;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = pal[idx[y * rect->linesize[0] + x]];
            int a = static_cast<int>(c >> 24), yy = static_cast<int>((c >> 16) & 0xFF);
            uint8_t& d = planes[0][(y0 + y) * pitches[0] + x0 + x];
            d = static_cast<uint8_t>((d * (255 - a) + yy * a) / 255);
        }
    for (int cy = y0 / 2; cy <= (y0 + h - 1) / 2; ++cy)
        for (int cx = x0 / 2; cx <= (x0 + w - 1) / 2; ++cx) {
            int n = 0, sa = 0, su = 0, sv = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    int px = cx * 2 + dx - x0, py = cy * 2 + dy - y0;
                    if (px < 0 || py < 0 || px >= w || py >= h) continue;
                    uint32_t c = pal[idx[py * rect->linesize[0] + px]];
                    sa += static_cast<int>(c >> 24);
                    su += static_cast<int>((c >> 8) & 0xFF);
                    sv += static_cast<int>(c & 0xFF);
                    ++n;
                }
            if (n == 0) continue;
            int a = sa / 4;
            uint8_t& u = planes[1][cy * pitches[1] + cx];
            uint8_t& v = planes[2][cy * pitches[2] + cx];
            u = static_cast<uint8_t>((u * n * (255 - a) + su * a) / (255 * n));
            v = static_cast<uint8_t>((v * n * (255 - a) + sv * a) / (255 * n));
        }
}

// Floats from one channel's transform input to the next: 2 x nb_freq, at least 64 bytes, so
// that the second starts as aligned as the first.
size_t RdftChannelStride(int nb_freq) {
    return std::max<size_t>(2 * static_cast<size_t>(nb_freq), 16);
}

bool AudioDisplayOn(TVideoState* is) {
    return is->audio_stream >= 0 && is->show_audio != 0;
}

} // namespace

double TPlayerCore::Now() {
    return static_cast<double>(av::av_gettime_relative()) / 1000000.0;
}

void TPlayerCore::RefreshThread(TVideoState* is) {
    while (!is->abort_request) {
        int expected = 0;
        if (is->refresh.compare_exchange_strong(expected, 1) && !PushEvent(is, FF_REFRESH_EVENT))
            is->refresh = 0;
        os::SleepMs(AudioDisplayOn(is) ? static_cast<uint32_t>(std::max(1, is->Owner->rdftspeed)) : 5);
    }
}

double TPlayerCore::GetAudioClock(TVideoState* is) {
    double pts = is->audio_clock;
    int bytesPerSec = is->audio_rate * 2 * is->audio_channels;
    if (bytesPerSec) pts -= static_cast<double>(is->audio_buf_size - is->audio_buf_index) / bytesPerSec;
    return pts;
}

double TPlayerCore::GetVideoClock(TVideoState* is) {
    if (is->paused) return is->video_current_pts;
    double drift = is->video_current_pts_drift;
    if (drift != 0) return drift + Now();
    return static_cast<double>(is->StartTime) / 1000000.0;
}

double TPlayerCore::GetExternalClock(TVideoState* is) {
    return static_cast<double>(av::av_gettime() - is->external_clock_time) * 0.000001 + is->external_clock;
}

double TPlayerCore::GetMasterClock(TVideoState* is) {
    switch (is->av_sync_type) {
    case AV_SYNC_VIDEO_MASTER:
        return is->video_stream >= 0 ? GetVideoClock(is) : GetAudioClock(is);
    case AV_SYNC_AUDIO_MASTER:
        return is->audio_stream >= 0 ? GetAudioClock(is) : GetVideoClock(is);
    default:
        return GetExternalClock(is);
    }
}

double TPlayerCore::PlaybackClock(TVideoState* is) {
    // While paused the audio clock stands where the sound stopped, which may be well before
    // the picture a seek has shown since.
    if (is->paused && is->video_stream >= 0) return GetVideoClock(is);
    return GetMasterClock(is);
}

double TPlayerCore::ComputeTargetTime(TVideoState* is, double pts) {
    double delay = PictureDelay(pts, is->frame_last_pts, is->frame_last_delay);
    if ((is->av_sync_type == AV_SYNC_AUDIO_MASTER && is->audio_stream >= 0) ||
        is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK)
        delay = SyncedPictureDelay(delay, GetVideoClock(is) - GetMasterClock(is));
    is->frame_timer += delay;
    return is->frame_timer;
}

void TPlayerCore::StreamSeek(TVideoState* is, int flags, bool wait, int64_t rel, int64_t pos) {
    TCustomPlayer* player = is->Owner;
    // A waiting seek holds the caller, usually the GUI thread: it gives up when playback
    // ends under it, and after a generous deadline rather than freezing the program.
    auto gone = [player, is] { return player->FVideoState.load() != is || is->abort_request; };
    if (is->seek_req) {
        // A quick seek still pending is passed over by the next quick one; a waiting seek
        // is the position the caller relies on, so it waits its turn instead.
        if (!wait || !WaitPumping(player->FSeekEvent, kSeekWaitMs, gone) || is->seek_req) return;
    }
    player->FSeeking = true;
    is->seek_paused_req = is->paused.load();
    is->seek_pos = pos;
    is->seek_rel = rel;
    is->seek_flags = flags;
    player->FSeekEvent.Reset();
    is->seek_req = 1;
    if (!wait) return;
    if (!WaitPumping(player->FSeekEvent, kSeekWaitMs, gone)) return;
    if (player->FVideoState.load() == is && is->video_stream >= 0)
        WaitPumping(player->FPictEvent, kSeekWaitMs, gone);
}

void TPlayerCore::StreamPause(TVideoState* is) {
    TCustomPlayer* player = is->Owner;
    if (player->FSeekEvent.WaitFor(250) != os::WaitResult::Signaled) player->FSeekEvent.Set();
    if (player->FVideoState.load() != is) return;
    if (is->paused) {
        double now = Now();
        {
            std::lock_guard<std::mutex> g(is->pictq_mutex);
            double shift = now + is->video_current_pts_drift - is->video_current_pts;
            is->frame_timer += shift;
            // Pictures queued before the pause are due as late as the rest,
            // or the first refresh would drop them as stale.
            for (int i = 0; i < is->pictq_size; ++i) {
                TVideoPicture& vp = is->pictq[(is->pictq_rindex + i) % PictureQueueSize];
                if (vp.target_clock != 0) vp.target_clock += shift;
            }
        }
        if (is->read_pause_return != AVERROR(ENOSYS))
            is->video_current_pts = is->video_current_pts_drift + now;
        is->video_current_pts_drift = is->video_current_pts - now;
        is->paused = 0;
    } else {
        if (is->video_stream >= 0 && player->FPictEvent.WaitFor(250) != os::WaitResult::Signaled)
            player->FPictEvent.Set();
        if (player->FVideoState.load() != is) return;
        is->paused = 1;
    }
}

void TPlayerCore::VideoRefresh(TVideoState* is, bool advance) {
    TCustomPlayer* player = is->Owner;
    bool dropped = false;
    if (!advance) {
        if (AudioDisplayOn(is))
            VideoDisplay(is);
        else
            RedrawLastPicture(is);
        player->UpdatePosition();
        return;
    }
    if (is->video_stream >= 0) {
        for (;;) {
            bool dropMode = is->seek_done != 0;
            int size;
            {
                std::lock_guard<std::mutex> g(is->pictq_mutex);
                size = is->pictq_size;
            }
            if (size == 0) break;
            TVideoPicture& vp = is->pictq[is->pictq_rindex];
            double now = Now();
            // While paused, and while stepping, the screen only takes the
            // first picture after a flush and one picture per step: a slow
            // machine must not let a second one through before the decoder
            // pauses again.
            bool gated = is->paused || player->Fstep;
            bool permitted = gated && is->show_permits > 0;
            if (!dropMode && gated && !permitted) return;
            double target, next;
            {
                std::lock_guard<std::mutex> g(is->pictq_mutex);
                target = vp.target_clock;
                if (is->pictq_size > 1) {
                    next = is->pictq[(is->pictq_rindex + 1) % PictureQueueSize].target_clock;
                    Check(next >= target || target == 0 || next == 0, "FFPlay");
                } else {
                    next = target + is->video_clock - vp.pts;
                }
            }
            if (!permitted && !dropMode && now < target) return;
            is->video_current_pts = vp.pts;
            is->video_current_pts_drift = vp.pts - now;
            is->video_current_pos = vp.pos;
            if (!permitted && ((player->framedrop && now > next && !is->IsDevice) || dropMode)) {
                is->skip_frames = std::min(kMaxSkipFrames, is->skip_frames * 1.05);
                // A late picture goes only for a later one already queued: however late, the
                // screen moves on, and the last picture of all is shown.
                if (size > 1 || dropMode) {
                    std::lock_guard<std::mutex> g(is->pictq_mutex);
                    is->pictq_rindex = (is->pictq_rindex + 1) % PictureQueueSize;
                    --is->pictq_size;
                    is->pictq_cond.notify_all();
                    dropped = true;
                    continue;
                }
            }
            if (is->subtitle_stream >= 0) {
                std::lock_guard<std::mutex> g(is->subpq_mutex);
                if (is->subtitle_stream_changed) {
                    while (is->subpq_size > 0) {
                        FreeSubPicture(is->subpq[is->subpq_rindex]);
                        is->subpq_rindex = (is->subpq_rindex + 1) % SubPictureQueueSize;
                        --is->subpq_size;
                    }
                    is->subtitle_stream_changed = 0;
                    is->subpq_cond.notify_all();
                } else if (is->subpq_size > 0) {
                    TSubPicture& sp = is->subpq[is->subpq_rindex];
                    bool expired = is->video_current_pts > sp.pts + sp.sub.end_display_time / 1000.0;
                    if (!expired && is->subpq_size > 1) {
                        TSubPicture& sp2 = is->subpq[(is->subpq_rindex + 1) % SubPictureQueueSize];
                        expired = is->video_current_pts > sp2.pts + sp2.sub.start_display_time / 1000.0;
                    }
                    if (expired) {
                        FreeSubPicture(sp);
                        is->subpq_rindex = (is->subpq_rindex + 1) % SubPictureQueueSize;
                        --is->subpq_size;
                        is->subpq_cond.notify_all();
                    }
                }
            }
            VideoDisplay(is);
            if (is->show_permits > 0) --is->show_permits;
            std::lock_guard<std::mutex> g(is->pictq_mutex);
            is->pictq_rindex = (is->pictq_rindex + 1) % PictureQueueSize;
            --is->pictq_size;
            is->pictq_cond.notify_all();
            break;
        }
    } else if (is->audio_stream >= 0) {
        VideoDisplay(is);
    }
    if (!dropped) player->UpdatePosition();
}

int TPlayerCore::VideoOpen(TVideoState* is, bool force) {
    TCustomPlayer* player = is->Owner;
    int w, h;
    if (player->is_full_screen && player->Ffs_screen_width > 0) {
        w = player->Ffs_screen_width;
        h = player->Ffs_screen_height;
    } else if (!player->is_full_screen && player->ScreenWidth > 0 && player->ScreenHeight > 0) {
        w = player->ScreenWidth;
        h = player->ScreenHeight;
    } else if (is->out_width > 0 && is->out_height > 0) {
        w = is->out_width / 2 * 2;
        h = is->out_height / 2 * 2;
    } else {
        w = 640;
        h = 480;
    }
    SDL_Surface* screen = static_cast<SDL_Surface*>(is->Owner->Fscreen);
    if (!force && screen && is->width == screen->w && screen->w == w && is->height == screen->h &&
        screen->h == h)
        return 0;
    Uint32 flags = SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL;
    flags |= player->is_full_screen ? SDL_FULLSCREEN : SDL_RESIZABLE;
    // Always 32 bits per pixel: the off-screen driver would otherwise make an
    // 8-bit surface, which takes no YUV overlay.
    screen = sdl::SDL_SetVideoMode(w, h, 32, flags);
    player->Fscreen = screen;
    if (!screen) {
        player->ReportError("SDL: could not set video mode.", false);
        return -1;
    }
    if (!player->FScreenHandle) sdl::SDL_WM_SetCaption("FFPlayer", "FFPlayer");
    is->width = screen->w;
    is->height = screen->h;
    return 0;
}

void TPlayerCore::VideoDisplay(TVideoState* is) {
    if (!is->Owner->Fscreen) VideoOpen(is, false);
    if (!is->Owner->Fscreen) return;
    if (AudioDisplayOn(is))
        VideoAudioDisplay(is);
    else if (is->video_stream >= 0)
        VideoImageDisplay(is);
}

namespace {

double DisplayAspect(TVideoState* is, float playerAspect, const AVFrame* frame, int width, int height) {
    if (playerAspect < 0 && is->width && is->height) return static_cast<double>(is->width) / is->height;
    if (playerAspect > 0) return playerAspect;
    double aspect = 0;
    if (frame && frame->sample_aspect_ratio.num) aspect = av_q2d(frame->sample_aspect_ratio);
    if (aspect <= 0) aspect = 1.0;
    return aspect * width / height;
}

SDL_Rect DisplayRect(TVideoState* is, double aspect) {
    TDisplayRect r = AspectRect(is->width, is->height, aspect);
    return SDL_Rect{static_cast<Sint16>(is->xleft + r.x), static_cast<Sint16>(is->ytop + r.y),
                    static_cast<Uint16>(r.w), static_cast<Uint16>(r.h)};
}

} // namespace

void TPlayerCore::VideoImageDisplay(TVideoState* is) {
    TCustomPlayer* player = is->Owner;
    TVideoPicture& vp = is->pictq[is->pictq_rindex];
    if (!vp.bmp) return;
    double aspect = DisplayAspect(is, player->FAspectRatio, vp.frame, vp.width, vp.height);
    if (is->subtitle_stream >= 0) {
        std::lock_guard<std::mutex> g(is->subpq_mutex);
        if (is->subpq_size > 0) {
            TSubPicture& sp = is->subpq[is->subpq_rindex];
            if (vp.pts >= sp.pts + sp.sub.start_display_time / 1000.0) {
                sdl::SDL_LockYUVOverlay(vp.bmp);
                uint8_t* planes[3] = {vp.bmp->pixels[0], vp.bmp->pixels[2], vp.bmp->pixels[1]};
                int pitches[3] = {vp.bmp->pitches[0], vp.bmp->pitches[2], vp.bmp->pitches[1]};
                for (unsigned i = 0; i < sp.sub.num_rects; ++i)
                    BlendSubRect(planes, pitches, sp.sub.rects[i], vp.bmp->w, vp.bmp->h);
                sdl::SDL_UnlockYUVOverlay(vp.bmp);
            }
        }
    }
    SDL_Rect rect = DisplayRect(is, aspect);
    sdl::SDL_DisplayYUVOverlay(vp.bmp, &rect);
    UpdateScreen(is, rect.x, rect.y, rect.w, rect.h);
    std::lock_guard<std::mutex> g(player->FFrameLock);
    if (vp.frame && vp.frame->buf[0]) {
        if (!player->FLastFrame) player->FLastFrame = av::av_frame_alloc();
        if (player->FLastFrame) {
            av::av_frame_unref(player->FLastFrame);
            av::av_frame_ref(player->FLastFrame, vp.frame);
            player->FLastFramePts = vp.pts;
        }
    }
}

void TPlayerCore::RedrawLastPicture(TVideoState* is) {
    TCustomPlayer* player = is->Owner;
    auto* screen = static_cast<SDL_Surface*>(player->Fscreen);
    if (!screen) return;
    // The picture comes from our own reference to the last shown frame: the
    // overlays belong to the queue and may hold a later picture already.
    std::lock_guard<std::mutex> g(player->FFrameLock);
    const AVFrame* f = player->FLastFrame;
    if (is->video_stream >= 0 && f && f->format == AV_PIX_FMT_YUV420P && f->width >= 2 && f->height >= 2) {
        int w = f->width / 2 * 2, h = f->height / 2 * 2;
        SDL_Overlay* bmp = sdl::SDL_CreateYUVOverlay(w, h, SDL_YV12_OVERLAY, screen);
        if (bmp) {
            sdl::SDL_LockYUVOverlay(bmp);
            uint8_t* dst[4] = {bmp->pixels[0], bmp->pixels[2], bmp->pixels[1], nullptr};
            int dstLines[4] = {bmp->pitches[0], bmp->pitches[2], bmp->pitches[1], 0};
            av::av_image_copy(dst, dstLines, const_cast<const uint8_t**>(f->data), f->linesize,
                              AV_PIX_FMT_YUV420P, w, h);
            sdl::SDL_UnlockYUVOverlay(bmp);
            SDL_Rect rect = DisplayRect(is, DisplayAspect(is, player->FAspectRatio, f, w, h));
            sdl::SDL_DisplayYUVOverlay(bmp, &rect);
            sdl::SDL_FreeYUVOverlay(bmp);
        }
    }
    UpdateScreen(is, 0, 0, is->width, is->height);
}

void TPlayerCore::VideoAudioDisplay(TVideoState* is) {
    TCustomPlayer* player = is->Owner;
    SDL_Surface* screen = static_cast<SDL_Surface*>(is->Owner->Fscreen);
    int channels = std::max(1, is->audio_channels.load());
    int bits = 1;
    while ((1 << bits) < 2 * is->height) ++bits;
    int nb_freq = 1 << (bits - 1);
    int start;
    std::vector<int16_t> samples;
    {
        std::lock_guard<std::mutex> g(is->sample_lock);
        if (!is->paused) {
            int dataUsed = is->show_audio == saWave ? is->width : 2 * nb_freq;
            int64_t cbTime = player->Faudio_callback_time;
            int64_t since = cbTime ? av::av_gettime_relative() - cbTime : 0;
            start = AudioDisplayStart(is->sample_array_index, SampleArraySize,
                                      is->audio_buf_size - is->audio_buf_index, channels, is->audio_rate,
                                      since, dataUsed);
            if (is->show_audio == saWave) {
                int h = INT_MIN;
                for (int i = 0; i < 1000; i += channels) {
                    int idx = (SampleArraySize + start - i) % SampleArraySize;
                    int a = is->sample_array[idx];
                    int b = is->sample_array[(idx + 4 * channels) % SampleArraySize];
                    int c = is->sample_array[(idx + 5 * channels) % SampleArraySize];
                    int d = is->sample_array[(idx + 9 * channels) % SampleArraySize];
                    int score = a - d;
                    if (h < score && (b ^ c) < 0) {
                        h = score;
                        start = idx;
                    }
                }
            }
            is->last_i_start = start;
        } else {
            start = is->last_i_start;
        }
        samples = is->sample_array;
    }
    Uint32 black = sdl::SDL_MapRGB(screen->format, 0, 0, 0);
    Uint32 white = sdl::SDL_MapRGB(screen->format, 0xFF, 0xFF, 0xFF);
    if (is->show_audio == saWave) {
        SDL_Rect all{static_cast<Sint16>(is->xleft), static_cast<Sint16>(is->ytop),
                     static_cast<Uint16>(is->width), static_cast<Uint16>(is->height)};
        sdl::SDL_FillRect(screen, &all, black);
        int h = is->height / channels;
        int h2 = h * 9 / 20;
        for (int ch = 0; ch < channels; ++ch) {
            int i = (start + ch) % SampleArraySize;
            int yMid = is->ytop + ch * h + h / 2;
            for (int x = 0; x < is->width; ++x) {
                int y = (samples[i] * h2) >> 15;
                SDL_Rect line{static_cast<Sint16>(is->xleft + x),
                              static_cast<Sint16>(y < 0 ? yMid + y : yMid), 1,
                              static_cast<Uint16>(std::abs(y))};
                if (line.h) sdl::SDL_FillRect(screen, &line, white);
                i = (i + channels) % SampleArraySize;
            }
        }
        for (int ch = 1; ch < channels; ++ch) {
            SDL_Rect line{static_cast<Sint16>(is->xleft), static_cast<Sint16>(is->ytop + ch * h),
                          static_cast<Uint16>(is->width), 1};
            sdl::SDL_FillRect(screen, &line, white);
        }
        UpdateScreen(is, is->xleft, is->ytop, is->width, is->height);
        return;
    }
    // Spectrum: one column per refresh.
    channels = std::min(channels, 2);
    if (bits != is->rdft_bits) {
        if (is->rdft) av::av_rdft_end(is->rdft);
        is->rdft = av::av_rdft_init(bits, DFT_R2C);
        is->rdft_bits = bits;
        if (!is->rdft_data.Resize(sizeof(float) * 2 * RdftChannelStride(nb_freq)) && is->rdft) {
            av::av_rdft_end(is->rdft);
            is->rdft = nullptr;
        }
    }
    if (!is->rdft) return;
    float* data[2] = {is->rdft_data.As<float>(), is->rdft_data.As<float>() + RdftChannelStride(nb_freq)};
    for (int ch = 0; ch < channels; ++ch) {
        int i = (start + ch) % SampleArraySize;
        for (int x = 0; x < 2 * nb_freq; ++x) {
            double w = static_cast<double>(x - nb_freq) / nb_freq;
            data[ch][x] = static_cast<float>(samples[i] * (1.0 - w * w));
            i = (i + channels) % SampleArraySize;
        }
        av::av_rdft_calc(is->rdft, data[ch]);
    }
    if (SDL_MUSTLOCK(screen)) sdl::SDL_LockSurface(screen);
    auto magnitude = [nb_freq](const float* d, int y) {
        double m = std::sqrt(std::sqrt(static_cast<double>(d[2 * y]) * d[2 * y] +
                                       static_cast<double>(d[2 * y + 1]) * d[2 * y + 1]) /
                             std::sqrt(static_cast<double>(nb_freq)));
        return static_cast<int>(std::min(255.0, std::round(m)));
    };
    for (int y = 0; y < is->height && y < nb_freq; ++y) {
        int a = magnitude(data[0], y);
        // A mono stream shows its one magnitude in both colours.
        int b = channels == 2 ? magnitude(data[1], y) : a;
        int row = is->ytop + is->height - 1 - y;
        auto* px = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(screen->pixels) + row * screen->pitch) +
                   is->xpos;
        *px = sdl::SDL_MapRGB(screen->format, static_cast<Uint8>(a), static_cast<Uint8>(b),
                              static_cast<Uint8>((a + b) / 2));
    }
    if (SDL_MUSTLOCK(screen)) sdl::SDL_UnlockSurface(screen);
    UpdateScreen(is, is->xpos, is->ytop, 1, is->height);
    if (++is->xpos >= is->xleft + is->width) is->xpos = is->xleft;
}

void TPlayerCore::UpdateScreen(TVideoState* is, int x, int y, int w, int h) {
    SDL_Surface* screen = static_cast<SDL_Surface*>(is->Owner->Fscreen);
    if (!screen) return;
    x = std::clamp(x, 0, screen->w);
    y = std::clamp(y, 0, screen->h);
    w = std::clamp(w, 0, screen->w - x);
    h = std::clamp(h, 0, screen->h - y);
    if (w == 0 || h == 0) return;
    sdl::SDL_UpdateRect(screen, x, y, static_cast<Uint32>(w), static_cast<Uint32>(h));
    if (SDL_MUSTLOCK(screen)) sdl::SDL_LockSurface(screen);
    os::FrameRect r;
    r.x = x;
    r.y = y;
    r.w = w;
    r.h = h;
    r.pitch = screen->pitch;
    r.pixels = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(screen->pixels) +
                                                 static_cast<ptrdiff_t>(y) * screen->pitch) +
               x;
    r.surfaceWidth = screen->w;
    r.surfaceHeight = screen->h;
    os::DeliverFrame(is->Owner->FScreenHandle, r);
    if (SDL_MUSTLOCK(screen)) sdl::SDL_UnlockSurface(screen);
}

} // namespace media
