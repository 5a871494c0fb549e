#pragma once
// Rebuilding a skin picture's rectangle at a new size: fixed corners, edges tiled or stretched
// one by one, and a middle stretched (fully, or in one direction and repeated) or tiled.
// Geometry comes from the descriptors: corner points and client rectangles relative to the
// skin rectangle, and their moved counterparts at the new size.  Scaling drops or repeats
// pixels.  Every source rectangle is cut to the picture once, here; a repeated piece without
// length draws nothing.
#include "gui/Graphics.h"
#include "skin/core/SkinTypes.h"

namespace skin {

void BuildNinePartImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                        TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                        TRect NewClRect, gui::TBitmap* Target, gui::TBitmap* Picture, TRect SkinRect,
                        int NewWidth, int NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                        bool RightStretch, bool BottomStretch, bool StretchEffect,
                        TbsStretchType StretchType);
// The same image, for popup menu and hint windows.
void BuildNinePartWindowImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                              TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                              TRect NewClRect, gui::TBitmap* Target, gui::TBitmap* Picture, TRect SkinRect,
                              int NewWidth, int NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                              bool RightStretch, bool BottomStretch, bool StretchEffect,
                              TbsStretchType StretchType);
// Open on the right: a header section that runs on to the target's right edge.
void BuildNinePartHeaderImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                              TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                              TRect NewClRect, gui::TBitmap* Target, gui::TBitmap* Picture, TRect SkinRect,
                              int NewWidth, int NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                              bool RightStretch, bool BottomStretch, bool StretchEffect,
                              TbsStretchType StretchType);
// A plain nine-slice by one client rectangle, at the size Target already has.
void BuildImageByClientRect(gui::TBitmap* Target, gui::TBitmap* Picture, TRect SrcRect, TRect ClientRect,
                            bool DrawClient);

void BuildHorzThreePartImage(int LeftCap, int RightCap, gui::TBitmap* Target, gui::TBitmap* Picture,
                             TRect SrcRect, int NewWidth, int NewHeight, bool Stretch);
void BuildHorzLeftCapImage(int LeftCap, int RightCap, gui::TBitmap* Target, gui::TBitmap* Picture,
                           TRect SrcRect, int NewWidth, int NewHeight, bool Stretch);
void BuildHorzMiddleImage(int LeftCap, int RightCap, gui::TBitmap* Target, gui::TBitmap* Picture,
                          TRect SrcRect, int NewWidth, int NewHeight, bool Stretch);
void BuildVertThreePartImage(int TopCap, int BottomCap, gui::TBitmap* Target, gui::TBitmap* Picture,
                             TRect SrcRect, int NewWidth, int NewHeight, bool Stretch);

// The frame as four strips; a strip whose size or edge is empty is left as it was.
void BuildBorderImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                       TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                       TRect NewClRect, gui::TBitmap* LeftImage, gui::TBitmap* TopImage,
                       gui::TBitmap* RightImage, gui::TBitmap* BottomImage, gui::TBitmap* Picture,
                       TRect SkinRect, int NewWidth, int NewHeight, bool LeftStretch, bool TopStretch,
                       bool RightStretch, bool BottomStretch);
// The same cut of a mask (its own origin), always tiled.
void BuildBorderMaskImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect MaskRectArea,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewMaskRectArea, gui::TBitmap* MaskPicture, gui::TBitmap* TopMask,
                           gui::TBitmap* LeftMask, gui::TBitmap* RightMask, gui::TBitmap* BottomMask,
                           int NewWidth, int NewHeight);

} // namespace skin
