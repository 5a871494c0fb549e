#pragma once
// The namespace's icons: our own pictures, drawn in code, in one small
// (16 x 16) and one large (32 x 32) image list that live as long as the
// program, and SHGetFileInfo over them.
#include "shell/ShellTypes.h"

#include <string>

// Indexes in both lists.
constexpr int ICON_FILE = 0, ICON_FOLDER = 1, ICON_FOLDER_OPEN = 2, ICON_DRIVE_FIXED = 3,
              ICON_DRIVE_REMOVABLE = 4, ICON_DRIVE_CDROM = 5, ICON_DRIVE_REMOTE = 6, ICON_DRIVE_RAM = 7,
              ICON_COMPUTER = 8, ICON_HOME = 9, ICON_DESKTOP = 10, ICON_COUNT = 11;

namespace shell {
// Made on first use; GUI thread.
HIMAGELIST SystemImageList(bool large);
} // namespace shell

constexpr UINT SHGFI_SMALLICON = 0x1, SHGFI_OPENICON = 0x2, SHGFI_PIDL = 0x8, SHGFI_ICON = 0x100,
               SHGFI_DISPLAYNAME = 0x200, SHGFI_TYPENAME = 0x400, SHGFI_ATTRIBUTES = 0x800,
               SHGFI_SYSICONINDEX = 0x4000;

struct SHFILEINFO {
    HICON hIcon; // SHGFI_ICON: a new icon the caller destroys
    int iIcon;
    DWORD dwAttributes;
    char szDisplayName[260 * 4];
    char szTypeName[80 * 4];
};

// path is a const char* path, or with SHGFI_PIDL an absolute item-ID list.
// With SHGFI_SYSICONINDEX the answer is the image list (small with
// SHGFI_SMALLICON, else large); otherwise non-zero on success.  0 when the
// item cannot be found.
uintptr_t SHGetFileInfo(const void* path, DWORD fileAttributes, SHFILEINFO* info, UINT size, UINT flags);
