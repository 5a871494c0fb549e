#include "shell/ShellFolder.h"

#include "shell/NaturalOrder.h"
#include "shell/XdgFolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using shell::ItemKind;
using shell::ShellLocation;

namespace {

using IdPtr = std::unique_ptr<ITEMIDLIST, void (*)(LPITEMIDLIST)>;

IdPtr Owned(LPITEMIDLIST l) {
    return IdPtr(l, ILFree);
}

void SetStrRet(STRRET* s, const std::string& text) {
    s->uType = STRRET_WSTR;
    s->pOleStr = static_cast<char*>(SHAlloc(text.size() + 1));
    if (s->pOleStr) std::memcpy(s->pOleStr, text.c_str(), text.size() + 1);
}

bool ValidName(const std::string& n) {
    return !n.empty() && n != "." && n != ".." && n.size() <= 255 && n.find('/') == std::string::npos &&
           n.find('\0') == std::string::npos;
}

struct Listed {
    LPITEMIDLIST id;
    ShellLocation where;
    bool folder; // known from the listing, so sorting needs no stat per comparison
};

} // namespace

IEnumIDList::IEnumIDList(std::vector<LPITEMIDLIST> ids) : ids_(std::move(ids)) {}

IEnumIDList::~IEnumIDList() {
    for (LPITEMIDLIST id : ids_) ILFree(id);
}

HRESULT IEnumIDList::Next(ULONG count, LPITEMIDLIST* ids, ULONG* fetched) {
    if (!ids) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && next_ < ids_.size()) ids[n++] = ILClone(ids_[next_++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT IEnumIDList::Skip(ULONG count) {
    size_t left = ids_.size() - next_;
    next_ += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT IEnumIDList::Reset() {
    next_ = 0;
    return S_OK;
}

IShellFolder::IShellFolder(LPCITEMIDLIST absolute, const ShellLocation& where)
    : absolute_(ILClone(absolute)), where_(where) {}

IShellFolder::~IShellFolder() {
    ILFree(absolute_);
}

bool IShellFolder::ResolveChild(LPCITEMIDLIST id, ShellLocation& out) const {
    if (!id || !absolute_) return false;
    IdPtr full = Owned(ILCombine(absolute_, id));
    return full && ShellLocation::Resolve(full.get(), out);
}

HRESULT IShellFolder::ParseDisplayName(HWND, const char* name, ULONG* eaten, LPITEMIDLIST* id,
                                       ULONG* attributes) {
    if (!name || !id) return E_INVALIDARG;
    *id = nullptr;
    const std::string text = name;
    const UINT own = ILGetSize(absolute_) - 2;
    // The answer is relative to this folder, so the target must lie below it.
    auto below = [&](LPCITEMIDLIST full) {
        return full && ILGetSize(full) >= own + 2 && std::memcmp(full, absolute_, own) == 0;
    };
    IdPtr full = Owned(nullptr);
    if (text == "::{Desktop}" || text == "::{Computer}") {
        full.reset(text == "::{Desktop}" ? static_cast<LPITEMIDLIST>(SHAlloc(2))
                                         : shell::MakeItemId(ItemKind::Computer, ""));
    } else if (!text.empty() && text[0] == '/') {
        // A folder under home is reached through Home or through its volume;
        // the path is parsed in the form this folder lies in.
        full.reset(ShellLocation::IdListOfPath(text, true));
        if (!below(full.get())) full.reset(ShellLocation::IdListOfPath(text, false));
    } else if (!text.empty() && where_.place == ShellLocation::Place::FileSystem) {
        // Names below this folder, one ID each; "." and ".." would leave it.
        full.reset(ILClone(absolute_));
        size_t start = 0;
        while (full && start <= text.size()) {
            size_t end = text.find('/', start);
            if (end == std::string::npos) end = text.size();
            std::string part = text.substr(start, end - start);
            start = end + 1;
            if (part.empty()) continue;
            if (part == "." || part == "..") return E_INVALIDARG;
            IdPtr one = Owned(shell::MakeItemId(ItemKind::Entry, part));
            full.reset(one ? ILCombine(full.get(), one.get()) : nullptr);
        }
    }
    if (!full || !below(full.get())) return E_INVALIDARG;
    ShellLocation target;
    if (!ShellLocation::Resolve(full.get(), target) || !target.Exists())
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    *id = ILClone(reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(full.get()) + own));
    if (!*id) return E_OUTOFMEMORY;
    if (eaten) *eaten = static_cast<ULONG>(text.size());
    if (attributes) {
        LPCITEMIDLIST ids[] = {*id};
        GetAttributesOf(1, ids, attributes); // leaves 0 on failure
    }
    return S_OK;
}

HRESULT IShellFolder::EnumObjects(HWND, DWORD flags, std::unique_ptr<IEnumIDList>* out) {
    if (!out) return E_INVALIDARG;
    const bool folders = flags & SHCONTF_FOLDERS, files = flags & SHCONTF_NONFOLDERS,
               hidden = flags & SHCONTF_INCLUDEHIDDEN;
    std::vector<Listed> items;
    auto add = [&](LPITEMIDLIST id, bool folder) {
        if (!id) return;
        ShellLocation where;
        if (!ResolveChild(id, where)) {
            ILFree(id);
            return;
        }
        items.push_back({id, where, folder});
    };
    HRESULT result = S_OK;
    switch (where_.place) {
    case ShellLocation::Place::Desktop:
        if (folders) {
            add(shell::MakeItemId(ItemKind::Home, ""), true);
            add(shell::MakeItemId(ItemKind::Computer, ""), true);
        }
        break;
    case ShellLocation::Place::Computer:
        if (folders)
            for (const shell::Volume& v : shell::MountTable::Volumes())
                add(shell::MakeItemId(ItemKind::Volume, v.mountPoint), true);
        break;
    case ShellLocation::Place::FileSystem: {
        DIR* d = ::opendir(where_.path.c_str());
        if (!d) {
            result = S_FALSE;
            break;
        }
        while (dirent* e = ::readdir(d)) {
            std::string n = e->d_name;
            if (n == "." || n == "..") continue;
            if (!hidden && n[0] == '.') continue;
            bool isFolder = e->d_type == DT_DIR;
            if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
                struct stat st {};
                isFolder = ::stat((where_.path + "/" + n).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            }
            if (isFolder ? !folders : !files) continue;
            add(shell::MakeItemId(ItemKind::Entry, n), isFolder);
        }
        ::closedir(d);
        break;
    }
    }
    std::stable_sort(items.begin(), items.end(), [](const Listed& a, const Listed& b) {
        return ShellLocation::Compare(a.where, b.where, 0) < 0;
    });
    std::vector<LPITEMIDLIST> ids;
    for (Listed& l : items) ids.push_back(l.id);
    *out = std::make_unique<IEnumIDList>(std::move(ids));
    return result;
}

HRESULT IShellFolder::BindToObject(LPCITEMIDLIST id, std::shared_ptr<IShellFolder>* out) {
    if (!out) return E_INVALIDARG;
    out->reset();
    ShellLocation where;
    if (!ResolveChild(id, where)) return E_INVALIDARG;
    if (!where.Exists()) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    if (!where.IsFolder()) return E_INVALIDARG;
    IdPtr full = Owned(ILCombine(absolute_, id));
    if (!full) return E_OUTOFMEMORY;
    *out = std::make_shared<IShellFolder>(full.get(), where);
    return S_OK;
}

HRESULT IShellFolder::CompareIDs(LPARAM lParam, LPCITEMIDLIST a, LPCITEMIDLIST b) {
    if (!a || !b) return E_INVALIDARG;
    if (ILIsEmpty(a) || ILIsEmpty(b)) return MAKE_COMPARE_RESULT(ILIsEmpty(a) ? (ILIsEmpty(b) ? 0 : -1) : 1);
    IdPtr fa = Owned(ILCloneFirst(a)), fb = Owned(ILCloneFirst(b));
    ShellLocation la, lb;
    if (!fa || !fb || !ResolveChild(fa.get(), la) || !ResolveChild(fb.get(), lb)) return E_INVALIDARG;
    if (!ILIsEqual(fa.get(), fb.get())) {
        int c = ShellLocation::Compare(la, lb, static_cast<UINT>(lParam & 0xFFFF));
        // Distinct IDs never compare equal, or a sort would merge two items.
        if (c == 0) c = std::memcmp(fa.get(), fb.get(), std::min(fa->mkid.cb, fb->mkid.cb)) < 0 ? -1 : 1;
        return MAKE_COMPARE_RESULT(c);
    }
    LPCITEMIDLIST ra = ILGetNext(a), rb = ILGetNext(b);
    if (ILIsEmpty(ra) || ILIsEmpty(rb))
        return MAKE_COMPARE_RESULT(ILIsEmpty(ra) ? (ILIsEmpty(rb) ? 0 : -1) : 1);
    std::shared_ptr<IShellFolder> child;
    if (FAILED(BindToObject(fa.get(), &child))) return E_INVALIDARG;
    return child->CompareIDs(lParam, ra, rb);
}

HRESULT IShellFolder::GetAttributesOf(UINT count, LPCITEMIDLIST* ids, ULONG* inOut) {
    if (!inOut) return E_INVALIDARG;
    ULONG request = *inOut;
    *inOut = 0;
    if (count == 0 || !ids) return E_INVALIDARG;
    ULONG common = ~0u;
    for (UINT i = 0; i < count; ++i) {
        ShellLocation where;
        ULONG attrs = 0;
        if (!ResolveChild(ids[i], where) || !where.Attributes(request, attrs)) return E_FAIL;
        common &= attrs;
    }
    *inOut = common;
    return S_OK;
}

HRESULT IShellFolder::GetDisplayNameOf(LPCITEMIDLIST id, DWORD flags, STRRET* name) {
    if (!name) return E_INVALIDARG;
    std::memset(name, 0, sizeof *name);
    ShellLocation where;
    if (!ResolveChild(id, where)) return E_INVALIDARG;
    SetStrRet(name, where.DisplayName(flags));
    return name->pOleStr ? S_OK : E_OUTOFMEMORY;
}

HRESULT IShellFolder::SetNameOf(HWND, LPCITEMIDLIST id, const char* name, DWORD, LPITEMIDLIST* newId) {
    if (newId) *newId = nullptr;
    ShellLocation where;
    if (!name || !ResolveChild(id, where) || ILIsEmpty(id)) return E_INVALIDARG;
    if (where.place != ShellLocation::Place::FileSystem || where.kind != ItemKind::Entry) return E_FAIL;
    std::string to = name;
    if (!ValidName(to)) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    std::string dir = where.path.substr(0, where.path.rfind('/'));
    if (dir.empty()) dir = "/";
    std::string target = (dir == "/" ? "" : dir) + "/" + to;
    struct stat from {
    }, there{};
    if (::lstat(where.path.c_str(), &from) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (to != where.name) {
        bool sameItem = ::lstat(target.c_str(), &there) == 0 && there.st_ino == from.st_ino &&
                        there.st_dev == from.st_dev;
        // Never replace another item; a change of letter case on a volume
        // that ignores case names the same item and is a plain rename.
        int rc = sameItem
                     ? ::rename(where.path.c_str(), target.c_str())
                     : ::renameat2(AT_FDCWD, where.path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && !sameItem && (errno == EINVAL || errno == ENOSYS)) {
            if (::lstat(target.c_str(), &there) == 0) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
            rc = ::rename(where.path.c_str(), target.c_str());
        }
        if (rc != 0) {
            if (errno == EEXIST) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
            if (errno == EACCES || errno == EPERM || errno == EROFS)
                return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
            return E_FAIL;
        }
    }
    if (newId) {
        IdPtr prefix = Owned(ILClone(id));
        IdPtr last = Owned(shell::MakeItemId(ItemKind::Entry, to));
        if (!prefix || !last) return E_OUTOFMEMORY;
        ILRemoveLastID(prefix.get());
        *newId = ILCombine(prefix.get(), last.get());
        if (!*newId) return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT IShellFolder::GetDetailsOf(LPCITEMIDLIST id, UINT column, SHELLDETAILS* details) {
    struct Heading {
        const char* text;
        int fmt, width;
    };
    static const Heading kHeadings[] = {
        {"名称",       0, 25},
        {"大小",       1, 10},
        {"类型",       0, 12},
        {"修改日期", 0, 14},
    };
    if (!details || column > 3) return E_INVALIDARG;
    std::memset(details, 0, sizeof *details);
    details->fmt = kHeadings[column].fmt;
    details->cxChar = kHeadings[column].width;
    if (!id) {
        SetStrRet(&details->str, kHeadings[column].text);
        return S_OK;
    }
    ShellLocation where;
    if (!ResolveChild(id, where)) return E_INVALIDARG;
    std::string text;
    if (column == 0)
        text = where.DisplayName(SHGDN_INFOLDER);
    else if (!where.Detail(column, text))
        return E_FAIL;
    SetStrRet(&details->str, text);
    return S_OK;
}

HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>* out) {
    if (!out) return E_INVALIDARG;
    ITEMIDLIST empty{};
    *out = std::make_shared<IShellFolder>(&empty, ShellLocation{});
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (csidl == CSIDL_DESKTOP) {
        *out = static_cast<LPITEMIDLIST>(SHAlloc(2));
    } else if (csidl == CSIDL_DRIVES) {
        *out = shell::MakeItemId(ItemKind::Computer, "");
    } else {
        std::string path = shell::XdgFolders::SpecialFolder(csidl);
        if (path.empty()) return E_INVALIDARG;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        *out = ShellLocation::IdListOfPath(path);
    }
    return *out ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDListEx(LPCITEMIDLIST id, char* path, DWORD size, int) {
    if (path && size) path[0] = 0;
    ShellLocation where;
    if (!path || !ShellLocation::Resolve(id, where) || where.place != ShellLocation::Place::FileSystem)
        return FALSE;
    if (where.path.size() + 1 > size) return FALSE;
    std::memcpy(path, where.path.c_str(), where.path.size() + 1);
    return TRUE;
}

std::string StrRetText(STRRET& s, LPCITEMIDLIST id) {
    switch (s.uType) {
    case STRRET_WSTR: {
        std::string t = s.pOleStr ? s.pOleStr : "";
        SHFree(s.pOleStr);
        s.pOleStr = nullptr;
        return t;
    }
    case STRRET_OFFSET: {
        if (ILIsEmpty(id) || s.uOffset >= id->mkid.cb) return {};
        const char* p = reinterpret_cast<const char*>(id) + s.uOffset;
        return std::string(p, strnlen(p, id->mkid.cb - s.uOffset));
    }
    case STRRET_CSTR:
        return std::string(s.cStr, strnlen(s.cStr, sizeof s.cStr));
    default:
        return {};
    }
}
