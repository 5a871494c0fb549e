#pragma once
// The windowless skinned controls' bases: the same lookup and one-bitmap paint as the
// windowed ones, painted on the parent's surface, without a region and without border strips.
#include "gui/GraphicControl.h"
#include "gui/ImgList.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;

class TbsGraphicSkinControl : public gui::TGraphicControl, public TbsSkinChangeable {
public:
    explicit TbsGraphicSkinControl(gui::TComponent* AOwner);
    ~TbsGraphicSkinControl() override;
    std::string ClassName() const override { return "TbsGraphicSkinControl"; }

    TbsSkinData* SkinData() const { return FSD; }
    virtual void SetSkinData(TbsSkinData* Value);
    std::string SkinDataName;

    gui::TNotifyEvent OnMouseEnter, OnMouseLeave;
    std::string HintTitle;
    int HintImageIndex = 0;
    gui::TCustomImageList* HintImageList = nullptr;
    int FIndex = -1;

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

protected:
    virtual void GetSkinData();
    void Paint() override;
    virtual void CreateControlDefaultImage(gui::TBitmap*) {}
    virtual void CreateControlSkinImage(gui::TBitmap*) {}
    TbsDataSkinControl* Descriptor() const;
    void ApplyCharset(gui::TFont* Font, const gui::TFont* Default) const;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void CMMouseEnter(gui::TMessage& Message) override;
    void CMMouseLeave(gui::TMessage& Message) override;

    TbsSkinData* FSD = nullptr;
};

class TbsGraphicSkinCustomControl : public TbsGraphicSkinControl, protected TbsNinePartGeometry {
public:
    explicit TbsGraphicSkinCustomControl(gui::TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;
    std::string ClassName() const override { return "TbsGraphicSkinCustomControl"; }

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
    void CreateSkinImage(gui::TBitmap* B, gui::TBitmap* APicture, const TRect& R);

protected:
    void GetSkinData() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    virtual void DefaultFontChanged() {}
    virtual void AdjustSkinSize(int& AWidth, int& AHeight) { Adjust(AWidth, AHeight); }

    int FDefaultWidth = 0, FDefaultHeight = 0;
    std::unique_ptr<gui::TFont> FDefaultFont;
};

} // namespace skin
