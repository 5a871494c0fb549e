#include "app/ConversionControl.h"

#include "app/AppPaths.h"
#include "app/FileList.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/OutputOptionsTranslation.h"
#include "app/RowTexts.h"
#include "catalogue/PresetText.h"
#include "gui/Application.h"
#include "gui/CustomListView.h"
#include "gui/Menu.h"
#include "gui/MenuItem.h"
#include "gui/PopupMenu.h"
#include "os/DesktopServices.h"
#include "os/MainThread.h"
#include "os/Paths.h"
#include "resources/ProgramResources.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinSpeedButton.h"

#include <filesystem>

namespace app {

namespace {

void FindItems(gui::TMenuItem* parent, const std::string& caption, std::vector<gui::TMenuItem*>& found) {
    for (int i = 0; i < parent->Count(); ++i) {
        gui::TMenuItem* item = parent->Items(i);
        if (item->Caption() == caption) found.push_back(item);
        FindItems(item, caption, found);
    }
}

template <class C> void Enable(C* c, bool on) {
    if (c) c->SetEnabled(on);
}

} // namespace

TConversionControl::TConversionControl(TForm1& form, TFileList& list)
    : form_(form), list_(list), self_(std::make_shared<TConversionControl*>(this)) {
    HookCommands();
    form_.FFConverter->SetOnProgress([this](os::TObject*, media::TProgressInfo* info) {
        if (info) Progress(*info);
    });
    std::weak_ptr<TConversionControl*> self = self_;
    // Records come on threads of the task component; the rows, controls, messages and the
    // after-done action are the GUI thread's, so the reaction is handed there. The component
    // delivers the final record only after every task's own, and the queue keeps that order.
    form_.FFConverter->SetOnTerminate([self](os::TObject*, const media::TTerminateInfo& info) {
        os::PostInMainThread([self, info] {
            if (auto p = self.lock())
                if (*p) (*p)->Terminated(info);
        });
    });
}

TConversionControl::~TConversionControl() {
    Detach();
}

void TConversionControl::Detach() {
    if (!*self_) return;
    *self_ = nullptr;
    form_.FFConverter->SetOnTerminate(nullptr);
    form_.FFConverter->SetOnProgress(nullptr);
}

std::vector<gui::TMenuItem*> TConversionControl::Items(const std::string& caption) const {
    std::vector<gui::TMenuItem*> found;
    FindItems(form_.bsSkinMainMenu1->Items(), caption, found);
    FindItems(form_.bsSkinPopupMenu1->Items(), caption, found);
    return found;
}

void TConversionControl::HookCommands() {
    auto onItems = [this](const std::string& caption, std::function<void()> run) {
        for (gui::TMenuItem* item : Items(caption))
            if (!item->OnClick) item->OnClick = [run](gui::TObject*) { run(); };
    };
    // The skinned buttons keep their own OnClick, so each is reached through its own type.
    auto onButton = [](auto* b, std::function<void()> run) {
        if (b && !b->OnClick) b->OnClick = [run](gui::TObject*) { run(); };
    };
    onItems("添加一个文件", [this] { list_.AddOneFile(); });
    onItems("添加多个文件", [this] { list_.AddSeveralFiles(); });
    onItems("添加整个目录", [this] { list_.AddFolder(); });
    onItems("上移文件", [this] { list_.MoveUp(); });
    onItems("下移文件", [this] { list_.MoveDown(); });
    onItems("删除选择", [this] { list_.Remove(); });
    onItems("清空文件", [this] { list_.Clear(); });
    onItems("重新命名", [this] { list_.BeginRename(); });
    onItems("开始转换", [this] { Start(); });
    onItems("停止转换", [this] { Stop(); });
    onItems("暂停转换", [this] { PauseCommand(); });
    onItems("继续继续", [this] { ResumeCommand(); });
    onButton(form_.MoveUpButton, [this] { list_.MoveUp(); });
    onButton(form_.MoveDownButton, [this] { list_.MoveDown(); });
    onButton(form_.RenameButton, [this] { list_.BeginRename(); });
    onButton(form_.RemoveToolButton, [this] { list_.Remove(); });
    onButton(form_.ClearToolButton, [this] { list_.Clear(); });
    onButton(form_.StartToolButton, [this] { Start(); });
    onButton(form_.StopToolButton, [this] { Stop(); });
    onButton(form_.PauseToolButton, [this] { PauseCommand(); });
    onButton(form_.ResumeToolButton, [this] { ResumeCommand(); });
}

void TConversionControl::SetAddControls(bool on) {
    Enable(form_.AddToolButton, on);
    for (const char* c : {"添加一个文件", "添加多个文件", "添加整个目录"})
        for (gui::TMenuItem* item : Items(c)) item->SetEnabled(on);
}

void TConversionControl::SetRemoveControls(bool on) {
    Enable(form_.RemoveToolButton, on);
    Enable(form_.RemoveItem, on);
    Enable(form_.RenameButton, on);
    Enable(form_.RenameItem, on);
}

void TConversionControl::SetClearControls(bool on) {
    Enable(form_.ClearToolButton, on);
    Enable(form_.ClearItem, on);
}

void TConversionControl::SetStartControls(bool on) {
    Enable(form_.StartToolButton, on);
    Enable(form_.StartItem, on);
}

void TConversionControl::SetStopControls(bool on) {
    Enable(form_.StopToolButton, on);
    Enable(form_.StopItem, on);
}

void TConversionControl::SetPauseControls(bool on) {
    Enable(form_.PauseToolButton, on);
    Enable(form_.PauseItem, on);
}

void TConversionControl::SetResumeControls(bool on) {
    Enable(form_.ResumeToolButton, on);
    Enable(form_.ResumeItem, on);
}

void TConversionControl::SetMoveControls(bool on) {
    Enable(form_.MoveUpButton, on);
    Enable(form_.MoveDownButton, on);
    for (const char* c : {"上移文件", "下移文件"})
        for (gui::TMenuItem* item : Items(c)) item->SetEnabled(on);
}

void TConversionControl::SetPickers(bool on) {
    std::vector<gui::TControl*> pickers;
    for (catalogue::TPresetPicker p : catalogue::FieldOrder) pickers.push_back(form_.PresetPicker(p));
    pickers.push_back(form_.bsSkinOfficeComboBox2);
    pickers.push_back(form_.bsSkinOfficeComboBox1);
    pickers.push_back(form_.bsSkinButton5);
    if (!on) {
        // Kept so that unlocking brings back the pickers an audio-only format leaves off.
        pickerStates_.clear();
        for (gui::TControl* c : pickers) pickerStates_.push_back(c->Enabled());
        for (gui::TControl* c : pickers) c->SetEnabled(false);
        return;
    }
    if (pickerStates_.empty()) return; // unlocked already (Stop, then the final record)
    for (size_t i = 0; i < pickers.size(); ++i)
        pickers[i]->SetEnabled(i < pickerStates_.size() ? static_cast<bool>(pickerStates_[i]) : true);
    pickerStates_.clear();
}

void TConversionControl::ListChanged() {
    bool rows = list_.RowCount() > 0;
    SetRemoveControls(rows);
    SetClearControls(rows);
    SetStartControls(rows);
}

void TConversionControl::ListCleared() {
    ownOutputs_.clear();
    SetAddControls(true);
    SetRemoveControls(false);
    SetClearControls(false);
    SetStartControls(false);
}

bool TConversionControl::Rebuild() {
    media::TFFmpegConverter* c = form_.FFConverter;
    c->ClearTasks();
    taskRows_.clear();
    list_.MakeOutputNamesUnique(ownOutputs_);
    std::vector<std::string> refused;
    for (int i = 0; i < list_.RowCount(); ++i) {
        gui::TListItem* row = list_.Row(i);
        TFileSlot& slot = list_.SlotOfRow(i);
        std::vector<std::string> subs;
        for (int k = 0; k < rcRowCount; ++k) subs.push_back(RowSubItem(row, k));
        std::string why;
        try {
            slot.Input.FileName = row->Caption();
            RowToOutputOptions(subs, slot.Output);
            media::TInputOptions input = slot.Input;
            int task = c->AddTask(input.FileName, &input);
            if (task < 0) {
                why = c->LastErrMsg();
            } else {
                media::TOutputOptions output = slot.Output;
                output.FileName.clear();
                std::string file = form_.FileOutPutPath + "/" + RowSubItem(row, rcOutputFile);
                if (c->SetOutputFile(task, file, &output)) {
                    slot.Output.FileName = file;
                    taskRows_.push_back(i);
                    continue;
                }
                why = c->LastErrMsg();
                c->RemoveTask(task);
            }
        } catch (const std::exception& e) {
            why = e.what();
        }
        form_.Log("");
        form_.Log("***Cannot do convert, error: " + why);
        form_.Log("");
        // Each file with why: a missing input, an output folder that takes no file, a name too
        // long, as the engine says it.
        refused.push_back(os::ExtractFileName(row->Caption()) + "：" + why);
        SetRowSubItem(row, rcProgress, "N/A");
    }
    if (!refused.empty()) {
        std::string text = "以下文件无法开始转换：";
        for (const std::string& name : refused) text += "\n" + name;
        form_.Message(text);
    }
    return !taskRows_.empty();
}

void TConversionControl::Start() {
    if (running_) return;
    TConverterOptions options;
    if (form_.OptionsForm) options = form_.OptionsForm->Options();
    form_.FFConverter->ThreadPriority = static_cast<os::ThreadPriority>(static_cast<int>(options.Priority));
    if (!Rebuild()) return;
    SetAddControls(false);
    SetPickers(false);
    SetRemoveControls(false);
    SetClearControls(false);
    SetStartControls(false);
    SetMoveControls(false);
    SetStopControls(true);
    SetPauseControls(true);
    SetResumeControls(false);
    running_ = true;
    stopped_ = false;
    int threads = form_.OptionsForm ? options.ThreadCount : 1;
    form_.FFConverter->Start(threads < 1 ? 1 : threads);
}

void TConversionControl::Pause() {
    SetPauseControls(false);
    SetResumeControls(true);
    form_.FFConverter->Pause();
}

void TConversionControl::Resume() {
    SetPauseControls(true);
    SetResumeControls(false);
    form_.FFConverter->Resume();
}

void TConversionControl::PauseCommand() {
    Pause();
    form_.PauseToolButton->SetVisible(false);
    form_.ResumeToolButton->SetVisible(true);
}

void TConversionControl::ResumeCommand() {
    Resume();
    form_.PauseToolButton->SetVisible(true);
    form_.ResumeToolButton->SetVisible(false);
}

void TConversionControl::Stop() {
    SetStopControls(false);
    Enable(form_.StartToolButton, true);
    SetPickers(true);
    // The final record follows a stop too; it must not power the computer off.
    stopped_ = true;
    form_.FFConverter->Stop(true);
}

void TConversionControl::Progress(const media::TProgressInfo& info) {
    if (info.TaskIndex < 0 || info.TaskIndex >= static_cast<int>(taskRows_.size())) return;
    int index = taskRows_[static_cast<size_t>(info.TaskIndex)];
    if (index >= list_.RowCount()) return;
    gui::TListItem* row = list_.Row(index);
    SetRowSubItem(row, rcProgress, ProgressText(info.CurrentDuration, info.TotalDuration));
    if (info.FPS > 0) SetRowSubItem(row, rcFPS, std::to_string(info.FPS));
    SetRowSubItem(row, rcCurrentTime, SecToDate(info.CurrentDuration / 1000000));
    SetRowSubItem(row, rcCurrentSize, MegabyteText(info.CurrentSize));
}

void TConversionControl::Terminated(const media::TTerminateInfo& info) {
    if (info.TaskIndex < 0) {
        running_ = false;
        SetRemoveControls(false);
        SetClearControls(true);
        SetStopControls(false);
        SetPauseControls(false);
        SetResumeControls(false);
        SetMoveControls(true);
        SetPickers(true);
        AfterDone();
    } else if (info.Finished && info.TaskIndex < static_cast<int>(taskRows_.size())) {
        int index = taskRows_[static_cast<size_t>(info.TaskIndex)];
        if (index < list_.RowCount()) {
            SetRowSubItem(list_.Row(index), rcProgress, "100%");
            const std::string& written = list_.SlotOfRow(index).Output.FileName;
            ownOutputs_.insert(std::filesystem::path(written).lexically_normal().string());
        }
    }
    if (info.Exception)
        gui::Application->MessageBox(info.ExceptionMsg, kProgramTitle, gui::MB_OK | gui::MB_ICONWARNING);
}

void TConversionControl::AfterDone() {
    if (!form_.OptionsForm) return;
    switch (form_.OptionsForm->Options().AfterDone) {
    case TAfterDone::OpenFolder:
        form_.Button20Click();
        break;
    case TAfterDone::ShutDown:
        // An orderly request: the desktop asks running programs and the session to end. A
        // list the user stopped is not done, so the computer stays on.
        if (!stopped_) os::RequestPowerOff();
        break;
    case TAfterDone::PlaySound: {
        std::string sound = ProgramFile(resources::kCompletionSound);
        if (os::FileExists(sound)) os::PlayWaveAsync(sound);
        break;
    }
    case TAfterDone::Nothing:
        break;
    }
}

} // namespace app
