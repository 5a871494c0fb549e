#include "shell/NaturalOrder.h"

#include <cctype>

namespace shell {
namespace {

bool Digit(char c) {
    return c >= '0' && c <= '9';
}

// ASCII letters fold; other bytes of UTF-8 keep their code order, which
// keeps the characters of one script together.
unsigned char Fold(char c) {
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

int NaturalCompare(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (Digit(a[i]) && Digit(b[j])) {
            size_t si = i, sj = j;
            while (si < a.size() && a[si] == '0') ++si;
            while (sj < b.size() && b[sj] == '0') ++sj;
            size_t ei = si, ej = sj;
            while (ei < a.size() && Digit(a[ei])) ++ei;
            while (ej < b.size() && Digit(b[ej])) ++ej;
            if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
            for (size_t k = 0; k < ei - si; ++k)
                if (a[si + k] != b[sj + k]) return a[si + k] < b[sj + k] ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        unsigned char x = Fold(a[i]), y = Fold(b[j]);
        if (x != y) return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    // Equal but for case or leading zeros: a stable order all the same, so
    // "a" and "A" never compare as one item.
    return a == b ? 0 : (a < b ? -1 : 1);
}

} // namespace shell
