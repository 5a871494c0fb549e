#include "app/FileList.h"

#include "app/ConversionControl.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/OutputNames.h"
#include "app/OutputOptionsTranslation.h"
#include "app/PreviewPanel.h"
#include "app/RowTexts.h"
#include "catalogue/Categories.h"
#include "catalogue/EncodingParameters.h"
#include "catalogue/PresetText.h"
#include "gui/CustomEdit.h"
#include "gui/CustomListView.h"
#include "gui/ProgressBar.h"
#include "gui/StdCtrls.h"
#include "media/AVProbe.h"
#include "media/FFPlayer.h"
#include "media/FFmpegConverter.h"
#include "os/Paths.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinSlider.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace app {

namespace fs = std::filesystem;

std::string RowSubItem(gui::TListItem* row, int index) {
    gui::TStrings* sub = row->SubItems();
    return index < sub->Count() ? sub->Strings(index) : std::string();
}

void SetRowSubItem(gui::TListItem* row, int index, const std::string& text) {
    gui::TStrings* sub = row->SubItems();
    while (sub->Count() <= index) sub->Add("");
    sub->SetStrings(index, text);
}

namespace {

constexpr const char* kNothingInFolder = "在该目录没有发现可以用的视频或音频文件！";
constexpr const char* kSelectToRemove = "请先选择您需要删除的项目！";
constexpr const char* kSelectToRename = "请先选中您需要重命名的项目！";
constexpr size_t kFailuresShown = 10;

// Every entry of the folder that is not itself a folder, in the order the file system lists them.
std::vector<std::string> GetFilenames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::string dir = folder;
    if (dir.empty() || dir.back() != '/') dir += '/';
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
        std::error_code ignored;
        if (e.is_directory(ignored)) continue;
        names.push_back(dir + e.path().filename().string());
    }
    return names;
}

// Whatever stands at the path and is not a folder: a pipe or a device counts, so that it is
// reported with the files that could not be added.
bool Exists(const std::string& path) {
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

} // namespace

TFileList::TFileList(TForm1& form) : form_(form) {
    edt_ = new gui::TEdit(&form_);
    edt_->SetBorderStyle(gui::bsNoBorder);
    edt_->SetVisible(false);
    edt_->OnExit = [this](gui::TObject*) { EndRename(); };
    form_.lvFiles->OnDblClick = [this](gui::TObject*) { RenameByDoubleClick(); };
}

TFileList::~TFileList() = default;

int TFileList::RowCount() const {
    return form_.lvFiles->Items()->Count();
}

gui::TListItem* TFileList::Row(int index) const {
    return form_.lvFiles->Items()->Item(index);
}

TFileSlot& TFileList::SlotOfRow(int row) {
    return slots_.at(static_cast<size_t>(rowSlots_.at(static_cast<size_t>(row))));
}

std::vector<std::string> TFileList::OutputNamesExcept(int except) const {
    std::vector<std::string> names;
    for (int i = 0; i < RowCount(); ++i)
        if (i != except) names.push_back(RowSubItem(Row(i), rcOutputFile));
    return names;
}

bool TFileList::OverwriteChosen() const {
    return form_.OptionsForm && form_.OptionsForm->OverwriteChecked();
}

std::string TFileList::OutputFolder() const {
    return form_.Video_OutPut_Folder_Edit->Text();
}

void TFileList::MakeOutputNamesUnique(const std::set<std::string>& ownOutputs) {
    auto foreign = [&](const std::string& p) {
        return os::FileExists(p) && !ownOutputs.count(fs::path(p).lexically_normal().string());
    };
    for (int i = 0; i < RowCount(); ++i) {
        gui::TListItem* row = Row(i);
        std::vector<std::string> earlier;
        for (int j = 0; j < i; ++j) earlier.push_back(RowSubItem(Row(j), rcOutputFile));
        std::string name = RowSubItem(row, rcOutputFile);
        std::string unique = UniqueOutputName(OutputFolder(), name, earlier, OverwriteChosen(), foreign);
        if (unique != name) SetRowSubItem(row, rcOutputFile, unique);
    }
}

int TFileList::TakeSlot() {
    for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].State == TFileSlot::TState::Free) return static_cast<int>(i);
    // The slots grow with the list: removed slots stay taken until Clear, so a long list
    // never shares a slot.
    slots_.emplace_back();
    return static_cast<int>(slots_.size() - 1);
}

void TFileList::WriteRowParameters(gui::TListItem* row) {
    catalogue::TParameterSubItems values = catalogue::ParameterSubItems(form_.Parameters);
    for (size_t i = 0; i < values.size(); ++i)
        SetRowSubItem(row, catalogue::FirstParameterSubItem + static_cast<int>(i), values[i]);
    SetRowSubItem(row, rcFormatCode,
                  std::to_string(catalogue::FormatCode(form_.CategoryPosition(), form_.FormatPosition())));
    catalogue::TPresetPositions positions{};
    for (int i = 0; i < catalogue::PresetPickerCount; ++i)
        positions[static_cast<size_t>(i)] = form_.PresetPicker(catalogue::FieldOrder[i])->ItemIndex();
    SetRowSubItem(row, rcPresetIndices, catalogue::PresetIndicesText(positions));
}

bool TFileList::PrepareAdd() {
    form_.Button6Click();
    failures_.clear();
    media::TFFmpegConverter* c = form_.FFConverter;
    if (!c->AVLibLoaded() && !c->LoadAVLib(os::ExeFolder() + "LibAV")) {
        form_.Log(c->LastErrMsg());
        return false;
    }
    return true;
}

TFileList::TAddResult TFileList::AddFile(const std::string& file, int& slot, bool one) {
    media::TFFmpegConverter* c = form_.FFConverter;
    media::TAVProbe* probe = c->AVProbe();
    // A named pipe, socket or device is never opened here: opening a pipe waits for a writer,
    // and this is the window's thread.
    std::error_code notRegular;
    if (!fs::is_regular_file(file, notRegular)) {
        form_.Log("");
        form_.Log("***File load error: not a regular file: " + file);
        form_.Log("");
        failures_.push_back(file);
        return TAddResult::Skipped;
    }
    bool loaded = false;
    try {
        loaded = probe->LoadFile(file);
    } catch (const std::exception& e) {
        form_.Log("");
        form_.Log(std::string("***File load error: ") + e.what());
        form_.Log("");
        failures_.push_back(file);
        return TAddResult::Skipped;
    }
    if (!loaded) {
        form_.Log("");
        form_.Log("***File load error: " + probe->LastErrMsg());
        form_.Log("");
        failures_.push_back(file);
        return TAddResult::Skipped;
    }
    int64_t duration = probe->FileStreamInfo().Duration;
    int64_t size = probe->FileSize();

    form_.ProgressBar1->SetPosition(0);
    form_.Video_AddFileName = file;
    media::TInputOptions input{};
    int task = c->AddTask(file, &input);
    if (task < 0) {
        form_.Log("");
        form_.Log("***File open error: " + c->LastErrMsg());
        form_.Log("");
        failures_.push_back(file);
        return TAddResult::Abort;
    }
    form_.Log("");
    if (media::TAVProbe* taskProbe = c->GetTaskProbe(task, 0)) {
        std::istringstream info(taskProbe->FileInfoText());
        for (std::string line; std::getline(info, line);) form_.Log(line);
    }
    form_.T_Movie_PLayer_FileName = file;

    media::TOutputOptions output{};
    form_.Button5Click();
    form_.Button13Click();
    ParameterSetToOutputOptions(form_.Parameters, output);
    // The catalogue looked at the disk only; the rows' own outputs count as taken too.
    std::string name = UniqueOutputName(
        OutputFolder(), os::ExtractFileName(form_.Parameters.Video_OutPutFileName), OutputNamesExcept(-1),
        OverwriteChosen(), [](const std::string& p) { return os::FileExists(p); });
    std::string outputFile = OutputFolder() + "/" + name;
    if (!c->SetOutputFile(task, outputFile, &output)) {
        std::string why = c->LastErrMsg();
        c->RemoveTask(task);
        form_.Log("");
        form_.Log("***Cannot do convert, error: " + why);
        form_.Log("");
        failures_.push_back(file);
        return TAddResult::Abort;
    }

    form_.bsSkinPanel5->SetVisible(false);
    gui::TListItem* row = form_.lvFiles->Items()->Add();
    row->SetCaption(input.FileName.empty() ? file : input.FileName);
    SetRowSubItem(row, rcDuration, duration > 0 ? SecToDate(duration / 1000000) : "N/A");
    SetRowSubItem(row, rcSize, MegabyteText(size));
    SetRowSubItem(row, rcOutputFile, name);
    SetRowSubItem(row, rcTaskNumber, std::to_string(task + 1));
    WriteRowParameters(row);
    if (one && form_.lvFiles->CanFocus()) form_.lvFiles->SetFocus();
    form_.Conversion->ListChanged();

    slot = TakeSlot();
    TFileSlot& s = slots_[static_cast<size_t>(slot)];
    s.Input = input;
    s.Output = output;
    s.Output.FileName = outputFile;
    s.State = TFileSlot::TState::Full;
    rowSlots_.push_back(slot);
    form_.Log("");
    form_.Log("***Can do convert.");
    form_.Log("");
    return TAddResult::Added;
}

void TFileList::Deselect() {
    // The pickers edit the selected row: an add must not rewrite it with each new file.
    form_.lvFiles->SetSelected(nullptr);
}

void TFileList::FinishAdd() {
    if (RowCount() > 0) {
        form_.lvFiles->SetItemIndex(RowCount() - 1);
        if (form_.lvFiles->CanFocus()) form_.lvFiles->SetFocus();
    }
}

void TFileList::ReportFailures(bool folder, bool nothingAdded) {
    if (folder && nothingAdded) {
        form_.Message(kNothingInFolder);
        return;
    }
    if (failures_.empty()) return;
    std::string text = "以下文件无法添加（无法读取或不是视频/音频文件）：";
    for (size_t i = 0; i < failures_.size() && i < kFailuresShown; ++i)
        text += "\n" + os::ExtractFileName(failures_[i]);
    if (failures_.size() > kFailuresShown) text += "\n……";
    form_.Message(text);
}

void TFileList::AddOneFile() {
    if (!PrepareAdd()) return;
    std::string file;
    if (!OpenFile || !OpenFile(file) || !Exists(file)) return;
    Deselect();
    int slot = 0;
    AddFile(file, slot, true);
    FinishAdd();
    ReportFailures(false, false);
}

void TFileList::AddSeveralFiles() {
    if (!PrepareAdd()) return;
    std::vector<std::string> files;
    if (!OpenFiles || !OpenFiles(files) || files.empty() || !Exists(files.front())) return;
    Deselect();
    int slot = 0;
    // The last chosen file first, as the list always added them.
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        if (!Exists(*it)) {
            failures_.push_back(*it);
            break;
        }
        if (AddFile(*it, slot, false) == TAddResult::Abort) break;
    }
    FinishAdd();
    ReportFailures(false, false);
}

void TFileList::AddFolder() {
    int before = RowCount();
    if (!PrepareAdd()) return;
    std::string folder = lastFolder_;
    // Cancel leaves the list alone; it never adds the last confirmed folder again.
    if (!SelectFolder || !SelectFolder(folder)) return;
    if (folder.empty() || !os::DirectoryExists(folder)) return;
    lastFolder_ = folder;
    Deselect();
    form_.ListBox1->Items()->Clear();
    std::vector<std::string> files = GetFilenames(folder);
    for (const std::string& f : files) form_.ListBox1->Items()->Add(f);
    int slot = 0;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        if (!Exists(*it)) {
            failures_.push_back(*it);
            break;
        }
        if (AddFile(*it, slot, false) == TAddResult::Abort) break;
    }
    FinishAdd();
    ReportFailures(true, RowCount() <= before);
}

void TFileList::Remove() {
    gui::TListItem* row = form_.lvFiles->Selected();
    if (!row) {
        form_.Message(kSelectToRemove);
        return;
    }
    int r = row->Index();
    int n = 0;
    try {
        n = std::stoi(RowSubItem(row, rcTaskNumber));
    } catch (const std::exception&) {
        return;
    }
    form_.FFConverter->RemoveTask(n - 1);
    if (row == renaming_) {
        edt_->SetVisible(false);
        renaming_ = nullptr;
    }
    form_.lvFiles->Items()->Delete(r);
    slots_.at(static_cast<size_t>(rowSlots_.at(static_cast<size_t>(r)))).State = TFileSlot::TState::Deleted;
    rowSlots_.erase(rowSlots_.begin() + r);
    for (int i = 0; i < RowCount(); ++i) {
        int k = std::stoi(RowSubItem(Row(i), rcTaskNumber));
        if (k > n) SetRowSubItem(Row(i), rcTaskNumber, std::to_string(k - 1));
    }
    form_.Conversion->ListChanged();
    if (RowCount() > 0) {
        form_.lvFiles->SetItemIndex(0);
        if (form_.lvFiles->CanFocus()) form_.lvFiles->SetFocus();
    } else {
        Emptied();
    }
}

void TFileList::Emptied() {
    form_.bsSkinPanel5->SetVisible(true);
    form_.FFPlayer->Stop(true);
    form_.Preview->Blank();
    // The stopped player reports no position any more: the slider would keep the last one.
    form_.Preview->bsSkinSlider1->SetValue(0);
}

void TFileList::Clear() {
    form_.FFConverter->ClearTasks();
    edt_->SetVisible(false);
    renaming_ = nullptr;
    form_.lvFiles->Items()->Clear();
    rowSlots_.clear();
    slots_.clear();
    form_.Conversion->ListCleared();
    Emptied();
}

void TFileList::Exchange(int a, int b) {
    gui::TListItem* ra = Row(a);
    gui::TListItem* rb = Row(b);
    std::string caption = ra->Caption();
    std::vector<std::string> subs;
    for (int i = 0; i < rcRowCount; ++i) subs.push_back(RowSubItem(ra, i));
    ra->SetCaption(rb->Caption());
    for (int i = 0; i < rcRowCount; ++i) SetRowSubItem(ra, i, RowSubItem(rb, i));
    rb->SetCaption(caption);
    for (int i = 0; i < rcRowCount; ++i) SetRowSubItem(rb, i, subs[static_cast<size_t>(i)]);
    std::swap(rowSlots_[static_cast<size_t>(a)], rowSlots_[static_cast<size_t>(b)]);
    form_.lvFiles->SetItemIndex(b);
    if (form_.lvFiles->CanFocus()) form_.lvFiles->SetFocus();
}

void TFileList::MoveUp() {
    // Rows and running tasks are matched by position: no moves while converting.
    if (form_.FFConverter->Working() && form_.Conversion->Running()) return;
    gui::TListItem* row = form_.lvFiles->Selected();
    if (!row || row->Index() == 0) return;
    Exchange(row->Index(), row->Index() - 1);
}

void TFileList::MoveDown() {
    if (form_.FFConverter->Working() && form_.Conversion->Running()) return;
    gui::TListItem* row = form_.lvFiles->Selected();
    if (!row || row->Index() >= RowCount() - 1) return;
    Exchange(row->Index(), row->Index() + 1);
}

void TFileList::BeginRename() {
    if (!form_.lvFiles->Selected()) {
        form_.Message(kSelectToRename);
        return;
    }
    RenameByDoubleClick();
}

void TFileList::RenameByDoubleClick() {
    gui::TListItem* row = form_.lvFiles->Selected();
    if (!row) return;
    gui::TCustomListView* list = form_.lvFiles;
    edt_->SetParent(list);
    int left = 2;
    for (int c = 0; c < 3; ++c) left += list->Columns()->Items(c)->Width();
    auto r = row->DisplayRect();
    edt_->SetBounds(left, r.top, list->Columns()->Items(3)->Width(), r.bottom - r.top);
    std::string name = os::ExtractFileName(RowSubItem(row, rcOutputFile));
    edt_->SetText(name.substr(0, name.size() - os::ExtractFileExt(name).size()));
    renaming_ = row;
    edt_->SetVisible(true);
    if (edt_->CanFocus()) edt_->SetFocus();
}

bool TFileList::EndRename() {
    if (!edt_->Visible()) return false;
    // The row the editor was opened on, whatever is selected now: the click that ended a
    // refused edit may have taken the selection away before the text was corrected.
    gui::TListItem* row = renaming_ && form_.lvFiles->Items()->IndexOf(renaming_) >= 0 ? renaming_ : nullptr;
    if (!row) {
        edt_->SetVisible(false);
        return false;
    }
    std::string text = edt_->Text();
    if (text.empty()) return false; // the old name stays, and so does the editor
    std::string name = text + form_.TitleExtension;
    std::string refusal = RenameRefusal(text, name, OutputNamesExcept(row->Index()));
    if (!refusal.empty()) {
        form_.Message(refusal);
        return false;
    }
    SetRowSubItem(row, rcOutputFile, name);
    edt_->SetVisible(false);
    renaming_ = nullptr;
    SlotOfRow(row->Index()).Output.FileName = OutputFolder() + "/" + name;
    return true;
}

void TFileList::SelectedRowFormatChanged() {
    gui::TListItem* row = form_.lvFiles->Selected();
    if (!row) return;
    WriteRowParameters(row);
    int index = row->Index();
    std::string name =
        UniqueOutputName(OutputFolder(), RowSubItem(row, rcOutputFile), OutputNamesExcept(index),
                         OverwriteChosen(), [](const std::string& p) { return os::FileExists(p); });
    SetRowSubItem(row, rcOutputFile, name);
    if (index < static_cast<int>(rowSlots_.size())) {
        // The container, volume and filters of the new format too, not only the row's columns.
        TFileSlot& slot = SlotOfRow(index);
        media::TOutputOptions output{};
        ParameterSetToOutputOptions(form_.Parameters, output);
        output.FileName = OutputFolder() + "/" + name;
        slot.Output = output;
    }
}

} // namespace app
