#include "os/Convert.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <strings.h>

namespace os {
namespace {

locale_t CLocale() {
    static locale_t loc = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Switches this thread to the C locale for the lifetime of the object.
struct CLocaleScope {
    locale_t old;
    CLocaleScope() : old(::uselocale(CLocale())) {}
    ~CLocaleScope() { ::uselocale(old); }
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool ParseInt64(const std::string& s, int64_t& out) {
    size_t i = 0, n = s.size();
    while (i < n && IsBlank(s[i])) ++i;
    while (n > i && IsBlank(s[n - 1])) --n;
    if (i >= n) return false;
    bool neg = false;
    if (s[i] == '+' || s[i] == '-') {
        neg = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n) return false;
    unsigned long long v = 0;
    const unsigned long long limit = neg ? 9223372036854775808ull : 9223372036854775807ull;
    for (; i < n; ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (v > (limit - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) return false;
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    out = neg ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
    return true;
}

} // namespace

std::string VFormatC(const char* fmt, va_list ap) {
    CLocaleScope scope;
    char small[256];
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(small, sizeof(small), fmt, copy);
    va_end(copy);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof(small)) return std::string(small, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(big.data(), big.size(), fmt, ap);
    big.resize(static_cast<size_t>(n));
    return big;
}

std::string FormatC(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string r = VFormatC(fmt, ap);
    va_end(ap);
    return r;
}

bool TryStrToInt64(const std::string& s, int64_t& out) {
    return ParseInt64(s, out);
}

bool TryStrToInt(const std::string& s, int32_t& out) {
    int64_t v;
    if (!ParseInt64(s, v) || v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

int32_t StrToInt(const std::string& s) {
    int32_t v;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int64_t StrToInt64(const std::string& s) {
    int64_t v;
    if (!TryStrToInt64(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int32_t StrToIntDef(const std::string& s, int32_t def) {
    int32_t v;
    return TryStrToInt(s, v) ? v : def;
}

bool TryStrToFloat(const std::string& s, double& out) {
    std::string t = Trim(s);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double v = ::strtod_l(t.c_str(), &end, CLocale());
    if (end == t.c_str() || *end != 0) return false;
    out = v;
    return true;
}

double StrToFloat(const std::string& s) {
    double v;
    if (!TryStrToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::string LowerCase(const std::string& s) {
    std::string r = s;
    for (auto& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string UpperCase(const std::string& s) {
    std::string r = s;
    for (auto& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ::strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

} // namespace os
