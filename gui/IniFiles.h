#pragma once
// Ini files with profile semantics (see IniText.h): TIniFile reads the file at every call and
// writes through at once; TMemIniFile holds the text and writes it on UpdateFile.
// Values are UTF-8 text; numbers are read and written in the C locale.
#include "gui/Fwd.h"
#include "gui/IniText.h"

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
                                   const std::string& def) = 0;
    int ReadInteger(const std::string& section, const std::string& ident, int def);
    bool ReadBool(const std::string& section, const std::string& ident, bool def);
    double ReadFloat(const std::string& section, const std::string& ident, double def);

    virtual void WriteString(const std::string& section, const std::string& ident,
                             const std::string& value) = 0;
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    virtual bool SectionExists(const std::string& section) = 0;
    bool ValueExists(const std::string& section, const std::string& ident);
    virtual void ReadSection(const std::string& section, TStrings& keys) = 0;
    virtual void ReadSections(TStrings& sections) = 0;
    virtual void ReadSectionValues(const std::string& section, TStrings& values) = 0;
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    virtual void UpdateFile() = 0;

protected:
    // Names and values that would break the line structure are refused before anything changes.
    void CheckEntry(const std::string& section, const std::string& ident, const std::string& value) const;
    // Reads the whole file; a missing file is empty text.  False when it exists but cannot be read.
    bool LoadText(IniText& text) const;
    // Writes the whole file: a new file (and any missing folder) is created; an existing one is
    // replaced through a temporary file beside it, so a failed write never leaves half a file.
    void SaveText(const IniText& text) const;
    void ReadKeys(const IniText& text, const std::string& section, TStrings& keys, bool withValues) const;
    void ReadSectionNames(const IniText& text, TStrings& sections) const;

    std::string fileName_;
};

class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& def) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    bool SectionExists(const std::string& section) override;
    void ReadSection(const std::string& section, TStrings& keys) override;
    void ReadSections(TStrings& sections) override;
    void ReadSectionValues(const std::string& section, TStrings& values) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override {} // every write is already in the file

private:
    IniText Current() const;
    template <class Edit> void Change(Edit edit);
};

class TMemIniFile : public TCustomIniFile {
public:
    // Reads the file now; a missing file starts empty, an unreadable one raises EFOpenError.
    explicit TMemIniFile(const std::string& fileName);
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& def) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    bool SectionExists(const std::string& section) override;
    void ReadSection(const std::string& section, TStrings& keys) override;
    void ReadSections(TStrings& sections) override;
    void ReadSectionValues(const std::string& section, TStrings& values) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override;

    void Clear() { text_.Clear(); }
    void GetStrings(TStrings& lines) const { text_.GetLines(lines); }
    void SetStrings(const TStrings& lines) { text_.SetLines(lines); }
    // Points the object at another file, reading it when reload is set.
    void Rename(const std::string& fileName, bool reload);

private:
    void Load();
    IniText text_;
};

} // namespace gui
