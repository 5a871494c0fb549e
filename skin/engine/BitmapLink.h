#pragma once
// A named rectangle of a TbsBitmap, drawn on its own, that can tell which parts of it are
// transparent.
#include "gui/Graphics.h"

#include <string>

namespace skin {

class TbsBitmap;

class TbsBitmapLink : public gui::TPersistent {
public:
    std::string ClassName() const override { return "TbsBitmapLink"; }
    void Assign(const gui::TPersistent* Source) override;

    TbsBitmap* Image = nullptr; // referenced, not owned
    gui::TRect Rect{};
    std::string Name;
    bool Masked = false, MaskedBorder = false, MaskedAngles = false;

    int Left() const { return Rect.left; }
    int Top() const { return Rect.top; }
    int Right() const { return Rect.right; }
    int Bottom() const { return Rect.bottom; }
    void SetLeft(int v) { Rect.left = v; }
    void SetTop(int v) { Rect.top = v; }
    void SetRight(int v) { Rect.right = v; }
    void SetBottom(int v) { Rect.bottom = v; }

    // An image is set and the rectangle has an area.
    bool Assigned() const;
    void Draw(gui::TCanvas* Canvas, int X, int Y);
    void Draw(TbsBitmap& Bitmap, int X, int Y);
    void SaveToStream(gui::TStream& Stream);
    void LoadFromStream(gui::TStream& Stream);
    // Margin holds the widths of the left, top, right and bottom bands; all zero tests the
    // whole rectangle for Masked.
    void CheckingMasked(const gui::TRect& Margin);
    void CheckingMasked() { CheckingMasked(gui::TRect{}); }
};

} // namespace skin
