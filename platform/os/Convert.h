#pragma once
// Number formatting and parsing in the C locale, whatever the process locale
// says, and the conversion error the class library raises.
#include <cstdarg>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace os {

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// printf-style formatting in the C locale.
std::string FormatC(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string VFormatC(const char* fmt, va_list ap);

// Decimal (or "$"/"0x" hexadecimal) integers; surrounding blanks are allowed.
// Malformed text raises EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(const std::string& s);
int64_t StrToInt64(const std::string& s);
bool TryStrToInt(const std::string& s, int32_t& out);
bool TryStrToInt64(const std::string& s, int64_t& out);
int32_t StrToIntDef(const std::string& s, int32_t def);
// "'%s' is not a valid floating point value" on malformed text.
double StrToFloat(const std::string& s);
bool TryStrToFloat(const std::string& s, double& out);

std::string Trim(const std::string& s);
std::string LowerCase(const std::string& s); // ASCII letters only
std::string UpperCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b); // ASCII case-insensitive

} // namespace os
