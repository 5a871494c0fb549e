#pragma once
// Tab stops of TabbedTextOut and of DrawText's DT_EXPANDTABS.
#include <vector>

namespace gdi::text {

struct TabStops {
    // Positions relative to `origin`, ascending.  None: a stop every eight
    // average character widths; one: a stop every that many pixels; more:
    // those stops, then the eight-character spacing past the last of them.
    std::vector<int> stops;
    // Where the stops are counted from, relative to the start of the text.
    int origin = 0;
};

// The pen position a tab at `pos` moves to; always greater than `pos`.
int NextTabStop(int pos, const TabStops& tabs, int aveCharWidth);

} // namespace gdi::text
