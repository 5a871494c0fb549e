#include "gui/GraphicsObject.h"

#include "gdi/Objects.h"

namespace gui {

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

TGdiHandle TGraphicsObject::Own(HGDIOBJ obj) {
    return TGdiHandle(obj, [](GdiObjectTag* o) { DeleteObject(o); });
}
TGdiHandle TGraphicsObject::Stock(int which) {
    return TGdiHandle(GetStockObject(which), [](GdiObjectTag*) {});
}

} // namespace gui
