#pragma once
// The program icon: a strip of film, its sprocket holes along both edges, with a blue frame
// in the middle carrying a white play mark.  Drawn at any size with soft edges and alpha.
#include "gdi/image/Image.h"

namespace resgen {

class IconPainter {
public:
    // A BGRA picture of size × size whose corners are clear.
    static gdi::image::Image Paint(int size);
};

} // namespace resgen
