#pragma once
// A memory stream made from and read back as a string.
#include "gui/MemoryStream.h"

#include <string>

namespace gui {

class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const std::string& s = {});
    std::string DataString() const;
};

} // namespace gui
