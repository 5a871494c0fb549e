#include "gdi/image/Quantizer.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace gdi::image {
namespace {

struct Entry {
    std::array<int, 3> c; // r, g, b
    uint32_t count;
};

struct Box {
    size_t begin, end;
    int axis = 0;
    int range = 0;
    uint64_t population = 0;
};

bool Transparent(uint32_t px) {
    return (px >> 24) < 128;
}

void Measure(const std::vector<Entry>& e, Box& b) {
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    b.population = 0;
    for (size_t i = b.begin; i < b.end; ++i) {
        for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], e[i].c[k]), hi[k] = std::max(hi[k], e[i].c[k]);
        b.population += e[i].count;
    }
    b.range = -1;
    for (int k = 0; k < 3; ++k)
        if (hi[k] - lo[k] > b.range) b.range = hi[k] - lo[k], b.axis = k;
}

std::vector<uint32_t> MedianCut(std::vector<Entry>& entries, int colors) {
    std::vector<Box> boxes{
        {0, entries.size()}
    };
    Measure(entries, boxes[0]);
    while (static_cast<int>(boxes.size()) < colors) {
        // Split where the error is largest: wide boxes holding many pixels.
        auto score = [](const Box& b) {
            return b.end - b.begin < 2 ? 0.0 : static_cast<double>(b.range) * b.range * b.population;
        };
        auto it = std::max_element(boxes.begin(), boxes.end(),
                                   [&](const Box& a, const Box& b) { return score(a) < score(b); });
        if (score(*it) <= 0) break;
        Box box = *it;
        const int axis = box.axis;
        std::sort(entries.begin() + box.begin, entries.begin() + box.end,
                  [axis](const Entry& a, const Entry& b) { return a.c[axis] < b.c[axis]; });
        uint64_t half = box.population / 2, run = 0;
        size_t mid = box.begin;
        while (mid < box.end - 1 && run + entries[mid].count <= half) run += entries[mid++].count;
        if (mid == box.begin) ++mid;
        Box lower{box.begin, mid}, upper{mid, box.end};
        Measure(entries, lower);
        Measure(entries, upper);
        *it = lower;
        boxes.push_back(upper);
    }
    std::vector<uint32_t> palette;
    for (const Box& b : boxes) {
        uint64_t sum[3] = {0, 0, 0}, n = 0;
        for (size_t i = b.begin; i < b.end; ++i) {
            for (int k = 0; k < 3; ++k) sum[k] += static_cast<uint64_t>(entries[i].c[k]) * entries[i].count;
            n += entries[i].count;
        }
        if (n == 0) continue;
        palette.push_back(MakeBgra(static_cast<uint8_t>((sum[0] + n / 2) / n),
                                   static_cast<uint8_t>((sum[1] + n / 2) / n),
                                   static_cast<uint8_t>((sum[2] + n / 2) / n)));
    }
    return palette;
}

// Nearest palette entry, cached per 6-bit-per-channel cell.
class NearestColour {
public:
    explicit NearestColour(const std::vector<uint32_t>& palette) : palette_(palette), cache_(1 << 18, -1) {}

    int Find(int r, int g, int b) {
        int key = ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
        if (cache_[key] >= 0) return cache_[key];
        int best = 0, bestDist = 1 << 30;
        for (size_t i = 0; i < palette_.size(); ++i) {
            int dr = r - static_cast<int>((palette_[i] >> 16) & 0xFF);
            int dg = g - static_cast<int>((palette_[i] >> 8) & 0xFF);
            int db = b - static_cast<int>(palette_[i] & 0xFF);
            int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db; // the eye weighs green most
            if (d < bestDist) bestDist = d, best = static_cast<int>(i);
        }
        cache_[key] = static_cast<int16_t>(best);
        return best;
    }

private:
    const std::vector<uint32_t>& palette_;
    std::vector<int16_t> cache_;
};

} // namespace

IndexedImage Quantize(const Image& image, int maxColors, bool dither) {
    IndexedImage out;
    out.width = image.width;
    out.height = image.height;
    out.indices.assign(image.pixels.size(), 0);
    maxColors = std::clamp(maxColors, 2, 256);

    bool anyTransparent = false;
    std::unordered_map<uint32_t, uint32_t> counts;
    for (uint32_t px : image.pixels) {
        if (Transparent(px))
            anyTransparent = true;
        else
            ++counts[px & 0xFFFFFF];
    }
    const int slots = maxColors - (anyTransparent ? 1 : 0);

    std::unordered_map<uint32_t, uint8_t> exact;
    if (static_cast<int>(counts.size()) <= slots) {
        for (auto& [rgb, n] : counts) {
            exact[rgb] = static_cast<uint8_t>(out.palette.size());
            out.palette.push_back(rgb | 0xFF000000u);
        }
        dither = false;
    } else {
        std::vector<Entry> entries;
        entries.reserve(counts.size());
        for (auto& [rgb, n] : counts)
            entries.push_back({
                {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                 static_cast<int>(rgb & 0xFF)},
                n
            });
        out.palette = MedianCut(entries, slots);
    }
    if (anyTransparent) {
        out.transparentIndex = static_cast<int>(out.palette.size());
        out.palette.push_back(0xFF000000u);
    }

    NearestColour nearest(out.palette);
    const int w = image.width;
    // Floyd-Steinberg error of this row and the next, per channel, with a
    // guard column on each side.
    std::vector<std::array<int, 3>> err(static_cast<size_t>(w) + 2), next(static_cast<size_t>(w) + 2);
    for (int y = 0; y < image.height; ++y) {
        std::fill(next.begin(), next.end(), std::array<int, 3>{0, 0, 0});
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            const uint32_t px = image.pixels[i];
            if (Transparent(px)) {
                out.indices[i] = static_cast<uint8_t>(out.transparentIndex);
                continue;
            }
            if (!exact.empty()) {
                out.indices[i] = exact[px & 0xFFFFFF];
                continue;
            }
            std::array<int, 3> c{static_cast<int>((px >> 16) & 0xFF), static_cast<int>((px >> 8) & 0xFF),
                                 static_cast<int>(px & 0xFF)};
            if (dither)
                for (int k = 0; k < 3; ++k) c[k] = std::clamp(c[k] + err[x + 1][k] / 16, 0, 255);
            const int idx = nearest.Find(c[0], c[1], c[2]);
            out.indices[i] = static_cast<uint8_t>(idx);
            if (!dither) continue;
            const uint32_t p = out.palette[idx];
            const std::array<int, 3> got{static_cast<int>((p >> 16) & 0xFF),
                                         static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
            for (int k = 0; k < 3; ++k) {
                const int e = c[k] - got[k];
                err[x + 2][k] += e * 7;
                next[x][k] += e * 3;
                next[x + 1][k] += e * 5;
                next[x + 2][k] += e;
            }
        }
        std::swap(err, next);
    }
    return out;
}

} // namespace gdi::image
