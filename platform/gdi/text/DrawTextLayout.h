#pragma once
// DrawText's layout, kept apart from any pixels: where each line goes, what it
// shows and which character a "&" prefix underlines.  The device-context layer
// draws the result with a real font; tests check it with a fake measurer.
//
// Behaviour, as the skin code relies on it:
// - Lines break at CR, LF, CR LF and LF CR (each pair is one break); a break
//   at the very end starts no further line.  DT_SINGLELINE drops them instead.
// - "&x" underlines x and "&&" shows one "&", unless DT_NOPREFIX; a lone "&"
//   at the end is dropped.  Only the first prefix of a line is underlined.
// - DT_WORDBREAK breaks at blanks (which vanish at the break) and between CJK
//   characters; a single word wider than the rectangle stays whole.
// - DT_END_ELLIPSIS / DT_PATH_ELLIPSIS shorten each line wider than the
//   rectangle with "..."; the path form keeps the part from the last "\" or "/".
// - DT_VCENTER and DT_BOTTOM act on single-line text only.
// - DT_CALCRECT: right = left + widest line, bottom = top + lines × line height.
// - DT_RTLREADING is accepted; the program's texts (Chinese, Latin) have no
//   right-to-left runs, so it changes nothing.
#include "gdi/text/TextMeasurer.h"
#include "gdi/text/TextTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gdi::text {

// A piece of a line between expanded tabs.
struct DrawTextRun {
    int x = 0;
    std::string text; // UTF-8
};

struct DrawTextLine {
    int x = 0, y = 0; // top-left of the line's cell
    int width = 0;
    std::string text;              // what is shown, UTF-8 (tabs kept when expanded)
    std::vector<DrawTextRun> runs; // `text` cut at expanded tabs and placed
    bool underlined = false;       // a prefix character in this line
    int underlineLeft = 0, underlineRight = 0;
};

struct DrawTextLayoutResult {
    std::vector<DrawTextLine> lines;
    TextRect rect;  // with DT_CALCRECT the rectangle the text needs, else the one given
    int height = 0; // DrawText's return value
};

DrawTextLayoutResult LayoutDrawText(const TextMeasurer& measurer, std::string_view utf8, const TextRect& rect,
                                    uint32_t flags);

} // namespace gdi::text
