#include "app/ProgramStart.h"

#include "app/AboutForm.h"
#include "app/AppPaths.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/Previewer.h"
#include "app/SettingsForm.h"
#include "app/WindowPicture.h"
#include "display/Backend.h"
#include "gui/Application.h"
#include "media/ComponentUtils.h"
#include "media/FFmpegLoader.h"
#include "os/CloseSignals.h"
#include "os/MainThread.h"
#include "os/Paths.h"
#include "resources/ProgramResources.h"
#include "skin/engine/EngineSetup.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace app {

namespace {

std::unique_ptr<os::CloseSignals> g_closeSignals;

// A signal closes the main window the way its user does: conversions stopped and awaited,
// the player detached, the settings kept.
void CloseOnSignal(int) {
    if (gui::TCustomForm* main = gui::Application->MainForm())
        main->Close();
    else
        gui::Application->Terminate();
}

} // namespace

TForm1* StartProgram() {
    std::setlocale(LC_CTYPE, "");
    // Before anything that draws: a display that does not open ends the start here.
    if (const std::string& error = display::OpenError(); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return nullptr;
    }
    // Before the player can start SDL, which takes these signals for itself when it finds them
    // unhandled.
    g_closeSignals = std::make_unique<os::CloseSignals>(CloseOnSignal);
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
    return Form1;
}

int RunUntilClosed() {
    gui::Application->Run();
    // The windows go before the process ends: the main window's stops the player and awaits
    // its threads, which would otherwise still draw while the process's own objects are torn
    // down at exit.
    gui::Application->DestroyComponents();
    g_closeSignals.reset();
    media::SetMessagePump(nullptr);
    return 0;
}

int RunProgram() {
    if (!StartProgram()) return 1;
    return RunUntilClosed();
}

} // namespace app
