// The main window's creation and closing, its settings in option.ini, the log, and the small
// commands of its menus and buttons.
#include "app/AboutForm.h"
#include "app/AppPaths.h"
#include "app/ConversionControl.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OpenDialogFilter.h"
#include "app/OptionIni.h"
#include "app/OptionsForm.h"
#include "gui/CustomListView.h"
#include "media/FFPlayer.h"
#include "media/FFmpegConverter.h"
#include "os/DesktopServices.h"
#include "os/Paths.h"
#include "resources/ProgramResources.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SkinOpenDialog.h"

namespace app {

void TForm1::FormCreate(gui::TObject*) {
    Button17Click();
    Button21Click();
    Button3Click();
    Button2Click();
    FillScreens();
    bsSkinSlider1_down_UP = "UP";
    TellStartProblems();
}

void TForm1::TellStartProblems() {
    // Said once: the program goes on with its defaults, and an output folder it cannot write
    // would fail every conversion.
    std::string text;
    if (std::string why = ini_->Problem(); !why.empty())
        text = "无法读写设置文件：" + ini_->FileName() + "\n" + why + "\n程序将使用默认设置运行。";
    if (std::string why = FolderWriteProblem(FileOutPutPath); !why.empty())
        text += (text.empty() ? "" : "\n\n") + OutputFolderProblemText(FileOutPutPath, why);
    if (!text.empty()) Message(text);
}

std::string TForm1::OutputFolderProblemText(const std::string& AFolder, const std::string& AWhy) {
    return "无法创建或写入输出目录：" + AFolder + "\n" + AWhy;
}

void TForm1::FormCloseQuery(gui::TObject*, bool& CanClose) {
    if (Conversion) Conversion->Detach();
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->OnHook = nullptr;
    FFConverter->SetOnCustomHook(nullptr);
    FFConverter->SetOnProgress(nullptr);
    FFConverter->SetOnTerminate(nullptr);
    FFConverter->Stop(true);
    FFLogger->OnLog = nullptr;
    CanClose = true;
}

void TForm1::Button17Click() {
    FileOutPutPath = ReadOutputFolder(*ini_);
    Video_OutPut_Folder_Edit->SetText(FileOutPutPath);
}

void TForm1::Button16Click() {
    WriteOutputFolder(*ini_, FileOutPutPath);
}

void TForm1::Button21Click() {
    OpenDialog1->Filter = OpenDialogFilter();
    OpenDialog2->Filter = OpenDialogFilter();
}

void TForm1::Button3Click() {
    int index = ReadSkinIndex(*ini_);
    if (!skinListLinked_) {
        // At creation: the index goes in before the list, so the list loads that skin alone
        // (or the stored one when the index lies outside the list).
        if (index >= 0 && index < bsCompressedSkinList1->Skins().Count()) bsSkinData1->SetSkinIndex(index);
        bsSkinData1->SetSkinList(bsCompressedSkinList1);
        skinListLinked_ = true;
        return;
    }
    bsSkinData1->SetSkinIndex(index);
}

void TForm1::Button4Click() {
    WriteSkinIndex(*ini_, bsSkinData1->SkinIndex());
}

void TForm1::FillScreens() {
    cboScreens->Items()->Clear();
    cboScreens->Items()->Add("Panel6");
    for (int n = 0;; ++n) {
        gui::TWinControl* found = nullptr;
        for (int i = 0; i < ControlCount() && !found; ++i) {
            auto* w = dynamic_cast<gui::TWinControl*>(Controls(i));
            if (w && w->TabOrder() == n) found = w;
        }
        if (!found) break;
        cboScreens->Items()->Add(found->Name());
    }
    cboScreens->SetItemIndex(0);
}

void TForm1::FFLoggerLog(os::TObject*, uint32_t AThreadID, media::TLogLevel ALogLevel,
                         const std::string& ALogMsg) {
    Log(LogLine(AThreadID, static_cast<int>(ALogLevel), ALogMsg));
}

void TForm1::N15Click(gui::TObject*) {
    os::OpenWithDesktop(ProgramFile(resources::kHelpFile));
}

void TForm1::N19Click(gui::TObject*) {
    os::OpenWithDesktop(kWebSite);
}

void TForm1::N4Click(gui::TObject*) {
    Close();
}

void TForm1::N5Click(gui::TObject*) {
    if (AboutForm) AboutForm->ShowModal();
}

void TForm1::bsSkinButton19Click(gui::TObject*) {
    if (OptionsForm) OptionsForm->ShowModal();
}

void TForm1::SkinChooserClick(gui::TObject*) {
    int chosen = bsSkinData1->SkinIndex();
    if (SelectSkin && SelectSkin(bsSkinData1->SkinIndex(), chosen)) bsSkinData1->SetSkinIndex(chosen);
    Button4Click();
}

void TForm1::bsSkinButton5Click(gui::TObject*) {
    // The outcome is not asked: the folder is the one the dialog last confirmed.
    if (SelectDirectory) SelectDirectory("选择输出目录", bsSkinSelectDirectoryDialog2_Directory);
    const std::string& folder = bsSkinSelectDirectoryDialog2_Directory;
    if (folder.empty() || !os::DirectoryExists(folder)) return;
    Video_OutPut_Folder_Edit->SetText(folder);
    FileOutPutPath = folder;
    Button16Click();
    if (std::string why = FolderWriteProblem(folder); !why.empty())
        Message(OutputFolderProblemText(folder, why));
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::bsSkinButton6Click(gui::TObject*) {
    Button20Click();
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::Video_OutPut_Folder_EditClick(gui::TObject*) {
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::lvFilesClick(gui::TObject*) {
    // A click beside the rows clears the selection: the preview of the last row stops.
    if (!lvFiles->Selected()) FFPlayer->Stop(true);
}

void TForm1::Button20Click() {
    os::OpenWithDesktop(Video_OutPut_Folder_Edit->Text());
}

} // namespace app
