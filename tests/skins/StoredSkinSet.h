#pragma once
// The program's eleven stored skins, each loaded once for the whole test program, and the
// colour arithmetic the skin tests judge them by.
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace skintest {

struct StoredSkinSet {
    skin::TbsCompressedSkinList list;
    std::vector<std::unique_ptr<skin::TbsSkinData>> skins; // in stored order
};

// Loaded on first use and kept to the end of the program.
StoredSkinSet& StoredSkins();

// The indexed picture, or null for -1 or an index past the list.
const skin::TbsPicture* Indexed(const skin::TbsSkinData& d, int index);

// WCAG contrast (1..21) of two picture pixels (0xAARRGGBB).
double Contrast(uint32_t a, uint32_t b);
// A platform colour (0x00BBGGRR) as a picture pixel.
uint32_t PixelOf(skin::TColor colour);

} // namespace skintest
