#pragma once
// Converting the file list: Start rebuilds one task per row and runs them, Pause, Resume and
// Stop act on all of them, progress and termination records fill the rows, and the main
// window's commands are enabled and disabled together with their buttons and menu items.
#include "media/FFmpegConverter.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace gui {
class TMenuItem;
class TControl;
} // namespace gui

namespace app {

class TForm1;
class TFileList;

class TConversionControl {
public:
    TConversionControl(TForm1& form, TFileList& list);
    ~TConversionControl();
    TConversionControl(const TConversionControl&) = delete;
    TConversionControl& operator=(const TConversionControl&) = delete;

    void Start();
    void Pause();
    void Resume();
    void Stop();
    // The tool bar's and menu's pause and resume, which also swap "暂停" and "继续".
    void PauseCommand();
    void ResumeCommand();

    // The window closes: records still under way change nothing any more and no after-done
    // action follows.
    void Detach();

    // Rows were added or removed, or the list was cleared.
    void ListChanged();
    void ListCleared();

    // Between Start and the final record.
    bool Running() const { return running_; }
    // Row of each task of the run (rows Start could not add have none).
    const std::vector<int>& TaskRows() const { return taskRows_; }

    void SetAddControls(bool on);
    void SetRemoveControls(bool on);
    void SetClearControls(bool on);
    void SetStartControls(bool on);
    void SetStopControls(bool on);
    void SetPauseControls(bool on);
    void SetResumeControls(bool on);
    void SetPickers(bool on);
    void SetMoveControls(bool on);

private:
    void HookCommands();
    bool Rebuild();
    void Progress(const media::TProgressInfo& info);
    void Terminated(const media::TTerminateInfo& info);
    void AfterDone();
    gui::TMenuItem* Item(const std::string& caption) const;
    std::vector<gui::TMenuItem*> Items(const std::string& caption) const;

    TForm1& form_;
    TFileList& list_;
    // Shared with the reactions posted to the GUI thread; cleared when they must do nothing.
    std::shared_ptr<TConversionControl*> self_;
    std::vector<int> taskRows_;
    std::vector<bool> pickerStates_;
    // Outputs this list's tasks wrote to their end (full paths, normalised), until Clear.
    std::set<std::string> ownOutputs_;
    bool running_ = false;
    bool stopped_ = false;
};

} // namespace app
