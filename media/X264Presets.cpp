#include "media/X264Presets.h"

#include <algorithm>
#include <cstring>

namespace media {
namespace {

// The text of "libx264-medium", which the other presets change.
const std::vector<std::string> kReference = {
    "coder=1",
    "flags=+loop",
    "cmp=+chroma",
    "partitions=+parti8x8+parti4x4+partp8x8+partb8x8",
    "me_method=hex",
    "subq=7",
    "me_range=16",
    "g=250",
    "keyint_min=25",
    "sc_threshold=40",
    "i_qfactor=0.71",
    "b_strategy=1",
    "qcomp=0.6",
    "qmin=10",
    "qmax=51",
    "qdiff=4",
    "bf=3",
    "refs=3",
    "directpred=1",
    "trellis=1",
    "flags2=+bpyramid+mixed_refs+wpred+dct8x8+fastpskip",
    "wpredp=2",
};

enum TRowKind {
    rkOnly, // exactly the lines given
    rkWith, // the reference with these lines replaced or added, without the keys named
};

struct TPresetRow {
    const char* Name;
    TRowKind Kind;
    std::vector<std::string> Lines;
    std::vector<std::string> Without;
};

// clang-format off
const std::vector<TPresetRow>& Rows() {
    static const std::vector<TPresetRow> rows = {
        {"libx264-baseline", rkOnly, {"coder=0", "bf=0", "flags2=-wpred-dct8x8", "wpredp=0"}, {}},
        {"libx264-default", rkWith, {"flags2=+mixed_refs+wpred+dct8x8+fastpskip"}, {}},
        {"libx264-fast", rkWith, {"subq=6", "refs=2"}, {}},
        {"libx264-fast_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=2", "refs=1", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"}, {}},
        {"libx264-faster", rkWith, {"subq=4", "refs=2", "flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", "wpredp=1"}, {}},
        {"libx264-faster_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=2", "refs=1", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip", "wpredp=1"}, {}},
        {"libx264-fastfirstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8", "me_method=dia", "subq=2", "refs=1", "directpred=3", "trellis=0", "flags2=-bpyramid-wpred-mixed_refs-dct8x8+fastpskip"}, {}},
        {"libx264-hq", rkWith, {"me_method=umh", "subq=8", "b_strategy=2", "refs=4", "directpred=3", "flags2=+wpred+mixed_refs+dct8x8+fastpskip"}, {}},
        {"libx264-ipod320", rkOnly, {"coder=0", "bf=0", "flags2=-wpred-dct8x8", "level=13", "maxrate=768000", "bufsize=3000000", "wpredp=0"}, {}},
        {"libx264-ipod640", rkOnly, {"coder=0", "bf=0", "refs=1", "flags2=-wpred-dct8x8", "level=30", "maxrate=10000000", "bufsize=10000000", "wpredp=0"}, {}},
        {"libx264-lossless_fast", rkWith, {"coder=0", "partitions=-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8", "subq=3", "flags2=+fastpskip", "cqp=0", "wpredp=0"}, {"bf", "refs", "trellis"}},
        {"libx264-lossless_max", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "me_method=esa", "subq=8", "refs=16", "flags2=+mixed_refs+dct8x8+fastpskip", "cqp=0"}, {"bf", "trellis"}},
        {"libx264-lossless_medium", rkWith, {"partitions=-parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "subq=5", "flags2=+fastpskip", "cqp=0"}, {"bf", "refs", "trellis"}},
        {"libx264-lossless_slow", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "me_method=umh", "subq=6", "refs=2", "flags2=+dct8x8+fastpskip", "cqp=0"}, {"bf", "trellis"}},
        {"libx264-lossless_slower", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "me_method=umh", "subq=8", "refs=4", "flags2=+mixed_refs+dct8x8+fastpskip", "cqp=0"}, {"bf", "trellis"}},
        {"libx264-lossless_ultrafast", rkWith, {"coder=0", "partitions=-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8", "me_method=dia", "subq=0", "flags2=+fastpskip", "cqp=0"}, {"bf", "refs", "trellis", "wpredp"}},
        {"libx264-main", rkOnly, {"flags2=-dct8x8"}, {}},
        {"libx264-max", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "me_method=tesa", "subq=10", "me_range=24", "b_strategy=2", "refs=16", "directpred=3", "trellis=2", "flags2=+wpred+mixed_refs+dct8x8-fastpskip"}, {}},
        {"libx264-medium", rkWith, {}, {}},
        {"libx264-medium_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=2", "refs=1", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"}, {}},
        {"libx264-normal", rkWith, {"subq=6", "refs=2", "directpred=3", "trellis=0", "flags2=+wpred+dct8x8+fastpskip"}, {}},
        {"libx264-placebo", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "me_method=tesa", "subq=10", "me_range=24", "b_strategy=2", "bf=16", "refs=16", "directpred=3", "trellis=2", "flags2=+bpyramid+mixed_refs+wpred+dct8x8-fastpskip"}, {}},
        {"libx264-placebo_firstpass", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "me_method=tesa", "subq=10", "me_range=24", "b_strategy=2", "bf=16", "refs=16", "directpred=3", "trellis=2", "flags2=+bpyramid+mixed_refs+wpred+dct8x8-fastpskip"}, {}},
        {"libx264-slow", rkWith, {"me_method=umh", "subq=8", "b_strategy=2", "refs=5", "directpred=3"}, {}},
        {"libx264-slow_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=2", "b_strategy=2", "refs=1", "directpred=3", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"}, {}},
        {"libx264-slower", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "me_method=umh", "subq=9", "b_strategy=2", "refs=8", "directpred=3", "trellis=2"}, {}},
        {"libx264-slower_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=2", "b_strategy=2", "refs=1", "directpred=3", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"}, {}},
        {"libx264-slowfirstpass", rkWith, {"subq=6", "b_strategy=2", "refs=1", "directpred=3", "trellis=0", "flags2=+wpred+dct8x8+fastpskip"}, {}},
        {"libx264-superfast", rkWith, {"partitions=+parti8x8+parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=1", "refs=1", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree", "wpredp=0"}, {}},
        {"libx264-superfast_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=1", "refs=1", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree", "wpredp=0"}, {}},
        {"libx264-ultrafast", rkWith, {"coder=0", "flags=-loop", "partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=0", "sc_threshold=0", "b_strategy=0", "bf=0", "refs=1", "trellis=0", "flags2=-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree", "wpredp=0"}, {}},
        {"libx264-ultrafast_firstpass", rkWith, {"coder=0", "flags=-loop", "partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=0", "sc_threshold=0", "b_strategy=0", "bf=0", "refs=1", "trellis=0", "flags2=-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree", "wpredp=0"}, {}},
        {"libx264-veryfast", rkWith, {"subq=2", "refs=1", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree", "wpredp=0"}, {}},
        {"libx264-veryfast_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=2", "refs=1", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree", "wpredp=0"}, {}},
        {"libx264-veryslow", rkWith, {"partitions=+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8", "me_method=umh", "subq=10", "me_range=24", "b_strategy=2", "bf=8", "refs=16", "directpred=3", "trellis=2"}, {}},
        {"libx264-veryslow_firstpass", rkWith, {"partitions=-parti8x8-parti4x4-partp8x8-partb8x8", "me_method=dia", "subq=2", "me_range=24", "b_strategy=2", "bf=8", "refs=1", "directpred=3", "trellis=0", "flags2=+bpyramid-mixed_refs+wpred-dct8x8+fastpskip"}, {}},
    };
    return rows;
}
// clang-format on

std::string KeyOf(const std::string& line) {
    return line.substr(0, line.find('='));
}

// Keys that, when a preset adds them, stand right after the "flags2" line.
bool AddedAfterFlags2(const std::string& key) {
    return key == "cqp" || key == "level" || key == "maxrate" || key == "bufsize";
}

std::string Compose(const TPresetRow& row) {
    std::vector<std::string> lines = row.Kind == rkOnly ? row.Lines : kReference;
    if (row.Kind == rkWith) {
        auto afterFlags2 = std::find_if(lines.begin(), lines.end(),
                                        [](const std::string& l) { return KeyOf(l) == "flags2"; }) -
                           lines.begin() + 1;
        for (const std::string& line : row.Lines) {
            auto same = std::find_if(lines.begin(), lines.end(),
                                     [&](const std::string& l) { return KeyOf(l) == KeyOf(line); });
            if (same != lines.end())
                *same = line;
            else if (AddedAfterFlags2(KeyOf(line)))
                lines.insert(lines.begin() + afterFlags2++, line);
            else
                lines.push_back(line);
        }
        for (const std::string& key : row.Without)
            std::erase_if(lines, [&](const std::string& l) { return KeyOf(l) == key; });
    }
    std::string text;
    for (const std::string& l : lines) text += (text.empty() ? "" : "\n") + l;
    return text;
}

// "+parti8x8-partp4x4" style sets: each name with its sign, "+" when none.
bool SplitSignedFlags(const std::string& value, std::vector<std::pair<char, std::string>>& flags) {
    size_t i = 0;
    while (i < value.size()) {
        char sign = 0;
        if (value[i] == '+' || value[i] == '-') sign = value[i++];
        size_t end = value.find_first_of("+-", i);
        if (end == std::string::npos) end = value.size();
        if (end == i) return false;
        flags.emplace_back(sign, value.substr(i, end - i));
        i = end;
    }
    return !flags.empty();
}

// The old partition flags name libx264's partitions with a prefix.
bool TranslatePartitions(const std::string& value, TOptionPairs& out) {
    static const char* const kNames[][2] = {
        {"parti4x4", "i4x4"},
        {"parti8x8", "i8x8"},
        {"partp4x4", "p4x4"},
        {"partp8x8", "p8x8"},
        {"partb8x8", "b8x8"}
    };
    std::vector<std::pair<char, std::string>> flags;
    if (!SplitSignedFlags(value, flags)) return false;
    bool on[5] = {};
    for (const auto& [sign, name] : flags) {
        auto it = std::find_if(std::begin(kNames), std::end(kNames),
                               [&name = name](const auto& n) { return name == n[0]; });
        if (it == std::end(kNames)) return false;
        on[it - std::begin(kNames)] = sign != '-';
    }
    std::string list;
    for (int i = 0; i < 5; ++i)
        if (on[i]) list += (list.empty() ? "" : ",") + std::string(kNames[i][1]);
    out.emplace_back("partitions", list.empty() ? "none" : list);
    return true;
}

// The old x264 flags of "flags2" are switches of libx264 now; the flags that
// the generic option still knows stay with it.
bool TranslateFlags2(const std::string& value, TOptionPairs& out) {
    static const char* const kSwitches[][2] = {
        {"mixed_refs",    "mixed-refs"   },
        {"wpred",         "weightb"      },
        {"dct8x8",        "8x8dct"       },
        {"fastpskip",     "fast-pskip"   },
        {"aud",           "aud"          },
        {"mbtree",        "mbtree"       },
        {"psy",           "psy"          },
        {"ssim",          "ssim"         },
        {"intra_refresh", "intra-refresh"}
    };
    std::vector<std::pair<char, std::string>> flags;
    if (!SplitSignedFlags(value, flags)) return false;
    std::string generic;
    for (const auto& [sign, name] : flags) {
        const bool set = sign != '-';
        if (name == "bpyramid") {
            out.emplace_back("b-pyramid", set ? "normal" : "none");
            continue;
        }
        auto it = std::find_if(std::begin(kSwitches), std::end(kSwitches),
                               [&name = name](const auto& s) { return name == s[0]; });
        if (it != std::end(kSwitches))
            out.emplace_back((*it)[1], set ? "1" : "0");
        else
            generic += (sign ? std::string(1, sign) : std::string()) + name;
    }
    if (!generic.empty()) out.emplace_back("flags2", generic);
    return true;
}

} // namespace

const std::vector<TOptionsPreset>& BuiltinPresets() {
    static const std::vector<TOptionsPreset> presets = [] {
        std::vector<TOptionsPreset> list;
        for (const TPresetRow& row : Rows()) list.push_back({row.Name, Compose(row)});
        return list;
    }();
    return presets;
}

TLegacyX264 TranslateLegacyX264Option(const std::string& name, const std::string& value, TOptionPairs& out) {
    out.clear();
    if (name == "partitions")
        return TranslatePartitions(value, out) ? TLegacyX264::Translated : TLegacyX264::Invalid;
    if (name == "flags2") return TranslateFlags2(value, out) ? TLegacyX264::Translated : TLegacyX264::Invalid;
    if (name == "directpred") {
        out.emplace_back("direct-pred", value);
        return TLegacyX264::Translated;
    }
    if (name == "cqp") {
        out.emplace_back("qp", value);
        return TLegacyX264::Translated;
    }
    return TLegacyX264::NotLegacy;
}

} // namespace media
