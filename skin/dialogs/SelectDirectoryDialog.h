#pragma once
// The skinned select-folder dialog: a component whose Execute builds a small skinned window
// around the shell folder tree, shows it modally and, on OK, answers the chosen folder.
#include "gui/Font.h"
#include "gui/Forms.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/shell/ShellTreeView.h"

#include <memory>
#include <string>

namespace skin {

class TbsSelDirDlgForm : public gui::TForm {
public:
    TbsSelDirDlgForm(gui::TComponent* owner, bool toolButtonsTransparent, bool showToolBar,
                     TbsSkinData* ctrlSkinData);
    std::string ClassName() const override { return "TbsSelDirDlgForm"; }

    TbsSkinData* CtrlSD = nullptr;
    bool ShowToolBar = false;
    TbsSkinForm* BSF = nullptr;
    TbsSkinPanel* DirTreeViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinDirTreeView* DirTreeView = nullptr;
    TbsSkinScrollBar* VScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TbsSkinButton* OkButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinPanel* ToolPanel = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinEdit* DirEdit = nullptr;

    // OK only for a folder with a file-system path: Computer and the desktop are no answer.
    void UpdateOkButton();
    void NewFolderToolButtonClick(gui::TObject* sender);

private:
    std::string Caption(const char* key, const char* builtIn) const;
    void DirEditKeyPress(char32_t& key);
    void DirTreeViewChange(gui::TTreeNode* node);
};

class TbsSkinSelectDirectoryDialog : public os::TComponent {
public:
    explicit TbsSkinSelectDirectoryDialog(os::TComponent* owner);
    ~TbsSkinSelectDirectoryDialog() override;
    std::string ClassName() const override { return "TbsSkinSelectDirectoryDialog"; }

    bool ToolButtonsTransparent = false;
    int DialogWidth = 0, DialogHeight = 0; // the client size to open with; 0 or less: 280
    int DialogMinWidth = 0, DialogMinHeight = 0;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TbsSkinData* value);
    gui::TFont* DefaultFont() { return &defaultFont_; }
    void SetDefaultFont(const gui::TFont* value) { defaultFont_.Assign(value); }
    std::string Title = "Select folder";
    std::string Directory;
    bool ShowToolBar = false;
    gui::TNotifyEvent OnShow, OnClose;

    // True when the user chose a folder with OK; Directory is then its path.  Cancel, Esc and
    // closing the window leave Directory as it was.
    bool Execute();
    TbsSelDirDlgForm* Form() const { return dlgFrm_; } // while Execute runs

protected:
    void Notification(os::TComponent* component, os::TOperation operation) override;

private:
    TbsSkinData* skinData_ = nullptr;
    TbsSkinData* ctrlSkinData_ = nullptr;
    gui::TFont defaultFont_;
    TbsSelDirDlgForm* dlgFrm_ = nullptr;
    gui::TNotifyEvent onChange_;
};

} // namespace skin
