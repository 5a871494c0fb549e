#pragma once
// An ini file read at every call and written through at once.
#include "gui/CustomIniFile.h"

#include <functional>

namespace gui {

class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;
    void UpdateFile() override {} // every write is already in the file

protected:
    // An unreadable file reads as empty, so every key takes its default.
    const IniText& ForReading() override;
    // Never replaces a file that could not be read: its other settings would be lost.
    void Modify(const std::function<void(IniText&)>& edit) override;

private:
    IniText current_;
};

} // namespace gui
