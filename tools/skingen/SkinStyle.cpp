#include "SkinStyle.h"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace skingen {

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

Finish ParseFinish(const std::string& v) {
    static const std::map<std::string, Finish> names = {
        {"flat",           Finish::Flat         },
        {"soft",           Finish::Soft         },
        {"pastel",         Finish::Pastel       },
        {"glossy-buttons", Finish::GlossyButtons},
        {"glossy",         Finish::Glossy       },
    };
    auto it = names.find(v);
    if (it == names.end()) throw std::invalid_argument("unknown finish: " + v);
    return it->second;
}

} // namespace

SkinStyle SkinStyle::Load(const std::string& fileName) {
    std::ifstream in(fileName);
    if (!in) throw std::runtime_error(fileName + ": cannot be read");
    std::map<std::string, std::pair<std::string, int>> values; // key -> value, line
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        auto eq = line.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(fileName + ":" + std::to_string(n) + ": no \"=\"");
        values[Trim(line.substr(0, eq))] = {Trim(line.substr(eq + 1)), n};
    }
    SkinStyle s;
    auto get = [&](const std::string& key) -> const std::pair<std::string, int>& {
        auto it = values.find(key);
        if (it == values.end()) throw std::runtime_error(fileName + ": the key \"" + key + "\" is missing");
        return it->second;
    };
    auto parse = [&](const std::string& key, auto&& convert) {
        auto& [value, n] = get(key);
        try {
            convert(value);
        } catch (const std::exception& e) {
            throw std::runtime_error(fileName + ":" + std::to_string(n) + ": " + key + ": " + e.what());
        }
    };
    s.name = get("name").first;
    parse("background", [&](const std::string& v) { s.background = Rgb::Parse(v); });
    parse("caption", [&](const std::string& v) {
        std::istringstream two(v);
        std::string top, bottom, extra;
        two >> top >> bottom;
        if (two >> extra || bottom.empty()) throw std::invalid_argument("two colours expected");
        s.captionTop = Rgb::Parse(top);
        s.captionBottom = Rgb::Parse(bottom);
    });
    parse("captiontext", [&](const std::string& v) { s.captionText = Rgb::Parse(v); });
    parse("accent", [&](const std::string& v) { s.accent = Rgb::Parse(v); });
    parse("text", [&](const std::string& v) { s.text = Rgb::Parse(v); });
    parse("radius", [&](const std::string& v) { s.radius = std::stoi(v); });
    parse("finish", [&](const std::string& v) { s.finish = ParseFinish(v); });
    parse("outline", [&](const std::string& v) { s.outline = std::stoi(v); });
    parse("glyph", [&](const std::string& v) { s.glyph = std::stod(v); });
    parse("glow", [&](const std::string& v) { s.glow = std::stoi(v) != 0; });
    if (s.name.empty()) throw std::runtime_error(fileName + ": the name is empty");
    if (s.radius < 0 || s.radius > 12 || s.outline < 1 || s.outline > 2 || s.glyph <= 0 || s.glyph > 3)
        throw std::runtime_error(fileName + ": radius, outline or glyph outside what the art allows");
    return s;
}

Rgb SkinStyle::Window() const {
    return Dark() ? background.Lighten(0.04) : background.Mix(Rgb{1, 1, 1}, 0.75);
}

Rgb SkinStyle::Face() const {
    if (Dark()) return background.Lighten(0.09);
    return background.Mix(Rgb{1, 1, 1}, 0.55).Mix(text, 0.03);
}

Rgb SkinStyle::Border() const {
    if (outline >= 2) return text; // the 2-pixel look of high contrast draws every line in full
    // Outlines stand 3:1 against the background, as focus rings and thumbs must.
    Rgb c = background.Mix(text, 0.35);
    for (double t = 0.4; Rgb::Contrast(c, background) < 3.0 && t <= 1.0; t += 0.05)
        c = background.Mix(text, t);
    return c;
}

Rgb SkinStyle::FrameOutline() const {
    return Dark() ? captionBottom.Lighten(0.10) : captionBottom.Lighten(-0.12);
}

Rgb SkinStyle::OnAccent() const {
    // White marks wherever they stand out enough; black only on light accents.
    Rgb white{1, 1, 1}, black{0, 0, 0};
    return Rgb::Contrast(white, accent) >= 3.0 || Rgb::Contrast(white, accent) >= Rgb::Contrast(black, accent)
               ? white
               : black;
}

Rgb SkinStyle::AccentText() const {
    Rgb c = accent;
    for (double t = 0.05; Rgb::Contrast(c, background) < 4.5 && t <= 1.0; t += 0.05) c = accent.Mix(text, t);
    return c;
}

Rgb SkinStyle::InactiveCaptionText() const {
    // The better of the two text colours, dimmed towards the caption as far as it stays
    // clearly readable: an inactive form tells itself apart also in the dark skins.
    Rgb mid = InactiveCaptionTop().Mix(InactiveCaptionBottom(), 0.5);
    Rgb c = Rgb::Contrast(captionText, mid) >= Rgb::Contrast(text, mid) ? captionText : text;
    for (double t = 0.35; t > 0; t -= 0.05)
        if (Rgb::Contrast(c.Mix(mid, t), mid) >= 4.5) return c.Mix(mid, t);
    return c;
}

} // namespace skingen
