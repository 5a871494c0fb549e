#include "skin/core/SkinIni.h"

#include "gui/CustomIniFile.h"
#include "gui/StringList.h"
#include "os/Convert.h"

#include <array>
#include <limits>

namespace skin {

namespace {

// Splits at "," keeping only digits; false unless there are exactly `parts` convertible parts.
template <size_t N> bool DigitParts(const std::string& s, std::array<int32_t, N>& out) {
    size_t part = 0;
    int64_t value = 0;
    bool digits = false;
    for (char c : s) {
        if (c == ',') {
            if (!digits || ++part >= N) return false;
            out[part - 1] = static_cast<int32_t>(value);
            value = 0;
            digits = false;
        } else if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            if (value > std::numeric_limits<int32_t>::max()) return false;
            digits = true;
        }
    }
    if (!digits || part != N - 1) return false;
    out[part] = static_cast<int32_t>(value);
    return true;
}

template <class E, size_t N>
E ReadKeyword(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
              const std::array<const char*, N>& names, E def, E other) {
    std::string v = ini.ReadString(section, ident, names[static_cast<size_t>(def)]);
    for (size_t i = 0; i < N; ++i)
        if (v == names[i]) return static_cast<E>(i);
    return other;
}

constexpr std::array<const char*, 3> kAlignments{"taleftjustify", "tarightjustify", "tacenter"};
constexpr std::array<const char*, 3> kStretchTypes{"stfull", "sthorz", "stvert"};
constexpr std::array<const char*, 7> kMorphKinds{
    "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush"};
constexpr std::array<const char*, 6> kInActiveEffects{"iebrightness", "iedarkness",  "iegrayscale",
                                                      "ienoise",      "iesplitblur", "ieinvert"};
constexpr std::array<const char*, 7> kStdCommands{"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                                  "cmdefault", "cmrollup",   "cmminimizetotray"};
constexpr std::array<const char*, 4> kFontStyles{"fsbold", "fsitalic", "fsunderline", "fsstrikeout"};

} // namespace

bool IsValidSkinIni(gui::TCustomIniFile& ini) {
    for (const char* s : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
        if (!ini.SectionExists(s)) return false;
    return true;
}

TRect StrToRect(const std::string& s) {
    std::array<int32_t, 4> p{};
    if (!DigitParts(s, p)) return {};
    return {p[0], p[1], p[2], p[3]};
}

TPoint StrToPoint(const std::string& s) {
    std::array<int32_t, 2> p{};
    if (!DigitParts(s, p)) return {};
    return {p[0], p[1]};
}

std::string RectToStr(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

std::string PointToStr(const TPoint& p) {
    return std::to_string(p.X) + "," + std::to_string(p.Y);
}

TRect ReadRect(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    return StrToRect(ini.ReadString(section, ident, "0,0,0,0"));
}

void WriteRect(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
               const TRect& r) {
    ini.WriteString(section, ident, RectToStr(r));
}

TPoint ReadPoint(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    return StrToPoint(ini.ReadString(section, ident, "0,0"));
}

void WritePoint(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                const TPoint& p) {
    ini.WriteString(section, ident, PointToStr(p));
}

bool ReadSkinBoolean(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    return ReadSkinInteger(ini, section, ident, 0) == 1;
}

void WriteSkinBoolean(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                      bool value) {
    ini.WriteString(section, ident, value ? "1" : "0");
}

TFontStyles ReadFontStyles(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    std::string v = ini.ReadString(section, ident, "");
    TFontStyles r = 0;
    for (size_t i = 0; i < kFontStyles.size(); ++i)
        if (v.find(kFontStyles[i]) != std::string::npos) r |= static_cast<TFontStyles>(1u << i);
    return r;
}

void WriteFontStyles(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                     TFontStyles styles) {
    std::string v;
    for (size_t i = 0; i < kFontStyles.size(); ++i)
        if (styles & (1u << i)) v += (v.empty() ? "" : ",") + std::string(kFontStyles[i]);
    ini.WriteString(section, ident, v);
}

int NumberedKeyLimit(const gui::TStrings& keys) {
    int limit = 0;
    for (int i = 0; i < keys.Count(); ++i) {
        int32_t n = NumberedKey(keys[i]);
        if (n >= limit) limit = n + 1;
    }
    return limit;
}

int32_t NumberedKey(const std::string& key) {
    // Only the spelling std::to_string gives is an item: "07" and "+7" are other keys.
    if (key.empty() || key.size() > 10 || (key.size() > 1 && key[0] == '0')) return -1;
    int64_t v = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v < std::numeric_limits<int32_t>::max() ? static_cast<int32_t>(v) : -1;
}

int ReadListCount(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    int n = ReadSkinInteger(ini, section, ident, 0);
    if (n <= 0) return 0;
    // Items may be missing in between: the count reaches to the last item there is.
    gui::TStringList names;
    ini.ReadSection(section, names);
    int limit = NumberedKeyLimit(names);
    return n < limit ? n : limit;
}

int32_t ReadSkinInteger(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                        int32_t def) {
    std::string text = os::Trim(ini.ReadString(section, ident, ""));
    int64_t v;
    if (!os::TryStrToInt64(text, v)) return def;
    if (v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max())
        return static_cast<int32_t>(v);
    // Hexadecimal is a 32-bit pattern: "$FF00000F" is a system colour, not out of range.
    bool hex = !text.empty() && (text[0] == '$' || text.starts_with("0x") || text.starts_with("0X"));
    if (hex && v > 0 && v <= 0xFFFFFFFFll) return static_cast<int32_t>(static_cast<uint32_t>(v));
    return def;
}

void ReadStrings(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                 gui::TStrings& list) {
    int n = ReadListCount(ini, section, ident + "count");
    for (int i = 0; i < n; ++i) list.Add(ini.ReadString(section, std::to_string(i), ""));
}

void WriteStrings(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                  const gui::TStrings& list) {
    ini.WriteInteger(section, ident + "count", list.Count());
    for (int i = 0; i < list.Count(); ++i) ini.WriteString(section, std::to_string(i), list[i]);
}

TAlignment ReadAlignment(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    return ReadKeyword(ini, section, ident, kAlignments, TAlignment::taCenter, TAlignment::taRightJustify);
}

void WriteAlignment(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                    TAlignment value) {
    ini.WriteString(section, ident, kAlignments[static_cast<size_t>(value)]);
}

TbsStretchType ReadStretchType(gui::TCustomIniFile& ini, const std::string& section,
                               const std::string& ident) {
    return ReadKeyword(ini, section, ident, kStretchTypes, TbsStretchType::bsstFull,
                       TbsStretchType::bsstHorz);
}

void WriteStretchType(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                      TbsStretchType value) {
    ini.WriteString(section, ident, kStretchTypes[static_cast<size_t>(value)]);
}

TbsMorphKind ReadMorphKind(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    return ReadKeyword(ini, section, ident, kMorphKinds, TbsMorphKind::mkDefault, TbsMorphKind::mkDefault);
}

void WriteMorphKind(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                    TbsMorphKind value) {
    ini.WriteString(section, ident, kMorphKinds[static_cast<size_t>(value)]);
}

TbsInActiveEffect ReadInActiveEffect(gui::TCustomIniFile& ini, const std::string& section,
                                     const std::string& ident) {
    return ReadKeyword(ini, section, ident, kInActiveEffects, TbsInActiveEffect::ieBrightness,
                       TbsInActiveEffect::ieGrayScale);
}

void WriteInActiveEffect(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                         TbsInActiveEffect value) {
    ini.WriteString(section, ident, kInActiveEffects[static_cast<size_t>(value)]);
}

TbsStdCommand ReadStdCommand(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    return ReadKeyword(ini, section, ident, kStdCommands, TbsStdCommand::cmDefault,
                       TbsStdCommand::cmMinimizeToTray);
}

void WriteStdCommand(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                     TbsStdCommand value) {
    ini.WriteString(section, ident, kStdCommands[static_cast<size_t>(value)]);
}

} // namespace skin
