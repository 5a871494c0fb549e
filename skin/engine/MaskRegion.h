#pragma once
// Window regions from black-and-white mask pictures: black (all three components 0) is
// inside, every other colour outside.  One rectangle per horizontal run of black pixels;
// runs of different rows are never merged.
#include "gdi/Region.h"
#include "gui/Graphics.h"
#include "skin/core/SkinTypes.h"

#include <cstdint>
#include <vector>

namespace skin {

// The runs as a region data block (32-byte header, then 16 bytes a rectangle) at offset X, Y;
// returns its size in bytes, 0 (and no block) for an empty mask.  There is no limit on runs.
uint32_t MaskToRegionRects(gui::TBitmap* Mask, int X, int Y, std::vector<uint8_t>& Block);
// The whole mask at (0, 0); null for an empty mask.
HRGN CreateMaskRegion(gui::TBitmap* Mask);
// The mask rebuilt at a new size: its frame strips cut from the mask plus the moved client
// rectangle.  Null when the new size is smaller than the fixed corners.
HRGN CreateNinePartMaskRegion(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                              TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                              TRect NewClRect, gui::TBitmap* Mask, int NewWidth, int NewHeight);

} // namespace skin
