#include "gui/Pen.h"

#include "gdi/Objects.h"

namespace gui {

void TPen::Changed() {
    handle_.reset();
    TGraphicsObject::Changed();
}

void TPen::Assign(const TPersistent* source) {
    auto* p = dynamic_cast<const TPen*>(source);
    if (!p) return TPersistent::Assign(source);
    if (p == this) return;
    color_ = p->color_, width_ = p->width_, style_ = p->style_, mode_ = p->mode_;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color_ != color) color_ = color, Changed();
}
void TPen::SetWidth(int width) {
    if (width_ != width && width >= 0) width_ = width, Changed();
}
void TPen::SetStyle(TPenStyle style) {
    if (style_ != style) style_ = style, Changed();
}
void TPen::SetMode(TPenMode mode) {
    if (mode_ != mode) mode_ = mode, TGraphicsObject::Changed();
}

TGdiHandle TPen::SharedHandle() {
    if (!handle_) handle_ = Own(CreatePen(style_, width_, ColorToRGB(color_)));
    return handle_;
}

} // namespace gui
