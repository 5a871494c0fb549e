#include "controls/Utf8Text.h"

#include <algorithm>

namespace controls::text {

namespace {
// The length of the well-formed sequence at i, or 1 for a malformed byte, which counts as a
// character of its own: the same reading the font engine makes, so that positions measured
// there and characters counted here always agree.
size_t SeqLen(const std::string& s, size_t i, char32_t* out = nullptr) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    bool ok = len > 0 && i + len <= s.size();
    for (size_t k = 1; ok && k < len; ++k) {
        auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) ok = false;
        cp = (cp << 6) | (cc & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (ok && (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (out) *out = ok ? cp : U'\uFFFD';
    return ok ? len : 1;
}
} // namespace

size_t Next(const std::string& s, size_t i) {
    if (i >= s.size()) return s.size();
    return i + SeqLen(s, i);
}

size_t Snap(const std::string& s, size_t i) {
    if (i >= s.size()) return s.size();
    for (size_t back = 1; back <= 3 && back <= i; ++back)
        if (SeqLen(s, i - back) > back) return i - back;
    return i;
}

size_t Prev(const std::string& s, size_t i) {
    if (i == 0) return 0;
    i = std::min(i, s.size());
    for (size_t back = 4; back >= 2; --back)
        if (back <= i && SeqLen(s, i - back) == back) return i - back;
    return i - 1;
}

char32_t At(const std::string& s, size_t i) {
    if (i >= s.size()) return 0;
    char32_t c = 0;
    SeqLen(s, i, &c);
    return c;
}

size_t CountChars(const std::string& s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); i = Next(s, i)) ++n;
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
