#pragma once
// A windowless splitter: dragged with the mouse it resizes the aligned control beside it,
// never below MinSize and never so far that the rest of the parent gets less than MinSize.
#include "gui/GraphicControl.h"

#include <string>

namespace gui {

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);
    std::string ClassName() const override { return "TSplitter"; }
    int MinSize() const { return minSize_; }
    void SetMinSize(int value);
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool value);

protected:
    void Paint() override;
    void RequestAlign() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMCancelMode(TMessage& message) override;
    // The control the splitter resizes: the visible one touching its leading side.
    TControl* FindResizeControl();

private:
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
    int minSize_ = 30;
    bool beveled_ = false;
    TControl* control_ = nullptr; // the one being resized, during a drag
    int downPos_ = 0;             // screen coordinate across the split where the drag began
    int startSize_ = 0, maxSize_ = 0;
};

} // namespace gui
