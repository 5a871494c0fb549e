#include "controls/Utf8Text.h"

namespace controls::text {

namespace {
bool Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
} // namespace

size_t Next(const std::string& s, size_t i) {
    if (i >= s.size()) return s.size();
    ++i;
    while (i < s.size() && Continuation(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}

size_t Prev(const std::string& s, size_t i) {
    if (i == 0) return 0;
    i = std::min(i, s.size()) - 1;
    while (i > 0 && Continuation(static_cast<unsigned char>(s[i]))) --i;
    return i;
}

size_t Snap(const std::string& s, size_t i) {
    if (i >= s.size()) return s.size();
    while (i > 0 && Continuation(static_cast<unsigned char>(s[i]))) --i;
    return i;
}

char32_t At(const std::string& s, size_t i) {
    if (i >= s.size()) return 0;
    auto b = static_cast<unsigned char>(s[i]);
    int n = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = n == 0 ? b : n == 1 ? (b & 0x1F) : n == 2 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k <= n && i + k < s.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return c;
}

size_t CountChars(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if (!Continuation(c)) ++n;
    return n;
}

std::string Encode(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool IsSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x3000 || c == 0xA0;
}

// Latin, Greek and Cyrillic letters fold; the scripts without case (Chinese) stay as they are.
char32_t Lower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32; // full-width Latin
    return c;
}

char32_t Upper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
    return c;
}

namespace {
template <class F> std::string Map(const std::string& s, F f) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); i = Next(s, i)) out += Encode(f(At(s, i)));
    return out;
}
} // namespace

std::string ToLower(const std::string& s) {
    return Map(s, Lower);
}

std::string ToUpper(const std::string& s) {
    return Map(s, Upper);
}

int CompareNoCase(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t x = Lower(At(a, i)), y = Lower(At(b, j));
        if (x != y) return x < y ? -1 : 1;
        i = Next(a, i), j = Next(b, j);
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    size_t i = 0, j = 0;
    while (j < prefix.size()) {
        if (i >= s.size() || Lower(At(s, i)) != Lower(At(prefix, j))) return false;
        i = Next(s, i), j = Next(prefix, j);
    }
    return true;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return CompareNoCase(a, b) == 0;
}

} // namespace controls::text
