#include "media/CodecThreads.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>

#include "media/AVApi.h"

namespace media {
namespace {

// The cores the process may run on (a CPU set or a container may allow
// fewer than the machine has).
int MachineCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int n = CPU_COUNT(&set);
        if (n > 0) return n;
    }
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

} // namespace

int TCodecThreads::Cores() const {
    std::lock_guard<std::mutex> g(FLock);
    if (FCores > 0) return FCores;
    static const int machine = MachineCores();
    return machine;
}

void TCodecThreads::SetCores(int ACores) {
    std::lock_guard<std::mutex> g(FLock);
    FCores = std::max(ACores, 0);
}

int TCodecThreads::RunStarted(int AExpected) {
    const int cores = Cores();
    std::lock_guard<std::mutex> g(FLock);
    ++FRunning;
    return std::max(1, cores / std::max({FRunning, AExpected, 1}));
}

void TCodecThreads::RunEnded() {
    std::lock_guard<std::mutex> g(FLock);
    if (FRunning > 0) --FRunning;
}

int TCodecThreads::Running() const {
    std::lock_guard<std::mutex> g(FLock);
    return FRunning;
}

int TCodecThreads::DecoderThreads(int AShare) {
    // Measured on a 1080p H.264 to 720p x264 run with a share of 8: one
    // decoder thread keeps ahead of the encoder, and a second one only added
    // its own copy of the decoder's state and a picture of delay, while the
    // encoder, given that thread, took 25% less wall time.
    return std::max(1, AShare / 8);
}

int TCodecThreads::EncoderThreads(int AShare) {
    // A decoder of one thread starts none: it takes nothing from the share.
    const int decoder = DecoderThreads(AShare);
    // A staged run also keeps a core for its own thread, which reads,
    // decodes and does the audio.
    const int staged = AShare >= MinStagedShare ? 2 : 0;
    return std::max(1, AShare - (decoder > 1 ? decoder : 0) - staged);
}

bool TCodecThreads::Staged(int AShare) const {
    std::lock_guard<std::mutex> g(FLock);
    return FStaging && AShare >= MinStagedShare;
}

void TCodecThreads::SetStaging(bool AOn) {
    std::lock_guard<std::mutex> g(FLock);
    FStaging = AOn;
}

bool TCodecThreads::Threaded(const AVCodec* ACodec) {
    return ACodec && (ACodec->capabilities &
                      (AV_CODEC_CAP_FRAME_THREADS | AV_CODEC_CAP_SLICE_THREADS | AV_CODEC_CAP_OTHER_THREADS));
}

int TCodecThreads::StartedBy(const AVCodecContext* AContext) {
    return AContext && AContext->thread_count > 1 ? AContext->thread_count : 0;
}

void TCodecThreads::CodecOpened(int AThreads) {
    if (AThreads <= 0) return;
    std::lock_guard<std::mutex> g(FLock);
    FInUse += AThreads;
    FPeak = std::max(FPeak, FInUse);
}

void TCodecThreads::CodecClosed(int AThreads) {
    if (AThreads <= 0) return;
    std::lock_guard<std::mutex> g(FLock);
    FInUse = std::max(0, FInUse - AThreads);
}

int TCodecThreads::InUse() const {
    std::lock_guard<std::mutex> g(FLock);
    return FInUse;
}

int TCodecThreads::Peak() const {
    std::lock_guard<std::mutex> g(FLock);
    return FPeak;
}

void TCodecThreads::ResetPeak() {
    std::lock_guard<std::mutex> g(FLock);
    FPeak = FInUse;
}

TCodecThreads& CodecThreads() {
    static TCodecThreads threads;
    return threads;
}

} // namespace media
