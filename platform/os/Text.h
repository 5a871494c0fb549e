#pragma once
// Character sets.  The program keeps text in UTF-8; what Win32 calls the
// "ANSI" code page is the current locale's character set here.
#include <string>

namespace os {

// Converts UTF-8 text to the locale's character set.  False when some
// character cannot be held there (or the text is not valid UTF-8).
bool Utf8ToLocale(const std::string& utf8, std::string& out);
// Converts bytes in the locale's character set to UTF-8; bytes that do not
// decode are kept as U+FFFD.
std::string LocaleToUtf8(const std::string& bytes);
bool IsValidUtf8(const std::string& s);
// Latin-1 reading of arbitrary bytes (each byte one character of that code).
std::string Latin1ToUtf8(const std::string& bytes);

} // namespace os
