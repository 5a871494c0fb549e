#pragma once
// The converter's windows on this test program's private X server: the server, started once for
// the program, chosen as the display; the program's pictures registered; HOME and the settings
// folder in temporary folders that live as long as the object.
#include "../display/Xvfb.h"
#include "../gui/TempDir.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "os/MainThread.h"
#include "resources/ProgramResources.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

class ProgramScreen {
public:
    // The caller skips its test first when Xvfb is not installed.
    ::testing::AssertionResult Open() {
        XvfbServer& server = Server();
        if (!server.Running()) return ::testing::AssertionFailure() << server.Error();
        setenv("DISPLAY", server.Name().c_str(), 1);
        unsetenv("TARVIK_DISPLAY");
        if (display::HeadlessDisplay() != nullptr)
            return ::testing::AssertionFailure() << "the x11 backend was not chosen";
        resources::RegisterProgramResources();
        setenv("HOME", home.path.c_str(), 1);
        setenv("TARVIK_CONFIG_DIR", config.path.c_str(), 1);
        return ::testing::AssertionSuccess();
    }
    const std::string& Name() const { return Server().Name(); }
    // One turn of the program's loop with the media components' calls into it: what their
    // waiting Stop and Seek run, and what a test runs while it waits on the player.
    static bool Pump() {
        MSG msg;
        bool any = os::CheckSynchronize(0);
        return gui::Application->ProcessMessage(msg) || any;
    }

    TempDir home, config;

private:
    static XvfbServer& Server() {
        static XvfbServer server;
        return server;
    }
};
