#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include <filesystem>
#include <string>

#include <unistd.h>

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tarvik_gui_XXXXXX").string();
        path = ::mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};
