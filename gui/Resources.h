#pragma once
// The program's embedded resources: pictures, icons and sounds compiled into the executable by
// the resource embedder, which generates a registration for each.  Looked up by name,
// case-insensitively, as resource names are.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace gui {

class EResNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The data must live as long as the program (generated arrays do).
void RegisterResource(const std::string& name, std::span<const uint8_t> data);
// Raises EResNotFound ("Resource <name> not found").
std::span<const uint8_t> FindResourceData(const std::string& name);
bool ResourceExists(const std::string& name);

} // namespace gui
