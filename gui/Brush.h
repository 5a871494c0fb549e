#pragma once
// A brush: a solid colour, clear, or a pattern from a bitmap.
#include "gui/Color.h"
#include "gui/Fwd.h"
#include "gui/GraphicsObject.h"

#include <cstdint>
#include <memory>

namespace gui {

enum TBrushStyle : uint8_t { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    std::string ClassName() const override { return "TBrush"; }
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern brush from a copy of the bitmap; null returns to the colour.
    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* bitmap);
    HBRUSH Handle();
    TGdiHandle SharedHandle();

private:
    void Changed() override;
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    std::unique_ptr<TBitmap> bitmap_;
    TGdiHandle handle_;
};

} // namespace gui
