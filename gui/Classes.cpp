#include "gui/Classes.h"

#include "os/Convert.h"

namespace gui {

void RaiseListIndexError(int index) {
    throw EListError(os::FormatC("List index out of bounds (%d)", index));
}

} // namespace gui
