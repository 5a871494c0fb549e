#include "os/Text.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>

namespace os {
namespace {

bool Convert(const char* to, const char* from, const std::string& in, std::string& out, bool lossy) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    std::string src = in;
    char* inp = src.data();
    size_t inLeft = src.size();
    char buf[1024];
    bool ok = true;
    while (inLeft > 0) {
        char* outp = buf;
        size_t outLeft = sizeof(buf);
        size_t r = ::iconv(cd, &inp, &inLeft, &outp, &outLeft);
        out.append(buf, static_cast<size_t>(outp - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            ok = false;
            if (!lossy) break;
            // skip one byte and mark it
            out += "\xEF\xBF\xBD";
            ++inp;
            --inLeft;
        } else if (r > 0 && !lossy) {
            // irreversible conversions count as "cannot be represented"
            ok = false;
            break;
        }
    }
    char* outp = buf;
    size_t outLeft = sizeof(buf);
    ::iconv(cd, nullptr, nullptr, &outp, &outLeft);
    out.append(buf, static_cast<size_t>(outp - buf));
    ::iconv_close(cd);
    return ok;
}

} // namespace

bool Utf8ToLocale(const std::string& utf8, std::string& out) {
    if (!IsValidUtf8(utf8)) return false;
    const char* cs = ::nl_langinfo(CODESET);
    return Convert(cs, "UTF-8", utf8, out, false);
}

std::string LocaleToUtf8(const std::string& bytes) {
    const char* cs = ::nl_langinfo(CODESET);
    std::string out;
    Convert("UTF-8", cs, bytes, out, true);
    return out;
}

bool IsValidUtf8(const std::string& s) {
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t len;
        if (c < 0x80)
            len = 1;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            len = 2;
        else if ((c & 0xF0) == 0xE0)
            len = 3;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            len = 4;
        else
            return false;
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

std::string Latin1ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace os
