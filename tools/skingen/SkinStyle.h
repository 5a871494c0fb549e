#pragma once
// One skin's description as written in skins/*.skin: its name, palette, corner radius,
// finish and glyph weight, and the colours every drawing derives from them.
//
// The file is "key = value" lines; a line starting with "#" is a comment.  Keys:
//   name        the skin's name as lists show it
//   background  form and panel background            (#RRGGBB)
//   caption     caption gradient, top and bottom     (#RRGGBB #RRGGBB)
//   captiontext caption text and caption glyphs      (#RRGGBB)
//   accent      selection, focus ring, checked marks (#RRGGBB)
//   text        text and glyphs on the background    (#RRGGBB)
//   radius      corner radius of frames and buttons  (pixels)
//   finish      flat | soft | pastel | glossy-buttons | glossy
//   outline     width of frame and control outlines  (1 or 2)
//   glyph       stroke width of glyphs               (pixels, may be fractional)
//   glow        1 when the skin has glow frames      (0 or 1)
#include "Rgb.h"

#include <string>

namespace skingen {

enum class Finish { Flat, Soft, Pastel, GlossyButtons, Glossy };

struct SkinStyle {
    std::string name;
    Rgb background, captionTop, captionBottom, captionText, accent, text;
    int radius = 0;
    Finish finish = Finish::Flat;
    int outline = 1;
    double glyph = 1.5;
    bool glow = false;

    // std::runtime_error naming the file and line for a bad or missing key.
    static SkinStyle Load(const std::string& fileName);

    // --- derived colours, after the skin rules --------------------------------------------
    bool Dark() const { return background.IsDark(); }
    Rgb Window() const;       // list, edit and check-box fill
    Rgb Face() const;         // push-button face
    Rgb Border() const;       // control outlines
    Rgb FrameOutline() const; // the one-pixel edge of the form frame
    Rgb Disabled(const Rgb& c) const { return c.Mix(background, 0.45); }
    Rgb Hover(const Rgb& c) const { return c.Lighten(0.08); }
    Rgb Pressed(const Rgb& c) const { return c.Lighten(-0.10); }
    Rgb OnAccent() const; // text and glyphs drawn on the accent colour
    // A selected row over `under`: the accent at a quarter over light grounds, 40 % over dark
    // ones; its text keeps the text colour.
    Rgb Selection(const Rgb& under) const { return under.Mix(accent, Dark() ? 0.40 : 0.25); }
    // The tool bars' vertical gradient, which a tool button at rest shows through as well.
    Rgb ToolBarTop() const { return background.Lighten(Dark() ? 0.04 : 0.03); }
    Rgb ToolBarBottom() const { return background.Mix(accent, Dark() ? 0.10 : 0.08).Mix(Border(), 0.08); }
    // Link text and other text in the accent's hue: the accent, moved towards the text colour
    // as far as it needs to read 4.5:1 on the background.
    Rgb AccentText() const;
    Rgb InactiveCaptionTop() const { return captionTop.Mix(background, 0.55); }
    Rgb InactiveCaptionBottom() const { return captionBottom.Mix(background, 0.55); }
    Rgb InactiveCaptionText() const;
};

} // namespace skingen
