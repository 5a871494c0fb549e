#pragma once
// The object model and the small types every unit of the class library shares.  The
// component classes themselves live in the OS layer, so that the media components (which
// never include a GUI header) and the forms that own them share one TComponent.
#include "gui/Fwd.h"
#include "os/Component.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace gui {

using os::csDesigning;
using os::csDestroying;
using os::csLoading;
using os::EComponentError;
using os::TComponentStateFlag;
using os::TOperation;

// Event handlers are method pointers in the original; here any callable bound to its object.
using TNotifyEvent = std::function<void(TObject* sender)>;

// Index errors of the list classes ("List index out of bounds (%d)").
class EListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

class EStringListError : public EListError {
public:
    using EListError::EListError;
};

[[noreturn]] void RaiseListIndexError(int index);

} // namespace gui
