#pragma once
// Item-ID lists: each ID is a 16-bit little-endian size (counting itself)
// and its bytes; a 16-bit zero ends the list; the empty list is the
// desktop.  Memory comes from the shell's task allocator.
#include "shell/ShellTypes.h"

#include <string>

// The task allocator: what callers free item-ID lists and STRRET texts with.
struct IMalloc {
    void* Alloc(size_t size);
    void* Realloc(void* p, size_t size);
    void Free(void* p);
};
HRESULT SHGetMalloc(IMalloc** out);
void* SHAlloc(size_t size);
void SHFree(void* p);

UINT ILGetSize(LPCITEMIDLIST list);       // 0 for null; else every ID plus the terminator
LPITEMIDLIST ILGetNext(LPCITEMIDLIST id); // null at the terminator
bool ILIsEmpty(LPCITEMIDLIST list);       // null or just the terminator
UINT ILCount(LPCITEMIDLIST list);
LPITEMIDLIST ILClone(LPCITEMIDLIST list);
LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST list);
LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second); // null counts as empty
LPITEMIDLIST ILFindLastID(LPCITEMIDLIST list);
BOOL ILRemoveLastID(LPITEMIDLIST list);
BOOL ILIsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b); // byte for byte
void ILFree(LPITEMIDLIST list);

namespace shell {

// What one of our IDs names.  The bytes after the size are the kind and the
// UTF-8 name: a file-system entry's name, or a mounted volume's mount point.
enum class ItemKind : BYTE { Home = 'H', Computer = 'C', Volume = 'V', Entry = 'F' };

LPITEMIDLIST MakeItemId(ItemKind kind, const std::string& name); // one ID and the terminator
bool ReadItemId(const SHITEMID& id, ItemKind& kind, std::string& name);

} // namespace shell
