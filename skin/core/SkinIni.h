#pragma once
// Value encodings of skin text, shared by the skin data and every descriptor.  Keywords are
// compared exactly, letter case included; key and section names are not.
#include "skin/core/SkinTypes.h"

#include <cstdint>
#include <string>

namespace gui {
class TCustomIniFile;
class TStrings;
} // namespace gui

namespace skin {

// The five sections every skin text has.
bool IsValidSkinIni(gui::TCustomIniFile& ini);

// Digits only: signs and blanks are dropped, so values are never negative.  A value with the
// wrong number of parts, or a part without a digit or too large, is not a rect (point) and
// reads as all zeros.
TRect StrToRect(const std::string& s);
TPoint StrToPoint(const std::string& s);
std::string RectToStr(const TRect& r);
std::string PointToStr(const TPoint& p);

TRect ReadRect(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
void WriteRect(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
               const TRect& r);
TPoint ReadPoint(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
void WritePoint(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                const TPoint& p);
// Only the integer 1 is true.
bool ReadSkinBoolean(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
void WriteSkinBoolean(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                      bool value);
// A style is set when its name occurs anywhere in the value.
TFontStyles ReadFontStyles(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
void WriteFontStyles(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                     TFontStyles styles);
// "<ident>count" and the items under "0", "1", ...; the reader appends.
void ReadStrings(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                 gui::TStrings& list);
void WriteStrings(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                  const gui::TStrings& list);
TAlignment ReadAlignment(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
void WriteAlignment(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                    TAlignment value);
TbsStretchType ReadStretchType(gui::TCustomIniFile& ini, const std::string& section,
                               const std::string& ident);
void WriteStretchType(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                      TbsStretchType value);
TbsMorphKind ReadMorphKind(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
void WriteMorphKind(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                    TbsMorphKind value);
TbsInActiveEffect ReadInActiveEffect(gui::TCustomIniFile& ini, const std::string& section,
                                     const std::string& ident);
void WriteInActiveEffect(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                         TbsInActiveEffect value);
TbsStdCommand ReadStdCommand(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
void WriteStdCommand(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                     TbsStdCommand value);

// The number of items a list key may announce: never beyond the largest numbered key of the
// section, so a damaged count cannot make a reader loop or allocate without end, while items
// after a missing one are still read.
int ReadListCount(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident);
// The item number a key names ("0", "17"), or -1 for any other key.
int32_t NumberedKey(const std::string& key);
// The largest item number among the keys, plus one; 0 when there is none.
int NumberedKeyLimit(const gui::TStrings& keys);

// An integer value: decimal, or hexadecimal after "$" or "0x".  A hexadecimal value above
// 0x7FFFFFFF is the 32-bit value it spells (a system colour is written $FF00000F).  Text that
// is no integer gives the default.
int32_t ReadSkinInteger(gui::TCustomIniFile& ini, const std::string& section, const std::string& ident,
                        int32_t def);

} // namespace skin
