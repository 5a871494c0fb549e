#pragma once
// TbsSkinMenuItem: one row of an open skinned popup menu.  It pairs a menu item with the window
// that shows it, keeps the row's hover, open-submenu and effect state, paints the row from
// the skin's menu-item object or in a plain look of its own, and turns pointer and key events
// into requests to the menu manager.
#include "gui/Graphics.h"
#include "gui/Menus.h"
#include "skin/core/SkinData.h"

namespace skin {

class TbsSkinPopupWindow;

// The plain glyphs of a row, in the pen colour Color.
void DrawCheckMark(gui::TCanvas* Cnvs, int X, int Y, gui::TColor Color);
void DrawSubMenuArrow(gui::TCanvas* Cnvs, int X, int Y, gui::TColor Color);
void DrawRadioMark(gui::TCanvas* Cnvs, int X, int Y, gui::TColor Color);

class TbsSkinMenuItem {
public:
    // A skin whose menu-item object names no usable picture leaves the row without one: the
    // row then draws in the plain look, and the object stays as the skin gave it.
    TbsSkinMenuItem(TbsSkinPopupWindow* AParent, gui::TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData);
    virtual ~TbsSkinMenuItem() = default;

    TbsSkinPopupWindow* Parent;
    TbsDataSkinMenuItem* MI;
    gui::TBitmap* ActivePicture = nullptr;
    gui::TMenuItem* MenuItem;
    TRect ObjectRect;
    bool Active = false, Down = false, FVisible = true, WaitCommand = false;
    int CurrentFrame = 0;

    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value);

    bool Selected() const { return Active || Down; }
    bool IsSeparator() const { return MenuItem->Caption() == "-"; }
    // "-Title-" on a disabled item: a header showing the text between the hyphens.
    bool IsHeader() const;
    // Enabled and not a separator: a row the pointer and keys can highlight.
    bool Selectable() const { return MenuItem->Enabled() && !IsSeparator(); }
    // Whether the row draws from the skin (an object with a usable picture).
    bool Skinned() const { return MI && ActivePicture; }
    int RowHeight() const;

    bool EnableMorphing() const;
    bool EnableAnimation() const;
    virtual bool CanMorphing();
    void DoMorphing();
    void StartItemEffect();

    void Draw(gui::TCanvas* Cnvs);
    void DefaultDraw(gui::TCanvas* Cnvs);

    void MouseDown(int X, int Y);
    void MouseEnter(bool Kb);
    void MouseLeave();

private:
    void DrawRow(gui::TCanvas* Cnvs);
    void DrawDefaultImage(gui::TBitmap& B);
    void BuildItemImage(gui::TBitmap& B, bool S, int Frame);
    void DrawMenuHeader(gui::TBitmap& B, const std::string& Caption);
    bool HasImage() const;
    int ImageHeight() const;
    void DrawImage(gui::TCanvas* C, int X, int Y);
    bool DrawNamedGlyph(gui::TCanvas* C, int X, int Y, gui::TColor Color) const;
    std::string ShortCutText() const;
    void SetRowFont(gui::TCanvas* C, bool Skinned) const;

    double FMorphKf = 0;
};

} // namespace skin
