#pragma once
// What fonts, pens and brushes share: a change notice and a GDI handle shared with the canvases
// that have it selected, so a font changed while selected is deleted only once they let it go.
#include "gdi/GdiTypes.h"
#include "gui/Classes.h"

#include <memory>

namespace gui {

// A GDI object owned by whoever holds it (the graphics object and the canvases that have it selected).
using TGdiHandle = std::shared_ptr<GdiObjectTag>;

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    // A handle that deletes the object with its last holder; a stock object is never deleted.
    static TGdiHandle Own(HGDIOBJ obj);
    static TGdiHandle Stock(int which);
};

} // namespace gui
