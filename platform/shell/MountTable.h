#pragma once
// Drives are mount points.  The table comes from /proc/self/mounts without
// pseudo file systems; the kind from the file-system type and sysfs, the
// label from /dev/disk/by-label.  Nothing here touches a remote file system,
// so a dead network mount cannot block a caller.
#include "shell/ShellTypes.h"

#include <string>
#include <vector>

namespace shell {

struct Volume {
    std::string mountPoint; // absolute, no trailing '/' except for "/"
    std::string source;     // the device or, for remote kinds, the remote name
    std::string fsType;
    std::string label; // empty when the device has none
    UINT kind = DRIVE_FIXED;
    bool readOnly = false;
    bool caseSensitive = true;
    bool preservesCase = true;
};

class MountTable {
public:
    // Where the table is read from; tests point these at a fake tree.
    struct Sources {
        std::string mounts = "/proc/self/mounts";
        std::string sysBlock = "/sys/class/block";
        std::string byLabel = "/dev/disk/by-label";
        bool checkMountPoints = true; // local mount points must be folders
    };
    static void SetSources(const Sources& s);
    static Sources DefaultSources() { return {}; }

    // Read afresh on every call (volumes come and go): "/" first, then by
    // mount point.  "/" is always there.
    static std::vector<Volume> Volumes();
    static bool Find(const std::string& mountPoint, Volume& out);
    // The volume a path lies on, by the longest mount point that holds it.
    static Volume VolumeOf(const std::string& absolutePath);

    static std::vector<Volume> Parse(const std::string& mountsText, const Sources& s);
};

} // namespace shell

// Win32-shaped queries over the table; root is a mount point.
UINT GetDriveType(const char* root);
BOOL GetVolumeInformation(const char* root, char* label, DWORD labelSize, DWORD* serial, DWORD* maxComponent,
                          DWORD* flags, char* fsName, DWORD fsNameSize);
constexpr DWORD NO_ERROR = 0, ERROR_MORE_DATA = 234, ERROR_NOT_CONNECTED = 2250;
// The remote name (mount source) of a network volume.
DWORD WNetGetConnection(const char* local, char* remote, DWORD* size);
