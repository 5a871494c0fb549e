#pragma once
// The main window's file list: one row per input file, each with the conversion request its add
// made (its slot), and the commands that fill and change the list: add one file, several files
// or a folder, remove, clear, move up and down, and renaming a row's output.
#include "media/FFmpegRequest.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace gui {
class TEdit;
class TListItem;
} // namespace gui

namespace app {

class TForm1;

// A slot keeps the requests of one add. Its state lives here, never in a request field: every
// field of the requests reaches the engine.
struct TFileSlot {
    enum class TState { Free, Full, Deleted };
    media::TInputOptions Input;
    media::TOutputOptions Output;
    TState State = TState::Free;
};

// Row sub-items the list commands and the conversion read and write.
enum TRowColumn {
    rcDuration = 0,
    rcSize = 1,
    rcOutputFile = 2,
    rcProgress = 3,
    rcFPS = 4,
    rcCurrentTime = 5,
    rcCurrentSize = 6,
    rcTaskNumber = 7,
    rcFormatCode = 8,
    rcPresetIndices = 9,
    rcRowCount = 24
};

std::string RowSubItem(gui::TListItem* row, int index);
void SetRowSubItem(gui::TListItem* row, int index, const std::string& text);

class TFileList {
public:
    explicit TFileList(TForm1& form);
    ~TFileList();
    TFileList(const TFileList&) = delete;
    TFileList& operator=(const TFileList&) = delete;

    // The dialogs as the commands reach them; tests answer them. Each answers whether the user
    // confirmed; a cancelled dialog leaves the list alone.
    std::function<bool(std::string& file)> OpenFile;
    std::function<bool(std::vector<std::string>& files)> OpenFiles;
    std::function<bool(std::string& folder)> SelectFolder;

    void AddOneFile();      // 添加一个文件
    void AddSeveralFiles(); // 添加多个文件
    void AddFolder();       // 添加整个目录
    void Remove();
    void Clear();
    void MoveUp();
    void MoveDown();
    void BeginRename(); // the rename button and menu item
    void RenameByDoubleClick();
    // Leaving the editor: stores the name, or refuses it with a message and keeps the editor.
    bool EndRename();
    gui::TEdit* Editor() const { return edt_; }

    // The format picker or presets rewrote the selected row: its columns and its slot follow
    // what the pickers show, under a name no other row uses.
    void SelectedRowFormatChanged();

    int RowCount() const;
    gui::TListItem* Row(int index) const;
    // The slot of a row (rows keep theirs when they move).
    TFileSlot& SlotOfRow(int row);
    const std::vector<TFileSlot>& Slots() const { return slots_; }
    // Output names of all rows but `except`.
    std::vector<std::string> OutputNamesExcept(int except) const;
    // Makes every row's output name unique among the rows and on disk (unless overwriting). A
    // file at `ownOutputs` (full paths this list wrote) takes no name away from its row: a row
    // writes the name it shows again, and a numbered name is never numbered once more.
    void MakeOutputNamesUnique(const std::set<std::string>& ownOutputs);

    // Rows the last add command could not add, as the user was told.
    const std::vector<std::string>& LastFailures() const { return failures_; }

private:
    enum class TAddResult { Added, Skipped, Abort };
    bool PrepareAdd();
    TAddResult AddFile(const std::string& file, int& slot, bool one);
    void Deselect();
    void FinishAdd();
    void ReportFailures(bool folder, bool nothingAdded);
    void WriteRowParameters(gui::TListItem* row);
    int TakeSlot();
    void Exchange(int a, int b);
    void Emptied();
    bool OverwriteChosen() const;
    std::string OutputFolder() const;

    TForm1& form_;
    gui::TEdit* edt_ = nullptr;
    gui::TListItem* renaming_ = nullptr; // the row the editor was opened on
    std::vector<TFileSlot> slots_;
    std::vector<int> rowSlots_; // parallel to the rows
    std::vector<std::string> failures_;
    std::string lastFolder_;
};

} // namespace app
