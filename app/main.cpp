// The converter's start-up.  Until the main window exists, the program checks
// that the media libraries it needs can be loaded and says so.
#include <clocale>
#include <cstdio>

#include "app/Previewer.h"
#include "media/FFmpegLoader.h"
#include "os/Paths.h"
#include "resources/ProgramResources.h"

int main() {
    std::setlocale(LC_CTYPE, "");
    // Before any window: the skinned dialogs load their glyphs by name.
    resources::RegisterProgramResources();
    app::InstallPreviewerFactory();
    auto& loader = media::FFLoader();
    loader.SetLibraryPath(os::ExeFolder() + "LibAV");
    if (loader.Load(media::ConverterLibraries)) {
        std::printf("TarvikH.264格式转换器: media libraries loaded.\n");
        return 0;
    }
    std::printf("TarvikH.264格式转换器: %s\n", loader.LastErrMsg().c_str());
    return 1;
}
