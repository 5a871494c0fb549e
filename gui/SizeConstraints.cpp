#include "gui/SizeConstraints.h"

#include <algorithm>

namespace gui {

void TSizeConstraints::Assign(const TPersistent* source) {
    auto* c = dynamic_cast<const TSizeConstraints*>(source);
    if (!c) return TPersistent::Assign(source);
    minW_ = c->minW_, minH_ = c->minH_, maxW_ = c->maxW_, maxH_ = c->maxH_;
    Changed();
}

void TSizeConstraints::Changed() {
    if (OnChange) OnChange(this);
}

// A maximum below the minimum raises the minimum's partner, as a user would expect of a range.
void TSizeConstraints::SetMinWidth(int v) {
    minW_ = std::max(v, 0);
    if (maxW_ > 0 && maxW_ < minW_) maxW_ = minW_;
    Changed();
}
void TSizeConstraints::SetMinHeight(int v) {
    minH_ = std::max(v, 0);
    if (maxH_ > 0 && maxH_ < minH_) maxH_ = minH_;
    Changed();
}
void TSizeConstraints::SetMaxWidth(int v) {
    maxW_ = std::max(v, 0);
    if (maxW_ > 0 && maxW_ < minW_) minW_ = maxW_;
    Changed();
}
void TSizeConstraints::SetMaxHeight(int v) {
    maxH_ = std::max(v, 0);
    if (maxH_ > 0 && maxH_ < minH_) minH_ = maxH_;
    Changed();
}

void TSizeConstraints::Apply(int& width, int& height) const {
    if (maxW_ > 0) width = std::min(width, maxW_);
    if (maxH_ > 0) height = std::min(height, maxH_);
    width = std::max(width, minW_);
    height = std::max(height, minH_);
}

} // namespace gui
