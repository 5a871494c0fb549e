#include "app/OptionIni.h"

#include "gui/IniFile.h"
#include "os/Paths.h"

#include <exception>

namespace app {

TOptionIni::TOptionIni(std::string fileName, TLogSink log)
    : fileName_(std::move(fileName)), log_(std::move(log)) {}

bool TOptionIni::Exists() const {
    return os::FileExists(fileName_);
}

std::string TOptionIni::Read(const std::string& section, const std::string& key) const {
    try {
        gui::TIniFile ini(fileName_);
        return ini.ReadString(section, key, "Error");
    } catch (const std::exception&) {
        return "Error";
    }
}

bool TOptionIni::Write(const std::string& section, const std::string& key, const std::string& value) {
    try {
        gui::TIniFile ini(fileName_);
        ini.WriteString(section, key, value);
        return true;
    } catch (const std::exception& e) {
        Log("***Cannot write " + fileName_ + ": " + e.what());
        return false;
    }
}

void TOptionIni::Log(const std::string& line) const {
    if (log_) log_(line);
}

} // namespace app
