#include "media/AVHandles.h"

#include "media/AVApi.h"
#include "media/FFmpegLoader.h"
#include "os/CriticalSection.h"

namespace media {

void TCodecContextFree::operator()(AVCodecContext* ctx) const {
    if (!ctx) return;
    if (av::avcodec_is_open(ctx)) {
        os::CsLock lock(CodecLock());
        av::avcodec_free_context(&ctx);
        return;
    }
    av::avcodec_free_context(&ctx);
}

void TFrameFree::operator()(AVFrame* frame) const {
    if (frame) av::av_frame_free(&frame);
}

void TPacketFree::operator()(AVPacket* packet) const {
    av::av_packet_free(&packet);
}

void TFilterGraphFree::operator()(AVFilterGraph* graph) const {
    if (graph) av::avfilter_graph_free(&graph);
}

void TFormatContextFree::operator()(AVFormatContext* ctx) const {
    av::avformat_free_context(ctx);
}

} // namespace media
