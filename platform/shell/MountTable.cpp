#include "shell/MountTable.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/stat.h>

namespace shell {
namespace {

std::mutex g_lock;
MountTable::Sources g_sources;

// One row per file system the user never browses as a drive.
const char* const kPseudo[] = {
    "proc",     "sysfs",    "devtmpfs",  "devpts",          "cgroup",      "cgroup2",
    "mqueue",   "debugfs",  "tracefs",   "securityfs",      "pstore",      "bpf",
    "configfs", "fusectl",  "hugetlbfs", "autofs",          "binfmt_misc", "rpc_pipefs",
    "nsfs",     "efivarfs", "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal", "nfsd",
};
const char* const kRemote[] = {"nfs",        "nfs4",        "cifs",  "smb3",       "smbfs",
                               "fuse.sshfs", "sshfs",       "9p",    "afs",        "ceph",
                               "glusterfs",  "fuse.rclone", "davfs", "fuse.davfs2"};
const char* const kRam[] = {"tmpfs", "ramfs"};
const char* const kOptical[] = {"iso9660", "udf"};
// Case-insensitive names; msdos alone does not keep the case it is given.
const char* const kCaseInsensitive[] = {"vfat", "msdos", "exfat", "ntfs",   "ntfs3",
                                        "cifs", "smb3",  "smbfs", "iso9660"};

template <size_t N> bool In(const char* const (&list)[N], const std::string& s) {
    return std::find_if(std::begin(list), std::end(list), [&](const char* e) { return s == e; }) !=
           std::end(list);
}

bool Under(const std::string& path, const char* top) {
    size_t n = std::strlen(top);
    return path.compare(0, n, top) == 0 && (path.size() == n || path[n] == '/');
}

// The mounts file writes space, tab, newline and backslash as \ooo.
std::string Unescape(const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && std::isdigit((unsigned char)s[i + 1]) &&
            std::isdigit((unsigned char)s[i + 2]) && std::isdigit((unsigned char)s[i + 3])) {
            r += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            r += s[i];
        }
    }
    return r;
}

// by-label names write unsafe bytes as \xHH.
std::string UnescapeLabel(const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && std::isxdigit((unsigned char)s[i + 2]) &&
            std::isxdigit((unsigned char)s[i + 3])) {
            r += static_cast<char>(std::strtol(s.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            r += s[i];
        }
    }
    return r;
}

std::string RealPath(const std::string& p) {
    char buf[PATH_MAX];
    return ::realpath(p.c_str(), buf) ? std::string(buf) : std::string();
}

std::string ReadFirstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool Removable(const std::string& source, const std::string& sysBlock) {
    std::string dev = RealPath(source);
    if (dev.empty()) dev = source;
    std::string name = dev.substr(dev.rfind('/') + 1);
    if (name.empty()) return false;
    std::string node = RealPath(sysBlock + "/" + name);
    if (node.empty()) return false;
    struct stat st {};
    // A partition's own node has no "removable"; its disk, one level up, does.
    if (::stat((node + "/partition").c_str(), &st) == 0) node = node.substr(0, node.rfind('/'));
    return ReadFirstLine(node + "/removable") == "1";
}

std::string LabelOf(const std::string& source, const std::string& byLabel) {
    std::string dev = RealPath(source);
    if (dev.empty()) return {};
    DIR* d = ::opendir(byLabel.c_str());
    if (!d) return {};
    std::string label;
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') continue;
        if (RealPath(byLabel + "/" + e->d_name) == dev) {
            label = UnescapeLabel(e->d_name);
            break;
        }
    }
    ::closedir(d);
    return label;
}

} // namespace

void MountTable::SetSources(const Sources& s) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_sources = s;
}

std::vector<Volume> MountTable::Parse(const std::string& text, const Sources& s) {
    std::vector<Volume> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        std::string source, mp, type, options;
        if (!(f >> source >> mp >> type >> options)) continue;
        Volume v;
        v.source = Unescape(source);
        v.mountPoint = Unescape(mp);
        v.fsType = type;
        if (v.mountPoint.empty() || v.mountPoint[0] != '/' || In(kPseudo, type)) continue;
        if (v.mountPoint != "/" &&
            (Under(v.mountPoint, "/proc") || Under(v.mountPoint, "/sys") || Under(v.mountPoint, "/dev") ||
             (Under(v.mountPoint, "/run") && !Under(v.mountPoint, "/run/media"))))
            continue;
        std::istringstream opts(options);
        for (std::string o; std::getline(opts, o, ',');)
            if (o == "ro") v.readOnly = true;
        if (In(kOptical, type))
            v.kind = DRIVE_CDROM;
        else if (In(kRemote, type))
            v.kind = DRIVE_REMOTE;
        else if (In(kRam, type))
            v.kind = DRIVE_RAMDISK;
        else if (Removable(v.source, s.sysBlock))
            v.kind = DRIVE_REMOVABLE;
        if (v.kind != DRIVE_REMOTE) {
            // Files bound over files (a container's /etc/hosts) are no drives.
            struct stat st {};
            if (s.checkMountPoints && (::stat(v.mountPoint.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
                continue;
            v.label = LabelOf(v.source, s.byLabel);
        }
        v.caseSensitive = !In(kCaseInsensitive, type);
        v.preservesCase = type != "msdos";
        // A later mount over the same point hides the earlier one.
        out.erase(std::remove_if(out.begin(), out.end(),
                                 [&](const Volume& o) { return o.mountPoint == v.mountPoint; }),
                  out.end());
        out.push_back(std::move(v));
    }
    if (std::none_of(out.begin(), out.end(), [](const Volume& v) { return v.mountPoint == "/"; })) {
        Volume root;
        root.mountPoint = "/";
        out.push_back(root);
    }
    std::sort(out.begin(), out.end(), [](const Volume& a, const Volume& b) {
        if ((a.mountPoint == "/") != (b.mountPoint == "/")) return a.mountPoint == "/";
        return a.mountPoint < b.mountPoint;
    });
    return out;
}

std::vector<Volume> MountTable::Volumes() {
    Sources s;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        s = g_sources;
    }
    std::ifstream in(s.mounts);
    std::stringstream text;
    text << in.rdbuf();
    return Parse(text.str(), s);
}

bool MountTable::Find(const std::string& mountPoint, Volume& out) {
    for (Volume& v : Volumes())
        if (v.mountPoint == mountPoint) {
            out = std::move(v);
            return true;
        }
    return false;
}

Volume MountTable::VolumeOf(const std::string& path) {
    Volume best;
    best.mountPoint = "/";
    for (Volume& v : Volumes())
        if (Under(path, v.mountPoint.c_str()) && v.mountPoint.size() >= best.mountPoint.size()) best = v;
    return best;
}

} // namespace shell

namespace {

bool CopyOut(const std::string& s, char* buf, DWORD size) {
    if (!buf || size == 0) return !buf;
    if (s.size() + 1 > size) return false;
    std::memcpy(buf, s.c_str(), s.size() + 1);
    return true;
}

std::string Root(const char* root) {
    std::string r = root ? root : "";
    while (r.size() > 1 && r.back() == '/') r.pop_back();
    return r;
}

} // namespace

UINT GetDriveType(const char* root) {
    shell::Volume v;
    if (!shell::MountTable::Find(Root(root), v)) return DRIVE_NO_ROOT_DIR;
    return v.kind;
}

BOOL GetVolumeInformation(const char* root, char* label, DWORD labelSize, DWORD* serial, DWORD* maxComponent,
                          DWORD* flags, char* fsName, DWORD fsNameSize) {
    shell::Volume v;
    if (!shell::MountTable::Find(Root(root), v)) return FALSE;
    if (!CopyOut(v.label, label, labelSize) || !CopyOut(v.fsType, fsName, fsNameSize)) return FALSE;
    if (serial) *serial = 0;
    if (maxComponent) *maxComponent = 255;
    if (flags)
        *flags = (v.caseSensitive ? FILE_CASE_SENSITIVE_SEARCH : 0) |
                 (v.preservesCase ? FILE_CASE_PRESERVED_NAMES : 0) | (v.readOnly ? FILE_READ_ONLY_VOLUME : 0);
    return TRUE;
}

DWORD WNetGetConnection(const char* local, char* remote, DWORD* size) {
    shell::Volume v;
    if (!size || !shell::MountTable::Find(Root(local), v) || v.kind != DRIVE_REMOTE)
        return ERROR_NOT_CONNECTED;
    if (v.source.size() + 1 > *size || !remote) {
        *size = static_cast<DWORD>(v.source.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(remote, v.source.c_str(), v.source.size() + 1);
    return NO_ERROR;
}
