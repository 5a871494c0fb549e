#pragma once
// Key tables of the descriptors: one row per ini key, naming the field it fills and the
// default it reads as when absent.  The encoding follows from the field's type.
#include "skin/core/SkinIni.h"

#include "gui/CustomIniFile.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace skin {

template <class C> struct TbsSkinKey {
    using Field = std::variant<int32_t C::*, bool C::*, std::string C::*, TRect C::*, TPoint C::*,
                               TFontStyles C::*, TAlignment C::*, TbsStretchType C::*, TbsMorphKind C::*,
                               TbsInActiveEffect C::*, TbsStdCommand C::*>;
    const char* name;
    Field field;
    int32_t def = 0;       // integers and colours
    const char* text = ""; // strings
};

namespace keys {

template <class M> struct MemberType;
template <class T, class X> struct MemberType<T X::*> { using type = T; };

// A row for class C whose field may be declared in a base of C.
template <class C, class M> TbsSkinKey<C> K(const char* name, M member, int32_t def = 0) {
    using T = typename MemberType<M>::type;
    return {name, static_cast<T C::*>(member), def, ""};
}
template <class C, class M> TbsSkinKey<C> S(const char* name, M member, const char* text = "") {
    return {name, static_cast<std::string C::*>(member), 0, text};
}

template <class C> std::vector<TbsSkinKey<C>> Join(std::initializer_list<std::vector<TbsSkinKey<C>>> parts) {
    std::vector<TbsSkinKey<C>> r;
    for (auto& p : parts) r.insert(r.end(), p.begin(), p.end());
    return r;
}

// "fontname", "fontheight", "fontstyle", "fontcolor".
template <class C> std::vector<TbsSkinKey<C>> FontGroup() {
    return {S<C>("fontname", &C::FontName, "Arial"), K<C>("fontheight", &C::FontHeight, 14),
            K<C>("fontstyle", &C::FontStyle), K<C>("fontcolor", &C::FontColor)};
}

// The up and down buttons, each normal, active and pressed.
template <class C> std::vector<TbsSkinKey<C>> ArrowGroup() {
    return {K<C>("upbuttonrect", &C::UpButtonRect),
            K<C>("activeupbuttonrect", &C::ActiveUpButtonRect),
            K<C>("downupbuttonrect", &C::DownUpButtonRect),
            K<C>("downbuttonrect", &C::DownButtonRect),
            K<C>("activedownbuttonrect", &C::ActiveDownButtonRect),
            K<C>("downdownbuttonrect", &C::DownDownButtonRect)};
}

} // namespace keys

template <class C>
void ReadSkinKeys(gui::TCustomIniFile& ini, const std::string& section, C& obj,
                  const std::vector<TbsSkinKey<C>>& table) {
    for (auto& k : table)
        std::visit(
            [&](auto member) {
                using T = typename keys::MemberType<decltype(member)>::type;
                T& f = obj.*member;
                if constexpr (std::is_same_v<T, int32_t>)
                    f = ReadSkinInteger(ini, section, k.name, k.def);
                else if constexpr (std::is_same_v<T, bool>)
                    f = ReadSkinBoolean(ini, section, k.name);
                else if constexpr (std::is_same_v<T, std::string>)
                    f = ini.ReadString(section, k.name, k.text);
                else if constexpr (std::is_same_v<T, TRect>)
                    f = ReadRect(ini, section, k.name);
                else if constexpr (std::is_same_v<T, TPoint>)
                    f = ReadPoint(ini, section, k.name);
                else if constexpr (std::is_same_v<T, TFontStyles>)
                    f = ReadFontStyles(ini, section, k.name);
                else if constexpr (std::is_same_v<T, TAlignment>)
                    f = ReadAlignment(ini, section, k.name);
                else if constexpr (std::is_same_v<T, TbsStretchType>)
                    f = ReadStretchType(ini, section, k.name);
                else if constexpr (std::is_same_v<T, TbsMorphKind>)
                    f = ReadMorphKind(ini, section, k.name);
                else if constexpr (std::is_same_v<T, TbsInActiveEffect>)
                    f = ReadInActiveEffect(ini, section, k.name);
                else
                    f = ReadStdCommand(ini, section, k.name);
            },
            k.field);
}

template <class C>
void WriteSkinKeys(gui::TCustomIniFile& ini, const std::string& section, const C& obj,
                   const std::vector<TbsSkinKey<C>>& table) {
    for (auto& k : table)
        std::visit(
            [&](auto member) {
                using T = typename keys::MemberType<decltype(member)>::type;
                const T& f = obj.*member;
                if constexpr (std::is_same_v<T, int32_t>)
                    ini.WriteInteger(section, k.name, f);
                else if constexpr (std::is_same_v<T, bool>)
                    WriteSkinBoolean(ini, section, k.name, f);
                else if constexpr (std::is_same_v<T, std::string>)
                    ini.WriteString(section, k.name, f);
                else if constexpr (std::is_same_v<T, TRect>)
                    WriteRect(ini, section, k.name, f);
                else if constexpr (std::is_same_v<T, TPoint>)
                    WritePoint(ini, section, k.name, f);
                else if constexpr (std::is_same_v<T, TFontStyles>)
                    WriteFontStyles(ini, section, k.name, f);
                else if constexpr (std::is_same_v<T, TAlignment>)
                    WriteAlignment(ini, section, k.name, f);
                else if constexpr (std::is_same_v<T, TbsStretchType>)
                    WriteStretchType(ini, section, k.name, f);
                else if constexpr (std::is_same_v<T, TbsMorphKind>)
                    WriteMorphKind(ini, section, k.name, f);
                else if constexpr (std::is_same_v<T, TbsInActiveEffect>)
                    WriteInActiveEffect(ini, section, k.name, f);
                else
                    WriteStdCommand(ini, section, k.name, f);
            },
            k.field);
}

// The descriptor classes of one family by their type keywords.  Subclasses stand before
// their bases, so that a writer names the most derived type.
template <class Base> class TbsSkinTypes {
public:
    struct Row {
        const char* keyword;
        std::function<std::unique_ptr<Base>(const std::string&)> create;
        std::function<bool(const Base&)> is;
    };
    template <class C> static Row Type(const char* keyword) {
        return {keyword, [](const std::string& name) { return std::make_unique<C>(name); },
                [](const Base& d) { return dynamic_cast<const C*>(&d) != nullptr; }};
    }
    explicit TbsSkinTypes(std::vector<Row> rows) : rows_(std::move(rows)) {}
    // Exact keyword, letter case included; nullptr for one that names no type.
    std::unique_ptr<Base> Create(const std::string& keyword, const std::string& name) const {
        for (auto& r : rows_)
            if (keyword == r.keyword) return r.create(name);
        return nullptr;
    }
    std::string Keyword(const Base& d) const {
        for (auto& r : rows_)
            if (r.is(d)) return r.keyword;
        return {};
    }

private:
    std::vector<Row> rows_;
};

} // namespace skin
