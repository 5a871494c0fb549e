#pragma once
// The window that shows a hint.  The application makes one from HintWindowClass; the skinned
// hint window derives from this and sizes and paints itself.
#include "gui/CustomControl.h"

namespace gui {

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* owner);
    std::string ClassName() const override { return "THintWindow"; }

    // The rectangle (at 0,0) that shows the hint within maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // Shows the hint at the rectangle (screen coordinates) without taking the activation.
    virtual void ActivateHint(TRect rect, const std::string& hint);
    virtual void ActivateHintData(TRect rect, const std::string& hint, void* data);
    void ReleaseHandle();
    bool IsHintMsg(const MSG& msg) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void Dispatch(TMessage& message) override;
};

} // namespace gui
