#pragma once
// Stream records and contexts for the encoding-path tests: frames go in,
// frames (or packets) come out; no file is written.
#include <cstdint>
#include <memory>
#include <vector>

#include "../engine/EngineTestSupport.h"
#include "media/AVApi.h"
#include "media/FFmpegEncode.h"
#include "media/FFmpegRunRecords.h"

namespace encodetest {

inline media::TCodecContextPtr AudioContext(AVSampleFormat fmt, int rate, int channels, int frameSize) {
    media::TCodecContextPtr ctx(av::avcodec_alloc_context3(nullptr));
    ctx->codec_type = AVMEDIA_TYPE_AUDIO;
    ctx->sample_fmt = fmt;
    ctx->sample_rate = rate;
    av::av_channel_layout_default(&ctx->ch_layout, channels);
    ctx->frame_size = frameSize;
    ctx->time_base = AVRational{1, rate};
    return ctx;
}

inline media::TCodecContextPtr VideoContext(int width, int height, AVPixelFormat fmt, int fps = 25) {
    media::TCodecContextPtr ctx(av::avcodec_alloc_context3(nullptr));
    ctx->codec_type = AVMEDIA_TYPE_VIDEO;
    ctx->width = width;
    ctx->height = height;
    ctx->pix_fmt = fmt;
    ctx->time_base = AVRational{1, fps};
    ctx->pkt_timebase = AVRational{1, fps};
    return ctx;
}

// A picture whose first plane holds value (other planes 128).
inline media::TFramePtr Picture(int width, int height, AVPixelFormat fmt, uint8_t value) {
    media::TFramePtr f(av::av_frame_alloc());
    f->width = width;
    f->height = height;
    f->format = fmt;
    av::av_frame_get_buffer(f.get(), 0);
    const AVPixFmtDescriptor* desc = av::av_pix_fmt_desc_get(fmt);
    for (int p = 0; p < 4 && f->data[p]; ++p) {
        const int h = p == 0 || !(desc->flags & AV_PIX_FMT_FLAG_PLANAR)
                          ? height
                          : AV_CEIL_RSHIFT(height, desc->log2_chroma_h);
        for (int y = 0; y < h; ++y)
            std::memset(f->data[p] + y * f->linesize[p], p == 0 ? value : 128,
                        static_cast<size_t>(f->linesize[p]));
    }
    return f;
}

// Interleaved 16-bit samples of one value.
inline std::vector<uint8_t> Samples(int count, int channels, int16_t value = 1000) {
    std::vector<int16_t> s(static_cast<size_t>(count) * channels, value);
    std::vector<uint8_t> bytes(s.size() * 2);
    std::memcpy(bytes.data(), s.data(), bytes.size());
    return bytes;
}

} // namespace encodetest
