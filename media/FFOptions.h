#pragma once
// The option contexts through which options that the transcoder does not know
// itself reach the codec, format and scaler libraries: an option is first
// checked and recorded here, and later applied to each real context.
#include <string>
#include <utility>
#include <vector>

#include "media/ParkedSettings.h"

struct AVCodecContext;
struct AVFormatContext;
struct SwsContext;

namespace media {

struct TFFOptions {
    // Names of the options set so far, in order.
    std::vector<std::string> opt_names;
    // One codec option context per media type: video 0, audio 1, data 2,
    // subtitle 3, attachment 4.
    AVCodecContext* avcodec_opts[5] = {};
    AVFormatContext* avformat_opts = nullptr;
    SwsContext* sws_opts = nullptr;
    // Options that only a particular codec, muxer or demuxer knows (its
    // private class): the generic contexts cannot hold them, so the text is
    // kept until a context of that codec or format is created.
    std::vector<std::pair<std::string, std::string>> private_opts;
    // A task waiting in a list keeps the option contexts as text: together
    // they are large (the scaler's alone about 50 KiB), and only setting
    // options, opening files and the run read them.  One list per context,
    // codecs first, then the format's and the scaler's.
    bool parked = false;
    TSettingList parked_opts[7];
};

void ClearOptions(TFFOptions& opts);
// Allocates the option contexts; the scaler context gets the scaler flags.
void AllocOptions(TFFOptions& opts, int swsFlags);
void FreeOptions(TFFOptions& opts);
// Frees the option contexts, keeping the settings that differ from their
// defaults (a context whose settings cannot be read back stays);
// UnparkOptions makes them afresh with them.  Setting an option does so
// first.
void ParkOptions(TFFOptions& opts);
void UnparkOptions(TFFOptions& opts);

// Sets the option in the contexts that know it and records its name.  False
// for an empty name or value, for an option no context knows (silently) and
// for a bad value ("Invalid value \"%s\" for option \"%s\"" in the library log).
bool SetDefaultOption(TFFOptions& opts, const char* name, const char* value);

// Copies every recorded option whose flags include all of flags from the
// option context to the target (a codec, format or scaler context), and the
// recorded private options that the target's own codec or format knows.
void ApplyRecordedOptions(const TFFOptions& opts, void* target, void* optionContext, int flags);

} // namespace media
