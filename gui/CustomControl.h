#pragma once
// A windowed control with a canvas and Paint.
#include "gui/ControlCanvas.h"
#include "gui/WinControl.h"

#include <memory>
#include <string>

namespace gui {

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    std::string ClassName() const override { return "TCustomControl"; }
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

} // namespace gui
