#pragma once
// The completion sound: a two-note chime, each note a struck bell-like tone (a sine with a
// quieter octave, a short rise against clicks and an exponential decay), as 16-bit mono PCM.
#include <cstdint>
#include <vector>

namespace resgen {

class Chime {
public:
    static constexpr int kSampleRate = 22050;
    static constexpr double kSeconds = 1.4;

    // The samples, peaking just below full scale.
    static std::vector<int16_t> Samples();
    // A RIFF/WAVE file of the samples.
    static std::vector<uint8_t> ToWav();
};

} // namespace resgen
