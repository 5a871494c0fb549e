#include "shell/ShellLocation.h"

#include "shell/NaturalOrder.h"
#include "shell/ShellIcons.h"
#include "shell/XdgFolders.h"

#include <cstring>
#include <ctime>
#include <dirent.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace shell {
namespace {

bool Under(const std::string& path, const std::string& top) {
    if (top == "/") return !path.empty() && path[0] == '/';
    return path.compare(0, top.size(), top) == 0 && (path.size() == top.size() || path[top.size()] == '/');
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir == "/" ? "/" + name : dir + "/" + name;
}

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string c = path.substr(start, end - start);
        if (c == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!c.empty() && c != ".") {
            parts.push_back(c);
        }
        start = end + 1;
    }
    return parts;
}

// Places whose listing is generated or far away: their sub-folders are
// assumed rather than read, so a tree never descends into them to ask.
bool SlowOrGenerated(const std::string& path) {
    if (Under(path, "/proc") || Under(path, "/sys") || Under(path, "/dev")) return true;
    return MountTable::VolumeOf(path).kind == DRIVE_REMOTE;
}

bool HasSubFolder(const std::string& path) {
    if (SlowOrGenerated(path)) return true;
    DIR* d = ::opendir(path.c_str());
    if (!d) return false;
    bool found = false;
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') continue; // hidden ones are not listed by default
        if (e->d_type == DT_DIR) {
            found = true;
        } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            // A link to a folder is listed as one, so it counts; only its target is looked
            // at, never descended into, so a link to an ancestor makes no loop.
            struct stat st {};
            found = ::stat(Join(path, e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        if (found) break;
    }
    ::closedir(d);
    return found;
}

std::string KindText(UINT kind) {
    switch (kind) {
    case DRIVE_REMOVABLE:
        return "可移动磁盘";
    case DRIVE_REMOTE:
        return "网络驱动器";
    case DRIVE_CDROM:
        return "CD 驱动器";
    case DRIVE_RAMDISK:
        return "RAM 磁盘";
    default:
        return "本地磁盘";
    }
}

std::string Grouped(unsigned long long v) {
    std::string s = std::to_string(v);
    for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<size_t>(i), ",");
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

int Rank(const ShellLocation& l) {
    switch (l.place) {
    case ShellLocation::Place::Desktop:
        return 0;
    case ShellLocation::Place::Computer:
        return 2;
    default:
        break;
    }
    if (l.kind == ItemKind::Home) return 1;
    if (l.kind == ItemKind::Volume) return l.path == "/" ? 3 : 4;
    return l.IsFolder() ? 5 : 6;
}

} // namespace

bool ShellLocation::Resolve(LPCITEMIDLIST absolute, ShellLocation& out) {
    if (!absolute) return false;
    ShellLocation l;
    for (LPCITEMIDLIST p = absolute; !ILIsEmpty(p); p = ILGetNext(p)) {
        ItemKind kind;
        std::string name;
        if (!ReadItemId(p->mkid, kind, name)) return false;
        switch (kind) {
        case ItemKind::Home:
            if (l.place != Place::Desktop) return false;
            l.place = Place::FileSystem;
            l.path = XdgFolders::Home();
            break;
        case ItemKind::Computer:
            if (l.place != Place::Desktop) return false;
            l.place = Place::Computer;
            break;
        case ItemKind::Volume:
            if (l.place != Place::Computer) return false;
            l.place = Place::FileSystem;
            l.path = name;
            break;
        case ItemKind::Entry:
            if (l.place != Place::FileSystem) return false;
            l.path = Join(l.path, name);
            break;
        }
        l.kind = kind;
        l.name = name;
    }
    out = std::move(l);
    return true;
}

LPITEMIDLIST ShellLocation::IdListOfPath(const std::string& path, bool viaHome) {
    if (path.empty() || path[0] != '/') return nullptr;
    std::vector<std::string> parts = Components(path);
    std::string norm = "/";
    for (size_t i = 0; i < parts.size(); ++i) norm += (i ? "/" : "") + parts[i];

    std::unique_ptr<ITEMIDLIST, void (*)(LPITEMIDLIST)> list(nullptr, ILFree);
    auto append = [&](LPITEMIDLIST id) {
        LPITEMIDLIST combined = id ? ILCombine(list.get(), id) : nullptr;
        ILFree(id);
        list.reset(combined);
        return combined != nullptr;
    };
    std::string home = XdgFolders::Home();
    std::string base;
    if (viaHome && home != "/" && Under(norm, home)) {
        list.reset(MakeItemId(ItemKind::Home, ""));
        base = home;
    } else {
        list.reset(MakeItemId(ItemKind::Computer, ""));
        base = MountTable::VolumeOf(norm).mountPoint;
        if (!list || !append(MakeItemId(ItemKind::Volume, base))) return nullptr;
    }
    if (!list) return nullptr;
    for (const std::string& c : Components(norm.substr(base.size())))
        if (!append(MakeItemId(ItemKind::Entry, c))) return nullptr;
    return list.release();
}

// A volume is answered from the mount table, so a dead network mount is
// never touched by a mere question.
bool ShellLocation::Exists() const {
    if (place != Place::FileSystem) return true;
    if (kind == ItemKind::Volume) {
        Volume v;
        return MountTable::Find(path, v);
    }
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool ShellLocation::IsFolder() const {
    if (place != Place::FileSystem || kind == ItemKind::Volume) return true;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ShellLocation::Attributes(ULONG request, ULONG& out) const {
    out = 0;
    const ULONG folderBits = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASPROPSHEET;
    if (place == Place::Desktop || place == Place::Computer) {
        out = folderBits;
        if (request & SFGAO_HASSUBFOLDER) out |= SFGAO_HASSUBFOLDER;
    } else if (kind == ItemKind::Volume) {
        Volume v;
        if (!MountTable::Find(path, v)) v = MountTable::VolumeOf(path);
        out = folderBits | SFGAO_FILESYSTEM | SFGAO_DROPTARGET;
        if (v.readOnly) out |= SFGAO_READONLY;
        if (v.kind == DRIVE_REMOVABLE || v.kind == DRIVE_CDROM) out |= SFGAO_REMOVABLE;
        if ((request & SFGAO_HASSUBFOLDER) && (v.kind == DRIVE_REMOTE || HasSubFolder(path)))
            out |= SFGAO_HASSUBFOLDER;
    } else {
        struct stat ls {
        }, st{};
        if (::lstat(path.c_str(), &ls) != 0) return false;
        bool link = S_ISLNK(ls.st_mode);
        bool folder = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        out = SFGAO_FILESYSTEM | SFGAO_HASPROPSHEET;
        if (folder)
            out |= folderBits | SFGAO_DROPTARGET;
        else
            out |= SFGAO_STREAM;
        if (link) out |= SFGAO_LINK;
        if (!name.empty() && name[0] == '.') out |= SFGAO_HIDDEN;
        if (::access(path.c_str(), W_OK) != 0) out |= SFGAO_READONLY;
        if (kind == ItemKind::Entry) {
            std::string parent = path.substr(0, path.rfind('/'));
            if (::access(parent.empty() ? "/" : parent.c_str(), W_OK) == 0)
                out |= SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE;
            out |= SFGAO_CANCOPY | SFGAO_CANLINK;
        }
        if (folder && (request & SFGAO_HASSUBFOLDER) && HasSubFolder(path)) out |= SFGAO_HASSUBFOLDER;
    }
    // A request of nothing answers everything known, so a caller can learn
    // the cheap attributes without naming them.
    if (request) out &= request;
    return true;
}

std::string ShellLocation::DisplayName(DWORD flags) const {
    const bool parsing = flags & SHGDN_FORPARSING;
    const bool inFolder = flags & SHGDN_INFOLDER;
    switch (place) {
    case Place::Desktop:
        return parsing && !inFolder ? "::{Desktop}" : "桌面";
    case Place::Computer:
        return parsing && !inFolder ? "::{Computer}" : "计算机";
    default:
        break;
    }
    if (parsing && !inFolder) return path;
    if (kind == ItemKind::Home) return parsing ? path : "主文件夹";
    if (kind == ItemKind::Volume) {
        if (parsing) return path;
        Volume v;
        if (MountTable::Find(path, v) && !v.label.empty()) return v.label;
        return path == "/" ? "文件系统" : path.substr(path.rfind('/') + 1);
    }
    return name;
}

int ShellLocation::IconIndex(bool open) const {
    switch (place) {
    case Place::Desktop:
        return ICON_DESKTOP;
    case Place::Computer:
        return ICON_COMPUTER;
    default:
        break;
    }
    if (kind == ItemKind::Home) return ICON_HOME;
    if (kind == ItemKind::Volume) {
        Volume v;
        if (!MountTable::Find(path, v)) return ICON_DRIVE_FIXED;
        switch (v.kind) {
        case DRIVE_REMOVABLE:
            return ICON_DRIVE_REMOVABLE;
        case DRIVE_REMOTE:
            return ICON_DRIVE_REMOTE;
        case DRIVE_CDROM:
            return ICON_DRIVE_CDROM;
        case DRIVE_RAMDISK:
            return ICON_DRIVE_RAM;
        default:
            return ICON_DRIVE_FIXED;
        }
    }
    if (IsFolder()) return open ? ICON_FOLDER_OPEN : ICON_FOLDER;
    return ICON_FILE;
}

bool ShellLocation::Detail(UINT column, std::string& out) const {
    out.clear();
    if (column < 1 || column > 3) return false;
    if (place != Place::FileSystem) {
        if (column == 2) out = "系统文件夹";
        return true;
    }
    if (kind == ItemKind::Volume) {
        Volume v;
        if (!MountTable::Find(path, v)) v = MountTable::VolumeOf(path);
        if (column == 2) out = KindText(v.kind);
        return true;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && ::lstat(path.c_str(), &st) != 0) return false;
    const bool folder = S_ISDIR(st.st_mode);
    switch (column) {
    case 1:
        if (!folder) out = Grouped((static_cast<unsigned long long>(st.st_size) + 1023) / 1024) + " KB";
        break;
    case 2: {
        if (folder) {
            out = "文件夹";
            break;
        }
        size_t dot = name.rfind('.');
        out = dot == std::string::npos || dot == 0 ? "文件" : Upper(name.substr(dot + 1)) + " 文件";
        break;
    }
    case 3: {
        std::tm tm{};
        time_t t = st.st_mtime;
        char buf[32];
        if (::localtime_r(&t, &tm) && std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &tm)) out = buf;
        break;
    }
    }
    return true;
}

int ShellLocation::Compare(const ShellLocation& a, const ShellLocation& b, UINT column) {
    int ra = Rank(a), rb = Rank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (a.kind == ItemKind::Volume) return NaturalCompare(a.path, b.path);
    if (column == 1 || column == 3) {
        struct stat sa {
        }, sb{};
        ::stat(a.path.c_str(), &sa);
        ::stat(b.path.c_str(), &sb);
        long long ka = column == 1 ? sa.st_size : sa.st_mtime, kb = column == 1 ? sb.st_size : sb.st_mtime;
        if (ka != kb) return ka < kb ? -1 : 1;
    } else if (column == 2) {
        std::string ta, tb;
        a.Detail(2, ta);
        b.Detail(2, tb);
        if (int c = NaturalCompare(ta, tb)) return c;
    }
    return NaturalCompare(a.name, b.name);
}

} // namespace shell
