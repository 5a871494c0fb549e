#pragma once
// A conversion request: the records for one input and one output file, the
// option strings ("key=value" lines), and the fixed order in which a request
// becomes settings of the transcoder engine.  The task component calls these
// around the engine's OpenInputFile and OpenOutputFile.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "media/ComponentUtils.h"
#include "media/MediaTypes.h"

namespace media {

class TCustomFFmpeg;

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
// ntPAL or ntNTSC.
using TOptionNormDefault = TOptionNormType;

struct TStreamInfo {
    // 0 stamps the output with the current time, > 0 with that local
    // date-time; < 0 leaves it unstamped.
    TDateTime TimeStamp = -1.0;
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title, Author, Copyright, Comment, Album, Genre;
};

struct TInputOptions {
    std::string FileName;
    std::string FileFormat;
    int64_t TimeStart = NoTime;
    int32_t ProgramID = -1;
    std::string ExtOptions;
    int32_t Tag = 0;
    void* Data = nullptr;
};

struct TOutputOptions {
    std::string FileName;
    std::string FileExt;
    std::string FileFormat;
    int32_t PacketSize = -1;
    int32_t MuxRate = -1;
    float MuxDelay = -1.0f;
    float MuxPreload = -1.0f;
    std::string AudioCodec;
    std::string AudioPreset;
    bool DisableAudio = false;
    int32_t AudioVolume = -1;
    int32_t AudioChannels = -1;
    int32_t AudioSampleRate = -1;
    int32_t AudioBitrate = -1;
    int32_t AudioBitRateTolerance = -1;
    std::string AudioLanguage;
    int32_t AudioSyncMethod = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string FrameAspectRatio;
    int32_t CropTop = -1, CropBottom = -1, CropLeft = -1, CropRight = -1;
    int32_t GroupPictureSize = -1;
    int32_t VideoBitrate = -1;
    int32_t VideoMaxRate = -1;
    int32_t VideoMinRate = -1;
    int32_t VideoBitRateTolerance = -1;
    int32_t VideoBufSize = -1;
    int32_t VideoSyncMethod = -1;
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    int64_t TimeStart = NoTime;
    int64_t TimeLength = NoTime;
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    bool CustomHook = false;
    bool Join = false;
    std::string ExtOptions;
    int32_t Tag = 0;
    void* Data = nullptr;
};

void SetInputOptionsDefaults(TInputOptions& AOptions);
void SetOutputOptionsDefaults(TOutputOptions& AOptions);

struct TOptionLine {
    std::string Key;
    std::string Value;
};

// The lines of an option string: trimmed of spaces and control characters
// at both ends, split at line breaks and at "<CRLF>", each line split at its
// first "=" (a line without one is a key with an empty value).
std::vector<TOptionLine> ParseOptionString(const std::string& AOptions);

// Hands every line, its key in lower case, to the engine's SetOption (which
// refuses a key no table knows), except empty lines and the keys that go
// per stream: "newvideo", "newaudio", "newsubtitle", "apre", "vpre", "spre",
// "vfilters", "vf" always, and in output mode also "acodec", "vcodec",
// "scodec", "s".
void ApplyOptionString(TCustomFFmpeg& AEngine, const std::string& AOptions, bool AInputMode);

// The records the option-string forms of the task component start from: a
// "TimeStart" line (and for outputs "TimeLength", "Hook", "CustomHook",
// "Join"; any letter case) sets its field, every other line goes to
// ExtOptions.  A time that is not a decimal 64-bit integer is NoTime.
TInputOptions InputOptionsFromString(const std::string& AOptions);
TOutputOptions OutputOptionsFromString(const std::string& AOptions);

// An input request, before the input is opened: the extra options, the
// forced format, the start time and the program.
void ApplyInputRequest(TCustomFFmpeg& AEngine, const TInputOptions& AOptions);

// The per-stream choices of an output request: "def_acodec", "def_vcodec",
// "def_scodec", "def_apre", "def_vpre", "def_spre", "def_s", "def_vf" from
// the record or else from the first such line of ExtOptions, and the queue
// of those lines for the streams that "newaudio" and the like add.
struct TStreamDefaults {
    std::map<std::string, std::string> Defaults;
    std::vector<TOptionLine> Queue;
    std::string Default(const std::string& AName) const;
};
TStreamDefaults BuildStreamDefaults(const TOutputOptions& AOptions);

// An output request, before the output is opened: the target, the default
// codecs and presets, the extra options, the record's fields, the frame size
// and the video filters, in that order.  Errors of the setters raise.
void ApplyOutputRequest(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions,
                        const TStreamDefaults& ADefaults);

// After the output opened: each "newaudio", "newvideo" and "newsubtitle"
// line of ExtOptions adds its stream with the next queued (or the default)
// codec, preset, size and filters.  Errors raise.
void ApplyStreamKeys(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions, TStreamDefaults& ADefaults);

// Seconds since 1970-01-01 UTC of a local date-time (standard-time bias).
int64_t DateTimeToUnix(TDateTime AValue);

} // namespace media
