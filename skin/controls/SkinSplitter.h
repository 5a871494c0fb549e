#pragma once
// TbsSkinSplitter: the class library's splitter drawn from a skin entry: a strip with fixed
// end caps and a centred gripper picture.
#include "gui/Splitter.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/engine/SkinChangeWalk.h"

#include <string>

namespace skin {

class TbsSkinData;

class TbsSkinSplitter : public gui::TSplitter, public TbsSkinChangeable {
public:
    explicit TbsSkinSplitter(gui::TComponent* AOwner);
    ~TbsSkinSplitter() override;
    std::string ClassName() const override { return "TbsSkinSplitter"; }

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    std::string SkinDataName = "vsplitter";
    bool Transparent() const { return !(ControlStyle & gui::csOpaque); }
    void SetTransparent(bool Value);
    int DefaultSize = 10;
    int FIndex = -1;

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override { FIndex = -1; }
    void ChangeSkinData() override;

protected:
    void GetSkinData();
    void Paint() override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    TPoint LTPt, RTPt, LBPt;
    TRect SkinRect, GripperRect;
    bool StretchEffect = false, GripperTransparent = false;
    gui::TColor GripperTransparentColor = 0;
    gui::TBitmap* FSkinPicture = nullptr;
};

} // namespace skin
