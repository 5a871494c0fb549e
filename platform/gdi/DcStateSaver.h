#pragma once
// Saves a device context's state (objects, colours, origins, clip) and puts
// it back when the scope is left, whatever way it is left: a painter may
// change the context freely in between.
#include "gdi/GdiTypes.h"

namespace gdi {

class DcStateSaver {
public:
    explicit DcStateSaver(HDC dc);
    ~DcStateSaver();
    DcStateSaver(const DcStateSaver&) = delete;
    DcStateSaver& operator=(const DcStateSaver&) = delete;

private:
    HDC dc_;
    int level_;
};

} // namespace gdi
