#pragma once
// A task waiting in a long list frees what only its run reads: the private
// state of its codec contexts and its option contexts.  What it keeps of
// such an object is the text of the settings that differ from the
// defaults; the object is made afresh with them when the run starts.
#include <string>
#include <utility>
#include <vector>

struct AVCodecContext;

namespace media {

using TSettingList = std::vector<std::pair<std::string, std::string>>;

// The settings of AObject (any object whose first member is its AVClass)
// that differ from their defaults, in the class's order.  False when one of
// them cannot be read back as text: such an object has to stay as it is.
bool ChangedSettings(void* AObject, TSettingList& ASettings);
void ApplySettings(void* AObject, const TSettingList& ASettings);

// A codec context's private state (the codec's own options and working
// data: several hundred KiB for an H.264 decoder, tens of KiB for an MP2
// encoder) while its task waits.
struct TParkedState {
    bool parked = false;
    TSettingList settings;
};

// Frees the context's private state, keeping its changed settings; nothing
// for an opened context, one without private state or one whose settings
// cannot be read back.
void ParkPrivateState(AVCodecContext* ACtx, TParkedState& AState);
// A fresh private state of the context's codec with the kept settings.
void UnparkPrivateState(AVCodecContext* ACtx, TParkedState& AState);

} // namespace media
