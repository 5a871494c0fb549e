#include "gdi/text/TabStops.h"

#include <algorithm>

namespace gdi::text {
namespace {

int NextMultiple(int pos, int origin, int step) {
    int rel = pos - origin;
    int next = rel < 0 ? step : (rel / step + 1) * step; // the origin itself is no stop
    return origin + next;
}

} // namespace

int NextTabStop(int pos, const TabStops& tabs, int aveCharWidth) {
    const int defaultStep = std::max(1, 8 * aveCharWidth);
    if (tabs.stops.size() == 1 && tabs.stops[0] > 0) return NextMultiple(pos, tabs.origin, tabs.stops[0]);
    if (tabs.stops.size() > 1) {
        for (int s : tabs.stops)
            if (tabs.origin + s > pos) return tabs.origin + s;
    }
    return NextMultiple(pos, tabs.origin, defaultStep);
}

} // namespace gdi::text
