#pragma once
// Owning pointers to the libraries' objects, each freed with the library's
// own function: one deleter per kind of object for the whole media code.
#include <memory>

struct AVCodecContext;
struct AVFilterGraph;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

namespace media {

// An opened codec is closed under the codec lock: opening and closing
// codecs is serialised across threads.
struct TCodecContextFree {
    void operator()(AVCodecContext* ctx) const;
};
using TCodecContextPtr = std::unique_ptr<AVCodecContext, TCodecContextFree>;

struct TFrameFree {
    void operator()(AVFrame* frame) const;
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameFree>;

struct TPacketFree {
    void operator()(AVPacket* packet) const;
};
using TPacketPtr = std::unique_ptr<AVPacket, TPacketFree>;

struct TFilterGraphFree {
    void operator()(AVFilterGraph* graph) const;
};
using TFilterGraphPtr = std::unique_ptr<AVFilterGraph, TFilterGraphFree>;

// A format context that was never opened (an opened input is closed, not
// freed).
struct TFormatContextFree {
    void operator()(AVFormatContext* ctx) const;
};
using TFormatContextPtr = std::unique_ptr<AVFormatContext, TFormatContextFree>;

} // namespace media
