#include "os/Spawn.h"
#include "os/DesktopServices.h"
#include "os/Paths.h"

#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace {

// The one wait of this file: until the file exists or the deadline passes.
bool WaitForFile(const std::string& file, int ms = 10000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!os::FileExists(file)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

// A real start of a stand-in opener that writes down its working folder and
// arguments: the target arrives as one argument, untouched by any shell, in
// the folder asked for, and ours stays where it was.
TEST(Spawn, TheOpenerRunsDetachedWithOneArgumentInItsOwnFolder) {
    char tmpl[] = "/tmp/tarvik-spawn-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string bin = dir + "/bin", work = dir + "/work dir";
    ::mkdir(bin.c_str(), 0755);
    ::mkdir(work.c_str(), 0755);
    const std::string out = dir + "/out";
    {
        std::ofstream s(bin + "/xdg-open");
        s << "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"" << out
          << "\"\n: > \"" << out << ".done\"\n";
    }
    ::chmod((bin + "/xdg-open").c_str(), 0755);
    const char* oldPath = std::getenv("PATH");
    std::string keep = oldPath ? oldPath : "";
    ::setenv("PATH", bin.c_str(), 1);
    const std::string cwd = os::CurrentDirectory();

    const std::string target = "/视频/a b; $(touch x) `id` *.avi";
    EXPECT_TRUE(os::OpenWithDesktop(target, work));
    ASSERT_TRUE(WaitForFile(out + ".done"));
    std::ifstream in(out);
    std::stringstream got;
    got << in.rdbuf();
    EXPECT_EQ(got.str(), work + "\n" + target + "\n");
    EXPECT_EQ(os::CurrentDirectory(), cwd);

    EXPECT_FALSE(os::SpawnDetached({{"no-such-program-here"}, ""}));
    EXPECT_FALSE(os::SpawnDetached({{}, ""}));
    ::setenv("PATH", keep.c_str(), 1);
    (void)std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(Spawn, ARecorderTakesRequestsInsteadOfStartingThem) {
    const std::string cwd = os::CurrentDirectory();
    os::SpawnRecorder outer;
    {
        os::SpawnRecorder inner;
        EXPECT_TRUE(os::OpenWithDesktop("https://example.com/", "/tmp"));
        ASSERT_EQ(inner.Requests().size(), 1u);
        EXPECT_EQ(inner.Requests()[0].argv, (std::vector<std::string>{"xdg-open", "https://example.com/"}));
        EXPECT_EQ(inner.Requests()[0].workDir, "/tmp");
    }
    EXPECT_TRUE(outer.Requests().empty()) << "the innermost recorder alone sees a request";
    EXPECT_TRUE(os::OpenWithDesktop("/x"));
    EXPECT_EQ(outer.Requests().size(), 1u);
    EXPECT_FALSE(os::OpenWithDesktop(""));
    EXPECT_EQ(os::CurrentDirectory(), cwd);
}
