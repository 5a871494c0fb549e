// Video and subtitle decoding of a playback.
#include <algorithm>
#include <cmath>

#include "media/FFPlayerState.h"
#include "media/PlayerMath.h"
#include "os/Clock.h"
#include "os/Convert.h"

namespace media {
namespace {

void FreeGraph(TVideoState* is) {
    if (is->graph) av::avfilter_graph_free(&is->graph);
    is->in_video_filter = nullptr;
    is->out_video_filter = nullptr;
}

// Decoder -> "src" -> (the player's filters) -> "out", which hands over
// YUV 4:2:0 pictures only.
bool ConfigureFilters(TVideoState* is, const AVFrame* frame) {
    TCustomPlayer* player = is->Owner;
    FreeGraph(is);
    is->graph = av::avfilter_graph_alloc();
    if (!is->graph) return false;
    is->graph->scale_sws_opts = av::av_strdup(os::FormatC("flags=%d", player->sws_flags).c_str());
    AVRational tb = is->video_st->time_base;
    AVRational sar = frame->sample_aspect_ratio;
    if (sar.den == 0) sar = AVRational{0, 1};
    std::string args =
        os::FormatC("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", frame->width,
                    frame->height, frame->format, tb.num, tb.den, sar.num, sar.den);
    AVFilterContext *src = nullptr, *sink = nullptr;
    if (av::avfilter_graph_create_filter(&src, av::avfilter_get_by_name("buffer"), "src", args.c_str(),
                                         nullptr, is->graph) < 0 ||
        av::avfilter_graph_create_filter(&sink, av::avfilter_get_by_name("buffersink"), "out", nullptr,
                                         nullptr, is->graph) < 0)
        return false;
    const int formats[] = {AV_PIX_FMT_YUV420P};
    if (av::av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const uint8_t*>(formats), sizeof formats,
                           AV_OPT_SEARCH_CHILDREN) < 0)
        return false;
    if (!player->VideoFilters.empty()) {
        AVFilterInOut* outputs = av::avfilter_inout_alloc();
        AVFilterInOut* inputs = av::avfilter_inout_alloc();
        if (!outputs || !inputs) {
            av::avfilter_inout_free(&outputs);
            av::avfilter_inout_free(&inputs);
            return false;
        }
        outputs->name = av::av_strdup("in");
        outputs->filter_ctx = src;
        outputs->pad_idx = 0;
        inputs->name = av::av_strdup("out");
        inputs->filter_ctx = sink;
        inputs->pad_idx = 0;
        int r =
            av::avfilter_graph_parse_ptr(is->graph, player->VideoFilters.c_str(), &inputs, &outputs, nullptr);
        av::avfilter_inout_free(&outputs);
        av::avfilter_inout_free(&inputs);
        if (r < 0) return false;
    } else if (av::avfilter_link(src, 0, sink, 0) < 0) {
        return false;
    }
    if (av::avfilter_graph_config(is->graph, nullptr) < 0) return false;
    is->in_video_filter = src;
    is->out_video_filter = sink;
    is->out_width = av::av_buffersink_get_w(sink);
    is->out_height = av::av_buffersink_get_h(sink);
    is->out_format = av::av_buffersink_get_format(sink);
    return true;
}

} // namespace

// Puts back the timing of a fresh start after a flush; waits until the
// refresh has emptied the picture queue.
void TPlayerCore::FlushPictures(TVideoState* is) {
    av::avcodec_flush_buffers(is->video_dec);
    {
        std::unique_lock<std::mutex> g(is->pictq_mutex);
        for (TVideoPicture& vp : is->pictq) vp.target_clock = 0;
        is->pictq_cond.wait(g, [is] { return is->pictq_size == 0 || is->videoq.Aborted(); });
        is->video_current_pos = -1;
        is->frame_last_pts = static_cast<double>(AV_NOPTS_VALUE);
        is->frame_last_delay = 0;
        is->frame_timer = Now();
    }
    is->last_dts_for_fault_detection = INT64_MIN;
    is->last_pts_for_fault_detection = INT64_MIN;
    is->skip_frames = 1;
    is->skip_frames_index = 0;
    is->show_permits = 1;
    is->seek_flushed = 1;
}

// 1 a picture to show is in frame (pts in stream units in frame->pts), 0 none
// this time, -1 aborted.
int TPlayerCore::GetVideoFrame(TVideoState* is, AVFrame* frame, AVPacket* pkt) {
    AVCodecContext* dec = is->video_dec;
    for (;;) {
        int r = av::avcodec_receive_frame(dec, frame);
        if (r == 0) {
            int64_t dts = frame->pkt_dts;
            if (dts != AV_NOPTS_VALUE) {
                if (dts <= is->last_dts_for_fault_detection) ++is->faulty_dts;
                is->last_dts_for_fault_detection = dts;
            }
            int64_t reordered = frame->pts;
            if (reordered != AV_NOPTS_VALUE) {
                if (reordered <= is->last_pts_for_fault_detection) ++is->faulty_pts;
                is->last_pts_for_fault_detection = reordered;
            }
            int reorder = is->Owner->decoder_reorder_pts;
            int64_t pts;
            if (reordered != AV_NOPTS_VALUE &&
                (reorder == 1 || (reorder != 0 && is->faulty_pts < is->faulty_dts) || dts == AV_NOPTS_VALUE))
                pts = reordered;
            else
                pts = dts; // AV_NOPTS_VALUE too: the picture then follows the last one
            frame->pts = pts;
            double skip = is->skip_frames;
            is->skip_frames_index += 1;
            // However far behind, the last picture of the input is shown.
            if (is->skip_frames_index >= skip || (is->ErrorEOF && is->videoq.DataCount() == 0)) {
                is->skip_frames_index -= std::max(skip, 1.0);
                return 1;
            }
            av::av_frame_unref(frame);
            return 0;
        }
        if (r == AVERROR_EOF) {
            // Drained: no picture follows until a seek; the decoder takes
            // packets again after the flush.
            av::avcodec_flush_buffers(dec);
            is->Owner->FPictEvent.Set();
            if (is->EventEOF == 0) is->Owner->UpdatePosition();
        } else if (r != AVERROR(EAGAIN)) {
            return 0;
        }
        if (is->videoq.Get(pkt, true) < 0) return -1;
        if (IsFlushPacket(pkt)) {
            FlushPictures(is);
            av::av_packet_unref(pkt);
            continue;
        }
        // The empty packet of the end of input drains the decoder.
        bool empty = !pkt->data && pkt->size == 0;
        r = av::avcodec_send_packet(dec, empty ? nullptr : pkt);
        av::av_packet_unref(pkt);
        if (empty && r == AVERROR_EOF && is->EventEOF == 0) is->Owner->UpdatePosition();
    }
}

void TPlayerCore::VideoThread(TVideoState* is) {
    TCustomPlayer* player = is->Owner;
    AVFrame* frame = av::av_frame_alloc();
    AVFrame* filtered = av::av_frame_alloc();
    AVPacket* pkt = av::av_packet_alloc();
    int lastW = -1, lastH = -1, lastFmt = -2;
    bool graphFailed = false;
    while (frame && filtered && pkt) {
        while (is->paused && !is->videoq.Aborted() && !is->seek_paused && !is->open_paused) os::SleepMs(10);
        int r = GetVideoFrame(is, frame, pkt);
        if (r < 0) break;
        if (r == 0) continue;
        if (frame->width != lastW || frame->height != lastH || frame->format != lastFmt) {
            lastW = frame->width;
            lastH = frame->height;
            lastFmt = frame->format;
            // A graph that cannot be built leaves the playback without pictures.
            graphFailed = !ConfigureFilters(is, frame);
        }
        if (graphFailed) {
            av::av_frame_unref(frame);
            continue;
        }
        int64_t pos = frame->pkt_pos;
        if (av::av_buffersrc_add_frame(is->in_video_filter, frame) < 0) {
            av::av_frame_unref(frame);
            continue;
        }
        bool aborted = false;
        while (av::av_buffersink_get_frame(is->out_video_filter, filtered) >= 0) {
            if (is->seek_done && is->seek_flushed) {
                is->seek_done = 0;
                is->seek_paused = 0;
            }
            AVRational tb = av::av_buffersink_get_time_base(is->out_video_filter);
            // Pictures without a time follow the last one by the frame duration; a time of 0
            // is the start of the file, where a seek may have gone back to.
            double pts;
            if (filtered->pts != AV_NOPTS_VALUE) {
                pts = static_cast<double>(filtered->pts) * av_q2d(tb);
                is->video_clock = pts;
            } else {
                pts = is->video_clock;
            }
            AVRational fdur = is->video_dec->framerate.num > 0 ? av_inv_q(is->video_dec->framerate)
                                                               : is->video_dec->time_base;
            double delay = av_q2d(fdur) * (1 + filtered->repeat_pict * 0.5);
            is->video_clock = is->video_clock + delay;
            int q = QueuePicture(is, filtered, pts, pos);
            av::av_frame_unref(filtered);
            if (q < 0) {
                aborted = true;
                break;
            }
            is->EventEOF = 0;
            if (player->FSeeking && !is->seek_req) player->FSeeking = false;
            player->FPictEvent.Set();
            if (is->open_paused) {
                if (is->open_paused >= 2) {
                    is->open_paused = 0;
                    player->SetState(psPause);
                } else {
                    ++is->open_paused;
                }
            }
            if (player->Fstep && player->FVideoState.load() == is) StreamPause(is);
        }
        if (aborted) break;
    }
    FreeGraph(is);
    av::av_frame_free(&frame);
    av::av_frame_free(&filtered);
    av::av_packet_free(&pkt);
}

void TPlayerCore::AllocPicture(TVideoState* is) {
    TCustomPlayer* player = is->Owner;
    std::lock_guard<std::mutex> g(is->pictq_mutex);
    TVideoPicture& vp = is->pictq[is->pictq_windex];
    if (vp.bmp) sdl::SDL_FreeYUVOverlay(vp.bmp);
    vp.bmp = nullptr;
    if (vp.frame) av::av_frame_unref(vp.frame);
    vp.width = is->out_width / 2 * 2;
    vp.height = is->out_height / 2 * 2;
    vp.pix_fmt = is->out_format;
    if (player->Fscreen && vp.width > 0 && vp.height > 0)
        vp.bmp = sdl::SDL_CreateYUVOverlay(vp.width, vp.height, SDL_YV12_OVERLAY,
                                           static_cast<SDL_Surface*>(player->Fscreen));
    vp.allocated = 1;
    is->pictq_cond.notify_all();
}

int TPlayerCore::QueuePicture(TVideoState* is, AVFrame* frame, double pts, int64_t pos) {
    TCustomPlayer* player = is->Owner;
    TVideoPicture* vp;
    {
        std::unique_lock<std::mutex> g(is->pictq_mutex);
        if (is->pictq_size >= PictureQueueSize && is->refresh != 1)
            is->skip_frames = std::max(0.95, is->skip_frames * 0.95);
        is->pictq_cond.wait(g, [is] { return is->pictq_size < PictureQueueSize || is->videoq.Aborted(); });
        if (is->videoq.Aborted()) return -1;
        vp = &is->pictq[is->pictq_windex];
        int w = is->out_width / 2 * 2, h = is->out_height / 2 * 2;
        if (!vp->bmp || vp->width != w || vp->height != h) {
            vp->allocated = 0;
            if (!PushEvent(is, FF_ALLOC_EVENT)) return 0;
            is->pictq_cond.wait(g, [is, vp] { return vp->allocated || is->videoq.Aborted(); });
            if (is->videoq.Aborted()) return -1;
        }
        if (!vp->bmp) return 0;
    }
    sdl::SDL_LockYUVOverlay(vp->bmp);
    // YV12 keeps V before U.
    uint8_t* dst[4] = {vp->bmp->pixels[0], vp->bmp->pixels[2], vp->bmp->pixels[1], nullptr};
    int dstLines[4] = {vp->bmp->pitches[0], vp->bmp->pitches[2], vp->bmp->pitches[1], 0};
    uint8_t* src[4] = {frame->data[0], frame->data[1], frame->data[2], nullptr};
    int srcLines[4] = {frame->linesize[0], frame->linesize[1], frame->linesize[2], 0};
    if (player->VerticalFlip) {
        int h = frame->height;
        src[0] += static_cast<ptrdiff_t>(srcLines[0]) * (h - 1);
        srcLines[0] = -srcLines[0];
        for (int p = 1; p <= 2; ++p) {
            src[p] += static_cast<ptrdiff_t>(srcLines[p]) * (h / 2 - 1);
            srcLines[p] = -srcLines[p];
        }
    }
    av::av_image_copy(dst, dstLines, const_cast<const uint8_t**>(src), srcLines, AV_PIX_FMT_YUV420P,
                      vp->width, vp->height);
    if (player->Hook) {
        // The hook sees the picture as it is shown, flipped too.
        AVFrame* hooked = av::av_frame_alloc();
        if (hooked) {
            hooked->format = AV_PIX_FMT_YUV420P;
            hooked->width = vp->width;
            hooked->height = vp->height;
            for (int p = 0; p < 3; ++p) {
                hooked->data[p] = dst[p];
                hooked->linesize[p] = dstLines[p];
            }
            player->DoHook(hooked, dst, dstLines, vp->width, vp->height, pts);
            av::av_frame_free(&hooked);
        }
    }
    sdl::SDL_UnlockYUVOverlay(vp->bmp);
    if (!vp->frame) vp->frame = av::av_frame_alloc();
    if (vp->frame) {
        av::av_frame_unref(vp->frame);
        av::av_frame_ref(vp->frame, frame);
    }
    vp->pts = pts;
    vp->pos = pos;
    std::lock_guard<std::mutex> g(is->pictq_mutex);
    is->pictq_windex = (is->pictq_windex + 1) % PictureQueueSize;
    vp->target_clock = ComputeTargetTime(is, pts);
    ++is->pictq_size;
    return 0;
}

void TPlayerCore::SubtitleThread(TVideoState* is) {
    AVPacket* pkt = av::av_packet_alloc();
    while (pkt) {
        while (is->paused && !is->subtitleq.Aborted() && !is->seek_paused) os::SleepMs(10);
        if (is->subtitleq.Get(pkt, true) < 0) break;
        if (IsFlushPacket(pkt)) {
            av::avcodec_flush_buffers(is->subtitle_dec);
            av::av_packet_unref(pkt);
            continue;
        }
        std::unique_lock<std::mutex> g(is->subpq_mutex);
        is->subpq_cond.wait(g,
                            [is] { return is->subpq_size < SubPictureQueueSize || is->subtitleq.Aborted(); });
        if (is->subtitleq.Aborted()) break;
        TSubPicture& sp = is->subpq[is->subpq_windex];
        g.unlock();
        double pts = pkt->pts != AV_NOPTS_VALUE
                         ? static_cast<double>(pkt->pts) * av_q2d(is->subtitle_st->time_base)
                         : 0;
        int got = 0;
        av::avsubtitle_free(&sp.sub);
        int r = av::avcodec_decode_subtitle2(is->subtitle_dec, &sp.sub, &got, pkt);
        av::av_packet_unref(pkt);
        if (r < 0 || !got) continue;
        if (sp.sub.format != 0) {
            av::avsubtitle_free(&sp.sub);
            continue;
        }
        sp.pts = pts;
        for (unsigned i = 0; i < sp.sub.num_rects; ++i) {
            AVSubtitleRect* rect = sp.sub.rects[i];
            if (!rect->data[1]) continue;
            auto* palette = reinterpret_cast<uint32_t*>(rect->data[1]);
            for (int j = 0; j < rect->nb_colors; ++j) palette[j] = RGBAToYUVA(palette[j]);
        }
        g.lock();
        is->subpq_windex = (is->subpq_windex + 1) % SubPictureQueueSize;
        ++is->subpq_size;
    }
    av::av_packet_free(&pkt);
}

} // namespace media
