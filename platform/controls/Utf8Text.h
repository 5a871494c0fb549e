#pragma once
// Stepping through UTF-8 text by characters (code points; a malformed byte is a
// character of its own, as the font engine reads it) and the character
// classes the controls need: case folding for searches and case styles, and
// word breaks as Win32's default word-break procedure makes them (only white
// space separates words, so a run of Chinese text is one word).
#include <string>

namespace controls::text {

size_t Next(const std::string& s, size_t i); // the start of the character after i
size_t Prev(const std::string& s, size_t i); // the start of the character before i
size_t Snap(const std::string& s, size_t i); // i moved back onto a character start
char32_t At(const std::string& s, size_t i);
size_t CountChars(const std::string& s);
std::string Encode(char32_t c);
bool IsSpace(char32_t c);
char32_t Lower(char32_t c);
char32_t Upper(char32_t c);
std::string ToLower(const std::string& s);
std::string ToUpper(const std::string& s);
// Case-insensitive: whether s starts with prefix; whether both are equal.
bool StartsWithNoCase(const std::string& s, const std::string& prefix);
bool EqualNoCase(const std::string& a, const std::string& b);
int CompareNoCase(const std::string& a, const std::string& b);

} // namespace controls::text
