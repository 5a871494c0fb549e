#include "media/FFUtils.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "media/AVApi.h"
#include "media/FFBaseComponent.h"
#include "media/MediaTypes.h"
#include "os/Convert.h"
#include "os/ScopeExit.h"
#include "os/Text.h"

namespace media {

static_assert(SeekFlagsToAV({sfBackward}) == AVSEEK_FLAG_BACKWARD);
static_assert(SeekFlagsToAV({sfByte}) == AVSEEK_FLAG_BYTE);
static_assert(SeekFlagsToAV({sfAny}) == AVSEEK_FLAG_ANY);
static_assert(SeekFlagsToAV({sfFrame}) == AVSEEK_FLAG_FRAME);

namespace {

struct TErrorMessage {
    int code;
    const char* message;
};

// The messages keep their old texts; the codes are those of the current
// libraries that carry the same meaning.
const TErrorMessage kErrorMessages[] = {
    {AVERROR_PATCHWELCOME,       "Not yet implemented in FFmpeg"           },
    {AVERROR_PROTOCOL_NOT_FOUND, "Unsupported network protocol"            },
    {AVERROR(EPROTONOSUPPORT),   "Unsupported network protocol"            },
    {AVERROR_DEMUXER_NOT_FOUND,  "Unknown format"                          },
    {AVERROR_MUXER_NOT_FOUND,    "Unknown format"                          },
    {AVERROR(EILSEQ),            "Unknown format"                          },
    {AVERROR(EDOM),              "Number syntax expected in filename"      },
    {AVERROR_EOF,                "End of file"                             },
    {AVERROR_INVALIDDATA,        "Invalid data found when processing input"},
    {AVERROR(EINVAL),            "Invalid data found when processing input"},
    {AVERROR(ENOMEM),            "Not enough memory"                       },
    {AVERROR(EIO),               "I/O error"                               },
    {AVERROR(ENOENT),            "No such file or directory"               },
};

std::string Trimmed(const char* s) {
    return s ? os::Trim(s) : std::string();
}

} // namespace

std::string TimeText(int64_t t) {
    if (t == NoTime) return "N/A";
    // Written as a sign and the time of the magnitude, so that a negative
    // time does not show minus signs inside its fields.
    std::string sign = t < 0 ? "-" : "";
    uint64_t u = t < 0 ? 0 - static_cast<uint64_t>(t) : static_cast<uint64_t>(t);
    uint64_t s = u / 1000000;
    return sign + os::FormatC("%.2llu:%.2llu:%.2llu.%.3llu", static_cast<unsigned long long>(s / 3600),
                              static_cast<unsigned long long>(s / 60 % 60),
                              static_cast<unsigned long long>(s % 60),
                              static_cast<unsigned long long>(u % 1000000 / 1000));
}

int64_t FrameDuration(AVRational rate) {
    if (rate.num == 0 || rate.den == 0) return 40000;
    return int64_t{1000000} * rate.den / rate.num;
}

std::string ErrorText(const std::string& name, int code) {
    for (const TErrorMessage& e : kErrorMessages)
        if (e.code == code) return name + ": " + e.message;
    // Other system error codes in the system's own words, untranslated, as
    // the libraries printed them ("Permission denied", "No space left on
    // device").  -1 stays a number: it is the libraries' plain "failed" far
    // more often than a refused operation.
    if (code < -1 && code > -4096)
        if (const char* text = ::strerrordesc_np(-code)) return name + ": " + text;
    return name + ": " + os::FormatC("Error number %d occurred", code);
}

int ReadWholeFile(const char* name, uint8_t*& buffer, int64_t& size) {
    buffer = nullptr;
    size = 0;
    FILE* f = name ? std::fopen(name, "rb") : nullptr;
    if (!f) return -1;
    // A folder opens for reading on Linux but has no contents to read.
    struct stat st {};
    if (::fstat(::fileno(f), &st) != 0 || !S_ISREG(st.st_mode) || ::fseeko(f, 0, SEEK_END) != 0) {
        std::fclose(f);
        return -1;
    }
    off_t length = ::ftello(f);
    if (length < 0 || ::fseeko(f, 0, SEEK_SET) != 0) {
        std::fclose(f);
        return -1;
    }
    buffer = static_cast<uint8_t*>(av::av_malloc(static_cast<size_t>(length) + 1));
    if (!buffer) {
        std::fclose(f);
        return -12;
    }
    size_t n = std::fread(buffer, 1, static_cast<size_t>(length), f);
    buffer[n] = 0;
    size = static_cast<int64_t>(n) + 1;
    std::fclose(f);
    return 0;
}

std::string MetadataValue(const AVDictionary* metadata, const char* key, const std::string& def) {
    const AVDictionaryEntry* e = av::av_dict_get(metadata, key, nullptr, 0);
    if (!e || !e->value) return def;
    std::string value = e->value;
    return os::IsValidUtf8(value) ? value : os::Latin1ToUtf8(value);
}

std::string CodecNameText(const AVCodecContext* ctx, bool encoderSide) {
    if (!ctx) return {};
    const AVCodec* codec =
        encoderSide ? av::avcodec_find_encoder(ctx->codec_id) : av::avcodec_find_decoder(ctx->codec_id);
    if (codec) {
        std::string longName = Trimmed(codec->long_name);
        if (longName.empty()) return codec->name;
        return os::FormatC("%s(%s)", codec->name, longName.c_str());
    }
    if (ctx->codec_id == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
    // The old context's own 32-character codec name is gone; the codec's
    // descriptor is what the libraries know of it now.
    if (ctx->codec_id != AV_CODEC_ID_NONE) {
        std::string name = Trimmed(av::avcodec_get_name(ctx->codec_id));
        if (!name.empty()) return name;
    }
    unsigned tag = ctx->codec_tag;
    bool printable = true;
    char c[4];
    for (int i = 0; i < 4; ++i) {
        c[i] = static_cast<char>((tag >> (8 * i)) & 0xff);
        if (c[i] < 32 || c[i] > 126) printable = false;
    }
    if (printable) return os::FormatC("%c%c%c%c / 0x%04X", c[0], c[1], c[2], c[3], tag);
    return os::FormatC("0x%04x", tag);
}

std::string MediaTypeName(int mediaType) {
    static const char* const kNames[] = {"Video", "Audio", "Data", "Subtitle", "Attachment"};
    if (mediaType < 0 || mediaType > 4) return "Unknown";
    return kNames[mediaType];
}

bool LinkFilters(AVFilterGraph* graph, const std::string& filters, AVFilterContext* source,
                 AVFilterContext* sink) {
    if (filters.empty()) return av::avfilter_link(source, 0, sink, 0) >= 0;
    AVFilterInOut* outputs = av::avfilter_inout_alloc();
    AVFilterInOut* inputs = av::avfilter_inout_alloc();
    os::ScopeExit release([&] {
        av::avfilter_inout_free(&outputs);
        av::avfilter_inout_free(&inputs);
    });
    if (!outputs || !inputs) return false;
    outputs->name = av::av_strdup("in");
    outputs->filter_ctx = source;
    outputs->pad_idx = 0;
    inputs->name = av::av_strdup("out");
    inputs->filter_ctx = sink;
    inputs->pad_idx = 0;
    return av::avfilter_graph_parse_ptr(graph, filters.c_str(), &inputs, &outputs, nullptr) >= 0;
}

} // namespace media
