#pragma once
// The open and save dialogs with a picture preview: a panel at the right shows the selected
// file as a picture, a splitter sizes the panel, and a tool button switches between actual
// size (scrollable) and a picture stretched to the panel.
#include "gui/Image.h"
#include "skin/controls/SkinScrollBox.h"
#include "skin/controls/SkinSplitter.h"
#include "skin/dialogs/SkinOpenDialog.h"

namespace skin {

class TbsOpenPictureDlgForm : public TbsOpenDlgForm {
public:
    TbsOpenPictureDlgForm(gui::TComponent* owner, bool toolButtonsTransparent, TbsSkinData* ctrlSkinData,
                          bool saveMode);
    std::string ClassName() const override { return "TbsOpenPictureDlgForm"; }

    TbsSkinPanel* ImagePanel = nullptr;
    gui::TImage* Image = nullptr;
    TbsSkinScrollBox* ScrollBox = nullptr;
    TbsSkinScrollBar* SBVScrollBar = nullptr;
    TbsSkinScrollBar* SBHScrollBar = nullptr;
    TbsSkinSpeedButton* StretchButton = nullptr;
    TbsSkinSplitter* Splitter = nullptr;

    void FLVChange(gui::TObject* sender) override;
    void StretchButtonClick(gui::TObject* sender);
    // A file the picture classes cannot read leaves the preview empty.
    void LoadPreview(const std::string& path);
    bool Stretched() const { return StretchButton->Down(); }

private:
    void SizeImageToPicture();
};

class TbsSkinOpenPictureDialog : public TbsSkinOpenDialog {
public:
    explicit TbsSkinOpenPictureDialog(os::TComponent* owner);
    std::string ClassName() const override { return "TbsSkinOpenPictureDialog"; }

    bool StretchPicture = false; // open with the preview stretched
    int ImagePanelWidth = 190;   // written back after each Execute
    bool DialogStretch = false;  // the stretch button's last state
    TbsOpenPictureDlgForm* PictureForm() const { return static_cast<TbsOpenPictureDlgForm*>(Form()); }

protected:
    std::unique_ptr<TbsOpenDlgForm> NewForm() override;
    void FormReady(TbsOpenDlgForm& form) override;
    int DefaultDialogWidth() const override { return 550; }
    void FormSized(TbsOpenDlgForm& form) override;
    void FormClosed(TbsOpenDlgForm& form) override;
};

class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
public:
    explicit TbsSkinSavePictureDialog(os::TComponent* owner);
    std::string ClassName() const override { return "TbsSkinSavePictureDialog"; }
};

} // namespace skin
