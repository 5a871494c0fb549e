#include "gui/Clipboard.h"

#include "gui/Strings.h"
#include "win/Input.h"

namespace gui {

std::string TClipboard::AsText() const {
    return win::GetClipboardText();
}

void TClipboard::SetAsText(const std::string& text) {
    win::SetClipboardText(text);
}

bool TClipboard::HasFormat(UINT format) const {
    return (format == CF_TEXT || format == CF_UNICODETEXT) && win::HasClipboardText();
}

void TClipboard::Clear() {
    win::SetClipboardText("");
}

void TClipboard::Assign(const TPersistent* source) {
    if (auto* s = dynamic_cast<const TStrings*>(source)) return SetAsText(s->Text());
    if (auto* c = dynamic_cast<const TClipboard*>(source)) return SetAsText(c->AsText());
    TPersistent::Assign(source);
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

} // namespace gui
