#pragma once
// "option.ini" as the converter reads and writes it: key by key, a missing key reading "Error".
// A write that fails does not stop the caller: the failure becomes one log line and the caller
// goes on with the value it meant to store.
#include <functional>
#include <string>

namespace app {

using TLogSink = std::function<void(const std::string& line)>;

class TOptionIni {
public:
    explicit TOptionIni(std::string fileName, TLogSink log = {});

    const std::string& FileName() const { return fileName_; }
    bool Exists() const;
    // The value, or "Error" for a missing key (and for a file that cannot be read).
    std::string Read(const std::string& section, const std::string& key) const;
    // False, with a log line, when the file cannot be written.
    bool Write(const std::string& section, const std::string& key, const std::string& value);
    void Log(const std::string& line) const;
    // Why the file cannot be both read and written, in the system's words; empty when it can
    // (a missing file counts as usable when it can be made).
    std::string Problem() const;

private:
    std::string fileName_;
    TLogSink log_;
};

// A read value that counts as absent.
inline bool IsMissing(const std::string& value) {
    return value.empty() || value == "Error";
}

} // namespace app
