#include "GlyphText.h"

#include <sstream>
#include <stdexcept>
#include <string_view>

namespace resgen {

namespace {

// The legend, in the order of the system palette: black, maroon, green, olive, navy, purple,
// teal, silver, grey, red, lime, yellow, blue, magenta (transparent), cyan, white.
constexpr std::string_view kLegend = "kmgonptsdRGYB.Cw";
constexpr uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                   0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

GlyphText GlyphText::Parse(const std::string& text) {
    GlyphText g;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        throw std::runtime_error("line " + std::to_string(number) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("bits ", 0) == 0) {
            if (line != "bits 4" && line != "bits 8") fail("bits must be 4 or 8");
            g.bits_ = line[5] - '0';
            continue;
        }
        if (g.width_ == 0) g.width_ = static_cast<int>(line.size());
        if (static_cast<int>(line.size()) != g.width_) fail("rows differ in length");
        for (char c : line) {
            size_t index = kLegend.find(c);
            if (index == std::string_view::npos) fail(std::string("no colour is written '") + c + "'");
            g.indices_.push_back(static_cast<uint8_t>(index));
        }
        ++g.height_;
    }
    if (g.height_ == 0) throw std::runtime_error("no rows");
    return g;
}

std::vector<uint8_t> GlyphText::ToBmp() const {
    const uint32_t colours = 1u << bits_;
    const uint32_t stride = static_cast<uint32_t>((width_ * bits_ + 31) / 32 * 4);
    const uint32_t offBits = 14 + 40 + 4 * colours, imageSize = stride * static_cast<uint32_t>(height_);
    std::vector<uint8_t> out;
    out.push_back('B'), out.push_back('M');
    PutLe(out, offBits + imageSize, 4);
    PutLe(out, 0, 4);
    PutLe(out, offBits, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<uint32_t>(width_), 4);
    PutLe(out, static_cast<uint32_t>(height_), 4);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<uint32_t>(bits_), 2);
    PutLe(out, 0, 4); // BI_RGB
    PutLe(out, imageSize, 4);
    PutLe(out, 2835, 4); // 72 dots per inch
    PutLe(out, 2835, 4);
    PutLe(out, colours, 4);
    PutLe(out, 0, 4);
    for (uint32_t i = 0; i < colours; ++i) PutLe(out, i < 16 ? kPalette[i] : 0, 4);
    for (int y = height_ - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width_; ++x) {
            uint8_t index = Index(x, y);
            if (bits_ == 8)
                row[x] = index;
            else
                row[x / 2] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace resgen
