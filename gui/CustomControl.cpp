#include "gui/CustomControl.h"

namespace gui {

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
    MarkDestroying();
    canvas_->FreeHandle();
}

void TCustomControl::PaintWindow(HDC dc) {
    canvas_->PaintOn(dc, [this] { Paint(); });
}

} // namespace gui
