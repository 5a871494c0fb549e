#include "gui/CustomIniFile.h"

#include "gui/FileStream.h"
#include "gui/StringList.h"
#include "gui/StringStream.h"
#include "gui/Strings.h"
#include "os/Convert.h"
#include "os/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gui {

// --- TCustomIniFile ------------------------------------------------------------------------

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) {
    int32_t v;
    return os::TryStrToInt(ReadString(section, ident, ""), v) ? v : def;
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) {
    double v;
    return os::TryStrToFloat(ReadString(section, ident, ""), v) ? v : def;
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
    TStringList keys;
    ReadSection(section, keys);
    return keys.IndexOf(ident) >= 0;
}

bool TCustomIniFile::LoadText(IniText& text) const {
    text.Clear();
    struct stat st {};
    if (::stat(fileName_.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR;
    try {
        TStringStream data;
        TFileStream file(fileName_, fmOpenRead);
        data.CopyFrom(file, 0);
        text.Parse(data.DataString());
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

void TCustomIniFile::SaveText(const IniText& text) const {
    const std::string body = text.Render();
    auto fail = [&] { throw EIniFileException("Unable to write to " + fileName_); };
    // Write through a link to the file it names, keeping the link.
    char* real = ::realpath(fileName_.c_str(), nullptr);
    std::string target = real ? real : fileName_;
    std::free(real);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        std::string folder = os::ExtractFilePath(target);
        if (!folder.empty() && !os::ForceDirectories(folder)) fail();
        try {
            TFileStream f(target, fmCreate);
            f.WriteBuffer(body.data(), static_cast<int64_t>(body.size()));
        } catch (const EStreamError&) {
            fail();
        }
        return;
    }
    std::string tmpName = target + ".XXXXXX";
    int fd = ::mkstemp(tmpName.data());
    if (fd < 0) fail();
    bool ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    for (size_t done = 0; ok && done < body.size();) {
        ssize_t n = ::write(fd, body.data() + done, body.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(tmpName.c_str(), target.c_str()) != 0) {
        ::unlink(tmpName.c_str());
        fail();
    }
}

void TCustomIniFile::CheckEntry(const std::string& fileName, const std::string& section,
                                const std::string& ident, const std::string& value) {
    auto hasBreak = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    std::string key = os::Trim(ident);
    const char* why = nullptr;
    if (hasBreak(section) || section.find(']') != std::string::npos || os::Trim(section).empty())
        why = "invalid section name";
    else if (key.empty() || hasBreak(key) || key.find('=') != std::string::npos || key[0] == ';' ||
             key[0] == '[')
        why = "invalid key name";
    else if (hasBreak(value))
        why = "a value cannot hold a line break";
    if (why)
        throw EIniFileException("Cannot write [" + section + "] " + ident + " to " + fileName + ": " + why);
}

namespace {

void ReadKeys(const IniText& text, const std::string& section, TStrings& keys, bool withValues) {
    keys.BeginUpdate();
    keys.Clear();
    for (auto& [k, v] : text.Values(section)) keys.Add(withValues ? k + "=" + v : k);
    keys.EndUpdate();
}

} // namespace

std::string TCustomIniFile::ReadString(const std::string& section, const std::string& ident,
                                       const std::string& def) {
    std::string v;
    return ForReading().Read(section, ident, v) ? v : def;
}

void TCustomIniFile::WriteString(const std::string& section, const std::string& ident,
                                 const std::string& value) {
    CheckEntry(fileName_, section, ident, value);
    Modify([&](IniText& t) { t.Write(section, os::Trim(ident), value); });
}

bool TCustomIniFile::SectionExists(const std::string& section) {
    return ForReading().SectionExists(section);
}

void TCustomIniFile::ReadSection(const std::string& section, TStrings& keys) {
    ReadKeys(ForReading(), section, keys, false);
}

void TCustomIniFile::ReadSectionValues(const std::string& section, TStrings& values) {
    ReadKeys(ForReading(), section, values, true);
}

void TCustomIniFile::ReadSections(TStrings& sections) {
    sections.BeginUpdate();
    sections.Clear();
    for (auto& s : ForReading().Sections()) sections.Add(s);
    sections.EndUpdate();
}

void TCustomIniFile::EraseSection(const std::string& section) {
    if (SectionExists(section)) Modify([&](IniText& t) { t.EraseSection(section); });
}

void TCustomIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    if (ValueExists(section, ident)) Modify([&](IniText& t) { t.DeleteKey(section, ident); });
}

} // namespace gui
