#pragma once
// One item of the shell namespace as the shell-browsing controls hold it: its relative and
// absolute item-ID lists, its parent object, its own folder interface when it is a folder,
// its depth, and the cached texts of its detail columns; with the attribute, name and
// binding queries the controls make of the shell.  GUI thread only.
#include "shell/ShellFolder.h"
#include "skin/shell/ItemIDLists.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace skin {

// Raised by the controls' path setters and by the details of an item that vanished.
class EInvalidPath : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The named roots a shell control's Root may hold instead of a path (letter case ignored).
enum class TRootFolder : uint8_t {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};
using TRoot = std::string;
// The ordinal of name among the roots, -1 when it is none of them.
int RootFolderIndex(const std::string& name);
int RootFolderCSIDL(TRootFolder root);

enum TShellObjectType : uint8_t { otFolders = 1, otNonFolders = 2, otHidden = 4 };
using TShellObjectTypes = uint8_t;
inline DWORD ObjectTypesToFlags(TShellObjectTypes types) {
    return static_cast<DWORD>(types) * 32; // SHCONTF_FOLDERS, _NONFOLDERS, _INCLUDEHIDDEN
}

enum TbsShellFolderCapability : uint8_t {
    fcCanCopy = 1,
    fcCanDelete = 2,
    fcCanLink = 4,
    fcCanMove = 8,
    fcCanRename = 16,
    fcDropTarget = 32,
    fcHasPropSheet = 64
};
using TbsShellFolderCapabilities = uint8_t;
enum TbsShellFolderProperty : uint8_t {
    fpCut = 1,
    fpIsLink = 2,
    fpReadOnly = 4,
    fpShared = 8,
    fpFileSystem = 16,
    fpFileSystemAncestor = 32,
    fpRemovable = 64,
    fpValidate = 128
};
using TbsShellFolderProperties = uint8_t;

using TShellFolderRef = std::shared_ptr<IShellFolder>;

// What the file system says of an item (the details' fallback).
struct TbsFindData {
    std::string name;
    bool directory = false;
    int64_t size = 0;
    int64_t modified = 0; // seconds since 1970
    uint32_t attributes = 0;
};

class TbsShellFolder {
public:
    // parent null: the desktop folder object becomes the parent.  id is copied.
    TbsShellFolder(TbsShellFolder* parent, LPCITEMIDLIST id, TShellFolderRef sf);
    ~TbsShellFolder();
    TbsShellFolder(const TbsShellFolder&) = delete;
    TbsShellFolder& operator=(const TbsShellFolder&) = delete;

    LPCITEMIDLIST RelativeID() const { return pidl_.get(); }
    LPCITEMIDLIST AbsoluteID() const { return fullPidl_.get(); }
    TbsShellFolder* Parent() const { return parent_; }
    const TShellFolderRef& ShellFolder() const { return shellFolder_; }
    int Level() const { return level_; }
    HWND ViewHandle = nullptr;

    TShellFolderRef ParentShellFolder() const;
    TbsShellFolderProperties Properties() const;
    TbsShellFolderCapabilities Capabilities() const;
    bool SubFolders() const;
    // Directories (a link to one too) and the virtual folders.
    bool IsFolder() const;
    // The parse name: a file-system path, or "::{…}" for a virtual folder.
    std::string PathName() const;
    // The file-system path; empty for virtual folders.
    std::string FullObjectName() const;
    std::string DisplayName() const;
    // False without the right to rename; EInvalidPath "Rename to %s failed" when refused.
    bool Rename(const std::string& newName);
    int ImageIndex(bool largeIcon) const;
    // Opens the item the way the desktop opens it; false when it has no path or no opener.
    bool ExecuteDefault() const;

    // Detail columns 1..count as the folder listing this item describes them.
    void LoadColumnDetails(TbsShellFolder* rootFolder, HWND viewHandle, int columnCount);
    // Column index (1-based); std::logic_error "%s: Missing call to LoadColumnDetails" before.
    const std::string& Details(int index) const;
    int DetailCount() const { return static_cast<int>(details_.size()); }
    // EInvalidPath when the item cannot be found.
    TbsFindData FindData() const;

private:
    TItemIDList pidl_, fullPidl_;
    TbsShellFolder* parent_ = nullptr;
    TShellFolderRef shellFolder_;
    int level_ = 0;
    std::vector<std::string> details_;
};

// The process's desktop folder object, made on first use; every parentless folder's parent.
TbsShellFolder* DesktopShellFolder();
TShellFolderRef DesktopIShellFolder();

// Shell queries of an item inside a folder.  A query the shell refuses answers no attributes.
bool ItemIsFolder(IShellFolder* parent, LPCITEMIDLIST id);
bool ItemHasSubFolders(IShellFolder* parent, LPCITEMIDLIST id);
TbsShellFolderCapabilities ItemCapabilities(IShellFolder* parent, LPCITEMIDLIST id);
TbsShellFolderProperties ItemProperties(IShellFolder* parent, LPCITEMIDLIST id);
bool FolderHasItems(IShellFolder* folder, DWORD flags);
int ShellImageIndex(LPCITEMIDLIST absolute, bool large, bool open);
// Empty without a folder; a "::{" parse name is replaced by the normal name.
std::string ItemDisplayName(IShellFolder* folder, LPCITEMIDLIST id, DWORD flags);
// The text of a name record; a date text whose direction marks arrive as "?" loses them.
std::string StrRetToText(LPCITEMIDLIST id, STRRET& record);

TShellFolderRef BindItemFolder(IShellFolder* parent, LPCITEMIDLIST id);
std::unique_ptr<TbsShellFolder> FolderFromAbsoluteID(LPCITEMIDLIST absolute);
// A root name or a path as a folder object.  On failure text is set back to oldText and
// EInvalidPath "Error setting path: \"%s\"" is raised; the caller's old folder stays.
std::unique_ptr<TbsShellFolder> RootFolderFromName(const TRoot& oldText, TRoot& text);

} // namespace skin
