#include "skin/dialogs/SelectSkinDialog.h"

#include "gui/Application.h"
#include "skin/core/ResourceStrData.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int kClientW = 420, kClientH = 240;

std::string SkinText(TbsSkinData* sd, const char* key, const char* builtIn) {
    if (sd && sd->ResourceStrData()) return sd->ResourceStrData()->GetResStr(key);
    return builtIn;
}

} // namespace

// --- the window ------------------------------------------------------------------------------

void TbsSelectSkinDlgForm::Build(TbsSkinData* ctrlSkinData) {
    SetPosition(gui::poScreenCenter);
    SetBorderStyle(gui::bsSingle);
    KeyPreview = true;
    BSF = new TbsSkinForm(this);

    PreviewPanel = new TbsSkinPanel(this);
    PreviewPanel->SetParent(this);
    PreviewPanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    PreviewPanel->SetSkinDataName("previewpanel");
    PreviewPanel->SetBounds(186, 6, 228, 178);

    PreviewForm = new gui::TForm(this);
    PreviewForm->SetVisible(false);
    PreviewForm->SetParent(this);
    PreviewForm->SetCaption(SkinText(ctrlSkinData, "MSG_PREVIEWSKIN", "Preview"));
    PreviewForm->SetEnabled(false); // a picture of a form: it takes no input
    PreviewForm->SetBounds(0, 0, 220, 170);

    PreviewSkinData = new TbsSkinData(this);
    if (ctrlSkinData && ctrlSkinData->ResourceStrData())
        PreviewSkinData->SetResourceStrData(ctrlSkinData->ResourceStrData());

    PreviewButton = new TbsSkinButton(PreviewForm);
    PreviewButton->SetParent(PreviewForm);
    PreviewButton->SetBounds(20, 20, 100, 25);
    PreviewButton->SetCaption(SkinText(ctrlSkinData, "MSG_PREVIEWBUTTON", "Button"));
    PreviewButton->SetSkinData(PreviewSkinData);

    PreviewBSF = new TbsSkinForm(PreviewForm);
    PreviewBSF->SetSkinData(PreviewSkinData);
    PreviewBSF->PreviewMode = true; // drawn active, its caption objects still

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetParent(this);
    OpenButton->SetDefault(true);
    OpenButton->SetCaption(SkinText(ctrlSkinData, "MSG_BTN_OK", "OK"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetBounds(260, 200, 70, 25);
    OpenButton->SetDefaultHeight(25);
    OpenButton->ModalResult = gui::mrOk;

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(this);
    CancelButton->SetCaption(SkinText(ctrlSkinData, "MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(340, 200, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->ModalResult = gui::mrCancel;
    CancelButton->Cancel = true;

    SkinsListBox = new TbsSkinListBox(this);
    SkinsListBox->SetParent(this);
    SkinsListBox->SetBounds(10, 10, 170, 170);
    SkinsListBox->OnListBoxClick = [this](gui::TObject* s) { SLBOnChange(s); };
    SkinsListBox->OnListBoxDblClick = [this](gui::TObject* s) { SLBOnDblClick(s); };
}

void TbsSelectSkinDlgForm::ShowPreview() {
    PreviewForm->SetLeft(190);
    PreviewForm->SetTop(10);
    PreviewForm->SetVisible(true);
    PreviewForm->BringToFront(); // over the stage it stands on
    SetActiveControl(SkinsListBox->ListBox());
    ReloadPreviewButton();
}

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(gui::TComponent* owner, TbsSkinData* ctrlSkinData, int skinIndex,
                                           TbsCompressedSkinList* skinList)
    : gui::TForm(owner), csSkinList_(skinList) {
    Build(ctrlSkinData);
    for (int i = 0; i < skinList->Skins().Count(); ++i) {
        const TbsSkinListItem& item = skinList->Skins()[i];
        SkinsListBox->Items()->Add(item.Description.empty() ? item.Name : item.Description);
    }
    SkinsListBox->SetItemIndex(skinIndex);
    if (skinIndex > 2) SkinsListBox->SetTopIndex(skinIndex - 2); // the highlight in sight
    // The index first: linking the list then loads that one skin, once.
    PreviewSkinData->SetSkinIndex(skinIndex);
    PreviewSkinData->SetSkinList(skinList);
    ShowPreview();
}

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(gui::TComponent* owner, TbsSkinData* ctrlSkinData,
                                           TbsCompressedStoredSkin* defaultSkin, os::TComponent* form)
    : gui::TForm(owner) {
    Build(ctrlSkinData);
    int highlighted = 0;
    for (int i = 0; form && i < form->ComponentCount(); ++i)
        if (auto* s = dynamic_cast<TbsCompressedStoredSkin*>(form->Components(i))) {
            if (s == defaultSkin) highlighted = static_cast<int>(storedSkins_.size());
            storedSkins_.push_back(s);
            SkinsListBox->Items()->Add(s->Description.empty() ? s->Name() : s->Description);
        }
    if (!storedSkins_.empty()) {
        SkinsListBox->SetItemIndex(highlighted);
        PreviewSkinData->SetCompressedStoredSkin(storedSkins_[static_cast<size_t>(highlighted)]);
    }
    ShowPreview();
}

void TbsSelectSkinDlgForm::SLBOnChange(gui::TObject*) {
    int i = SkinsListBox->ItemIndex();
    if (csSkinList_) {
        if (i >= 0) PreviewSkinData->SetSkinIndex(i);
    } else if (i >= 0 && i < static_cast<int>(storedSkins_.size())) {
        PreviewSkinData->SetCompressedStoredSkin(storedSkins_[static_cast<size_t>(i)]);
    }
    ReloadPreviewButton();
}

// The skin change is told to top-level forms; the preview is a child, so its button is
// told here.
void TbsSelectSkinDlgForm::ReloadPreviewButton() {
    PreviewButton->BeforeChangeSkinData();
    PreviewButton->ChangeSkinData();
}

void TbsSelectSkinDlgForm::SLBOnDblClick(gui::TObject*) {
    SetModalResult(gui::mrOk);
}

// --- the component ---------------------------------------------------------------------------

TbsSelectSkinDialog::TbsSelectSkinDialog(os::TComponent* owner) : os::TComponent(owner) {
    defaultFont_.SetName("Arial");
    defaultFont_.SetHeight(14);
    defaultFont_.SetStyle(0);
}

TbsSelectSkinDialog::~TbsSelectSkinDialog() {
    MarkDestroying();
    SetSkinList(nullptr);
    SetSkinData(nullptr);
    SetCtrlSkinData(nullptr);
}

void TbsSelectSkinDialog::SetReference(TbsSkinData*& field, TbsSkinData* value) {
    if (field == value) return;
    TbsSkinData* old = field;
    field = value;
    if (old && old != skinData_ && old != ctrlSkinData_) old->RemoveFreeNotification(this);
    if (value) value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetSkinData(TbsSkinData* value) {
    SetReference(skinData_, value);
}

void TbsSelectSkinDialog::SetCtrlSkinData(TbsSkinData* value) {
    SetReference(ctrlSkinData_, value);
}

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* value) {
    if (skinList_ == value) return;
    if (skinList_) skinList_->RemoveFreeNotification(this);
    skinList_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSelectSkinDialog::Notification(os::TComponent* component, os::TOperation operation) {
    os::TComponent::Notification(component, operation);
    if (operation != os::TOperation::opRemove) return;
    if (component == skinData_) skinData_ = nullptr;
    if (component == ctrlSkinData_) ctrlSkinData_ = nullptr;
    if (component == skinList_) skinList_ = nullptr;
}

bool TbsSelectSkinDialog::Run(std::unique_ptr<TbsSelectSkinDlgForm> form, bool byIndex) {
    dlgFrm_ = form.get();
    struct End {
        TbsSelectSkinDialog* self;
        std::unique_ptr<TbsSelectSkinDlgForm>& form;
        ~End() {
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
    bsf->AssignAlphaBlend(AlphaBlend, AlphaBlendAnimation, AlphaBlendValue);
    for (TbsSkinButton* b : {form->OpenButton, form->CancelButton}) {
        b->SetDefaultFont(&defaultFont_);
        b->SetSkinData(ctrlSkinData_);
    }
    form->SkinsListBox->SetDefaultFont(&defaultFont_);
    form->SkinsListBox->SetSkinData(ctrlSkinData_);
    form->PreviewPanel->SetSkinData(ctrlSkinData_);

    int w = kClientW, h = kClientH;
    if (skinData_ && !skinData_->Empty) {
        w = std::max(w, bsf->GetMinWidth());
        h = std::max(h, bsf->GetMinHeight());
    }
    form->SetClientSize(w, h);

    selectedSkin_ = nullptr;
    if (byIndex) selectedSkinIndex_ = -1;
    if (form->ShowModal() != gui::mrOk) return false;
    if (byIndex)
        selectedSkinIndex_ = form->PreviewSkinData->SkinIndex();
    else
        selectedSkin_ = form->SelectedSkin();
    return true;
}

bool TbsSelectSkinDialog::Execute(int SkinIndex) {
    if (!skinList_) return false;
    return Run(std::make_unique<TbsSelectSkinDlgForm>(gui::Application, ctrlSkinData_, SkinIndex, skinList_),
               true);
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin) {
    return Run(std::make_unique<TbsSelectSkinDlgForm>(gui::Application, ctrlSkinData_, DefaultCompressedSkin,
                                                      Owner()),
               false);
}

} // namespace skin
