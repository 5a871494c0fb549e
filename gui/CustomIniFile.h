#pragma once
// Ini files with profile semantics (see IniText.h): TIniFile reads the file at every call and
// writes through at once; TMemIniFile holds the text and writes it on UpdateFile.
// Values are UTF-8 text; numbers are read and written in the C locale.
#include "gui/Fwd.h"
#include "gui/IniText.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace gui {

// A name or value an ini line cannot hold, or a file that cannot be written.
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TCustomIniFile {
public:
    explicit TCustomIniFile(const std::string& fileName) : fileName_(fileName) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }

    // A missing key reads the given default; so does a value that is not a number for the
    // number forms.  Booleans are integers: 0 is false.
    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& def);
    int ReadInteger(const std::string& section, const std::string& ident, int def);
    bool ReadBool(const std::string& section, const std::string& ident, bool def);
    double ReadFloat(const std::string& section, const std::string& ident, double def);

    // Names and values that would break the line structure raise EIniFileException before
    // anything changes.
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    virtual bool SectionExists(const std::string& section);
    bool ValueExists(const std::string& section, const std::string& ident);
    virtual void ReadSection(const std::string& section, TStrings& keys);
    virtual void ReadSections(TStrings& sections);
    virtual void ReadSectionValues(const std::string& section, TStrings& values);
    virtual void EraseSection(const std::string& section);
    virtual void DeleteKey(const std::string& section, const std::string& ident);
    virtual void UpdateFile() = 0;

protected:
    // The text to read from, and the way an edit reaches it.
    virtual const IniText& ForReading() = 0;
    virtual void Modify(const std::function<void(IniText&)>& edit) = 0;
    // Reads the whole file; a missing file is empty text.  False when it exists but cannot be read.
    bool LoadText(IniText& text) const;
    // Writes the whole file: a new file (and any missing folder) is created; an existing one is
    // replaced through a temporary file beside it, so a failed write never leaves half a file.
    void SaveText(const IniText& text) const;
    // Raises EIniFileException for a name or value an ini line cannot hold.
    static void CheckEntry(const std::string& fileName, const std::string& section, const std::string& ident,
                           const std::string& value);

    std::string fileName_;
};

} // namespace gui
