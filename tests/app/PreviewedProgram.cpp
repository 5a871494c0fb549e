// The converter started the way the program starts, with one clip (the first argument) added
// and previewed to its end; then "ended" on stdout, and the program's own message loop until
// something ends it, then "closed".  CloseSignalsTest sends it the signals.
#include "../gui/WaitUntil.h"
#include "app/FileList.h"
#include "app/MainForm.h"
#include "app/PreviewPanel.h"
#include "app/ProgramStart.h"
#include "fixtures/Fixtures.h"
#include "gui/Application.h"
#include "gui/CustomListView.h"
#include "media/FFPlayer.h"
#include "os/MainThread.h"
#include "skin/controls/SkinButton.h"

#include <cstdio>

namespace {

bool Logged(app::TForm1& main, const std::string& prefix) {
    for (size_t i = 0; i < main.mmoLog.Count(); ++i)
        if (main.mmoLog.Line(i).rfind(prefix, 0) == 0) return true;
    return false;
}

bool PumpUntil(const std::function<bool()>& done, const std::string& what) {
    auto r = WaitUntil(
        [&] {
            os::CheckSynchronize(1);
            MSG msg;
            gui::Application->ProcessMessage(msg);
            return done();
        },
        std::chrono::seconds(60), what);
    if (!r) std::fprintf(stderr, "%s\n", r.message());
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    fixtures::LoadMediaLibraries();
    app::TForm1* main = app::StartProgram();
    if (!main) return 1;
    const std::string clip = argv[1];
    main->FileList->OpenFiles = [&](std::vector<std::string>& files) {
        files = {clip};
        return true;
    };
    main->FileList->AddSeveralFiles();
    main->lvFiles->SetItemIndex(0);
    media::TFFPlayer* player = main->FFPlayer;
    if (!PumpUntil([&] { return player->Paused() && player->CurrentFrame().Width() > 0; },
                   "the first picture"))
        return 3;
    main->Preview->bsSkinButton13->OnClick(main->Preview->bsSkinButton13);
    if (!PumpUntil([&] { return Logged(*main, "End"); }, "the end of the preview")) return 3;
    std::printf("ended\n");
    std::fflush(stdout);
    const int status = app::RunUntilClosed();
    std::printf("closed\n");
    std::fflush(stdout);
    return status;
}
