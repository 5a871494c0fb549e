#include "gui/SysUtils.h"

#include "gui/Strings.h"

#include <algorithm>
#include <cstdarg>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gui {

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string r = os::VFormatC(fmt, ap);
    va_end(ap);
    return r;
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

std::string FloatToStr(double value) {
    std::string s = os::FormatC("%.15G", value);
    auto e = s.find('E');
    if (e == std::string::npos) return s;
    // "1.5E+20" -> "1.5E20", "1E-05" -> "1E-5"
    std::string mantissa = s.substr(0, e), exp = s.substr(e + 1);
    bool negative = !exp.empty() && exp[0] == '-';
    if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) exp.erase(0, 1);
    exp.erase(0, std::min(exp.find_first_not_of('0'), exp.size() - 1));
    return mantissa + "E" + (negative ? "-" : "") + exp;
}

std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
                          unsigned flags) {
    if (oldPattern.empty()) return s;
    const std::string hay = flags & rfIgnoreCase ? os::UpperCase(s) : s;
    const std::string needle = flags & rfIgnoreCase ? os::UpperCase(oldPattern) : oldPattern;
    std::string r;
    size_t from = 0;
    for (;;) {
        size_t at = hay.find(needle, from);
        if (at == std::string::npos) break;
        r += s.substr(from, at - from) + newPattern;
        from = at + needle.size();
        if (!(flags & rfReplaceAll)) break;
    }
    return r + s.substr(from);
}

int Pos(const std::string& sub, const std::string& s) {
    if (sub.empty()) return 0;
    auto at = s.find(sub);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

std::string Copy(const std::string& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || static_cast<size_t>(index) > s.size()) return {};
    return s.substr(static_cast<size_t>(index) - 1, static_cast<size_t>(count));
}

// --- finding files ---------------------------------------------------------------------------

namespace {

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Match(const char* n, const char* m) {
    // Backtracking to the last "*" is enough for these two wildcards.
    const char *star = nullptr, *resume = nullptr;
    while (*n) {
        if (*m == '*') {
            star = m++;
            resume = n;
        } else if (*m == '?' || (*m && Fold(*m) == Fold(*n))) {
            ++m;
            ++n;
        } else if (star) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*m == '*') ++m;
    return *m == 0;
}

struct Search {
    std::vector<TSearchRec> found;
    size_t next = 0;
};

int Take(TSearchRec& rec) {
    auto* search = static_cast<Search*>(rec.FindHandle.get());
    if (!search || search->next >= search->found.size()) return ERROR_NO_MORE_FILES;
    auto handle = rec.FindHandle;
    rec = search->found[search->next++];
    rec.FindHandle = handle;
    return 0;
}

} // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*") return true;
    return Match(name.c_str(), mask.c_str());
}

int FindFirst(const std::string& path, int attr, TSearchRec& rec) {
    FindClose(rec);
    std::string folder = os::ExtractFilePath(path);
    std::string mask = os::ExtractFileName(path);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return ERROR_PATH_NOT_FOUND;
    auto search = std::make_shared<Search>();
    // Entries whose special attributes were not asked for are left out.
    const int excluded = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == ".." || !MatchesMask(name, mask)) continue;
        std::string full = folder + name;
        struct stat st {};
        if (::stat(full.c_str(), &st) != 0 && ::lstat(full.c_str(), &st) != 0) continue;
        TSearchRec r;
        r.Name = name;
        if (S_ISDIR(st.st_mode))
            r.Attr |= faDirectory;
        else
            r.Size = static_cast<int64_t>(st.st_size);
        if (name[0] == '.') r.Attr |= faHidden;
        if (::access(full.c_str(), W_OK) != 0) r.Attr |= faReadOnly;
        struct stat lst {};
        if (::lstat(full.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) r.Attr |= faSymLink;
        if (r.Attr & excluded) continue;
        search->found.push_back(std::move(r));
    }
    ::closedir(dir);
    std::stable_sort(
        search->found.begin(), search->found.end(),
        [](const TSearchRec& a, const TSearchRec& b) { return CompareTextAscii(a.Name, b.Name) < 0; });
    if (search->found.empty()) return ERROR_FILE_NOT_FOUND;
    rec.FindHandle = search;
    return Take(rec);
}

int FindNext(TSearchRec& rec) {
    return Take(rec);
}

void FindClose(TSearchRec& rec) {
    rec.FindHandle.reset();
}

} // namespace gui
