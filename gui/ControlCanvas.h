#pragma once
#include "gui/Canvas.h"
#include "gui/Fwd.h"
#include "win/WinTypes.h"

#include <functional>

namespace gui {

// A canvas on a control: a windowless control draws through its parent's window, with the
// origin at its own top-left corner and clipped to it.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    void FreeHandle();
    // Runs paint with the canvas on dc (a paint DC), locked.
    void PaintOn(HDC dc, const std::function<void()>& paint);

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    HWND window_ = nullptr;
    HDC own_ = nullptr;
};

// Releases the device contexts that control canvases took outside painting.
void FreeDeviceContexts();

} // namespace gui
