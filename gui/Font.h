#pragma once
// A font: face, height, style, colour and character set, with its GDI font made on demand.
#include "gui/Color.h"
#include "gui/GraphicsObject.h"

#include <cstdint>
#include <string>

namespace gui {

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;
enum TFontCharset : uint8_t { DEFAULT_CHARSET = 1, ANSI_CHARSET = 0, GB2312_CHARSET = 134 };

class TFont : public TGraphicsObject {
public:
    TFont();
    std::string ClassName() const override { return "TFont"; }
    void Assign(const TPersistent* source) override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const; // points at PixelsPerInch
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t charset);
    int PixelsPerInch = 96;

    HFONT Handle();
    TGdiHandle SharedHandle();

private:
    template <class T> void Set(T& field, const T& value);
    void Changed() override;
    std::string name_ = "宋体";
    int height_ = -12;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    uint8_t charset_ = DEFAULT_CHARSET;
    TGdiHandle handle_;
};

} // namespace gui
