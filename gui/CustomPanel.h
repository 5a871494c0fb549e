#pragma once
// A panel: a windowed container with a bevelled edge and an optional caption in its middle.
// Children are aligned inside the bevels.
#include "gui/CustomControl.h"

#include <cstdint>
#include <string>

namespace gui {

enum TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);
    std::string ClassName() const override { return "TCustomPanel"; }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) override;
    void CMTextChanged(TMessage& message) override;

private:
    void BevelChanged();
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
    std::string ClassName() const override { return "TPanel"; }
};

} // namespace gui
