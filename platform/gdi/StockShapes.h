#pragma once
// The stock icons and cursors, drawn by us in code.
#include "gdi/IconImage.h"

namespace gdi {

// IDI_ number at size × size pixels with alpha; empty for an unknown number.
IconImage StockIconImage(int id, int size);

// A monochrome 32 × 32 cursor: mask is the AND mask, color the XOR value
// (0 or white).  Empty for an unknown IDC_ number.
IconImage StockCursorImage(int id, POINT& hotSpot);

} // namespace gdi
