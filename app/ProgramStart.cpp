#include "app/ProgramStart.h"

#include "app/AboutForm.h"
#include "app/AppPaths.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/Previewer.h"
#include "app/SettingsForm.h"
#include "app/WindowPicture.h"
#include "gui/Application.h"
#include "media/ComponentUtils.h"
#include "media/FFmpegLoader.h"
#include "os/MainThread.h"
#include "os/Paths.h"
#include "resources/ProgramResources.h"
#include "skin/engine/EngineSetup.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace app {

int RunProgram() {
    std::setlocale(LC_CTYPE, "");
    media::FFLoader().SetLibraryPath(os::ExeFolder() + "LibAV");
    skin::InitSkinEngine();
    // Before any window: the skinned controls and dialogs load their pictures by name.
    resources::RegisterProgramResources();
    InstallPreviewerFactory();

    gui::Application->Title = kProgramTitle;
    gui::Application->HelpFile = ProgramFile(resources::kHelpFile);
    // A waiting Stop or Seek of the media components serves the window system meanwhile.
    media::SetMessagePump([] {
        MSG msg;
        bool any = os::CheckSynchronize(0);
        return gui::Application->ProcessMessage(msg) || any;
    });

    TForm1* Form1 = nullptr;
    TForm2* Form2 = nullptr;
    TForm5* Form5 = nullptr;
    gui::Application->CreateForm(Form1);
    gui::Application->CreateForm(Form2);
    Form1->AboutForm = Form2;
    gui::Application->CreateForm(Form5);
    Form1->OptionsForm = Form5;
    // The per-file settings dialog is made last and stays hidden.
    TForm6* Form6 = nullptr;
    gui::Application->CreateForm(Form6);
    Form1->Show();
    if (const char* shot = std::getenv("TARVIK_SCREENSHOT")) {
        std::string error;
        if (WriteWindowPicture(Form1->Handle(), shot, error))
            std::printf("TarvikH.264格式转换器: main window saved as %s\n", shot);
        else
            std::fprintf(stderr, "TarvikH.264格式转换器: %s\n", error.c_str());
        std::fflush(stdout);
    }
    gui::Application->Run();

    media::SetMessagePump(nullptr);
    return 0;
}

} // namespace app
