#pragma once
// The small drawing routines every skinned part shares: text measuring and shortening, the
// layout of a glyph and a caption, the default glyphs, the parent's background under a
// control that looks transparent, rectangle arithmetic, monitor areas and stream strings.
// Text is UTF-8; "wide" routines keep the names the skinned controls call them by.
#include "gui/Controls.h"
#include "gui/Graphics.h"
#include "gui/ImgList.h"
#include "skin/engine/EngineSetup.h"

#include <string>

namespace skin {

enum class TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Text on a canvas with its font.  DrawWideText returns the text's height; with DT_CALCRECT
// it only measures, widening or heightening R.
int DrawWideText(gui::TCanvas* Canvas, const std::string& Text, gui::TRect& R, UINT Flags);
int WideTextWidth(gui::TCanvas* Canvas, const std::string& Text);
int WideTextHeight(gui::TCanvas* Canvas, const std::string& Text);
// Cuts characters off the end until the rest and "..." fit (or only "..." is left).
void TrimWideTextToWidth(gui::TCanvas* Canvas, std::string& S, int MaxWidth);
void TrimTextToWidth(gui::TCanvas* Canvas, std::string& S, int MaxWidth);
void DrawTextVCenter(gui::TCanvas* Canvas, const std::string& Text, const gui::TRect& R);
void TextOutVCenter(gui::TCanvas* Canvas, const std::string& Text, const gui::TRect& R);
void TextOutVCenterOffset(gui::TCanvas* Canvas, const std::string& Text, const gui::TRect& R, int Offset);

// Where a glyph and a text go inside R; a margin of -1 centres both together.
struct TbsImageTextPlace {
    int TextX = 0, TextY = 0, GlyphX = 0, GlyphY = 0;
};
TbsImageTextPlace CalcImageTextLayout(TbsButtonLayout Layout, const gui::TRect& R, int GlyphWidth,
                                      int GlyphHeight, int TextWidth, int TextHeight, int Spacing,
                                      int Margin);
void DrawImageAndText(gui::TCanvas* Canvas, const gui::TRect& R, int Margin, int Spacing,
                      TbsButtonLayout Layout, const std::string& Caption, int ImageIndex,
                      gui::TCustomImageList* Images, bool Pressed, bool Enabled, bool DrawColorBar,
                      gui::TColor ColorBarColor);
void DrawImageAndTextLeft(gui::TCanvas* Canvas, const gui::TRect& R, int Margin, int Spacing,
                          TbsButtonLayout Layout, const std::string& Caption, int ImageIndex,
                          gui::TCustomImageList* Images, bool Pressed, bool Enabled, bool DrawColorBar,
                          gui::TColor ColorBarColor);
void DrawGlyphAndText(gui::TCanvas* Canvas, const gui::TRect& R, int Margin, int Spacing,
                      TbsButtonLayout Layout, const std::string& Caption, gui::TBitmap* Glyph, int NumGlyphs,
                      int GlyphNum, bool Pressed, bool DrawColorBar, gui::TColor ColorBarColor);
// Frame GlyphNum (1-based) of a strip of NumGlyphs, keyed by the frame's bottom-left pixel.
void DrawStripGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TBitmap* Glyph, int NumGlyphs, int GlyphNum);

// The default glyphs.
void DrawDropDownArrow(gui::TCanvas* Canvas, const gui::TRect& R, gui::TColor Color);
void DrawArrow(gui::TCanvas* Canvas, const gui::TRect& R, gui::TColor Color, int Direction);
void DrawRadioDot(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawCheckGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawCloseGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawSysMenuGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawMinimizeGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawMaximizeGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawRestoreGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawRollDownGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawRollUpGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
void DrawTrayGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color);
// Every other pixel of the frame just inside R, in the canvas's font colour.
void DrawDottedFocusRect(gui::TCanvas* Canvas, const gui::TRect& R);

// What lies under Control (its parent's background and the windowless siblings below it),
// painted onto Canvas in Control's coordinates; the Rect form paints part R with the
// canvas's origin at R's top-left.
void DrawParentBackground(gui::TControl* Control, gui::TCanvas* Canvas);
void DrawParentBackgroundRect(gui::TControl* Control, gui::TCanvas* Canvas, const gui::TRect& R);

// Rectangles and points (right and bottom exclusive unless said).
int RectWidth(const gui::TRect& R);
int RectHeight(const gui::TRect& R);
bool RectIsEmpty(const gui::TRect& R);
bool SameRect(const gui::TRect& A, const gui::TRect& B);
void ClearRect(gui::TRect& R);
bool IsPointInRect(const gui::TRect& R, gui::TPoint P); // right and bottom included
bool IsRectInRect(const gui::TRect& A, const gui::TRect& B);
bool RectsOverlapVert(const gui::TRect& A, const gui::TRect& B);
bool PointHasZeroCoord(gui::TPoint P);
inline int MaxOf(int A, int B) {
    return A > B ? A : B;
}
inline int MinOf(int A, int B) {
    return A < B ? A : B;
}

// Monitors and the desktop.
bool IsMultiMonitorAvailable();
void GetDesktopArea(bool WorkArea, gui::TRect& R);
void GetMonitorArea(HWND Window, bool WorkArea, gui::TRect& R);
bool SafeGetScrollBarInfo(HWND Window, LONG Object, TbsScrollBarInfo& Info);

// Strings in streams: an Int32 count of UTF-16 units, then the units.  Reading bounds the
// count by what the stream holds (EReadError beyond it).
void WriteStringToStream(gui::TStream& Stream, const std::string& S);
void ReadStringFromStream(gui::TStream& Stream, std::string& S);
// Moves S's leading token (up to a blank, "(", ")", ",", ":", ";" or "=") into Token.
void ExtractToken(std::string& S, std::string& Token);
// Four integers; any that is not one gives (0, 0, 0, 0).
void TextToRect(const std::string& S, gui::TRect& R);

// UTF-8 and UTF-16, for the stream strings.
std::u16string Utf8ToUtf16(const std::string& s);
std::string Utf16ToUtf8(const std::u16string& s);

} // namespace skin
