#pragma once
// The state of one small button drawn inside a skinned control (list box caption buttons,
// combo box button, up/down pair, the edit's image buttons).
#include "gui/Geometry.h"

namespace skin {

struct TbsCBButtonX {
    gui::TRect R{};
    bool MouseIn = false, Down = false;
};

} // namespace skin
