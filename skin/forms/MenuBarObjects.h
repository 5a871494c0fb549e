#pragma once
// What a skinned main menu bar shows: one item per top-level menu item and, while an MDI child
// is maximised, the child's four buttons.  The bar owns them, finds the one under the pointer
// and drives them through these operations; they draw onto the bar's picture and open their
// menus through the bar's skinned form.
#include "gui/Bitmap.h"
#include "gui/ControlTypes.h"
#include "gui/Graphics.h"
#include "gui/Menus.h"
#include "skin/core/DataSkinObjects.h"

#include <string>

namespace skin {

class TbsSkinMainMenuBar;

class TbsMenuBarObject {
public:
    // AData may be null: the default look needs none.
    TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
    virtual ~TbsMenuBarObject() = default;
    TbsMenuBarObject(const TbsMenuBarObject&) = delete;
    TbsMenuBarObject& operator=(const TbsMenuBarObject&) = delete;

    virtual void StartObjectEffect();
    virtual void Draw(gui::TCanvas*) {}
    // Coordinates are the bar's client coordinates.
    virtual void MouseDown(int, int, gui::TMouseButton) {}
    virtual void MouseUp(int, int, gui::TMouseButton) {}
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing();

    bool EnableMorphing() const;
    void DoMorphing();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value);

    TbsSkinMainMenuBar* Parent;
    bool FMouseIn = false;
    // The skin's picture; null for the default look or a picture number the skin lacks.
    gui::TBitmap* Picture = nullptr;
    bool FDown = false;
    std::string IDName;
    TRect SkinRect, ActiveSkinRect, DownRect;
    TRect ObjectRect; // in the bar's client area
    bool Active = false, Enabled = true, Visible = true;
    bool Morphing = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;

protected:
    double FMorphKf = 0;
};

// A button of the maximised MDI child: its system menu, minimise, restore or close.
class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuBarButton* AData);

    void Draw(gui::TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, gui::TMouseButton Button) override;
    void MouseUp(int X, int Y, gui::TMouseButton Button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool FSkinSupport = false;
    TbsStdCommand Command = TbsStdCommand::cmClose;

private:
    void DefaultDraw(gui::TCanvas* Cnvs);
    void ButtonAction();
};

// One top-level menu item on the bar.  An item that does not fit is disabled and hidden, and
// gets its earlier enabled state back when it fits again.
class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
public:
    TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuItem* AData);

    void StartObjectEffect() override;
    void Draw(gui::TCanvas* Cnvs) override;
    void MouseDown(int X, int Y, gui::TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool EnableAnimation() const;
    // Pressed: the item's menu opens.  Released: the item comes up (by its effect).
    void SetDown(bool Value);
    // Places the item after the item before it; hides it when it passes the bar's end.
    void CalcObjectRect(gui::TCanvas* Cnvs);
    // The item fits on the bar.
    bool Fits() const { return FFits; }
    TRect AnimateFrameRect(int Frame) const;

    bool FSkinSupport = false;
    bool OldEnabled = true;
    gui::TMenuItem* MenuItem = nullptr;
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle = 0;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
    TRect TextRct;
    int LO = 0, RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0, AnimateInterval = 25;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;

private:
    void OpenMenu();
    void SetItemFont(gui::TCanvas* C) const;
    int CaptionWidth(gui::TCanvas* C) const;
    void DefaultDraw(gui::TCanvas* Cnvs);
    void SkinnedDraw(gui::TCanvas* Cnvs);
    void BuildImage(gui::TBitmap& B, gui::TCanvas* Bar, const TRect& Src, bool Hot);

    bool FFits = true;
};

} // namespace skin
