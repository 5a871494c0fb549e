#pragma once
// How the machine's cores are shared among the conversions that run at once.
// Each run takes a share of about (cores / runs at once) when it opens its
// codecs, never below 1; its video decoder and encoder split that share.
// Audio and subtitle codecs stay on the run's own thread.  The threads the
// opened codecs have started are counted, so that the sharing can be checked.
//
// The encoder takes three threads at most.  A frame-threaded encoder keeps a
// picture and its working state per thread (libx264 at 720p: about 12 MiB,
// some 5% of what a run holds on one thread), and the run's own thread,
// which reads, decodes, scales and hands the pictures over one by one, sets
// the pace well before a fourth encoder thread would pay: in a profile of a
// 1080p to 720p run on eight cores it did about 30% of the work, the
// encoder's six threads together under half of it.
#include <mutex>

struct AVCodec;
struct AVCodecContext;

namespace media {

class TCodecThreads {
public:
    // The cores to share: the count set by SetCores, or else the cores this
    // process may run on.
    int Cores() const;
    // 0 goes back to the machine's own count.
    void SetCores(int ACores);

    // A run opens its codecs; AExpected runs of its list go at once (itself
    // among them).  Returns the run's share of threads, at least 1.
    int RunStarted(int AExpected);
    void RunEnded();
    int Running() const;

    // The threads a video codec of a run with this share is opened with:
    // the decoder takes a quarter of a large share, the encoder the rest, up
    // to MaxEncoderThreads.  With a share of 1 both stay on the run's thread.
    static constexpr int MaxEncoderThreads = 3;
    static int DecoderThreads(int AShare);
    static int EncoderThreads(int AShare);
    // Whether the codec can use more threads than the caller's own.
    static bool Threaded(const AVCodec* ACodec);
    // The threads an opened codec context has started beside the caller's:
    // none with a thread count of 1.
    static int StartedBy(const AVCodecContext* AContext);

    // Threads started by opened codecs, now and at most since ResetPeak.
    void CodecOpened(int AThreads);
    void CodecClosed(int AThreads);
    int InUse() const;
    int Peak() const;
    void ResetPeak();

private:
    mutable std::mutex FLock;
    int FCores = 0;
    int FRunning = 0;
    int FInUse = 0;
    int FPeak = 0;
};

// The one sharing of the process: every engine draws from it.
TCodecThreads& CodecThreads();

} // namespace media
