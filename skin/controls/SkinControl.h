#pragma once
// The windowed skinned controls' bases.  TbsSkinControl looks its section up by name in its
// skin data at every paint and draws through one bitmap of its size, from the skin or in a
// default look; TbsSkinCustomControl adds the nine-part picture, the size rule, the window
// region of a mask picture and border-strip painting for large panels.
#include "gui/CustomControl.h"
#include "gui/ImgList.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;

// Both parameters 0: the parent's background changed.
inline constexpr UINT WM_CHECKPARENTBG = 1284;

class TbsSkinControl : public gui::TCustomControl, public TbsSkinChangeable {
public:
    explicit TbsSkinControl(gui::TComponent* AOwner);
    ~TbsSkinControl() override;
    std::string ClassName() const override { return "TbsSkinControl"; }

    TbsSkinData* SkinData() const { return FSD; }
    // A non-empty skin applies at once; nil or an empty skin shows at the next paint.
    virtual void SetSkinData(TbsSkinData* Value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    // Used from the next paint, size change or skin change on.
    virtual void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }

    gui::TNotifyEvent OnMouseEnter, OnMouseLeave;
    std::string HintTitle;
    int HintImageIndex = 0;
    gui::TCustomImageList* HintImageList = nullptr;

    // The index of the control's descriptor in the skin, -1 for the default look.
    int FIndex = -1;
    bool FromWMPaint = false;

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;
    virtual void AfterChangeSkinData() {}

protected:
    virtual void GetSkinData();
    void Paint() override;
    virtual void CreateControlDefaultImage(gui::TBitmap*) {}
    virtual void CreateControlSkinImage(gui::TBitmap*) {}
    virtual void CheckParentBackground() {}
    // The descriptor at FIndex, or null.
    TbsDataSkinControl* Descriptor() const;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void Dispatch(gui::TMessage& Message) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;
    void WMEraseBkgnd(gui::TMessage& Message) override;
    void WMPaint(gui::TMessage& Message) override;
    // An erase request from outside the control's own paint (a parent or a caller painting it
    // into their device context): the whole look goes into that context.
    void PaintIntoEraseDC(gui::TMessage& Message);
    // The font of skinned text: the skin's string-table charset when there is one.
    void ApplyCharset(gui::TFont* Font, const gui::TFont* Default) const;

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName;
    bool FRgnSet = false;
};

class TbsSkinCustomControl : public TbsSkinControl, protected TbsNinePartGeometry {
public:
    explicit TbsSkinCustomControl(gui::TComponent* AOwner);
    ~TbsSkinCustomControl() override;
    std::string ClassName() const override { return "TbsSkinCustomControl"; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkinData() override;

    bool ForcebackGround = false;
    bool DrawbackGround = true;
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value);
    bool UseSkinFont = true;

    int GetResizeMode() const { return ResizeMode; }
    gui::TRect RealClientRect() const;
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
    void GetSkinData() override;
    void Paint() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    virtual void DefaultFontChanged() {}
    virtual void AdjustSkinSize(int& AWidth, int& AHeight) { Adjust(AWidth, AHeight); }
    virtual void UpdateMaskRegion();
    // Paints the whole look through one bitmap (the plain base's paint).
    void PaintThroughBitmap();

    int FDefaultWidth = 0, FDefaultHeight = 0;
    std::unique_ptr<gui::TFont> FDefaultFont;
};

} // namespace skin
