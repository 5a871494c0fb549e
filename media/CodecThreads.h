#pragma once
// How the machine's cores are shared among the conversions that run at once.
// Each run takes a share of about (cores / runs at once) when it opens its
// codecs, never below 1; its video decoder, its video encoding stage and the
// encoder split that share.  Audio and subtitle codecs stay on the run's own
// thread.  The threads the opened codecs and stages have started are
// counted, so that the sharing can be checked.
//
// A run with a share of four or more scales and encodes its pictures on a
// stage thread of its own while its own thread reads and decodes the next
// ones: in a profile of a 1080p to 720p run the run's thread did about 30%
// of the work when it also scaled and fed the encoder, and set the pace.
// The encoder takes what the decoder, the stage and the run's own thread
// leave of the share: one more encoder thread holds another picture and its
// working state (libx264 at 720p: about 12 MiB) and adds nothing once the
// cores are busy.
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
    // the decoder takes an eighth of a large share, the stage one thread,
    // the encoder the rest.  With a share of 1 all stay on the run's thread.
    static int DecoderThreads(int AShare);
    static int EncoderThreads(int AShare);
    // Whether a run of this share encodes its video on a stage thread.
    static constexpr int MinStagedShare = 4;
    bool Staged(int AShare) const;
    // Stages can be kept on the run's own thread (to compare a run with and
    // without them at the same codec thread counts); the codecs then keep
    // the threads they would have had.
    void SetStaging(bool AOn);
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
    bool FStaging = true;
};

// The one sharing of the process: every engine draws from it.
TCodecThreads& CodecThreads();

} // namespace media
