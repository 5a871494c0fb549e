#pragma once
// Texts and small routines shared by the probe, the engine and the player.
#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/rational.h>
}

struct AVCodecContext;
struct AVFilterContext;
struct AVFilterGraph;

namespace media {

// "%.2d:%.2d:%.2d.%.3d" (hours not wrapped) of a microsecond time; "N/A" for NoTime.
std::string TimeText(int64_t microseconds);

// Microseconds of one frame at the rate; 40000 when the rate is unknown.
int64_t FrameDuration(AVRational rate);

// name + ": " + the message of a library error code; a system error code
// that the table lacks gives the system's own text.
std::string ErrorText(const std::string& name, int code);

// Reads a whole file into a buffer from av_malloc with a zero byte after the
// contents (counted in size).  0, -1 when it cannot be read, -12 without memory.
int ReadWholeFile(const char* name, uint8_t*& buffer, int64_t& size);

// The value of a metadata key, or the default.
std::string MetadataValue(const AVDictionary* metadata, const char* key, const std::string& def);

// "name(long name)" of the context's encoder or decoder, or what the context
// itself tells about its codec.
std::string CodecNameText(const AVCodecContext* ctx, bool encoderSide);

// "Video", "Audio", "Data", "Subtitle", "Attachment", otherwise "Unknown".
std::string MediaTypeName(int mediaType);

// Joins the source's output to the sink through the filters the text
// describes, or straight when the text is empty.  False when the text does
// not parse or a link fails.
bool LinkFilters(AVFilterGraph* graph, const std::string& filters, AVFilterContext* source,
                 AVFilterContext* sink);

} // namespace media
