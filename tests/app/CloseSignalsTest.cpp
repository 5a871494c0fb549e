// SIGTERM, SIGINT and SIGHUP end the program as closing its main window does, also once the
// player has started SDL (which takes unhandled signals for itself): the program, headless,
// previews a clip to its end, is sent the signal, has closed within 5 s and ends with status
// 0, and its option.ini keeps every section it had.  (The sanitizers' leak scan at exit takes
// seconds of its own: only the close is held to the 5 s.)
#include "../gui/TempDir.h"
#include "../gui/WaitUntil.h"
#include "fixtures/Fixtures.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Sections(const std::string& ini) {
    std::vector<std::string> out;
    std::istringstream in(ini);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] == '[') out.push_back(line);
    return out;
}

class CloseSignalsTest : public ::testing::TestWithParam<int> {};

TEST_P(CloseSignalsTest, AfterAPreviewTheProgramClosesAndKeepsItsSettings) {
    fixtures::TempFolder clips("closesignals");
    fixtures::ClipOptions options;
    options.seconds = 1;
    options.width = 160;
    options.height = 120;
    const std::string clip = fixtures::MakeClip(clips, options);
    TempDir home, config;

    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<std::string> env = {"HOME=" + home.path.string(), "TARVIK_CONFIG_DIR=" + config.path.string(),
                                    "SDL_AUDIODRIVER=dummy", "TARVIK_DISPLAY=headless"};
    for (char** e = environ; *e; ++e) {
        const std::string kv = *e;
        if (kv.rfind("HOME=", 0) && kv.rfind("TARVIK_", 0) && kv.rfind("SDL_AUDIODRIVER=", 0))
            env.push_back(kv);
    }
    std::vector<char*> envp;
    for (auto& kv : env) envp.push_back(kv.data());
    envp.push_back(nullptr);
    std::string program = PREVIEWED_PROGRAM;
    char* args[] = {program.data(), const_cast<char*>(clip.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, args, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::fcntl(out[0], F_SETFL, O_NONBLOCK);

    int status = -1;
    auto ended = [&] { return status != -1 || ::waitpid(pid, &status, WNOHANG) == pid; };
    std::string said;
    auto says = [&](const std::string& line) {
        return [&, line] {
            // Read after asking: a program that has just ended has said all it will.
            const bool gone = ended();
            char buf[64];
            for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) said.append(buf, size_t(n));
            return said.find(line + "\n") != std::string::npos || gone;
        };
    };
    auto stop = [&](const std::string& why) {
        if (status == -1) ::kill(pid, SIGKILL), ::waitpid(pid, &status, 0);
        ::close(out[0]);
        return why + " (status " + std::to_string(status) + ", said: " + said + ")";
    };
    if (!WaitUntil(says("ended"), std::chrono::seconds(120), "the preview's end") ||
        said.find("ended\n") == std::string::npos)
        FAIL() << stop("the program did not preview its clip to the end");
    const std::vector<std::string> before = Sections(ReadFile(config / "option.ini"));
    ASSERT_FALSE(before.empty()) << stop("no option.ini");

    ::kill(pid, GetParam());
    if (!WaitUntil(says("closed"), std::chrono::seconds(5), "the program to close") ||
        said.find("closed\n") == std::string::npos)
        FAIL() << stop("not closed 5 s after the signal");
    // The sanitizers' leak scan at exit takes seconds of its own: the end is given longer.
    if (!WaitUntil(ended, std::chrono::seconds(60), "the program to end"))
        FAIL() << stop("closed but did not end");
    ::close(out[0]);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string after = ReadFile(config / "option.ini");
    for (const std::string& section : before) EXPECT_NE(after.find(section), std::string::npos) << section;
}

INSTANTIATE_TEST_SUITE_P(Signals, CloseSignalsTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

} // namespace
