#pragma once
// The skin text in memory.  Skin text has rules of its own that the general ini files do not
// share: a section opens only on a line that both begins with "[" and ends with "]", and a
// skin is read key by key thousands of times, so sections and keys are indexed.  Otherwise
// it behaves as the class library's memory ini file: lines are trimmed, ";" starts a
// comment, section and key names ignore letter case, the first of a doubled key counts, a
// section named twice reads as one, and lines before the first section are ignored.
// Writers end lines with CR LF; a reader takes CR, LF and CR LF alike.
#include "gui/CustomIniFile.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace skin {

class TbsSkinIniFile : public gui::TCustomIniFile {
public:
    // Starts empty; nothing is read from fileName until LoadFile.
    explicit TbsSkinIniFile(const std::string& fileName = "") : TCustomIniFile(fileName) {}

    // A skin file's text, without the UTF-8 byte-order mark an editor may have put before it;
    // false, with the reason, when it cannot be read.  Folder loading and packing both read
    // skin files through this.
    static bool ReadSkinText(const std::string& fileName, std::string& text, std::string& error);
    // Replaces the text with the file's (ReadSkinText); false, with the reason and the text
    // emptied, when it cannot be read.
    bool LoadFile(std::string& error);
    void SetText(const std::string& text);
    std::string Text() const;

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& def) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    bool SectionExists(const std::string& section) override;
    void ReadSection(const std::string& section, gui::TStrings& keys) override;
    void ReadSections(gui::TStrings& sections) override;
    void ReadSectionValues(const std::string& section, gui::TStrings& values) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    // Writes the text to FileName; EIniFileException when that fails.
    void UpdateFile() override;

    void Clear();

protected:
    // Every operation above works on the skin's own index; the general text is never used.
    const gui::IniText& ForReading() override;
    void Modify(const std::function<void(gui::IniText&)>& edit) override;

private:
    struct Line {
        std::string key, value;
        bool hasValue = false; // a line without "=" is kept but gives no value
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
        std::unordered_map<std::string, size_t> keys; // lower-case key -> first line with it
    };
    // EIniFileException for what a line cannot hold.
    void CheckSkinEntry(const std::string& section, const std::string& ident, const std::string& value) const;
    Section* Find(const std::string& section);
    const Section* Find(const std::string& section) const;
    Section& Add(const std::string& name);
    void AddLine(Section& s, Line line);
    void Reindex();
    // The keys with a value, each once (the first), in file order.
    void ListKeys(const std::string& section, gui::TStrings& keys, bool withValues) const;

    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> index_; // lower-case name -> position in sections_
};

} // namespace skin
