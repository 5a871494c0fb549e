#pragma once
// The skinned open and save dialog: a component whose Execute builds a skinned window with a
// look-in box, a folder list, a name edit and a file-type chooser, shows it modally and, on
// acceptance, answers the chosen file (and every selected file).  The window decides when a
// choice is acceptable, asks before overwriting in save mode, and keeps the visited folders
// for its Back button.
#include "gui/Font.h"
#include "gui/Forms.h"
#include "gui/MenuItem.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinStdLabel.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinPopupMenu.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellListView.h"
#include "skin/shell/SkinFilterComboBox.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TbsOpenDlgForm : public gui::TForm {
public:
    TbsOpenDlgForm(gui::TComponent* owner, bool toolButtonsTransparent, TbsSkinData* ctrlSkinData,
                   bool saveMode);
    std::string ClassName() const override { return "TbsOpenDlgForm"; }

    bool SaveMode = false;
    std::vector<TItemIDList> FolderHistory; // oldest first; the last is the folder shown
    bool StopAddToHistory = false;
    TbsSkinData* CtrlSD = nullptr;
    int NewFolderCount = 0;
    std::string DefaultExt; // without the dot
    bool OverwritePromt = false;
    bool CheckFileExists = true;
    std::string FileName; // the accepted name
    gui::TNotifyEvent OnFolderChange;

    TbsSkinForm* BSF = nullptr;
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinStdLabel* Drivelabel = nullptr;
    TbsSkinShellComboBox* ShellBox = nullptr;
    TbsSkinSpeedButton* BackToolButton = nullptr;
    TbsSkinSpeedButton* UpToolButton = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinMenuSpeedButton* StyleToolButton = nullptr;
    TbsSkinPopupMenu* StylePopupMenu = nullptr;
    gui::TMenuItem* IconMenuItem = nullptr;
    gui::TMenuItem* SmallIconMenuItem = nullptr;
    gui::TMenuItem* ListMenuItem = nullptr;
    gui::TMenuItem* ReportMenuItem = nullptr;
    TbsSkinPanel* FileListViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinScrollBar* FLVHScrollBar = nullptr;
    TbsSkinScrollBar* FLVVScrollBar = nullptr;
    TbsSkinFileListView* FileListView = nullptr;
    TbsSkinEdit* FileNameEdit = nullptr;
    TbsSkinFilterComboBox* FilterComboBox = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinStdLabel* OpenFileLabel = nullptr;
    TbsSkinStdLabel* FileTypeLabel = nullptr;

    // The extension the chosen filter stands for, with its dot; empty for "*.*" and the like.
    std::string FilterExt();
    // "." and DefaultExt when there is one, else the filter's extension.
    std::string DefaultExtension();
    // The view style of the list, with its menu item checked.
    void SetViewStyle(gui::TListViewStyle style);
    // The first entry becomes the focused one, so that the keys start there.
    void FocusFirstItem();

    void InitHistory();
    virtual void FLVChange(gui::TObject* sender);
    void BackToolButtonClick(gui::TObject* sender);
    void UpToolButtonClick(gui::TObject* sender);
    void NewFolderToolButtonClick(gui::TObject* sender);
    void OpenButtonClick(gui::TObject* sender);
    void FLVPathChange(gui::TObject* sender);
    void FLVDBLClick(gui::TObject* sender);
    void FLVKeyPress(char32_t& key);
    void EditKeyPress(char32_t& key);
    void FCBChange(gui::TObject* sender);

protected:
    std::string Caption(const char* key, const char* builtIn) const;
    // The list's folder with a "/" after it; empty for a folder with no file-system path.
    std::string FolderPart();
    // True when the user answered OK to the overwrite question.
    bool AskOverwrite();
};

class TbsSkinOpenDialog : public os::TComponent {
public:
    explicit TbsSkinOpenDialog(os::TComponent* owner);
    ~TbsSkinOpenDialog() override;
    std::string ClassName() const override { return "TbsSkinOpenDialog"; }

    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;
    std::string DefaultExt;
    int DialogWidth = 0, DialogHeight = 0; // the client size to open with; 0 or less: 450 by 290
    int DialogMinWidth = 0, DialogMinHeight = 0;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    uint8_t CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    std::string LVHeaderSkinDataName = "resizebutton";
    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TbsSkinData* value);
    gui::TFont* DefaultFont() { return &defaultFont_; }
    void SetDefaultFont(const gui::TFont* value) { defaultFont_.Assign(value); }
    std::string Title = "Open file";
    std::string InitialDir;
    std::string Filter = "All files|*.*";
    int FilterIndex = 1;
    const std::string& FileName() const { return fileName_; }
    // While the window is open the whole value goes into its name edit.
    void SetFileName(const std::string& value);
    gui::TNotifyEvent OnFolderChange, OnShow, OnClose;
    // The selected files after an accepted Execute, in list order.
    std::vector<std::string> Files;
    gui::TListViewStyle ListViewStyle = gui::vsList;
    bool SaveMode = false;

    // True when the user accepted a file.  Cancel, Esc and closing the window leave FileName
    // and Files as they were.
    bool Execute();
    // The list's selected file while the window is open; empty otherwise.
    std::string GetSelectedFile();
    TbsOpenDlgForm* Form() const { return dlgFrm_; } // while Execute runs

protected:
    void Notification(os::TComponent* component, os::TOperation operation) override;
    // What the picture dialogs add to the steps of Execute.
    virtual std::unique_ptr<TbsOpenDlgForm> NewForm();
    virtual void FormReady(TbsOpenDlgForm&) {} // filter and skin given
    virtual int DefaultDialogWidth() const { return 450; }
    virtual void FormSized(TbsOpenDlgForm&) {}  // its size set, before it shows
    virtual void FormClosed(TbsOpenDlgForm&) {} // after it closed, either way

private:
    // The folder the window opens in: the chosen file's, the initial one or the program's;
    // one that has gone since falls back to the initial folder, then the home folder.
    std::string StartFolder() const;

    TbsSkinData* skinData_ = nullptr;
    TbsSkinData* ctrlSkinData_ = nullptr;
    gui::TFont defaultFont_;
    std::string fileName_;
    TbsOpenDlgForm* dlgFrm_ = nullptr;
};

} // namespace skin
