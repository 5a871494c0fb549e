#include "skin/core/SkinIniFile.h"

#include "gui/FileStream.h"
#include "gui/StringStream.h"
#include "gui/Strings.h"
#include "os/Convert.h"

namespace skin {

bool TbsSkinIniFile::ReadSkinText(const std::string& fileName, std::string& text, std::string& error) {
    try {
        gui::TFileStream file(fileName, gui::fmOpenRead);
        gui::TStringStream data;
        data.CopyFrom(file, 0);
        text = data.DataString();
    } catch (const gui::EStreamError& e) {
        error = e.what();
        return false;
    }
    // Editors put a UTF-8 byte-order mark before the first section; it is no part of the text.
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return true;
}

bool TbsSkinIniFile::LoadFile(std::string& error) {
    Clear();
    std::string text;
    if (!ReadSkinText(FileName(), text, error)) return false;
    SetText(text);
    return true;
}

void TbsSkinIniFile::Clear() {
    sections_.clear();
    index_.clear();
}

void TbsSkinIniFile::SetText(const std::string& text) {
    Clear();
    Section* current = nullptr;
    size_t i = 0, n = text.size();
    while (i < n) {
        size_t start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
        std::string line = os::Trim(text.substr(start, i - start));
        if (i < n && text[i] == '\r') {
            if (++i < n && text[i] == '\n') ++i;
        } else if (i < n) {
            ++i;
        }
        if (line.empty() || line[0] == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            std::string name = os::Trim(line.substr(1, line.size() - 2));
            current = Find(name);
            if (!current) current = &Add(name);
            continue;
        }
        if (!current) continue;
        auto eq = line.find('=');
        if (eq == std::string::npos)
            AddLine(*current, {line, {}, false});
        else
            AddLine(*current, {os::Trim(line.substr(0, eq)), os::Trim(line.substr(eq + 1)), true});
    }
}

std::string TbsSkinIniFile::Text() const {
    std::string r;
    for (auto& s : sections_) {
        if (!r.empty()) r += "\r\n";
        r += "[" + s.name + "]\r\n";
        for (auto& l : s.lines) r += (l.hasValue ? l.key + "=" + l.value : l.key) + "\r\n";
    }
    return r;
}

// Section lines are trimmed, so a name is looked up trimmed too: a descriptor named "x " reads
// and writes the section it finds in the text, [x].
TbsSkinIniFile::Section* TbsSkinIniFile::Find(const std::string& section) {
    auto it = index_.find(os::LowerCase(os::Trim(section)));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

const TbsSkinIniFile::Section* TbsSkinIniFile::Find(const std::string& section) const {
    auto it = index_.find(os::LowerCase(os::Trim(section)));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

TbsSkinIniFile::Section& TbsSkinIniFile::Add(const std::string& name) {
    index_.emplace(os::LowerCase(name), sections_.size());
    sections_.push_back({name, {}, {}});
    return sections_.back();
}

void TbsSkinIniFile::AddLine(Section& s, Line line) {
    if (line.hasValue) s.keys.emplace(os::LowerCase(line.key), s.lines.size());
    s.lines.push_back(std::move(line));
}

void TbsSkinIniFile::Reindex() {
    index_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) index_.emplace(os::LowerCase(sections_[i].name), i);
}

std::string TbsSkinIniFile::ReadString(const std::string& section, const std::string& ident,
                                       const std::string& def) {
    const Section* s = Find(section);
    if (!s) return def;
    auto it = s->keys.find(os::LowerCase(ident));
    return it == s->keys.end() ? def : s->lines[it->second].value;
}

void TbsSkinIniFile::WriteString(const std::string& section, const std::string& ident,
                                 const std::string& value) {
    CheckSkinEntry(section, ident, value);
    std::string key = os::Trim(ident);
    Section* s = Find(section);
    if (!s) s = &Add(os::Trim(section));
    auto it = s->keys.find(os::LowerCase(key));
    if (it != s->keys.end())
        s->lines[it->second].value = os::Trim(value);
    else
        AddLine(*s, {key, os::Trim(value), true});
}

bool TbsSkinIniFile::SectionExists(const std::string& section) {
    return Find(section) != nullptr;
}

// Every section name the reader can produce is written back: an empty name ("[]") and one
// holding "]" ("[a]b]") read back as they were, since a header is any line between "[" and "]".
// Only what no line can hold is refused.
void TbsSkinIniFile::CheckSkinEntry(const std::string& section, const std::string& ident,
                                    const std::string& value) const {
    auto hasBreak = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    std::string key = os::Trim(ident);
    const char* why = nullptr;
    if (hasBreak(section))
        why = "a section name cannot hold a line break";
    else if (key.empty() || hasBreak(key) || key.find('=') != std::string::npos || key[0] == ';' ||
             key[0] == '[')
        why = "invalid key name";
    else if (hasBreak(value))
        why = "a value cannot hold a line break";
    if (why)
        throw gui::EIniFileException("Cannot write [" + section + "] " + ident + " to " + FileName() + ": " +
                                     why);
}

void TbsSkinIniFile::ListKeys(const std::string& section, gui::TStrings& keys, bool withValues) const {
    keys.BeginUpdate();
    keys.Clear();
    if (const Section* s = Find(section))
        for (size_t i = 0; i < s->lines.size(); ++i) {
            const Line& l = s->lines[i];
            if (l.hasValue && s->keys.at(os::LowerCase(l.key)) == i)
                keys.Add(withValues ? l.key + "=" + l.value : l.key);
        }
    keys.EndUpdate();
}

void TbsSkinIniFile::ReadSection(const std::string& section, gui::TStrings& keys) {
    ListKeys(section, keys, false);
}

void TbsSkinIniFile::ReadSections(gui::TStrings& sections) {
    sections.BeginUpdate();
    sections.Clear();
    for (auto& s : sections_) sections.Add(s.name);
    sections.EndUpdate();
}

void TbsSkinIniFile::ReadSectionValues(const std::string& section, gui::TStrings& values) {
    ListKeys(section, values, true);
}

void TbsSkinIniFile::EraseSection(const std::string& section) {
    auto it = index_.find(os::LowerCase(os::Trim(section)));
    if (it == index_.end()) return;
    sections_.erase(sections_.begin() + static_cast<long>(it->second));
    Reindex();
}

void TbsSkinIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    Section* s = Find(section);
    if (!s) return;
    std::string key = os::LowerCase(ident);
    std::erase_if(s->lines, [&](const Line& l) { return l.hasValue && os::LowerCase(l.key) == key; });
    s->keys.clear();
    for (size_t i = 0; i < s->lines.size(); ++i)
        if (s->lines[i].hasValue) s->keys.emplace(os::LowerCase(s->lines[i].key), i);
}

void TbsSkinIniFile::UpdateFile() {
    std::string body = Text();
    try {
        gui::TFileStream f(FileName(), gui::fmCreate);
        f.WriteBuffer(body.data(), static_cast<int64_t>(body.size()));
    } catch (const gui::EStreamError& e) {
        throw gui::EIniFileException(e.what());
    }
}

} // namespace skin

namespace skin {

const gui::IniText& TbsSkinIniFile::ForReading() {
    throw std::logic_error("TbsSkinIniFile reads through its own index");
}

void TbsSkinIniFile::Modify(const std::function<void(gui::IniText&)>&) {
    throw std::logic_error("TbsSkinIniFile writes through its own index");
}

} // namespace skin
