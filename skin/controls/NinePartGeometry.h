#pragma once
// The nine-part geometry a skinned control copies from its descriptor: the skin rectangle,
// its corner points and client rectangle, the same moved to the control's current size, and
// the size rule.  The windowed and the windowless nine-part bases share it.
#include "gui/Graphics.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/SkinTypes.h"

namespace skin {

class TbsSkinData;

struct TbsNinePartGeometry {
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect SkinRect, ClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
    gui::TBitmap* Picture = nullptr;
    gui::TBitmap* MaskPicture = nullptr;
    int ResizeMode = -1;
    bool StretchEffect = false;
    TbsStretchType StretchType = TbsStretchType::bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;

    // Copies the descriptor; false (and no picture) when it is no nine-part descriptor, has no
    // picture or an empty skin rectangle: the control then has nothing to draw from.
    bool Read(TbsSkinData& data, const TbsDataSkinControl& descriptor, bool withMask);
    // The size rule: with mode 0 the skin's size, 2 and 3 one side of it, 1 any size; moves
    // the corner points and the client rectangle to the (possibly changed) size.
    void Adjust(int& width, int& height);
    // Rect of the picture, laid out like SkinRect, built into Target at width x height.
    void Build(gui::TBitmap* Target, gui::TBitmap* Source, const TRect& Rect, int width, int height) const;
    // Where a rectangle given relative to SkinRect lies at the current size.
    TRect Map(const TRect& Source, int width, int height) const;
    // -1 empty skin rectangle, 1 both ways, 2 width, 3 height, 0 fixed.
    static int ResizeModeOf(const TRect& skinRect, TPoint RTPt, TPoint LBPt, TPoint RBPt);
};

// The picture at a picture index of the skin, or null.
gui::TBitmap* SkinPictureAt(TbsSkinData& data, int index);

} // namespace skin
