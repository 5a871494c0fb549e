#include "gui/GraphicControl.h"

namespace gui {

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() {
    MarkDestroying();
    canvas_->FreeHandle();
}

void TGraphicControl::Dispatch(TMessage& m) {
    if (m.Msg == WM_PAINT && m.WParam)
        return canvas_->PaintOn(reinterpret_cast<HDC>(m.WParam), [this] { Paint(); });
    TControl::Dispatch(m);
}

} // namespace gui
