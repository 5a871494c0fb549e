#pragma once
// The conversion settings of the options dialog, as "option.ini" keeps them in [Options], and
// the main window's own keys: the output folder [OutPath] and the skin index [Skin].
#include <string>

namespace app {

class TOptionIni;

enum class TAfterDone { OpenFolder = 0, ShutDown = 1, PlaySound = 2, Nothing = 3 };
enum class TThreadPriority { Idle = 0, Lowest = 1, Lower = 2, Normal = 3 };

constexpr int MaxThreadCount = 19;

struct TConverterOptions {
    int ThreadCount = 1; // 1 .. MaxThreadCount, the thread-count list's entry
    TAfterDone AfterDone = TAfterDone::OpenFolder;
    bool ShowPreview = false;
    TThreadPriority Priority = TThreadPriority::Normal;
    bool OverwriteFile = false; // false: a new output gets a free numbered name

    bool operator==(const TConverterOptions&) const = default;
};

// Reads [Options]; every missing or unknown value is replaced by its default, which is written
// back. A stored thread count from 2 to 19 is selected again (the file keeps what OK wrote).
TConverterOptions ReadConverterOptions(TOptionIni& ini);
// What OK stores, key by key in the dialog's order.
void WriteConverterOptions(TOptionIni& ini, const TConverterOptions& options);

// The output folder: the stored one, else the default, created with its parents when missing;
// the default is written back.
std::string ReadOutputFolder(TOptionIni& ini);
// Stores the folder only when it exists.
void WriteOutputFolder(TOptionIni& ini, const std::string& folder);

// The skin index to switch to at start. A stored value that is missing or not a whole number
// is replaced by 0 (written back, and logged when it was not a number).
int ReadSkinIndex(TOptionIni& ini);
void WriteSkinIndex(TOptionIni& ini, int index);

} // namespace app
