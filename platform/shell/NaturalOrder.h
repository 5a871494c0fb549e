#pragma once
// Names in the order people expect: letter case ignored, runs of digits by
// their value ("2" before "10").
#include <string>

namespace shell {

int NaturalCompare(const std::string& a, const std::string& b); // <0, 0, >0

} // namespace shell
