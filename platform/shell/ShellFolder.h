#pragma once
// Folders of the shell namespace with the operations of Win32's folder
// interface.  A Desktop root holds Home and Computer; Computer holds "/" and
// the mounted volumes; below them lies the file system.  Objects are shared
// (std::shared_ptr) rather than reference-counted by hand.  Item-ID lists
// handed out belong to the caller (ILFree); lists passed in are relative to
// the folder unless a routine says otherwise.  Nothing here throws: a folder
// that cannot be read has no children, a vanished item fails its query.
#include "shell/ItemIdList.h"
#include "shell/ShellLocation.h"

#include <memory>
#include <vector>

class IEnumIDList {
public:
    explicit IEnumIDList(std::vector<LPITEMIDLIST> ids);
    ~IEnumIDList();
    IEnumIDList(const IEnumIDList&) = delete;
    IEnumIDList& operator=(const IEnumIDList&) = delete;

    // Copies of up to count IDs; S_FALSE when fewer were left.
    HRESULT Next(ULONG count, LPITEMIDLIST* ids, ULONG* fetched);
    HRESULT Skip(ULONG count);
    HRESULT Reset();

private:
    std::vector<LPITEMIDLIST> ids_;
    size_t next_ = 0;
};

class IShellFolder {
public:
    // absolute: the folder's own list (copied).
    IShellFolder(LPCITEMIDLIST absolute, const shell::ShellLocation& where);
    ~IShellFolder();
    IShellFolder(const IShellFolder&) = delete;
    IShellFolder& operator=(const IShellFolder&) = delete;

    // An absolute path, a name relative to this folder ("a/b"), or
    // "::{Computer}" / "::{Desktop}" on the desktop.  The item must exist.
    HRESULT ParseDisplayName(HWND owner, const char* name, ULONG* eaten, LPITEMIDLIST* id, ULONG* attributes);
    // Folders first, then names in natural order; dot files only with
    // SHCONTF_INCLUDEHIDDEN.  An unreadable folder answers S_FALSE with an
    // empty enumerator.
    HRESULT EnumObjects(HWND owner, DWORD flags, std::unique_ptr<IEnumIDList>* out);
    HRESULT BindToObject(LPCITEMIDLIST id, std::shared_ptr<IShellFolder>* out);
    // Low 16 bits of lParam: the column (0 name, 1 size, 2 type, 3
    // modified).  The order is the short in the code of the result.
    HRESULT CompareIDs(LPARAM lParam, LPCITEMIDLIST a, LPCITEMIDLIST b);
    // The attributes all items share.  On failure *inOut is 0: no item
    // claims attributes it may not have.
    HRESULT GetAttributesOf(UINT count, LPCITEMIDLIST* ids, ULONG* inOut);
    // An empty id names this folder itself.
    HRESULT GetDisplayNameOf(LPCITEMIDLIST id, DWORD flags, STRRET* name);
    // Renames a file-system item in place; never replaces another item.
    HRESULT SetNameOf(HWND owner, LPCITEMIDLIST id, const char* name, DWORD flags, LPITEMIDLIST* newId);
    // Columns Name, Size, Type, Modified; a null id asks for the heading.
    HRESULT GetDetailsOf(LPCITEMIDLIST id, UINT column, SHELLDETAILS* details);

    const shell::ShellLocation& Location() const { return where_; }

private:
    bool ResolveChild(LPCITEMIDLIST id, shell::ShellLocation& out) const;
    LPITEMIDLIST absolute_;
    shell::ShellLocation where_;
};

HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>* out);
// Roots without a Linux counterpart, and folders that do not exist, fail.
HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, LPITEMIDLIST* out);
// The file-system path of an absolute list; FALSE for virtual folders or
// when size is too small.
BOOL SHGetPathFromIDListEx(LPCITEMIDLIST id, char* path, DWORD size, int flags);
// The text of a STRRET (any form) as a string; frees a STRRET_WSTR text.
std::string StrRetText(STRRET& s, LPCITEMIDLIST id);
