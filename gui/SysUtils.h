#pragma once
// Run-time helpers that the application and the skin code call: file names and the file
// system (the OS layer's, under their class-library names), finding files by mask, number and
// text conversions in the C locale.
#include "os/Convert.h"
#include "os/Paths.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gui {

using os::ChangeFileExt;
using os::DirectoryExists;
using os::ExcludeTrailingPathDelimiter;
using os::ExtractFileExt;
using os::ExtractFileName;
using os::ExtractFilePath;
using os::FileExists;
using os::ForceDirectories;
using os::IncludeTrailingPathDelimiter;
using os::PathDelim;
inline bool DeleteFile(const std::string& fileName) {
    return os::DeleteFileName(fileName);
}

using os::EConvertError;
using os::LowerCase;
using os::SameText;
using os::StrToFloat;
using os::StrToInt;
using os::StrToInt64;
using os::StrToIntDef;
using os::Trim;
using os::TryStrToFloat;
using os::TryStrToInt;
using os::UpperCase;

// printf-style, in the C locale.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string IntToStr(int64_t value);
// Shortest general form with up to 15 significant digits, "." as decimal point, "E" exponent.
std::string FloatToStr(double value);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
                          unsigned flags);
// 1-based position of sub in s, 0 when absent; Copy takes count bytes from a 1-based index,
// clamped to the text.
int Pos(const std::string& sub, const std::string& s);
std::string Copy(const std::string& s, int index, int count);

// --- finding files ---------------------------------------------------------------------------

// File attributes with their Win32 values.  Hidden means a dot file; read-only means we may not
// write it.  Volume IDs and system files do not exist here.
enum TFileAttr : int {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faSymLink = 0x40,
    faAnyFile = 0x3F,
};

// "*" and "?" wildcards, letters compared without regard to case ("*.AVI" matches "x.avi");
// "*.*" matches every name, with or without an extension, as on Windows.
bool MatchesMask(const std::string& name, const std::string& mask);

struct TSearchRec {
    std::string Name; // the name within the folder
    int64_t Size = 0;
    int Attr = 0;
    std::shared_ptr<void> FindHandle;
};

// Win32 result codes: 0 found, 2 no match, 3 folder missing, 18 no more.
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_PATH_NOT_FOUND = 3;
constexpr int ERROR_NO_MORE_FILES = 18;

// path is a folder and a mask ("/data/*.avi").  Plain files always qualify; folders, hidden
// and system entries only when attr asks for them.  "." and ".." are never returned.  Entries
// come in case-insensitive name order.
int FindFirst(const std::string& path, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

} // namespace gui
