#pragma once
// The table of what every skin holds.  A section draws its pictures in the skin's own look
// and fills its descriptors; adding a control to all eleven skins is one row here and one
// drawing function.
#include <vector>

namespace skingen {

class SkinBuilder;

struct SkinSection {
    const char* name;
    void (*build)(SkinBuilder& builder);
};

const std::vector<SkinSection>& SkinSections();

} // namespace skingen
