#pragma once
// A pen: colour, width, style and raster mode.
#include "gui/Color.h"
#include "gui/GraphicsObject.h"

#include <cstdint>

namespace gui {

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psClear = 5, psInsideFrame };
enum TPenMode : uint8_t { pmCopy, pmNot, pmXor, pmNop };

class TPen : public TGraphicsObject {
public:
    std::string ClassName() const override { return "TPen"; }
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    TGdiHandle SharedHandle();

private:
    void Changed() override;
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TGdiHandle handle_;
};

} // namespace gui
