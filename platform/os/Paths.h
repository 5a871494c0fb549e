#pragma once
// File names and the file system.  Names are UTF-8 throughout the program.
#include <cstdint>
#include <string>

namespace os {

constexpr char PathDelim = '/';

std::string ExeFolder(); // the program's folder, with a trailing delimiter
std::string IncludeTrailingPathDelimiter(const std::string& s);
std::string ExcludeTrailingPathDelimiter(const std::string& s);
std::string ExtractFilePath(const std::string& s); // up to and with the last delimiter
std::string ExtractFileName(const std::string& s);
std::string ExtractFileExt(const std::string& s); // with the dot; "" when none
std::string ChangeFileExt(const std::string& s, const std::string& ext);
std::string CurrentDirectory();
bool FileExists(const std::string& s); // a file that is not a folder
bool DirectoryExists(const std::string& s);
bool ForceDirectories(const std::string& s);
int64_t FileSize(const std::string& s); // -1 when it cannot be read
bool DeleteFileName(const std::string& s);

} // namespace os
