#include "skin/shell/SkinDriveComboBox.h"

#include "os/Paths.h"
#include "shell/MountTable.h"
#include "skin/shell/FilePaths.h"
#include "skin/shell/SkinDirectoryListBox.h"

#include <algorithm>
#include <cctype>

namespace skin {

namespace {

std::string Cased(std::string s, TTextCase c) {
    for (char& ch : s)
        if (static_cast<unsigned char>(ch) < 0x80)
            ch =
                static_cast<char>(c == TTextCase::tcUpperCase ? std::toupper(static_cast<unsigned char>(ch))
                                                              : std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

} // namespace

TbsSkinDriveComboBox::TbsSkinDriveComboBox(gui::TComponent* owner) : TbsSkinComboBox(owner) {
    drive_ = shell::MountTable::VolumeOf(os::CurrentDirectory()).mountPoint;
}

TbsSkinDriveComboBox::~TbsSkinDriveComboBox() {
    MarkDestroying();
    if (dirList_) dirList_->driveCombo_ = nullptr;
}

void TbsSkinDriveComboBox::BuildList() {
    Items()->Clear();
    mounts_.clear();
    for (const shell::Volume& v : shell::MountTable::Volumes()) {
        std::string text;
        switch (v.kind) {
        case DRIVE_REMOVABLE:
            text = v.mountPoint;
            break;
        case DRIVE_FIXED:
        case DRIVE_CDROM:
        case DRIVE_RAMDISK:
            text = v.mountPoint + " " + Cased(VolumeLabelText(v.mountPoint), textCase_);
            break;
        case DRIVE_REMOTE:
            text = v.mountPoint + " " + Cased(NetworkVolumeText(v.mountPoint), textCase_);
            break;
        default:
            continue; // kinds a user does not browse
        }
        Items()->Add(text);
        mounts_.push_back(v.mountPoint);
    }
}

void TbsSkinDriveComboBox::SetDrive(const std::string& value) {
    if (ItemIndex() >= 0 && value == drive_) return;
    drive_ = value;
    int index = -1;
    for (size_t i = 0; i < mounts_.size() && index < 0; ++i)
        if (mounts_[i] == value) index = static_cast<int>(i);
    if (value.empty() || index < 0) {
        if (ItemIndex() >= 0) ListBox()->SetItemIndex(-1);
    } else if (ItemIndex() != index) {
        SetItemIndex(index);
    }
    if (dirList_) dirList_->DriveChange(drive_);
}

void TbsSkinDriveComboBox::SetTextCase(TTextCase value) {
    if (textCase_ == value) return;
    textCase_ = value;
    std::string keep = drive_;
    BuildList();
    drive_.clear();
    SetDrive(keep);
}

void TbsSkinDriveComboBox::SetDirList(TbsSkinDirectoryListBox* value) {
    if (dirList_ == value) return;
    if (dirList_) {
        dirList_->driveCombo_ = nullptr;
        dirList_->RemoveFreeNotification(this);
    }
    dirList_ = value;
    if (value) {
        value->driveCombo_ = this;
        value->FreeNotification(this);
    }
}

void TbsSkinDriveComboBox::CreateWnd() {
    TbsSkinComboBox::CreateWnd();
    BuildList();
    std::string keep = drive_;
    drive_.clear();
    SetDrive(keep);
}

void TbsSkinDriveComboBox::Change() {
    int i = ItemIndex();
    if (i >= 0 && i < static_cast<int>(mounts_.size())) SetDrive(mounts_[static_cast<size_t>(i)]);
}

void TbsSkinDriveComboBox::Notification(gui::TComponent* component, gui::TOperation operation) {
    TbsSkinComboBox::Notification(component, operation);
    if (operation == gui::TOperation::opRemove && component == dirList_) dirList_ = nullptr;
}

} // namespace skin
