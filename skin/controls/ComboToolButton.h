#pragma once
// The tool-button look shared by the combo boxes: the whole control drawn as one button with
// the item at the left and a drop-down arrow at the right, pressed while the list is open.
#include "gui/Bitmap.h"
#include "gui/Canvas.h"

namespace skin {

class TbsSkinData;

struct TbsComboToolButtonState {
    bool DropDown = false; // the list is open
    bool Hot = false;      // the mouse is in or the control has the focus
    bool Enabled = true;
    bool UseSkinFont = true;
    const gui::TFont* DefaultFont = nullptr;
};

// Draws the button and its arrow into B and sets B's font for the item; returns the item's
// text rectangle.  Skinned from "resizetoolbutton" or else "resizebutton"; false (nothing
// drawn) when SD has neither.
gui::TRect DrawComboToolButtonDefault(gui::TBitmap* B, const TbsComboToolButtonState& S);
bool DrawComboToolButtonSkin(TbsSkinData& SD, gui::TBitmap* B, const TbsComboToolButtonState& S,
                             gui::TRect& Text);
// The drop-down button of a skinned combo box that does not keep the skin's size, built from
// the first of "combobutton", "editbutton" and "resizebutton" (none: no button drawn).
void DrawComboSkinButton(TbsSkinData& SD, gui::TCanvas* C, const gui::TRect& R, bool Down, bool Hot,
                         bool Enabled);

} // namespace skin
