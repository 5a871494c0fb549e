#pragma once
// An ini file held in memory and written on UpdateFile.
#include "gui/CustomIniFile.h"

#include <functional>
#include <string>

namespace gui {

class TMemIniFile : public TCustomIniFile {
public:
    // Reads the file now; a missing file starts empty, an unreadable one raises EFOpenError.
    explicit TMemIniFile(const std::string& fileName);
    void UpdateFile() override;

    void Clear() { text_.Clear(); }
    void GetStrings(TStrings& lines) const { text_.GetLines(lines); }
    void SetStrings(const TStrings& lines) { text_.SetLines(lines); }
    // Points the object at another file, reading it when reload is set.
    void Rename(const std::string& fileName, bool reload);

protected:
    const IniText& ForReading() override { return text_; }
    void Modify(const std::function<void(IniText&)>& edit) override { edit(text_); }

private:
    void Load();
    IniText text_;
};

} // namespace gui
