#pragma once
// A windowless bevel: a box, a frame or one edge line, lowered or raised.
#include "gui/GraphicControl.h"

#include <cstdint>
#include <string>

namespace gui {

enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle : uint8_t { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    std::string ClassName() const override { return "TBevel"; }
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;
    // One bevel rectangle: left and top edges in the first colour, right and bottom in the second.
    void BevelRect(const TRect& r, TColor first, TColor second);
    void BevelLine(TColor color, int x1, int y1, int x2, int y2);

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

} // namespace gui
