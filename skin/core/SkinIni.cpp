#include "skin/core/SkinIni.h"

#include "gui/CustomIniFile.h"
#include "gui/StringList.h"
#include "skin/core/SkinIniFile.h"

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
    return ini.ReadInteger(section, ident, 0) == 1;
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

int ReadListCount(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident) {
    int n = ini.ReadInteger(section, ident, 0);
    if (n <= 0) return 0;
    int keys;
    if (auto* skinIni = dynamic_cast<TbsSkinIniFile*>(&ini)) {
        keys = skinIni->ValueCount(section);
    } else {
        gui::TStringList names;
        ini.ReadSection(section, names);
        keys = names.Count();
    }
    return n < keys ? n : keys;
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
