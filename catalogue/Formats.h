#pragma once
// The 140 output formats, listed per format family in the order of the format picker.
#include <span>
#include <string>

namespace catalogue {

struct TFormatItem {
    int Key;             // family * 100 + position in the family
    const char* Title;   // ends with the output extension, as in "(*.avi)"
    const char* Caption; // the one-line description shown under the title
};

// Empty for a family without formats.
std::span<const TFormatItem> FormatsOfFamily(int family);
// The formats the format picker lists for a category position; empty outside 0..14.
std::span<const TFormatItem> FormatsOfCategory(int category);
// nullptr for a key without a format.
const TFormatItem* FindFormat(int key);

// The format picker's two format pictures alternate down every list.
inline int FormatImageIndex(int formatPosition) {
    return formatPosition % 2;
}

// The extension a title names: the four characters before its last one, ".avi" of "(*.avi)";
// four that are not a dot and three letters ("*.rm", "*.ra", "aiff", "flac", ...) are mapped
// to the extension they stand for.
std::string TitleExtension(const std::string& title);

} // namespace catalogue
