#pragma once
// The table of what every skin holds.  A section draws its pictures in the skin's own look
// and fills its descriptors; adding a control to all eleven skins is one row here and one
// drawing function.
#include <vector>

namespace skingen {

class SkinBuilder;
class SkinCanvas;
struct Rgb;

// The caption glyphs, 8 x 8, centred in a 22 x 18 cell whose top-left is (x, y), in strokes
// of width w; the menu bar's MDI buttons draw them too.
enum class CapGlyph { Close, Maximize, Minimize, Restore, RollUp, RollDown, SysMenu };
void DrawCapGlyph(SkinCanvas& c, CapGlyph g, double x, double y, double w, const Rgb& colour);

struct SkinSection {
    const char* name;
    void (*build)(SkinBuilder& builder);
};

const std::vector<SkinSection>& SkinSections();

} // namespace skingen
