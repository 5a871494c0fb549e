#include "gdi/text/TextMeasurer.h"

namespace gdi::text {

int TextMeasurer::Width(std::u32string_view text) const {
    if (text.empty()) return 0;
    std::vector<int> pos;
    Advances(text, pos);
    return pos.back();
}

} // namespace gdi::text
