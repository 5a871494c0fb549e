#include "media/PacketQueue.h"

#include <cstring>

#include "media/AVApi.h"

namespace media {
namespace {

const char16_t kFlushText[] = u"FLUSH";

AVPacket MakeFlushPacket() {
    AVPacket pkt{};
    pkt.data = reinterpret_cast<uint8_t*>(const_cast<char16_t*>(kFlushText));
    pkt.size = 0;
    pkt.pts = pkt.dts = AV_NOPTS_VALUE;
    pkt.stream_index = -1;
    return pkt;
}

const AVPacket g_flushPacket = MakeFlushPacket();

// Frees a node's packet.  The flush packet's node is a shallow copy whose
// data belongs to no buffer, so only the node goes.
void FreeNode(AVPacket* pkt) {
    if (IsFlushPacket(pkt)) *pkt = AVPacket{};
    av::av_packet_free(&pkt);
}

} // namespace

const AVPacket* FlushPacket() {
    return &g_flushPacket;
}

bool IsFlushPacket(const AVPacket* pkt) {
    return pkt && pkt->data == g_flushPacket.data;
}

TPacketQueue::~TPacketQueue() {
    Flush();
}

void TPacketQueue::Init() {
    Flush();
    std::lock_guard<std::mutex> g(mutex_);
    abort_ = false;
}

int TPacketQueue::Put(const AVPacket* pkt) {
    AVPacket* node = av::av_packet_alloc();
    if (!node) return -1;
    if (IsFlushPacket(pkt)) {
        *node = g_flushPacket;
    } else if ((pkt->data && av::av_new_packet(node, pkt->size) < 0) ||
               av::av_packet_copy_props(node, pkt) < 0) {
        av::av_packet_free(&node);
        return -1;
    } else if (pkt->data) {
        // The queue owns a copy: the reader's buffer never reaches a decoder.
        std::memcpy(node->data, pkt->data, static_cast<size_t>(pkt->size));
    }
    std::lock_guard<std::mutex> g(mutex_);
    packets_.push_back(node);
    size_ += node->size + NodeOverhead;
    if (node->size > 0) ++data_count_;
    cond_.notify_all();
    return 0;
}

int TPacketQueue::Get(AVPacket* pkt, bool block) {
    std::unique_lock<std::mutex> g(mutex_);
    for (;;) {
        if (abort_) return -1;
        if (!packets_.empty()) {
            AVPacket* node = packets_.front();
            packets_.pop_front();
            size_ -= node->size + NodeOverhead;
            if (node->size > 0) --data_count_;
            g.unlock();
            av::av_packet_unref(pkt);
            if (IsFlushPacket(node)) {
                *pkt = g_flushPacket;
            } else {
                av::av_packet_move_ref(pkt, node);
            }
            FreeNode(node);
            return 1;
        }
        if (!block) return 0;
        cond_.wait(g);
    }
}

void TPacketQueue::Flush() {
    std::deque<AVPacket*> old;
    {
        std::lock_guard<std::mutex> g(mutex_);
        old.swap(packets_);
        size_ = 0;
        data_count_ = 0;
    }
    for (AVPacket* node : old) FreeNode(node);
}

void TPacketQueue::Abort() {
    std::lock_guard<std::mutex> g(mutex_);
    abort_ = true;
    cond_.notify_all();
}

bool TPacketQueue::Aborted() const {
    std::lock_guard<std::mutex> g(mutex_);
    return abort_;
}

int TPacketQueue::Size() const {
    std::lock_guard<std::mutex> g(mutex_);
    return size_;
}

int TPacketQueue::Count() const {
    std::lock_guard<std::mutex> g(mutex_);
    return static_cast<int>(packets_.size());
}

int TPacketQueue::DataCount() const {
    std::lock_guard<std::mutex> g(mutex_);
    return data_count_;
}

} // namespace media
