#pragma once
// The small types of controls: alignment, anchors, style and state flags, cursors and the
// mouse and key events.
#include "gui/Classes.h"
#include "gui/Geometry.h"
#include "win/WinTypes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace gui {

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

enum TControlStyleFlag : uint32_t {
    csAcceptsControls = 0x1,
    csCaptureMouse = 0x2,
    csClickEvents = 0x4,
    csFramed = 0x8,
    csSetCaption = 0x10,
    csOpaque = 0x20, // the parent does not paint under it
    csDoubleClicks = 0x40,
    csFixedWidth = 0x80,
    csFixedHeight = 0x100,
    csNoStdEvents = 0x200,
    csParentBackground = 0x400,
};
using TControlStyle = uint32_t;

enum TControlStateFlag : uint32_t {
    csLButtonDown = 0x1,
    csClicked = 0x2,
    csAlignmentNeeded = 0x4,
    csFocusing = 0x8,
    csCreating = 0x10,
    csPaintCopy = 0x20,
    csCustomPaint = 0x40,
    csDestroyingHandle = 0x80,
};
using TControlState = uint32_t;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Horizontal placement of a text in its box, and the vertical one of a label's text.
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
// Characters are code points (the window system's WM_CHAR carries them whole).
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;
using TMouseWheelEvent =
    std::function<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;

TShiftState KeysToShiftState(WPARAM keys);       // MK_* of mouse messages
TShiftState KeyDataToShiftState(LPARAM keyData); // key messages
TShiftState KeyboardStateToShiftState();

// Whether a character is the accelerator of a caption ("&X"; "&&" is a plain ampersand).
bool IsAccel(WPARAM key, const std::string& caption);

} // namespace gui
