#pragma once
// What the windowed and the windowless skinned bases share over their control class.
// TbsSkinLook holds the skin data, the index of the control's section in it, the one-bitmap
// paint from the skin or in a default look, the charset of skinned text and the mouse's enter
// and leave events; the control finds its section by its own name (GetSkinData).
// TbsSkinCustomLook adds the nine-part picture with its size rule, the default size and font
// of the default look, and the paint of that picture and look.  Both are made for
// gui::TCustomControl and gui::TGraphicControl only (see SkinLook.cpp).
#include "gui/Control.h"
#include "gui/Graphics.h"
#include "gui/ImgList.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;

template <class TControl> class TbsSkinLook : public TControl, public TbsSkinChangeable {
public:
    explicit TbsSkinLook(gui::TComponent* AOwner);
    ~TbsSkinLook() override;

    TbsSkinData* SkinData() const { return FSD; }
    // A non-empty skin applies at once; nil or an empty skin shows at the next paint.
    virtual void SetSkinData(TbsSkinData* Value);

    gui::TNotifyEvent OnMouseEnter, OnMouseLeave;
    std::string HintTitle;
    int HintImageIndex = 0;
    gui::TCustomImageList* HintImageList = nullptr;

    // The index of the control's descriptor in the skin, -1 for the default look.
    int FIndex = -1;

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

protected:
    // Looks the control's section up: FIndex.
    virtual void GetSkinData() = 0;
    // The whole look through one bitmap of the control's size.
    void Paint() override;
    virtual void CreateControlDefaultImage(gui::TBitmap*) {}
    virtual void CreateControlSkinImage(gui::TBitmap*) {}
    // The descriptor at FIndex, or null.
    TbsDataSkinControl* Descriptor() const;
    // The font of skinned text: the skin's string-table charset when there is one.
    void ApplyCharset(gui::TFont* Font, const gui::TFont* Default) const;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;

    TbsSkinData* FSD = nullptr;
};

template <class TLook> class TbsSkinCustomLook : public TLook, protected TbsNinePartGeometry {
public:
    explicit TbsSkinCustomLook(gui::TComponent* AOwner);
    ~TbsSkinCustomLook() override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkinData() override;

    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont = true;

    int GetResizeMode() const { return ResizeMode; }
    gui::TRect RealClientRect() const;

protected:
    // A descriptor of another class, without a picture or with an empty skin rectangle gives
    // the control nothing to draw from: it takes its default look, size rule included.
    void GetSkinData() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    virtual void DefaultFontChanged() {}
    virtual void AdjustSkinSize(int& AWidth, int& AHeight) { Adjust(AWidth, AHeight); }
    // The window region of the mask picture; a windowless control has none.
    virtual void UpdateMaskRegion() {}

    int FDefaultWidth = 0, FDefaultHeight = 0;
    std::unique_ptr<gui::TFont> FDefaultFont;
};

} // namespace skin
