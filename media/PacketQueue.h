#pragma once
// A thread-safe queue of packets between the player's reading thread and its
// decoders.  Every queue starts with the flush packet, and a seek puts it in
// again; consumers recognise it by its data pointer (IsFlushPacket).
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

struct AVPacket;

namespace media {

// The one flush packet of the process: no buffer, data pointing at a
// constant text, size 0.  Nothing ever frees its data.
const AVPacket* FlushPacket();
bool IsFlushPacket(const AVPacket* pkt);

class TPacketQueue {
public:
    // Per-node overhead counted in Size, so an empty packet still counts.
    static constexpr int NodeOverhead = 72;

    TPacketQueue() = default;
    ~TPacketQueue();
    TPacketQueue(const TPacketQueue&) = delete;
    TPacketQueue& operator=(const TPacketQueue&) = delete;

    // Clears the abort flag and empties the queue.
    void Init();
    // Copies the packet (the flush packet is passed as it is); -1 when the
    // copy fails.
    int Put(const AVPacket* pkt);
    // 1 a packet was moved into pkt, 0 none (only when not blocking), -1 aborted.
    int Get(AVPacket* pkt, bool block);
    void Flush();
    void Abort();
    // Flushes; the queue can be initialised again.
    void End() { Flush(); }

    bool Aborted() const;
    int Size() const;
    int Count() const;
    // The packets that carry data (not the flush packet, not the empty end-of-input ones).
    int DataCount() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable cond_;
    std::deque<AVPacket*> packets_;
    int size_ = 0;
    int data_count_ = 0;
    bool abort_ = false;
};

} // namespace media
