#include "gdi/DcStateSaver.h"

#include "gdi/Dc.h"

namespace gdi {

DcStateSaver::DcStateSaver(HDC dc) : dc_(dc), level_(SaveDC(dc)) {}

DcStateSaver::~DcStateSaver() {
    RestoreDC(dc_, level_);
}

} // namespace gdi
