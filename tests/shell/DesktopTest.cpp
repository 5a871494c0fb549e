#include "ShellFixture.h"
#include "os/Spawn.h"
#include "shell/DesktopApi.h"
#include "shell/NotifyIcon.h"
#include "shell/Trash.h"
#include "win/DefWindowProc.h"
#include "win/Message.h"
#include "win/Messages.h"
#include "win/Window.h"

#include <cstring>
#include <regex>
#include <sstream>

using V = std::vector<std::string>;

namespace {

std::string Read(const std::string& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

class DesktopTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        const char* p = std::getenv("PATH");
        oldPath_ = p ? p : "";
        MakeDir("bin");
    }
    void TearDown() override {
        ::setenv("PATH", oldPath_.c_str(), 1);
        ShellTest::TearDown();
    }
    // Only these programs exist (as empty executables) while the test runs.
    void Programs(const std::vector<const char*>& names) {
        for (const char* n : {"xdg-open", "systemctl", "dbus-send", "pw-play", "paplay", "aplay"})
            ::unlink((root_ + "/bin/" + n).c_str());
        for (const char* n : names) {
            std::string p = Make(std::string("bin/") + n, "#!/bin/sh\n");
            ::chmod(p.c_str(), 0755);
        }
        ::setenv("PATH", (root_ + "/bin").c_str(), 1);
    }
    std::vector<V> Argvs() const {
        std::vector<V> out;
        for (const os::SpawnRequest& r : recorder_.Requests()) out.push_back(r.argv);
        return out;
    }
    os::SpawnRecorder recorder_;
    std::string oldPath_;
};

TEST_F(DesktopTest, OpenHandsOneArgumentToTheOpener) {
    std::string folder = MakeDir("out put");
    std::string odd = Make("out put/$(touch pwned); rm x.txt");
    Make("out put/-rf");
    const std::string missing = root_ + "/missing";
    const std::string web = "http://example.com/a b?c=1", mail = "mailto:someone@example.com";
    struct Case {
        const char *verb, *file, *params, *dir;
        uintptr_t result;
        V argv;
        std::string workDir;
    } cases[] = {
        {"open",  folder.c_str(),  nullptr, nullptr,        42,             {"xdg-open", folder},  ""    },
        {nullptr, web.c_str(),     nullptr, nullptr,        42,             {"xdg-open", web},     ""    },
        {"open",  mail.c_str(),    nullptr, nullptr,        42,             {"xdg-open", mail},    ""    },
        {"open",  odd.c_str(),     nullptr, nullptr,        42,             {"xdg-open", odd},     ""    },
        {"open",  "-rf",           nullptr, folder.c_str(), 42,             {"xdg-open", "./-rf"}, folder},
        {"open",  missing.c_str(), nullptr, nullptr,        SE_ERR_FNF,     {},                    ""    },
        {"open",  folder.c_str(),  "-x",    nullptr,        SE_ERR_NOASSOC, {},                    ""    },
        {"print", folder.c_str(),  nullptr, nullptr,        SE_ERR_NOASSOC, {},                    ""    },
    };
    for (const Case& c : cases) {
        recorder_.Clear();
        EXPECT_EQ(ShellExecute(nullptr, c.verb, c.file, c.params, c.dir, SW_SHOWNORMAL), c.result) << c.file;
        auto got = recorder_.Requests();
        if (c.argv.empty()) {
            EXPECT_TRUE(got.empty()) << c.file;
            continue;
        }
        ASSERT_EQ(got.size(), 1u) << c.file;
        EXPECT_EQ(got[0].argv, c.argv);
        EXPECT_EQ(got[0].workDir, c.workDir);
    }
}

TEST_F(DesktopTest, PowerOffIsAnOrderlyRequestWhereTheSystemTakesOne) {
    const V login1 = {"dbus-send",
                      "--system",
                      "--print-reply",
                      "--dest=org.freedesktop.login1",
                      "/org/freedesktop/login1",
                      "org.freedesktop.login1.Manager.PowerOff",
                      "boolean:true"};
    const UINT off = EWX_SHUTDOWN | EWX_POWEROFF; // the program adds EWX_FORCE; it is never passed on
    struct Case {
        std::vector<const char*> installed;
        UINT flags;
        BOOL result;
        std::vector<V> argvs;
    } cases[] = {
        {{"systemctl", "dbus-send"}, off | EWX_FORCE, TRUE,  {{"systemctl", "poweroff"}}},
        {{"dbus-send"},              off,             TRUE,  {login1}                   },
        {{},                         off,             FALSE, {}                         },
        {{"systemctl"},              EWX_REBOOT,      FALSE, {}                         },
        {{"systemctl"},              EWX_LOGOFF,      FALSE, {}                         },
    };
    for (const Case& c : cases) {
        recorder_.Clear();
        Programs(c.installed);
        EXPECT_EQ(ExitWindowsEx(c.flags, 0), c.result) << c.flags;
        EXPECT_EQ(Argvs(), c.argvs) << c.flags;
    }
}

TEST_F(DesktopTest, SoundGoesToTheFirstPlayerInstalledOrNowhere) {
    std::string wav = Make("sounds/ring001.wav", "RIFF");
    struct Case {
        std::vector<const char*> installed;
        std::string file;
        BOOL result;
        std::vector<V> argvs;
    } cases[] = {
        {{"aplay", "paplay", "pw-play"}, wav,                 TRUE,  {{"pw-play", wav}}    },
        {{"aplay", "paplay"},            wav,                 TRUE,  {{"paplay", wav}}     },
        {{"aplay"},                      wav,                 TRUE,  {{"aplay", "-q", wav}}},
        {{},                             wav,                 FALSE, {}                    },
        {{"paplay"},                     root_ + "/none.wav", FALSE, {}                    },
    };
    for (const Case& c : cases) {
        recorder_.Clear();
        Programs(c.installed);
        EXPECT_EQ(PlaySound(c.file.c_str(), nullptr, SND_FILENAME | SND_ASYNC), c.result) << c.file;
        EXPECT_EQ(Argvs(), c.argvs);
    }
}

TEST_F(DesktopTest, DeleteMovesIntoTheTrashWithItsRecord) {
    const std::string trash = home_ + "/.local/share/Trash";
    std::string a = Make("home/docs/旧 文件.txt", "1");
    std::string b = Make("home/other/旧 文件.txt", "2");
    std::string folder = MakeDir("home/folder/inner");
    std::string as;
    ASSERT_EQ(shell::Trash::MoveToTrash(a, &as), S_OK);
    EXPECT_EQ(as, trash + "/files/旧 文件.txt");
    EXPECT_FALSE(os::FileExists(a));
    EXPECT_EQ(Read(as), "1");
    std::regex record("\\[Trash Info\\]\nPath=" + home_ +
                      "/docs/%E6%97%A7%20%E6%96%87%E4%BB%B6.txt\n"
                      "DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
    EXPECT_TRUE(std::regex_match(Read(trash + "/info/旧 文件.txt.trashinfo"), record))
        << Read(trash + "/info/旧 文件.txt.trashinfo");

    // The same name again gets its own entry; the first stays as it was.
    ASSERT_EQ(shell::Trash::MoveToTrash(b, &as), S_OK);
    EXPECT_EQ(as, trash + "/files/旧 文件.txt.2");
    EXPECT_EQ(Read(trash + "/files/旧 文件.txt"), "1");
    EXPECT_NE(Read(trash + "/info/旧 文件.txt.2.trashinfo").find("/other/"), std::string::npos);

    ASSERT_EQ(shell::Trash::MoveToTrash(home_ + "/folder/", &as), S_OK);
    EXPECT_TRUE(os::DirectoryExists(trash + "/files/folder/inner"));

    // What cannot go leaves nothing behind: no record without its item.
    struct Refused {
        std::string path;
        HRESULT result;
    } refused[] = {
        {root_ + "/missing", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {trash,              HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED) },
        {home_ + "/.local",  HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED) },
        {"relative/name",    E_INVALIDARG                            },
        {"/",                E_INVALIDARG                            },
    };
    for (const Refused& r : refused) EXPECT_EQ(shell::Trash::MoveToTrash(r.path), r.result) << r.path;
    EXPECT_FALSE(os::FileExists(trash + "/info/missing.trashinfo"));
    EXPECT_TRUE(os::DirectoryExists(trash + "/files"));
}

TEST_F(DesktopTest, DeleteOnAnotherVolumeUsesThatVolumesTrash) {
    struct stat here {
    }, shm{};
    if (::stat(home_.c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev ||
        ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second writable volume";
    const std::string own = "/dev/shm/.Trash-" + std::to_string(::getuid());
    const bool hadTrash = os::DirectoryExists(own);
    std::string name = "tarvik-trash-" + std::to_string(::getpid());
    std::ofstream("/dev/shm/" + name) << "x";
    std::string as;
    ASSERT_EQ(shell::Trash::MoveToTrash("/dev/shm/" + name, &as), S_OK);
    EXPECT_TRUE(as.rfind("/dev/shm/.Trash", 0) == 0) << as;
    std::string info = as.substr(0, as.find("/files/")) + "/info/" + name + ".trashinfo";
    EXPECT_NE(Read(info).find("\nPath=" + name + "\n"), std::string::npos) << "relative to the volume's top";
    EXPECT_FALSE(os::FileExists(home_ + "/.local/share/Trash/files/" + name))
        << "never copied across volumes";
    ::unlink(as.c_str());
    ::unlink(info.c_str());
    if (!hadTrash) (void)::system(("rm -rf '" + own + "'").c_str());
}

namespace {
std::vector<MSG> g_trayLog;
LRESULT TrayProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m >= 0x0400) g_trayLog.push_back({h, m, w, l, 0, {}});
    return DefWindowProc(h, m, w, l);
}
} // namespace

TEST_F(DesktopTest, TrayRecorderKeepsIconsAndPlaysTheUsersSide) {
    WNDCLASS wc{};
    wc.lpfnWndProc = TrayProc;
    wc.lpszClassName = "TrayTest";
    RegisterClass(&wc);
    HWND h = CreateWindowEx(0, "TrayTest", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    shell::NotifyArea::Clear();
    g_trayLog.clear();

    NOTIFYICONDATA d{};
    d.cbSize = sizeof d;
    d.hWnd = h;
    d.uID = 1;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = 2048;
    std::strcpy(d.szTip, "Tarvik 转换器");
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &d)) << "the icon is there already";
    d.uFlags |= NIF_INFO;
    std::strcpy(d.szInfo, "转换完成");
    std::strcpy(d.szInfoTitle, "提示");
    d.dwInfoFlags = NIIF_INFO;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &d));
    auto icons = shell::NotifyArea::Icons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].tip, "Tarvik 转换器");
    EXPECT_EQ(icons[0].info, "转换完成");
    EXPECT_EQ(icons[0].infoTitle, "提示");
    EXPECT_EQ(icons[0].infoFlags, NIIF_INFO);
    EXPECT_EQ(icons[0].callbackMessage, 2048u);

    const UINT created = RegisterWindowMessage("TaskbarCreated");
    EXPECT_TRUE(shell::NotifyArea::Mouse(h, 1, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(shell::NotifyArea::BalloonClick(h, 1));
    EXPECT_FALSE(shell::NotifyArea::Mouse(h, 7, WM_LBUTTONDOWN)) << "no such icon";
    shell::NotifyArea::RestartTaskbar();
    win::RunUntilIdle();
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> got;
    for (const MSG& m : g_trayLog) got.emplace_back(m.message, m.wParam, m.lParam);
    EXPECT_EQ(got, (std::vector<std::tuple<UINT, WPARAM, LPARAM>>{
                       {2048u,   1u, WM_LBUTTONDBLCLK    },
                       {2048u,   1u, NIN_BALLOONUSERCLICK},
                       {created, 0u, 0                   },
    }));
    EXPECT_TRUE(shell::NotifyArea::Icons().empty()) << "a restarted task bar starts empty";
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &d));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &d));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &d));
    std::vector<std::pair<DWORD, BOOL>> calls;
    for (const auto& c : shell::NotifyArea::Calls()) calls.emplace_back(c.message, c.result);
    EXPECT_EQ(calls, (std::vector<std::pair<DWORD, BOOL>>{
                         {NIM_ADD,    TRUE },
                         {NIM_ADD,    FALSE},
                         {NIM_MODIFY, TRUE },
                         {NIM_MODIFY, FALSE},
                         {NIM_ADD,    TRUE },
                         {NIM_DELETE, TRUE },
                         {NIM_DELETE, FALSE}
    }));
    DestroyWindow(h);
    shell::NotifyArea::Clear();
}
