#pragma once
// A colour of the skin art: sRGB channels 0..1, with the few
// operations the skin rules are stated in: mixing, HSL lightness steps and WCAG contrast.
#include "skin/core/SkinTypes.h"

#include <cstdint>
#include <string>

namespace skingen {

struct Rgb {
    double r = 0, g = 0, b = 0;

    // "#RRGGBB"; std::invalid_argument for anything else.
    static Rgb Parse(const std::string& text);
    static Rgb Bytes(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

    // This colour moved `t` (0..1) of the way towards `to`.
    Rgb Mix(const Rgb& to, double t) const;
    // HSL lightness raised (or lowered, with a negative step) by `step` of the full range.
    Rgb Lighten(double step) const;
    // WCAG relative luminance and the contrast ratio of two colours (1..21).
    double Luminance() const;
    static double Contrast(const Rgb& a, const Rgb& b);
    bool IsDark() const { return Luminance() < 0.2; }

    uint32_t Bgra() const;      // opaque pixel of gdi::image::Image
    skin::TColor Color() const; // the platform colour value 0x00BBGGRR
    std::string Hex() const;
};

} // namespace skingen
