// Decoded pictures on their way to an encoder: the frame hooks first, then
// video sync, the frame limit, crop and scaling, and after encoding the post
// hooks and the statistics.
#include <cmath>
#include <cstring>

#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFmpegEncode.h"
#include "media/Previewer.h"
#include "os/Convert.h"

namespace media {

namespace {

using E = TCustomFFmpeg;

// The engine's hook copy of a picture of this geometry, writable (an encoder
// may still hold the previous picture); nullptr when none can be had.
AVFrame* HookBuffer(E& e, const AVFrame* picture) {
    AVFrame* buf = e.FHookBuf.get();
    if (!buf || buf->width != picture->width || buf->height != picture->height ||
        buf->format != picture->format) {
        e.FHookBuf.reset(av::av_frame_alloc());
        buf = e.FHookBuf.get();
        if (!buf) return nullptr;
        buf->width = picture->width;
        buf->height = picture->height;
        buf->format = picture->format;
        if (av::av_frame_get_buffer(buf, 0) < 0) {
            e.FHookBuf.reset();
            return nullptr;
        }
    }
    return av::av_frame_make_writable(buf) < 0 ? nullptr : buf;
}

TPostHooks Without(TPostHooks hooks, TPostHook gone) {
    TPostHooks out;
    for (TPostHook h : {phPreview, phBitmap, phHBITMAP})
        if (h != gone && hooks.Has(h)) out = out.With(h);
    return out;
}

// A view of the picture inside the bands: the same buffers, moved pointers.
TFramePtr CropView(const AVFrame* picture, int top, int left, int width, int height) {
    TFramePtr view(av::av_frame_clone(picture));
    const AVPixFmtDescriptor* desc = av::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture->format));
    if (!view || !desc ||
        (desc->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL)))
        return nullptr;
    int max_step[4];
    av::av_image_fill_max_pixsteps(max_step, nullptr, desc);
    for (int p = 0; p < 4 && view->data[p]; ++p) {
        const bool chroma = p == 1 || p == 2;
        const int y = chroma ? top >> desc->log2_chroma_h : top;
        const int x = chroma ? left >> desc->log2_chroma_w : left;
        view->data[p] +=
            static_cast<ptrdiff_t>(y) * view->linesize[p] + static_cast<ptrdiff_t>(x) * max_step[p];
    }
    view->width = width;
    view->height = height;
    return view;
}

} // namespace

AVFrame* PreprocessPicture(E& e, TAVInputStream* ist, AVFrame* APicture) {
    ++e.FHookFrameNumber;
    const int64_t pts = ist->pts;
    if (!e.Fdo_deinterlace && !e.FOnCustomHook && !e.Fusing_vhook) return APicture;
    AVFrame* buf = HookBuffer(e, APicture);
    if (!buf) {
        FFLogger().Log(&e, llError, "hook buf malloc error.");
        return APicture;
    }
    const auto format = static_cast<AVPixelFormat>(APicture->format);
    bool copied = false;
    if (e.Fdo_deinterlace) {
        if (DeinterlacePicture(buf->data, buf->linesize, APicture->data, APicture->linesize, format,
                               APicture->width, APicture->height) == 0)
            copied = true;
        else
            FFLogger().Log(&e, llError, "Deinterlacing failed.");
    }
    // The decoder's own picture may still serve it as a reference, so hooks
    // always work on the copy.
    if (!copied)
        av::av_image_copy(buf->data, buf->linesize, const_cast<const uint8_t**>(APicture->data),
                          APicture->linesize, format, APicture->width, APicture->height);
    av::av_frame_copy_props(buf, APicture);
    if (e.FOnCustomHook)
        RunCustomHook(e, buf, pts);
    else if (e.Fusing_vhook)
        FrameHookProcess(e.FFirstHook, buf, pts);
    return buf;
}

void RunCustomHook(E& e, AVFrame* APicture, int64_t APTS) {
    if (!e.FHookContext.Context) e.FHookContext.Context = std::make_unique<TRGBConvertContext>();
    TRGBConvertContext& ctx = *e.FHookContext.Context;
    const auto format = static_cast<AVPixelFormat>(APicture->format);
    const int width = APicture->width, height = APicture->height;
    TAVPicture picture = PictureOf(APicture);
    bool update = true, stop = false;
    if (!PictureToBitmap(ctx, picture, format, height, width)) {
        FFLogger().Log(&e, llError, "Cannot initialize the toRGB conversion context");
        stop = true;
    } else {
        try {
            e.FOnCustomHook(&e, ctx.Bitmap.get(), e.FHookFrameNumber, APTS, update, stop);
        } catch (const std::exception& ex) {
            FFLogger().Log(&e, llError, std::string("Error occurs OnCustomHook: ") + ex.what());
            update = false;
        }
        if (update) {
            BitmapToRGBPicture(ctx, height);
            const TAVPicture& rgb = *ctx.RGBPictureRef;
            if (ctx.RGBPixFmt != format) {
                ctx.fromRGB_convert_ctx =
                    av::sws_getCachedContext(ctx.fromRGB_convert_ctx, width, height, ctx.RGBPixFmt, width,
                                             height, format, SWS_BICUBIC, nullptr, nullptr, nullptr);
                if (!ctx.fromRGB_convert_ctx) {
                    FFLogger().Log(&e, llError, "Cannot initialize the fromRGB conversion context");
                    stop = true;
                } else {
                    av::sws_scale(ctx.fromRGB_convert_ctx, rgb.data, rgb.linesize, 0, height, APicture->data,
                                  APicture->linesize);
                }
            }
        }
    }
    ctx.RGBPictureRef = nullptr; // it may point at the local picture record
    if (stop) {
        e.FOnCustomHook = nullptr;
        e.Fusing_vhook = false;
    }
}

int VideoCopies(E& e, const AVFormatContext* oc, TAVOutputStream* ost, const TAVInputStream* ist) {
    const AVCodecContext* enc = ost->enc_ctx;
    // Without a sync method a picture keeps its own stream's time: another
    // stream's clock (a sync map) may stand still between two pictures.
    const TAVInputStream* clock = e.Fvideo_sync_method == 0 ? ist : ost->sync_ist;
    const double sync_ipts =
        static_cast<double>(clock->pts - e.Fstart_time) / AV_TIME_BASE / av_q2d(enc->time_base);
    int nb_frames = 1;
    if (e.Fvideo_sync_method != 0) {
        const double vdelta = sync_ipts - static_cast<double>(ost->sync_opts);
        if (vdelta < -1.1) {
            nb_frames = 0;
        } else if (e.Fvideo_sync_method == 2 ||
                   (e.Fvideo_sync_method < 0 && oc && (oc->oformat->flags & AVFMT_VARIABLE_FPS))) {
            if (vdelta <= -0.6)
                nb_frames = 0;
            else if (vdelta > 0.6)
                ost->sync_opts = std::llrint(sync_ipts);
        } else if (vdelta > 1.1) {
            nb_frames = static_cast<int>(std::llrint(vdelta));
        }
        if (nb_frames == 0) {
            ++e.Fnb_frames_drop;
            e.FShowDupOrDrop = true;
            if (e.Fverbose > 2) FFLogger().Log(&e, llVerbose, "*** drop!");
        } else if (nb_frames > 1) {
            e.Fnb_frames_dup += nb_frames - 1;
            e.FShowDupOrDrop = true;
            if (e.Fverbose > 2) FFLogger().Log(&e, llVerbose, "*** %d dup!", nb_frames - 1);
        }
    } else {
        ost->sync_opts = std::llrint(sync_ipts);
    }
    nb_frames = std::min(nb_frames, e.Fmax_frames[AVMEDIA_TYPE_VIDEO] - ost->frame_number);
    return std::max(nb_frames, 0);
}

AVFrame* ScaledPicture(E& e, TAVOutputStream* ost, const TAVInputStream* ist, AVFrame* APicture,
                       TFramePtr& AView) {
    const AVCodecContext* enc = ost->enc_ctx;
    const int width = APicture->width, height = APicture->height, format = APicture->format;
    AVFrame* picture = APicture;
    if (!e.FEnableFilter) {
        if (ost->resample_height != height - (ost->topBand + ost->bottomBand) ||
            ost->resample_width != width - (ost->leftBand + ost->rightBand) ||
            ost->resample_pix_fmt != format) {
            FFLogger().Log(&e, llQuiet, "Input Stream #%d.%d frame size changed to %dx%d, %s",
                           ist->file_index, ist->index, width, height,
                           av::av_get_pix_fmt_name(static_cast<AVPixelFormat>(format)));
            // A stream set up without a scaler gets one now: the encoder
            // cannot take a picture of another size.
            ost->video_resample = 1;
            if (ost->original_height > 0 && ost->original_width > 0) {
                ost->topBand = height * ost->original_topBand / ost->original_height & ~1;
                ost->bottomBand = height * ost->original_bottomBand / ost->original_height & ~1;
                ost->leftBand = width * ost->original_leftBand / ost->original_width & ~1;
                ost->rightBand = width * ost->original_rightBand / ost->original_width & ~1;
            }
            Check(ost->topBand >= 0 && ost->bottomBand >= 0 && ost->leftBand >= 0 && ost->rightBand >= 0,
                  "FFmpegVideoOut");
            ost->resample_height = height - (ost->topBand + ost->bottomBand);
            ost->resample_width = width - (ost->leftBand + ost->rightBand);
            ost->resample_pix_fmt = format;
            av::sws_freeContext(ost->img_resample_ctx);
            int64_t flags = e.Fsws_flags;
            if (e.FOptions.sws_opts) av::av_opt_get_int(e.FOptions.sws_opts, "sws_flags", 0, &flags);
            e.Fsws_flags = static_cast<unsigned>(flags);
            ost->img_resample_ctx = av::sws_getContext(
                ost->resample_width, ost->resample_height, static_cast<AVPixelFormat>(format), enc->width,
                enc->height, enc->pix_fmt, static_cast<int>(e.Fsws_flags), nullptr, nullptr, nullptr);
            if (!ost->img_resample_ctx) throw FFmpegException("Cannot get resampling context");
        }
        if (ost->video_crop) {
            AView =
                CropView(APicture, ost->topBand, ost->leftBand, ost->resample_width, ost->resample_height);
            if (!AView) {
                if (e.Fexit_on_error) throw FFmpegException("error cropping picture");
                FFLogger().Log(&e, llError, "error cropping picture");
                return nullptr;
            }
            picture = AView.get();
        }
        if (ost->video_resample) {
            if (!ost->img_resample_ctx) {
                ost->img_resample_ctx = av::sws_getContext(
                    ost->resample_width, ost->resample_height, static_cast<AVPixelFormat>(format), enc->width,
                    enc->height, enc->pix_fmt, static_cast<int>(e.Fsws_flags), nullptr, nullptr, nullptr);
                if (!ost->img_resample_ctx) throw FFmpegException("Cannot get resampling context");
            }
            if (!ost->pict_tmp) {
                ost->pict_tmp = av::av_frame_alloc();
                if (!ost->pict_tmp) throw FFmpegException("Cannot get resampling context");
                ost->pict_tmp->width = enc->width;
                ost->pict_tmp->height = enc->height;
                ost->pict_tmp->format = enc->pix_fmt;
                if (av::av_frame_get_buffer(ost->pict_tmp, 0) < 0)
                    throw FFmpegException("Cannot get resampling context");
            }
            // The encoder may still hold the last scaled picture.
            if (av::av_frame_make_writable(ost->pict_tmp) < 0) throw FFmpegException("Video encoding failed");
            av::sws_scale(ost->img_resample_ctx, picture->data, picture->linesize, 0, ost->resample_height,
                          ost->pict_tmp->data, ost->pict_tmp->linesize);
            av::av_frame_copy_props(ost->pict_tmp, APicture);
            picture = ost->pict_tmp;
        }
    }

    return picture;
}

int EncodeCopy(E& e, const AVCodecContext* enc, const TAVOutputStream* ost, const AVFrame* ASource,
               const AVFrame* APicture, int64_t APts, int AHookFrame, const TFrameEncoder& AEncode) {
    TFramePtr out(av::av_frame_clone(APicture));
    if (!out) throw FFmpegException("Video encoding failed");
    out->interlaced_frame = ASource->interlaced_frame;
    if (enc->flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME))
        out->top_field_first = e.Ftop_field_first == -1 ? ASource->top_field_first : e.Ftop_field_first;
    const float quality =
        e.Fsame_quality ? static_cast<float>(ASource->quality) : (ost->codec ? ost->codec->quality : 0.0f);
    out->quality = static_cast<int>(std::lrint(quality));
    out->pict_type = AV_PICTURE_TYPE_NONE;
    out->pts = APts;
    const int written = AEncode(out.get());
    RunPostHooks(e, out.get(), enc, AHookFrame);
    return written;
}

int EncodeVideoFrame(E& e, const AVFormatContext* oc, TAVOutputStream* ost, TAVInputStream* ist,
                     AVFrame* APicture, const TFrameEncoder& AEncode) {
    const int nb_frames = VideoCopies(e, oc, ost, ist);
    if (nb_frames == 0) return 0;
    TFramePtr view;
    AVFrame* picture = ScaledPicture(e, ost, ist, APicture, view);
    if (!picture) return 0;
    int written = 0;
    for (int i = 0; i < nb_frames; ++i) {
        // A stop request also cuts a run of copies short.
        if (e.FBroken) break;
        written +=
            EncodeCopy(e, ost->enc_ctx, ost, APicture, picture, ost->sync_opts, e.FHookFrameNumber, AEncode);
        ++ost->sync_opts;
        ++ost->frame_number;
    }
    return written;
}

void RunPostHooks(E& e, const AVFrame* APicture, const AVCodecContext* enc, int AHookFrame) {
    // The settings are copied under the lock and the event and the painting
    // run outside it: both wait for the GUI thread, and the GUI thread takes
    // this lock when it changes the hooks of a running task.
    TPostHooks hooks;
    TPreviewBitmapEvent event;
    // Declared first so that it goes last, after every lock below is left:
    // freeing the window waits for the GUI thread.
    std::shared_ptr<TCustomPreviewer> previewer;
    {
        os::CsLock lock(HookSettingsLock());
        hooks = e.FPostHooks;
        event = e.FOnPreviewBitmap;
    }
    // With an event for bitmaps, only the event receives pictures.
    const bool toEvent = hooks.Has(phBitmap) && event;
    const bool toWindow = !toEvent && hooks.Has(phPreview);
    if (!toEvent && !toWindow) return;
    TPostHookContext& post = e.FPostContext;
    post.preview_cur_time = av::av_gettime();
    if (post.preview_cur_time - post.preview_last_time <= e.PreviewInterval) return;
    if (!post.Context) post.Context = std::make_unique<TRGBConvertContext>();
    bool ok = PictureToBitmap(*post.Context, PictureOf(APicture), enc->pix_fmt, enc->height, enc->width);
    const int64_t pts = av::av_rescale_q(APicture->pts, enc->time_base, AV_TIME_BASE_Q);
    if (!ok) {
        FFLogger().Log(&e, llError, "Cannot initialize the toRGB conversion context");
    } else if (toEvent) {
        event(&e, post.Context->Bitmap.get(), AHookFrame, pts);
    } else {
        {
            os::CsLock lock(HookSettingsLock());
            // Made with the first picture; not again once the hook is gone.
            if (!post.Previewer && e.FPostHooks.Has(phPreview)) post.Previewer = NewPreviewer();
            previewer = post.Previewer;
        }
        ok = previewer && previewer->PaintFrame(post.Context->Bitmap.get(), AHookFrame, pts);
    }
    post.Context->RGBPictureRef = nullptr;
    post.preview_last_time = post.preview_cur_time;
    if (!ok) {
        // A closed window stops this task's preview; the conversion goes on.
        os::CsLock lock(HookSettingsLock());
        e.SetPostHooksNoLock(Without(e.FPostHooks, toEvent ? phBitmap : phPreview));
    }
}

void WriteVideoStats(E& e, const TAVOutputStream* ost, int AEncodedSize, const TCodedPicture& ACoded) {
    if (!e.Fvstats_file) {
        e.Fvstats_file = std::fopen(e.Fvstats_filename.c_str(), "w");
        if (!e.Fvstats_file) throw FFmpegException("fopen fail: " + e.Fvstats_filename);
    }
    const AVCodecContext* enc = ost->enc_ctx;
    if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
    std::fprintf(e.Fvstats_file, "frame= %5d q= %2.1f ", ost->frame_number,
                 static_cast<double>(ACoded.quality) / FF_QP2LAMBDA);
    if (enc->flags & AV_CODEC_FLAG_PSNR)
        std::fprintf(e.Fvstats_file, "PSNR= %6.2f ",
                     -10.0 * std::log10(static_cast<double>(ACoded.error) /
                                        (static_cast<double>(enc->width) * enc->height * 255.0 * 255.0)));
    std::fprintf(e.Fvstats_file, "f_size= %6d ", AEncodedSize);
    const double ti1 = std::max(static_cast<double>(ost->sync_opts) * av_q2d(enc->time_base), 0.01);
    const double bitrate = AEncodedSize * 8.0 / av_q2d(enc->time_base) / 1000.0;
    const double avg_bitrate = static_cast<double>(e.Fvideo_size) * 8.0 / ti1 / 1000.0;
    std::fprintf(e.Fvstats_file, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
                 static_cast<double>(e.Fvideo_size) / 1024.0, ti1, bitrate, avg_bitrate);
    std::fprintf(e.Fvstats_file, "type= %c\n",
                 av::av_get_picture_type_char(static_cast<AVPictureType>(ACoded.pict_type)));
}

} // namespace media
