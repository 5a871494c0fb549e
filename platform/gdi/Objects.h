#pragma once
// The GDI object table: every handle names an entry here; a stale or deleted
// handle finds nothing instead of freed memory.  Objects selected into a DC
// are not deleted until they are deselected (DeleteObject answers FALSE).
#include "gdi/GdiTypes.h"

#include <memory>
#include <string>

enum : DWORD {
    OBJ_PEN = 1,
    OBJ_BRUSH = 2,
    OBJ_DC = 3,
    OBJ_FONT = 6,
    OBJ_BITMAP = 7,
    OBJ_REGION = 8,
    OBJ_MEMDC = 10
};
enum : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17,
    DC_BRUSH = 18,
    DC_PEN = 19
};
enum : UINT { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_PATTERN = 3 };
enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5, PS_INSIDEFRAME = 6 };

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    uintptr_t lbHatch;
};
struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};
constexpr int LF_FACESIZE = 32;
// Face names are UTF-8 here, so the buffer holds LF_FACESIZE characters of any script.
struct LOGFONT {
    LONG lfHeight; // negative: character height; positive: cell height
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet;
    BYTE lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE * 4];
};
enum : int { FW_NORMAL = 400, FW_BOLD = 700 };

BOOL DeleteObject(HGDIOBJ obj);
DWORD GetObjectType(HGDIOBJ obj);
HGDIOBJ GetStockObject(int which);
// BITMAP, LOGBRUSH, LOGPEN, LOGFONT or DIBSECTION by the size asked for.
int GetObject(HGDIOBJ obj, int size, void* out);

HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
HBRUSH CreatePatternBrush(HBITMAP bitmap); // the bitmap is copied
HPEN CreatePen(int style, int width, COLORREF color);
HFONT CreateFontIndirect(const LOGFONT* lf);

namespace gdi {

struct Object {
    explicit Object(DWORD t) : type(t) {}
    virtual ~Object() = default;
    const DWORD type;
    bool stock = false;
    int selections = 0; // DCs that hold it selected
};

struct Bitmap;
struct Brush : Object {
    Brush() : Object(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    std::shared_ptr<Bitmap> pattern;
};
struct Pen : Object {
    Pen() : Object(OBJ_PEN) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};
struct Font : Object {
    Font() : Object(OBJ_FONT) {}
    LOGFONT logFont{};
};

HGDIOBJ AddObject(std::unique_ptr<Object> obj);
Object* FindObject(HGDIOBJ h, DWORD type); // type 0: any
template <class T> T* Find(HGDIOBJ h, DWORD type) {
    return static_cast<T*>(FindObject(h, type));
}
void NoteSelected(HGDIOBJ h, int delta);
// Colours 0xFF0000nn name system colours; everything else is used as it is.
COLORREF ResolveColor(COLORREF c);

} // namespace gdi
