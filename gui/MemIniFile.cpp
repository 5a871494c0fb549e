#include "gui/MemIniFile.h"

#include "gui/FileStream.h"

namespace gui {

TMemIniFile::TMemIniFile(const std::string& fileName) : TCustomIniFile(fileName) {
    Load();
}

void TMemIniFile::Load() {
    if (!LoadText(text_)) TFileStream{fileName_, fmOpenRead}; // raises EFOpenError with the reason
}

void TMemIniFile::Rename(const std::string& fileName, bool reload) {
    fileName_ = fileName;
    if (reload) Load();
}

void TMemIniFile::UpdateFile() {
    SaveText(text_);
}

} // namespace gui
