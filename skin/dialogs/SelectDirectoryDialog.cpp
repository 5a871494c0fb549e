#include "skin/dialogs/SelectDirectoryDialog.h"

#include "gui/Application.h"
#include "gui/Bevel.h"
#include "gui/Bitmap.h"
#include "skin/core/ResourceStrData.h"
#include "skin/shell/FilePaths.h"

#include <cerrno>
#include <sys/stat.h>

namespace skin {

namespace {

constexpr int kDefaultClient = 280;

// The new-folder glyph: a folder with a plus, drawn here so that any skin shows it.
void DrawNewFolderGlyph(gui::TBitmap& b) {
    b.SetWidth(16);
    b.SetHeight(16);
    gui::TCanvas* c = b.Canvas();
    const gui::TColor key = RGB(255, 0, 255), body = RGB(0xE8, 0xB8, 0x4A), edge = RGB(0x9A, 0x6A, 0x10),
                      plus = RGB(0x1E, 0x8E, 0x3E);
    c->Brush()->SetColor(key);
    c->FillRect(gui::Rect(0, 0, 16, 16));
    c->Brush()->SetColor(body);
    c->Pen()->SetColor(edge);
    c->Rectangle(1, 5, 13, 14);
    c->FillRect(gui::Rect(2, 3, 7, 5));
    c->Brush()->SetColor(plus);
    c->FillRect(gui::Rect(12, 1, 14, 8));
    c->FillRect(gui::Rect(9, 3, 17, 5));
    b.SetTransparent(true);
    b.SetTransparentColor(key);
}

} // namespace

// --- the form --------------------------------------------------------------------------------

TbsSelDirDlgForm::TbsSelDirDlgForm(gui::TComponent* owner, bool toolButtonsTransparent, bool showToolBar,
                                   TbsSkinData* ctrlSkinData)
    : gui::TForm(owner), CtrlSD(ctrlSkinData), ShowToolBar(showToolBar) {
    KeyPreview = true;
    SetPosition(gui::poScreenCenter);
    BSF = new TbsSkinForm(this);

    if (ShowToolBar) {
        ToolPanel = new TbsSkinPanel(this);
        ToolPanel->SetParent(this);
        ToolPanel->SetAlign(gui::alTop);
        ToolPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
        ToolPanel->SetDefaultHeight(25);
        ToolPanel->SetSkinDataName("toolpanel");

        NewFolderToolButton = new TbsSkinSpeedButton(this);
        NewFolderToolButton->SetParent(ToolPanel);
        NewFolderToolButton->SetAlign(gui::alRight);
        NewFolderToolButton->SetDefaultHeight(25);
        NewFolderToolButton->SetDefaultWidth(27);
        NewFolderToolButton->SkinDataName = "toolbutton";
        NewFolderToolButton->SetNumGlyphs(1);
        gui::TBitmap glyph;
        DrawNewFolderGlyph(glyph);
        NewFolderToolButton->SetGlyph(&glyph);
        NewFolderToolButton->Hint = Caption("MSG_BTN_NEWFOLDER_HINT", "Create New Folder");
        NewFolderToolButton->SetShowHint(true);
        NewFolderToolButton->SetFlat(toolButtonsTransparent);
        NewFolderToolButton->OnClick = [this](gui::TObject* s) { NewFolderToolButtonClick(s); };

        auto* spacer = new gui::TBevel(this);
        spacer->SetParent(ToolPanel);
        spacer->SetShape(gui::bsSpacer);
        spacer->SetWidth(5);
        spacer->SetAlign(gui::alRight);

        DirEdit = new TbsSkinEdit(this);
        DirEdit->SetParent(ToolPanel);
        DirEdit->SetAlign(gui::alClient);
        DirEdit->SetDefaultHeight(25);
        DirEdit->SkinDataName = "edit";
        DirEdit->OnKeyPress = [this](gui::TObject*, char32_t& key) { DirEditKeyPress(key); };
    }

    DirTreeViewPanel = new TbsSkinPanel(this);
    DirTreeViewPanel->SetParent(this);
    DirTreeViewPanel->SetAlign(gui::alClient);
    DirTreeViewPanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    DirTreeViewPanel->SetHeight(200);

    VScrollBar = new TbsSkinScrollBar(this);
    VScrollBar->SetKind(TScrollBarKind::sbVertical);
    VScrollBar->SetParent(DirTreeViewPanel);
    VScrollBar->SetAlign(gui::alRight);
    VScrollBar->SetDefaultWidth(19);
    VScrollBar->SetEnabled(false);
    VScrollBar->SetSkinDataName("vscrollbar");

    HScrollBar = new TbsSkinScrollBar(this);
    HScrollBar->SetKind(TScrollBarKind::sbHorizontal);
    HScrollBar->SetParent(DirTreeViewPanel);
    HScrollBar->SetAlign(gui::alBottom);
    HScrollBar->SetDefaultHeight(19);
    HScrollBar->SetEnabled(false);
    HScrollBar->SetBothMarkerWidth(19);
    HScrollBar->SetSkinDataName("hscrollbar");

    DirTreeView = new TbsSkinDirTreeView(this);
    DirTreeView->SetParent(DirTreeViewPanel);
    DirTreeView->SetAlign(gui::alClient);
    DirTreeView->SetHScrollBar(HScrollBar);
    DirTreeView->SetVScrollBar(VScrollBar);
    DirTreeView->SetObjectTypes(DirTreeView->ObjectTypes() | otHidden);
    DirTreeView->SetHideSelection(false);
    DirTreeView->SetRoot("rfDesktop");
    DirTreeView->OnChange = [this](gui::TObject*, gui::TTreeNode* n) { DirTreeViewChange(n); };

    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(gui::alBottom);
    BottomPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(50);

    OkButton = new TbsSkinButton(this);
    OkButton->SetParent(BottomPanel);
    OkButton->SetDefault(true);
    OkButton->SetCaption(Caption("MSG_BTN_OK", "OK"));
    OkButton->SetCanFocused(true);
    OkButton->SetBounds(20, 15, 70, 25);
    OkButton->SetDefaultHeight(25);
    OkButton->ModalResult = gui::mrOk;

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetCaption(Caption("MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(100, 15, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->ModalResult = gui::mrCancel;
    CancelButton->Cancel = true;
}

std::string TbsSelDirDlgForm::Caption(const char* key, const char* builtIn) const {
    if (CtrlSD && CtrlSD->ResourceStrData()) return CtrlSD->ResourceStrData()->GetResStr(key);
    return builtIn;
}

void TbsSelDirDlgForm::UpdateOkButton() {
    TbsShellFolder* f = DirTreeView->SelectedFolder();
    OkButton->SetEnabled(f && !f->FullObjectName().empty());
}

void TbsSelDirDlgForm::DirEditKeyPress(char32_t& key) {
    if (key != 13) return;
    const std::string text = DirEdit->Text();
    if (!text.empty() && FolderExists(text)) DirTreeView->SetPath(text);
}

void TbsSelDirDlgForm::DirTreeViewChange(gui::TTreeNode*) {
    UpdateOkButton();
    if (ShowToolBar && DirEdit) DirEdit->SetText(DirTreeView->Path());
}

void TbsSelDirDlgForm::NewFolderToolButtonClick(gui::TObject*) {
    gui::TTreeNode* node = DirTreeView->Selected();
    TbsShellFolder* f = DirTreeView->SelectedFolder();
    if (!node || !f) return;
    const std::string parent = f->FullObjectName();
    if (parent.empty()) return; // no folder can be made in a virtual one
    const std::string name = AppendPathPart(parent, Caption("MSG_NEWFOLDER", "New Folder"));
    if (FolderExists(name)) return;
    if (::mkdir(name.c_str(), 0777) != 0) throw EInOutError(errno, name);
    DirTreeView->Refresh(node);
}

// --- the component ---------------------------------------------------------------------------

TbsSkinSelectDirectoryDialog::TbsSkinSelectDirectoryDialog(os::TComponent* owner) : os::TComponent(owner) {
    defaultFont_.SetName("Arial");
    defaultFont_.SetHeight(14);
    defaultFont_.SetStyle(0);
}

TbsSkinSelectDirectoryDialog::~TbsSkinSelectDirectoryDialog() {
    MarkDestroying();
    SetSkinData(nullptr);
    SetCtrlSkinData(nullptr);
}

void TbsSkinSelectDirectoryDialog::SetSkinData(TbsSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_ && skinData_ != ctrlSkinData_) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::SetCtrlSkinData(TbsSkinData* value) {
    if (ctrlSkinData_ == value) return;
    if (ctrlSkinData_ && ctrlSkinData_ != skinData_) ctrlSkinData_->RemoveFreeNotification(this);
    ctrlSkinData_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::Notification(os::TComponent* component, os::TOperation operation) {
    os::TComponent::Notification(component, operation);
    if (operation != os::TOperation::opRemove) return;
    if (component == skinData_) skinData_ = nullptr;
    if (component == ctrlSkinData_) ctrlSkinData_ = nullptr;
}

bool TbsSkinSelectDirectoryDialog::Execute() {
    if (OnShow) OnShow(this);
    auto form = std::make_unique<TbsSelDirDlgForm>(gui::Application, ToolButtonsTransparent, ShowToolBar,
                                                   ctrlSkinData_);
    dlgFrm_ = form.get();
    struct End {
        TbsSkinSelectDirectoryDialog* self;
        std::unique_ptr<TbsSelDirDlgForm>& form;
        ~End() {
            if (self->OnClose) self->OnClose(self);
            form.reset();
            self->dlgFrm_ = nullptr;
        }
    } end{this, form};

    form->SetCaption(Title);
    TbsSkinForm* bsf = form->BSF;
    bsf->SetBorderIcons(0);
    bsf->SetHideCaptionButtons(true); // the dialog ends by its own buttons or Esc
    bsf->SetSkinData(skinData_);
    bsf->SetMenusSkinData(ctrlSkinData_);
    bsf->MinWidth = DialogMinWidth;
    bsf->MinHeight = DialogMinHeight;
    bsf->AssignAlphaBlend(AlphaBlend, AlphaBlendAnimation, AlphaBlendValue);

    form->DirTreeViewPanel->SetSkinData(ctrlSkinData_);
    form->DirTreeView->SetDefaultFont(&defaultFont_);
    form->DirTreeView->SetSkinData(ctrlSkinData_);

    if (!Directory.empty() && FolderExists(Directory))
        form->DirTreeView->SetPath(Directory);
    else
        form->DirTreeView->ExpandMyComputer();
    form->UpdateOkButton();

    form->HScrollBar->SetSkinData(ctrlSkinData_);
    form->VScrollBar->SetSkinData(ctrlSkinData_);
    for (TbsSkinButton* b : {form->OkButton, form->CancelButton}) {
        b->SetSkinData(ctrlSkinData_);
        b->SetDefaultFont(&defaultFont_);
    }
    form->BottomPanel->SetSkinData(ctrlSkinData_);
    if (form->ShowToolBar) {
        form->ToolPanel->SetSkinData(ctrlSkinData_);
        form->NewFolderToolButton->SetSkinData(ctrlSkinData_);
        form->DirEdit->SetSkinData(ctrlSkinData_);
        form->DirEdit->SetText(form->DirTreeView->Path());
    }

    int w = DialogWidth > 0 ? DialogWidth : kDefaultClient;
    int h = DialogHeight > 0 ? DialogHeight : kDefaultClient;
    if (skinData_ && !skinData_->Empty) {
        w = std::max(w, bsf->GetMinWidth());
        h = std::max(h, bsf->GetMinHeight());
    }
    form->SetClientSize(w, h);

    form->SetActiveControl(form->DirTreeView);
    bool ok = form->ShowModal() == gui::mrOk;
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    if (ok) {
        Directory = form->DirTreeView->Path();
        if (onChange_) onChange_(this);
    }
    return ok;
}

} // namespace skin
