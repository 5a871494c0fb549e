#pragma once
// The windowless skinned controls' bases: the same lookup and one-bitmap paint as the
// windowed ones, painted on the parent's surface, without a region and without border strips.
#include "gui/GraphicControl.h"
#include "skin/controls/SkinLook.h"

#include <string>

namespace skin {

extern template class TbsSkinLook<gui::TGraphicControl>;

class TbsGraphicSkinControl : public TbsSkinLook<gui::TGraphicControl> {
public:
    explicit TbsGraphicSkinControl(gui::TComponent* AOwner);
    ~TbsGraphicSkinControl() override;
    std::string ClassName() const override { return "TbsGraphicSkinControl"; }

    std::string SkinDataName;

protected:
    void GetSkinData() override;
};

extern template class TbsSkinCustomLook<TbsGraphicSkinControl>;

class TbsGraphicSkinCustomControl : public TbsSkinCustomLook<TbsGraphicSkinControl> {
public:
    explicit TbsGraphicSkinCustomControl(gui::TComponent* AOwner);
    ~TbsGraphicSkinCustomControl() override;
    std::string ClassName() const override { return "TbsGraphicSkinCustomControl"; }

    void CreateSkinImage(gui::TBitmap* B, gui::TBitmap* APicture, const TRect& R);

protected:
    void CreateControlSkinImage(gui::TBitmap* B) override;
};

} // namespace skin
