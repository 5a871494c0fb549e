#include "media/PlayerMath.h"

#include <algorithm>
#include <cmath>

namespace media {

double PictureDelay(double pts, double& lastPts, double& lastDelay) {
    double delay = pts - lastPts;
    if (delay <= 0 || delay >= 10.0)
        delay = lastDelay;
    else
        lastDelay = delay;
    lastPts = pts;
    return delay;
}

double SyncedPictureDelay(double delay, double diff) {
    double threshold = std::max(0.01, delay);
    if (std::fabs(diff) < 10.0) {
        if (diff <= -threshold) return 0;
        if (diff >= threshold) return 2 * delay;
    }
    return delay;
}

TDisplayRect AspectRect(int width, int height, double aspect) {
    if (aspect <= 0) aspect = 1.0;
    int h = height;
    int w = static_cast<int>(std::lrint(h * aspect)) & ~1;
    if (w > width) {
        w = width;
        h = static_cast<int>(std::lrint(w / aspect)) & ~1;
    }
    return {(width - w) / 2, (height - h) / 2, w, h};
}

uint32_t RGBAToYUVA(uint32_t argb) {
    int a = static_cast<int>(argb >> 24);
    int r = static_cast<int>((argb >> 16) & 0xFF);
    int g = static_cast<int>((argb >> 8) & 0xFF);
    int b = static_cast<int>(argb & 0xFF);
    // Arithmetic shifts round towards minus infinity, which keeps every
    // component inside 0..255.
    int y = (263 * r + 517 * g + 101 * b + 16896) >> 10;
    int u = 128 + ((-152 * r - 298 * g + 450 * b + 511) >> 10);
    int v = 128 + ((450 * r - 377 * g - 74 * b + 511) >> 10);
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(y & 0xFF) << 16) |
           (static_cast<uint32_t>(u & 0xFF) << 8) | static_cast<uint32_t>(v & 0xFF);
}

int64_t SeekTarget(int64_t apts, int64_t duration, int64_t fileStartTime) {
    constexpr int64_t kNoTime = INT64_MIN;
    // A file without a known duration is not clamped: comparing with the
    // missing value would send every seek to the smallest time.
    int64_t target = duration != kNoTime ? std::min(apts, duration) : apts;
    if (fileStartTime != kNoTime) target += fileStartTime;
    return target;
}

int SyncedAudioSize(int size, double diff, int sampleRate, int bytesPerFrame, int capacity) {
    if (bytesPerFrame <= 0) return size;
    int64_t wanted = size + static_cast<int64_t>(std::lrint(diff * sampleRate)) * bytesPerFrame;
    int64_t frames = size / bytesPerFrame;
    int64_t minSize = frames * 90 / 100 * bytesPerFrame;
    int64_t maxSize = frames * 110 / 100 * bytesPerFrame;
    maxSize = std::min<int64_t>(maxSize, capacity / bytesPerFrame * bytesPerFrame);
    wanted = std::clamp<int64_t>(wanted, minSize, std::max(minSize, maxSize));
    return static_cast<int>(wanted);
}

bool TAudioDiffAverage::Measure(double diff) {
    static const double kCoef = std::exp(std::log(0.01) / 20);
    if (std::fabs(diff) >= 10.0) {
        count_ = 0;
        cum_ = 0;
        return false;
    }
    cum_ = diff + kCoef * cum_;
    if (count_ < 20) {
        ++count_;
        return false;
    }
    return std::fabs(cum_ * (1.0 - kCoef)) >= threshold_;
}

int AudioDisplayStart(int sampleIndex, int ringSize, int64_t unplayedBytes, int channels, int sampleRate,
                      int64_t microsSinceCallback, int dataUsed) {
    if (channels <= 0) channels = 1;
    int64_t delay = unplayedBytes / (2 * channels);
    if (microsSinceCallback > 0) delay -= static_cast<int64_t>(sampleRate) * microsSinceCallback / 1000000;
    delay += 2 * static_cast<int64_t>(dataUsed);
    if (delay < dataUsed) delay = dataUsed;
    int64_t start = (static_cast<int64_t>(sampleIndex) - delay * channels) % ringSize;
    if (start < 0) start += ringSize;
    return static_cast<int>(start);
}

} // namespace media
