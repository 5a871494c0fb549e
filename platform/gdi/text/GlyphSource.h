#pragma once

namespace gdi::text {

// Where the glyph of a character comes from.
enum class GlyphSource {
    Face,     // the font's own face
    Fallback, // the CJK face, because the font's face lacks it
    Missing,  // neither has it: the face's ".notdef" box
    Control,  // a control character: nothing drawn
};

} // namespace gdi::text
