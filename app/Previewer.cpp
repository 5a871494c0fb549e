#include "app/Previewer.h"

#include "app/PreviewWindows.h"
#include "gui/Bitmap.h"
#include "gui/Canvas.h"
#include "gui/Forms.h"
#include "media/FFUtils.h"
#include "os/MainThread.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace app {

TPreviewer::TPreviewer() = default;

TPreviewer::~TPreviewer() {
    if (!FForm) return;
    os::CallInMainThread([this] { FreeForm(); });
}

bool TPreviewer::PaintFrame(const media::TFrameBitmap* ABitmap, int32_t AFrameNumber, int64_t APTS) {
    if (FClosed.load()) return false;
    if (!ABitmap || ABitmap->Width() <= 0 || ABitmap->Height() <= 0) return true;
    FBitmap = ABitmap;
    FFrameNumber = AFrameNumber;
    FPTS = APTS;
    bool shown = true;
    try {
        os::CallInMainThread([this] { ShowFrame(); });
    } catch (const std::exception&) {
        // A window that cannot be shown ends this task's preview, not its conversion.
        shown = false;
    }
    FBitmap = nullptr; // the engine's: not kept past the call
    return shown && !FClosed.load();
}

void TPreviewer::CreateForm(int AWidth, int AHeight) {
    FForm = std::make_unique<gui::TForm>(nullptr);
    gui::TForm* f = FForm.get();
    f->SetBorderStyle(gui::bsToolWindow);
    f->SetBorderIcons(gui::biSystemMenu);
    f->SetFormStyle(gui::fsStayOnTop);
    f->SetPosition(gui::poScreenCenter);
    f->SetClientSize(AWidth, AHeight);
    // Closing only hides the window; the task sees it at its next frame.
    f->OnCloseQuery = [this](gui::TObject*, bool& canClose) {
        FClosed.store(true);
        canClose = true;
    };
    f->OnPaint = [this](gui::TObject*) {
        if (FForm && FPicture) FForm->Canvas()->Draw(0, 0, FPicture.get());
    };
    FPicture = std::make_unique<gui::TBitmap>();
    FPicture->SetPixelFormat(gui::pf24bit);
    FFormHandle = f->Handle();
    TPreviewWindows::Add(FFormHandle);
    f->Show();
}

void TPreviewer::ShowFrame() {
    if (FClosed.load() || !FBitmap) return;
    if (!FForm) CreateForm(FBitmap->Width(), FBitmap->Height());
    FForm->SetCaption(media::TimeText(FPTS));
    // The picture at the top left; a later frame of another size is drawn
    // into the same window, which keeps the size of the first.
    FPicture->SetSize(FBitmap->Width(), FBitmap->Height());
    const size_t row = static_cast<size_t>(media::TFrameBitmap::RowSize(FBitmap->Width()));
    for (int y = 0; y < FBitmap->Height(); ++y) std::memcpy(FPicture->ScanLine(y), FBitmap->ScanLine(y), row);
    FForm->Canvas()->Draw(0, 0, FPicture.get());
}

void TPreviewer::FreeForm() {
    TPreviewWindows::Remove(FFormHandle);
    FForm.reset();
    FFormHandle = nullptr;
}

void InstallPreviewerFactory() {
    media::SetPreviewerFactory([] { return std::make_shared<TPreviewer>(); });
}

} // namespace app
