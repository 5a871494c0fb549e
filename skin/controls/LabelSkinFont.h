#pragma once
// TbsLabelSkinFont: what the skinned labels take from their skin entry (a standard-label entry:
// a font and its colours), and how a label sets its canvas from it and draws disabled text.
#include "gdi/GdiTypes.h"
#include "gui/Canvas.h"
#include "gui/Font.h"

#include <functional>
#include <string>

namespace skin {

class TbsSkinData;

class TbsLabelSkinFont {
public:
    // Reads the entry named `EntryName`: its index, or -1 when the skin has none or the entry
    // gives no font (one of another kind), and the label keeps its own.
    int Read(const TbsSkinData* SD, const std::string& EntryName);
    // The canvas font: without an entry the default font, or the label's own when it does not
    // use the skin's font; with one, the label's own in the entry's face, style and height when
    // it uses the skin's font.  The colour is the label's to set; the character set follows the
    // skin's strings.
    void Apply(gui::TFont* Canvas, bool Skinned, bool UseSkinFont, const gui::TFont* Default,
               const gui::TFont* Own, const TbsSkinData* SD) const;

    std::string FontName;
    int FontHeight = 0;
    gui::TFontStyles FontStyle = 0;
    gui::TColor FontColor = 0, ActiveFontColor = 0;
};

// Disabled text, engraved: a highlight copy one pixel down and right under the shadow-coloured
// text, in the skin's colours (`Skin`) or the system's (null).  `Draw` draws at `R`.
void DrawEngravedText(gui::TCanvas* C, RECT& R, const TbsSkinData* Skin, const std::function<void()>& Draw);

} // namespace skin
