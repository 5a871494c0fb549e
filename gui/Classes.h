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

// Modifier keys and mouse buttons held during an input event.
enum TShiftStateFlag : uint16_t {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
using TShiftState = uint16_t;

// Event handlers: any callable, usually a member function bound to the object that handles it.
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
