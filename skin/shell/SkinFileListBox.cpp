#include "skin/shell/SkinFileListBox.h"

#include "gui/Screen.h"
#include "gui/SysUtils.h"
#include "os/Paths.h"
#include "skin/shell/FilePaths.h"
#include "skin/shell/SkinFilterComboBox.h"

#include <sys/stat.h>

namespace skin {

TbsSkinFileListBox::TbsSkinFileListBox(gui::TComponent* owner) : TbsSkinListBox(owner) {
    SetWidth(145);
    directory_ = os::CurrentDirectory();
    SetSorted(true);
    ReadFileNames();
}

TbsSkinFileListBox::~TbsSkinFileListBox() {
    MarkDestroying();
    if (filterCombo_) filterCombo_->SetFileList(nullptr);
}

void TbsSkinFileListBox::Notification(gui::TComponent* component, gui::TOperation operation) {
    TbsSkinListBox::Notification(component, operation);
    if (operation != gui::TOperation::opRemove) return;
    if (component == fileEdit_) fileEdit_ = nullptr;
    if (component == filterCombo_) filterCombo_ = nullptr;
}

void TbsSkinFileListBox::SetMask(const std::string& value) {
    if (value == mask_) return;
    mask_ = value;
    ReadFileNames();
}

void TbsSkinFileListBox::SetFileType(TbsFileType value) {
    if (value == fileType_) return;
    fileType_ = value;
    ReadFileNames();
}

void TbsSkinFileListBox::SetFileEdit(gui::TCustomEdit* value) {
    if (fileEdit_) fileEdit_->RemoveFreeNotification(this);
    fileEdit_ = value;
    if (!value) return;
    value->FreeNotification(this);
    const std::string name = SelectedName();
    value->SetText(name.empty() ? mask_ : name);
}

void TbsSkinFileListBox::UpdateFileNames() {
    ReadFileNames();
}

void TbsSkinFileListBox::ReadFileNames() {
    const int attrs =
        fileType_ & (bsftReadOnly | bsftHidden | bsftSystem | bsftVolumeID | bsftDirectory | bsftArchive);
    const gui::TCursor cursor = gui::Screen->Cursor();
    struct Restore {
        gui::TCursor cursor;
        ~Restore() { gui::Screen->SetCursor(cursor); }
    } restore{cursor};
    Items()->BeginUpdate();
    Items()->Clear();
    size_t start = 0;
    int added = 0;
    for (;;) {
        const size_t end = mask_.find(';', start);
        const std::string mask = mask_.substr(start, end == std::string::npos ? end : end - start);
        gui::TSearchRec rec;
        for (int r = gui::FindFirst(AppendPathPart(directory_, mask), attrs, rec); r == 0;
             r = gui::FindNext(rec)) {
            if (!(fileType_ & bsftNormal) && !(rec.Attr & attrs)) continue;
            Items()->Add((rec.Attr & gui::faDirectory) ? "[" + rec.Name + "]" : rec.Name);
            if (++added == 101) gui::Screen->SetCursor(gui::crHourGlass);
        }
        gui::FindClose(rec);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    Items()->EndUpdate();
    Change();
}

std::string TbsSkinFileListBox::SelectedName() {
    const int i = ItemIndex();
    return i >= 0 && i < Items()->Count() ? Items()->Strings(i) : std::string();
}

std::string TbsSkinFileListBox::FileName() {
    const std::string name = SelectedName();
    return name.empty() ? name : AppendPathPart(directory_, name);
}

void TbsSkinFileListBox::SelectByName(const std::string& name) {
    if (gui::SameText(name, SelectedName())) return;
    int found = -1;
    for (int i = 0; i < Items()->Count() && found < 0; ++i)
        if (gui::SameText(Items()->Strings(i), name)) found = i;
    SetItemIndex(found);
    Change();
}

void TbsSkinFileListBox::Change() {
    lastSel_ = ItemIndex();
    if (fileEdit_) {
        const std::string name = SelectedName();
        fileEdit_->SetText(name.empty() ? mask_ : name);
        fileEdit_->SelectAll();
    }
    if (OnChange) OnChange(this);
}

void TbsSkinFileListBox::ListBoxClick() {
    TbsSkinListBox::ListBoxClick();
    if (ItemIndex() != lastSel_) Change();
}

void TbsSkinFileListBox::DirectoryChanged(const std::string& folder) {
    if (gui::SameText(folder, directory_)) return;
    if (!FolderExists(folder)) throw EInOutError(ENOENT, folder);
    directory_ = folder;
    ReadFileNames();
}

void TbsSkinFileListBox::ApplyFilePath(const std::string& text) {
    if (text.empty() || gui::SameText(text, FileName())) return;
    std::string mount, folder, file;
    SplitFileSpec(text, directory_, mount, folder, file);
    DirectoryChanged(folder);
    if (file.find_first_of("*?") != std::string::npos) {
        SetMask(file);
    } else if (!file.empty()) {
        SelectByName(file);
        struct stat st {};
        const std::string full = AppendPathPart(directory_, file);
        if (SelectedName().empty() && ::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            SetMask(file); // the mask hid it: it becomes the mask
            SelectByName(file);
        }
    }
}

} // namespace skin
