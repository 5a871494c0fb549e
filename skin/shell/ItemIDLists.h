#pragma once
// Item-ID lists as the shell-browsing controls handle them: every list they make or receive
// is owned by a TItemIDList, so enumerated, parsed and copied lists are always given back to
// the shell's task allocator.
#include "shell/ItemIdList.h"

#include <memory>
#include <vector>

namespace skin {

struct ItemIDListDeleter {
    void operator()(LPITEMIDLIST list) const;
};
using TItemIDList = std::unique_ptr<ITEMIDLIST, ItemIDListDeleter>;

// size bytes from the task allocator, zero-filled; null when it has none.
TItemIDList AllocItemIDList(size_t size);
LPCITEMIDLIST NextItemID(LPCITEMIDLIST id); // the address cb bytes further
int ItemIDCount(LPCITEMIDLIST list);
int ItemIDListSize(LPCITEMIDLIST list); // 0 for null; else every ID plus the terminator
TItemIDList CopyItemIDList(LPCITEMIDLIST list);
// The IDs of first (null counts as empty), then all of second with its terminator.
TItemIDList ConcatItemIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
void StripLastItemID(LPITEMIDLIST list); // null and the empty list stay as they are
TItemIDList CopyLastItemID(LPCITEMIDLIST list);
// The proper ancestors of an absolute item, the desktop (empty list) first.
std::vector<TItemIDList> ItemIDAncestors(LPCITEMIDLIST absolute);
// Both absolute; the desktop folder's CompareIDs answers exactly zero.
bool SameItemIDList(LPCITEMIDLIST a, LPCITEMIDLIST b);
// std::runtime_error when the shell has no desktop.
TItemIDList DesktopItemIDList();

} // namespace skin
