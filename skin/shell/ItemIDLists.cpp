#include "skin/shell/ItemIDLists.h"

#include "shell/ShellFolder.h"

#include <cstring>
#include <stdexcept>

namespace skin {

void ItemIDListDeleter::operator()(LPITEMIDLIST list) const {
    ILFree(list);
}

TItemIDList AllocItemIDList(size_t size) {
    void* p = SHAlloc(size);
    if (!p) return nullptr;
    std::memset(p, 0, size);
    return TItemIDList(static_cast<LPITEMIDLIST>(p));
}

LPCITEMIDLIST NextItemID(LPCITEMIDLIST id) {
    return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(id) + id->mkid.cb);
}

int ItemIDCount(LPCITEMIDLIST list) {
    return list ? static_cast<int>(ILCount(list)) : 0;
}

int ItemIDListSize(LPCITEMIDLIST list) {
    return static_cast<int>(ILGetSize(list));
}

TItemIDList CopyItemIDList(LPCITEMIDLIST list) {
    return TItemIDList(ILClone(list));
}

TItemIDList ConcatItemIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    return TItemIDList(ILCombine(first, second));
}

void StripLastItemID(LPITEMIDLIST list) {
    if (!ILIsEmpty(list)) ILRemoveLastID(list);
}

TItemIDList CopyLastItemID(LPCITEMIDLIST list) {
    return TItemIDList(ILCloneFirst(ILFindLastID(list)));
}

std::vector<TItemIDList> ItemIDAncestors(LPCITEMIDLIST absolute) {
    std::vector<TItemIDList> out;
    TItemIDList parent = CopyItemIDList(absolute);
    while (parent && !ILIsEmpty(parent.get())) {
        StripLastItemID(parent.get());
        out.insert(out.begin(), CopyItemIDList(parent.get()));
    }
    return out;
}

bool SameItemIDList(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    std::shared_ptr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop) return false;
    HRESULT hr = desktop->CompareIDs(0, a, b);
    return SUCCEEDED(hr) && HRESULT_CODE_SHORT(hr) == 0;
}

TItemIDList DesktopItemIDList() {
    LPITEMIDLIST id = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &id)) || !id)
        throw std::runtime_error("The shell has no desktop folder");
    return TItemIDList(id);
}

} // namespace skin
