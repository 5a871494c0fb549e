#include "shell/ItemIdList.h"

#include <cstdlib>
#include <cstring>

void* IMalloc::Alloc(size_t size) {
    return std::calloc(1, size ? size : 1);
}
void* IMalloc::Realloc(void* p, size_t size) {
    return std::realloc(p, size ? size : 1);
}
void IMalloc::Free(void* p) {
    std::free(p);
}

HRESULT SHGetMalloc(IMalloc** out) {
    static IMalloc task;
    if (!out) return E_INVALIDARG;
    *out = &task;
    return S_OK;
}

void* SHAlloc(size_t size) {
    IMalloc* m = nullptr;
    SHGetMalloc(&m);
    return m->Alloc(size);
}

void SHFree(void* p) {
    IMalloc* m = nullptr;
    SHGetMalloc(&m);
    m->Free(p);
}

namespace {

const BYTE* Bytes(LPCITEMIDLIST l) {
    return reinterpret_cast<const BYTE*>(l);
}

USHORT SizeAt(const BYTE* p) {
    USHORT cb;
    std::memcpy(&cb, p, 2); // IDs are packed; never read the count as an aligned short
    return cb;
}

LPITEMIDLIST Alloc(UINT size) {
    return static_cast<LPITEMIDLIST>(SHAlloc(size));
}

} // namespace

UINT ILGetSize(LPCITEMIDLIST list) {
    if (!list) return 0;
    UINT size = 2;
    for (const BYTE* p = Bytes(list); SizeAt(p); p += SizeAt(p)) size += SizeAt(p);
    return size;
}

LPITEMIDLIST ILGetNext(LPCITEMIDLIST id) {
    if (!id || SizeAt(Bytes(id)) == 0) return nullptr;
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(Bytes(id) + SizeAt(Bytes(id))));
}

bool ILIsEmpty(LPCITEMIDLIST list) {
    return !list || SizeAt(Bytes(list)) == 0;
}

UINT ILCount(LPCITEMIDLIST list) {
    UINT n = 0;
    for (LPCITEMIDLIST p = list; !ILIsEmpty(p); p = ILGetNext(p)) ++n;
    return n;
}

LPITEMIDLIST ILClone(LPCITEMIDLIST list) {
    if (!list) return nullptr;
    UINT size = ILGetSize(list);
    LPITEMIDLIST r = Alloc(size);
    if (r) std::memcpy(r, list, size);
    return r;
}

LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST list) {
    if (!list) return nullptr;
    UINT first = SizeAt(Bytes(list));
    LPITEMIDLIST r = Alloc(first + 2);
    if (r) std::memcpy(r, list, first); // the allocator zero-fills the terminator
    return r;
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    UINT a = first ? ILGetSize(first) - 2 : 0;
    UINT b = second ? ILGetSize(second) : 2;
    LPITEMIDLIST r = Alloc(a + b);
    if (!r) return nullptr;
    if (a) std::memcpy(r, first, a);
    if (second) std::memcpy(reinterpret_cast<BYTE*>(r) + a, second, b);
    return r;
}

LPITEMIDLIST ILFindLastID(LPCITEMIDLIST list) {
    if (!list) return nullptr;
    LPCITEMIDLIST last = list;
    for (LPCITEMIDLIST p = list; !ILIsEmpty(p); p = ILGetNext(p)) last = p;
    return const_cast<LPITEMIDLIST>(last);
}

BOOL ILRemoveLastID(LPITEMIDLIST list) {
    if (ILIsEmpty(list)) return FALSE;
    LPITEMIDLIST last = ILFindLastID(list);
    std::memset(last, 0, 2);
    return TRUE;
}

BOOL ILIsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    if (!a || !b) return a == b;
    UINT sa = ILGetSize(a);
    return sa == ILGetSize(b) && std::memcmp(a, b, sa) == 0;
}

void ILFree(LPITEMIDLIST list) {
    SHFree(list);
}

namespace shell {

LPITEMIDLIST MakeItemId(ItemKind kind, const std::string& name) {
    size_t cb = 2 + 1 + name.size();
    if (cb > 0xFFFF) return nullptr;
    LPITEMIDLIST r = Alloc(static_cast<UINT>(cb + 2));
    if (!r) return nullptr;
    BYTE* p = reinterpret_cast<BYTE*>(r);
    USHORT size = static_cast<USHORT>(cb);
    std::memcpy(p, &size, 2);
    p[2] = static_cast<BYTE>(kind);
    std::memcpy(p + 3, name.data(), name.size());
    return r;
}

bool ReadItemId(const SHITEMID& id, ItemKind& kind, std::string& name) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&id);
    USHORT cb = SizeAt(p);
    if (cb < 3) return false;
    BYTE k = p[2];
    if (k != 'H' && k != 'C' && k != 'V' && k != 'F') return false;
    kind = static_cast<ItemKind>(k);
    name.assign(reinterpret_cast<const char*>(p + 3), cb - 3);
    // Names hold no '/' (a volume's mount point is the one absolute path we
    // carry), nor "." and "..", so a crafted ID cannot walk out of its folder.
    if (kind == ItemKind::Entry)
        return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
               name.find('\0') == std::string::npos;
    if (kind == ItemKind::Volume)
        return !name.empty() && name[0] == '/' && name.find('\0') == std::string::npos;
    return true;
}

} // namespace shell
