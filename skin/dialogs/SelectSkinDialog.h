#pragma once
// The skin chooser: a small modal window with the stored skins' names on the left and, on
// the right, a miniature form wearing the highlighted skin.  The preview has skin data of its
// own, so choosing never touches the program's skin; the caller applies the answer.
#include "gui/Font.h"
#include "gui/Forms.h"
#include "gui/List.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinPanel.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TbsSelectSkinDlgForm : public gui::TForm {
public:
    // Over the items of a stored-skin list, skinIndex highlighted.
    TbsSelectSkinDlgForm(gui::TComponent* owner, TbsSkinData* ctrlSkinData, int skinIndex,
                         TbsCompressedSkinList* skinList);
    // Over the stored-skin components of form, defaultSkin highlighted (the first without it).
    TbsSelectSkinDlgForm(gui::TComponent* owner, TbsSkinData* ctrlSkinData,
                         TbsCompressedStoredSkin* defaultSkin, os::TComponent* form);
    std::string ClassName() const override { return "TbsSelectSkinDlgForm"; }

    TbsCompressedStoredSkin* SelectedSkin() const { return PreviewSkinData->CompressedStoredSkin(); }

    TbsSkinForm* BSF = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinPanel* PreviewPanel = nullptr; // the framed area the preview sits in
    gui::TForm* PreviewForm = nullptr;
    TbsSkinForm* PreviewBSF = nullptr;
    TbsSkinData* PreviewSkinData = nullptr;
    TbsSkinButton* PreviewButton = nullptr;
    TbsSkinListBox* SkinsListBox = nullptr;

    void SLBOnChange(gui::TObject* sender);
    void SLBOnDblClick(gui::TObject* sender);

private:
    void Build(TbsSkinData* ctrlSkinData);
    void ShowPreview();
    void ReloadPreviewButton();
    TbsCompressedSkinList* csSkinList_ = nullptr;
    std::vector<TbsCompressedStoredSkin*> storedSkins_; // second form only; not owned
};

class TbsSelectSkinDialog : public os::TComponent {
public:
    explicit TbsSelectSkinDialog(os::TComponent* owner);
    ~TbsSelectSkinDialog() override;
    std::string ClassName() const override { return "TbsSelectSkinDialog"; }

    TbsCompressedSkinList* SkinList() const { return skinList_; }
    void SetSkinList(TbsCompressedSkinList* value);
    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TbsSkinData* value);
    gui::TFont* DefaultFont() { return &defaultFont_; }
    void SetDefaultFont(const gui::TFont* value) { defaultFont_.Assign(value); }
    std::string Title = "Select skin";
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    int SelectedSkinIndex() const { return selectedSkinIndex_; }
    TbsCompressedStoredSkin* SelectedSkin() const { return selectedSkin_; }

    // False at once without a skin list.  True when the user confirmed; SelectedSkinIndex
    // is then the chosen index.
    bool Execute(int SkinIndex);
    // Over the stored-skin components of this component's owner.
    bool Execute(TbsCompressedStoredSkin* DefaultCompressedSkin);
    TbsSelectSkinDlgForm* Form() const { return dlgFrm_; } // while Execute runs

protected:
    void Notification(os::TComponent* component, os::TOperation operation) override;

private:
    bool Run(std::unique_ptr<TbsSelectSkinDlgForm> form, bool byIndex);
    void SetReference(TbsSkinData*& field, TbsSkinData* value);

    TbsCompressedSkinList* skinList_ = nullptr;
    TbsSkinData* skinData_ = nullptr;
    TbsSkinData* ctrlSkinData_ = nullptr;
    gui::TFont defaultFont_;
    int selectedSkinIndex_ = -1;
    TbsCompressedStoredSkin* selectedSkin_ = nullptr;
    TbsSelectSkinDlgForm* dlgFrm_ = nullptr;
};

} // namespace skin
