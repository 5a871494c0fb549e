#include "MenuSections.h"

#include "SkinBuilder.h"
#include "SkinCanvas.h"
#include "SkinSections.h"

#include "skin/core/DataSkinControls.h"
#include "skin/core/DataSkinObjects.h"

#include <algorithm>

namespace skingen {

using gdi::image::Image;
using skin::Point;
using skin::Rect;

namespace {

const char* const kFontName = "微软雅黑";
constexpr int kFontHeight = -12;

// Black inside the rounded box, white outside: a window region that follows the outline.
Image RoundMask(int w, int h, double radius) {
    Image mask = SkinBuilder::NewImage(w, h, Rgb{1, 1, 1});
    Box box{0, 0, double(w), double(h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (SkinCanvas::RoundRectDistance(box, radius, x + 0.5, y + 0.5) <= 0.0)
                mask.At(x, y) = Rgb{0, 0, 0}.Bgra();
    return mask;
}

// The selection of a row: the accent at a quarter over light backgrounds, 40 % over dark.
Rgb Selection(const SkinStyle& s, const Rgb& under) {
    return s.Selection(under);
}

Rgb MenuFill(const SkinStyle& s) {
    return s.Window();
}

// --- the popup window ------------------------------------------------------------------------

constexpr int kPopupW = 48, kPopupH = 48, kPopupInset = 4;

void BuildPopupWindow(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    double r = std::min(s.radius, 6);
    Image img = SkinBuilder::NewImage(kPopupW, kPopupH, s.background);
    SkinCanvas c(img);
    Box box{0, 0, double(kPopupW), double(kPopupH)};
    // Drawn over the outline's colour, so that no pixel outside the region blends.
    c.FillRoundRect(box, r, Solid(s.Border()));
    c.FillRoundRect(box.Inset(s.outline), std::max(r - s.outline, 0.0), Solid(MenuFill(s)));
    auto& d = b.Data().PopupWindow;
    d.WindowPictureIndex = b.AddPicture("popupwindow.bmp", img);
    d.MaskPictureIndex = r > 0 ? b.AddPicture("popupwindowmask.bmp", RoundMask(kPopupW, kPopupH, r)) : -1;
    int corner = 8;
    d.LTPoint = Point(corner, corner);
    d.RTPoint = Point(kPopupW - corner, corner);
    d.LBPoint = Point(corner, kPopupH - corner);
    d.RBPoint = Point(kPopupW - corner, kPopupH - corner);
    d.ItemsRect = Rect(kPopupInset, kPopupInset, kPopupW - kPopupInset, kPopupH - kPopupInset);
    d.ScrollMarkerColor = s.text.Mix(MenuFill(s), 0.45).Color();
    d.ScrollMarkerActiveColor = s.accent.Color();
    d.TopStretch = d.LeftStretch = d.RightStretch = d.BottomStretch = true;
    d.StretchEffect = true;
    d.StretchType = skin::TbsStretchType::bsstFull;
}

// --- the menu rows ---------------------------------------------------------------------------

constexpr int kRowW = 60, kRowH = 24, kDividerH = 7, kRowCap = 6;
constexpr int kCell = 14; // a check, radio or arrow cell

void DrawCheck(SkinCanvas& c, double x, double y, const Rgb& colour, double width) {
    c.Polyline(
        {
            {x + 3,  y + 7.5 },
            {x + 6,  y + 10.5},
            {x + 11, y + 4   }
    },
        width, colour);
}

void DrawRadio(SkinCanvas& c, double x, double y, const Rgb& colour) {
    c.Disc({x + kCell / 2.0, y + kCell / 2.0}, 3.2, Solid(colour));
}

void DrawArrow(SkinCanvas& c, double x, double y, const Rgb& colour) {
    c.Triangle({x + 5, y + 3.5}, {x + 5, y + 10.5}, {x + 9, y + 7}, colour);
}

void BuildMenuItem(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Rgb fill = MenuFill(s), selected = Selection(s, fill);
    // Rows: normal, selected, the divider, then the cells of the marks (normal and selected).
    int cellsTop = 2 * kRowH + kDividerH;
    Image img = SkinBuilder::NewImage(kRowW, cellsTop + 2 * kCell, fill);
    SkinCanvas c(img);
    double r = std::min(s.radius, 4);
    Box active{0, double(kRowH), double(kRowW), double(2 * kRowH)};
    Paint band = Solid(selected);
    if (s.finish == Finish::Glossy || s.finish == Finish::GlossyButtons || s.finish == Finish::Soft)
        band = Vertical(selected.Lighten(0.04), selected.Lighten(-0.03), active.t, active.b);
    c.FillRoundRect(active.Inset(1), r, band);
    if (s.outline >= 2) c.StrokeRoundRect(active.Inset(1), r, 1, Solid(s.accent));
    double lineY = 2 * kRowH + kDividerH / 2.0;
    c.FillRect({6, lineY - 0.5, double(kRowW - 6), lineY + 0.5}, Solid(s.Border().Mix(fill, 0.35)));
    for (int k = 0; k < 2; ++k) {
        double y = cellsTop + k * kCell;
        Rgb under = k ? selected : fill;
        c.FillRect({0, y, double(3 * kCell), y + kCell}, Solid(under));
        DrawCheck(c, 0, y, s.text, std::max(s.glyph, 1.4));
        DrawRadio(c, kCell, y, s.text);
        DrawArrow(c, 2 * kCell, y, s.text);
    }
    auto& d = b.AddObject<skin::TbsDataSkinMenuItem>("menuitem");
    d.ActivePictureIndex = b.AddPicture("menuitem.bmp", img);
    d.SkinRect = Rect(0, 0, kRowW, kRowH);
    d.ActiveSkinRect = Rect(0, kRowH, kRowW, 2 * kRowH);
    d.DividerRect = Rect(0, 2 * kRowH, kRowW, 2 * kRowH + kDividerH);
    d.DividerLO = d.DividerRO = 8;
    d.ItemLO = d.ItemRO = kRowCap;
    d.FontName = kFontName;
    d.FontHeight = kFontHeight;
    d.FontStyle = 0;
    d.FontColor = s.text.Color();
    d.ActiveFontColor = s.text.Color(); // selections leave the text as it is
    d.UnEnabledFontColor = s.Disabled(s.text).Color();
    d.TextRct = Rect(6, 0, kRowW - 6, kRowH);
    d.StretchEffect = d.InActiveStretchEffect = true;
    d.DividerStretchEffect = true;
    d.Morphing = s.finish != Finish::Flat;
    d.MorphKind = skin::TbsMorphKind::mkDefault;
    auto cell = [&](int col, int row) {
        int y = cellsTop + row * kCell;
        return Rect(col * kCell, y, (col + 1) * kCell, y + kCell);
    };
    d.CheckImageRect = cell(0, 0);
    d.ActiveCheckImageRect = cell(0, 1);
    d.RadioImageRect = cell(1, 0);
    d.ActiveRadioImageRect = cell(1, 1);
    d.ArrowImageRect = cell(2, 0);
    d.ActiveArrowImageRect = cell(2, 1);
}

// --- the hint window -------------------------------------------------------------------------

constexpr int kHintW = 40, kHintH = 30;

void BuildHintWindow(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    double r = std::min(s.radius, 5);
    Rgb fill = s.Window().Mix(s.accent, s.Dark() ? 0.10 : 0.05);
    Image img = SkinBuilder::NewImage(kHintW, kHintH, s.background);
    SkinCanvas c(img);
    Box box{0, 0, double(kHintW), double(kHintH)};
    c.FillRoundRect(box, r, Solid(s.Border()));
    c.FillRoundRect(box.Inset(s.outline), std::max(r - s.outline, 0.0), Solid(fill));
    auto& d = b.Data().HintWindow;
    d.WindowPictureIndex = b.AddPicture("hintwindow.bmp", img);
    d.MaskPictureIndex = r > 0 ? b.AddPicture("hintwindowmask.bmp", RoundMask(kHintW, kHintH, r)) : -1;
    d.LTPoint = Point(7, 7);
    d.RTPoint = Point(kHintW - 7, 7);
    d.LBPoint = Point(7, kHintH - 7);
    d.RBPoint = Point(kHintW - 7, kHintH - 7);
    d.ClRect = Rect(4, 3, kHintW - 4, kHintH - 3);
    d.FontName = kFontName;
    d.FontHeight = kFontHeight;
    d.FontStyle = 0;
    d.FontColor = s.text.Color();
    d.TopStretch = d.LeftStretch = d.RightStretch = d.BottomStretch = true;
    d.StretchEffect = true;
    d.StretchType = skin::TbsStretchType::bsstFull;
}

// --- the main menu bar ----------------------------------------------------------------------

// The bar: 22 px like the window's layout, the items inset by a pixel above and below.
constexpr int kBarW = 60, kBarH = 22, kBarCap = 4;
constexpr int kBarItemW = 40, kBarItemH = 20, kBarItemCap = 5, kBarItemPad = 8;
constexpr int kBarButton = 16; // the maximised MDI child's buttons

// The strip the items sit on: the window's background with a seam towards the tool bar.
Rgb BarFill(const SkinStyle& s) {
    return s.background;
}

void BuildMenuBarControl(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(kBarW, kBarH, BarFill(s));
    SkinCanvas c(img);
    c.FillRect({0, kBarH - 1.0, double(kBarW), double(kBarH)}, Solid(s.Border().Mix(BarFill(s), 0.55)));
    auto& d = b.AddControl<skin::TbsDataSkinMainMenuBar>("mainmenubar");
    d.PictureIndex = b.AddPicture("mainmenubar.bmp", img);
    d.SkinRect = Rect(0, 0, kBarW, kBarH);
    d.ItemsRect = Rect(kBarCap, 1, kBarW - kBarCap, kBarH - 1);
    d.MenuBarItem = "menubaritem";
    d.CloseButton = "menubarclosebutton";
    d.MinButton = "menubarminbutton";
    d.MaxButton = "menubarmaxbutton";
    d.SysMenuButton = "menubarsysmenubutton";
    d.TrackMarkColor = s.text.Mix(BarFill(s), 0.45).Color();
    d.TrackMarkActiveColor = s.accent.Color();
    d.StretchEffect = true;
    // The items' normal look is the bar under them.
    d.ItemTransparent = true;
}

// Rows: normal (the bar), hot (the selection), pressed (a stronger selection with an edge).
void BuildMenuBarItem(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Rgb fill = BarFill(s), hot = Selection(s, fill), down = fill.Mix(s.accent, s.Dark() ? 0.55 : 0.35);
    Image img = SkinBuilder::NewImage(kBarItemW, 3 * kBarItemH, fill);
    SkinCanvas c(img);
    double r = std::min(s.radius, 4);
    for (int row = 1; row < 3; ++row) {
        Box box{0, double(row * kBarItemH), double(kBarItemW), double((row + 1) * kBarItemH)};
        Rgb face = row == 1 ? hot : down;
        Paint paint = Solid(face);
        if (s.finish != Finish::Flat) paint = Vertical(face.Lighten(0.04), face.Lighten(-0.03), box.t, box.b);
        c.FillRoundRect(box.Inset(1), r, paint);
        if (row == 2 || s.outline >= 2) c.StrokeRoundRect(box.Inset(1), r, 1, Solid(s.accent));
    }
    auto& d = b.AddObject<skin::TbsDataSkinMainMenuBarItem>("menubaritem");
    d.ActivePictureIndex = b.AddPicture("menubaritem.bmp", img);
    d.SkinRect = Rect(0, 0, kBarItemW, kBarItemH);
    d.ActiveSkinRect = Rect(0, kBarItemH, kBarItemW, 2 * kBarItemH);
    d.DownRect = Rect(0, 2 * kBarItemH, kBarItemW, 3 * kBarItemH);
    d.ItemLO = d.ItemRO = kBarItemCap;
    d.TextRct = Rect(kBarItemPad, 0, kBarItemW - kBarItemPad, kBarItemH);
    d.FontName = kFontName;
    d.FontHeight = kFontHeight;
    d.FontStyle = 0;
    d.FontColor = d.ActiveFontColor = d.DownFontColor = s.text.Color();
    d.UnEnabledFontColor = s.Disabled(s.text).Color();
    d.StretchEffect = true;
    d.Morphing = s.finish != Finish::Flat;
    d.MorphKind = skin::TbsMorphKind::mkDefault;
}

// Columns: normal, hot, pressed; rows: system menu, minimise, restore, close.
void BuildMenuBarButtons(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Rgb fill = BarFill(s);
    const Rgb faces[] = {fill, Selection(s, fill), fill.Mix(s.accent, s.Dark() ? 0.55 : 0.35)};
    struct Row {
        const char* name;
        CapGlyph glyph;
        skin::TbsStdCommand command;
    } rows[] = {
        {"menubarsysmenubutton", CapGlyph::SysMenu,  skin::TbsStdCommand::cmSysMenu },
        {"menubarminbutton",     CapGlyph::Minimize, skin::TbsStdCommand::cmMinimize},
        {"menubarmaxbutton",     CapGlyph::Restore,  skin::TbsStdCommand::cmMaximize},
        {"menubarclosebutton",   CapGlyph::Close,    skin::TbsStdCommand::cmClose   },
    };
    Image img = SkinBuilder::NewImage(3 * kBarButton, 4 * kBarButton, fill);
    SkinCanvas c(img);
    double r = std::min(s.radius, 3);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) {
            Box box{double(col * kBarButton), double(row * kBarButton), double((col + 1) * kBarButton),
                    double((row + 1) * kBarButton)};
            if (col > 0) c.FillRoundRect(box, r, Solid(faces[col]));
            // The glyph's 22 x 18 cell centred on the button.
            DrawCapGlyph(c, rows[row].glyph, box.l + kBarButton / 2.0 - 11, box.t + kBarButton / 2.0 - 9,
                         std::max(s.glyph, 1.0), s.text);
        }
    int picture = b.AddPicture("menubarbuttons.bmp", img);
    for (int row = 0; row < 4; ++row) {
        auto& d = b.AddObject<skin::TbsDataSkinMainMenuBarButton>(rows[row].name);
        d.ActivePictureIndex = picture;
        int y = row * kBarButton;
        d.SkinRect = Rect(0, y, kBarButton, y + kBarButton);
        d.ActiveSkinRect = Rect(kBarButton, y, 2 * kBarButton, y + kBarButton);
        d.DownRect = Rect(2 * kBarButton, y, 3 * kBarButton, y + kBarButton);
        d.Command = rows[row].command;
        d.Morphing = false;
    }
}

} // namespace

void BuildMenuBar(SkinBuilder& b) {
    BuildMenuBarControl(b);
    BuildMenuBarItem(b);
    BuildMenuBarButtons(b);
}

void BuildPopupMenus(SkinBuilder& b) {
    BuildPopupWindow(b);
    BuildMenuItem(b);
}

void BuildHints(SkinBuilder& b) {
    BuildHintWindow(b);
}

} // namespace skingen
