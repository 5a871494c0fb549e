#pragma once
// Where an absolute item-ID list leads: the desktop, the computer, or a
// place in the file system; and what the namespace says about such a place.
#include "shell/ItemIdList.h"
#include "shell/MountTable.h"

#include <string>
#include <sys/stat.h>

namespace shell {

struct ShellLocation {
    enum class Place { Desktop, Computer, FileSystem };
    Place place = Place::Desktop;
    ItemKind kind = ItemKind::Entry; // of the last ID (FileSystem places)
    std::string path;                // FileSystem: absolute
    std::string name;                // the last ID's name

    // False for a list that is not ours or leads nowhere.
    static bool Resolve(LPCITEMIDLIST absolute, ShellLocation& out);
    // The absolute list of an absolute path (lexically normalised): under
    // the home folder through Home (unless viaHome is false), else through
    // Computer and the volume holding it.  Null for a relative path.
    static LPITEMIDLIST IdListOfPath(const std::string& path, bool viaHome = true);

    bool IsFolder() const; // follows links, as opening it would
    bool Exists() const;
    // Every attribute that costs no directory read, plus SFGAO_HASSUBFOLDER
    // when asked for.  False when the item has vanished.
    bool Attributes(ULONG request, ULONG& out) const;
    std::string DisplayName(DWORD flags) const;
    int IconIndex(bool open) const;
    // Detail texts: 1 size, 2 type, 3 modified.  False for other columns
    // and vanished items.
    bool Detail(UINT column, std::string& out) const;
    // For sorting: Home before Computer, "/" before other volumes, folders
    // before files; then the column's key, then the name.
    static int Compare(const ShellLocation& a, const ShellLocation& b, UINT column);
};

} // namespace shell
