#pragma once
// A temporary home with fake XDG folders for every test, and the check that
// no operation moved the program's current folder.
#include "os/Paths.h"
#include "shell/ShellFolder.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// The one wait of these tests: pumps until the condition holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& pump, int ms = 5000);

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Make(const std::string& rel, const std::string& content = "x"); // a file
    std::string MakeDir(const std::string& rel);
    // Every name the folder lists, in order.
    std::vector<std::string> Names(IShellFolder& f, DWORD flags, DWORD nameFlags = SHGDN_INFOLDER);
    std::shared_ptr<IShellFolder> Bind(const std::string& path);
    static std::string Name(IShellFolder& f, LPCITEMIDLIST id, DWORD flags);

    std::string root_; // the temporary tree
    std::string home_; // root_/home, HOME during the test
    std::string cwd_;
    std::string oldHome_, oldConfig_, oldData_;
    bool hadHome_ = false, hadConfig_ = false, hadData_ = false;
};

struct IdDeleter {
    void operator()(LPITEMIDLIST l) const { ILFree(l); }
};
using Id = std::unique_ptr<ITEMIDLIST, IdDeleter>;
