#pragma once
// The shell-browsing tests: a temporary home (HOME and the XDG folders point into it), the
// GUI harness, and the check after every test that nothing moved the current folder.
#include "../gui/GuiHarness.h"
#include "os/Paths.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class ShellGuiTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        cwd_ = os::CurrentDirectory();
        char tmpl[] = "/tmp/tarvik-dlg-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        char real[PATH_MAX];
        ASSERT_NE(::realpath(tmpl, real), nullptr);
        root_ = real;
        home_ = root_ + "/home";
        std::filesystem::create_directories(home_);
        Keep("HOME", 0);
        Keep("XDG_CONFIG_HOME", 1);
        Keep("XDG_DATA_HOME", 2);
        ::setenv("HOME", home_.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }
    void TearDown() override {
        GuiTest::TearDown();
        EXPECT_EQ(os::CurrentDirectory(), cwd_) << "an operation moved the current folder";
        Restore("HOME", 0);
        Restore("XDG_CONFIG_HOME", 1);
        Restore("XDG_DATA_HOME", 2);
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    std::string Make(const std::string& rel, const std::string& content = "x") {
        std::string p = root_ + "/" + rel;
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p) << content;
        return p;
    }
    std::string MakeDir(const std::string& rel) {
        std::string p = root_ + "/" + rel;
        std::filesystem::create_directories(p);
        return p;
    }

    std::string root_, home_, cwd_;

private:
    void Keep(const char* name, int slot) {
        const char* v = std::getenv(name);
        had_[slot] = v != nullptr;
        old_[slot] = v ? v : "";
    }
    void Restore(const char* name, int slot) {
        if (had_[slot])
            ::setenv(name, old_[slot].c_str(), 1);
        else
            ::unsetenv(name);
    }
    std::string old_[3];
    bool had_[3] = {};
};
