#include "skin/shell/ShellFolder.h"

#include "os/DesktopServices.h"
#include "shell/ShellIcons.h"
#include "shell/ShellLocation.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace skin {

namespace {

struct RootName {
    const char* name;
    int csidl;
};
constexpr RootName kRoots[] = {
    {"rfDesktop",                CSIDL_DESKTOP                },
    {"rfMyComputer",             CSIDL_DRIVES                 },
    {"rfNetwork",                CSIDL_NETWORK                },
    {"rfRecycleBin",             CSIDL_BITBUCKET              },
    {"rfAppData",                CSIDL_APPDATA                },
    {"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY},
    {"rfCommonPrograms",         CSIDL_COMMON_PROGRAMS        },
    {"rfCommonStartMenu",        CSIDL_COMMON_STARTMENU       },
    {"rfCommonStartup",          CSIDL_COMMON_STARTUP         },
    {"rfControlPanel",           CSIDL_CONTROLS               },
    {"rfDesktopDirectory",       CSIDL_DESKTOPDIRECTORY       },
    {"rfFavorites",              CSIDL_FAVORITES              },
    {"rfFonts",                  CSIDL_FONTS                  },
    {"rfInternet",               CSIDL_INTERNET               },
    {"rfPersonal",               CSIDL_PERSONAL               },
    {"rfPrinters",               CSIDL_PRINTERS               },
    {"rfPrintHood",              CSIDL_PRINTHOOD              },
    {"rfPrograms",               CSIDL_PROGRAMS               },
    {"rfRecent",                 CSIDL_RECENT                 },
    {"rfSendTo",                 CSIDL_SENDTO                 },
    {"rfStartMenu",              CSIDL_STARTMENU              },
    {"rfStartup",                CSIDL_STARTUP                },
    {"rfTemplates",              CSIDL_TEMPLATES              },
};

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// What the shell answers for these bits of one item; nothing when it refuses.
ULONG Attributes(IShellFolder* parent, LPCITEMIDLIST id, ULONG request) {
    if (!parent || !id) return 0;
    ULONG bits = request;
    if (FAILED(parent->GetAttributesOf(1, &id, &bits))) return 0;
    return bits;
}

bool creatingDesktop = false;

} // namespace

int RootFolderIndex(const std::string& name) {
    for (size_t i = 0; i < std::size(kRoots); ++i)
        if (SameText(name, kRoots[i].name)) return static_cast<int>(i);
    return -1;
}

int RootFolderCSIDL(TRootFolder root) {
    return kRoots[static_cast<size_t>(root)].csidl;
}

// --- module queries --------------------------------------------------------------------------

bool ItemIsFolder(IShellFolder* parent, LPCITEMIDLIST id) {
    return Attributes(parent, id, SFGAO_FOLDER) & SFGAO_FOLDER;
}

bool ItemHasSubFolders(IShellFolder* parent, LPCITEMIDLIST id) {
    return Attributes(parent, id, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER;
}

TbsShellFolderCapabilities ItemCapabilities(IShellFolder* parent, LPCITEMIDLIST id) {
    ULONG a = Attributes(parent, id, 0x177);
    TbsShellFolderCapabilities c = 0;
    if (a & SFGAO_CANCOPY) c |= fcCanCopy;
    if (a & SFGAO_CANDELETE) c |= fcCanDelete;
    if (a & SFGAO_CANLINK) c |= fcCanLink;
    if (a & SFGAO_CANMOVE) c |= fcCanMove;
    if (a & SFGAO_CANRENAME) c |= fcCanRename;
    if (a & SFGAO_DROPTARGET) c |= fcDropTarget;
    if (a & SFGAO_HASPROPSHEET) c |= fcHasPropSheet;
    return c;
}

TbsShellFolderProperties ItemProperties(IShellFolder* parent, LPCITEMIDLIST id) {
    if (!parent) return 0;
    TbsShellFolderProperties p = 0;
    ULONG a = Attributes(parent, id, 0x000FC000);
    if (a & SFGAO_GHOSTED) p |= fpCut;
    if (a & SFGAO_LINK) p |= fpIsLink;
    if (a & SFGAO_READONLY) p |= fpReadOnly;
    if (a & SFGAO_SHARE) p |= fpShared;
    a = Attributes(parent, id, 0); // an empty request answers everything known
    if (a & SFGAO_FILESYSTEM) p |= fpFileSystem;
    if (a & SFGAO_FILESYSANCESTOR) p |= fpFileSystemAncestor;
    if (a & SFGAO_REMOVABLE) p |= fpRemovable;
    if (a & SFGAO_VALIDATE) p |= fpValidate;
    return p;
}

bool FolderHasItems(IShellFolder* folder, DWORD flags) {
    if (!folder) return false;
    std::unique_ptr<IEnumIDList> e;
    if (FAILED(folder->EnumObjects(nullptr, flags, &e)) || !e) return false;
    LPITEMIDLIST id = nullptr;
    ULONG fetched = 0;
    bool any = e->Next(1, &id, &fetched) == S_OK && fetched == 1;
    TItemIDList owned(id);
    return any;
}

int ShellImageIndex(LPCITEMIDLIST absolute, bool large, bool open) {
    SHFILEINFO info{};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX;
    if (open) flags |= SHGFI_OPENICON;
    if (!large) flags |= SHGFI_SMALLICON;
    if (!SHGetFileInfo(absolute, 0, &info, sizeof info, flags)) return ICON_FILE;
    return info.iIcon;
}

std::string StrRetToText(LPCITEMIDLIST id, STRRET& record) {
    std::string s = StrRetText(record, id);
    if (s.size() > 1 && s[0] == '?' && std::isdigit(static_cast<unsigned char>(s[1])))
        s.erase(std::remove(s.begin(), s.end(), '?'), s.end());
    return s;
}

std::string ItemDisplayName(IShellFolder* folder, LPCITEMIDLIST id, DWORD flags) {
    // A folder object without a parent folder has no name to give.
    if (!folder) return std::string();
    auto ask = [&](DWORD f) {
        STRRET r{};
        if (FAILED(folder->GetDisplayNameOf(id, f, &r))) return std::string();
        return StrRetToText(id, r);
    };
    std::string s = ask(flags);
    if (s.rfind("::{", 0) == 0) s = ask(SHGDN_NORMAL);
    return s;
}

TShellFolderRef BindItemFolder(IShellFolder* parent, LPCITEMIDLIST id) {
    TShellFolderRef sf;
    if (parent && SUCCEEDED(parent->BindToObject(id, &sf)) && sf) return sf;
    sf.reset();
    // The item may be named from the desktop (an absolute list).
    TShellFolderRef desktop = DesktopIShellFolder();
    if (desktop && desktop.get() != parent && SUCCEEDED(desktop->BindToObject(id, &sf)) && sf) return sf;
    return nullptr;
}

std::unique_ptr<TbsShellFolder> FolderFromAbsoluteID(LPCITEMIDLIST absolute) {
    TShellFolderRef desktop = DesktopIShellFolder();
    TShellFolderRef sf = ILIsEmpty(absolute) ? desktop : BindItemFolder(desktop.get(), absolute);
    if (!sf) sf = desktop;
    return std::make_unique<TbsShellFolder>(DesktopShellFolder(), absolute, sf);
}

std::unique_ptr<TbsShellFolder> RootFolderFromName(const TRoot& oldText, TRoot& text) {
    LPITEMIDLIST raw = nullptr;
    bool ok = false;
    int index = RootFolderIndex(text);
    if (index < 0) {
        TShellFolderRef desktop = DesktopIShellFolder();
        ok = !text.empty() && desktop &&
             SUCCEEDED(desktop->ParseDisplayName(nullptr, text.c_str(), nullptr, &raw, nullptr));
    } else {
        ok = SUCCEEDED(SHGetSpecialFolderLocation(nullptr, kRoots[static_cast<size_t>(index)].csidl, &raw));
    }
    TItemIDList id(raw);
    if (!ok || !id) {
        std::string failed = text;
        text = oldText;
        char buf[64 + 4096];
        std::snprintf(buf, sizeof buf, "Error setting path: \"%s\"", failed.c_str());
        throw EInvalidPath(buf);
    }
    return FolderFromAbsoluteID(id.get());
}

// --- the folder object -----------------------------------------------------------------------

TShellFolderRef DesktopIShellFolder() {
    TShellFolderRef d;
    if (FAILED(SHGetDesktopFolder(&d)) || !d) throw std::runtime_error("The shell has no desktop folder");
    return d;
}

TbsShellFolder* DesktopShellFolder() {
    static std::unique_ptr<TbsShellFolder> desktop = [] {
        creatingDesktop = true;
        TItemIDList id = DesktopItemIDList();
        auto d = std::make_unique<TbsShellFolder>(nullptr, id.get(), DesktopIShellFolder());
        creatingDesktop = false;
        return d;
    }();
    return desktop.get();
}

TbsShellFolder::TbsShellFolder(TbsShellFolder* parent, LPCITEMIDLIST id, TShellFolderRef sf)
    : pidl_(CopyItemIDList(id)), parent_(parent), shellFolder_(std::move(sf)) {
    if (parent)
        fullPidl_ = ConcatItemIDLists(parent->AbsoluteID(), id);
    else
        fullPidl_ = ConcatItemIDLists(DesktopItemIDList().get(), id);
    if (!parent_ && !creatingDesktop) parent_ = DesktopShellFolder();
    level_ = 0;
    if (parent)
        for (TbsShellFolder* p = parent->Parent(); p; p = p->Parent()) ++level_;
}

TbsShellFolder::~TbsShellFolder() = default;

TShellFolderRef TbsShellFolder::ParentShellFolder() const {
    if (parent_ && parent_->shellFolder_) return parent_->shellFolder_;
    return DesktopIShellFolder();
}

TbsShellFolderProperties TbsShellFolder::Properties() const {
    return ItemProperties(ParentShellFolder().get(), pidl_.get());
}

TbsShellFolderCapabilities TbsShellFolder::Capabilities() const {
    return ItemCapabilities(ParentShellFolder().get(), pidl_.get());
}

bool TbsShellFolder::SubFolders() const {
    return ItemHasSubFolders(ParentShellFolder().get(), pidl_.get());
}

bool TbsShellFolder::IsFolder() const {
    // A directory is a folder whatever its name: an archive here is a file, never a directory.
    return ItemIsFolder(ParentShellFolder().get(), pidl_.get());
}

std::string TbsShellFolder::PathName() const {
    return ItemDisplayName(DesktopIShellFolder().get(), fullPidl_.get(), SHGDN_FORPARSING);
}

std::string TbsShellFolder::FullObjectName() const {
    char buf[4096];
    if (!SHGetPathFromIDListEx(fullPidl_.get(), buf, sizeof buf, 0)) return std::string();
    return buf;
}

std::string TbsShellFolder::DisplayName() const {
    if (!parent_) return ItemDisplayName(DesktopIShellFolder().get(), pidl_.get(), SHGDN_INFOLDER);
    return ItemDisplayName(ParentShellFolder().get(), pidl_.get(), SHGDN_INFOLDER);
}

bool TbsShellFolder::Rename(const std::string& newName) {
    if (!(Capabilities() & fcCanRename)) return false;
    LPITEMIDLIST raw = nullptr;
    HRESULT hr = ParentShellFolder()->SetNameOf(nullptr, pidl_.get(), newName.c_str(), SHGDN_NORMAL, &raw);
    TItemIDList newId(raw);
    if (hr != S_OK || !newId) throw EInvalidPath("Rename to " + newName + " failed");
    fullPidl_ = parent_ ? ConcatItemIDLists(parent_->AbsoluteID(), newId.get()) : CopyItemIDList(newId.get());
    pidl_ = std::move(newId);
    details_.clear();
    return true;
}

int TbsShellFolder::ImageIndex(bool largeIcon) const {
    return ShellImageIndex(fullPidl_.get(), largeIcon, false);
}

bool TbsShellFolder::ExecuteDefault() const {
    std::string path = FullObjectName();
    return !path.empty() && os::OpenWithDesktop(path);
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* rootFolder, HWND viewHandle, int columnCount) {
    if (static_cast<int>(details_.size()) >= columnCount) return;
    details_.clear();
    ViewHandle = viewHandle;
    IShellFolder* source = rootFolder ? rootFolder->ShellFolder().get() : nullptr;
    if (source) {
        for (int col = 1; col <= columnCount; ++col) {
            SHELLDETAILS d{};
            if (source->GetDetailsOf(pidl_.get(), static_cast<UINT>(col), &d) == S_OK)
                details_.push_back(StrRetToText(pidl_.get(), d.str));
            else
                details_.emplace_back();
        }
        return;
    }
    if (!rootFolder || !(rootFolder->Properties() & fpFileSystem)) return;
    TbsFindData fd = FindData();
    std::string text;
    for (int col = 1; col <= columnCount; ++col) {
        switch (col) {
        case 1:
            text = std::to_string(fd.directory ? -1 : fd.size);
            break;
        case 2: {
            size_t dot = fd.name.rfind('.');
            text = dot == std::string::npos ? "" : fd.name.substr(dot);
            break;
        }
        case 3: {
            if (fd.directory) {
                text = "-1";
                break;
            }
            char buf[32];
            time_t t = static_cast<time_t>(fd.modified);
            struct tm lt {};
            localtime_r(&t, &lt);
            std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &lt);
            text = buf;
            break;
        }
        case 4:
            text = std::to_string(fd.attributes);
            break;
        default:
            break; // further columns repeat the previous text
        }
        details_.push_back(text);
    }
}

const std::string& TbsShellFolder::Details(int index) const {
    if (index < 1 || index > static_cast<int>(details_.size()))
        throw std::logic_error(DisplayName() + ": Missing call to LoadColumnDetails");
    return details_[static_cast<size_t>(index - 1)];
}

TbsFindData TbsShellFolder::FindData() const {
    std::string path = FullObjectName();
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        char buf[4200];
        std::snprintf(buf, sizeof buf, "Unable to retrieve folder details for \"%s\". Error code $%x",
                      DisplayName().c_str(), static_cast<unsigned>(path.empty() ? ENOENT : errno));
        throw EInvalidPath(buf);
    }
    TbsFindData fd;
    fd.name = path.substr(path.rfind('/') + 1);
    fd.directory = S_ISDIR(st.st_mode);
    fd.size = st.st_size;
    fd.modified = st.st_mtime;
    fd.attributes = static_cast<uint32_t>(st.st_mode);
    return fd;
}

} // namespace skin
