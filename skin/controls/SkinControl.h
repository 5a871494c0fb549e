#pragma once
// The windowed skinned controls' bases.  TbsSkinControl looks its section up by name in its
// skin data at every paint and draws through one bitmap of its size, from the skin or in a
// default look; TbsSkinCustomControl adds the nine-part picture, the size rule, the window
// region of a mask picture and border-strip painting for large panels.
#include "gui/CustomControl.h"
#include "skin/controls/SkinLook.h"

#include <string>

namespace skin {

// Both parameters 0: the parent's background changed.
inline constexpr UINT WM_CHECKPARENTBG = 1284;

extern template class TbsSkinLook<gui::TCustomControl>;

class TbsSkinControl : public TbsSkinLook<gui::TCustomControl> {
public:
    explicit TbsSkinControl(gui::TComponent* AOwner);
    ~TbsSkinControl() override;
    std::string ClassName() const override { return "TbsSkinControl"; }

    const std::string& SkinDataName() const { return FSkinDataName; }
    // Used from the next paint, size change or skin change on.
    virtual void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }

    bool FromWMPaint = false;

    virtual void AfterChangeSkinData() {}

protected:
    void GetSkinData() override;
    virtual void CheckParentBackground() {}
    void Dispatch(gui::TMessage& Message) override;
    void WMEraseBkgnd(gui::TMessage& Message) override;
    void WMPaint(gui::TMessage& Message) override;
    // An erase request from outside the control's own paint (a parent or a caller painting it
    // into their device context): the whole look goes into that context.
    void PaintIntoEraseDC(gui::TMessage& Message);

    std::string FSkinDataName;
    bool FRgnSet = false;
};

extern template class TbsSkinCustomLook<TbsSkinControl>;

class TbsSkinCustomControl : public TbsSkinCustomLook<TbsSkinControl> {
public:
    explicit TbsSkinCustomControl(gui::TComponent* AOwner);
    ~TbsSkinCustomControl() override;
    std::string ClassName() const override { return "TbsSkinCustomControl"; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    bool ForcebackGround = false;
    bool DrawbackGround = true;

    int RealClientWidth() const { return NewClRect.Width(); }
    int RealClientHeight() const { return NewClRect.Height(); }
    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }
    // Whether a mask region is set on the window (the window owns the region, as Win32's does).
    bool HasWindowRegion() const { return FRgnSet; }

    // Rect of a skin picture, laid out like SkinRect, at the control's size by the size rule.
    void CreateSkinImage(gui::TBitmap* B, gui::TBitmap* APicture, const TRect& R);
    TRect MapSkinRect(const TRect& R) const { return Map(R, Width(), Height()); }
    void NotifyChildrenBackground();

protected:
    void Paint() override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void UpdateMaskRegion() override;
    // Paints the whole look through one bitmap (the plain base's paint).
    void PaintThroughBitmap();
};

} // namespace skin
