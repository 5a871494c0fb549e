#include "Rgb.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace skingen {

namespace {

int Byte(double v) {
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

double Linear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Hue(double p, double q, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

} // namespace

Rgb Rgb::Parse(const std::string& text) {
    unsigned v = 0;
    int used = 0;
    if (text.size() != 7 || text[0] != '#' || std::sscanf(text.c_str() + 1, "%6x%n", &v, &used) != 1 ||
        used != 6)
        throw std::invalid_argument("not a colour of the form #RRGGBB: " + text);
    return Bytes((v >> 16) & 255, (v >> 8) & 255, v & 255);
}

Rgb Rgb::Mix(const Rgb& to, double t) const {
    return {r + (to.r - r) * t, g + (to.g - g) * t, b + (to.b - b) * t};
}

Rgb Rgb::Lighten(double step) const {
    double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    double l = (mx + mn) / 2, h = 0, s = 0;
    // Near-greys are greys: a rounding difference must not turn into a saturated hue.
    if (mx - mn > 1e-4) {
        double d = mx - mn;
        s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
        if (mx == r)
            h = (g - b) / d + (g < b ? 6 : 0);
        else if (mx == g)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        h /= 6;
    }
    l = std::clamp(l + step, 0.0, 1.0);
    if (s == 0) return {l, l, l};
    double q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
    return {Hue(p, q, h + 1.0 / 3), Hue(p, q, h), Hue(p, q, h - 1.0 / 3)};
}

double Rgb::Luminance() const {
    return 0.2126 * Linear(r) + 0.7152 * Linear(g) + 0.0722 * Linear(b);
}

double Rgb::Contrast(const Rgb& a, const Rgb& b) {
    double la = a.Luminance(), lb = b.Luminance();
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

uint32_t Rgb::Bgra() const {
    return 0xFF000000u | static_cast<uint32_t>(Byte(r) << 16 | Byte(g) << 8 | Byte(b));
}

skin::TColor Rgb::Color() const {
    return static_cast<skin::TColor>(Byte(b) << 16 | Byte(g) << 8 | Byte(r));
}

std::string Rgb::Hex() const {
    char s[8];
    std::snprintf(s, sizeof s, "#%02X%02X%02X", Byte(r), Byte(g), Byte(b));
    return s;
}

} // namespace skingen
