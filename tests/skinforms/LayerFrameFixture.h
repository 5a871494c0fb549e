#pragma once
// The layer frame of the examples: a 190 × 155 picture whose part (27, 24, 164, 132) the form
// covers, added to a skin data as one solid picture.
#include "skin/core/SkinData.h"
#include "skin/core/SkinPicture.h"

#include <memory>

namespace layerframetest {

inline skin::TbsDataSkinLayerFrame ExampleFrame() {
    skin::TbsDataSkinLayerFrame d;
    d.PictureIndex = 0;
    d.MaskPictureIndex = 1;
    d.ClRect = skin::Rect(27, 24, 164, 132);
    d.LTPoint = skin::Point(40, 24);
    d.RTPoint = skin::Point(150, 24);
    d.LBPoint = skin::Point(40, 132);
    d.RBPoint = skin::Point(150, 132);
    d.AlphaBlendValue = 200;
    d.InActiveAlphaBlendValue = 100;
    return d;
}

// The frame's picture, solid and opaque, as the skin's next picture; its index.
inline int AddExamplePicture(skin::TbsSkinData& data) {
    gdi::image::Image picture;
    picture.width = 190;
    picture.height = 155;
    picture.pixels.assign(190 * 155, 0xFF336699u);
    data.FActivePictures.push_back(std::make_unique<skin::TbsPicture>());
    data.FActivePictures.back()->Assign(picture);
    return static_cast<int>(data.FActivePictures.size()) - 1;
}

} // namespace layerframetest
