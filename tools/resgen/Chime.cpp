#include "Chime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace resgen {

namespace {

struct Note {
    double start, frequency, decay;
};

// A falling major third, the second note ringing longer.
constexpr Note kNotes[] = {
    {0.0,  1318.51, 5.0},
    {0.28, 1046.50, 3.2}
};

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

std::vector<int16_t> Chime::Samples() {
    const size_t count = static_cast<size_t>(kSeconds * kSampleRate);
    std::vector<double> mix(count, 0.0);
    for (const Note& note : kNotes)
        for (size_t i = static_cast<size_t>(note.start * kSampleRate); i < count; ++i) {
            double t = static_cast<double>(i) / kSampleRate - note.start;
            double envelope = std::min(t / 0.004, 1.0) * std::exp(-note.decay * t);
            double phase = 2 * std::numbers::pi * note.frequency * t;
            mix[i] += envelope * (std::sin(phase) + 0.3 * std::sin(2 * phase) * std::exp(-4 * t));
        }
    // The tail fades to silence over the last 50 ms, so the file ends without a click.
    const size_t fade = kSampleRate / 20;
    for (size_t i = 0; i < fade; ++i) mix[count - 1 - i] *= static_cast<double>(i) / fade;
    double peak = 0;
    for (double v : mix) peak = std::max(peak, std::abs(v));
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(std::lround(mix[i] / peak * 29000));
    return samples;
}

std::vector<uint8_t> Chime::ToWav() {
    std::vector<int16_t> samples = Samples();
    const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, 36 + dataSize, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, 1, 2); // mono
    PutLe(out, kSampleRate, 4);
    PutLe(out, kSampleRate * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, dataSize, 4);
    for (int16_t s : samples) PutLe(out, static_cast<uint16_t>(s), 2);
    return out;
}

} // namespace resgen
