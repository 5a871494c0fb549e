#pragma once
// Output file names of the file list: every row writes its own file, so a name is free only when
// no other row uses it and, unless overwriting is chosen, no file of that name exists yet.
#include <functional>
#include <string>
#include <vector>

namespace app {

using TNameExists = std::function<bool(const std::string& path)>;

// `name` (no folder) as it stands when free, else base + "_1" + ext, "_2", ... (the first free
// one), in the numbering the catalogue gives new outputs. `taken` are the other rows' names;
// the disk is asked only when `overwrite` is off.
std::string UniqueOutputName(const std::string& folder, const std::string& name,
                             const std::vector<std::string>& taken, bool overwrite,
                             const TNameExists& exists);

// Why the typed base name cannot rename a row's output (the message the user sees), or empty
// when `newName` (the text with its extension) may be used. `taken` are the other rows' names.
std::string RenameRefusal(const std::string& text, const std::string& newName,
                          const std::vector<std::string>& taken);

inline constexpr const char* kRenameEmpty = "文件名不能为空！";
inline constexpr const char* kRenameBadText = "文件名不能包含“/”、“..”或控制字符！";
inline constexpr const char* kRenameTaken = "该文件名已被列表中的其他文件使用！";

} // namespace app
