#pragma once
// Translucent text and pictures through TbsBitmap: the two-pass blur, text with a soft halo
// (sized, or over a fixed light patch), text with a fading mirror image, and alpha taken from
// a grey mask.  The halo is the text drawn in red into a transparent bitmap, blurred, its red
// turned into alpha and its colour into the glow colour.
#include "gui/Graphics.h"

#include <string>

namespace skin {

class TbsBitmap;

// Blurs red, green and blue in place (a triangle filter of the radius, along rows then
// columns, edges repeating) and makes every pixel opaque; a radius of 0 or less does nothing.
void BlurAlphaChannel(TbsBitmap& Bitmap, int Radius);

void DrawGlowTextU(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text, int GlowSize,
                   gui::TColor GlowColor, int Offset, UINT Format);
int DrawGlowText(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text, int GlowSize,
                 gui::TColor GlowColor, int Offset, UINT Format);
int DrawVistaGlowText(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text,
                      gui::TColor GlowColor, UINT Format);
void DrawReflectionText(gui::TCanvas* Canvas, const gui::TRect& Rect, const std::string& Text,
                        gui::TColor ReflectionColor, int ReflectionOffset, UINT Format);

// Each pixel's alpha := the mean of red, green and blue of the mask's pixel there, truncated.
// Where the mask has no pixel (a smaller mask, or none) the pixel is opaque.
void AlphaFromGrayMask(TbsBitmap& Bitmap, const TbsBitmap* Mask);

} // namespace skin
