// Draws one skin from its description into a skin folder (skin.ini and its BMP files), as
// the build does for the program's eleven skins before skinpack packs them.
#include "SkinBuilder.h"
#include "SkinStyle.h"

#include "skin/core/SkinData.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen <description.skin> <out-folder>\n");
        return 2;
    }
    try {
        skingen::SkinStyle style = skingen::SkinStyle::Load(argv[1]);
        std::filesystem::path folder = argv[2];
        std::filesystem::create_directories(folder);
        std::string ini = (folder / "skin.ini").string();
        std::filesystem::remove(ini); // the writer keeps sections of an existing file
        {
            skin::TbsSkinData data;
            skingen::SkinBuilder(style, data).Build();
            data.StoreToDisk(ini);
        }
        // What was written must read back as a skin.
        skin::TbsSkinData check;
        if (!check.LoadFromFile(ini)) {
            std::fprintf(stderr, "skingen: %s does not read back: %s\n", ini.c_str(),
                         check.LastError().c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
