#pragma once
// The clipboard: text in and out, shared with other programs through the display.
#include "gui/Fwd.h"
#include "os/Component.h"
#include "win/WinTypes.h"

#include <string>

namespace gui {

// The clipboard formats that can be asked for; only text travels through the display.
enum : UINT { CF_TEXT = 1, CF_UNICODETEXT = 13 };

class TClipboard : public TPersistent {
public:
    std::string ClassName() const override { return "TClipboard"; }
    // UTF-8; empty when the clipboard holds no text.
    std::string AsText() const;
    void SetAsText(const std::string& text);
    bool HasFormat(UINT format) const;
    void Clear();
    // Several changes between Open and Close count as one; kept for code that brackets them.
    void Open() { ++openCount_; }
    void Close() {
        if (openCount_ > 0) --openCount_;
    }
    // Text comes from strings and from another clipboard; anything else cannot be assigned.
    void Assign(const TPersistent* source) override;

private:
    int openCount_ = 0;
};

// The program's clipboard.
TClipboard* Clipboard();

} // namespace gui
