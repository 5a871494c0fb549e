#pragma once
// The 15 output categories of the category picker, the format family behind each, and the
// two numbers built from a category and a format: the format key and a row's format code.
#include <span>

namespace catalogue {

struct TCategory {
    int Position; // in the category picker
    const char* Caption;
    int ImageIndex; // into the category image list
    int Family;     // format family: the hundreds of its format keys
};

constexpr int CategoryCount = 15;

std::span<const TCategory> Categories();

// -1 for a position outside 0..14.
int FamilyOfCategory(int category);

// Family * 100 + the format's position in its family; -1 when the category has no family.
// The position is not checked: a key without formats finds nothing in the tables.
int FormatKey(int category, int formatPosition);

// The text a file-list row keeps for its format: built from the category position, not the
// family, so key 0 (category 13, format 0) has the code 1400.
int FormatCode(int category, int formatPosition);

struct TFormatPlace {
    int Category;
    int Position;
};
// Reads a format code back; truncating division, as the row selection does it.
TFormatPlace DecodeFormatCode(int code);

} // namespace catalogue
