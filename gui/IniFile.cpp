#include "gui/IniFile.h"

namespace gui {

const IniText& TIniFile::ForReading() {
    LoadText(current_);
    return current_;
}

void TIniFile::Modify(const std::function<void(IniText&)>& edit) {
    if (!LoadText(current_)) throw EIniFileException("Unable to write to " + fileName_);
    edit(current_);
    SaveText(current_);
}

} // namespace gui
