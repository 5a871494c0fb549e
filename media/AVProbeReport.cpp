// The file-information report of the probe.
#include <cmath>
#include <iterator>

#include "media/AVApi.h"
#include "media/AVProbe.h"
#include "media/ComponentUtils.h"
#include "media/FFUtils.h"
#include "os/Convert.h"
#include "os/Text.h"

namespace media {
namespace {

struct TID3Key {
    const char* id;
    const char* shown;
};

const TID3Key ID3KeyTable[] = {
    {"TALB", "album"     },
    {"TAL",  "album"     },
    {"TCOM", "composer"  },
    {"TCON", "genre"     },
    {"TCO",  "genre"     },
    {"TCOP", "copyright" },
    {"TDRL", "date"      },
    {"TENC", "encoder"   },
    {"TEN",  "encoder"   },
    {"TIT2", "title"     },
    {"TT2",  "title"     },
    {"TLAN", "language"  },
    {"TPE1", "artist"    },
    {"TP1",  "artist"    },
    {"TPOS", "disc"      },
    {"TPUB", "publisher" },
    {"TRCK", "track"     },
    {"TRK",  "track"     },
    {"TSOA", "albumsort" },
    {"TSOP", "authorsort"},
    {"TSOT", "titlesort" },
    {"TYER", "year"      },
};
static_assert(std::size(ID3KeyTable) == 22);

// Metadata text from the libraries: UTF-8 when it is, otherwise read byte by byte.
std::string LibraryText(const char* s) {
    std::string text = s ? s : "";
    return os::IsValidUtf8(text) ? text : os::Latin1ToUtf8(text);
}

// Whole seconds and six digits of microseconds.  A negative time is written
// with one sign in front, not a minus sign inside the fraction.
std::string SecondsText(int64_t us) {
    const char* sign = us < 0 ? "-" : "";
    uint64_t u = us < 0 ? 0 - static_cast<uint64_t>(us) : static_cast<uint64_t>(us);
    return os::FormatC("%s%llu.%.6llu", sign, static_cast<unsigned long long>(u / 1000000),
                       static_cast<unsigned long long>(u % 1000000));
}

std::string RateText(double d, const char* suffix) {
    // nearbyint rounds halves to even in the default rounding mode.
    int64_t v = static_cast<int64_t>(std::nearbyint(d * 100));
    if (v % 100 != 0) return os::FormatC(", %3.2f %s", d, suffix);
    if (v % 100000 != 0) return os::FormatC(", %1.0f %s", d, suffix);
    return os::FormatC(", %1.0fk %s", d / 1000, suffix);
}

bool Known(AVRational r) {
    return r.num != 0 && r.den != 0;
}

} // namespace

std::string ID3KeyName(const std::string& key) {
    for (const TID3Key& k : ID3KeyTable)
        if (key == k.id) return k.shown;
    return key;
}

void TCustomAVProbe::AddMetadataLines(std::vector<std::string>& ALines, const AVDictionary* AMetadata,
                                      const std::string& AIndent) const {
    int count = AMetadata ? av::av_dict_count(AMetadata) : 0;
    if (count == 0) return;
    const AVDictionaryEntry* tag = av::av_dict_get(AMetadata, "", nullptr, AV_DICT_IGNORE_SUFFIX);
    if (count == 1 && std::string(tag->key) == "language") return;
    ALines.push_back(AIndent + "Metadata:");
    for (; tag; tag = av::av_dict_get(AMetadata, "", tag, AV_DICT_IGNORE_SUFFIX)) {
        std::string key = LibraryText(tag->key);
        if (key == "language") continue;
        ALines.push_back(os::FormatC("%s  %-16s: %s", AIndent.c_str(), ID3KeyName(key).c_str(),
                                     LibraryText(tag->value).c_str()));
    }
}

void TCustomAVProbe::AddStreamLine(std::vector<std::string>& ALines, int AIndex) const {
    const AVFormatContext* ic = FFileHandle;
    const AVStream* st = ic->streams[AIndex];
    AVCodecContext* ctx = StreamCodec(AIndex);
    std::string line = os::FormatC("Stream #%d", AIndex);
    if (ic->iformat && (ic->iformat->flags & AVFMT_SHOW_IDS)) line += os::FormatC("[0x%x]", st->id);
    std::string language = MetadataValue(st->metadata, "language", "");
    if (!language.empty()) line += "(" + language + ")";
    AVRational tb = st->time_base;
    int64_t g = av::av_gcd(tb.num, tb.den);
    if (g == 0) g = 1;
    line +=
        os::FormatC(", %lld/%lld", static_cast<long long>(tb.num / g), static_cast<long long>(tb.den / g));
    if (ctx) {
        char description[256] = {};
        av::avcodec_string(description, sizeof(description), ctx, 0);
        line += std::string(": ") + description;

        AVRational sar = st->sample_aspect_ratio;
        if (sar.num != 0 && int64_t{sar.num} * ctx->sample_aspect_ratio.den !=
                                int64_t{ctx->sample_aspect_ratio.num} * sar.den) {
            int dn = 0, dd = 0;
            av::av_reduce(&dn, &dd, int64_t{ctx->width} * sar.num, int64_t{ctx->height} * sar.den, 1048576);
            line += os::FormatC(", PAR %d:%d DAR %d:%d", sar.num, sar.den, dn, dd);
        }
    }
    if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (Known(st->avg_frame_rate)) line += RateText(av_q2d(st->avg_frame_rate), "fps");
        if (Known(st->r_frame_rate)) line += RateText(av_q2d(st->r_frame_rate), "tbr");
        if (Known(tb)) line += RateText(1 / av_q2d(tb), "tbn");
        // A demuxed stream has no codec time base any more; our description
        // of it keeps 0/1, so "tbc" only appears if the libraries give one.
        if (ctx && Known(ctx->time_base)) line += RateText(1 / av_q2d(ctx->time_base), "tbc");
    }
    AVRational micro{1, 1000000};
    AVRational usable{tb.num, tb.den != 0 ? tb.den : (tb.num != 0 ? tb.num : 1)};
    if (st->start_time != AV_NOPTS_VALUE)
        line += ", StartTime: " + SecondsText(av::av_rescale_q(st->start_time, usable, micro));
    if (st->duration != AV_NOPTS_VALUE)
        line += ", Duration: " + TimeText(av::av_rescale_q(st->duration, usable, micro));
    else
        line += ", Duration: N/A";
    ALines.push_back(line);
    AddMetadataLines(ALines, st->metadata, "  ");
}

std::string TCustomAVProbe::FileInfoText() {
    const AVFormatContext* ic = FFileHandle;
    if (!ic) {
        ReportMessage(llWarning, "file not loaded.");
        return {};
    }
    TFileStreamInfo fi = FileStreamInfo();
    std::vector<std::string> lines;
    lines.push_back("File Name: " + FileName());
    lines.push_back("Format Name: " + FormatName());
    lines.push_back("Format Long Name: " + FormatLongName());
    lines.push_back("File Size: " + SizeToText(FFileSize));
    lines.push_back(fi.Duration >= 0 ? "Duration: " + TimeText(fi.Duration) : "Duration: N/A");
    if (fi.StartTime >= 0) lines.push_back("StartTime: " + SecondsText(fi.StartTime));
    lines.push_back(fi.BitRate < 1 ? "Bit Rate: N/A" : os::FormatC("Bit Rate: %d kb/s", fi.BitRate / 1000));
    if (fi.TimeStamp > 0)
        lines.push_back("Time Stamp: " + DateTimeText("yyyy-mm-dd hh:nn:ss", UnixToDateTime(fi.TimeStamp)));
    AddMetadataLines(lines, ic->metadata, "");

    std::vector<bool> shown(static_cast<size_t>(FStreamCount), false);
    int programs = std::min(FProgramCount, static_cast<int>(ic->nb_programs));
    for (int p = 0; p < programs; ++p) {
        const AVProgram* program = ic->programs[p];
        // The program's provider and name fields are gone; the demuxers
        // keep them as service metadata now.
        const AVDictionary* md = program->metadata;
        std::string provider =
            MetadataValue(md, "service_provider", MetadataValue(md, "provider_name", "N/A"));
        std::string name = MetadataValue(md, "service_name", MetadataValue(md, "name", "N/A"));
        lines.push_back(os::FormatC("Program %d %s@%s", program->id, provider.c_str(), name.c_str()));
        AddMetadataLines(lines, md, "  ");
        for (unsigned j = 0; j < program->nb_stream_indexes; ++j) {
            int index = static_cast<int>(program->stream_index[j]);
            // Streams that appeared after the count was taken are not described.
            if (index >= FStreamCount) continue;
            AddStreamLine(lines, index);
            shown[static_cast<size_t>(index)] = true;
        }
    }
    for (int i = 0; i < FStreamCount; ++i)
        if (!shown[static_cast<size_t>(i)]) AddStreamLine(lines, i);

    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

} // namespace media
