#include "gui/IniText.h"

#include "gui/Strings.h"
#include "os/Convert.h"

namespace gui {

namespace {
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

bool Same(const std::string& a, const std::string& b) {
    return CompareTextAscii(a, b) == 0;
}

// As the profile functions read: one pair of matching quotes around the value goes.
std::string Unquote(std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}
} // namespace

void IniText::Parse(const std::string& input) {
    Clear();
    byteOrderMark_ = input.compare(0, 3, kByteOrderMark) == 0;
    std::string text = byteOrderMark_ ? input.substr(3) : input;
    bool breakSeen = false;
    size_t i = 0, n = text.size();
    while (i < n) {
        size_t start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
        lines_.push_back(text.substr(start, i - start));
        size_t b = i;
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
        if (!breakSeen && i > b) {
            lineBreak_ = text.substr(b, i - b);
            breakSeen = true;
        }
    }
    endsWithBreak_ = n == 0 || text[n - 1] == '\r' || text[n - 1] == '\n';
}

std::string IniText::Render() const {
    std::string r = byteOrderMark_ ? kByteOrderMark : "";
    for (size_t i = 0; i < lines_.size(); ++i) {
        r += lines_[i];
        if (i + 1 < lines_.size() || endsWithBreak_) r += lineBreak_;
    }
    return r;
}

void IniText::SetLines(const TStrings& lines) {
    std::string lineBreak = lineBreak_;
    bool byteOrderMark = byteOrderMark_;
    Clear();
    lineBreak_ = lineBreak;
    byteOrderMark_ = byteOrderMark;
    for (int i = 0; i < lines.Count(); ++i) lines_.push_back(lines[i]);
}

void IniText::GetLines(TStrings& lines) const {
    lines.BeginUpdate();
    lines.Clear();
    for (auto& l : lines_) lines.Add(l);
    lines.EndUpdate();
}

bool IniText::IsHeader(size_t line, std::string& name) const {
    std::string t = os::Trim(lines_[line]);
    if (t.empty() || t[0] != '[') return false;
    auto close = t.find(']');
    name = os::Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

bool IniText::IsKeyLine(size_t line, KeyLine& kl) const {
    const std::string& l = lines_[line];
    std::string t = os::Trim(l);
    if (t.empty() || t[0] == ';' || t[0] == '[') return false;
    auto eq = l.find('=');
    if (eq == std::string::npos) return false;
    kl = {line, os::Trim(l.substr(0, eq)), Unquote(os::Trim(l.substr(eq + 1)))};
    return true;
}

size_t IniText::SectionEnd(size_t header) const {
    std::string name;
    size_t i = header + 1;
    while (i < lines_.size() && !IsHeader(i, name)) ++i;
    return i;
}

std::vector<size_t> IniText::Headers(const std::string& section) const {
    std::vector<size_t> r;
    std::string name;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (IsHeader(i, name) && Same(name, section)) r.push_back(i);
    return r;
}

std::vector<IniText::KeyLine> IniText::Keys(const std::string& section) const {
    std::vector<KeyLine> r;
    auto headers = Headers(section);
    if (headers.empty()) return r;
    for (size_t i = headers.front() + 1, end = SectionEnd(headers.front()); i < end; ++i) {
        KeyLine kl;
        if (IsKeyLine(i, kl)) r.push_back(kl);
    }
    return r;
}

bool IniText::Read(const std::string& section, const std::string& key, std::string& value) const {
    for (auto& kl : Keys(section))
        if (Same(kl.key, key)) {
            value = kl.value;
            return true;
        }
    return false;
}

void IniText::Write(const std::string& section, const std::string& key, const std::string& value) {
    for (auto& kl : Keys(section))
        if (Same(kl.key, key)) {
            // Keep the key as spelled in the file and the spacing around "="; only the value changes.
            std::string& l = lines_[kl.line];
            size_t v = l.find('=') + 1;
            while (v < l.size() && (l[v] == ' ' || l[v] == '\t')) ++v;
            l = l.substr(0, v) + value;
            return;
        }
    auto headers = Headers(section);
    std::string line = key + "=" + value;
    if (headers.empty()) {
        if (!lines_.empty() && !os::Trim(lines_.back()).empty()) lines_.push_back("");
        lines_.push_back("[" + section + "]");
        lines_.push_back(line);
        endsWithBreak_ = true;
        return;
    }
    // After the section's last key (so comments and blank lines before the next section stay
    // with it), or right under the header of a section that has none.
    size_t h = headers.front(), at = h + 1;
    KeyLine kl;
    for (size_t i = h + 1, end = SectionEnd(h); i < end; ++i)
        if (IsKeyLine(i, kl)) at = i + 1;
    if (at == lines_.size()) endsWithBreak_ = true;
    lines_.insert(lines_.begin() + static_cast<long>(at), line);
}

bool IniText::SectionExists(const std::string& section) const {
    return !Headers(section).empty();
}

std::vector<std::string> IniText::Sections() const {
    std::vector<std::string> r;
    std::string name;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (IsHeader(i, name)) {
            bool seen = false;
            for (auto& s : r) seen = seen || Same(s, name);
            if (!seen) r.push_back(name);
        }
    return r;
}

std::vector<std::pair<std::string, std::string>> IniText::Values(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> r;
    for (auto& kl : Keys(section)) {
        bool seen = false;
        for (auto& kv : r) seen = seen || Same(kv.first, kl.key);
        if (!seen) r.emplace_back(kl.key, kl.value);
    }
    return r;
}

void IniText::EraseSection(const std::string& section) {
    // Every copy goes, so that a later one does not come into view.
    auto headers = Headers(section);
    for (auto it = headers.rbegin(); it != headers.rend(); ++it)
        lines_.erase(lines_.begin() + static_cast<long>(*it),
                     lines_.begin() + static_cast<long>(SectionEnd(*it)));
}

void IniText::DeleteKey(const std::string& section, const std::string& key) {
    // Every copy goes, so that a doubled key does not come back into view.
    auto keys = Keys(section);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        if (Same(it->key, key)) lines_.erase(lines_.begin() + static_cast<long>(it->line));
}

} // namespace gui
