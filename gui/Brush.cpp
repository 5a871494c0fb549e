#include "gui/Brush.h"

#include "gdi/Objects.h"
#include "gui/Bitmap.h"

namespace gui {

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Changed() {
    handle_.reset();
    TGraphicsObject::Changed();
}

void TBrush::Assign(const TPersistent* source) {
    auto* b = dynamic_cast<const TBrush*>(source);
    if (!b) return TPersistent::Assign(source);
    if (b == this) return;
    color_ = b->color_, style_ = b->style_;
    if (b->bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(b->bitmap_.get());
    } else {
        bitmap_.reset();
    }
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color_ == color && style_ == bsSolid) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid; // a colour makes a clear brush solid again
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style_ != style) style_ = style, Changed();
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
    if (bitmap && !bitmap->Empty()) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(bitmap);
    } else {
        bitmap_.reset();
    }
    Changed();
}

TGdiHandle TBrush::SharedHandle() {
    if (!handle_) {
        if (bitmap_)
            handle_ = Own(CreatePatternBrush(bitmap_->Handle()));
        else if (style_ == bsClear)
            handle_ = Stock(NULL_BRUSH);
        else
            handle_ = Own(CreateSolidBrush(ColorToRGB(color_)));
    }
    return handle_;
}

HBRUSH TBrush::Handle() {
    return reinterpret_cast<HBRUSH>(SharedHandle().get());
}

} // namespace gui
