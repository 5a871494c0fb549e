#include "skin/shell/SkinDirectoryListBox.h"

#include "gdi/ImageList.h"
#include "os/Paths.h"
#include "shell/MountTable.h"
#include "shell/ShellIcons.h"
#include "skin/shell/FilePaths.h"
#include "skin/shell/SkinDriveComboBox.h"

#include <algorithm>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace skin {

namespace {
constexpr int kIcon = 16;
}

TbsSkinDirectoryListBox::TbsSkinDirectoryListBox(gui::TComponent* owner) : TbsSkinListBox(owner) {
    SetWidth(145);
    directory_ = os::ExcludeTrailingPathDelimiter(os::CurrentDirectory());
    if (directory_.empty()) directory_ = "/";
    mount_ = shell::MountTable::VolumeOf(directory_).mountPoint;
    OnDrawItem = [this](gui::TCanvas* c, int index, int w, int h, gui::TRect text,
                        gui::TOwnerDrawState state) { DrawItem(c, index, w, h, text, state); };
}

TbsSkinDirectoryListBox::~TbsSkinDirectoryListBox() {
    MarkDestroying();
    if (driveCombo_) driveCombo_->dirList_ = nullptr;
}

std::string TbsSkinDirectoryListBox::Drive() const {
    return mount_;
}

void TbsSkinDirectoryListBox::SetDrive(const std::string& mountPoint) {
    if (mountPoint != mount_) SetDirectory(mountPoint);
}

std::string TbsSkinDirectoryListBox::DisplayCase(const std::string& s) const {
    if (preserveCase_ || caseSensitive_) return s;
    std::string out = s;
    for (char& ch : out)
        if (static_cast<unsigned char>(ch) < 0x80)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

int TbsSkinDirectoryListBox::FileCompareText(const std::string& a, const std::string& b) const {
    return caseSensitive_ ? a.compare(b) : ::strcasecmp(a.c_str(), b.c_str());
}

void TbsSkinDirectoryListBox::SetDirectory(const std::string& value) {
    if (value.empty() || FileCompareText(value, directory_) == 0) return;
    std::string mount, folder, file;
    SplitFileSpec(value, directory_, mount, folder, file);
    if (!file.empty()) folder = AppendPathPart(folder, file); // a name that is no folder
    if (!FolderExists(folder)) throw EInOutError(3, folder);
    if (mount != mount_) {
        struct Guard {
            bool& flag;
            ~Guard() { flag = false; }
        } guard{inSetDir_};
        inSetDir_ = true;
        if (driveCombo_)
            driveCombo_->SetDrive(mount);
        else
            DriveChange(mount);
    }
    directory_ = folder;
    mount_ = mount;
    BuildList();
    Change();
}

void TbsSkinDirectoryListBox::DriveChange(const std::string& mountPoint) {
    if (mountPoint == mount_) return;
    if (FolderExists(mountPoint)) {
        directory_ = mountPoint;
        mount_ = mountPoint;
    }
    if (!inSetDir_) {
        BuildList();
        Change();
    }
}

void TbsSkinDirectoryListBox::ReadDirectoryNames(std::vector<std::string>& names) const {
    DIR* d = ::opendir(directory_.c_str());
    if (!d) return;
    while (dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        if (FolderExists(AppendPathPart(directory_, n))) names.push_back(n);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
}

void TbsSkinDirectoryListBox::BuildList() {
    gui::TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    kinds_.clear();
    shell::Volume v = shell::MountTable::VolumeOf(directory_);
    mount_ = v.mountPoint;
    preserveCase_ = v.preservesCase || v.caseSensitive;
    caseSensitive_ = v.caseSensitive;
    // The mount point first, then each folder below it down to this one.
    std::vector<std::string> parts;
    std::string rest = directory_.size() > mount_.size() ? directory_.substr(mount_.size()) : "";
    for (size_t p = 0; p < rest.size();) {
        size_t slash = rest.find('/', p);
        if (slash == std::string::npos) slash = rest.size();
        if (slash > p) parts.push_back(rest.substr(p, slash - p));
        p = slash + 1;
    }
    items->Add(mount_);
    kinds_.push_back(parts.empty() ? Kind::Current : Kind::Opened);
    for (size_t i = 0; i < parts.size(); ++i) {
        items->Add(DisplayCase(parts[i]));
        kinds_.push_back(i + 1 == parts.size() ? Kind::Current : Kind::Opened);
    }
    currentIndex_ = items->Count() - 1;
    std::vector<std::string> names;
    ReadDirectoryNames(names);
    for (const std::string& n : names) {
        items->Add(DisplayCase(n));
        kinds_.push_back(Kind::Closed);
    }
    items->EndUpdate();
    if (HandleAllocated()) SetItemIndex(currentIndex_);
    UpDateScrollBar();
}

std::string TbsSkinDirectoryListBox::GetItemPath(int index) const {
    if (index < 0 || index >= Items()->Count()) return std::string();
    if (index == 0) return mount_;
    if (index == currentIndex_) return directory_;
    if (index > currentIndex_) return AppendPathPart(directory_, Items()->Strings(index));
    // An ancestor: the path up to its own name.
    std::string path = mount_;
    for (int i = 1; i <= index; ++i) path = AppendPathPart(path, Items()->Strings(i));
    return path;
}

void TbsSkinDirectoryListBox::OpenCurrent() {
    std::string p = GetItemPath(ItemIndex());
    if (!p.empty()) SetDirectory(p);
}

void TbsSkinDirectoryListBox::UpdateList() {
    BuildList();
    Change();
}

void TbsSkinDirectoryListBox::Change() {
    UpdateLabel();
    if (OnChange) OnChange(this);
}

void TbsSkinDirectoryListBox::SetDirLabel(TbsSkinStdLabel* value) {
    if (dirLabel_) dirLabel_->RemoveFreeNotification(this);
    dirLabel_ = value;
    if (value) value->FreeNotification(this);
    UpdateLabel();
}

void TbsSkinDirectoryListBox::UpdateLabel() {
    if (!dirLabel_) return;
    int width = dirLabel_->AutoSize() ? Width() : dirLabel_->Width();
    gui::TCanvas* c = Canvas();
    c->Font()->Assign(dirLabel_->Font());
    dirLabel_->SetCaption(ShortenPathToWidth(directory_, c, width));
}

int TbsSkinDirectoryListBox::Indent(int index) const {
    if (index <= currentIndex_) return 4 * index + 2;
    return 4 * (currentIndex_ + 1) + 2;
}

void TbsSkinDirectoryListBox::DrawItem(gui::TCanvas* c, int index, int, int h, gui::TRect text,
                                       gui::TOwnerDrawState) {
    if (index < 0 || index >= static_cast<int>(kinds_.size())) return;
    int x = text.left + Indent(index);
    int icon = kinds_[static_cast<size_t>(index)] == Kind::Closed ? ICON_FOLDER : ICON_FOLDER_OPEN;
    if (index == 0) icon = ICON_DRIVE_FIXED;
    ImageList_Draw(shell::SystemImageList(false), icon, c->Handle(), x, (h - kIcon) / 2, ILD_TRANSPARENT);
    c->Brush()->SetStyle(gui::bsClear);
    const std::string s = Items()->Strings(index);
    c->TextOut(x + kIcon + 6, (h - c->TextHeight("Wg")) / 2, s);
}

void TbsSkinDirectoryListBox::CreateWnd() {
    TbsSkinListBox::CreateWnd();
    BuildList();
    SetItemIndex(currentIndex_);
}

void TbsSkinDirectoryListBox::ListBoxDblClick() {
    TbsSkinListBox::ListBoxDblClick();
    OpenCurrent();
}

void TbsSkinDirectoryListBox::ListBoxKeyPress(char32_t& key) {
    TbsSkinListBox::ListBoxKeyPress(key);
    if (key == 13) OpenCurrent();
}

void TbsSkinDirectoryListBox::Notification(gui::TComponent* component, gui::TOperation operation) {
    TbsSkinListBox::Notification(component, operation);
    if (operation != gui::TOperation::opRemove) return;
    if (component == dirLabel_) dirLabel_ = nullptr;
    if (component == driveCombo_) driveCombo_ = nullptr;
}

} // namespace skin
