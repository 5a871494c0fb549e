#include "skin/dialogs/SkinOpenPictureDialog.h"

#include "gui/Application.h"
#include "gui/Bitmap.h"
#include "os/Paths.h"

#include <sys/stat.h>

namespace skin {

namespace {

// The stretch glyph: a frame with arrows to its corners, drawn here so that any skin shows it.
void DrawStretchGlyph(gui::TBitmap& b) {
    b.SetWidth(16);
    b.SetHeight(16);
    gui::TCanvas* c = b.Canvas();
    const gui::TColor key = RGB(255, 0, 255), ink = RGB(0x30, 0x50, 0x90);
    c->Brush()->SetColor(key);
    c->FillRect(gui::Rect(0, 0, 16, 16));
    c->Brush()->SetColor(ink);
    c->FrameRect(gui::Rect(1, 1, 15, 15));
    for (int i = 0; i < 4; ++i) {
        c->FillRect(gui::Rect(3 + i, 3 + i, 5 + i, 5 + i));
        c->FillRect(gui::Rect(11 - i, 11 - i, 13 - i, 13 - i));
    }
    c->FillRect(gui::Rect(3, 3, 7, 4));
    c->FillRect(gui::Rect(3, 3, 4, 7));
    c->FillRect(gui::Rect(9, 12, 13, 13));
    c->FillRect(gui::Rect(12, 9, 13, 13));
    b.SetTransparent(true);
    b.SetTransparentColor(key);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

// --- the form --------------------------------------------------------------------------------

TbsOpenPictureDlgForm::TbsOpenPictureDlgForm(gui::TComponent* owner, bool toolButtonsTransparent,
                                             TbsSkinData* ctrlSkinData, bool saveMode)
    : TbsOpenDlgForm(owner, toolButtonsTransparent, ctrlSkinData, saveMode) {
    // The preview lies right of the list, the splitter between them.
    ImagePanel = new TbsSkinPanel(this);
    ImagePanel->SetParent(this);
    ImagePanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
    ImagePanel->SetLeft(5000);
    ImagePanel->SetWidth(200);
    ImagePanel->SetAlign(gui::alRight);

    Splitter = new TbsSkinSplitter(this);
    Splitter->SetParent(this);
    Splitter->SetLeft(4000);
    Splitter->SetWidth(10);
    Splitter->SetAlign(gui::alRight);
    Splitter->DefaultSize = 10;

    SBVScrollBar = new TbsSkinScrollBar(this);
    SBVScrollBar->SetKind(TScrollBarKind::sbVertical);
    SBVScrollBar->SetParent(ImagePanel);
    SBVScrollBar->SetAlign(gui::alRight);
    SBVScrollBar->SetDefaultWidth(19);
    SBVScrollBar->SetEnabled(false);
    SBVScrollBar->SetSkinDataName("vscrollbar");

    SBHScrollBar = new TbsSkinScrollBar(this);
    SBHScrollBar->SetKind(TScrollBarKind::sbHorizontal);
    SBHScrollBar->SetParent(ImagePanel);
    SBHScrollBar->SetAlign(gui::alBottom);
    SBHScrollBar->SetDefaultHeight(19);
    SBHScrollBar->SetEnabled(false);
    SBHScrollBar->SetBothMarkerWidth(19);
    SBHScrollBar->SetSkinDataName("hscrollbar");

    ScrollBox = new TbsSkinScrollBox(this);
    ScrollBox->SetParent(ImagePanel);
    ScrollBox->SetAlign(gui::alClient);
    ScrollBox->SetBorderStyle(TbsSkinBorderStyle::bvNone);
    ScrollBox->SetHScrollBar(SBHScrollBar);
    ScrollBox->SetVScrollBar(SBVScrollBar);

    Image = new gui::TImage(this);
    Image->SetParent(ScrollBox);
    Image->SetBounds(0, 0, 0, 0);

    StretchButton = new TbsSkinSpeedButton(this);
    StretchButton->SetParent(ToolPanel);
    StretchButton->SetLeft(5000);
    StretchButton->SetAlign(gui::alRight);
    StretchButton->SetDefaultWidth(27);
    StretchButton->SetDefaultHeight(25);
    StretchButton->GroupIndex = 2;
    StretchButton->AllowAllUp = true;
    StretchButton->SkinDataName = "toolbutton";
    StretchButton->SetNumGlyphs(1);
    gui::TBitmap glyph;
    DrawStretchGlyph(glyph);
    StretchButton->SetGlyph(&glyph);
    StretchButton->Hint = Caption("MSG_BTN_STRETCH_HINT", "Stretch Picture");
    StretchButton->SetShowHint(true);
    StretchButton->SetFlat(toolButtonsTransparent);
    StretchButton->OnClick = [this](gui::TObject* s) { StretchButtonClick(s); };

    // The bottom controls keep fixed places.
    FileNameEdit->SetAnchors(gui::akLeft | gui::akTop);
    FileNameEdit->SetBounds(70, 10, 280, 21);
    FilterComboBox->SetAnchors(gui::akLeft | gui::akTop);
    FilterComboBox->SetBounds(70, 45, 280, 21);
    OpenButton->SetAnchors(gui::akLeft | gui::akTop);
    OpenButton->SetBounds(370, 10, 70, 25);
    CancelButton->SetAnchors(gui::akLeft | gui::akTop);
    CancelButton->SetBounds(370, 45, 70, 25);
}

void TbsOpenPictureDlgForm::SizeImageToPicture() {
    Image->SetBounds(0, 0, Image->Picture()->Width(), Image->Picture()->Height());
    ScrollBox->UpDateScrollRange();
}

void TbsOpenPictureDlgForm::LoadPreview(const std::string& path) {
    // A file the picture classes cannot read is no picture: showing the previous one would
    // put the wrong picture beside its name.
    try {
        Image->Picture()->LoadFromFile(path);
    } catch (const std::exception&) {
        Image->Picture()->SetGraphic(nullptr);
    }
    if (!Stretched()) SizeImageToPicture();
}

void TbsOpenPictureDlgForm::FLVChange(gui::TObject*) {
    FileNameEdit->SetText(os::ExtractFileName(FileListView->GetSelectedFile()));
    const std::string name = FileNameEdit->Text();
    if (!name.empty()) {
        LoadPreview(FolderPart() + name);
    } else {
        Image->SetWidth(0);
        Image->SetHeight(0);
    }
}

void TbsOpenPictureDlgForm::StretchButtonClick(gui::TObject*) {
    Image->Hide();
    if (StretchButton->Down()) {
        // The range the picture at actual size gave goes first, or it would be filled.
        Image->SetBounds(0, 0, 0, 0);
        ScrollBox->UpDateScrollRange();
        Image->SetStretch(true);
        Image->SetAlign(gui::alClient);
    } else {
        Image->SetAlign(gui::alNone);
        SizeImageToPicture();
        Image->SetStretch(false);
    }
    Image->Show();
}

// --- the components --------------------------------------------------------------------------

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(os::TComponent* owner) : TbsSkinOpenDialog(owner) {
    AlphaBlendValue = 200;
    Title = "Open picture";
    Filter =
        "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
        "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
}

std::unique_ptr<TbsOpenDlgForm> TbsSkinOpenPictureDialog::NewForm() {
    return std::make_unique<TbsOpenPictureDlgForm>(gui::Application, ToolButtonsTransparent, CtrlSkinData(),
                                                   SaveMode);
}

void TbsSkinOpenPictureDialog::FormReady(TbsOpenDlgForm& form) {
    auto& f = static_cast<TbsOpenPictureDlgForm&>(form);
    f.DefaultExt.clear(); // the filter alone gives the extension
    f.OnFolderChange = nullptr;
    f.ImagePanel->SetWidth(ImagePanelWidth);
    TbsSkinData* sd = CtrlSkinData();
    f.ImagePanel->SetSkinData(sd);
    f.ScrollBox->SetSkinData(sd);
    f.SBHScrollBar->SetSkinData(sd);
    f.SBVScrollBar->SetSkinData(sd);
    f.StretchButton->SetSkinData(sd);
    f.Splitter->SetSkinData(sd);
}

void TbsSkinOpenPictureDialog::FormSized(TbsOpenDlgForm& form) {
    auto& f = static_cast<TbsOpenPictureDlgForm&>(form);
    f.StretchButton->SetDown(StretchPicture || DialogStretch);
    if (f.Stretched()) {
        f.Image->Hide();
        f.ScrollBox->UpDateScrollRange();
        f.Image->SetStretch(true);
        f.Image->SetAlign(gui::alClient);
        f.Image->Show();
    }
    if (FileExists(FileName())) f.LoadPreview(FileName());
}

void TbsSkinOpenPictureDialog::FormClosed(TbsOpenDlgForm& form) {
    auto& f = static_cast<TbsOpenPictureDlgForm&>(form);
    DialogStretch = f.StretchButton->Down();
    ImagePanelWidth = f.ImagePanel->Width();
}

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(os::TComponent* owner) : TbsSkinOpenPictureDialog(owner) {
    Title = "Save file";
    SaveMode = true;
}

} // namespace skin
