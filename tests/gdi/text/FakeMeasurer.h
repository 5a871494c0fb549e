#pragma once
// Every character 10 pixels wide, lines 16 high: layout can be checked to the pixel.
#include "gdi/text/TextMeasurer.h"

class FakeMeasurer : public gdi::text::TextMeasurer {
public:
    static constexpr int kCharWidth = 10;
    static constexpr int kLineHeight = 16;

    void Advances(std::u32string_view text, std::vector<int>& out) const override {
        out.resize(text.size());
        for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<int>(i + 1) * kCharWidth;
    }
    int LineHeight() const override { return kLineHeight; }
    int AveCharWidth() const override { return kCharWidth; }
};
