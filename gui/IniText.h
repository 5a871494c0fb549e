#pragma once
// The text of an ini file as its lines, with profile rules: section and key names match
// without regard to case, the first of a doubled key or section counts, lines starting with
// ";" are comments, a value in matching quotes reads without them.  Edits touch only the lines they must, so
// comments, blank lines, spacing and the file's line breaks survive a rewrite.  Shared by TIniFile and
// TMemIniFile.
#include <string>
#include <vector>

namespace gui {

class TStrings;

class IniText {
public:
    // Any of CR, LF, CR LF; a UTF-8 byte-order mark is set aside and written back by Render.
    void Parse(const std::string& text);
    std::string Render() const;
    void SetLines(const TStrings& lines);
    void GetLines(TStrings& lines) const;
    void Clear() { *this = IniText(); }

    bool Read(const std::string& section, const std::string& key, std::string& value) const;
    void Write(const std::string& section, const std::string& key, const std::string& value);
    bool SectionExists(const std::string& section) const;
    std::vector<std::string> Sections() const;
    // Keys in file order, each once; values are those that count (the first).
    std::vector<std::pair<std::string, std::string>> Values(const std::string& section) const;
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

private:
    struct KeyLine {
        size_t line;
        std::string key, value;
    };
    bool IsHeader(size_t line, std::string& name) const;
    bool IsKeyLine(size_t line, KeyLine& kl) const;
    size_t SectionEnd(size_t header) const;
    std::vector<size_t> Headers(const std::string& section) const;
    // The keys of the section's first appearance: a later header of the same name is not read.
    std::vector<KeyLine> Keys(const std::string& section) const;
    std::vector<std::string> lines_;
    std::string lineBreak_ = "\n"; // a new file is a plain Linux text file
    bool endsWithBreak_ = true;
    bool byteOrderMark_ = false;
};

} // namespace gui
