// The converter's start and skin switch, on the headless display (no X server needed).
//   start:  from the program's first step (resources, skin engine) to the main window's first
//           complete paint, in-process, with the options dialog made as program start makes it;
//           and, as an upper bound, a whole `tarvik` process until it has saved that first
//           picture (TARVIK_SCREENSHOT, so PNG encoding counts too).
//   switch: one skin change of the shown main window until it has repainted completely.
// Goals on this kind of machine (Release): first paint <= 200 ms, skin switch <= 100 ms.
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "gui/Application.h"
#include "resources/ProgramResources.h"
#include "skin/core/SkinData.h"
#include "skin/engine/EngineSetup.h"
#include "win/Paint.h"
#include "win/Styles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void PaintNow(gui::TForm* form) {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace

int main() {
    setenv("TARVIK_DISPLAY", "headless", 1);
    std::string config = (std::filesystem::temp_directory_path() / "tarvik_bench_config").string();
    std::filesystem::create_directories(config);
    setenv("TARVIK_CONFIG_DIR", config.c_str(), 1);

    std::vector<double> starts;
    for (int i = 0; i < 7; ++i) {
        auto t0 = Clock::now();
        skin::InitSkinEngine();
        resources::RegisterProgramResources();
        auto* main = new app::TForm1(gui::Application);
        main->AfterConstruction();
        auto* options = new app::TForm5(gui::Application, main);
        options->AfterConstruction();
        main->OptionsForm = options;
        main->Show();
        PaintNow(main);
        starts.push_back(Ms(t0, Clock::now()));

        if (i == 6) {
            std::vector<double> switches;
            for (int k = 1; k <= 22; ++k) {
                auto s0 = Clock::now();
                main->bsSkinData1->SetSkinIndex(k % 11);
                PaintNow(main);
                switches.push_back(Ms(s0, Clock::now()));
            }
            std::printf(
                "skin switch of the shown main window: median %.1f ms, worst %.1f ms (goal <= 100 ms)\n",
                Median(switches), *std::max_element(switches.begin(), switches.end()));
        }
        delete options;
        delete main;
    }
    std::printf("start to the main window's first complete paint (in-process): median %.1f ms, first %.1f ms "
                "(goal <= 200 ms)\n",
                Median(starts), starts[0]);

#ifdef TARVIK_PROGRAM
    std::vector<double> processes;
    std::string shot = config + "/shot.png";
    for (int i = 0; i < 5; ++i) {
        std::filesystem::remove(shot);
        auto t0 = Clock::now();
        std::string command = "TARVIK_SCREENSHOT='" + shot + "' '" TARVIK_PROGRAM "' >/dev/null & pid=$!; " +
                              "while [ ! -s '" + shot + "' ]; do sleep 0.001; done; kill $pid";
        if (std::system(command.c_str()) != 0) {
            std::printf("the program did not start\n");
            return 1;
        }
        processes.push_back(Ms(t0, Clock::now()));
    }
    std::printf("whole process to its first picture saved (upper bound, PNG included): median %.1f ms\n",
                Median(processes));
#endif
    std::filesystem::remove_all(config);
    return 0;
}
