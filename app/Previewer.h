#pragma once
// The conversion preview window: an always-on-top tool window that shows a
// task's converted frames while it runs, captioned with the frame's time.
// It is made with the first frame, as large as that frame, and keeps that
// size; dragging the picture moves it.  Once the user closes it, the task
// stops previewing.
#include <atomic>
#include <cstdint>
#include <memory>

#include "media/Previewer.h"
#include "win/WinTypes.h"

namespace gui {
class TBitmap;
class TForm;
} // namespace gui

namespace app {

class TPreviewer : public media::TCustomPreviewer {
public:
    TPreviewer();
    // Frees the window on the GUI thread (waiting for it from another).
    ~TPreviewer() override;
    TPreviewer(const TPreviewer&) = delete;
    TPreviewer& operator=(const TPreviewer&) = delete;

    bool PaintFrame(const media::TFrameBitmap* ABitmap, int32_t AFrameNumber, int64_t APTS) override;

private:
    void ShowFrame(); // GUI thread
    void CreateForm(int AWidth, int AHeight);
    void FreeForm();

    HWND FFormHandle = nullptr;
    std::unique_ptr<gui::TForm> FForm;
    // Set on the GUI thread when the user closes the window, read by the worker.
    std::atomic<bool> FClosed{false};
    const media::TFrameBitmap* FBitmap = nullptr;
    int32_t FFrameNumber = 0;
    int64_t FPTS = 0;
    // The frame shown, kept for the window's repaints.
    std::unique_ptr<gui::TBitmap> FPicture;
};

// Lets the media components make preview windows; called at start-up.
void InstallPreviewerFactory();

} // namespace app
