#include "gui/Font.h"

#include "gdi/Objects.h"

#include <cmath>
#include <cstring>

namespace gui {

TFont::TFont() = default;

template <class T> void TFont::Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TFont::Changed() {
    handle_.reset();
    TGraphicsObject::Changed();
}

void TFont::Assign(const TPersistent* source) {
    auto* f = dynamic_cast<const TFont*>(source);
    if (!f) return TPersistent::Assign(source);
    if (f == this) return;
    name_ = f->name_, height_ = f->height_, style_ = f->style_, color_ = f->color_, charset_ = f->charset_;
    Changed();
}

void TFont::SetName(const std::string& name) {
    if (!name.empty()) Set(name_, name);
}
void TFont::SetHeight(int height) {
    Set(height_, height);
}
int TFont::Size() const {
    return -static_cast<int>(std::lround(height_ * 72.0 / PixelsPerInch));
}
void TFont::SetSize(int points) {
    Set(height_, -static_cast<int>(std::lround(points * PixelsPerInch / 72.0)));
}
void TFont::SetStyle(TFontStyles style) {
    Set(style_, style);
}
void TFont::SetColor(TColor color) {
    // The colour is not part of the font object: no new handle.
    if (color_ == color) return;
    color_ = color;
    TGraphicsObject::Changed();
}
void TFont::SetCharset(uint8_t charset) {
    Set(charset_, charset);
}

TGdiHandle TFont::SharedHandle() {
    if (!handle_) {
        LOGFONT lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
        lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = charset_;
        std::strncpy(lf.lfFaceName, name_.c_str(), sizeof lf.lfFaceName - 1);
        handle_ = Own(CreateFontIndirect(&lf));
    }
    return handle_;
}

HFONT TFont::Handle() {
    return reinterpret_cast<HFONT>(SharedHandle().get());
}

} // namespace gui
