#pragma once
// A decoded picture: what every reader produces and every writer takes.
#include <cstdint>
#include <string>
#include <vector>

namespace gdi::image {

// Pixels are 32-bit BGRA (blue in the lowest byte, alpha in the highest),
// rows top-down with no padding.  Sources without alpha get 255.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    // The colour table of a palette source (BMP of 8 bits or fewer, GIF), as
    // BGRA entries; empty otherwise.  Informative: `pixels` is complete.
    std::vector<uint32_t> palette;
    // Some pixel is not fully opaque (or the source says it has transparency).
    bool hasAlpha = false;

    void Reset(int w, int h, uint32_t fill = 0xFF000000u);
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline constexpr uint32_t MakeBgra(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return static_cast<uint32_t>(b) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(r) << 16) |
           (static_cast<uint32_t>(a) << 24);
}

// Files claiming larger pictures are refused before anything is allocated:
// no picture the program shows or saves comes near these.
inline constexpr int kMaxImageDimension = 32768;
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 26;

// False, with the reason in `error`, when the size is zero or too large.
bool CheckImageSize(int64_t width, int64_t height, std::string& error);
// For writers: a sane size and as many pixels as it says.
bool CheckImage(const Image& image, std::string& error);

} // namespace gdi::image
