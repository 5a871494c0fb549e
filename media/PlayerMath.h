#pragma once
// The player's arithmetic, free of any state: picture delays, the display
// rectangle, subtitle palettes, seek targets, audio length correction and the
// audio display's start index.
#include <cstdint>

namespace media {

// Delay before a picture from the pts step: a step not above 0 or of 10 s or
// more reuses the last valid delay.  Updates lastPts and lastDelay.
double PictureDelay(double pts, double& lastPts, double& lastDelay);

// Corrects a picture's delay by the difference of the video clock to the
// master clock: far behind shows at once, far ahead waits twice as long;
// 10 s or more apart is taken as a jump and changes nothing.
double SyncedPictureDelay(double delay, double diff);

struct TDisplayRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const TDisplayRect&) const = default;
};

// The picture's rectangle centred in a width x height display area for the
// given display aspect ratio; even sizes.
TDisplayRect AspectRect(int width, int height, double aspect);

// A palette entry 0xAARRGGBB to 0xAAYYUUVV (studio-range BT.601).
uint32_t RGBAToYUVA(uint32_t argb);

// The microsecond target of a seek to an absolute time: limited to the
// file's duration when that is known, plus the file's start time when known.
int64_t SeekTarget(int64_t apts, int64_t duration, int64_t fileStartTime);

// The length in bytes that brings the audio diff seconds closer to the
// master clock: at most 10 % shorter or longer, never above capacity, whole
// sample frames.
int SyncedAudioSize(int size, double diff, int sampleRate, int bytesPerFrame, int capacity);

// The running difference of the audio clock to the master clock: a
// difference measured 20 buffers earlier weighs 1 %.
class TAudioDiffAverage {
public:
    explicit TAudioDiffAverage(double threshold = 0) : threshold_(threshold) {}
    // True when the audio should be corrected by this difference (seconds):
    // 20 measurements have been made and their average is past the
    // threshold.  A difference of 10 s or more either way is a jump, not a
    // drift, and starts the measurement again.
    bool Measure(double diff);

private:
    double cum_ = 0;
    int count_ = 0;
    double threshold_;
};

// The ring index where the audio display starts: delay sample frames are
// still to be heard (bytes not yet handed over, less the time since the last
// callback), and dataUsed frames are shown.  64-bit throughout.
int AudioDisplayStart(int sampleIndex, int ringSize, int64_t unplayedBytes, int channels, int sampleRate,
                      int64_t microsSinceCallback, int dataUsed);

} // namespace media
