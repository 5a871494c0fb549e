#pragma once
// The program's own stored skins, compiled in from skins/ at build time.
#include <string>

namespace skin {
class TbsCompressedSkinList;
}

namespace skins {

// How many there are (11).
int StoredSkinCount();
// Appends every stored skin to the list in its order (index 0 is the skin of a first start),
// each item named after its skin.
void LoadStoredSkins(skin::TbsCompressedSkinList& list);

} // namespace skins
