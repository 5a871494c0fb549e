#pragma once
// Every format key's preset entry: for each picker the list that fills it and its default
// position, and whether the format is audio-only.
#include "catalogue/PresetLists.h"

#include <string>

namespace catalogue {

struct TPresetChoice {
    const TPresetList* List;
    int DefaultPosition;

    const std::string& DefaultText() const { return List->Items[DefaultPosition]; }
};

struct TPresetEntry {
    int Key;
    TPresetChoice FrameSize, VideoBitrate, FrameRate, AudioBitrate, SampleRate, Aspect; // fill order
    bool AudioOnly; // its video pickers hold one no-video item and end disabled

    const TPresetChoice& Choice(TPresetPicker picker) const;
};

// nullptr for a key without an entry: the refill then leaves the six pickers empty.
const TPresetEntry* FindPresetEntry(int key);

} // namespace catalogue
