#pragma once
// Deleting moves items into the freedesktop Trash: the home trash
// ($XDG_DATA_HOME/Trash) for items on its volume, the volume's own
// .Trash/$uid or .Trash-$uid for others.  An item is never copied across
// volumes, never deleted outright, and never put over another trashed item;
// when it cannot be trashed it stays where it is and the call fails.
#include "shell/ShellTypes.h"

#include <string>

namespace shell {

class Trash {
public:
    // path: absolute.  trashedAs receives the item's new path.
    static HRESULT MoveToTrash(const std::string& path, std::string* trashedAs = nullptr);
    static std::string HomeTrash();
};

} // namespace shell
