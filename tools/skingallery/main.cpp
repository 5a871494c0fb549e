// skingallery <out-folder>: one contact sheet per skin, skin00.png to skin10.png, showing the
// program's main window, options dialog, an open menu, the open dialog and the skin chooser.
// Runs headless; the program's settings go to a temporary folder and are removed after.
#include "SkinTour.h"

#include "gui/IniFile.h"
#include "resources/ProgramResources.h"
#include "skin/engine/EngineSetup.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingallery <out-folder>\n");
        return 2;
    }
    setenv("TARVIK_DISPLAY", "headless", 1);
    std::setlocale(LC_CTYPE, "");
    fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out, ec);
    char pattern[] = "/tmp/skingallery.XXXXXX";
    if (!mkdtemp(pattern)) {
        std::fprintf(stderr, "skingallery: no temporary folder\n");
        return 1;
    }
    fs::path temp = pattern;
    fs::create_directories(temp / "home");
    fs::create_directories(temp / "config");
    fs::create_directories(temp / "clips");
    for (const char* name : {"旅行 Travel.mp4", "会议记录.mkv", "家庭聚会.avi", "演示 Demo.mov"})
        std::ofstream(temp / "clips" / name) << "clip";
    setenv("HOME", (temp / "home").c_str(), 1);
    setenv("TARVIK_CONFIG_DIR", (temp / "config").c_str(), 1);

    skin::InitSkinEngine();
    resources::RegisterProgramResources();
    int failed = 0;
    {
        skingallery::SkinTour tour((temp / "clips").string());
        for (int i = 0; i < tour.SkinCount(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "skin%02d.png", i);
            std::string error;
            if (!tour.Visit(i).Save((out / name).string(), error)) {
                std::fprintf(stderr, "skingallery: %s\n", error.c_str());
                ++failed;
            } else {
                std::printf("%s\n", (out / name).c_str());
            }
        }
    }
    fs::remove_all(temp, ec);
    return failed ? 1 : 0;
}
