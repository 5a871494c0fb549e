#include "gui/Resources.h"

#include <map>
#include <mutex>

namespace gui {
namespace {

std::string Key(std::string name) {
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
}

struct Table {
    std::mutex m;
    std::map<std::string, std::span<const uint8_t>> data;
};
Table& T() {
    static Table t;
    return t;
}

} // namespace

void RegisterResource(const std::string& name, std::span<const uint8_t> data) {
    std::lock_guard g(T().m);
    T().data[Key(name)] = data;
}

std::span<const uint8_t> FindResourceData(const std::string& name) {
    std::lock_guard g(T().m);
    auto it = T().data.find(Key(name));
    if (it == T().data.end()) throw EResNotFound("Resource " + name + " not found");
    return it->second;
}

bool ResourceExists(const std::string& name) {
    std::lock_guard g(T().m);
    return T().data.count(Key(name)) != 0;
}

} // namespace gui
