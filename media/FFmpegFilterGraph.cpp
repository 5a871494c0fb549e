// The video filter graph of an output stream: buffer -> crop -> scale -> the
// user's filters -> buffersink.  The sink takes only the encoder's pixel
// format, so the graph converts to it where needed.
#include <string>

#include "media/AVApi.h"
#include "media/FFUtils.h"
#include "media/FFmpegEncode.h"
#include "os/Convert.h"

namespace media {

namespace {

// A filter of the named kind with its argument text, added to the graph.
AVFilterContext* AddFilter(AVFilterGraph* graph, const char* kind, const char* name,
                           const std::string& args) {
    const AVFilter* filter = av::avfilter_get_by_name(kind);
    AVFilterContext* ctx = nullptr;
    if (!filter || av::avfilter_graph_create_filter(&ctx, filter, name, args.c_str(), nullptr, graph) < 0)
        return nullptr;
    return ctx;
}

int64_t ScalerFlags(const TCustomFFmpeg& e) {
    int64_t flags = e.Fsws_flags;
    if (e.FOptions.sws_opts) av::av_opt_get_int(e.FOptions.sws_opts, "sws_flags", 0, &flags);
    return flags;
}

} // namespace

int ConfigureVideoFilters(TCustomFFmpeg& e, const AVCodecContext* dec, TAVOutputStream* ost) {
    AVCodecContext* enc = ost->enc_ctx;
    ost->filter_graph.reset(av::avfilter_graph_alloc());
    AVFilterGraph* graph = ost->filter_graph.get();
    ost->input_video_filter = ost->out_video_filter = nullptr;
    if (!graph) return -1;

    const AVRational tb = dec->pkt_timebase.num ? dec->pkt_timebase : AVRational{1, AV_TIME_BASE};
    const AVRational sar = dec->sample_aspect_ratio.num ? dec->sample_aspect_ratio : AVRational{0, 1};
    AVFilterContext* src =
        AddFilter(graph, "buffer", "src",
                  os::FormatC("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", dec->width,
                              dec->height, dec->pix_fmt, tb.num, tb.den, sar.num, sar.den));
    if (!src) return -1;
    // Without the encoder's pixel format the sink cannot be made.
    if (enc->pix_fmt == AV_PIX_FMT_NONE) return -1;
    AVFilterContext* sink = AddFilter(graph, "buffersink", "out", "");
    if (!sink) return -1;
    const AVPixelFormat formats[] = {enc->pix_fmt};
    if (av::av_opt_set_bin(sink, "pix_fmts", reinterpret_cast<const uint8_t*>(formats), sizeof(formats),
                           AV_OPT_SEARCH_CHILDREN) < 0)
        return -1;
    ost->input_video_filter = src;
    ost->out_video_filter = sink;
    AVFilterContext* last = src;

    const int64_t flags = ScalerFlags(e);
    if (ost->video_crop) {
        // The crop keeps the picture inside the bands; scaling to the
        // encoder's size, when needed, follows.
        const int w = dec->width - (ost->leftBand + ost->rightBand);
        const int h = dec->height - (ost->topBand + ost->bottomBand);
        AVFilterContext* crop = AddFilter(
            graph, "crop", nullptr, os::FormatC("w=%d:h=%d:x=%d:y=%d", w, h, ost->leftBand, ost->topBand));
        if (!crop || av::avfilter_link(last, 0, crop, 0) < 0) return -1;
        last = crop;
    }
    if (enc->width != dec->width - (e.Fframe_leftBand + e.Fframe_rightBand) ||
        enc->height != dec->height - (e.Fframe_topBand + e.Fframe_bottomBand)) {
        AVFilterContext* scale = AddFilter(
            graph, "scale", nullptr,
            os::FormatC("%d:%d:flags=%lld", enc->width, enc->height, static_cast<long long>(flags)));
        if (!scale || av::avfilter_link(last, 0, scale, 0) < 0) return -1;
        last = scale;
    }
    av::av_freep(&graph->scale_sws_opts);
    graph->scale_sws_opts = av::av_strdup(os::FormatC("flags=0x%X", static_cast<unsigned>(flags)).c_str());

    if (!LinkFilters(graph, e.Fvfilters, last, sink)) return -1;
    if (av::avfilter_graph_config(graph, nullptr) < 0) return -1;
    enc->width = av::av_buffersink_get_w(sink);
    enc->height = av::av_buffersink_get_h(sink);
    // The encoder opens after this and the header is written with its
    // aspect ratio, so the graph's ratio is taken now (a filter such as
    // setsar or scale may change it).
    const AVRational filtered_sar = av::av_buffersink_get_sample_aspect_ratio(sink);
    if (filtered_sar.num > 0 && filtered_sar.den > 0) {
        enc->sample_aspect_ratio = filtered_sar;
        if (ost->st) ost->st->sample_aspect_ratio = filtered_sar;
    }
    return 0;
}

bool SendFilterPicture(TAVOutputStream* ost, const AVFrame* APicture) {
    return ost->input_video_filter &&
           av::av_buffersrc_add_frame_flags(ost->input_video_filter, const_cast<AVFrame*>(APicture),
                                            AV_BUFFERSRC_FLAG_KEEP_REF) >= 0;
}

int GetFilteredPicture(TAVOutputStream* ost, AVFrame* AFrame, int64_t APTS) {
    if (!ost->out_video_filter) return -1;
    av::av_frame_unref(AFrame);
    if (av::av_buffersink_get_frame(ost->out_video_filter, AFrame) < 0) return -1;
    // The filtered picture takes the input stream's current time.
    AFrame->pts = APTS;
    return 1;
}

} // namespace media
