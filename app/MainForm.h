#pragma once
// TForm1, the converter's main window: the file list, the format and preset pickers, the
// output folder, the preview panel, the menus and the tool bar. Its handlers call one another
// as named procedures (Button2Click, Button5Click, ...) in the order the window relies on.
#include "app/ConverterOptions.h"
#include "app/LogMemo.h"
#include "app/PresetPickers.h"
#include "catalogue/ParameterSet.h"
#include "catalogue/PresetLists.h"
#include "gui/Forms.h"
#include "media/FFLogger.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace gui {
class TCustomListView;
class TListItem;
class TMainMenu;
class TMenuItem;
class TPopupMenu;
class TImage;
class TComboBox;
class TListBox;
class TProgressBar;
class TPanel;
} // namespace gui
namespace media {
class TFFmpegConverter;
class TFFPlayer;
} // namespace media
namespace skin {
class TbsSkinData;
class TbsCompressedSkinList;
class TbsSkinForm;
class TbsSkinComboBox;
class TbsSkinEdit;
class TbsSkinPanel;
class TbsSkinGroupBox;
class TbsSkinButton;
class TbsSkinSpeedButton;
class TbsSkinMenuSpeedButton;
class TbsSkinMainMenuBar;
class TbsSkinStdLabel;
class TbsSkinLinkLabel;
class TbsSkinMessage;
class TbsSkinOpenDialog;
class TbsSkinSelectDirectoryDialog;
class TbsSelectSkinDialog;
class TbsSkinHint;
class TbsTrayIcon;
} // namespace skin

namespace app {

class TFormatPicker;
class TFileList;
class TConversionControl;
class TForm2;
class TForm5;
class TOptionIni;
class TPreviewPanel;

// The maker's addresses, shown and opened by the window's links and the web-site command.
inline constexpr const char* kWebSite = "https://tarvik.example.com/";
inline constexpr const char* kSupportMail = "support@tarvik.example.com";
inline constexpr const char* kProgramTitle = "TarvikH.264格式转换器";

class TForm1 : public gui::TForm {
public:
    explicit TForm1(gui::TComponent* AOwner);
    ~TForm1() override;
    std::string ClassName() const override { return "TForm1"; }

    // --- components ---
    skin::TbsSkinData* bsSkinData1 = nullptr;
    skin::TbsCompressedSkinList* bsCompressedSkinList1 = nullptr;
    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    skin::TbsSkinHint* bsSkinHint1 = nullptr; // every hint of the program, skinned
    skin::TbsTrayIcon* bsTrayIcon1 = nullptr; // disabled and invisible
    media::TFFmpegConverter* FFConverter = nullptr;
    media::TFFLogger* FFLogger = nullptr;
    media::TFFPlayer* FFPlayer = nullptr;
    TLogMemo mmoLog;

    gui::TMainMenu* bsSkinMainMenu1 = nullptr; // a skinned main menu
    skin::TbsSkinMainMenuBar* bsSkinMainMenuBar1 = nullptr;
    skin::TbsSkinPanel* bsSkinToolBar2 = nullptr;
    gui::TPopupMenu* bsSkinPopupMenu1 = nullptr; // the add menu
    gui::TPopupMenu* bsSkinPopupMenu2 = nullptr; // the snapshot menu

    skin::TbsSkinPanel* bsSkinPanel1 = nullptr; // around the file list
    gui::TCustomListView* lvFiles = nullptr;
    skin::TbsSkinPanel* bsSkinPanel5 = nullptr; // covers the empty list
    gui::TImage* Image1 = nullptr;

    TFormatPicker* bsSkinOfficeComboBox2 = nullptr; // category
    TFormatPicker* bsSkinOfficeComboBox1 = nullptr; // format
    skin::TbsSkinComboBox *bsSkinComboBox1 = nullptr, *bsSkinComboBox2 = nullptr, *bsSkinComboBox3 = nullptr,
                          *bsSkinComboBox4 = nullptr, *bsSkinComboBox9 = nullptr, *bsSkinComboBox10 = nullptr;
    skin::TbsSkinGroupBox* PresetPanel = nullptr;
    skin::TbsSkinGroupBox* PreviewPanel = nullptr;
    gui::TPanel* Panel6 = nullptr; // the preview draws into it
    skin::TbsSkinPanel* OutputPanel = nullptr;
    skin::TbsSkinEdit* Video_OutPut_Folder_Edit = nullptr;
    skin::TbsSkinLinkLabel* WebSiteLink = nullptr;

    skin::TbsSkinMessage* bsSkinMessage1 = nullptr;
    skin::TbsSkinOpenDialog* OpenDialog1 = nullptr;                             // add one file
    skin::TbsSkinOpenDialog* OpenDialog2 = nullptr;                             // add several files
    skin::TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog1 = nullptr; // add a folder
    skin::TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog2 = nullptr; // the output folder
    skin::TbsSelectSkinDialog* bsSelectSkinDialog1 = nullptr;

    // Off-screen helpers.
    skin::TbsSkinComboBox* cboScreens = nullptr;
    gui::TListBox* ListBox1 = nullptr;
    gui::TProgressBar* ProgressBar1 = nullptr;

    // Buttons and menu items the handlers enable and disable.
    skin::TbsSkinMenuSpeedButton* AddToolButton = nullptr;
    skin::TbsSkinSpeedButton *RemoveToolButton = nullptr, *ClearToolButton = nullptr,
                             *StartToolButton = nullptr, *StopToolButton = nullptr,
                             *PauseToolButton = nullptr, *ResumeToolButton = nullptr;
    skin::TbsSkinSpeedButton* bsSkinButton19 = nullptr; // 选项
    skin::TbsSkinSpeedButton* bsSkinButton9 = nullptr;  // 皮肤
    skin::TbsSkinButton *MoveUpButton = nullptr, *MoveDownButton = nullptr, *RenameButton = nullptr;
    skin::TbsSkinButton* bsSkinButton5 = nullptr; // 浏览
    skin::TbsSkinButton* bsSkinButton6 = nullptr; // 打开
    gui::TMenuItem *N4 = nullptr, *N5 = nullptr, *N15 = nullptr, *N19 = nullptr, *N23 = nullptr,
                   *N24 = nullptr;
    gui::TMenuItem *RemoveItem = nullptr, *ClearItem = nullptr, *RenameItem = nullptr, *StartItem = nullptr,
                   *StopItem = nullptr, *PauseItem = nullptr, *ResumeItem = nullptr;

    // --- fields ---
    std::string FileOutPutPath;
    catalogue::TParameterSet Parameters; // the Video_ fields
    std::string Video_AddFileName;
    std::string T_Movie_PLayer_FileName;
    std::string bsSkinSlider1_down_UP;
    int All_Trant_Number = 0;
    std::string TitleExtension; // of the format last chosen

    // The options dialog, made after this window; its controls hold the live settings.
    TForm5* OptionsForm = nullptr;
    TForm2* AboutForm = nullptr;
    // The preview's slider, buttons and snapshot menu, and its player events.
    std::unique_ptr<TPreviewPanel> Preview;

    // --- procedures ---
    void FormCreate(gui::TObject* Sender);
    void FormCloseQuery(gui::TObject* Sender, bool& CanClose);
    void Button17Click(); // read the output folder
    void Button16Click(); // write the output folder
    void Button21Click(); // the open dialogs' file types
    void Button3Click();  // read and apply the skin index
    void Button4Click();  // write the skin index
    void Button2Click();  // fill the format picker for the category
    void Button5Click();  // the catalogue
    void Button6Click();  // reset the parameter set
    void Button13Click(); // the preset override
    void Button18Click(); // refill the preset pickers
    void FillScreens();
    // A settings file or output folder that cannot be used, told once at start.
    void TellStartProblems();
    static std::string OutputFolderProblemText(const std::string& AFolder, const std::string& AWhy);

    // --- handlers ---
    void bsSkinOfficeComboBox2Change(gui::TObject* Sender);
    void bsSkinOfficeComboBox1Change(gui::TObject* Sender);
    void PresetChange(gui::TObject* Sender);
    void lvFilesSelectItem(gui::TObject* Sender, gui::TListItem* Item, bool Selected);
    void FFLoggerLog(os::TObject* Sender, uint32_t AThreadID, media::TLogLevel ALogLevel,
                     const std::string& ALogMsg);
    void N15Click(gui::TObject* Sender);            // help
    void N19Click(gui::TObject* Sender);            // web site
    void N4Click(gui::TObject* Sender);             // exit
    void N5Click(gui::TObject* Sender);             // about box
    void bsSkinButton19Click(gui::TObject* Sender); // options dialog
    void SkinChooserClick(gui::TObject* Sender);
    void bsSkinButton5Click(gui::TObject* Sender); // choose the output folder
    void bsSkinButton6Click(gui::TObject* Sender); // open the output folder
    void Button20Click();                          // the shell opens the output folder
    void Video_OutPut_Folder_EditClick(gui::TObject* Sender);
    void lvFilesClick(gui::TObject* Sender);

    // The modal dialogs as the handlers reach them (tests answer them here): the output
    // folder's select-folder dialog, whose Directory is the folder it last confirmed, and the
    // skin chooser. Each answers whether the user confirmed.
    std::function<bool(const std::string& ATitle, std::string& ADirectory)> SelectDirectory;
    std::function<bool(int ACurrent, int& AChosen)> SelectSkin;
    std::string bsSkinSelectDirectoryDialog2_Directory;

    // The file list's rows and slots, and converting them.
    std::unique_ptr<TFileList> FileList;
    std::unique_ptr<TConversionControl> Conversion;
    // The skinned message box as the window's messages use it: "提示", information, OK.
    void Message(const std::string& AText);

    TOptionIni& OptionIni() { return *ini_; }
    void Log(const std::string& ALine) { mmoLog.Append(ALine); }
    int CategoryPosition() const;
    int FormatPosition() const;
    skin::TbsSkinComboBox* PresetPicker(catalogue::TPresetPicker APicker) const;
    TPresetPickerFields PresetPickerFields() const;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildFileList();
    void BuildPresets();
    void BuildOutputPanel();
    void BuildPreviewPanel();
    void BuildHidden();
    void ApplySkinToControls();

    std::unique_ptr<TOptionIni> ini_;
    bool skinListLinked_ = false;
};

// The application's main form as the converter's main window (the forms made after it use
// its skin data and settings).
TForm1* MainWindow();

} // namespace app
