// Packs a skin folder (its ini file and the BMP files it names) into a stored skin file, as
// the build does for the program's own skins.
#include "skin/core/CompressedSkin.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinpack <skin.ini> <out.skn>\n");
        return 2;
    }
    try {
        skin::TbsCompressedStoredSkin stored;
        if (!stored.LoadFromIniFile(argv[1])) {
            std::fprintf(stderr,
                         "skinpack: %s is not a skin: it lacks one of [VERSION], [PICTURES], [FORMINFO], "
                         "[SKINOBJECTS], [SKINCONTROLS]\n",
                         argv[1]);
            return 1;
        }
        stored.SaveToCompressFile(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
        return 1;
    }
    return 0;
}
