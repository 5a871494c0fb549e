#include "skin/dialogs/SkinOpenDialog.h"

#include "controls/CommCtrl.h"
#include "gui/Application.h"
#include "gui/Bevel.h"
#include "gui/Bitmap.h"
#include "os/Paths.h"
#include "skin/core/ResourceStrData.h"
#include "skin/forms/SkinMessage.h"
#include "skin/shell/FileMasks.h"
#include "skin/shell/FilePaths.h"
#include "win/Message.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace skin {

namespace {

constexpr int kDefaultHeight = 290;

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A typed "~" or "~/…" means the home folder, as in every file chooser here.
std::string ExpandHome(const std::string& typed) {
    if (typed.empty() || typed[0] != '~' || (typed.size() > 1 && typed[1] != '/')) return typed;
    const char* home = std::getenv("HOME");
    if (!home || !*home) return typed;
    std::string h = home;
    if (typed.size() > 1 && h.size() > 1 && h.back() == '/') h.pop_back();
    return h + typed.substr(1);
}

// The tool buttons' glyphs, drawn here so that any skin shows them.
enum class Glyph { back, up, newFolder, viewStyle };

void DrawGlyph(gui::TBitmap& b, Glyph kind) {
    b.SetWidth(16);
    b.SetHeight(16);
    gui::TCanvas* c = b.Canvas();
    const gui::TColor key = RGB(255, 0, 255), ink = RGB(0x30, 0x50, 0x90), body = RGB(0xE8, 0xB8, 0x4A),
                      edge = RGB(0x9A, 0x6A, 0x10), plus = RGB(0x1E, 0x8E, 0x3E);
    c->Brush()->SetColor(key);
    c->FillRect(gui::Rect(0, 0, 16, 16));
    c->Brush()->SetColor(ink);
    switch (kind) {
    case Glyph::back:
        for (int i = 0; i < 5; ++i) c->FillRect(gui::Rect(2 + i, 7 - i, 3 + i, 9 + i));
        c->FillRect(gui::Rect(6, 7, 14, 9));
        break;
    case Glyph::up:
        c->Brush()->SetColor(body);
        c->Pen()->SetColor(edge);
        c->Rectangle(1, 6, 12, 15);
        c->Brush()->SetColor(ink);
        for (int i = 0; i < 4; ++i) c->FillRect(gui::Rect(11 - i, 1 + i, 12 + i, 2 + i));
        c->FillRect(gui::Rect(10, 4, 13, 11));
        break;
    case Glyph::newFolder:
        c->Brush()->SetColor(body);
        c->Pen()->SetColor(edge);
        c->Rectangle(1, 5, 13, 14);
        c->FillRect(gui::Rect(2, 3, 7, 5));
        c->Brush()->SetColor(plus);
        c->FillRect(gui::Rect(12, 1, 14, 8));
        c->FillRect(gui::Rect(9, 3, 17, 5));
        break;
    case Glyph::viewStyle:
        for (int y = 2; y < 14; y += 4) {
            c->FillRect(gui::Rect(2, y, 5, y + 3));
            c->FillRect(gui::Rect(6, y + 1, 14, y + 2));
        }
        break;
    }
    b.SetTransparent(true);
    b.SetTransparentColor(key);
}

TbsSkinSpeedButton* ToolButton(gui::TWinControl* parent, Glyph glyph, int width, bool flat,
                               const std::string& hint, TbsSkinSpeedButton* b) {
    b->SetParent(parent);
    b->SetAlign(gui::alRight);
    b->SetDefaultHeight(25);
    b->SetDefaultWidth(width);
    b->SetNumGlyphs(1);
    gui::TBitmap g;
    DrawGlyph(g, glyph);
    b->SetGlyph(&g);
    b->Hint = hint;
    b->SetShowHint(true);
    b->SetFlat(flat);
    return b;
}

} // namespace

// --- the form --------------------------------------------------------------------------------

TbsOpenDlgForm::TbsOpenDlgForm(gui::TComponent* owner, bool toolButtonsTransparent, TbsSkinData* ctrlSkinData,
                               bool saveMode)
    : gui::TForm(owner), SaveMode(saveMode), CtrlSD(ctrlSkinData) {
    KeyPreview = true;
    SetPosition(gui::poScreenCenter);
    BSF = new TbsSkinForm(this);

    ToolPanel = new TbsSkinToolBar(this);
    ToolPanel->SetParent(this);
    ToolPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    ToolPanel->SetAlign(gui::alTop);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetSkinDataName("toolpanel");

    auto* leftSpacer = new gui::TBevel(this);
    leftSpacer->SetParent(ToolPanel);
    leftSpacer->SetShape(gui::bsSpacer);
    leftSpacer->SetWidth(10);
    leftSpacer->SetAlign(gui::alLeft);

    Drivelabel = new TbsSkinStdLabel(this);
    Drivelabel->SetParent(ToolPanel);
    Drivelabel->SetAutoSize(true);
    Drivelabel->SetLeft(10);
    Drivelabel->SetAlign(gui::alLeft);
    Drivelabel->SetLayout(gui::tlCenter);
    Drivelabel->SetCaption(Caption("FLV_LOOKIN", "Look in: "));

    // The right-hand controls go in from the left, each put at the right edge first, so that
    // each later one ends up further right.
    int edge = 2000;
    auto placeRight = [&edge](gui::TControl* c) { c->SetLeft(edge += 100); };

    BackToolButton =
        ToolButton(ToolPanel, Glyph::back, 27, toolButtonsTransparent,
                   Caption("MSG_BTN_BACK_HINT", "Go To Last Folder Visited"), new TbsSkinSpeedButton(this));
    placeRight(BackToolButton);
    BackToolButton->SkinDataName = "toolbutton";
    BackToolButton->OnClick = [this](gui::TObject* s) { BackToolButtonClick(s); };
    UpToolButton = ToolButton(ToolPanel, Glyph::up, 27, toolButtonsTransparent,
                              Caption("MSG_BTN_UP_HINT", "Up One Level"), new TbsSkinSpeedButton(this));
    placeRight(UpToolButton);
    UpToolButton->SkinDataName = "toolbutton";
    UpToolButton->OnClick = [this](gui::TObject* s) { UpToolButtonClick(s); };
    NewFolderToolButton =
        ToolButton(ToolPanel, Glyph::newFolder, 27, toolButtonsTransparent,
                   Caption("MSG_BTN_NEWFOLDER_HINT", "Create New Folder"), new TbsSkinSpeedButton(this));
    placeRight(NewFolderToolButton);
    NewFolderToolButton->SkinDataName = "toolbutton";
    NewFolderToolButton->OnClick = [this](gui::TObject* s) { NewFolderToolButtonClick(s); };

    auto* rightSpacer = new gui::TBevel(this);
    rightSpacer->SetParent(ToolPanel);
    rightSpacer->SetShape(gui::bsSpacer);
    rightSpacer->SetWidth(10);
    placeRight(rightSpacer);
    rightSpacer->SetAlign(gui::alRight);

    StylePopupMenu = new TbsSkinPopupMenu(this);
    auto addItem = [this](const char* key, const char* text, gui::TListViewStyle style) {
        auto* item = new gui::TMenuItem(this);
        item->SetCaption(Caption(key, text));
        item->SetRadioItem(true);
        item->OnClick = [this, style](gui::TObject*) { SetViewStyle(style); };
        StylePopupMenu->Items()->Add(item);
        return item;
    };
    IconMenuItem = addItem("MSG_LV_ICON", "Large icons", gui::vsIcon);
    SmallIconMenuItem = addItem("MSG_LV_SMALLICON", "Small icons", gui::vsSmallIcon);
    ListMenuItem = addItem("MSG_LV_LIST", "List", gui::vsList);
    ReportMenuItem = addItem("MSG_LV_DETAILS", "Details", gui::vsReport);

    StyleToolButton = new TbsSkinMenuSpeedButton(this);
    ToolButton(ToolPanel, Glyph::viewStyle, 37, toolButtonsTransparent,
               Caption("MSG_BTN_VIEWMENU_HINT", "View Menu"), StyleToolButton);
    placeRight(StyleToolButton);
    StyleToolButton->SkinDataName = "toolmenubutton";
    StyleToolButton->SkinPopupMenu = StylePopupMenu;

    ShellBox = new TbsSkinShellComboBox(this);
    ShellBox->SetParent(ToolPanel);
    ShellBox->SetWidth(190);
    ShellBox->SetAlign(gui::alClient);
    ShellBox->SetDropDownCount(10);

    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(gui::alBottom);
    BottomPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(80);

    FileListViewPanel = new TbsSkinPanel(this);
    FileListViewPanel->SetParent(this);
    FileListViewPanel->SetAlign(gui::alClient);
    FileListViewPanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);

    FLVHScrollBar = new TbsSkinScrollBar(this);
    FLVHScrollBar->SetKind(TScrollBarKind::sbHorizontal);
    FLVHScrollBar->SetParent(FileListViewPanel);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetAlign(gui::alBottom);
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetEnabled(false);
    FLVHScrollBar->SetSkinDataName("hscrollbar");

    FLVVScrollBar = new TbsSkinScrollBar(this);
    FLVVScrollBar->SetKind(TScrollBarKind::sbVertical);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar->SetAlign(gui::alRight);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetEnabled(false);
    FLVVScrollBar->SetSkinDataName("vscrollbar");

    FileListView = new TbsSkinFileListView(this);
    FileListView->SetParent(FileListViewPanel);
    FileListView->SetViewStyle(gui::vsList);
    FileListView->SetShowColumnHeaders(true);
    FileListView->SetAlign(gui::alClient);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->OnChange = [this](gui::TObject* s) { FLVChange(s); };
    FileListView->OnPathChanged = [this](gui::TObject* s) { FLVPathChange(s); };
    FileListView->OnDblClick = [this](gui::TObject* s) { FLVDBLClick(s); };
    FileListView->OnKeyPress = [this](gui::TObject*, char32_t& key) { FLVKeyPress(key); };
    FileListView->SetHideSelection(false);
    FileListView->SetShellComboBox(ShellBox);

    const int w = ClientWidth();
    FileNameEdit = new TbsSkinEdit(this);
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetBounds(70, 10, w - 160, 21);
    FileNameEdit->SetDefaultHeight(21);
    FileNameEdit->OnKeyPress = [this](gui::TObject*, char32_t& key) { EditKeyPress(key); };
    FileNameEdit->SetAnchors(gui::akLeft | gui::akTop | gui::akRight);

    FilterComboBox = new TbsSkinFilterComboBox(this);
    FilterComboBox->SetParent(BottomPanel);
    FilterComboBox->SetBounds(70, 45, w - 160, 21);
    FilterComboBox->SetAnchors(gui::akLeft | gui::akTop | gui::akRight);
    FilterComboBox->OnChange = [this](gui::TObject* s) { FCBChange(s); };

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetParent(BottomPanel);
    OpenButton->SetCaption(SaveMode ? Caption("MSG_BTN_SAVE", "&Save") : Caption("MSG_BTN_OPEN", "&Open"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetBounds(w - 80, 10, 70, 25);
    OpenButton->SetDefaultHeight(25);
    OpenButton->OnClick = [this](gui::TObject* s) { OpenButtonClick(s); };
    OpenButton->SetAnchors(gui::akTop | gui::akRight);

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetCaption(Caption("MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(w - 80, 45, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->ModalResult = gui::mrCancel;
    CancelButton->Cancel = true;
    CancelButton->SetAnchors(gui::akTop | gui::akRight);

    OpenFileLabel = new TbsSkinStdLabel(this);
    OpenFileLabel->SetParent(BottomPanel);
    OpenFileLabel->SetCaption(Caption("MSG_FILENAME", "File name:"));
    OpenFileLabel->SetLeft(10);
    OpenFileLabel->SetTop(10);
    OpenFileLabel->SetAutoSize(true);

    FileTypeLabel = new TbsSkinStdLabel(this);
    FileTypeLabel->SetParent(BottomPanel);
    FileTypeLabel->SetCaption(Caption("MSG_FILETYPE", "File type:"));
    FileTypeLabel->SetLeft(10);
    FileTypeLabel->SetTop(45);
    FileTypeLabel->SetAutoSize(true);

    SetActiveControl(FileNameEdit);
}

std::string TbsOpenDlgForm::Caption(const char* key, const char* builtIn) const {
    if (CtrlSD && CtrlSD->ResourceStrData()) return CtrlSD->ResourceStrData()->GetResStr(key);
    return builtIn;
}

std::string TbsOpenDlgForm::FilterExt() {
    return FilterExtension(FilterComboBox->Mask());
}

std::string TbsOpenDlgForm::DefaultExtension() {
    return DefaultExt.empty() ? FilterExt() : "." + DefaultExt;
}

std::string TbsOpenDlgForm::FolderPart() {
    TbsShellFolder* root = FileListView->RootFolder();
    std::string p = root ? root->FullObjectName() : std::string();
    if (!p.empty() && p.back() != '/') p += '/';
    return p;
}

void TbsOpenDlgForm::SetViewStyle(gui::TListViewStyle style) {
    FileListView->SetViewStyle(style);
    IconMenuItem->SetChecked(style == gui::vsIcon);
    SmallIconMenuItem->SetChecked(style == gui::vsSmallIcon);
    ListMenuItem->SetChecked(style == gui::vsList);
    ReportMenuItem->SetChecked(style == gui::vsReport);
}

bool TbsOpenDlgForm::AskOverwrite() {
    TbsSkinMessage box(this);
    box.SetSkinData(BSF->SkinData());
    box.SetCtrlSkinData(CtrlSD);
    return box.MessageDlg(Caption("MSG_OVERWRITE", "Do you want to overwrite old file?"), mtWarning,
                          MsgButtons({mbOK, mbCancel}), 0) == gui::mrOk;
}

void TbsOpenDlgForm::OpenButtonClick(gui::TObject*) {
    const std::string n = ExpandHome(FileNameEdit->Text());
    const std::string s = FileListView->GetSelectedFile();
    const std::string p = FolderPart();
    // A typed absolute path stands as it is; anything else is read in the folder shown.
    const std::string t = !n.empty() && n.front() == '/' ? n : p + n;
    const std::string c = NameExtension(t).empty() ? t + DefaultExtension() : t;
    if (s.empty() && CheckFileExists && !SaveMode && !n.empty() && !FileExists(c)) return;
    if (n.empty()) return;
    if (SaveMode) {
        if (t.find('*') != std::string::npos) return;
        if (OverwritePromt && FileExists(c) && !AskOverwrite()) return;
        FileName = t;
        SetModalResult(gui::mrOk);
        return;
    }
    if (CheckFileExists) {
        FileName = s.empty() ? c : s;
        if (FileExists(FileName))
            SetModalResult(gui::mrOk);
        else
            FileName.clear();
        return;
    }
    FileName = s.empty() ? c : s;
    SetModalResult(gui::mrOk);
}

void TbsOpenDlgForm::FLVKeyPress(char32_t& key) {
    if (key == 13 && !FileListView->GetSelectedFile().empty()) OpenButtonClick(this);
}

void TbsOpenDlgForm::EditKeyPress(char32_t& key) {
    if (key != 13) return;
    const std::string n = ExpandHome(FileNameEdit->Text());
    if (n.find('*') != std::string::npos) {
        FileListView->SetMask(n);
    } else if (n.find('/') != std::string::npos) {
        const std::string folder = n.front() == '/' ? n : FolderPart() + n;
        if (FolderExists(folder))
            FileListView->SetPath(folder);
        else
            OpenButtonClick(this); // a path to a file
    } else {
        OpenButtonClick(this);
    }
}

void TbsOpenDlgForm::FLVDBLClick(gui::TObject*) {
    const std::string s = FileListView->GetSelectedFile();
    if (s.empty()) return;
    if (SaveMode && OverwritePromt && !AskOverwrite()) return;
    FileName = s;
    SetModalResult(gui::mrOk);
}

void TbsOpenDlgForm::FLVChange(gui::TObject*) {
    const std::string s = FileListView->GetSelectedFile();
    const std::string name = os::ExtractFileName(s);
    if (!name.empty()) FileNameEdit->SetText(name);
    if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::FLVPathChange(gui::TObject*) {
    if (!StopAddToHistory) InitHistory();
    FocusFirstItem();
    if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::FocusFirstItem() {
    // Sent by index: the rows of the virtual list handed out are copies without one.
    if (FileListView->FolderCount() == 0 || !FileListView->HandleAllocated()) return;
    LVITEM it{};
    it.stateMask = it.state = LVIS_FOCUSED;
    SendMessage(FileListView->Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&it));
}

void TbsOpenDlgForm::InitHistory() {
    TbsShellFolder* root = FileListView->RootFolder();
    if (!root) return;
    if (!FolderHistory.empty() && SameItemIDList(FolderHistory.back().get(), root->AbsoluteID())) return;
    FolderHistory.push_back(CopyItemIDList(root->AbsoluteID()));
}

void TbsOpenDlgForm::BackToolButtonClick(gui::TObject*) {
    if (FolderHistory.size() < 2) return;
    StopAddToHistory = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{StopAddToHistory};
    TItemIDList previous = CopyItemIDList(FolderHistory[FolderHistory.size() - 2].get());
    FileListView->FollowID(previous.get());
    FolderHistory.pop_back();
}

void TbsOpenDlgForm::UpToolButtonClick(gui::TObject*) {
    FileListView->Back();
}

void TbsOpenDlgForm::NewFolderToolButtonClick(gui::TObject*) {
    const std::string folder = FolderPart();
    if (folder.empty()) return; // no folder can be made in a virtual one
    ++NewFolderCount;
    std::string name = Caption("MSG_NEWFOLDER", "New Folder");
    if (NewFolderCount > 1) name += "(" + std::to_string(NewFolderCount) + ")";
    const std::string full = folder + name;
    if (FolderExists(full)) return;
    if (::mkdir(full.c_str(), 0777) != 0) throw EInOutError(errno, full);
    FileListView->RootChanged();
    gui::Application->ProcessMessages();
    for (int i = 0; i < FileListView->FolderCount(); ++i)
        if (FileListView->FolderAt(i)->DisplayName() == name) {
            if (FileListView->HandleAllocated()) {
                FileListView->SetFocus();
                SendMessage(FileListView->Handle(), LVM_EDITLABEL, static_cast<WPARAM>(i), 0);
            }
            break;
        }
}

void TbsOpenDlgForm::FCBChange(gui::TObject*) {
    FileListView->SetMask(FilterComboBox->Mask());
    if (!SaveMode) return;
    const std::string e = FilterExt();
    std::string n = FileNameEdit->Text();
    if (e.empty() || n.empty()) return;
    const std::string old = NameExtension(n);
    n = n.substr(0, n.size() - old.size()) + e;
    FileNameEdit->SetText(n);
}

// --- the component ---------------------------------------------------------------------------

TbsSkinOpenDialog::TbsSkinOpenDialog(os::TComponent* owner) : os::TComponent(owner) {
    defaultFont_.SetName("Arial");
    defaultFont_.SetHeight(14);
    defaultFont_.SetStyle(0);
}

TbsSkinOpenDialog::~TbsSkinOpenDialog() {
    MarkDestroying();
    SetSkinData(nullptr);
    SetCtrlSkinData(nullptr);
}

void TbsSkinOpenDialog::SetSkinData(TbsSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_ && skinData_ != ctrlSkinData_) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinOpenDialog::SetCtrlSkinData(TbsSkinData* value) {
    if (ctrlSkinData_ == value) return;
    if (ctrlSkinData_ && ctrlSkinData_ != skinData_) ctrlSkinData_->RemoveFreeNotification(this);
    ctrlSkinData_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinOpenDialog::Notification(os::TComponent* component, os::TOperation operation) {
    os::TComponent::Notification(component, operation);
    if (operation != os::TOperation::opRemove) return;
    if (component == skinData_) skinData_ = nullptr;
    if (component == ctrlSkinData_) ctrlSkinData_ = nullptr;
}

void TbsSkinOpenDialog::SetFileName(const std::string& value) {
    fileName_ = value;
    if (dlgFrm_) dlgFrm_->FileNameEdit->SetText(value);
}

std::string TbsSkinOpenDialog::GetSelectedFile() {
    return dlgFrm_ ? dlgFrm_->FileListView->GetSelectedFile() : std::string();
}

std::unique_ptr<TbsOpenDlgForm> TbsSkinOpenDialog::NewForm() {
    return std::make_unique<TbsOpenDlgForm>(gui::Application, ToolButtonsTransparent, ctrlSkinData_,
                                            SaveMode);
}

std::string TbsSkinOpenDialog::StartFolder() const {
    std::string program = os::ExeFolder();
    std::string start;
    if (const std::string dir = os::ExtractFilePath(fileName_); !dir.empty())
        start = dir;
    else if (InitialDir.empty())
        start = program;
    else
        start = FolderExists(InitialDir) ? InitialDir : program;
    if (FolderExists(start)) return start;
    if (!InitialDir.empty() && FolderExists(InitialDir)) return InitialDir;
    const char* home = std::getenv("HOME");
    if (home && FolderExists(home)) return home;
    return "/";
}

bool TbsSkinOpenDialog::Execute() {
    if (OnShow) OnShow(this);
    std::unique_ptr<TbsOpenDlgForm> form = NewForm();
    dlgFrm_ = form.get();
    struct End {
        TbsSkinOpenDialog* self;
        std::unique_ptr<TbsOpenDlgForm>& form;
        ~End() {
            if (self->OnClose) self->OnClose(self);
            form.reset();
            self->dlgFrm_ = nullptr;
        }
    } end{this, form};
    form->OverwritePromt = OverwritePromt;
    form->OnFolderChange = OnFolderChange;
    form->CheckFileExists = CheckFileExists;
    form->DefaultExt = DefaultExt;

    form->SetCaption(Title);
    TbsSkinForm* bsf = form->BSF;
    bsf->SetBorderIcons(0);
    bsf->SetSkinData(skinData_);
    bsf->SetMenusSkinData(ctrlSkinData_);
    bsf->MinWidth = DialogMinWidth;
    bsf->MinHeight = DialogMinHeight;
    bsf->AssignAlphaBlend(AlphaBlend, AlphaBlendAnimation, AlphaBlendValue);
    for (TbsSkinCustomComboBox* box : {static_cast<TbsSkinCustomComboBox*>(form->ShellBox),
                                       static_cast<TbsSkinCustomComboBox*>(form->FilterComboBox)}) {
        box->AlphaBlend = CtrlAlphaBlend;
        box->AlphaBlendValue = CtrlAlphaBlendValue;
        box->AlphaBlendAnimation = CtrlAlphaBlendAnimation;
    }
    bsf->MenusAlphaBlend = CtrlAlphaBlend;
    bsf->MenusAlphaBlendValue = CtrlAlphaBlendValue;
    bsf->MenusAlphaBlendAnimation = CtrlAlphaBlendAnimation;

    form->OpenButton->SetDefaultFont(&defaultFont_);
    form->CancelButton->SetDefaultFont(&defaultFont_);
    form->ShellBox->SetDefaultFont(&defaultFont_);
    form->FileListView->SetDefaultFont(&defaultFont_);

    form->SetViewStyle(ListViewStyle);
    form->FileListView->SetRoot(StartFolder());
    form->FileListView->HeaderSkinDataName = LVHeaderSkinDataName;
    form->FileListView->SetSkinData(ctrlSkinData_);
    form->FileListView->SetMultiSelect(MultiSelection);
    if (ShowHiddenFiles) form->FileListView->SetObjectTypes(form->FileListView->ObjectTypes() | otHidden);

    form->FilterComboBox->SetFilter(Filter);
    form->FilterComboBox->SetItemIndex(FilterIndex - 1);
    form->FileListView->SetMask(form->FilterComboBox->Mask());

    form->FileListViewPanel->SetSkinData(ctrlSkinData_);
    form->BottomPanel->SetSkinData(ctrlSkinData_);
    form->ToolPanel->SetSkinData(ctrlSkinData_);
    form->Drivelabel->SetSkinData(ctrlSkinData_);
    for (TbsSkinSpeedButton* b :
         {form->UpToolButton, form->BackToolButton, static_cast<TbsSkinSpeedButton*>(form->StyleToolButton),
          form->NewFolderToolButton})
        b->SetSkinData(ctrlSkinData_);
    form->StylePopupMenu->SetSkinData(ctrlSkinData_);
    form->FLVHScrollBar->SetSkinData(ctrlSkinData_);
    form->FLVVScrollBar->SetSkinData(ctrlSkinData_);
    form->FileNameEdit->SetSkinData(ctrlSkinData_);
    form->FilterComboBox->SetSkinData(ctrlSkinData_);
    form->OpenButton->SetSkinData(ctrlSkinData_);
    form->CancelButton->SetSkinData(ctrlSkinData_);
    form->OpenFileLabel->SetSkinData(ctrlSkinData_);
    form->FileTypeLabel->SetSkinData(ctrlSkinData_);
    form->ShellBox->SetSkinData(ctrlSkinData_);
    form->ShellBox->SetSkinDataName("combobox");
    FormReady(*form);

    int w = DialogWidth > 0 ? DialogWidth : DefaultDialogWidth();
    int h = DialogHeight > 0 ? DialogHeight : kDefaultHeight;
    if (skinData_ && !skinData_->Empty) {
        w = std::max(w, bsf->GetMinWidth());
        h = std::max(h, bsf->GetMinHeight());
    }
    form->SetClientSize(w, h);
    FormSized(*form);
    form->FocusFirstItem();

    form->FileNameEdit->SetText(os::ExtractFileName(fileName_));
    form->InitHistory();
    const bool ok = form->ShowModal() == gui::mrOk;
    FilterIndex = form->FilterComboBox->ItemIndex() + 1;
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    ListViewStyle = form->FileListView->ViewStyle();
    FormClosed(*form);
    if (ok) {
        fileName_ = form->FileName;
        if (SaveMode && NameExtension(fileName_).empty()) fileName_ += form->FilterExt();
        Files = form->FileListView->GetSelectedFiles();
        if (SaveMode && NameExtension(fileName_).empty() && !DefaultExt.empty())
            fileName_ += "." + DefaultExt;
    }
    return ok;
}

} // namespace skin
