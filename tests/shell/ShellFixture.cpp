#include "ShellFixture.h"

#include <climits>
#include <thread>

bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& pump, int ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (pump) pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

namespace {
void Keep(const char* name, std::string& value, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    value = v ? v : "";
}
void Restore(const char* name, const std::string& value, bool had) {
    if (had)
        ::setenv(name, value.c_str(), 1);
    else
        ::unsetenv(name);
}
} // namespace

void ShellTest::SetUp() {
    cwd_ = os::CurrentDirectory();
    char tmpl[] = "/tmp/tarvik-shell-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    char real[PATH_MAX];
    ASSERT_NE(::realpath(tmpl, real), nullptr);
    root_ = real;
    home_ = root_ + "/home";
    ::mkdir(home_.c_str(), 0755);
    Keep("HOME", oldHome_, hadHome_);
    Keep("XDG_CONFIG_HOME", oldConfig_, hadConfig_);
    Keep("XDG_DATA_HOME", oldData_, hadData_);
    ::setenv("HOME", home_.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
}

void ShellTest::TearDown() {
    EXPECT_EQ(os::CurrentDirectory(), cwd_) << "an operation moved the current folder";
    Restore("HOME", oldHome_, hadHome_);
    Restore("XDG_CONFIG_HOME", oldConfig_, hadConfig_);
    Restore("XDG_DATA_HOME", oldData_, hadData_);
    std::string cmd = "chmod -R u+rwx '" + root_ + "' 2>/dev/null; rm -rf '" + root_ + "'";
    if (root_.rfind("/tmp/tarvik-shell-", 0) == 0) (void)std::system(cmd.c_str());
}

std::string ShellTest::Make(const std::string& rel, const std::string& content) {
    std::string p = root_ + "/" + rel;
    os::ForceDirectories(os::ExtractFilePath(p));
    std::ofstream(p) << content;
    return p;
}

std::string ShellTest::MakeDir(const std::string& rel) {
    std::string p = root_ + "/" + rel;
    os::ForceDirectories(p);
    return p;
}

std::string ShellTest::Name(IShellFolder& f, LPCITEMIDLIST id, DWORD flags) {
    STRRET s;
    if (FAILED(f.GetDisplayNameOf(id, flags, &s))) return "<failed>";
    return StrRetText(s, id);
}

std::vector<std::string> ShellTest::Names(IShellFolder& f, DWORD flags, DWORD nameFlags) {
    std::vector<std::string> out;
    std::unique_ptr<IEnumIDList> e;
    f.EnumObjects(nullptr, flags, &e);
    if (!e) return out;
    LPITEMIDLIST id = nullptr;
    while (e->Next(1, &id, nullptr) == S_OK) {
        out.push_back(Name(f, id, nameFlags));
        ILFree(id);
    }
    return out;
}

std::shared_ptr<IShellFolder> ShellTest::Bind(const std::string& path) {
    std::shared_ptr<IShellFolder> desktop, f;
    SHGetDesktopFolder(&desktop);
    LPITEMIDLIST id = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, path.c_str(), nullptr, &id, nullptr))) return nullptr;
    desktop->BindToObject(id, &f);
    ILFree(id);
    return f;
}
