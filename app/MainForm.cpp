#include "app/MainForm.h"

#include "app/AppPaths.h"
#include "app/ConversionControl.h"
#include "app/FileList.h"
#include "app/FormatPicker.h"
#include "app/MainWindowParts.h"
#include "app/OptionIni.h"
#include "app/PreviewPanel.h"
#include "app/ProgramEmblem.h"
#include "app/ToolGlyphs.h"
#include "catalogue/Categories.h"
#include "catalogue/PresetLists.h"
#include "gui/Application.h"
#include "gui/ComboBox.h"
#include "gui/CustomListView.h"
#include "gui/CustomPanel.h"
#include "gui/Image.h"
#include "gui/Menu.h"
#include "gui/MenuItem.h"
#include "gui/PopupMenu.h"
#include "gui/ProgressBar.h"
#include "gui/ShortCuts.h"
#include "gui/StdCtrls.h"
#include "media/FFPlayer.h"
#include "media/FFmpegConverter.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinLinkLabel.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinStdLabel.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SelectDirectoryDialog.h"
#include "skin/dialogs/SelectSkinDialog.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMessage.h"
#include "skin/forms/SkinTrayIcon.h"
#include "skin/hints/SkinHint.h"
#include "skins/StoredSkins.h"

#include <cstdlib>

namespace app {

namespace {

// Controls of the window share its skin data; those that take none (class-library controls)
// are placed all the same.
template <class T>
T* Place(TForm1* form, gui::TWinControl* parent, int x, int y, int w, int h,
         const std::string& caption = std::string()) {
    auto* c = new T(form);
    if constexpr (requires { c->SetSkinData(form->bsSkinData1); }) c->SetSkinData(form->bsSkinData1);
    // Labels keep the width they are given, so their alignment holds.
    if constexpr (requires { c->SetAutoSize(false); }) c->SetAutoSize(false);
    c->SetBounds(x, y, w, h);
    if (!caption.empty()) c->SetCaption(caption);
    c->SetParent(parent);
    return c;
}

gui::TMenuItem* AddItem(gui::TComponent* owner, gui::TMenuItem* parent, const std::string& caption,
                        gui::TNotifyEvent onClick = {}, bool enabled = true) {
    auto* item = new gui::TMenuItem(owner);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    item->SetEnabled(enabled);
    parent->Add(item);
    return item;
}

} // namespace

TForm1::TForm1(gui::TComponent* AOwner) : gui::TForm(AOwner) {
    SetName("Form1");
    SetCaption(kProgramTitle);
    SetBorderStyle(gui::bsSingle);
    SetPosition(gui::poScreenCenter);
    SetClientSize(799, 541);
    ini_ = std::make_unique<TOptionIni>(OptionIniFileName(), [this](const std::string& line) { Log(line); });

    bsCompressedSkinList1 = new skin::TbsCompressedSkinList(this);
    skins::LoadStoredSkins(*bsCompressedSkinList1);
    bsSkinData1 = new skin::TbsSkinData(this);
    // The window is stored with the second skin; start-up replaces it by the one option.ini
    // names before the list is linked, so only one skin is ever loaded at start.
    bsSkinData1->SetSkinIndex(1);
    bsSkinForm1 = new skin::TbsSkinForm(this);
    bsSkinForm1->SetSkinData(bsSkinData1);
    bsSkinForm1->SetBorderIcons(skin::biMinimize);
    // Every hint of the program shows in the skin's hint window; "@" breaks its lines.
    bsSkinHint1 = new skin::TbsSkinHint(this);
    bsSkinHint1->SetSkinData(bsSkinData1);
    gui::TFont hintFont;
    hintFont.SetName("MS Sans Serif");
    hintFont.SetHeight(-11);
    bsSkinHint1->SetDefaultFont(&hintFont);
    bsSkinForm1->SetSkinHint(bsSkinHint1);
    // Named by the frame, but disabled and invisible: nothing minimises into it.
    bsTrayIcon1 = new skin::TbsTrayIcon(this);
    bsTrayIcon1->Enabled = false;
    bsSkinForm1->SetTrayIcon(bsTrayIcon1);

    FFConverter = new media::TFFmpegConverter(this);
    FFLogger = new media::TFFLogger(this);
    FFPlayer = new media::TFFPlayer(this);
    FFLogger->OnLog = [this](os::TObject* s, uint32_t id, media::TLogLevel l, const std::string& m) {
        FFLoggerLog(s, id, l, m);
    };

    BuildMenus();
    BuildToolBar();
    BuildFileList();
    BuildPresets();
    BuildPreviewPanel();
    BuildOutputPanel();
    BuildHidden();

    bsSkinMessage1 = new skin::TbsSkinMessage(this);
    bsSkinMessage1->SetSkinData(bsSkinData1);
    bsSkinMessage1->SetCtrlSkinData(bsSkinData1);
    OpenDialog1 = new skin::TbsSkinOpenDialog(this);
    OpenDialog2 = new skin::TbsSkinOpenDialog(this);
    OpenDialog2->MultiSelection = true;
    for (skin::TbsSkinOpenDialog* d : {OpenDialog1, OpenDialog2}) {
        d->Title = "打开文件";
        d->CheckFileExists = true;
        // Until a file is chosen the dialogs open in the user's home, not in the program's folder.
        if (const char* home = std::getenv("HOME")) d->InitialDir = home;
        d->SetSkinData(bsSkinData1);
        d->SetCtrlSkinData(bsSkinData1);
    }
    bsSkinSelectDirectoryDialog1 = new skin::TbsSkinSelectDirectoryDialog(this);
    bsSkinSelectDirectoryDialog1->Title = "选择目录";
    bsSkinSelectDirectoryDialog2 = new skin::TbsSkinSelectDirectoryDialog(this);
    bsSkinSelectDirectoryDialog2->Title = "选择输出目录";
    for (skin::TbsSkinSelectDirectoryDialog* d :
         {bsSkinSelectDirectoryDialog1, bsSkinSelectDirectoryDialog2}) {
        d->SetSkinData(bsSkinData1);
        d->SetCtrlSkinData(bsSkinData1);
    }
    SelectDirectory = [this](const std::string&, std::string& directory) {
        bsSkinSelectDirectoryDialog2->Directory = directory;
        bool ok = bsSkinSelectDirectoryDialog2->Execute();
        directory = bsSkinSelectDirectoryDialog2->Directory;
        return ok;
    };
    bsSelectSkinDialog1 = new skin::TbsSelectSkinDialog(this);
    bsSelectSkinDialog1->Title = "Select skin";
    bsSelectSkinDialog1->SetSkinList(bsCompressedSkinList1);
    bsSelectSkinDialog1->SetSkinData(bsSkinData1);
    bsSelectSkinDialog1->SetCtrlSkinData(bsSkinData1);
    SelectSkin = [this](int current, int& chosen) {
        if (!bsSelectSkinDialog1->Execute(current)) return false;
        chosen = bsSelectSkinDialog1->SelectedSkinIndex();
        return true;
    };

    FileList = std::make_unique<TFileList>(*this);
    Conversion = std::make_unique<TConversionControl>(*this, *FileList);
    FileList->OpenFile = [this](std::string& file) {
        if (!OpenDialog1->Execute()) return false;
        file = OpenDialog1->FileName();
        return true;
    };
    FileList->OpenFiles = [this](std::vector<std::string>& files) {
        if (!OpenDialog2->Execute()) return false;
        files = OpenDialog2->Files;
        return true;
    };
    FileList->SelectFolder = [this](std::string& folder) {
        bool ok = bsSkinSelectDirectoryDialog1->Execute();
        if (ok) folder = bsSkinSelectDirectoryDialog1->Directory;
        return ok;
    };

    OnCreate = [this](gui::TObject* s) { FormCreate(s); };
    OnCloseQuery = [this](gui::TObject* s, bool& can) { FormCloseQuery(s, can); };
}

TForm1::~TForm1() {
    // Records still on their way must not reach the list once it is gone, nor log lines the
    // logger hands over while it goes (it delivers what it holds when destroyed).
    if (Conversion) Conversion->Detach();
    if (FFLogger) FFLogger->OnLog = nullptr;
    // The preview stops its player while the settings and the rest of the window still exist.
    Preview.reset();
}

void TForm1::Message(const std::string& AText) {
    bsSkinMessage1->MessageDlg2(AText, "提示", skin::mtInformation, skin::MsgButtons({skin::mbOK}), 0);
}

TForm1* MainWindow() {
    return dynamic_cast<TForm1*>(gui::Application->MainForm());
}

void TForm1::BuildMenus() {
    bsSkinMainMenu1 = MakeMainMenu(this);
    gui::TMenuItem* root = bsSkinMainMenu1->Items();
    auto* file = AddItem(this, root, "文件");
    AddItem(this, file, "添加一个文件");
    AddItem(this, file, "添加多个文件");
    AddItem(this, file, "添加整个目录");
    AddItem(this, file, "-");
    N4 = AddItem(this, file, "退出", [this](gui::TObject* s) { N4Click(s); });
    auto* edit = AddItem(this, root, "编辑");
    AddItem(this, edit, "上移文件");
    AddItem(this, edit, "下移文件");
    AddItem(this, edit, "-");
    RemoveItem = AddItem(this, edit, "删除选择", {}, false);
    ClearItem = AddItem(this, edit, "清空文件", {}, false);
    AddItem(this, edit, "-");
    RenameItem = AddItem(this, edit, "重新命名", {}, false);
    auto* action = AddItem(this, root, "动作");
    StartItem = AddItem(this, action, "开始转换", {}, false);
    StopItem = AddItem(this, action, "停止转换", {}, false);
    AddItem(this, action, "-");
    PauseItem = AddItem(this, action, "暂停转换", {}, false);
    ResumeItem = AddItem(this, action, "继续继续", {}, false);
    auto* function = AddItem(this, root, "功能");
    N24 = AddItem(this, function, "转换设置", [this](gui::TObject* s) { bsSkinButton19Click(s); });
    N23 = AddItem(this, function, "软件皮肤", [this](gui::TObject* s) { SkinChooserClick(s); });
    auto* help = AddItem(this, root, "帮助");
    N15 = AddItem(this, help, "帮助系统", [this](gui::TObject* s) { N15Click(s); });
    N15->SetShortCut(gui::ShortCut(VK_F1, 0));
    AddItem(this, help, "-");
    N19 = AddItem(this, help, "官方网站", [this](gui::TObject* s) { N19Click(s); });
    N5 = AddItem(this, help, "关于软件", [this](gui::TObject* s) { N5Click(s); });
    SetMenu(bsSkinMainMenu1);

    bsSkinMainMenuBar1 = MakeMenuBar(this, bsSkinMainMenu1);
}

void TForm1::BuildToolBar() {
    bsSkinToolBar2 = MakeToolBar(this);
    bsSkinPopupMenu1 = MakePopupMenu(this);
    AddItem(this, bsSkinPopupMenu1->Items(), "添加一个文件");
    AddItem(this, bsSkinPopupMenu1->Items(), "添加多个文件");
    AddItem(this, bsSkinPopupMenu1->Items(), "添加整个目录");
    bsSkinPopupMenu2 = MakePopupMenu(this);

    auto glyph = [](skin::TbsSkinSpeedButton* b, TToolGlyph kind) {
        // The buttons of a "resizetoolpanel" bar take its resizable button section: it keeps
        // the add button's drop-down marker a small arrow at any height.
        b->SkinDataName = "resizetoolbutton";
        b->SetGlyph(MakeToolGlyph(kind).get());
        b->SetNumGlyphs(2);
        b->SetLayout(skin::TbsButtonLayout::blGlyphTop);
    };
    auto tool = [&](int x, const std::string& caption, TToolGlyph kind, bool enabled) {
        auto* b = Place<skin::TbsSkinSpeedButton>(this, bsSkinToolBar2, x, 3, 52, 50, caption);
        glyph(b, kind);
        b->SetEnabled(enabled);
        return b;
    };
    AddToolButton = Place<skin::TbsSkinMenuSpeedButton>(this, bsSkinToolBar2, 8, 3, 52, 50, "添加");
    glyph(AddToolButton, TToolGlyph::Add);
    AddToolButton->SkinPopupMenu = TrackMenuOf(bsSkinPopupMenu1);
    RemoveToolButton = tool(62, "删除", TToolGlyph::Remove, false);
    ClearToolButton = tool(116, "清空", TToolGlyph::Clear, false);
    StartToolButton = tool(180, "开始", TToolGlyph::Start, false);
    StopToolButton = tool(234, "停止", TToolGlyph::Stop, false);
    PauseToolButton = tool(288, "暂停", TToolGlyph::Pause, false);
    ResumeToolButton = tool(288, "继续", TToolGlyph::Resume, false);
    ResumeToolButton->SetVisible(false);
    // A line between the groups: the list, converting, the settings.
    for (int x : {172, 344}) {
        auto* line = Place<skin::TbsSkinBevel>(this, bsSkinToolBar2, x, 8, 2, 40);
        line->SetShape(gui::bsLeftLine);
    }
    bsSkinButton19 = tool(352, "选项", TToolGlyph::Options, true);
    bsSkinButton19->OnClick = [this](gui::TObject* s) { bsSkinButton19Click(s); };
    bsSkinButton9 = tool(406, "皮肤", TToolGlyph::Skin, true);
    bsSkinButton9->OnClick = [this](gui::TObject* s) { SkinChooserClick(s); };
}

void TForm1::BuildFileList() {
    bsSkinPanel1 = Place<skin::TbsSkinPanel>(this, this, 8, 86, 556, 300);
    lvFiles = MakeFileList(this, bsSkinPanel1);
    lvFiles->SetAlign(gui::alClient);
    lvFiles->OnSelectItem = [this](gui::TObject* s, gui::TListItem* item, bool selected) {
        lvFilesSelectItem(s, item, selected);
    };
    lvFiles->OnClick = [this](gui::TObject* s) { lvFilesClick(s); };
    bsSkinPanel5 = Place<skin::TbsSkinPanel>(this, bsSkinPanel1, 1, 1, 554, 298);
    Image1 = Place<gui::TImage>(this, bsSkinPanel5, 213, 90, 128, 128);
    LoadProgramEmblem(*Image1, 128);
    auto* name = Place<skin::TbsSkinStdLabel>(this, bsSkinPanel5, 0, 226, 554, 24, kProgramTitle);
    name->SetAlignment(gui::taCenter);

    MoveUpButton = Place<skin::TbsSkinButton>(this, this, 8, 392, 72, 26, "上移");
    MoveUpButton->Hint = "上移";
    MoveDownButton = Place<skin::TbsSkinButton>(this, this, 86, 392, 72, 26, "下移");
    MoveDownButton->Hint = "下移";
    RenameButton = Place<skin::TbsSkinButton>(this, this, 164, 392, 72, 26, "重命名");
    RenameButton->Hint = "重命名";
    RenameButton->SetEnabled(false);
    for (auto* b : {MoveUpButton, MoveDownButton, RenameButton}) b->SetShowHint(true);
}

void TForm1::BuildPresets() {
    PresetPanel = Place<skin::TbsSkinGroupBox>(this, this, 572, 86, 219, 204, "预置选项");
    struct Row {
        const char* label;
        skin::TbsSkinComboBox** picker;
    };
    const Row rows[] = {
        {"视频分辨率：", &bsSkinComboBox1 },
        {"视频比特率：", &bsSkinComboBox2 },
        {"视频帧率：",    &bsSkinComboBox9 },
        {"音频比特率：", &bsSkinComboBox3 },
        {"音频采样率：", &bsSkinComboBox10},
        {"视频缩放：",    &bsSkinComboBox4 }
    };
    int y = 26;
    for (const Row& r : rows) {
        auto* label = Place<skin::TbsSkinStdLabel>(this, PresetPanel, 6, y + 4, 74, 20, r.label);
        label->SetAlignment(gui::taRightJustify);
        *r.picker = Place<skin::TbsSkinComboBox>(this, PresetPanel, 84, y, 128, 24);
        (*r.picker)->OnChange = [this](gui::TObject* s) { PresetChange(s); };
        y += 30;
    }
}

void TForm1::BuildPreviewPanel() {
    PreviewPanel = Place<skin::TbsSkinGroupBox>(this, this, 572, 296, 219, 226, "视频预览");
    // A plain black surface, blank until a picture comes and again when the list is emptied.
    Panel6 = Place<gui::TPanel>(this, PreviewPanel, 6, 24, 207, 160);
    Panel6->SetName("Panel6");
    Panel6->SetBevelOuter(gui::bvNone);
    Panel6->SetColor(gui::clBlack);
    Preview = std::make_unique<TPreviewPanel>(*this);
}

void TForm1::BuildOutputPanel() {
    OutputPanel = Place<skin::TbsSkinPanel>(this, this, 8, 424, 556, 109);
    auto label = [&](int y, const char* text) {
        auto* l = Place<skin::TbsSkinStdLabel>(this, OutputPanel, 8, y + 4, 70, 20, text);
        l->SetAlignment(gui::taRightJustify);
    };
    // The office pickers show a format's title over its description: two lines high.
    label(14, "输出格式：");
    bsSkinOfficeComboBox2 = Place<TFormatPicker>(this, OutputPanel, 82, 6, 150, 40);
    bsSkinOfficeComboBox2->OnChange = [this](gui::TObject* s) { bsSkinOfficeComboBox2Change(s); };
    // Categories are captions alone, formats a title over a caption: the lists as stored.
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetDropDownCount(4);
    for (const catalogue::TCategory& c : catalogue::Categories())
        bsSkinOfficeComboBox2->AddItem("", c.Caption, c.ImageIndex);
    bsSkinOfficeComboBox2->SetStoredItemIndex(0);
    bsSkinOfficeComboBox1 = Place<TFormatPicker>(this, OutputPanel, 238, 6, 310, 40);
    bsSkinOfficeComboBox1->OnChange = [this](gui::TObject* s) { bsSkinOfficeComboBox1Change(s); };
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetDropDownCount(4);
    // The pickers have no pictures: their box shows the caption as one line under the title
    // (a long one would wrap up over the title).
    for (TFormatPicker* picker : {bsSkinOfficeComboBox2, bsSkinOfficeComboBox1})
        picker->SetShowItemImage(false);

    label(52, "输出目录：");
    Video_OutPut_Folder_Edit = Place<skin::TbsSkinEdit>(this, OutputPanel, 82, 52, 318, 24);
    Video_OutPut_Folder_Edit->SetReadOnly(true);
    Video_OutPut_Folder_Edit->OnClick = [this](gui::TObject* s) { Video_OutPut_Folder_EditClick(s); };
    bsSkinButton5 = Place<skin::TbsSkinButton>(this, OutputPanel, 406, 52, 68, 24, "浏览");
    bsSkinButton5->OnClick = [this](gui::TObject* s) { bsSkinButton5Click(s); };
    bsSkinButton6 = Place<skin::TbsSkinButton>(this, OutputPanel, 480, 52, 68, 24, "打开");
    bsSkinButton6->OnClick = [this](gui::TObject* s) { bsSkinButton6Click(s); };

    label(80, "软件网站：");
    WebSiteLink = Place<skin::TbsSkinLinkLabel>(this, OutputPanel, 82, 84, 300, 20, kWebSite);
    WebSiteLink->URL = kWebSite;
}

void TForm1::BuildHidden() {
    cboScreens = Place<skin::TbsSkinComboBox>(this, this, 900, 0, 120, 24);
    ListBox1 = Place<gui::TListBox>(this, this, 900, 40, 120, 80);
    ProgressBar1 = Place<gui::TProgressBar>(this, this, 900, 130, 120, 16);
}

} // namespace app
