#pragma once
// Shared set-up of the probe tests: the libraries, a C locale, a folder for
// clips, and the probe's log lines captured as they are written.
#include <clocale>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/Fixtures.h"
#include "media/FFLogger.h"

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::LoadMediaLibraries();
        std::setlocale(LC_ALL, "C");
        media::FFLogger().TriggerEventInMainThread = false;
        media::FFLogger().OnLog = [this](os::TObject*, uint32_t, media::TLogLevel level,
                                         const std::string& msg) {
            logged.push_back({level, msg});
        };
    }
    void TearDown() override {
        media::FFLogger().OnLog = nullptr;
        media::FFLogger().TriggerEventInMainThread = true;
    }

    struct Line {
        media::TLogLevel level;
        std::string text;
    };
    bool Logged(const std::string& text) const {
        for (const Line& l : logged)
            if (l.text == text) return true;
        return false;
    }

    fixtures::TempFolder folder{"probe"};
    std::vector<Line> logged;
};
