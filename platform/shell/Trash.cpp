#include "shell/Trash.h"

#include "os/Paths.h"
#include "shell/XdgFolders.h"

#include <cctype>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {
namespace {

HRESULT FromErrno(int e) {
    switch (e) {
    case ENOENT:
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    case EACCES:
    case EPERM:
    case EROFS:
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case EXDEV:
        return HRESULT_FROM_WIN32(ERROR_NOT_SAME_DEVICE);
    default:
        return E_FAIL;
    }
}

std::string Parent(const std::string& p) {
    size_t slash = p.rfind('/');
    return slash == 0 ? "/" : p.substr(0, slash);
}

// Made with 0700 when missing; an existing one must be a real folder of ours.
bool OwnFolder(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

bool MakeTrash(const std::string& trash) {
    return OwnFolder(trash) && OwnFolder(trash + "/files") && OwnFolder(trash + "/info");
}

// The trash's Path= value: bytes outside the unreserved set escaped.
std::string Escaped(const std::string& s) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string r;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~')
            r += static_cast<char>(c);
        else
            r += {'%', kHex[c >> 4], kHex[c & 15]};
    }
    return r;
}

// The top folder of the volume that holds path.
std::string TopOf(const std::string& path, dev_t dev) {
    std::string top = path;
    while (top != "/") {
        std::string up = Parent(top);
        struct stat st {};
        if (::stat(up.c_str(), &st) != 0 || st.st_dev != dev) break;
        top = up;
    }
    return top;
}

// The volume's trash: .Trash/$uid under a shared sticky .Trash, else
// .Trash-$uid; "" when neither can be used.
std::string VolumeTrash(const std::string& top) {
    const std::string uid = std::to_string(::getuid());
    const std::string base = top == "/" ? "" : top;
    struct stat st {};
    std::string shared = base + "/.Trash";
    if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) &&
        MakeTrash(shared + "/" + uid))
        return shared + "/" + uid;
    std::string own = base + "/.Trash-" + uid;
    return MakeTrash(own) ? own : std::string();
}

} // namespace

std::string Trash::HomeTrash() {
    return XdgFolders::DataHome() + "/Trash";
}

HRESULT Trash::MoveToTrash(const std::string& path, std::string* trashedAs) {
    if (path.empty() || path[0] != '/') return E_INVALIDARG;
    std::string item = path;
    while (item.size() > 1 && item.back() == '/') item.pop_back();
    struct stat st {};
    if (item == "/" || ::lstat(item.c_str(), &st) != 0) return item == "/" ? E_INVALIDARG : FromErrno(errno);
    const std::string name = item.substr(item.rfind('/') + 1);
    if (name == "." || name == "..") return E_INVALIDARG;

    std::string home = HomeTrash();
    // The trash, any folder that holds it and what is already in it cannot
    // go into it.
    auto under = [](const std::string& path, const std::string& top) {
        return path.compare(0, top.size(), top) == 0 &&
               (path.size() == top.size() || path[top.size()] == '/');
    };
    if (under(home, item) || under(item, home)) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    std::string trash, infoPath;
    struct stat ts {};
    os::ForceDirectories(XdgFolders::DataHome());
    if (MakeTrash(home) && ::stat(home.c_str(), &ts) == 0 && ts.st_dev == st.st_dev) {
        trash = home;
        infoPath = item;
    } else {
        std::string top = TopOf(item, st.st_dev);
        if (top == item) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED); // a mount point itself
        trash = VolumeTrash(top);
        if (trash.empty()) return HRESULT_FROM_WIN32(ERROR_NOT_SAME_DEVICE);
        infoPath = item.substr(top == "/" ? 1 : top.size() + 1); // relative to the volume's top
    }

    // Reserve a name by creating its info file exclusively.
    std::string entry, info;
    int fd = -1;
    for (int n = 1; n < 10000 && fd < 0; ++n) {
        entry = n == 1 ? name : name + "." + std::to_string(n);
        info = trash + "/info/" + entry + ".trashinfo";
        struct stat there {};
        if (::lstat((trash + "/files/" + entry).c_str(), &there) == 0) continue;
        fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return FromErrno(errno);
    }
    if (fd < 0) return E_FAIL;
    char date[32] = "";
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
    std::string text = "[Trash Info]\nPath=" + Escaped(infoPath) + "\nDeletionDate=" + date + "\n";
    bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    written = ::close(fd) == 0 && written;
    const std::string target = trash + "/files/" + entry;
    int moved =
        written ? ::renameat2(AT_FDCWD, item.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) : -1;
    if (moved != 0 && written && errno == EINVAL) {
        // A file system without the no-replace rename: the name was free a
        // moment ago and the info file holds it for us.
        struct stat there {};
        if (::lstat(target.c_str(), &there) == 0)
            errno = EEXIST;
        else
            moved = ::rename(item.c_str(), target.c_str());
    }
    if (moved != 0) {
        int e = written ? errno : EIO;
        ::unlink(info.c_str()); // nothing was moved: no record of it may stay
        return FromErrno(e);
    }
    if (trashedAs) *trashedAs = target;
    return S_OK;
}

} // namespace shell
