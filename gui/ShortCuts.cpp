#include "gui/ShortCuts.h"

#include "gui/Strings.h"

namespace gui {

namespace {

// The key names menus show beside their items.
std::string KeyName(unsigned key) {
    static const char* const kNamed[][2] = {
        {"\x08", "BkSp" },
        {"\x09", "Tab"  },
        {"\x0D", "Enter"},
        {"\x1B", "Esc"  },
        {"\x20", "Space"},
        {"\x21", "PgUp" },
        {"\x22", "PgDn" },
        {"\x23", "End"  },
        {"\x24", "Home" },
        {"\x25", "Left" },
        {"\x26", "Up"   },
        {"\x27", "Right"},
        {"\x28", "Down" },
        {"\x2D", "Ins"  },
        {"\x2E", "Del"  },
    };
    for (auto& n : kNamed)
        if (static_cast<unsigned char>(n[0][0]) == key) return n[1];
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= 0x60 && key <= 0x69)
        return std::string(1, static_cast<char>('0' + key - 0x60)); // keypad digits
    if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x6F);
    return {};
}

const struct {
    const char* text;
    TShortCut flag;
} kModifiers[] = {
    {"Shift+", scShift},
    {"Ctrl+",  scCtrl },
    {"Alt+",   scAlt  }
};

} // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut sc = key;
    if (shift & ssShift) sc |= scShift;
    if (shift & ssCtrl) sc |= scCtrl;
    if (shift & ssAlt) sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & scShift) shift |= ssShift;
    if (shortCut & scCtrl) shift |= ssCtrl;
    if (shortCut & scAlt) shift |= ssAlt;
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyName(shortCut & 0xFF);
    if (name.empty()) return {};
    std::string r;
    for (auto& m : kModifiers)
        if (shortCut & m.flag) r += m.text;
    return r + name;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut modifiers = 0;
    std::string rest = text;
    for (bool more = true; more;) {
        more = false;
        for (auto& m : kModifiers) {
            std::string prefix = m.text;
            if (rest.size() > prefix.size() && CompareTextAscii(rest.substr(0, prefix.size()), prefix) == 0) {
                modifiers |= m.flag;
                rest.erase(0, prefix.size());
                more = true;
            }
        }
    }
    for (unsigned key = 1; key < 0x100; ++key) {
        std::string name = KeyName(key);
        if (!name.empty() && CompareTextAscii(name, rest) == 0)
            return static_cast<TShortCut>(key | modifiers);
    }
    return scNone;
}

} // namespace gui
