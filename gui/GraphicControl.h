#pragma once
// A windowless control that paints on its parent's window through its own canvas.
#include "gui/Control.h"
#include "gui/ControlCanvas.h"

#include <memory>
#include <string>

namespace gui {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    std::string ClassName() const override { return "TGraphicControl"; }
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void Dispatch(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

} // namespace gui
